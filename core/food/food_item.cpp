// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_item.h"

#include "core/names.h"

#include <array>

namespace fitquill {

CFoodItem::CFoodItem() {
    std::array<CNutrientValue, kBasicNutrientCount> empty;
    for (int i = 0; i < kBasicNutrientCount; ++i)
        empty[static_cast<std::size_t>(i)] = CNutrientValue(i, 0.0f);
    m_nutrients = CNutrientList(empty);
    // The ratio of an empty serving to an empty measure is 0.
    m_servingRatio = 0.0f;
}

void CFoodItem::SetName(std::string_view name, bool alsoSearchName) {
    m_name = TrimSpaces(name);
    if (alsoSearchName)
        m_searchName = m_name;
}

void CFoodItem::SetSearchName(std::string_view searchName) {
    m_searchName = TrimSpaces(searchName);
}

void CFoodItem::SetServing(const CServingMeasure& serving) {
    m_serving = serving;
    const bool volumeOrItem = IsVolumeUnit(serving.Unit()) || serving.Unit() == kUnitItem;
    m_servingRatio =
        fitquill::ServingRatio(m_serving, volumeOrItem ? m_volumeMeasure : m_weightMeasure);
    DeriveServingUnitSet();
}

void CFoodItem::SetBaseMeasure(const CServingMeasure& measure, bool keepOther) {
    CServingMeasure* other = nullptr;
    bool servingMatches = false;
    if (IsVolumeUnit(measure.Unit())) {
        m_volumeMeasure = measure;
        other = &m_weightMeasure;
        servingMatches = IsVolumeUnit(m_serving.Unit());
    } else if (measure.Unit() >= kUnitOz && measure.Unit() <= kUnitKg) {
        m_weightMeasure = measure;
        other = &m_volumeMeasure;
        servingMatches = !IsVolumeUnit(m_serving.Unit());
    } else {
        m_volumeMeasure = measure;
        other = &m_weightMeasure;
        servingMatches = m_serving.Unit() == kUnitItem;
    }
    if (servingMatches)
        m_servingRatio = fitquill::ServingRatio(m_serving, measure);
    if (!keepOther)
        *other = CServingMeasure();
    DeriveServingUnitSet();
}

void CFoodItem::DeriveServingUnitSet() {
    m_serving.SetUnitSet(DeriveUnitSet(m_volumeMeasure, m_weightMeasure));
}

int CFoodItem::NutrientPosition(int index) const {
    const std::span<const CNutrientValue> nutrients = m_nutrients.Values();
    const int size = static_cast<int>(nutrients.size());
    if (index < 0)
        return -1;
    if (index < kBasicNutrientCount)
        return index < size ? index : -1;
    for (int i = kBasicNutrientCount; i < size; ++i) {
        if (nutrients[i].Index() == index)
            return i;
        if (nutrients[i].Index() > index)
            break;
    }
    return -1;
}

float CFoodItem::NutrientValue(int index) const {
    const int at = NutrientPosition(index);
    return at < 0 ? 0.0f : m_nutrients.Values()[at].Value() * m_servingRatio;
}

bool CFoodItem::SetNutrientValue(int index, float value) {
    const int at = NutrientPosition(index);
    if (at < 0)
        return false;
    m_nutrients[at].SetValue(value);
    return true;
}

void CFoodItem::SetStoredMeasures(const CServingMeasure& serving,
                                  const CServingMeasure& volumeOrItem,
                                  const CServingMeasure& weight) {
    m_serving = serving;
    m_volumeMeasure = volumeOrItem;
    m_weightMeasure = weight;
}

bool CFoodItem::ValidStoredNutrients(std::span<const CNutrientValue> nutrients) {
    if (nutrients.size() < kBasicNutrientCount)
        return false;
    for (size_t i = 0; i < nutrients.size(); ++i) {
        if (i < kBasicNutrientCount ? nutrients[i].Index() != i
                                    : nutrients[i].Index() <= nutrients[i - 1].Index())
            return false;
    }
    return true;
}

bool CFoodItem::SetStoredNutrients(std::span<const CNutrientValue> nutrients) {
    if (!ValidStoredNutrients(nutrients))
        return false;
    m_nutrients = CNutrientList(nutrients);
    return true;
}

std::optional<CFoodItem> CFoodItem::WithStoredNutrients(std::span<const CNutrientValue> nutrients) {
    if (!ValidStoredNutrients(nutrients))
        return std::nullopt;
    CFoodItem item{SNoNutrients{}};
    item.m_nutrients = CNutrientList(nutrients);
    return item;
}

} // namespace fitquill
