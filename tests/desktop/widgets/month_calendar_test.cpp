// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/clock.h"
#include "desktop/views/calendar_pair.h"
#include "desktop/widgets/calendar_model.h"
#include "desktop/widgets/date_dialog.h"
#include "desktop/widgets/fonts.h"
#include "desktop/widgets/month_calendar.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <vector>

using namespace fitquill;

namespace {

CJournalDate D(int day, int month, int year) {
    return CJournalDate(day, month, year);
}

CCalendarModel ModelOf(const CJournalDate& date) {
    CCalendarModel model;
    model.SetDate(date);
    return model;
}

QPoint CentreOfDay(const CMonthCalendar& view, int day) {
    const CCalendarModel::SCell cell = view.Model().CellOfDay(day);
    return CMonthCalendar::CellRect(cell.row, cell.column).center();
}

// Today is fixed for every test here, so outlines and defaults do not depend on the machine.
class CalendarTest : public ::testing::Test {
protected:
    void SetUp() override { CClock::SetFixedDate(CClock::ParseIsoDate("2005-01-15")); }
    void TearDown() override { CClock::SetFixedDate(std::nullopt); }
};

} // namespace

TEST_F(CalendarTest, FirstWeekdayCellsAndWeekRows) {
    struct {
        int month, year;
        int firstWeekday;
        int weekRows;
    } cases[] = {
        {1, 2005, 6, 6},  // starts on a Saturday: 31 days need all six week rows
        {10, 2005, 6, 6}, // Saturday again
        {2, 2015, 0, 4},  // 28 days from a Sunday fill exactly four rows
        {2, 2004, 0, 5},  // leap February from a Sunday spills into a fifth row
        {3, 2004, 1, 5},  {1, 2000, 6, 6},
        {1, 1900, 1, 5},  {1, 2040, 0, 5}, // beyond the years of the handheld's packed dates
        {9, 1752, 5, 5},                   // proleptic Gregorian
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.month << "/" << c.year);
        CCalendarModel model = ModelOf(D(1, c.month, c.year));
        EXPECT_EQ(model.FirstWeekday(), c.firstWeekday);
        EXPECT_EQ(model.WeekRows(), c.weekRows);
        EXPECT_EQ(model.CellOfDay(1), (CCalendarModel::SCell{2, c.firstWeekday}));
        // Every day sits in the cell that DayAt reads back, and no other cell holds a day.
        int daysFound = 0;
        for (int row = 0; row < CCalendarModel::kRows; ++row) {
            for (int column = 0; column < CCalendarModel::kColumns; ++column) {
                const int day = model.DayAt(row, column);
                if (day == 0)
                    continue;
                ++daysFound;
                EXPECT_EQ(model.CellOfDay(day), (CCalendarModel::SCell{row, column}));
            }
        }
        EXPECT_EQ(daysFound, model.DaysInMonth());
    }
    EXPECT_EQ(ModelOf(D(1, 1, 2005)).CellOfDay(31), (CCalendarModel::SCell{7, 1}));
    EXPECT_EQ(ModelOf(D(1, 1, 2005)).CellOfDay(32), (CCalendarModel::SCell{}));
    EXPECT_EQ(ModelOf(D(1, 1, 2005)).Title(), "January 2005");
}

TEST_F(CalendarTest, MonthStepsCutTheSelectedDayToTheNewMonth) {
    struct {
        CJournalDate from;
        int direction;
        CJournalDate to;
    } cases[] = {
        {D(31, 3, 2005), -1, D(28, 2, 2005)},
        {D(31, 3, 2004), -1, D(29, 2, 2004)}, // leap year keeps the 29th
        {D(31, 1, 2100), 1, D(28, 2, 2100)},  // a century that is no leap year
        {D(31, 1, 2000), 1, D(29, 2, 2000)},
        {D(31, 5, 2004), -1, D(30, 4, 2004)},
        {D(15, 1, 2005), -1, D(15, 12, 2004)},
        {D(31, 12, 2004), 1, D(31, 1, 2005)},
        {D(30, 4, 2004), 1, D(30, 5, 2004)}, // never grows back
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from.Day() << "/" << c.from.Month() << "/"
                                        << c.from.Year() << " by " << c.direction);
        CCalendarModel model = ModelOf(c.from);
        EXPECT_TRUE(model.StepMonth(c.direction));
        EXPECT_EQ(model.SelectedDate(), c.to);
    }
    CCalendarModel first = ModelOf(D(1, 1, CCalendarModel::kFirstYear));
    EXPECT_FALSE(first.StepMonth(-1));
    EXPECT_EQ(first.SelectedDate(), D(1, 1, CCalendarModel::kFirstYear));
}

