// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace fitquill {

// What reaching the goal weight by the goal date takes: the weight change in pounds (start
// minus goal, so positive means losing), the days between the two dates and the calories to
// save per day (negative for a gain). Computed by ComputeGoalSummary (energy_balance.h).
class CGoalSummary {
public:
    CGoalSummary() = default;

    bool IsValid() const { return m_valid != 0; }
    uint8_t Valid() const { return m_valid; }
    float WeightChange() const { return m_weightChange; }
    int32_t Days() const { return m_days; }
    int32_t DailyCalories() const { return m_dailyCalories; }

    void Set(float weightChange, int32_t days, int32_t dailyCalories) {
        m_valid = 1;
        m_weightChange = weightChange;
        m_days = days;
        m_dailyCalories = dailyCalories;
    }
    // Marks the summary invalid; the numbers stay as they were, as stored records keep them.
    void Invalidate() { m_valid = 0; }

    // For readers of stored records: the fields exactly as stored.
    void SetRaw(uint8_t valid, float weightChange, int32_t days, int32_t dailyCalories) {
        m_valid = valid;
        m_weightChange = weightChange;
        m_days = days;
        m_dailyCalories = dailyCalories;
    }

    bool operator==(const CGoalSummary&) const = default;

private:
    uint8_t m_valid = 0;
    float m_weightChange = 0.0f;
    int32_t m_days = 0;
    int32_t m_dailyCalories = 0;
};

} // namespace fitquill
