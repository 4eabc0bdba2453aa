// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/fitquill-hotsync/conduit_registry.h"
#include "tools/fitquill-hotsync/hotsync_users.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fitquill {

class CHotSyncLog;

// One HotSync operation for the handheld in a folder, as the HotSync Manager runs it:
// 1. find the handheld's HotSync user (a new handheld user becomes one, with a folder) and
//    lock the user's folder for the whole operation: a second operation for the same user
//    waits for the lock a while, then fails without changing anything;
// 2. back up the handheld's databases and the user's desktop files (the last five kept);
// 3. install the files queued for the user, taking each off the queue once it is installed;
// 4. run every registered conduit in order with its HotSync action;
// 5. save the session in the user's HotSync log.
// What goes wrong before step 3 raises CHotSyncFailure and leaves both sides as they were;
// from step 3 on, a failure is logged and the operation goes on with the next file or conduit.
class CHotSyncOperation {
public:
    struct SResult {
        SHotSyncUser user;
        std::vector<std::string> logLines; // the session as it stands in the HotSync log
        bool aborted = false;              // a conduit failed or could not be run
        std::string logError;              // why the log could not be saved, empty when saved
    };

    CHotSyncOperation(std::filesystem::path handheldFolder, SHotSyncUserSource users,
                      const CConduitRegistry& registry);

    // `action`: the HotSync action for every conduit; without one each conduit's kept action.
    SResult Run(std::optional<int32_t> action);

    // How long an operation waits for another one of the same user to end.
    static constexpr std::chrono::milliseconds kLockWait{5000};
    void SetLockWait(std::chrono::milliseconds wait) { m_lockWait = wait; }

    // The file through which a conduit hands its log entries back, in the user's folder.
    static constexpr const char* kEntryFileName = ".hotsync-entries";

private:
    void InstallQueuedFiles(IUserLibrary& users, const SHandheld& handheld,
                            const SHotSyncUser& user, CHotSyncLog& log);
    void RunConduit(const SConduitRegistration& conduit, std::optional<int32_t> action,
                    const SHandheld& handheld, const SHotSyncUser& user, CHotSyncLog& log);

    std::filesystem::path m_handheldFolder;
    SHotSyncUserSource m_users;
    const CConduitRegistry& m_registry;
    std::chrono::milliseconds m_lockWait = kLockWait;
};

} // namespace fitquill
