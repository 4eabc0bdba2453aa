// SPDX-License-Identifier: GPL-3.0-or-later
// The food pane with the shipped default food database: reading the file into the document,
// filling the tree and painting it as the program shows it; and a find with its results list.
#include "core/food/food_db_file.h"
#include "desktop/document/diet_data.h"
#include "desktop/foodedit/find_results_dialog.h"
#include "desktop/foodedit/food_pane.h"
#include "desktop/foodedit/food_tree_ctrl.h"

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

using namespace fitquill;

namespace {

const std::filesystem::path kDefaultFoodDB = FITQUILL_DEFAULT_FOOD_DB;

// One document with the pane in a window of the program's default size.
struct SWorld {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "fitquill_bench_tree";
    std::unique_ptr<CDietData> data;
    std::unique_ptr<QWidget> window;
    CFoodPane* pane = nullptr;

    SWorld() {
        std::filesystem::create_directories(folder);
        data = std::make_unique<CDietData>(
            SDietDataSetup{nullptr, SInstallPath{true, folder.string() + "/"}, folder});
        window = std::make_unique<QWidget>();
        pane = new CFoodPane(*data, window.get());
        pane->setGeometry(0, 0, 190, 640);
        window->resize(190, 640);
    }
    ~SWorld() {
        window.reset();
        data.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

// Made on first use and ended before the application object.
std::unique_ptr<SWorld>& TheWorld() {
    static std::unique_ptr<SWorld> world;
    return world;
}

SWorld& World() {
    if (!TheWorld())
        TheWorld() = std::make_unique<SWorld>();
    return *TheWorld();
}

bool LoadDefault(CFoodDB& db) {
    db = CFoodDB();
    db.SetPaths(kDefaultFoodDB, kDefaultFoodDB.parent_path());
    CFoodDBFile reader(EFoodFileMode::Desktop);
    return reader.Load(db) == EFoodLoadResult::Loaded;
}

void FoodTreeOpenAndPaint(benchmark::State& state) {
    SWorld& world = World();
    QImage canvas(world.pane->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        if (!LoadDefault(world.data->FoodDB())) {
            state.SkipWithError("the default food database could not be read");
            return;
        }
        world.pane->Tree()->Fill();
        QPainter painter(&canvas);
        world.pane->render(&painter);
    }
    state.counters["groups"] = world.data->FoodDB().GroupCount();
    state.counters["tree_items"] = world.pane->Tree()->topLevelItemCount();
}
BENCHMARK(FoodTreeOpenAndPaint)->Unit(benchmark::kMillisecond);

void FoodFindWithResultsList(benchmark::State& state) {
    SWorld& world = World();
    if (!LoadDefault(world.data->FoodDB())) {
        state.SkipWithError("the default food database could not be read");
        return;
    }
    CFoodDB& db = world.data->FoodDB();
    int found = 0;
    for (auto _ : state) {
        db.Find("cheddar");
        CFindResultsDialog dialog(db);
        found = dialog.List()->count();
        benchmark::DoNotOptimize(found);
    }
    state.counters["results"] = found;
}
BENCHMARK(FoodFindWithResultsList)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    TheWorld().reset();
    return 0;
}
