// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/document/program_paths.h"

#include "desktop/document/stored_text.h"
#include "platform/settings/program_locations.h"

#include <QCoreApplication>

namespace fitquill {

namespace fs = std::filesystem;

CProgramPaths::CProgramPaths(fs::path programFolder) : m_programFolder(std::move(programFolder)) {}

CProgramPaths CProgramPaths::FromApplication() {
    return CProgramPaths(ToPath(QCoreApplication::applicationDirPath()));
}

fs::path CProgramPaths::DataFolder() const {
    return CProgramLocations::DataFolderOf(m_programFolder);
}

std::string CProgramPaths::InstallPath(const std::optional<std::string>& setting) {
    return CProgramLocations::InstallPathOf(setting, CSettingsStore::ProcessEnvironment)
        .value_or(std::string());
}

} // namespace fitquill
