// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

namespace fitquill {

// The local date and time as the journal sees it.
struct SLocalTime {
    int year = 0;
    int month = 0; // 1-12
    int day = 0;   // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 0; // 0 = Sunday
};

// The one clock of the program. "Today" comes from here so that every program honours
// FITQUILL_TODAY=YYYY-MM-DD and tests can fix the date.
class CClock {
public:
    static SLocalTime Now();

    // Fixes the date that Now() reports (time of day 12:00:00); nullopt returns to the
    // environment variable or the system clock.
    static void SetFixedDate(std::optional<SLocalTime> date);

    // Parses "YYYY-MM-DD"; nullopt for anything else or an impossible date.
    static std::optional<SLocalTime> ParseIsoDate(std::string_view text);
};

} // namespace fitquill
