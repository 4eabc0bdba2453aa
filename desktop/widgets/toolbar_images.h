// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QSize>

namespace fitquill {

// The size of a toolbar button image.
inline constexpr QSize kToolbarImageSize{16, 15};

// The image of a "Standard" toolbar button, drawn by the program; a null icon for a command
// without a button.
QIcon ToolbarIcon(int commandId);

} // namespace fitquill
