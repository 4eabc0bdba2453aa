// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings/program_locations.h"

#include "platform/palm/user_store.h"

#include <cstdlib>
#include <string>
#include <system_error>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

// Fitquill's folder below one of the user's base folders: the variable's value when it is an
// absolute path (relative values are ignored, as the base-directory rules ask), else the
// default below HOME; nothing when neither is known.
std::optional<fs::path> BaseFolder(const CSettingsStore::EnvironmentLookup& environment,
                                   const char* variable, const fs::path& belowHome) {
    const std::string base = environment(variable).value_or(std::string());
    if (!base.empty() && fs::path(base).is_absolute())
        return fs::path(base) / "fitquill";
    const std::string home = environment("HOME").value_or(std::string());
    if (!home.empty() && fs::path(home).is_absolute())
        return fs::path(home) / belowHome / "fitquill";
    return std::nullopt;
}

// The folder of the running program file. Linux names it in /proc; elsewhere argv[0] is all
// there is (a bare name is looked up as the shell did, in PATH).
fs::path RunningProgramFolder(const char* argv0) {
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && self.is_absolute())
        return self.parent_path();
    const fs::path given = argv0 != nullptr ? fs::path(argv0) : fs::path();
    if (given.has_parent_path())
        return fs::absolute(given, ec).parent_path();
    const std::string path = CSettingsStore::ProcessEnvironment("PATH").value_or(std::string());
    std::size_t start = 0;
    while (start <= path.size() && !given.empty()) {
        std::size_t end = path.find(':', start);
        if (end == std::string::npos)
            end = path.size();
        const fs::path candidate = fs::path(path.substr(start, end - start)) / given;
        if (fs::is_regular_file(candidate, ec))
            return fs::absolute(candidate, ec).parent_path();
        start = end + 1;
    }
    return fs::current_path(ec);
}

} // namespace

CProgramLocations::CProgramLocations(const CSettingsStore& settings, const fs::path& programFolder,
                                     const CSettingsStore::EnvironmentLookup& environment)
    : m_dataFolder(DataFolderOf(programFolder)) {
    m_palmRoot = CUserStore::PalmRoot(settings.Value(kPalmDesktopKey).value_or(std::string()));
    m_installPath = InstallPathOf(settings.InstallPath(), environment).value_or(std::string());
}

CProgramLocations CProgramLocations::FromProcess(const char* argv0) {
    return CProgramLocations(CSettingsStore::FromEnvironment(), RunningProgramFolder(argv0),
                             CSettingsStore::ProcessEnvironment);
}

CUserDirectory CProgramLocations::MakeUserDirectory() const {
    return CUserDirectory(std::make_shared<CUserStore>(m_palmRoot),
                          SInstallPath{true, m_installPath});
}

fs::path CProgramLocations::DataFolderOf(const fs::path& programFolder) {
    return (programFolder / ".." / "share" / "fitquill").lexically_normal();
}

std::optional<fs::path>
CProgramLocations::UserDataFolder(const CSettingsStore::EnvironmentLookup& environment) {
    return BaseFolder(environment, "XDG_DATA_HOME", fs::path(".local") / "share");
}

std::optional<std::string>
CProgramLocations::InstallPathOf(const std::optional<std::string>& setting,
                                 const CSettingsStore::EnvironmentLookup& environment) {
    if (setting)
        return setting;
    if (const auto folder = UserDataFolder(environment))
        return folder->string();
    return std::nullopt;
}

fs::path CProgramLocations::CacheFolder(const CSettingsStore::EnvironmentLookup& environment) {
    return BaseFolder(environment, "XDG_CACHE_HOME", ".cache")
        .value_or(fs::path("/") / ".cache" / "fitquill");
}

} // namespace fitquill