TEST_F(CalendarTest, SelectionMovesOnlyWithinTheMonth) {
    CCalendarModel model = ModelOf(D(3, 2, 2005));
    EXPECT_FALSE(model.MoveSelection(-7));
    EXPECT_FALSE(model.SelectDay(29));
    EXPECT_FALSE(model.SelectDay(0));
    EXPECT_EQ(model.SelectedDay(), 3);
    EXPECT_TRUE(model.MoveSelection(7 * 3));
    EXPECT_EQ(model.SelectedDay(), 24);
    EXPECT_FALSE(model.MoveSelection(7));
    // A date the view cannot show leaves it as it was.
    model.SetDate(CJournalDate());
    EXPECT_EQ(model.SelectedDate(), D(24, 2, 2005));
}

TEST_F(CalendarTest, TodayIsKnownOnlyInItsOwnMonth) {
    EXPECT_EQ(ModelOf(D(1, 1, 2005)).TodayDay(), 15);
    EXPECT_EQ(ModelOf(D(1, 2, 2005)).TodayDay(), 0);
    EXPECT_EQ(ModelOf(D(1, 1, 2004)).TodayDay(), 0);
    // A new model starts on today.
    EXPECT_EQ(CCalendarModel().SelectedDate(), D(15, 1, 2005));
}

