// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/units.h"
#include "core/food/food_item.h"
#include "core/food/nutrient.h"
#include "core/io/byte_reader.h"
#include "core/io/byte_writer.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// Byte layouts shared by the food database file and the journal's food entries (which are
// food items with a meal type and a serving ratio). Texts of a food item are stored with their
// NUL even when empty.

// Packed size of a serving measure: float amount, unit index, unit set.
constexpr std::size_t kServingMeasureSize = 6;
// Packed size of one nutrient list entry: index byte and float value.
constexpr std::size_t kNutrientEntrySize = 5;
// Fewest bytes a readable food item of the current layout takes (texts of length 0, an empty
// nutrient list), so that a damaged list count is caught before its loop runs.
constexpr std::size_t kMinFoodItemSize = 2 + 2 + 2 + 4 + 1 + 3 * kServingMeasureSize + 2 + 2 + 4;
// The same for the layout of versions 4 and 5.
constexpr std::size_t kMinOldFoodItemSize =
    4 + 1 + 2 + 2 + 3 * kServingMeasureSize + 6 * 4 + 2 + 4 + 2;

// Reads a stored text, NUL or not. A text too long to be written again (65,535 bytes without
// a NUL) marks the reader failed: no writer of the program can have stored it.
std::string ReadStoredText(CByteReader& in);
// The same as a view into the record, for a reader that keeps its own copy.
std::string_view ReadStoredTextView(CByteReader& in);

void PackServingMeasure(const CServingMeasure& measure, CByteWriter& out);
CServingMeasure UnpackServingMeasure(CByteReader& in);

// A 16-bit count, then per entry the nutrient index byte and the float value.
void PackNutrientList(std::span<const CNutrientValue> nutrients, CByteWriter& out);
// A nutrient index outside the nutrient table marks the reader failed (a damaged record, not
// a program error). Values are clamped as CNutrientValue stores them.
std::vector<CNutrientValue> UnpackNutrientList(CByteReader& in);

// Size of a food item in the current item layout, its own 16-bit size field included.
std::size_t FoodItemRecordSize(const CFoodItem& item);

// The current item layout: record size, name, search name, identifier, modified flag, serving,
// volume-or-item and weight measures, nutrient list, meal type, serving ratio. An item whose
// record would not fit its 16-bit size is a programming error (internal error 1000): the
// model keeps names far shorter.
void PackFoodItem(const CFoodItem& item, CByteWriter& out);

// Reads one item of the current layout. The stored record size is not used to position the
// reader (the fields are read one by one, each checked against the record). False when the
// bytes are damaged: they run past the record, the nutrient list is not the ascending list
// with the six basic nutrients first that a food item holds, or the item would not fit the
// 16-bit record size when written.
bool UnpackFoodItem(CByteReader& in, CFoodItem& item);
// The same, making the item as it reads it; nothing when the bytes are damaged.
std::optional<CFoodItem> UnpackFoodItem(CByteReader& in);

// Reads one item of the layout of format versions 4 and 5: identifier, flag, name, search
// name, the three measures, six floats with the nutrients 0, 1, 3, 2, 4, 5 in that order,
// meal type, serving ratio and two unused bytes.
bool UnpackOldFoodItem(CByteReader& in, CFoodItem& item);
std::optional<CFoodItem> UnpackOldFoodItem(CByteReader& in);

// The six basic nutrients as the old layouts store them: calories, carbohydrate, fiber,
// protein, fat, saturated fat.
std::vector<CNutrientValue> UnpackOldNutrients(CByteReader& in);

} // namespace fitquill
