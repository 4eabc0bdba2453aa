// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conduit/sync/conduit_log.h"
#include "conduit/sync/conduit_run.h"
#include "conduit/sync/desktop_presence.h"
#include "conduit/sync/sync_channel.h"
#include "conduit/sync/sync_properties.h"
#include "core/users/user_directory.h"
#include "platform/palm/sync_manager.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace fitquill {

// What a conduit module needs for one run, built from the process environment as the HotSync
// Manager leaves it (conduit_api.h): the handheld's Sync Manager, the log, the presence
// channel and the users of the Palm Desktop installation.
class CConduitEnvironment {
public:
    using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

    // `tag` starts the log line of a notice that building the users produced.
    CConduitEnvironment(const SSyncProperties& properties, const std::string& tag);
    CConduitEnvironment(const SSyncProperties& properties, const std::string& tag,
                        const EnvironmentLookup& lookup);
    CConduitEnvironment(const CConduitEnvironment&) = delete;
    CConduitEnvironment& operator=(const CConduitEnvironment&) = delete;

    SConduitServices Services();
    IConduitLog& Log() { return *m_log; }

private:
    std::unique_ptr<IConduitLog> m_log;
    std::unique_ptr<CSyncManager> m_manager;
    std::unique_ptr<CSyncManagerChannel> m_channel;
    CDesktopPresence m_presence;
    std::unique_ptr<CUserDirectory> m_users;
};

} // namespace fitquill
