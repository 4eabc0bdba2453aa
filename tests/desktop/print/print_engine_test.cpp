// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/print/print_engine.h"

#include "tests/desktop/print/test_renderer.h"

#include "core/clock.h"
#include "core/journal/day_record.h"
#include "desktop/document/diet_data.h"
#include "desktop/views/report_renderer.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

using namespace fitquill;
using namespace fitquill::test;

namespace {

class PrintEngineTest : public PrintTestBase {
protected:
    void SetUp() override {
        PrintTestBase::SetUp();
        // A fixed page: 600 units of content height, 30 lines of 20 units.
        m_geometry.content = QRect(50, 50, 500, 600);
        m_geometry.titleBand = QRect(50, 0, 500, 50);
        m_geometry.footerBand = QRect(50, 650, 500, 50);
        m_geometry.lineHeight = 20;
        m_geometry.linesPerPage = 30;
    }

    int Build() {
        QImage page(600, 700, QImage::Format_RGB32);
        QPainter painter(&page);
        return Engine().BuildPages(painter, m_geometry);
    }

    // The page list as "kind:day/first-last" words.
    std::vector<std::string> Layout() const {
        std::vector<std::string> words;
        for (const SPrintPage& page : m_engine->Pages()) {
            words.push_back(std::to_string(static_cast<int>(page.kind)) + ":" +
                            std::to_string(page.date.Day()) + "/" + std::to_string(page.first) +
                            "-" + std::to_string(page.last));
        }
        return words;
    }

    SPrintGeometry m_geometry;
};

using Words = std::vector<std::string>;

} // namespace

TEST_F(PrintEngineTest, SummaryTableOverOneDayGivesOnlyTheSummaryPages) {
    AddDay(D(10, 3, 2024));
    m_data->SetPrintRange(D(10, 3, 2024), D(10, 3, 2024));
    Report(EReportKind::SummaryTable, 45, 20);
    // The other reports exist but are not selected.
    for (EReportKind kind : {EReportKind::Logbook, EReportKind::MealLog, EReportKind::DailyJournal,
                             EReportKind::WeightChart, EReportKind::DietPlan}) {
        Report(kind, 3, 20);
        m_data->SetReportFlag(static_cast<int>(kind), false);
    }
    EXPECT_EQ(Build(), 2);
    EXPECT_EQ(Layout(), (Words{"3:15/0-29", "3:15/30-44"}));
}

TEST_F(PrintEngineTest, AllReportsInPrintOrderAndDaysWithoutRecordGetOnlyALogbook) {
    AddDay(D(10, 3, 2024));
    AddDay(D(12, 3, 2024));
    m_data->SetPrintRange(D(10, 3, 2024), D(12, 3, 2024));
    Report(EReportKind::DietPlan, 3, 100);
    Report(EReportKind::Logbook, 7, 50);
    Report(EReportKind::MealLog, 12, 60);
    Report(EReportKind::DailyJournal, 4, 20);
    Report(EReportKind::SummaryTable, 2, 20);
    Report(EReportKind::WeightChart, 1, 600);
    EXPECT_EQ(Build(), 12);
    EXPECT_EQ(Layout(), (Words{"5:15/0-2",                           // plan
                               "0:10/0-6", "1:10/0-9", "1:10/10-11", // 10 March
                               "2:10/0-3",                           //
                               "0:11/0-6",                           // 11 March: no record
                               "0:12/0-6", "1:12/0-9", "1:12/10-11", "2:12/0-3", // 12 March
                               "3:15/0-1", "4:15/0-0"}));
}

TEST_F(PrintEngineTest, SectionsSplitWhereTheNextNoLongerFits) {
    m_data->SetPrintRange(D(15, 3, 2024), D(15, 3, 2024));
    CTestRenderer& plan = Report(EReportKind::DietPlan, 3, 0);
    plan.heights = {250, 350, 1};
    EXPECT_EQ(Build(), 2);
    // 250 + 350 fills the 600 exactly; the third starts a page.
    EXPECT_EQ(Layout(), (Words{"5:15/0-1", "5:15/2-2"}));

    // A section taller than the page gets a page of its own instead of none.
    plan.heights = {100, 900, 100};
    EXPECT_EQ(Build(), 3);
    EXPECT_EQ(Layout(), (Words{"5:15/0-0", "5:15/1-1", "5:15/2-2"}));
}

TEST_F(PrintEngineTest, MealLogOfALongDayIsCutInThirdsOfAPage) {
    AddDay(D(15, 3, 2024));
    m_data->SetPrintRange(D(15, 3, 2024), D(15, 3, 2024));
    // Rows three lines high: 30 lines per page hold 10 rows.
    CTestRenderer& log = Report(EReportKind::MealLog, 25, 60);
    EXPECT_EQ(Build(), 3);
    EXPECT_EQ(Layout(), (Words{"1:15/0-9", "1:15/10-19", "1:15/20-24"}));
    // Even rows that would measure smaller keep to a third of the lines per page.
    log.heights.assign(25, 5);
    EXPECT_EQ(Build(), 3);
    // Rows that measure taller than three lines are never drawn past the page's end.
    log.heights.assign(25, 100);
    EXPECT_EQ(Build(), 5);
    EXPECT_EQ(Layout().front(), "1:15/0-5");
}

