// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/text_encoding.h"

#include "core/windows1252.h"

namespace fitquill {
namespace {

// A close ASCII spelling for characters outside Windows-1252, or nullptr.
const char* AsciiStandIn(char32_t c) {
    switch (c) {
    case 0x00A0: // no-break space
    case 0x2002:
    case 0x2003:
    case 0x2009:
        return " ";
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2212: // minus sign
        return "-";
    case 0x2032: // prime, used for feet and minutes
        return "'";
    case 0x2033: // double prime, used for inches
        return "\"";
    case 0x2044: // fraction slash
        return "/";
    default:
        return nullptr;
    }
}

} // namespace

std::string Utf8ToWindows1252BestFit(std::string_view utf8, size_t* changed) {
    std::string out;
    out.reserve(utf8.size());
    size_t count = 0;
    size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t c = 0;
        const bool valid = DecodeUtf8(utf8, pos, c);
        const std::optional<char> byte = valid ? UnicodeToWindows1252(c) : std::nullopt;
        if (c == '\t') {
            out += ' ';
            ++count;
        } else if (c < 0x20 || c == 0x7F) {
            ++count; // control characters have no place in a name
        } else if (const char* standIn = AsciiStandIn(c)) {
            out += standIn;
            ++count;
        } else if (byte) {
            out += *byte;
        } else {
            out += '?';
            ++count;
        }
    }
    if (changed)
        *changed += count;
    return out;
}

} // namespace fitquill
