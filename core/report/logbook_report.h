// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/report/report_section.h"

#include <string>
#include <vector>

namespace fitquill {

class CJournalDB;
class CUserProfile;
class CWeightValue;

// The logbook's sections in their order; the screen page shows the first five, the printed
// report all seven.
enum ELogbookSection : int {
    kLogbookWeight = 0,
    kLogbookMeals = 1,
    kLogbookBMR = 2,
    kLogbookExercise = 3,
    kLogbookGoals = 4,
    kLogbookBloodPressure = 5,
    kLogbookMeasurements = 6,
};
constexpr int kLogbookSectionCount = 7;
constexpr int kLogbookScreenSectionCount = 5;

inline constexpr const char* kDailyWeightMissingText = "Please input daily weight.";
inline constexpr const char* kBudgetNeedsWeightText = "(Weight required for BMR).";

// The logbook of the journal's current day. Recomputes the profile's goal summary (as the
// food budget does) and refreshes the day's record (its BMR follows the profile); the
// journal's position does not move.
std::vector<SReportSection> LogbookSections(const CJournalDB& journal);

// The diet plan report's three sections: personal information, weight goals, diet plan with
// the current day's targets.
std::vector<SReportSection> DietPlanSections(CJournalDB& journal);

// A body weight as the logbook and the diet plan show it: "%1.1f kg" in metric, "%1.0f lbs"
// otherwise; empty when unset.
std::string WeightText(const CWeightValue& weight, bool metric);
// "%d cm" in metric, "%dft %din" otherwise; empty when unset.
std::string HeightText(const CUserProfile& profile);

} // namespace fitquill
