// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/chart_series.h"

#include "core/calc/diet_plan.h"
#include "core/calc/units.h"
#include "core/internal_error.h"
#include "core/journal/journal_db.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace fitquill {
namespace {

constexpr float kNone = -1.0f;
constexpr float kNoMinimumWeight = 999.0f;

// How the labels of a historic range are spaced.
enum class EStep { Days, Months, Years };

struct SRangePlan {
    const char* title;
    int labels;
    EStep unit;
    int count; // units per step
};

constexpr SRangePlan kRangePlans[CHistoricWeightSeries::kRangeTypeCount] = {
    {"Historic Weight (7-Day)", 8, EStep::Days, 1},
    {"Historic Weight (14-Day)", 8, EStep::Days, 2},
    {"Historic Weight (1-Month)", 2, EStep::Months, 1},
    {"Historic Weight (3-Month)", 4, EStep::Months, 1},
    {"Historic Weight (6-Month)", 7, EStep::Months, 1},
    {"Historic Weight (1-Year)", 5, EStep::Months, 3},
    {"Historic Weight (5-Year)", 6, EStep::Years, 1},
};

// One step back. A step of several months is taken a month at a time, each cutting the day
// to its month, as the handheld's single-month step does.
void StepBack(CJournalDate& date, const SRangePlan& plan) {
    for (int i = 0; i < plan.count; ++i) {
        switch (plan.unit) {
        case EStep::Days:
            date.StepDays(-1);
            break;
        case EStep::Months:
            date.StepMonths(-1);
            break;
        case EStep::Years:
            date.StepYears(-1);
            break;
        }
    }
}

std::string DateLabel(const CJournalDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%d/%d/%d", date.Month(), date.Day(), date.Year());
    return text;
}

// Keeps the journal's current date across a request, whatever the request does with it.
class CKeepCurrentDate {
public:
    explicit CKeepCurrentDate(CJournalDB& journal)
        : m_journal(journal), m_date(journal.CurrentDate()) {}
    // Only the position comes back; a refresh on the way would write into drawn days.
    ~CKeepCurrentDate() { m_journal.MoveToDate(m_date); }
    CKeepCurrentDate(const CKeepCurrentDate&) = delete;
    CKeepCurrentDate& operator=(const CKeepCurrentDate&) = delete;

private:
    CJournalDB& m_journal;
    CJournalDate m_date;
};

float At(const std::vector<float>& values, int index) {
    return index >= 0 && index < static_cast<int>(values.size())
               ? values[static_cast<size_t>(index)]
               : kNone;
}

} // namespace

// ---- period series ----

void CPeriodSeries::Request(CJournalDB& journal, int type, uint16_t monthFlag, int direction) {
    if (direction != kPeriodCurrent && direction != kPeriodPrevious && direction != kPeriodNext)
        RaiseInternalError(kInternalErrorGeneral, "chart series: unknown direction");
    if (direction == kPeriodCurrent || !m_held) {
        m_weekStart = journal.CurrentDate();
        m_weekStart.ToSundayOfWeek();
        m_monthStart = journal.CurrentDate();
        m_monthStart.ToFirstOfMonth();
    }
    if (direction != kPeriodCurrent) {
        const int step = direction == kPeriodPrevious ? -1 : 1;
        if (monthFlag) {
            m_monthStart.StepMonths(step);
            m_weekStart = m_monthStart;
            m_weekStart.ToSundayOfWeek();
        } else {
            m_weekStart.StepWeeks(step);
            m_monthStart = m_weekStart;
            m_monthStart.ToFirstOfMonth();
        }
    }
    Fill(journal, type, monthFlag);
}

void CPeriodSeries::RequestAt(CJournalDB& journal, int type, uint16_t monthFlag,
                              const CJournalDate& date) {
    m_weekStart = date;
    m_weekStart.ToSundayOfWeek();
    m_monthStart = date;
    m_monthStart.ToFirstOfMonth();
    Fill(journal, type, monthFlag);
}

void CPeriodSeries::Fill(CJournalDB& journal, int type, uint16_t monthFlag) {
    if (type < 0 || type >= kSeriesTypeCount)
        RaiseInternalError(kInternalErrorGeneral, "chart series: unknown series type");
    m_type = type;
    m_monthFlag = monthFlag;
    m_held = true;
    const int dayCount = monthFlag ? m_monthStart.DaysInMonth() : 7;
    m_values.assign(static_cast<size_t>(dayCount), kNone);
    m_targets.assign(static_cast<size_t>(dayCount), kNone);
    m_valuedDays = 0;
    m_maximum = kNone;
    m_minimum = kNone;
    m_peak = 0.0f;

    const bool weights = type == kSeriesWeight;
    const bool metric = journal.Profile().IsMetric();
    CKeepCurrentDate keep(journal);
    CJournalDate date = PeriodStart();
    for (int i = 0; i < dayCount; ++i, date.StepDays(1)) {
        journal.GoToDate(date);
        if (!journal.CurrentDayExists())
            continue;
        const CDayRecord* day = journal.CurrentDay(false);
        float value;
        float target = kNone;
        if (weights) {
            const std::optional<double> weight = day->Weight().Get(metric);
            if (!weight || !(*weight > 0.0))
                continue;
            value = static_cast<float>(RoundByTextRule(*weight, 1));
            m_peak += value;
        } else {
            value = day->FoodLog().TotalValue(type);
            target = NutrientTarget(journal, type).value_or(0.0f);
        }
        ++m_valuedDays;
        m_values[static_cast<size_t>(i)] = value;
        m_targets[static_cast<size_t>(i)] = target;
        if (value > 0.0f && value > m_peak)
            m_peak = value;
        if (target > 0.0f && target > m_peak)
            m_peak = target;
        if (value > m_maximum)
            m_maximum = value;
        if (value > 0.0f && (m_minimum < 0.0f || value < m_minimum))
            m_minimum = value;
    }
    if (weights && m_valuedDays != 0)
        m_peak /= static_cast<float>(m_valuedDays);
}

