// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/journal_db.h"

#include "core/internal_error.h"

#include <algorithm>
#include <cstdio>

namespace fitquill {
namespace {

// A profile weight below this (in the user's unit) is not carried into today's record.
constexpr double kMinProfileWeightForToday = 100.0;

bool DayBefore(const CDayRecord& day, const CJournalDate& date) {
    return day.Date() < date;
}
bool DateBefore(const CJournalDate& date, const CDayRecord& day) {
    return date < day.Date();
}

} // namespace

CJournalHeader::CJournalHeader() : m_idGenerator(CIdGenerator::SeededToday()) {}

CJournalDB::CJournalDB() {
    Locate(CJournalDate::Today(), false);
}

void CJournalDB::Clear() {
    m_days.clear();
    m_header = CJournalHeader();
    m_profile = CUserProfile();
    m_modified = false;
    m_currentDate = CJournalDate();
    Locate(CJournalDate::Today(), false);
}

CDayIndex CJournalDB::DayIndex() const {
    return CDayIndex(CDayIndex::kFirstDayRecord, static_cast<uint16_t>(m_days.size()));
}

void CJournalDB::Locate(const CJournalDate& date, bool refresh) {
    m_currentDate = date;
    int low = kFirstDayRecord;
    int high = kFirstDayRecord + DayCount() - 1;
    while (low <= high) {
        const int middle = (low + high + 1) / 2;
        CDayRecord& probe = m_days[static_cast<size_t>(middle - kFirstDayRecord)];
        if (refresh)
            probe.Refresh(m_profile);
        if (probe.Date() == date) {
            m_currentExists = true;
            m_currentRecord = middle;
            m_currentDate = probe.Date();
            return;
        }
        if (probe.Date() < date)
            low = middle + 1;
        else
            high = middle - 1;
    }
    m_currentExists = false;
    m_currentRecord = low;
}

void CJournalDB::GoToDate(const CJournalDate& date) {
    Locate(date, true);
}

void CJournalDB::FirstDay() {
    if (m_days.empty()) {
        m_currentExists = false;
        m_currentRecord = kFirstDayRecord;
        return;
    }
    GoToRecord(0, false);
}

void CJournalDB::LastDay() {
    if (m_days.empty()) {
        m_currentExists = false;
        m_currentRecord = kFirstDayRecord;
        return;
    }
    GoToRecord(0, true);
}

void CJournalDB::PreviousDay() {
    CJournalDate date = m_currentDate;
    date.StepDays(-1);
    GoToDate(date);
}

void CJournalDB::NextDay() {
    CJournalDate date = m_currentDate;
    date.StepDays(1);
    GoToDate(date);
}

bool CJournalDB::GoToRecord(int position, bool fromEnd) {
    if (position < 0 || position >= DayCount())
        return false;
    const int target = fromEnd ? DayCount() - 1 - position : position;
    if (m_currentExists && target == CurrentPosition())
        return true;
    m_currentExists = true;
    m_currentRecord = target + kFirstDayRecord;
    m_currentDate = m_days[static_cast<size_t>(target)].Date();
    return true;
}

bool CJournalDB::RangeLookup(const CJournalDate& start, const CJournalDate& end, int& firstPosition,
                             int& lastPosition) const {
    firstPosition = -1;
    lastPosition = -1;
    if (end < start)
        return false;
    // The same records that stepping day by day from both ends would meet first.
    const auto first = std::lower_bound(m_days.begin(), m_days.end(), start, DayBefore);
    const auto last = std::upper_bound(m_days.begin(), m_days.end(), end, DateBefore);
    if (first >= last)
        return false;
    firstPosition = static_cast<int>(first - m_days.begin());
    lastPosition = static_cast<int>(last - m_days.begin()) - 1;
    return true;
}

const CDayRecord* CJournalDB::CurrentRecord() const {
    return m_currentExists ? &m_days[static_cast<size_t>(CurrentPosition())] : nullptr;
}

CDayRecord* CJournalDB::CurrentDay(bool create) {
    if (!m_currentExists && m_currentDate == CJournalDate::Today()) {
        if (const auto latest = LatestWeight()) {
            const auto value = latest->weight.Get(m_profile.IsMetric());
            if (value && (!latest->fromProfile || *value >= kMinProfileWeightForToday))
                AddDay();
        }
    }
    if (create && !m_currentExists)
        AddDay();
    if (!m_currentExists)
        return nullptr;
    CDayRecord& day = m_days[static_cast<size_t>(CurrentPosition())];
    day.Refresh(m_profile);
    return &day;
}

bool CJournalDB::AddDay() {
    if (m_currentExists || DayCount() >= kMaxDays)
        return false;
    const auto at = m_days.begin() + CurrentPosition();
    m_days.insert(at, CDayRecord(m_currentDate));
    m_currentExists = true;
    // Searched now: the new record has no weight, so the search goes on to earlier days.
    if (const auto latest = LatestWeight())
        m_days[static_cast<size_t>(CurrentPosition())].SetWeight(latest->weight, m_profile);
    return true;
}

bool CJournalDB::DeleteCurrentDay() {
    if (!m_currentExists)
        return false;
    m_days.erase(m_days.begin() + CurrentPosition());
    m_currentExists = false; // the record number is now the insertion point
    return true;
}

int CJournalDB::DeleteRange(const CJournalDate& start, const CJournalDate& end) {
    int first = -1;
    int last = -1;
    if (!RangeLookup(start, end, first, last))
        return 0;
    m_days.erase(m_days.begin() + first, m_days.begin() + last + 1);
    GoToDate(m_currentDate);
    return last - first + 1;
}

void CJournalDB::DeleteAllDays(bool keepProfile) {
    m_days.clear();
    if (!keepProfile) {
        m_header.SetReserved(0);
        m_profile.ResetAll();
    }
    GoToDate(CJournalDate::Today());
}

std::optional<SLatestWeight> CJournalDB::LatestWeight() const {
    // A day without a record sits at its insertion point; the record there is a later day.
    int position = m_currentExists ? CurrentPosition() : CurrentPosition() - 1;
    position = std::min(position, DayCount() - 1);
    for (; position >= 0; --position) {
        const CWeightValue& weight = m_days[static_cast<size_t>(position)].Weight();
        if (weight.IsSet())
            return SLatestWeight{weight, false};
    }
    if (m_profile.StartingWeight().IsSet())
        return SLatestWeight{m_profile.StartingWeight(), true};
    return std::nullopt;
}

std::optional<CWeightValue> CJournalDB::CurrentWeight() const {
    const CDayRecord* day = CurrentRecord();
    if (!day || !day->Weight().IsSet())
        return std::nullopt;
    return day->Weight();
}

std::string CJournalDB::StatusText() const {
    char text[64];
    if (m_currentExists)
        std::snprintf(text, sizeof text, "Record: %d of %d", m_currentRecord - 2, DayCount());
    else
        std::snprintf(text, sizeof text, "Record: -- of %d", DayCount());
    return text;
}

void CJournalDB::ClearAllChangeBits() {
    m_profile.ClearChangeBits();
    for (CDayRecord& day : m_days)
        day.ClearChangeBits();
}

CDayRecord& CJournalDB::Day(int position) {
    if (position < 0 || position >= DayCount())
        RaiseInternalError(kInternalErrorGeneral, "day record position out of range");
    return m_days[static_cast<size_t>(position)];
}

const CDayRecord& CJournalDB::Day(int position) const {
    if (position < 0 || position >= DayCount())
        RaiseInternalError(kInternalErrorGeneral, "day record position out of range");
    return m_days[static_cast<size_t>(position)];
}

int CJournalDB::FindDay(const CJournalDate& date) const {
    const auto it = std::lower_bound(m_days.begin(), m_days.end(), date, DayBefore);
    if (it == m_days.end() || !(it->Date() == date))
        return -1;
    return static_cast<int>(it - m_days.begin());
}

int CJournalDB::InsertDay(CDayRecord day) {
    if (DayCount() >= kMaxDays)
        return -1;
    const auto at = std::upper_bound(m_days.begin(), m_days.end(), day.Date(), DateBefore);
    const int position = static_cast<int>(at - m_days.begin());
    m_days.insert(at, std::move(day));
    Locate(m_currentDate, false);
    return position;
}

} // namespace fitquill