TEST_F(PrintEngineTest, CurrentDayIsUnchangedAndPerDayReportsSeeTheirDay) {
    AddDay(D(10, 3, 2024));
    AddDay(D(11, 3, 2024));
    m_data->Journal().GoToDate(D(20, 3, 2024));
    m_data->SetPrintRange(D(10, 3, 2024), D(11, 3, 2024));
    CTestRenderer& logbook = Report(EReportKind::Logbook, 1, 20);
    CTestRenderer& summary = Report(EReportKind::SummaryTable, 1, 20);
    ASSERT_EQ(Build(), 3);
    EXPECT_EQ(m_data->Journal().CurrentDate(), D(20, 3, 2024));
    EXPECT_EQ(logbook.countedDays, (std::vector<CJournalDate>{D(10, 3, 2024), D(11, 3, 2024)}));
    ASSERT_EQ(summary.scopes.size(), 1u);
    EXPECT_EQ(summary.scopes[0].start, D(10, 3, 2024));
    EXPECT_EQ(summary.scopes[0].end, D(11, 3, 2024));

    QImage page(600, 700, QImage::Format_RGB32);
    QPainter painter(&page);
    for (int n = 1; n <= 3; ++n)
        Engine().PrintPage(painter, m_geometry, n);
    ASSERT_EQ(m_draws.size(), 3u);
    EXPECT_EQ(m_draws[1].kind, EReportKind::Logbook);
    EXPECT_EQ(m_draws[1].scopeDay, D(11, 3, 2024));
    EXPECT_EQ(m_draws[1].currentDay, D(11, 3, 2024));
    EXPECT_EQ(m_data->Journal().CurrentDate(), D(20, 3, 2024));
}

TEST_F(PrintEngineTest, CancelEmptiesTheListAndRestoresTheDay) {
    m_data->SetPrintRange(D(1, 3, 2024), D(31, 3, 2024));
    Report(EReportKind::Logbook, 7, 20);
    QImage page(600, 700, QImage::Format_RGB32);
    QPainter painter(&page);
    int calls = 0;
    EXPECT_EQ(Engine().BuildPages(painter, m_geometry,
                                  [&](int done, int total) {
                                      EXPECT_LE(done, total);
                                      return ++calls < 5;
                                  }),
              -1);
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(Engine().PageCount(), 0);
    EXPECT_EQ(m_data->Journal().CurrentDate(), D(15, 3, 2024));
}

TEST_F(PrintEngineTest, ReportsWithoutRendererOrDataAreSkipped) {
    AddDay(D(15, 3, 2024));
    m_data->SetPrintRange(D(15, 3, 2024), D(15, 3, 2024));
    Report(EReportKind::Logbook, 7, 20);
    Report(EReportKind::WeightChart, 0, 20);                              // no weight in the range
    m_data->SetReportFlag(static_cast<int>(EReportKind::DietPlan), true); // no renderer
    EXPECT_EQ(Build(), 1);
    EXPECT_EQ(Engine().SelectedUnavailable(), std::vector<EReportKind>{EReportKind::DietPlan});
    EXPECT_TRUE(Engine().AnySelectedPrintable());
    EXPECT_EQ(CPrintEngine::ReportNames(Engine().SelectedUnavailable()), "Diet PLan");

    // A range that ends before it starts prints no days.
    m_data->SetPrintRange(D(16, 3, 2024), D(15, 3, 2024));
    EXPECT_EQ(Build(), 0);
}

// With the program's own weight chart renderer: the page comes only with a weight in the range.
TEST_F(PrintEngineTest, TheRealWeightChartAddsItsPageOnlyWithAWeightInTheRange) {
    AddDay(D(10, 3, 2024));
    AddDay(D(20, 3, 2024));
    m_data->Journal().Day(1).SetWeight(CWeightValue::FromPounds(180), m_data->Journal().Profile());
    for (int report = 0; report < CDietData::kReportCount; ++report)
        m_data->SetReportFlag(report, report == static_cast<int>(EReportKind::WeightChart));
    for (auto [from, to, pages] : {std::tuple{D(9, 3, 2024), D(11, 3, 2024), 0},
                                   {D(9, 3, 2024), D(20, 3, 2024), 1},
                                   {D(21, 3, 2024), D(22, 3, 2024), 0}}) {
        m_data->SetPrintRange(from, to);
        CPrintEngine engine(
            *m_data, [this](EReportKind kind) { return CreateReportRenderer(kind, *m_data); });
        QImage page(600, 700, QImage::Format_RGB32);
        QPainter painter(&page);
        EXPECT_EQ(engine.BuildPages(painter, m_geometry), pages) << to.Day();
    }
}

TEST_F(PrintEngineTest, GeometryFromPageAndMargins) {
    QImage device(1000, 1400, QImage::Format_RGB32);
    QPainter painter(&device);
    const SPrintGeometry geometry =
        ComputePrintGeometry(painter, QRect(0, 0, 1000, 1400), QMargins(100, 120, 80, 150));
    EXPECT_EQ(geometry.content, QRect(100, 120, 820, 1130));
    EXPECT_EQ(geometry.titleBand, QRect(100, 0, 820, 120));
    EXPECT_EQ(geometry.footerBand, QRect(100, 1250, 820, 150));
    EXPECT_GT(geometry.lineHeight, 5);
    EXPECT_EQ(geometry.linesPerPage, 1130 / geometry.lineHeight);

    // Margins larger than the paper still leave a report rectangle.
    const SPrintGeometry squeezed =
        ComputePrintGeometry(painter, QRect(0, 0, 100, 100), QMargins(90, 90, 90, 90));
    EXPECT_GE(squeezed.content.width(), 1);
    EXPECT_GE(squeezed.content.height(), 1);
    EXPECT_GE(squeezed.linesPerPage, 1);
}
