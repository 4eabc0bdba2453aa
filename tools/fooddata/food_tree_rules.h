// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/fooddata/usda_data.h"

#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// The groups of the shipped database, in the words of the food pyramid the program's first
// eight groups come from, plus the ones the USDA data needs.
extern const char* const kFoodGroupNames[];
extern const size_t kFoodGroupCount;

// The eight classic groups (with the meat groups that grew out of one of them) form the
// smaller subset meant for the handheld; the other groups are the extension a user adds with
// the automatic update.
bool IsHandheldGroup(std::string_view group);

// Categories of a group with more items than this are split into smaller ones. The meat
// groups split early: a cut of meat is what a person looks for, and item names have no
// room for it beside fat, trim, grade and cooking.
size_t SplitThreshold(std::string_view group, size_t defaultThreshold);

// Where one food goes in the tree before large categories are split: its group, its
// category and the description parts left for the item's name (the parts the category
// already says are taken out).
struct SFoodPlace {
    std::string group;
    std::string category;
    std::vector<std::string> parts;
    std::string brand; // the maker that leads the description, empty when none
};

// The family of a description is its first part ("Apples", "Beef", "Cheese") or, for a
// branded food, the brand; families with many foods are split by their next part ("Beef
// Round", "Salmon"), small families of some USDA groups gathered into one category.
// Placing needs the whole data set because those choices depend on family sizes.
std::vector<SFoodPlace> PlaceFoods(const std::vector<SUsdaFood>& foods);

} // namespace fitquill
