// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/logbook_report.h"

#include "core/calc/body_fat.h"
#include "core/calc/energy_balance.h"
#include "core/report/text_format.h"
#include "report_test_support.h"

#include <string>

using namespace fitquill;

namespace {

class LogbookReportTest : public test::ReportJournalTest {
protected:
    // The value of the row labelled `label` in section `section`; fails when there is none.
    std::string Value(int section, const std::string& label) {
        const auto sections = LogbookSections(journal);
        for (const SReportLine& line : sections.at(static_cast<size_t>(section)).lines)
            if (!line.sentence && line.label == label)
                return line.value;
        ADD_FAILURE() << "no row " << label;
        return {};
    }
    std::string Sentence(int section, size_t index) {
        const auto sections = LogbookSections(journal);
        std::vector<std::string> sentences;
        for (const SReportLine& line : sections.at(static_cast<size_t>(section)).lines)
            if (line.sentence)
                sentences.push_back(line.value);
        return index < sentences.size() ? sentences[index] : std::string("<none>");
    }

    // Start 180 lb on 1 March, goal 170 lb on 10 April (40 days: 875 calories a day).
    void LosingGoal() {
        CUserProfile& profile = journal.Profile();
        profile.SetStartingWeight(180, false);
        profile.SetStartingDate(CJournalDate(1, 3, 2024));
        profile.SetGoalWeight(170, false);
        profile.SetGoalDate(CJournalDate(10, 4, 2024));
    }
};

} // namespace

TEST_F(LogbookReportTest, SectionsHeadingsAndOrder) {
    const auto sections = LogbookSections(journal);
    ASSERT_EQ(sections.size(), static_cast<size_t>(kLogbookSectionCount));
    const char* headings[] = {
        "Weight", "Meals", "BMR", "Exercise", "Goals", "Blood Pressure", "Body Measurements"};
    for (size_t i = 0; i < sections.size(); ++i)
        EXPECT_EQ(sections[i].heading, headings[i]);
    EXPECT_EQ(sections[kLogbookMeals].lines.back(),
              SReportLine::Sentence("Food Budget = BMR + Exercise - Goal"));
}

TEST_F(LogbookReportTest, DayWithoutWeightAsksForItAndHasNoBudget) {
    CompleteProfile();
    LosingGoal();
    Day(CJournalDate(14, 3, 2024), 178);
    Day(CJournalDate(15, 3, 2024)); // today, no weight of its own
    EXPECT_EQ(Value(kLogbookWeight, "Current Weight:"), "Please input daily weight.");
    EXPECT_EQ(Sentence(kLogbookMeals, 0),
              "To achieve the goals you have set, your food budget is:  (Weight required for "
              "BMR).");
    // The goal itself is complete and still shown.
    EXPECT_EQ(Sentence(kLogbookGoals, 0),
              "To lose 10.0 lbs in 40 days, you will need to eat 875 fewer calories per day "
              "than your body burns.");
}

TEST_F(LogbookReportTest, CaloriesAndBudgetOfTheDay) {
    CompleteProfile();
    LosingGoal();
    CDayRecord& day = Day(CJournalDate(15, 3, 2024), 178);
    TypedBMR(day, 1500);
    Eat(day, {{kNutrientCalories, 1000.0f}});
    Eat(day, {{kNutrientCalories, 849.6f}});
    Exercise(day, 300);
    EXPECT_EQ(Value(kLogbookMeals, "Calories In:"), "1850 cal");
    EXPECT_EQ(Value(kLogbookBMR, "Calories Out:"), "1500 cal");
    EXPECT_EQ(Value(kLogbookExercise, "Calories Out:"), "300 cal");
    EXPECT_EQ(Value(kLogbookGoals, "Total Calories:"), "49 cal"); // 1849.6 - 1800, cut
    Eat(day, {{kNutrientCalories, 0.4f}});
    EXPECT_EQ(Value(kLogbookGoals, "Total Calories:"), "50 cal");
    // 1500 + 300 - 875.
    EXPECT_EQ(Sentence(kLogbookMeals, 0),
              "To achieve the goals you have set, your food budget is:  925 cal");
    EXPECT_EQ(Value(kLogbookWeight, "Current Weight:"), "178 lbs");
    EXPECT_EQ(Value(kLogbookWeight, "Target Weight:"), "170 lbs");
    EXPECT_EQ(Value(kLogbookWeight, "Target Date:"), "Wednesday April 10, 2024");
}

