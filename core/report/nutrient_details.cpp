// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/nutrient_details.h"

#include "core/calc/reference_intake.h"
#include "core/journal/journal_db.h"
#include "core/report/text_format.h"

#include <algorithm>
#include <map>

namespace fitquill {

const std::array<const char*, kNutrientDetailColumnCount> kNutrientDetailHeadings = {
    "Nutrient", "Amount", "Unit", "Reference", "Share", "Upper Limit"};

namespace {

constexpr int kNutrientCholesterol = 9;
constexpr int kNutrientSelenium = 20;
constexpr int kNutrientVitaminB12 = 23;

// Calories per gram of the energy nutrients.
constexpr double kCarbohydrateCalories = 4.0;
constexpr double kProteinCalories = 4.0;
constexpr double kFatCalories = 9.0;

template <typename TVisit>
void ForEachEntry(const CJournalDB& journal, const CJournalDate& first, const CJournalDate& last,
                  TVisit visit) {
    int from = -1;
    int to = -1;
    if (!journal.RangeLookup(first, last, from, to))
        return;
    for (int position = from; position <= to; ++position) {
        const CDayRecord& day = journal.Day(position);
        for (int meal = 0; meal < kMealCount; ++meal)
            for (const CFoodItem& entry : day.FoodLog().MealEntries(meal))
                visit(day, entry);
    }
}

// A reference value as the tables print it: no trailing zeros ("8", "0.9", "2.4").
std::string ReferenceText(int nutrient, double storedAmount) {
    std::string text = NutrientAmountText(nutrient, storedAmount);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    return text;
}

// Shares past ten times the reference read as that; the figure would not fit its column.
std::string PercentText(double fraction) {
    if (fraction > 9.994)
        return ">999%";
    return FormatText("%.0f%%", fraction * 100.0);
}

} // namespace

const char* NutrientPeriodName(ENutrientPeriod period) {
    switch (period) {
    case ENutrientPeriod::Day:
        return "This Day";
    case ENutrientPeriod::Last7Days:
        return "Last 7 Days";
    case ENutrientPeriod::Last30Days:
        return "Last 30 Days";
    case ENutrientPeriod::PrintRange:
        return "Print Range";
    }
    return "";
}

SDateSpan NutrientPeriodDates(ENutrientPeriod period, const CJournalDate& current,
                              const CJournalDate& printStart, const CJournalDate& printEnd) {
    switch (period) {
    case ENutrientPeriod::Last7Days:
        return {DaysBefore(current, 6), current};
    case ENutrientPeriod::Last30Days:
        return {DaysBefore(current, 29), current};
    case ENutrientPeriod::PrintRange:
        if (printEnd < printStart)
            return {printEnd, printStart};
        return {printStart, printEnd};
    case ENutrientPeriod::Day:
        break;
    }
    return {current, current};
}

SNutrientDisplayUnit NutrientDisplayUnit(int nutrient) {
    switch (nutrient) {
    case kNutrientCalories:
        return {"Cal", 1.0};
    case kNutrientCholesterol:
        return {"mg", 1000.0};
    case kNutrientSelenium:
    case kNutrientVitaminB12:
        return {"mcg", 1000.0};
    default:
        return {NutrientInfo(nutrient).unit, 1.0};
    }
}

std::string NutrientAmountText(int nutrient, double storedAmount) {
    const double shown = storedAmount * NutrientDisplayUnit(nutrient).factor;
    if (shown == 0.0)
        return "0";
    if (nutrient == kNutrientCalories || shown >= 99.5)
        return FormatText("%.0f", shown);
    if (shown >= 9.95)
        return FormatText("%.1f", shown);
    return FormatText("%.2f", shown);
}

SNutrientDetails NutrientDetails(const CJournalDB& journal, const CJournalDate& first,
                                 const CJournalDate& last) {
    SNutrientDetails details;
    details.first = first;
    details.last = last;
    details.calendarDays = last < first ? 0 : last.DayNumber() - first.DayNumber() + 1;

    const CDayRecord* counted = nullptr;
    ForEachEntry(journal, first, last, [&](const CDayRecord& day, const CFoodItem& entry) {
        if (&day != counted) {
            counted = &day;
            ++details.daysWithFood;
        }
        for (const CNutrientValue& value : entry.Nutrients())
            details.totals[value.Index()] +=
                static_cast<double>(value.Value()) * entry.ServingRatio();
    });

    details.periodText =
        first == last ? first.LongText() : first.LongText() + " to " + last.LongText();
    details.averageText =
        details.daysWithFood == 0
            ? std::string("No food was logged in this period.")
            : FormatText("Daily average of %d %s with food logged (of %d %s)", details.daysWithFood,
                         details.daysWithFood == 1 ? "day" : "days", details.calendarDays,
                         details.calendarDays == 1 ? "day" : "days");

    const CUserProfile& profile = journal.Profile();
    const int age = profile.Age();
    const int sex = profile.Sex();
    if (age < 1)
        details.referenceText =
            "Enter your age in the personal information to see your reference intakes.";
    else
        details.referenceText = FormatText(
            "References for a %s aged %d (RDA, or AI where marked; upper limits for food)",
            sex == 1 ? "female" : "male", age);
    details.sourceText = "Source: " + std::string(kReferenceIntakeSourceShort);

    const double days = std::max(details.daysWithFood, 1);
    for (int n = 0; n < kNutrientCount; ++n) {
        SNutrientDetailRow row;
        row.nutrient = n;
        row.name = NutrientInfo(n).name;
        row.average = details.totals[static_cast<size_t>(n)] / days;
        row.amount = NutrientAmountText(n, row.average);
        row.unit = NutrientDisplayUnit(n).unit;
        if (const auto intake = ReferenceIntake(n, sex, age)) {
            if (intake->recommended > 0) {
                row.reference = ReferenceText(n, intake->recommended);
                if (intake->adequateIntake)
                    row.reference += " AI";
                row.shareFraction = row.average / intake->recommended;
                row.share = PercentText(row.shareFraction);
            }
            if (intake->upperLimit > 0) {
                row.upper = ReferenceText(n, intake->upperLimit);
                row.aboveUpper = row.average > intake->upperLimit;
            }
        }
        details.rows.push_back(std::move(row));
    }

    const std::array<double, 3> calories = {
        details.rows[kNutrientCarbohydrate].average * kCarbohydrateCalories,
        details.rows[kNutrientProtein].average * kProteinCalories,
        details.rows[kNutrientFat].average * kFatCalories};
    const std::array<const char*, 3> labels = {"Carbohydrate", "Protein", "Fat"};
    const double sum = calories[0] + calories[1] + calories[2];
    for (size_t i = 0; i < calories.size(); ++i) {
        SEnergyShare& share = details.energy[i];
        share.label = labels[i];
        share.fraction = sum > 0 ? calories[i] / sum : 0.0;
        share.value = PercentText(share.fraction) + FormatText("  (%.0f Cal)", calories[i]);
    }
    return details;
}

std::vector<STopFood> TopFoods(const CJournalDB& journal, const CJournalDate& first,
                               const CJournalDate& last, int nutrient, size_t count) {
    std::map<std::string, double> byName;
    double total = 0.0;
    ForEachEntry(journal, first, last, [&](const CDayRecord&, const CFoodItem& entry) {
        const double amount = entry.NutrientValue(nutrient);
        if (amount <= 0)
            return;
        byName[entry.Name()] += amount;
        total += amount;
    });
    std::vector<STopFood> foods;
    for (const auto& [name, amount] : byName)
        foods.push_back({name, amount, {}, {}});
    // Most first; equal amounts in name order, so the list does not flicker.
    std::stable_sort(foods.begin(), foods.end(),
                     [](const STopFood& a, const STopFood& b) { return a.amount > b.amount; });
    if (foods.size() > count)
        foods.resize(count);
    for (STopFood& food : foods) {
        food.amountText =
            NutrientAmountText(nutrient, food.amount) + " " + NutrientDisplayUnit(nutrient).unit;
        food.shareText = PercentText(food.amount / total);
    }
    return foods;
}

std::vector<std::string> NutrientDetailsTextLines(const SNutrientDetails& details) {
    std::vector<std::string> lines = {kNutrientDetailsTitle, details.periodText,
                                      details.averageText,   details.referenceText,
                                      details.sourceText,    ""};
    const auto row = [](const char* name, const std::string& amount, const std::string& unit,
                        const std::string& reference, const std::string& share,
                        const std::string& upper) {
        std::string line =
            FormatText("%-12s %8s %-4s %10s %6s %11s", name, amount.c_str(), unit.c_str(),
                       reference.c_str(), share.c_str(), upper.c_str());
        line.erase(line.find_last_not_of(' ') + 1);
        return line;
    };
    lines.push_back(row(kNutrientDetailHeadings[0], kNutrientDetailHeadings[1],
                        kNutrientDetailHeadings[2], kNutrientDetailHeadings[3],
                        kNutrientDetailHeadings[4], kNutrientDetailHeadings[5]));
    for (const SNutrientDetailRow& r : details.rows) {
        std::string line = row(r.name.c_str(), r.amount, r.unit, r.reference, r.share, r.upper);
        if (r.aboveUpper)
            line += "  above the upper limit";
        lines.push_back(std::move(line));
    }
    lines.push_back("");
    lines.push_back(kEnergySplitHeading);
    for (const SEnergyShare& share : details.energy)
        lines.push_back(FormatText("  %-12s %s", share.label.c_str(), share.value.c_str()));
    return lines;
}

} // namespace fitquill
