// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace fitquill {

class CHistoricWeightSeries;

inline constexpr char kHistoricTooFewText[] =
    "You must enter a minimum of 2 days of weight information within the range requested.  The "
    "long range historical chart plots data from the date selected and plots the previous n "
    "days.";

// The geometry of the historic weight chart, in the units of the device it is drawn on: the
// plot area leaves room on the left for the weight labels and below for the date labels.
class CHistoricChartLayout {
public:
    static constexpr int kLeftMargin = 40;
    static constexpr int kBottomMargin = 25;

    // The chart fills left, top, width x height; unit scales the margins (1 on screen).
    CHistoricChartLayout(const CHistoricWeightSeries& series, double left, double top, double width,
                         double height, double unit = 1.0);

    // Whether the series has enough weights to draw a chart at all.
    static bool CanPlot(const CHistoricWeightSeries& series);
    bool CanPlot() const { return m_canPlot; }
    double PlotLeft() const { return m_plotLeft; }
    double PlotTop() const { return m_plotTop; }
    double PlotRight() const { return m_plotRight; }
    double PlotBottom() const { return m_plotBottom; }

    // The weight labels, bottom first, one scale step apart.
    const std::vector<int>& AxisLabels() const { return m_axis; }
    double AxisBottom() const { return m_axis.empty() ? 0 : m_axis.front(); }
    double AxisTop() const { return m_axis.empty() ? 0 : m_axis.back(); }

    // Day i of the series sits in the middle of the i-th of DayCount() equal columns.
    double DayX(double day) const;
    double ValueY(double value) const;
    bool ValueInside(double value) const { return value >= AxisBottom() && value <= AxisTop(); }
    // The day index of each date label, oldest first (-1 for a label that cannot be read).
    const std::vector<int>& LabelDays() const { return m_labelDays; }

private:
    bool m_canPlot = false;
    int m_dayCount = 0;
    double m_plotLeft = 0, m_plotTop = 0, m_plotRight = 0, m_plotBottom = 0;
    std::vector<int> m_axis;
    std::vector<int> m_labelDays;
};

} // namespace fitquill
