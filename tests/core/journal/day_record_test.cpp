// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/day_record.h"

#include "core/journal/user_profile.h"

#include <gtest/gtest.h>

using namespace fitquill;

namespace {

// Male, 180 cm, 30 years, default level 2: 176.4 lb (80.0 kg) gives 1858 at level 1.
CUserProfile Profile() {
    CUserProfile profile;
    profile.SetHeightCentimetres(180);
    profile.SetAge(30);
    return profile;
}

CWeightValue Pounds(double pounds) {
    CWeightValue weight;
    weight.Set(pounds, false);
    return weight;
}

CFoodItem Food(const char* name, int meal, float calories, float ratio) {
    CFoodItem item;
    item.SetName(name, true);
    item.SetMealType(static_cast<uint16_t>(meal));
    item.SetNutrientValue(kNutrientCalories, calories);
    item.SetNutrientValue(kNutrientFat, 2.0f);
    item.SetStoredServingRatio(ratio);
    return item;
}

CExerciseEntry Exercise(int calories) {
    CExerciseEntry entry;
    entry.SetName("Rowing");
    entry.SetMinutes(30);
    entry.SetCalories(calories);
    return entry;
}

} // namespace

TEST(DayRecord, NewDayDefaults) {
    const CDayRecord day(CJournalDate(5, 3, 2024));
    EXPECT_EQ(day.Date(), CJournalDate(5, 3, 2024));
    EXPECT_FALSE(day.Weight().IsSet());
    EXPECT_EQ(day.ActivityLevel(), 0);
    EXPECT_EQ(day.BMR(), 0);
    EXPECT_EQ(day.Water(), 0);
    EXPECT_EQ(day.Note(), "");
    EXPECT_EQ(day.ChangeBits(), 0);
    EXPECT_EQ(day.FoodLogOffset(), 0);
    EXPECT_EQ(day.ExerciseListOffset(), 0);
    EXPECT_TRUE(day.Measurements().AutomaticBodyFat());
    EXPECT_EQ(day.BloodPressure().Systolic(), -1);
    EXPECT_EQ(day.FoodLog().EntryCount(), 0);
    EXPECT_EQ(day.Exercises().Count(), 0);
    EXPECT_FALSE(day.HasChanges());
}

TEST(DayRecord, WaterIsKeptWithin0To99) {
    const struct {
        int in;
        int16_t stored;
    } rows[] = {{0, 0}, {5, 5}, {99, 99}, {100, 99}, {150, 99}, {-1, 0}, {-500, 0}};
    for (const auto& row : rows) {
        CDayRecord day;
        day.SetWater(7);
        day.SetChangeBits(0);
        day.SetWater(row.in);
        EXPECT_EQ(day.Water(), row.stored) << row.in;
        EXPECT_EQ(day.ChangeBits(), CDayRecord::kChangeWater) << row.in;
    }
    CDayRecord day;
    day.SetWater(0);
    EXPECT_EQ(day.ChangeBits(), 0); // unchanged
}

TEST(DayRecord, BmrRefusesBelow100AndClampsAbove9999) {
    const struct {
        int in;
        bool accepted;
        int16_t stored;
    } rows[] = {{50, false, 1200},  {99, false, 1200},   {100, true, 100},
                {9999, true, 9999}, {10000, true, 9999}, {32000, true, 9999}};
    for (const auto& row : rows) {
        CDayRecord day;
        ASSERT_TRUE(day.SetBMR(1200));
        day.SetChangeBits(0);
        EXPECT_EQ(day.SetBMR(row.in), row.accepted) << row.in;
        EXPECT_EQ(day.BMR(), row.stored) << row.in;
        EXPECT_EQ(day.ChangeBits(), row.accepted ? CDayRecord::kChangeActivity : 0) << row.in;
    }
}

TEST(DayRecord, ActivityLevelAccepts1To5) {
    CDayRecord day;
    EXPECT_FALSE(day.SetActivityLevel(0));
    EXPECT_FALSE(day.SetActivityLevel(6));
    EXPECT_EQ(day.ChangeBits(), 0);
    EXPECT_TRUE(day.SetActivityLevel(3));
    EXPECT_EQ(day.ActivityLevel(), 3);
    EXPECT_EQ(day.ChangeBits(), CDayRecord::kChangeActivity);
}

TEST(DayRecord, SettingAWeightSetsLevelAndBmr) {
    const CUserProfile profile = Profile();
    CDayRecord day;
    day.SetWeight(Pounds(176.4), profile);
    EXPECT_EQ(day.Weight().Pounds(), 176.4f);
    EXPECT_EQ(day.ActivityLevel(), 2); // the profile's default
    EXPECT_EQ(day.BMR(), 2229);
    EXPECT_EQ(day.ChangeBits(), CDayRecord::kChangeWeight | CDayRecord::kChangeActivity);

    // An explicit level is kept and used.
    day.SetActivityLevel(1);
    day.SetWeight(Pounds(176.4), profile);
    EXPECT_EQ(day.BMR(), 1858);

    // A typed BMR stays.
    day.SetActivityLevel(5);
    day.SetBMR(1500);
    day.SetWeight(Pounds(200), profile);
    EXPECT_EQ(day.BMR(), 1500);

    // An unset weight clears the level; the BMR stays.
    day.SetChangeBits(0);
    EXPECT_FALSE(day.SetWeight(0, false, profile));
    EXPECT_FALSE(day.Weight().IsSet());
    EXPECT_EQ(day.ActivityLevel(), 0);
    EXPECT_EQ(day.BMR(), 1500);
    EXPECT_EQ(day.ChangeBits(), CDayRecord::kChangeWeight | CDayRecord::kChangeActivity);
}

