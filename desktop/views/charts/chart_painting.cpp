// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/charts/chart_painting.h"

#include "core/journal/chart_series.h"
#include "core/report/chart_scales.h"
#include "core/report/weight_for_height.h"
#include "desktop/document/stored_text.h"
#include "desktop/widgets/fonts.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace fitquill {
namespace {

// Room left of the axis for the labels and below it for the day labels.
constexpr int kLabelColumn = 45;
constexpr int kDayLabelHeight = 16;
// The first day's column sits this far right of the axis.
constexpr int kFirstDayOffset = 15;
constexpr int kCrossSize = 3;
constexpr int kWeekBarWidth = 20;
constexpr int kMonthBarWidth = 4;

// The zones' rectangle: room for the weight labels left and the legend below.
QRectF WeightForHeightPlot(const QRect& area) {
    return QRectF(area.left() + 45, area.top() + 10, area.width() - 60, area.height() - 100);
}

void Prepare(QPainter& painter, const QRect& area, const SChartColours& colours) {
    painter.fillRect(area, colours.back);
    painter.setFont(CustomFont());
    painter.setPen(colours.text);
}

void DrawCentredText(QPainter& painter, const QRect& area, const char* text) {
    painter.drawText(area.adjusted(10, 10, -10, -10), Qt::AlignCenter | Qt::TextWordWrap,
                     QString::fromLatin1(text));
}

// The vertical labels at the given heights, right-aligned against the axis.
void DrawAxisLabel(QPainter& painter, const QRect& area, double y, int value) {
    const QRect box(area.left(), static_cast<int>(std::lround(y)) - 8, kLabelColumn - 6, 16);
    painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, QString::number(value));
}

void DrawDayLabels(QPainter& painter, const QRect& area, const CPeriodSeries& series, int baseline,
                   int barWidth) {
    const bool month = series.MonthFlag() != 0;
    const int spacing = DaySpacing(month);
    for (const SDayLabel& label : PeriodDayLabels(month, series.DayCount())) {
        const int x =
            area.left() + kLabelColumn + kFirstDayOffset + label.day * spacing + barWidth / 2;
        painter.drawText(QRect(x - 15, baseline + 3, 30, kDayLabelHeight),
                         Qt::AlignHCenter | Qt::AlignTop, FromStored(label.text));
    }
}

} // namespace

const char* PeriodWeightChartMessage(const CPeriodSeries& series, int style) {
    const bool line = style == kStyleLine;
    if (series.ValuedDayCount() < (line ? 2 : 1))
        return line ? kLineNeedsTwoText : kPointNeedsOneText;
    if (!CWeightChartScale(series.Maximum(), series.Minimum()).HasScale())
        return kLargeDeltaText;
    return nullptr;
}

void DrawPeriodWeightChart(QPainter& painter, const QRect& area, const CPeriodSeries& series,
                           int style, const SChartColours& colours) {
    painter.save();
    Prepare(painter, area, colours);
    if (const char* message = PeriodWeightChartMessage(series, style)) {
        DrawCentredText(painter, area, message);
        painter.restore();
        return;
    }
    const bool line = style == kStyleLine;
    const CWeightChartScale scale(series.Maximum(), series.Minimum());

    const int axisX = area.left() + kLabelColumn;
    const double firstY = area.top() + CWeightChartScale::kTopMargin;
    const int baseline = area.top() + CWeightChartScale::kTopMargin +
                         (CWeightChartScale::kLabelCount - 1) * kChartLabelSpacing;
    for (int k = 0; k < CWeightChartScale::kLabelCount; ++k) {
        const double y = firstY + k * kChartLabelSpacing;
        DrawAxisLabel(painter, area, y, scale.LabelValue(k));
        painter.drawLine(QPointF(axisX - 3, y), QPointF(axisX, y));
    }
    painter.drawLine(axisX, static_cast<int>(firstY), axisX, baseline);
    painter.drawLine(axisX, baseline, area.right() - 5, baseline);
    DrawDayLabels(painter, area, series, baseline, 0);

    const int spacing = DaySpacing(series.MonthFlag() != 0);
    painter.setRenderHint(QPainter::Antialiasing, true);
    std::optional<QPointF> previous;
    for (int day = 0; day < series.DayCount(); ++day) {
        const float value = series.Value(day);
        if (value < 0)
            continue;
        const QPointF point(axisX + kFirstDayOffset + day * spacing,
                            area.top() + scale.ValueY(value));
        if (line) {
            if (previous)
                painter.drawLine(*previous, point);
            previous = point;
        } else {
            painter.drawLine(point + QPointF(-kCrossSize, -kCrossSize),
                             point + QPointF(kCrossSize, kCrossSize));
            painter.drawLine(point + QPointF(-kCrossSize, kCrossSize),
                             point + QPointF(kCrossSize, -kCrossSize));
        }
    }
    painter.restore();
}

