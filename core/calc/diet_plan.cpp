// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/diet_plan.h"

#include "core/calc/energy_balance.h"
#include "core/calc/units.h"
#include "core/food/nutrient.h"
#include "core/internal_error.h"
#include "core/journal/journal_db.h"
#include "core/journal/user_profile.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <limits>

namespace fitquill {
namespace {

constexpr SDietPlanInfo kPlans[] = {
    {"Low Calories", "Low Calorie", 60, 10, 30},
    {"Low Carbohydrates", "Low Carbohydrate", 10, 45, 45},
    {"Low Fat", "Low Fat", 40, 55, 5},
    {"Custom Diet Plan", "Custom Diet Plan", 60, 10, 30},
};

// The factors the handheld multiplies by; the third is the single-precision one, which
// decides some tenths.
constexpr double kPercent = 0.01;
constexpr double kPerGramCarbohydrateOrProtein = 0.25;
constexpr double kPerGramFat = 0.1111111111111111;
constexpr double kSaturatedShare = 0.3333333432674408;

constexpr const char* kUnavailable = "---";

// The number-to-text rule is defined for values of 0 and more; a negative allowance keeps
// its sign around the rounding.
float RoundAsShown(float value, int decimals) {
    const double rounded = RoundByTextRule(std::fabs(value), decimals);
    return static_cast<float>(value < 0.0f ? -rounded : rounded);
}

float AutomaticTarget(const CUserProfile& profile, int index, int32_t allowance) {
    const double e = allowance;
    switch (index) {
    case kNutrientCalories:
        return static_cast<float>(e);
    case kNutrientCarbohydrate:
        return static_cast<float>(profile.CarbohydratePercent() * kPercent * e *
                                  kPerGramCarbohydrateOrProtein);
    case kNutrientProtein:
        return static_cast<float>(profile.ProteinPercent() * kPercent * e *
                                  kPerGramCarbohydrateOrProtein);
    case kNutrientFiber:
        return kFiberTarget;
    case kNutrientFat:
        return static_cast<float>(profile.FatPercent() * kPercent * e * kPerGramFat);
    default:
        return static_cast<float>(profile.FatPercent() * kPercent * e * kPerGramFat *
                                  kSaturatedShare);
    }
}

std::string Format(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

std::string PercentText(double grams, double caloriesPerGram, double calories) {
    if (!(calories > 0.0))
        return "0.0";
    const double percent = grams * caloriesPerGram * 100.0 / calories;
    return NumberToText(percent, 1, true);
}

} // namespace

const SDietPlanInfo* DietPlanInfo(int plan) {
    return plan >= 0 && plan < static_cast<int>(std::size(kPlans)) ? &kPlans[plan] : nullptr;
}

bool PercentagesTotal100(int carbohydrate, int protein, int fat) {
    return carbohydrate + protein + fat == 100;
}

std::optional<int32_t> CalorieAllowance(const CJournalDB& journal) {
    const SBmrResult bmr = CurrentDayBMR(journal);
    const CDayRecord* day = journal.CurrentRecord();
    if (!bmr.ok || day == nullptr)
        return std::nullopt;
    // A stored summary may hold any 32-bit value; widen so the difference cannot overflow.
    const int64_t allowance = int64_t{bmr.calories} + day->Exercises().Totals().calories -
                              int64_t{journal.Profile().GoalSummary().DailyCalories()};
    return static_cast<int32_t>(std::clamp<int64_t>(allowance, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

std::optional<float> NutrientTarget(const CUserProfile& profile, int index,
                                    std::optional<int32_t> allowance) {
    if (index < 0 || index >= CUserProfile::kTargetCount)
        RaiseInternalError(kInternalErrorFoodDb, "nutrient target index out of range");
    float value;
    if (profile.IsTargetModeAutomatic() || index == kNutrientCalories) {
        if (!allowance)
            return std::nullopt;
        value = AutomaticTarget(profile, index, *allowance);
    } else {
        value = profile.OwnTarget(index);
    }
    return RoundAsShown(value, index == kNutrientCalories ? 0 : 1);
}

std::optional<float> NutrientTarget(const CJournalDB& journal, int index) {
    return NutrientTarget(journal.Profile(), index, CalorieAllowance(journal));
}

SNutrientTargets AllNutrientTargets(const CUserProfile& profile, std::optional<int32_t> allowance) {
    SNutrientTargets targets;
    if (const auto calories = NutrientTarget(profile, kNutrientCalories, allowance))
        targets.calories = static_cast<int32_t>(*calories);
    for (int index = 1; index < CUserProfile::kTargetCount; ++index)
        targets.grams[index - 1] = NutrientTarget(profile, index, allowance);
    return targets;
}

SNutrientTargets AllNutrientTargets(const CJournalDB& journal) {
    return AllNutrientTargets(journal.Profile(), CalorieAllowance(journal));
}

void SwitchToOwnTargets(CUserProfile& profile, std::optional<int32_t> allowance) {
    if (!profile.IsTargetModeAutomatic())
        return;
    const SNutrientTargets computed = AllNutrientTargets(profile, allowance);
    profile.SetTargetMode(0);
    for (int index = 1; index < CUserProfile::kTargetCount; ++index) {
        if (const auto& grams = computed.grams[index - 1])
            profile.SetOwnTarget(index, *grams);
    }
}

void SwitchToOwnTargets(CJournalDB& journal) {
    SwitchToOwnTargets(journal.Profile(), CalorieAllowance(journal));
}

SCaloriePercentTexts PercentOfCalories(double calories, double carbohydrateGrams,
                                       double proteinGrams, double fatGrams) {
    return {PercentText(carbohydrateGrams, kCaloriesPerGramCarbohydrate, calories),
            PercentText(proteinGrams, kCaloriesPerGramProtein, calories),
            PercentText(fatGrams, kCaloriesPerGramFat, calories)};
}

SDietPlanReport DietPlanReport(const CUserProfile& profile, const SNutrientTargets& targets) {
    SDietPlanReport report;
    if (const SDietPlanInfo* plan = DietPlanInfo(profile.DietPlan()))
        report.plan = plan->name;
    const int16_t percentages[3] = {profile.CarbohydratePercent(), profile.ProteinPercent(),
                                    profile.FatPercent()};
    for (int i = 0; i < 3; ++i) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%d %%", percentages[i]);
        report.percentages[i] = buffer;
    }
    report.calories = targets.calories ? Format("%1.0f", *targets.calories) : kUnavailable;
    for (size_t i = 0; i < targets.grams.size(); ++i)
        report.grams[i] = targets.grams[i] ? Format("%1.1f g", *targets.grams[i]) : kUnavailable;
    return report;
}

} // namespace fitquill
