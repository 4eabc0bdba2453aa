// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"

#include <array>
#include <string>
#include <vector>

namespace fitquill {

class CJournalDB;

// The days a table lists: day-record positions first .. first + count - 1.
struct STableRange {
    int first = 0;
    int count = 0;
};
// Every day of the journal (the screen tables).
STableRange AllDaysRange(const CJournalDB& journal);
// The days dated start..end inclusive (the printed table); empty when there are none.
STableRange DateRange(const CJournalDB& journal, const CJournalDate& start,
                      const CJournalDate& end);

// A table grid has a heading row and at least 72 rows below it.
constexpr int kMinTableRows = 73;
int TableRowCount(const STableRange& range);

// The day-record position that row (1 and up) shows, newest first when the sort direction is
// flipped; -1 for a row past the range.
int TableRowPosition(const STableRange& range, int row, bool newestFirst);

constexpr int kSummaryColumnCount = 9;
constexpr int kNutrientColumnCount = 6;
constexpr int kNutrientTableCount = 6;
// The nutrient tables' drop-down entries, nutrient indexes 0-5.
extern const std::array<const char*, kNutrientTableCount> kNutrientTableNames;

// Row 0 of each table.
std::vector<std::string> SummaryHeadings(bool metric);
std::vector<std::string> NutrientHeadings(bool metric);

// The texts of a row of each table; row 0 gives the headings, a row past the range is all
// empty. Moves the journal's position to the row's day (its targets are computed there):
// callers keep the current day with CKeepCurrentDay.
std::vector<std::string> SummaryRowTexts(CJournalDB& journal, const STableRange& range, int row,
                                         bool newestFirst);
std::vector<std::string> NutrientRowTexts(CJournalDB& journal, const STableRange& range, int row,
                                          bool newestFirst, int nutrient);

// Puts the journal back on the date it had when this was made.
class CKeepCurrentDay {
public:
    explicit CKeepCurrentDay(CJournalDB& journal);
    ~CKeepCurrentDay();
    CKeepCurrentDay(const CKeepCurrentDay&) = delete;
    CKeepCurrentDay& operator=(const CKeepCurrentDay&) = delete;

private:
    CJournalDB& m_journal;
    CJournalDate m_date;
};

} // namespace fitquill
