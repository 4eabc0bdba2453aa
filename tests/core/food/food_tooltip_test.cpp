// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_tooltip.h"

#include "core/calc/units.h"

#include <gtest/gtest.h>

namespace fitquill {
namespace {

CFoodItem Oatmeal() {
    CFoodItem item;
    item.SetName("Oatmeal", true);
    const CServingMeasure cup(1.0f, kUnitCup);
    item.SetBaseMeasure(cup, false);
    item.SetServing(cup);
    const float values[6] = {99.9f, 27.26f, 5.94f, 4.0f, 3.56f, 0.05f};
    for (int slot = 0; slot < 6; ++slot)
        item.SetNutrientValue(slot, values[slot]);
    return item;
}

TEST(FoodTooltip, ShowsOneServingWithCaloriesCutToAWholeNumber) {
    EXPECT_EQ(FoodTooltipText(Oatmeal()), "Oatmeal\n1.00 cup\n\nCal: 99\nCarb: 27.3g\nProt: 5.9g\n"
                                          "Fiber: 4.0g\nFat: 3.6g\nSFat: 0.1g");
}

TEST(FoodTooltip, FollowsTheServing) {
    CFoodItem item = Oatmeal();
    item.SetServing(CServingMeasure(0.5f, kUnitPint)); // one pint is two cups
    EXPECT_EQ(FoodTooltipText(item), "Oatmeal\n0.50 pint\n\nCal: 99\nCarb: 27.3g\nProt: 5.9g\n"
                                     "Fiber: 4.0g\nFat: 3.6g\nSFat: 0.1g");
    item.SetServing(CServingMeasure(3.0f, kUnitCup));
    EXPECT_EQ(FoodTooltipText(item), "Oatmeal\n3.00 cup\n\nCal: 299\nCarb: 81.8g\nProt: 17.8g\n"
                                     "Fiber: 12.0g\nFat: 10.7g\nSFat: 0.2g");
}

TEST(FoodTooltip, NeverExceedsItsLimit) {
    CFoodItem item = Oatmeal();
    item.SetName(std::string(2000, 'x'), true);
    EXPECT_EQ(FoodTooltipText(item).size(), kFoodTooltipMaxLength);
}

} // namespace
} // namespace fitquill
