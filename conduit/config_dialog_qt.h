// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conduit/config_dialog.h"

#include <filesystem>

namespace fitquill {

// No dialog could be shown: no display, or a host application without widgets.
inline constexpr int kDialogNotShown = -1;

// Shows the dialog of the procedure modally, owned by the application's active window, and
// returns kDialogResultOk or kDialogResultCancel. Uses the host's QApplication; when there is
// none, one lives for the time of the dialog, provided a display is available.
int ShowConfigDialog(CConfigDialog& procedure, const std::filesystem::path& moduleFolder);

} // namespace fitquill
