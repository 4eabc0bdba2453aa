// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/foodedit/food_dialogs.h"

#include "desktop/document/diet_data.h"
#include "desktop/foodedit/food_tree_ctrl.h"
#include "desktop/foodedit/insert_food_dialog.h"

namespace fitquill {

SFoodDialogResult CFoodDialogs::InsertFood(QWidget* parent, int sortMode) {
    // The browse dialog starts at the food selected in the tree, when one is.
    SFoodAddress start{0, 0, 0};
    if (auto* tree = qobject_cast<CFoodTreeCtrl*>(m_data.FoodTree())) {
        const SFoodAddress selected = tree->SelectedAddress();
        if (selected.group >= 0)
            start = {selected.group, std::max(selected.category, 0), std::max(selected.item, 0)};
    }
    CInsertFoodDialog dialog(m_data, CInsertFoodDialog::EMode::Browse, start.group, start.category,
                             start.item, sortMode, parent);
    dialog.exec();
    SFoodDialogResult result = dialog.Result();
    // Groups, categories or items made or deleted in the dialog show in the tree even when it
    // was cancelled.
    if (result.foodDBChanged)
        emit m_data.ReloadFoodTreeSent();
    if (result.accepted || result.foodDBChanged)
        m_data.RefreshViews();
    return result;
}

SFoodDialogResult CFoodDialogs::EditFood(QWidget* parent, int position, int sortMode) {
    CInsertFoodDialog dialog(m_data, position, sortMode, parent);
    dialog.exec();
    if (dialog.Result().accepted)
        m_data.RefreshViews();
    return dialog.Result();
}

} // namespace fitquill
