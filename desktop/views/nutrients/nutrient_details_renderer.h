// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/report/nutrient_details.h"
#include "desktop/views/report_renderer.h"

#include <QColor>
#include <QString>

class QPaintDevice;

namespace fitquill {

// The Nutrient Details report of the scope's range (start..end): the period and reference
// lines, one row per nutrient with its share drawn as a bar (in the warning colour above the
// upper limit), the energy split and the top foods of one nutrient. Every row is one line, so
// the window and the printed pages lay it out alike; the texts come from core.
class CNutrientDetailsRenderer : public IReportRenderer {
public:
    // Layout in screen pixels, scaled to the painter's device.
    static constexpr int kLeft = 13;
    static constexpr int kNameWidth = 96;
    static constexpr int kAmountWidth = 56;
    static constexpr int kUnitWidth = 40;
    static constexpr int kReferenceWidth = 64;
    static constexpr int kShareWidth = 46;
    static constexpr int kBarWidth = 110;
    static constexpr int kUpperWidth = 76;
    static constexpr int kGap = 8;
    static constexpr int kRowGap = 4;
    static constexpr int kWidth = kLeft + kNameWidth + kAmountWidth + kUnitWidth + kReferenceWidth +
                                  kShareWidth + kBarWidth + kUpperWidth + 6 * kGap;

    explicit CNutrientDetailsRenderer(CDietData& data);

    // The nutrient whose top foods are listed (calories at first).
    int TopFoodsNutrient() const { return m_topNutrient; }
    void SetTopFoodsNutrient(int nutrient);

    int UnitCount(const SReportScope& scope) override;
    int UnitHeight(QPainter& painter, const SReportScope& scope, int unit, int width) override;
    void Draw(QPainter& painter, const QRect& rect, const SReportScope& scope, int first,
              int last) override;

    // Every line's height on a device: the font's height and the row gap.
    static int LineHeight(const QPaintDevice* device);
    // The colour of amounts above the upper limit.
    static QColor WarningColor() { return QColor(192, 0, 0); }

private:
    struct SUnit;
    struct SContent;
    // The report's lines for the scope, built anew: the journal may have changed.
    SContent Content(const SReportScope& scope) const;

    CDietData& m_data;
    int m_topNutrient = kNutrientCalories;
};

} // namespace fitquill
