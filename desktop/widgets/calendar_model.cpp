// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/calendar_model.h"

#include <algorithm>
#include <cstdio>

namespace fitquill {
namespace {

bool IsShowableYear(int year) {
    return year >= CCalendarModel::kFirstYear && year <= CCalendarModel::kLastYear;
}

} // namespace

CCalendarModel::CCalendarModel() {
    SetDate(CJournalDate::Today());
}

void CCalendarModel::SetDate(const CJournalDate& date) {
    if (date.Month() < 1 || date.Month() > 12 || !IsShowableYear(date.Year()))
        return;
    m_monthIndex = date.Month() - 1;
    m_year = date.Year();
    m_selectedDay = std::clamp<int>(date.Day(), 1, DaysInMonth());
}

bool CCalendarModel::StepMonth(int direction) {
    int monthIndex = m_monthIndex + (direction < 0 ? -1 : 1);
    int year = m_year;
    if (monthIndex < 0) {
        monthIndex = 11;
        --year;
    } else if (monthIndex > 11) {
        monthIndex = 0;
        ++year;
    }
    if (!IsShowableYear(year))
        return false;
    m_monthIndex = monthIndex;
    m_year = year;
    m_selectedDay = std::min(m_selectedDay, DaysInMonth());
    return true;
}

bool CCalendarModel::SelectDay(int day) {
    if (day < 1 || day > DaysInMonth())
        return false;
    m_selectedDay = day;
    return true;
}

bool CCalendarModel::MoveSelection(int days) {
    return SelectDay(m_selectedDay + days);
}

int CCalendarModel::DaysInMonth() const {
    return CJournalDate(1, Month(), m_year).DaysInMonth();
}

int CCalendarModel::FirstWeekday() const {
    // Computed here for any year of the proleptic Gregorian calendar: the journal date's
    // weekday and day number serve only the years of the handheld's packed dates.
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    const int year = m_monthIndex < 2 ? m_year - 1 : m_year;
    return (year + year / 4 - year / 100 + year / 400 + offsets[m_monthIndex] + 1) % 7;
}

int CCalendarModel::WeekRows() const {
    return CellOfDay(DaysInMonth()).row - kFirstWeekRow + 1;
}

CCalendarModel::SCell CCalendarModel::CellOfDay(int day) const {
    if (day < 1 || day > DaysInMonth())
        return {};
    int position = FirstWeekday() + day - 1;
    return {position / kColumns + kFirstWeekRow, position % kColumns};
}

int CCalendarModel::DayAt(int row, int column) const {
    if (row < kFirstWeekRow || row >= kRows || column < 0 || column >= kColumns)
        return 0;
    int day = (row - kFirstWeekRow) * kColumns + column - FirstWeekday() + 1;
    return day >= 1 && day <= DaysInMonth() ? day : 0;
}

int CCalendarModel::TodayDay() const {
    CJournalDate today = CJournalDate::Today();
    return today.Month() == Month() && today.Year() == m_year ? today.Day() : 0;
}

std::string CCalendarModel::Title() const {
    char text[32];
    std::snprintf(text, sizeof text, "%s %d", CJournalDate::MonthName(Month()), m_year);
    return text;
}

const char* CCalendarModel::WeekdayLetter(int column) {
    static const char* const letters[] = {"S", "M", "T", "W", "T", "F", "S"};
    return column >= 0 && column < kColumns ? letters[column] : "";
}

} // namespace fitquill
