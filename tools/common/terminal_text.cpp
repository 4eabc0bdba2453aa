// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/common/terminal_text.h"

#include "core/windows1252.h"
#include "tools/common/command_line.h"

#include <optional>

namespace fitquill {

std::string TerminalText(std::string_view stored) {
    return Windows1252ToUtf8(stored);
}

std::string StoredText(std::string_view typed, std::string_view what) {
    size_t bad = 0;
    std::optional<std::string> stored = Utf8ToWindows1252(typed, &bad);
    if (stored)
        return std::move(*stored);
    if (!IsValidUtf8(typed))
        throw CToolFailure(std::string(what) + " is not UTF-8 text.");
    size_t end = bad;
    char32_t character = 0;
    DecodeUtf8(typed, end, character);
    throw CToolFailure(std::string(what) + " '" + std::string(typed) + "' holds '" +
                       std::string(typed.substr(bad, end - bad)) +
                       "', a character that Fitquill cannot store (its files keep Western "
                       "European text, Windows-1252).");
}

} // namespace fitquill
