// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/logbook_report.h"

#include "core/calc/body_fat.h"
#include "core/calc/diet_plan.h"
#include "core/calc/energy_balance.h"
#include "core/food/nutrient.h"
#include "core/journal/journal_db.h"
#include "core/report/text_format.h"

#include <cmath>

namespace fitquill {

namespace {

const char* const kGirthLabels[kGirthCount] = {
    "Neck:", "Chest:", "Waist:", "Hips:", "Thighs:", "Calves:", "Upper arms:", "Forearms:",
};

const char* UnitName(bool metric) {
    return metric ? "kg" : "lbs";
}

std::string CaloriesText(long calories) {
    return FormatText("%ld cal", calories);
}

SReportSection WeightSection(const CJournalDB& journal) {
    const CUserProfile& profile = journal.Profile();
    const bool metric = profile.IsMetric();
    SReportSection section{"Weight", {}};
    const auto current = journal.CurrentWeight();
    section.lines.push_back(SReportLine::Row(
        "Current Weight:", current ? WeightText(*current, metric) : kDailyWeightMissingText));
    const std::string goal = WeightText(profile.GoalWeight(), metric);
    section.lines.push_back(SReportLine::Row("Target Weight:", goal.empty() ? "0" : goal));
    section.lines.push_back(SReportLine::Row(
        "Target Date:", profile.GoalDate().IsSet() ? profile.GoalDate().LongText() : "0"));
    return section;
}

SReportSection MealsSection(const CJournalDB& journal) {
    const CDayRecord* day = journal.CurrentRecord();
    const double eaten = day ? day->FoodLog().TotalValue(kNutrientCalories) : 0.0;
    SReportSection section{"Meals", {}};
    section.lines.push_back(
        SReportLine::Row("Calories In:", CaloriesText(static_cast<long>(eaten + 0.5))));
    // The budget rests on the day's own weight: without one it is not shown, whatever an
    // earlier day would give.
    std::optional<int32_t> budget;
    if (journal.CurrentWeight())
        budget = FoodBudget(journal);
    section.lines.push_back(
        SReportLine::Sentence(std::string("To achieve the goals you have set, your food budget "
                                          "is:  ") +
                              (budget ? FoodBudgetText(*budget) : kBudgetNeedsWeightText)));
    section.lines.push_back(SReportLine::Sentence("Food Budget = BMR + Exercise - Goal"));
    return section;
}

int ExerciseCalories(const CJournalDB& journal) {
    const CDayRecord* day = journal.CurrentRecord();
    return day ? day->Exercises().Totals().calories : 0;
}

SReportSection BmrSection(const CJournalDB& journal) {
    const CDayRecord* day = journal.CurrentRecord();
    int level = day ? day->ActivityLevel() : 0;
    if (level == kActivityLevelNone)
        level = journal.Profile().DefaultActivityLevel();
    SReportSection section{"BMR", {}};
    section.lines.push_back(
        SReportLine::Row("Calories Out:", CaloriesText(CurrentDayBMR(journal).calories)));
    section.lines.push_back(SReportLine::Row("Activity Level:", ActivityLevelName(level)));
    section.lines.push_back(
        SReportLine::Sentence("The calories you burned during the day through work and at rest."));
    return section;
}

SReportSection ExerciseSection(const CJournalDB& journal) {
    SReportSection section{"Exercise", {}};
    section.lines.push_back(
        SReportLine::Row("Calories Out:", CaloriesText(ExerciseCalories(journal))));
    section.lines.push_back(
        SReportLine::Sentence("The calories you burn during the day through exercise."));
    return section;
}

SReportSection GoalsSection(const CJournalDB& journal, const CGoalSummary& summary) {
    const CDayRecord* day = journal.CurrentRecord();
    const double eaten = day ? day->FoodLog().TotalValue(kNutrientCalories) : 0.0;
    const double total = eaten - CurrentDayBMR(journal).calories - ExerciseCalories(journal);
    SReportSection section{"Goals", {}};
    section.lines.push_back(
        SReportLine::Row("Total Calories:", CaloriesText(static_cast<long>(std::trunc(total)))));
    section.lines.push_back(
        SReportLine::Sentence(GoalText(summary, journal.Profile().UnitChoice())));
    return section;
}

SReportSection BloodPressureSection(const CJournalDB& journal) {
    SReportSection section{"Blood Pressure", {}};
    std::string systolic, diastolic, pulse, time;
    if (const CDayRecord* day = journal.CurrentRecord()) {
        const CBloodPressure& reading = day->BloodPressure();
        if (reading.Systolic() >= 0)
            systolic = FormatText("%d mmHg", reading.Systolic());
        if (reading.Diastolic() >= 0)
            diastolic = FormatText("%d mmHg", reading.Diastolic());
        if (reading.Pulse() >= 0)
            pulse = FormatText("%d pulse/minute", reading.Pulse());
        if (reading.Hour() >= 0 && reading.Minute() >= 0)
            time = FormatText("%d:%02d %s", reading.Hour(), reading.Minute(),
                              reading.AmPm() == CBloodPressure::kPm ? "PM" : "AM");
    }
    section.lines.push_back(SReportLine::Row("Systolic:", systolic));
    section.lines.push_back(SReportLine::Row("Diastolic:", diastolic));
    section.lines.push_back(SReportLine::Row("Pulse:", pulse));
    section.lines.push_back(SReportLine::Row("Time:", time));
    return section;
}

SReportSection MeasurementsSection(const CJournalDB& journal) {
    const CUserProfile& profile = journal.Profile();
    const bool metric = profile.IsMetric();
    const CDayRecord* day = journal.CurrentRecord();
    SReportSection section{"Body Measurements", {}};
    for (int girth = 0; girth < kGirthCount; ++girth) {
        std::string value;
        if (day && day->Measurements().IsGirthSet(girth))
            value = FormatText("%1.2f %s", day->Measurements().Girth(girth, metric),
                               metric ? "cm" : "in");
        section.lines.push_back(SReportLine::Row(kGirthLabels[girth], value));
    }
    std::string fat = " ";
    if (day) {
        const float percent = PercentBodyFat(day->Measurements(), profile.Sex(), day->Weight());
        if (percent > 0.0f)
            fat = FormatText("%1.2f %%", static_cast<double>(percent));
    }
    section.lines.push_back(SReportLine::Row("Body Fat:", fat));
    return section;
}

} // namespace

std::string WeightText(const CWeightValue& weight, bool metric) {
    const auto value = weight.Get(metric);
    if (!value)
        return {};
    return FormatText(metric ? "%1.1f %s" : "%1.0f %s", *value, UnitName(metric));
}

std::string HeightText(const CUserProfile& profile) {
    if (profile.IsMetric()) {
        const auto centimetres = profile.Height().GetCentimetres();
        return centimetres ? FormatText("%d cm", *centimetres) : std::string();
    }
    const auto feetInches = profile.Height().GetFeetInches();
    return feetInches ? FormatText("%dft %din", feetInches->first, feetInches->second)
                      : std::string();
}

std::vector<SReportSection> LogbookSections(const CJournalDB& journal) {
    // Drawing never writes into the journal: the goal summary is worked out on a copy, and the
    // BMR of the day as the profile gives it now (CurrentDayBMR), not stored.
    CUserProfile shown = journal.Profile();
    ComputeGoalSummary(shown);
    std::vector<SReportSection> sections;
    sections.reserve(kLogbookSectionCount);
    sections.push_back(WeightSection(journal));
    sections.push_back(MealsSection(journal));
    sections.push_back(BmrSection(journal));
    sections.push_back(ExerciseSection(journal));
    sections.push_back(GoalsSection(journal, shown.GoalSummary()));
    sections.push_back(BloodPressureSection(journal));
    sections.push_back(MeasurementsSection(journal));
    return sections;
}

std::vector<SReportSection> DietPlanSections(CJournalDB& journal) {
    CUserProfile profile = journal.Profile(); // a copy: drawing never writes into the journal
    ComputeGoalSummary(profile);
    const bool metric = profile.IsMetric();
    std::vector<SReportSection> sections(3);

    SReportSection& personal = sections[0];
    personal.heading = "Personal Information";
    personal.lines.push_back(SReportLine::Row("Height:", HeightText(profile)));
    personal.lines.push_back(
        SReportLine::Row("Age:", profile.Age() >= 0 ? FormatText("%d", profile.Age()) : ""));
    personal.lines.push_back(SReportLine::Row("Gender:", profile.Sex() == 1 ? "Female" : "Male"));

    SReportSection& goals = sections[1];
    goals.heading = "Weight Goals";
    auto weightAndDate = [metric](const CWeightValue& weight, const CJournalDate& date) {
        std::string text = WeightText(weight, metric);
        if (date.IsSet())
            text += (text.empty() ? "" : "   ") + date.LongText();
        return text;
    };
    goals.lines.push_back(SReportLine::Row(
        "Start:", weightAndDate(profile.StartingWeight(), profile.StartingDate())));
    goals.lines.push_back(
        SReportLine::Row("Goal:", weightAndDate(profile.GoalWeight(), profile.GoalDate())));
    goals.lines.push_back(
        SReportLine::Sentence(GoalText(profile.GoalSummary(), profile.UnitChoice(), true)));

    const SDietPlanReport plan = DietPlanReport(profile, AllNutrientTargets(journal));
    SReportSection& diet = sections[2];
    diet.heading = "Diet Plan";
    diet.lines.push_back(SReportLine::Row("Plan:", plan.plan));
    diet.lines.push_back(SReportLine::Sentence(
        "Your diet plan recommends the following percent of calories from each nutrient."));
    const char* const percentLabels[3] = {"Carbohydrates:", "Protein:", "Total Fat:"};
    for (size_t i = 0; i < 3; ++i)
        diet.lines.push_back(SReportLine::Row(percentLabels[i], plan.percentages[i]));
    diet.lines.push_back(
        SReportLine::Sentence("Your diet plan recommends the following daily nutrient targets."));
    diet.lines.push_back(SReportLine::Row("Calories:", plan.calories));
    const char* const gramLabels[5] = {
        "Carbohydrates:", "Protein:", "Fiber:", "Total Fat:", "Saturated Fat:"};
    for (size_t i = 0; i < 5; ++i)
        diet.lines.push_back(SReportLine::Row(gramLabels[i], plan.grams[i]));
    return sections;
}

} // namespace fitquill
