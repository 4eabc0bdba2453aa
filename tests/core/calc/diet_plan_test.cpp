// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/diet_plan.h"
#include "core/clock.h"
#include "core/internal_error.h"
#include "core/journal/journal_db.h"
#include "core/journal/user_profile.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <ostream>

using namespace fitquill;

namespace {

struct SPlanCase {
    int code;
    const char* name;
    const char* label;
    int carbohydrate;
    int protein;
    int fat;
};

void PrintTo(const SPlanCase& c, std::ostream* os) {
    *os << "plan " << c.code;
}

const SPlanCase kPlanCases[] = {
    {0, "Low Calories", "Low Calorie", 60, 10, 30},
    {1, "Low Carbohydrates", "Low Carbohydrate", 10, 45, 45},
    {2, "Low Fat", "Low Fat", 40, 55, 5},
    {3, "Custom Diet Plan", "Custom Diet Plan", 60, 10, 30},
};

// A profile on a plan, or with custom percentages when the plan is 3.
CUserProfile OnPlan(int plan, std::array<int, 3> custom = {60, 10, 30}) {
    CUserProfile profile;
    profile.SetDietPlan(plan);
    if (plan == kDietPlanCustom)
        profile.SetPercentages(custom[0], custom[1], custom[2]);
    return profile;
}

std::array<std::optional<float>, 6> Targets(const CUserProfile& profile,
                                            std::optional<int32_t> allowance) {
    std::array<std::optional<float>, 6> targets;
    for (int i = 0; i < 6; ++i)
        targets[i] = NutrientTarget(profile, i, allowance);
    return targets;
}

} // namespace

class DietPlanTableTest : public testing::TestWithParam<SPlanCase> {};

TEST_P(DietPlanTableTest, NamesAndPercentagesAgreeWithWhatTheProfileStores) {
    const SPlanCase& c = GetParam();
    const SDietPlanInfo* info = DietPlanInfo(c.code);
    ASSERT_NE(info, nullptr);
    EXPECT_STREQ(info->name, c.name);
    EXPECT_STREQ(info->label, c.label);
    CUserProfile profile = OnPlan(c.code == 0 ? 1 : 0); // start from another plan
    ASSERT_TRUE(profile.SetDietPlan(c.code));
    EXPECT_EQ(profile.CarbohydratePercent(), c.carbohydrate);
    EXPECT_EQ(profile.ProteinPercent(), c.protein);
    EXPECT_EQ(profile.FatPercent(), c.fat);
    EXPECT_EQ(info->carbohydrate + info->protein + info->fat, 100);
    EXPECT_EQ(info->carbohydrate, c.carbohydrate);
}

INSTANTIATE_TEST_SUITE_P(Plans, DietPlanTableTest, testing::ValuesIn(kPlanCases));

TEST(DietPlanTable, UnknownCodesHaveNoPlan) {
    EXPECT_EQ(DietPlanInfo(-1), nullptr);
    EXPECT_EQ(DietPlanInfo(4), nullptr);
    CUserProfile profile;
    EXPECT_FALSE(profile.SetDietPlan(4));
    EXPECT_EQ(profile.DietPlan(), 0);
}

TEST(DietPlanSetters, PercentagesMustStayBelow100AndTotal100) {
    CUserProfile profile = OnPlan(kDietPlanCustom);
    profile.ClearChangeBits();
    EXPECT_TRUE(profile.SetPercentages(50, 30, 20));
    EXPECT_EQ(profile.ChangeBits(), CUserProfile::kChangeDietPlan);
    const std::array<int, 3> refused[] = {{50, 30, 30}, {100, 0, 0}, {-10, 60, 50}, {40, 30, 20}};
    for (const auto& p : refused) {
        EXPECT_FALSE(profile.SetPercentages(p[0], p[1], p[2])) << p[0] << "/" << p[1];
        EXPECT_EQ(profile.CarbohydratePercent(), 50);
        EXPECT_EQ(profile.ProteinPercent(), 30);
        EXPECT_EQ(profile.FatPercent(), 20);
    }
    EXPECT_FALSE(PercentagesTotal100(40, 30, 20));
    EXPECT_TRUE(PercentagesTotal100(40, 30, 30));
    EXPECT_STREQ(kPercentagesTotalText, "The percentages must total 100 percent.");
}

