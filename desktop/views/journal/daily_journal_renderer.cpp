// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/journal/daily_journal_renderer.h"

#include "desktop/document/diet_data.h"
#include "desktop/document/stored_text.h"
#include "desktop/widgets/fonts.h"

#include <QFontMetrics>
#include <QPainter>

namespace fitquill {

CDailyJournalRenderer::CDailyJournalRenderer(CDietData& data) : m_data(data) {}

QStringList CDailyJournalRenderer::WrapLines(const QString& text, const QFont& font,
                                             QPaintDevice* device, int width) {
    const QFontMetrics metrics(font, device);
    QStringList lines;
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (const QString& paragraph : normalized.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '))) {
            const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (metrics.horizontalAdvance(candidate) <= width || width <= 0) {
                line = candidate;
                continue;
            }
            if (!line.isEmpty())
                lines.append(line);
            line = word;
            // A single word wider than the line is cut into pieces that fit.
            while (line.size() > 1 && metrics.horizontalAdvance(line) > width) {
                int fit = line.size() - 1;
                while (fit > 1 && metrics.horizontalAdvance(line.left(fit)) > width)
                    --fit;
                lines.append(line.left(fit));
                line = line.mid(fit);
            }
        }
        lines.append(line);
    }
    return lines;
}

QStringList CDailyJournalRenderer::NoteLines(const SReportScope& scope) const {
    const CJournalDB& journal = m_data.Journal();
    const int position = journal.FindDay(scope.day);
    if (position < 0 || journal.Day(position).Note().empty())
        return {};
    return FromStored(journal.Day(position).Note()).split(QLatin1Char('\n'));
}

int CDailyJournalRenderer::UnitCount(const SReportScope& scope) {
    return static_cast<int>(NoteLines(scope).size());
}

int CDailyJournalRenderer::UnitHeight(QPainter& painter, const SReportScope& scope, int unit,
                                      int width) {
    const QStringList lines = NoteLines(scope);
    if (unit < 0 || unit >= lines.size())
        return 0;
    const QFont font(CustomFont(), painter.device());
    const auto wrapped = WrapLines(lines[unit], font, painter.device(), width).size();
    return static_cast<int>(wrapped) * QFontMetrics(font).height();
}

void CDailyJournalRenderer::Draw(QPainter& painter, const QRect& rect, const SReportScope& scope,
                                 int first, int last) {
    const QFont font(CustomFont(), painter.device());
    const QStringList lines = NoteLines(scope);
    const int lineHeight = QFontMetrics(font).height();
    painter.save();
    painter.setFont(font);
    int top = rect.top();
    for (int unit = std::max(0, first); unit <= last && unit < lines.size(); ++unit) {
        for (const QString& line : WrapLines(lines[unit], font, painter.device(), rect.width())) {
            painter.drawText(QRect(rect.left(), top, rect.width(), lineHeight),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
            top += lineHeight;
        }
    }
    painter.restore();
}

} // namespace fitquill
