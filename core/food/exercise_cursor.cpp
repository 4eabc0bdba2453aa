// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/exercise_cursor.h"

#include "core/calc/exercise_calories.h"
#include "core/names.h"

namespace fitquill {

CExerciseCursor::CExerciseCursor() : m_activities(ExerciseActivityList()) {
    SetActivity(0);
}

void CExerciseCursor::SetActivity(int16_t activity) {
    m_activity = activity;
    if (activity >= 0 && activity < kExerciseActivityCount)
        m_variants = ExerciseVariantList(activity);
    SetVariant(m_variants.Empty() ? kNoSelection : 0);
}

void CExerciseCursor::SetVariant(int16_t variant) {
    m_variant = variant;
    const bool known = ExerciseVariantList(m_activity).Contains(variant);
    if (known || !ExerciseKeepsIntensitiesOnUnknownVariant(m_activity))
        m_intensities = ExerciseIntensityList(m_activity, variant);
    m_intensity = m_intensities.Empty() ? kNoSelection : 0;
}

void CExerciseCursor::SetName(std::string_view name) {
    m_name = TrimSpaces(name);
}

std::optional<uint16_t> CExerciseCursor::Calories(float weightPounds, int16_t minutes) const {
    return ExerciseCalories(m_activity, m_variant, m_intensity, weightPounds, minutes);
}

std::optional<uint16_t> CExerciseCursor::Calories(const CWeightValue& weight,
                                                  int16_t minutes) const {
    if (!weight.IsSet())
        return std::nullopt;
    return Calories(static_cast<float>(RoundByTextRule(weight.Pounds(), 1)), minutes);
}

} // namespace fitquill
