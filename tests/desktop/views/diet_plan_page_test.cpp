// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/views/diet_plan_page.h"

#include "core/calc/diet_plan.h"
#include "desktop/document/program_paths.h"
#include "desktop/widgets/numeric_edit.h"
#include "tests/desktop/frame/shell_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace fitquill;

namespace {

class DietPlanPageTest : public test::ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        CShellSettings settings;
        m_data = std::make_unique<CDietData>(
            CDietData::ProgramSetup(CProgramPaths(m_programFolder), settings));
        m_page = std::make_unique<CDietPlanPage>(*m_data);
        m_page->resize(700, 500);
        m_page->SetDateChooser([this](const QString& title, const CJournalDate& initial) {
            m_dateTitles.push_back(title);
            m_dateInitials.push_back(initial);
            std::optional<CJournalDate> answer;
            if (!m_dateAnswers.empty()) {
                answer = m_dateAnswers.front();
                m_dateAnswers.erase(m_dateAnswers.begin());
            }
            return answer;
        });
        m_page->show();
        m_page->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_page.get()));
    }
    void TearDown() override {
        m_page.reset();
        m_data.reset();
        ShellTest::TearDown();
    }

    CUserProfile& Profile() { return m_data->Journal().Profile(); }

    // A user's choice in a drop-down list.
    static void Choose(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    // Types into a box as the user would, then leaves it.
    void Type(QLineEdit* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
        m_page->setFocus();
    }

    std::unique_ptr<CDietPlanPage> m_page;
    std::vector<CJournalDate> m_dateAnswers;
    std::vector<QString> m_dateTitles;
    std::vector<CJournalDate> m_dateInitials;
};

} // namespace

TEST_F(DietPlanPageTest, AgeOfZeroIsUnsetAndShowsEmpty) {
    Type(m_page->Age(), QStringLiteral("45"));
    EXPECT_EQ(Profile().Age(), 45);
    EXPECT_TRUE(m_data->IsModified());
    Type(m_page->Age(), QStringLiteral("0"));
    EXPECT_EQ(Profile().Age(), -1);
    m_data->RefreshViews();
    EXPECT_EQ(m_page->Age()->text(), QString());
    EXPECT_TRUE(m_prompt->Shown().empty());
}

TEST_F(DietPlanPageTest, SwitchingToMetricKeepsTheHeightAndConvertsWeights) {
    Choose(m_page->HeightMajor(), 5);
    Choose(m_page->Inches(), 7);
    EXPECT_FLOAT_EQ(Profile().Height().Inches(), 67.0f);
    Type(m_page->StartWeight(), QStringLiteral("180"));
    EXPECT_FLOAT_EQ(Profile().StartingWeight().Pounds(), 180.0f);
    EXPECT_EQ(m_page->HeightMajorLabel()->text(), QStringLiteral("ft"));
    EXPECT_EQ(m_page->HeightMajor()->count(), 10);

    Choose(m_page->Units(), 1);
    EXPECT_TRUE(Profile().IsMetric());
    EXPECT_FLOAT_EQ(Profile().Height().Inches(), 67.0f);
    EXPECT_EQ(m_page->HeightMajor()->count(), 303);
    EXPECT_EQ(m_page->HeightMajor()->currentIndex(), 170);
    EXPECT_EQ(m_page->HeightMajorLabel()->text(), QStringLiteral("cm"));
    EXPECT_TRUE(m_page->Inches()->isHidden());
    EXPECT_EQ(m_page->StartWeight()->text(), QStringLiteral("81.6"));
    EXPECT_FLOAT_EQ(Profile().StartingWeight().Pounds(), 180.0f); // not re-read

    // A centimetre list change stores centimetres.
    Choose(m_page->HeightMajor(), 180);
    EXPECT_EQ(Profile().Height().GetCentimetres(), 180);
    // The weight shown as 81.6 kg is not read back over the stored 180 lbs.
    EXPECT_FLOAT_EQ(Profile().StartingWeight().Pounds(), 180.0f);
    Choose(m_page->Units(), 0);
    EXPECT_EQ(m_page->HeightMajor()->currentIndex(), 5);
    EXPECT_EQ(m_page->Inches()->currentIndex(), 10);
}

