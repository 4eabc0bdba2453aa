// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conduit/conduit_api.h"

#include <filesystem>
#include <string>

namespace fitquill {

// A conduit module loaded into the process, with its C entry points. The module stays loaded
// until the object ends; entry points the module does not export are null.
class CConduitModule {
public:
    CConduitModule() = default;
    ~CConduitModule();
    CConduitModule(const CConduitModule&) = delete;
    CConduitModule& operator=(const CConduitModule&) = delete;

    // Loads the module and resolves its entry points. False, with a readable reason in
    // `error`, when it cannot be loaded or does not export OpenConduit and GetConduitName,
    // without which it is no conduit.
    bool Load(const std::filesystem::path& path, std::string* error = nullptr);
    bool IsLoaded() const { return m_handle != nullptr; }

    // The conduit's default HotSync action; synchronize when it tells none.
    int32_t DefaultAction() const;

    OpenConduitFunction openConduit = nullptr;
    GetConduitNameFunction getConduitName = nullptr;
    GetConduitVersionFunction getConduitVersion = nullptr;
    GetConduitInfoFunction getConduitInfo = nullptr;
    ConfigureConduitFunction configureConduit = nullptr;
    CfgConduitFunction cfgConduit = nullptr;

private:
    void Unload();
    void* Symbol(const char* name) const;

    void* m_handle = nullptr;
};

} // namespace fitquill
