// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary handheld record lists to the conduits' readers, once as a journal and once as
// a food database: they must never read past a record or allocate by a stored length, and what
// they accept must merge into an empty desktop side and into a copy of itself without an
// internal error, and pack into records that read back (a food database to the same bytes).
//
// Input: records one after the other, each a 16-bit big-endian length and that many bytes (the
// last one cut to what is left).
#include "conduit/sync/food_merge.h"
#include "conduit/sync/journal_merge.h"
#include "core/food/food_db_file.h"
#include "core/journal/journal_records.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace fitquill;

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

std::vector<std::vector<uint8_t>> SplitRecords(const uint8_t* data, size_t size) {
    std::vector<std::vector<uint8_t>> records;
    size_t at = 0;
    while (at + 2 <= size) {
        size_t length = size_t(data[at]) << 8 | data[at + 1];
        at += 2;
        if (length > size - at)
            length = size - at;
        records.emplace_back(data + at, data + at + length);
        at += length;
    }
    return records;
}

void AsJournal(const std::vector<std::vector<uint8_t>>& records) {
    CJournalDB handheld;
    if (!UnpackHandheldJournal(records, handheld))
        return;
    CJournalDB empty;
    MergeJournal(handheld, empty);
    CJournalDB copy = handheld;
    MergeJournal(handheld, copy);
    CJournalDB back;
    Check(UnpackHandheldJournal(PackJournalRecords(copy), back), "a merged journal reads back");
    Check(back.DayCount() == copy.DayCount(), "every merged day reads back");
}

void AsFoodDB(const std::vector<std::vector<uint8_t>>& records) {
    CFoodDB handheld;
    if (!UnpackHandheldFoodDB(records, handheld))
        return;
    CFoodDB empty;
    MergeFoodDB(handheld, empty);
    CFoodDB copy = handheld;
    MergeFoodDB(handheld, copy);
    const auto packed = CFoodDBFile::PackRecords(copy);
    CFoodDB back;
    Check(UnpackHandheldFoodDB(packed, back), "a merged food database reads back");
    // Compared as bytes: a stored NaN never equals itself.
    Check(CFoodDBFile::PackRecords(back) == packed, "a merged food database writes back the same");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto records = SplitRecords(data, size);
    AsJournal(records);
    AsFoodDB(records);
    return 0;
}
