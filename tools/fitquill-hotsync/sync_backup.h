// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/clock.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace fitquill {

// The copies the HotSync Manager makes before a HotSync operation touches anything: the
// handheld's database files and the user's desktop files, in a dated folder of the user's
// "Backup" folder:
//   Backup/2024-06-30_120000/Handheld/FQA-AppDB.pdb ...
//   Backup/2024-06-30_120000/Desktop/UserDB.ddb ...
// A second backup within the same second is "..._120000_2", and so on. Only folders named this
// way count as backups; nothing else in the Backup folder is ever removed.
class CSyncBackup {
public:
    static constexpr const char* kFolderName = "Backup";
    static constexpr const char* kHandheldFolder = "Handheld";
    static constexpr const char* kDesktopFolder = "Desktop";
    static constexpr size_t kKept = 5;

    // Makes a backup and returns its folder. False, with a reason, when any file could not be
    // copied; the incomplete backup is then removed.
    static bool Make(const std::filesystem::path& handheldFolder,
                     const std::filesystem::path& userFolder, const SLocalTime& now,
                     std::filesystem::path& made, std::string* error = nullptr);

    // Removes the oldest backups until `kept` remain; `keep` (the backup just made) is never
    // removed, even when the clock went back and it sorts first. False when one could not be
    // removed.
    static bool Rotate(const std::filesystem::path& userFolder, const std::filesystem::path& keep,
                       size_t kept = kKept);

    // The user's backups, oldest first.
    static std::vector<std::filesystem::path> List(const std::filesystem::path& userFolder);
};

} // namespace fitquill
