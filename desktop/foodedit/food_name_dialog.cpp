// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/foodedit/food_name_dialog.h"

#include "core/food/food_db.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"
#include "desktop/widgets/stored_text_guard.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitquill {

CFoodNameDialog::CFoodNameDialog(CFoodDB& db, EKind kind, bool editing, int group, int category,
                                 QWidget* parent)
    : QDialog(parent), m_db(db), m_kind(kind), m_editing(editing), m_group(group),
      m_category(category) {
    const bool isGroup = kind == EKind::Group;
    setWindowTitle(
        isGroup ? (editing ? QStringLiteral("Edit Group") : QStringLiteral("New Group"))
                : (editing ? QStringLiteral("Edit Category") : QStringLiteral("New Category")));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(isGroup ? QStringLiteral("Enter a new group name:")
                                         : QStringLiteral("Enter a new category name:"),
                                 this));
    m_name = new QLineEdit(this);
    GuardStoredText(m_name);
    m_name->setMaxLength(kMaxNameLength);
    layout->addWidget(m_name);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(m_buttons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto enableOk = [this] {
        m_buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_name->text().isEmpty());
    };
    connect(m_name, &QLineEdit::textChanged, this, enableOk);
    if (editing) {
        const std::string& current =
            isGroup ? db.GetGroup(static_cast<uint16_t>(group)).Name()
                    : db.GetCategory(static_cast<uint16_t>(group), static_cast<uint16_t>(category))
                          .Name();
        m_name->setText(FromStored(current));
        m_name->selectAll();
    }
    enableOk();
}

void CFoodNameDialog::accept() {
    const bool isGroup = m_kind == EKind::Group;
    QPushButton* cancel = m_buttons->button(QDialogButtonBox::Cancel);
    if (!m_editing) {
        const bool full =
            isGroup ? m_db.GroupCount() >= kMaxGroups
                    : m_db.CategoryCount(static_cast<uint16_t>(m_group)) >= kMaxCategories;
        if (full) {
            ShowPrompt(this, windowTitle(),
                       isGroup
                           ? QStringLiteral("You can enter a maximum of %1 groups.").arg(kMaxGroups)
                           : QStringLiteral("You can enter a maximum of %1 categories per "
                                            "food group.")
                                 .arg(kMaxCategories),
                       EPromptIcon::Warning, EPromptButtons::Ok);
            cancel->setFocus();
            return;
        }
    }
    const std::string name = ToStored(m_name->text().trimmed());
    const auto group = static_cast<uint16_t>(m_group);
    if (isGroup)
        m_index = m_editing ? m_db.RenameGroup(group, name) : m_db.AddGroup(CFoodGroup(name));
    else
        m_index = m_editing ? m_db.RenameCategory(group, static_cast<uint16_t>(m_category), name)
                            : m_db.AddCategory(group, CFoodCategory(name));
    if (m_index < 0) {
        ShowPrompt(this, windowTitle(),
                   isGroup ? QStringLiteral("You entered a duplicate or invalid group.")
                           : QStringLiteral("You entered a duplicate or invalid category."),
                   EPromptIcon::Warning, EPromptButtons::Ok);
        m_name->selectAll();
        m_name->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace fitquill
