// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/recipe.h"

#include <algorithm>
#include <array>

namespace fitquill {

CFoodItem RecipeFoodItem(const std::vector<CFoodItem>& entries, double servings) {
    const double divisor = std::max(servings, 1.0);
    std::array<double, kNutrientCount> sums{};
    std::array<bool, kNutrientCount> present{};
    for (int n = 0; n < kBasicNutrientCount; ++n)
        present[static_cast<size_t>(n)] = true;
    for (const CFoodItem& entry : entries) {
        for (const CNutrientValue& value : entry.Nutrients()) {
            present[value.Index()] = true;
            sums[value.Index()] += static_cast<double>(value.Value()) * entry.ServingRatio();
        }
    }
    std::vector<CNutrientValue> nutrients;
    for (int n = 0; n < kNutrientCount; ++n)
        if (present[static_cast<size_t>(n)])
            nutrients.emplace_back(n, static_cast<float>(sums[static_cast<size_t>(n)] / divisor));

    CFoodItem item;
    const CServingMeasure oneItem(1.0f, kUnitItem);
    item.SetBaseMeasure(oneItem, false);
    item.SetServing(oneItem);
    item.SetStoredNutrients(nutrients);
    item.SetSearchName(RecipeSearchName(entries));
    return item;
}

std::string RecipeSearchName(const std::vector<CFoodItem>& entries, size_t limit) {
    std::vector<std::string> names;
    for (const CFoodItem& entry : entries)
        if (!entry.Name().empty() &&
            std::find(names.begin(), names.end(), entry.Name()) == names.end())
            names.push_back(entry.Name());
    std::string text;
    for (const std::string& name : names) {
        const std::string next = text.empty() ? name : text + ", " + name;
        if (next.size() > limit) {
            if (text.empty())
                text = name.substr(0, limit);
            break;
        }
        text = next;
    }
    return text;
}

} // namespace fitquill
