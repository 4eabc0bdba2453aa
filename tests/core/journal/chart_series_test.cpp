// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/chart_series.h"

#include "core/clock.h"
#include "core/internal_error.h"
#include "core/journal/journal_db.h"
#include "tests/core/report/report_test_support.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace fitquill;

namespace {

CJournalDate Date(int day, int month, int year = 2004) {
    return CJournalDate(day, month, year);
}

// A food entry of one item with the given calories and grams of fibre.
CFoodItem Food(const char* name, float calories, float fiber) {
    CFoodItem item;
    item.SetName(name, true);
    item.SetBaseMeasure(CServingMeasure(1, kUnitItem), false);
    item.SetServing(CServingMeasure(1, kUnitItem));
    item.SetNutrientValue(kNutrientCalories, calories);
    item.SetNutrientValue(kNutrientFiber, fiber);
    return item;
}

class ChartSeriesTest : public testing::Test {
protected:
    void SetUp() override {
        // Wednesday 10 March 2004; the requests below stay away from today unless they say so.
        CClock::SetFixedDate(CClock::ParseIsoDate("2004-03-10"));
        journal.Clear();
    }
    void TearDown() override { CClock::SetFixedDate(std::nullopt); }

    CDayRecord& AddDay(const CJournalDate& date, double weight = 0) {
        return test::JournalDay(journal, date, weight);
    }

    void AddFood(const CJournalDate& date, float calories, float fiber) {
        CDayRecord& day = AddDay(date);
        day.FoodLog().AddEntry(0, Food("Meal", calories, fiber), journal.IdGenerator());
    }

    CJournalDB journal;
    CPeriodSeries period;
    CHistoricWeightSeries historic;
};

} // namespace

TEST_F(ChartSeriesTest, PeriodLengthsAndStarts) {
    struct SCase {
        CJournalDate date;
        uint16_t monthFlag;
        CJournalDate start;
        int days;
    };
    for (const SCase& c :
         {SCase{Date(17, 2), 1, Date(1, 2), 29}, SCase{Date(17, 2, 2005), 1, Date(1, 2, 2005), 28},
          SCase{Date(31, 12), 1, Date(1, 12), 31}, SCase{Date(30, 4), 1, Date(1, 4), 30},
          // Wednesday 3 March 2004: its week starts on Sunday 29 February.
          SCase{Date(3, 3), 0, Date(29, 2), 7}, SCase{Date(29, 2), 0, Date(29, 2), 7},
          SCase{Date(1, 1, 2005), 0, Date(26, 12), 7}}) {
        SCOPED_TRACE(c.date.LongText());
        period.RequestAt(journal, kSeriesCalories, c.monthFlag, c.date);
        EXPECT_EQ(period.MonthFlag(), c.monthFlag);
        EXPECT_EQ(period.PeriodStart(), c.start);
        EXPECT_EQ(period.DayCount(), c.days);
        EXPECT_EQ(period.ValuedDayCount(), 0);
        EXPECT_TRUE(period.HasNoValues());
        EXPECT_EQ(period.Value(0), -1.0f);
        EXPECT_EQ(period.Value(c.days), -1.0f);
    }
}

TEST_F(ChartSeriesTest, RelativePeriodsStepFromTheHeldOne) {
    journal.GoToDate(Date(15, 1));
    period.Request(journal, kSeriesCalories, 1, kPeriodCurrent);
    EXPECT_EQ(period.PeriodStart(), Date(1, 1));
    period.Request(journal, kSeriesCalories, 1, kPeriodPrevious);
    EXPECT_EQ(period.PeriodStart(), Date(1, 12, 2003));
    EXPECT_EQ(period.DayCount(), 31);
    period.Request(journal, kSeriesCalories, 1, kPeriodNext);
    period.Request(journal, kSeriesCalories, 1, kPeriodNext);
    EXPECT_EQ(period.PeriodStart(), Date(1, 2));
    EXPECT_EQ(period.DayCount(), 29);
    // The week that follows is the one of the month's first day, moved on by a week.
    period.Request(journal, kSeriesCalories, 0, kPeriodNext);
    EXPECT_EQ(period.PeriodStart(), Date(8, 2));
    period.Request(journal, kSeriesCalories, 0, kPeriodPrevious);
    period.Request(journal, kSeriesCalories, 0, kPeriodPrevious);
    EXPECT_EQ(period.PeriodStart(), Date(25, 1));
    // Back to the current date's week, which the journal never left.
    period.Request(journal, kSeriesCalories, 0, kPeriodCurrent);
    EXPECT_EQ(period.PeriodStart(), Date(11, 1));
    EXPECT_EQ(journal.CurrentDate(), Date(15, 1));

    // Without a held period the relative requests start from the current date's.
    CPeriodSeries fresh;
    fresh.Request(journal, kSeriesCalories, 0, kPeriodPrevious);
    EXPECT_EQ(fresh.PeriodStart(), Date(4, 1));
    EXPECT_THROW(fresh.Request(journal, kSeriesCalories, 0, 1), CInternalError);
    EXPECT_THROW(fresh.RequestAt(journal, 7, 0, Date(1, 1)), CInternalError);
}

