// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_item.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QSpinBox;

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
    static constexpr int kMaxRecipeServings = 999;

    // New mode: preset to the group and category when they exist (-1 for none).
    static CFoodItemDialog* NewItem(CFoodDB& db, int group, int category, QWidget* parent);
    // New mode filled with a recipe of logged food entries: their nutrients summed (all
    // nutrient indexes), one serving "1 item", the search name listing the ingredients. The
    // servings box divides the nutrients by the servings the recipe makes.
    static CFoodItemDialog* NewRecipe(CFoodDB& db, int group, int category,
                                      std::vector<CFoodItem> entries, QWidget* parent);
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
    // The recipe's servings box and ingredient list; null outside recipe mode.
    QSpinBox* ServingsBox() const { return m_servings; }
    QLabel* IngredientsLabel() const { return m_ingredients; }

    void accept() override;

private:
    CFoodItemDialog(CFoodDB& db, bool editing, int group, int category, int item, QWidget* parent);
    void FillGroups(int select);
    void FillCategories(int select);
    void NewGroup();
    void NewCategory();
    void AddRecipeFields();
    void ShowRecipe();
    // The recipe's item as the fields show it: the serving chosen there and every nutrient for
    // that serving; boxes the user did not touch keep their unrounded sums.
    CFoodItem RecipeItem(const std::string& name);

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
    std::vector<CFoodItem> m_recipe; // the entries of a recipe; empty otherwise
    QSpinBox* m_servings = nullptr;
    QLabel* m_ingredients = nullptr;
};

} // namespace fitquill
