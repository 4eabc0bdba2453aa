// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/day_record_limit.h"

#include "core/journal/journal_records.h"

namespace fitquill {

bool FoodEntryFits(const CDayRecord& day, const CFoodItem& entry) {
    // Sizes are measured by packing, the record layout being the one authority on them. A day
    // too large to pack cannot be packed to measure it, so the entry's share is measured on an
    // empty day and added to the day's own size.
    CDayRecord empty;
    CDayRecord withEntry;
    if (!withEntry.FoodLog().InsertStoredEntry(entry))
        return false;
    const size_t entrySize = PackDayRecord(withEntry).size() - PackDayRecord(empty).size();
    CDayRecord current = day;
    return PackDayRecord(current).size() + entrySize <= kMaxHandheldRecordSize;
}

} // namespace fitquill
