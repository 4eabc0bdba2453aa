// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/exercise_cursor.h"
#include "core/food/exercise_table.h"
#include "core/internal_error.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

using namespace fitquill;

namespace {

std::string Join(const SExerciseList& list) {
    std::string text;
    for (int i = 0; i < list.count; ++i)
        text += (i ? "|" : "") + std::string(list.Name(i));
    return text;
}

// "Activity: Variant[Intensity|...], Variant, ..." for one activity of the table.
std::string Describe(int activity) {
    std::string text = ExerciseActivityList().Name(activity);
    const SExerciseList variants = ExerciseVariantList(activity);
    for (int v = 0; v < variants.count; ++v) {
        text += (v ? ", " : ": ") + std::string(variants.Name(v));
        const SExerciseList intensities = ExerciseIntensityList(activity, v);
        if (!intensities.Empty())
            text += "[" + Join(intensities) + "]";
    }
    return text;
}

const char* const kExpectedTable[kExerciseActivityCount] = {
    "Aerobics: General[Low Impact|High Impact], Step[Low Impact|High Impact], Water",
    "Basketball",
    "Bicycling: Stationary[Moderate|Vigorous], Outdoor[BMX-Mtn.|12-13.9 mph|14-15.9 mph]",
    "Boxing",
    "Football: Touch, Competitive",
    "Frisbee",
    "Golf: Using Cart, Carrying Clubs",
    "Gymnastics",
    "Handball",
    "Horseback Riding",
    "Martial Arts",
    "Racquetball: Casual, Competitive",
    "Rock Climbing: Repelling, Ascending",
    "Rope Jumping",
    "Rowing: Stationary[Moderate|Vigorous], Whitewater Rafting, Kayaking",
    "Running: General[5.0 mph|5.2 mph|6.0 mph|6.7 mph|7.5 mph|8.6 mph|10  mph], Cross-country",
    "Skating: Rollerblade, Ice",
    "Skiing: Snow[Cross-country|Downhill], Water, Machine",
    "Softball",
    "Stair Machine",
    "Swimming: General, Water Polo",
    "Tennis",
    "Volleyball: Non-competitive, Competitive, Beach",
    "Walking: General[3.5 mph|4.0 mph|4.5 mph], Walk-Jog, Hiking",
    "Weight Lifting: Moderate, Vigorous",
    "Other Activities: Chopping Wood, Housecleaning, Mowing Lawn[Power|Manual], Gardening, "
    "Shoveling[Snow Blower|Manual], Raking Leaves, Sex",
    "User Defined Exercise",
};

} // namespace

TEST(ExerciseTable, HoldsEveryActivityVariantAndIntensityName) {
    ASSERT_EQ(ExerciseActivityList().count, 27);
    for (int a = 0; a < kExerciseActivityCount; ++a)
        EXPECT_EQ(Describe(a), kExpectedTable[a]) << "activity " << a;
}

TEST(ExerciseTable, AlikeListsShareOneRun) {
    const SExerciseList moderate = ExerciseIntensityList(2, 0);
    EXPECT_EQ(ExerciseIntensityList(14, 0).names, moderate.names);
    EXPECT_EQ(ExerciseVariantList(24).names, moderate.names);
    EXPECT_EQ(ExerciseIntensityList(0, 1).names, ExerciseIntensityList(0, 0).names);
}

TEST(ExerciseTable, OutsideTheTableThereAreNoLists) {
    EXPECT_TRUE(ExerciseVariantList(-1).Empty());
    EXPECT_TRUE(ExerciseVariantList(27).Empty());
    EXPECT_TRUE(ExerciseIntensityList(0, 3).Empty());
    EXPECT_TRUE(ExerciseIntensityList(0, -1).Empty());
    EXPECT_TRUE(ExerciseIntensityList(40, 0).Empty());
    EXPECT_THROW(ExerciseActivityList().Name(27), CInternalError);
    EXPECT_THROW(ExerciseVariantList(1).Name(0), CInternalError);
}

