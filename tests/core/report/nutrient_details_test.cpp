// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/nutrient_details.h"

#include "core/food/food_db.h"
#include "core/food/recipe.h"
#include "tests/core/report/report_test_support.h"

#include <cmath>

namespace fitquill::test {
namespace {

// A food entry holding all 34 nutrients: nutrient n is base * (n + 1), eaten `servings` times.
CFoodItem FullEntry(const char* name, float base, float servings, int meal) {
    CFoodItem entry;
    entry.SetName(name, true);
    std::vector<CNutrientValue> values;
    for (int n = 0; n < kNutrientCount; ++n)
        values.emplace_back(n, base * static_cast<float>(n + 1));
    EXPECT_TRUE(entry.SetStoredNutrients(values));
    entry.SetStoredServingRatio(servings);
    entry.SetMealType(static_cast<uint16_t>(meal));
    return entry;
}

class NutrientDetailsTest : public ReportJournalTest {
protected:
    // Three entries on one day, the way a demonstration day holds them.
    std::vector<CFoodItem> LogThree(const CJournalDate& date) {
        const std::vector<CFoodItem> entries = {FullEntry("Oatmeal", 0.5f, 1.5f, kMealBreakfast),
                                                FullEntry("Egg", 0.01f, 2.0f, kMealLunch),
                                                FullEntry("Apple", 1.25f, 1.0f, kMealSnack)};
        CDayRecord& day = Day(date);
        for (const CFoodItem& entry : entries)
            day.FoodLog().AddEntry(kSortByMeal, entry, journal.IdGenerator());
        return entries;
    }
    static double Sum(const std::vector<CFoodItem>& entries, int n) {
        double sum = 0.0;
        for (const CFoodItem& entry : entries)
            sum += entry.NutrientValue(n);
        return sum;
    }
};

TEST_F(NutrientDetailsTest, ADayIsTheSumOfItsEntries) {
    CompleteProfile();
    const CJournalDate date(13, 3, 2024);
    const auto entries = LogThree(date);
    Day(CJournalDate(14, 3, 2024)); // a record without food does not count
    const SNutrientDetails details = NutrientDetails(journal, date, date);
    ASSERT_EQ(details.rows.size(), static_cast<size_t>(kNutrientCount));
    EXPECT_EQ(details.daysWithFood, 1);
    for (int n = 0; n < kNutrientCount; ++n) {
        const double sum = Sum(entries, n);
        EXPECT_NEAR(details.rows[n].average, sum, 1e-4 * sum) << n;
        EXPECT_EQ(details.rows[n].amount, NutrientAmountText(n, sum)) << n;
    }
    // Cholesterol, selenium and B12 are shown in mg and mcg, the others as stored.
    EXPECT_EQ(details.rows[9].unit, "mg");
    EXPECT_EQ(details.rows[20].unit, "mcg");
    EXPECT_EQ(details.rows[23].unit, "mcg");
    EXPECT_EQ(details.rows[11].unit, "mg");
    EXPECT_EQ(NutrientAmountText(20, 0.055), "55.0");
    EXPECT_EQ(NutrientAmountText(9, 0.2131), "213");
}

TEST_F(NutrientDetailsTest, AveragesOverDaysWithFoodAndComparesWithReferences) {
    CompleteProfile(); // male, 40
    const CJournalDate last(15, 3, 2024);
    const SDateSpan week = NutrientPeriodDates(ENutrientPeriod::Last7Days, last, {}, {});
    EXPECT_EQ(week.first, CJournalDate(9, 3, 2024));
    EXPECT_EQ(NutrientPeriodDates(ENutrientPeriod::Last30Days, last, {}, {}).first,
              CJournalDate(15, 2, 2024));
    EXPECT_EQ(NutrientPeriodDates(ENutrientPeriod::PrintRange, last, last, week.first).first,
              week.first);

    CDayRecord& first = Day(CJournalDate(10, 3, 2024));
    first.FoodLog().AddEntry(kSortByMeal, FullEntry("Orange", 2.0f, 1.0f, 0),
                             journal.IdGenerator());
    CDayRecord& second = Day(CJournalDate(12, 3, 2024));
    second.FoodLog().AddEntry(kSortByMeal, FullEntry("Orange", 4.0f, 1.0f, 0),
                              journal.IdGenerator());
    const SNutrientDetails details = NutrientDetails(journal, week.first, week.last);
    EXPECT_EQ(details.calendarDays, 7);
    EXPECT_EQ(details.daysWithFood, 2);
    // Vitamin C (index 24): (50 + 100) / 2 = 75 mg of 90 mg; sodium (16): 51 mg; calcium of
    // 1000 mg: 36 mg.
    EXPECT_NEAR(details.rows[24].average, 75.0, 1e-4);
    EXPECT_EQ(details.rows[24].reference, "90");
    EXPECT_EQ(details.rows[24].share, "83%");
    EXPECT_EQ(details.rows[24].upper, "2000");
    EXPECT_FALSE(details.rows[24].aboveUpper);
    EXPECT_EQ(details.rows[0].reference, ""); // calories have none
    EXPECT_EQ(details.rows[3].reference, "38 AI");
    EXPECT_EQ(details.rows[18].reference, "0.9");
    // Retinol (31): 96 mcg a day against an upper limit of 3000 only.
    EXPECT_EQ(details.rows[31].share, "");
    EXPECT_EQ(details.rows[31].upper, "3000");

    // Iron (12) of 39 mg a day stays below its 45 mg; copper (18) of 57 mg passes its 10 mg.
    EXPECT_FALSE(details.rows[12].aboveUpper);
    EXPECT_TRUE(details.rows[18].aboveUpper);
    EXPECT_EQ(details.rows[18].share, ">999%");

    // Energy: carbohydrate 6 g, protein 9 g, fat 15 g a day -> 24, 36, 135 Cal.
    EXPECT_EQ(details.energy[0].value, "12%  (24 Cal)");
    EXPECT_EQ(details.energy[1].value, "18%  (36 Cal)");
    EXPECT_EQ(details.energy[2].value, "69%  (135 Cal)");

    journal.Profile().SetStoredAge(-1);
    const SNutrientDetails unknown = NutrientDetails(journal, week.first, week.last);
    EXPECT_EQ(unknown.rows[24].reference, "");
    EXPECT_EQ(unknown.referenceText,
              "Enter your age in the personal information to see your reference intakes.");
}

TEST_F(NutrientDetailsTest, TopFoodsAddUpEntriesOfOneNameMostFirst) {
    const CJournalDate date(13, 3, 2024);
    CDayRecord& day = Day(date);
    const char* names[] = {"A", "B", "C", "D", "E", "F", "B"};
    const float bases[] = {1, 2, 3, 4, 5, 6, 5};
    for (size_t i = 0; i < std::size(names); ++i)
        day.FoodLog().AddEntry(kSortByMeal, FullEntry(names[i], bases[i], 1.0f, 0),
                               journal.IdGenerator());
    const auto top = TopFoods(journal, date, date, 24);
    ASSERT_EQ(top.size(), 5u);
    const char* expected[] = {"B", "F", "E", "D", "C"};
    for (size_t i = 0; i < top.size(); ++i)
        EXPECT_EQ(top[i].name, expected[i]) << i;
    EXPECT_EQ(top[0].amountText, "175 mg"); // (2 + 5) * 25
    EXPECT_EQ(top[0].shareText, "27%");     // 7 of 26 parts
}

// A recipe of three entries, saved as a food item and logged as one serving, gives the same
// totals as the three entries; made for two servings it gives half of them.
TEST_F(NutrientDetailsTest, ARecipeLoggedOnceEqualsItsEntries) {
    const CJournalDate date(13, 3, 2024);
    const auto entries = LogThree(date);
    const SNutrientDetails three = NutrientDetails(journal, date, date);

    CFoodDB db;
    const int group = db.AddGroup(CFoodGroup("Recipes"));
    const int category = db.AddCategory(static_cast<uint16_t>(group), CFoodCategory("Mine"));
    CFoodItem recipe = RecipeFoodItem(entries);
    recipe.SetName("Lunch bowl", false);
    EXPECT_EQ(recipe.SearchName(), "Oatmeal, Egg, Apple");
    EXPECT_EQ(recipe.Serving().Unit(), kUnitItem);
    const int item =
        db.AddFoodItem(static_cast<uint16_t>(group), static_cast<uint16_t>(category), recipe);
    ASSERT_GE(item, 0);
    CFoodItem logged = db.GetFoodItem(static_cast<uint16_t>(group), static_cast<uint16_t>(category),
                                      static_cast<uint16_t>(item));
    logged.SetServing(CServingMeasure(1.0f, kUnitItem));

    const CJournalDate next(14, 3, 2024);
    Day(next).FoodLog().AddEntry(kSortByMeal, logged, journal.IdGenerator());
    const SNutrientDetails one = NutrientDetails(journal, next, next);
    const CFoodItem halves = RecipeFoodItem(entries, 2.0);
    for (int n = 0; n < kNutrientCount; ++n) {
        EXPECT_NEAR(one.totals[n], three.totals[n], 1e-5 * three.totals[n]) << n;
        EXPECT_NEAR(halves.NutrientValue(n), three.totals[n] / 2, 1e-5 * three.totals[n]) << n;
    }
}

TEST(RecipeSearchNameTest, ListsEachIngredientOnceWithinTheLimit) {
    std::vector<CFoodItem> entries(4);
    const char* names[] = {"Rice", "Beans", "Rice", "Salsa verde"};
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i].SetName(names[i], true);
    EXPECT_EQ(RecipeSearchName(entries), "Rice, Beans, Salsa verde");
    EXPECT_EQ(RecipeSearchName(entries, 15), "Rice, Beans");
    EXPECT_EQ(RecipeSearchName(entries, 3), "Ric");
}

} // namespace
} // namespace fitquill::test
