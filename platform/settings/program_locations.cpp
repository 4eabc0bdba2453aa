// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings/program_locations.h"

#include "platform/palm/user_store.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

std::optional<std::string> ProcessEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
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
    const std::string path = ProcessEnvironment("PATH").value_or(std::string());
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
    const std::optional<std::string> install = settings.InstallPath();
    m_installPath = install ? *install : DefaultInstallPath(m_dataFolder, environment).string();
}

CProgramLocations CProgramLocations::FromProcess(const char* argv0) {
    return CProgramLocations(CSettingsStore::FromEnvironment(), RunningProgramFolder(argv0),
                             ProcessEnvironment);
}

CUserDirectory CProgramLocations::MakeUserDirectory() const {
    return CUserDirectory(std::make_shared<CUserStore>(m_palmRoot),
                          SInstallPath{true, m_installPath});
}

fs::path CProgramLocations::DataFolderOf(const fs::path& programFolder) {
    return (programFolder / ".." / "share" / "fitquill").lexically_normal();
}

fs::path
CProgramLocations::DefaultInstallPath(const fs::path& dataFolder,
                                      const CSettingsStore::EnvironmentLookup& environment) {
    if (MayWrite(dataFolder))
        return dataFolder;
    fs::path userData;
    const std::string dataHome = environment("XDG_DATA_HOME").value_or(std::string());
    if (!dataHome.empty() && fs::path(dataHome).is_absolute()) {
        userData = dataHome;
    } else {
        const std::string home = environment("HOME").value_or(std::string());
        userData = fs::path(home.empty() ? "/" : home) / ".local" / "share";
    }
    return userData / "fitquill";
}

bool CProgramLocations::MayWrite(fs::path folder) {
    std::error_code ec;
    for (;;) {
        const fs::file_status status = fs::status(folder, ec);
        if (fs::exists(status))
            break;
        if (!folder.has_parent_path() || folder.parent_path() == folder)
            return false;
        folder = folder.parent_path();
    }
    if (!fs::is_directory(folder, ec))
        return false;
    const fs::path probe =
        folder / (".fitquill-write-test-" + std::to_string(std::random_device()()));
    if (fs::exists(probe, ec))
        return false;
    bool writable = false;
    {
        std::ofstream file(probe, std::ios::binary | std::ios::app);
        writable = file.is_open();
    }
    if (writable)
        fs::remove(probe, ec);
    return writable;
}

fs::path CProgramLocations::CacheFolder(const CSettingsStore::EnvironmentLookup& environment) {
    const std::string cacheHome = environment("XDG_CACHE_HOME").value_or(std::string());
    if (!cacheHome.empty() && fs::path(cacheHome).is_absolute())
        return fs::path(cacheHome) / "fitquill";
    const std::string home = environment("HOME").value_or(std::string());
    return fs::path(home.empty() ? "/" : home) / ".cache" / "fitquill";
}

} // namespace fitquill
