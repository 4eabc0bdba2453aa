// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_tooltip.h"

#include "core/calc/units.h"
#include "core/food/nutrient.h"

#include <cstdio>

namespace fitquill {

std::string FoodTooltipText(const CFoodItem& item) {
    const SUnitInfo* unit = UnitInfo(item.Serving().Unit());
    std::string text = item.Name() + "\n";
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "%1.2f %s\n\n",
                  static_cast<double>(item.Serving().Amount()), unit ? unit->name : "");
    text += buffer;
    // Calories show as a whole number, cut towards zero like the C conversion of the value.
    std::snprintf(buffer, sizeof buffer,
                  "Cal: %d\nCarb: %1.1fg\nProt: %1.1fg\nFiber: %1.1fg\nFat: %1.1fg\nSFat: %1.1fg",
                  static_cast<int>(item.NutrientValue(kNutrientCalories)),
                  static_cast<double>(item.NutrientValue(kNutrientCarbohydrate)),
                  static_cast<double>(item.NutrientValue(kNutrientProtein)),
                  static_cast<double>(item.NutrientValue(kNutrientFiber)),
                  static_cast<double>(item.NutrientValue(kNutrientFat)),
                  static_cast<double>(item.NutrientValue(kNutrientSaturatedFat)));
    text += buffer;
    if (text.size() > kFoodTooltipMaxLength)
        text.resize(kFoodTooltipMaxLength);
    return text;
}

} // namespace fitquill
