// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/views/report_renderer.h"

#include <QFont>
#include <QStringList>

namespace fitquill {

// The printed daily journal: one unit per line of the day's note, each wrapped into as many
// printed lines as the width needs.
class CDailyJournalRenderer : public IReportRenderer {
public:
    explicit CDailyJournalRenderer(CDietData& data);

    // Breaks text into lines no wider than width for the font on device: at blanks, carriage
    // returns and line feeds; a word wider than the line is cut where it must be.
    static QStringList WrapLines(const QString& text, const QFont& font, class QPaintDevice* device,
                                 int width);

    int UnitCount(const SReportScope& scope) override;
    int UnitHeight(QPainter& painter, const SReportScope& scope, int unit, int width) override;
    void Draw(QPainter& painter, const QRect& rect, const SReportScope& scope, int first,
              int last) override;

private:
    QStringList NoteLines(const SReportScope& scope) const;

    CDietData& m_data;
};

} // namespace fitquill
