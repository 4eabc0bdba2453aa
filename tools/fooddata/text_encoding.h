// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace fitquill {

// The program's texts are single-byte Windows-1252 (core/windows1252.h). Converts the USDA
// data's UTF-8 into names that must always come out, so unlike the codec it never refuses:
// ASCII stays, characters of Windows-1252 become their byte, a few common ones outside it
// become a close ASCII spelling (dashes, quotes, the non-breaking space), control characters
// other than tab are dropped (tab becomes a space) and anything else, including invalid UTF-8,
// becomes '?'. Each character that was not taken over as it was counts in *changed.
std::string Utf8ToWindows1252BestFit(std::string_view utf8, size_t* changed = nullptr);

} // namespace fitquill
