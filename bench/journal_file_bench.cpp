// SPDX-License-Identifier: GPL-3.0-or-later
// The journal file at the scale of ten years of daily use: 3,650 days of 15 food entries and 2
// exercises, made by the demo generator from a full-size food database. Each time is shown
// next to a plain read or write of the same bytes; the read reports the memory the loaded
// journal keeps, against the file size.
#include "bench/allocation_counter.h"
#include "bench/bench_files.h"
#include "bench/bench_food_db.h"
#include "core/food/food_db_file.h"
#include "core/journal/journal_file.h"
#include "tools/fitquill/demo_journal.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

using namespace fitquill;

namespace {

constexpr int kTenYears = 3650;

// The foods of the entries: argument 0 takes them from a full-size food database, whose items
// carry all 34 nutrients like the shipped one's; 1 from the generator's own short list, whose
// items carry the six basic nutrients only.
struct STenYears {
    CJournalDB journal;
    std::vector<uint8_t> bytes;
    std::unique_ptr<CBenchFile> file; // the bytes, for the read benchmarks
};

const STenYears& TenYears(int64_t foods) {
    static std::map<int64_t, STenYears> made;
    auto it = made.find(foods);
    if (it == made.end()) {
        SDemoOptions options;
        options.days = kTenYears;
        options.seed = 2024;
        options.lastDay = CJournalDate(15, 3, 2024);
        options.foodEntriesPerDay = 15;
        options.exercisesPerDay = 2;
        STenYears years;
        CDemoJournal::Fill(years.journal, foods == 0 ? BenchFoodDB() : CFoodDB(), options);
        years.bytes = CJournalFile::Pack(years.journal);
        years.file = std::make_unique<CBenchFile>("journal_read_" + std::to_string(foods) + ".ddb");
        PlainWrite(years.file->Path(), years.bytes);
        it = made.emplace(foods, std::move(years)).first;
    }
    return it->second;
}

void SetFileCounters(benchmark::State& state, const STenYears& years) {
    state.counters["file_MB"] = static_cast<double>(years.bytes.size()) / 1e6;
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(years.bytes.size()));
    state.SetLabel(state.range(0) == 0 ? "34 nutrients an entry" : "6 nutrients an entry");
}

// The yardsticks of the ratios: one plain write or read of the same bytes.
void SetPlainWriteRatio(benchmark::State& state, const CRatioToBaseline& ratio,
                        const std::vector<uint8_t>& bytes) {
    const CBenchFile plain("journal_ratio.ddb");
    ratio.Set(state, "x_plain_write", [&] { PlainWrite(plain.Path(), bytes); });
}

void SetPlainReadRatio(benchmark::State& state, const CRatioToBaseline& ratio,
                       const CBenchFile& file) {
    std::vector<uint8_t> bytes;
    ratio.Set(state, "x_plain_read", [&] {
        PlainRead(file.Path(), bytes);
        benchmark::DoNotOptimize(bytes.data());
    });
}

