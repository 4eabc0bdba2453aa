// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/chart_description.h"
#include "core/report/chart_scales.h"

#include "core/clock.h"
#include "core/journal/chart_series.h"
#include "core/journal/journal_db.h"
#include "core/report/historic_chart.h"
#include "core/report/weight_for_height.h"

#include <gtest/gtest.h>

#include <vector>

using namespace fitquill;

TEST(WeightChartScaleTest, StepAndPixelsFollowTheSpanOfWholeWeights) {
    struct {
        float largest, smallest;
        int diff, step, pixels;
    } cases[] = {
        {151, 150, 1, 1, 20},   {150.9f, 150.1f, 0, 1, 20}, // cut to whole numbers first
        {160, 150, 10, 2, 10},  {168, 150, 18, 2, 10},      {177, 150, 27, 4, 5}, // 3 becomes 4
        {186, 150, 36, 4, 5},   {187, 150, 37, 10, 2},      {240, 150, 90, 10, 2},
        {241, 150, 91, 20, 1},  {330, 150, 180, 20, 1},     {331, 150, 181, 21, 0},
        {300, 100, 200, 23, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.largest << " / " << c.smallest);
        const CWeightChartScale scale(c.largest, c.smallest);
        EXPECT_EQ(scale.Diff(), c.diff);
        EXPECT_EQ(scale.Step(), c.step);
        EXPECT_EQ(scale.PixelsPerUnit(), c.pixels);
        EXPECT_EQ(scale.HasScale(), c.pixels != 0);
    }
}

TEST(WeightChartScaleTest, TopCentresTheWeightsAndPlacesValuesTwentyPixelsPerUnit) {
    const CWeightChartScale scale(151, 150);
    EXPECT_EQ(scale.Top(), 155); // 151 + (9 + 150 - 151) / 2
    EXPECT_EQ(scale.LabelValue(0), 155);
    EXPECT_EQ(scale.LabelValue(9), 146);
    EXPECT_DOUBLE_EQ(scale.ValueY(151), 4 * 20 + 20);
    EXPECT_DOUBLE_EQ(scale.ValueY(150.5), 4.5 * 20 + 20);
    // Both weights lie between the top and bottom labels.
    EXPECT_GT(scale.ValueY(150), scale.ValueY(155));
    EXPECT_LT(scale.ValueY(150), scale.ValueY(146));

    const CWeightChartScale wide(240, 150);
    EXPECT_EQ(wide.Top(), 240); // (90 + 150 - 240) / 2 = 0
    EXPECT_EQ(wide.LabelValue(9), 150);
}

TEST(HistogramScaleTest, StepComesFromTheLargestValue) {
    struct {
        float largest;
        int step;
    } cases[] = {
        {0, 5},      {40, 5},     {40.5f, 10}, {41, 10},    {80, 10},
        {80.1f, 25}, {200, 25},   {201, 50},   {400, 50},   {800, 100},
        {1600, 200}, {2400, 300}, {3200, 400}, {3201, 500}, {99999, 500},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.largest);
        EXPECT_EQ(CHistogramScale::StepFor(c.largest, false), c.step);
    }
    EXPECT_EQ(CHistogramScale::StepFor(41, true), 50); // an empty series
    const CHistogramScale scale(CHistogramScale::StepFor(41, false));
    EXPECT_EQ(scale.Top(), 90);
    EXPECT_EQ(scale.LabelValue(0), 90);
    EXPECT_EQ(scale.LabelValue(8), 10);
    EXPECT_EQ(CHistogramScale().Step(), 50);
}

TEST(HistogramScaleTest, BarsAreCutAtTheTopAndTargetsOutsideTheAxisAreNotDrawn) {
    const CHistogramScale scale(10);
    EXPECT_DOUBLE_EQ(scale.BarTopY(45), 4.5 * 20 + 22);
    EXPECT_DOUBLE_EQ(scale.BarTopY(90), 22);
    EXPECT_DOUBLE_EQ(scale.BarTopY(5000), 22);
    EXPECT_DOUBLE_EQ(scale.BarTopY(0), 9 * 20 + 22);
    double y = 0;
    EXPECT_TRUE(scale.TargetY(30, y));
    EXPECT_DOUBLE_EQ(y, 6 * 20 + 22);
    EXPECT_FALSE(scale.TargetY(91, y));
    EXPECT_FALSE(scale.TargetY(-1, y));
    EXPECT_EQ(CHistogramScale::StepIndex(25), 2);
    EXPECT_EQ(CHistogramScale::StepIndex(23), -1);
}

