// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/internal_error.h"
#include "core/journal/day_food_log.h"
#include "core/journal/journal_clipboard.h"

#include <gtest/gtest.h>

using namespace fitquill;

namespace {

// One cup of the food holds the given nutrients; the entry is servings cups.
CFoodItem Food(const std::string& name, int meal, float calories = 100, float servings = 1,
               float fat = 0) {
    CFoodItem item;
    item.SetName(name, true);
    item.SetBaseMeasure({1, kUnitCup}, false);
    item.SetNutrientValue(kNutrientCalories, calories);
    item.SetNutrientValue(kNutrientFat, fat);
    item.SetServing({servings, kUnitCup});
    item.SetMealType(static_cast<uint16_t>(meal));
    return item;
}

// The display list as text: "[Breakfast]" for a header, the entry name otherwise.
std::vector<std::string> Rows(CDayFoodLog& log, int sortMode) {
    std::vector<std::string> rows;
    for (int i = 0; i < log.DisplayRowCount(sortMode); ++i) {
        SFoodLogRow row = log.DisplayRow(sortMode, i);
        rows.push_back(row.isHeader ? "[" + std::string(row.mealName) + "]" : row.entry->Name());
    }
    return rows;
}

using Names = std::vector<std::string>;

class DayFoodLogTest : public testing::Test {
protected:
    void SetUp() override { CJournalClipboard::Food().clear(); }
    void TearDown() override { CJournalClipboard::Food().clear(); }

    // Breakfast: Eggs, Toast; Lunch: Soup; Snack: Apple.
    void FillDay() {
        log.AddEntry(kSortByMeal, Food("Soup", kMealLunch), ids);
        log.AddEntry(kSortByMeal, Food("Toast", kMealBreakfast), ids);
        log.AddEntry(kSortByMeal, Food("Eggs", kMealBreakfast), ids);
        log.AddEntry(kSortByMeal, Food("Apple", kMealSnack), ids);
    }

    CIdGenerator ids{CIdGenerator::kUnassigned};
    CDayFoodLog log;
};

void ExpectInternalError(const std::function<void()>& call) {
    try {
        call();
        ADD_FAILURE() << "no internal error";
    } catch (const CInternalError& e) {
        EXPECT_EQ(e.Code(), kInternalErrorGeneral);
    }
}

} // namespace

TEST_F(DayFoodLogTest, NewLogIsEmptyWithZeroTotals) {
    EXPECT_EQ(log.DisplayRowCount(), 0);
    EXPECT_EQ(log.SortMode(), kSortByMeal);
    ASSERT_EQ(log.Totals().size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(log.Totals()[i].Index(), i);
        EXPECT_EQ(log.Totals()[i].Value(), 0.0f);
    }
    EXPECT_STREQ(CDayFoodLog::MealName(kMealSnack), "Snack");
}

TEST_F(DayFoodLogTest, NamesDifferingInCaseKeepLowerCaseFirstWhateverTheOrder) {
    const std::vector<Names> orders = {{"Apple", "apple", "Banana"},
                                       {"apple", "Apple", "Banana"},
                                       {"Banana", "Apple", "apple"},
                                       {"Banana", "apple", "Apple"}};
    for (const Names& order : orders) {
        CDayFoodLog day;
        for (const std::string& name : order)
            day.AddEntry(kSortByMeal, Food(name, kMealLunch), ids);
        EXPECT_EQ(Rows(day, kSortByMeal), (Names{"[Lunch]", "apple", "Apple", "Banana"}));
        EXPECT_EQ(Rows(day, kSortAlphabetical), (Names{"apple", "Apple", "Banana"}));
    }
}

TEST_F(DayFoodLogTest, EqualNamesGoAfterTheEntriesAlreadyThere) {
    log.AddEntry(kSortByMeal, Food("Toast", kMealBreakfast, 80), ids);
    EXPECT_EQ(log.AddEntry(kSortByMeal, Food("Toast", kMealBreakfast, 90), ids), 2);
    EXPECT_EQ(log.AddEntry(kSortByMeal, Food("Jam", kMealBreakfast), ids), 1);
    const auto& breakfast = log.MealEntries(kMealBreakfast);
    ASSERT_EQ(breakfast.size(), 3u);
    EXPECT_EQ(breakfast[1].NutrientValue(kNutrientCalories), 80.0f);
    EXPECT_EQ(breakfast[2].NutrientValue(kNutrientCalories), 90.0f);
}

