// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/day_record.h"
#include "core/report/meal_log_rows.h"

#include <gtest/gtest.h>

using namespace fitquill;

namespace {

CFoodItem Food(const std::string& name, int meal, float calories, float servings,
               float carbohydrate = 0, float saturatedFat = 0) {
    CFoodItem item;
    item.SetName(name, true);
    item.SetBaseMeasure({1, kUnitCup}, false);
    item.SetNutrientValue(kNutrientCalories, calories);
    item.SetNutrientValue(1, carbohydrate);
    item.SetNutrientValue(5, saturatedFat);
    item.SetServing({servings, kUnitCup});
    item.SetMealType(static_cast<uint16_t>(meal));
    return item;
}

CExerciseEntry Exercise(const std::string& name, int minutes, int calories) {
    CExerciseEntry entry;
    entry.SetName(name);
    entry.SetMinutes(minutes);
    entry.SetCalories(calories);
    return entry;
}

// The non-empty cells of a line, joined by "|".
std::string Line(const SMealLogRow& row, int line) {
    std::string text;
    for (const std::string& cell : row.lines[static_cast<size_t>(line)]) {
        if (cell.empty())
            continue;
        text += text.empty() ? cell : "|" + cell;
    }
    return text;
}

class MealLogRowsTest : public ::testing::Test {
protected:
    // Lunch: Soup (2.5 cups of 101 cal, 10 g carb a cup); Breakfast: Toast; Snack: Apple.
    void FillDay() {
        day.FoodLog().AddEntry(kSortByMeal, Food("Soup", kMealLunch, 101, 2.5f, 10, 0.25f), ids);
        day.FoodLog().AddEntry(kSortByMeal, Food("Toast", kMealBreakfast, 80, 1), ids);
        day.FoodLog().AddEntry(kSortByMeal, Food("Apple", kMealSnack, 52, 1), ids);
        day.FoodLog().RecomputeTotals();
    }

    CIdGenerator ids{CIdGenerator::kUnassigned};
    CDayRecord day{CJournalDate(7, 12, 2026)};
    CMealLogRowRenderer screen{false};
    CMealLogRowRenderer printed{true};
};

} // namespace

TEST_F(MealLogRowsTest, DayWithoutRecordShowsZeroTotalsAndTheHint) {
    ASSERT_EQ(screen.RowCount(nullptr, kSortByMeal), 3);
    EXPECT_EQ(screen.Row(nullptr, kSortByMeal, 0).kind, EMealLogRowKind::Empty);
    const SMealLogRow totals = screen.Row(nullptr, kSortByMeal, 1);
    EXPECT_EQ(totals.kind, EMealLogRowKind::FoodTotals);
    EXPECT_EQ(Line(totals, 0), " ");
    EXPECT_EQ(Line(totals, 1),
              "Totals|0  Cal|0.0g  Carb|0.0g  Prot|0.0g  Fiber|0.0g  Fat|0.0g  SFat");
    const SMealLogRow hint = screen.Row(nullptr, kSortByMeal, 2);
    EXPECT_EQ(hint.kind, EMealLogRowKind::Hint);
    EXPECT_EQ(Line(hint, 1), "Double click to insert a food item.");
    EXPECT_EQ(screen.Row(nullptr, kSortByMeal, 3).kind, EMealLogRowKind::Empty);

    // Printed: heading, totals, water 0, targets, exercise heading and totals: 9 rows.
    ASSERT_EQ(printed.RowCount(nullptr, kSortByMeal), 9);
    EXPECT_EQ(Line(printed.Row(nullptr, kSortByMeal, 2), 0), "Water|0");
    EXPECT_EQ(Line(printed.Row(nullptr, kSortByMeal, 8), 0), "Totals|0 Cal");
}

TEST_F(MealLogRowsTest, FoodRowsInBothSortModes) {
    FillDay();
    // By meal: Breakfast, Toast, Lunch, Soup, Snack, Apple, then totals and hint.
    ASSERT_EQ(screen.RowCount(&day, kSortByMeal), 9);
    const SMealLogRow breakfast = screen.Row(&day, kSortByMeal, 1);
    EXPECT_EQ(breakfast.kind, EMealLogRowKind::MealHeading);
    EXPECT_EQ(Line(breakfast, 0), "Breakfast");
    EXPECT_EQ(Line(breakfast, 1), "");

    const SMealLogRow soup = screen.Row(&day, kSortByMeal, 4);
    EXPECT_EQ(soup.kind, EMealLogRowKind::FoodEntry);
    EXPECT_EQ(Line(soup, 0), "Soup");
    // 2.5 x 101 = 252.5 calories are cut, not rounded; grams round by the format.
    EXPECT_EQ(Line(soup, 1), "2.50 cup|252  Cal|25.0g  Carb|0.0g  Prot|0.0g  Fiber|0.0g  "
                             "Fat|0.6g  SFat");
    EXPECT_TRUE(soup.Cell(1, 7).empty());

    const SMealLogRow totals = screen.Row(&day, kSortByMeal, 7);
    EXPECT_EQ(totals.kind, EMealLogRowKind::FoodTotals);
    EXPECT_EQ(totals.Cell(1, 1), "384  Cal"); // 252.5 + 80 + 52
    EXPECT_EQ(screen.Row(&day, kSortByMeal, 8).kind, EMealLogRowKind::Hint);

    // Alphabetical: no headings, so the same entries sit at other rows.
    ASSERT_EQ(screen.RowCount(&day, kSortAlphabetical), 6);
    EXPECT_EQ(Line(screen.Row(&day, kSortAlphabetical, 1), 0), "Apple");
    EXPECT_EQ(Line(screen.Row(&day, kSortAlphabetical, 2), 0), "Soup");
    EXPECT_EQ(Line(screen.Row(&day, kSortAlphabetical, 3), 0), "Toast");
    EXPECT_EQ(screen.Row(&day, kSortAlphabetical, 4).kind, EMealLogRowKind::FoodTotals);
}

