// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/document/stored_text.h"

#include "core/windows1252.h"

#include <QFile>

namespace fitquill {

QString FromStored(std::string_view stored) {
    QString text;
    text.reserve(static_cast<qsizetype>(stored.size()));
    // Every character of the code page lies in the Basic Multilingual Plane.
    for (char c : stored)
        text += QChar(static_cast<char16_t>(Windows1252ToUnicode(static_cast<unsigned char>(c))));
    return text;
}

std::string ToStored(const QString& text) {
    std::string stored;
    stored.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        if (const std::optional<char> byte = UnicodeToWindows1252(c.unicode()))
            stored += *byte;
    }
    return stored;
}

bool IsStorable(const QString& text) {
    return FirstUnstorable(text).isEmpty();
}

QString FirstUnstorable(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A surrogate is never a character of the code page; its pair shows as one character.
        if (!UnicodeToWindows1252(c.unicode()))
            return text.mid(i, c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1);
    }
    return QString();
}

QString FromPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

std::filesystem::path ToPath(const QString& path) {
    // UTF-16 names the file the same way on every platform's file system.
    return std::filesystem::path(path.toStdU16String());
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

} // namespace fitquill