TEST_F(DayFoodLogTest, DisplayListByMealAndAlphabetical) {
    FillDay();
    EXPECT_EQ(Rows(log, kSortByMeal),
              (Names{"[Breakfast]", "Eggs", "Toast", "[Lunch]", "Soup", "[Snack]", "Apple"}));
    SFoodLogRow header = log.DisplayRow(kSortByMeal, 3);
    EXPECT_TRUE(header.isHeader);
    EXPECT_EQ(header.mealType, kMealLunch);
    EXPECT_STREQ(header.mealName, "Lunch");
    EXPECT_EQ(header.entry, nullptr);
    SFoodLogRow soup = log.DisplayRow(kSortByMeal, 4);
    EXPECT_FALSE(soup.isHeader);
    EXPECT_EQ(soup.mealType, kMealLunch);
    EXPECT_EQ(soup.indexInMeal, 0);

    EXPECT_EQ(Rows(log, kSortAlphabetical), (Names{"Apple", "Eggs", "Soup", "Toast"}));
    EXPECT_EQ(log.SortMode(), kSortAlphabetical);

    // Identical names in different meals keep the meal order when sorted.
    log.AddEntry(kSortByMeal, Food("Soup", kMealDinner, 50), ids);
    log.AddEntry(kSortByMeal, Food("Soup", kMealBreakfast, 10), ids);
    log.SetSortMode(kSortAlphabetical);
    EXPECT_EQ(log.DisplayRow(2).mealType, kMealBreakfast);
    EXPECT_EQ(log.DisplayRow(3).mealType, kMealLunch);
    EXPECT_EQ(log.DisplayRow(4).mealType, kMealDinner);
}

TEST_F(DayFoodLogTest, AddReturnsTheNewRowOnlyInMealOrder) {
    FillDay();
    EXPECT_EQ(log.AddEntry(kSortByMeal, Food("Bagel", kMealBreakfast), ids), 1);
    EXPECT_EQ(log.AddEntry(kSortByMeal, Food("Tea", kMealDinner), ids), 7);
    EXPECT_EQ(log.DisplayRow(7).entry->Name(), "Tea");
    EXPECT_EQ(log.AddEntry(kSortAlphabetical, Food("Zucchini", kMealDinner), ids), -1);

    const CFoodItem& bagel = log.MealEntries(kMealBreakfast)[0];
    EXPECT_EQ(bagel.Id(), 0x80000005u);
    EXPECT_EQ(bagel.Modified(), 1);
}

TEST_F(DayFoodLogTest, ReplaceMovesAnEntryToAnotherMealKeepingItsId) {
    FillDay();
    log.ClearChangeFlags();
    const uint32_t toastId = log.DisplayRow(kSortByMeal, 2).entry->Id();

    CFoodItem late = Food("Toast", kMealDinner, 150);
    late.SetId(0x80001234u);
    EXPECT_EQ(log.ReplaceEntry(kSortByMeal, 2, late), 5);
    EXPECT_EQ(Rows(log, kSortByMeal), (Names{"[Breakfast]", "Eggs", "[Lunch]", "Soup", "[Dinner]",
                                             "Toast", "[Snack]", "Apple"}));
    const CFoodItem& moved = *log.DisplayRow(5).entry;
    EXPECT_EQ(moved.Id(), toastId);
    EXPECT_EQ(moved.Modified(), 1);
    EXPECT_EQ(moved.NutrientValue(kNutrientCalories), 150.0f);
    EXPECT_EQ(log.EntryCount(), 4);

    // The last entry of a meal replaced into another meal takes its header along.
    EXPECT_EQ(log.ReplaceEntry(kSortAlphabetical, 1, Food("Eggs", kMealSnack)), -1);
    EXPECT_EQ(Rows(log, kSortByMeal),
              (Names{"[Lunch]", "Soup", "[Dinner]", "Toast", "[Snack]", "Apple", "Eggs"}));
}

