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

void* Allocate(std::size_t size) noexcept {
    void* block = std::malloc(size + kHeader);
    if (block == nullptr)
        return nullptr;
    *static_cast<std::size_t*>(block) = size;
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
    g_live.fetch_sub(static_cast<int64_t>(*static_cast<std::size_t*>(block)));
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
