// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

namespace fitquill {

// The program's icon, drawn once as a list of shapes on a 256-unit square and written both as
// SVG text and as pixel images, so that the two can never disagree.
class CAppIcon {
public:
    static QString Svg();
    static QImage Image(int size);
};

} // namespace fitquill