TEST_F(DietPlanPageTest, WeightsGiveTheGoalSentence) {
    Profile().SetStartingDate(CJournalDate(1, 3, 2024));
    Profile().SetGoalDate(CJournalDate(10, 5, 2024));
    m_data->RefreshViews();
    EXPECT_TRUE(m_page->GoalSentence()->text().startsWith(QStringLiteral("After inputting")));
    Type(m_page->StartWeight(), QStringLiteral("150"));
    Type(m_page->GoalWeight(), QStringLiteral("160"));
    EXPECT_EQ(m_page->GoalSentence()->text(),
              QStringLiteral("To gain 10 lbs in 70 days, you will need to eat 500 more calories "
                             "per day than your body burns."));
    // Emptying a box unsets the weight.
    Type(m_page->GoalWeight(), QString());
    EXPECT_FALSE(Profile().GoalWeight().IsSet());
}

TEST_F(DietPlanPageTest, GoalDateIsAlwaysAfterTheStartDate) {
    m_dateAnswers = {CJournalDate(1, 3, 2024), CJournalDate(20, 2, 2024), CJournalDate(1, 6, 2024),
                     CJournalDate(5, 6, 2024)};
    QTest::mouseClick(m_page->SetStartDateButton(), Qt::LeftButton);
    EXPECT_EQ(Profile().StartingDate(), CJournalDate(1, 3, 2024));
    EXPECT_EQ(m_dateTitles.back(), QStringLiteral("Start Date"));
    EXPECT_TRUE(m_page->SetStartDateButton()->hasFocus());

    // A goal before the start becomes the day after the start.
    QTest::mouseClick(m_page->SetGoalDateButton(), Qt::LeftButton);
    EXPECT_EQ(m_dateTitles.back(), QStringLiteral("Target Date"));
    EXPECT_EQ(Profile().GoalDate(), CJournalDate(2, 3, 2024));
    EXPECT_EQ(m_page->GoalDate()->text(), QStringLiteral("Saturday March 2, 2024"));

    // A start moved past the goal takes the goal along.
    QTest::mouseClick(m_page->SetStartDateButton(), Qt::LeftButton);
    EXPECT_EQ(Profile().GoalDate(), CJournalDate(2, 6, 2024));
    // A later goal stays as chosen.
    QTest::mouseClick(m_page->SetGoalDateButton(), Qt::LeftButton);
    EXPECT_EQ(m_dateInitials.back(), CJournalDate(2, 6, 2024));
    EXPECT_EQ(Profile().GoalDate(), CJournalDate(5, 6, 2024));

    // Cancelled: nothing changes.
    QTest::mouseClick(m_page->SetGoalDateButton(), Qt::LeftButton);
    EXPECT_EQ(Profile().GoalDate(), CJournalDate(5, 6, 2024));
}