TEST(DietPlanSetters, ForceWritesWithoutChangeBits) {
    CUserProfile profile;
    profile.SetDietPlan(2, true);
    EXPECT_EQ(profile.FatPercent(), 5);
    EXPECT_EQ(profile.ChangeBits(), 0);
    profile.SetDietPlan(2); // unchanged: nothing happens
    EXPECT_EQ(profile.ChangeBits(), 0);
    profile.SetDietPlan(kDietPlanCustom);
    EXPECT_EQ(profile.CarbohydratePercent(), 60);
    EXPECT_EQ(profile.FatPercent(), 30);
    EXPECT_EQ(profile.ChangeBits(), CUserProfile::kChangeDietPlan);
}

TEST(DietPlanSetters, ChoosingAPlanWipesOwnTargets) {
    CUserProfile profile;
    SwitchToOwnTargets(profile, 2000);
    profile.SetOwnTarget(kNutrientFiber, 30);
    profile.SetDietPlan(1);
    EXPECT_TRUE(profile.IsTargetModeAutomatic());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(profile.OwnTarget(i), 0.0f) << i;
}

TEST(DietPlanSetters, OwnTargetsOnlyForGramsAndOnlyWhenNotAutomatic) {
    CUserProfile profile;
    try {
        profile.SetOwnTarget(kNutrientFat, 50);
        FAIL() << "an own target was set while automatic";
    } catch (const CInternalError& e) {
        EXPECT_EQ(e.Code(), kInternalErrorFoodDb);
    }
    profile.SetTargetMode(0);
    EXPECT_THROW(profile.SetOwnTarget(kNutrientCalories, 1800), CInternalError);
    EXPECT_THROW(profile.SetOwnTarget(6, 1), CInternalError);
    profile.ClearChangeBits();
    profile.SetOwnTarget(kNutrientFat, 50, true);
    EXPECT_EQ(profile.ChangeBits(), 0);
    profile.SetOwnTarget(kNutrientFat, 51);
    EXPECT_EQ(profile.ChangeBits(), CUserProfile::kChangeTargets);
}

struct STargetCase {
    int plan;
    std::array<int, 3> custom;
    int32_t allowance;
    std::array<float, 6> expected;
};

void PrintTo(const STargetCase& c, std::ostream* os) {
    *os << "plan " << c.plan << " at " << c.allowance << " cal";
}

class AutomaticTargetTest : public testing::TestWithParam<STargetCase> {};

TEST_P(AutomaticTargetTest, FollowThePlanRoundedAsShown) {
    const STargetCase& c = GetParam();
    const auto targets = Targets(OnPlan(c.plan, c.custom), c.allowance);
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(targets[i]) << i;
        EXPECT_FLOAT_EQ(*targets[i], c.expected[i]) << "target " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AutomaticTargetTest,
    testing::Values(
        STargetCase{0, {}, 2000, {2000, 300.0f, 50.0f, 25.0f, 66.7f, 22.2f}},
        STargetCase{1, {}, 2000, {2000, 50.0f, 225.0f, 25.0f, 100.0f, 33.3f}},
        STargetCase{2, {}, 2000, {2000, 200.0f, 275.0f, 25.0f, 11.1f, 3.7f}},
        // 225.149994 (a float) rounds up from .49 of a tenth.
        STargetCase{0, {}, 1501, {1501, 225.2f, 37.5f, 25.0f, 50.0f, 16.7f}},
        // The allowance can be negative: rounded by magnitude, sign kept.
        STargetCase{0, {}, -1501, {-1501, -225.2f, -37.5f, 25.0f, -50.0f, -16.7f}},
        STargetCase{0, {}, -1, {-1, -0.2f, 0.0f, 25.0f, 0.0f, 0.0f}},
        // Shown numbers stop at 10000.
        STargetCase{0, {}, 20000, {10000, 3000.0f, 500.0f, 25.0f, 666.7f, 222.2f}},
        // The single-precision third gives 2051.249 and so 2051.3 (an exact third: 2051.2).
        STargetCase{3, {40, 39, 21}, 263732, {10000, 10000, 10000, 25.0f, 6153.7f, 2051.3f}}));

