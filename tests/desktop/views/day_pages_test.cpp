// SPDX-License-Identifier: GPL-3.0-or-later
// The day's pages in the running main window: the meal log grid and the daily notes.
#include "tests/desktop/frame/shell_test_support.h"

#include "core/journal/journal_clipboard.h"
#include "desktop/document/view_services.h"
#include "desktop/frame/page_container.h"
#include "desktop/views/journal/daily_notes_page.h"
#include "desktop/views/journal/food_grid_ctrl.h"
#include "desktop/widgets/commands.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTest>

using namespace fitquill;
using namespace fitquill::test;

namespace {

const CJournalDate kMarch15(15, 3, 2024); // today of the test world
const CJournalDate kMarch16(16, 3, 2024);

CFoodItem Food(const std::string& name, int meal, float calories) {
    CFoodItem item;
    item.SetName(name, true);
    item.SetBaseMeasure({1, kUnitCup}, false);
    item.SetNutrientValue(kNutrientCalories, calories);
    item.SetServing({1, kUnitCup});
    item.SetMealType(static_cast<uint16_t>(meal));
    return item;
}

// Records what the meal log asked of the food dialogs and answers as told.
class CFakeFoodDialogs : public IFoodDialogs {
public:
    SFoodDialogResult InsertFood(QWidget*, int sortMode) override {
        calls.push_back({-1, sortMode});
        return answer;
    }
    SFoodDialogResult EditFood(QWidget*, int position, int sortMode) override {
        calls.push_back({position, sortMode});
        return answer;
    }
    struct SCall {
        int position;
        int sortMode;
    };
    std::vector<SCall> calls;
    SFoodDialogResult answer;
};

class DayPages : public ShellTest {
protected:
    void TearDown() override {
        CJournalClipboard::Food().clear();
        ShellTest::TearDown();
    }

    // Ann's 15 March: Toast (breakfast), Soup (lunch), Apple (snack); opened on the Meal Log.
    void StartWithDay() {
        AddUser("Ann", kAnnId);
        WriteJournal("Ann", {kMarch15}, [](CJournalDB& journal) {
            journal.GoToDate(kMarch15);
            CDayFoodLog& food = journal.CurrentDay()->FoodLog();
            food.AddEntry(kSortByMeal, Food("Toast", kMealBreakfast, 80), journal.IdGenerator());
            food.AddEntry(kSortByMeal, Food("Soup", kMealLunch, 101), journal.IdGenerator());
            food.AddEntry(kSortByMeal, Food("Apple", kMealSnack, 52), journal.IdGenerator());
        });
        Remember(QStringLiteral("Ann"));
        Start();
        ASSERT_TRUE(m_data->HasOpenUser());
        m_data->Journal().GoToDate(kMarch15);
        m_data->ShowPage(2);
        grid = m_frame->findChild<CFoodGridCtrl*>();
        ASSERT_NE(grid, nullptr);
        grid->setFocus();
        m_data->RefreshViews();
    }

    std::vector<std::string> EntryNames() {
        std::vector<std::string> names;
        const CDayFoodLog& food = m_data->Journal().CurrentDay()->FoodLog();
        for (int meal = 0; meal < kMealCount; ++meal)
            for (const CFoodItem& item : food.MealEntries(meal))
                names.push_back(item.Name());
        return names;
    }

    bool Enabled(int id) {
        bool enabled = false;
        EXPECT_TRUE(grid->QueryCommand(id, enabled)) << id;
        return enabled;
    }

    CFoodGridCtrl* grid = nullptr;
};

} // namespace

