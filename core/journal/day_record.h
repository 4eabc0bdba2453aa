// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/units.h"
#include "core/journal/blood_pressure.h"
#include "core/journal/body_measurements.h"
#include "core/journal/day_food_log.h"
#include "core/journal/exercise_list.h"
#include "core/journal/journal_date.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fitquill {

class CUserProfile;

// One calendar day of the journal: weight, activity level and BMR, note, water, body
// measurements, blood pressure, food log and exercises, plus the derived calorie sums.
class CDayRecord {
public:
    static constexpr uint16_t kChangeWeight = 0x8000;
    static constexpr uint16_t kChangeNote = 0x4000;
    static constexpr uint16_t kChangeWater = 0x2000;
    static constexpr uint16_t kChangeActivity = 0x1000; // activity level or typed BMR

    static constexpr int kMaxWater = 99;
    static constexpr int kMinBMR = 100;
    static constexpr int kMaxBMR = 9999;
    // The note travels through an edit control's buffer of this size, its NUL included.
    static constexpr size_t kNoteBufferSize = 1024;

    CDayRecord() = default;
    explicit CDayRecord(const CJournalDate& date);

    const CJournalDate& Date() const { return m_date; }
    void SetDate(const CJournalDate& date);

    // Where the food log and exercise list began in the stored record; kept from reading.
    uint16_t FoodLogOffset() const { return m_foodLogOffset; }
    uint16_t ExerciseListOffset() const { return m_exerciseListOffset; }
    void SetStoredOffsets(uint16_t foodLog, uint16_t exerciseList);

    const CWeightValue& Weight() const { return m_weight; }
    // An unset weight clears the activity level (the BMR stays). A set weight replaces an
    // activity level of 0 by the profile's default and, unless the level is 5, stores the
    // BMR computed for it. Always sets the weight's change bit.
    void SetWeight(const CWeightValue& weight, const CUserProfile& profile);
    // The weight in pounds or (metric) kilograms; false when it comes to unset.
    bool SetWeight(double value, bool metric, const CUserProfile& profile);

    // 0 not set, 1-5 the activity levels; setting accepts 1-5 only.
    int16_t ActivityLevel() const { return m_activityLevel; }
    bool SetActivityLevel(int level);

    // Calories per day. Below 100 is refused; above 9999 stores 9999. A change sets the
    // activity change bit (the user typed it, or the merge took it).
    int16_t BMR() const { return m_bmr; }
    bool SetBMR(int bmr);
    // Stores the BMR computed from the profile for the day's level and weight, unless the
    // level is 0 or 5; a failed computation leaves the stored value. No change bit: it
    // only follows from values that carry their own.
    bool RecomputeBMR(const CUserProfile& profile);

    // The note as stored: lines separated by a single line feed.
    const std::string& Note() const { return m_note; }
    void SetNote(std::string_view note);
    // From an edit control: carriage returns are dropped. At most kNoteBufferSize - 1 bytes
    // of the edited text are taken; the rest is cut.
    void SetNoteFromEdit(std::string_view edited);
    // For an edit control: every line feed becomes CR LF. The result never exceeds
    // kNoteBufferSize - 1 bytes; a line end that does not fit whole ends the text.
    std::string NoteForEdit() const;

    // Glasses of water 0-99: 100 or more stores 99, a negative count stores 0.
    int16_t Water() const { return m_water; }
    void SetWater(int glasses);

    uint16_t ChangeBits() const { return m_changeBits; }
    // True when the day, its measurements, blood pressure or any entry carries a change.
    bool HasChanges() const;
    // Clears the day's bits and those of its measurements, blood pressure and entries.
    void ClearChangeBits();

    CBodyMeasurements& Measurements() { return m_measurements; }
    const CBodyMeasurements& Measurements() const { return m_measurements; }
    CBloodPressure& BloodPressure() { return m_bloodPressure; }
    const CBloodPressure& BloodPressure() const { return m_bloodPressure; }
    CDayFoodLog& FoodLog() { return m_foodLog; }
    const CDayFoodLog& FoodLog() const { return m_foodLog; }
    CExerciseList& Exercises() { return m_exercises; }
    const CExerciseList& Exercises() const { return m_exercises; }

    // Derived values, brought up to date by Refresh.
    int32_t FoodCalories() const { return m_foodCalories; }
    int32_t ExerciseCalories() const { return m_exerciseCalories; }
    // Recomputes the food totals and food calories, the BMR (see RecomputeBMR) and the
    // exercise calories.
    void Refresh(const CUserProfile& profile);

    // For readers of stored records: values exactly as stored, without limits or bits.
    void SetStoredWeight(const CWeightValue& weight) { m_weight = weight; }
    void SetStoredActivityLevel(int16_t level) { m_activityLevel = level; }
    void SetStoredBMR(int16_t bmr) { m_bmr = bmr; }
    void SetStoredNote(std::string_view note);
    void SetStoredWater(int16_t glasses) { m_water = glasses; }
    void SetChangeBits(uint16_t bits) { m_changeBits = bits; }

private:
    void StoreActivityLevel(int16_t level);
    void StoreBMR(int bmr);

    CJournalDate m_date;
    uint16_t m_foodLogOffset = 0;
    uint16_t m_exerciseListOffset = 0;
    CWeightValue m_weight;
    int16_t m_activityLevel = 0;
    int16_t m_bmr = 0;
    std::string m_note;
    int16_t m_water = 0;
    uint16_t m_changeBits = 0;
    CBodyMeasurements m_measurements;
    CBloodPressure m_bloodPressure;
    CDayFoodLog m_foodLog;
    CExerciseList m_exercises;
    int32_t m_foodCalories = 0;
    int32_t m_exerciseCalories = 0;
};

} // namespace fitquill
