// SPDX-License-Identifier: GPL-3.0-or-later
// The day entry tabs in the running main window.
#include "tests/desktop/frame/shell_test_support.h"

#include "core/journal/journal_clipboard.h"
#include "desktop/document/view_services.h"
#include "desktop/frame/page_container.h"
#include "desktop/views/dayentry/blood_pressure_pane.h"
#include "desktop/views/dayentry/bmr_pane.h"
#include "desktop/views/dayentry/charts_pane.h"
#include "desktop/views/dayentry/day_entry_tabs.h"
#include "desktop/views/dayentry/edit_exercise_dialog.h"
#include "desktop/views/dayentry/exercise_entry_form.h"
#include "desktop/views/dayentry/exercise_list_ctrl.h"
#include "desktop/views/dayentry/exercise_pane.h"
#include "desktop/views/dayentry/measurements_pane.h"
#include "desktop/views/dayentry/targets_pane.h"
#include "desktop/views/dayentry/weight_pane.h"
#include "desktop/views/diet_plan_page.h"
#include "desktop/views/journal/daily_notes_page.h"
#include "desktop/widgets/commands.h"
#include "desktop/widgets/numeric_edit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>

using namespace fitquill;
using namespace fitquill::test;

namespace {

const CJournalDate kMarch15(15, 3, 2024); // today of the test world

class DayEntry : public ShellTest {
protected:
    void TearDown() override {
        CJournalClipboard::Exercises().clear();
        ShellTest::TearDown();
    }

    // Ann's 15 March, weighing 150 lbs unless told otherwise; a complete profile unless told.
    void StartWithDay(bool weighed = true, bool completeProfile = true) {
        AddUser("Ann", kAnnId);
        WriteJournal("Ann", {kMarch15}, [=](CJournalDB& journal) {
            CUserProfile& profile = journal.Profile();
            if (completeProfile) {
                profile.SetAge(40);
                profile.SetHeightFeetInches(5, 6);
                profile.SetSex(1);
            }
            journal.GoToDate(kMarch15);
            if (weighed)
                journal.CurrentDay()->SetWeight(150, false, profile);
        });
        Remember(QStringLiteral("Ann"));
        Start();
        ASSERT_TRUE(m_data->HasOpenUser());
        m_data->Journal().GoToDate(kMarch15);
        tabs = m_frame->findChild<CDayEntryTabs*>();
        ASSERT_NE(tabs, nullptr);
        m_data->RefreshViews();
    }

    void ShowTab(int tab) {
        m_frame->findChild<CPageContainer*>()->DayEntryTabBar()->setCurrentIndex(tab);
    }

    CDayRecord* Day() { return m_data->Journal().CurrentDay(); }

    CDayEntryTabs* tabs = nullptr;
};

} // namespace

TEST_F(DayEntry, CaloriesNeedAWeightAndMinutes) {
    StartWithDay(false);
    ShowTab(2);
    CExerciseEntryForm* form = tabs->PaneOf<CExercisePane>()->Form();
    EXPECT_FALSE(form->CaloriesButton()->isEnabled()) << "no minutes yet";
    EXPECT_FALSE(form->LogButton()->isEnabled());
    QTest::keyClicks(form->MinutesBox(), "30");
    ASSERT_TRUE(form->CaloriesButton()->isEnabled());
    form->CaloriesButton()->click();
    ASSERT_EQ(ShownTexts().size(), 1u);
    EXPECT_EQ(ShownTexts()[0], "You must enter your weight before calories can be calculated.");
    EXPECT_TRUE(form->CaloriesBox()->text().isEmpty());

    Day()->SetWeight(150, false, m_data->Journal().Profile());
    form->MinutesBox()->setText(QStringLiteral("0"));
    form->CaloriesButton()->click();
    ASSERT_EQ(ShownTexts().size(), 2u);
    EXPECT_EQ(ShownTexts()[1],
              "You must enter an exercise time before calories can be calculated.");

    form->MinutesBox()->setText(QStringLiteral("30"));
    form->CaloriesButton()->click();
    EXPECT_EQ(ShownTexts().size(), 2u);
    EXPECT_GT(form->CaloriesBox()->text().toInt(), 0);
    EXPECT_TRUE(form->LogButton()->isEnabled());

    // A new intensity empties the calories, and Log waits for them again.
    ASSERT_GT(form->IntensityBox()->count(), 1);
    form->IntensityBox()->setCurrentIndex(1);
    EXPECT_TRUE(form->CaloriesBox()->text().isEmpty());
    EXPECT_TRUE(form->MinutesBox()->text().isEmpty());
    EXPECT_FALSE(form->LogButton()->isEnabled());
}

