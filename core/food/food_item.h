// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/units.h"
#include "core/food/nutrient.h"
#include "core/journal/id_generator.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// A food item of the food database and, with a meal type and serving ratio, a logged food
// entry of the journal. Nutrient values are stored for one base portion; every value read
// is multiplied by the serving ratio.
class CFoodItem {
public:
    CFoodItem();
    // For readers of stored records: an item holding the nutrients as read, without the six
    // empty ones a new item starts with; nothing when SetStoredNutrients would refuse them.
    static std::optional<CFoodItem> WithStoredNutrients(std::span<const CNutrientValue> nutrients);

    uint32_t Id() const { return m_id; }
    void SetId(uint32_t id) { m_id = id; }
    uint8_t Modified() const { return m_modified; }
    void SetModified(uint8_t modified) { m_modified = modified; }

    const std::string& Name() const { return m_name; }
    const std::string& SearchName() const { return m_searchName; }
    // Stores the trimmed name and, when asked, the same text as search name.
    void SetName(std::string_view name, bool alsoSearchName);
    void SetSearchName(std::string_view searchName);

    const CServingMeasure& Serving() const { return m_serving; }
    const CServingMeasure& VolumeOrItemMeasure() const { return m_volumeMeasure; }
    const CServingMeasure& WeightMeasure() const { return m_weightMeasure; }
    // The serving eaten; recomputes the serving ratio against the matching base measure.
    void SetServing(const CServingMeasure& serving);
    // A base portion in a volume, weight or "item" unit; the other measure is emptied
    // unless keepOther is set.
    void SetBaseMeasure(const CServingMeasure& measure, bool keepOther);

    float ServingRatio() const { return m_servingRatio; }
    uint16_t MealType() const { return m_mealType; }
    void SetMealType(uint16_t mealType) { m_mealType = mealType; }

    // Stored value times the serving ratio; 0 when the item holds no entry of that index.
    float NutrientValue(int index) const;
    // Stores an unscaled value; false, changing nothing, when no entry of that index exists.
    bool SetNutrientValue(int index, float value);
    std::span<const CNutrientValue> Nutrients() const { return m_nutrients.Values(); }

    // For readers of stored records: the fields exactly as stored, without recomputation.
    // SetStoredNutrients refuses a list that is not ascending or lacks the six basic entries
    // in positions 0-5.
    void SetStoredMeasures(const CServingMeasure& serving, const CServingMeasure& volumeOrItem,
                           const CServingMeasure& weight);
    void SetStoredServingRatio(float ratio) { m_servingRatio = ratio; }
    bool SetStoredNutrients(std::span<const CNutrientValue> nutrients);

    // Two items are the same item when their identifiers are equal.
    bool SameItem(const CFoodItem& other) const { return m_id == other.m_id; }
    // Every field equal (for round-trip checks).
    bool operator==(const CFoodItem& other) const = default;

private:
    struct SNoNutrients {};
    explicit CFoodItem(SNoNutrients) {}
    static bool ValidStoredNutrients(std::span<const CNutrientValue> nutrients);
    // Position of the entry of a nutrient index in the list, or -1.
    int NutrientPosition(int index) const;
    void DeriveServingUnitSet();

    uint32_t m_id = CIdGenerator::kUnassigned;
    uint8_t m_modified = 0;
    // Beside the flag, in what would be padding: a journal keeps tens of thousands of entries.
    uint16_t m_mealType = 0;
    std::string m_name;
    std::string m_searchName;
    CServingMeasure m_serving;
    CServingMeasure m_volumeMeasure;
    CServingMeasure m_weightMeasure;
    CNutrientList m_nutrients;
    float m_servingRatio = 0.0f;
};

} // namespace fitquill
