// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace fitquill {

class CJournalDB;
class CUserProfile;

// The diet plans. The profile's setters (CUserProfile::SetDietPlan, SetPercentages,
// SetTargetMode, SetOwnTarget) store the choice; this file says what a plan means.
struct SDietPlanInfo {
    const char* name;  // on the diet-plan page and the report
    const char* label; // on the plan choice
    int16_t carbohydrate;
    int16_t protein;
    int16_t fat;
};
constexpr int kDietPlanCustom = 3;
// nullptr for a code outside 0-3 (a stored record may carry one).
const SDietPlanInfo* DietPlanInfo(int plan);

constexpr double kCaloriesPerGramCarbohydrate = 4.0;
constexpr double kCaloriesPerGramProtein = 4.0;
constexpr double kCaloriesPerGramFat = 9.0;
constexpr float kFiberTarget = 25.0f;

// The custom-plan page checks the sum before it stores anything.
inline constexpr const char* kPercentagesTotalText = "The percentages must total 100 percent.";
inline constexpr const char* kCustomDietCaption = "Custom Diet";
bool PercentagesTotal100(int carbohydrate, int protein, int fat);

// The day's calorie allowance: the current day's BMR + its exercise calories - the daily
// calories of the profile's stored goal summary, valid or not. nullopt when the current day
// has no record or its BMR cannot be had.
std::optional<int32_t> CalorieAllowance(const CJournalDB& journal);

// The target for nutrient index 0-5 (calories, carbohydrate, protein, fiber, fat, saturated
// fat), rounded as it is shown: whole calories, grams to one decimal. In automatic mode every
// target follows the plan's percentages and needs the allowance; with own targets only the
// calorie target does (calories are never typed). nullopt when the allowance is needed and
// missing. An index outside 0-5 raises internal error 1000.
std::optional<float> NutrientTarget(const CUserProfile& profile, int index,
                                    std::optional<int32_t> allowance);
std::optional<float> NutrientTarget(const CJournalDB& journal, int index);

struct SNutrientTargets {
    std::optional<int32_t> calories;
    std::array<std::optional<float>, 5> grams; // carbohydrate, protein, fiber, fat, sat. fat
};
SNutrientTargets AllNutrientTargets(const CUserProfile& profile, std::optional<int32_t> allowance);
SNutrientTargets AllNutrientTargets(const CJournalDB& journal);

// Switches the profile to the user's own targets, starting from the computed gram targets
// so that the numbers shown do not jump. Does nothing when the targets are not automatic.
void SwitchToOwnTargets(CUserProfile& profile, std::optional<int32_t> allowance);
void SwitchToOwnTargets(CJournalDB& journal);

// The share of a day's calories from each nutrient, one decimal ("0.0" when the calories
// are not above 0).
struct SCaloriePercentTexts {
    std::string carbohydrate;
    std::string protein;
    std::string fat;
};
SCaloriePercentTexts PercentOfCalories(double calories, double carbohydrateGrams,
                                       double proteinGrams, double fatGrams);

// The diet-plan lines of the logbook page and the printed report. Targets that cannot be had
// show "---".
struct SDietPlanReport {
    std::string plan;                       // the plan's name; empty for an unknown code
    std::array<std::string, 3> percentages; // "%d %%"
    std::string calories;                   // "%1.0f"
    std::array<std::string, 5> grams;       // "%1.1f g"
};
SDietPlanReport DietPlanReport(const CUserProfile& profile, const SNutrientTargets& targets);

} // namespace fitquill
