// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/document/view_services.h"

#include <QDialog>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace fitquill {

class CDietData;
class CFoodFields;

// The dialogs that log food into the current day: "Insert Food" in its browse form (group,
// category and food item selectors with their New, Delete and Edit buttons) and its one-item
// form, and "Edit Food" for an entry already logged. The OK button of "Insert Food" is "Log".
class CInsertFoodDialog : public QDialog {
    Q_OBJECT

public:
    enum class EMode { Browse, OneItem, EditEntry };

    // Browse starts at (group, category, item) where they exist; OneItem needs an existing
    // item. sortMode is the meal log's order, in which Result().position is given.
    CInsertFoodDialog(CDietData& data, EMode mode, int group, int category, int item, int sortMode,
                      QWidget* parent = nullptr);
    // "Edit Food" for the current day's entry at `position` of the order of sortMode.
    CInsertFoodDialog(CDietData& data, int position, int sortMode, QWidget* parent = nullptr);

    const SFoodDialogResult& Result() const { return m_result; }

    CFoodFields* Fields() const { return m_fields; }
    QComboBox* GroupCombo() const { return m_groupCombo; }
    QComboBox* CategoryCombo() const { return m_categoryCombo; }
    QListWidget* ItemList() const { return m_itemList; }
    // The New, Delete and Edit buttons of a selector: 0 group, 1 category, 2 food item.
    QPushButton* Button(int selector, int which) const;
    QDialogButtonBox* Buttons() const { return m_buttons; }

    void accept() override;

private:
    void Build(EMode mode);
    void BuildSelectors();
    void FillGroups(int select);
    void FillCategories(int select);
    void FillItems(int select);
    void ShowItem();
    void UpdateButtons();
    void NewOrEdit(int selector, bool editing);
    void Delete(int selector);

    CDietData& m_data;
    EMode m_mode;
    int m_group;
    int m_category;
    int m_item;
    int m_sortMode;
    int m_position = -1;
    SFoodDialogResult m_result;
    CFoodFields* m_fields = nullptr;
    QComboBox* m_groupCombo = nullptr;
    QComboBox* m_categoryCombo = nullptr;
    QListWidget* m_itemList = nullptr;
    QPushButton* m_selectorButtons[3][3] = {};
    QDialogButtonBox* m_buttons = nullptr;
};

} // namespace fitquill
