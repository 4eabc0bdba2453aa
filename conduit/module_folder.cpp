// SPDX-License-Identifier: GPL-3.0-or-later
#include "conduit/module_folder.h"

// The one place where the module asks the dynamic loader about itself.
#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace fitquill {

std::filesystem::path ConduitModuleFolder() {
#if defined(_WIN32)
    HMODULE module = nullptr;
    wchar_t path[MAX_PATH];
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&ConduitModuleFolder), &module) ||
        GetModuleFileNameW(module, path, MAX_PATH) == 0)
        return {};
    return std::filesystem::path(path).parent_path();
#else
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ConduitModuleFolder), &info) == 0 ||
        info.dli_fname == nullptr)
        return {};
    return std::filesystem::absolute(info.dli_fname).parent_path();
#endif
}

} // namespace fitquill