void JournalWrite(benchmark::State& state) {
    const STenYears& years = TenYears(state.range(0));
    CJournalDB journal = years.journal;
    const CBenchFile file("journal_write.ddb");
    journal.SetFilePath(file.Path().string());
    journal.SetFolderPath(file.Path().parent_path().string());
    const CRatioToBaseline ratio;
    for (auto _ : state) {
        std::string error;
        if (!CJournalFile::Write(journal, &error))
            state.SkipWithError(error.c_str());
    }
    SetPlainWriteRatio(state, ratio, years.bytes);
    SetFileCounters(state, TenYears(state.range(0)));
}
BENCHMARK(JournalWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// What a recovery copy of the desktop program costs the user-interface thread, which packs the
// document (the file is written on a worker thread): ten years of journal (argument 0) and a
// full-size food database (argument 1).
void RecoveryCopyOnTheUserInterfaceThread(benchmark::State& state) {
    CJournalDB journal = TenYears(0).journal;
    CFoodDB food = BenchFoodDB();
    const std::vector<uint8_t> packed =
        state.range(0) == 0 ? CJournalFile::Pack(journal) : CFoodDBFile::Pack(food);
    const CRatioToBaseline ratio;
    for (auto _ : state) {
        std::vector<uint8_t> bytes =
            state.range(0) == 0 ? CJournalFile::Pack(journal) : CFoodDBFile::Pack(food);
        benchmark::DoNotOptimize(bytes.data());
    }
    SetPlainWriteRatio(state, ratio, packed);
    state.SetLabel(state.range(0) == 0 ? "journal" : "food database");
}
BENCHMARK(RecoveryCopyOnTheUserInterfaceThread)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void JournalPlainWrite(benchmark::State& state) {
    const STenYears& years = TenYears(state.range(0));
    const CBenchFile file("journal_plain.ddb");
    for (auto _ : state) {
        if (!PlainWrite(file.Path(), years.bytes))
            state.SkipWithError("plain write failed");
    }
    SetFileCounters(state, TenYears(state.range(0)));
}
BENCHMARK(JournalPlainWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Packing alone, without the file: where the write's time goes.
void JournalPack(benchmark::State& state) {
    const STenYears& years = TenYears(state.range(0));
    CJournalDB journal = years.journal;
    const CRatioToBaseline ratio;
    for (auto _ : state) {
        std::vector<uint8_t> bytes = CJournalFile::Pack(journal);
        benchmark::DoNotOptimize(bytes.data());
    }
    SetPlainWriteRatio(state, ratio, years.bytes);
    SetFileCounters(state, TenYears(state.range(0)));
}
BENCHMARK(JournalPack)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void JournalRead(benchmark::State& state) {
    const STenYears& years = TenYears(state.range(0));
    const CBenchFile& file = *years.file;
    const CRatioToBaseline ratio;
    for (auto _ : state) {
        CJournalDB journal;
        journal.SetFilePath(file.Path().string());
        std::string error;
        if (!CJournalFile::Read(journal, &error) || journal.DayCount() != kTenYears)
            state.SkipWithError(error.empty() ? "wrong day count" : error.c_str());
        benchmark::DoNotOptimize(journal);
    }
    SetPlainReadRatio(state, ratio, file);
    SetFileCounters(state, TenYears(state.range(0)));

    // What the loaded journal keeps in memory, and the most the read needed on the way.
    {
        const CCountAllocations counting;
        const int64_t before = LiveHeapBytes();
        CJournalDB journal;
        journal.SetFilePath(file.Path().string());
        CJournalFile::Read(journal);
        const auto size = static_cast<double>(years.bytes.size());
        const auto kept = static_cast<double>(LiveHeapBytes() - before);
        state.counters["kept_MB"] = kept / 1e6;
        state.counters["kept_per_file_byte"] = kept / size;
        state.counters["peak_per_file_byte"] = static_cast<double>(PeakHeapBytes() - before) / size;
    }
}
BENCHMARK(JournalRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void JournalPlainRead(benchmark::State& state) {
    const CBenchFile& file = *TenYears(state.range(0)).file;
    std::vector<uint8_t> bytes;
    for (auto _ : state) {
        if (!PlainRead(file.Path(), bytes))
            state.SkipWithError("plain read failed");
        benchmark::DoNotOptimize(bytes.data());
    }
    SetFileCounters(state, TenYears(state.range(0)));
}
BENCHMARK(JournalPlainRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Unpacking alone, from bytes in memory: where the read's time goes.
void JournalUnpack(benchmark::State& state) {
    const STenYears& years = TenYears(state.range(0));
    const CRatioToBaseline ratio;
    for (auto _ : state) {
        CJournalDB journal;
        if (!CJournalFile::Unpack(years.bytes, journal))
            state.SkipWithError("unpack failed");
        benchmark::DoNotOptimize(journal);
    }
    SetPlainReadRatio(state, ratio, *years.file);
    SetFileCounters(state, TenYears(state.range(0)));
}
BENCHMARK(JournalUnpack)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
