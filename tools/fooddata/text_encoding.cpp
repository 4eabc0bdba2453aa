// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/text_encoding.h"

#include <cstdint>

namespace fitquill {
namespace {

// Code points of Windows-1252 bytes 0x80-0x9F; 0 where the byte is undefined.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// Decodes one UTF-8 sequence at pos; returns U+FFFD for anything malformed (overlong,
// surrogate, beyond U+10FFFF, truncated) and always advances by at least one byte.
char32_t DecodeOne(std::string_view text, size_t& pos) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++pos;
        return 0xFFFD;
    }
    if (text.size() - pos < static_cast<size_t>(length)) {
        ++pos;
        return 0xFFFD;
    }
    for (int i = 1; i < length; ++i) {
        const uint8_t next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        value = (value << 6) | (next & 0x3F);
    }
    pos += length;
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0xFFFD;
    return value;
}

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

std::string Utf8ToWindows1252(std::string_view utf8, size_t* changed) {
    std::string out;
    out.reserve(utf8.size());
    size_t count = 0;
    size_t pos = 0;
    while (pos < utf8.size()) {
        const char32_t c = DecodeOne(utf8, pos);
        if (c == '\t') {
            out += ' ';
            ++count;
        } else if (c < 0x20 || c == 0x7F) {
            ++count; // control characters have no place in a name
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c >= 0xA0 && c <= 0xFF && c != 0xA0) {
            out += static_cast<char>(static_cast<unsigned char>(c));
        } else if (const char* standIn = AsciiStandIn(c)) {
            out += standIn;
            ++count;
        } else {
            char mapped = '?';
            for (int i = 0; i < 32; ++i) {
                if (kHighControls[i] != 0 && kHighControls[i] == c) {
                    mapped = static_cast<char>(0x80 + i);
                    break;
                }
            }
            out += mapped;
            if (mapped == '?')
                ++count;
        }
    }
    if (changed)
        *changed += count;
    return out;
}

} // namespace fitquill
