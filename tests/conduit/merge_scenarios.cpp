// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/conduit/merge_scenarios.h"

#include "core/calc/energy_balance.h"
#include "core/food/food_db_file.h"
#include "core/journal/journal_records.h"
#include "tests/conduit/conduit_test_support.h"
#include "tests/conduit/merge_model.h"

#include <random>

namespace fitquill::testing {
namespace {

class CRandom {
public:
    explicit CRandom(uint64_t seed) : m_engine(seed) {}
    int Below(int n) {
        return n <= 1 ? 0 : static_cast<int>(m_engine() % static_cast<uint64_t>(n));
    }
    bool Chance(int percent) { return Below(100) < percent; }
    template <class T> T Of(std::initializer_list<T> values) {
        return values.begin()[Below(static_cast<int>(values.size()))];
    }

private:
    std::mt19937_64 m_engine;
};

std::string Quote(const std::string& text) {
    return "\"" + text + "\"";
}

std::string DateText(const CJournalDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.Year(), date.Month(), date.Day());
    return text;
}

// Days fall in the six weeks up to today, so that a history of 10 or 30 days cuts some off.
CJournalDate WindowDate(int daysBack) {
    CJournalDate date = ScenarioToday();
    for (int i = 0; i < daysBack; ++i)
        date.StepDays(-1);
    return date;
}
constexpr int kWindowDays = 42;

// A name long enough that a hundred and some entries fill a record; all of one length.
std::string LongName(int n) {
    char number[16];
    std::snprintf(number, sizeof number, "%04d", n % 10000);
    return "Entry " + std::string(number) + std::string(180, 'x');
}

// Adds entries with `add` until `size` is just over 800 bytes short of the record limit: in
// bulk by the size of one entry, then one at a time.
template <class Add, class Size> void FillToLimit(Add add, Size size) {
    const size_t target = kModelRecordLimit - 800;
    int n = 0;
    size_t now = size();
    add(n++);
    const size_t each = size() - now;
    now = size();
    if (now <= target && each > 0) {
        for (size_t count = (target - now) / each; count > 0; --count)
            add(n++);
        now = size();
    }
    while (now <= target) {
        add(n++);
        now = size();
    }
}

// ---- journal ----

CFoodItem RandomFoodEntry(CRandom& random) {
    return FoodEntry(random.Of<const char*>({"apple", "Apple", "Bread", "Rice", "Soup"}),
                     random.Below(kMealCount), static_cast<float>(random.Of({50, 80, 120})));
}

CExerciseEntry RandomExercise(CRandom& random) {
    return Exercise(random.Of<const char*>({"Walking", "Rowing", "walking"}), random.Of({10, 30}));
}

void FillDay(CDayRecord& day, CRandom& random, CJournalDB& journal) {
    if (random.Chance(70))
        day.SetWeight(CWeightValue::FromPounds(random.Of({150.0f, 160.0f})), journal.Profile());
    if (random.Chance(40))
        day.SetNote(random.Of<const char*>({"ran", "tired\nslept", "a"}));
    if (random.Chance(40))
        day.SetWater(random.Of({2, 8}));
    if (random.Chance(30))
        day.Measurements().SetGirth(random.Below(kGirthCount), random.Of({30, 33}), false);
    if (random.Chance(20)) {
        day.Measurements().SetAutomaticBodyFat(false);
        day.Measurements().SetPercentBodyFat(random.Of({18, 22}));
    }
    if (random.Chance(30)) {
        day.BloodPressure().SetSystolic(random.Of({120, 135}));
        day.BloodPressure().SetTime(random.Of({7, 9}), random.Of({0, 30}), random.Below(2));
    }
    for (int n = random.Below(4); n > 0; --n)
        day.FoodLog().AddEntry(kSortByMeal, RandomFoodEntry(random), journal.IdGenerator());
    for (int n = random.Below(3); n > 0; --n)
        day.Exercises().Add(RandomExercise(random), journal.IdGenerator());
}

CJournalDB BaseJournal(CRandom& random, std::string& text, bool& full) {
    CJournalDB journal;
    journal.Header().SetIdGenerator(CIdGenerator::Seeded(CJournalDate(6, 5, 2021)));
    if (random.Chance(10)) {
        text = "an empty journal";
        return journal;
    }
    CUserProfile& profile = journal.Profile();
    if (random.Chance(80)) {
        profile.SetHeightFeetInches(5, random.Of({6, 9}));
        profile.SetAge(random.Of({35, 50}));
        profile.SetStartingWeight(CWeightValue::FromPounds(180));
        profile.SetStartingDate(WindowDate(60));
        ComputeGoalSummary(profile);
    }
    if (random.Chance(30)) {
        profile.SetTargetMode(0);
        profile.SetOwnTarget(1, 250);
    }
    const int days = random.Below(7);
    for (int i = 0; i < days; ++i) {
        const CJournalDate date = WindowDate(random.Below(kWindowDays));
        if (journal.FindDay(date) >= 0)
            continue;
        CDayRecord day(date);
        FillDay(day, random, journal);
        journal.InsertDay(std::move(day));
    }
    // A day at the record limit now and then: a few more entries overflow it.
    if (journal.DayCount() > 0 && random.Chance(8)) {
        CDayRecord& day = journal.Day(random.Below(journal.DayCount()));
        FillToLimit(
            [&](int n) {
                day.FoodLog().AddEntry(kSortByMeal, FoodEntry(LongName(n), n % kMealCount, 10),
                                       journal.IdGenerator());
            },
            [&] {
                CDayRecord copy = day;
                return PackDayRecord(copy).size();
            });
        text = "a full day on " + DateText(day.Date()) + ", ";
        full = true;
    }
    journal.ClearAllChangeBits();
    text += std::to_string(journal.DayCount()) + " days";
    return journal;
}

using JournalEdit = std::function<std::string(CJournalDB&)>;

// The day at `pick` among the journal's days; nothing when it has none.
CDayRecord* PickDay(CJournalDB& journal, int pick) {
    return journal.DayCount() == 0 ? nullptr : &journal.Day(pick % journal.DayCount());
}

std::string EditProfile(CUserProfile& p, int field, int a, int b);

JournalEdit ProfileEdit(CRandom& random) {
    const int field = random.Below(14);
    const int a = random.Below(3);
    const int b = random.Below(6);
    return [=](CJournalDB& journal) {
        const std::string what = EditProfile(journal.Profile(), field, a, b);
        // The programs recompute the goal summary after every change to the profile.
        ComputeGoalSummary(journal.Profile());
        return what;
    };
}

std::string EditProfile(CUserProfile& p, int field, int a, int b) {
    {
        const CJournalDate date = WindowDate(10 * a);
        switch (field) {
        case 0:
            p.SetHeightFeetInches(5, 6 + a);
            return "height 5'" + std::to_string(6 + a);
        case 1:
            p.SetAge(40 + a);
            return "age " + std::to_string(40 + a);
        case 2:
            p.SetSex(a % 2);
            return "sex " + std::to_string(a % 2);
        case 3:
            p.SetStartingWeight(CWeightValue::FromPounds(170.0f + a));
            return "starting weight " + std::to_string(170 + a);
        case 4:
            p.SetStartingDate(date);
            return "starting date " + DateText(date);
        case 5:
            p.SetGoalWeight(CWeightValue::FromPounds(150.0f + a));
            return "goal weight " + std::to_string(150 + a);
        case 6:
            p.SetGoalDate(WindowDate(-100 - a));
            return "goal date in " + std::to_string(100 + a) + " days";
        case 7:
            p.SetDefaultActivityLevel(1 + b % 5);
            return "default activity level " + std::to_string(1 + b % 5);
        case 8:
            p.SetUnitChoice(a % 2);
            return "unit choice " + std::to_string(a % 2);
        case 9:
            p.SetDietPlan(b % 4);
            if (b % 4 == 3)
                p.SetPercentages(40 + 10 * a, 30, 30 - 10 * a);
            return "diet plan " + std::to_string(b % 4) +
                   (b % 4 == 3 ? " carbohydrate " + std::to_string(40 + 10 * a) : "");
        case 10:
            p.SetTargetMode(a % 2);
            return "target mode " + std::to_string(a % 2);
        case 11:
            if (p.IsTargetModeAutomatic())
                p.SetTargetMode(0);
            p.SetOwnTarget(1 + b % 5, 100.0f * static_cast<float>(a + 1));
            return "own target " + std::to_string(1 + b % 5) + " = " +
                   std::to_string(100 * (a + 1));
        case 12:
            if (a == 0)
                p.ResetPersonalInfo();
            else if (a == 1)
                p.ResetWeightGoals();
            else
                p.ResetDietPlan();
            return "profile reset " + std::to_string(a);
        default:
            p.ResetAll();
            return "profile reset everything";
        }
    }
}

JournalEdit DayValueEdit(CRandom& random) {
    const int field = random.Below(13);
    const int pick = random.Below(100);
    const int a = random.Below(3);
    const int girth = random.Below(kGirthCount);
    return [=](CJournalDB& journal) -> std::string {
        CDayRecord* day = PickDay(journal, pick);
        if (day == nullptr)
            return "(no day to edit)";
        const std::string on = DateText(day->Date()) + " ";
        CBodyMeasurements& m = day->Measurements();
        CBloodPressure& bp = day->BloodPressure();
        switch (field) {
        case 0:
            day->SetWeight(a == 2 ? CWeightValue() : CWeightValue::FromPounds(155.0f + a),
                           journal.Profile());
            return on + "weight " + (a == 2 ? "unset" : std::to_string(155 + a));
        case 1:
            day->SetNote(a == 0 ? "" : a == 1 ? "walked" : "line\nline");
            return on + "note " + Quote(day->Note());
        case 2:
            day->SetWater(3 + a);
            return on + "water " + std::to_string(3 + a);
        case 3:
            day->SetActivityLevel(1 + a * 2);
            return on + "activity level " + std::to_string(1 + a * 2);
        case 4:
            day->SetActivityLevel(5);
            day->SetBMR(1500 + 100 * a);
            return on + "manual BMR " + std::to_string(1500 + 100 * a);
        case 5:
            m.SetGirth(girth, a == 2 ? 0 : 31 + a, false);
            return on + "girth " + std::to_string(girth) + " " +
                   std::to_string(a == 2 ? 0 : 31 + a);
        case 6:
            m.SetAutomaticBodyFat(a == 0);
            return on + "automatic body fat " + std::to_string(a == 0);
        case 7:
            m.SetAutomaticBodyFat(false);
            m.SetPercentBodyFat(20 + a);
            return on + "body fat " + std::to_string(20 + a) + "%";
        case 8:
            bp.SetSystolic(a == 2 ? 0 : 125 + a);
            return on + "systolic " + std::to_string(bp.Systolic());
        case 9:
            bp.SetDiastolic(80 + a);
            return on + "diastolic " + std::to_string(80 + a);
        case 10:
            bp.SetPulse(60 + a);
            return on + "pulse " + std::to_string(60 + a);
        case 11:
            bp.SetTime(a == 2 ? 0 : 8 + a, 15 * a, a % 2);
            return on + "reading time " + std::to_string(bp.Hour()) + ":" +
                   std::to_string(bp.Minute());
        default:
            bp.SetTime(10, 45, 1);
            bp.SetSystolic(140);
            return on + "reading 140 at 10:45 PM";
        }
    };
}

JournalEdit EntryEdit(CRandom& random) {
    const int kind = random.Below(6);
    const int pick = random.Below(100);
    const int which = random.Below(100);
    CFoodItem food = RandomFoodEntry(random);
    CExerciseEntry exercise = RandomExercise(random);
    const int extra = random.Below(60) + 30;
    return [=](CJournalDB& journal) -> std::string {
        CDayRecord* day = PickDay(journal, pick);
        if (day == nullptr)
            return "(no day for an entry)";
        const std::string on = DateText(day->Date()) + " ";
        CDayFoodLog& log = day->FoodLog();
        std::vector<int> rows;
        for (int row = 0; row < log.DisplayRowCount(kSortByMeal); ++row) {
            if (!log.DisplayRow(kSortByMeal, row).isHeader)
                rows.push_back(row);
        }
        CExerciseList& exercises = day->Exercises();
        switch (kind) {
        case 0:
            log.AddEntry(kSortByMeal, food, journal.IdGenerator());
            return on + "food entry " + Quote(food.Name()) + " added";
        case 1:
        case 2: {
            if (rows.empty())
                return on + "(no food entry)";
            const int row = rows[static_cast<size_t>(which) % rows.size()];
            const std::string name = log.DisplayRow(kSortByMeal, row).entry->Name();
            if (kind == 2) {
                log.DeleteRows(kSortByMeal, row, 1);
                return on + "food entry " + Quote(name) + " deleted";
            }
            log.ReplaceEntry(kSortByMeal, row, food);
            return on + "food entry " + Quote(name) + " replaced by " + Quote(food.Name());
        }
        case 3:
            exercises.Add(exercise, journal.IdGenerator());
            return on + "exercise " + Quote(exercise.Name()) + " added";
        case 4:
        case 5: {
            if (exercises.Count() == 0)
                return on + "(no exercise)";
            const int at = which % exercises.Count();
            const std::string name = exercises.Entry(at).Name();
            if (kind == 5) {
                exercises.Delete(at, 1);
                return on + "exercise " + Quote(name) + " deleted";
            }
            CExerciseEntry changed = exercise;
            changed.SetMinutes(extra);
            exercises.Replace(at, changed);
            return on + "exercise " + Quote(name) + " replaced by " + Quote(exercise.Name());
        }
        }
        return "";
    };
}

JournalEdit DayEdit(CRandom& random) {
    const bool add = random.Chance(60);
    const int back = random.Below(kWindowDays);
    const int pick = random.Below(100);
    const int fill = random.Below(1000000);
    return [=](CJournalDB& journal) -> std::string {
        if (add) {
            const CJournalDate date = WindowDate(back);
            if (journal.FindDay(date) >= 0)
                return "(day " + DateText(date) + " exists)";
            journal.GoToDate(date);
            journal.AddDay();
            CRandom values(static_cast<uint64_t>(fill));
            FillDay(journal.Day(journal.FindDay(date)), values, journal);
            return "day " + DateText(date) + " added";
        }
        CDayRecord* day = PickDay(journal, pick);
        if (day == nullptr)
            return "(no day to delete)";
        const CJournalDate date = day->Date();
        journal.GoToDate(date);
        journal.DeleteCurrentDay();
        return "day " + DateText(date) + " deleted";
    };
}

// One long food entry more on the day with the most entries: at the record limit on both
// sides, such additions overflow the merged day.
JournalEdit FillUp(CRandom& random) {
    const int pick = random.Below(100);
    return [=](CJournalDB& journal) -> std::string {
        CDayRecord* day = PickDay(journal, pick);
        if (day == nullptr)
            return "(no day to fill)";
        for (int i = 0; i < journal.DayCount(); ++i) {
            if (journal.Day(i).FoodLog().EntryCount() > day->FoodLog().EntryCount())
                day = &journal.Day(i);
        }
        day->FoodLog().AddEntry(kSortByMeal, FoodEntry(LongName(500 + pick), pick % kMealCount, 5),
                                journal.IdGenerator());
        return DateText(day->Date()) + " a long food entry added";
    };
}

JournalEdit RandomJournalEdit(CRandom& random) {
    const int kind = random.Below(100);
    if (kind < 20)
        return ProfileEdit(random);
    if (kind < 55)
        return DayValueEdit(random);
    if (kind < 85)
        return EntryEdit(random);
    if (kind < 97)
        return DayEdit(random);
    return FillUp(random);
}

// ---- food database ----

const char* GroupName(int n) {
    static const char* const names[] = {"Fruit", "fruit", "Dairy", "Meat", "Veg"};
    return names[n % 5];
}
const char* CategoryName(int n) {
    static const char* const names[] = {"Fresh", "fresh", "Dried", "Canned"};
    return names[n % 4];
}
const char* ItemName(int n) {
    static const char* const names[] = {"Apple", "apple", "Pear", "Plum", "Fig", "Kiwi"};
    return names[n % 6];
}

CFoodDB BaseFood(CRandom& random, std::string& text, bool& full) {
    CFoodDB db;
    db.SetIdGenerator(CIdGenerator::Seeded(CJournalDate(6, 5, 2021)));
    const int groups = random.Chance(10) ? 0 : 1 + random.Below(3);
    for (int g = 0; g < groups; ++g) {
        const int group = db.AddGroup(CFoodGroup(GroupName(random.Below(5))));
        if (group < 0)
            continue;
        for (int c = random.Below(4); c > 0; --c) {
            const int category =
                db.AddCategory(uint16_t(group), CFoodCategory(CategoryName(random.Below(4))));
            if (category < 0)
                continue;
            for (int i = random.Below(5); i > 0; --i)
                db.AddFoodItem(uint16_t(group), uint16_t(category),
                               FoodItem(ItemName(random.Below(6)), float(random.Below(3) * 40)));
        }
    }
    if (db.GroupCount() > 0 && db.CategoryCount(0) > 0 && random.Chance(8)) {
        // A category whose item record is close to the limit.
        FillToLimit([&](int n) { db.AddFoodItem(0, 0, FoodItem(LongName(n), 10)); },
                    // Header, group table, the first group's record, then its first
                    // category's items.
                    [&] { return CFoodDBFile::PackRecords(db).at(3).size(); });
        text = "a full category, ";
        full = true;
    }
    db.ClearModifiedFlags();
    text += std::to_string(db.GroupCount()) + " groups";
    return db;
}

using FoodEdit = std::function<std::string(CFoodDB&)>;

std::string Path(const CFoodDB& db, int g, int c = -1);

// A long-named item into the category with the most items: the full one when there is one.
std::string AddToFullest(CFoodDB& db, int n, float calories) {
    int group = -1, category = -1, most = -1;
    for (int g = 0; g < db.GroupCount(); ++g) {
        for (int c = 0; c < db.CategoryCount(uint16_t(g)); ++c) {
            if (db.ItemCount(uint16_t(g), uint16_t(c)) > most) {
                most = db.ItemCount(uint16_t(g), uint16_t(c));
                group = g;
                category = c;
            }
        }
    }
    if (category < 0)
        return "(no category)";
    return "item with a long name added to " + Path(db, group, category) + ": " +
           std::to_string(db.AddFoodItem(uint16_t(group), uint16_t(category),
                                         FoodItem(LongName(n), calories)));
}

std::string Path(const CFoodDB& db, int g, int c) {
    std::string path = Quote(db.GetGroup(uint16_t(g)).Name());
    if (c >= 0)
        path += "/" + Quote(db.GetCategory(uint16_t(g), uint16_t(c)).Name());
    return path;
}

FoodEdit RandomFoodEdit(CRandom& random, ESide side) {
    const int kind = random.Below(side == ESide::Handheld ? 15 : 13);
    const int g = random.Below(100);
    const int c = random.Below(100);
    const int i = random.Below(100);
    const int name = random.Below(6);
    const float calories = float(random.Below(4) * 30);
    return [=](CFoodDB& db) -> std::string {
        const int groups = db.GroupCount();
        const int group = groups == 0 ? -1 : g % groups;
        const int categories = group < 0 ? 0 : db.CategoryCount(uint16_t(group));
        const int category = categories == 0 ? -1 : c % categories;
        const int items = category < 0 ? 0 : db.ItemCount(uint16_t(group), uint16_t(category));
        const int item = items == 0 ? -1 : i % items;
        const auto G = uint16_t(group);
        const auto C = uint16_t(category);
        const auto I = uint16_t(item);
        switch (kind) {
        case 0:
            return "group " + Quote(GroupName(name)) +
                   " added: " + std::to_string(db.AddGroup(CFoodGroup(GroupName(name))));
        case 1: {
            if (group < 0)
                return "(no group)";
            const std::string what = "group " + Path(db, group) + " renamed ";
            return what + Quote(GroupName(name)) + ": " +
                   std::to_string(db.RenameGroup(G, GroupName(name)));
        }
        case 2: {
            if (group < 0)
                return "(no group)";
            const std::string what = Path(db, group);
            db.DeleteGroup(G);
            return "group " + what + " deleted";
        }
        case 3:
            if (group < 0)
                return "(no group)";
            return "category " + Quote(CategoryName(name)) + " added to " + Path(db, group) + ": " +
                   std::to_string(db.AddCategory(G, CFoodCategory(CategoryName(name))));
        case 4: {
            if (category < 0)
                return "(no category)";
            const std::string what = "category " + Path(db, group, category) + " renamed ";
            return what + Quote(CategoryName(name)) + ": " +
                   std::to_string(db.RenameCategory(G, C, CategoryName(name)));
        }
        case 5: {
            if (category < 0)
                return "(no category)";
            const std::string what = Path(db, group, category);
            db.DeleteCategory(G, C);
            return "category " + what + " deleted";
        }
        case 6:
        case 7:
            if (category < 0)
                return "(no category)";
            return "item " + Quote(ItemName(name)) + " added to " + Path(db, group, category) +
                   ": " + std::to_string(db.AddFoodItem(G, C, FoodItem(ItemName(name), calories)));
        case 8: {
            if (item < 0)
                return "(no item)";
            // Same name and other values, or another name.
            CFoodItem with = db.GetFoodItem(G, C, I);
            if (name % 2 == 0)
                with.SetName(ItemName(name), true);
            with.SetNutrientValue(kNutrientCalories, calories + 1);
            const std::string what =
                Path(db, group, category) + "/" + Quote(db.GetFoodItem(G, C, I).Name());
            return "item " + what + " replaced by " + Quote(with.Name()) + ": " +
                   std::to_string(db.ReplaceFoodItem(G, C, I, with));
        }
        case 9: {
            if (item < 0)
                return "(no item)";
            const std::string what =
                Path(db, group, category) + "/" + Quote(db.GetFoodItem(G, C, I).Name());
            db.DeleteFoodItem(G, C, I);
            return "item " + what + " deleted";
        }
        case 10: {
            // A category pasted into another group: its items keep their ids.
            if (category < 0)
                return "(no category)";
            const int target = (g / 7) % groups;
            db.CopyCategory(G, C);
            return "category " + Path(db, group, category) + " pasted into " + Path(db, target) +
                   ": " + std::to_string(db.PasteCategory(uint16_t(target)));
        }
        case 11: {
            if (item < 0)
                return "(no item)";
            db.CopyFoodItem(G, C, I);
            return "item " + Quote(db.GetFoodItem(G, C, I).Name()) +
                   " pasted: " + std::to_string(db.PasteFoodItem(G, C));
        }
        case 12:
            return AddToFullest(db, 500 + i, calories);
        case 13: {
            // What the handheld may hold but no desktop dialog makes: an empty name, changed.
            if (group < 0)
                return "(no group)";
            CFoodGroup blank = db.GetGroup(G);
            const std::string what = Path(db, group);
            blank.SetName("");
            blank.SetModified(1);
            db.DeleteGroup(G);
            db.AppendStoredGroup(blank);
            return "group " + what + " renamed to an empty name";
        }
        default: {
            if (item < 0)
                return "(no item)";
            CFoodItem blank = db.GetFoodItem(G, C, I);
            const std::string what = Quote(blank.Name());
            blank.SetName("", true);
            blank.SetModified(1);
            db.DeleteFoodItem(G, C, I);
            db.AppendStoredItem(G, C, blank);
            return "item " + what + " renamed to an empty name";
        }
        }
    };
}

// Edits fall on either side at random; now and then one kind of edit falls on both, so that
// both sides change the same value.
template <class Db, class MakeEdit>
void AddEdits(SScenario<Db>& scenario, CRandom& random, MakeEdit make) {
    // Without a desktop file only the handheld was edited.
    const int desktopShare = scenario.desktopFileExists ? 50 : 0;
    for (int n = random.Below(9); n > 0; --n) {
        const ESide side = random.Chance(desktopShare) ? ESide::Desktop : ESide::Handheld;
        scenario.edits.push_back({side, make(random, side)});
        if (random.Chance(30)) {
            CRandom twin(static_cast<uint64_t>(random.Below(1 << 30)));
            // The same kind of edit on the other side, with its own values.
            const ESide other = side == ESide::Handheld ? ESide::Desktop : ESide::Handheld;
            if (scenario.desktopFileExists)
                scenario.edits.push_back({other, make(twin, other)});
        }
    }
}

// With a list at its limit, each side adds to it now and then.
template <class Db, class MakeEdit>
void AddFillingEdits(SScenario<Db>& scenario, CRandom& random, MakeEdit make) {
    for (const ESide side : {ESide::Handheld, ESide::Desktop}) {
        if (random.Chance(75) && (side == ESide::Handheld || scenario.desktopFileExists))
            scenario.edits.push_back({side, make(random, side)});
    }
}

FoodEdit FillFullCategory(CRandom& random, ESide) {
    const int n = 600 + random.Below(100);
    return [n](CFoodDB& db) { return AddToFullest(db, n, 10); };
}

int RandomAction(CRandom& random) {
    const int roll = random.Below(100);
    return roll < 35 ? 0 : roll < 70 ? 1 : roll < 85 ? 2 : 3;
}

} // namespace

