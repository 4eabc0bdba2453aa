// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/historic_chart.h"

#include "core/journal/chart_series.h"
#include "core/journal/journal_date.h"

#include <algorithm>
#include <cstdio>

namespace fitquill {

CHistoricChartLayout::CHistoricChartLayout(const CHistoricWeightSeries& series, double left,
                                           double top, double width, double height, double unit)
    : m_dayCount(series.DayCount()) {
    m_plotLeft = left + kLeftMargin * unit;
    m_plotTop = top;
    m_plotRight = std::max(m_plotLeft + 1, left + width);
    m_plotBottom = std::max(m_plotTop + 1, top + height - kBottomMargin * unit);

    m_canPlot = CanPlot(series);
    if (!m_canPlot)
        return;

    for (int k = 0; k < series.VerticalLabelCount(); ++k)
        m_axis.push_back(*series.VerticalLabelValue(k));
    // The labels are cut to whole numbers, which can leave the heaviest weight a fraction
    // above the top label: one more label keeps every point inside the chart.
    if (m_axis.back() < series.MaximumWeight())
        m_axis.push_back(m_axis.back() + series.ScaleStep());

    // The labels are "month/day/year" counting back from the last day of the series.
    CJournalDate end;
    int month = 0, day = 0, year = 0;
    if (series.LabelCount() > 0 && std::sscanf(series.Label(series.LabelCount() - 1).c_str(),
                                               "%d/%d/%d", &month, &day, &year) == 3)
        end = CJournalDate(day, month, year);
    for (int k = 0; k < series.LabelCount(); ++k) {
        int labelDay = -1;
        if (end.IsSet() &&
            std::sscanf(series.Label(k).c_str(), "%d/%d/%d", &month, &day, &year) == 3)
            labelDay =
                m_dayCount - 1 - (end.DayNumber() - CJournalDate(day, month, year).DayNumber());
        m_labelDays.push_back(labelDay >= 0 && labelDay < m_dayCount ? labelDay : -1);
    }
}

bool CHistoricChartLayout::CanPlot(const CHistoricWeightSeries& series) {
    int weighed = 0;
    for (int i = 0; i < series.DayCount() && weighed < 2; ++i)
        if (series.Value(i) >= 0)
            ++weighed;
    return weighed >= 2 && series.VerticalLabelCount() > 0;
}

double CHistoricChartLayout::DayX(double day) const {
    const double column = (m_plotRight - m_plotLeft) / std::max(m_dayCount, 1);
    return m_plotLeft + (day + 0.5) * column;
}

double CHistoricChartLayout::ValueY(double value) const {
    const double span = AxisTop() - AxisBottom();
    if (span <= 0)
        return m_plotBottom;
    return m_plotBottom - (value - AxisBottom()) / span * (m_plotBottom - m_plotTop);
}

} // namespace fitquill