TEST_F(DayFoodLogTest, DeleteRowsSkipsHeadersAndFollowsTheSortMode) {
    FillDay();
    log.DeleteRows(kSortByMeal, 2, 3); // Toast, [Lunch], Soup
    EXPECT_EQ(Rows(log, kSortByMeal), (Names{"[Breakfast]", "Eggs", "[Snack]", "Apple"}));

    log.DeleteRows(kSortAlphabetical, 0, 1); // "Apple" is the first alphabetical row
    EXPECT_EQ(Rows(log, kSortByMeal), (Names{"[Breakfast]", "Eggs"}));
    log.DeleteRows(kSortByMeal, 0, 1); // a header alone: nothing
    EXPECT_EQ(log.EntryCount(), 1);
}

TEST_F(DayFoodLogTest, CopyCutAndPasteGiveNewIds) {
    FillDay();
    log.CopyRows(kSortByMeal, 0, 5); // [Breakfast] Eggs Toast [Lunch] Soup
    ASSERT_EQ(CJournalClipboard::Food().size(), 3u);

    CDayFoodLog other;
    other.AddEntry(kSortByMeal, Food("Coffee", kMealBreakfast), ids);
    other.ClearChangeFlags();
    int pasted = 0;
    EXPECT_EQ(other.Paste(kSortByMeal, ids, {}, &pasted), 2);
    EXPECT_EQ(pasted, 3);
    EXPECT_EQ(Rows(other, kSortByMeal),
              (Names{"[Breakfast]", "Coffee", "Eggs", "Toast", "[Lunch]", "Soup"}));
    for (int row : {2, 3, 5}) {
        const CFoodItem& e = *other.DisplayRow(row).entry;
        EXPECT_EQ(e.Modified(), 1);
        EXPECT_FALSE(log.FindEntry(e.Id())) << e.Name() << " kept its original id";
    }
    EXPECT_EQ(other.DisplayRow(1).entry->Modified(), 0);

    // The row returned is where the first pasted entry ends up, also when later ones are
    // filed in front of it.
    CJournalClipboard::Food() = {Food("Toast", kMealBreakfast), Food("Eggs", kMealBreakfast)};
    CDayFoodLog third;
    EXPECT_EQ(third.Paste(kSortByMeal, ids), 2);
    EXPECT_EQ(third.DisplayRow(2).entry->Name(), "Toast");

    log.CutRows(kSortByMeal, 5, 2); // [Snack] Apple
    EXPECT_EQ(Rows(log, kSortByMeal), (Names{"[Breakfast]", "Eggs", "Toast", "[Lunch]", "Soup"}));
    ASSERT_EQ(CJournalClipboard::Food().size(), 1u);
    EXPECT_EQ(CJournalClipboard::Food()[0].Name(), "Apple");
    EXPECT_EQ(log.Paste(kSortAlphabetical, ids), -1);
    EXPECT_EQ(log.EntryCount(), 4);

    CJournalClipboard::Food().clear();
    EXPECT_EQ(log.Paste(kSortByMeal, ids, {}, &pasted), -1);
    EXPECT_EQ(pasted, 0);
    EXPECT_EQ(log.EntryCount(), 4);
}

TEST_F(DayFoodLogTest, PasteStopsAtTheFirstEntryThatDoesNotFit) {
    for (const char* name : {"A", "B", "C"})
        CJournalClipboard::Food().push_back(Food(name, kMealLunch));
    int pasted = -1;
    int asked = 0;
    const int row = log.Paste(
        kSortByMeal, ids, [&](const CFoodItem&) { return ++asked <= 2; }, &pasted);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(pasted, 2);
    EXPECT_EQ(Rows(log, kSortByMeal), (Names{"[Lunch]", "A", "B"}));
    EXPECT_EQ(ids.Value(), 0x80000002u); // no id spent on the refused entry

    EXPECT_EQ(log.Paste(
                  kSortByMeal, ids, [](const CFoodItem&) { return false; }, &pasted),
              -1);
    EXPECT_EQ(pasted, 0);
}

