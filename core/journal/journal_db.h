// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/units.h"
#include "core/journal/day_record.h"
#include "core/journal/id_generator.h"
#include "core/journal/journal_date.h"
#include "core/journal/user_profile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// Record 0 of a journal: format version, a reserved word, the id generator that hands ids
// to food and exercise entries, and the handheld's history length in days.
class CJournalHeader {
public:
    static constexpr uint16_t kVersion = 6;

    // Version 6 with a generator seeded from today.
    CJournalHeader();

    uint16_t Version() const { return m_version; }
    void SetVersion(uint16_t version) { m_version = version; }
    uint16_t Reserved() const { return m_reserved; }
    void SetReserved(uint16_t reserved) { m_reserved = reserved; }
    CIdGenerator& IdGenerator() { return m_idGenerator; }
    const CIdGenerator& IdGenerator() const { return m_idGenerator; }
    void SetIdGenerator(const CIdGenerator& generator) { m_idGenerator = generator; }
    uint16_t HistoryLength() const { return m_historyLength; }
    void SetHistoryLength(uint16_t days) { m_historyLength = days; }

    bool operator==(const CJournalHeader&) const = default;

private:
    uint16_t m_version = kVersion;
    uint16_t m_reserved = 0;
    CIdGenerator m_idGenerator;
    uint16_t m_historyLength = 0;
};

// Record 2 of a journal: the number of the first day record and how many there are.
class CDayIndex {
public:
    static constexpr uint16_t kFirstDayRecord = 3;

    CDayIndex() = default;
    CDayIndex(uint16_t firstRecord, uint16_t count) : m_firstRecord(firstRecord), m_count(count) {}

    uint16_t FirstRecord() const { return m_firstRecord; }
    uint16_t Count() const { return m_count; }
    bool operator==(const CDayIndex&) const = default;

private:
    uint16_t m_firstRecord = kFirstDayRecord;
    uint16_t m_count = 0;
};

// The latest known weight and where it came from.
struct SLatestWeight {
    CWeightValue weight;
    bool fromProfile = false;
};

// One user's journal: header, profile and the day records in ascending date order, with a
// current position (a date and, when it has one, that date's record) that the views and
// commands work on. A day's record number is its list position plus 3.
class CJournalDB {
public:
    static constexpr int kFirstDayRecord = CDayIndex::kFirstDayRecord;
    // Record numbers are 16-bit.
    static constexpr int kMaxDays = 0xFFFF - kFirstDayRecord;

    // Empty, positioned on today.
    CJournalDB();

    // Deletes all days, gives a fresh profile and header (no change bits), clears the
    // modified flag and positions on today. Used before another user's journal is read.
    void Clear();

    bool IsModified() const { return m_modified; }
    void SetModified(bool modified = true) { m_modified = modified; }

    const std::string& FilePath() const { return m_filePath; }
    void SetFilePath(std::string_view path) { m_filePath = path; }
    const std::string& FolderPath() const { return m_folderPath; }
    void SetFolderPath(std::string_view path) { m_folderPath = path; }

    CJournalHeader& Header() { return m_header; }
    const CJournalHeader& Header() const { return m_header; }
    CIdGenerator& IdGenerator() { return m_header.IdGenerator(); }
    CUserProfile& Profile() { return m_profile; }
    const CUserProfile& Profile() const { return m_profile; }
    CDayIndex DayIndex() const;

    // Sets the current date and positions on its record, or on the place where one would
    // be inserted. Records probed on the way are refreshed.
    void GoToDate(const CJournalDate& date);
    // The same position without refreshing anything: for readers (drawing) that moved the
    // position and put it back, and must leave every record as it was.
    void MoveToDate(const CJournalDate& date) { Locate(date, false); }
    // Position on the first or last record and take its date; without records only the
    // position is reset.
    void FirstDay();
    void LastDay();
    // One calendar day back or forward, whether or not a record exists there.
    void PreviousDay();
    void NextDay();
    // Position on the record at a list position, counted from the end when asked; false
    // when there is no such record.
    bool GoToRecord(int position, bool fromEnd = false);

    // List positions of the first and last record dated within start..end inclusive; false
    // (both -1) when there is none or end is before start. The position does not move.
    bool RangeLookup(const CJournalDate& start, const CJournalDate& end, int& firstPosition,
                     int& lastPosition) const;

    // The current day's record, refreshed, or nullptr. Today's record is created on the way
    // when a latest weight is known (a profile weight counts only from 100 in the user's
    // unit); with create set a missing record is always added.
    CDayRecord* CurrentDay(bool create = false);
    // The current record as it is: no creation, no refresh.
    const CDayRecord* CurrentRecord() const;

    // Adds a record for the current date carrying the latest weight; false when one exists.
    bool AddDay();
    bool DeleteCurrentDay();
    // Deletes the records dated start..end inclusive and returns how many went; the current
    // date is kept and its position recomputed.
    int DeleteRange(const CJournalDate& start, const CJournalDate& end);
    // Deletes every day; without keepProfile the profile is reset (all its change bits set)
    // and the header's reserved word cleared. Afterwards the position is on today.
    void DeleteAllDays(bool keepProfile);

    // The weight of the nearest record at or before the current day that has one (before
    // the insertion point when the day has no record), else the profile's starting weight.
    std::optional<SLatestWeight> LatestWeight() const;
    // The current record's weight; nullopt without a record or weight.
    std::optional<CWeightValue> CurrentWeight() const;

    int DayCount() const { return static_cast<int>(m_days.size()); }
    int CurrentRecordNumber() const { return m_currentRecord; }
    bool CurrentDayExists() const { return m_currentExists; }
    const CJournalDate& CurrentDate() const { return m_currentDate; }
    // "Record: %d of %d" or "Record: -- of %d" for the status line.
    std::string StatusText() const;

    // Clears the change bits of the profile and of every day and everything in it.
    void ClearAllChangeBits();

    // Direct access for readers, writers and the merge. A position that does not exist is a
    // programming error.
    const std::vector<CDayRecord>& Days() const { return m_days; }
    CDayRecord& Day(int position);
    const CDayRecord& Day(int position) const;
    // The list position of the record of a date, or -1.
    int FindDay(const CJournalDate& date) const;
    // Files a record by its date, before the first record with a later date, without
    // refreshing anything; the current position follows. Returns its position, or -1 when
    // the journal is full.
    int InsertDay(CDayRecord day);
    // Room for `count` more records (a reader knows how many follow).
    void ReserveDays(std::size_t count) { m_days.reserve(m_days.size() + count); }

private:
    // Bisection over the records (probing the upper middle); sets the position.
    void Locate(const CJournalDate& date, bool refresh);
    int CurrentPosition() const { return m_currentRecord - kFirstDayRecord; }

    bool m_modified = false;
    std::string m_filePath;
    std::string m_folderPath;
    CJournalHeader m_header;
    CUserProfile m_profile;
    std::vector<CDayRecord> m_days;
    CJournalDate m_currentDate;
    bool m_currentExists = false;
    int m_currentRecord = kFirstDayRecord;
};

} // namespace fitquill