TEST(NutrientTarget, AutomaticModeNeedsTheAllowanceForEveryTarget) {
    const auto targets = Targets(CUserProfile(), std::nullopt);
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(targets[i]) << i;
}

TEST(NutrientTarget, OwnTargetsStartFromTheComputedOnes) {
    CUserProfile profile;
    SwitchToOwnTargets(profile, 2000);
    EXPECT_FALSE(profile.IsTargetModeAutomatic());
    EXPECT_FLOAT_EQ(profile.OwnTarget(kNutrientFat), 66.7f);
    EXPECT_FLOAT_EQ(profile.OwnTarget(kNutrientFiber), 25.0f);

    profile.SetOwnTarget(kNutrientFiber, 30);
    profile.SetOwnTarget(kNutrientProtein, 12.34f);
    EXPECT_EQ(NutrientTarget(profile, kNutrientFiber, 2400), 30.0f);
    EXPECT_FLOAT_EQ(*NutrientTarget(profile, kNutrientProtein, 2400), 12.3f);
    EXPECT_FLOAT_EQ(*NutrientTarget(profile, kNutrientCarbohydrate, 2400), 300.0f);
    // Calories still follow the allowance and need it.
    EXPECT_EQ(NutrientTarget(profile, kNutrientCalories, 2400), 2400.0f);
    EXPECT_EQ(NutrientTarget(profile, kNutrientCalories, std::nullopt), std::nullopt);
    EXPECT_EQ(NutrientTarget(profile, kNutrientFiber, std::nullopt), 30.0f);

    // Already on own targets: nothing is overwritten.
    SwitchToOwnTargets(profile, 1000);
    EXPECT_EQ(profile.OwnTarget(kNutrientFiber), 30.0f);
}

TEST(NutrientTarget, IndexOutsideTheTargetsIsAnInternalError) {
    for (int index : {-1, 6, 33}) {
        try {
            NutrientTarget(CUserProfile(), index, 2000);
            FAIL() << "index " << index << " was accepted";
        } catch (const CInternalError& e) {
            EXPECT_EQ(e.Code(), kInternalErrorFoodDb);
        }
    }
}

TEST(AllNutrientTargets, CaloriesWholeAndGramsInIndexOrder) {
    const SNutrientTargets all = AllNutrientTargets(OnPlan(1), 2000);
    EXPECT_EQ(all.calories, 2000);
    const float grams[5] = {50.0f, 225.0f, 25.0f, 100.0f, 33.3f};
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(all.grams[i]);
        EXPECT_FLOAT_EQ(*all.grams[i], grams[i]);
    }
}

class DietPlanJournalTest : public testing::Test {
protected:
    void SetUp() override {
        CClock::SetFixedDate(CClock::ParseIsoDate("2024-03-15"));
        m_journal.GoToDate(CJournalDate(10, 3, 2024));
    }
    void TearDown() override { CClock::SetFixedDate(std::nullopt); }

    // A record on the current day with a typed BMR and one exercise.
    void AddDayWithBMR(int bmr, int exerciseCalories) {
        CUserProfile& profile = m_journal.Profile();
        profile.SetAge(30);
        profile.SetHeightCentimetres(180);
        ASSERT_TRUE(m_journal.AddDay());
        CDayRecord* day = m_journal.CurrentDay();
        ASSERT_NE(day, nullptr);
        ASSERT_TRUE(day->SetBMR(bmr));
        CExerciseEntry entry;
        entry.SetCalories(exerciseCalories);
        entry.SetMinutes(30);
        day->Exercises().Add(entry, m_journal.IdGenerator());
    }

