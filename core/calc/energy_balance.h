// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/units.h"
#include "core/journal/goal_summary.h"

#include <cstdint>
#include <optional>
#include <string>

namespace fitquill {

class CJournalDB;
class CUserProfile;

// Activity levels of a day and of the profile's default.
constexpr int kActivityLevelNone = 0; // not set
constexpr int kActivityLevelBed = 1;
constexpr int kActivityLevelSitting = 2;
constexpr int kActivityLevelStanding = 3;
constexpr int kActivityLevelHeavy = 4;
constexpr int kActivityLevelManual = 5; // the user types the BMR

// The activity level's name, "---" for any other code.
const char* ActivityLevelName(int level);

// A BMR in whole calories per day and whether it could be computed.
struct SBmrResult {
    int16_t calories = 0;
    bool ok = false;
};

// The basal metabolic rate for an activity level and a body weight, from the profile's sex,
// height and age. Level 5 fails (the user types it); levels 0 and above 5 give 0 and succeed;
// an unset weight or height or a negative age fails with 0. The result is cut, not rounded.
SBmrResult ComputeBMR(const CUserProfile& profile, int activityLevel, const CWeightValue& weight);

// The BMR that belongs to the journal's current day: the day's stored BMR when it has a
// record, otherwise the BMR of the latest known weight at the profile's default level.
SBmrResult CurrentDayBMR(const CJournalDB& journal);

// Recomputes the profile's goal summary from its weights and dates; invalid when a weight is
// unset or the goal date is not after the starting date.
void ComputeGoalSummary(CUserProfile& profile);

// The summary's weight change in the user's unit (kilograms to one decimal when metric).
float GoalChangeForDisplay(const CGoalSummary& summary, int unitChoice);

// The daily-calorie-goal sentence. The personal-information page shows whole numbers in
// English units (personalInfoPage); every other view one decimal.
std::string GoalText(const CGoalSummary& summary, int unitChoice, bool personalInfoPage = false);

// BMR + the current day's exercise calories - the daily calorie goal; nullopt when the
// latest weight, the age or height, or a valid goal is missing. Recomputes the goal summary.
std::optional<int32_t> FoodBudget(const CJournalDB& journal);
// "%d cal".
std::string FoodBudgetText(int32_t budget);

} // namespace fitquill
