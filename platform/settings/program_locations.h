// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/users/user_directory.h"
#include "platform/settings/settings_store.h"

#include <filesystem>
#include <optional>
#include <string>

namespace fitquill {

// The one place that decides where the program's files are, for the desktop program and the
// tools alike, so that they see the same users and files:
// - the Palm Desktop folder that serves the users: the setting "InstallPath/PalmDesktop", else
//   FITQUILL_PALM_ROOT; without one the program keeps its own user list (Users.udb);
// - the installation path below which that list and the user folders live: the setting
//   "InstallPath/Name", else the user's own data folder ($XDG_DATA_HOME/fitquill, or
//   ~/.local/share/fitquill). Never the build tree or the program's folder: rebuilding,
//   cleaning or reinstalling may delete those, and every account on the machine shares them;
// - the data folder with the shipped, read-only data: <program folder>/../share/fitquill.
// The desktop program and the conduits read their settings their own way and hand the value to
// InstallPathOf, so that the rule itself is written once.
class CProgramLocations {
public:
    static constexpr std::string_view kPalmDesktopKey = "InstallPath/PalmDesktop";

    CProgramLocations(const CSettingsStore& settings, const std::filesystem::path& programFolder,
                      const CSettingsStore::EnvironmentLookup& environment);

    // From the process: its settings files, its environment and the folder of its program file
    // (found from argv[0] when the system cannot tell).
    static CProgramLocations FromProcess(const char* argv0);

    const std::optional<std::filesystem::path>& PalmRoot() const { return m_palmRoot; }
    const std::string& InstallPath() const { return m_installPath; }
    const std::filesystem::path& DataFolder() const { return m_dataFolder; }

    // The users as the desktop program sees them.
    CUserDirectory MakeUserDirectory() const;

    static std::filesystem::path DataFolderOf(const std::filesystem::path& programFolder);
    // $XDG_DATA_HOME/fitquill when that variable holds an absolute path, else
    // $HOME/.local/share/fitquill; nothing when the environment names no home either.
    static std::optional<std::filesystem::path>
    UserDataFolder(const CSettingsStore::EnvironmentLookup& environment);
    // The installation path: the setting's value when present, else UserDataFolder; nothing
    // when neither is known.
    static std::optional<std::string>
    InstallPathOf(const std::optional<std::string>& setting,
                  const CSettingsStore::EnvironmentLookup& environment);
    // The user's folder for temporary downloads: $XDG_CACHE_HOME/fitquill, else
    // ~/.cache/fitquill.
    static std::filesystem::path CacheFolder(const CSettingsStore::EnvironmentLookup& environment);

private:
    std::optional<std::filesystem::path> m_palmRoot;
    std::string m_installPath;
    std::filesystem::path m_dataFolder;
};

} // namespace fitquill
