// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/energy_balance.h"
#include "core/journal/journal_records.h"

#include "core/clock.h"
#include "core/journal/journal_db.h"
#include "core/journal/user_profile.h"

#include <gtest/gtest.h>

using namespace fitquill;

namespace {

CWeightValue Kilograms(double kilograms) {
    CWeightValue weight;
    weight.Set(kilograms, true);
    return weight;
}

CWeightValue Pounds(double pounds) {
    CWeightValue weight;
    weight.Set(pounds, false);
    return weight;
}

CUserProfile Person(int sex, int centimetres, int age) {
    CUserProfile profile;
    profile.SetSex(sex);
    profile.SetHeightCentimetres(centimetres);
    profile.SetAge(age);
    return profile;
}

CJournalDate DaysAfter(CJournalDate date, int days) {
    for (int i = 0; i < days; ++i)
        date.StepDays(1);
    return date;
}

struct SBmrCase {
    int sex;
    double kilograms;
    int centimetres;
    int age;
    int level;
    int16_t calories;
    bool ok;
};

class BmrTest : public testing::TestWithParam<SBmrCase> {};

} // namespace

TEST_P(BmrTest, CutsTheSinglePrecisionProduct) {
    const SBmrCase& c = GetParam();
    const CUserProfile profile = Person(c.sex, c.centimetres, c.age);
    const CWeightValue weight = Kilograms(c.kilograms);
    // The inputs are read back as the calculation reads them.
    ASSERT_DOUBLE_EQ(*weight.Get(true), c.kilograms);
    ASSERT_EQ(*profile.Height().GetCentimetres(), c.centimetres);

    const SBmrResult bmr = ComputeBMR(profile, c.level, weight);
    EXPECT_EQ(bmr.calories, c.calories) << "level " << c.level;
    EXPECT_EQ(bmr.ok, c.ok) << "level " << c.level;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BmrTest,
    testing::Values(
        // Male 80 kg, 180 cm, 30 years: x = 1858.
        SBmrCase{0, 80.0, 180, 30, 1, 1858, true}, SBmrCase{0, 80.0, 180, 30, 2, 2229, true},
        SBmrCase{0, 80.0, 180, 30, 3, 2415, true}, SBmrCase{0, 80.0, 180, 30, 4, 2972, true},
        // Female 60 kg, 165 cm, 40 years: x = 1340; 1.4f makes 1875.99996, cut to 1875.
        SBmrCase{1, 60.0, 165, 40, 3, 1741, true}, SBmrCase{1, 60.0, 165, 40, 4, 1875, true},
        // x = 1000 exactly: 1.3f is just below 1.3.
        SBmrCase{0, 30.0, 159, 40, 1, 1000, true}, SBmrCase{0, 30.0, 159, 40, 3, 1299, true},
        // The user types the BMR at level 5; other codes give 0 without failing.
        SBmrCase{0, 80.0, 180, 30, 5, 0, false}, SBmrCase{0, 80.0, 180, 30, 0, 0, true},
        SBmrCase{0, 80.0, 180, 30, 6, 0, true}));

TEST(Bmr, ReadsPoundsAsKilogramsToOneDecimal) {
    const CUserProfile profile = Person(0, 180, 30);
    EXPECT_DOUBLE_EQ(*Pounds(176.4).Get(true), 80.0);
    EXPECT_EQ(ComputeBMR(profile, 1, Pounds(176.4)).calories, 1858);

    CUserProfile inches = Person(0, 180, 30);
    CHeightValue height;
    height.SetRawInches(70.9f);
    inches.SetHeight(height);
    EXPECT_EQ(ComputeBMR(inches, 1, Pounds(176.4)).calories, 1858);
}

TEST(Bmr, FailsWithoutWeightHeightOrAge) {
    const CWeightValue weight = Kilograms(80.0);
    CUserProfile noAge = Person(0, 180, -1);
    CUserProfile noHeight = Person(0, 0, 30);
    const CUserProfile complete = Person(0, 180, 30);
    for (const auto& [profile, w] : {std::pair{noAge, weight}, std::pair{noHeight, weight},
                                     std::pair{complete, CWeightValue()}}) {
        const SBmrResult bmr = ComputeBMR(profile, 2, w);
        EXPECT_FALSE(bmr.ok);
        EXPECT_EQ(bmr.calories, 0);
    }
}

