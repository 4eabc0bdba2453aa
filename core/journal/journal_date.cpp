// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/journal_date.h"

#include "core/clock.h"

#include <cstdio>

namespace fitquill {
namespace {

const char* const kWeekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                 "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};

} // namespace

CJournalDate::CJournalDate(int day, int month, int year) {
    SetDate(day, month, year);
}

CJournalDate CJournalDate::Today() {
    SLocalTime now = CClock::Now();
    CJournalDate date(now.day, now.month, now.year);
    date.SetTime(now.hour, now.minute, now.second);
    return date;
}

CJournalDate CJournalDate::FromPacked(uint16_t packed) {
    return CJournalDate(packed / 2048, (packed / 128) % 16, packed % 128 + 1904);
}

uint16_t CJournalDate::Packed() const {
    return static_cast<uint16_t>(m_day * 2048 + m_month * 128 + (m_year - 1904));
}

void CJournalDate::SetTime(int hour, int minute, int second) {
    m_hour = static_cast<int16_t>(hour);
    m_minute = static_cast<int16_t>(minute);
    m_second = static_cast<int16_t>(second);
}

void CJournalDate::SetDate(int day, int month, int year) {
    m_day = static_cast<int16_t>(day);
    m_month = static_cast<int16_t>(month);
    m_year = static_cast<int16_t>(year);
    RecomputeWeekday();
}

bool CJournalDate::IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

const char* CJournalDate::WeekdayName(int weekday) {
    return weekday >= 0 && weekday < 7 ? kWeekdays[weekday] : "";
}

const char* CJournalDate::MonthName(int month) {
    return month >= 1 && month <= 12 ? kMonths[month - 1] : "";
}

int32_t CJournalDate::DayNumber() const {
    const int32_t m = m_month, y = m_year, d = m_day;
    const int32_t c = (14 - m) / 12;
    const int32_t b = m + 12 * c;
    const int32_t e = y - 1904 - c + 6704;
    return d + (153 * b - 457) / 5 + 365 * e + e / 4 - 7976;
}

void CJournalDate::RecomputeWeekday() {
    if (!IsSet()) {
        m_weekday = 0;
        return;
    }
    // From the packed form, as the handheld does: only years 1904-2031 are meaningful.
    CJournalDate unpacked;
    uint16_t packed = Packed();
    unpacked.m_day = static_cast<int16_t>(packed / 2048);
    unpacked.m_month = static_cast<int16_t>((packed / 128) % 16);
    unpacked.m_year = static_cast<int16_t>(packed % 128 + 1904);
    int32_t w = (unpacked.DayNumber() - 24105) % 7;
    m_weekday = static_cast<int16_t>(w < 0 ? w + 7 : w);
}

int CJournalDate::DaysInMonth() const {
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m_month < 1 || m_month > 12)
        return 31;
    return lengths[m_month - 1] + (m_month == 2 && IsLeapYear(m_year) ? 1 : 0);
}

void CJournalDate::StepDays(int direction) {
    int day = m_day, month = m_month, year = m_year;
    if (direction >= 0) {
        if (day < DaysInMonth()) {
            ++day;
        } else {
            day = 1;
            if (++month > 12) {
                month = 1;
                ++year;
            }
        }
    } else if (day > 1) {
        --day;
    } else {
        if (--month < 1) {
            month = 12;
            --year;
        }
        day = CJournalDate(1, month, year).DaysInMonth();
    }
    SetDate(day, month, year);
}

void CJournalDate::StepWeeks(int direction) {
    for (int i = 0; i < 7; ++i)
        StepDays(direction);
}

void CJournalDate::StepMonths(int direction) {
    int day = m_day, month = m_month + (direction >= 0 ? 1 : -1), year = m_year;
    if (month > 12) {
        month = 1;
        ++year;
    } else if (month < 1) {
        month = 12;
        --year;
    }
    // February is cut to 28 in every year, leap or not, as the handheld does.
    if (month == 2 && day >= 29)
        day = 28;
    else if ((month == 4 || month == 6 || month == 9 || month == 11) && day == 31)
        day = 30;
    SetDate(day, month, year);
}

void CJournalDate::StepYears(int direction) {
    int day = m_day;
    if (m_month == 2 && day > 28)
        day = 28;
    SetDate(day, m_month, m_year + (direction >= 0 ? 1 : -1));
}

void CJournalDate::ToSundayOfWeek() {
    for (int i = m_weekday; i > 0; --i)
        StepDays(-1);
}

void CJournalDate::ToFirstOfMonth() {
    SetDate(1, m_month, m_year);
}

std::string CJournalDate::LongText(size_t bufferSize) const {
    if (bufferSize == 0)
        return {};
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%s %s %d, %d", WeekdayName(m_weekday), MonthName(m_month),
                  m_day, m_year);
    std::string text(buffer);
    if (text.size() > bufferSize - 1)
        text.resize(bufferSize - 1);
    return text;
}

CJournalDate DaysBefore(CJournalDate date, int days) {
    for (int i = 0; i < days; ++i)
        date.StepDays(-1);
    return date;
}

} // namespace fitquill
