// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/journal/meal_log_renderer.h"

#include "core/calc/diet_plan.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/stored_text.h"
#include "desktop/widgets/fonts.h"

#include <QFontMetrics>
#include <QPainter>

namespace fitquill {
namespace {

QString Text(const SMealLogRow& row, int line, int cell) {
    return FromStored(row.Cell(line, cell));
}

QFont BoldOf(QFont font) {
    font.setWeight(QFont::Bold);
    return font;
}

// The printed log's columns: the first cell takes the name's width, the others share the rest.
int PrintedCellLeft(int width, int cell) {
    if (cell == 0)
        return 0;
    const int first = width * 3 / 10;
    return first + (cell - 1) * (width - first) / (SMealLogRow::kCells - 3);
}

bool IsPrintedBold(EMealLogRowKind kind) {
    return kind == EMealLogRowKind::SectionHeading || kind == EMealLogRowKind::MealHeading;
}

} // namespace

CMealLogRenderer::CMealLogRenderer(CDietData& data) : m_data(data) {}

int CMealLogRenderer::ScreenRowHeight(const QFont& font) {
    return 2 * QFontMetrics(font).height() + kRowMargin;
}

void CMealLogRenderer::DrawScreenRow(QPainter& painter, const QRect& rect, const SMealLogRow& row,
                                     int nutrientToggle) {
    const QFont regular = painter.font();
    const QFont bold = BoldOf(regular);
    const int lineHeight = QFontMetrics(regular).height();
    const int left = rect.left() + 2 + (row.kind == EMealLogRowKind::FoodEntry ? kEntryIndent : 0);
    const QRect first(left, rect.top() + 1, rect.right() - left, lineHeight);
    const QRect second = first.translated(0, lineHeight);
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;

    painter.setFont(row.kind == EMealLogRowKind::MealHeading ? bold : regular);
    painter.drawText(first, flags, Text(row, 0, 0));

    const bool totals = row.kind == EMealLogRowKind::FoodTotals;
    painter.setFont(totals ? bold : regular);
    painter.drawText(second, flags, Text(row, 1, 0));
    const int firstNutrient = nutrientToggle == 0 ? 1 : 4;
    const int shift = totals ? kTotalsShift : 0;
    for (int i = 0; i < 4; ++i) {
        const int cell = i < 3 ? firstNutrient + i : 7;
        const QRect area = second.adjusted((i + 1) * kNutrientStep + shift, 0, 0, 0);
        if (area.width() > 0)
            painter.drawText(area, flags, Text(row, 1, cell));
    }
    painter.setFont(regular);
}

QString CMealLogRenderer::ScreenRowText(const SMealLogRow& row, int nutrientToggle) {
    QStringList texts{Text(row, 0, 0), Text(row, 1, 0)};
    const int firstNutrient = nutrientToggle == 0 ? 1 : 4;
    for (int i = 0; i < 4; ++i)
        texts.append(Text(row, 1, i < 3 ? firstNutrient + i : 7));
    QStringList shown;
    for (const QString& text : texts)
        if (!text.trimmed().isEmpty())
            shown.append(text.simplified());
    return shown.join(QStringLiteral(", "));
}

void CMealLogRenderer::DrawHintRow(QPainter& painter, const QRect& rect) {
    const QString hint = QString::fromLatin1(kToolbarHint);
    const QRect area = rect.adjusted(2, 0, -4, 0);
    if (QFontMetrics(painter.font()).horizontalAdvance(hint) <= area.width())
        painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, hint);
}

CDayRecord* CMealLogRenderer::DayOf(const SReportScope& scope) {
    CJournalDB& journal = m_data.Journal();
    const int position = journal.FindDay(scope.day);
    return position < 0 ? nullptr : &journal.Day(position);
}

int CMealLogRenderer::UnitCount(const SReportScope& scope) {
    return m_rows.RowCount(DayOf(scope), m_data.SortMode());
}

int CMealLogRenderer::UnitHeight(QPainter& painter, const SReportScope&, int, int) {
    // Every printed row is three lines, so a page holds a third of its lines in rows.
    return SMealLogRow::kLines * QFontMetrics(CustomFont(), painter.device()).height();
}

void CMealLogRenderer::Draw(QPainter& painter, const QRect& rect, const SReportScope& scope,
                            int first, int last) {
    CDayRecord* day = DayOf(scope);
    // The targets belong to the day the document shows; another day's need its own allowance.
    SNutrientTargets targets;
    if (scope.day == m_data.Journal().CurrentDate())
        targets = AllNutrientTargets(m_data.Journal());
    else
        targets = AllNutrientTargets(m_data.Journal().Profile(), std::nullopt);

    const QFont regular(CustomFont(), painter.device());
    const QFont bold = BoldOf(regular);
    const int lineHeight = QFontMetrics(regular).height();
    const int count = m_rows.RowCount(day, m_data.SortMode());
    int top = rect.top();
    painter.save();
    for (int unit = std::max(0, first); unit <= last && unit < count; ++unit) {
        const SMealLogRow row = m_rows.Row(day, m_data.SortMode(), unit, targets);
        painter.setFont(IsPrintedBold(row.kind) ? bold : regular);
        for (int line = 0; line < SMealLogRow::kLines; ++line) {
            for (int cell = 0; cell < SMealLogRow::kCells; ++cell) {
                const QString text = Text(row, line, cell);
                if (text.isEmpty())
                    continue;
                const int left = rect.left() + PrintedCellLeft(rect.width(), cell);
                const int right = cell + 1 < SMealLogRow::kCells
                                      ? rect.left() + PrintedCellLeft(rect.width(), cell + 1)
                                      : rect.right();
                // A name may run on into the empty cells after it.
                const int end = (cell == 0 && Text(row, line, 1).isEmpty()) ? rect.right() : right;
                painter.drawText(QRect(left, top + line * lineHeight, end - left, lineHeight),
                                 Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
            }
        }
        top += SMealLogRow::kLines * lineHeight;
    }
    painter.restore();
}

} // namespace fitquill
