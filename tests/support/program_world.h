// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <system_error>

namespace fitquill::test {

// A private world for the tests that run the programs or load the conduits: a temporary folder
// holding a home, settings, data, runtime and Palm Desktop folder ("palm"), with the environment
// pointing there and the variables that would steer the programs cleared, so that nothing of
// the real user's is read or written. Removed when it ends.
class CProgramWorld {
public:
    // `today`: the date the programs take for today (YYYY-MM-DD); `base`: the folder to make it
    // in; `unset`: further variables to clear.
    explicit CProgramWorld(const std::string& today, const std::filesystem::path& base = "/tmp",
                           std::initializer_list<const char*> unset = {}) {
        std::string pattern = (base / "fq-world-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a folder in " + base.string());
        m_root = pattern.c_str();
        for (const auto& [name, folder] : {std::pair{"HOME", "home"},
                                           {"XDG_CONFIG_HOME", "config"},
                                           {"XDG_CONFIG_DIRS", "etc"},
                                           {"XDG_DATA_HOME", "data"},
                                           {"XDG_RUNTIME_DIR", "run"},
                                           {"FITQUILL_RUNTIME_DIR", "run"},
                                           {"FITQUILL_PALM_ROOT", "palm"}}) {
            std::filesystem::create_directories(m_root / folder);
            setenv(name, (m_root / folder).c_str(), 1);
        }
        setenv("FITQUILL_TODAY", today.c_str(), 1);
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "FITQUILL_CONDUITS",
              "FITQUILL_HANDHELD_DIR", "FITQUILL_HOTSYNC_LOG"})
            unsetenv(name);
        for (const char* name : unset)
            unsetenv(name);
    }
    ~CProgramWorld() {
        std::error_code ec;
        std::filesystem::remove_all(m_root, ec);
    }
    CProgramWorld(const CProgramWorld&) = delete;
    CProgramWorld& operator=(const CProgramWorld&) = delete;

    const std::filesystem::path& Root() const { return m_root; }

private:
    std::filesystem::path m_root;
};

} // namespace fitquill::test
