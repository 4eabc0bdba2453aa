// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_item.h"

#include <cstddef>
#include <string>

namespace fitquill {

// The food tree's tooltip of a food item: its name, its serving and the six basic nutrients of
// one serving, one a line.
constexpr size_t kFoodTooltipMaxLength = 1024;
std::string FoodTooltipText(const CFoodItem& item);

} // namespace fitquill