TEST_F(CalendarTest, ViewUsesTahomaAtEightAndAHalfPoints) {
    if (!QFileInfo::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")))
        GTEST_SKIP() << "fonts-wine is not installed";
    CMonthCalendar view;
    EXPECT_EQ(QFontInfo(view.font()).family(), QStringLiteral("Tahoma"));
    EXPECT_DOUBLE_EQ(view.font().pointSizeF(), 8.5);
    EXPECT_EQ(view.size(), QSize(7 * 19, 8 * 16));
}

TEST_F(CalendarTest, PairStepsBothViewsAndStaysConsecutive) {
    CCalendarPair pair;
    pair.SetDate(D(15, 1, 2005));
    pair.show();
    CMonthCalendar* left = pair.Left();
    CMonthCalendar* right = pair.Right();
    auto shown = [&] {
        return std::vector<int>{left->Model().Month(), left->Model().Year(), right->Model().Month(),
                                right->Model().Year()};
    };
    EXPECT_EQ(shown(), (std::vector<int>{1, 2005, 2, 2005}));

    const QPoint previousArrow(4, 8);
    const QPoint nextArrow(7 * 19 - 4, 8);
    QTest::mouseClick(left, Qt::LeftButton, {}, previousArrow);
    EXPECT_EQ(shown(), (std::vector<int>{12, 2004, 1, 2005}));

    // The left view offers no forward step and the right view no backward one.
    QTest::mouseClick(left, Qt::LeftButton, {}, nextArrow);
    QTest::mouseClick(right, Qt::LeftButton, {}, previousArrow);
    // Between the arrow areas the title does nothing.
    QTest::mouseClick(right, Qt::LeftButton, {}, QPoint(3 * 19 + 5, 8));
    EXPECT_EQ(shown(), (std::vector<int>{12, 2004, 1, 2005}));

    QTest::mouseClick(right, Qt::LeftButton, {}, nextArrow);
    QTest::mouseClick(right, Qt::LeftButton, {}, nextArrow);
    EXPECT_EQ(shown(), (std::vector<int>{2, 2005, 3, 2005}));

    // Whatever the order of steps, the right view shows the month after the left one.
    for (int i = 0; i < 30; ++i) {
        if (i % 3 == 0)
            QTest::mouseClick(right, Qt::LeftButton, {}, nextArrow);
        else
            QTest::mouseClick(left, Qt::LeftButton, {}, previousArrow);
        const int leftIndex = left->Model().Year() * 12 + left->Model().MonthIndex();
        const int rightIndex = right->Model().Year() * 12 + right->Model().MonthIndex();
        ASSERT_EQ(rightIndex, leftIndex + 1);
    }
}

TEST_F(CalendarTest, PairTakesTheDocumentDate) {
    CCalendarPair pair;
    pair.SetDate(D(31, 1, 2005));
    EXPECT_EQ(pair.Left()->SelectedDate(), D(31, 1, 2005));
    EXPECT_EQ(pair.Right()->Model().Month(), 2);
    EXPECT_EQ(pair.Right()->Model().Year(), 2005);
    EXPECT_LE(pair.Right()->Model().SelectedDay(), 28);
    EXPECT_TRUE(pair.Left()->IsSelectionShown());
    EXPECT_FALSE(pair.Right()->IsSelectionShown());

    pair.SetDate(D(10, 12, 2004));
    EXPECT_EQ(pair.Left()->SelectedDate(), D(10, 12, 2004));
    EXPECT_EQ(pair.Right()->Model().Month(), 1);
    EXPECT_EQ(pair.Right()->Model().Year(), 2005);
}

TEST_F(CalendarTest, ClickingADayChoosesItInEitherView) {
    CCalendarPair pair;
    pair.SetDate(D(15, 1, 2005));
    pair.show();
    std::vector<CJournalDate> chosen;
    QObject::connect(&pair, &CCalendarPair::DayChosen,
                     [&](const CJournalDate& date) { chosen.push_back(date); });

    QTest::mouseClick(pair.Right(), Qt::LeftButton, {}, CentreOfDay(*pair.Right(), 20));
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0], D(20, 2, 2005));
    // The highlight moves to the view that holds the chosen day.
    EXPECT_TRUE(pair.Right()->IsSelectionShown());
    EXPECT_FALSE(pair.Left()->IsSelectionShown());

    QTest::mouseClick(pair.Left(), Qt::LeftButton, {}, CentreOfDay(*pair.Left(), 1));
    ASSERT_EQ(chosen.size(), 2u);
    EXPECT_EQ(chosen[1], D(1, 1, 2005));
    EXPECT_TRUE(pair.Left()->IsSelectionShown());
    EXPECT_FALSE(pair.Right()->IsSelectionShown());

    // Empty cells before the first day, the weekday row and the rows after the last day
    // choose nothing. January 2005 starts on a Saturday.
    QTest::mouseClick(pair.Left(), Qt::LeftButton, {}, CMonthCalendar::CellRect(2, 0).center());
    QTest::mouseClick(pair.Left(), Qt::LeftButton, {}, CMonthCalendar::CellRect(1, 3).center());
    QTest::mouseClick(pair.Right(), Qt::LeftButton, {}, CMonthCalendar::CellRect(7, 3).center());
    EXPECT_EQ(chosen.size(), 2u);
}

TEST_F(CalendarTest, ArrowKeysMoveTheSelectionAndChooseTheDay) {
    CMonthCalendar view;
    view.SetDate(D(3, 2, 2005));
    std::vector<CJournalDate> chosen;
    QObject::connect(&view, &CMonthCalendar::DayChosen,
                     [&](const CJournalDate& date) { chosen.push_back(date); });
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.SelectedDate(), D(10, 2, 2005));
    QTest::keyClick(&view, Qt::Key_Up);
    QTest::keyClick(&view, Qt::Key_Up); // would leave the month: stays
    EXPECT_EQ(view.SelectedDate(), D(3, 2, 2005));
    ASSERT_EQ(chosen.size(), 4u);
    EXPECT_EQ(chosen.back(), D(3, 2, 2005));
}

