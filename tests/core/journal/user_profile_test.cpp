// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/user_profile.h"

#include "core/clock.h"
#include "core/internal_error.h"

#include <functional>

#include <gtest/gtest.h>

using namespace fitquill;

namespace {

class UserProfileTest : public testing::Test {
protected:
    void SetUp() override {
        CClock::SetFixedDate(CClock::ParseIsoDate("2024-02-28"));
        profile = CUserProfile();
    }
    void TearDown() override { CClock::SetFixedDate(std::nullopt); }

    CUserProfile profile;
};

// A profile with every personal and goal field set and no change bits.
CUserProfile FilledProfile() {
    CUserProfile p;
    p.SetSecondText("notes");
    p.SetHeightFeetInches(5, 10);
    p.SetAge(44);
    p.SetSex(1);
    p.SetStartingWeight(180, false);
    p.SetGoalWeight(160, false);
    p.SetStartingDate(CJournalDate(1, 1, 2024));
    p.SetGoalDate(CJournalDate(1, 6, 2024));
    p.SetGoalSummary([] {
        CGoalSummary s;
        s.Set(20.0f, 152, 460);
        return s;
    }());
    p.SetDefaultActivityLevel(4);
    p.SetUnitChoice(1);
    p.SetDietPlan(2);
    p.SetTargetMode(0);
    p.SetOwnTarget(3, 30.0f);
    p.ClearChangeBits();
    return p;
}

struct SSetterCase {
    const char* what;
    std::function<bool(CUserProfile&)> set;
    bool accepted;
    uint16_t bits;
    std::function<bool(const CUserProfile&)> check;
};

} // namespace

TEST_F(UserProfileTest, NewProfileHoldsTheDefaults) {
    EXPECT_EQ(profile.Status(), 0);
    EXPECT_EQ(profile.FirstText(), "");
    EXPECT_FALSE(profile.Height().IsSet());
    EXPECT_EQ(profile.Age(), -1);
    EXPECT_EQ(profile.Sex(), 0);
    EXPECT_FALSE(profile.StartingWeight().IsSet());
    EXPECT_FALSE(profile.GoalWeight().IsSet());
    EXPECT_EQ(profile.StartingDate(), CJournalDate(28, 2, 2024));
    EXPECT_EQ(profile.GoalDate(), CJournalDate(29, 2, 2024));
    EXPECT_FALSE(profile.GoalSummary().IsValid());
    EXPECT_EQ(profile.DefaultActivityLevel(), 2);
    EXPECT_EQ(profile.UnitChoice(), 0);
    EXPECT_EQ(profile.ChangeBits(), 0);
    EXPECT_EQ(profile.DietPlan(), 0);
    EXPECT_EQ(profile.CarbohydratePercent(), 60);
    EXPECT_EQ(profile.ProteinPercent(), 10);
    EXPECT_EQ(profile.FatPercent(), 30);
    EXPECT_TRUE(profile.IsTargetModeAutomatic());
    ASSERT_EQ(profile.OwnTargets().size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(profile.OwnTargets()[i].Index(), i);
        EXPECT_EQ(profile.OwnTarget(i), 0.0f);
    }
    EXPECT_FALSE(profile.IsComplete());
}