TEST_F(DayEntry, LoggingExercisesAndTheUserDefinedOne) {
    StartWithDay();
    ShowTab(2);
    CExercisePane* pane = tabs->PaneOf<CExercisePane>();
    CExerciseEntryForm* form = pane->Form();
    form->MinutesBox()->setText(QStringLiteral("0"));
    form->CaloriesBox()->setText(QStringLiteral("120"));
    form->LogButton()->click();
    ASSERT_EQ(ShownTexts().size(), 1u);
    EXPECT_EQ(ShownTexts()[0], "Please specify exercise time and calculate calories");
    EXPECT_EQ(Day()->Exercises().Count(), 0);

    form->ActivityBox()->setCurrentIndex(kActivityUserDefined);
    EXPECT_TRUE(form->NameBox()->isVisibleTo(form));
    EXPECT_FALSE(form->IntensityBox()->isVisibleTo(form));
    QTest::keyClicks(form->NameBox(), "Gardening");
    QTest::keyClicks(form->MinutesBox(), "45");
    EXPECT_FALSE(form->CaloriesButton()->isEnabled()) << "typed calories only";
    QTest::keyClicks(form->CaloriesBox(), "12345");
    EXPECT_EQ(form->CaloriesBox()->text(), "1234") << "four digits at most";
    m_data->Journal().SetModified(false);
    form->LogButton()->click();
    ASSERT_EQ(Day()->Exercises().Count(), 1);
    const CExerciseEntry& logged = Day()->Exercises().Entry(0);
    EXPECT_EQ(logged.Name(), "Gardening");
    EXPECT_EQ(logged.Minutes(), 45);
    EXPECT_EQ(logged.Calories(), 1234);
    EXPECT_TRUE(m_data->IsModified());
    EXPECT_TRUE(form->MinutesBox()->text().isEmpty());
    EXPECT_EQ(pane->List()->RowCount(), CExerciseListCtrl::kMinimumRows);

    // The Edit Exercise dialog changes the logged entry.
    CEditExerciseDialog dialog(*m_data, 0, m_frame.get());
    EXPECT_EQ(dialog.Form()->NameBox()->text(), "Gardening");
    EXPECT_EQ(dialog.Form()->CaloriesBox()->text(), "1234");
    dialog.Form()->CaloriesBox()->setText(QStringLiteral("300"));
    dialog.Form()->LogButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Day()->Exercises().Entry(0).Calories(), 300);

    // Delete from the list, after the question.
    pane->List()->SelectRows(1, 5);
    m_prompt->Answer(EPromptAnswer::Yes);
    QTest::keyClick(pane->List(), Qt::Key_Delete);
    EXPECT_EQ(ShownTexts().back(), "Are you sure you want to delete the selected exercises?");
    EXPECT_EQ(Day()->Exercises().Count(), 0);
}

TEST_F(DayEntry, WaterStaysWithinTwoDigits) {
    StartWithDay();
    QSpinBox* water = tabs->PaneOf<CWeightPane>()->WaterBox();
    water->setFocus();
    water->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(water, "100");
    EXPECT_EQ(Day()->Water(), 10) << "the third digit does not go in";
    water->setValue(99);
    QTest::keyClick(water, Qt::Key_Up);
    EXPECT_EQ(Day()->Water(), 99);
    EXPECT_EQ(tabs->PaneOf<CBloodPressurePane>()->WaterBox()->value(), 99)
        << "every pane shows the day's water";
}

TEST_F(DayEntry, BmrChoicesNeedAgeHeightAndWeight) {
    StartWithDay(true, false);
    CBmrPane* pane = tabs->PaneOf<CBmrPane>();
    for (int level = 1; level <= 5; ++level)
        EXPECT_FALSE(pane->LevelButton(level)->isEnabled()) << level;

    CUserProfile& profile = m_data->Journal().Profile();
    profile.SetAge(40);
    profile.SetHeightFeetInches(5, 6);
    m_data->RefreshViews();
    ASSERT_TRUE(pane->LevelButton(3)->isEnabled());
    EXPECT_TRUE(pane->BmrBox()->isReadOnly());
    pane->LevelButton(5)->click();
    EXPECT_EQ(Day()->ActivityLevel(), 5);
    EXPECT_FALSE(pane->BmrBox()->isReadOnly()) << "the manual level is typed";
    pane->BmrBox()->setText(QStringLiteral("1750"));
    pane->BmrBox()->setModified(true);
    ShowTab(3); // the switch stores it
    EXPECT_EQ(Day()->BMR(), 1750);
}