TEST_F(DayPages, MealLogCommandsActOnTheSelectedPositionsOfTheShownSortMode) {
    StartWithDay();
    // By meal: 1 Breakfast, 2 Toast, 3 Lunch, 4 Soup, 5 Snack, 6 Apple, 7 Totals, 8 hint.
    EXPECT_EQ(grid->RowCount(), CFoodGridCtrl::kMinimumRows);
    EXPECT_EQ(grid->RowTexts(4).Cell(0, 0), "Soup");
    grid->SetCurrentCell(1, 1);
    EXPECT_FALSE(Enabled(kIdEditItem)) << "a meal heading is not an entry";
    grid->SetCurrentCell(4, 1);
    EXPECT_TRUE(Enabled(kIdEditItem));
    grid->ExecuteCommand(kIdEditCopy);
    ASSERT_EQ(CJournalClipboard::Food().size(), 1u);
    EXPECT_EQ(CJournalClipboard::Food()[0].Name(), "Soup");

    // Alphabetical: 1 Apple, 2 Soup, 3 Toast; the headings are gone.
    m_data->Journal().SetModified(false);
    m_frame->RunCommand(kIdSortToggle);
    EXPECT_EQ(m_data->SortMode(), kSortAlphabetical);
    EXPECT_TRUE(m_data->IsModified());
    EXPECT_TRUE(m_frame->Action(kIdSortToggle)->isChecked()) << "pressed while alphabetical";
    EXPECT_FALSE(m_frame->Action(kIdNutrientToggle)->isChecked());
    m_frame->RunCommand(kIdNutrientToggle);
    EXPECT_EQ(m_data->NutrientToggle(), 1);
    EXPECT_TRUE(m_frame->Action(kIdNutrientToggle)->isChecked());
    EXPECT_EQ(grid->RowTexts(1).Cell(0, 0), "Apple");
    EXPECT_EQ(grid->RowTexts(4).kind, EMealLogRowKind::FoodTotals);

    CFakeFoodDialogs dialogs;
    m_data->SetFoodDialogs(&dialogs);
    dialogs.answer = {true, false, 0};
    grid->SetCurrentCell(3, 1);
    m_frame->RunCommand(kIdEditItem);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.calls[0].position, 2) << "Toast is position 2 alphabetically";
    EXPECT_EQ(dialogs.calls[0].sortMode, kSortAlphabetical);
    EXPECT_EQ(grid->CurrentRow(), 1) << "the entry's new row is selected";

    // On a row that holds no entry, Edit inserts.
    grid->SetCurrentCell(5, 1);
    grid->ExecuteCommand(kIdEditItem);
    ASSERT_EQ(dialogs.calls.size(), 2u);
    EXPECT_EQ(dialogs.calls[1].position, -1);

    grid->SelectRows(1, 2);
    m_prompt->Answer(EPromptAnswer::Yes);
    m_frame->RunCommand(kIdDeleteFoodItems);
    ASSERT_EQ(ShownTexts().size(), 1u);
    EXPECT_EQ(ShownTexts()[0], "Are you sure you want to delete the selected food items?");
    EXPECT_EQ(EntryNames(), std::vector<std::string>{"Toast"});
    m_data->SetFoodDialogs(nullptr);
}

TEST_F(DayPages, DeleteWithTheTotalsRowSelectedDoesNothing) {
    StartWithDay();
    grid->SelectRows(5, 7); // Snack, Apple, Totals
    EXPECT_FALSE(Enabled(kIdDeleteFoodItems));
    EXPECT_FALSE(Enabled(kIdEditCopy));
    QTest::keyClick(grid, Qt::Key_Delete);
    grid->ExecuteCommand(kIdDeleteFoodItems);
    EXPECT_TRUE(ShownTexts().empty());
    EXPECT_EQ(EntryNames().size(), 3u);

    grid->ExecuteCommand(kIdEditSelectAll);
    EXPECT_EQ(grid->FirstSelectedRow(), 1);
    EXPECT_EQ(grid->LastSelectedRow(), 6);
    m_prompt->Answer(EPromptAnswer::No);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(ShownTexts().size(), 1u);
    EXPECT_EQ(EntryNames().size(), 3u) << "No keeps the entries";
}

TEST_F(DayPages, PasteStopsAtTheRecordLimitAndSaysSo) {
    StartWithDay();
    // Far more than one handheld record holds.
    CFoodItem big = Food(std::string(60, 'x'), kMealDinner, 10);
    CJournalClipboard::Food().assign(1000, big);
    m_data->Journal().NextDay(); // 16 March: no record yet
    m_data->RefreshViews();
    EXPECT_TRUE(Enabled(kIdEditPaste));
    grid->ExecuteCommand(kIdEditPaste);
    ASSERT_EQ(ShownTexts().size(), 1u);
    EXPECT_EQ(ShownTexts()[0], "Due to the maximum food limit per category not all of the food "
                               "items were pasted from the clipboard.");
    CDayRecord* day = m_data->Journal().CurrentDay();
    ASSERT_NE(day, nullptr) << "the record was created for the paste";
    EXPECT_EQ(day->Date(), kMarch16);
    EXPECT_GT(day->FoodLog().EntryCount(), 100);
    EXPECT_LT(day->FoodLog().EntryCount(), 1000);
}

