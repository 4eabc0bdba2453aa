// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_item.h"
#include "core/journal/exercise_entry.h"

#include <vector>

namespace fitquill {

// The clipboards of logged food and exercise entries: one of each for the whole program,
// shared by every journal it opens and living until it ends. Copying replaces a
// clipboard's content. Used from the user-interface thread only.
class CJournalClipboard {
public:
    static std::vector<CFoodItem>& Food();
    static std::vector<CExerciseEntry>& Exercises();
};

} // namespace fitquill
