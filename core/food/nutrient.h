// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <span>

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
// 9999.9 becomes 9999 for calories and 9999.9 for every other nutrient. Packed to the five
// bytes it takes in a record: every food item carries a list of them.
class [[gnu::packed]] CNutrientValue {
public:
    // Calories at 0. Inline, so that a buffer of values costs next to nothing to set up.
    CNutrientValue() = default;
    // Raises internal error 1000 for an index above 33.
    explicit CNutrientValue(int index, float value = 0.0f);

    uint8_t Index() const { return m_index; }
    float Value() const { return m_value; }
    void SetValue(float value);
    bool operator==(const CNutrientValue&) const = default;

private:
    uint8_t m_index = 0;
    float m_value = 0.0f;
};

// The nutrient values of a food item in one allocation: a count byte, then the values. A
// journal keeps tens of thousands of food entries, where a vector's three pointers would be a
// sixth of what a six-nutrient entry holds.
class CNutrientList {
public:
    CNutrientList() = default;
    // Raises internal error 1000 for more than 255 values.
    explicit CNutrientList(std::span<const CNutrientValue> values);
    CNutrientList(const CNutrientList& other) : CNutrientList(other.Values()) {}
    CNutrientList(CNutrientList&&) noexcept = default;
    CNutrientList& operator=(const CNutrientList& other);
    CNutrientList& operator=(CNutrientList&&) noexcept = default;
    ~CNutrientList() = default;

    std::size_t Size() const { return m_block ? m_block[0] : 0; }
    std::span<const CNutrientValue> Values() const { return {First(), Size()}; }
    CNutrientValue& operator[](std::size_t at) { return First()[at]; }
    bool operator==(const CNutrientList& other) const;

private:
    CNutrientValue* First() const {
        return m_block ? std::launder(reinterpret_cast<CNutrientValue*>(m_block.get() + 1))
                       : nullptr;
    }

    std::unique_ptr<uint8_t[]> m_block;
};

} // namespace fitquill
