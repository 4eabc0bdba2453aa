// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/chart_series.h"
#include "core/report/weight_trend.h"
#include "desktop/views/charts/chart_painting.h"
#include "desktop/views/report_renderer.h"

#include <QPen>
#include <QString>

#include <optional>

namespace fitquill {

class CJournalDB;

// The historic weight chart, on screen and on paper. Prepare() reads the journal, Paint()
// draws what was prepared, so that a window repaints without reading the journal again.
class CHistoricWeightRenderer : public IReportRenderer {
public:
    explicit CHistoricWeightRenderer(CDietData& data) : m_data(&data) {}
    // Without a document (benchmarks, tools): the journal and colours given.
    CHistoricWeightRenderer(CJournalDB& journal, const SChartColours& colours)
        : m_journal(&journal), m_colours(colours) {}

    // The series of rangeType 0-6 ending at `end`, with the weight trend when asked.
    void Prepare(int rangeType, const CJournalDate& end, bool trend);
    void Paint(QPainter& painter, const QRect& rect);

    const CHistoricWeightSeries& Series() const { return m_series; }
    // The trend statement shown under the chart; empty without the trend.
    const QString& TrendText() const { return m_trendText; }

    // The chart's line and dotted-line pens: on paper 2 units wide and dashed 5 units on, 5
    // off; on screen 1 pixel and dotted. unit is device pixels per screen pixel.
    struct SPens {
        QPen line;
        QPen dotted;
    };
    static SPens Pens(bool paper, double unit, const QColor& colour);

    // The smallest range that covers start..end, ending at end.
    static int RangeTypeCovering(const CJournalDate& start, const CJournalDate& end);

    // The printed report: one chart over the scope's range, with the trend as last chosen.
    int UnitCount(const SReportScope& scope) override;
    int UnitHeight(QPainter& painter, const SReportScope& scope, int unit, int width) override;
    void Draw(QPainter& painter, const QRect& rect, const SReportScope& scope, int first,
              int last) override;

private:
    CJournalDB& Journal();
    SChartColours Colours() const;

    CDietData* m_data = nullptr;
    CJournalDB* m_journal = nullptr;
    SChartColours m_colours;
    CHistoricWeightSeries m_series;
    std::optional<CWeightTrend> m_trend;
    QString m_trendText;
    double m_startWeight = -1;
    double m_goalWeight = -1;
};

} // namespace fitquill
