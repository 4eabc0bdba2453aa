// SPDX-License-Identifier: GPL-3.0-or-later
// The default food database made from the shipped USDA data as the build makes it: reading
// the data set, placing and naming every food, writing the files. The build step must stay
// well under 10 seconds.
#include "tools/fooddata/food_data_output.h"
#include "tools/fooddata/food_db_builder.h"
#include "tools/fooddata/usda_data.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

using namespace fitquill;

namespace {

void BM_BuildDefaultFoodDatabase(benchmark::State& state) {
    const std::filesystem::path output =
        std::filesystem::temp_directory_path() / "fitquill-food-data-bench";
    for (auto _ : state) {
        std::string error;
        const auto data = LoadUsdaData(FITQUILL_USDA_DIR, error);
        if (!data) {
            state.SkipWithError(error.c_str());
            break;
        }
        SFoodDataBuild build = BuildFoodDb(*data);
        if (!WriteFoodDataFiles(build, output, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        benchmark::DoNotOptimize(build.report.items);
    }
    std::filesystem::remove_all(output);
}
BENCHMARK(BM_BuildDefaultFoodDatabase)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
