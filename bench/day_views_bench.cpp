// SPDX-License-Identifier: GPL-3.0-or-later
// The day's pages on a ten-year journal (3,650 days of 15 food entries and 2 exercises, as the
// journal file benchmark builds it): one refresh of the views with the meal log, the daily
// notes and the day entry tabs alive, and one paint of a full screen of the meal log grid.
#include "bench/bench_food_db.h"
#include "desktop/document/diet_data.h"
#include "desktop/views/dayentry/day_entry_tabs.h"
#include "desktop/views/journal/daily_notes_page.h"
#include "desktop/views/journal/food_grid_ctrl.h"
#include "desktop/widgets/fonts.h"
#include "tools/fitquill/demo_journal.h"

#include <QApplication>
#include <QImage>
#include <QTabBar>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

using namespace fitquill;

namespace {

constexpr int kTenYears = 3650;

// The application, the document with the journal and the pages, made once.
struct SViews {
    std::unique_ptr<QApplication> app;
    std::unique_ptr<CDietData> data;
    std::unique_ptr<CFoodGridCtrl> grid;
    std::unique_ptr<CDailyNotesPage> notes;
    std::unique_ptr<QTabBar> tabBar;
    std::unique_ptr<CDayEntryTabs> tabs;
};

SViews& Views() {
    static SViews views = [] {
        SViews made;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "day_views_bench";
        static char* argv[] = {name, nullptr};
        made.app = std::make_unique<QApplication>(argc, argv);
        RegisterTahoma();
        SDietDataSetup setup;
        setup.installPath = {
            true, (std::filesystem::temp_directory_path() / "fitquill_bench_views" / "").string()};
        made.data = std::make_unique<CDietData>(setup);
        SDemoOptions options;
        options.days = kTenYears;
        options.seed = 2024;
        options.lastDay = CJournalDate(15, 3, 2024);
        options.foodEntriesPerDay = 15;
        options.exercisesPerDay = 2;
        CDemoJournal::Fill(made.data->Journal(), BenchFoodDB(), options);
        made.data->Journal().GoToDate(options.lastDay);
        made.grid = std::make_unique<CFoodGridCtrl>(*made.data);
        made.grid->resize(680, 1000);
        made.notes = std::make_unique<CDailyNotesPage>(*made.data);
        made.tabBar = std::make_unique<QTabBar>();
        for (const char* title : {"Weight", " BMR", "Exercise", "Targets", "Charts",
                                  "Blood Pressure", "Body Measurements"})
            made.tabBar->addTab(QString::fromLatin1(title));
        made.tabs = std::make_unique<CDayEntryTabs>(*made.data, made.tabBar.get());
        made.tabs->resize(272, 480);
        return made;
    }();
    return views;
}

void RefreshViewsOfTheDay(benchmark::State& state) {
    SViews& views = Views();
    for (auto _ : state)
        views.data->RefreshViews();
    state.counters["days"] = views.data->Journal().DayCount();
}
BENCHMARK(RefreshViewsOfTheDay)->Unit(benchmark::kMillisecond);

void PaintMealLogScreen(benchmark::State& state) {
    SViews& views = Views();
    QWidget* viewport = views.grid->viewport();
    QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        viewport->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["rows_shown"] = views.grid->VisibleRows() + 1;
}
BENCHMARK(PaintMealLogScreen)->Unit(benchmark::kMillisecond);

} // namespace
