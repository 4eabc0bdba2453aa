// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace fitquill {

// The tools' one seam between stored text (Windows-1252 bytes, as the files keep it) and the
// terminal (UTF-8). Paths and the tools' own messages do not go through it.

// A stored name or text as the tools print it.
std::string TerminalText(std::string_view stored);
// A name or text given on the command line, in its stored form. Raises CToolFailure naming
// `what` ("The user name") when it is not UTF-8 or holds a character Windows-1252 cannot hold:
// such a name is refused, never stored with "?" in its place.
std::string StoredText(std::string_view typed, std::string_view what);

} // namespace fitquill
