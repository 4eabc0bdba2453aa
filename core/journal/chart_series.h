// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fitquill {

class CJournalDB;

// What a series shows: the day's food total of a basic nutrient, or the day's weight.
enum ESeriesType : int {
    kSeriesCalories = 0,
    kSeriesCarbohydrate = 1,
    kSeriesProtein = 2,
    kSeriesFiber = 3,
    kSeriesFat = 4,
    kSeriesSaturatedFat = 5,
    kSeriesWeight = 6,
};
constexpr int kSeriesTypeCount = 7;

// Which period a period-series request asks for.
enum EPeriodDirection : int {
    kPeriodCurrent = 0,  // the week or month of the journal's current date
    kPeriodPrevious = 2, // the one before the period held now
    kPeriodNext = 3,     // the one after the period held now
};

// A calendar week (from its Sunday) or month of day values for the weight and nutrient charts:
// the nutrient totals with the day's targets, or the weights in the user's unit to one decimal.
// -1 marks a day without a value or target.
class CPeriodSeries {
public:
    // Fill the series for the week (monthFlag 0) or month of the current date, or for the
    // period before or after the one held now (the current date's period when none is held).
    // The journal's current date is restored afterwards. A type outside 0-6 or another
    // direction is a programming error (internal error).
    void Request(CJournalDB& journal, int type, uint16_t monthFlag, int direction);
    // The week or month containing `date`.
    void RequestAt(CJournalDB& journal, int type, uint16_t monthFlag, const CJournalDate& date);

    int Type() const { return m_type; }
    uint16_t MonthFlag() const { return m_monthFlag; }
    // The Sunday of the week or the first day of the month, whichever the series shows.
    const CJournalDate& PeriodStart() const { return m_monthFlag ? m_monthStart : m_weekStart; }
    int DayCount() const { return static_cast<int>(m_values.size()); }
    int ValuedDayCount() const { return m_valuedDays; }
    // -1 for a day without a value, and for an index outside the series.
    float Value(int day) const;
    float Target(int day) const;
    // The largest value, the smallest positive value (-1 when none) and the peak: for
    // nutrients the largest positive value or target, for weights their average.
    float Maximum() const { return m_maximum; }
    float Minimum() const { return m_minimum; }
    float Peak() const { return m_peak; }
    // True unless both the maximum and the minimum are 0 or more.
    bool HasNoValues() const { return !(m_maximum >= 0.0f && m_minimum >= 0.0f); }
    // Frees the day arrays; the period held stays for the next relative request.
    void Release();

private:
    void Fill(CJournalDB& journal, int type, uint16_t monthFlag);

    int m_type = kSeriesCalories;
    uint16_t m_monthFlag = 0;
    bool m_held = false;
    CJournalDate m_weekStart;
    CJournalDate m_monthStart;
    std::vector<float> m_values;
    std::vector<float> m_targets;
    int m_valuedDays = 0;
    float m_maximum = -1.0f;
    float m_minimum = -1.0f;
    float m_peak = 0.0f;
};

// The weights of the days of a period that ends on a chosen date, 7 days up to 5 years, with
// the labels of the horizontal axis and the vertical scale of the historic weight chart.
class CHistoricWeightSeries {
public:
    static constexpr int kRangeTypeCount = 7;
    static constexpr int kMaxLabels = 8;
    // A day's weight below this (in the user's unit) is not charted.
    static constexpr float kMinUsableWeight = 10.0f;
    // The scale step is the smallest that keeps the weight span below this many steps.
    static constexpr int kMaxScaleSteps = 16;

    // The chart's title for a range type 0-6, "" for any other.
    static const char* Title(int rangeType);

    // Fills the series for range type 0-6 ending on `end`; returns the number of days with a
    // usable weight. The journal's current date is restored afterwards. A range type outside
    // 0-6 is a programming error (internal error).
    int Request(CJournalDB& journal, int rangeType, const CJournalDate& end);

    int RangeType() const { return m_rangeType; }
    int LabelCount() const { return m_labelCount; }
    // "month/day/year", oldest first; empty beyond the labels of the range.
    const std::string& Label(int index) const;
    int DayCount() const { return static_cast<int>(m_values.size()); }
    // Oldest first; -1 for a day without a usable weight and for an index outside the series.
    float Value(int day) const;
    // -1 and 999 when no day has a usable weight.
    float MaximumWeight() const { return m_maximum; }
    float MinimumWeight() const { return m_minimum; }
    int ScaleStep() const { return m_step; }
    int VerticalLabelCount() const { return m_verticalLabels; }
    // minimum - step + step * k, cut to a whole number; nothing for k outside the labels.
    std::optional<int> VerticalLabelValue(int k) const;
    void Release();

private:
    int m_rangeType = 0;
    int m_labelCount = 0;
    std::array<std::string, kMaxLabels> m_labels;
    std::vector<float> m_values;
    float m_maximum = -1.0f;
    float m_minimum = 999.0f;
    int m_step = 1;
    int m_verticalLabels = 0;
};

// The working data of the charts: the result of the last request of each kind, kept until the
// next one. Owned next to the journal it reads.
struct SChartSeries {
    CPeriodSeries period;
    CHistoricWeightSeries historic;
};

} // namespace fitquill
