// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame/users_dialog.h"

#include "desktop/document/diet_data.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitquill {

CUsersDialog::CUsersDialog(CDietData& data, EUserDialogMode mode, QWidget* parent)
    : QDialog(parent), m_data(data), m_mode(mode) {
    setWindowTitle(QStringLiteral("Users"));
    // The window menu offers no Close, Size or Move: the dialog ends through its buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    auto* label = new QLabel(QStringLiteral("Select a user:"), this);
    m_list = new QListWidget(this);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    label->setBuddy(m_list);
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_new = new QPushButton(QStringLiteral("New..."), this);
    m_delete = new QPushButton(QStringLiteral("Delete"), this);
    m_rename = new QPushButton(QStringLiteral("Rename..."), this);
    m_ok->setDefault(true);

    connect(m_ok, &QPushButton::clicked, this, &CUsersDialog::accept);
    connect(m_new, &QPushButton::clicked, this, &CUsersDialog::OnNew);
    connect(m_delete, &QPushButton::clicked, this, &CUsersDialog::OnDelete);
    connect(m_rename, &QPushButton::clicked, this, &CUsersDialog::OnRename);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CUsersDialog::accept);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_new);
    buttons->addWidget(m_delete);
    buttons->addWidget(m_rename);
    buttons->addStretch(1);
    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(m_list, 1, 0);
    layout->addLayout(buttons, 1, 1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_list->setFixedSize(200, 160);

    Refill(m_data.GetCurrentUserName());
    m_list->setFocus();
}

void CUsersDialog::Refill(const QString& name) {
    m_list->clear();
    const QStringList names = m_data.UserNames();
    m_list->addItems(names);
    int row = names.indexOf(name);
    if (row < 0 && !names.isEmpty())
        row = 0;
    if (row >= 0)
        m_list->setCurrentRow(row);
    const bool any = !names.isEmpty();
    m_ok->setEnabled(any);
    m_delete->setEnabled(any);
    m_rename->setEnabled(any);
}

QString CUsersDialog::SelectedName() const {
    QListWidgetItem* item = m_list->currentItem();
    return item ? item->text() : QString();
}

void CUsersDialog::OnNew() {
    CUserNameDialog dialog(m_data, EUserDialogMode::Plain, this);
    if (dialog.exec() == QDialog::Accepted)
        Refill(dialog.Name());
    else
        Refill(SelectedName());
}

void CUsersDialog::OnDelete() {
    const QString name = SelectedName();
    if (name.isEmpty())
        return;
    const QString caption = QStringLiteral("Delete User");
    if (ShowPrompt(
            this, caption,
            QStringLiteral("Delete the user name and ALL ASSOCIATED DATA of '%1'?").arg(name),
            EPromptIcon::Warning, EPromptButtons::YesNo) != EPromptAnswer::Yes) {
        Refill(SelectedName());
        return;
    }
    // The open user's journal is in memory and would be written back into a removed folder,
    // so the open user cannot be deleted.
    const bool isOpenUser = m_data.HasOpenUser() && name == m_data.GetCurrentUserName();
    UserHandle user = 0;
    CUserDirectory& users = m_data.Users();
    if (isOpenUser || !users.FindUserByName(ToStored(name), user) || !users.DeleteUser(user))
        ShowPrompt(this, caption, QStringLiteral("Could not delete the user."),
                   EPromptIcon::Warning, EPromptButtons::Ok);
    Refill(m_data.GetCurrentUserName());
}

void CUsersDialog::OnRename() {
    const QString oldName = SelectedName();
    if (oldName.isEmpty())
        return;
    CUserNameDialog dialog(m_data, oldName, this);
    if (dialog.exec() == QDialog::Accepted)
        Refill(dialog.Name());
    else
        Refill(oldName);
}

void CUsersDialog::accept() {
    const QString name = SelectedName();
    if (name.isEmpty())
        return;
    if (name != m_data.GetCurrentUserName()) {
        if (!m_data.AskSaveBeforeSwitching(this))
            return;
        if (m_mode == EUserDialogMode::Switching)
            m_data.OpenUser(name);
    }
    m_data.SelectUserInToolbar(name);
    m_chosen = name;
    QDialog::accept();
}

void CUsersDialog::reject() {
    // At start-up the dialog only ends with a chosen user.
    if (m_mode == EUserDialogMode::StartUp)
        return;
    m_data.SelectUserInToolbar(m_data.GetCurrentUserName());
    QDialog::reject();
}

void CUsersDialog::closeEvent(QCloseEvent* event) {
    if (m_mode == EUserDialogMode::StartUp) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace fitquill
