// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/install/handheld_install.h"

#include "platform/palm/install_aid.h"

namespace fitquill {

const std::vector<std::string>& SHandheldInstall::InstallFiles() {
    static const std::vector<std::string> files{
        "..\\PalmOS\\Fitquill.prc",
        "..\\PalmOS\\FoodDB.prc",
        "..\\PalmOS\\FQA-FoodDB.pdb",
        "..\\PalmOS\\FQA-AppDB.pdb",
    };
    return files;
}

const std::vector<std::string>& SHandheldInstall::UpgradeFiles() {
    static const std::vector<std::string> files{"Fitquill.prc", "FoodDB.prc"};
    return files;
}

std::filesystem::path SHandheldInstall::Resolve(const std::filesystem::path& dataFolder,
                                                std::string_view name) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : name) {
        if (c == '\\' || c == '/') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    // The names are relative to the program's own folder, whose sibling folders the data
    // folder holds here: "..", "." and empty parts say nothing more.
    std::filesystem::path path = dataFolder;
    size_t kept = 0;
    for (const std::string& p : parts) {
        if (p.empty() || p == "." || p == "..")
            continue;
        path /= p;
        ++kept;
    }
    if (kept == 1)
        path = dataFolder / "PalmOS" / path.filename();
    return path;
}

size_t SHandheldInstall::Queue(CInstallAid& installAid, std::string_view userName,
                               const std::vector<std::string>& files,
                               const std::filesystem::path& dataFolder) {
    size_t queued = 0;
    for (const std::string& file : files) {
        if (installAid.InstallFile(userName, Resolve(dataFolder, file).string()) != kInstallErrNone)
            break;
        ++queued;
    }
    return queued;
}

} // namespace fitquill
