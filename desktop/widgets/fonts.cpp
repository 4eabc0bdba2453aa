// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/widgets/fonts.h"

#include <QDir>
#include <QFontDatabase>

namespace fitquill {
namespace {

bool HasTahoma() {
    return QFontDatabase::families().contains(QString::fromLatin1(kCustomFontFamily),
                                              Qt::CaseInsensitive);
}

} // namespace

bool RegisterTahoma(const QString& fallbackFolder) {
    if (HasTahoma())
        return true;
    QDir folder(fallbackFolder);
    // The regular and the bold face; any case, as copies from elsewhere are often capitalised.
    const QStringList files = folder.entryList({QStringLiteral("tahoma*.ttf")}, QDir::Files,
                                               QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files)
        QFontDatabase::addApplicationFont(folder.filePath(file));
    return HasTahoma();
}

QFont CustomFont(double points) {
    QFont font(QString::fromLatin1(kCustomFontFamily));
    font.setPointSizeF(points);
    return font;
}

} // namespace fitquill
