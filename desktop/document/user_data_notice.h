// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/settings/user_data_move.h"

class QWidget;

namespace fitquill {

// Tells the user, through the prompt, what moving an earlier build's users did; nothing when
// there was nothing to move. Shown only when something was found, so a finished move is told
// once.
void TellUserDataMove(QWidget* owner, const SUserDataMove& move);

} // namespace fitquill
