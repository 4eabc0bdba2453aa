// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"

#include <string>

namespace fitquill {

// What one month view shows: a month of a year and the selected day of that month, laid out
// in week rows below a title row and a weekday row. Pure logic, no drawing.
class CCalendarModel {
public:
    static constexpr int kColumns = 7;
    static constexpr int kRows = 8;
    static constexpr int kTitleRow = 0;
    static constexpr int kWeekdayRow = 1;
    static constexpr int kFirstWeekRow = 2;
    // Years the view can show; steps that would leave them do nothing.
    static constexpr int kFirstYear = 1;
    static constexpr int kLastYear = 9999;

    struct SCell {
        int row = -1;
        int column = -1;
        bool operator==(const SCell&) const = default;
    };

    // Shows today's month with today selected.
    CCalendarModel();

    // Shows the date's month with its day selected (cut to the month). A date whose month
    // or year the view cannot show is ignored.
    void SetDate(const CJournalDate& date);

    int MonthIndex() const { return m_monthIndex; } // 0 = January
    int Month() const { return m_monthIndex + 1; }
    int Year() const { return m_year; }
    int SelectedDay() const { return m_selectedDay; }
    CJournalDate SelectedDate() const { return CJournalDate(m_selectedDay, Month(), m_year); }

    // One month back (direction < 0) or forward; the selected day is cut to the new month's
    // length. False when the step would leave the years the view can show.
    bool StepMonth(int direction);
    // False (and nothing changes) for a day outside the shown month.
    bool SelectDay(int day);
    // Moves the selection by a number of days within the shown month; false when that
    // would leave the month.
    bool MoveSelection(int days);

    int DaysInMonth() const;
    // Weekday of the first of the month, 0 = Sunday.
    int FirstWeekday() const;
    // Number of week rows the month occupies (4 to 6).
    int WeekRows() const;
    // Row and column of a day of the shown month; {-1, -1} outside it.
    SCell CellOfDay(int day) const;
    // The day shown in a cell, 0 for an empty cell or one outside the week rows.
    int DayAt(int row, int column) const;
    // Today's day when today lies in the shown month, else 0.
    int TodayDay() const;

    // "%s %d": month name and year.
    std::string Title() const;
    // "S", "M", "T", "W", "T", "F", "S" for columns 0 to 6.
    static const char* WeekdayLetter(int column);

private:
    int m_monthIndex = 0;
    int m_year = 2000;
    int m_selectedDay = 1;
};

} // namespace fitquill
