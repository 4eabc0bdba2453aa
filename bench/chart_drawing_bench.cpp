// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the charts from a demonstration journal of ten years: what a click on a period
// button or a date in the calendar costs, reading the journal included.
#include "core/clock.h"
#include "core/journal/chart_series.h"
#include "core/report/chart_scales.h"
#include "desktop/views/charts/chart_painting.h"
#include "desktop/views/charts/historic_weight_renderer.h"
#include "desktop/widgets/fonts.h"
#include "tools/fitquill/demo_journal.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>

using namespace fitquill;

namespace {

const CJournalDate kLastDay(31, 12, 2019);

// Text drawing needs the application's font database.
void EnsureApplication() {
    static std::unique_ptr<QGuiApplication> application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "chart_drawing_bench";
        static char* argv[] = {name, nullptr};
        auto app = std::make_unique<QGuiApplication>(argc, argv);
        RegisterTahoma();
        return app;
    }();
}

CJournalDB& TenYearJournal() {
    static CJournalDB journal = [] {
        CClock::SetFixedDate(CClock::ParseIsoDate("2020-01-15"));
        CJournalDB built;
        SDemoOptions options;
        options.days = 3652;
        options.lastDay = kLastDay;
        CDemoJournal::Fill(built, CDemoJournal::BuiltInFoods(), options);
        built.GoToDate(kLastDay);
        return built;
    }();
    return journal;
}

void HistoricChartWithTrend(benchmark::State& state) {
    EnsureApplication();
    CHistoricWeightRenderer renderer(TenYearJournal(), SChartColours{});
    QImage image(600, 360, QImage::Format_RGB32);
    const int rangeType = static_cast<int>(state.range(0));
    for (auto _ : state) {
        renderer.Prepare(rangeType, kLastDay, true);
        QPainter painter(&image);
        renderer.Paint(painter, image.rect());
    }
    state.SetLabel(CHistoricWeightSeries::Title(rangeType));
    state.counters["days"] = renderer.Series().DayCount();
}
BENCHMARK(HistoricChartWithTrend)->Arg(6)->Arg(0)->Unit(benchmark::kMillisecond);

void MonthHistogram(benchmark::State& state) {
    EnsureApplication();
    CJournalDB& journal = TenYearJournal();
    CPeriodSeries series;
    QImage image(290, 235, QImage::Format_RGB32);
    for (auto _ : state) {
        series.RequestAt(journal, kSeriesCalories, 1, CJournalDate(15, 6, 2015));
        const CHistogramScale scale(
            CHistogramScale::StepFor(series.Maximum(), series.HasNoValues()));
        QPainter painter(&image);
        DrawHistogram(painter, image.rect(), series, scale, SChartColours{});
    }
    state.counters["valued"] = series.ValuedDayCount();
}
BENCHMARK(MonthHistogram)->Unit(benchmark::kMicrosecond);

// The two halves of the historic chart: reading the journal and drawing.
void HistoricPrepareOnly(benchmark::State& state) {
    EnsureApplication();
    CHistoricWeightRenderer renderer(TenYearJournal(), SChartColours{});
    for (auto _ : state)
        renderer.Prepare(6, kLastDay, state.range(0) != 0);
}
BENCHMARK(HistoricPrepareOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
void HistoricPaintOnly(benchmark::State& state) {
    EnsureApplication();
    CHistoricWeightRenderer renderer(TenYearJournal(), SChartColours{});
    renderer.Prepare(6, kLastDay, state.range(0) != 0);
    QImage image(600, 360, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        renderer.Paint(painter, image.rect());
    }
}
BENCHMARK(HistoricPaintOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