void DrawHistogram(QPainter& painter, const QRect& area, const CPeriodSeries& series,
                   const CHistogramScale& scale, const SChartColours& colours) {
    painter.save();
    Prepare(painter, area, colours);
    const int axisX = area.left() + kLabelColumn;
    const int firstY = area.top() + CHistogramScale::kBarTopMargin;
    const int baseline = firstY + CHistogramScale::kLabelCount * kChartLabelSpacing;
    for (int k = 0; k < CHistogramScale::kLabelCount; ++k) {
        const int y = firstY + k * kChartLabelSpacing;
        DrawAxisLabel(painter, area, y, scale.LabelValue(k));
        painter.drawLine(axisX - 3, y, axisX, y);
    }
    painter.drawLine(axisX, firstY, axisX, baseline);
    painter.drawLine(axisX, baseline, area.right() - 5, baseline);
    const bool month = series.MonthFlag() != 0;
    const int barWidth = month ? kMonthBarWidth : kWeekBarWidth;
    DrawDayLabels(painter, area, series, baseline, barWidth);

    const int spacing = DaySpacing(month);
    QPen targetPen(colours.text, 1, Qt::DotLine);
    for (int day = 0; day < series.DayCount(); ++day) {
        const float value = series.Value(day);
        if (value < 0)
            continue;
        const int left = axisX + kFirstDayOffset + day * spacing;
        const int top = area.top() + static_cast<int>(std::lround(scale.BarTopY(value)));
        const float target = series.Target(day);
        const QColor colour =
            BarColour(value, target) == EBarColour::DarkRed ? kDarkRed : kDarkBlue;
        painter.fillRect(QRect(left, top, barWidth, baseline - top), colour);
        double targetY = 0;
        if (scale.TargetY(target, targetY)) {
            painter.setPen(targetPen);
            const int y = area.top() + static_cast<int>(std::lround(targetY));
            painter.drawLine(left - 2, y, left + barWidth + 1, y);
            painter.setPen(colours.text);
        }
    }
    painter.restore();
}

