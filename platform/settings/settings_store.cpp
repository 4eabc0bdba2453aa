// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings/settings_store.h"

#include "core/io/atomic_file.h"
#include "platform/settings/ini_settings.h"

#include <cstdlib>

namespace fitquill {

namespace fs = std::filesystem;

namespace {

std::string TextOf(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

std::optional<std::string> CSettingsStore::ProcessEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

CSettingsStore CSettingsStore::FromEnvironment() {
    return FromEnvironment(ProcessEnvironment);
}

CSettingsStore CSettingsStore::FromEnvironment(const EnvironmentLookup& lookup) {
    // Relative entries are ignored, as the base-directory rules ask; an empty home is "/".
    std::string home = lookup("HOME").value_or(std::string());
    if (home.empty()) {
        home = "/";
    }
    fs::path userDir = fs::path(home) / ".config";
    const std::string configHome = lookup("XDG_CONFIG_HOME").value_or(std::string());
    if (!configHome.empty() && fs::path(configHome).is_absolute()) {
        userDir = configHome;
    }

    std::vector<fs::path> systemDirs;
    const std::string configDirs = lookup("XDG_CONFIG_DIRS").value_or(std::string());
    if (configDirs.empty()) {
        systemDirs.emplace_back("/etc/xdg");
    } else {
        std::size_t start = 0;
        while (start <= configDirs.size()) {
            std::size_t end = configDirs.find(':', start);
            if (end == std::string::npos) {
                end = configDirs.size();
            }
            const fs::path dir = configDirs.substr(start, end - start);
            if (!dir.empty() && dir.is_absolute()) {
                systemDirs.push_back(dir);
            }
            start = end + 1;
        }
    }

    const std::string appFile = std::string(kApplication) + ".conf";
    const std::string orgFile = std::string(kOrganization) + ".conf";
    std::vector<fs::path> files;
    files.push_back(userDir / std::string(kOrganization) / appFile);
    files.push_back(userDir / orgFile);
    for (const fs::path& dir : systemDirs) {
        files.push_back(dir / std::string(kOrganization) / appFile);
    }
    for (const fs::path& dir : systemDirs) {
        files.push_back(dir / orgFile);
    }
    return CSettingsStore(std::move(files));
}

CSettingsStore::CSettingsStore(std::vector<fs::path> files) : m_files(std::move(files)) {}

std::optional<std::string> CSettingsStore::Value(std::string_view key) const {
    for (const fs::path& file : m_files) {
        const std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(file);
        if (!bytes) {
            continue;
        }
        std::optional<std::string> value = CIniSettings::Parse(TextOf(*bytes)).Value(key);
        if (value) {
            return value;
        }
    }
    return std::nullopt;
}

bool CSettingsStore::SetValue(std::string_view key, std::string_view value,
                              std::string* error) const {
    if (m_files.empty()) {
        if (error != nullptr) {
            *error = "No settings file is known.";
        }
        return false;
    }
    const fs::path& file = m_files.front();
    std::string text;
    bool missing = false;
    std::string readError;
    if (const auto bytes = ReadWholeFile(file, &readError, &missing)) {
        text = TextOf(*bytes);
    } else if (!missing) {
        if (error != nullptr) {
            *error = readError;
        }
        return false;
    }
    const std::string updated = CIniSettings::WithValue(text, key, value);
    return ReplaceFileAtomically(file, updated, error);
}

} // namespace fitquill