TEST_F(ChartSeriesTest, WeekWithOneRecordedDay) {
    // Tuesday 2 March 2004.
    AddFood(Date(2, 3), 1850.7f, 12.5f);
    period.RequestAt(journal, kSeriesCalories, 0, Date(5, 3));
    ASSERT_EQ(period.DayCount(), 7);
    for (int i = 0; i < 7; ++i) {
        if (i == 2)
            continue;
        EXPECT_EQ(period.Value(i), -1.0f) << i;
        EXPECT_EQ(period.Target(i), -1.0f) << i;
    }
    EXPECT_EQ(period.ValuedDayCount(), 1);
    EXPECT_FLOAT_EQ(period.Value(2), 1850.7f);
    // No weight, height or age: the targets cannot be computed and read 0.
    EXPECT_EQ(period.Target(2), 0.0f);
    EXPECT_FLOAT_EQ(period.Maximum(), 1850.7f);
    EXPECT_FLOAT_EQ(period.Minimum(), 1850.7f);
    EXPECT_FLOAT_EQ(period.Peak(), 1850.7f);
    EXPECT_FALSE(period.HasNoValues());
}

TEST_F(ChartSeriesTest, NutrientSeriesCarriesTheDaysTargets) {
    // Own targets: fibre has a target on every recorded day without a BMR.
    journal.Profile().SetTargetMode(0);
    journal.Profile().SetOwnTarget(kNutrientFiber, 30);
    AddFood(Date(1, 3), 500, 12.5f);
    AddFood(Date(3, 3), 700, 0);
    AddFood(Date(4, 3), 600, 40.25f);
    period.RequestAt(journal, kSeriesFiber, 0, Date(1, 3));
    const std::vector<float> values = {-1, 12.5f, -1, 0, 40.25f, -1, -1};
    const std::vector<float> targets = {-1, 30, -1, 30, 30, -1, -1};
    for (int i = 0; i < 7; ++i) {
        EXPECT_FLOAT_EQ(period.Value(i), values[static_cast<size_t>(i)]) << i;
        EXPECT_FLOAT_EQ(period.Target(i), targets[static_cast<size_t>(i)]) << i;
    }
    EXPECT_EQ(period.ValuedDayCount(), 3);
    EXPECT_FLOAT_EQ(period.Maximum(), 40.25f);
    EXPECT_FLOAT_EQ(period.Minimum(), 12.5f);
    EXPECT_FLOAT_EQ(period.Peak(), 40.25f);

    // A target above every value is the peak.
    journal.Profile().SetOwnTarget(kNutrientFiber, 55);
    period.RequestAt(journal, kSeriesFiber, 0, Date(1, 3));
    EXPECT_FLOAT_EQ(period.Peak(), 55);
    EXPECT_FLOAT_EQ(period.Maximum(), 40.25f);
}

TEST_F(ChartSeriesTest, WeightSeriesAveragesAndRoundsInTheUsersUnit) {
    AddDay(Date(1, 3), 150.26);
    AddDay(Date(2, 3));
    AddDay(Date(3, 3), 149.64);
    AddDay(Date(6, 3), 151);
    period.RequestAt(journal, kSeriesWeight, 0, Date(3, 3));
    EXPECT_EQ(period.ValuedDayCount(), 3);
    EXPECT_EQ(period.Value(0), -1.0f);
    EXPECT_FLOAT_EQ(period.Value(1), 150.3f);
    EXPECT_EQ(period.Value(2), -1.0f); // a record without a weight
    EXPECT_FLOAT_EQ(period.Value(3), 149.6f);
    EXPECT_FLOAT_EQ(period.Value(6), 151.0f);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(period.Target(i), -1.0f);
    EXPECT_FLOAT_EQ(period.Maximum(), 151.0f);
    EXPECT_FLOAT_EQ(period.Minimum(), 149.6f);
    EXPECT_NEAR(period.Peak(), (150.3 + 149.6 + 151.0) / 3, 1e-4);

    journal.Profile().SetUnitChoice(1);
    period.RequestAt(journal, kSeriesWeight, 0, Date(3, 3));
    // 150.26 lb = 68.157... kg, shown to one decimal.
    EXPECT_FLOAT_EQ(period.Value(1), 68.2f);
    EXPECT_FLOAT_EQ(period.Value(6), 68.5f);
}

