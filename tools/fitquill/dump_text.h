// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/units.h"
#include "core/food/nutrient.h"
#include "core/journal/journal_date.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// Pieces of the readable listings of the files, shared by the journal and food dumps.

// In double quotes as UTF-8, with quotes, backslashes, control bytes and the bytes Windows-1252
// leaves undefined escaped ("\n", "\x0d", "\x81"), so that every stored byte shows and a
// listing line never breaks.
std::string QuotedText(std::string_view text);
// A float as stored, to six significant digits without trailing zeros ("182.4", "-1").
std::string NumberText(double value);
// "0x8C8C0011".
std::string HexText(uint32_t value, int digits = 8);
// "2004-01-05".
std::string IsoDateText(const CJournalDate& date);
// "1.5 cup", or "none" for an empty measure.
std::string MeasureText(const CServingMeasure& measure);
// "Calories 95, Carbohydrate 25.1, ..." for every value of the list, in list order.
std::string NutrientsText(std::span<const CNutrientValue> values);

} // namespace fitquill
