// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/table_renderer.h"

#include "desktop/document/diet_data.h"
#include "desktop/document/stored_text.h"
#include "desktop/views/section_renderer.h"
#include "desktop/widgets/fonts.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace fitquill {

namespace {

constexpr int kScreenDpi = 96;

bool g_newestFirst = false;

double ScaleOf(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    return device && device->logicalDpiX() > 0 ? device->logicalDpiX() / double(kScreenDpi) : 1.0;
}

int Scaled(int pixels, double scale) {
    return static_cast<int>(std::lround(pixels * scale));
}

} // namespace

bool CTableRenderer::NewestFirst() {
    return g_newestFirst;
}

void CTableRenderer::SetNewestFirst(bool on) {
    g_newestFirst = on;
}

CTableRenderer::CTableRenderer(CDietData& data, EKind kind) : m_data(data), m_kind(kind) {}

int CTableRenderer::ColumnCount() const {
    return m_kind == EKind::Summary ? kSummaryColumnCount : kNutrientColumnCount;
}

int CTableRenderer::ColumnWidth(int column) {
    return column == 0 ? kNumberColumnWidth : kColumnWidth;
}

std::vector<std::string> CTableRenderer::RowTexts(const STableRange& range, int row) {
    CJournalDB& journal = m_data.Journal();
    const bool newestFirst = g_newestFirst;
    if (m_kind == EKind::Summary)
        return SummaryRowTexts(journal, range, row, newestFirst);
    return NutrientRowTexts(journal, range, row, newestFirst, m_data.NutrientTable());
}

int CTableRenderer::UnitCount(const SReportScope& scope) {
    const STableRange range = DateRange(m_data.Journal(), scope.start, scope.end);
    return range.count == 0 ? 0 : range.count + 1;
}

int CTableRenderer::UnitHeight(QPainter& painter, const SReportScope&, int, int) {
    const QFontMetrics metrics(QFont(CustomFont(), painter.device()), painter.device());
    return metrics.height() + 2 * Scaled(kCellPadding, ScaleOf(painter));
}

void CTableRenderer::Draw(QPainter& painter, const QRect& rect, const SReportScope& scope,
                          int first, int last) {
    CJournalDB& journal = m_data.Journal();
    CKeepCurrentDay keep(journal);
    const STableRange range = DateRange(journal, scope.start, scope.end);
    const double scale = ScaleOf(painter);
    const int rowHeight = UnitHeight(painter, scope, 0, rect.width());
    const int padding = Scaled(kCellPadding, scale);
    const QColor color =
        PaintsOnPaper(painter.device()) ? QColor(Qt::black) : m_data.GetTextColor();

    painter.save();
    painter.setFont(QFont(CustomFont(), painter.device()));
    painter.setPen(QPen(color, 1));
    painter.setBackgroundMode(Qt::TransparentMode);
    int top = rect.top();
    for (int row = std::max(first, 0); row <= last; ++row, top += rowHeight) {
        const std::vector<std::string> texts = RowTexts(range, row);
        int left = rect.left();
        for (int column = 0; column < ColumnCount(); ++column) {
            const int width = Scaled(ColumnWidth(column), scale);
            const QRect cell(left, top, width, rowHeight);
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
            painter.drawText(cell.adjusted(padding, 0, -padding, 0),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             FromStored(texts[static_cast<size_t>(column)]));
            left += width;
        }
    }
    painter.restore();
}

} // namespace fitquill
