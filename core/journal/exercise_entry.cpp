// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/exercise_entry.h"

#include "core/names.h"

#include <algorithm>

namespace fitquill {

void CExerciseEntry::SetName(std::string_view name) {
    m_name = TrimSpaces(name);
}

void CExerciseEntry::SetMinutes(int minutes) {
    m_minutes = static_cast<uint16_t>(std::clamp(minutes, 0, kMaxMinutes));
}

void CExerciseEntry::SetCalories(int calories) {
    m_calories = static_cast<uint16_t>(std::clamp(calories, 0, kMaxCalories));
}

} // namespace fitquill
