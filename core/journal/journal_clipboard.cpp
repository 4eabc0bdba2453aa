// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/journal_clipboard.h"

namespace fitquill {

std::vector<CFoodItem>& CJournalClipboard::Food() {
    static std::vector<CFoodItem> clipboard;
    return clipboard;
}

std::vector<CExerciseEntry>& CJournalClipboard::Exercises() {
    static std::vector<CExerciseEntry> clipboard;
    return clipboard;
}

} // namespace fitquill
