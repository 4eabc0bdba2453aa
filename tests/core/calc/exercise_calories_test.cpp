// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/exercise_calories.h"
#include "core/food/exercise_table.h"
#include "core/internal_error.h"

#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <ostream>
#include <set>
#include <tuple>

using namespace fitquill;

namespace {

// Whole calories of each formula at 200 lb for 79 minutes and at 999 lb for 2 minutes. The
// first point tells all 21 formulas apart; the second weighs the constant term heavily.
struct SFormulaCase {
    int formula;
    int at200For79;
    int at999For2;
};

void PrintTo(const SFormulaCase& c, std::ostream* os) {
    *os << "F" << c.formula;
}

const SFormulaCase kFormulaCases[] = {
    {1, 695, 85},    {2, 885, 108},   {3, 1263, 163},  {4, 506, 63},    {5, 1011, 127},
    {6, 1326, 167},  {7, 1074, 130},  {8, 1010, 126},  {9, 1138, 145},  {10, 379, 44},
    {11, 441, 59},   {12, 1517, 190}, {13, 1390, 171}, {14, 631, 81},   {15, 1579, 204},
    {16, 1833, 231}, {17, 2085, 268}, {18, 757, 100},  {19, 1201, 149}, {20, 569, 67},
    {21, 190, 22},
};

int ExpectedAt200For79(int formula) {
    for (const SFormulaCase& c : kFormulaCases)
        if (c.formula == formula)
            return c.at200For79;
    return -1;
}

int IndexOf(const SExerciseList& list, const char* name) {
    for (int i = 0; i < list.count; ++i)
        if (std::strcmp(list.Name(i), name) == 0)
            return i;
    return -100; // not in the list: the test row is wrong
}

// The assignment of formulas, by the names the user sees; nullptr where there is no list.
struct SAssignmentCase {
    const char* activity;
    const char* variant;
    const char* intensity;
    int formula;
};

void PrintTo(const SAssignmentCase& c, std::ostream* os) {
    *os << c.activity << " / " << (c.variant ? c.variant : "-") << " / "
        << (c.intensity ? c.intensity : "-");
}

const SAssignmentCase kAssignmentCases[] = {
    {"Aerobics", "General", "Low Impact", 1},
    {"Aerobics", "General", "High Impact", 2},
    {"Aerobics", "Step", "Low Impact", 2},
    {"Aerobics", "Step", "High Impact", 3},
    {"Aerobics", "Water", nullptr, 4},
    {"Basketball", nullptr, nullptr, 5},
    {"Bicycling", "Stationary", "Moderate", 2},
    {"Bicycling", "Stationary", "Vigorous", 6},
    {"Bicycling", "Outdoor", "BMX-Mtn.", 7},
    {"Bicycling", "Outdoor", "12-13.9 mph", 8},
    {"Bicycling", "Outdoor", "14-15.9 mph", 3},
    {"Boxing", nullptr, nullptr, 9},
    {"Football", "Touch", nullptr, 8},
    {"Football", "Competitive", nullptr, 9},
    {"Frisbee", nullptr, nullptr, 10},
    {"Golf", "Using Cart", nullptr, 11},
    {"Golf", "Carrying Clubs", nullptr, 1},
    {"Gymnastics", nullptr, nullptr, 4},
    {"Handball", nullptr, nullptr, 12},
    {"Horseback Riding", nullptr, nullptr, 4},
    {"Martial Arts", nullptr, nullptr, 3},
    {"Racquetball", "Casual", nullptr, 2},
    {"Racquetball", "Competitive", nullptr, 3},
    {"Rock Climbing", "Repelling", nullptr, 8},
    {"Rock Climbing", "Ascending", nullptr, 13},
    {"Rope Jumping", nullptr, nullptr, 3},
    {"Rowing", "Stationary", "Moderate", 2},
    {"Rowing", "Stationary", "Vigorous", 7},
    {"Rowing", "Whitewater Rafting", nullptr, 14},
    {"Rowing", "Kayaking", nullptr, 14},
    {"Running", "General", "5.0 mph", 8},
    {"Running", "General", "5.2 mph", 9},
    {"Running", "General", "6.0 mph", 3},
    {"Running", "General", "6.7 mph", 13},
    {"Running", "General", "7.5 mph", 15},
    {"Running", "General", "8.6 mph", 16},
    {"Running", "General", "10  mph", 17},
    {"Running", "Cross-country", nullptr, 9},
    {"Skating", "Rollerblade", nullptr, 2},
    {"Skating", "Ice", nullptr, 2},
    {"Skiing", "Snow", "Cross-country", 8},
    {"Skiing", "Snow", "Downhill", 18},
    {"Skiing", "Water", nullptr, 18},
    {"Skiing", "Machine", nullptr, 19},
    {"Softball", nullptr, nullptr, 14},
    {"Stair Machine", nullptr, nullptr, 18},
    {"Swimming", "General", nullptr, 18},
    {"Swimming", "Water Polo", nullptr, 3},
    {"Tennis", nullptr, nullptr, 2},
    {"Volleyball", "Non-competitive", nullptr, 10},
    {"Volleyball", "Competitive", nullptr, 4},
    {"Volleyball", "Beach", nullptr, 8},
    {"Walking", "General", "3.5 mph", 4},
    {"Walking", "General", "4.0 mph", 20},
    {"Walking", "General", "4.5 mph", 14},
    {"Walking", "Walk-Jog", nullptr, 18},
    {"Walking", "Hiking", nullptr, 18},
    {"Weight Lifting", "Moderate", nullptr, 10},
    {"Weight Lifting", "Vigorous", nullptr, 18},
    {"Other Activities", "Chopping Wood", nullptr, 18},
    {"Other Activities", "Housecleaning", nullptr, 11},
    {"Other Activities", "Mowing Lawn", "Power", 20},
    {"Other Activities", "Mowing Lawn", "Manual", 1},
    {"Other Activities", "Gardening", nullptr, 20},
    {"Other Activities", "Shoveling", "Snow Blower", 20},
    {"Other Activities", "Shoveling", "Manual", 18},
    {"Other Activities", "Raking Leaves", nullptr, 4},
    {"Other Activities", "Sex", nullptr, 21},
};

struct SIndexes {
    int activity;
    int variant;
    int intensity;
    auto operator<=>(const SIndexes&) const = default;
};

// A dash (no list) is looked up with -1, the index the cursor holds there.
SIndexes Resolve(const SAssignmentCase& c) {
    SIndexes x{IndexOf(ExerciseActivityList(), c.activity), -1, -1};
    if (c.variant)
        x.variant = IndexOf(ExerciseVariantList(x.activity), c.variant);
    if (c.intensity)
        x.intensity = IndexOf(ExerciseIntensityList(x.activity, x.variant), c.intensity);
    return x;
}

} // namespace

