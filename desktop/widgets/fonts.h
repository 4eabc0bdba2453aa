// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

namespace fitquill {

// The family and size of the custom-drawn pages, grids, tabs and calendars.
inline constexpr const char* kCustomFontFamily = "Tahoma";
inline constexpr double kCustomFontPoints = 8.5;
// Where Debian's fonts-wine puts its metric-compatible Tahoma.
inline constexpr const char* kWineFontsFolder = "/usr/share/wine/fonts";

// Makes "Tahoma" available to the program: when the system has no such family, registers
// the tahoma*.ttf files of fallbackFolder with the application's font database. Needs a
// QGuiApplication. Returns whether the family is available afterwards.
bool RegisterTahoma(const QString& fallbackFolder = QString::fromLatin1(kWineFontsFolder));

// "Tahoma" at the given point size.
QFont CustomFont(double points = kCustomFontPoints);

} // namespace fitquill