TEST_F(UserProfileTest, SettersApplyLimitsAndSetTheirChangeBit) {
    const std::vector<SSetterCase> cases = {
        {"age 45", [](CUserProfile& p) { return p.SetAge(45); }, true, 0x4000,
         [](const CUserProfile& p) { return p.Age() == 45; }},
        {"age 100", [](CUserProfile& p) { return p.SetAge(100); }, true, 0x4000,
         [](const CUserProfile& p) { return p.Age() == 100; }},
        {"age 101", [](CUserProfile& p) { return p.SetAge(101); }, false, 0,
         [](const CUserProfile& p) { return p.Age() == -1; }},
        {"age -7 is unset", [](CUserProfile& p) { return p.SetAge(-7); }, true, 0,
         [](const CUserProfile& p) { return p.Age() == -1; }},
        {"sex 1", [](CUserProfile& p) { return p.SetSex(1); }, true, 0x2000,
         [](const CUserProfile& p) { return p.Sex() == 1; }},
        {"sex 2", [](CUserProfile& p) { return p.SetSex(2); }, false, 0,
         [](const CUserProfile& p) { return p.Sex() == 0; }},
        {"sex 0 unchanged", [](CUserProfile& p) { return p.SetSex(0); }, true, 0,
         [](const CUserProfile& p) { return p.Sex() == 0; }},
        {"level 5", [](CUserProfile& p) { return p.SetDefaultActivityLevel(5); }, true, 0x0080,
         [](const CUserProfile& p) { return p.DefaultActivityLevel() == 5; }},
        {"level 0", [](CUserProfile& p) { return p.SetDefaultActivityLevel(0); }, false, 0,
         [](const CUserProfile& p) { return p.DefaultActivityLevel() == 2; }},
        {"level 6", [](CUserProfile& p) { return p.SetDefaultActivityLevel(6); }, false, 0,
         [](const CUserProfile& p) { return p.DefaultActivityLevel() == 2; }},
        {"metric", [](CUserProfile& p) { return p.SetUnitChoice(1); }, true, 0x0040,
         [](const CUserProfile& p) { return p.IsMetric(); }},
        {"unit 2", [](CUserProfile& p) { return p.SetUnitChoice(2); }, false, 0,
         [](const CUserProfile& p) { return p.UnitChoice() == 0; }},
        {"height 5 ft 10 in", [](CUserProfile& p) { return p.SetHeightFeetInches(5, 10); }, true,
         0x8000,
         [](const CUserProfile& p) {
             return p.Height().Inches() == 70.0f && *p.Height().GetCentimetres() == 178;
         }},
        {"height 0 cm", [](CUserProfile& p) { return p.SetHeightCentimetres(0); }, false, 0,
         [](const CUserProfile& p) { return !p.Height().IsSet(); }},
        {"start 80 kg", [](CUserProfile& p) { return p.SetStartingWeight(80, true); }, true, 0x1000,
         [](const CUserProfile& p) {
             return p.StartingWeight().Pounds() == static_cast<float>(80 * 2.2046) &&
                    *p.StartingWeight().Get(true) == 80.0;
         }},
        {"goal 150 lb", [](CUserProfile& p) { return p.SetGoalWeight(150, false); }, true, 0x0400,
         [](const CUserProfile& p) { return p.GoalWeight().Pounds() == 150.0f; }},
        {"goal 0 lb", [](CUserProfile& p) { return p.SetGoalWeight(0, false); }, false, 0,
         [](const CUserProfile& p) { return !p.GoalWeight().IsSet(); }},
        {"starting date",
         [](CUserProfile& p) {
             p.SetStartingDate(CJournalDate(3, 3, 2024));
             return true;
         },
         true, 0x0800,
         [](const CUserProfile& p) { return p.StartingDate() == CJournalDate(3, 3, 2024); }},
        {"same goal date",
         [](CUserProfile& p) {
             p.SetGoalDate(CJournalDate(29, 2, 2024));
             return true;
         },
         true, 0, [](const CUserProfile& p) { return p.GoalDate() == CJournalDate(29, 2, 2024); }},
    };
    for (const SSetterCase& c : cases) {
        CUserProfile p;
        EXPECT_EQ(c.set(p), c.accepted) << c.what;
        EXPECT_EQ(p.ChangeBits(), c.bits) << c.what;
        EXPECT_TRUE(c.check(p)) << c.what;
    }
}

TEST_F(UserProfileTest, RepeatingAValueSetsNoBitButUnsettingDoes) {
    profile.SetStartingWeight(150, false);
    profile.SetHeightCentimetres(170);
    profile.ClearChangeBits();
    EXPECT_TRUE(profile.SetStartingWeight(150, false));
    EXPECT_TRUE(profile.SetHeightCentimetres(170));
    EXPECT_EQ(profile.ChangeBits(), 0);

    EXPECT_FALSE(profile.SetStartingWeight(-3, false));
    EXPECT_FALSE(profile.StartingWeight().IsSet());
    EXPECT_EQ(profile.ChangeBits(), CUserProfile::kChangeStartingWeight);
}