TEST_F(DayEntry, TargetDateFollowsTheStartDate) {
    StartWithDay();
    CTargetsPane* pane = tabs->PaneOf<CTargetsPane>();
    const CJournalDate start(1, 4, 2024);
    pane->SetGoalDate(true, start);
    pane->SetGoalDate(false, CJournalDate(1, 4, 2024)); // equal: the day after
    EXPECT_EQ(m_data->Journal().Profile().GoalDate(), CJournalDate(2, 4, 2024));
    pane->SetGoalDate(true, CJournalDate(10, 5, 2024)); // start after the target
    EXPECT_EQ(m_data->Journal().Profile().GoalDate(), CJournalDate(11, 5, 2024));
    pane->SetGoalDate(false, CJournalDate(1, 12, 2024));
    EXPECT_EQ(m_data->Journal().Profile().GoalDate(), CJournalDate(1, 12, 2024));

    m_data->Journal().NextDay(); // no record: no weight
    m_data->NotifyDayChanged();
    EXPECT_TRUE(pane->BudgetText()->text().startsWith(
        "To achieve the goals you have set, your food budget is: --- calories"));
}

TEST_F(DayEntry, TabSwitchStoresAnEditedMeasurement) {
    StartWithDay();
    ShowTab(6);
    CMeasurementsPane* pane = tabs->PaneOf<CMeasurementsPane>();
    QLineEdit* waist = pane->GirthBox(kGirthWaist);
    waist->setFocus();
    QTest::keyClicks(waist, "32.5");
    EXPECT_FALSE(Day()->Measurements().IsGirthSet(kGirthWaist));
    ShowTab(0);
    EXPECT_DOUBLE_EQ(Day()->Measurements().Girth(kGirthWaist, false), 32.5);

    pane->Topics()->setCurrentRow(4);
    EXPECT_TRUE(pane->HelpText()->text().contains("navel"));
}

TEST_F(DayEntry, OutOfRangeBloodPressureKeepsTheFocusAndSaysSo) {
    StartWithDay();
    ShowTab(5);
    CBloodPressurePane* pane = tabs->PaneOf<CBloodPressurePane>();
    // Typed box by box; leaving a box stores what is there so far.
    for (auto [box, text] : {std::pair{pane->Systolic(), "120"}, std::pair{pane->Diastolic(), "80"},
                             std::pair{pane->Hour(), "13"}}) {
        box->setFocus();
        QTest::keyClicks(box, text);
    }
    QTest::keyClick(pane->Hour(), Qt::Key_Return);
    ASSERT_EQ(ShownTexts().size(), 1u);
    EXPECT_EQ(ShownTexts()[0],
              "One or more measurements or time values is invalid or out of range.");
    EXPECT_TRUE(pane->Hour()->hasFocus());
    EXPECT_EQ(pane->Hour()->text(), "13") << "kept for correction";
    EXPECT_EQ(Day()->BloodPressure().Hour(), CBloodPressure::kUnset) << "nothing stored";

    pane->Hour()->setText(QStringLiteral("7"));
    pane->Hour()->setModified(true);
    pane->MinuteBox()->setFocus();
    QTest::keyClicks(pane->MinuteBox(), "5");
    QTest::keyClick(pane->MinuteBox(), Qt::Key_Return);
    EXPECT_EQ(ShownTexts().size(), 1u);
    EXPECT_EQ(Day()->BloodPressure().Systolic(), 120);
    EXPECT_EQ(Day()->BloodPressure().Hour(), 7);
    EXPECT_EQ(pane->MinuteBox()->text(), "05");
}

TEST_F(DayEntry, ScreenshotsOfEveryTab) {
    StartWithDay();
    m_frame->resize(960, 740);
    m_frame->show();
    QTabBar* bar = m_frame->findChild<CPageContainer*>()->DayEntryTabBar();
    for (int tab = 0; tab < bar->count(); ++tab) {
        bar->setCurrentIndex(tab);
        QApplication::processEvents();
        const QImage shot = tabs->grab().toImage();
        EXPECT_FALSE(shot.isNull());
        shot.save(QStringLiteral("day_entry_tab_%1.png").arg(tab));
    }
}

namespace {

// Records which chart the Charts tab asked for.
class CFakeChartDialogs : public IChartDialogs {
public:
    void ShowWeightChart(QWidget*, int duration) override {
        calls.push_back("weight " + std::to_string(duration));
    }
    void ShowHistogram(QWidget*, int nutrient) override {
        calls.push_back("histogram " + std::to_string(nutrient));
    }
    void ShowHistoricWeight(QWidget*) override { calls.push_back("historic"); }
    QWidget* CreateDailyChart(QWidget* parent, std::function<void()> onClose) override {
        calls.push_back("daily");
        close = std::move(onClose);
        return new QWidget(parent);
    }
    std::vector<std::string> calls;
    std::function<void()> close;
};

} // namespace

