// SPDX-License-Identifier: GPL-3.0-or-later
// The stand-in's only calls into the operating system's process environment.
#include "tools/fitquill-hotsync/process_environment.h"

#include <cstdlib>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace fitquill {
namespace {

namespace fs = std::filesystem;

bool SetVariable(const std::string& name, const std::optional<std::string>& value) {
#if defined(_WIN32)
    return _putenv_s(name.c_str(), value ? value->c_str() : "") == 0;
#else
    if (!value)
        return unsetenv(name.c_str()) == 0;
    return setenv(name.c_str(), value->c_str(), 1) == 0;
#endif
}

} // namespace

std::optional<std::string> ProcessVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr)
        return std::nullopt;
    return std::string(value);
}

CScopedVariable::CScopedVariable(std::string name, const std::string& value)
    : m_name(std::move(name)), m_previous(ProcessVariable(m_name.c_str())) {
    m_set = SetVariable(m_name, value);
}

CScopedVariable::~CScopedVariable() {
    if (m_set)
        SetVariable(m_name, m_previous);
}

fs::path RunningProgramFolder(const char* argv0) {
    std::error_code ec;
#if defined(_WIN32)
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return fs::path(path).parent_path();
#else
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && self.is_absolute())
        return self.parent_path();
#endif
    const fs::path given = argv0 != nullptr ? fs::path(argv0) : fs::path();
    if (given.has_parent_path())
        return fs::absolute(given, ec).parent_path();
    return fs::current_path(ec);
}

} // namespace fitquill