TEST_F(LogbookReportTest, BmrFollowsAProfileEditedSinceTheDayWasVisited) {
    CompleteProfile();
    Day(CJournalDate(15, 3, 2024), 178);
    const std::string before = Value(kLogbookBMR, "Calories Out:");
    journal.Profile().SetAge(60);
    const SBmrResult expected =
        ComputeBMR(journal.Profile(), kActivityLevelSitting, *journal.CurrentWeight());
    ASSERT_TRUE(expected.ok);
    EXPECT_EQ(Value(kLogbookBMR, "Calories Out:"), FormatText("%d cal", expected.calories));
    EXPECT_NE(Value(kLogbookBMR, "Calories Out:"), before);
}

TEST_F(LogbookReportTest, EatingMoreThanBurntGivesANegativeTotal) {
    CompleteProfile();
    CDayRecord& day = Day(CJournalDate(15, 3, 2024), 178);
    TypedBMR(day, 2000);
    Eat(day, {{kNutrientCalories, 1750.6f}});
    EXPECT_EQ(Value(kLogbookGoals, "Total Calories:"), "-249 cal"); // cut towards zero
}

TEST_F(LogbookReportTest, ActivityLevelFallsBackToTheProfile) {
    CompleteProfile();
    journal.Profile().SetDefaultActivityLevel(3);
    CDayRecord& day = Day(CJournalDate(15, 3, 2024), 178);
    day.SetStoredActivityLevel(0);
    EXPECT_EQ(Value(kLogbookBMR, "Activity Level:"), "Moderate : Standing");
    day.SetStoredActivityLevel(4);
    EXPECT_EQ(Value(kLogbookBMR, "Activity Level:"), "Heavy : Walking - Lifting");
    day.SetStoredActivityLevel(6);
    EXPECT_EQ(Value(kLogbookBMR, "Activity Level:"), "---");
    // Without a record at all the profile's level shows too.
    journal.GoToDate(CJournalDate(20, 3, 2024));
    EXPECT_EQ(Value(kLogbookBMR, "Activity Level:"), "Moderate : Standing");
}

TEST_F(LogbookReportTest, WithoutGoalsTheTargetsShowZeroAndTheIncompleteSentence) {
    EXPECT_EQ(Value(kLogbookWeight, "Target Weight:"), "0");
    EXPECT_EQ(Value(kLogbookMeals, "Calories In:"), "0 cal");
    EXPECT_EQ(Sentence(kLogbookGoals, 0),
              "After inputting your personal information and goals, the calorie calculator "
              "will automatically display the calories you need to remove from your diet each "
              "day.");
}

TEST_F(LogbookReportTest, WeightsInTheUsersUnit) {
    EXPECT_EQ(WeightText(CWeightValue::FromPounds(176.9f), false), "177 lbs");
    CWeightValue metric;
    metric.Set(80.25, true);
    EXPECT_EQ(WeightText(metric, true), "80.3 kg");
    EXPECT_EQ(WeightText(CWeightValue(), true), "");

    CompleteProfile();
    journal.Profile().SetUnitChoice(1);
    Day(CJournalDate(15, 3, 2024), 80.25);
    EXPECT_EQ(Value(kLogbookWeight, "Current Weight:"), "80.3 kg");
}

TEST_F(LogbookReportTest, GainingInMetricShowsKilograms) {
    CompleteProfile();
    CUserProfile& profile = journal.Profile();
    profile.SetUnitChoice(1);
    profile.SetStartingWeight(70, true);
    profile.SetStartingDate(CJournalDate(1, 3, 2024));
    profile.SetGoalWeight(75, true);
    profile.SetGoalDate(CJournalDate(10, 5, 2024));
    const std::string sentence = Sentence(kLogbookGoals, 0);
    EXPECT_EQ(sentence.rfind("To gain 5.", 0), 0u) << sentence;
    EXPECT_NE(sentence.find(" kg in 70 days, you will need to eat "), std::string::npos);
    EXPECT_NE(sentence.find(" more calories per day than your body burns."), std::string::npos);
    EXPECT_EQ(sentence.find('-'), std::string::npos) << sentence;
}

