// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/day_record.h"

#include "core/calc/energy_balance.h"
#include "core/journal/user_profile.h"
#include "core/names.h"

#include <algorithm>

namespace fitquill {
namespace {

constexpr size_t kNoteMaxBytes = CDayRecord::kNoteBufferSize - 1;

// The part of a text an edit control would hold: up to its first NUL.
std::string_view AsCText(std::string_view text) {
    const size_t nul = text.find('\0');
    return nul == std::string_view::npos ? text : text.substr(0, nul);
}

} // namespace

CDayRecord::CDayRecord(const CJournalDate& date) {
    SetDate(date);
}

void CDayRecord::SetDate(const CJournalDate& date) {
    // Only the calendar day is stored.
    m_date = CJournalDate(date.Day(), date.Month(), date.Year());
}

void CDayRecord::SetStoredOffsets(uint16_t foodLog, uint16_t exerciseList) {
    m_foodLogOffset = foodLog;
    m_exerciseListOffset = exerciseList;
}

void CDayRecord::SetWeight(const CWeightValue& weight, const CUserProfile& profile) {
    if (!weight.Get(false)) {
        StoreActivityLevel(kActivityLevelNone);
    } else {
        if (m_activityLevel == kActivityLevelNone)
            StoreActivityLevel(profile.DefaultActivityLevel());
        if (m_activityLevel != kActivityLevelManual) {
            const SBmrResult bmr = ComputeBMR(profile, m_activityLevel, weight);
            if (bmr.ok && bmr.calories >= kMinBMR)
                StoreBMR(bmr.calories);
        }
    }
    m_weight = weight;
    m_changeBits |= kChangeWeight;
}

bool CDayRecord::SetWeight(double value, bool metric, const CUserProfile& profile) {
    CWeightValue weight;
    const bool ok = weight.Set(value, metric);
    SetWeight(weight, profile);
    return ok;
}

bool CDayRecord::SetActivityLevel(int level) {
    if (level < kActivityLevelBed || level > kActivityLevelManual)
        return false;
    StoreActivityLevel(static_cast<int16_t>(level));
    return true;
}

void CDayRecord::StoreActivityLevel(int16_t level) {
    if (level != m_activityLevel)
        m_changeBits |= kChangeActivity;
    m_activityLevel = level;
}

bool CDayRecord::SetBMR(int bmr) {
    if (bmr < kMinBMR)
        return false;
    const int16_t value = static_cast<int16_t>(std::min(bmr, kMaxBMR));
    if (value != m_bmr)
        m_changeBits |= kChangeActivity;
    m_bmr = value;
    return true;
}

void CDayRecord::StoreBMR(int bmr) {
    m_bmr = static_cast<int16_t>(std::min(bmr, kMaxBMR));
}

bool CDayRecord::RecomputeBMR(const CUserProfile& profile) {
    if (m_activityLevel == kActivityLevelNone || m_activityLevel == kActivityLevelManual)
        return false;
    const SBmrResult bmr = ComputeBMR(profile, m_activityLevel, m_weight);
    if (!bmr.ok || bmr.calories < kMinBMR)
        return false;
    StoreBMR(bmr.calories);
    return true;
}

void CDayRecord::SetNote(std::string_view note) {
    std::string trimmed = TrimSpaces(note);
    if (trimmed != m_note)
        m_changeBits |= kChangeNote;
    m_note = std::move(trimmed);
}

void CDayRecord::SetStoredNote(std::string_view note) {
    m_note = TrimSpaces(note);
}

void CDayRecord::SetNoteFromEdit(std::string_view edited) {
    edited = AsCText(edited);
    edited = edited.substr(0, std::min(edited.size(), kNoteMaxBytes));
    std::string note;
    note.reserve(edited.size());
    for (char c : edited) {
        if (c != '\r')
            note.push_back(c);
    }
    SetNote(note);
}

std::string CDayRecord::NoteForEdit() const {
    std::string edited;
    for (char c : AsCText(m_note)) {
        if (c == '\n') {
            // Half a line end would leave a stray carriage return in the control.
            if (edited.size() + 2 > kNoteMaxBytes)
                break;
            edited += "\r\n";
        } else {
            if (edited.size() + 1 > kNoteMaxBytes)
                break;
            edited.push_back(c);
        }
    }
    return edited;
}

void CDayRecord::SetWater(int glasses) {
    // A negative count is no count at all; 99 glasses would be a plainly wrong reading.
    const int16_t value = static_cast<int16_t>(std::clamp(glasses, 0, kMaxWater));
    if (value != m_water)
        m_changeBits |= kChangeWater;
    m_water = value;
}

bool CDayRecord::HasChanges() const {
    return m_changeBits != 0 || m_measurements.ChangeBits() != 0 ||
           m_bloodPressure.ChangeBits() != 0 || m_foodLog.AnyChanged() || m_exercises.AnyChanged();
}

void CDayRecord::ClearChangeBits() {
    m_changeBits = 0;
    m_measurements.ClearChangeBits();
    m_bloodPressure.ClearChangeBits();
    m_foodLog.ClearChangeFlags();
    m_exercises.ClearChangeFlags();
}

void CDayRecord::Refresh(const CUserProfile& profile) {
    const auto totals = m_foodLog.RecomputeTotals();
    m_foodCalories = static_cast<int32_t>(totals[kNutrientCalories]);
    RecomputeBMR(profile);
    m_exerciseCalories = m_exercises.Totals().calories;
}

} // namespace fitquill
