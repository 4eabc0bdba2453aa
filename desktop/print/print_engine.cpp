// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/print/print_engine.h"

#include "core/internal_error.h"
#include "desktop/document/diet_data.h"
#include "desktop/document/stored_text.h"
#include "desktop/widgets/fonts.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <climits>

namespace fitquill {
namespace {

// Added to the font's height for the line height, as the printed reports always had.
constexpr int kLineSpacing = 5;

bool IsPerDay(EReportKind kind) {
    return kind == EReportKind::Logbook || kind == EReportKind::MealLog ||
           kind == EReportKind::DailyJournal;
}

size_t Slot(EReportKind kind) {
    return static_cast<size_t>(kind);
}

// Puts the document's current day back when a build or a page is done, also when it is left
// early.
class CCurrentDayKeeper {
public:
    explicit CCurrentDayKeeper(CJournalDB& journal)
        : m_journal(journal), m_date(journal.CurrentDate()) {}
    ~CCurrentDayKeeper() {
        if (!(m_journal.CurrentDate() == m_date))
            m_journal.GoToDate(m_date);
    }
    CCurrentDayKeeper(const CCurrentDayKeeper&) = delete;
    CCurrentDayKeeper& operator=(const CCurrentDayKeeper&) = delete;
    const CJournalDate& Date() const { return m_date; }

private:
    CJournalDB& m_journal;
    CJournalDate m_date;
};

} // namespace

SPrintGeometry ComputePrintGeometry(QPainter& painter, const QRect& page, const QMargins& margins) {
    SPrintGeometry geometry;
    // Margins wider than the page leave at least one device unit for the report.
    QMargins kept(std::clamp(margins.left(), 0, std::max(0, page.width() - 1)),
                  std::clamp(margins.top(), 0, std::max(0, page.height() - 1)), 0, 0);
    kept.setRight(std::clamp(margins.right(), 0, std::max(0, page.width() - 1 - kept.left())));
    kept.setBottom(std::clamp(margins.bottom(), 0, std::max(0, page.height() - 1 - kept.top())));
    geometry.content = page.marginsRemoved(kept);
    geometry.titleBand =
        QRect(geometry.content.left(), page.top(), geometry.content.width(), kept.top());
    geometry.footerBand = QRect(geometry.content.left(), geometry.content.bottom() + 1,
                                geometry.content.width(), kept.bottom());
    const QFontMetrics metrics(CustomFont(), painter.device());
    geometry.lineHeight = std::max(1, metrics.height() + kLineSpacing);
    geometry.linesPerPage = std::max(1, geometry.content.height() / geometry.lineHeight);
    return geometry;
}

SPrintGeometry ComputePrintGeometry(QPainter& painter, const QPagedPaintDevice& device) {
    const QPageLayout layout = device.pageLayout();
    const int resolution = painter.device()->logicalDpiY();
    const QRect paper = layout.fullRectPixels(resolution);
    return ComputePrintGeometry(painter, QRect(QPoint(0, 0), paper.size()),
                                layout.marginsPixels(resolution));
}

CPrintEngine::CPrintEngine(CDietData& data, ReportRendererFactory factory)
    : m_data(data), m_factory(std::move(factory)) {
    if (!m_factory)
        m_factory = [this](EReportKind kind) { return CreateReportRenderer(kind, m_data); };
}

CPrintEngine::~CPrintEngine() = default;

IReportRenderer* CPrintEngine::Renderer(EReportKind kind) {
    const size_t slot = Slot(kind);
    if (slot >= m_renderers.size())
        RaiseInternalError(kInternalErrorGeneral, "report kind out of range");
    if (!m_asked[slot]) {
        m_renderers[slot] = m_factory(kind);
        m_asked[slot] = true;
    }
    return m_renderers[slot].get();
}

bool CPrintEngine::CanPrint(EReportKind kind) {
    return Renderer(kind) != nullptr;
}

std::vector<EReportKind> CPrintEngine::UnavailableReports() {
    std::vector<EReportKind> kinds;
    for (int report = 0; report < kPrintReportCount; ++report) {
        if (!CanPrint(static_cast<EReportKind>(report)))
            kinds.push_back(static_cast<EReportKind>(report));
    }
    return kinds;
}

std::vector<EReportKind> CPrintEngine::SelectedUnavailable() {
    std::vector<EReportKind> kinds;
    for (int report = 0; report < kPrintReportCount; ++report) {
        const auto kind = static_cast<EReportKind>(report);
        if (m_data.ReportFlag(report) && !CanPrint(kind))
            kinds.push_back(kind);
    }
    return kinds;
}

bool CPrintEngine::AnySelectedPrintable() {
    for (int report = 0; report < kPrintReportCount; ++report) {
        if (m_data.ReportFlag(report) && CanPrint(static_cast<EReportKind>(report)))
            return true;
    }
    return false;
}

SReportScope CPrintEngine::Scope(const CJournalDate& day) const {
    return SReportScope{day, m_data.PrintStart(), m_data.PrintEnd()};
}

void CPrintEngine::Paginate(EReportKind kind, const CJournalDate& day, QPainter& painter,
                            const SPrintGeometry& geometry, int maxPerPage) {
    IReportRenderer* renderer = Renderer(kind);
    if (!renderer)
        return;
    const SReportScope scope = Scope(day);
    const int count = renderer->UnitCount(scope);
    const int width = geometry.content.width();
    const int height = geometry.content.height();
    int first = 0;
    while (first < count) {
        int used = 0;
        int last = first;
        for (int unit = first; unit < count && unit - first < maxPerPage; ++unit) {
            const int unitHeight = std::max(0, renderer->UnitHeight(painter, scope, unit, width));
            // A unit taller than the page gets a page of its own rather than none.
            if (unit > first && used + unitHeight > height)
                break;
            used += unitHeight;
            last = unit;
        }
        m_pages.push_back(SPrintPage{kind, day, first, last});
        first = last + 1;
    }
}

int CPrintEngine::BuildPages(QPainter& painter, const SPrintGeometry& geometry,
                             const PrintProgress& progress) {
    m_pages.clear();
    CJournalDB& journal = m_data.Journal();
    const CCurrentDayKeeper keeper(journal);
    const CJournalDate start = m_data.PrintStart();
    const CJournalDate end = m_data.PrintEnd();
    const bool hasDays = start.IsSet() && end.IsSet() && !(end < start);
    const int dayCount = hasDays ? end.DayNumber() - start.DayNumber() + 1 : 0;
    // The plan, every day, then the two range reports.
    const int steps = dayCount + 2;
    int done = 0;
    auto step = [&] { return !progress || progress(++done, steps); };
    auto selected = [this](EReportKind kind) {
        return m_data.ReportFlag(static_cast<int>(kind)) && Renderer(kind);
    };
    const int lines = geometry.linesPerPage;

    if (selected(EReportKind::DietPlan))
        Paginate(EReportKind::DietPlan, journal.CurrentDate(), painter, geometry, INT_MAX);
    if (!step()) {
        m_pages.clear();
        return -1;
    }
    CJournalDate day = start;
    for (int index = 0; index < dayCount; ++index, day.StepDays(1)) {
        journal.GoToDate(day);
        if (selected(EReportKind::Logbook))
            Paginate(EReportKind::Logbook, day, painter, geometry, INT_MAX);
        if (journal.CurrentDayExists()) {
            // A printed meal log row takes three lines.
            if (selected(EReportKind::MealLog))
                Paginate(EReportKind::MealLog, day, painter, geometry, std::max(1, lines / 3));
            if (selected(EReportKind::DailyJournal))
                Paginate(EReportKind::DailyJournal, day, painter, geometry, lines);
        }
        if (!step()) {
            m_pages.clear();
            return -1;
        }
    }
    if (selected(EReportKind::SummaryTable))
        Paginate(EReportKind::SummaryTable, keeper.Date(), painter, geometry, lines);
    // The chart is one page, and only when it has something to show for the range.
    if (selected(EReportKind::WeightChart) &&
        Renderer(EReportKind::WeightChart)->UnitCount(Scope(keeper.Date())) > 0)
        m_pages.push_back(SPrintPage{EReportKind::WeightChart, keeper.Date(), 0, 0});
    if (!step()) {
        m_pages.clear();
        return -1;
    }
    return PageCount();
}

void CPrintEngine::PrintPage(QPainter& painter, const SPrintGeometry& geometry, int page) {
    if (page < 1 || page > PageCount())
        RaiseInternalError(kInternalErrorGeneral, "print page out of range");
    const SPrintPage& entry = m_pages[static_cast<size_t>(page - 1)];
    IReportRenderer* renderer = Renderer(entry.kind);
    if (!renderer)
        RaiseInternalError(kInternalErrorGeneral, "page of a report without renderer");
    {
        CJournalDB& journal = m_data.Journal();
        const CCurrentDayKeeper keeper(journal);
        if (IsPerDay(entry.kind))
            journal.GoToDate(entry.date);
        painter.save();
        painter.setClipRect(geometry.content);
        renderer->Draw(painter, geometry.content, Scope(entry.date), entry.first, entry.last);
        painter.restore();
    }
    painter.save();
    painter.setFont(CustomFont());
    painter.setPen(Qt::black);
    painter.drawText(geometry.titleBand, Qt::AlignCenter | Qt::TextSingleLine, PageTitle(entry));
    painter.drawText(geometry.footerBand, Qt::AlignCenter | Qt::TextSingleLine,
                     QString::asprintf("Page %d of %d", page, PageCount()));
    painter.restore();
}

int CPrintEngine::PrintAll(QPainter& painter, QPagedPaintDevice& device,
                           const PrintProgress& progress, int from, int to) {
    const SPrintGeometry geometry = ComputePrintGeometry(painter, device);
    // Building counts for the first half of the progress, drawing for the second.
    constexpr int kScale = 1000;
    auto building = [&](int done, int total) {
        return !progress || progress(done * kScale / std::max(1, total), 2 * kScale);
    };
    const int count = BuildPages(painter, geometry, building);
    if (count < 0)
        return -1;
    const int first = std::max(1, from);
    const int last = to <= 0 ? count : std::min(to, count);
    int printed = 0;
    for (int page = first; page <= last; ++page) {
        if (printed > 0 && !device.newPage())
            break;
        PrintPage(painter, geometry, page);
        ++printed;
        const int total = last - first + 1;
        if (progress && !progress(kScale + printed * kScale / total, 2 * kScale))
            return -1;
    }
    return printed;
}

QString CPrintEngine::PageTitle(const SPrintPage& page) {
    const QString date = FromStored(page.date.LongText());
    switch (page.kind) {
    case EReportKind::Logbook:
        return QStringLiteral("Logbook - ") + date;
    case EReportKind::MealLog:
        return QStringLiteral("Meal and Exercise Log - ") + date;
    case EReportKind::DailyJournal:
        return QStringLiteral("Daily Journal - ") + date;
    case EReportKind::SummaryTable:
        return QStringLiteral("Summary Table");
    case EReportKind::WeightChart:
        return QStringLiteral("Weight Chart");
    case EReportKind::DietPlan:
        return QStringLiteral("Diet Plan");
    }
    return QString();
}

QString CPrintEngine::ReportName(EReportKind kind) {
    switch (kind) {
    case EReportKind::Logbook:
        return QStringLiteral("Logbook");
    case EReportKind::MealLog:
        return QStringLiteral("Meal & Exercise Log");
    case EReportKind::DailyJournal:
        return QStringLiteral("Daily Journal");
    case EReportKind::SummaryTable:
        return QStringLiteral("Summary Table");
    case EReportKind::WeightChart:
        return QStringLiteral("Historic Weight Chart");
    case EReportKind::DietPlan:
        return QStringLiteral("Diet PLan");
    }
    return QString();
}

QString CPrintEngine::NothingToPrintText() {
    return QStringLiteral("There is nothing to print for the chosen reports and dates.");
}

QString CPrintEngine::ReportNames(const std::vector<EReportKind>& kinds) {
    QStringList names;
    for (EReportKind kind : kinds)
        names.append(ReportName(kind));
    return names.join(QStringLiteral(", "));
}

} // namespace fitquill
