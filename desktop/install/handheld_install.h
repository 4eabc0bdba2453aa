// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

class CInstallAid;

// What "Install Handheld Software" puts on a handheld, without the dialog: the files of the two
// buttons, where they lie, and the queueing through the install aid.
struct SHandheldInstall {
    // The files as the handheld software names them, in queueing order.
    static const std::vector<std::string>& InstallFiles();
    static const std::vector<std::string>& UpgradeFiles();
    // The Pocket PC setup program and its folder.
    static constexpr std::string_view kPocketPcSetup = "..\\PocketPCOS\\FitquillSetup";
    static constexpr std::string_view kPocketPcFolder = "PocketPCOS";

    // Where a named file lies: the handheld files ship in the program's data folder, under
    // "PalmOS" (the Install names start with "..\PalmOS\", the Upgrade names are bare) or
    // "PocketPCOS".
    static std::filesystem::path Resolve(const std::filesystem::path& dataFolder,
                                         std::string_view name);

    // Queues the files for the user in order and stops at the first that fails; the files
    // queued before it stay queued. The number queued.
    static size_t Queue(CInstallAid& installAid, std::string_view userName,
                        const std::vector<std::string>& files,
                        const std::filesystem::path& dataFolder);

    static constexpr std::string_view kInstructions =
        "Thank you for purchasing Fitquill.\n\nClick the Install button if you do not have a "
        "previous verison loaded on your handheld.  If you are upgrading click the Upgrade "
        "button.\n\nIf you are upgrading, do not delete the application from the handheld prior "
        "to installing.  This will delete your data.  Please read any upgrade information "
        "located in the Users Guide prior to installing.";
    static constexpr std::string_view kPalmVersion = "Version 6.1 for Palm OS\u00ae";
    static constexpr std::string_view kPocketPcVersion = "Version 6.1 for Pocket PC OS\u00ae";
    static constexpr std::string_view kRegistryCaption = "Pocket PC Setup";
    static constexpr std::string_view kNoKeyText =
        "Could not open up the install path registry key.";
    static constexpr std::string_view kNoNameText = "Could not read the path name registry entry.";
    static constexpr std::string_view kInstallCaption = "Install";
    static constexpr std::string_view kNoUserText =
        "The selected user could not be found.  Close the install dialog and try again.";
    static constexpr std::string_view kMissingFilesText =
        "Could not load the necessary files.  Install the files located in the Palm OS "
        "directory by using the Palm Desktop software.  c:\\Program Files\\Quorvel\\...\\Palm OS";
    static constexpr std::string_view kInstalledText =
        "The software will be installed on the next HotSync operation.";
    static constexpr std::string_view kUpgradedText =
        "Fitquill will be installed on the next HotSync operation.";
};

} // namespace fitquill