TEST(ActivityLevel, NamesAndUnknownCodes) {
    EXPECT_STREQ(ActivityLevelName(1), "None : Bed");
    EXPECT_STREQ(ActivityLevelName(4), "Heavy : Walking - Lifting");
    EXPECT_STREQ(ActivityLevelName(5), "Other : Manual Input of BMR");
    EXPECT_STREQ(ActivityLevelName(0), "---");
    EXPECT_STREQ(ActivityLevelName(6), "---");
}

class GoalTest : public testing::Test {
protected:
    void SetGoal(double start, double goal, int days) {
        profile.SetStartingWeight(start, false);
        profile.SetGoalWeight(goal, false);
        profile.SetStartingDate(CJournalDate(1, 1, 2024));
        profile.SetGoalDate(DaysAfter(CJournalDate(1, 1, 2024), days));
        ComputeGoalSummary(profile);
    }
    CUserProfile profile;
};

TEST_F(GoalTest, LosingComputesDailyCaloriesCutTowardsZero) {
    SetGoal(200, 156, 239); // 44 x 3500 / 239 = 644.35
    const CGoalSummary& summary = profile.GoalSummary();
    ASSERT_TRUE(summary.IsValid());
    EXPECT_FLOAT_EQ(summary.WeightChange(), 44.0f);
    EXPECT_EQ(summary.Days(), 239);
    EXPECT_EQ(summary.DailyCalories(), 644);

    EXPECT_EQ(GoalText(summary, 0),
              "To lose 44.0 lbs in 239 days, you will need to eat 644 fewer calories per day "
              "than your body burns.");
    EXPECT_EQ(GoalText(summary, 0, true),
              "To lose 44 lbs in 239 days, you will need to eat 644 fewer calories per day than "
              "your body burns.");
    // Metric: 44 lb read as kilograms (19.96 -> 20.0); the whole-number form is English only.
    EXPECT_EQ(GoalText(summary, 1, true),
              "To lose 20.0 kg in 239 days, you will need to eat 644 fewer calories per day than "
              "your body burns.");
}

TEST_F(GoalTest, GainingUsesTheGainTextWithPositiveNumbers) {
    SetGoal(150, 160, 70);
    const CGoalSummary& summary = profile.GoalSummary();
    ASSERT_TRUE(summary.IsValid());
    EXPECT_EQ(summary.DailyCalories(), -500);
    EXPECT_FLOAT_EQ(GoalChangeForDisplay(summary, 0), -10.0f);
    EXPECT_FLOAT_EQ(GoalChangeForDisplay(summary, 1), -4.5f);
    EXPECT_EQ(GoalText(summary, 0),
              "To gain 10.0 lbs in 70 days, you will need to eat 500 more calories per day than "
              "your body burns.");
}

TEST_F(GoalTest, DamagedStoredWeightsStayWithin32Bits) {
    // Only a damaged record can hold such weights; the daily figure must not overflow.
    profile.SetStartingWeight(CWeightValue::FromPounds(3.0e38f));
    profile.SetGoalWeight(CWeightValue::FromPounds(1.0f));
    profile.SetStartingDate(CJournalDate(1, 1, 2024));
    profile.SetGoalDate(CJournalDate(2, 1, 2024));
    ComputeGoalSummary(profile);
    EXPECT_EQ(profile.GoalSummary().DailyCalories(), 2147483647);
}

TEST_F(GoalTest, IncompleteGoalsAreInvalid) {
    const std::string incomplete =
        "After inputting your personal information and goals, the calorie calculator will "
        "automatically display the calories you need to remove from your diet each day.";
    SetGoal(200, 156, 0); // goal date equal to the starting date
    EXPECT_FALSE(profile.GoalSummary().IsValid());
    EXPECT_EQ(GoalText(profile.GoalSummary(), 0), incomplete);

    SetGoal(200, 156, 30);
    ASSERT_TRUE(profile.GoalSummary().IsValid());
    profile.SetGoalDate(CJournalDate(1, 12, 2023)); // before the start
    ComputeGoalSummary(profile);
    EXPECT_FALSE(profile.GoalSummary().IsValid());

    SetGoal(200, 156, 30);
    profile.SetGoalWeight(CWeightValue());
    ComputeGoalSummary(profile);
    EXPECT_FALSE(profile.GoalSummary().IsValid());
    EXPECT_EQ(GoalText(profile.GoalSummary(), 1), incomplete);
}

