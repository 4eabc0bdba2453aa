// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/table_report.h"

#include "core/calc/diet_plan.h"
#include "report_test_support.h"

#include <string>
#include <vector>

using namespace fitquill;

namespace {

using Texts = std::vector<std::string>;

class TableReportTest : public test::ReportJournalTest {};

} // namespace

TEST_F(TableReportTest, EmptyJournalHasHeadingsAnd72EmptyRows) {
    const STableRange range = AllDaysRange(journal);
    EXPECT_EQ(range.count, 0);
    ASSERT_EQ(TableRowCount(range), 73);
    EXPECT_EQ(SummaryRowTexts(journal, range, 0, false),
              (Texts{"", "Date", "lbs", "Cal", "Carb", "Prot", "Fiber", "Fat", "SFat"}));
    EXPECT_EQ(NutrientRowTexts(journal, range, 0, false, 0),
              (Texts{"", "Date", "lbs", "Goal", "Total", "Net"}));
    for (int row = 1; row < 73; ++row) {
        EXPECT_EQ(SummaryRowTexts(journal, range, row, false), Texts(9)) << row;
        EXPECT_EQ(NutrientRowTexts(journal, range, row, true, 3), Texts(6)) << row;
    }
}

TEST_F(TableReportTest, RowCountGrowsPastTheMinimum) {
    EXPECT_EQ(TableRowCount({0, 72}), 73);
    EXPECT_EQ(TableRowCount({0, 73}), 74);
    EXPECT_EQ(TableRowCount({5, 100}), 101);
}

TEST_F(TableReportTest, SummaryRowsInBothDirections) {
    CDayRecord& first = Day(CJournalDate(3, 2, 2024), 176.9);
    Eat(first, {{kNutrientCalories, 1234.5f},
                {kNutrientCarbohydrate, 150.25f},
                {kNutrientProtein, 60.0f},
                {kNutrientFiber, 20.04f},
                {kNutrientFat, 40.0f},
                {kNutrientSaturatedFat, 12.36f}});
    Day(CJournalDate(11, 12, 2024)); // no weight
    const STableRange range = AllDaysRange(journal);
    ASSERT_EQ(range.count, 2);

    const Texts oldest = {"1",     "02/03", "177",   "1235", "150.2g",
                          "60.0g", "20.0g", "40.0g", "12.4g"};
    EXPECT_EQ(SummaryRowTexts(journal, range, 1, false), oldest);
    EXPECT_EQ(SummaryRowTexts(journal, range, 2, false)[1], "12/11");
    EXPECT_EQ(SummaryRowTexts(journal, range, 2, false)[2], "---");
    EXPECT_EQ(SummaryRowTexts(journal, range, 3, false), Texts(9));

    // Flipped: the newest day first, the row numbers stay.
    const Texts newest = SummaryRowTexts(journal, range, 1, true);
    EXPECT_EQ(newest[0], "1");
    EXPECT_EQ(newest[1], "12/11");
    Texts second = oldest;
    second[0] = "2";
    EXPECT_EQ(SummaryRowTexts(journal, range, 2, true), second);
}

TEST_F(TableReportTest, MetricUsersSeeKilograms) {
    journal.Profile().SetUnitChoice(1);
    Day(CJournalDate(1, 3, 2024), 80.25);
    const STableRange range = AllDaysRange(journal);
    EXPECT_EQ(SummaryRowTexts(journal, range, 0, false)[2], "kg");
    EXPECT_EQ(NutrientRowTexts(journal, range, 0, false, 0)[2], "kg");
    EXPECT_EQ(SummaryRowTexts(journal, range, 1, false)[2], "80.3");
    EXPECT_EQ(NutrientRowTexts(journal, range, 1, false, 0)[2], "80.3");
}

