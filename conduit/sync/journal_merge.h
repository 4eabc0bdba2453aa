// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conduit/sync/sync_changes.h"
#include "core/journal/journal_date.h"
#include "core/journal/journal_db.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fitquill {

// Fills an empty journal from the handheld's records: at least header, profile and day index,
// a header of format version 6, then the day records the index counts, and profile weights the
// program can hold. False (with a reason in `damage`) for anything else; what was read before
// stays in the journal.
bool UnpackHandheldJournal(std::span<const std::vector<uint8_t>> records, CJournalDB& handheld,
                           std::string* damage = nullptr);

// Merges the handheld's journal into the desktop's by change bits. A value travels from the
// handheld when the two differ, its change bit is set on the handheld and clear on the desktop;
// it goes through the desktop's ordinary setter (which sets the desktop's bit and its usual
// consequences). Days the desktop lacks come over when they carry any change; entries are
// matched by unique id. The handheld's journal serves as the source only: its days' sort mode
// is set to alphabetical, nothing else of it changes. Returns the changes made to the desktop
// and the days the handheld will lose.
SyncChanges MergeJournal(CJournalDB& handheld, CJournalDB& desktop);

// The header values that each side keeps as its own: format version, unique-id generator and
// history length. The reserved word stays the target's.
void CopyJournalHeaderValues(const CJournalDB& from, CJournalDB& to);

// Drops from a journal's packed records (PackJournalRecords) the days that the handheld does
// not keep: with a history length of n days (0 keeps all), every day dated on or before today
// minus n + 1 days; the day index record is rewritten to match. The journal itself is left
// alone, so no day is refreshed on the way. Returns how many days went.
int TrimHandheldHistory(const CJournalDB& journal, const CJournalDate& today,
                        std::vector<std::vector<uint8_t>>& records);

} // namespace fitquill
