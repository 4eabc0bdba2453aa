// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_item.h"
#include "core/internal_error.h"

#include <cmath>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

using namespace fitquill;

TEST(NutrientValue, ClampsWhenStored) {
    CNutrientValue calories(kNutrientCalories, 12000);
    EXPECT_EQ(calories.Value(), 9999.0f);
    CNutrientValue fat(kNutrientFat, 12000);
    EXPECT_EQ(fat.Value(), 9999.9f);
    fat.SetValue(-3);
    EXPECT_EQ(fat.Value(), 0.0f);
    fat.SetValue(std::nanf(""));
    EXPECT_EQ(fat.Value(), 0.0f);
    EXPECT_STREQ(NutrientInfo(33).shortCode, "Pant");
    try {
        CNutrientValue bad(34, 1);
        FAIL() << "index 34 was accepted";
    } catch (const CInternalError& e) {
        EXPECT_EQ(e.Code(), kInternalErrorFoodDb);
    }
}

TEST(NutrientList, CopiesOwnTheirValuesAndTheCountIsBounded) {
    const std::vector<CNutrientValue> values = {CNutrientValue(0, 50), CNutrientValue(1, 2.5f)};
    CNutrientList list(values);
    CNutrientList copy = list;
    copy[1].SetValue(7);
    EXPECT_EQ(list.Values()[1].Value(), 2.5f);
    EXPECT_EQ(copy.Values()[1].Value(), 7.0f);
    EXPECT_FALSE(list == copy);
    copy = list;
    EXPECT_TRUE(list == copy);
    const CNutrientList moved = std::move(copy);
    EXPECT_EQ(moved.Size(), 2u);
    EXPECT_EQ(CNutrientList().Size(), 0u);
    EXPECT_TRUE(CNutrientList().Values().empty());
    EXPECT_THROW(CNutrientList(std::vector<CNutrientValue>(256)), CInternalError);
}

TEST(FoodItem, NewItemReadsZeroUntilServed) {
    CFoodItem item;
    EXPECT_EQ(item.Id(), 0x80000000u);
    EXPECT_EQ(item.Nutrients().size(), 6u);
    EXPECT_TRUE(item.SetNutrientValue(kNutrientCalories, 120));
    EXPECT_EQ(item.NutrientValue(kNutrientCalories), 0.0f);
    EXPECT_FALSE(item.SetNutrientValue(12, 5));
    EXPECT_EQ(item.NutrientValue(12), 0.0f);
}

TEST(FoodItem, ServingRatioScalesNutrients) {
    CFoodItem item;
    item.SetName("  Milk ", true);
    EXPECT_EQ(item.Name(), "Milk");
    EXPECT_EQ(item.SearchName(), "Milk");
    item.SetBaseMeasure({1, kUnitCup}, false);
    item.SetServing({1, kUnitCup});
    item.SetNutrientValue(kNutrientCalories, 150);
    item.SetServing({2, kUnitCup});
    EXPECT_EQ(item.ServingRatio(), 2.0f);
    EXPECT_EQ(item.NutrientValue(kNutrientCalories), 300.0f);
    EXPECT_EQ(item.Nutrients()[0].Value(), 150.0f); // stored unscaled

    // Only a cup measure: grams do not convert, so the ratio is 1.
    item.SetServing({100, kUnitGram});
    EXPECT_EQ(item.ServingRatio(), 1.0f);
    EXPECT_EQ(item.NutrientValue(kNutrientCalories), 150.0f);
    EXPECT_EQ(item.Serving().UnitSet(), 1);
}

TEST(FoodItem, BaseMeasuresKeepOrEmptyTheOther) {
    CFoodItem item;
    item.SetBaseMeasure({1, kUnitCup}, false);
    item.SetBaseMeasure({244, kUnitGram}, true);
    EXPECT_EQ(item.VolumeOrItemMeasure(), CServingMeasure(1, kUnitCup));
    EXPECT_EQ(item.Serving().UnitSet(), 4);

    item.SetServing({122, kUnitGram});
    EXPECT_FLOAT_EQ(item.ServingRatio(), 0.5f);

    item.SetBaseMeasure({1, kUnitItem}, false); // "item" replaces the volume measure
    EXPECT_EQ(item.WeightMeasure(), CServingMeasure());
    EXPECT_EQ(item.Serving().UnitSet(), 3);
    EXPECT_FLOAT_EQ(item.ServingRatio(), 0.5f); // serving is grams: not recomputed
}

TEST(FoodItem, StoredNutrientListMustKeepItsShape) {
    CFoodItem item;
    std::vector<CNutrientValue> list;
    for (int i = 0; i < 6; ++i)
        list.emplace_back(i, 1.0f);
    list.emplace_back(12, 3.0f);
    list.emplace_back(20, 4.0f);
    EXPECT_TRUE(item.SetStoredNutrients(list));
    item.SetStoredServingRatio(2.0f);
    EXPECT_EQ(item.NutrientValue(12), 6.0f);
    EXPECT_EQ(item.NutrientValue(13), 0.0f);
    EXPECT_TRUE(item.SetNutrientValue(20, 5));
    EXPECT_FALSE(item.SetNutrientValue(21, 5));

    std::vector<CNutrientValue> unordered = list;
    std::swap(unordered[6], unordered[7]);
    EXPECT_FALSE(item.SetStoredNutrients(unordered));
    const std::vector<CNutrientValue> tooShort = {CNutrientValue(0), CNutrientValue(1)};
    EXPECT_FALSE(item.SetStoredNutrients(tooShort));
}
