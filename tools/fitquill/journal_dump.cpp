// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill/journal_dump.h"

#include "core/calc/energy_balance.h"
#include "core/food/exercise_table.h"
#include "tools/fitquill/dump_text.h"
#include "tools/fitquill/food_dump.h"

#include <cstdio>
#include <string>

namespace fitquill {
namespace {

constexpr const char* kGirthNames[kGirthCount] = {"neck",   "chest",  "waist",      "hips",
                                                  "thighs", "calves", "upper arms", "forearms"};

std::string WeightText(float pounds) {
    return pounds < 0.0f ? "unset" : NumberText(pounds) + " lbs";
}

std::string ReadingText(int16_t value) {
    return value < 0 ? "unset" : std::to_string(value);
}

std::string LevelText(int level) {
    return std::to_string(level) + " (" + ActivityLevelName(level) + ")";
}

// An index with the name it has in its list, when it has one.
std::string IndexText(int index, const SExerciseList& list) {
    std::string text = std::to_string(index);
    if (list.Contains(index))
        text += std::string(" (") + list.Name(index) + ")";
    return text;
}

void WriteProfile(const CUserProfile& profile, std::ostream& out) {
    out << "Profile\n";
    out << "  status: " << int(profile.Status()) << '\n';
    out << "  first text: " << QuotedText(profile.FirstText()) << '\n';
    out << "  second text: " << QuotedText(profile.SecondText()) << '\n';
    out << "  user name: " << QuotedText(profile.UserName()) << '\n';
    const float height = profile.Height().Inches();
    out << "  height: " << (height < 0.0f ? "unset" : NumberText(height) + " in") << '\n';
    out << "  age: " << ReadingText(profile.Age()) << '\n';
    out << "  sex: " << profile.Sex()
        << (profile.Sex() == 0   ? " (male)"
            : profile.Sex() == 1 ? " (female)"
                                 : "")
        << '\n';
    out << "  starting weight: " << WeightText(profile.StartingWeight().Pounds()) << '\n';
    out << "  starting date: " << IsoDateText(profile.StartingDate()) << '\n';
    out << "  goal weight: " << WeightText(profile.GoalWeight().Pounds()) << '\n';
    out << "  goal date: " << IsoDateText(profile.GoalDate()) << '\n';
    const CGoalSummary& goal = profile.GoalSummary();
    out << "  goal summary: valid " << int(goal.Valid()) << ", weight change "
        << NumberText(goal.WeightChange()) << " lbs, " << goal.Days() << " days, "
        << goal.DailyCalories() << " cal a day\n";
    out << "  default activity level: " << LevelText(profile.DefaultActivityLevel()) << '\n';
    out << "  unit choice: " << profile.UnitChoice()
        << (profile.UnitChoice() == 1 ? " (kilograms and centimetres)" : " (pounds and inches)")
        << '\n';
    out << "  change bits: " << HexText(profile.ChangeBits(), 4) << '\n';
    out << "  diet plan: " << profile.DietPlan() << '\n';
    out << "  percentages: carbohydrate " << profile.CarbohydratePercent() << ", protein "
        << profile.ProteinPercent() << ", fat " << profile.FatPercent() << '\n';
    out << "  target mode: " << int(profile.TargetMode())
        << (profile.TargetMode() == 1 ? " (follow the diet plan)" : " (own targets)") << '\n';
    out << "  targets: " << NutrientsText(profile.OwnTargets()) << '\n';
}

void WriteMeasurements(const CBodyMeasurements& measurements, std::ostream& out) {
    out << "  measurements:";
    for (int girth = 0; girth < kGirthCount; ++girth) {
        const float inches = measurements.RawGirth(girth);
        out << ' ' << kGirthNames[girth] << ' '
            << (inches < 0.0f ? "unset" : NumberText(inches) + " in") << ',';
    }
    const float fat = measurements.StoredPercentBodyFat();
    out << " body fat " << (fat < 0.0f ? "unset" : NumberText(fat) + " %") << ", automatic "
        << int(measurements.RawAutomaticBodyFat()) << ", change bits "
        << HexText(measurements.ChangeBits(), 4) << '\n';
}

void WriteBloodPressure(const CBloodPressure& pressure, std::ostream& out) {
    out << "  blood pressure: systolic " << ReadingText(pressure.Systolic()) << ", diastolic "
        << ReadingText(pressure.Diastolic()) << ", pulse " << ReadingText(pressure.Pulse())
        << ", time ";
    if (pressure.Hour() < 0 && pressure.Minute() < 0) {
        out << "unset";
    } else {
        char minute[8];
        std::snprintf(minute, sizeof minute, "%02d", pressure.Minute());
        out << ReadingText(pressure.Hour()) << ':' << (pressure.Minute() < 0 ? "unset" : minute);
    }
    out << (pressure.AmPm() == CBloodPressure::kAm ? " AM" : " PM") << ", change bits "
        << HexText(pressure.ChangeBits(), 4) << '\n';
}

void WriteDay(const CDayRecord& day, int position, int count, std::ostream& out) {
    out << "Day " << position + 1 << " of " << count << ": " << IsoDateText(day.Date()) << ' '
        << CJournalDate::WeekdayName(day.Date().Weekday()) << " (record "
        << position + CJournalDB::kFirstDayRecord << ")\n";
    out << "  stored offsets: food log " << day.FoodLogOffset() << ", exercise list "
        << day.ExerciseListOffset() << '\n';
    out << "  weight: " << WeightText(day.Weight().Pounds()) << '\n';
    out << "  activity level: " << LevelText(day.ActivityLevel()) << '\n';
    out << "  BMR: " << day.BMR() << '\n';
    out << "  note: " << QuotedText(day.Note()) << '\n';
    out << "  water: " << day.Water() << '\n';
    out << "  change bits: " << HexText(day.ChangeBits(), 4) << '\n';
    WriteMeasurements(day.Measurements(), out);
    WriteBloodPressure(day.BloodPressure(), out);
    const CDayFoodLog& food = day.FoodLog();
    out << "  food totals: " << NutrientsText(food.Totals()) << '\n';
    for (int meal = 0; meal < kMealCount; ++meal) {
        const std::vector<CFoodItem>& entries = food.MealEntries(meal);
        out << "  " << CDayFoodLog::MealName(meal) << ": " << entries.size() << " entries\n";
        for (const CFoodItem& entry : entries)
            out << "    " << CFoodDump::ItemText(entry) << '\n';
    }
    const CExerciseList& exercises = day.Exercises();
    out << "  Exercises: " << exercises.Count() << " entries\n";
    for (const CExerciseEntry& entry : exercises.Entries()) {
        out << "    " << QuotedText(entry.Name()) << " id " << HexText(entry.Id()) << ", changed "
            << int(entry.Changed()) << "; activity "
            << IndexText(entry.Activity(), ExerciseActivityList()) << ", variant "
            << IndexText(entry.Variant(), ExerciseVariantList(entry.Activity())) << ", intensity "
            << IndexText(entry.Intensity(),
                         ExerciseIntensityList(entry.Activity(), entry.Variant()))
            << "; " << entry.Minutes() << " min, " << entry.Calories() << " cal\n";
    }
}

} // namespace

void CJournalDump::Write(const CJournalDB& journal, std::ostream& out) {
    const CJournalHeader& header = journal.Header();
    out << "Header\n";
    out << "  version: " << header.Version() << '\n';
    out << "  reserved: " << header.Reserved() << '\n';
    out << "  id generator: " << HexText(header.IdGenerator().Value()) << '\n';
    out << "  history length: " << header.HistoryLength() << '\n';
    WriteProfile(journal.Profile(), out);
    const CDayIndex index = journal.DayIndex();
    out << "Day index: first record " << index.FirstRecord() << ", count " << index.Count() << '\n';
    const int count = journal.DayCount();
    for (int position = 0; position < count; ++position)
        WriteDay(journal.Day(position), position, count, out);
}

} // namespace fitquill
