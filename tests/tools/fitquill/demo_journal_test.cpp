// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill/demo_journal.h"

#include "core/clock.h"
#include "core/food/exercise_table.h"
#include "core/food/food_csv.h"
#include "core/journal/journal_file.h"
#include "core/journal/journal_records.h"

#include <gtest/gtest.h>

#include <set>

using namespace fitquill;

namespace {

SDemoOptions Options(int days, uint64_t seed, CJournalDate lastDay = CJournalDate(15, 3, 2024)) {
    SDemoOptions options;
    options.days = days;
    options.seed = seed;
    options.lastDay = lastDay;
    return options;
}

std::vector<uint8_t> DemoBytes(const SDemoOptions& options, const CFoodDB& foods = CFoodDB()) {
    CJournalDB journal;
    CDemoJournal::Fill(journal, foods, options);
    return CJournalFile::Pack(journal);
}

std::set<std::string> ItemNames(const CFoodDB& db) {
    std::set<std::string> names;
    for (const CFoodGroup& group : db.Groups())
        for (const CFoodCategory& category : group.Categories())
            for (const CFoodItem& item : category.Items())
                names.insert(item.Name());
    return names;
}

std::set<std::string> LoggedNames(const CJournalDB& journal) {
    std::set<std::string> names;
    for (const CDayRecord& day : journal.Days())
        for (int meal = 0; meal < kMealCount; ++meal)
            for (const CFoodItem& entry : day.FoodLog().MealEntries(meal))
                names.insert(entry.Name());
    return names;
}

class CClockGuard {
public:
    ~CClockGuard() { CClock::SetFixedDate(std::nullopt); }
};

} // namespace

TEST(DemoJournalTest, SameSeedGivesSameBytesWhateverTheClockSays) {
    CClockGuard guard;
    CClock::SetFixedDate(CClock::ParseIsoDate("2024-03-15"));
    const std::vector<uint8_t> first = DemoBytes(Options(90, 42));
    CClock::SetFixedDate(CClock::ParseIsoDate("2019-07-01"));
    const std::vector<uint8_t> second = DemoBytes(Options(90, 42));
    EXPECT_EQ(first, second);
    EXPECT_NE(first, DemoBytes(Options(90, 43)));
}

TEST(DemoJournalTest, OneRecordForEveryDayEndingOnTheLastDay) {
    struct SCase {
        int days;
        CJournalDate lastDay;
        CJournalDate firstDay;
    };
    const SCase cases[] = {
        {1, CJournalDate(15, 3, 2024), CJournalDate(15, 3, 2024)},
        {30, CJournalDate(15, 3, 2024), CJournalDate(15, 2, 2024)}, // over February 29
        {20, CJournalDate(10, 1, 2024), CJournalDate(22, 12, 2023)},
        {366, CJournalDate(28, 2, 2025), CJournalDate(29, 2, 2024)},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.days);
        CJournalDB journal;
        CDemoJournal::Fill(journal, CFoodDB(), Options(c.days, 5, c.lastDay));
        ASSERT_EQ(journal.DayCount(), c.days);
        EXPECT_EQ(journal.Day(0).Date(), c.firstDay);
        EXPECT_EQ(journal.Day(c.days - 1).Date(), c.lastDay);
        for (int d = 1; d < c.days; ++d)
            EXPECT_EQ(journal.Day(d).Date().DayNumber(), journal.Day(d - 1).Date().DayNumber() + 1);
        EXPECT_EQ(journal.Profile().StartingDate(), c.firstDay);
        EXPECT_EQ(journal.CurrentDate(), c.lastDay);
        EXPECT_TRUE(journal.CurrentDayExists());
        EXPECT_TRUE(journal.IsModified());
    }
}