TEST_F(LogbookReportTest, BloodPressureAndMeasurements) {
    CompleteProfile();
    CDayRecord& day = Day(CJournalDate(15, 3, 2024), 178);
    auto sections = LogbookSections(journal);
    for (const SReportLine& line : sections[kLogbookBloodPressure].lines)
        EXPECT_EQ(line.value, "") << line.label;
    EXPECT_EQ(sections[kLogbookMeasurements].lines.back(), SReportLine::Row("Body Fat:", " "));

    day.BloodPressure().SetSystolic(120);
    day.BloodPressure().SetDiastolic(80);
    day.BloodPressure().SetPulse(64);
    day.BloodPressure().SetTime(7, 5, CBloodPressure::kPm);
    EXPECT_EQ(Value(kLogbookBloodPressure, "Systolic:"), "120 mmHg");
    EXPECT_EQ(Value(kLogbookBloodPressure, "Diastolic:"), "80 mmHg");
    EXPECT_EQ(Value(kLogbookBloodPressure, "Pulse:"), "64 pulse/minute");
    EXPECT_EQ(Value(kLogbookBloodPressure, "Time:"), "7:05 PM");
    day.BloodPressure().SetTime(11, 30, CBloodPressure::kAm);
    EXPECT_EQ(Value(kLogbookBloodPressure, "Time:"), "11:30 AM");

    for (int girth = 0; girth < kGirthCount; ++girth)
        day.Measurements().SetGirth(girth, 10 + girth, false);
    EXPECT_EQ(Value(kLogbookMeasurements, "Waist:"), "12.00 in");
    EXPECT_EQ(Value(kLogbookMeasurements, "Forearms:"), "17.00 in");
    const float fat = PercentBodyFat(day.Measurements(), 0, day.Weight());
    EXPECT_EQ(Value(kLogbookMeasurements, "Body Fat:"),
              fat > 0 ? FormatText("%1.2f %%", static_cast<double>(fat)) : " ");
    journal.Profile().SetUnitChoice(1);
    EXPECT_EQ(Value(kLogbookMeasurements, "Neck:"), "25.40 cm");
}

// --- The diet plan report ---

TEST_F(LogbookReportTest, DietPlanPersonalInformationAndGoals) {
    auto sections = DietPlanSections(journal);
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].heading, "Personal Information");
    EXPECT_EQ(sections[0].lines[0], SReportLine::Row("Height:", ""));
    EXPECT_EQ(sections[0].lines[1], SReportLine::Row("Age:", ""));
    EXPECT_EQ(sections[0].lines[2], SReportLine::Row("Gender:", "Male"));

    CompleteProfile();
    journal.Profile().SetSex(1);
    CUserProfile& profile = journal.Profile();
    profile.SetStartingWeight(150, false);
    profile.SetStartingDate(CJournalDate(1, 3, 2024));
    profile.SetGoalWeight(160, false);
    profile.SetGoalDate(CJournalDate(10, 5, 2024));
    sections = DietPlanSections(journal);
    EXPECT_EQ(sections[0].lines[0], SReportLine::Row("Height:", "5ft 7in"));
    EXPECT_EQ(sections[0].lines[1], SReportLine::Row("Age:", "40"));
    EXPECT_EQ(sections[0].lines[2], SReportLine::Row("Gender:", "Female"));
    EXPECT_EQ(sections[1].lines[0], SReportLine::Row("Start:", "150 lbs   Friday March 1, 2024"));
    EXPECT_EQ(sections[1].lines[1], SReportLine::Row("Goal:", "160 lbs   Friday May 10, 2024"));
    // Whole pounds on this page, positive numbers for a gain.
    EXPECT_EQ(sections[1].lines[2],
              SReportLine::Sentence("To gain 10 lbs in 70 days, you will need to eat 500 more "
                                    "calories per day than your body burns."));

    profile.SetUnitChoice(1);
    sections = DietPlanSections(journal);
    EXPECT_EQ(sections[0].lines[0], SReportLine::Row("Height:", "170 cm"));
    EXPECT_EQ(sections[1].lines[0].value.rfind("68.0 kg", 0), 0u) << sections[1].lines[0].value;
}

TEST_F(LogbookReportTest, DietPlanTargetsFollowTheDay) {
    CompleteProfile();
    auto sections = DietPlanSections(journal);
    const auto& plan = sections[2].lines;
    ASSERT_EQ(plan.size(), 12u);
    EXPECT_EQ(plan[0], SReportLine::Row("Plan:", "Low Calories"));
    EXPECT_EQ(plan[2], SReportLine::Row("Carbohydrates:", "60 %"));
    EXPECT_EQ(plan[3], SReportLine::Row("Protein:", "10 %"));
    EXPECT_EQ(plan[4], SReportLine::Row("Total Fat:", "30 %"));
    // No record for the day: no allowance, no targets.
    EXPECT_EQ(plan[6], SReportLine::Row("Calories:", "---"));

    CDayRecord& day = Day(CJournalDate(15, 3, 2024), 178);
    TypedBMR(day, 2000);
    sections = DietPlanSections(journal);
    const auto& withDay = sections[2].lines;
    EXPECT_EQ(withDay[6], SReportLine::Row("Calories:", "2000"));
    EXPECT_EQ(withDay[7], SReportLine::Row("Carbohydrates:", "300.0 g"));
    EXPECT_EQ(withDay[8], SReportLine::Row("Protein:", "50.0 g"));
    EXPECT_EQ(withDay[9], SReportLine::Row("Fiber:", "25.0 g"));
    EXPECT_EQ(withDay[10], SReportLine::Row("Total Fat:", "66.7 g"));
    EXPECT_EQ(withDay[11], SReportLine::Row("Saturated Fat:", "22.2 g"));
}
