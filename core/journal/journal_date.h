// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fitquill {

// A calendar date with the time fields the handheld keeps. Only day, month and year take
// part in comparisons; the weekday is recomputed after every change.
class CJournalDate {
public:
    CJournalDate() = default; // unset: day, month and year 0
    CJournalDate(int day, int month, int year);

    static CJournalDate Today();
    // From the packed form day * 2048 + month * 128 + (year - 1904).
    static CJournalDate FromPacked(uint16_t packed);
    uint16_t Packed() const;

    int16_t Second() const { return m_second; }
    int16_t Minute() const { return m_minute; }
    int16_t Hour() const { return m_hour; }
    int16_t Day() const { return m_day; }
    int16_t Month() const { return m_month; }
    int16_t Year() const { return m_year; }
    int16_t Weekday() const { return m_weekday; }
    void SetTime(int hour, int minute, int second);
    // Sets day, month and year as given (no validation: stored records carry what they carry).
    void SetDate(int day, int month, int year);

    bool IsSet() const { return m_day != 0 || m_month != 0 || m_year != 0; }
    int32_t DayNumber() const;

    void StepDays(int direction);   // +1 or -1 calendar day
    void StepWeeks(int direction);  // +-7 days
    void StepMonths(int direction); // +-1 month, day cut back to the month's end rule
    void StepYears(int direction);  // +-1 year, February 29 becomes 28
    void ToSundayOfWeek();
    void ToFirstOfMonth();
    int DaysInMonth() const;

    // "Monday January 5, 2004", cut to a buffer of bufferSize bytes including its NUL.
    std::string LongText(size_t bufferSize = 64) const;

    bool operator==(const CJournalDate& other) const {
        return m_day == other.m_day && m_month == other.m_month && m_year == other.m_year;
    }
    auto operator<=>(const CJournalDate& other) const {
        if (m_year != other.m_year)
            return m_year <=> other.m_year;
        if (m_month != other.m_month)
            return m_month <=> other.m_month;
        return m_day <=> other.m_day;
    }

    static bool IsLeapYear(int year);
    static const char* WeekdayName(int weekday);
    static const char* MonthName(int month);

private:
    void RecomputeWeekday();

    int16_t m_second = 0;
    int16_t m_minute = 0;
    int16_t m_hour = 0;
    int16_t m_day = 0;
    int16_t m_month = 0;
    int16_t m_year = 0;
    int16_t m_weekday = 0;
};

// The calendar day `days` days before date (days >= 0).
CJournalDate DaysBefore(CJournalDate date, int days);

} // namespace fitquill
