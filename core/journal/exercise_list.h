// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/exercise_entry.h"
#include "core/journal/id_generator.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace fitquill {

struct SExerciseTotals {
    int calories = 0; // capped at 9999
    int minutes = 0;  // capped at 999
};

// The exercises of one day in the order they were logged. Positions that do not exist are
// programming errors and raise an internal error.
class CExerciseList {
public:
    CExerciseList() = default;

    int Count() const { return static_cast<int>(m_entries.size()); }
    const CExerciseEntry& Entry(int position) const;
    const std::vector<CExerciseEntry>& Entries() const { return m_entries; }

    // Appends a copy with a new id, marked changed; returns its position.
    int Add(const CExerciseEntry& entry, CIdGenerator& ids);
    // The copy takes the old entry's id and is marked changed; the old entry goes and the
    // copy is appended, so a replaced exercise moves to the end. Returns its position.
    int Replace(int position, const CExerciseEntry& entry);
    void Delete(int position, int count);

    // The entries replace the exercise clipboard.
    void Copy(int position, int count) const;
    void Cut(int position, int count);
    // Appends copies of the clipboard with new ids, marked changed; false when it is empty.
    bool Paste(CIdGenerator& ids);

    SExerciseTotals Totals() const;

    bool AnyChanged() const;
    void ClearChangeFlags();

    // For readers of stored records and the conduit's merge: appends the entry as it is.
    void AppendStored(CExerciseEntry entry) { m_entries.push_back(std::move(entry)); }
    void Reserve(std::size_t count) { m_entries.reserve(m_entries.size() + count); }

    bool operator==(const CExerciseList&) const = default;

private:
    void CheckRange(int position, int count) const;

    std::vector<CExerciseEntry> m_entries;
};

} // namespace fitquill
