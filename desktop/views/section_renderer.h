// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/report/report_section.h"
#include "desktop/views/report_renderer.h"

#include <QColor>

#include <functional>
#include <vector>

class QFont;
class QPaintDevice;

namespace fitquill {

class CJournalDB;

// Draws report sections (the logbook, the diet plan): a bold heading, then label and value
// rows and word-wrapped sentences. The layout is measured in screen pixels and scaled to the
// resolution of the painter's device, so that a page looks alike on screen and on paper;
// on paper the value column sits further right.
class CSectionRenderer : public IReportRenderer {
public:
    using SectionBuilder = std::function<std::vector<SReportSection>(CJournalDB&)>;

    // Layout in screen pixels.
    static constexpr int kHeadingLeft = 13;
    static constexpr int kHeadingGap = 13;
    static constexpr int kLabelLeft = 39;
    static constexpr int kRightMargin = 13;
    static constexpr int kValueOffsetScreen = 100;
    static constexpr int kValueOffsetPaper = 125;
    static constexpr int kRowGap = 5;
    static constexpr int kSectionEnd = 19;

    CSectionRenderer(CDietData& data, SectionBuilder builder);

    int UnitCount(const SReportScope& scope) override;
    int UnitHeight(QPainter& painter, const SReportScope& scope, int unit, int width) override;
    void Draw(QPainter& painter, const QRect& rect, const SReportScope& scope, int first,
              int last) override;

    // The sections for the scope's day (the current day when it is unset); the journal's
    // current day does not move.
    std::vector<SReportSection> Sections(const SReportScope& scope);

    // The height of one section drawn `width` device units wide.
    static int SectionHeight(QPainter& painter, const SReportSection& section, int width);
    // Draws a section from top within [left, left + width) and returns its height.
    static int DrawSection(QPainter& painter, const SReportSection& section, int left, int top,
                           int width, const QColor& color);

private:
    CDietData& m_data;
    SectionBuilder m_builder;
};

// Whether a painter draws for paper (printer, preview or PDF) rather than a screen.
bool PaintsOnPaper(const QPaintDevice* device);

} // namespace fitquill
