// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/logbook_page.h"

#include "core/report/logbook_report.h"
#include "desktop/document/program_paths.h"
#include "desktop/views/report_renderer.h"
#include "desktop/views/section_renderer.h"
#include "tests/desktop/frame/shell_test_support.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QScrollBar>
#include <QTest>

#include <filesystem>

using namespace fitquill;

namespace {

class LogbookPageTest : public test::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        CShellSettings settings;
        m_data = std::make_unique<CDietData>(
            CDietData::ProgramSetup(CProgramPaths(m_programFolder), settings));
        CUserProfile& profile = m_data->Journal().Profile();
        profile.SetHeightFeetInches(5, 7);
        profile.SetAge(40);
        profile.SetStartingWeight(180, false);
        profile.SetStartingDate(CJournalDate(1, 3, 2024));
        profile.SetGoalWeight(170, false);
        profile.SetGoalDate(CJournalDate(10, 4, 2024));
    }
    void TearDown() override {
        m_data.reset();
        ShellTest::TearDown();
    }

    // The lowest pixel row that differs from the background, or -1.
    static int LowestInk(const QImage& image) {
        const QRgb back = image.pixel(0, 0);
        for (int y = image.height() - 1; y >= 0; --y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != back)
                    return y;
        return -1;
    }
};

} // namespace

TEST_F(LogbookPageTest, SectionsDrawWithinTheHeightsTheyAnswer) {
    auto renderer = CreateReportRenderer(EReportKind::Logbook, *m_data);
    ASSERT_NE(renderer, nullptr);
    SReportScope scope;
    scope.day = m_data->Journal().CurrentDate();
    ASSERT_EQ(renderer->UnitCount(scope), kLogbookSectionCount);
    for (int width : {600, 180}) {
        QImage image(width, 2000, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        int total = 0;
        for (int unit = 0; unit < kLogbookSectionCount; ++unit)
            total += renderer->UnitHeight(painter, scope, unit, width);
        renderer->Draw(painter, QRect(0, 0, width, 2000), scope, 0, kLogbookSectionCount - 1);
        painter.end();
        const int ink = LowestInk(image);
        EXPECT_GT(ink, total / 2) << width;
        EXPECT_LT(ink, total) << width;
    }
    // A narrow section wraps its sentences and grows.
    QImage probe(1, 1, QImage::Format_RGB32);
    QPainter painter(&probe);
    EXPECT_GT(renderer->UnitHeight(painter, scope, kLogbookMeals, 180),
              renderer->UnitHeight(painter, scope, kLogbookMeals, 600));
    EXPECT_EQ(renderer->UnitHeight(painter, scope, kLogbookSectionCount, 600), 0);
}

TEST_F(LogbookPageTest, PaperScalesTheLayoutToItsResolution) {
    auto renderer = CreateReportRenderer(EReportKind::DietPlan, *m_data);
    ASSERT_NE(renderer, nullptr);
    const SReportScope scope;
    ASSERT_EQ(renderer->UnitCount(scope), 3);
    QImage screen(1, 1, QImage::Format_RGB32);
    QPainter screenPainter(&screen);
    const int onScreen = renderer->UnitHeight(screenPainter, scope, 0, 600);

    const auto file = m_folder / "diet-plan.pdf";
    QPdfWriter pdf(QString::fromStdString(file.string()));
    pdf.setResolution(600);
    QPainter paper(&pdf);
    EXPECT_TRUE(PaintsOnPaper(paper.device()));
    EXPECT_FALSE(PaintsOnPaper(&screen));
    const int onPaper = renderer->UnitHeight(paper, scope, 0, 600 * 600 / 96);
    // About six times the screen height at 600 dots per inch.
    EXPECT_GT(onPaper, onScreen * 5);
    EXPECT_LT(onPaper, onScreen * 8);
    renderer->Draw(paper, QRect(0, 0, 4000, 6000), scope, 0, 2);
    paper.end();
    EXPECT_GT(std::filesystem::file_size(file), 1000u);
}

TEST_F(LogbookPageTest, ScrollsByLinePageAndEnds) {
    CLogbookPage page(*m_data);
    page.resize(400, 150);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    QScrollBar* bar = page.verticalScrollBar();
    ASSERT_GT(page.ContentHeight(), page.viewport()->height());
    EXPECT_EQ(bar->maximum(), page.ContentHeight() - page.viewport()->height());
    EXPECT_EQ(bar->singleStep(), 20);
    EXPECT_EQ(bar->pageStep(), page.viewport()->height());

    const QImage top = page.viewport()->grab().toImage();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), 20);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 20 + page.viewport()->height());
    QTest::keyClick(&page, Qt::Key_End);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_NE(page.viewport()->grab().toImage(), top);
    QTest::keyClick(&page, Qt::Key_Home);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(page.viewport()->grab().toImage(), top);

    // A taller window needs less scrolling.
    const int before = bar->maximum();
    page.resize(400, 300);
    EXPECT_EQ(bar->maximum(), std::max(0, before - 150));
}

TEST_F(LogbookPageTest, RepaintsWhenTheViewsRefresh) {
    CLogbookPage page(*m_data);
    page.resize(500, 700);
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    const QImage before = page.viewport()->grab().toImage();
    CDayRecord* day = m_data->GetCurrentDay(true);
    ASSERT_NE(day, nullptr);
    day->SetWeight(178, false, m_data->Journal().Profile());
    m_data->RefreshViews();
    const QImage after = page.viewport()->grab().toImage();
    EXPECT_NE(after, before);
    after.save(QStringLiteral("logbook-page.png"));
}
