// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame/user_name_dialog.h"

#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"
#include "desktop/widgets/stored_text_guard.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitquill {

CUserNameDialog::CUserNameDialog(CDietData& data, EUserDialogMode mode, QWidget* parent)
    : QDialog(parent), m_data(data), m_mode(mode) {
    Build(QStringLiteral("New User"));
}

CUserNameDialog::CUserNameDialog(CDietData& data, const QString& oldName, QWidget* parent)
    : QDialog(parent), m_data(data), m_mode(EUserDialogMode::Plain),
      m_oldName(oldName.isNull() ? QString::fromLatin1("") : oldName) {
    Build(QStringLiteral("Rename User"));
    m_edit->setText(oldName);
    m_edit->selectAll();
}

void CUserNameDialog::Build(const QString& title) {
    setWindowTitle(title);
    if (m_mode == EUserDialogMode::StartUp) {
        // No close button: at start-up a user must be chosen.
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    }
    auto* label = new QLabel(QStringLiteral("Enter a new user name:"), this);
    m_edit = new QLineEdit(this);
    GuardStoredText(m_edit);
    label->setBuddy(m_edit);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_ok->setDefault(true);
    m_ok->setEnabled(false);
    m_cancel->setEnabled(m_mode != EUserDialogMode::StartUp);

    connect(m_edit, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_ok->setEnabled(!text.isEmpty()); });
    connect(m_ok, &QPushButton::clicked, this, &CUserNameDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CUserNameDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_edit->setMinimumWidth(240);
    m_edit->setFocus();
}

QString CUserNameDialog::Name() const {
    return m_edit->text();
}

void CUserNameDialog::Refuse(const QString& caption, const QString& text) {
    ShowPrompt(this, caption, text, EPromptIcon::Warning, EPromptButtons::Ok);
    m_edit->selectAll();
    m_edit->setFocus();
}

void CUserNameDialog::accept() {
    const QString name = Name();
    if (name.isEmpty())
        return;
    CUserDirectory& users = m_data.Users();

    if (IsRename()) {
        UserHandle user = 0;
        if (!users.FindUserByName(ToStored(m_oldName), user) ||
            !users.RenameUser(user, ToStored(name))) {
            Refuse(QStringLiteral("Rename User"),
                   QStringLiteral("Could not rename the user.  Make sure you are not inputting a "
                                  "duplicate name."));
            return;
        }
        // The open user's files moved with the folder; the document must follow them.
        if (m_data.HasOpenUser() && m_oldName == m_data.GetCurrentUserName())
            m_data.FollowRenamedUser(name);
        QDialog::accept();
        return;
    }

    if (m_mode == EUserDialogMode::Switching && !m_data.AskSaveBeforeSwitching(this)) {
        QDialog::reject();
        return;
    }
    if (!users.AddUser(ToStored(name))) {
        Refuse(QStringLiteral("New User"),
               QStringLiteral("Could not add the user.  Make sure you are not inputting a "
                              "duplicate name."));
        return;
    }
    if (m_mode == EUserDialogMode::Switching) {
        m_data.OpenUser(name);
        m_data.SelectUserInToolbar(name);
    }
    QDialog::accept();
}

void CUserNameDialog::reject() {
    // Escape and Cancel do nothing at start-up.
    if (m_mode == EUserDialogMode::StartUp)
        return;
    QDialog::reject();
}

void CUserNameDialog::closeEvent(QCloseEvent* event) {
    if (m_mode == EUserDialogMode::StartUp) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace fitquill
