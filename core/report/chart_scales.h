// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"

#include <array>
#include <string>
#include <vector>

namespace fitquill {

inline constexpr char kLineNeedsTwoText[] = "At least two weight values are needed to plot a line.";
inline constexpr char kPointNeedsOneText[] = "At least one weight value is needed to plot a point.";
inline constexpr char kLargeDeltaText[] =
    "Charting is not possible when their is a large delta in the weight values.";

// Where the days of a week or month chart stand: one column per day from the left.
inline constexpr int kWeekDaySpacing = 30;
inline constexpr int kMonthDaySpacing = 6;
// Both charts label their vertical axis 20 pixels apart.
inline constexpr int kChartLabelSpacing = 20;

int DaySpacing(bool month);

// A horizontal-axis label of a week or month chart.
struct SDayLabel {
    int day = 0; // day index in the period, 0 first
    std::string text;
    bool operator==(const SDayLabel&) const = default;
};

// "S" "M" "T" "W" "T" "F" "S" for a week; "1" "5" "10" "15" "20" "25" and the last day's
// number for a month of dayCount days.
std::vector<SDayLabel> PeriodDayLabels(bool month, int dayCount);

// The period a week or month chart shows: "3/7/2004 - 3/13/2004" or "March 2004".
std::string PeriodLabel(bool month, const CJournalDate& start, int dayCount);

// The vertical scale of the week or month weight chart, from the largest and smallest weight
// of the series cut to whole numbers. Ten labels run down from Top() one step apart.
class CWeightChartScale {
public:
    static constexpr int kLabelCount = 10;
    static constexpr int kTopMargin = 20;

    CWeightChartScale(float largest, float smallest);

    int Diff() const { return m_diff; }
    int Step() const { return m_step; }
    // 0 when the step is too coarse to chart (HasScale() false).
    int PixelsPerUnit() const { return m_pixelsPerUnit; }
    bool HasScale() const { return m_pixelsPerUnit != 0; }
    int Top() const { return m_top; }
    // Label k, 0 at the top.
    int LabelValue(int k) const { return m_top - k * m_step; }
    // Pixels from the top of the charting area for a weight.
    double ValueY(double value) const { return (m_top - value) * m_pixelsPerUnit + kTopMargin; }

private:
    int m_diff = 0;
    int m_step = 1;
    int m_pixelsPerUnit = 20;
    int m_top = 0;
};

// The vertical scale of a nutrient histogram: nine labels from Top() = 9 x step down.
class CHistogramScale {
public:
    static constexpr std::array<int, 9> kSteps{5, 10, 25, 50, 100, 200, 300, 400, 500};
    static constexpr int kEmptyStep = 50;
    static constexpr int kLabelCount = 9;
    static constexpr int kBarTopMargin = 22;

    explicit CHistogramScale(int step = kEmptyStep) : m_step(step > 0 ? step : kEmptyStep) {}
    // The step that fits the largest value of a series; kEmptyStep when it has none.
    static int StepFor(float largest, bool empty);
    // Index of a step in kSteps, -1 when it is not one of them.
    static int StepIndex(int step);

    int Step() const { return m_step; }
    int Top() const { return 9 * m_step; }
    int LabelValue(int k) const { return Top() - k * m_step; }
    // Pixels from the top of the charting area to the top of a bar, the value cut at the top.
    double BarTopY(double value) const;
    // Where the target line goes; false when the target is outside the axis.
    bool TargetY(double target, double& y) const;

private:
    int m_step;
};

enum class EBarColour { DarkBlue, DarkRed };
// Dark red for a value over its day's target, unless the target is negative (none).
EBarColour BarColour(float value, float target);

} // namespace fitquill
