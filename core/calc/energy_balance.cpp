// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/energy_balance.h"

#include "core/journal/journal_db.h"
#include "core/journal/user_profile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace fitquill {
namespace {

// Single-precision factors: their exact values decide the whole-number results at the
// boundaries (1000 x 1.3f gives 1299).
constexpr float kMaleFactors[] = {1.0f, 1.2f, 1.3f, 1.6f};
constexpr float kFemaleFactors[] = {1.0f, 1.2f, 1.3f, 1.4f};

constexpr double kCaloriesPerPound = 3500.0;
constexpr double kPoundsToKilograms = 0.453597;

const char* const kActivityLevelNames[] = {"None : Bed", "Light : Sitting", "Moderate : Standing",
                                           "Heavy : Walking - Lifting",
                                           "Other : Manual Input of BMR"};

const char* const kLoseText = "To lose %1.1f %s in %ld days, you will need to eat %ld fewer "
                              "calories per day than your body burns.";
const char* const kGainText = "To gain %1.1f %s in %ld days, you will need to eat %ld more "
                              "calories per day than your body burns.";
const char* const kLoseWholeText = "To lose %1.0f %s in %ld days, you will need to eat %ld fewer "
                                   "calories per day than your body burns.";
const char* const kGainWholeText = "To gain %1.0f %s in %ld days, you will need to eat %ld more "
                                   "calories per day than your body burns.";
const char* const kIncompleteGoalText =
    "After inputting your personal information and goals, the calorie calculator will "
    "automatically display the calories you need to remove from your diet each day.";

} // namespace

const char* ActivityLevelName(int level) {
    if (level < kActivityLevelBed || level > kActivityLevelManual)
        return "---";
    return kActivityLevelNames[level - 1];
}

SBmrResult ComputeBMR(const CUserProfile& profile, int activityLevel, const CWeightValue& weight) {
    if (activityLevel == kActivityLevelManual)
        return {0, false};
    const std::optional<double> kilograms = weight.Get(true);
    const std::optional<int> centimetres = profile.Height().GetCentimetres();
    const int age = profile.Age();
    if (!kilograms || !centimetres || age < 0)
        return {0, false};
    if (activityLevel < kActivityLevelBed || activityLevel > kActivityLevelHeavy)
        return {0, true};

    const double w = *kilograms;
    const double h = *centimetres;
    const double a = age;
    const bool female = profile.Sex() == 1;
    double x = female ? 9.6 * w + 1.8 * h + 655.0 - 4.7 * a : 13.7 * w + 5.0 * h + 66.0 - 6.8 * a;
    const float factor = (female ? kFemaleFactors : kMaleFactors)[activityLevel - 1];
    x *= static_cast<double>(factor);
    // Cut towards zero; the range keeps a damaged profile from overflowing the 16 bits.
    x = std::trunc(x);
    if (x > 32767.0)
        x = 32767.0;
    if (x < -32768.0)
        x = -32768.0;
    return {static_cast<int16_t>(x), true};
}

SBmrResult CurrentDayBMR(const CJournalDB& journal) {
    const CUserProfile& profile = journal.Profile();
    if (!profile.Height().IsSet() || profile.Age() < 0)
        return {0, false};
    if (journal.DayCount() == 0)
        return ComputeBMR(profile, profile.DefaultActivityLevel(), profile.StartingWeight());
    if (const CDayRecord* day = journal.CurrentRecord()) {
        // The value the day's refresh would store, worked out without storing it: a profile
        // edited since the day was last refreshed shows at once, and only edits write.
        const int level = day->ActivityLevel();
        if (level != kActivityLevelNone && level != kActivityLevelManual) {
            const SBmrResult bmr = ComputeBMR(profile, level, day->Weight());
            if (bmr.ok && bmr.calories >= CDayRecord::kMinBMR)
                return {static_cast<int16_t>(std::min<int>(bmr.calories, CDayRecord::kMaxBMR)),
                        true};
        }
        return {day->BMR(), true};
    }
    SBmrResult result{0, true};
    if (const auto latest = journal.LatestWeight()) {
        const SBmrResult bmr = ComputeBMR(profile, profile.DefaultActivityLevel(), latest->weight);
        if (bmr.ok)
            result.calories = bmr.calories;
    }
    return result;
}

void ComputeGoalSummary(CUserProfile& profile) {
    CGoalSummary summary = profile.GoalSummary();
    summary.Invalidate();
    const std::optional<double> start = profile.StartingWeight().Get(false);
    const std::optional<double> goal = profile.GoalWeight().Get(false);
    const int32_t days = profile.GoalDate().DayNumber() - profile.StartingDate().DayNumber();
    if (start && goal && days > 0) {
        const float change = static_cast<float>(*start) - static_cast<float>(*goal);
        double daily = static_cast<double>(change) * kCaloriesPerPound / days;
        // A weight from a damaged record can be anything; the cut must stay within 32 bits.
        if (!std::isfinite(daily))
            daily = 0.0;
        daily = std::clamp(daily, -2147483648.0, 2147483647.0);
        summary.Set(change, days, static_cast<int32_t>(daily));
    }
    profile.SetGoalSummary(summary);
}

float GoalChangeForDisplay(const CGoalSummary& summary, int unitChoice) {
    const float change = summary.WeightChange();
    if (unitChoice != 1)
        return change;
    const double pounds = std::trunc(std::fabs(static_cast<double>(change)));
    double kilograms = 0.0;
    if (pounds >= 1.0) {
        kilograms = *CWeightValue::FromPounds(static_cast<float>(pounds)).Get(true);
    } else {
        // Whole pounds would make a change under a pound vanish; show its own fraction.
        kilograms = RoundByTextRule(std::fabs(static_cast<double>(change)) * kPoundsToKilograms, 1);
    }
    return static_cast<float>(change < 0.0f ? -kilograms : kilograms);
}

std::string GoalText(const CGoalSummary& summary, int unitChoice, bool personalInfoPage) {
    if (!summary.IsValid())
        return kIncompleteGoalText;
    const bool metric = unitChoice == 1;
    const bool whole = personalInfoPage && !metric;
    const double change = GoalChangeForDisplay(summary, unitChoice);
    const char* unit = metric ? "kg" : "lbs";
    const long days = summary.Days();
    const long calories = summary.DailyCalories();
    char text[256];
    if (change >= 0.0)
        std::snprintf(text, sizeof text, whole ? kLoseWholeText : kLoseText, change, unit, days,
                      calories);
    else
        std::snprintf(text, sizeof text, whole ? kGainWholeText : kGainText, -change, unit, days,
                      -calories);
    return text;
}

std::optional<int32_t> FoodBudget(const CJournalDB& journal) {
    // Worked out on a copy: showing a budget must not write into the profile.
    CUserProfile profile = journal.Profile();
    ComputeGoalSummary(profile);
    if (!journal.LatestWeight() || profile.Age() < 0 || !profile.Height().IsSet() ||
        !profile.GoalSummary().IsValid())
        return std::nullopt;
    const SBmrResult bmr = CurrentDayBMR(journal);
    int32_t exercise = 0;
    if (const CDayRecord* day = journal.CurrentRecord())
        exercise = day->Exercises().Totals().calories;
    return (bmr.ok ? bmr.calories : 0) + exercise - profile.GoalSummary().DailyCalories();
}

std::string FoodBudgetText(int32_t budget) {
    char text[32];
    std::snprintf(text, sizeof text, "%d cal", static_cast<int>(budget));
    return text;
}

} // namespace fitquill
