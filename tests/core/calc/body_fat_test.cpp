// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/body_fat.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace fitquill;

namespace {

// Every girth set, waist 36 in.
CBodyMeasurements Measured(float waist = 36.0f) {
    CBodyMeasurements m;
    for (int girth = 0; girth < kGirthCount; ++girth)
        m.SetGirth(girth, girth == kGirthWaist ? waist : 10.0 + girth, false);
    return m;
}

CWeightValue Pounds(float pounds) {
    return CWeightValue::FromPounds(pounds);
}

} // namespace

TEST(PercentBodyFat, WaistAndWeightEstimateBySex) {
    const CBodyMeasurements m = Measured();
    // (36 * 4.15 - C - 180 * 0.082) / 180 * 100
    EXPECT_FLOAT_EQ(PercentBodyFat(m, 0, Pounds(180)), 20.122222f);
    EXPECT_FLOAT_EQ(PercentBodyFat(m, 1, Pounds(180)), 32.155556f);
    EXPECT_FLOAT_EQ(PercentBodyFat(m, 7, Pounds(180)), 32.155556f); // any other value: female
    // Not clamped: a slim waist gives a negative percentage.
    EXPECT_FLOAT_EQ(PercentBodyFat(Measured(20.0f), 0, Pounds(180)), -16.766666f);
}

TEST(PercentBodyFat, WeightIsRoundedToOneDecimalFirst) {
    const CBodyMeasurements m = Measured();
    const float at180 = PercentBodyFat(m, 0, Pounds(180));
    EXPECT_EQ(PercentBodyFat(m, 0, Pounds(180.04f)), at180);
    EXPECT_EQ(PercentBodyFat(m, 0, Pounds(179.96f)), at180); // rounds up and carries
    EXPECT_NE(PercentBodyFat(m, 0, Pounds(180.2f)), at180);
}

TEST(PercentBodyFat, MissingWeightGivesMinusOne) {
    const CBodyMeasurements m = Measured();
    EXPECT_EQ(PercentBodyFat(m, 0, CWeightValue()), -1.0f);
    EXPECT_EQ(PercentBodyFat(m, 0, Pounds(0.04f)), -1.0f); // shows as 0.0 lb
}

class PercentBodyFatGirthTest : public testing::TestWithParam<int> {};

TEST_P(PercentBodyFatGirthTest, EveryGirthIsRequired) {
    CBodyMeasurements m = Measured();
    m.SetGirth(GetParam(), 0, false);
    EXPECT_EQ(PercentBodyFat(m, 0, Pounds(180)), -1.0f);
    m.SetRawGirth(GetParam(), std::nanf(""));
    EXPECT_EQ(PercentBodyFat(m, 0, Pounds(180)), -1.0f);
}

INSTANTIATE_TEST_SUITE_P(AllGirths, PercentBodyFatGirthTest, testing::Range(0, kGirthCount));

TEST(PercentBodyFat, TypedPercentageWhileNotAutomatic) {
    CBodyMeasurements m; // no girths at all
    m.SetAutomaticBodyFat(false);
    EXPECT_EQ(PercentBodyFat(m, 0, Pounds(180)), -1.0f);
    m.SetPercentBodyFat(25.5);
    EXPECT_EQ(PercentBodyFat(m, 1, CWeightValue()), 25.5f);
}

TEST(BodyFatTexts, FilledAndEditedLines) {
    EXPECT_EQ(BodyFatFilledText(20.122222f), "20.1");
    EXPECT_EQ(BodyFatFilledText(0.0f), "0.0");
    EXPECT_EQ(BodyFatFilledText(-1.0f), "Input body measurements");
    EXPECT_EQ(BodyFatFilledText(-16.7f), "Input body measurements");
    EXPECT_EQ(BodyFatEditedText(20.122222f), "20.12");
    EXPECT_EQ(BodyFatEditedText(0.0f), "Input body measurements");
    EXPECT_EQ(BodyFatEditedText(-1.0f), "Input body measurements");
    EXPECT_STREQ(GirthUnitLabel(0), "in");
    EXPECT_STREQ(GirthUnitLabel(1), "cm");
}

