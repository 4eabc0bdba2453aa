// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/grid_ctrl.h"

#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

using namespace fitquill;

namespace {

// A 100,000-row grid with one heading row, 20-pixel rows, three 60-pixel columns, that records
// which rows its text source was asked for.
class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid.resize(200, 20 * 11 + 2 * grid.frameWidth());
        grid.SetColumnCount(3);
        for (int c = 0; c < 3; ++c)
            grid.SetColumnWidth(c, 60);
        grid.SetRowHeight(20);
        grid.SetRowCount(100000);
        grid.SetFixedRows(1);
        grid.SetTextSource([this](int row, int column) {
            asked.insert(row);
            return QStringLiteral("%1/%2").arg(row).arg(column);
        });
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    void Render() {
        QImage image(grid.viewport()->size(), QImage::Format_ARGB32);
        grid.viewport()->render(&image);
    }

    QPoint CentreOf(int row, int column) const { return grid.CellRect(row, column).center(); }

    CGridCtrl grid;
    std::set<int> asked;
};

} // namespace

TEST_F(GridTest, AsksOnlyForThePaintedRows) {
    asked.clear();
    Render();
    // The heading row and the ten scrolling rows that fit, nothing of the other 99,989.
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(*asked.begin(), 0);
    EXPECT_LE(*asked.rbegin(), 11);
    EXPECT_EQ(grid.VisibleRows(), 10);

    grid.SetCurrentCell(50000, 1);
    asked.clear();
    Render();
    EXPECT_TRUE(asked.count(0)) << "the heading row stays in place";
    EXPECT_TRUE(asked.count(50000));
    EXPECT_LE(asked.size(), 12u);
    EXPECT_EQ(grid.RowAt(grid.CellRect(50000, 0).center().y()), 50000);
}

TEST_F(GridTest, KeyboardMovesAndExtendsTheRowSelection) {
    QSignalSpy changed(&grid, &CGridCtrl::SelectionChanged);
    grid.setFocus();
    EXPECT_EQ(grid.FirstSelectedRow(), -1);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.FirstSelectedRow(), 1) << "the heading row cannot be selected";
    QTest::keyClick(&grid, Qt::Key_Up);
    EXPECT_EQ(grid.CurrentRow(), 1);
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid.FirstSelectedRow(), 1);
    EXPECT_EQ(grid.LastSelectedRow(), 3);
    EXPECT_TRUE(grid.IsRowSelected(2));
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.FirstSelectedRow(), 4);
    EXPECT_EQ(grid.LastSelectedRow(), 4);
    EXPECT_EQ(changed.count(), 4);

    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid.CurrentRow(), 99999);
    EXPECT_FALSE(grid.CellRect(99999, 0).isEmpty()) << "the last row is scrolled into view";
    QTest::keyClick(&grid, Qt::Key_PageUp, Qt::ShiftModifier);
    EXPECT_EQ(grid.LastSelectedRow(), 99999);
    EXPECT_EQ(grid.FirstSelectedRow(), 99999 - 9);
    QTest::keyClick(&grid, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid.FirstSelectedRow(), 1);
    EXPECT_EQ(grid.TopRow(), 1);

    QTest::keyClick(&grid, Qt::Key_Right);
    QTest::keyClick(&grid, Qt::Key_Right);
    QTest::keyClick(&grid, Qt::Key_Right);
    EXPECT_EQ(grid.CurrentColumn(), 2);
}

TEST_F(GridTest, MouseSelectsExtendsAndReportsClicks) {
    QSignalSpy doubled(&grid, &CGridCtrl::CellDoubleClicked);
    QSignalSpy heading(&grid, &CGridCtrl::HeadingClicked);
    QSignalSpy menu(&grid, &CGridCtrl::ContextMenuAt);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CentreOf(3, 1));
    EXPECT_EQ(grid.FirstSelectedRow(), 3);
    EXPECT_EQ(grid.CurrentColumn(), 1);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ShiftModifier, CentreOf(6, 2));
    EXPECT_EQ(grid.FirstSelectedRow(), 3);
    EXPECT_EQ(grid.LastSelectedRow(), 6);

    // A right click inside the selection keeps it; outside it selects the clicked row.
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, CentreOf(4, 0));
    EXPECT_EQ(grid.LastSelectedRow(), 6);
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, CentreOf(8, 0));
    EXPECT_EQ(grid.FirstSelectedRow(), 8);
    EXPECT_EQ(grid.LastSelectedRow(), 8);
    EXPECT_EQ(menu.count(), 2);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CentreOf(0, 2));
    ASSERT_EQ(heading.count(), 1);
    EXPECT_EQ(heading.at(0).at(0).toInt(), 2);
    EXPECT_EQ(grid.FirstSelectedRow(), 8) << "a heading click leaves the selection";

    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, CentreOf(5, 1));
    ASSERT_EQ(doubled.count(), 1);
    EXPECT_EQ(doubled.at(0).at(0).toInt(), 5);
    EXPECT_EQ(doubled.at(0).at(1).toInt(), 1);
}

TEST_F(GridTest, ShrinkingKeepsTheSelectionInsideTheRows) {
    grid.SelectRows(5, 40);
    grid.SetRowCount(10);
    EXPECT_EQ(grid.FirstSelectedRow(), 5);
    EXPECT_EQ(grid.LastSelectedRow(), 9);
    grid.SetRowCount(1); // only the heading is left: nothing can be selected
    EXPECT_EQ(grid.FirstSelectedRow(), -1);
    grid.SelectRows(0, 3);
    EXPECT_EQ(grid.FirstSelectedRow(), -1);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.CurrentRow(), -1);
}

TEST_F(GridTest, OwnerDrawnColumnPaintsInsteadOfTheText) {
    std::set<int> drawn;
    bool selectedSeen = false;
    grid.SetCellPainter(
        1, [&](QPainter& painter, const QRect& cell, int row, const SGridCellState& state) {
            drawn.insert(row);
            selectedSeen |= state.selected;
            painter.fillRect(cell.adjusted(1, 1, -1, -1), Qt::red);
        });
    grid.SelectRows(2, 2);
    asked.clear();
    QImage image(grid.viewport()->size(), QImage::Format_ARGB32);
    grid.viewport()->render(&image);
    EXPECT_TRUE(drawn.count(2));
    EXPECT_TRUE(selectedSeen);
    EXPECT_EQ(image.pixelColor(CentreOf(3, 1)), QColor(Qt::red));
    EXPECT_NE(image.pixelColor(CentreOf(3, 0)), QColor(Qt::red));
    EXPECT_FALSE(asked.empty()) << "the other columns still come from the text source";
}