TEST_F(TableReportTest, NetIsGoalMinusTotalWithoutANegativeZero) {
    CompleteProfile();
    CDayRecord& day = Day(CJournalDate(1, 3, 2024), 170);
    TypedBMR(day, 1500);
    Eat(day, {{kNutrientCalories, 1750.4f}, {kNutrientFat, 65.04f}});
    journal.Profile().SetTargetMode(0);
    journal.Profile().SetOwnTarget(kNutrientFat, 65.0f);
    const STableRange range = AllDaysRange(journal);
    EXPECT_EQ(NutrientRowTexts(journal, range, 1, false, kNutrientCalories),
              (Texts{"1", "03/01", "170", "1500", "1750", "-250"}));
    EXPECT_EQ(NutrientRowTexts(journal, range, 1, false, kNutrientFat),
              (Texts{"1", "03/01", "170", "65.0", "65.0", "0.0"}));
    // Below the target the difference is positive.
    journal.Profile().SetOwnTarget(kNutrientFiber, 30.0f);
    EXPECT_EQ(NutrientRowTexts(journal, range, 1, false, kNutrientFiber),
              (Texts{"1", "03/01", "170", "30.0", "0.0", "30.0"}));
}

TEST_F(TableReportTest, EachDayHasItsOwnGoal) {
    CompleteProfile();
    CDayRecord& first = Day(CJournalDate(1, 3, 2024), 170);
    TypedBMR(first, 1500);
    CDayRecord& second = Day(CJournalDate(2, 3, 2024), 170);
    TypedBMR(second, 2100);
    const STableRange range = AllDaysRange(journal);
    EXPECT_EQ(NutrientRowTexts(journal, range, 1, false, kNutrientCalories)[3], "1500");
    EXPECT_EQ(NutrientRowTexts(journal, range, 2, false, kNutrientCalories)[3], "2100");
    // Carbohydrate at 60 % of 2100 calories.
    EXPECT_EQ(NutrientRowTexts(journal, range, 2, false, kNutrientCarbohydrate)[3], "315.0");
}

TEST_F(TableReportTest, PrintRangeListsItsOwnDaysInBothDirections) {
    for (int day = 1; day <= 10; ++day)
        Day(CJournalDate(day, 3, 2024), 150 + day);
    const STableRange range =
        DateRange(journal, CJournalDate(4, 3, 2024), CJournalDate(6, 3, 2024));
    EXPECT_EQ(range.first, 3);
    EXPECT_EQ(range.count, 3);
    EXPECT_EQ(SummaryRowTexts(journal, range, 1, false)[1], "03/04");
    EXPECT_EQ(SummaryRowTexts(journal, range, 3, false)[1], "03/06");
    EXPECT_EQ(SummaryRowTexts(journal, range, 1, true)[1], "03/06");
    EXPECT_EQ(SummaryRowTexts(journal, range, 3, true)[1], "03/04");
    EXPECT_EQ(SummaryRowTexts(journal, range, 4, true), Texts(9));

    const STableRange none = DateRange(journal, CJournalDate(1, 4, 2024), CJournalDate(9, 4, 2024));
    EXPECT_EQ(none.count, 0);
    EXPECT_EQ(DateRange(journal, CJournalDate(6, 3, 2024), CJournalDate(4, 3, 2024)).count, 0);
}

TEST_F(TableReportTest, KeepCurrentDayRestoresTheDateAfterRendering) {
    for (int day = 1; day <= 5; ++day)
        Day(CJournalDate(day, 3, 2024), 150);
    journal.GoToDate(CJournalDate(20, 3, 2024)); // a day without a record
    const STableRange range = AllDaysRange(journal);
    {
        CKeepCurrentDay keep(journal);
        for (int row = 0; row < TableRowCount(range); ++row)
            NutrientRowTexts(journal, range, row, false, 0);
        EXPECT_EQ(journal.CurrentDate(), CJournalDate(5, 3, 2024));
    }
    EXPECT_EQ(journal.CurrentDate(), CJournalDate(20, 3, 2024));
    EXPECT_FALSE(journal.CurrentDayExists());
}
