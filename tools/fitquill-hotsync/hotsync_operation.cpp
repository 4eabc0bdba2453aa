// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill-hotsync/hotsync_operation.h"

#include "conduit/conduit_api.h"
#include "core/clock.h"
#include "core/io/atomic_file.h"
#include "platform/palm/folder_lock.h"
#include "platform/palm/hotsync_log.h"
#include "platform/palm/install_aid.h"
#include "platform/palm/sync_manager.h"
#include "tools/fitquill-hotsync/conduit_actions.h"
#include "tools/fitquill-hotsync/conduit_module.h"
#include "tools/fitquill-hotsync/conduit_records.h"
#include "tools/fitquill-hotsync/hotsync_arguments.h"
#include "tools/fitquill-hotsync/process_environment.h"
#include "tools/fitquill-hotsync/sync_backup.h"

#include <charconv>
#include <cstdio>
#include <system_error>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

std::tm ClockTime() {
    const SLocalTime now = CClock::Now();
    std::tm time{};
    time.tm_year = now.year - 1900;
    time.tm_mon = now.month - 1;
    time.tm_mday = now.day;
    time.tm_hour = now.hour;
    time.tm_min = now.minute;
    time.tm_sec = now.second;
    time.tm_wday = now.weekday;
    return time;
}

std::string Hex(int32_t status) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(status));
    return text;
}

// Adds the entries a conduit appended to the entry file ("activity TAB text" lines) to the log.
void TakeEntries(const fs::path& file, CHotSyncLog& log) {
    const auto bytes = ReadWholeFile(file);
    if (!bytes)
        return;
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const size_t tab = line.find('\t');
        int32_t activity = kLogActivityText;
        if (tab != std::string_view::npos) {
            const auto [at, error] = std::from_chars(line.data(), line.data() + tab, activity);
            if (error == std::errc() && at == line.data() + tab) {
                log.AddEntry(line.substr(tab + 1), activity, false);
                continue;
            }
            activity = kLogActivityText;
        }
        // Not in the entry form: kept as it is, so that nothing a conduit said is lost.
        if (!line.empty())
            log.AddEntry(line, activity, false);
    }
}

} // namespace

CHotSyncOperation::CHotSyncOperation(fs::path handheldFolder, SHotSyncUserSource users,
                                     const CConduitRegistry& registry)
    : m_handheldFolder(std::move(handheldFolder)), m_users(std::move(users)), m_registry(registry) {
}

CHotSyncOperation::SResult CHotSyncOperation::Run(std::optional<int32_t> action) {
    std::error_code ec;
    SHandheld handheld;
    std::string error;
    if (!LoadHandheld(fs::absolute(m_handheldFolder, ec), handheld, &error))
        throw CHotSyncFailure("Cannot read the handheld: " + error);

    CHotSyncUsers users(m_users);
    std::vector<std::string> notes;
    SResult result;
    result.user = users.ForHandheld(handheld, notes);
    const SHotSyncUser& user = result.user;

    CFolderLock lock;
    switch (lock.Acquire(user.folder, m_lockWait, &error)) {
    case CFolderLock::EResult::Locked:
        break;
    case CFolderLock::EResult::Busy:
        throw CHotSyncFailure("Another HotSync operation for " + user.name +
                              " is running; nothing was changed. Try again when it has ended.");
    case CFolderLock::EResult::Failed:
        throw CHotSyncFailure("Cannot lock the folder of " + user.name + ": " + error);
    }

    // Nothing may change before both sides are copied.
    fs::path backup;
    if (!CSyncBackup::Make(handheld.folder, user.folder, CClock::Now(), backup, &error))
        throw CHotSyncFailure("Cannot back up before the HotSync operation: " + error);

    CHotSyncLog log(user.folder);
    log.SetClock(ClockTime);
    log.StartSession();
    for (const std::string& note : notes)
        log.AddEntry(note, kLogActivityText, false);
    log.AddEntry("Backup: " + backup.filename().string(), kLogActivityText, false);
    if (!CSyncBackup::Rotate(user.folder, backup))
        log.AddEntry("Backup: an old backup could not be removed", kLogActivityWarning, false);

    InstallQueuedFiles(users.Library(), handheld, user, log);
    for (const SConduitRegistration& conduit : m_registry.Conduits())
        RunConduit(conduit, action, handheld, user, log);

    result.logLines = log.PendingLines();
    result.aborted = log.SessionAborted();
    if (!log.Save(&error))
        result.logError = error.empty() ? "unknown error" : error;
    return result;
}

void CHotSyncOperation::InstallQueuedFiles(IUserLibrary& users, const SHandheld& handheld,
                                           const SHotSyncUser& user, CHotSyncLog& log) {
    CInstallAid installAid(users);
    CSyncManager manager(handheld);
    for (const fs::path& file : installAid.QueuedFiles(user.name)) {
        const std::string name = file.filename().string();
        const int32_t status = manager.InstallDatabase(file);
        if (status != kSyncErrNone) {
            // It stays queued for the next HotSync operation.
            log.AddEntry("Install: " + name + " could not be installed (error " + Hex(status) + ")",
                         kLogActivityWarning, false);
            continue;
        }
        log.AddEntry("Install: " + name, kLogActivityText, false);
        if (installAid.RemoveInstallFile(user.name, name) != kInstallErrNone)
            log.AddEntry("Install: " + name + " could not be taken off the queue",
                         kLogActivityWarning, false);
    }
}

void CHotSyncOperation::RunConduit(const SConduitRegistration& conduit,
                                   std::optional<int32_t> action, const SHandheld& handheld,
                                   const SHotSyncUser& user, CHotSyncLog& log) {
    auto fail = [&](const std::string& why) {
        log.AddEntry(conduit.name + ": " + why, kLogActivityText, false);
        log.AddEntry(conduit.name, kLogActivitySyncAborted, false);
    };

    std::string error;
    SConduitActions kept;
    CConduitActionStore actions(user.folder);
    if (!actions.Read(conduit.name, kept, &error))
        return fail("cannot read the HotSync actions: " + error);

    CConduitModule module;
    if (!module.Load(conduit.module, &error))
        return fail(error);

    const int32_t defaultAction = module.DefaultAction();
    bool usesNext = false;
    SSyncRunProperties properties;
    properties.action = CConduitActionStore::Choose(action, kept, defaultAction, usesNext);
    properties.pathName = user.folderText;
    properties.localName = conduit.localName;
    properties.userName = user.name;
    properties.remoteName = conduit.remoteDatabase;
    properties.creatorId = conduit.creatorId;
    properties.cardNumber = 0;
    const auto record = CConduitRecords::SyncProperties(properties);
    if (!record)
        return fail("the user's folder or a name is too long for the conduit");

    const fs::path entries = user.folder / kEntryFileName;
    std::error_code ec;
    fs::remove(entries, ec);
    {
        CScopedVariable handheldVariable(kHandheldFolderVariable, handheld.folder.string());
        CScopedVariable logVariable(kHotSyncLogVariable, entries.string());
        if (!handheldVariable.IsSet() || !logVariable.IsSet())
            return fail("cannot pass the handheld to the conduit");
        module.openConduit(nullptr, record->data());
    }
    TakeEntries(entries, log);
    fs::remove(entries, ec);

    // The next-HotSync action is spent once the conduit has run with it.
    if (usesNext && !actions.ClearNext(conduit.name, &error))
        log.AddEntry(conduit.name + ": the next HotSync action could not be cleared: " + error,
                     kLogActivityWarning, false);
}

} // namespace fitquill
