// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fitquill {

class CJournalDB;

// A weighed day: its day number (CJournalDate::DayNumber) and weight in the user's unit.
struct SDayWeight {
    int32_t day = 0;
    double weight = 0;
};

// The smoothed weight: each day's trend moves a tenth of the way toward that day's weight,
// and a day without a weight keeps the trend as it was. It hides the day-to-day swings of
// water and food and shows where the weight is heading.
class CWeightTrend {
public:
    static constexpr double kSmoothing = 0.1;
    // The rate is measured over this many days up to the end day.
    static constexpr int kRateDays = 14;
    // Goal dates farther away than this are not named.
    static constexpr int kMaxProjectionDays = 3653;

    // The trend of `weights` (ascending days; the last of equal days wins) on the windowDays
    // days ending at `end`. Weights after `end` are ignored.
    CWeightTrend(const std::vector<SDayWeight>& weights, const CJournalDate& end, int windowDays);
    // The journal's stored weights up to `end` in the user's unit, as the charts read them.
    static CWeightTrend FromJournal(const CJournalDB& journal, const CJournalDate& end,
                                    int windowDays);

    // One value per day of the window, oldest first; nullopt before the first weight.
    const std::vector<std::optional<double>>& Values() const { return m_values; }
    std::optional<double> Current() const { return m_current; }
    // Change of the trend per week over the last kRateDays days (negative while losing);
    // nullopt until the trend is that old.
    std::optional<double> WeeklyRate() const { return m_weeklyRate; }

    enum class EGoalOutlook {
        Unknown, // no rate yet
        Steady,  // the trend does not move
        Reached, // the trend is at the goal
        Toward,  // moving toward the goal: GoalDay() says when it gets there
        TooFar,  // toward the goal, but more than kMaxProjectionDays away
        Away,    // moving away from the goal
    };
    // Whether and on which date the trend reaches `goal` at the current rate: the first day
    // on which it is at or past the goal (the end date when it is there already).
    EGoalOutlook GoalOutlook(double goal, CJournalDate& goalDate) const;

    const CJournalDate& End() const { return m_end; }

private:
    CJournalDate m_end;
    std::vector<std::optional<double>> m_values;
    std::optional<double> m_current;
    std::optional<double> m_weeklyRate;
};

// "Trend: down 1 lbs a week over the last 14 days. At this rate you reach 160 lbs on Friday
// June 4, 2004." and its variants; a goal below 0 means none.
std::string TrendStatement(const CWeightTrend& trend, double goal, bool metric);
// The same for a journal: its trend up to `end` against its goal weight.
std::string TrendStatement(const CJournalDB& journal, const CJournalDate& end);

} // namespace fitquill