float CPeriodSeries::Value(int day) const {
    return At(m_values, day);
}

float CPeriodSeries::Target(int day) const {
    return At(m_targets, day);
}

void CPeriodSeries::Release() {
    m_values.clear();
    m_values.shrink_to_fit();
    m_targets.clear();
    m_targets.shrink_to_fit();
}

// ---- historic weight series ----

const char* CHistoricWeightSeries::Title(int rangeType) {
    return rangeType >= 0 && rangeType < kRangeTypeCount ? kRangePlans[rangeType].title : "";
}

int CHistoricWeightSeries::Request(CJournalDB& journal, int rangeType, const CJournalDate& end) {
    if (rangeType < 0 || rangeType >= kRangeTypeCount)
        RaiseInternalError(kInternalErrorGeneral, "chart series: unknown historic range");
    const SRangePlan& plan = kRangePlans[rangeType];
    CKeepCurrentDate keep(journal);
    Release();
    m_rangeType = rangeType;
    m_labelCount = plan.labels;

    CJournalDate oldest = end;
    for (int k = plan.labels - 1; k >= 0; --k) {
        m_labels[static_cast<size_t>(k)] = DateLabel(oldest);
        if (k > 0)
            StepBack(oldest, plan);
    }
    // From the oldest label to the end date inclusive: 8 and 15 days for the day ranges.
    const int dayCount = end.DayNumber() - oldest.DayNumber() + 1;
    m_values.assign(static_cast<size_t>(std::max(dayCount, 0)), kNone);
    m_maximum = kNone;
    m_minimum = kNoMinimumWeight;

    // Walk back from the end date a calendar day at a time, keeping a position in the date-
    // ordered records alongside instead of searching the journal for every day: a five-year
    // range is more than 1800 days.
    const bool metric = journal.Profile().IsMetric();
    int usable = 0;
    int position = journal.DayCount() - 1;
    CJournalDate date = end;
    for (int i = dayCount - 1; i >= 0; --i, date.StepDays(-1)) {
        while (position >= 0 && date < journal.Day(position).Date())
            --position;
        if (position < 0 || !(journal.Day(position).Date() == date))
            continue;
        // Only the weight is read, which a refresh does not change: drawing the chart must
        // not store recomputed values into the days it shows.
        const CDayRecord& day = journal.Day(position);
        const std::optional<double> weight = day.Weight().Get(metric);
        if (!weight || *weight < kMinUsableWeight)
            continue;
        const auto value = static_cast<float>(*weight);
        m_values[static_cast<size_t>(i)] = value;
        ++usable;
        if (value > m_maximum)
            m_maximum = value;
        if (value < m_minimum)
            m_minimum = value;
    }

    m_step = 1;
    m_verticalLabels = 0;
    if (m_maximum >= m_minimum) {
        const double span = static_cast<double>(m_maximum) - m_minimum;
        while (static_cast<int>(span / m_step) >= kMaxScaleSteps)
            ++m_step;
        m_verticalLabels = static_cast<int>(span / m_step) + 3;
    }
    return usable;
}

const std::string& CHistoricWeightSeries::Label(int index) const {
    static const std::string kEmpty;
    return index >= 0 && index < kMaxLabels ? m_labels[static_cast<size_t>(index)] : kEmpty;
}

float CHistoricWeightSeries::Value(int day) const {
    return At(m_values, day);
}

std::optional<int> CHistoricWeightSeries::VerticalLabelValue(int k) const {
    if (k < 0 || k >= m_verticalLabels)
        return std::nullopt;
    return static_cast<int>(static_cast<double>(m_minimum) - m_step + m_step * k);
}

void CHistoricWeightSeries::Release() {
    m_values.clear();
    m_values.shrink_to_fit();
    for (std::string& label : m_labels)
        label.clear();
    m_labelCount = 0;
    m_maximum = kNone;
    m_minimum = kNoMinimumWeight;
    m_step = 1;
    m_verticalLabels = 0;
}

} // namespace fitquill
