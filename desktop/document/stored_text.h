// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

namespace fitquill {

// The program's one seam between std::string and QString. Stored text is Windows-1252 bytes
// (names, notes, units, user names, and every text core composes from them, such as report
// lines); Qt text is Unicode. Nothing else in the desktop program converts between the two
// (a test greps for it).

QString FromStored(std::string_view stored);
// Characters Windows-1252 cannot hold have no stored form and are left out: every box that
// takes stored text refuses them as they are typed (GuardStoredText), so nothing typed is lost.
std::string ToStored(const QString& text);
// Whether every character of the text has a Windows-1252 byte.
bool IsStorable(const QString& text);
// The first character (a surrogate pair counts as one) that has none, or an empty string.
QString FirstUnstorable(const QString& text);

// Texts that are not stored text: file system paths, and UTF-8 from and to the outside (the
// command line, the terminal, URLs).
QString FromPath(const std::filesystem::path& path);
std::filesystem::path ToPath(const QString& path);
QString FromUtf8(std::string_view text);
std::string ToUtf8(const QString& text);

} // namespace fitquill
