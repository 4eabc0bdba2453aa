// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// The program's settings files, looked up in the order in which the desktop program's settings
// library consults them for QSettings("Quorvel", "Fitquill") on Linux:
//   1. <user config>/Quorvel/Fitquill.conf   ($XDG_CONFIG_HOME, else ~/.config)
//   2. <user config>/Quorvel.conf
//   3. <dir>/Quorvel/Fitquill.conf for each dir of $XDG_CONFIG_DIRS (else /etc/xdg)
//   4. <dir>/Quorvel.conf for each of those dirs
// The first file that holds a key decides its value; writes go to the first file.
class CSettingsStore {
public:
    static constexpr std::string_view kOrganization = "Quorvel";
    static constexpr std::string_view kApplication = "Fitquill";
    static constexpr std::string_view kInstallPathKey = "InstallPath/Name";

    // Reads an environment variable; nothing when it is not set.
    using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
    // The lookup of the running process's environment.
    static std::optional<std::string> ProcessEnvironment(const char* name);

    // The files from the process environment.
    static CSettingsStore FromEnvironment();
    // The files from a given environment (tests use this to stay away from the real one).
    static CSettingsStore FromEnvironment(const EnvironmentLookup& lookup);

    // Explicit files, most specific first; the first one receives writes.
    explicit CSettingsStore(std::vector<std::filesystem::path> files);

    const std::vector<std::filesystem::path>& Files() const { return m_files; }

    // The value of a full key ("Section/Key") from the first file that holds it; nothing when
    // no file does. Missing or unreadable files count as empty, as for the desktop program.
    std::optional<std::string> Value(std::string_view key) const;

    // Sets a key in the first file, keeping every other line of it, and saves the file through
    // an atomic replace (creating its folder when needed). An existing file that cannot be read
    // is left alone and reported, never overwritten.
    bool SetValue(std::string_view key, std::string_view value, std::string* error = nullptr) const;

    // The installation folder of the program ("InstallPath", "Name").
    std::optional<std::string> InstallPath() const { return Value(kInstallPathKey); }
    bool SetInstallPath(std::string_view path, std::string* error = nullptr) const {
        return SetValue(kInstallPathKey, path, error);
    }

private:
    std::vector<std::filesystem::path> m_files;
};

} // namespace fitquill