void DrawWeightForHeight(QPainter& painter, const QRect& area, const CWeightForHeightChart& chart,
                         double height, double weight, double goal, const SChartColours& colours) {
    static const QColor kZoneColours[CWeightForHeightChart::kZoneCount] = {
        QColor(150, 190, 240), QColor(150, 220, 150), QColor(250, 220, 110), QColor(240, 140, 130)};
    painter.save();
    Prepare(painter, area, colours);
    const QRectF plot = WeightForHeightPlot(area);
    auto toPoint = [&](double h, double w) { return WeightForHeightPoint(area, chart, h, w); };

    // Each zone lies between two curves of equal body-mass index, cut to the plot.
    constexpr int kSamples = 48;
    for (int zone = 0; zone < CWeightForHeightChart::kZoneCount; ++zone) {
        QPolygonF shape;
        for (int i = 0; i <= kSamples; ++i) {
            const double h =
                chart.MinHeight() + (chart.MaxHeight() - chart.MinHeight()) * i / kSamples;
            const double w =
                zone == 0
                    ? chart.MinWeight()
                    : chart.WeightAtIndex(
                          CWeightForHeightChart::kBoundaries[static_cast<size_t>(zone - 1)], h);
            shape << toPoint(h, w);
        }
        for (int i = kSamples; i >= 0; --i) {
            const double h =
                chart.MinHeight() + (chart.MaxHeight() - chart.MinHeight()) * i / kSamples;
            const double w =
                zone == CWeightForHeightChart::kZoneCount - 1
                    ? chart.MaxWeight()
                    : chart.WeightAtIndex(
                          CWeightForHeightChart::kBoundaries[static_cast<size_t>(zone)], h);
            shape << toPoint(h, w);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(kZoneColours[zone]);
        painter.drawPolygon(shape);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(colours.text);
    painter.drawRect(plot);

    // Axis labels: weights up the left, heights along the bottom.
    for (double w = chart.MinWeight(); w <= chart.MaxWeight() + 0.01; w += chart.WeightStep()) {
        const QPointF at = toPoint(chart.MinHeight(), w);
        painter.drawText(QRectF(area.left(), at.y() - 8, 40, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(w));
    }
    // A narrow pane leaves out the labels that would touch the one before.
    double labelsEnd = area.left();
    for (double h = chart.MinHeight(); h <= chart.MaxHeight() + 0.01; h += chart.HeightStep()) {
        const QPointF at = toPoint(h, chart.MinWeight());
        QString text = QString::number(h);
        if (!chart.IsMetric())
            text = QStringLiteral("%1'%2\"")
                       .arg(static_cast<int>(h) / 12)
                       .arg(static_cast<int>(h) % 12);
        const double width = painter.fontMetrics().horizontalAdvance(text);
        if (at.x() - width / 2 < labelsEnd + 4)
            continue;
        painter.drawText(QRectF(at.x() - width / 2, plot.bottom() + 2, width, 16), Qt::AlignCenter,
                         text);
        labelsEnd = at.x() + width / 2;
    }
    painter.drawText(QRectF(plot.left(), plot.bottom() + 16, plot.width(), 16), Qt::AlignCenter,
                     chart.IsMetric() ? QStringLiteral("Height (cm), weight (kg)")
                                      : QStringLiteral("Height (ft'in\"), weight (lbs)"));

    // The legend in two columns: the zones two by two, then the two markers.
    const int legendY = static_cast<int>(plot.bottom()) + 34;
    const int column = area.width() / 2;
    for (int zone = 0; zone < CWeightForHeightChart::kZoneCount; ++zone) {
        const int x = area.left() + 10 + (zone % 2) * column;
        const int y = legendY + (zone / 2) * 16;
        painter.fillRect(QRect(x, y + 3, 10, 10), kZoneColours[zone]);
        painter.drawRect(QRect(x, y + 3, 10, 10));
        painter.drawText(QRect(x + 13, y, column - 25, 16), Qt::AlignLeft | Qt::AlignVCenter,
                         QString::fromLatin1(CWeightForHeightChart::ZoneLabel(zone)));
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    auto weightMarker = [&](QPointF at) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::black);
        painter.drawEllipse(at, 4, 4);
    };
    auto goalMarker = [&](QPointF at) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::white);
        painter.drawPolygon(QPolygonF(
            {at + QPointF(0, -6), at + QPointF(6, 0), at + QPointF(0, 6), at + QPointF(-6, 0)}));
    };
    const int markerY = legendY + 34;
    weightMarker(QPointF(area.left() + 15, markerY + 8));
    painter.setPen(colours.text);
    painter.drawText(QRect(area.left() + 24, markerY, 100, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Current weight"));
    goalMarker(QPointF(area.left() + 15 + column, markerY + 8));
    painter.setPen(colours.text);
    painter.drawText(QRect(area.left() + 24 + column, markerY, 100, 16),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Goal weight"));

    goalMarker(toPoint(height, goal));
    weightMarker(toPoint(height, weight));
    painter.restore();
}

QPointF WeightForHeightPoint(const QRect& area, const CWeightForHeightChart& chart, double height,
                             double weight) {
    const QRectF plot = WeightForHeightPlot(area);
    const double h = std::clamp(height, chart.MinHeight(), chart.MaxHeight());
    const double w = std::clamp(weight, chart.MinWeight(), chart.MaxWeight());
    return QPointF(plot.left() + (h - chart.MinHeight()) / (chart.MaxHeight() - chart.MinHeight()) *
                                     plot.width(),
                   plot.bottom() - (w - chart.MinWeight()) /
                                       (chart.MaxWeight() - chart.MinWeight()) * plot.height());
}

void DrawFramedText(QPainter& painter, const QRect& area, const QString& text, int margin) {
    const QRect frame = area.adjusted(margin, margin, -margin, -margin);
    painter.drawRect(frame);
    painter.drawText(frame.adjusted(margin, margin, -margin, -margin),
                     Qt::AlignCenter | Qt::TextWordWrap, text);
}

CChartArea::CChartArea(QSize size, Painter paint, QWidget* parent, bool resizable)
    : QWidget(parent), m_size(size), m_paint(std::move(paint)) {
    if (resizable) {
        setMinimumSize(size / 2);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    } else {
        setFixedSize(size);
    }
}

void CChartArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_paint(painter, rect());
}

} // namespace fitquill
