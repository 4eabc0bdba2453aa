// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/table_grid.h"

#include "core/food/food_item.h"
#include "core/food/nutrient.h"
#include "desktop/document/program_paths.h"
#include "desktop/views/report_renderer.h"
#include "tests/desktop/frame/shell_test_support.h"

#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTest>

using namespace fitquill;

namespace {

class TableGridTest : public test::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        CTableRenderer::SetNewestFirst(false);
        CShellSettings settings;
        m_data = std::make_unique<CDietData>(
            CDietData::ProgramSetup(CProgramPaths(m_programFolder), settings));
    }
    void TearDown() override {
        CTableRenderer::SetNewestFirst(false);
        m_data.reset();
        ShellTest::TearDown();
    }

    // A record for each of `days` days from 1 January 2024, with a weight and a meal.
    void AddDays(int days) {
        CJournalDB& journal = m_data->Journal();
        CJournalDate date(1, 1, 2024);
        for (int i = 0; i < days; ++i, date.StepDays(1)) {
            journal.GoToDate(date);
            CDayRecord* day = journal.CurrentDay(true);
            ASSERT_NE(day, nullptr);
            day->SetWeight(150 + i % 10, false, journal.Profile());
            CFoodItem meal;
            meal.SetName("Meal", true);
            meal.SetNutrientValue(kNutrientCalories, 1500.0f + i);
            meal.SetNutrientValue(kNutrientFat, 50.0f);
            meal.SetStoredServingRatio(1.0f);
            day->FoodLog().AddEntry(0, meal, journal.IdGenerator());
            day->Refresh(journal.Profile());
        }
    }

    template <typename TWidget> void Show(TWidget& widget) {
        widget.resize(560, 400);
        widget.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    }
};

} // namespace

TEST_F(TableGridTest, EmptyJournalShowsHeadingsAnd72Rows) {
    CSummaryGrid grid(*m_data);
    Show(grid);
    EXPECT_EQ(grid.RowCount(), 73);
    EXPECT_EQ(grid.FixedRows(), 1);
    EXPECT_EQ(grid.FixedColumns(), 1);
    EXPECT_EQ(grid.ColumnCount(), 9);
    EXPECT_EQ(grid.ColumnWidth(0), 25);
    EXPECT_EQ(grid.CurrentRow(), 1);
    EXPECT_EQ(grid.CurrentColumn(), 1);
    grid.viewport()->grab().save(QStringLiteral("summary-table-empty.png"));
}

TEST_F(TableGridTest, RowCountFollowsTheJournal) {
    AddDays(80);
    CNutrientGrid grid(*m_data);
    EXPECT_EQ(grid.RowCount(), 81);
    EXPECT_EQ(grid.ColumnCount(), 6);
    m_data->Journal().GoToDate(CJournalDate(1, 1, 2024));
    m_data->Journal().DeleteCurrentDay();
    m_data->RefreshViews();
    EXPECT_EQ(grid.RowCount(), 80);
}

TEST_F(TableGridTest, DateHeadingFlipsTheSortForBothTables) {
    AddDays(5);
    CSummaryGrid grid(*m_data);
    Show(grid);
    const QImage oldestFirst = grid.viewport()->grab().toImage();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(0, 2).center());
    EXPECT_FALSE(CTableRenderer::NewestFirst());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(0, 1).center());
    EXPECT_TRUE(CTableRenderer::NewestFirst());
    EXPECT_NE(grid.viewport()->grab().toImage(), oldestFirst);
    const STableRange range = AllDaysRange(m_data->Journal());
    CNutrientGrid other(*m_data);
    EXPECT_EQ(other.Renderer().RowTexts(range, 1)[1], "01/05");
    grid.viewport()->grab().save(QStringLiteral("summary-table.png"));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(0, 1).center());
    EXPECT_FALSE(CTableRenderer::NewestFirst());
    EXPECT_EQ(grid.viewport()->grab().toImage(), oldestFirst);
}

TEST_F(TableGridTest, ScrollingAndPaintingKeepTheCurrentDay) {
    AddDays(200);
    CJournalDB& journal = m_data->Journal();
    for (const CJournalDate& current : {CJournalDate(10, 3, 2024), CJournalDate(1, 12, 2024)}) {
        journal.GoToDate(current);
        const bool exists = journal.CurrentDayExists();
        CNutrientTablesPage page(*m_data);
        Show(page);
        CNutrientGrid* grid = page.Grid();
        grid->verticalScrollBar()->setValue(50);
        grid->viewport()->repaint();
        grid->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        grid->viewport()->repaint();
        EXPECT_EQ(journal.CurrentDate(), current);
        EXPECT_EQ(journal.CurrentDayExists(), exists);
    }
}

TEST_F(TableGridTest, NutrientListChoosesTheTable) {
    AddDays(3);
    m_data->SetNutrientTable(4);
    CNutrientTablesPage page(*m_data);
    Show(page);
    QComboBox* list = page.NutrientList();
    ASSERT_EQ(list->count(), 6);
    EXPECT_EQ(list->itemText(0), QStringLiteral("Calorie Table"));
    EXPECT_EQ(list->itemText(5), QStringLiteral("Saturated Fat Table"));
    EXPECT_EQ(list->currentIndex(), 4);
    const QImage fat = page.Grid()->viewport()->grab().toImage();
    list->setCurrentIndex(0);
    emit list->activated(0);
    EXPECT_EQ(m_data->NutrientTable(), 0);
    EXPECT_NE(page.Grid()->viewport()->grab().toImage(), fat);
    page.grab().save(QStringLiteral("nutrient-tables.png"));

    // The remembered choice, read once the window is up, shows in the list.
    m_data->Settings().SetNutrientTable(5);
    m_data->LoadViewSettings();
    EXPECT_EQ(list->currentIndex(), 5);
}

TEST_F(TableGridTest, PrintedSummaryTableCoversThePrintRange) {
    AddDays(10);
    m_data->Journal().GoToDate(CJournalDate(20, 2, 2024));
    auto renderer = CreateReportRenderer(EReportKind::SummaryTable, *m_data);
    ASSERT_NE(renderer, nullptr);
    SReportScope scope;
    scope.start = CJournalDate(3, 1, 2024);
    scope.end = CJournalDate(5, 1, 2024);
    ASSERT_EQ(renderer->UnitCount(scope), 4); // headings and three days
    SReportScope none;
    none.start = CJournalDate(1, 2, 2024);
    none.end = CJournalDate(9, 2, 2024);
    EXPECT_EQ(renderer->UnitCount(none), 0);

    QImage image(600, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const int rowHeight = renderer->UnitHeight(painter, scope, 1, 600);
    ASSERT_GT(rowHeight, 0);
    renderer->Draw(painter, QRect(0, 0, 600, 400), scope, 0, 3);
    painter.end();
    // Ink in the four rows and none below them.
    int lowest = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                lowest = y;
    EXPECT_GE(lowest, 3 * rowHeight);
    EXPECT_LT(lowest, 4 * rowHeight);
    EXPECT_EQ(m_data->Journal().CurrentDate(), CJournalDate(20, 2, 2024));
    image.save(QStringLiteral("summary-table-printed.png"));
}
