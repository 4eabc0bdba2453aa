// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A second statement of the HotSync merge rules, written plainly and kept apart from the
// conduit's code so that the two can be run against each other over random scenarios. It uses
// the data model's own setters (a value taken from the handheld goes through the desktop's
// ordinary setter, with its usual consequences) but none of the conduit's code.

#include "core/food/food_db.h"
#include "core/journal/journal_date.h"
#include "core/journal/journal_db.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace fitquill::testing {

using Bytes = std::vector<uint8_t>;
using RecordList = std::vector<Bytes>;

// The largest record the handheld's read buffer takes.
constexpr size_t kModelRecordLimit = 65520;

// Merges the handheld's journal into the desktop's by change bits. The handheld's copy is
// the model's own: its days' sort mode becomes alphabetical, as the rules read its entries.
void ModelMergeJournal(CJournalDB handheld, CJournalDB& desktop);

// Merges the handheld's food database into the desktop's by id, changed mark and name.
void ModelMergeFood(CFoodDB handheld, CFoodDB& desktop);

// What a whole HotSync run leaves on both sides.
struct SModelOutcome {
    int error = 0;                    // the run's error code, 0 for success
    std::optional<Bytes> desktopFile; // nothing: there is no desktop file
    RecordList handheld;
};

// The journal and food runs for a HotSync action (0 and 1 synchronize, 2 handheld overwrites
// desktop, 3 desktop overwrites handheld), from both sides' bytes as the run reads them.
SModelOutcome ModelJournalRun(int action, const RecordList& handheld,
                              const std::optional<Bytes>& desktopFile, const CJournalDate& today);
SModelOutcome ModelFoodRun(int action, const RecordList& handheld,
                           const std::optional<Bytes>& desktopFile);

// The handheld keeps `history` days: the last day it drops, given today; an unset date (before
// every day) for a history of 0, which keeps all.
CJournalDate HistoryCutoff(const CJournalDate& today, int history);
// A copy of the journal with only the days after `cutoff`, none of them refreshed on the way.
CJournalDB WithoutDaysUpTo(const CJournalDB& journal, const CJournalDate& cutoff);

} // namespace fitquill::testing