TEST_F(DayFoodLogTest, TotalsScaleByServingsAndClamp) {
    log.AddEntry(kSortByMeal, Food("Bread", kMealBreakfast, 101, 2.5f, 1.2f), ids);
    log.AddEntry(kSortByMeal, Food("Milk", kMealSnack, 150, 0.5f, 8), ids);
    auto totals = log.RecomputeTotals();
    EXPECT_FLOAT_EQ(totals[kNutrientCalories], 252.5f + 75.0f);
    EXPECT_FLOAT_EQ(totals[kNutrientFat], 3.0f + 4.0f);
    EXPECT_EQ(totals[kNutrientProtein], 0.0f);
    EXPECT_FLOAT_EQ(log.TotalValue(kNutrientCalories), 327.5f);
    EXPECT_EQ(log.TotalValue(12), 0.0f);

    // Totals are stored only when recomputed.
    log.AddEntry(kSortByMeal, Food("Feast", kMealDinner, 5000, 2, 6000), ids);
    EXPECT_FLOAT_EQ(log.TotalValue(kNutrientCalories), 327.5f);
    totals = log.RecomputeTotals();
    EXPECT_EQ(totals[kNutrientCalories], 9999.0f);
    EXPECT_EQ(totals[kNutrientFat], 9999.9f);
    EXPECT_EQ(log.Totals()[kNutrientFat].Value(), 9999.9f);

    // The sort mode does not change the sums.
    log.SetSortMode(kSortAlphabetical);
    EXPECT_EQ(log.RecomputeTotals(), totals);
}

TEST_F(DayFoodLogTest, BadMealTypesSortModesAndRowsAreProgramErrors) {
    FillDay();
    const CDayFoodLog before = log;
    ExpectInternalError([&] { log.AddEntry(kSortByMeal, Food("Pie", 4), ids); });
    ExpectInternalError([&] { log.ReplaceEntry(kSortByMeal, 1, Food("Pie", 4)); });
    ExpectInternalError([&] { log.ReplaceEntry(kSortByMeal, 0, Food("Pie", 0)); }); // header
    ExpectInternalError([&] { log.ReplaceEntry(kSortByMeal, 7, Food("Pie", 0)); });
    ExpectInternalError([&] { log.DeleteRows(kSortByMeal, 5, 3); });
    ExpectInternalError([&] { log.DeleteRows(kSortByMeal, -1, 1); });
    ExpectInternalError([&] { log.CopyRows(kSortAlphabetical, 4, 1); });
    ExpectInternalError([&] { log.SetSortMode(2); });
    ExpectInternalError([&] { log.AddEntry(-1, Food("Pie", 0), ids); });
    ExpectInternalError([&] { log.DisplayRow(kSortByMeal, 7); });
    ExpectInternalError([&] { log.MealEntries(4); });
    ExpectInternalError([] { CDayFoodLog::MealName(4); });
    EXPECT_TRUE(log == before);
    EXPECT_TRUE(CJournalClipboard::Food().empty());

    // A damaged clipboard entry is refused before anything is pasted.
    CJournalClipboard::Food() = {Food("Pie", 0), Food("Cake", 9)};
    ExpectInternalError([&] { log.Paste(kSortByMeal, ids); });
    EXPECT_EQ(log.EntryCount(), 4);
}

TEST_F(DayFoodLogTest, StoredEntriesKeepTheirIdsAndFlags) {
    CFoodItem stored = Food("Rice", kMealDinner);
    stored.SetId(0x81234567u);
    stored.SetModified(0);
    EXPECT_TRUE(log.InsertStoredEntry(stored));
    CFoodItem damaged = Food("Rice", 7);
    EXPECT_FALSE(log.InsertStoredEntry(damaged));
    EXPECT_EQ(log.EntryCount(), 1);
    EXPECT_FALSE(log.AnyChanged());

    const auto where = log.FindEntry(0x81234567u);
    ASSERT_TRUE(where);
    EXPECT_EQ(where->mealType, kMealDinner);
    EXPECT_EQ(log.MealEntries(kMealDinner)[0], stored);

    log.AddEntry(kSortByMeal, Food("Beans", kMealDinner), ids);
    EXPECT_TRUE(log.AnyChanged());
    log.ClearChangeFlags();
    EXPECT_FALSE(log.AnyChanged());

    log.RemoveStoredEntry(kMealDinner, 1);
    EXPECT_EQ(Rows(log, kSortByMeal), (Names{"[Dinner]", "Beans"}));
    ExpectInternalError([&] { log.RemoveStoredEntry(kMealDinner, 1); });
}
