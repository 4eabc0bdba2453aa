// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/document/user_data_notice.h"

#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"

namespace fitquill {

void TellUserDataMove(QWidget* owner, const SUserDataMove& move) {
    if (move.outcome == SUserDataMove::EOutcome::Nothing)
        return;
    const EPromptIcon icon = move.outcome == SUserDataMove::EOutcome::Moved
                                 ? EPromptIcon::Information
                                 : EPromptIcon::Warning;
    ShowPrompt(owner, QStringLiteral("Fitquill Desktop"), FromUtf8(move.Message()), icon,
               EPromptButtons::Ok);
}

} // namespace fitquill