class ExerciseFormulaTest : public testing::TestWithParam<SFormulaCase> {};

TEST_P(ExerciseFormulaTest, ConstantsGiveTheKnownWholeCalories) {
    const SFormulaCase& c = GetParam();
    EXPECT_EQ(static_cast<int>(EvaluateExerciseFormula(c.formula, 200.0, 79)), c.at200For79);
    EXPECT_EQ(static_cast<int>(EvaluateExerciseFormula(c.formula, 999.0, 2)), c.at999For2);
}

INSTANTIATE_TEST_SUITE_P(All, ExerciseFormulaTest, testing::ValuesIn(kFormulaCases));

TEST(ExerciseFormula, OnlyTwentyOneFormulasExist) {
    EXPECT_THROW(ExerciseFormula(0), CInternalError);
    EXPECT_THROW(ExerciseFormula(22), CInternalError);
    EXPECT_EQ(ExerciseFormula(21).a, 67);
}

class ExerciseAssignmentTest : public testing::TestWithParam<SAssignmentCase> {};

TEST_P(ExerciseAssignmentTest, EveryListPositionMapsToItsFormula) {
    const SAssignmentCase& c = GetParam();
    const SIndexes x = Resolve(c);
    EXPECT_EQ(ExerciseFormulaFor(x.activity, x.variant, x.intensity), c.formula);
    const auto calories =
        ExerciseCalories(static_cast<int16_t>(x.activity), static_cast<int16_t>(x.variant),
                         static_cast<int16_t>(x.intensity), 200.0f, 79);
    ASSERT_TRUE(calories);
    EXPECT_EQ(*calories, ExpectedAt200For79(c.formula));
}

