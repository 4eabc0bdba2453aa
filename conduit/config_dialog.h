// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conduit/conduit_identity.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace fitquill {

// Dialog and control ids of the "Change HotSync Action" dialog.
inline constexpr int kDialogConfigure = 399;       // ConfigureConduit
inline constexpr int kDialogCurrentSettings = 101; // CfgConduit: adds the current settings
inline constexpr int kControlActionGroup = 403;
inline constexpr int kControlSynchronize = 404;
inline constexpr int kControlDesktopOverwrites = 405;
inline constexpr int kControlHandheldOverwrites = 406;
inline constexpr int kControlDoNothing = 407;
inline constexpr int kControlSetAsDefault = 411;
inline constexpr int kControlHelp = 9;
inline constexpr int kControlFirstPicture = 1000; // 1000-1003, one per action button
inline constexpr int kControlDefaultAction = 1004;
inline constexpr int kControlNextAction = 1005;
inline constexpr int kControlSettingsGroup = 1006;

inline constexpr int kDialogResultOk = 0;
inline constexpr int kDialogResultCancel = 1;

inline constexpr char kHelpFileName[] = "hotsync.hlp";
inline constexpr uint32_t kHelpContext = 0x2018F;

struct SHelpTopic {
    std::filesystem::path file;
    uint32_t context = 0;
};

// The procedure behind the dialog, apart from any window: what the controls show, what a
// click selects and what OK writes into the configuration record (conduit_api.h layout, which
// the caller keeps alive and at least kConfigurationSize bytes long). The Qt dialog is a thin
// view of this; nothing here shows anything.
class CConfigDialog {
public:
    CConfigDialog(const SConduitIdentity& identity, int dialogId, uint8_t* record);

    int DialogId() const { return m_dialogId; }
    // Texts the resources give the controls.
    static std::string_view ControlText(int control);
    std::string_view Title() const;        // the window title: the conduit's name
    std::string_view GroupCaption() const; // group 403
    // Picture control for an action button (1000-1003 for 404-407).
    static int PictureFor(int actionButton) { return kControlFirstPicture + actionButton - 404; }

    // The checked action button (404-407).
    int SelectedButton() const { return m_selected; }
    // A click on an action button selects it and clears the other three; other ids are ignored.
    void Click(int control);
    bool SetAsDefault() const { return m_setAsDefault; }
    void SetSetAsDefault(bool checked) { m_setAsDefault = checked; }

    // Whether the current-settings group (dialog 101) is filled: the record names a creator.
    bool ShowsCurrentSettings() const;
    std::string DefaultActionText() const;      // 1004
    std::string NextActionText() const;         // 1005
    std::string CurrentSettingsCaption() const; // 1006

    // OK stores the chosen action and preference kind in the record.
    int Ok();
    int Cancel() const { return kDialogResultCancel; }

    // The help file beside the module and its topic.
    static SHelpTopic Help(const std::filesystem::path& moduleFolder);

    // The button that an action value preselects, and the action a button stands for.
    static int ButtonForAction(int32_t action);
    static int32_t ActionForButton(int button);

private:
    std::string ActionText(int32_t action) const;

    const SConduitIdentity& m_identity;
    int m_dialogId;
    uint8_t* m_record;
    int m_selected;
    bool m_setAsDefault = false;
};

} // namespace fitquill