TEST_F(DayPages, InsertWithoutFoodDialogsSaysItIsNotAvailable) {
    StartWithDay();
    m_data->SetFoodDialogs(nullptr);
    m_frame->RunCommand(kIdInsertFoodItem);
    ASSERT_EQ(ShownTexts().size(), 1u);
    EXPECT_EQ(ShownTexts()[0], NotAvailableText(kIdInsertFoodItem));

    CFakeFoodDialogs dialogs;
    dialogs.answer = {true, false, 3};
    m_data->SetFoodDialogs(&dialogs);
    m_frame->RunCommand(kIdInsertFoodItem);
    EXPECT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(grid->CurrentRow(), 4);
    EXPECT_EQ(m_data->SelectedPage(), 2);
    m_data->SetFoodDialogs(nullptr);

    m_frame->resize(960, 740);
    QApplication::processEvents();
    m_frame->grab().save(QStringLiteral("meal_log_page.png"));
}

TEST_F(DayPages, FirstNoteCharacterCreatesTheRecordAndMarksModified) {
    StartWithDay();
    m_data->Journal().NextDay();
    m_data->NotifyDayChanged();
    m_data->ShowPage(3);
    auto* notes = m_frame->findChild<CDailyNotesPage*>();
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(notes->toPlainText(), "");
    EXPECT_EQ(notes->placeholderText(), "Enter daily notes here.");
    m_data->Journal().SetModified(false);
    m_data->UpdateStatusBar();
    EXPECT_EQ(m_frame->StatusPane(3)->text(), "");
    ASSERT_EQ(m_data->Journal().CurrentRecord(), nullptr);

    QTest::keyClicks(notes, "R");
    ASSERT_NE(m_data->Journal().CurrentRecord(), nullptr);
    EXPECT_EQ(m_data->Journal().CurrentRecord()->Note(), "R");
    EXPECT_EQ(m_frame->StatusPane(3)->text(), "MOD");
    QTest::keyClicks(notes, "est day");
    EXPECT_EQ(m_data->Journal().CurrentRecord()->Note(), "Rest day");
    m_frame->resize(960, 740);
    QApplication::processEvents();
    m_frame->grab().save(QStringLiteral("daily_journal_page.png"));

    // The note keeps at most 1023 bytes, as the record does.
    QTest::keyClicks(notes, QString(1100, QLatin1Char('z')));
    EXPECT_EQ(notes->toPlainText().size(), 1023);
    EXPECT_EQ(m_data->Journal().CurrentRecord()->Note().size(), 1023u);

    // Another day shows its own note; showing it is not an edit.
    m_data->Journal().SetModified(false);
    m_data->Journal().PreviousDay();
    m_data->NotifyDayChanged();
    EXPECT_EQ(notes->toPlainText(), "");
    EXPECT_EQ(notes->placeholderText(), "");
    EXPECT_FALSE(m_data->IsModified());
}

TEST_F(DayPages, StatusBarPanesFitTheirTextsAndNeverOverlap) {
    StartWithDay();
    // A goal makes the goal pane's text long.
    CUserProfile& profile = m_data->Journal().Profile();
    profile.SetAge(40);
    profile.SetHeightFeetInches(5, 6);
    profile.SetStartingWeight(180, false);
    profile.SetGoalWeight(150, false);
    CJournalDate goal = kMarch15;
    for (int i = 0; i < 90; ++i)
        goal.StepDays(1);
    profile.SetStartingDate(kMarch15);
    profile.SetGoalDate(goal);
    m_data->RefreshViews();
    m_frame->show();
    for (int width : {1200, 800, 500}) {
        m_frame->resize(width, 600);
        QApplication::processEvents();
        std::vector<QLabel*> panes;
        for (QLabel* label : m_frame->statusBar()->findChildren<QLabel*>())
            if (label->isVisible())
                panes.push_back(label);
        ASSERT_GE(panes.size(), 5u);
        for (size_t i = 0; i < panes.size(); ++i)
            for (size_t j = i + 1; j < panes.size(); ++j)
                EXPECT_FALSE(panes[i]->geometry().intersects(panes[j]->geometry()))
                    << width << ": " << panes[i]->text().toStdString() << " / "
                    << panes[j]->text().toStdString();
        if (width >= 800)
            for (int pane = 0; pane < 4; ++pane) {
                QLabel* label = m_frame->StatusPane(pane);
                EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()))
                    << width << ": " << label->text().toStdString();
            }
    }
}
