// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace fitquill {

// A process environment variable, read or set. Modules loaded into the process read the
// context of a run from here (conduit/conduit_api.h).
std::optional<std::string> ProcessVariable(const char* name);

// Sets a variable for the lifetime of the object and then restores what was there before
// (including its absence).
class CScopedVariable {
public:
    CScopedVariable(std::string name, const std::string& value);
    ~CScopedVariable();
    CScopedVariable(const CScopedVariable&) = delete;
    CScopedVariable& operator=(const CScopedVariable&) = delete;

    // False when the environment refused the value.
    bool IsSet() const { return m_set; }

private:
    std::string m_name;
    std::optional<std::string> m_previous;
    bool m_set = false;
};

// The folder of the running program file; argv[0] when the system cannot tell.
std::filesystem::path RunningProgramFolder(const char* argv0);

} // namespace fitquill
