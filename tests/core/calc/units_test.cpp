// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/units.h"

#include <gtest/gtest.h>

using namespace fitquill;

struct SNumberCase {
    double value;
    int decimals;
    bool pad;
    const char* text;
};

class NumberToTextTest : public testing::TestWithParam<SNumberCase> {};

TEST_P(NumberToTextTest, RoundsFromPoint49AndCarries) {
    const SNumberCase& c = GetParam();
    EXPECT_EQ(NumberToText(c.value, c.decimals, c.pad), c.text)
        << c.value << " with " << c.decimals << " decimals";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberToTextTest,
    testing::Values(SNumberCase{2.49, 0, false, "3"}, SNumberCase{2.48, 0, false, "2"},
                    SNumberCase{0.5, 0, false, "1"}, SNumberCase{3.96, 1, true, "4.0"},
                    SNumberCase{3.96, 1, false, "4"}, SNumberCase{9.95, 1, false, "10"},
                    SNumberCase{9.95, 1, true, "10.0"}, SNumberCase{9.94, 1, false, "9.9"},
                    SNumberCase{1.006, 2, false, "1.01"}, SNumberCase{0.994, 2, false, "0.99"},
                    SNumberCase{0.996, 2, true, "1.00"}, SNumberCase{0.996, 2, false, "1"},
                    SNumberCase{1.05, 2, false, "1.05"}, SNumberCase{2.5, 5, true, "2.50"},
                    SNumberCase{123456, 0, false, "10000"}, SNumberCase{10000, 2, true, "10000.00"},
                    SNumberCase{0, 1, true, "0.0"}, SNumberCase{0, 1, false, "0"}));

TEST(TextToNumber, EmptyIsZeroAndValuesAreClamped) {
    EXPECT_EQ(TextToNumber(""), 0.0);
    EXPECT_DOUBLE_EQ(TextToNumber("12.5"), 12.5);
    EXPECT_EQ(TextToNumber("99999"), 10000.0);
    EXPECT_EQ(TextToNumber("-99999"), -10000.0);
    EXPECT_EQ(TextToNumber("abc"), 0.0);
}

TEST(WeightValue, ClampsConvertsAndRefusesZero) {
    CWeightValue w;
    EXPECT_FALSE(w.IsSet());
    EXPECT_FALSE(w.Get(false));

    EXPECT_TRUE(w.Set(1000, true));
    EXPECT_EQ(w.Pounds(), 999.0f);
    ASSERT_TRUE(w.Get(true));
    EXPECT_DOUBLE_EQ(*w.Get(true), 453.1);

    EXPECT_TRUE(w.Set(176.4, false));
    EXPECT_DOUBLE_EQ(*w.Get(true), 80.0);

    EXPECT_TRUE(w.Set(50, true));
    EXPECT_FLOAT_EQ(w.Pounds(), 110.23f);

    EXPECT_FALSE(w.Set(-5, false));
    EXPECT_FALSE(w.IsSet());
    EXPECT_FALSE(w.Set(0, true));
    EXPECT_EQ(w.Pounds(), -1.0f);
}

TEST(HeightValue, FeetInchesAndCentimetres) {
    CHeightValue h;
    EXPECT_TRUE(h.SetFeetInches(5, 10));
    EXPECT_EQ(h.Inches(), 70.0f);
    EXPECT_EQ(h.GetCentimetres(), 178);
    EXPECT_EQ(h.GetFeetInches(), std::make_pair(5, 10));

    EXPECT_TRUE(h.SetFeetInches(12, 15)); // parts clamp to 9 ft 11 in
    EXPECT_EQ(h.Inches(), 119.0f);
    EXPECT_TRUE(h.SetFeetInches(-3, 4)); // a negative part counts as 0
    EXPECT_EQ(h.Inches(), 4.0f);
    EXPECT_FALSE(h.SetFeetInches(0, 0));
    EXPECT_FALSE(h.IsSet());
    EXPECT_FALSE(h.GetFeetInches());

    EXPECT_TRUE(h.SetCentimetres(400));
    EXPECT_FLOAT_EQ(h.Inches(), static_cast<float>(302 * 0.39370078));
    EXPECT_FALSE(h.SetCentimetres(-1));
    EXPECT_FALSE(h.IsSet());
    EXPECT_FALSE(h.SetCentimetres(0));

    h.SetRawInches(70.9f);
    EXPECT_EQ(h.GetCentimetres(), 180);
}

TEST(ServingConversion, FamiliesAndFactors) {
    EXPECT_FLOAT_EQ(*ConvertUnits(3, kUnitTbsp, kUnitCup), 0.1875f);
    EXPECT_FLOAT_EQ(*ConvertUnits(1, kUnitCup, kUnitMl), 236.58825f);
    EXPECT_FLOAT_EQ(*ConvertUnits(2, kUnitOz, kUnitItem), 56.69904f);
    EXPECT_FLOAT_EQ(*ConvertUnits(1, kUnitKg, kUnitLbs), 2.204622864866848f);
    EXPECT_FALSE(ConvertUnits(1, kUnitCup, kUnitGram));
    EXPECT_FALSE(ConvertUnits(1, kUnitItem, kUnitMl));
}

TEST(ServingRatio, CountsReferenceMeasuresInServing) {
    EXPECT_FLOAT_EQ(ServingRatio({2, kUnitTbsp}, {1, kUnitCup}), 0.125f);
    EXPECT_FLOAT_EQ(ServingRatio({2, kUnitCup}, {1, kUnitCup}), 2.0f);
    EXPECT_EQ(ServingRatio({100, kUnitGram}, {1, kUnitCup}), 1.0f); // no conversion
    EXPECT_EQ(ServingRatio({0, kUnitCup}, {1, kUnitCup}), 0.0f);
    EXPECT_EQ(ServingRatio({1, kUnitCup}, {0, kUnitCup}), 0.0f);
}

TEST(ServingMeasure, AmountIsClampedAndEqualityIgnoresUnitSet) {
    CServingMeasure m(-2, kUnitCup);
    EXPECT_EQ(m.Amount(), 0.0f);
    m.SetAmount(123456);
    EXPECT_EQ(m.Amount(), 9999.99f);
    EXPECT_EQ(CServingMeasure(1, kUnitCup, 1), CServingMeasure(1, kUnitCup, 4));
    EXPECT_FALSE(CServingMeasure(1, kUnitCup) == CServingMeasure(1, kUnitTbsp));
}

TEST(UnitSets, DerivedFromBothBaseMeasures) {
    const CServingMeasure none, cup(1, kUnitCup), grams(30, kUnitGram), item(1, kUnitItem);
    EXPECT_EQ(DeriveUnitSet(cup, grams), 4);
    EXPECT_EQ(DeriveUnitSet(cup, none), 1);
    EXPECT_EQ(DeriveUnitSet(none, none), 3);
    EXPECT_EQ(DeriveUnitSet(item, none), 3);
    EXPECT_EQ(DeriveUnitSet(item, grams), 5);
    EXPECT_EQ(DeriveUnitSet(none, grams), 2);

    EXPECT_EQ(UnitSetInfo(2).firstIndex, 10);
    EXPECT_EQ(UnitSetInfo(5).count, 5);
    EXPECT_STREQ(UnitInfo(kUnitFlOz)->name, "fl oz");
    EXPECT_EQ(UnitInfo(15), nullptr);
}
