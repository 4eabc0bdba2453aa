// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/windows1252.h"

#include <array>
#include <cstdint>

namespace fitquill {
namespace {

// The bytes 0x80-0x9F; every other byte is its own code point. 0 marks the undefined ones.
constexpr std::array<char32_t, 32> kRow80 = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

char32_t Windows1252ToUnicode(unsigned char byte) {
    if (byte < 0x80 || byte > 0x9F)
        return byte;
    const char32_t c = kRow80[byte - 0x80];
    return c != 0 ? c : kReplacementCharacter;
}

std::optional<char> UnicodeToWindows1252(char32_t character) {
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<char>(static_cast<unsigned char>(character));
    for (size_t i = 0; i < kRow80.size(); ++i) {
        if (kRow80[i] != 0 && kRow80[i] == character)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes)
        AppendUtf8(out, Windows1252ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8, size_t* badOffset) {
    std::string out;
    out.reserve(utf8.size());
    size_t pos = 0;
    while (pos < utf8.size()) {
        const size_t start = pos;
        char32_t c = 0;
        std::optional<char> byte;
        if (DecodeUtf8(utf8, pos, c))
            byte = UnicodeToWindows1252(c);
        if (!byte) {
            if (badOffset)
                *badOffset = start;
            return std::nullopt;
        }
        out += *byte;
    }
    return out;
}

bool DecodeUtf8(std::string_view text, size_t& pos, char32_t& character) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(pos);
    if (lead < 0x80) {
        ++pos;
        character = lead;
        return true;
    }
    character = kReplacementCharacter;
    size_t length = 0;
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
        return false;
    }
    if (text.size() - pos < length) {
        ++pos;
        return false;
    }
    for (size_t i = 1; i < length; ++i) {
        const uint8_t next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return false;
        }
        value = (value << 6) | (next & 0x3F);
    }
    // A whole sequence with a value UTF-8 forbids is one bad character.
    pos += length;
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return false;
    character = value;
    return true;
}

bool IsValidUtf8(std::string_view text) {
    size_t pos = 0;
    char32_t c = 0;
    while (pos < text.size()) {
        if (!DecodeUtf8(text, pos, c))
            return false;
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace fitquill
