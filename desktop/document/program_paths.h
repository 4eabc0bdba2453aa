// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace fitquill {

// The folders of the program itself, all derived from where its program file lives, so that
// the same rules hold for an installed program (<prefix>/bin) and one run from the build tree
// (<build>/desktop).
class CProgramPaths {
public:
    explicit CProgramPaths(std::filesystem::path programFolder);
    // The running program's folder.
    static CProgramPaths FromApplication();

    // The folder of the program file.
    const std::filesystem::path& ProgramFolder() const { return m_programFolder; }
    // The shipped data: <program folder>/../share/fitquill (the default FoodDB.ddb, the user
    // guide).
    std::filesystem::path DataFolder() const;
    // The installation path below which the program's own user list and the user folders
    // live: the setting's value when present, else the user's own data folder
    // ($XDG_DATA_HOME/fitquill); empty when the environment names no home either.
    static std::string InstallPath(const std::optional<std::string>& setting);

private:
    std::filesystem::path m_programFolder;
};

} // namespace fitquill