TEST(DemoJournalTest, EveryValueStaysWithinTheLimitsOfItsSetter) {
    CJournalDB journal;
    journal.Profile().SetUserName("Ann");
    CDemoJournal::Fill(journal, CFoodDB(), Options(400, 9));

    const CUserProfile& profile = journal.Profile();
    EXPECT_EQ(profile.UserName(), "Ann");
    EXPECT_TRUE(profile.IsComplete());
    EXPECT_GE(profile.Age(), 0);
    EXPECT_LE(profile.Age(), CUserProfile::kMaxAge);
    EXPECT_TRUE(profile.Sex() == 0 || profile.Sex() == 1);
    EXPECT_LT(profile.GoalWeight().Pounds(), profile.StartingWeight().Pounds());
    EXPECT_GT(profile.GoalDate().DayNumber(), profile.StartingDate().DayNumber());
    EXPECT_TRUE(profile.GoalSummary().IsValid());

    std::set<uint32_t> ids;
    int weighed = 0;
    for (const CDayRecord& day : journal.Days()) {
        SCOPED_TRACE(day.Date().LongText());
        if (day.Weight().IsSet()) {
            ++weighed;
            EXPECT_GE(day.Weight().Pounds(), 90.0f);
            EXPECT_LE(day.Weight().Pounds(), 400.0f);
            EXPECT_GE(day.ActivityLevel(), 1);
            EXPECT_LE(day.ActivityLevel(), 4);
            EXPECT_GE(day.BMR(), CDayRecord::kMinBMR);
            EXPECT_LE(day.BMR(), CDayRecord::kMaxBMR);
        } else {
            EXPECT_EQ(day.ActivityLevel(), 0);
        }
        EXPECT_GE(day.Water(), 0);
        EXPECT_LE(day.Water(), CDayRecord::kMaxWater);
        EXPECT_LT(day.Note().size(), CDayRecord::kNoteBufferSize);
        EXPECT_EQ(day.Note().find('\r'), std::string::npos);

        for (int girth = 0; girth < kGirthCount; ++girth) {
            const float inches = day.Measurements().RawGirth(girth);
            EXPECT_TRUE(inches == -1.0f ||
                        (inches > 0.0f && inches <= CBodyMeasurements::kMaxGirthInches));
        }
        const CBloodPressure& pressure = day.BloodPressure();
        for (int16_t reading : {pressure.Systolic(), pressure.Diastolic(), pressure.Pulse()})
            EXPECT_TRUE(reading == -1 || (reading >= 1 && reading <= 999));
        EXPECT_TRUE(pressure.Hour() == -1 || (pressure.Hour() >= 1 && pressure.Hour() <= 12));
        EXPECT_TRUE(pressure.Minute() == -1 || (pressure.Minute() >= 0 && pressure.Minute() <= 59));
        if (pressure.Systolic() > 0) {
            EXPECT_LT(pressure.Diastolic(), pressure.Systolic());
        }

        const CDayFoodLog& food = day.FoodLog();
        EXPECT_GE(food.EntryCount(), 8);
        EXPECT_LE(food.EntryCount(), 15);
        for (int meal = 0; meal < kMealCount; ++meal) {
            for (const CFoodItem& entry : food.MealEntries(meal)) {
                EXPECT_EQ(entry.MealType(), meal);
                EXPECT_GT(entry.ServingRatio(), 0.0f);
                EXPECT_TRUE(ids.insert(entry.Id()).second) << "duplicate id " << entry.Id();
            }
        }
        EXPECT_LE(day.Exercises().Count(), 2);
        for (const CExerciseEntry& exercise : day.Exercises().Entries()) {
            EXPECT_GE(exercise.Minutes(), 1);
            EXPECT_LE(exercise.Minutes(), CExerciseEntry::kMaxMinutes);
            EXPECT_GE(exercise.Calories(), 1);
            EXPECT_LE(exercise.Calories(), CExerciseEntry::kMaxCalories);
            ASSERT_TRUE(ExerciseActivityList().Contains(exercise.Activity()));
            if (exercise.Activity() != kActivityUserDefined) {
                EXPECT_EQ(exercise.Name(), ExerciseActivityList().Name(exercise.Activity()));
            }
            EXPECT_FALSE(exercise.Name().empty());
            EXPECT_TRUE(ids.insert(exercise.Id()).second) << "duplicate id " << exercise.Id();
        }
    }
    // Most days are weighed, but not every one.
    EXPECT_GT(weighed, 300);
    EXPECT_LT(weighed, 400);
}

TEST(DemoJournalTest, TheLargestDaysFitARecordAndTheFileReadsBack) {
    SDemoOptions options = Options(60, 3);
    options.foodEntriesPerDay = CDemoJournal::kMaxFoodEntriesPerDay;
    options.exercisesPerDay = CDemoJournal::kMaxExercisesPerDay;
    CJournalDB journal;
    CDemoJournal::Fill(journal, CFoodDB(), options);
    for (int d = 0; d < journal.DayCount(); ++d) {
        EXPECT_EQ(journal.Day(d).FoodLog().EntryCount(), options.foodEntriesPerDay);
        EXPECT_EQ(journal.Day(d).Exercises().Count(), options.exercisesPerDay);
        EXPECT_LT(PackDayRecord(journal.Day(d)).size(), 65520u);
    }

    const std::vector<uint8_t> bytes = CJournalFile::Pack(journal);
    CJournalDB reread;
    std::string damage;
    ASSERT_TRUE(CJournalFile::Unpack(bytes, reread, &damage)) << damage;
    EXPECT_EQ(reread.DayCount(), 60);
    EXPECT_EQ(CJournalFile::Pack(reread), bytes);
}

