// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace fitquill {

// A file in the temporary folder for one benchmark program, removed with the object.
class CBenchFile {
public:
    explicit CBenchFile(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() / ("fitquill_bench_" + name)) {}
    ~CBenchFile() {
        std::error_code ec;
        std::filesystem::remove(m_path, ec);
    }
    CBenchFile(const CBenchFile&) = delete;
    CBenchFile& operator=(const CBenchFile&) = delete;
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// The yardsticks: the same bytes with one plain read or one plain write of the whole file.
inline bool PlainRead(const std::filesystem::path& path, std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.string().c_str(), "rb");
    if (file == nullptr)
        return false;
    bytes.resize(static_cast<std::size_t>(std::filesystem::file_size(path)));
    const bool ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    return ok;
}

inline bool PlainWrite(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// CPU time of the calling thread, the clock the benchmarks' CPU column uses.
inline double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The CPU time of a benchmark's iterations against that of its yardstick, both measured in the
// same run, so that the figure compares across machines and loads. Made right before the
// timed loop; Set, right after it, times the yardstick (a plain read or write of the same
// bytes) over enough runs and sets the counter `name` (CPU time of one iteration over that of
// one yardstick run).
class CRatioToBaseline {
public:
    CRatioToBaseline() : m_start(ThreadCpuSeconds()) {}

    template <typename Baseline>
    void Set(benchmark::State& state, const char* name, Baseline&& baseline) const {
        const double perIteration =
            (ThreadCpuSeconds() - m_start) /
            static_cast<double>(std::max<int64_t>(1, static_cast<int64_t>(state.iterations())));
        int runs = 0;
        const double start = ThreadCpuSeconds();
        double spent = 0.0;
        do {
            baseline();
            ++runs;
            spent = ThreadCpuSeconds() - start;
        } while (runs < 5 || (spent < 0.2 && runs < 1000));
        state.counters[name] = perIteration / (spent / runs);
    }

private:
    double m_start;
};

} // namespace fitquill
