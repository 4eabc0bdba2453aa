// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/report/meal_log_rows.h"
#include "desktop/views/report_renderer.h"

#include <QColor>
#include <QFont>

class QPainter;
class QRect;

namespace fitquill {

// Draws the rows of the meal log: two text lines per row in the grid of the Meal Log page, and
// the three lines per row of the printed meal and exercise log. Both take their texts from
// CMealLogRowRenderer.
class CMealLogRenderer : public IReportRenderer {
public:
    static constexpr int kEntryIndent = 20;  // food entries' names
    static constexpr int kNutrientStep = 80; // between the second line's cells
    static constexpr int kTotalsShift = 20;  // the totals row's nutrient cells
    static constexpr int kRowMargin = 4;     // below the two lines of a grid row
    static constexpr const char* kToolbarHint = "Use the toolbar to toggle nutrient values.";

    explicit CMealLogRenderer(CDietData& data);

    // The grid's row height for the screen font: two lines and the margin.
    static int ScreenRowHeight(const QFont& font);
    // One grid row of the screen variant in rect; nutrientToggle 0 shows calories,
    // carbohydrate and protein, 1 fiber, fat and saturated fat.
    static void DrawScreenRow(QPainter& painter, const QRect& rect, const SMealLogRow& row,
                              int nutrientToggle);
    // What DrawScreenRow draws, for assistive technology: its texts in drawing order, the
    // empty ones left out, joined by commas ("Apple, 1.00 each, 72 Cal, ...").
    static QString ScreenRowText(const SMealLogRow& row, int nutrientToggle);
    // Row 0 of the grid: the toolbar hint, right-aligned, when it fits.
    static void DrawHintRow(QPainter& painter, const QRect& rect);

    // The printed log: one unit per row of the full renderer.
    int UnitCount(const SReportScope& scope) override;
    int UnitHeight(QPainter& painter, const SReportScope& scope, int unit, int width) override;
    void Draw(QPainter& painter, const QRect& rect, const SReportScope& scope, int first,
              int last) override;

private:
    CDayRecord* DayOf(const SReportScope& scope);

    CDietData& m_data;
    CMealLogRowRenderer m_rows{true};
};

} // namespace fitquill
