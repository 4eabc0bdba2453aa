// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_item.h"

#include <cstddef>
#include <string>
#include <vector>

namespace fitquill {

// The longest search name a recipe gets: the longest text the food database's names take.
constexpr size_t kRecipeSearchNameLimit = 255;

// A food item made from logged food entries: every nutrient index that any entry holds, summed
// over the entries as eaten (each scaled by its servings) and divided by the servings the
// recipe makes; one serving is "1 item". The name is left for the user; the search name lists
// the ingredients. Servings below 1 count as 1.
CFoodItem RecipeFoodItem(const std::vector<CFoodItem>& entries, double servings = 1.0);

// The ingredients' names, each once, in the given order, separated by ", ", with as many whole
// names as fit the limit (the first one cut when even it does not fit).
std::string RecipeSearchName(const std::vector<CFoodItem>& entries,
                             size_t limit = kRecipeSearchNameLimit);

} // namespace fitquill