TEST_F(MealLogRowsTest, PrintedLogNumbersEverySection) {
    FillDay();
    day.SetWater(7);
    day.Exercises().Add(Exercise("Running", 30, 6000), ids);
    day.Exercises().Add(Exercise("Rowing", 45, 5000), ids);
    const int n = 6;
    const int e = 2;
    ASSERT_EQ(printed.RowCount(&day, kSortByMeal), n + e + 9);

    SNutrientTargets targets;
    targets.calories = 1850;
    targets.grams = {231.3f, 92.5f, 25.0f, 61.7f, std::nullopt};

    std::vector<std::string> firstLines;
    for (int row = 0; row < n + e + 9; ++row)
        firstLines.push_back(Line(printed.Row(&day, kSortByMeal, row, targets), 0));
    const std::vector<std::string> expected = {
        " ",
        "Breakfast",
        "Toast",
        "Lunch",
        "Soup",
        "Snack",
        "Apple",
        "Totals|384  Cal|25.0g  Carb|0.0g  Prot|0.0g  Fiber|0.0g  Fat|0.6g  SFat",
        "Water|7",
        " ",
        "Calories:|1850",
        "Protein:|92.5 g",
        "    Saturated Fat:|---",
        " ",
        "Running",
        "Rowing",
        "Totals|9999 Cal", // 11000 calories are capped
    };
    EXPECT_EQ(firstLines, expected);

    EXPECT_EQ(printed.Row(&day, kSortByMeal, 0).kind, EMealLogRowKind::SectionHeading);
    EXPECT_EQ(Line(printed.Row(&day, kSortByMeal, 0), 1), "Meal Log");
    EXPECT_EQ(Line(printed.Row(&day, kSortByMeal, n + 3), 1), "Nutrient Targets");
    EXPECT_EQ(Line(printed.Row(&day, kSortByMeal, n + 7), 1), "Exercise Log");
    const SMealLogRow first = printed.Row(&day, kSortByMeal, n + 4, targets);
    EXPECT_EQ(Line(first, 1), "");
    EXPECT_EQ(Line(first, 2), "Carbohydrates:|231.3 g");
    const SMealLogRow second = printed.Row(&day, kSortByMeal, n + 5, targets);
    EXPECT_EQ(Line(second, 1), "Fiber:|25.0 g");
    EXPECT_EQ(Line(second, 2), "Total Fat:|61.7 g");
    EXPECT_EQ(Line(printed.Row(&day, kSortByMeal, n + 8), 1), "30 Minutes|6000 Cal");
    EXPECT_EQ(printed.Row(&day, kSortByMeal, n + e + 9).kind, EMealLogRowKind::Empty);
}

TEST_F(MealLogRowsTest, ExerciseListCells) {
    day.Exercises().Add(Exercise("Swimming", 40, 320), ids);
    const CExerciseList* list = &day.Exercises();
    EXPECT_EQ(ExerciseListCell(list, 0, 0), "");
    EXPECT_EQ(ExerciseListCell(list, 0, 1), "Exercise");
    EXPECT_EQ(ExerciseListCell(list, 0, 2), "Cal");
    EXPECT_EQ(ExerciseListCell(list, 0, 3), "Min");
    EXPECT_EQ(ExerciseListCell(list, 1, 0), "1");
    EXPECT_EQ(ExerciseListCell(list, 1, 1), "Swimming");
    EXPECT_EQ(ExerciseListCell(list, 1, 2), "320");
    EXPECT_EQ(ExerciseListCell(list, 1, 3), "40");
    // Rows past the entries are numbered but empty.
    EXPECT_EQ(ExerciseListCell(list, 5, 0), "5");
    EXPECT_EQ(ExerciseListCell(list, 5, 1), "");
    EXPECT_EQ(ExerciseListCell(nullptr, 2, 1), "");
}