TEST_F(DietPlanPageTest, CustomPercentagesMustTotal100) {
    QTest::mouseClick(m_page->FirstNext(), Qt::LeftButton);
    ASSERT_FALSE(m_page->IsFirstScreenShown());
    EXPECT_TRUE(m_page->PercentBox(0)->isHidden());
    m_page->PlanButton(2)->click();
    EXPECT_EQ(Profile().DietPlan(), 2);
    EXPECT_EQ(m_page->PercentLabel(1)->text(), QStringLiteral("55 %"));
    m_page->PlanButton(kDietPlanCustom)->click();
    ASSERT_FALSE(m_page->PercentBox(0)->isHidden());
    EXPECT_EQ(m_page->PercentBox(0)->text(), QStringLiteral("60"));

    Type(m_page->PercentBox(0), QStringLiteral("40"));
    Type(m_page->PercentBox(1), QStringLiteral("30"));
    Type(m_page->PercentBox(2), QStringLiteral("20"));
    m_page->SetPercentages()->click();
    ASSERT_EQ(m_prompt->Shown().size(), 1u);
    EXPECT_EQ(m_prompt->Shown()[0].caption, QStringLiteral("Custom Diet"));
    EXPECT_EQ(m_prompt->Shown()[0].text, QStringLiteral("The percentages must total 100 percent."));
    EXPECT_EQ(m_prompt->Shown()[0].icon, EPromptIcon::Warning);
    EXPECT_EQ(Profile().CarbohydratePercent(), 60);
    EXPECT_TRUE(m_page->PercentBox(0)->hasFocus());
    // "Next >>" checks the same and stays.
    m_page->SecondNext()->click();
    EXPECT_EQ(m_prompt->Shown().size(), 2u);

    Type(m_page->PercentBox(2), QStringLiteral("30"));
    m_page->SetPercentages()->click();
    EXPECT_EQ(m_prompt->Shown().size(), 2u);
    EXPECT_EQ(Profile().CarbohydratePercent(), 40);
    EXPECT_EQ(Profile().ProteinPercent(), 30);
    EXPECT_EQ(Profile().FatPercent(), 30);
    EXPECT_EQ(m_page->PercentLabel(0)->text(), QStringLiteral("40 %"));

    m_page->Back()->click();
    EXPECT_TRUE(m_page->IsFirstScreenShown());
}

TEST_F(DietPlanPageTest, ClearingAutomaticKeepsTheShownTargets) {
    Profile().SetHeightFeetInches(5, 7);
    Profile().SetAge(40);
    CDayRecord* day = m_data->GetCurrentDay(true);
    ASSERT_NE(day, nullptr);
    day->SetWeight(180, false, Profile());
    day->SetActivityLevel(5);
    day->SetBMR(2000);
    m_data->RefreshViews();
    m_page->ShowSecondScreen();
    EXPECT_EQ(m_page->CalorieTarget()->text(), QStringLiteral("2000"));
    EXPECT_EQ(m_page->TargetBox(0)->text(), QStringLiteral("300.0"));
    EXPECT_EQ(m_page->TargetBox(3)->text(), QStringLiteral("66.7"));
    EXPECT_TRUE(m_page->Automatic()->isChecked());
    EXPECT_TRUE(m_page->TargetBox(0)->isReadOnly());

    m_page->Automatic()->click();
    EXPECT_FALSE(Profile().IsTargetModeAutomatic());
    EXPECT_FLOAT_EQ(Profile().OwnTarget(1), 300.0f);
    EXPECT_FLOAT_EQ(Profile().OwnTarget(4), 66.7f);
    EXPECT_FLOAT_EQ(Profile().OwnTarget(5), 22.2f);
    EXPECT_EQ(m_page->TargetBox(3)->text(), QStringLiteral("66.7"));
    EXPECT_FALSE(m_page->TargetBox(0)->isReadOnly());

    Type(m_page->TargetBox(2), QStringLiteral("30"));
    EXPECT_FLOAT_EQ(Profile().OwnTarget(3), 30.0f);
    EXPECT_FLOAT_EQ(Profile().OwnTarget(1), 300.0f);

    // Back to automatic: the plan's values again.
    m_page->Automatic()->click();
    EXPECT_TRUE(Profile().IsTargetModeAutomatic());
    EXPECT_EQ(m_page->TargetBox(2)->text(), QStringLiteral("25.0"));
}

TEST_F(DietPlanPageTest, KeyboardCarriesOnToThePlanChoice) {
    m_page->FirstNext()->setFocus();
    QTest::keyClick(m_page->FirstNext(), Qt::Key_Space);
    ASSERT_FALSE(m_page->IsFirstScreenShown());
    ASSERT_TRUE(m_page->PlanButton(0)->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(Profile().DietPlan(), 2);
    EXPECT_TRUE(m_page->PlanButton(2)->isChecked());
}
