// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace fitquill {

class CDayRecord;
class CFoodItem;

// A handheld record holds at most this many bytes; a day must stay within it.
constexpr std::size_t kMaxHandheldRecordSize = 0xFFF0;

// Whether the day, with one more food entry, still fits a handheld record.
bool FoodEntryFits(const CDayRecord& day, const CFoodItem& entry);

} // namespace fitquill
