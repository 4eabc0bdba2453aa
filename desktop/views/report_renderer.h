// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"

#include <memory>

class QPainter;
class QRect;

namespace fitquill {

class CDietData;

// The printed reports, in the order of the print dialog's check boxes.
enum class EReportKind {
    Logbook = 0,
    MealLog = 1, // meal and exercise log
    DailyJournal = 2,
    SummaryTable = 3,
    WeightChart = 4, // historic weight chart
    DietPlan = 5,
    NutrientDetails = 6, // the print range's nutrients against the user's references
};

// What one report covers: per-day reports (logbook, meal log, daily journal) draw `day`; the
// summary table and the weight chart draw the range start..end.
struct SReportScope {
    CJournalDate day;
    CJournalDate start;
    CJournalDate end;
};

// One renderer per report: the same class draws the screen page and the printed pages, on any
// QPainter (widget, preview, printer, PDF). A report is a list of units, sections (logbook,
// diet plan) or rows (meal log, daily journal, summary table; the weight chart is one unit),
// that the print engine places on pages.
class IReportRenderer {
public:
    virtual ~IReportRenderer() = default;
    // The number of units of the report for scope; 0 when there is nothing to print.
    virtual int UnitCount(const SReportScope& scope) = 0;
    // The height of unit `unit` drawn `width` device units wide on the painter's device.
    virtual int UnitHeight(QPainter& painter, const SReportScope& scope, int unit, int width) = 0;
    // Draws units first..last (inclusive) from the top of rect.
    virtual void Draw(QPainter& painter, const QRect& rect, const SReportScope& scope, int first,
                      int last) = 0;
};

// The renderer of a report, or null while that report cannot be drawn yet.
std::unique_ptr<IReportRenderer> CreateReportRenderer(EReportKind kind, CDietData& data);

} // namespace fitquill
