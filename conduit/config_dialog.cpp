// SPDX-License-Identifier: GPL-3.0-or-later
#include "conduit/config_dialog.h"

#include "conduit/conduit_api.h"
#include "conduit/sync/record_fields.h"

namespace fitquill {

CConfigDialog::CConfigDialog(const SConduitIdentity& identity, int dialogId, uint8_t* record)
    : m_identity(identity), m_dialogId(dialogId), m_record(record),
      m_selected(ButtonForAction(ReadRecordI32(record, kConfigNextAction))) {}

std::string_view CConfigDialog::ControlText(int control) {
    switch (control) {
    case kControlSynchronize:
        return "&Synchronize the files";
    case kControlDesktopOverwrites:
        return "&Desktop overwrites handheld";
    case kControlHandheldOverwrites:
        return "&Handheld overwrites Desktop";
    case kControlDoNothing:
        return "Do &nothing";
    case kControlSetAsDefault:
        return "Set &as default";
    case kControlDefaultAction:
        return "Default HotSync Action:";
    case kControlNextAction:
        return "Next HotSync Action:";
    default:
        return {};
    }
}

std::string_view CConfigDialog::Title() const {
    return ConduitString(m_identity, kStringConduitName);
}

std::string_view CConfigDialog::GroupCaption() const {
    return ConduitString(m_identity, kStringActionCaption);
}

int CConfigDialog::ButtonForAction(int32_t action) {
    switch (action) {
    case kHotSyncActionFast:
    case kHotSyncActionSlow:
        return kControlSynchronize;
    case kHotSyncActionHandheldToDesktop:
        return kControlHandheldOverwrites;
    case kHotSyncActionDesktopToHandheld:
        return kControlDesktopOverwrites;
    default:
        return kControlDoNothing;
    }
}

int32_t CConfigDialog::ActionForButton(int button) {
    switch (button) {
    case kControlSynchronize:
        return kHotSyncActionFast;
    case kControlDesktopOverwrites:
        return kHotSyncActionDesktopToHandheld;
    case kControlHandheldOverwrites:
        return kHotSyncActionHandheldToDesktop;
    default:
        return kHotSyncActionDoNothing;
    }
}

void CConfigDialog::Click(int control) {
    if (control >= kControlSynchronize && control <= kControlDoNothing)
        m_selected = control;
}

std::string CConfigDialog::ActionText(int32_t action) const {
    int id = kStringDoNothing;
    switch (ButtonForAction(action)) {
    case kControlSynchronize:
        id = kStringSynchronize;
        break;
    case kControlHandheldOverwrites:
        id = kStringHandheldOverwrites;
        break;
    case kControlDesktopOverwrites:
        id = kStringDesktopOverwrites;
        break;
    default:
        break;
    }
    return std::string(ConduitString(m_identity, id));
}

bool CConfigDialog::ShowsCurrentSettings() const {
    return ReadRecordU32(m_record, kConfigCreator) != 0;
}

std::string CConfigDialog::DefaultActionText() const {
    return ShowsCurrentSettings() ? ActionText(ReadRecordI32(m_record, kConfigPermanentAction))
                                  : std::string();
}

std::string CConfigDialog::NextActionText() const {
    return ShowsCurrentSettings() ? ActionText(ReadRecordI32(m_record, kConfigNextAction))
                                  : std::string();
}

std::string CConfigDialog::CurrentSettingsCaption() const {
    if (!ShowsCurrentSettings())
        return {};
    // The user name is data, never a format: it replaces the one placeholder as plain text.
    std::string caption(ConduitString(m_identity, kStringCurrentSettings));
    const size_t at = caption.find("%s");
    caption.replace(at, 2, ReadRecordText(m_record, kConfigUserName, kConfigUserNameSize));
    return caption;
}

int CConfigDialog::Ok() {
    WriteRecordI32(m_record, kConfigNewAction, ActionForButton(m_selected));
    WriteRecordI32(m_record, kConfigPreferenceKind,
                   m_setAsDefault ? kPreferencePermanent : kPreferenceTemporary);
    return kDialogResultOk;
}

SHelpTopic CConfigDialog::Help(const std::filesystem::path& moduleFolder) {
    return {moduleFolder / kHelpFileName, kHelpContext};
}

} // namespace fitquill
