// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace fitquill {

constexpr int kNutrientCount = 34;
constexpr int kBasicNutrientCount = 6; // calories, carbohydrate, protein, fiber, fat, sat. fat

enum ENutrient : uint8_t {
    kNutrientCalories = 0,
    kNutrientCarbohydrate = 1,
    kNutrientProtein = 2,
    kNutrientFiber = 3,
    kNutrientFat = 4,
    kNutrientSaturatedFat = 5,
};

struct SNutrientInfo {
    const char* name;
    const char* shortCode;
    const char* unit;
};

// The nutrient table; raises internal error 1000 for an index above 33.
const SNutrientInfo& NutrientInfo(int index);

// A nutrient index 0-33 and a value, clamped when stored: negative or NaN becomes 0, above
// 9999.9 becomes 9999 for calories and 9999.9 for every other nutrient.
class CNutrientValue {
public:
    // Raises internal error 1000 for an index above 33.
    explicit CNutrientValue(int index = 0, float value = 0.0f);

    uint8_t Index() const { return m_index; }
    float Value() const { return m_value; }
    void SetValue(float value);
    bool operator==(const CNutrientValue&) const = default;

private:
    uint8_t m_index = 0;
    float m_value = 0.0f;
};

} // namespace fitquill