TEST_F(UserProfileTest, TextsAreTrimmedAndCarryNoBits) {
    profile.SetUserName("  Pat Doe ");
    profile.SetSecondText("   ");
    profile.SetFirstText(" x ");
    EXPECT_EQ(profile.UserName(), "Pat Doe");
    EXPECT_EQ(profile.SecondText(), "");
    EXPECT_EQ(profile.FirstText(), "x");
    EXPECT_EQ(profile.ChangeBits(), 0);
}

TEST_F(UserProfileTest, CompleteNeedsStartingWeightHeightAndAge) {
    profile.SetStartingWeight(150, false);
    profile.SetHeightCentimetres(170);
    EXPECT_FALSE(profile.IsComplete());
    profile.SetAge(0);
    EXPECT_TRUE(profile.IsComplete());
    profile.SetHeightCentimetres(-1);
    EXPECT_FALSE(profile.IsComplete());
}

TEST_F(UserProfileTest, PersonalInformationReset) {
    CUserProfile p = FilledProfile();
    p.ResetPersonalInfo();
    EXPECT_EQ(p.SecondText(), "");
    EXPECT_FALSE(p.Height().IsSet());
    EXPECT_EQ(p.Age(), -1);
    EXPECT_EQ(p.Sex(), 0);
    EXPECT_EQ(p.DefaultActivityLevel(), 2);
    EXPECT_EQ(p.ChangeBits(), 0x8000 | 0x4000 | 0x2000 | 0x0080);
    // Goals, units and plan stay.
    EXPECT_EQ(p.StartingWeight().Pounds(), 180.0f);
    EXPECT_TRUE(p.GoalSummary().IsValid());
    EXPECT_TRUE(p.IsMetric());
    EXPECT_EQ(p.DietPlan(), 2);

    // A reset marks its fields even when they already held the defaults.
    CUserProfile fresh;
    fresh.ResetPersonalInfo();
    EXPECT_EQ(fresh.ChangeBits(), 0xE080);
}

TEST_F(UserProfileTest, WeightGoalsReset) {
    CUserProfile p = FilledProfile();
    p.ResetWeightGoals();
    EXPECT_FALSE(p.StartingWeight().IsSet());
    EXPECT_FALSE(p.GoalWeight().IsSet());
    EXPECT_EQ(p.StartingDate(), CJournalDate(28, 2, 2024));
    EXPECT_EQ(p.GoalDate(), CJournalDate(29, 2, 2024));
    EXPECT_FALSE(p.GoalSummary().IsValid());
    EXPECT_EQ(p.ChangeBits(), 0x1F00);
    EXPECT_EQ(p.Age(), 44);
}

TEST_F(UserProfileTest, DietPlanReset) {
    CUserProfile p = FilledProfile();
    p.ResetDietPlan();
    EXPECT_EQ(p.DietPlan(), 0);
    EXPECT_EQ(p.CarbohydratePercent(), 60);
    EXPECT_EQ(p.ProteinPercent(), 10);
    EXPECT_EQ(p.FatPercent(), 30);
    EXPECT_TRUE(p.IsTargetModeAutomatic());
    EXPECT_EQ(p.OwnTarget(3), 0.0f);
    EXPECT_EQ(p.ChangeBits(), 0x0020);
}

TEST_F(UserProfileTest, FullResetSetsEveryBitAndKeepsCarriedFields) {
    CUserProfile p = FilledProfile();
    p.SetStatus(7);
    p.SetFirstText("handheld");
    p.SetUserName("Pat");
    p.ResetAll();
    EXPECT_EQ(p.ChangeBits(), 0xFFF0);
    EXPECT_FALSE(p.Height().IsSet());
    EXPECT_FALSE(p.StartingWeight().IsSet());
    EXPECT_EQ(p.DietPlan(), 0);
    EXPECT_TRUE(p.IsTargetModeAutomatic());
    EXPECT_EQ(p.Status(), 7);
    EXPECT_EQ(p.FirstText(), "handheld");
    EXPECT_EQ(p.UserName(), "Pat");
}

