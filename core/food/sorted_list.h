// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/internal_error.h"
#include "core/names.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace fitquill {

// Indexes travel as 16-bit values and index results as signed 16-bit values, so a sorted list
// of the food database never grows beyond what both can address.
constexpr size_t kMaxSortedListSize = 0x7FFF;
constexpr size_t kNoSkip = SIZE_MAX;

// Where an object named `name` goes in a list sorted by name: after the last entry whose name
// sorts before or equal to it, scanning from the end, as if the entry at `skip` were absent.
// A binary search must agree; when it does not, the list has lost its order and any insertion
// would land elsewhere than computed, which is an internal error (raised before anything changes).
template <class T>
size_t SortedInsertionIndex(const std::vector<T>& list, std::string_view name,
                            size_t skip = kNoSkip) {
    const bool skipping = skip < list.size();
    const size_t count = list.size() - (skipping ? 1 : 0);
    auto nameAt = [&](size_t k) -> const std::string& {
        return list[skipping && k >= skip ? k + 1 : k].Name();
    };
    size_t scanned = count;
    while (scanned > 0 && CompareNames(nameAt(scanned - 1), name) > 0)
        --scanned;
    size_t low = 0, high = count;
    while (low < high) {
        const size_t mid = low + (high - low) / 2;
        if (CompareNames(nameAt(mid), name) <= 0)
            low = mid + 1;
        else
            high = mid;
    }
    if (low != scanned)
        RaiseInternalError(kInternalErrorFoodDb,
                           "food database: insertion lands at another index than computed");
    return scanned;
}

// Index of the entry whose name is byte for byte `name`, ignoring the entry at `skip`; or -1.
template <class T>
int FindSortedName(const std::vector<T>& list, std::string_view name, size_t skip = kNoSkip) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (i != skip && list[i].Name() == name)
            return static_cast<int>(i);
    }
    return -1;
}

// The index a new object named `name` would take, or -1 when the list is full or, unless
// duplicates are allowed, an entry of the same name exists (in a sorted list it stands right
// before the insertion point).
template <class T>
int SortedPlace(const std::vector<T>& list, std::string_view name, bool allowDuplicates) {
    if (list.size() >= kMaxSortedListSize)
        return -1;
    const size_t at = SortedInsertionIndex(list, name);
    if (!allowDuplicates && at > 0 && list[at - 1].Name() == name)
        return -1;
    return static_cast<int>(at);
}

template <class T> int InsertSorted(std::vector<T>& list, T object, bool allowDuplicates) {
    const int at = SortedPlace(list, object.Name(), allowDuplicates);
    if (at >= 0)
        list.insert(list.begin() + at, std::move(object));
    return at;
}

} // namespace fitquill
