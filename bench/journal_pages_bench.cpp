// SPDX-License-Identifier: GPL-3.0-or-later
// Painting the pages that read the whole journal, on a demonstration journal of ten years: a
// full screen of the summary table and of the nutrient table, and the logbook page.
#include "core/clock.h"
#include "desktop/document/diet_data.h"
#include "desktop/views/logbook_page.h"
#include "desktop/views/table_grid.h"
#include "tools/fitquill/demo_journal.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace fitquill;

namespace {

// The size of the page area of a maximised window on a 1280 x 1024 screen.
constexpr int kPageWidth = 620;
constexpr int kPageHeight = 760;

struct SWorld {
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<QApplication> app;
    std::unique_ptr<CDietData> data;
};

SWorld& World() {
    static SWorld world = [] {
        SWorld made;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "journal_pages_bench";
        static char* argv[] = {name, nullptr};
        made.app = std::make_unique<QApplication>(argc, argv);
        made.folder = std::make_unique<QTemporaryDir>();
        // The document reads and writes settings: keep them out of the user's own.
        qputenv("XDG_CONFIG_HOME", made.folder->path().toUtf8());
        CClock::SetFixedDate(CClock::ParseIsoDate("2020-01-15"));
        SDietDataSetup setup;
        setup.installPath = SInstallPath{true, made.folder->path().toStdString() + "/"};
        setup.dataFolder = made.folder->path().toStdString();
        made.data = std::make_unique<CDietData>(setup);
        SDemoOptions options;
        options.days = 3650;
        options.lastDay = CJournalDate(31, 12, 2019);
        CDemoJournal::Fill(made.data->Journal(), CDemoJournal::BuiltInFoods(), options);
        made.data->Journal().GoToDate(CJournalDate(15, 6, 2015));
        return made;
    }();
    return world;
}

// Paints the widget's viewport into an image, as the screen would get it, once per iteration.
void PaintLoop(benchmark::State& state, QWidget& viewport) {
    QImage image(viewport.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        viewport.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}

void BM_SummaryTablePaint(benchmark::State& state) {
    CSummaryGrid grid(*World().data);
    grid.resize(kPageWidth, kPageHeight);
    grid.show();
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum() / 2);
    PaintLoop(state, *grid.viewport());
}
BENCHMARK(BM_SummaryTablePaint)->Unit(benchmark::kMillisecond);

void BM_NutrientTablePaint(benchmark::State& state) {
    World().data->SetNutrientTable(static_cast<int>(state.range(0)));
    CNutrientTablesPage page(*World().data);
    page.resize(kPageWidth, kPageHeight);
    page.show();
    page.Grid()->verticalScrollBar()->setValue(page.Grid()->verticalScrollBar()->maximum() / 2);
    PaintLoop(state, *page.Grid()->viewport());
}
BENCHMARK(BM_NutrientTablePaint)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond);

void BM_LogbookPagePaint(benchmark::State& state) {
    CLogbookPage page(*World().data);
    page.resize(kPageWidth, kPageHeight);
    page.show();
    PaintLoop(state, *page.viewport());
}
BENCHMARK(BM_LogbookPagePaint)->Unit(benchmark::kMillisecond);

} // namespace
