// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"
#include "desktop/views/report_renderer.h"

#include <QMargins>
#include <QRect>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace fitquill {

class CDietData;

inline constexpr int kPrintReportCount = 7;

// Where a printed page puts things, in device units of the painter's device.
struct SPrintGeometry {
    QRect content;    // the report's rectangle: the page less its margins
    QRect titleBand;  // the top margin, above the content
    QRect footerBand; // the bottom margin, below the content
    int lineHeight = 1;
    int linesPerPage = 1;
};

// The geometry of a page `page` (device units, painter origin at its corner) with `margins`:
// the line height is the print font's height plus 5 device units.
SPrintGeometry ComputePrintGeometry(QPainter& painter, const QRect& page, const QMargins& margins);
// The same for a printer or PDF writer in full-page mode: its paper and its layout's margins.
SPrintGeometry ComputePrintGeometry(QPainter& painter, const QPagedPaintDevice& device);

// One printed page: which report, the day it belongs to (per-day reports) and its units.
struct SPrintPage {
    EReportKind kind = EReportKind::Logbook;
    CJournalDate date;
    int first = 0;
    int last = 0;
};

using ReportRendererFactory = std::function<std::unique_ptr<IReportRenderer>(EReportKind)>;
// Told how far a long run has come; answering false cancels it.
using PrintProgress = std::function<bool(int done, int total)>;

// The print engine: lays out the pages of the reports that the document's report flags choose
// for its print range, and prints them one at a time with the renderers of the screen pages.
class CPrintEngine {
public:
    // Without a factory the program's renderers (CreateReportRenderer) are used.
    explicit CPrintEngine(CDietData& data, ReportRendererFactory factory = {});
    ~CPrintEngine();
    CPrintEngine(const CPrintEngine&) = delete;
    CPrintEngine& operator=(const CPrintEngine&) = delete;

    // Replaces the page list with the pages for the painter's device laid out in `geometry`.
    // The document's current day is the same afterwards. Returns the page count, or -1 when
    // progress cancelled the run (the list is then empty).
    int BuildPages(QPainter& painter, const SPrintGeometry& geometry,
                   const PrintProgress& progress = {});
    // Draws page `page` (1-based) of the list: content, title and page number.
    void PrintPage(QPainter& painter, const SPrintGeometry& geometry, int page);
    // Builds the list and prints pages from..to (1-based, clamped; 0 for "to the end") on the
    // device, starting a new sheet between pages. Returns the pages printed, -1 when
    // cancelled.
    int PrintAll(QPainter& painter, QPagedPaintDevice& device, const PrintProgress& progress = {},
                 int from = 1, int to = 0);
    void Clear() { m_pages.clear(); }

    const std::vector<SPrintPage>& Pages() const { return m_pages; }
    int PageCount() const { return static_cast<int>(m_pages.size()); }

    // Whether this version has a renderer for the report.
    bool CanPrint(EReportKind kind);
    // The reports this version cannot print, in dialog order.
    std::vector<EReportKind> UnavailableReports();
    // The selected reports (document flags) that cannot be printed, in dialog order.
    std::vector<EReportKind> SelectedUnavailable();
    // Whether any selected report can be printed.
    bool AnySelectedPrintable();

    // "Logbook - Friday November 23, 2001", "Summary Table", ...
    static QString PageTitle(const SPrintPage& page);
    // The report's name as the print dialog shows it, without accelerator marks.
    static QString ReportName(EReportKind kind);
    static QString ReportNames(const std::vector<EReportKind>& kinds);
    // What the user reads when the chosen reports give no page.
    static QString NothingToPrintText();

private:
    IReportRenderer* Renderer(EReportKind kind);
    SReportScope Scope(const CJournalDate& day) const;
    // Adds the pages of one report: as many units per page as fit the content height, at
    // most maxPerPage, and always at least one.
    void Paginate(EReportKind kind, const CJournalDate& day, QPainter& painter,
                  const SPrintGeometry& geometry, int maxPerPage);

    CDietData& m_data;
    ReportRendererFactory m_factory;
    std::array<std::unique_ptr<IReportRenderer>, kPrintReportCount> m_renderers;
    std::array<bool, kPrintReportCount> m_asked{};
    std::vector<SPrintPage> m_pages;
};

} // namespace fitquill
