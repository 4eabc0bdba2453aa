// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/units.h"
#include "tools/fooddata/usda_data.h"

#include <limits>
#include <string>
#include <vector>

namespace fitquill {

// What a USDA household measure is in the program's units.
enum class EPortionKind {
    kVolume,     // cup, tbsp, fl oz, quart, ...
    kItem,       // countable: medium, slice, piece, bar, can, ...
    kWeight,     // oz, lb, g
    kUnsuitable, // a recipe yield, a whole carcass or roast, more than a kilogram
};

struct SPortionUnit {
    EPortionKind kind = EPortionKind::kUnsuitable;
    uint8_t unit = kUnitItem;
    double amount = 0.0; // in that unit
};

// Reads the unit from the start of the description ("cup, chopped", "fl oz", "lb"); a
// "serving" that names its size ("serving 1/2 cup", "serving (5 fl oz)") takes that unit.
SPortionUnit ClassifyPortion(const SUsdaPortion& portion);

// Where a food's base portion came from.
enum class EBaseSource { kVolume, kItem, kWeight, kDefault100g };

// A food item's base portion: the same amount of food as a volume-or-item measure (empty
// for weight-only foods) and as a weight; the serving is the household measure.
struct SBasePortion {
    CServingMeasure volumeOrItem;
    CServingMeasure weight;
    CServingMeasure serving;
    double grams = 100.0;
    EBaseSource source = EBaseSource::kDefault100g;
};

// The portion a person would log: the first volume or countable measure, except that a
// "medium" whole food wins over a volume listed before it; else the first weight measure;
// else 100 g. Measures heavier than maxGrams are passed over (a nutrient of the portion
// would exceed what an entry can hold); then the fallback is 100, 10 or 1 g, the first that
// is light enough.
SBasePortion ChooseBasePortion(const std::vector<SUsdaPortion>& portions,
                               double maxGrams = std::numeric_limits<double>::infinity());

} // namespace fitquill
