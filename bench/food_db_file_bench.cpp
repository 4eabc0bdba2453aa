// SPDX-License-Identifier: GPL-3.0-or-later
// The food database file at the size of the shipped one (8,000 items with all nutrients): save
// and load, each next to a plain write or read of the same bytes, and the memory a loaded
// database keeps against the file size.
#include "bench/allocation_counter.h"
#include "bench/bench_files.h"
#include "bench/bench_food_db.h"
#include "core/food/food_db_file.h"

#include <benchmark/benchmark.h>

using namespace fitquill;

namespace {

const std::vector<uint8_t>& FoodBytes() {
    static const std::vector<uint8_t> bytes = [] {
        CFoodDB db = BenchFoodDB();
        return CFoodDBFile::Pack(db);
    }();
    return bytes;
}

const CBenchFile& FoodFile() {
    static const CBenchFile file("FoodDB.ddb");
    static const bool written = PlainWrite(file.Path(), FoodBytes());
    (void)written;
    return file;
}

void SetFileCounters(benchmark::State& state) {
    state.counters["file_MB"] = static_cast<double>(FoodBytes().size()) / 1e6;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(FoodBytes().size()));
}

void FoodDBSave(benchmark::State& state) {
    CFoodDB db = BenchFoodDB();
    const CBenchFile file("FoodDB_save.ddb");
    db.SetPaths(file.Path(), file.Path().parent_path());
    CFoodDBFile writer(EFoodFileMode::Conduit);
    const CRatioToBaseline ratio;
    for (auto _ : state) {
        if (!writer.Save(db))
            state.SkipWithError(writer.LastError().c_str());
    }
    const CBenchFile plain("FoodDB_ratio.ddb");
    ratio.Set(state, "x_plain_write", [&] { PlainWrite(plain.Path(), FoodBytes()); });
    SetFileCounters(state);
}
BENCHMARK(FoodDBSave)->Unit(benchmark::kMillisecond);

void FoodDBPlainWrite(benchmark::State& state) {
    const CBenchFile file("FoodDB_plain.ddb");
    for (auto _ : state) {
        if (!PlainWrite(file.Path(), FoodBytes()))
            state.SkipWithError("plain write failed");
    }
    SetFileCounters(state);
}
BENCHMARK(FoodDBPlainWrite)->Unit(benchmark::kMillisecond);

void FoodDBLoad(benchmark::State& state) {
    const CBenchFile& file = FoodFile();
    const CRatioToBaseline ratio;
    for (auto _ : state) {
        CFoodDB db;
        db.SetPaths(file.Path(), file.Path().parent_path());
        CFoodDBFile reader(EFoodFileMode::Conduit);
        if (reader.Load(db) != EFoodLoadResult::Loaded)
            state.SkipWithError(reader.LastError().c_str());
        benchmark::DoNotOptimize(db);
    }
    std::vector<uint8_t> plain;
    ratio.Set(state, "x_plain_read", [&] {
        PlainRead(file.Path(), plain);
        benchmark::DoNotOptimize(plain.data());
    });
    SetFileCounters(state);

    {
        const CCountAllocations counting;
        const int64_t before = LiveHeapBytes();
        CFoodDB db;
        db.SetPaths(file.Path(), file.Path().parent_path());
        CFoodDBFile(EFoodFileMode::Conduit).Load(db);
        const auto size = static_cast<double>(FoodBytes().size());
        const auto kept = static_cast<double>(LiveHeapBytes() - before);
        state.counters["kept_MB"] = kept / 1e6;
        state.counters["kept_per_file_byte"] = kept / size;
        state.counters["peak_per_file_byte"] = static_cast<double>(PeakHeapBytes() - before) / size;
    }
}
BENCHMARK(FoodDBLoad)->Unit(benchmark::kMillisecond);

void FoodDBPlainRead(benchmark::State& state) {
    const CBenchFile& file = FoodFile();
    std::vector<uint8_t> bytes;
    for (auto _ : state) {
        if (!PlainRead(file.Path(), bytes))
            state.SkipWithError("plain read failed");
        benchmark::DoNotOptimize(bytes.data());
    }
    SetFileCounters(state);
}
BENCHMARK(FoodDBPlainRead)->Unit(benchmark::kMillisecond);

} // namespace
