// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: placement, pages, command routing and enabling, day commands, the status
// bar, saving and its failures, the HotSync notice and closing.
#include "tests/desktop/frame/shell_test_support.h"

#include "core/food/food_item.h"
#include "core/food/nutrient.h"
#include "core/internal_error.h"
#include "core/journal/journal_file.h"
#include "desktop/document/program_paths.h"
#include "desktop/foodedit/auto_update_dialog.h"
#include "desktop/frame/colors_dialog.h"
#include "desktop/frame/delete_range_dialog.h"
#include "desktop/frame/diet_application.h"
#include "desktop/frame/page_container.h"
#include "desktop/frame/page_tab_ctrl.h"
#include "desktop/frame/user_guide.h"
#include "desktop/frame/users_dialog.h"
#include "desktop/install/install_dialog.h"
#include "desktop/views/calendar_pair.h"
#include "desktop/widgets/commands.h"
#include "desktop/widgets/month_calendar.h"
#include "platform/presence/presence_client.h"
#include "platform/presence/presence_server.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTest>
#include <QToolBar>

#include <algorithm>
#include <fstream>
#include <future>

using namespace fitquill;
using namespace fitquill::test;
namespace fs = std::filesystem;

namespace {

const CJournalDate kMarch13(13, 3, 2024);
const CJournalDate kMarch14(14, 3, 2024);
const CJournalDate kMarch15(15, 3, 2024); // today

QStringList MenuCaptions(const QList<QAction*>& actions) {
    QStringList captions;
    for (QAction* action : actions)
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

QMenu* SubMenu(QMenu* menu, const QString& title) {
    for (QAction* action : menu->actions())
        if (action->menu() && action->text() == title)
            return action->menu();
    return nullptr;
}

// A window on the command route that handles a fixed set of commands and counts what it ran.
class CCountingTarget : public QWidget, public ICommandTarget {
public:
    explicit CCountingTarget(std::vector<int> handled) : m_handled(std::move(handled)) {
        setFocusPolicy(Qt::StrongFocus);
    }
    bool QueryCommand(int id, bool& enabled) override {
        enabled = true;
        return Handles(id);
    }
    bool ExecuteCommand(int id) override {
        if (!Handles(id))
            return false;
        m_ran.push_back(id);
        return true;
    }
    bool Handles(int id) const {
        return std::find(m_handled.begin(), m_handled.end(), id) != m_handled.end();
    }
    std::vector<int> m_handled;
    std::vector<int> m_ran;
};

} // namespace

class MainFrame : public ShellTest {
protected:
    // Ann (Palm user 1234) with records on 13, 14 and 15 March 2024, opened at start-up.
    CMainFrame& StartWithAnn(const std::function<void(CJournalDB&)>& edit = {}) {
        AddUser("Ann", kAnnId);
        AddUser("Bob", kBobId);
        WriteJournal("Ann", {kMarch13, kMarch14, kMarch15}, edit);
        Remember(QStringLiteral("Ann"));
        CMainFrame& frame = Start();
        EXPECT_TRUE(m_data->HasOpenUser());
        return frame;
    }
};

TEST_F(MainFrame, FirstStartCentresTheDefaultSizeAndClosingSavesThePlacement) {
    EXPECT_EQ(CMainFrame::DefaultPlacement(QSize(1024, 768)), (SEdges{32, 14, 992, 754}));
    EXPECT_EQ(CMainFrame::DefaultPlacement(QSize(800, 600)), (SEdges{0, 0, 800, 600}));
    EXPECT_EQ(CMainFrame::DefaultPlacement(QSize(1280, 700)), (SEdges{160, 0, 1120, 700}));
    EXPECT_EQ(CMainFrame::DefaultPlacement(std::nullopt), (SEdges{0, 0, 960, 700}));

    CMainFrame& frame = StartWithAnn();
    EXPECT_EQ(frame.geometry(), QRect(32, 14, 960, 740)) << "on the 1024 x 768 test desktop";

    frame.setGeometry(100, 50, 800, 600);
    frame.showMinimized();
    EXPECT_TRUE(frame.close());
    SWindowPlacement saved = CShellSettings().ReadPlacement();
    EXPECT_EQ(saved.normal, (SEdges{100, 50, 900, 650}));
    EXPECT_EQ(saved.length, 44);

    // A window closed while minimised comes back normal at its rectangle.
    Stop();
    CMainFrame& again = Start();
    EXPECT_FALSE(again.isMinimized());
    EXPECT_EQ(again.geometry(), QRect(100, 50, 800, 600));
}

TEST_F(MainFrame, StoredPageBeyondTheLastOpensTheLastAndThePageIsRemembered) {
    CShellSettings().Store().setValue(QStringLiteral("WindowStates/CurrentTab"), 9);
    CMainFrame& frame = StartWithAnn();
    EXPECT_EQ(m_data->SelectedPage(), 5);
    EXPECT_EQ(frame.PageTabCtrl()->TabBar()->currentIndex(), 5);
    EXPECT_EQ(frame.PageTabCtrl()->Container()->Title(), "Nutrient Tables");
    EXPECT_TRUE(frame.PageTabCtrl()->Container()->Page(5)->isVisible());

    frame.RunCommand(kIdViewLogbook);
    EXPECT_EQ(frame.PageTabCtrl()->Container()->Title(), "Logbook");
    EXPECT_FALSE(frame.PageTabCtrl()->Container()->Page(5)->isVisible());
    frame.PageTabCtrl()->TabBar()->setCurrentIndex(3); // a tab click
    EXPECT_EQ(m_data->SelectedPage(), 3);
    EXPECT_EQ(frame.PageTabCtrl()->Container()->Title(), "Daily Journal");
    Stop();
    EXPECT_EQ(CShellSettings().CurrentTab(), 3);
}

TEST_F(MainFrame, InsertFoodItemIsEnabledOnlyOnTheMealLogPage) {
    CMainFrame& frame = StartWithAnn();
    const int views[] = {kIdViewDietPlan,     kIdViewLogbook,      kIdViewMealLog,
                         kIdViewDailyJournal, kIdViewSummaryTable, kIdViewNutrientTables};
    for (int page = 0; page < 6; ++page) {
        frame.RunCommand(views[page]);
        EXPECT_EQ(frame.Action(kIdInsertFoodItem)->isEnabled(), page == 2) << "page " << page;
    }
    // Without the food dialogs the command says so instead of doing nothing.
    m_data->SetFoodDialogs(nullptr);
    frame.RunCommand(kIdViewMealLog);
    frame.RunCommand(kIdInsertFoodItem);
    ASSERT_EQ(m_prompt->Shown().size(), 1u);
    EXPECT_EQ(m_prompt->Shown()[0].caption, "Insert Food Item");
    // Edit commands of controls that do not exist are greyed, not silently dead.
    for (int id : {kIdEditCut, kIdEditCopy, kIdEditPaste, kIdEditSelectAll, kIdInsertGroup,
                   kIdDeleteFoodItems})
        EXPECT_FALSE(frame.Action(id)->isEnabled()) << id;
    // The focused meal log takes the toolbar's toggles.
    EXPECT_TRUE(frame.Action(kIdSortToggle)->isEnabled());
    EXPECT_TRUE(frame.Action(kIdNutrientToggle)->isEnabled());
}

TEST_F(MainFrame, CommandsGoToTheFoodPaneFirstThenTheFocusedPageThenTheFrame) {
    CMainFrame& frame = StartWithAnn();
    auto* food = new CCountingTarget({kIdFileSaveAll, kIdInsertGroup});
    frame.SetFoodPane(food);
    auto* mealLog = new CCountingTarget({kIdEditCut, kIdInsertGroup, kIdDeleteCurrentDay});
    frame.PageTabCtrl()->Container()->ReplacePage(2, mealLog);
    frame.RunCommand(kIdViewMealLog);
    EXPECT_TRUE(mealLog->isVisible());
    EXPECT_EQ(frame.FoodPane(), food);

    frame.UpdateCommandStates();
    EXPECT_TRUE(frame.Action(kIdEditCut)->isEnabled()) << "the focused page enables it";
    frame.RunCommand(kIdEditCut);
    frame.RunCommand(kIdInsertGroup); // both handle it: the food pane wins
    frame.RunCommand(kIdFileSaveAll); // before the document
    m_prompt->Answer(EPromptAnswer::No);
    frame.RunCommand(kIdDeleteCurrentDay); // the page before the frame
    EXPECT_EQ(food->m_ran, (std::vector<int>{kIdInsertGroup, kIdFileSaveAll}));
    EXPECT_EQ(mealLog->m_ran, (std::vector<int>{kIdEditCut, kIdDeleteCurrentDay}));
    EXPECT_TRUE(m_prompt->Shown().empty());
    EXPECT_FALSE(fs::exists(ProgramFolderOf("Ann") / kFoodDbFileName)) << "nothing saved";

    // Away from the page, its commands fall back to the frame (Cut: greyed there).
    food->setFocus();
    frame.UpdateCommandStates();
    EXPECT_FALSE(frame.Action(kIdEditCut)->isEnabled());
}

TEST_F(MainFrame, MenusToolbarsAndSplitFollowTheCommandTable) {
    CMainFrame& frame = StartWithAnn();
    EXPECT_EQ(MenuCaptions(frame.menuBar()->actions()),
              (QStringList{"&File", "&Edit", "&View", "&Options", "&Help"}));
    QList<QAction*> menus = frame.menuBar()->actions();
    EXPECT_EQ(MenuCaptions(menus[0]->menu()->actions()),
              (QStringList{"&New...", "&Open...", "&Save All", "-", "&Import", "&Export", "-",
                           "&Print...", "Print Pre&view", "Export as P&DF...", "P&rint Setup...",
                           "Page Set&up...", "-", "E&xit"}));
    QMenu* food = SubMenu(SubMenu(menus[0]->menu(), "&Import"), "&Food Data");
    ASSERT_NE(food, nullptr);
    EXPECT_EQ(MenuCaptions(food->actions()), (QStringList{"From File...", "Automatic Update..."}));
    QMenu* remove = SubMenu(menus[1]->menu(), "&Delete");
    ASSERT_NE(remove, nullptr);
    EXPECT_EQ(MenuCaptions(remove->actions()),
              (QStringList{"&Group", "&Category", "&Food Item(s)", "-", "&Exercise Item(s)", "-",
                           "&Current Day", "&Range of Days...", "&All Days"}));
    EXPECT_EQ(MenuCaptions(menus[2]->menu()->actions()),
              (QStringList{"&First Day", "&Previous Day", "&Next Day", "L&ast Day", "-",
                           "&Diet Plan", "&Logbook", "&Meal Log", "&Daily Journal",
                           "&Summary Table", "&Nutrient Tables"}));
    EXPECT_EQ(MenuCaptions(menus[3]->menu()->actions()),
              (QStringList{"&Install Handheld Software...", "-", "&Colors..."}));
    EXPECT_EQ(MenuCaptions(menus[4]->menu()->actions()), (QStringList{"&User Guide", "&About..."}));

    QStringList tips;
    for (QAction* action : frame.StandardToolBar()->actions())
        tips << (action->isSeparator() ? QStringLiteral("-") : action->toolTip());
    EXPECT_EQ(tips,
              (QStringList{"New User", "Open User", "Save User", "-", "Print", "Print Preview", "-",
                           "Cut", "Copy", "Paste", "-", "Sort Toggle", "Nutrient Toggle", "-",
                           "First Day", "Previous Day", "Next Day", "Last Day"}));
    EXPECT_EQ(frame.StandardToolBar()->windowTitle(), "Standard");
    EXPECT_EQ(frame.UserToolBar()->windowTitle(), "Current User");
    QAction* save = frame.Action(kIdFileSaveAll);
    EXPECT_EQ(save->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(save->statusTip(), "Saves the current User");
    EXPECT_EQ(frame.Action(kIdEditCut)->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+X"), QKeySequence("Shift+Del")}));

    EXPECT_EQ(frame.Splitter()->sizes().at(0), CMainFrame::kFoodPaneWidth);
    EXPECT_EQ(frame.FoodPane()->minimumWidth(), CMainFrame::kMinimumPaneWidth);
}

TEST_F(MainFrame, DayNavigationMovesOntoDaysWithoutRecordsWithoutCreatingThem) {
    CMainFrame& frame = StartWithAnn();
    EXPECT_EQ(frame.StatusPane(2)->text(), "Record: 3 of 3");
    frame.RunCommand(kIdNextDay);
    EXPECT_EQ(m_data->Journal().CurrentDate(), CJournalDate(16, 3, 2024));
    EXPECT_EQ(frame.StatusPane(2)->text(), "Record: -- of 3");
    EXPECT_EQ(m_data->Journal().DayCount(), 3);
    EXPECT_EQ(frame.CalendarPair()->Left()->SelectedDate(), CJournalDate(16, 3, 2024));
    EXPECT_FALSE(m_data->IsModified());

    frame.RunCommand(kIdFirstDay);
    EXPECT_EQ(frame.StatusPane(2)->text(), "Record: 1 of 3");
    frame.RunCommand(kIdPreviousDay);
    EXPECT_EQ(m_data->Journal().CurrentDate(), CJournalDate(12, 3, 2024));
    frame.RunCommand(kIdLastDay);
    EXPECT_EQ(m_data->Journal().CurrentDate(), kMarch15);

    // A day chosen in the calendars becomes the current day.
    emit frame.CalendarPair()->DayChosen(kMarch14);
    EXPECT_EQ(frame.StatusPane(2)->text(), "Record: 2 of 3");

    // Storing the first value of a day creates its record and marks the document.
    frame.RunCommand(kIdNextDay);
    frame.RunCommand(kIdNextDay);
    int edited = 0;
    QObject::connect(m_data.get(), &CDietData::DayEditedSent, [&] { ++edited; });
    ASSERT_NE(m_data->GetCurrentDay(true), nullptr);
    EXPECT_EQ(edited, 1);
    EXPECT_EQ(frame.StatusPane(2)->text(), "Record: 4 of 4");
    EXPECT_EQ(frame.StatusPane(3)->text(), "MOD");
}

TEST_F(MainFrame, DeleteCommandsAskFirstAndDeleteAllDaysKeepsTheProfile) {
    CMainFrame& frame = StartWithAnn([](CJournalDB& journal) {
        journal.Profile().SetAge(40);
        journal.Profile().SetDietPlan(2);
    });
    frame.RunCommand(kIdFirstDay);

    m_prompt->Answer(EPromptAnswer::No);
    frame.RunCommand(kIdDeleteCurrentDay);
    EXPECT_EQ(m_data->Journal().DayCount(), 3);
    m_prompt->Answer(EPromptAnswer::Yes);
    frame.RunCommand(kIdDeleteCurrentDay);
    EXPECT_EQ(m_data->Journal().DayCount(), 2);
    EXPECT_EQ(frame.StatusPane(2)->text(), "Record: -- of 2");
    EXPECT_EQ(frame.StatusPane(3)->text(), "MOD");

    m_prompt->Answer(EPromptAnswer::Yes);
    frame.RunCommand(kIdDeleteAllDays);
    EXPECT_EQ(m_data->Journal().DayCount(), 0);
    EXPECT_EQ(m_data->Journal().CurrentDate(), kMarch15);
    EXPECT_EQ(m_data->Journal().Profile().Age(), 40);
    EXPECT_EQ(m_data->Journal().Profile().DietPlan(), 2);
    EXPECT_EQ(frame.CalendarPair()->Left()->SelectedDate(), kMarch15);

    ASSERT_EQ(m_prompt->Shown().size(), 3u);
    EXPECT_EQ(m_prompt->Shown()[0].caption, "Current Day");
    EXPECT_EQ(m_prompt->Shown()[0].text, "Are you sure you want to delete current day?");
    EXPECT_EQ(m_prompt->Shown()[2].caption, "All Days");
    EXPECT_EQ(m_prompt->Shown()[2].text, "Are you sure you want to delete all days?");
    EXPECT_EQ(m_prompt->Shown()[2].icon, EPromptIcon::Question);
}

TEST_F(MainFrame, DeleteRangeKeepsToAfterFromAndDeletesTheRange) {
    CDeleteRangeDialog::SetDateChooser(
        [](const CJournalDate&, QWidget*) -> std::optional<CJournalDate> { return kMarch13; });
    {
        CDeleteRangeDialog dialog(true);
        EXPECT_EQ(dialog.From(), kMarch15);
        EXPECT_EQ(dialog.To(), CJournalDate(16, 3, 2024));
        dialog.SetToButton()->click(); // 13 March is before From
        EXPECT_EQ(dialog.To(), CJournalDate(16, 3, 2024));
        dialog.SetFromButton()->click();
        EXPECT_EQ(dialog.From(), kMarch13);
        EXPECT_EQ(dialog.To(), CJournalDate(16, 3, 2024)) << "already later";
        dialog.SetToButton()->click(); // equal to From
        EXPECT_EQ(dialog.To(), kMarch14);
        EXPECT_EQ(dialog.ToLabel()->text().toStdString(), kMarch14.LongText());
    }
    {
        // Without an open journal there is no calendar.
        CDeleteRangeDialog dialog(false);
        dialog.SetFromButton()->click();
        EXPECT_EQ(dialog.From(), kMarch15);
    }

    CMainFrame& frame = StartWithAnn();
    WhenModal<CDeleteRangeDialog>([](CDeleteRangeDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Delete Range");
        dialog.SetFromButton()->click(); // 13 March
        dialog.SetToButton()->click();   // 13 again: To becomes 14 March
        dialog.accept();
    });
    frame.RunCommand(kIdDeleteRangeOfDays);
    CDeleteRangeDialog::SetDateChooser({});
    ASSERT_EQ(m_data->Journal().DayCount(), 1);
    EXPECT_EQ(m_data->Journal().Days()[0].Date(), kMarch15);
    EXPECT_TRUE(m_data->IsModified());
}

TEST_F(MainFrame, StatusBarShowsTheDaysNutrientsAndTheGoalUntilItIsReset) {
    CMainFrame& frame = StartWithAnn([](CJournalDB& journal) {
        CUserProfile& profile = journal.Profile();
        profile.SetStartingWeight(CWeightValue::FromPounds(200));
        profile.SetGoalWeight(CWeightValue::FromPounds(180));
        profile.SetStartingDate(CJournalDate(1, 3, 2024));
        profile.SetGoalDate(CJournalDate(1, 6, 2024));
        journal.GoToDate(kMarch15);
        CFoodItem toast;
        toast.SetName("Toast", true);
        toast.SetNutrientValue(kNutrientCalories, 200);
        toast.SetNutrientValue(kNutrientCarbohydrate, 25);
        toast.SetNutrientValue(kNutrientProtein, 5);
        toast.SetNutrientValue(kNutrientFat, 10);
        toast.SetStoredServingRatio(1.0f);
        journal.CurrentDay()->FoodLog().AddEntry(0, toast, journal.IdGenerator());
    });
    EXPECT_EQ(frame.StatusPane(0)->text(),
              "200 cal     Carb:  50.0%     Prot:  10.0%     Fat:  45.0%");
    QString goal = frame.StatusPane(1)->text();
    EXPECT_TRUE(goal.startsWith("Goal: -") && goal.endsWith(" cal")) << goal.toStdString();
    EXPECT_EQ(frame.StatusPane(3)->text(), "");

    frame.RunCommand(kIdPreviousDay);
    EXPECT_EQ(frame.StatusPane(0)->text(), "0 cal     Carb:  0.0%     Prot:  0.0%     Fat:  0.0%");

    m_prompt->Answer(EPromptAnswer::Yes);
    frame.RunCommand(kIdResetWeightGoals);
    EXPECT_EQ(frame.StatusPane(1)->text(), "");
    EXPECT_EQ(frame.StatusPane(3)->text(), "MOD");
    ASSERT_EQ(m_prompt->Shown().size(), 1u);
    EXPECT_EQ(m_prompt->Shown()[0].caption, "Reset Goals");
    EXPECT_EQ(m_prompt->Shown()[0].text, "Do you wish to reset (clear) your weight goals?");
}

TEST_F(MainFrame, SaveAllWritesBothFilesAndClearsTheModifiedMark) {
    CMainFrame& frame = StartWithAnn();
    m_prompt->Answer(EPromptAnswer::Yes);
    frame.RunCommand(kIdDeleteCurrentDay);
    frame.RunCommand(kIdFileSaveAll);
    EXPECT_FALSE(m_data->IsModified());
    EXPECT_EQ(frame.StatusPane(3)->text(), "");
    EXPECT_TRUE(fs::exists(ProgramFolderOf("Ann") / kFoodDbFileName));
    CJournalDB reread;
    reread.SetFilePath((ProgramFolderOf("Ann") / kJournalFileName).string());
    ASSERT_TRUE(CJournalFile::Read(reread));
    EXPECT_EQ(reread.DayCount(), 2);
}

TEST_F(MainFrame, AFailedFoodDatabaseWriteEndsTheProgramAndForgetsTheUser) {
    CMainFrame& frame = StartWithAnn();
    // Something that cannot be replaced by a file stands where the food database goes.
    fs::create_directories(ProgramFolderOf("Ann") / kFoodDbFileName / "blocked");
    std::vector<int> exits;
    SetExitHook([&](int code) { exits.push_back(code); });

    m_data->SetModified();
    bool finished = RunGuarded([&] { frame.RunCommand(kIdFileSaveAll); });
    EXPECT_FALSE(finished);
    EXPECT_EQ(exits, std::vector<int>{0});
    ASSERT_EQ(m_prompt->Shown().size(), 2u);
    EXPECT_EQ(m_prompt->Shown()[0].caption, "Database Error");
    EXPECT_EQ(m_prompt->Shown()[0].text, "Could not perform database operations.");
    EXPECT_EQ(m_prompt->Shown()[0].icon, EPromptIcon::Warning);
    EXPECT_EQ(m_prompt->Shown()[1].caption, "Fitquill");
    EXPECT_EQ(m_prompt->Shown()[1].text,
              "An internal error occured.  In order to try and protect your data files the "
              "application will automatically close without saving.");
    EXPECT_EQ(m_prompt->Shown()[1].owner, nullptr);
    EXPECT_EQ(CShellSettings().CurrentUserName(), "");

    // The next start asks for a user.
    Stop();
    m_prompt->Clear();
    bool asked = false;
    WhenModal<CUsersDialog>([&](CUsersDialog& dialog) {
        asked = true;
        dialog.OkButton()->click();
    });
    Start();
    EXPECT_TRUE(asked);
}

TEST_F(MainFrame, AFailedJournalWriteIsReportedKeepsTheChangesAndStopsASwitch) {
    CMainFrame& frame = StartWithAnn();
    const fs::path journal = ProgramFolderOf("Ann") / kJournalFileName;
    fs::remove(journal);
    fs::create_directories(journal / "blocked");
    m_data->SetModified();
    frame.RunCommand(kIdFileSaveAll);
    ASSERT_EQ(m_prompt->Shown().size(), 1u);
    EXPECT_EQ(m_prompt->Shown()[0].caption, "Save");
    EXPECT_TRUE(m_data->IsModified()) << "the changes were not written";
    EXPECT_EQ(frame.StatusPane(3)->text(), "MOD");

    // Yes to the save question, the save fails: the user stays open with its changes.
    m_prompt->Clear();
    m_prompt->Answer(EPromptAnswer::Yes);
    QTest::keyClick(frame.UserCombo(), Qt::Key_Down);
    EXPECT_EQ(m_data->GetCurrentUserName(), "Ann");
    EXPECT_EQ(frame.UserCombo()->currentText(), "Ann");
    EXPECT_TRUE(m_data->IsModified());
}

TEST_F(MainFrame, ClosingAsksToSaveAndCancelKeepsTheWindow) {
    CMainFrame& frame = StartWithAnn();
    m_data->SetModified();
    m_prompt->Answer(EPromptAnswer::Cancel);
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.isVisible());
    m_prompt->Answer(EPromptAnswer::Yes);
    EXPECT_TRUE(frame.close());
    EXPECT_FALSE(m_data->IsModified());
    ASSERT_EQ(m_prompt->Shown().size(), 2u);
    EXPECT_EQ(m_prompt->Shown()[1].text, "Do you want to save changes to 'Ann'?");
    EXPECT_TRUE(CShellSettings().ReadPlacement().HasNormalPosition());
}

TEST_F(MainFrame, HotSyncNoticeIsShownOnceAndOnlyForTheOpenUser) {
    CPresenceServer server(WorldFolder() / "run" / "notice-test");
    ASSERT_EQ(server.Listen(), EPresenceListen::Listening) << server.LastError();
    AddUser("Ann", kAnnId);
    AddUser("Bob", kBobId);
    Remember(QStringLiteral("Ann"));
    CShellSettings settings;
    m_data = std::make_unique<CDietData>(
        CDietData::ProgramSetup(CProgramPaths(m_programFolder), settings));
    m_frame = std::make_unique<CMainFrame>(*m_data, &server);
    m_frame->ShowAtSavedPlacement();
    ProcessEventsFor(50);

    auto notify = [&](uint32_t id) {
        CPresenceClient client(server.SocketPath());
        auto sent = std::async(std::launch::async, [&] { return client.SendHotSyncNotice(id); });
        while (sent.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
            ProcessEventsFor(5);
        ProcessEventsFor(20);
        return sent.get();
    };
    EXPECT_TRUE(notify(kBobId));
    EXPECT_TRUE(m_prompt->Shown().empty()) << "another user's HotSync operation";
    EXPECT_TRUE(notify(kAnnId));
    ASSERT_EQ(m_prompt->Shown().size(), 1u);
    EXPECT_EQ(m_prompt->Shown()[0].caption, QString::fromUtf8("HotSync\u00AE Operation"));
    EXPECT_EQ(m_prompt->Shown()[0].text, "Please close the desktop application to synchronize "
                                         "data with your handheld device.");
    EXPECT_EQ(m_prompt->Shown()[0].icon, EPromptIcon::Warning);
    EXPECT_TRUE(notify(kAnnId));
    EXPECT_EQ(m_prompt->Shown().size(), 1u) << "once per run";
}

TEST_F(MainFrame, ColorsDialogDefaultStoresNoOverridesAndTheViewsRepaint) {
    CMainFrame& frame = StartWithAnn();
    CColorsDialog::SetColorChooser(
        [](const QColor&, QWidget*) -> std::optional<QColor> { return QColor(255, 0, 0); });
    int repaints = 0;
    QObject::connect(m_data.get(), &CDietData::ColorsChanged, [&] { ++repaints; });

    WhenModal<CColorsDialog>([](CColorsDialog& dialog) {
        dialog.TextButton()->click();
        EXPECT_EQ(dialog.Sample()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        dialog.accept();
    });
    frame.RunCommand(kIdOptionsColors);
    EXPECT_EQ(m_data->GetTextColor(), QColor(255, 0, 0));
    EXPECT_EQ(CShellSettings().Store().value("WindowStates/ForeColor").toInt(), 255);

    WhenModal<CColorsDialog>([](CColorsDialog& dialog) {
        dialog.DefaultButton()->click();
        dialog.accept();
    });
    frame.RunCommand(kIdOptionsColors);
    CShellSettings settings;
    QSettings& stored = settings.Store();
    EXPECT_EQ(stored.value("WindowStates/OverrideForeColor").toInt(), 0);
    EXPECT_EQ(stored.value("WindowStates/OverrideBackColor").toInt(), 0);
    EXPECT_EQ(m_data->GetBackColor(), QApplication::palette().color(QPalette::Base));
    EXPECT_EQ(repaints, 2);

    // Cancel changes nothing.
    WhenModal<CColorsDialog>([](CColorsDialog& dialog) {
        dialog.BackgroundButton()->click();
        dialog.reject();
    });
    frame.RunCommand(kIdOptionsColors);
    CColorsDialog::SetColorChooser({});
    EXPECT_EQ(repaints, 2);
    EXPECT_EQ(stored.value("WindowStates/OverrideBackColor").toInt(), 0);
}

TEST_F(MainFrame, UserGuideReportsAMissingGuideOrViewer) {
    CMainFrame& frame = StartWithAnn();
    std::vector<QUrl> opened;
    bool viewerStarts = false;
    SetDocumentOpener([&](const QUrl& url) {
        opened.push_back(url);
        return viewerStarts;
    });
    frame.RunCommand(kIdUserGuide);
    ASSERT_EQ(m_prompt->Shown().size(), 1u);
    EXPECT_EQ(m_prompt->Shown()[0].caption, "Users Guide");
    EXPECT_EQ(m_prompt->Shown()[0].text,
              "Could not load the manual (Users Guide.pdf) due to a invalid path.");
    EXPECT_TRUE(opened.empty());

    const fs::path guide =
        m_installPath / "Fitquill" / "Desktop" / "Documentation Files" / "Users Guide.pdf";
    fs::create_directories(guide.parent_path());
    std::ofstream(guide) << "%PDF-1.4\n";
    frame.RunCommand(kIdUserGuide);
    ASSERT_EQ(m_prompt->Shown().size(), 2u);
    EXPECT_EQ(m_prompt->Shown()[1].caption, "Adobe Acrobat");
    EXPECT_EQ(m_prompt->Shown()[1].text,
              "You must install the free version of Adobe Acrobat Reader.");

    viewerStarts = true;
    frame.RunCommand(kIdUserGuide);
    EXPECT_EQ(m_prompt->Shown().size(), 2u);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(fs::path(opened.back().toLocalFile().toStdString()), guide);
    SetDocumentOpener({});
}

TEST_F(MainFrame, UpdateAndInstallCommandsOpenTheirDialogs) {
    CMainFrame& frame = StartWithAnn();
    QString shown;
    WhenModal<CAutoUpdateDialog>([&](CAutoUpdateDialog& dialog) {
        shown = dialog.windowTitle() + " / " + dialog.ConnectionText().left(20);
        dialog.reject();
    });
    frame.Action(kIdImportAutomaticUpdate)->trigger();
    EXPECT_EQ(shown, "Automatic Update / Internet Connection:");
    WhenModal<CInstallDialog>([&](CInstallDialog& dialog) {
        shown = dialog.windowTitle() + " / " + dialog.UserList()->itemText(0);
        dialog.reject();
    });
    frame.Action(kIdInstallHandheldSoftware)->trigger();
    EXPECT_EQ(shown, "Install Handheld Software / Ann");
    EXPECT_TRUE(m_prompt->Shown().empty());
}