TEST(ExerciseCursor, NewCursorStandsOnAerobicsGeneralLowImpact) {
    CExerciseCursor cursor;
    EXPECT_EQ(cursor.Activity(), 0);
    EXPECT_EQ(cursor.Variant(), 0);
    EXPECT_EQ(cursor.Intensity(), 0);
    EXPECT_EQ(cursor.Activities().count, 27);
    EXPECT_EQ(Join(cursor.Variants()), "General|Step|Water");
    EXPECT_EQ(Join(cursor.Intensities()), "Low Impact|High Impact");
}

struct SCursorCase {
    int16_t activity;
    int16_t variant; // applied after the activity unless kKeep
    int16_t expectVariant;
    int16_t expectIntensity;
    const char* intensities;
};

void PrintTo(const SCursorCase& c, std::ostream* os) {
    *os << "activity " << c.activity << ", variant " << c.variant;
}
constexpr int16_t kKeep = -100;

class ExerciseCursorTest : public testing::TestWithParam<SCursorCase> {};

TEST_P(ExerciseCursorTest, IndexIsMinusOneExactlyWhereThereIsNoList) {
    const SCursorCase& c = GetParam();
    CExerciseCursor cursor;
    cursor.SetActivity(c.activity);
    if (c.variant != kKeep)
        cursor.SetVariant(c.variant);
    EXPECT_EQ(cursor.Variant(), c.expectVariant);
    EXPECT_EQ(cursor.Intensity(), c.expectIntensity);
    EXPECT_EQ(Join(cursor.Intensities()), c.intensities);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExerciseCursorTest,
    testing::Values(
        SCursorCase{15, kKeep, 0, 0, "5.0 mph|5.2 mph|6.0 mph|6.7 mph|7.5 mph|8.6 mph|10  mph"},
        SCursorCase{15, 1, 1, -1, ""}, SCursorCase{1, kKeep, -1, -1, ""},
        SCursorCase{25, 4, 4, 0, "Snow Blower|Manual"}, SCursorCase{25, 3, 3, -1, ""},
        SCursorCase{26, kKeep, -1, -1, ""}, SCursorCase{24, kKeep, 0, -1, ""},
        SCursorCase{2, 1, 1, 0, "BMX-Mtn.|12-13.9 mph|14-15.9 mph"},
        // A variant outside the list keeps the intensities shown for these activities...
        SCursorCase{0, 5, 5, 0, "Low Impact|High Impact"},
        SCursorCase{23, -1, -1, 0, "3.5 mph|4.0 mph|4.5 mph"},
        // ...but not for the others.
        SCursorCase{25, 9, 9, -1, ""}, SCursorCase{4, 7, 7, -1, ""}));

TEST(ExerciseCursor, ActivityOutsideTheTableKeepsTheListsShown) {
    CExerciseCursor cursor;
    cursor.SetActivity(15);
    cursor.SetActivity(30);
    EXPECT_EQ(cursor.Activity(), 30);
    EXPECT_EQ(Join(cursor.Variants()), "General|Cross-country");
    EXPECT_EQ(cursor.Variant(), 0);
    EXPECT_TRUE(cursor.Intensities().Empty());
    EXPECT_EQ(cursor.Intensity(), -1);
}

TEST(ExerciseCursor, IntensityIsStoredUncheckedAndNameTrimmed) {
    CExerciseCursor cursor;
    cursor.SetIntensity(7);
    EXPECT_EQ(cursor.Intensity(), 7);
    cursor.SetName("  Yard work ");
    EXPECT_EQ(cursor.Name(), "Yard work");
}

TEST(ExerciseCursor, CaloriesFollowTheSelection) {
    CExerciseCursor cursor;
    cursor.SetActivity(15);
    cursor.SetIntensity(2);
    EXPECT_EQ(cursor.Calories(150.0f, 30), 360);
    // A day's weight counts in pounds to one decimal: 149.86 lb (359.98 calories) is 149.9.
    EXPECT_EQ(cursor.Calories(CWeightValue::FromPounds(149.86f), 30), 360);
    EXPECT_EQ(cursor.Calories(CWeightValue::FromPounds(149.7f), 30), 359);
    EXPECT_EQ(cursor.Calories(CWeightValue(), 30), std::nullopt);
    cursor.SetActivity(26);
    EXPECT_EQ(cursor.Calories(150.0f, 30), std::nullopt);
}
