// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/nutrient.h"

#include "core/internal_error.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <type_traits>

namespace fitquill {
namespace {

const SNutrientInfo kNutrients[kNutrientCount] = {
    {"Calorie", "Cal", ""},        {"Carb", "Cb", "g"},          {"Protein", "Pr", "g"},
    {"Fiber", "Fib", "g"},         {"Fat", "Fat", "g"},          {"SFat", "SFat", "g"},
    {"MFat", "MFat", "g"},         {"PFat", "PFat", "g"},        {"Sugar", "Sug", "g"},
    {"Cholesterol", "Chol", "g"},  {"Net Carb", "NCb", "g"},     {"Calcium", "Calc", "mg"},
    {"Iron", "Iron", "mg"},        {"Magnesium", "Magn", "mg"},  {"Phosphorus", "Phos", "mg"},
    {"Potassium", "Potm", "mg"},   {"Sodium", "Sodm", "mg"},     {"Zinc", "Zinc", "mg"},
    {"Copper", "Copr", "mg"},      {"Manganese", "Mang", "mg"},  {"Selenium", "Selm", "mg"},
    {"Vit A", "VitA", "IU"},       {"Vit B6", "VB6", "mg"},      {"Vit B12", "VB12", "mg"},
    {"Vit C", "VitC", "mg"},       {"Vit E", "VitE", "mg"},      {"Vit K", "VitK", "mcg"},
    {"Thiamin", "Thim", "mg"},     {"Riboflavin", "Ribo", "mg"}, {"Niacin", "Niac", "mg"},
    {"Folic Acid", "Foli", "mcg"}, {"Retinol", "Reti", "mcg"},   {"Folate", "Fola", "mcg"},
    {"Panto Acid", "Pant", "mg"},
};

void CheckIndex(int index) {
    if (index < 0 || index >= kNutrientCount)
        RaiseInternalError(kInternalErrorFoodDb, "nutrient index out of range");
}

} // namespace

const SNutrientInfo& NutrientInfo(int index) {
    CheckIndex(index);
    return kNutrients[index];
}

CNutrientValue::CNutrientValue(int index, float value) {
    CheckIndex(index);
    m_index = static_cast<uint8_t>(index);
    SetValue(value);
}

void CNutrientValue::SetValue(float value) {
    if (std::isnan(value) || value < 0.0f)
        value = 0.0f;
    if (value > 9999.9f)
        value = m_index == kNutrientCalories ? 9999.0f : 9999.9f;
    m_value = value;
}

// The values follow the count byte unaligned, which their packing allows.
static_assert(alignof(CNutrientValue) == 1 && sizeof(CNutrientValue) == 5);
static_assert(std::is_trivially_copyable_v<CNutrientValue>);

CNutrientList::CNutrientList(std::span<const CNutrientValue> values) {
    if (values.empty())
        return;
    if (values.size() > 0xFF)
        RaiseInternalError(kInternalErrorFoodDb, "too many nutrient values for one list");
    m_block = std::make_unique_for_overwrite<uint8_t[]>(1 + values.size() * sizeof(CNutrientValue));
    m_block[0] = static_cast<uint8_t>(values.size());
    std::uninitialized_copy(values.begin(), values.end(),
                            reinterpret_cast<CNutrientValue*>(m_block.get() + 1));
}

CNutrientList& CNutrientList::operator=(const CNutrientList& other) {
    if (this != &other)
        *this = CNutrientList(other);
    return *this;
}

bool CNutrientList::operator==(const CNutrientList& other) const {
    return std::ranges::equal(Values(), other.Values());
}

} // namespace fitquill
