// SPDX-License-Identifier: GPL-3.0-or-later
// Food-data import and export, and the food find, at the size of a full food database: 8,000
// items in 20 groups of 8 categories of 50 items.
#include "core/food/food_csv.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

using namespace fitquill;

namespace {

constexpr int kGroups = 20;
constexpr int kCategoriesPerGroup = 8;
constexpr int kItemsPerCategory = 50;

const char* const kWords[] = {"Apple", "Bean",  "Cheese", "Dried", "Egg",   "Fish", "Grain",
                              "Ham",   "Icing", "Juice",  "Kale",  "Lemon", "Milk", "Nut",
                              "Oat",   "Pasta", "Rice",   "Soup",  "Tea",   "Yam"};

// Plausible items: a volume or item measure, often a weight too, the serving on one of them.
CFoodItem RandomItem(std::mt19937& random, const std::string& name) {
    std::uniform_int_distribution<int> pick(0, 99);
    CFoodItem item;
    item.SetName(name, true);
    const bool hasWeight = pick(random) < 70;
    const bool itemUnit = pick(random) < 30;
    const CServingMeasure volume(static_cast<float>(1 + pick(random) % 4) * 0.5f,
                                 itemUnit ? static_cast<uint8_t>(kUnitItem)
                                          : static_cast<uint8_t>(pick(random) % 10));
    const CServingMeasure weight(static_cast<float>(10 + pick(random) * 3), kUnitGram);
    if (hasWeight)
        item.SetBaseMeasure(weight, true);
    item.SetBaseMeasure(volume, true);
    item.SetServing(hasWeight && pick(random) < 50 ? weight : volume);
    item.SetNutrientValue(kNutrientCalories, static_cast<float>(pick(random) * 7));
    for (int n = 1; n < kBasicNutrientCount; ++n)
        item.SetNutrientValue(n, static_cast<float>(pick(random)) / 3.0f);
    return item;
}

const CFoodDB& FullDatabase() {
    static const CFoodDB db = [] {
        CFoodDB built;
        std::mt19937 random(2004);
        for (int g = 0; g < kGroups; ++g) {
            const int group = built.AddGroup(CFoodGroup(std::string(kWords[g]) + ", Misc"));
            for (int c = 0; c < kCategoriesPerGroup; ++c) {
                const auto gi = static_cast<uint16_t>(group);
                const int category =
                    built.AddCategory(gi, CFoodCategory("Kind " + std::to_string(c)));
                for (int i = 0; i < kItemsPerCategory; ++i) {
                    char name[24];
                    std::snprintf(name, sizeof name, "%s %s %d", kWords[(i * 7 + c) % 20],
                                  kWords[(i + g) % 20], i);
                    built.AddFoodItem(gi, static_cast<uint16_t>(category),
                                      RandomItem(random, name));
                }
            }
        }
        return built;
    }();
    return db;
}

const std::string& FullText() {
    static const std::string text = *CFoodCsv::ExportText(FullDatabase());
    return text;
}

// The same items, all in one category and in no particular order: the worst case for the
// sorted insertion of the database.
const std::string& OneCategoryText() {
    static const std::string text = [] {
        std::string all;
        std::mt19937 random(7);
        std::vector<std::string> lines;
        for (int i = 0; i < kGroups * kCategoriesPerGroup * kItemsPerCategory; ++i) {
            char name[24];
            std::snprintf(name, sizeof name, "%s %d", kWords[random() % 20], i);
            lines.push_back(*CFoodCsv::ItemLine(RandomItem(random, name), "Everything", "All"));
        }
        for (const std::string& line : lines)
            all += line;
        return all;
    }();
    return text;
}

void ImportIntoEmpty(benchmark::State& state) {
    const std::string& text = FullText();
    for (auto _ : state) {
        CFoodDB db;
        const SFoodImportResult result =
            CFoodCsv::ImportText(db, text, EFoodImportMode::ImportedWins);
        if (!result.ok)
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(db);
    }
    state.counters["lines"] = kGroups * kCategoriesPerGroup * kItemsPerCategory;
}
BENCHMARK(ImportIntoEmpty)->Unit(benchmark::kMillisecond);

void ImportIntoFull(benchmark::State& state) {
    const std::string& text = FullText();
    const auto mode = static_cast<EFoodImportMode>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        CFoodDB db = FullDatabase();
        state.ResumeTiming();
        if (!CFoodCsv::ImportText(db, text, mode).ok)
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(db);
    }
}
BENCHMARK(ImportIntoFull)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

void ImportFromFile(benchmark::State& state) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "fitquill_food_csv_bench.csv";
    CFoodCsv::ExportAll(FullDatabase(), path);
    for (auto _ : state) {
        CFoodDB db;
        if (!CFoodCsv::Import(db, path, EFoodImportMode::ReplaceDatabase).ok)
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(db);
    }
    std::filesystem::remove(path);
}
BENCHMARK(ImportFromFile)->Unit(benchmark::kMillisecond);

void ImportOneUnsortedCategory(benchmark::State& state) {
    const std::string& text = OneCategoryText();
    for (auto _ : state) {
        CFoodDB db;
        if (!CFoodCsv::ImportText(db, text, EFoodImportMode::ImportedWins).ok)
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(db);
    }
}
BENCHMARK(ImportOneUnsortedCategory)->Unit(benchmark::kMillisecond);

void ExportText(benchmark::State& state) {
    const CFoodDB& db = FullDatabase();
    for (auto _ : state) {
        std::optional<std::string> text = CFoodCsv::ExportText(db);
        benchmark::DoNotOptimize(text);
    }
    state.counters["bytes"] = static_cast<double>(FullText().size());
}
BENCHMARK(ExportText)->Unit(benchmark::kMillisecond);

void ExportFile(benchmark::State& state) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "fitquill_food_csv_bench_out.csv";
    for (auto _ : state) {
        if (!CFoodCsv::ExportAll(FullDatabase(), path))
            state.SkipWithError("export failed");
    }
    std::filesystem::remove(path);
}
BENCHMARK(ExportFile)->Unit(benchmark::kMillisecond);

// A text found in many search names (the result list fills up and the search stops early), one
// found in a few, and one found nowhere (every item is looked at).
void Find(benchmark::State& state) {
    static const char* const kTexts[] = {"apple", "oat pasta 4", "zzz"};
    CFoodDB db = FullDatabase();
    const char* text = kTexts[state.range(0)];
    for (auto _ : state) {
        db.Find(text);
        benchmark::DoNotOptimize(db.SearchResultCount());
    }
    state.SetLabel(text);
    state.counters["results"] = db.SearchResultCount();
}
BENCHMARK(Find)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

} // namespace