TEST(DayRecord, WeightWithIncompleteProfileLeavesTheBmr) {
    CUserProfile profile; // no height, no age
    CDayRecord day;
    EXPECT_TRUE(day.SetWeight(80, true, profile));
    EXPECT_EQ(day.ActivityLevel(), 2);
    EXPECT_EQ(day.BMR(), 0);
    EXPECT_DOUBLE_EQ(*day.Weight().Get(true), 80.0);
}

TEST(DayRecord, NoteDropsCarriageReturnsAndGivesThemBack) {
    CDayRecord day;
    day.SetNoteFromEdit("  Ran 5k\r\nfelt good\r\n\r\nslept  ");
    EXPECT_EQ(day.Note(), "Ran 5k\nfelt good\n\nslept");
    EXPECT_EQ(day.NoteForEdit(), "Ran 5k\r\nfelt good\r\n\r\nslept");
    EXPECT_EQ(day.ChangeBits(), CDayRecord::kChangeNote);

    day.SetChangeBits(0);
    day.SetNoteFromEdit("Ran 5k\r\nfelt good\r\n\r\nslept");
    EXPECT_EQ(day.ChangeBits(), 0);
}

TEST(DayRecord, NoteStaysWithinTheEditBuffer) {
    const size_t limit = CDayRecord::kNoteBufferSize - 1;
    CDayRecord day;

    // An edited text longer than the buffer is cut, not carried whole.
    day.SetNoteFromEdit(std::string(3000, 'a'));
    EXPECT_EQ(day.Note(), std::string(limit, 'a'));
    EXPECT_EQ(day.NoteForEdit().size(), limit);

    // Cut before the carriage returns are dropped: 1023 edited bytes of "x\r\n".
    std::string lines;
    for (int i = 0; i < 400; ++i)
        lines += "x\r\n";
    day.SetNoteFromEdit(lines);
    std::string expected;
    for (int i = 0; i < 341; ++i) // 341 x 3 = 1023 bytes
        expected += "x\n";
    EXPECT_EQ(day.Note(), expected);
    EXPECT_EQ(day.NoteForEdit().size(), limit);

    // A stored note whose line ends grow past the buffer: a line end that does not fit
    // whole ends the text, so no lone carriage return is left.
    day.SetStoredNote(std::string(1022, 'b') + "\nc");
    EXPECT_EQ(day.NoteForEdit(), std::string(1022, 'b'));
    day.SetStoredNote(std::string(1021, 'b') + "\nc");
    EXPECT_EQ(day.NoteForEdit(), std::string(1021, 'b') + "\r\n");
    day.SetStoredNote(std::string(2000, '\n').insert(0, "d"));
    const std::string edited = day.NoteForEdit();
    EXPECT_EQ(edited.size(), 1 + 2 * 511u);
    EXPECT_EQ(edited.back(), '\n');
}

TEST(DayRecord, RefreshRecomputesDerivedValues) {
    const CUserProfile profile = Profile();
    CIdGenerator ids(CIdGenerator::kUnassigned);
    CDayRecord day;
    day.FoodLog().AddEntry(kSortByMeal, Food("Toast", kMealBreakfast, 100.0f, 1.5f), ids);
    day.FoodLog().AddEntry(kSortByMeal, Food("Soup", kMealDinner, 120.9f, 1.0f), ids);
    day.Exercises().Add(Exercise(9000), ids);
    day.Exercises().Add(Exercise(2000), ids);
    day.SetStoredWeight(Pounds(176.4));
    day.SetStoredActivityLevel(4);

    day.Refresh(profile);
    EXPECT_EQ(day.FoodCalories(), 270); // 150 + 120.9, whole calories
    EXPECT_FLOAT_EQ(day.FoodLog().TotalValue(kNutrientFat), 5.0f);
    EXPECT_EQ(day.ExerciseCalories(), 9999);
    EXPECT_EQ(day.BMR(), 2972);
    EXPECT_EQ(day.ChangeBits(), 0); // derived values carry no change bits

    // Levels 0 and 5 keep the stored BMR.
    day.SetStoredBMR(1400);
    day.SetStoredActivityLevel(5);
    day.Refresh(profile);
    EXPECT_EQ(day.BMR(), 1400);
    day.SetStoredActivityLevel(0);
    day.Refresh(profile);
    EXPECT_EQ(day.BMR(), 1400);
}

TEST(DayRecord, ClearChangeBitsReachesEveryPart) {
    CIdGenerator ids(CIdGenerator::kUnassigned);
    CDayRecord day;
    day.SetWater(3);
    day.Measurements().SetGirth(kGirthWaist, 34, false);
    day.BloodPressure().SetSystolic(120);
    day.FoodLog().AddEntry(kSortByMeal, Food("Toast", kMealBreakfast, 100.0f, 1.0f), ids);
    day.Exercises().Add(Exercise(100), ids);
    ASSERT_TRUE(day.HasChanges());

    day.ClearChangeBits();
    EXPECT_EQ(day.ChangeBits(), 0);
    EXPECT_EQ(day.Measurements().ChangeBits(), 0);
    EXPECT_EQ(day.BloodPressure().ChangeBits(), 0);
    EXPECT_FALSE(day.FoodLog().AnyChanged());
    EXPECT_FALSE(day.Exercises().AnyChanged());
    EXPECT_FALSE(day.HasChanges());

    // Each part alone counts as a change.
    day.BloodPressure().SetPulse(70);
    EXPECT_TRUE(day.HasChanges());
}
