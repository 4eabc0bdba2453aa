// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/table_report.h"

#include "core/calc/diet_plan.h"
#include "core/food/nutrient.h"
#include "core/journal/journal_db.h"
#include "core/report/text_format.h"

#include <algorithm>

namespace fitquill {

const std::array<const char*, kNutrientTableCount> kNutrientTableNames = {
    "Calorie Table", "Carbohydrate Table", "Protein Table",
    "Fiber Table",   "Total Fat Table",    "Saturated Fat Table",
};

namespace {

const char* WeightHeading(bool metric) {
    return metric ? "kg" : "lbs";
}

// The cells shared by both tables: row number, date and weight. False when the row shows
// no day (the texts stay empty).
bool FillDayCells(CJournalDB& journal, const STableRange& range, int row, bool newestFirst,
                  std::vector<std::string>& texts) {
    const int position = TableRowPosition(range, row, newestFirst);
    if (position < 0 || !journal.GoToRecord(position))
        return false;
    const CDayRecord* day = journal.CurrentRecord();
    if (!day)
        return false;
    const bool metric = journal.Profile().IsMetric();
    texts[0] = FormatText("%d", row);
    texts[1] = FormatText("%02d/%02d", day->Date().Month(), day->Date().Day());
    const auto weight = day->Weight().Get(metric);
    texts[2] = weight ? FormatText(metric ? "%1.1f" : "%1.0f", *weight) : "---";
    return true;
}

std::string NutrientAmountText(int nutrient, double value) {
    std::string text = FormatText(nutrient == kNutrientCalories ? "%1.0f" : "%1.1f", value);
    // A difference that rounds to nothing has no sign.
    if (text == "-0.0" || text == "-0")
        text.erase(0, 1);
    return text;
}

} // namespace

STableRange AllDaysRange(const CJournalDB& journal) {
    return {0, journal.DayCount()};
}

STableRange DateRange(const CJournalDB& journal, const CJournalDate& start,
                      const CJournalDate& end) {
    int first = -1;
    int last = -1;
    if (!journal.RangeLookup(start, end, first, last))
        return {};
    return {first, last - first + 1};
}

int TableRowCount(const STableRange& range) {
    return std::max(range.count + 1, kMinTableRows);
}

int TableRowPosition(const STableRange& range, int row, bool newestFirst) {
    if (row < 1 || row > range.count)
        return -1;
    // Counted from the range's own end, so that a flipped print range lists its own days.
    return newestFirst ? range.first + range.count - row : range.first + row - 1;
}

std::vector<std::string> SummaryHeadings(bool metric) {
    return {"", "Date", WeightHeading(metric), "Cal", "Carb", "Prot", "Fiber", "Fat", "SFat"};
}

std::vector<std::string> NutrientHeadings(bool metric) {
    return {"", "Date", WeightHeading(metric), "Goal", "Total", "Net"};
}

std::vector<std::string> SummaryRowTexts(CJournalDB& journal, const STableRange& range, int row,
                                         bool newestFirst) {
    if (row == 0)
        return SummaryHeadings(journal.Profile().IsMetric());
    std::vector<std::string> texts(kSummaryColumnCount);
    if (!FillDayCells(journal, range, row, newestFirst, texts))
        return texts;
    const CDayFoodLog& food = journal.CurrentRecord()->FoodLog();
    texts[3] = FormatText("%d", static_cast<int>(food.TotalValue(kNutrientCalories) + 0.5));
    for (int nutrient = kNutrientCarbohydrate; nutrient <= kNutrientSaturatedFat; ++nutrient)
        texts[static_cast<size_t>(3 + nutrient)] =
            FormatText("%1.1fg", static_cast<double>(food.TotalValue(nutrient)));
    return texts;
}

std::vector<std::string> NutrientRowTexts(CJournalDB& journal, const STableRange& range, int row,
                                          bool newestFirst, int nutrient) {
    if (row == 0)
        return NutrientHeadings(journal.Profile().IsMetric());
    std::vector<std::string> texts(kNutrientColumnCount);
    nutrient = std::clamp(nutrient, 0, kNutrientTableCount - 1);
    if (!FillDayCells(journal, range, row, newestFirst, texts))
        return texts;
    const double total = journal.CurrentRecord()->FoodLog().TotalValue(nutrient);
    texts[4] = NutrientAmountText(nutrient, total);
    if (const auto goal = NutrientTarget(journal, nutrient)) {
        texts[3] = NutrientAmountText(nutrient, *goal);
        texts[5] = NutrientAmountText(nutrient, static_cast<double>(*goal) - total);
    } else {
        texts[3] = texts[5] = "---";
    }
    return texts;
}

CKeepCurrentDay::CKeepCurrentDay(CJournalDB& journal)
    : m_journal(journal), m_date(journal.CurrentDate()) {}

CKeepCurrentDay::~CKeepCurrentDay() {
    // Only the position comes back: going there with a refresh would store recomputed values
    // into days that were merely drawn.
    m_journal.MoveToDate(m_date);
}

} // namespace fitquill
