// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLineEdit;

namespace fitquill {

class CFoodDB;

// "Insert Group" and "Insert Category": one name box that adds a group or category, or in edit
// mode renames one. OK is enabled while the box is not empty. On success the document is to be
// marked modified by the caller and Index() is the object's new sorted index.
class CFoodNameDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxGroups = 250;
    static constexpr int kMaxCategories = 250;
    static constexpr int kMaxNameLength = 20;

    enum class EKind { Group, Category };

    // Editing renames the group `group` or the category (group, category); otherwise a group
    // is added, or a category to `group`. The indexes must exist.
    CFoodNameDialog(CFoodDB& db, EKind kind, bool editing, int group, int category,
                    QWidget* parent = nullptr);

    int Index() const { return m_index; }
    QLineEdit* NameEdit() const { return m_name; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

    void accept() override;

private:
    CFoodDB& m_db;
    EKind m_kind;
    bool m_editing;
    int m_group;
    int m_category;
    int m_index = -1;
    QLineEdit* m_name = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace fitquill
