// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/clock.h"

#include <cstdlib>
#include <ctime>

namespace fitquill {
namespace {

std::optional<SLocalTime>& FixedDate() {
    static std::optional<SLocalTime> fixed;
    return fixed;
}

bool IsLeap(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int Weekday(int year, int month, int day) {
    // Sakamoto's method; 0 = Sunday.
    static const int offsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3)
        --year;
    return (year + year / 4 - year / 100 + year / 400 + offsets[month - 1] + day) % 7;
}

} // namespace

std::optional<SLocalTime> CClock::ParseIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    auto number = [&](size_t from, size_t count) {
        int value = 0;
        for (size_t i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9')
                return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    SLocalTime t;
    t.year = number(0, 4);
    t.month = number(5, 2);
    t.day = number(8, 2);
    static const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.year < 1 || t.month < 1 || t.month > 12 || t.day < 1)
        return std::nullopt;
    int length = lengths[t.month - 1] + (t.month == 2 && IsLeap(t.year) ? 1 : 0);
    if (t.day > length)
        return std::nullopt;
    t.hour = 12;
    t.weekday = Weekday(t.year, t.month, t.day);
    return t;
}

void CClock::SetFixedDate(std::optional<SLocalTime> date) {
    FixedDate() = date;
}

SLocalTime CClock::Now() {
    if (FixedDate())
        return *FixedDate();
    if (const char* env = std::getenv("FITQUILL_TODAY")) {
        if (auto parsed = ParseIsoDate(env))
            return *parsed;
    }
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    SLocalTime t;
    t.year = local.tm_year + 1900;
    t.month = local.tm_mon + 1;
    t.day = local.tm_mday;
    t.hour = local.tm_hour;
    t.minute = local.tm_min;
    t.second = local.tm_sec;
    t.weekday = local.tm_wday;
    return t;
}

} // namespace fitquill
