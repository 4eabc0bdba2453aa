// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/id_generator.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace fitquill {

// One logged exercise of a day: what was done (indexes into the exercise activity table
// and a name), for how long and the calories it burnt.
class CExerciseEntry {
public:
    static constexpr int16_t kDefaultActivity = 26; // "User Defined Exercise"
    static constexpr int kMaxMinutes = 999;
    static constexpr int kMaxCalories = 9999;

    CExerciseEntry() = default;

    uint32_t Id() const { return m_id; }
    void SetId(uint32_t id) { m_id = id; }
    // 1 when added, pasted or replaced on the desktop since the last synchronisation.
    uint8_t Changed() const { return m_changed; }
    void SetChanged(uint8_t changed) { m_changed = changed; }

    int16_t Activity() const { return m_activity; }
    int16_t Variant() const { return m_variant; }
    int16_t Intensity() const { return m_intensity; }
    void SetActivity(int16_t activity) { m_activity = activity; }
    void SetVariant(int16_t variant) { m_variant = variant; }
    void SetIntensity(int16_t intensity) { m_intensity = intensity; }

    const std::string& Name() const { return m_name; }
    // Stored trimmed of leading and trailing spaces.
    void SetName(std::string_view name);

    uint16_t Minutes() const { return m_minutes; }
    // 1000 or more is stored as 999; a negative value as 0.
    void SetMinutes(int minutes);
    uint16_t Calories() const { return m_calories; }
    // 10000 or more is stored as 9999; a negative value as 0.
    void SetCalories(int calories);

    bool operator==(const CExerciseEntry&) const = default;

private:
    uint32_t m_id = CIdGenerator::kUnassigned;
    uint8_t m_changed = 0;
    int16_t m_activity = kDefaultActivity;
    int16_t m_variant = -1;
    int16_t m_intensity = -1;
    std::string m_name;
    uint16_t m_minutes = 0;
    uint16_t m_calories = 0;
};

} // namespace fitquill