TEST_F(ChartSeriesTest, HistoricRangesLabelsAndDayCounts) {
    struct SCase {
        int type;
        CJournalDate end;
        std::vector<std::string> labels;
        int days;
    };
    const std::vector<SCase> cases = {
        {0,
         Date(3, 3),
         {"2/25/2004", "2/26/2004", "2/27/2004", "2/28/2004", "2/29/2004", "3/1/2004", "3/2/2004",
          "3/3/2004"},
         8},
        {1,
         Date(3, 3),
         {"2/18/2004", "2/20/2004", "2/22/2004", "2/24/2004", "2/26/2004", "2/28/2004", "3/1/2004",
          "3/3/2004"},
         15},
        // The month step cuts the day to 28 in February, leap year or not.
        {2, Date(31, 3), {"2/28/2004", "3/31/2004"}, 33},
        {3, Date(31, 5), {"2/28/2004", "3/30/2004", "4/30/2004", "5/31/2004"}, 94},
        {4,
         Date(15, 7),
         {"1/15/2004", "2/15/2004", "3/15/2004", "4/15/2004", "5/15/2004", "6/15/2004",
          "7/15/2004"},
         183},
        // Each step is three single-month steps, each cutting the day: 31 August, 31 July,
        // 30 June, 30 May; then February cuts it to 28 for good.
        {5, Date(31, 8), {"8/28/2003", "11/28/2003", "2/28/2004", "5/30/2004", "8/31/2004"}, 370},
        {6,
         Date(29, 2, 2008),
         {"2/28/2003", "2/28/2004", "2/28/2005", "2/28/2006", "2/28/2007", "2/29/2008"},
         1828},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(CHistoricWeightSeries::Title(c.type));
        EXPECT_EQ(historic.Request(journal, c.type, c.end), 0);
        EXPECT_EQ(historic.RangeType(), c.type);
        ASSERT_EQ(historic.LabelCount(), static_cast<int>(c.labels.size()));
        for (int k = 0; k < 8; ++k) {
            const std::string expected =
                k < historic.LabelCount() ? c.labels[static_cast<size_t>(k)] : "";
            EXPECT_EQ(historic.Label(k), expected) << k;
        }
        EXPECT_EQ(historic.Label(8), "");
        EXPECT_EQ(historic.DayCount(), c.days);
        EXPECT_EQ(historic.MaximumWeight(), -1.0f);
        EXPECT_EQ(historic.MinimumWeight(), 999.0f);
        EXPECT_EQ(historic.VerticalLabelCount(), 0);
        EXPECT_FALSE(historic.VerticalLabelValue(0));
    }
    EXPECT_STREQ(CHistoricWeightSeries::Title(6), "Historic Weight (5-Year)");
    EXPECT_STREQ(CHistoricWeightSeries::Title(7), "");
    EXPECT_THROW(historic.Request(journal, 7, Date(1, 1)), CInternalError);
}

