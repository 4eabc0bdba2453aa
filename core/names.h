// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace fitquill {

// Removes leading and trailing space characters (0x20 only); every stored text goes
// through this.
std::string TrimSpaces(std::string_view text);

// The name order of every sorted list: case-insensitive first; among names equal ignoring
// case, the larger byte at the first difference comes first (so "apple" before "Apple").
// Returns <0, 0 or >0; 0 only for byte-identical names.
int CompareNames(std::string_view a, std::string_view b);

// Case-insensitive substring test (ASCII letters), as the food find uses.
bool ContainsIgnoringCase(std::string_view text, std::string_view part);

} // namespace fitquill