    CJournalDB m_journal;
};

TEST_F(DietPlanJournalTest, AllowanceIsBmrPlusExerciseMinusStoredGoal) {
    EXPECT_EQ(CalorieAllowance(m_journal), std::nullopt); // no record
    AddDayWithBMR(2000, 300);
    EXPECT_EQ(CalorieAllowance(m_journal), 2300);
    // The stored daily calories count even when the summary is not valid.
    CGoalSummary summary;
    summary.SetRaw(0, 10.0f, 70, 500);
    m_journal.Profile().SetGoalSummary(summary);
    EXPECT_EQ(CalorieAllowance(m_journal), 1800);
    EXPECT_EQ(NutrientTarget(m_journal, kNutrientCarbohydrate), 270.0f);

    summary.SetRaw(1, 0.0f, 1, INT32_MIN); // a damaged record must not overflow
    m_journal.Profile().SetGoalSummary(summary);
    EXPECT_EQ(CalorieAllowance(m_journal), INT32_MAX);
    EXPECT_EQ(NutrientTarget(m_journal, kNutrientCalories), 10000.0f);
}

TEST_F(DietPlanJournalTest, WithoutBmrOrRecordOnlyOwnGramTargetsRemain) {
    AddDayWithBMR(2000, 0);
    m_journal.Profile().SetAge(-1); // the current day's BMR now fails
    EXPECT_EQ(CalorieAllowance(m_journal), std::nullopt);
    EXPECT_FALSE(AllNutrientTargets(m_journal).grams[2]);

    m_journal.Profile().SetAge(30);
    SwitchToOwnTargets(m_journal);
    EXPECT_FLOAT_EQ(m_journal.Profile().OwnTarget(kNutrientCarbohydrate), 300.0f);
    m_journal.NextDay(); // no record there
    const SNutrientTargets all = AllNutrientTargets(m_journal);
    EXPECT_FALSE(all.calories);
    EXPECT_EQ(all.grams[0], 300.0f);
}

TEST(PercentOfCalories, OneDecimalAndZeroWithoutCalories) {
    const SCaloriePercentTexts p = PercentOfCalories(2000, 250, 75, 50);
    EXPECT_EQ(p.carbohydrate, "50.0");
    EXPECT_EQ(p.protein, "15.0");
    EXPECT_EQ(p.fat, "22.5");
    EXPECT_EQ(PercentOfCalories(1200, 100, 0, 13).carbohydrate, "33.3");
    EXPECT_EQ(PercentOfCalories(1200, 100, 0, 13).protein, "0.0");
    EXPECT_EQ(PercentOfCalories(1200, 100, 0, 13).fat, "9.8"); // 9.75
    for (double calories : {0.0, -5.0}) {
        const SCaloriePercentTexts none = PercentOfCalories(calories, 10, 10, 10);
        EXPECT_EQ(none.carbohydrate, "0.0");
        EXPECT_EQ(none.protein, "0.0");
        EXPECT_EQ(none.fat, "0.0");
    }
}

TEST(DietPlanReport, LinesOfThePlanAndItsTargets) {
    CUserProfile profile;
    SDietPlanReport report = DietPlanReport(profile, AllNutrientTargets(profile, 2000));
    EXPECT_EQ(report.plan, "Low Calories");
    EXPECT_EQ(report.percentages, (std::array<std::string, 3>{"60 %", "10 %", "30 %"}));
    EXPECT_EQ(report.calories, "2000");
    EXPECT_EQ(report.grams,
              (std::array<std::string, 5>{"300.0 g", "50.0 g", "25.0 g", "66.7 g", "22.2 g"}));

    profile.SetStoredDietPlan(9); // as a damaged record might carry
    report = DietPlanReport(profile, AllNutrientTargets(profile, std::nullopt));
    EXPECT_EQ(report.plan, "");
    EXPECT_EQ(report.calories, "---");
    EXPECT_EQ(report.grams[4], "---");
}
