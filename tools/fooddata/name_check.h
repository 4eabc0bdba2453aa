// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_db.h"
#include "tools/fooddata/food_name_rules.h"

#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// What a reviewer needs to know about the item names of a database, counted against the
// published naming words: the naming report's figures and its list of rule-breakers.
struct SNameCheck {
    size_t names = 0;
    size_t preparationOnly = 0;  // only words of preparation, state, cut or packing
    size_t withoutFoodWord = 0;  // no food word of the item's description (its search name)
    size_t uniqueInDatabase = 0; // names no other item of the database has (ignoring case)
    size_t sharedNames = 0;      // different names that two or more items have
    size_t addedNumbers = 0;     // ending in a number the description does not hold
    size_t badlyFormed = 0;      // empty, too long, untrimmed, doubled space or separator
    size_t categoryClashes = 0;  // a name twice in one category (ignoring case)
    // "rule: group / category / name <- description", in database order.
    std::vector<std::string> breakers;
    // The names most items share, as "count x name".
    std::vector<std::string> mostShared;

    std::string Text() const;
};

// Names without a single word that says what the food is ("Raw", "Lean & fat, raw").
bool IsPreparationOnly(std::string_view name, const CFoodNameRules& rules);
// True when a word of the name, singular or plural or abbreviated by the table, is a food word
// of the description: one that is no preparation, state, cut or packing word.
bool HoldsFoodWord(std::string_view name, std::string_view description,
                   const CFoodNameRules& rules);
// "Squash, winter 3": a trailing number that the description does not hold.
bool EndsInAddedNumber(std::string_view name, std::string_view description);
// 1 to 20 characters, trimmed, no doubled spaces, no two separators in a row, none at an end.
bool IsWellFormedName(std::string_view name);

// Checks every food item of the database; the search name is the description.
SNameCheck CheckNames(const CFoodDB& db, const CFoodNameRules& rules);

} // namespace fitquill