TEST(MeasurementsPage, FillShowsTheUsersUnitAndEmptyFields) {
    CBodyMeasurements m = Measured();
    m.SetGirth(kGirthCalves, 0, false);
    SMeasurementsPage page = FillMeasurementsPage(m, 0, Pounds(180), 1);
    EXPECT_STREQ(page.unitLabel, "cm");
    ASSERT_TRUE(page.girths[kGirthWaist]);
    EXPECT_NEAR(*page.girths[kGirthWaist], 91.44, 1e-4);
    EXPECT_FALSE(page.girths[kGirthCalves]);
    EXPECT_EQ(page.percentText, "Input body measurements");
    EXPECT_TRUE(page.automatic);
    EXPECT_FALSE(page.typedPercent);

    m.SetGirth(kGirthCalves, 14, false);
    page = FillMeasurementsPage(m, 0, Pounds(180), 0);
    EXPECT_STREQ(page.unitLabel, "in");
    EXPECT_EQ(page.girths[kGirthWaist], 36.0);
    EXPECT_EQ(page.percentText, "20.1");
}

TEST(MeasurementsPage, TypedPercentageIsDiscardedByTheAutomaticFlag) {
    CBodyMeasurements m;
    SMeasurementsEntry entry;
    entry.automatic = false; // the flag is stored before the percentage, so this one counts
    entry.typedPercent = 22.5;
    EXPECT_FALSE(StoreMeasurementsPage(m, entry, 0).percentRefused);
    EXPECT_EQ(m.StoredPercentBodyFat(), 22.5f);
    SMeasurementsPage page = FillMeasurementsPage(m, 0, Pounds(180), 0);
    EXPECT_EQ(page.typedPercent, 22.5);
    EXPECT_EQ(page.percentText, "22.5");

    entry.typedPercent = 100;
    EXPECT_TRUE(StoreMeasurementsPage(m, entry, 0).percentRefused);
    EXPECT_EQ(m.StoredPercentBodyFat(), 22.5f);

    entry.automatic = true;
    StoreMeasurementsPage(m, entry, 0);
    EXPECT_EQ(m.StoredPercentBodyFat(), -1.0f);
    entry.automatic = false;
    entry.typedPercent = 0; // an empty box
    StoreMeasurementsPage(m, entry, 0);
    page = FillMeasurementsPage(m, 0, Pounds(180), 0);
    EXPECT_FALSE(page.automatic);
    EXPECT_FALSE(page.typedPercent);
}

TEST(MeasurementsPage, StoringConvertsCentimetresAndFocusesTheLastRefusedGirth) {
    CBodyMeasurements m;
    SMeasurementsEntry entry;
    entry.girths = {40, 1000, 100, 95, 900, 0, 30, 25}; // chest and thighs above 350 in
    const SMeasurementsStored stored = StoreMeasurementsPage(m, entry, 1);
    EXPECT_TRUE(stored.girthRefused);
    EXPECT_EQ(stored.focusGirth, kGirthThighs);
    EXPECT_FLOAT_EQ(m.RawGirth(kGirthWaist), 39.370078f);
    EXPECT_EQ(m.RawGirth(kGirthChest), -1.0f);
    EXPECT_EQ(m.RawGirth(kGirthThighs), -1.0f);
    EXPECT_EQ(m.RawGirth(kGirthCalves), -1.0f);
    // Girths after a refused one are still stored.
    EXPECT_FLOAT_EQ(m.RawGirth(kGirthForearms), 9.8425195f);

    entry.girths = {15, 40, 36, 40, 22, 14, 13, 11};
    const SMeasurementsStored ok = StoreMeasurementsPage(m, entry, 0);
    EXPECT_FALSE(ok.girthRefused);
    EXPECT_EQ(ok.focusGirth, -1);
    EXPECT_EQ(m.RawGirth(kGirthChest), 40.0f);
}
