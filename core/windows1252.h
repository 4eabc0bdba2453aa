// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace fitquill {

// Stored texts (names, notes, units, user names) are Windows-1252 bytes, the code page the
// handheld shows. This is the one conversion between those bytes and Unicode; everything that
// shows stored text to people or takes text from them goes through it.

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// The character a stored byte stands for. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) show as U+FFFD.
char32_t Windows1252ToUnicode(unsigned char byte);
// The byte that holds a character, or nothing when the code page has none (U+FFFD included,
// so an undefined byte that was shown is never written back as some other byte).
std::optional<char> UnicodeToWindows1252(char32_t character);

// Stored bytes as UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);
// UTF-8 as stored bytes; nothing when the text is not valid UTF-8 or holds a character the code
// page cannot hold. `badOffset` then receives the offset of the first such sequence.
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8, size_t* badOffset = nullptr);

// Decodes one UTF-8 sequence at `pos` into `character` and moves past it. A malformed sequence
// (overlong, surrogate, beyond U+10FFFF) gives false and U+FFFD and moves past it; a broken or
// cut one moves one byte.
bool DecodeUtf8(std::string_view text, size_t& pos, char32_t& character);
bool IsValidUtf8(std::string_view text);
void AppendUtf8(std::string& out, char32_t character);

} // namespace fitquill
