// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace fitquill {

// Counts the allocations made while it lives (one at a time), so that a memory figure can be
// taken after the timed loops without slowing them.
class CCountAllocations {
public:
    CCountAllocations();
    ~CCountAllocations();
    CCountAllocations(const CCountAllocations&) = delete;
    CCountAllocations& operator=(const CCountAllocations&) = delete;
};

// Bytes handed out by the global operator new while counting and not yet returned, counted by
// the replacement operators of allocation_counter.cpp in the benchmark program that links it.
// Requested sizes are counted, not the allocator's own overhead.
int64_t LiveHeapBytes();
// The most LiveHeapBytes has been since the last ResetPeakHeapBytes.
int64_t PeakHeapBytes();
void ResetPeakHeapBytes();

} // namespace fitquill
