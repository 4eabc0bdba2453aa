// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/weight_trend.h"

#include "core/clock.h"
#include "core/journal/journal_db.h"

#include <gtest/gtest.h>

#include <vector>

using namespace fitquill;

namespace {

using EOutlook = CWeightTrend::EGoalOutlook;

const CJournalDate kEnd(5, 5, 2004); // a Wednesday; thirty days later is Friday June 4

// Daily weights for `days` days ending at kEnd, from weightAt(days before the end).
template <typename F> std::vector<SDayWeight> Daily(int days, F weightAt) {
    std::vector<SDayWeight> weights;
    for (int back = days - 1; back >= 0; --back)
        weights.push_back({kEnd.DayNumber() - back, weightAt(back)});
    return weights;
}

CJournalDate DaysAfterEnd(int days) {
    CJournalDate date = kEnd;
    for (int i = 0; i < days; ++i)
        date.StepDays(1);
    return date;
}

} // namespace

TEST(WeightTrendTest, ConstantWeightGivesAFlatTrendAndNoDate) {
    const CWeightTrend trend(Daily(60, [](int) { return 180.0; }), kEnd, 30);
    ASSERT_EQ(trend.Values().size(), 30u);
    for (const auto& value : trend.Values())
        EXPECT_EQ(value, 180.0);
    EXPECT_EQ(trend.WeeklyRate(), 0.0);
    CJournalDate date;
    EXPECT_EQ(trend.GoalOutlook(170, date), EOutlook::Steady);
    EXPECT_EQ(trend.GoalOutlook(180, date), EOutlook::Reached);
    EXPECT_EQ(date, kEnd);
    EXPECT_EQ(TrendStatement(trend, 170, false), "Trend: steady over the last 14 days.");
}

TEST(WeightTrendTest, SteadyLossOfAPoundAWeekReachesTheGoalOnTheExactDay) {
    // The smoothed weight of a steady loss lags nine days behind it (nine sevenths of a
    // pound here), so from 3 lbs above the goal the trend needs 21 + 9 = 30 days.
    const double last = 163;
    const auto weights = Daily(300, [&](int back) { return last + back / 7.0; });
    const CWeightTrend trend(weights, kEnd, 7);
    ASSERT_TRUE(trend.WeeklyRate());
    EXPECT_NEAR(*trend.WeeklyRate(), -1.0, 1e-9);
    EXPECT_NEAR(*trend.Current(), last + 9.0 / 7.0, 1e-9);
    CJournalDate date;
    EXPECT_EQ(trend.GoalOutlook(last - 3, date), EOutlook::Toward);
    EXPECT_EQ(date, DaysAfterEnd(30));
    // A tenth of a day either way moves the first day at or past the goal.
    EXPECT_EQ(trend.GoalOutlook(last - 3 + 0.1 / 7, date), EOutlook::Toward);
    EXPECT_EQ(date, DaysAfterEnd(30));
    EXPECT_EQ(trend.GoalOutlook(last - 3 - 0.1 / 7, date), EOutlook::Toward);
    EXPECT_EQ(date, DaysAfterEnd(31));
    EXPECT_EQ(TrendStatement(trend, 160, false),
              "Trend: down 1 lbs a week over the last 14 days. At this rate you reach 160 lbs on "
              "Friday June 4, 2004.");
    // A goal more than ten years away at the rate is not given a date.
    const CWeightTrend slow(Daily(300, [](int back) { return 150 + back / 70.0; }), kEnd, 1);
    EXPECT_EQ(slow.GoalOutlook(90, date), EOutlook::TooFar);
    EXPECT_EQ(TrendStatement(slow, 90, false),
              "Trend: down 0.1 lbs a week over the last 14 days. At this rate your goal weight of "
              "90 lbs is more than ten years away.");
}

TEST(WeightTrendTest, DaysWithoutWeightCarryTheTrend) {
    // Twenty days at 180 kg, then thirty days without a weight.
    std::vector<SDayWeight> weights;
    for (int day = 0; day < 20; ++day)
        weights.push_back({kEnd.DayNumber() - 49 + day, 180});
    const CWeightTrend gap(weights, kEnd, 40);
    for (const auto& value : gap.Values())
        EXPECT_EQ(value, 180.0);
    EXPECT_EQ(gap.WeeklyRate(), 0.0);

    // The first weight after the gap moves the carried trend a tenth of the way.
    weights.push_back({kEnd.DayNumber(), 170});
    const CWeightTrend after(weights, kEnd, 2);
    EXPECT_EQ(after.Values()[0], 180.0);
    EXPECT_DOUBLE_EQ(*after.Values()[1], 179.0);
    EXPECT_DOUBLE_EQ(*after.WeeklyRate(), -0.5);
    EXPECT_EQ(TrendStatement(after, 170, true),
              "Trend: down 0.5 kg a week over the last 14 days. At this rate you reach 170 kg on "
              "Wednesday September 8, 2004.");
}

TEST(WeightTrendTest, GainWhileTheGoalIsBelowMovesAway) {
    const CWeightTrend trend(Daily(300, [](int back) { return 200 - back / 14.0; }), kEnd, 1);
    ASSERT_TRUE(trend.WeeklyRate());
    EXPECT_NEAR(*trend.WeeklyRate(), 0.5, 1e-9);
    CJournalDate date;
    EXPECT_EQ(trend.GoalOutlook(180, date), EOutlook::Away);
    EXPECT_EQ(TrendStatement(trend, 180, false),
              "Trend: up 0.5 lbs a week over the last 14 days. The trend moves away from your "
              "goal weight of 180 lbs.");
    // Without a goal only the rate is told.
    EXPECT_EQ(TrendStatement(trend, -1, false), "Trend: up 0.5 lbs a week over the last 14 days.");
}

TEST(WeightTrendTest, NoRateUntilTheTrendIsFourteenDaysOld) {
    const CWeightTrend young(Daily(14, [](int) { return 150.0; }), kEnd, 20);
    EXPECT_FALSE(young.WeeklyRate());
    EXPECT_FALSE(young.Values()[5]); // before the first weight
    EXPECT_EQ(young.Values()[6], 150.0);
    CJournalDate date;
    EXPECT_EQ(young.GoalOutlook(140, date), EOutlook::Unknown);
    EXPECT_EQ(TrendStatement(young, 140, false),
              "Trend: at least 14 days of weights are needed to tell its weekly rate.");
    const CWeightTrend none({}, kEnd, 3);
    EXPECT_FALSE(none.Current());
    // Weights after the end day do not count.
    const CWeightTrend later({{kEnd.DayNumber() + 1, 150}}, kEnd, 3);
    EXPECT_FALSE(later.Current());
}

TEST(WeightTrendTest, JournalStatementUsesStoredWeightsAndTheGoalInTheUsersUnit) {
    CClock::SetFixedDate(CClock::ParseIsoDate("2004-05-05"));
    CJournalDB journal;
    CJournalDate date = kEnd;
    for (int back = 0; back < 300; ++back, date.StepDays(-1)) {
        journal.GoToDate(date);
        journal.CurrentDay(true)->SetWeight(163 + back / 7.0, false, journal.Profile());
    }
    journal.Profile().SetGoalWeight(160, false);
    EXPECT_EQ(TrendStatement(journal, kEnd),
              "Trend: down 1 lbs a week over the last 14 days. At this rate you reach 160 lbs on "
              "Friday June 4, 2004.");
    CClock::SetFixedDate(std::nullopt);
}
