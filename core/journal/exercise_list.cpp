// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/exercise_list.h"

#include "core/internal_error.h"
#include "core/journal/journal_clipboard.h"

#include <algorithm>

namespace fitquill {

void CExerciseList::CheckRange(int position, int count) const {
    if (position < 0 || count < 0 || position > Count() || count > Count() - position)
        RaiseInternalError(kInternalErrorGeneral, "exercise list position out of range");
}

const CExerciseEntry& CExerciseList::Entry(int position) const {
    CheckRange(position, 1);
    return m_entries[position];
}

int CExerciseList::Add(const CExerciseEntry& entry, CIdGenerator& ids) {
    CExerciseEntry copy = entry;
    copy.SetId(ids.Next());
    copy.SetChanged(1);
    m_entries.push_back(std::move(copy));
    return Count() - 1;
}

int CExerciseList::Replace(int position, const CExerciseEntry& entry) {
    CheckRange(position, 1);
    CExerciseEntry copy = entry;
    copy.SetId(m_entries[position].Id());
    copy.SetChanged(1);
    m_entries.erase(m_entries.begin() + position);
    m_entries.push_back(std::move(copy));
    return Count() - 1;
}

void CExerciseList::Delete(int position, int count) {
    CheckRange(position, count);
    m_entries.erase(m_entries.begin() + position, m_entries.begin() + position + count);
}

void CExerciseList::Copy(int position, int count) const {
    CheckRange(position, count);
    CJournalClipboard::Exercises().assign(m_entries.begin() + position,
                                          m_entries.begin() + position + count);
}

void CExerciseList::Cut(int position, int count) {
    Copy(position, count);
    Delete(position, count);
}

bool CExerciseList::Paste(CIdGenerator& ids) {
    const std::vector<CExerciseEntry>& clipboard = CJournalClipboard::Exercises();
    if (clipboard.empty())
        return false;
    for (const CExerciseEntry& entry : clipboard)
        Add(entry, ids);
    return true;
}

SExerciseTotals CExerciseList::Totals() const {
    long calories = 0;
    long minutes = 0;
    for (const CExerciseEntry& entry : m_entries) {
        calories += entry.Calories();
        minutes += entry.Minutes();
    }
    return {static_cast<int>(std::min<long>(calories, CExerciseEntry::kMaxCalories)),
            static_cast<int>(std::min<long>(minutes, CExerciseEntry::kMaxMinutes))};
}

bool CExerciseList::AnyChanged() const {
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [](const CExerciseEntry& e) { return e.Changed() != 0; });
}

void CExerciseList::ClearChangeFlags() {
    for (CExerciseEntry& entry : m_entries)
        entry.SetChanged(0);
}

} // namespace fitquill
