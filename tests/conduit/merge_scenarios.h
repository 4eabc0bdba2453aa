// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Random but valid HotSync scenarios: a common journal (or food database) as both sides held
// it after their last HotSync, then edits made on each side through the data model's ordinary
// operations (so change bits and changed marks are set the way edits set them). A scenario is
// a pure function of its seed; its edits can be switched off one by one to shrink a failure.

#include "core/food/food_db.h"
#include "core/journal/journal_db.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fitquill::testing {

enum class ESide { Handheld, Desktop };

// Whether every record of the database stays within the handheld's limit.
bool FitsRecordLimit(const CJournalDB& journal);
bool FitsRecordLimit(const CFoodDB& db);

// One edit on one side; it reports what it did (an edit that finds nothing to work on does
// nothing and says so).
template <class Db> struct SEdit {
    ESide side;
    std::function<std::string(Db&)> apply;
};

template <class Db> struct SScenario {
    using Database = Db;

    uint64_t seed = 0;
    int action = 0; // 0 or 1 synchronize, 2 handheld overwrites, 3 desktop overwrites
    bool desktopFileExists = true;
    std::string baseText; // what the common start holds
    Db handheldBase;
    Db desktopBase;
    std::vector<SEdit<Db>> edits;

    // Both sides with the enabled edits applied (all when `enabled` is empty); each applied
    // edit's report is appended to `story` when given.
    void Build(Db& handheld, Db& desktop, const std::vector<bool>& enabled = {},
               std::vector<std::string>* story = nullptr) const {
        handheld = handheldBase;
        desktop = desktopBase;
        for (size_t i = 0; i < edits.size(); ++i) {
            if (!enabled.empty() && !enabled[i])
                continue;
            const bool onHandheld = edits[i].side == ESide::Handheld;
            Db& side = onHandheld ? handheld : desktop;
            const Db before = side;
            std::string what = edits[i].apply(side);
            // Neither side lets a record grow beyond the handheld's limit.
            if (!FitsRecordLimit(side)) {
                side = before;
                what += " (refused: a record would be too large)";
            }
            if (story != nullptr)
                story->push_back((onHandheld ? "handheld: " : "desktop: ") + what);
        }
    }
};

using SJournalScenario = SScenario<CJournalDB>;
using SFoodScenario = SScenario<CFoodDB>;

// The date every scenario runs on (the handheld's history is counted back from it).
CJournalDate ScenarioToday();

SJournalScenario MakeJournalScenario(uint64_t seed);
SFoodScenario MakeFoodScenario(uint64_t seed);

} // namespace fitquill::testing
