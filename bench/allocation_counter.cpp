// SPDX-License-Identifier: GPL-3.0-or-later
// Replacements of the global allocation operators that count the bytes in use, for the memory
// figures of the benchmarks. Each block carries its size in a header of the strictest
// fundamental alignment, so that what it returns stays suitably aligned.
#include "bench/allocation_counter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kHeader = alignof(std::max_align_t);

std::atomic<int64_t> g_live{0};
std::atomic<int64_t> g_peak{0};
// Counting is switched on only around a measurement, so that timed loops pay for no atomics.
std::atomic<bool> g_counting{false};
constexpr int64_t kUncounted = -1;

void* Allocate(std::size_t size) noexcept {
    void* block = std::malloc(size + kHeader);
    if (block == nullptr)
        return nullptr;
    if (!g_counting.load(std::memory_order_relaxed)) {
        *static_cast<int64_t*>(block) = kUncounted;
        return static_cast<char*>(block) + kHeader;
    }
    *static_cast<int64_t*>(block) = static_cast<int64_t>(size);
    const int64_t live = g_live.fetch_add(static_cast<int64_t>(size)) + static_cast<int64_t>(size);
    int64_t peak = g_peak.load();
    while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
    }
    return static_cast<char*>(block) + kHeader;
}

void Release(void* pointer) noexcept {
    if (pointer == nullptr)
        return;
    void* block = static_cast<char*>(pointer) - kHeader;
    const int64_t size = *static_cast<int64_t*>(block);
    if (size != kUncounted)
        g_live.fetch_sub(size);
    std::free(block);
}

void* AllocateOrThrow(std::size_t size) {
    void* pointer = Allocate(size);
    if (pointer == nullptr)
        throw std::bad_alloc();
    return pointer;
}

} // namespace

namespace fitquill {

int64_t LiveHeapBytes() {
    return g_live.load();
}

int64_t PeakHeapBytes() {
    return g_peak.load();
}

CCountAllocations::CCountAllocations() {
    g_live.store(0);
    g_peak.store(0);
    g_counting.store(true);
}

CCountAllocations::~CCountAllocations() {
    g_counting.store(false);
}

void ResetPeakHeapBytes() {
    g_peak.store(g_live.load());
}

} // namespace fitquill

void* operator new(std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* pointer) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer) noexcept {
    Release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    Release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    Release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    Release(pointer);
}
