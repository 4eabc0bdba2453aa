// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/section_renderer.h"

#include "core/report/table_report.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/stored_text.h"
#include "desktop/widgets/fonts.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace fitquill {

namespace {

constexpr int kScreenDpi = 96;

// Scales a length in screen pixels to the painter's device.
struct SScale {
    double factor = 1.0;
    int operator()(int pixels) const { return static_cast<int>(std::lround(pixels * factor)); }
};

SScale ScaleOf(const QPainter& painter) {
    const QPaintDevice* device = painter.device();
    if (!device || device->logicalDpiY() <= 0)
        return {};
    return {static_cast<double>(device->logicalDpiY()) / kScreenDpi};
}

QFont RegularFont(const QPainter& painter) {
    return QFont(CustomFont(), painter.device());
}

QFont BoldFont(const QPainter& painter) {
    QFont font = RegularFont(painter);
    font.setWeight(QFont::Bold);
    return font;
}

const int kWrapFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// The layout of one section, shared by measuring and drawing so that the two agree.
struct SLayout {
    SScale scale;
    int headingHeight = 0;
    int labelLeft = 0;
    int valueLeft = 0;
    int right = 0;
};

SLayout LayoutOf(QPainter& painter, int left, int width) {
    SLayout layout;
    layout.scale = ScaleOf(painter);
    const bool paper = PaintsOnPaper(painter.device());
    layout.headingHeight = QFontMetrics(BoldFont(painter), painter.device()).height();
    layout.labelLeft = left + layout.scale(CSectionRenderer::kLabelLeft);
    layout.valueLeft =
        layout.labelLeft + layout.scale(paper ? CSectionRenderer::kValueOffsetPaper
                                              : CSectionRenderer::kValueOffsetScreen);
    layout.right = left + width - layout.scale(CSectionRenderer::kRightMargin);
    return layout;
}

int LineHeight(const QFontMetrics& metrics, const SLayout& layout, const SReportLine& line) {
    if (!line.sentence)
        return metrics.height();
    const int width = std::max(1, layout.right - layout.labelLeft);
    const QRect bounds =
        metrics.boundingRect(QRect(0, 0, width, 1 << 20), kWrapFlags, FromStored(line.value));
    return std::max(bounds.height(), metrics.height());
}

} // namespace

bool PaintsOnPaper(const QPaintDevice* device) {
    return dynamic_cast<const QPagedPaintDevice*>(device) != nullptr;
}

CSectionRenderer::CSectionRenderer(CDietData& data, SectionBuilder builder)
    : m_data(data), m_builder(std::move(builder)) {}

std::vector<SReportSection> CSectionRenderer::Sections(const SReportScope& scope) {
    CJournalDB& journal = m_data.Journal();
    CKeepCurrentDay keep(journal);
    if (scope.day.IsSet() && !(scope.day == journal.CurrentDate()))
        journal.GoToDate(scope.day);
    return m_builder(journal);
}

int CSectionRenderer::UnitCount(const SReportScope& scope) {
    return static_cast<int>(Sections(scope).size());
}

int CSectionRenderer::UnitHeight(QPainter& painter, const SReportScope& scope, int unit,
                                 int width) {
    const auto sections = Sections(scope);
    if (unit < 0 || unit >= static_cast<int>(sections.size()))
        return 0;
    return SectionHeight(painter, sections[static_cast<size_t>(unit)], width);
}

void CSectionRenderer::Draw(QPainter& painter, const QRect& rect, const SReportScope& scope,
                            int first, int last) {
    const auto sections = Sections(scope);
    first = std::max(first, 0);
    last = std::min(last, static_cast<int>(sections.size()) - 1);
    // Light text chosen for a dark screen would vanish on white paper.
    const QColor color =
        PaintsOnPaper(painter.device()) ? QColor(Qt::black) : m_data.GetTextColor();
    int top = rect.top();
    for (int unit = first; unit <= last; ++unit)
        top += DrawSection(painter, sections[static_cast<size_t>(unit)], rect.left(), top,
                           rect.width(), color);
}

int CSectionRenderer::SectionHeight(QPainter& painter, const SReportSection& section, int width) {
    const SLayout layout = LayoutOf(painter, 0, width);
    const QFontMetrics metrics(RegularFont(painter), painter.device());
    int height = layout.headingHeight + layout.scale(kHeadingGap);
    for (const SReportLine& line : section.lines)
        height += LineHeight(metrics, layout, line) + layout.scale(kRowGap);
    return height - layout.scale(kRowGap) + layout.scale(kSectionEnd);
}

int CSectionRenderer::DrawSection(QPainter& painter, const SReportSection& section, int left,
                                  int top, int width, const QColor& color) {
    const SLayout layout = LayoutOf(painter, left, width);
    painter.save();
    painter.setPen(QPen(color, 1, Qt::SolidLine));
    painter.setBackgroundMode(Qt::TransparentMode);

    const QFont bold = BoldFont(painter);
    painter.setFont(bold);
    const int headingLeft = left + layout.scale(kHeadingLeft);
    painter.drawText(
        QRect(headingLeft, top, std::max(0, layout.right - headingLeft), layout.headingHeight),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, FromStored(section.heading));

    const QFont regular = RegularFont(painter);
    painter.setFont(regular);
    const QFontMetrics metrics(regular, painter.device());
    int y = top + layout.headingHeight + layout.scale(kHeadingGap);
    for (const SReportLine& line : section.lines) {
        const int height = LineHeight(metrics, layout, line);
        if (line.sentence) {
            painter.drawText(
                QRect(layout.labelLeft, y, std::max(0, layout.right - layout.labelLeft), height),
                kWrapFlags, FromStored(line.value));
        } else {
            painter.save();
            painter.setClipRect(
                QRect(layout.labelLeft, y, std::max(0, layout.right - layout.labelLeft), height));
            painter.drawText(
                QRect(layout.labelLeft, y, std::max(0, layout.right - layout.labelLeft), height),
                Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, FromStored(line.label));
            painter.restore();
            painter.drawText(
                QRect(layout.valueLeft, y, std::max(0, layout.right - layout.valueLeft), height),
                Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, FromStored(line.value));
        }
        y += height + layout.scale(kRowGap);
    }
    painter.restore();
    return y - layout.scale(kRowGap) + layout.scale(kSectionEnd) - top;
}

} // namespace fitquill
