// SPDX-License-Identifier: GPL-3.0-or-later
// The stand-in's only calls into the dynamic loader.
#include "tools/fitquill-hotsync/conduit_module.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace fitquill {

CConduitModule::~CConduitModule() {
    Unload();
}

bool CConduitModule::Load(const std::filesystem::path& path, std::string* error) {
    Unload();
#if defined(_WIN32)
    m_handle = reinterpret_cast<void*>(LoadLibraryW(path.c_str()));
    if (m_handle == nullptr) {
        if (error)
            *error = "cannot load " + path.string();
        return false;
    }
#else
    // Each module keeps its own symbols: two conduits built from one source must not resolve
    // into each other. A module stays mapped until the process ends, so that the exit handlers
    // it or the libraries it pulled in (Qt, for its dialog) registered still find their code;
    // the stand-in runs one HotSync operation per process, so nothing piles up.
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (m_handle == nullptr) {
        if (error) {
            const char* reason = dlerror();
            *error = reason != nullptr ? reason : "cannot load " + path.string();
        }
        return false;
    }
#endif
    openConduit = reinterpret_cast<OpenConduitFunction>(Symbol("OpenConduit"));
    getConduitName = reinterpret_cast<GetConduitNameFunction>(Symbol("GetConduitName"));
    getConduitVersion = reinterpret_cast<GetConduitVersionFunction>(Symbol("GetConduitVersion"));
    getConduitInfo = reinterpret_cast<GetConduitInfoFunction>(Symbol("GetConduitInfo"));
    configureConduit = reinterpret_cast<ConfigureConduitFunction>(Symbol("ConfigureConduit"));
    cfgConduit = reinterpret_cast<CfgConduitFunction>(Symbol("CfgConduit"));
    if (openConduit == nullptr || getConduitName == nullptr) {
        Unload();
        if (error)
            *error = path.string() + " is not a conduit module (no OpenConduit or GetConduitName)";
        return false;
    }
    return true;
}

int32_t CConduitModule::DefaultAction() const {
    int32_t action = kHotSyncActionFast;
    uint32_t size = sizeof action;
    if (getConduitInfo == nullptr ||
        getConduitInfo(kConduitQueryDefaultAction, nullptr, &action, &size) != 0)
        return kHotSyncActionFast;
    return action;
}

void* CConduitModule::Symbol(const char* name) const {
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(m_handle), name));
#else
    return dlsym(m_handle, name);
#endif
}

void CConduitModule::Unload() {
    if (m_handle != nullptr) {
#if defined(_WIN32)
        FreeLibrary(static_cast<HMODULE>(m_handle));
#else
        dlclose(m_handle);
#endif
    }
    m_handle = nullptr;
    openConduit = nullptr;
    getConduitName = nullptr;
    getConduitVersion = nullptr;
    getConduitInfo = nullptr;
    configureConduit = nullptr;
    cfgConduit = nullptr;
}

} // namespace fitquill
