// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace fitquill {

// Bytes handed out by the global operator new and not yet returned, counted by the replacement
// operators of allocation_counter.cpp in the benchmark program that links it. Requested sizes
// are counted, not the allocator's own overhead.
int64_t LiveHeapBytes();
// The most LiveHeapBytes has been since the last ResetPeakHeapBytes.
int64_t PeakHeapBytes();
void ResetPeakHeapBytes();

} // namespace fitquill
