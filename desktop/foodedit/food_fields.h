// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_item.h"

#include <QString>
#include <QWidget>

#include <array>

class QComboBox;
class QLineEdit;

namespace fitquill {

class CNumericEdit;

// The fields every food dialog shares: the serving amount and unit, the six basic nutrients
// and, where the dialog has them, the food name and the meal type. The fields work on a copy
// of a food item: leaving a changed serving amount or picking another unit hands the new
// serving to the copy, which rescales the nutrients shown.
class CFoodFields : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaxNameLength = 20;
    static constexpr double kMinServing = 0.005;
    static constexpr double kMaxCalories = 10000.0;

    struct SOptions {
        bool name = false;
        bool mealType = false;
        // Every unit is offered (a food that has no base measure yet).
        bool allUnits = false;
        // Calories round to the nearest after a unit change (else the fraction is dropped).
        bool roundCaloriesOnUnitChange = false;
    };

    explicit CFoodFields(const SOptions& options, QWidget* parent = nullptr);

    // Shows a copy of the item. Without an item the fields are cleared and disabled.
    void SetItem(const CFoodItem& item);
    void Clear();
    bool HasItem() const { return m_hasItem; }

    // Whether every field is filled and the serving is at least the minimum; otherwise tells
    // "You have an invalid nutrient value." under the caption and focuses the first bad field
    // (amount, unit, then the nutrients).
    bool Validate(const QString& caption);
    // The copy with the serving and the nutrient boxes the user changed applied. Values typed
    // into a nutrient box are the serving's values and are stored per base portion.
    CFoodItem Item();
    // The name box, trimmed (empty without a name box).
    QString Name() const;
    void SetName(const QString& name);
    // 0 breakfast ... 3 snack.
    int MealType() const;

    QLineEdit* NameEdit() const { return m_name; }
    CNumericEdit* AmountEdit() const { return m_amount; }
    QComboBox* UnitCombo() const { return m_unit; }
    CNumericEdit* NutrientEdit(int slot) const { return m_nutrients.at(static_cast<size_t>(slot)); }
    QComboBox* MealCombo() const { return m_meal; }

    // The meal type chosen last in any food dialog during this run.
    static int RememberedMealType();
    static void RememberMealType(int mealType);

signals:
    void NameChanged();

private:
    void FillUnits();
    void ShowNutrients(bool roundCalories);
    void OnAmountLeft();
    void OnUnitChosen();
    // Stores the nutrient boxes whose text differs from what was shown.
    void TakeEditedNutrients();
    CServingMeasure ServingFromFields();

    SOptions m_options;
    CFoodItem m_item;
    bool m_hasItem = false;
    QLineEdit* m_name = nullptr;
    CNumericEdit* m_amount = nullptr;
    QComboBox* m_unit = nullptr;
    std::array<CNumericEdit*, 6> m_nutrients{};
    std::array<QString, 6> m_shownTexts;
    QComboBox* m_meal = nullptr;
};

} // namespace fitquill
