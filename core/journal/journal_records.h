// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/io/byte_writer.h"
#include "core/io/chunk_writer.h"
#include "core/journal/day_record.h"
#include "core/journal/journal_db.h"
#include "core/journal/user_profile.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fitquill {

// The record payloads of a journal, byte for byte the records the handheld keeps: record 0
// the header, 1 the profile, 2 the day index, 3 and up the days in date order. The desktop
// file frames them as chunks; the journal conduit moves them to and from handheld records.
//
// Versions 4, 5 and 6 are read (a version above 6 with the layout of 6); only version 6 is
// written. Readers check every field against the end of the record: a damaged record is a
// read failure, never a read past it. A profile or day record of a version below 4 cannot be
// read and raises an internal error.

constexpr uint16_t kJournalWrittenVersion = 6;
constexpr uint16_t kJournalOldestVersion = 4;

// Header: version (always written as 6), reserved word, id generator (little-endian, the one
// such field), history length.
std::vector<uint8_t> PackJournalHeader(const CJournalHeader& header);
bool UnpackJournalHeader(std::span<const uint8_t> payload, CJournalHeader& header);

std::vector<uint8_t> PackUserProfile(const CUserProfile& profile);
// Fields the record's version does not hold keep the values of a new profile.
bool UnpackUserProfile(std::span<const uint8_t> payload, uint16_t version, CUserProfile& profile);

std::vector<uint8_t> PackDayIndex(const CDayIndex& index);
bool UnpackDayIndex(std::span<const uint8_t> payload, CDayIndex& index);

// Recomputes the day's food totals from its entries first, so that the stored totals match
// the stored entries, and keeps the food log and exercise list offsets it wrote in the day.
// A day too large for its 16-bit offsets is a programming error (the model refuses additions
// long before).
std::vector<uint8_t> PackDayRecord(CDayRecord& day);
// The same record appended to `out` (its offsets count from the record's start).
void PackDayRecord(CDayRecord& day, CByteWriter& out);
// Version 6 keeps the stored offsets; version 5 keeps them too; version 4, which has none,
// gets those the version-6 layout would have. Food entries are filed by their own meal type;
// one outside the four meals is a damaged record, and so is a day too large to be written
// again with 16-bit offsets.
bool UnpackDayRecord(std::span<const uint8_t> payload, uint16_t version, CDayRecord& day);

// Every record of the journal in order. Sets the header's version to 6 and refreshes the food
// totals of every day (see PackDayRecord).
std::vector<std::vector<uint8_t>> PackJournalRecords(CJournalDB& journal);
// The same records appended as chunks of a desktop file, all in the file's one buffer.
void PackJournalRecords(CJournalDB& journal, CChunkWriter& file);
// Enough room for the journal's file (a little more than it takes), for a packer's buffer.
std::size_t JournalFileCapacity(const CJournalDB& journal);

// Fewest bytes a readable day record of any version takes, to bound a reservation by the size
// of a file.
constexpr std::size_t kMinDayRecordSize = 48;

// Reads a journal's records one at a time, in order, as UnpackJournalRecords does for a list:
// for a reader that takes them from the file as it goes.
class CJournalRecordReader {
public:
    // The journal should be empty; at most `maxDays` day records can follow (it bounds the
    // room reserved for the days the index counts, which may be damaged).
    CJournalRecordReader(CJournalDB& journal, std::size_t maxDays)
        : m_journal(journal), m_maxDays(maxDays) {}

    // Whether the journal needs another record: header, profile, day index, then as many day
    // records as the index counts.
    bool WantsMore() const;
    // Reads the next record into the journal; false when it is damaged, which ends the read.
    bool Take(std::span<const uint8_t> record);
    // After the last record came (or none was left, or one was damaged): true when the journal
    // got every record it needs, else false with what was wrong in `damage` (when given).
    bool Finish(std::string* damage = nullptr) const;

private:
    bool Damaged(std::string text);

    CJournalDB& m_journal;
    std::size_t m_maxDays;
    std::size_t m_taken = 0;
    std::size_t m_days = 0;
    uint16_t m_version = 0;
    bool m_damaged = false;
    std::string m_damage;
};

// Reads header, profile, day index and as many day records as the index counts into the
// journal, which should be empty: days are filed by date. False when a record the index calls
// for is missing or a record is damaged; what was read before stays in the journal. Records
// beyond those the index counts are not looked at. `damage` (when given) says what was wrong.
bool UnpackJournalRecords(std::span<const std::span<const uint8_t>> records, CJournalDB& journal,
                          std::string* damage = nullptr);

} // namespace fitquill
