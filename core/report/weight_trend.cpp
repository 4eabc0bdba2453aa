// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/weight_trend.h"

#include "core/calc/units.h"
#include "core/journal/chart_series.h"
#include "core/journal/journal_db.h"

#include <algorithm>
#include <cmath>

namespace fitquill {
namespace {

// Far below a day, far above what the float weights of a journal leave in the rate.
constexpr double kDayTolerance = 1e-3;
constexpr double kWeightTolerance = 1e-9;

} // namespace

CWeightTrend::CWeightTrend(const std::vector<SDayWeight>& weights, const CJournalDate& end,
                           int windowDays)
    : m_end(end), m_values(static_cast<size_t>(std::max(windowDays, 0))) {
    const int32_t endDay = end.DayNumber();
    const int32_t windowStart = endDay - static_cast<int32_t>(m_values.size()) + 1;
    const int32_t rateDay = endDay - kRateDays;
    std::optional<double> trend;
    std::optional<double> trendAtRateDay;
    size_t next = 0;
    while (next < weights.size() && weights[next].day <= endDay) {
        const int32_t day = weights[next].day;
        double weight = weights[next].weight;
        while (next + 1 < weights.size() && weights[next + 1].day == day)
            weight = weights[++next].weight;
        ++next;
        trend = trend ? *trend + (weight - *trend) * kSmoothing : weight;
        if (day <= rateDay)
            trendAtRateDay = trend;
        if (day >= windowStart)
            m_values[static_cast<size_t>(day - windowStart)] = trend;
        // The days up to the next weight (or past the end day) carry it on.
        const int32_t until =
            next < weights.size() && weights[next].day <= endDay ? weights[next].day : endDay + 1;
        for (int32_t carried = std::max(day + 1, windowStart); carried < until; ++carried)
            m_values[static_cast<size_t>(carried - windowStart)] = trend;
    }
    m_current = trend;
    if (trend && trendAtRateDay)
        m_weeklyRate = (*trend - *trendAtRateDay) / kRateDays * 7.0;
}

CWeightTrend CWeightTrend::FromJournal(const CJournalDB& journal, const CJournalDate& end,
                                       int windowDays) {
    const bool metric = journal.Profile().IsMetric();
    std::vector<SDayWeight> weights;
    weights.reserve(journal.Days().size());
    for (const CDayRecord& day : journal.Days()) {
        if (end < day.Date())
            break;
        const std::optional<double> weight = day.Weight().Get(metric);
        // What the charts leave out is no weight for the trend either.
        if (weight && *weight >= CHistoricWeightSeries::kMinUsableWeight)
            weights.push_back({day.Date().DayNumber(), *weight});
    }
    return CWeightTrend(weights, end, windowDays);
}

CWeightTrend::EGoalOutlook CWeightTrend::GoalOutlook(double goal, CJournalDate& goalDate) const {
    goalDate = m_end;
    if (!m_current || !m_weeklyRate)
        return EGoalOutlook::Unknown;
    const double distance = goal - *m_current;
    if (std::fabs(distance) <= kWeightTolerance)
        return EGoalOutlook::Reached;
    // A rate that shows as 0 is no movement.
    if (RoundByTextRule(std::fabs(*m_weeklyRate), 1) == 0.0)
        return EGoalOutlook::Steady;
    const double days = distance / (*m_weeklyRate / 7.0);
    if (days < 0)
        return EGoalOutlook::Away;
    if (days > kMaxProjectionDays)
        return EGoalOutlook::TooFar;
    const auto steps = static_cast<int>(std::ceil(days - kDayTolerance));
    for (int i = 0; i < steps; ++i)
        goalDate.StepDays(1);
    return EGoalOutlook::Toward;
}

std::string TrendStatement(const CWeightTrend& trend, double goal, bool metric) {
    const char* unit = metric ? "kg" : "lbs";
    if (!trend.WeeklyRate())
        return "Trend: at least 14 days of weights are needed to tell its weekly rate.";
    const double rate = *trend.WeeklyRate();
    std::string text;
    const std::string rateText = NumberToText(std::fabs(rate), 1, false);
    if (rateText == "0")
        text = "Trend: steady over the last 14 days.";
    else
        text = std::string("Trend: ") + (rate < 0 ? "down " : "up ") + rateText + " " + unit +
               " a week over the last 14 days.";
    if (goal < 0)
        return text;

    const std::string goalText = NumberToText(goal, 1, false) + " " + unit;
    CJournalDate goalDate;
    switch (trend.GoalOutlook(goal, goalDate)) {
    case CWeightTrend::EGoalOutlook::Unknown:
    case CWeightTrend::EGoalOutlook::Steady:
        break;
    case CWeightTrend::EGoalOutlook::Reached:
        text += " The trend is at your goal weight of " + goalText + ".";
        break;
    case CWeightTrend::EGoalOutlook::Toward:
        text += " At this rate you reach " + goalText + " on " + goalDate.LongText() + ".";
        break;
    case CWeightTrend::EGoalOutlook::TooFar:
        text += " At this rate your goal weight of " + goalText + " is more than ten years away.";
        break;
    case CWeightTrend::EGoalOutlook::Away:
        text += " The trend moves away from your goal weight of " + goalText + ".";
        break;
    }
    return text;
}

std::string TrendStatement(const CJournalDB& journal, const CJournalDate& end) {
    const CUserProfile& profile = journal.Profile();
    const bool metric = profile.IsMetric();
    const double goal = profile.GoalWeight().Get(metric).value_or(-1.0);
    return TrendStatement(CWeightTrend::FromJournal(journal, end, 1), goal, metric);
}

} // namespace fitquill
