// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "conduit/sync/conduit_log.h"
#include "conduit/sync/desktop_presence.h"
#include "conduit/sync/sync_changes.h"
#include "conduit/sync/sync_channel.h"
#include "conduit/sync/sync_properties.h"
#include "core/users/user_directory.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fitquill {

class CFoodDB;
class CJournalDB;

// Why a run failed; the number is the code of the HotSync log message.
enum class ERunError : int {
    None = 0,
    OpenChannel = 1,
    PurgeDeleted = 2,
    ReadInfo = 3,
    ReadRecord = 4,
    Memory = 5,
    AddRecord = 6,
    FileName = 7,
    DesktopOpen = 8,
    ReadDesktop = 9,
    WriteDesktop = 10,
    PurgeAll = 11,
    WriteRecord = 12,
    ReadHandheld = 13,
    WriteHandheld = 14,
};

// The log message of a code ("error opening channel", ...).
const char* RunErrorMessage(ERunError error);

// What a run reaches outside itself. All of it must outlive the run.
struct SConduitServices {
    ISyncChannel& sync;
    IConduitLog& log;
    IDesktopPresence& presence;
    const CUserDirectory& users;
};

// One HotSync run of a conduit: opens the handheld database, reads both sides whole, merges or
// copies as the HotSync action asks, rewrites the desktop file and the handheld records, and
// logs the outcome. A failure stops the run at once; what was written before stays written.
// A side is only rewritten when its bytes change, so a run over two sides that already agree
// leaves both files exactly as they were. Without a desktop journal file the synchronize action
// takes the handheld's journal whole, as the food routine does with an empty desktop side.
class CConduitRun {
public:
    // The first remote database of the properties is opened at once (mode read, write,
    // exclusive, secret records shown); a failed open leaves the run failed with code 1.
    CConduitRun(uint16_t selector, const SSyncProperties& properties, SConduitServices services);
    // Ends the run when End was not called.
    ~CConduitRun();
    CConduitRun(const CConduitRun&) = delete;
    CConduitRun& operator=(const CConduitRun&) = delete;

    // Runs the journal (selector 1) or food (selector 0) routine once; returns the status.
    int32_t Run();
    // Closes the database and logs the outcome. A database that cannot be closed (its file not
    // written) fails an otherwise good run with code 12.
    void End();

    // 0 while all is well; else the failing Sync Manager status, or -1 for the conduit's own.
    int32_t Status() const { return m_status; }
    ERunError Error() const { return m_error; }
    // The properties the run was built from.
    int32_t Action() const { return m_action; }
    const std::string& UserName() const { return m_userName; }
    uint32_t CreatorId() const { return m_creatorId; }
    // The changes the synchronize action merged, for tests and the log.
    const SyncChanges& Changes() const { return m_changes; }

    // Tags of the log lines: "Diet: "/"Foods: " before a message, "Diet"/"Foods" at a good
    // end, "Diet:"/"Foods:" at a failed one.
    static std::string MessageTag(uint16_t selector);
    static std::string EndTag(uint16_t selector, bool failed);
    // Merge changes logged at most; more are summed up in one line.
    static constexpr size_t kMaxLoggedChanges = 50;

private:
    using Records = std::vector<std::vector<uint8_t>>;

    bool Fail(ERunError error, int32_t status = -1);
    // Runs one step of the run; a step that returns false or throws fails the run with `error`.
    template <class Step> bool Attempt(ERunError error, Step&& step);
    void LogLine(const std::string& text);
    void LogChanges();

    // The desktop file of the local name: the path name and local name joined, the last four
    // characters replaced by ".ddb". Nothing when the names cannot make one.
    std::optional<std::string> DesktopFilePath() const;
    // The Palm user who owns the folder that holds the file, when it can be told.
    std::optional<UserHandle> DesktopUser(const std::string& filePath) const;
    bool CheckDesktopClosed(const std::string& filePath);

    bool ReadHandheld(Records& records);
    bool WriteHandheld(const Records& records);
    bool CheckRecordSizes(const Records& records);
    bool ReadDesktopFile(const std::string& path, std::optional<std::vector<uint8_t>>& bytes);
    bool WriteDesktopFile(const std::string& path, const std::vector<uint8_t>& bytes,
                          const std::optional<std::vector<uint8_t>>& original);

    void RunJournal();
    bool PackJournal(CJournalDB& journal, Records& records);
    bool WriteJournalFile(CJournalDB& journal, const std::optional<std::vector<uint8_t>>& original);
    void RunFood();
    bool PackFood(CFoodDB& db, Records& records);
    bool WriteFoodFile(CFoodDB& db, const std::optional<std::vector<uint8_t>>& original);

    uint16_t m_selector;
    int32_t m_action;
    std::string m_pathName;
    std::string m_localName;
    std::string m_userName;
    std::string m_remoteName;
    uint32_t m_creatorId;
    uint16_t m_cardNumber;
    SConduitServices m_services;
    uint8_t m_handle = 0;
    bool m_open = false;
    bool m_ended = false;
    int32_t m_status = 0;
    ERunError m_error = ERunError::None;
    // The records as read, to tell whether the handheld needs rewriting.
    Records m_read;
    SyncChanges m_changes;
};

} // namespace fitquill
