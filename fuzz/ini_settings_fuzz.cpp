// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary text to the settings file reader and editor. Parsing never fails; setting a
// value and reading the file again gives that value back; escaping and unescaping keys and
// values are inverse.
#include "platform/settings/ini_settings.h"

#include <cstdlib>
#include <string>
#include <string_view>

using namespace fitquill;

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

// Keys and values come from the program as text; bytes that are no text are the file's side.
bool IsText(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\0')
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // The input is a file, a value and a key part, split at the last two NUL bytes.
    const size_t second = input.rfind('\0');
    const size_t first = second == std::string_view::npos || second == 0
                             ? std::string_view::npos
                             : input.rfind('\0', second - 1);
    std::string_view file = input;
    std::string_view value = "value";
    std::string_view keyName = "Name";
    if (first != std::string_view::npos) {
        file = input.substr(0, first);
        value = input.substr(first + 1, second - first - 1);
        keyName = input.substr(second + 1);
    }

    const CIniSettings settings = CIniSettings::Parse(file);
    for (const auto& [key, stored] : settings.Values())
        Check(settings.Value(key) == stored);

    if (!IsText(value) || !IsText(keyName))
        return 0;
    Check(CIniSettings::UnescapeValue(CIniSettings::EscapeValue(value)) == value);
    const std::string key = "InstallPath/" + std::string(keyName);
    if (keyName.empty() || keyName.find('/') != std::string_view::npos)
        return 0;
    Check(CIniSettings::UnescapeKey(CIniSettings::EscapeKey(key)) == key);

    const std::string edited = CIniSettings::WithValue(file, key, value);
    Check(CIniSettings::Parse(edited).Value(key) == std::string(value));
    return 0;
}
