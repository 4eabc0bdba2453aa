// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/chart_series.h"
#include "core/report/chart_scales.h"

#include <QDialog>

class QComboBox;
class QLabel;

namespace fitquill {

class CChartArea;
class CDietData;
class CMonthCalendar;

// "History Chart": the weight of a week or month as a line or points ("Weight Chart"), or one
// nutrient's daily totals against their targets ("Histogram"). The duration, style and
// nutrient chosen are kept in the document's chart settings until the program ends.
class CHistoryChartDialog : public QDialog {
    Q_OBJECT

public:
    enum EMode { kWeightChart, kHistogram };

    CHistoryChartDialog(CDietData& data, EMode mode, QWidget* parent = nullptr);

    EMode Mode() const { return m_mode; }
    CMonthCalendar* Calendar() const { return m_calendar; }
    QComboBox* ChartList() const { return m_chart; }
    QComboBox* DurationList() const { return m_duration; }
    // "Style:" in weight chart mode, "Scale:" in histogram mode.
    QComboBox* StyleList() const { return m_style; }
    QLabel* PeriodLabel() const { return m_period; }
    CChartArea* Area() const { return m_area; }
    const CPeriodSeries& Series() const { return m_series; }
    const CHistogramScale& Scale() const { return m_scale; }

    // Shows the week or month of `date`, as a click in the calendar does.
    void ShowDate(const CJournalDate& date);

private:
    // Fetches the series for the date and duration; a new nutrient also takes a new step.
    void Reload(bool newStep);
    void PaintChart(class QPainter& painter, const QRect& rect);

    CDietData& m_data;
    EMode m_mode;
    CJournalDate m_date;
    CPeriodSeries m_series;
    CHistogramScale m_scale;
    CMonthCalendar* m_calendar = nullptr;
    QComboBox* m_chart = nullptr;
    QComboBox* m_duration = nullptr;
    QComboBox* m_style = nullptr;
    QLabel* m_period = nullptr;
    CChartArea* m_area = nullptr;
};

} // namespace fitquill
