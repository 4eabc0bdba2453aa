// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/nutrient.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// One household measure of a food (a row of portions.csv): amount x description weighs
// gramWeight grams.
struct SUsdaPortion {
    int seq = 0;
    double amount = 0.0;
    std::string description; // Windows-1252
    double gramWeight = 0.0;
};

// One food of foods.csv. Texts are converted to Windows-1252; nutrient values are per
// 100 g of the edible part, indexed by the program's nutrient index, in the unit of the
// program's nutrient table (not necessarily USDA's), nullopt where USDA has no value (a
// missing value is unknown, not zero).
struct SUsdaFood {
    std::string ndbNo;
    std::string groupCode;
    std::string groupName;
    std::string longDesc;
    std::string commonNames;
    std::string manufacturer;
    std::array<std::optional<double>, kNutrientCount> per100g;
    std::vector<SUsdaPortion> portions; // in USDA's sequence order
};

// The data set: foods with their portions, in NDB order.
struct SUsdaData {
    std::vector<SUsdaFood> foods;
    size_t portionCount = 0;
    size_t replacedCharacters = 0; // characters that Windows-1252 could not hold
    // The nutrients whose USDA unit differs from the program's, as "column: from -> to".
    std::vector<std::string> unitConversions;
};

// The nutrient index that each nutrient column of foods.csv feeds; the columns follow the
// program's nutrient list, which has one value USDA does not publish (net carbohydrate,
// derived from carbohydrate and fiber when the data set is read).
struct SUsdaNutrientColumn {
    const char* column;
    int nutrient;
};
extern const std::array<SUsdaNutrientColumn, 33> kUsdaNutrientColumns;

// The factor that turns a value in USDA's unit into the program's unit (kcal for the unit-less
// calories, any mass unit into another); nullopt when the two cannot be converted.
std::optional<double> NutrientUnitFactor(std::string_view usdaUnit, std::string_view unit);

// Reads foods.csv, portions.csv and nutrients.csv (USDA's unit of each nutrient column)
// from text. Fails, with a message naming file and line, on malformed CSV, a missing column,
// a number that does not parse, a duplicate food, a portion of an unknown food, or a
// nutrient whose USDA unit cannot be converted into the program's unit.
std::optional<SUsdaData> ParseUsdaData(std::string_view foodsCsv, std::string_view portionsCsv,
                                       std::string_view nutrientsCsv, std::string& error);

// Reads the files from a folder holding the data set.
std::optional<SUsdaData> LoadUsdaData(const std::filesystem::path& folder, std::string& error);

} // namespace fitquill
