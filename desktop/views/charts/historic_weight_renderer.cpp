// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/charts/historic_weight_renderer.h"

#include "core/report/historic_chart.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/stored_text.h"
#include "desktop/widgets/fonts.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace fitquill {
namespace {

const QColor kTrendColour(0, 128, 0);

// Where a unit of the chart (a screen pixel) is larger: printers and PDF files.
bool IsPaper(const QPainter& painter) {
    return dynamic_cast<const QPagedPaintDevice*>(painter.device()) != nullptr;
}

} // namespace

CJournalDB& CHistoricWeightRenderer::Journal() {
    return m_data ? m_data->Journal() : *m_journal;
}

SChartColours CHistoricWeightRenderer::Colours() const {
    return m_data ? SChartColours{m_data->GetTextColor(), m_data->GetBackColor()} : m_colours;
}

void CHistoricWeightRenderer::Prepare(int rangeType, const CJournalDate& end, bool trend) {
    CJournalDB& journal = Journal();
    m_series.Request(journal, rangeType, end);
    const CUserProfile& profile = journal.Profile();
    const bool metric = profile.IsMetric();
    m_startWeight = profile.StartingWeight().Get(metric).value_or(-1.0);
    m_goalWeight = profile.GoalWeight().Get(metric).value_or(-1.0);
    m_trend.reset();
    m_trendText.clear();
    if (trend) {
        m_trend = CWeightTrend::FromJournal(journal, end, m_series.DayCount());
        m_trendText = FromStored(TrendStatement(*m_trend, m_goalWeight, metric));
    }
}

