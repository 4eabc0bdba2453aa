// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/serving_rules.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace fitquill;

namespace {

SUsdaPortion Portion(double amount, std::string description, double grams, int seq = 1) {
    return SUsdaPortion{seq, amount, std::move(description), grams};
}

TEST(ServingRulesTest, MapsHouseholdMeasuresToProgramUnits) {
    const struct {
        double amount;
        const char* description;
        double grams;
        EPortionKind kind;
        uint8_t unit;
        double unitAmount;
    } cases[] = {
        {1, "cup", 244, EPortionKind::kVolume, kUnitCup, 1},
        {1, "cup, chopped", 128, EPortionKind::kVolume, kUnitCup, 1},
        {0.5, "Cup (1 NLEA serving)", 120, EPortionKind::kVolume, kUnitCup, 0.5},
        {1, "tbsp", 14.2, EPortionKind::kVolume, kUnitTbsp, 1},
        {1, "tablespoon", 15, EPortionKind::kVolume, kUnitTbsp, 1},
        {2, "tsp", 4, EPortionKind::kVolume, kUnitTsp, 2},
        {1, "fl oz", 30.5, EPortionKind::kVolume, kUnitFlOz, 1},
        {0.25, "quart", 244, EPortionKind::kVolume, kUnitQuart, 0.25},
        {1, "pint", 473, EPortionKind::kVolume, kUnitPint, 1},
        {0.5, "liter", 500, EPortionKind::kVolume, kUnitLitre, 0.5},
        {100, "ml", 102, EPortionKind::kVolume, kUnitMl, 100},
        {3, "oz", 85, EPortionKind::kWeight, kUnitOz, 3},
        {1, "oz, boneless", 28.35, EPortionKind::kWeight, kUnitOz, 1},
        {1, "lb", 453.6, EPortionKind::kWeight, kUnitLbs, 1},
        {1, "medium (3\" dia)", 182, EPortionKind::kItem, kUnitItem, 1},
        {3, "cookies", 30, EPortionKind::kItem, kUnitItem, 3},
        {0.333, "cup", 30, EPortionKind::kVolume, kUnitCup, 0.33},
        {0.667, "bar", 20, EPortionKind::kItem, kUnitItem, 0.67},
        {0.004, "tsp", 0.02, EPortionKind::kVolume, kUnitTsp, 0.01},
        {1, "slice (1 oz)", 28, EPortionKind::kItem, kUnitItem, 1},
        {1, "cubic inch", 17, EPortionKind::kItem, kUnitItem, 1},
        // A serving that says its size takes that unit; one that does not is an item.
        {1, "serving 1/2 cup", 120, EPortionKind::kVolume, kUnitCup, 0.5},
        {2, "serving (5 fl oz)", 300, EPortionKind::kVolume, kUnitFlOz, 10},
        {1, "serving 1-1/2 cup", 360, EPortionKind::kVolume, kUnitCup, 1.5},
        {1, "serving ( 3 oz )", 85, EPortionKind::kWeight, kUnitOz, 3},
        {1, "portion, amount to make 1/2 cup", 60, EPortionKind::kVolume, kUnitCup, 0.5},
        {1, "NLEA serving", 242, EPortionKind::kItem, kUnitItem, 1},
        // A container that names its size is still one container.
        {1, "can (12 fl oz)", 370, EPortionKind::kItem, kUnitItem, 1},
        // Not a portion: yields, whole birds and roasts, more than 700 g, no weight.
        {1, "unit (yield from 1 lb ready-to-cook chicken)", 276, EPortionKind::kUnsuitable,
         kUnitItem, 0},
        {0.5, "chicken, bone removed", 460, EPortionKind::kUnsuitable, kUnitItem, 0},
        {1, "roast", 2000, EPortionKind::kUnsuitable, kUnitItem, 0},
        {1, "pizza", 834, EPortionKind::kUnsuitable, kUnitItem, 0},
        {1, "package (3 lb)", 1361, EPortionKind::kUnsuitable, kUnitItem, 0},
        {1, "back, from whole bird", 949, EPortionKind::kUnsuitable, kUnitItem, 0},
        {1, "quart", 976, EPortionKind::kUnsuitable, kUnitQuart, 0},
        {1, "gallon", 3900, EPortionKind::kUnsuitable, kUnitGallon, 1},
        {1, "piece", 0, EPortionKind::kUnsuitable, kUnitItem, 0},
        {0, "piece", 30, EPortionKind::kUnsuitable, kUnitItem, 0},
        // A word that merely starts like a unit is not that unit.
        {1, "gummy bear", 2.3, EPortionKind::kItem, kUnitItem, 1},
        {1, "cupcake", 40, EPortionKind::kItem, kUnitItem, 1},
    };
    for (const auto& c : cases) {
        const SPortionUnit unit = ClassifyPortion(Portion(c.amount, c.description, c.grams));
        EXPECT_EQ(unit.kind, c.kind) << c.description;
        if (unit.kind == EPortionKind::kUnsuitable)
            continue;
        EXPECT_EQ(unit.unit, c.unit) << c.description;
        EXPECT_DOUBLE_EQ(unit.amount, c.unitAmount) << c.description;
    }
}

TEST(ServingRulesTest, TakesTheFirstSuitableMeasureButCountsWholeFoodsByTheMedium) {
    // The raw apple: cups come first, yet one medium apple is what people log.
    const std::vector<SUsdaPortion> apple = {
        Portion(1, "cup, quartered or chopped", 125, 1), Portion(1, "cup slices", 109, 2),
        Portion(1, "large (3-1/4\" dia)", 223, 3), Portion(1, "medium (3\" dia)", 182, 4),
        Portion(1, "NLEA serving", 242, 5)};
    SBasePortion base = ChooseBasePortion(apple);
    EXPECT_EQ(base.source, EBaseSource::kItem);
    EXPECT_EQ(base.volumeOrItem, CServingMeasure(1, kUnitItem));
    EXPECT_EQ(base.weight, CServingMeasure(182, kUnitGram));
    EXPECT_EQ(base.serving, base.volumeOrItem);
    EXPECT_DOUBLE_EQ(base.grams, 182);

    // A countable measure listed first stays: eggs are counted large.
    base =
        ChooseBasePortion({Portion(1, "large", 50, 1), Portion(1, "cup (4.86 large eggs)", 243, 2),
                           Portion(1, "medium", 44, 3)});
    EXPECT_EQ(base.weight, CServingMeasure(50, kUnitGram));

    // A "medium leaf" is a piece of the food, not the usual whole one.
    base =
        ChooseBasePortion({Portion(1, "cup, shredded", 70, 1), Portion(1, "medium leaf", 22, 2)});
    EXPECT_EQ(base.volumeOrItem, CServingMeasure(1, kUnitCup));

    // Weights and unsuitable measures are passed over for a later volume.
    base = ChooseBasePortion(
        {Portion(3, "oz", 85, 1), Portion(1, "roast", 1500, 2), Portion(0.25, "cup", 60, 3)});
    EXPECT_EQ(base.source, EBaseSource::kVolume);
    EXPECT_EQ(base.volumeOrItem, CServingMeasure(0.25f, kUnitCup));
    EXPECT_EQ(base.weight, CServingMeasure(60, kUnitGram));
}

TEST(ServingRulesTest, FallsBackToWeightThenToOneHundredGrams) {
    SBasePortion base =
        ChooseBasePortion({Portion(1, "unit (yield from 1 lb ready-to-cook chicken)", 276, 1),
                           Portion(3, "oz", 85, 2)});
    EXPECT_EQ(base.source, EBaseSource::kWeight);
    EXPECT_EQ(base.volumeOrItem.Amount(), 0.0f);
    EXPECT_EQ(base.weight, CServingMeasure(3, kUnitOz));
    EXPECT_EQ(base.serving, base.weight);
    EXPECT_DOUBLE_EQ(base.grams, 85);

    // Portions too heavy for the nutrient values are passed over.
    const std::vector<SUsdaPortion> salt = {Portion(1, "cup", 292, 1), Portion(1, "tbsp", 18, 2),
                                            Portion(1, "tsp", 6, 3)};
    base = ChooseBasePortion(salt, 25.8);
    EXPECT_EQ(base.volumeOrItem, CServingMeasure(1, kUnitTbsp));
    base = ChooseBasePortion(salt, 5);
    EXPECT_EQ(base.source, EBaseSource::kDefault100g);
    EXPECT_EQ(base.weight, CServingMeasure(1, kUnitGram));
    base = ChooseBasePortion({}, 50);
    EXPECT_EQ(base.weight, CServingMeasure(10, kUnitGram));

    base = ChooseBasePortion({});
    EXPECT_EQ(base.source, EBaseSource::kDefault100g);
    EXPECT_EQ(base.weight, CServingMeasure(100, kUnitGram));
    EXPECT_EQ(base.serving, base.weight);
    EXPECT_DOUBLE_EQ(base.grams, 100);
}

} // namespace