INSTANTIATE_TEST_SUITE_P(All, ExerciseAssignmentTest, testing::ValuesIn(kAssignmentCases));

TEST(ExerciseAssignment, CoversEveryPositionOfTheActivityTable) {
    std::set<SIndexes> assigned;
    for (const SAssignmentCase& c : kAssignmentCases)
        assigned.insert(Resolve(c));
    int positions = 0;
    for (int a = 0; a < kActivityUserDefined; ++a) {
        const SExerciseList variants = ExerciseVariantList(a);
        for (int v = variants.Empty() ? -1 : 0; v < std::max<int>(variants.count, 0); ++v) {
            const SExerciseList intensities = ExerciseIntensityList(a, v);
            for (int i = intensities.Empty() ? -1 : 0; i < std::max<int>(intensities.count, 0);
                 ++i) {
                ++positions;
                EXPECT_TRUE(assigned.count({a, v, i})) << a << "/" << v << "/" << i;
            }
        }
    }
    EXPECT_EQ(positions, static_cast<int>(std::size(kAssignmentCases)));
}

TEST(ExerciseCalories, KnownExercises) {
    EXPECT_EQ(ExerciseCalories(15, 0, 2, 150.0f, 30), 360);   // running 6.0 mph
    EXPECT_EQ(ExerciseCalories(15, 0, 2, 300.0f, 999), 9999); // about 23956, capped
    EXPECT_EQ(ExerciseCalories(23, 0, 0, 100.0f, 10), 32);    // walking 3.5 mph: 32.0027
}

TEST(ExerciseCalories, IndexesWithoutAListAreIgnored) {
    const auto basketball = ExerciseCalories(1, -1, -1, 150.0f, 30);
    ASSERT_TRUE(basketball);
    EXPECT_GT(*basketball, 0);
    EXPECT_EQ(ExerciseCalories(1, 4, 9, 150.0f, 30), basketball);
    EXPECT_EQ(ExerciseCalories(4, 0, 5, 150.0f, 30), ExerciseCalories(4, 0, -1, 150.0f, 30));
}

TEST(ExerciseCalories, IndexOutsideAnExistingListBurnsNothing) {
    const std::tuple<int16_t, int16_t, int16_t> cases[] = {
        {0, 0, 2},   {0, 0, -1}, {0, 3, -1}, {0, -1, 0}, {15, 0, 7},
        {25, 7, -1}, {25, 2, 2}, {27, 0, 0}, {-1, 0, 0}, {100, -1, -1},
    };
    for (const auto& [a, v, i] : cases)
        EXPECT_EQ(ExerciseCalories(a, v, i, 150.0f, 30), 0) << a << "/" << v << "/" << i;
}

TEST(ExerciseCalories, FailsWithoutTimeWeightOrForTypedExercise) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(ExerciseCalories(15, 0, 2, 150.0f, 0), std::nullopt);
    EXPECT_EQ(ExerciseCalories(15, 0, 2, 150.0f, -5), std::nullopt);
    EXPECT_EQ(ExerciseCalories(15, 0, 2, 0.0f, 30), std::nullopt);
    EXPECT_EQ(ExerciseCalories(15, 0, 2, -1.0f, 30), std::nullopt); // unset weight
    EXPECT_EQ(ExerciseCalories(15, 0, 2, nan, 30), std::nullopt);
    EXPECT_EQ(ExerciseCalories(26, -1, -1, 150.0f, 30), std::nullopt);
}

TEST(ExerciseCalories, HugeInputsAreCappedNotOverflowed) {
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(ExerciseCalories(17, 2, -1, inf, 30), 9999);
    EXPECT_EQ(ExerciseCalories(15, 0, 6, 999.0f, 32767), 9999);
    // Just below and above the cap: running 10 mph at 250 lb.
    EXPECT_EQ(ExerciseCalories(15, 0, 6, 250.0f, 303), 9996);
    EXPECT_EQ(ExerciseCalories(15, 0, 6, 250.0f, 304), 9999); // 10029.39
}
