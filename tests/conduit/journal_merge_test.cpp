// SPDX-License-Identifier: GPL-3.0-or-later
#include "conduit/sync/journal_merge.h"

#include "tests/conduit/conduit_test_support.h"

#include <gtest/gtest.h>

#include <functional>

using namespace fitquill;
using namespace fitquill::testing;

namespace {

// One value of the journal: how an edit sets it (through the setter, so its change bit is set)
// and how it reads. Edits use 3 on the handheld and 4 on the desktop.
struct SField {
    const char* name;
    std::function<void(CJournalDB&, int)> edit;
    std::function<std::string(CJournalDB&)> read;
};

CDayRecord& Second(CJournalDB& journal) {
    return journal.Day(journal.FindDay(Day(2)));
}

const std::vector<SField> kFields = {
    {"age", [](CJournalDB& j, int v) { j.Profile().SetAge(30 + v); },
     [](CJournalDB& j) { return std::to_string(j.Profile().Age()); }},
    {"default activity", [](CJournalDB& j, int v) { j.Profile().SetDefaultActivityLevel(v); },
     [](CJournalDB& j) { return std::to_string(j.Profile().DefaultActivityLevel()); }},
    {"weight", [](CJournalDB& j, int v) { Second(j).SetWeight(150.0 + v, false, j.Profile()); },
     [](CJournalDB& j) { return std::to_string(Second(j).Weight().Pounds()); }},
    {"note", [](CJournalDB& j, int v) { Second(j).SetNote("note " + std::to_string(v)); },
     [](CJournalDB& j) { return Second(j).Note(); }},
    {"water", [](CJournalDB& j, int v) { Second(j).SetWater(v); },
     [](CJournalDB& j) { return std::to_string(Second(j).Water()); }},
    {"BMR", [](CJournalDB& j, int v) { Second(j).SetBMR(1000 + v); },
     [](CJournalDB& j) { return std::to_string(Second(j).BMR()); }},
    {"waist",
     [](CJournalDB& j, int v) { Second(j).Measurements().SetGirth(kGirthWaist, 30 + v, false); },
     [](CJournalDB& j) { return std::to_string(Second(j).Measurements().RawGirth(kGirthWaist)); }},
    {"pulse", [](CJournalDB& j, int v) { Second(j).BloodPressure().SetPulse(60 + v); },
     [](CJournalDB& j) { return std::to_string(Second(j).BloodPressure().Pulse()); }},
};

TEST(JournalMerge, ValueTravelsOnlyWhenChangedOnTheHandheldAlone) {
    for (const SField& field : kFields) {
        for (bool handheldEdits : {false, true}) {
            for (bool desktopEdits : {false, true}) {
                SCOPED_TRACE(std::string(field.name) + (handheldEdits ? " H" : "") +
                             (desktopEdits ? " D" : ""));
                const CJournalDB base = SyncedJournal(Day(1), 3);
                CJournalDB handheld = base;
                CJournalDB desktop = base;
                if (handheldEdits)
                    field.edit(handheld, 3);
                if (desktopEdits)
                    field.edit(desktop, 4);
                CJournalDB expected = desktop;
                if (handheldEdits && !desktopEdits)
                    field.edit(expected, 3);

                const SyncChanges changes = MergeJournal(handheld, desktop);
                EXPECT_EQ(field.read(desktop), field.read(expected));
                EXPECT_EQ(changes.size(), handheldEdits && !desktopEdits ? 1u : 0u);
            }
        }
    }
}

TEST(JournalMerge, EqualValuesWithChangeBitsOnBothSidesReportNoChange) {
    CJournalDB handheld = SyncedJournal(Day(1), 5);
    for (const SField& field : kFields)
        field.edit(handheld, 3);
    Second(handheld).FoodLog().AddEntry(kSortByMeal, FoodEntry("Pear", kMealLunch, 60),
                                        handheld.IdGenerator());
    CJournalDB desktop = handheld;
    const Records before = PackJournalRecords(desktop);

    EXPECT_TRUE(MergeJournal(handheld, desktop).empty());
    EXPECT_EQ(PackJournalRecords(desktop), before);
}

TEST(JournalMerge, DaysFollowTheDeletionRulesInBothDirections) {
    const CJournalDB base = SyncedJournal(Day(1), 4);
    CJournalDB handheld = base;
    CJournalDB desktop = base;
    desktop.DeleteRange(Day(2), Day(2));  // deleted on the desktop, untouched on the handheld
    handheld.DeleteRange(Day(3), Day(3)); // deleted on the handheld, kept on the desktop
    desktop.DeleteRange(Day(4), Day(4));  // deleted on the desktop, but edited on the handheld
    handheld.Day(handheld.FindDay(Day(4))).SetWater(6);
    CDayRecord added(Day(10));
    added.SetWater(2);
    handheld.InsertDay(added);

    MergeJournal(handheld, desktop);

    EXPECT_LT(desktop.FindDay(Day(2)), 0);
    EXPECT_GE(desktop.FindDay(Day(3)), 0);
    ASSERT_GE(desktop.FindDay(Day(4)), 0);
    EXPECT_EQ(desktop.Day(desktop.FindDay(Day(4))).Water(), 6);
    ASSERT_GE(desktop.FindDay(Day(10)), 0);
    // A day that comes over whole keeps its change bits until the run clears them.
    EXPECT_EQ(desktop.Day(desktop.FindDay(Day(10))).ChangeBits(), CDayRecord::kChangeWater);
}

TEST(JournalMerge, EntriesMergeByIdAndChangeFlag) {
    const CJournalDB base = SyncedJournal(Day(1), 2);
    CJournalDB handheld = base;
    CJournalDB desktop = base;
    // Each side keeps its own generator: new entries of the two never share an id.
    handheld.Header().SetIdGenerator(CIdGenerator::Seeded(Day(2, 2, 2024)));
    CDayRecord& h = handheld.Day(0);
    CDayRecord& d = desktop.Day(0);
    const uint32_t oatmeal = d.FoodLog().MealEntries(kMealBreakfast)[0].Id();
    h.FoodLog().DeleteRows(kSortByMeal, 1, 1); // the handheld deleted the oatmeal
    h.FoodLog().AddEntry(kSortByMeal, FoodEntry("Banana", kMealSnack, 90), handheld.IdGenerator());
    d.FoodLog().AddEntry(kSortByMeal, FoodEntry("Toast", kMealBreakfast, 80),
                         desktop.IdGenerator());
    h.Exercises().Replace(0, Exercise("Walking", 45));
    CExerciseEntry forgotten = Exercise("Rowing", 20); // unchanged, unknown to the desktop
    forgotten.SetId(0x80000777);
    h.Exercises().AppendStored(forgotten);

    MergeJournal(handheld, desktop);

    std::vector<std::string> names;
    for (int meal = 0; meal < kMealCount; ++meal) {
        for (const CFoodItem& entry : d.FoodLog().MealEntries(meal))
            names.push_back(entry.Name());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Toast", "Banana"}));
    EXPECT_FALSE(d.FoodLog().FindEntry(oatmeal));
    EXPECT_EQ(d.FoodLog().FindEntry(h.FoodLog().MealEntries(kMealSnack)[0].Id())->mealType,
              kMealSnack);
    ASSERT_EQ(d.Exercises().Count(), 1);
    EXPECT_EQ(d.Exercises().Entry(0).Minutes(), 45);
}

TEST(JournalMerge, OwnTargetsTravelWithTheModeThatNeedsThem) {
    CJournalDB handheld = SyncedJournal(Day(1), 1);
    CJournalDB desktop = handheld;
    handheld.Profile().SetTargetMode(0);
    handheld.Profile().SetOwnTarget(1, 250);
    handheld.Profile().SetOwnTarget(4, 55);

    MergeJournal(handheld, desktop);

    EXPECT_EQ(desktop.Profile().TargetMode(), 0);
    EXPECT_EQ(desktop.Profile().OwnTargets(), handheld.Profile().OwnTargets());
}

TEST(JournalMerge, HistoryTrimDropsDaysUpToTheCutoffFromTheRecordsOnly) {
    struct SCase {
        uint16_t history;
        CJournalDate today;
        int dropped;
    };
    // Days 1 May to 30 June 2024.
    for (const SCase& c : {SCase{30, Day(30), 30}, SCase{0, Day(30), 0}, SCase{1, Day(30), 59},
                           SCase{100, Day(30), 0}, SCase{30, Day(1, 8), 61}}) {
        SCOPED_TRACE(c.history);
        CJournalDB journal = SyncedJournal(Day(1, 5), 61);
        journal.Header().SetHistoryLength(c.history);
        Records records = PackJournalRecords(journal);

        EXPECT_EQ(TrimHandheldHistory(journal, c.today, records), c.dropped);
        EXPECT_EQ(journal.DayCount(), 61);
        const CJournalDB kept = UnpackJournal(records);
        ASSERT_EQ(kept.DayCount(), 61 - c.dropped);
        if (c.dropped > 0 && kept.DayCount() > 0) {
            CJournalDate first = Day(1, 5);
            for (int i = 0; i < c.dropped; ++i)
                first.StepDays(1);
            EXPECT_EQ(kept.Day(0).Date(), first);
        }
    }
}

TEST(JournalMerge, HandheldRecordsNeedHeaderProfileIndexAndVersion6) {
    CJournalDB journal = SyncedJournal(Day(1), 2);
    const Records good = PackJournalRecords(journal);
    Records oldVersion = good;
    oldVersion[0][1] = 5;
    CJournalDB heavy = journal;
    CWeightValue absurd;
    absurd.SetRawPounds(1e12f); // no setter stores it; the goal arithmetic would overflow
    heavy.Profile().SetGoalWeight(absurd);
    const Records cases[] = {{},
                             {good[0], good[1]},
                             oldVersion,
                             Records(good.begin(), good.end() - 1),
                             PackJournalRecords(heavy)};
    for (const Records& records : cases) {
        CJournalDB handheld;
        EXPECT_FALSE(UnpackHandheldJournal(records, handheld));
    }
    CJournalDB handheld;
    EXPECT_TRUE(UnpackHandheldJournal(good, handheld));
    EXPECT_EQ(handheld.DayCount(), 2);
}

} // namespace
