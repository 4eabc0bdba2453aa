// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace fitquill {

// One settings file in the INI form that the desktop program's settings library (QSettings)
// writes on Linux, read and edited without that library so that the conduits and the command
// line tools see the same values as the desktop program.
//
// Keys are full paths "Section/Key" (a key of the [General] section has no section part) and
// are case-sensitive. Values are UTF-8 text; a stored value that is not text (a list, an invalid
// or binary-typed value) reads as an empty text, as the desktop program would read it.
class CIniSettings {
public:
    CIniSettings() = default;

    // Parses the bytes of a file. Never fails: lines that cannot be understood are skipped, and
    // of a key given more than once the last one counts.
    static CIniSettings Parse(std::string_view fileText);

    std::optional<std::string> Value(std::string_view key) const;
    bool Contains(std::string_view key) const { return Value(key).has_value(); }
    const std::map<std::string, std::string, std::less<>>& Values() const { return m_values; }

    // Returns `fileText` with `key` set to `value`, changing only the line that holds the key
    // (or adding one to the key's section, or adding the section at the end), so that every
    // other line, comment and section stays byte for byte. `key` needs a section part.
    static std::string WithValue(std::string_view fileText, std::string_view key,
                                 std::string_view value);

    // The encodings of the file form, exposed for the tests and for tools that build files.
    static std::string EscapeKey(std::string_view key);
    static std::string UnescapeKey(std::string_view stored);
    static std::string EscapeValue(std::string_view value);
    // Decodes a stored value as the settings library converts it to text.
    static std::string UnescapeValue(std::string_view stored);

private:
    std::map<std::string, std::string, std::less<>> m_values;
};

} // namespace fitquill