TEST_F(DayEntry, ChartButtonsOpenTheChartDialogs) {
    StartWithDay();
    ShowTab(4);
    CChartsPane* pane = tabs->PaneOf<CChartsPane>();
    m_data->SetChartDialogs(nullptr);
    pane->Button(QStringLiteral("Weekly"))->click();
    ASSERT_EQ(ShownTexts().size(), 1u) << "no chart dialogs: the user is told";
    EXPECT_EQ(ShownTexts()[0], NotAvailableText(0));

    CFakeChartDialogs charts;
    m_data->SetChartDialogs(&charts);
    for (const char* text : {"Weekly", "Monthly", "Long Range", "Carbohydrates", "Saturated Fat"})
        pane->Button(QString::fromLatin1(text))->click();
    EXPECT_EQ(charts.calls, (std::vector<std::string>{"weight 0", "weight 1", "historic",
                                                      "histogram 1", "histogram 5"}));
    pane->Button(QStringLiteral("Daily"))->click();
    EXPECT_TRUE(pane->IsDailyChartShown());
    ASSERT_TRUE(charts.close);
    charts.close();
    EXPECT_FALSE(pane->IsDailyChartShown()) << "Close returns to the buttons";
    m_data->SetChartDialogs(nullptr);
}

// The panes follow the profile: what is typed on the Diet Plan page shows in the BMR and
// Targets tabs with no other action.
TEST_F(DayEntry, DietPlanEditsReachTheBmrAndTargetsTabsAtOnce) {
    StartWithDay(true, false);
    m_data->ShowPage(0);
    auto* plan = m_frame->findChild<CDietPlanPage*>();
    ASSERT_NE(plan, nullptr);
    CBmrPane* bmr = tabs->PaneOf<CBmrPane>();
    CTargetsPane* targets = tabs->PaneOf<CTargetsPane>();
    ASSERT_FALSE(bmr->LevelButton(2)->isEnabled());

    plan->HeightMajor()->setCurrentIndex(5);
    emit plan->HeightMajor()->activated(5);
    plan->Age()->setFocus();
    QTest::keyClicks(plan->Age(), "40");
    EXPECT_TRUE(bmr->LevelButton(2)->isEnabled());
    EXPECT_FALSE(bmr->BmrBox()->text().isEmpty());

    plan->StartWeight()->setFocus();
    QTest::keyClicks(plan->StartWeight(), "180");
    plan->GoalWeight()->setFocus();
    QTest::keyClicks(plan->GoalWeight(), "170");
    EXPECT_EQ(targets->findChild<CNumericEdit*>("StartWeight")->text(), "180.0");
    EXPECT_EQ(targets->findChild<CNumericEdit*>("GoalWeight")->text(), "170.0");
    EXPECT_TRUE(targets->GoalText()->text().startsWith("Daily Calorie Goal:"))
        << targets->GoalText()->text().toStdString();
}

// Saving while a note is being typed keeps the text as typed and the caret where it was.
TEST_F(DayEntry, SavingWhileTypingANoteKeepsTextAndCaret) {
    StartWithDay();
    m_data->ShowPage(3);
    auto* notes = m_frame->findChild<CDailyNotesPage*>();
    ASSERT_NE(notes, nullptr);
    notes->setFocus();
    QTest::keyClicks(notes, "Walked to work ");
    ASSERT_EQ(notes->textCursor().position(), 15);
    QTest::keyClick(notes, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(m_data->IsModified()) << "saved";
    EXPECT_EQ(notes->toPlainText(), "Walked to work ");
    EXPECT_EQ(notes->textCursor().position(), 15);
    QTest::keyClicks(notes, "again");
    EXPECT_EQ(Day()->Note(), "Walked to work again");
}

// A refused reading on a day without a record stores nothing, makes no record, and is told
// once however often the tabs switch.
TEST_F(DayEntry, RefusedBloodPressureIsToldOnceAndMakesNoDay) {
    StartWithDay();
    m_data->Journal().NextDay();
    m_data->NotifyDayChanged();
    ShowTab(5);
    CBloodPressurePane* pane = tabs->PaneOf<CBloodPressurePane>();
    pane->Hour()->setFocus();
    QTest::keyClicks(pane->Hour(), "13");
    for (int tab : {0, 5, 3, 5})
        ShowTab(tab);
    EXPECT_EQ(ShownTexts().size(), 1u);
    EXPECT_FALSE(m_data->Journal().CurrentDayExists());
    EXPECT_EQ(pane->Hour()->text(), "13") << "kept for correction";
}