TEST_F(ChartSeriesTest, HistoricValuesAndVerticalScale) {
    AddDay(Date(25, 2), 150.2);
    AddDay(Date(27, 2));
    AddDay(Date(1, 3), 149.6);
    AddDay(Date(4, 3), 160); // after the end date
    EXPECT_EQ(historic.Request(journal, 0, Date(3, 3)), 2);
    const std::vector<float> values = {150.2f, -1, -1, -1, -1, 149.6f, -1, -1};
    ASSERT_EQ(historic.DayCount(), 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_FLOAT_EQ(historic.Value(i), values[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(historic.Value(8), -1.0f);
    EXPECT_FLOAT_EQ(historic.MaximumWeight(), 150.2f);
    EXPECT_FLOAT_EQ(historic.MinimumWeight(), 149.6f);
    EXPECT_EQ(historic.ScaleStep(), 1);
    ASSERT_EQ(historic.VerticalLabelCount(), 3);
    EXPECT_EQ(historic.VerticalLabelValue(0), 148);
    EXPECT_EQ(historic.VerticalLabelValue(1), 149);
    EXPECT_EQ(historic.VerticalLabelValue(2), 150);
    EXPECT_FALSE(historic.VerticalLabelValue(3));
    EXPECT_FALSE(historic.VerticalLabelValue(-1));
}

TEST_F(ChartSeriesTest, ScaleStepKeepsTheSpanBelowSixteenSteps) {
    struct SCase {
        double low, high;
        int step, labels;
    };
    for (const SCase& c : {SCase{120, 200, 6, 16}, SCase{150, 150, 1, 3}, SCase{100, 115.9, 1, 18},
                           SCase{100, 116, 2, 11}, SCase{100, 132, 3, 13}}) {
        SCOPED_TRACE(std::to_string(c.low) + " to " + std::to_string(c.high));
        journal.Clear();
        AddDay(Date(1, 2), c.low);
        AddDay(Date(2, 2), (c.low + c.high) / 2);
        AddDay(Date(3, 2), c.high);
        EXPECT_EQ(historic.Request(journal, 1, Date(5, 2)), 3);
        EXPECT_EQ(historic.ScaleStep(), c.step);
        EXPECT_EQ(historic.VerticalLabelCount(), c.labels);
    }
    // 120 - 6 + 6k for the 120-200 range.
    journal.Clear();
    AddDay(Date(1, 2), 120);
    AddDay(Date(3, 2), 200);
    historic.Request(journal, 1, Date(5, 2));
    EXPECT_EQ(historic.VerticalLabelValue(0), 114);
    EXPECT_EQ(historic.VerticalLabelValue(15), 204);
}

TEST_F(ChartSeriesTest, WeightsBelowTenAreNotCharted) {
    journal.Profile().SetUnitChoice(1);
    AddDay(Date(1, 2), 9.9);  // kilograms
    AddDay(Date(2, 2), 70.0); // kilograms
    EXPECT_EQ(historic.Request(journal, 0, Date(2, 2)), 1);
    EXPECT_EQ(historic.Value(6), -1.0f);
    EXPECT_FLOAT_EQ(historic.Value(7), 70.0f);
    EXPECT_FLOAT_EQ(historic.MinimumWeight(), 70.0f);
}

// The requests walk the journal but leave it where it was and create no record, not even
// today's, which the journal would otherwise add when a weight is known.
TEST_F(ChartSeriesTest, RequestsRestoreTheCurrentDate) {
    AddDay(Date(8, 3), 150);
    AddDay(Date(20, 2), 152);
    const int days = journal.DayCount();
    for (const CJournalDate& current : {Date(8, 3), Date(9, 2), Date(20, 2)}) {
        SCOPED_TRACE(current.LongText());
        journal.GoToDate(current);
        const bool exists = journal.CurrentDayExists();
        const int record = journal.CurrentRecordNumber();
        // The week and month of today (10 March), and a five-year range over it.
        period.RequestAt(journal, kSeriesWeight, 0, Date(10, 3));
        period.Request(journal, kSeriesCalories, 1, kPeriodPrevious);
        historic.Request(journal, 6, Date(12, 3));
        EXPECT_EQ(journal.CurrentDate(), current);
        EXPECT_EQ(journal.CurrentDayExists(), exists);
        EXPECT_EQ(journal.CurrentRecordNumber(), record);
        EXPECT_EQ(journal.DayCount(), days);
    }
}

TEST_F(ChartSeriesTest, ReleaseEmptiesTheSeries) {
    AddDay(Date(1, 3), 150);
    period.RequestAt(journal, kSeriesWeight, 1, Date(1, 3));
    historic.Request(journal, 2, Date(1, 3));
    period.Release();
    historic.Release();
    EXPECT_EQ(period.DayCount(), 0);
    EXPECT_EQ(period.Value(0), -1.0f);
    EXPECT_EQ(historic.DayCount(), 0);
    EXPECT_EQ(historic.LabelCount(), 0);
    EXPECT_EQ(historic.Label(0), "");
    EXPECT_EQ(historic.VerticalLabelCount(), 0);
    // The held month is still the base of the next relative request.
    period.Request(journal, kSeriesWeight, 1, kPeriodNext);
    EXPECT_EQ(period.PeriodStart(), Date(1, 4));
}
