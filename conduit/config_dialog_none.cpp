// SPDX-License-Identifier: GPL-3.0-or-later
// Builds without Qt have no dialog to show.
#include "conduit/config_dialog_qt.h"

namespace fitquill {

int ShowConfigDialog(CConfigDialog&, const std::filesystem::path&) {
    return kDialogNotShown;
}

} // namespace fitquill