TEST_F(CalendarTest, HoldingAnArrowRepeatsUntilReleaseOrFocusLoss) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* view = new CMonthCalendar(&window);
    auto* other = new QLineEdit(&window);
    layout->addWidget(view);
    layout->addWidget(other);
    view->SetDate(D(15, 6, 2005));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto monthNumber = [&] { return view->Model().Year() * 12 + view->Model().MonthIndex(); };
    const int start = monthNumber();
    const QPoint nextArrow(7 * 19 - 4, 8);

    QElapsedTimer held;
    held.start();
    QTest::mousePress(view, Qt::LeftButton, {}, nextArrow);
    EXPECT_EQ(monthNumber(), start + 1); // the press itself steps at once
    QTest::qWait(700);
    QTest::mouseRelease(view, Qt::LeftButton, {}, nextArrow);
    const qint64 heldFor = held.elapsed();
    const int afterRelease = monthNumber();
    EXPECT_GE(afterRelease, start + 2);
    // Not faster than every 150 ms (a coarse timer may fire a few percent early).
    EXPECT_LE(afterRelease, start + 1 + heldFor * 100 / (CMonthCalendar::kRepeatMilliseconds * 95));
    QTest::qWait(400);
    EXPECT_EQ(monthNumber(), afterRelease);

    const QPoint previousArrow(4, 8);
    QTest::mousePress(view, Qt::LeftButton, {}, previousArrow);
    EXPECT_TRUE(view->hasFocus());
    QTest::qWait(350);
    other->setFocus();
    const int afterFocusLoss = monthNumber();
    EXPECT_LT(afterFocusLoss, afterRelease - 1);
    QTest::qWait(400);
    EXPECT_EQ(monthNumber(), afterFocusLoss);
    QTest::mouseRelease(view, Qt::LeftButton, {}, previousArrow);
}

TEST_F(CalendarTest, DrawsTodaysOutlineAndTheHighlightWhereTheyBelong) {
    CCalendarPair pair;
    const QColor text(0, 0, 0);
    const QColor back(255, 255, 192);
    pair.SetColors(text, back);
    pair.SetDate(D(3, 1, 2005)); // today is 15 January 2005
    pair.show();
    const QColor highlight = pair.palette().color(QPalette::Active, QPalette::Highlight);
    ASSERT_NE(highlight, back);

    // The corners of a cell hold no digit: only a fill or the outline colours them.
    auto corner = [](const QImage& image, const CMonthCalendar& view, int day) {
        const CCalendarModel::SCell cell = view.Model().CellOfDay(day);
        return QColor(image.pixel(CMonthCalendar::CellRect(cell.row, cell.column).topLeft()));
    };
    const QImage left = pair.Left()->grab().toImage();
    const QImage right = pair.Right()->grab().toImage();
    EXPECT_EQ(corner(left, *pair.Left(), 15), text);
    EXPECT_EQ(corner(left, *pair.Left(), 16), back);
    EXPECT_EQ(corner(left, *pair.Left(), 3), highlight);
    for (int day = 1; day <= pair.Right()->Model().DaysInMonth(); ++day) {
        SCOPED_TRACE(day);
        ASSERT_EQ(corner(right, *pair.Right(), day), back);
    }

    // Stepping the pair forward moves January out of both views: no outline anywhere.
    QTest::mouseClick(pair.Right(), Qt::LeftButton, {}, QPoint(7 * 19 - 4, 8));
    const QImage stepped = pair.Left()->grab().toImage();
    for (int day = 1; day <= pair.Left()->Model().DaysInMonth(); ++day) {
        SCOPED_TRACE(day);
        ASSERT_NE(corner(stepped, *pair.Left(), day), text);
    }
}

TEST_F(CalendarTest, DateDialogReturnsTheChosenDateOnlyOnOk) {
    struct {
        QDialogButtonBox::StandardButton button;
        bool expectDate;
    } cases[] = {{QDialogButtonBox::Ok, true}, {QDialogButtonBox::Cancel, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expectDate);
        QString title;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CDateDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            title = dialog->windowTitle();
            CMonthCalendar* calendar = dialog->Calendar();
            EXPECT_TRUE(calendar->HasPreviousArrow());
            EXPECT_TRUE(calendar->HasNextArrow());
            QTest::mouseClick(calendar, Qt::LeftButton, {}, QPoint(4, 8));
            QTest::mouseClick(calendar, Qt::LeftButton, {}, CentreOfDay(*calendar, 20));
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            ASSERT_NE(buttons, nullptr);
            QTest::mouseClick(buttons->button(c.button), Qt::LeftButton);
        });
        std::optional<CJournalDate> result = CDateDialog::Choose(D(10, 3, 2005));
        EXPECT_EQ(title, QStringLiteral("Date"));
        EXPECT_EQ(result.has_value(), c.expectDate);
        if (c.expectDate && result) {
            EXPECT_EQ(*result, D(20, 2, 2005));
        }
    }
}
