// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QComboBox;
class QDialogButtonBox;

namespace fitquill {

class CFoodDB;
class CFoodFields;

// "New Food Item" (a food item added to a chosen group and category, each with a "New..."
// button) and "Edit Food Item" (a food item of the database changed in place). On success the
// caller marks the document modified; Group(), Category() and Item() address the result.
class CFoodItemDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxItems = 250;

    // New mode: preset to the group and category when they exist (-1 for none).
    static CFoodItemDialog* NewItem(CFoodDB& db, int group, int category, QWidget* parent);
    // Edit mode: the item must exist.
    static CFoodItemDialog* EditItem(CFoodDB& db, int group, int category, int item,
                                     QWidget* parent);

    int Group() const { return m_group; }
    int Category() const { return m_category; }
    int Item() const { return m_item; }
    // Whether a group or category was created through the "New..." buttons.
    bool CreatedContainers() const { return m_createdContainers; }

    CFoodFields* Fields() const { return m_fields; }
    QComboBox* GroupCombo() const { return m_groupCombo; }
    QComboBox* CategoryCombo() const { return m_categoryCombo; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

    void accept() override;

private:
    CFoodItemDialog(CFoodDB& db, bool editing, int group, int category, int item, QWidget* parent);
    void FillGroups(int select);
    void FillCategories(int select);
    void NewGroup();
    void NewCategory();

    CFoodDB& m_db;
    bool m_editing;
    int m_group;
    int m_category;
    int m_item;
    bool m_createdContainers = false;
    CFoodFields* m_fields = nullptr;
    QComboBox* m_groupCombo = nullptr;
    QComboBox* m_categoryCombo = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace fitquill
