// SPDX-License-Identifier: GPL-3.0-or-later
// Chart series on a journal of ten years of daily records, each with a weight, four meals and
// most with an exercise, as a steady user's journal looks.
#include "core/journal/chart_series.h"

#include "core/clock.h"
#include "core/journal/exercise_entry.h"
#include "core/journal/journal_db.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace fitquill;

namespace {

const CJournalDate kFirstDay(1, 1, 2010);
const CJournalDate kLastDay(31, 12, 2019);

CFoodItem Food(const char* name, int meal, float calories, std::mt19937& random) {
    CFoodItem item;
    item.SetName(name, true);
    item.SetBaseMeasure(CServingMeasure(1, kUnitItem), false);
    item.SetServing(CServingMeasure(static_cast<float>(1 + random() % 2), kUnitItem));
    item.SetMealType(static_cast<uint16_t>(meal));
    item.SetNutrientValue(kNutrientCalories, calories);
    item.SetNutrientValue(kNutrientCarbohydrate, calories / 8);
    item.SetNutrientValue(kNutrientProtein, calories / 20);
    item.SetNutrientValue(kNutrientFat, calories / 30);
    return item;
}

CJournalDB& TenYearJournal() {
    static CJournalDB journal = [] {
        CClock::SetFixedDate(CClock::ParseIsoDate("2020-01-15"));
        CJournalDB built;
        CUserProfile& profile = built.Profile();
        profile.SetHeightCentimetres(178);
        profile.SetAge(40);
        profile.SetStartingWeight(210, false);
        std::mt19937 random(1904);
        std::normal_distribution<double> noise(0.0, 0.6);
        double weight = 210;
        static const char* const kMeals[] = {"Oatmeal", "Sandwich", "Pasta", "Apple"};
        for (CJournalDate date = kFirstDay; date <= kLastDay; date.StepDays(1)) {
            built.GoToDate(date);
            CDayRecord* day = built.CurrentDay(true);
            weight += noise(random) - 0.01;
            day->SetWeight(weight, false, profile);
            for (int meal = 0; meal < 4; ++meal)
                day->FoodLog().AddEntry(
                    0, Food(kMeals[meal], meal, static_cast<float>(200 + random() % 400), random),
                    built.IdGenerator());
            if (random() % 3 != 0) {
                CExerciseEntry walk;
                walk.SetMinutes(30);
                walk.SetCalories(180);
                day->Exercises().Add(walk, built.IdGenerator());
            }
        }
        built.GoToDate(kLastDay);
        return built;
    }();
    return journal;
}

void HistoricWeightSeries(benchmark::State& state) {
    CJournalDB& journal = TenYearJournal();
    CHistoricWeightSeries series;
    const int rangeType = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(series.Request(journal, rangeType, kLastDay));
    state.SetLabel(CHistoricWeightSeries::Title(rangeType));
    state.counters["days"] = series.DayCount();
    state.counters["records"] = journal.DayCount();
}
BENCHMARK(HistoricWeightSeries)->Arg(6)->Arg(2)->Unit(benchmark::kMillisecond);

void MonthSeries(benchmark::State& state) {
    CJournalDB& journal = TenYearJournal();
    CPeriodSeries series;
    const int type = static_cast<int>(state.range(0));
    for (auto _ : state)
        series.RequestAt(journal, type, 1, CJournalDate(15, 6, 2015));
    state.counters["valued"] = series.ValuedDayCount();
}
BENCHMARK(MonthSeries)->Arg(kSeriesCalories)->Arg(kSeriesWeight)->Unit(benchmark::kMicrosecond);

} // namespace
