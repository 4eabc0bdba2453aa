// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame/accessible_factory.h"
#include "desktop/widgets/accessible_names.h"
#include "desktop/widgets/grid_ctrl.h"
#include "desktop/widgets/month_calendar.h"

#include <QAccessible>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <set>

using namespace fitquill;

namespace {

class AccessibleControlsTest : public ::testing::Test {
protected:
    void SetUp() override { InstallAccessibleFactory(); }
};

} // namespace

TEST_F(AccessibleControlsTest, GridIsATableOfItsVirtualRows) {
    CGridCtrl grid;
    std::set<int> asked;
    grid.resize(200, 222);
    grid.SetColumnCount(3);
    grid.SetRowCount(100000);
    grid.SetFixedRows(1);
    grid.SetTextSource([&](int row, int column) {
        asked.insert(row);
        return QStringLiteral("%1/%2").arg(row).arg(column);
    });
    grid.setAccessibleName(QStringLiteral("Numbers"));
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.setFocus();

    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&grid);
    ASSERT_NE(iface, nullptr);
    QAccessibleTableInterface* table = iface->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Table);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Numbers"));
    EXPECT_EQ(table->rowCount(), 99999); // the heading row is the header
    EXPECT_EQ(table->columnCount(), 3);
    EXPECT_EQ(iface->child(2)->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(iface->child(2)->text(QAccessible::Name), QStringLiteral("0/2"));

    // A cell far down is read from its row alone, without painting or asking for others.
    asked.clear();
    QAccessibleInterface* far = table->cellAt(49999, 1);
    ASSERT_NE(far, nullptr);
    EXPECT_EQ(far->text(QAccessible::Name), QStringLiteral("50000/1"));
    EXPECT_EQ(asked, std::set<int>{50000});
    EXPECT_EQ(iface->indexOfChild(far), 3 + 49999 * 3 + 1);
    EXPECT_TRUE(far->state().invisible); // scrolled away

    // The current cell is the focus, its row the selection (the events that announce them
    // need a platform bridge: the real-program test hears them).
    grid.SetCurrentCell(50000, 2);
    QAccessibleInterface* current = table->cellAt(49999, 2);
    EXPECT_TRUE(current->state().focused);
    EXPECT_TRUE(current->state().selected);
    EXPECT_FALSE(current->state().invisible);
    EXPECT_EQ(iface->focusChild(), current);
    EXPECT_EQ(table->selectedRows(), QList<int>{49999});

    // Fewer rows: the cells past them are gone.
    grid.SetRowCount(10);
    EXPECT_EQ(table->rowCount(), 9);
    EXPECT_EQ(table->cellAt(49999, 1), nullptr);
    EXPECT_EQ(table->cellAt(8, 0)->text(QAccessible::Name), QStringLiteral("9/0"));
    // The reader selects a row as a click would.
    EXPECT_TRUE(table->selectRow(3));
    EXPECT_EQ(grid.CurrentRow(), 4);
}

TEST_F(AccessibleControlsTest, CalendarIsATableOfDatesFollowingTheKeys) {
    CMonthCalendar calendar;
    calendar.SetDate(CJournalDate(5, 3, 2004));
    calendar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&calendar));
    calendar.setFocus();
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&calendar);
    QAccessibleTableInterface* table = iface->tableInterface();
    ASSERT_NE(table, nullptr);

    auto selectedDays = [&] {
        QStringList days;
        for (QAccessibleInterface* cell : table->selectedCells())
            days << cell->text(QAccessible::Name);
        return days;
    };
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("March 2004"));
    EXPECT_EQ(table->columnCount(), 7);
    EXPECT_EQ(table->rowCount(), 5);
    EXPECT_EQ(iface->child(0)->text(QAccessible::Name), QStringLiteral("Sunday"));
    // March 2004 starts on a Monday: the first cell is empty.
    EXPECT_EQ(table->cellAt(0, 0)->text(QAccessible::Name), QString());
    EXPECT_EQ(selectedDays(), QStringList{QStringLiteral("Friday March 5, 2004")});
    EXPECT_EQ(iface->focusChild()->text(QAccessible::Name), QStringLiteral("Friday March 5, 2004"));

    QTest::keyClick(&calendar, Qt::Key_Right);
    QAccessibleInterface* saturday = iface->focusChild();
    ASSERT_NE(saturday, nullptr);
    EXPECT_EQ(saturday->text(QAccessible::Name), QStringLiteral("Saturday March 6, 2004"));

    QTest::keyClick(&calendar, Qt::Key_PageDown);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("April 2004"));
    EXPECT_EQ(selectedDays(), QStringList{QStringLiteral("Tuesday April 6, 2004")});
}

TEST_F(AccessibleControlsTest, ControlsAreNamedByTheCaptionBeforeThem) {
    QWidget window;
    auto* grid = new QGridLayout(&window);
    auto* weight = new QLineEdit;
    auto* feet = new QLineEdit;
    auto* inches = new QLineEdit;
    auto* named = new QLineEdit;
    auto* list = new QListWidget;
    auto* find = new QToolButton;
    auto* weightLabel = new QLabel(QStringLiteral("&Weight:"));
    grid->addWidget(weightLabel, 0, 0);
    grid->addWidget(weight, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Height:")), 1, 0);
    grid->addWidget(feet, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("ft")), 1, 2); // a unit names nothing
    grid->addWidget(inches, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Name:")), 2, 0);
    named->setAccessibleName(QStringLiteral("Own name")); // kept
    grid->addWidget(named, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Select a food item:")), 3, 0, 1, 4);
    grid->addWidget(list, 4, 0); // under its caption
    find->setToolTip(QStringLiteral("Find"));
    grid->addWidget(find, 5, 0);
    window.show();

    EXPECT_EQ(weight->accessibleName(), QStringLiteral("Weight"));
    EXPECT_EQ(weightLabel->buddy(), weight);
    EXPECT_EQ(feet->accessibleName(), QStringLiteral("Height"));
    EXPECT_EQ(inches->accessibleName(), QString());
    EXPECT_EQ(named->accessibleName(), QStringLiteral("Own name"));
    EXPECT_EQ(list->accessibleName(), QStringLiteral("Select a food item"));
    EXPECT_EQ(find->accessibleName(), QStringLiteral("Find"));
}