TEST(HistogramScaleTest, BarIsDarkRedOnlyOverANonNegativeTarget) {
    EXPECT_EQ(BarColour(2100, 2000), EBarColour::DarkRed);
    EXPECT_EQ(BarColour(0.5f, 0), EBarColour::DarkRed);
    EXPECT_EQ(BarColour(2000, 2000), EBarColour::DarkBlue);
    EXPECT_EQ(BarColour(1500, 2000), EBarColour::DarkBlue);
    EXPECT_EQ(BarColour(5000, -1), EBarColour::DarkBlue);
}

TEST(PeriodDayLabelsTest, WeekLettersAndMonthNumbers) {
    std::vector<std::string> week;
    for (const SDayLabel& label : PeriodDayLabels(false, 7))
        week.push_back(label.text);
    EXPECT_EQ(week, (std::vector<std::string>{"S", "M", "T", "W", "T", "F", "S"}));
    EXPECT_EQ(PeriodDayLabels(false, 7)[6].day, 6);

    EXPECT_EQ(PeriodDayLabels(true, 29),
              (std::vector<SDayLabel>{
                  {0, "1"}, {4, "5"}, {9, "10"}, {14, "15"}, {19, "20"}, {24, "25"}, {28, "29"}}));
    for (int days : {28, 30, 31}) {
        const auto labels = PeriodDayLabels(true, days);
        ASSERT_EQ(labels.size(), 7u);
        EXPECT_EQ(labels.back().text, std::to_string(days));
        EXPECT_EQ(labels.back().day, days - 1);
    }
    EXPECT_EQ(PeriodLabel(false, CJournalDate(28, 12, 2003), 7), "12/28/2003 - 1/3/2004");
    EXPECT_EQ(PeriodLabel(true, CJournalDate(1, 2, 2004), 29), "February 2004");
    EXPECT_EQ(DaySpacing(false), 30);
    EXPECT_EQ(DaySpacing(true), 6);
}

namespace {

class HistoricChartLayoutTest : public testing::Test {
protected:
    void SetUp() override { CClock::SetFixedDate(CClock::ParseIsoDate("2004-06-01")); }
    void TearDown() override { CClock::SetFixedDate(std::nullopt); }

    void Weigh(const CJournalDate& date, double weight) {
        journal.GoToDate(date);
        journal.CurrentDay(true)->SetWeight(weight, false, journal.Profile());
    }

    CJournalDB journal;
    CHistoricWeightSeries series;
};

} // namespace

TEST_F(HistoricChartLayoutTest, AxisReachesAboveTheHeaviestWeightEvenWhenLabelsAreCut) {
    Weigh(CJournalDate(1, 3, 2004), 150.2);
    Weigh(CJournalDate(2, 3, 2004), 149.6);
    ASSERT_EQ(series.Request(journal, 0, CJournalDate(3, 3, 2004)), 2);
    const CHistoricChartLayout layout(series, 0, 0, 440, 225);
    ASSERT_TRUE(layout.CanPlot());
    // The series labels are 148, 149, 150; 150.2 would lie above the top one.
    EXPECT_EQ(layout.AxisLabels(), (std::vector<int>{148, 149, 150, 151}));
    EXPECT_DOUBLE_EQ(layout.PlotLeft(), 40);
    EXPECT_DOUBLE_EQ(layout.PlotBottom(), 200);
    EXPECT_DOUBLE_EQ(layout.ValueY(148), 200);
    EXPECT_DOUBLE_EQ(layout.ValueY(151), 0);
    EXPECT_TRUE(layout.ValueInside(150.2));
    EXPECT_FALSE(layout.ValueInside(152));
    // Eight days in eight columns of 50 pixels, each label under its own day.
    EXPECT_DOUBLE_EQ(layout.DayX(0), 65);
    EXPECT_DOUBLE_EQ(layout.DayX(7), 415);
    EXPECT_EQ(layout.LabelDays(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));

    // On paper the margins grow with the device's unit.
    const CHistoricChartLayout paper(series, 100, 50, 4000, 2000, 10);
    EXPECT_DOUBLE_EQ(paper.PlotLeft(), 500);
    EXPECT_DOUBLE_EQ(paper.PlotBottom(), 1800);
}

