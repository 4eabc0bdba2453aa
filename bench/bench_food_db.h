// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_db.h"

namespace fitquill {

constexpr int kBenchGroups = 20;
constexpr int kBenchCategoriesPerGroup = 8;
constexpr int kBenchItemsPerCategory = 50;

// A food database the size of the shipped one: 8,000 items in 20 groups of 8 categories, each
// item with a long search name, both base measures and all 34 nutrients, as the default
// database's items have. The same database on every call.
const CFoodDB& BenchFoodDB();

} // namespace fitquill