TEST_F(GoalTest, MetricChangeBelowOnePoundKeepsItsFraction) {
    SetGoal(150.6, 150, 10);
    EXPECT_FLOAT_EQ(GoalChangeForDisplay(profile.GoalSummary(), 1), 0.3f);
    // Whole pounds are converted as a weight reads them: 10.5 lb shows as 10 lb in kg.
    SetGoal(160.5, 150, 10);
    EXPECT_FLOAT_EQ(GoalChangeForDisplay(profile.GoalSummary(), 1), 4.5f);
    EXPECT_FLOAT_EQ(GoalChangeForDisplay(profile.GoalSummary(), 0), 10.5f);
}

class JournalEnergyTest : public testing::Test {
protected:
    void SetUp() override {
        CClock::SetFixedDate(CClock::ParseIsoDate("2024-03-15"));
        journal.Clear();
        CUserProfile& profile = journal.Profile();
        profile.SetSex(0);
        profile.SetHeightCentimetres(180);
        profile.SetAge(30);
        profile.SetStartingWeight(200, false);
        profile.SetGoalWeight(156, false);
        profile.SetStartingDate(CJournalDate(1, 1, 2024));
        profile.SetGoalDate(DaysAfter(CJournalDate(1, 1, 2024), 239));
    }
    void TearDown() override { CClock::SetFixedDate(std::nullopt); }

    CDayRecord& AddDayWithWeight(const CJournalDate& date, double pounds) {
        journal.GoToDate(date);
        CDayRecord* day = journal.CurrentDay(true);
        day->SetWeight(pounds, false, journal.Profile());
        return *day;
    }

    CJournalDB journal;
};

TEST_F(JournalEnergyTest, CurrentDayBmrFollowsTheDayOrTheLatestWeight) {
    // No days: the profile's starting weight at the default level (2).
    SBmrResult bmr = CurrentDayBMR(journal);
    EXPECT_TRUE(bmr.ok);
    EXPECT_EQ(bmr.calories, ComputeBMR(journal.Profile(), 2, Pounds(200)).calories);

    // A recorded day: its stored BMR.
    CDayRecord& day = AddDayWithWeight(CJournalDate(10, 3, 2024), 176.4);
    day.SetActivityLevel(5);
    day.SetBMR(1500);
    bmr = CurrentDayBMR(journal);
    EXPECT_TRUE(bmr.ok);
    EXPECT_EQ(bmr.calories, 1500);

    // A later day without a record: the latest earlier weight at the default level.
    journal.GoToDate(CJournalDate(12, 3, 2024));
    ASSERT_FALSE(journal.CurrentDayExists());
    bmr = CurrentDayBMR(journal);
    EXPECT_TRUE(bmr.ok);
    EXPECT_EQ(bmr.calories, 2229);

    journal.Profile().SetAge(-1);
    bmr = CurrentDayBMR(journal);
    EXPECT_FALSE(bmr.ok);
    EXPECT_EQ(bmr.calories, 0);
}

TEST_F(JournalEnergyTest, FoodBudgetIsBmrPlusExerciseMinusGoal) {
    AddDayWithWeight(CJournalDate(15, 3, 2024), 176.4); // level 2: BMR 2229
    CExerciseEntry run;
    run.SetName("Running");
    run.SetCalories(300);
    journal.CurrentDay()->Exercises().Add(run, journal.IdGenerator());

    const std::optional<int32_t> budget = FoodBudget(journal);
    ASSERT_TRUE(budget);
    EXPECT_EQ(*budget, 2229 + 300 - 644);
    EXPECT_EQ(FoodBudgetText(*budget), "1885 cal");
    EXPECT_EQ(FoodBudgetText(-12), "-12 cal");
}

TEST_F(JournalEnergyTest, FoodBudgetNeedsWeightPersonalDataAndGoal) {
    // The summary is worked out by the budget itself, on a copy: showing a budget writes
    // nothing into the profile.
    const CJournalDB before = journal;
    EXPECT_TRUE(FoodBudget(journal));
    EXPECT_FALSE(journal.Profile().GoalSummary().IsValid());
    EXPECT_EQ(PackUserProfile(journal.Profile()), PackUserProfile(before.Profile()));

    CJournalDB noWeight = journal;
    noWeight.Profile().SetStartingWeight(CWeightValue());
    EXPECT_FALSE(FoodBudget(noWeight));

    CJournalDB noHeight = journal;
    noHeight.Profile().SetHeight(CHeightValue());
    EXPECT_FALSE(FoodBudget(noHeight));

    CJournalDB noGoal = journal;
    noGoal.Profile().SetGoalDate(CJournalDate(1, 1, 2024));
    EXPECT_FALSE(FoodBudget(noGoal));
    EXPECT_FALSE(noGoal.Profile().GoalSummary().IsValid());
}