void CHistoricWeightRenderer::Paint(QPainter& painter, const QRect& rect) {
    painter.save();
    const bool paper = IsPaper(painter);
    // Screen pixels per chart unit: margins and pens keep their size on a fine printer.
    const double unit = paper ? painter.device()->logicalDpiY() / 96.0 : 1.0;
    const SChartColours colours = paper ? SChartColours{} : Colours();
    if (!paper)
        painter.fillRect(rect, colours.back);
    painter.setFont(CustomFont());
    const SPens pens = Pens(paper, unit, colours.text);
    const QPen& pen = pens.line;
    const QPen& dotted = pens.dotted;
    painter.setPen(pen);

    const QFontMetrics metrics = painter.fontMetrics();
    const double pad = 10 * unit;
    QRectF chart(rect);
    chart.adjust(0, pad, -pad, 0);
    if (!CHistoricChartLayout::CanPlot(m_series)) {
        DrawFramedText(painter, rect, QString::fromLatin1(kHistoricTooFewText),
                       static_cast<int>(20 * unit));
        painter.restore();
        return;
    }
    if (!m_trendText.isEmpty()) {
        const QRect textBox = metrics.boundingRect(
            QRect(rect.left(), 0, rect.width() - static_cast<int>(2 * pad), 10000),
            Qt::TextWordWrap, m_trendText);
        const double textTop = rect.bottom() - textBox.height() - pad / 2;
        painter.drawText(
            QRectF(rect.left() + pad, textTop, rect.width() - 2 * pad, textBox.height()),
            Qt::AlignLeft | Qt::TextWordWrap, m_trendText);
        chart.setBottom(textTop - pad / 2);
    }
    const CHistoricChartLayout layout(m_series, chart.left(), chart.top(), chart.width(),
                                      chart.height(), unit);
    const QRectF plot(QPointF(layout.PlotLeft(), layout.PlotTop()),
                      QPointF(layout.PlotRight(), layout.PlotBottom()));

    painter.drawLine(plot.bottomLeft(), plot.topLeft());
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    const double labelWidth = CHistoricChartLayout::kLeftMargin * unit - 6 * unit;
    for (int value : layout.AxisLabels()) {
        const double y = layout.ValueY(value);
        painter.drawLine(QPointF(plot.left() - 3 * unit, y), QPointF(plot.left(), y));
        painter.drawText(
            QRectF(chart.left(), y - metrics.height(), labelWidth, 2 * metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, QString::number(value));
    }
    for (int k = 0; k < m_series.LabelCount(); ++k) {
        const int day = layout.LabelDays()[static_cast<size_t>(k)];
        if (day < 0)
            continue;
        const double x = layout.DayX(day);
        const QString text = FromStored(m_series.Label(k));
        const double width = metrics.horizontalAdvance(text) + 4 * unit;
        painter.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + 3 * unit));
        // The first and last labels stay inside the chart.
        const double left =
            std::clamp(x - width / 2, static_cast<double>(rect.left()), rect.right() - width);
        painter.drawText(QRectF(left, plot.bottom() + 4 * unit, width, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, text);
    }

    painter.setClipRect(plot.adjusted(-unit, -unit, unit, unit));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(dotted);
    for (double goal : {m_startWeight, m_goalWeight})
        if (goal >= 0 && layout.ValueInside(goal))
            painter.drawLine(QPointF(plot.left(), layout.ValueY(goal)),
                             QPointF(plot.right(), layout.ValueY(goal)));

    painter.setPen(pen);
    QPainterPath weights;
    bool started = false;
    for (int day = 0; day < m_series.DayCount(); ++day) {
        const float value = m_series.Value(day);
        if (value < 0)
            continue;
        const QPointF point(layout.DayX(day), layout.ValueY(value));
        if (started)
            weights.lineTo(point);
        else
            weights.moveTo(point);
        started = true;
    }
    painter.drawPath(weights);

    if (m_trend) {
        QPen trendPen = pen;
        trendPen.setColor(kTrendColour);
        trendPen.setWidthF(pen.widthF() * 2);
        painter.setPen(trendPen);
        // The trend is smooth: one point per unit across is all a wide pen can show, and
        // years of days would otherwise cost the stroker most of the drawing time.
        QPolygonF trend;
        const auto& values = m_trend->Values();
        for (size_t day = 0; day < values.size(); ++day) {
            if (!values[day])
                continue;
            const QPointF point(layout.DayX(static_cast<double>(day)), layout.ValueY(*values[day]));
            if (trend.size() > 1 && point.x() - trend[trend.size() - 2].x() < unit)
                trend.back() = point;
            else
                trend.append(point);
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawPolyline(trend);
    }
    painter.restore();
}

CHistoricWeightRenderer::SPens CHistoricWeightRenderer::Pens(bool paper, double unit,
                                                             const QColor& colour) {
    SPens pens{QPen(colour, paper ? 2 * unit : 1, Qt::SolidLine, Qt::FlatCap), {}};
    pens.dotted = pens.line;
    if (paper)
        pens.dotted.setDashPattern({2.5, 2.5}); // in pen widths
    else
        pens.dotted.setStyle(Qt::DotLine);
    return pens;
}

int CHistoricWeightRenderer::RangeTypeCovering(const CJournalDate& start, const CJournalDate& end) {
    for (int type = 0; type < CHistoricWeightSeries::kRangeTypeCount - 1; ++type) {
        CJournalDate oldest = end;
        switch (type) {
        case 0:
        case 1:
            for (int i = 0; i < (type == 0 ? 7 : 14); ++i)
                oldest.StepDays(-1);
            break;
        default: {
            static const int kMonths[] = {0, 0, 1, 3, 6, 12};
            for (int i = 0; i < kMonths[type]; ++i)
                oldest.StepMonths(-1);
            break;
        }
        }
        if (!(start < oldest))
            return type;
    }
    return CHistoricWeightSeries::kRangeTypeCount - 1;
}

int CHistoricWeightRenderer::UnitCount(const SReportScope& scope) {
    if (!scope.end.IsSet())
        return 0;
    // One page, and only when a day of the range has a weight to draw.
    const CJournalDB& journal = Journal();
    int first = -1;
    int last = -1;
    if (!journal.RangeLookup(scope.start.IsSet() ? scope.start : scope.end, scope.end, first, last))
        return 0;
    for (int position = first; position <= last; ++position)
        if (journal.Day(position).Weight().IsSet())
            return 1;
    return 0;
}

int CHistoricWeightRenderer::UnitHeight(QPainter& painter, const SReportScope&, int, int width) {
    painter.save();
    painter.setFont(CustomFont());
    const int title = painter.fontMetrics().height() * 2;
    painter.restore();
    return title + width * 3 / 5;
}

void CHistoricWeightRenderer::Draw(QPainter& painter, const QRect& rect, const SReportScope& scope,
                                   int first, int last) {
    if (first > 0 || last < 0 || !scope.end.IsSet())
        return;
    const int type = RangeTypeCovering(scope.start, scope.end);
    Prepare(type, scope.end, m_data && m_data->ChartSettings().historicTrend);
    painter.save();
    painter.setFont(CustomFont());
    painter.setPen(IsPaper(painter) ? QColor(Qt::black) : Colours().text);
    const int title = painter.fontMetrics().height() * 2;
    painter.drawText(QRect(rect.left(), rect.top(), rect.width(), title),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromLatin1(CHistoricWeightSeries::Title(type)));
    painter.restore();
    const int height = std::min(rect.height() - title, rect.width() * 3 / 5);
    Paint(painter, QRect(rect.left(), rect.top() + title, rect.width(), height));
}

} // namespace fitquill
