// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/report/table_report.h"
#include "desktop/views/report_renderer.h"

#include <string>
#include <vector>

namespace fitquill {

// The rows of the summary table or the nutrient tables: the texts that the screen grids show
// and, for the summary table, the printed rows of the print range. Row 0 is the headings.
class CTableRenderer : public IReportRenderer {
public:
    enum class EKind { Summary, Nutrient };

    static constexpr int kNumberColumnWidth = 25;
    static constexpr int kColumnWidth = 56; // the other columns, in screen pixels
    static constexpr int kCellPadding = 3;

    CTableRenderer(CDietData& data, EKind kind);

    // The sort direction that both tables share while the program runs (it is not saved):
    // newest day first when on.
    static bool NewestFirst();
    static void SetNewestFirst(bool on);

    EKind Kind() const { return m_kind; }
    int ColumnCount() const;
    static int ColumnWidth(int column);

    // The texts of a screen row over all days, in the document's sort direction. The
    // journal's position moves: callers keep the current day (CKeepCurrentDay).
    std::vector<std::string> RowTexts(const STableRange& range, int row);

    int UnitCount(const SReportScope& scope) override;
    int UnitHeight(QPainter& painter, const SReportScope& scope, int unit, int width) override;
    void Draw(QPainter& painter, const QRect& rect, const SReportScope& scope, int first,
              int last) override;

private:
    CDietData& m_data;
    EKind m_kind;
};

} // namespace fitquill