TEST_F(HistoricChartLayoutTest, MonthLabelsSitOnTheirDatesAndOneWeightCannotBePlotted) {
    Weigh(CJournalDate(10, 3, 2004), 180);
    ASSERT_EQ(series.Request(journal, 2, CJournalDate(31, 3, 2004)), 1);
    EXPECT_FALSE(CHistoricChartLayout(series, 0, 0, 400, 300).CanPlot());

    Weigh(CJournalDate(31, 3, 2004), 178);
    ASSERT_EQ(series.Request(journal, 3, CJournalDate(31, 3, 2004)), 2);
    const CHistoricChartLayout layout(series, 0, 0, 400, 300);
    ASSERT_TRUE(layout.CanPlot());
    // 12/28/2003 (day 0 of 95), 1/28, 2/28 and 3/31: the month steps cut the day to 28.
    ASSERT_EQ(series.DayCount(), 95);
    EXPECT_EQ(layout.LabelDays(), (std::vector<int>{0, 31, 62, 94}));
}

TEST(WeightForHeightTest, ZonesFollowTheBodyMassIndexInEitherUnitSystem) {
    const CWeightForHeightChart pounds(0, false);
    EXPECT_STREQ(pounds.Caption(), "Male Weight Chart");
    EXPECT_NEAR(pounds.WeightAtIndex(18.5, 70), 128.9, 0.05);
    EXPECT_NEAR(pounds.WeightAtIndex(25, 70), 174.2, 0.05);
    EXPECT_NEAR(pounds.WeightAtIndex(30, 70), 209.1, 0.05);
    EXPECT_NEAR(pounds.BodyMassIndex(70, 174.2), 25.0, 0.01);
    EXPECT_EQ(pounds.Zone(70, 128), 0);
    EXPECT_EQ(pounds.Zone(70, 130), 1);
    EXPECT_EQ(pounds.Zone(70, 175), 2);
    EXPECT_EQ(pounds.Zone(70, 210), 3);

    const CWeightForHeightChart kilograms(1, true);
    EXPECT_STREQ(kilograms.Caption(), "Female Weight Chart");
    EXPECT_DOUBLE_EQ(kilograms.WeightAtIndex(25, 160), 64);
    EXPECT_EQ(kilograms.Zone(160, 47.3), 0);
    EXPECT_EQ(kilograms.Zone(160, 47.4), 1); // 18.52
    EXPECT_EQ(kilograms.Zone(160, 64), 2);   // exactly 25 is over
    EXPECT_EQ(kilograms.Zone(160, 76.8), 3); // exactly 30
    // The ranges hold a plausible adult and all four zones.
    for (const CWeightForHeightChart& chart : {pounds, kilograms}) {
        EXPECT_LT(chart.MinHeight(), chart.MaxHeight());
        EXPECT_LT(chart.MinWeight(), chart.WeightAtIndex(18.5, chart.MaxHeight()));
        EXPECT_GT(chart.MaxWeight(), chart.WeightAtIndex(30, chart.MinHeight()));
    }
    EXPECT_STREQ(CWeightForHeightChart::ZoneLabel(0), "= Under");
    EXPECT_STREQ(CWeightForHeightChart::ZoneLabel(3), "= Obese");
    EXPECT_STREQ(CWeightForHeightChart::ZoneLabel(4), "");
}

TEST(ChartDescriptionTest, SaysWhatTheChartShowsInWords) {
    const CJournalDate sunday(10, 3, 2024);
    struct {
        std::vector<float> values;
        bool histogram;
        const char* text;
    } cases[] = {
        // Days without a value (-1) are left out; whole values stay whole.
        {{180.5f, -1, 178.0f, 181.2f, -1},
         false,
         "first 180.5 on 3/10/2024, last 181.2 on 3/13/2024, lowest 178, highest 181.2"},
        {{-1, 2100, 0, -1, 1950.5f}, true, "3/11 2100, 3/12 0, 3/14 1950.5"},
        {{-1, 150, 149},
         false,
         "first 150 on 3/11/2024, last 149 on 3/12/2024, lowest 149, highest 150"},
        {{-1, -1}, false, "no values"},
        {{}, true, "no values"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChartDescription(c.values, sunday, c.histogram), c.text);
    // Dates run on across the month's end.
    std::vector<float> march(23, -1);
    march.back() = 5;
    EXPECT_EQ(ChartDescription(march, sunday, true), "4/1 5");
}
