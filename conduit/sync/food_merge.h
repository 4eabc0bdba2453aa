// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conduit/sync/sync_changes.h"
#include "core/food/food_db.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fitquill {

// Fills an empty food database from the handheld's records: a header of format version 6,
// the group table, then per group its record and one item record per category. False (with a
// reason in `damage`) when a record is missing or damaged.
bool UnpackHandheldFoodDB(std::span<const std::vector<uint8_t>> records, CFoodDB& handheld,
                          std::string* damage = nullptr);

// Merges the handheld's food database into the desktop's, level by level (groups, categories
// of a group, food items of a category), matching by unique id and, for groups and categories,
// by name. What the handheld marked changed and the desktop did not comes over: renames (unless
// the name is empty or taken), new entries (with new ids from the desktop's generator) and
// changed items (also with a new id). A new item whose name another item of other content holds
// comes in under a unique name, as a paste would ("Name1"). Entries both sides know by id are
// merged before the others are matched by name or added. What the handheld lacks goes from the
// desktop unless the desktop marked it, or anything inside it, changed; a handheld group or
// category that the desktop lacks comes over when it or anything inside it is marked changed. A
// handheld group or category that matches a desktop one by name only (the two were made apart) is
// united with it: the desktop entry stays, children either side lacks are added and none is
// removed. The handheld's database is only read.
SyncChanges MergeFoodDB(const CFoodDB& handheld, CFoodDB& desktop);

// The header values that each side keeps as its own: format version, find history (the
// header's texts) and unique-id generator.
void CopyFoodHeaderValues(const CFoodDB& from, CFoodDB& to);

// A food database without groups counts as empty.
inline bool IsFoodDBEmpty(const CFoodDB& db) {
    return db.GroupCount() == 0;
}

} // namespace fitquill