bool FitsRecordLimit(const CJournalDB& journal) {
    CJournalDB copy = journal;
    try {
        for (const auto& record : PackJournalRecords(copy)) {
            if (record.size() > kModelRecordLimit)
                return false;
        }
    } catch (const std::exception&) {
        return false; // not even the file's 16-bit offsets reach
    }
    return true;
}

bool FitsRecordLimit(const CFoodDB& db) {
    CFoodDB copy = db;
    for (const auto& record : CFoodDBFile::PackRecords(copy)) {
        if (record.size() > kModelRecordLimit)
            return false;
    }
    return true;
}

CJournalDate ScenarioToday() {
    return CJournalDate(30, 6, 2024);
}

SJournalScenario MakeJournalScenario(uint64_t seed) {
    CRandom random(seed);
    SJournalScenario scenario;
    scenario.seed = seed;
    scenario.action = RandomAction(random);
    scenario.desktopFileExists = !random.Chance(8);
    bool full = false;
    const CJournalDB base = BaseJournal(random, scenario.baseText, full);
    const uint16_t history = random.Of<uint16_t>({0, 0, 0, 10, 30});
    scenario.handheldBase = base;
    scenario.desktopBase = scenario.desktopFileExists ? base : CJournalDB();
    // Each side keeps its own header: its own id generator, and the handheld its history,
    // without the days beyond it.
    scenario.handheldBase.Header().SetIdGenerator(CIdGenerator::Seeded(CJournalDate(2, 1, 2023)));
    scenario.handheldBase.Header().SetHistoryLength(history);
    scenario.desktopBase.Header().SetIdGenerator(CIdGenerator::Seeded(CJournalDate(4, 3, 2022)));
    if (history != 0) {
        const CJournalDate cutoff = HistoryCutoff(ScenarioToday(), history);
        scenario.handheldBase = WithoutDaysUpTo(scenario.handheldBase, cutoff);
        scenario.baseText += ", the handheld keeps " + std::to_string(history) + " days";
    }
    if (!scenario.desktopFileExists)
        scenario.baseText += ", no desktop file";
    AddEdits(scenario, random, [](CRandom& r, ESide) { return RandomJournalEdit(r); });
    if (full)
        AddFillingEdits(scenario, random, [](CRandom& r, ESide) { return FillUp(r); });
    return scenario;
}

SFoodScenario MakeFoodScenario(uint64_t seed) {
    CRandom random(seed);
    SFoodScenario scenario;
    scenario.seed = seed;
    scenario.action = RandomAction(random);
    scenario.desktopFileExists = !random.Chance(8);
    bool full = false;
    const CFoodDB base = BaseFood(random, scenario.baseText, full);
    scenario.handheldBase = base;
    scenario.desktopBase = scenario.desktopFileExists ? base : CFoodDB();
    // Now and then one side starts out empty.
    if (random.Chance(5))
        scenario.handheldBase.DeleteAllGroups();
    else if (random.Chance(5))
        scenario.desktopBase.DeleteAllGroups();
    scenario.handheldBase.SetIdGenerator(CIdGenerator::Seeded(CJournalDate(2, 1, 2023)));
    scenario.handheldBase.SetFindHistory({"apple"});
    scenario.desktopBase.SetIdGenerator(CIdGenerator::Seeded(CJournalDate(4, 3, 2022)));
    if (!scenario.desktopFileExists)
        scenario.baseText += ", no desktop file";
    AddEdits(scenario, random, RandomFoodEdit);
    if (full)
        AddFillingEdits(scenario, random, FillFullCategory);
    return scenario;
}

} // namespace fitquill::testing
