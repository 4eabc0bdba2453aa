// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/units.h"
#include "core/food/exercise_table.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fitquill {

// A position in the exercise activity table, as the exercise entry walks it. An index is -1
// exactly where there is no list to choose from; choosing an activity lands on its first
// variant and that variant's first intensity.
class CExerciseCursor {
public:
    static constexpr int16_t kNoSelection = -1;

    // Stands on "Aerobics", "General", "Low Impact".
    CExerciseCursor();

    // An activity outside 0-26 is stored as given but keeps the lists shown so far.
    void SetActivity(int16_t activity);
    // A variant outside the list is stored as given; see ExerciseKeepsIntensitiesOnUnknownVariant
    // for which intensity list it shows.
    void SetVariant(int16_t variant);
    // Stored unchecked; a value outside the list burns 0 calories.
    void SetIntensity(int16_t intensity) { m_intensity = intensity; }

    int16_t Activity() const { return m_activity; }
    int16_t Variant() const { return m_variant; }
    int16_t Intensity() const { return m_intensity; }
    const SExerciseList& Activities() const { return m_activities; }
    const SExerciseList& Variants() const { return m_variants; }
    const SExerciseList& Intensities() const { return m_intensities; }

    // The typed name of a user-defined exercise, trimmed of spaces.
    const std::string& Name() const { return m_name; }
    void SetName(std::string_view name);

    // Calories burnt by the selected exercise at a weight in pounds over some minutes, capped
    // at 9999. nullopt when the minutes or the weight are not above 0, or for a user-defined
    // exercise (whose calories are typed).
    std::optional<uint16_t> Calories(float weightPounds, int16_t minutes) const;
    // The same for a day's weight, taken in pounds to one decimal whatever unit the user
    // chose; nullopt when the weight is unset.
    std::optional<uint16_t> Calories(const CWeightValue& weight, int16_t minutes) const;

private:
    int16_t m_activity = 0;
    int16_t m_variant = 0;
    int16_t m_intensity = 0;
    SExerciseList m_activities;
    SExerciseList m_variants;
    SExerciseList m_intensities;
    std::string m_name;
};

} // namespace fitquill