TEST_F(UserProfileTest, DietPlanSetsItsPercentagesAndAutomaticTargets) {
    ASSERT_TRUE(profile.SetTargetMode(0));
    profile.SetOwnTarget(3, 30.0f);
    profile.ClearChangeBits();

    EXPECT_TRUE(profile.SetDietPlan(2));
    EXPECT_EQ(profile.CarbohydratePercent(), 40);
    EXPECT_EQ(profile.ProteinPercent(), 55);
    EXPECT_EQ(profile.FatPercent(), 5);
    EXPECT_TRUE(profile.IsTargetModeAutomatic());
    EXPECT_EQ(profile.OwnTarget(3), 0.0f); // choosing a plan wipes the own targets
    EXPECT_EQ(profile.ChangeBits(), 0x0030);

    EXPECT_TRUE(profile.SetDietPlan(3));
    EXPECT_EQ(profile.CarbohydratePercent(), 60);
    EXPECT_EQ(profile.ProteinPercent(), 10);
    EXPECT_EQ(profile.FatPercent(), 30);

    profile.ClearChangeBits();
    EXPECT_FALSE(profile.SetDietPlan(4));
    EXPECT_EQ(profile.DietPlan(), 3);
    EXPECT_TRUE(profile.SetDietPlan(1, true));
    EXPECT_EQ(profile.ProteinPercent(), 45);
    EXPECT_EQ(profile.ChangeBits(), 0); // forced sets leave the bits alone
}

TEST_F(UserProfileTest, PercentagesMustBeBelow100AndTotal100) {
    const struct {
        int c, p, f;
        bool accepted;
    } rows[] = {{50, 30, 20, true},
                {50, 30, 30, false},
                {100, 0, 0, false},
                {-10, 60, 50, false},
                {34, 33, 33, true}};
    for (const auto& row : rows) {
        CUserProfile p;
        EXPECT_EQ(p.SetPercentages(row.c, row.p, row.f), row.accepted) << row.c << row.p << row.f;
        if (row.accepted) {
            EXPECT_EQ(p.CarbohydratePercent(), row.c);
            EXPECT_EQ(p.ChangeBits(), 0x0020);
        } else {
            EXPECT_EQ(p.CarbohydratePercent(), 60);
            EXPECT_EQ(p.FatPercent(), 30);
            EXPECT_EQ(p.ChangeBits(), 0);
        }
    }
}

TEST_F(UserProfileTest, OwnTargetsOnlyOutsideAutomaticMode) {
    EXPECT_THROW(profile.SetOwnTarget(3, 30.0f), CInternalError);
    ASSERT_TRUE(profile.SetTargetMode(0));
    EXPECT_EQ(profile.ChangeBits(), 0x0010);
    profile.ClearChangeBits();

    profile.SetOwnTarget(3, 30.0f);
    EXPECT_EQ(profile.OwnTarget(3), 30.0f);
    EXPECT_EQ(profile.ChangeBits(), 0x0010);
    profile.ClearChangeBits();
    profile.SetOwnTarget(3, 30.0f);
    profile.SetOwnTarget(4, -2.0f); // clamps to the stored 0
    EXPECT_EQ(profile.ChangeBits(), 0);
    profile.SetOwnTarget(5, 12345.0f);
    EXPECT_FLOAT_EQ(profile.OwnTarget(5), 9999.9f);

    try {
        profile.SetOwnTarget(0, 2000.0f); // calories are never typed
        FAIL() << "no internal error";
    } catch (const CInternalError& e) {
        EXPECT_EQ(e.Code(), kInternalErrorFoodDb);
    }
    EXPECT_THROW(profile.SetOwnTarget(6, 1.0f), CInternalError);

    EXPECT_TRUE(profile.SetTargetMode(1));
    EXPECT_EQ(profile.OwnTarget(3), 0.0f);
    EXPECT_FALSE(profile.SetTargetMode(2));
}

TEST_F(UserProfileTest, StoredTargetsMustBeTheSixBasicIndexes) {
    std::vector<CNutrientValue> targets;
    for (int i = 0; i < 6; ++i)
        targets.emplace_back(i, static_cast<float>(i * 10));
    EXPECT_TRUE(profile.SetStoredTargets(targets));
    EXPECT_EQ(profile.OwnTarget(4), 40.0f);

    std::vector<CNutrientValue> shuffled = targets;
    std::swap(shuffled[1], shuffled[2]);
    EXPECT_FALSE(profile.SetStoredTargets(shuffled));
    targets.pop_back();
    EXPECT_FALSE(profile.SetStoredTargets(targets));
    EXPECT_EQ(profile.OwnTarget(4), 40.0f);
}
