// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QWidget>

#include <functional>
#include <optional>

class QPainter;

namespace fitquill {

class CHistogramScale;
class CPeriodSeries;
class CWeightForHeightChart;

// The colours of a chart: the user's text and background colours.
struct SChartColours {
    QColor text{0, 0, 0};
    QColor back{255, 255, 255};
};

inline const QColor kDarkRed(128, 0, 0);
inline const QColor kDarkBlue(0, 0, 128);

enum EWeightChartStyle { kStyleLine = 0, kStylePoint = 1 };

// The text shown instead of the weekly or monthly weight chart (too few weights for the
// style, or a span too large to chart); null when the series can be charted.
const char* PeriodWeightChartMessage(const CPeriodSeries& series, int style);
// The weekly or monthly weight chart of a weight series, or its message.
void DrawPeriodWeightChart(QPainter& painter, const QRect& area, const CPeriodSeries& series,
                           int style, const SChartColours& colours);
// The nutrient histogram of a series against its daily targets.
void DrawHistogram(QPainter& painter, const QRect& area, const CPeriodSeries& series,
                   const CHistogramScale& scale, const SChartColours& colours);
// The weight-for-height zones with markers for the day's weight and the goal weight, all in
// the chart's unit system.
void DrawWeightForHeight(QPainter& painter, const QRect& area, const CWeightForHeightChart& chart,
                         double height, double weight, double goal, const SChartColours& colours);

// Where a height and weight lie in the weight-for-height picture drawn in area; weights
// outside the chart's range sit on its edge.
QPointF WeightForHeightPoint(const QRect& area, const CWeightForHeightChart& chart, double height,
                             double weight);

// A text framed by a rectangle, wrapped and centred in area.
void DrawFramedText(QPainter& painter, const QRect& area, const QString& text, int margin);

// A widget that paints itself with a function: the charting area of the chart dialogs.
class CChartArea : public QWidget {
    Q_OBJECT

public:
    using Painter = std::function<void(QPainter&, const QRect&)>;
    // A fixed size, or with resizable set a preferred size that may grow or shrink to half.
    CChartArea(QSize size, Painter paint, QWidget* parent = nullptr, bool resizable = false);
    QSize sizeHint() const override { return m_size; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize m_size;
    Painter m_paint;
};

} // namespace fitquill
