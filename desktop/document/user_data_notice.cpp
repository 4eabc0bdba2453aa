// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/document/user_data_notice.h"

#include "desktop/document/prompt.h"

namespace fitquill {

void TellUserDataMove(QWidget* owner, const SUserDataMove& move) {
    if (move.outcome == SUserDataMove::EOutcome::Nothing)
        return;
    const EPromptIcon icon = move.outcome == SUserDataMove::EOutcome::Moved
                                 ? EPromptIcon::Information
                                 : EPromptIcon::Warning;
    ShowPrompt(owner, QStringLiteral("Fitquill Desktop"), QString::fromStdString(move.Message()),
               icon, EPromptButtons::Ok);
}

} // namespace fitquill