TEST(DemoJournalTest, MealsComeFromTheGivenFoodsElseFromTheBuiltInList) {
    CFoodDB own;
    const int group = own.AddGroup(CFoodGroup("Home Cooking"));
    const int category = own.AddCategory(static_cast<uint16_t>(group), CFoodCategory("Soups"));
    CFoodItem soup;
    soup.SetName("Lentil Soup", true);
    soup.SetBaseMeasure(CServingMeasure(1.0f, kUnitCup), false);
    soup.SetServing(CServingMeasure(1.0f, kUnitCup));
    soup.SetNutrientValue(kNutrientCalories, 180.0f);
    own.AddFoodItem(static_cast<uint16_t>(group), static_cast<uint16_t>(category), soup);

    CJournalDB journal;
    CDemoJournal::Fill(journal, own, Options(10, 1));
    EXPECT_EQ(LoggedNames(journal), std::set<std::string>{"Lentil Soup"});

    // An item without a serving cannot be logged; a database of only such items counts as
    // empty.
    CFoodDB unusable = own;
    CFoodItem broken = soup;
    broken.SetName("Broken", true);
    broken.SetServing(CServingMeasure(0.0f, kUnitCup));
    unusable.DeleteFoodItem(0, 0, 0);
    unusable.AddFoodItem(0, 0, broken);
    for (const CFoodDB& foods : {unusable, CFoodDB()}) {
        CJournalDB fallback;
        CDemoJournal::Fill(fallback, foods, Options(30, 1));
        const std::set<std::string> logged = LoggedNames(fallback);
        const std::set<std::string> builtIn = ItemNames(CDemoJournal::BuiltInFoods());
        EXPECT_GT(logged.size(), 10u);
        for (const std::string& name : logged)
            EXPECT_TRUE(builtIn.count(name)) << name;
    }
}

TEST(DemoJournalTest, BuiltInFoodsSurviveAnExportAndImport) {
    const CFoodDB foods = CDemoJournal::BuiltInFoods();
    const std::optional<std::string> text = CFoodCsv::ExportText(foods);
    ASSERT_TRUE(text.has_value());
    CFoodDB imported;
    const SFoodImportResult result =
        CFoodCsv::ImportText(imported, *text, EFoodImportMode::ReplaceDatabase);
    ASSERT_TRUE(result.ok) << "line " << result.lineNumber << ": " << result.error;
    EXPECT_EQ(ItemNames(imported), ItemNames(foods));
    EXPECT_EQ(ItemNames(foods).size(), 30u);
}

TEST(DemoJournalTest, OptionsThatCannotMakeAJournalAreRefused) {
    struct SCase {
        const char* what;
        SDemoOptions options;
        bool accepted;
    };
    auto with = [](auto change) {
        SDemoOptions options = Options(30, 1);
        change(options);
        return options;
    };
    const SCase cases[] = {
        {"plain", Options(30, 1), true},
        {"no days", Options(0, 1), false},
        {"negative days", Options(-3, 1), false},
        {"longest", Options(CDemoJournal::kMaxDays, 1), true},
        {"too long", Options(CDemoJournal::kMaxDays + 1, 1), false},
        {"first day 1904-01-01", Options(10, 1, CJournalDate(10, 1, 1904)), true},
        {"before 1904", Options(11, 1, CJournalDate(10, 1, 1904)), false},
        {"after 2031", Options(1, 1, CJournalDate(1, 1, 2032)), false},
        {"unset last day", Options(1, 1, CJournalDate()), false},
        {"too many foods", with([](SDemoOptions& o) {
             o.foodEntriesPerDay = CDemoJournal::kMaxFoodEntriesPerDay + 1;
         }),
         false},
        {"too many exercises",
         with([](SDemoOptions& o) { o.exercisesPerDay = CDemoJournal::kMaxExercisesPerDay + 1; }),
         false},
        {"no exercises", with([](SDemoOptions& o) { o.exercisesPerDay = 0; }), true},
        {"more entries than ids", with([](SDemoOptions& o) {
             o.days = CDemoJournal::kMaxDays;
             o.foodEntriesPerDay = CDemoJournal::kMaxFoodEntriesPerDay;
         }),
         false},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(CDemoJournal::CheckOptions(c.options).empty(), c.accepted) << c.what;
}
