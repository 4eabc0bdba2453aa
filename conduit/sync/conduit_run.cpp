// SPDX-License-Identifier: GPL-3.0-or-later
#include "conduit/sync/conduit_run.h"

#include "conduit/conduit_api.h"
#include "conduit/conduit_identity.h"
#include "conduit/sync/food_merge.h"
#include "conduit/sync/journal_merge.h"
#include "core/food/food_db_file.h"
#include "core/io/atomic_file.h"
#include "core/journal/journal_file.h"
#include "core/journal/journal_records.h"

#include <new>

namespace fitquill {
namespace {

// Read, write, exclusive, and the secret records too: the conduit moves every record.
constexpr uint8_t kConduitOpenMode = 0xD0;
// A user folder path must fit the platform's path buffer.
constexpr size_t kMaxFolderPath = 256;

bool IsSeparator(char c) {
    return c == '/' || c == kPathSeparator;
}

bool Synchronizes(int32_t action) {
    return action == kHotSyncActionFast || action == kHotSyncActionSlow;
}

} // namespace

const char* RunErrorMessage(ERunError error) {
    switch (error) {
    case ERunError::None:
        return "";
    case ERunError::OpenChannel:
        return "error opening channel";
    case ERunError::PurgeDeleted:
        return "error purging records";
    case ERunError::ReadInfo:
        return "error opening database";
    case ERunError::ReadRecord:
        return "error reading record";
    case ERunError::Memory:
        return "error memory allocation";
    case ERunError::AddRecord:
        return "error adding record";
    case ERunError::FileName:
        return "error filename incorrect";
    case ERunError::DesktopOpen:
        return "error desktop open";
    case ERunError::ReadDesktop:
        return "error reading harddisk database";
    case ERunError::WriteDesktop:
        return "error writing harddisk database";
    case ERunError::PurgeAll:
        return "error deleting database";
    case ERunError::WriteRecord:
        return "error writing record";
    case ERunError::ReadHandheld:
        return "error reading handheld database";
    case ERunError::WriteHandheld:
        return "error writing handheld database";
    }
    return "";
}

std::string CConduitRun::MessageTag(uint16_t selector) {
    return selector == kJournalSelector ? "Diet: " : "Foods: ";
}

std::string CConduitRun::EndTag(uint16_t selector, bool failed) {
    std::string tag = selector == kJournalSelector ? "Diet" : "Foods";
    if (failed)
        tag += ':';
    return tag;
}

CConduitRun::CConduitRun(uint16_t selector, const SSyncProperties& properties,
                         SConduitServices services)
    : m_selector(selector), m_action(properties.action), m_pathName(properties.pathName),
      m_localName(properties.localName), m_userName(properties.userName),
      m_remoteName(properties.remoteName), m_creatorId(properties.creatorId),
      m_cardNumber(properties.cardNumber), m_services(services) {
    const int32_t status =
        m_services.sync.OpenDB(m_remoteName, m_cardNumber, m_handle, kConduitOpenMode);
    if (status != kSyncErrNone)
        Fail(ERunError::OpenChannel, status);
    else
        m_open = true;
}

CConduitRun::~CConduitRun() {
    End();
}

bool CConduitRun::Fail(ERunError error, int32_t status) {
    if (m_error == ERunError::None) {
        m_error = error;
        m_status = status;
        LogLine(MessageTag(m_selector) + RunErrorMessage(error));
    }
    return false;
}

void CConduitRun::LogLine(const std::string& text) {
    m_services.log.AddEntry(text, kLogActivityText);
}

void CConduitRun::LogChanges() {
    const std::string tag = MessageTag(m_selector);
    for (size_t i = 0; i < m_changes.size() && i < kMaxLoggedChanges; ++i)
        LogLine(tag + m_changes[i]);
    if (m_changes.size() > kMaxLoggedChanges)
        LogLine(tag + std::to_string(m_changes.size() - kMaxLoggedChanges) + " more changes");
}

int32_t CConduitRun::Run() {
    if (m_error != ERunError::None)
        return m_status;
    try {
        if (m_selector == kJournalSelector)
            RunJournal();
        else
            RunFood();
    } catch (const std::exception&) {
        // Every step catches what it can explain; what is left is running out of memory.
        Fail(ERunError::Memory);
    }
    return m_status;
}

void CConduitRun::End() {
    if (m_ended)
        return;
    m_ended = true;
    if (m_error != ERunError::None) {
        m_services.log.AddEntry(EndTag(m_selector, true), kLogActivitySyncAborted);
        if (m_open)
            m_services.sync.CloseDB(m_handle);
    } else {
        // Closing writes the handheld's file: a run whose records never reached it has failed.
        const int32_t status = m_open ? m_services.sync.CloseDB(m_handle) : kSyncErrNone;
        if (status != kSyncErrNone) {
            Fail(ERunError::WriteRecord, status);
            m_services.log.AddEntry(EndTag(m_selector, true), kLogActivitySyncAborted);
        } else {
            m_services.log.AddEntry(EndTag(m_selector, false), kLogActivitySyncFinished);
        }
    }
    m_open = false;
    m_read.clear();
}

// ---- desktop side ----

std::optional<std::string> CConduitRun::DesktopFilePath() const {
    // The folder and a name whose four-character ending can be replaced.
    if (m_pathName.empty() || m_localName.size() < 4)
        return std::nullopt;
    std::string path = m_pathName;
    if (!IsSeparator(path.back()))
        path += kPathSeparator;
    path += m_localName;
    path.replace(path.size() - 4, 4, ".ddb");
    return path;
}

std::optional<UserHandle> CConduitRun::DesktopUser(const std::string& filePath) const {
    const CUserDirectory& users = m_services.users;
    std::string root;
    if (!users.GetUsersRoot(root) || root.empty())
        return std::nullopt;
    if (filePath.size() <= root.size() || filePath.compare(0, root.size(), root) != 0)
        return std::nullopt;
    size_t end = root.size();
    while (end < filePath.size() && end < kMaxFolderPath && !IsSeparator(filePath[end]))
        ++end;
    if (end >= filePath.size() || end >= kMaxFolderPath || end == root.size())
        return std::nullopt;
    UserHandle user = 0;
    if (!users.FindUserByPath(filePath.substr(0, end), user))
        return std::nullopt;
    return user;
}

bool CConduitRun::CheckDesktopClosed(const std::string& filePath) {
    // Whoever the desktop program has open, it may hold this user's files in memory and save
    // them over the result later; the notice goes out when the user is known.
    const std::optional<UserHandle> user = DesktopUser(filePath);
    if (m_services.presence.CheckRunning(user))
        return Fail(ERunError::DesktopOpen);
    return true;
}

bool CConduitRun::ReadDesktopFile(const std::string& path,
                                  std::optional<std::vector<uint8_t>>& bytes) {
    bool missing = false;
    bytes = ReadWholeFile(path, nullptr, &missing);
    // A file that is not there is an empty side; one that is there must be read whole.
    if (!bytes && !missing)
        return Fail(ERunError::ReadDesktop);
    return true;
}

bool CConduitRun::WriteDesktopFile(const std::string& path, const std::vector<uint8_t>& bytes,
                                   const std::optional<std::vector<uint8_t>>& original) {
    if (original && *original == bytes)
        return true;
    if (!ReplaceFileAtomically(path, bytes))
        return Fail(ERunError::WriteDesktop);
    return true;
}

// ---- handheld side ----

bool CConduitRun::ReadHandheld(Records& records) {
    ISyncChannel& sync = m_services.sync;
    records.clear();
    int32_t status = sync.PurgeDeletedRecs(m_handle);
    if (status != kSyncErrNone)
        return Fail(ERunError::PurgeDeleted, status);
    SSyncReadOpenDbInfoParams request;
    request.optFlags = kSyncDbInfoGetSize;
    request.dbHandle = m_handle;
    SSyncDatabaseInfo info;
    status = sync.ReadOpenDbInfo(request, info);
    if (status != kSyncErrNone)
        return Fail(ERunError::ReadInfo, status);

    std::vector<uint8_t> buffer(kSyncMaxRecordSize);
    for (uint32_t index = 0; index < info.numRecords; ++index) {
        if (index > UINT16_MAX)
            return Fail(ERunError::ReadRecord, kSyncErrBadIndex);
        SRawRecordInfo record;
        record.fileHandle = m_handle;
        record.recordIndex = static_cast<uint16_t>(index);
        record.totalBytes = static_cast<uint16_t>(buffer.size());
        record.bytes = buffer.data();
        status = sync.ReadRecordByIndex(record);
        if (status != kSyncErrNone)
            return Fail(ERunError::ReadRecord, status);
        // A size beyond the buffer would make the copy read past it.
        if (record.recordSize > buffer.size())
            return Fail(ERunError::ReadRecord, kSyncErrBufferTooSmall);
        std::vector<uint8_t> element;
        try {
            element.assign(buffer.begin(), buffer.begin() + record.recordSize);
        } catch (const std::bad_alloc&) {
            return Fail(ERunError::Memory);
        }
        try {
            records.push_back(std::move(element));
        } catch (const std::bad_alloc&) {
            return Fail(ERunError::AddRecord);
        }
    }
    return true;
}

bool CConduitRun::CheckRecordSizes(const Records& records) {
    // A record the handheld's read buffer cannot take would make its database unreadable at
    // the next HotSync; refuse before the handheld loses anything.
    for (const auto& record : records) {
        if (record.size() > kSyncMaxRecordSize)
            return Fail(ERunError::WriteHandheld);
    }
    return true;
}

bool CConduitRun::WriteHandheld(const Records& records) {
    // The handheld holds exactly these records already: rewriting them would change nothing
    // but its database's modification stamp.
    if (records == m_read)
        return true;
    ISyncChannel& sync = m_services.sync;
    int32_t status = sync.PurgeAllRecs(m_handle);
    if (status != kSyncErrNone)
        return Fail(ERunError::PurgeAll, status);
    for (size_t index = 0; index < records.size(); ++index) {
        SRawRecordInfo record;
        record.fileHandle = m_handle;
        record.recordId = 0;
        record.recordIndex = static_cast<uint16_t>(index);
        record.attributes = 0;
        record.categoryId = 0;
        record.recordSize = static_cast<uint32_t>(records[index].size());
        record.bytes = const_cast<uint8_t*>(records[index].data());
        status = sync.WriteRec(record);
        if (status != kSyncErrNone)
            return Fail(ERunError::WriteRecord, status);
    }
    return true;
}

template <class Step> bool CConduitRun::Attempt(ERunError error, Step&& step) {
    try {
        if (step())
            return true;
    } catch (const std::exception&) {
    }
    return Fail(error);
}

// ---- journal ----

bool CConduitRun::PackJournal(CJournalDB& journal, Records& records) {
    return Attempt(ERunError::WriteHandheld,
                   [&] {
                       records = PackJournalRecords(journal);
                       return true;
                   }) &&
           CheckRecordSizes(records);
}

bool CConduitRun::WriteJournalFile(CJournalDB& journal,
                                   const std::optional<std::vector<uint8_t>>& original) {
    std::vector<uint8_t> bytes;
    return Attempt(ERunError::WriteDesktop,
                   [&] {
                       bytes = CJournalFile::Pack(journal);
                       return true;
                   }) &&
           WriteDesktopFile(journal.FilePath(), bytes, original);
}

void CConduitRun::RunJournal() {
    if (m_action < kHotSyncActionFast || m_action > kHotSyncActionDesktopToHandheld)
        return;
    const std::optional<std::string> path = DesktopFilePath();
    if (!path) {
        Fail(ERunError::FileName);
        return;
    }
    CJournalDB handheld;
    CJournalDB desktop;
    handheld.SetFilePath(*path);
    desktop.SetFilePath(*path);
    if (!CheckDesktopClosed(*path))
        return;

    std::optional<std::vector<uint8_t>> original;
    if (!ReadDesktopFile(*path, original))
        return;
    if (original &&
        !Attempt(ERunError::ReadDesktop, [&] { return CJournalFile::Unpack(*original, desktop); }))
        return;
    if (!ReadHandheld(m_read) ||
        !Attempt(ERunError::ReadHandheld, [&] { return UnpackHandheldJournal(m_read, handheld); }))
        return;

    Records records;
    // `trim`: the handheld receives only its history, as from every synchronize.
    auto handheldOverwrites = [&](bool trim) {
        handheld.ClearAllChangeBits();
        if (!PackJournal(handheld, records))
            return;
        if (trim)
            TrimHandheldHistory(handheld, CJournalDate::Today(), records);
        if (!WriteHandheld(records))
            return;
        CopyJournalHeaderValues(desktop, handheld);
        WriteJournalFile(handheld, original);
    };

    if (Synchronizes(m_action) && !original) {
        // No desktop file: a merge by change bits would drop every day and profile value that
        // an earlier HotSync cleared, and then rewrite the handheld without them.
        handheldOverwrites(true);
    } else if (Synchronizes(m_action)) {
        if (!Attempt(ERunError::ReadHandheld, [&] {
                m_changes = MergeJournal(handheld, desktop);
                return true;
            }))
            return;
        LogChanges();
        desktop.ClearAllChangeBits();
        if (!WriteJournalFile(desktop, original))
            return;
        CopyJournalHeaderValues(handheld, desktop);
        if (!PackJournal(desktop, records))
            return;
        // The desktop keeps every day; the handheld only its history.
        TrimHandheldHistory(desktop, CJournalDate::Today(), records);
        WriteHandheld(records);
    } else if (m_action == kHotSyncActionHandheldToDesktop) {
        handheldOverwrites(false);
    } else {
        desktop.ClearAllChangeBits();
        if (!WriteJournalFile(desktop, original))
            return;
        CopyJournalHeaderValues(handheld, desktop);
        if (PackJournal(desktop, records))
            WriteHandheld(records);
    }
}

// ---- food ----

bool CConduitRun::PackFood(CFoodDB& db, Records& records) {
    return Attempt(ERunError::WriteHandheld,
                   [&] {
                       records = CFoodDBFile::PackRecords(db);
                       return true;
                   }) &&
           CheckRecordSizes(records);
}

bool CConduitRun::WriteFoodFile(CFoodDB& db, const std::optional<std::vector<uint8_t>>& original) {
    std::vector<uint8_t> bytes;
    return Attempt(ERunError::WriteDesktop,
                   [&] {
                       bytes = CFoodDBFile::Pack(db);
                       return true;
                   }) &&
           WriteDesktopFile(db.FilePath().string(), bytes, original);
}

void CConduitRun::RunFood() {
    if (m_action < kHotSyncActionFast || m_action > kHotSyncActionDesktopToHandheld)
        return;
    const std::optional<std::string> journalPath = DesktopFilePath();
    CFoodDB handheld;
    CFoodDB desktop;
    if (!journalPath || !CFoodDBFile::SetPaths(desktop, m_services.users, *journalPath)) {
        Fail(ERunError::FileName);
        return;
    }
    handheld.SetPaths(desktop.FilePath(), desktop.FolderPath());
    if (!CheckDesktopClosed(*journalPath))
        return;

    std::optional<std::vector<uint8_t>> original;
    if (!ReadDesktopFile(desktop.FilePath().string(), original))
        return;
    if (original && !Attempt(ERunError::ReadDesktop, [&] {
            return CFoodDBFile::Unpack(*original, desktop) == EFoodLoadResult::Loaded;
        }))
        return;
    if (!ReadHandheld(m_read) ||
        !Attempt(ERunError::ReadHandheld, [&] { return UnpackHandheldFoodDB(m_read, handheld); }))
        return;

    Records records;
    auto handheldOverwrites = [&] {
        handheld.ClearModifiedFlags();
        if (!PackFood(handheld, records) || !WriteHandheld(records))
            return;
        CopyFoodHeaderValues(desktop, handheld);
        WriteFoodFile(handheld, original);
    };

    if (Synchronizes(m_action)) {
        const bool handheldEmpty = IsFoodDBEmpty(handheld);
        const bool desktopEmpty = IsFoodDBEmpty(desktop);
        if (handheldEmpty && desktopEmpty)
            return;
        if (desktopEmpty) {
            handheldOverwrites();
            return;
        }
        if (!handheldEmpty) {
            if (!Attempt(ERunError::ReadHandheld, [&] {
                    m_changes = MergeFoodDB(handheld, desktop);
                    return true;
                }))
                return;
            LogChanges();
        }
        desktop.ClearModifiedFlags();
        if (!WriteFoodFile(desktop, original))
            return;
        // An empty handheld receives the desktop's header as it is.
        if (!handheldEmpty)
            CopyFoodHeaderValues(handheld, desktop);
        if (PackFood(desktop, records))
            WriteHandheld(records);
    } else if (m_action == kHotSyncActionHandheldToDesktop) {
        handheldOverwrites();
    } else {
        desktop.ClearModifiedFlags();
        if (!WriteFoodFile(desktop, original))
            return;
        CopyFoodHeaderValues(handheld, desktop);
        if (PackFood(desktop, records))
            WriteHandheld(records);
    }
}

} // namespace fitquill
