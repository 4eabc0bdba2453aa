// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/nutrient.h"
#include "core/journal/journal_date.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace fitquill {

class CJournalDB;

// The days the Nutrient Details report covers, counted back from the current day.
enum class ENutrientPeriod : int {
    Day = 0,
    Last7Days = 1,
    Last30Days = 2,
    PrintRange = 3,
};
constexpr int kNutrientPeriodCount = 4;
const char* NutrientPeriodName(ENutrientPeriod period);

struct SDateSpan {
    CJournalDate first;
    CJournalDate last;
};
// The print range is taken as given (first and last swapped when reversed).
SDateSpan NutrientPeriodDates(ENutrientPeriod period, const CJournalDate& current,
                              const CJournalDate& printStart, const CJournalDate& printEnd);

// The unit a nutrient is shown in and the factor from its stored unit. Stored values keep the
// nutrient table's unit; cholesterol reads better in mg and selenium and vitamin B12 in mcg.
struct SNutrientDisplayUnit {
    const char* unit;
    double factor;
};
SNutrientDisplayUnit NutrientDisplayUnit(int nutrient);
// A stored amount in the display unit, without the unit: whole numbers from 100 on, one
// decimal from 10, two below; calories always whole.
std::string NutrientAmountText(int nutrient, double storedAmount);

struct SNutrientDetailRow {
    int nutrient = 0;
    std::string name;
    std::string amount;
    std::string unit;
    std::string reference;       // empty when the nutrient has none for the user
    std::string share;           // "%" of the reference, empty without one
    std::string upper;           // the upper limit, empty without one
    double average = 0.0;        // stored unit
    double shareFraction = -1.0; // amount / reference, -1 without a reference
    bool aboveUpper = false;
};

struct SEnergyShare {
    std::string label;
    std::string value; // "52%  (950 Cal)"
    double fraction = 0.0;
};

// Each nutrient of the period as a daily average over the days with food logged, against the
// reference intakes of the profile's age and sex.
struct SNutrientDetails {
    CJournalDate first;
    CJournalDate last;
    int calendarDays = 0;
    int daysWithFood = 0;
    std::array<double, kNutrientCount> totals{}; // the period's sums, stored units
    std::string periodText;
    std::string averageText;
    std::string referenceText;
    std::string sourceText;
    std::vector<SNutrientDetailRow> rows; // all 34, by index
    std::array<SEnergyShare, 3> energy;   // carbohydrate, protein, fat
};

constexpr int kNutrientDetailColumnCount = 6;
extern const std::array<const char*, kNutrientDetailColumnCount> kNutrientDetailHeadings;
constexpr const char* kNutrientDetailsTitle = "Nutrient Details";
constexpr const char* kEnergySplitHeading = "Energy from Carbohydrate, Protein and Fat";
constexpr const char* kTopFoodsHeading = "Top Foods";

// Reads the day records dated first..last; the journal's position does not move.
SNutrientDetails NutrientDetails(const CJournalDB& journal, const CJournalDate& first,
                                 const CJournalDate& last);

// The foods of the period that gave the most of a nutrient (entries of equal name together),
// most first; the amount is the period's total.
struct STopFood {
    std::string name;
    double amount = 0.0; // stored unit
    std::string amountText;
    std::string shareText; // share of the period's total of the nutrient
};
std::vector<STopFood> TopFoods(const CJournalDB& journal, const CJournalDate& first,
                               const CJournalDate& last, int nutrient, size_t count = 5);

// The report as plain lines with aligned columns (the command line's output).
std::vector<std::string> NutrientDetailsTextLines(const SNutrientDetails& details);

} // namespace fitquill
