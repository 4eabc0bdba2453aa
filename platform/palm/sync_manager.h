// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/palm/handheld.h"
#include "platform/palm/palm_database.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>

namespace fitquill {

// Sync Manager results: 0 success, errors in the 0x4000 range. NotFound, FileNotOpen,
// ReadOnly, FileAlreadyOpen and TooManyOpenFiles carry the Sync Manager's own values; the
// others are this stand-in's choices.
constexpr int32_t kSyncErrNone = 0;
constexpr int32_t kSyncErrNotFound = 0x4003;        // no database of that name
constexpr int32_t kSyncErrFileNotOpen = 0x4004;     // unknown handle, or the file is unreadable
constexpr int32_t kSyncErrReadOnly = 0x4009;        // a change without write access
constexpr int32_t kSyncErrFileAlreadyOpen = 0x400C; // the database is open already
constexpr int32_t kSyncErrBadOperation = 0x400E;    // a read without read access, or on a .prc
constexpr int32_t kSyncErrBadIndex = 0x400F;        // record index not below the record count
constexpr int32_t kSyncErrBadArgument = 0x4010;     // bad attributes, category, size or ID
constexpr int32_t kSyncErrArgMissing = 0x4011;      // a buffer pointer missing for its size
constexpr int32_t kSyncErrBufferTooSmall = 0x4012;  // the record is larger than the buffer
constexpr int32_t kSyncErrRecordHidden = 0x4013;    // a secret record without show-secret
constexpr int32_t kSyncErrNoSpace = 0x4014;         // no free unique ID, or too many records
constexpr int32_t kSyncErrWriteFailed = 0x4015;     // the file could not be replaced at close
constexpr int32_t kSyncErrTooManyOpenFiles = 0x10004403; // another database is open

// Open mode bits.
constexpr uint8_t kSyncModeRead = 0x80;
constexpr uint8_t kSyncModeWrite = 0x40;
constexpr uint8_t kSyncModeExclusive = 0x20;
constexpr uint8_t kSyncModeShowSecret = 0x10;

// Record attributes as exchanged with callers (not the file's combined byte): the category
// travels separately.
constexpr uint8_t kSyncRecAttrDeleted = 0x80;
constexpr uint8_t kSyncRecAttrDirty = 0x40;
constexpr uint8_t kSyncRecAttrBusy = 0x20;
constexpr uint8_t kSyncRecAttrSecret = 0x10;
constexpr uint8_t kSyncRecAttrArchived = 0x08;

// Database-information request flags.
constexpr uint8_t kSyncDbInfoGetBase = 0x80;
constexpr uint8_t kSyncDbInfoGetSize = 0x40;
constexpr uint8_t kSyncDbInfoGetMaxRecSize = 0x20;

// The largest record the handheld exchanges: the size of the conduits' read buffer.
constexpr uint32_t kSyncMaxRecordSize = 0xFFF0;

struct SSyncReadOpenDbInfoParams {
    uint8_t optFlags = 0;
    uint8_t dbHandle = 0;
};

struct SSyncDbList {
    int16_t cardNumber = 0;
    uint16_t dbFlags = 0;
    uint32_t dbType = 0;
    std::string name;
    uint32_t creator = 0;
    uint16_t version = 0;
    uint32_t modificationNumber = 0;
    uint32_t creationDate = 0;
    uint32_t modificationDate = 0;
    uint32_t backupDate = 0;
};

struct SSyncDatabaseInfo {
    SSyncDbList baseInfo;    // with kSyncDbInfoGetBase
    uint32_t numRecords = 0; // with kSyncDbInfoGetSize, as the four below
    uint32_t totalBytes = 0; // the whole file
    uint32_t dataBytes = 0;  // the records' bytes
    uint32_t appBlockSize = 0;
    uint32_t sortBlockSize = 0;
    uint32_t maxRecordSize = 0; // with kSyncDbInfoGetMaxRecSize
};

// One record crossing the Sync Manager. Reading fills recordId, attributes, categoryId and
// recordSize (the true size) and copies the record into `bytes`, which holds totalBytes.
// A record larger than the buffer is not cut short: the read fails with
// kSyncErrBufferTooSmall, copies nothing and still reports the true size. Writing takes
// recordSize bytes from `bytes`; recordId 0 asks for a new record and receives its ID.
struct SRawRecordInfo {
    uint8_t fileHandle = 0;
    uint32_t recordId = 0;
    uint16_t recordIndex = 0;
    uint8_t attributes = 0;
    int16_t categoryId = 0;
    int32_t conduitId = 0; // ignored
    uint32_t recordSize = 0;
    uint16_t totalBytes = 0;
    uint8_t* bytes = nullptr;
    uint32_t reserved = 0; // ignored
};

// The Sync Manager over a handheld folder. Databases are found by the name in their header.
// One database may be open at a time; a database open in any Sync Manager of this process
// cannot be opened again until it is closed. Changes are kept in memory and reach the file,
// atomically, when the database is closed (or when the manager is destroyed with it open).
// Calls are sequential, as the HotSync Manager makes them.
class CSyncManager {
public:
    explicit CSyncManager(SHandheld handheld);
    ~CSyncManager();
    CSyncManager(const CSyncManager&) = delete;
    CSyncManager& operator=(const CSyncManager&) = delete;

    const SHandheld& Handheld() const { return m_handheld; }

    // Card numbers other than 0 find nothing: the handheld has one card.
    int32_t OpenDB(const std::string& name, int cardNumber, uint8_t& handle,
                   uint8_t mode = kSyncModeRead | kSyncModeWrite | kSyncModeExclusive);
    // Writes the database back when anything changed (modification number bumped once per
    // change, modification date set) and releases the handle, even when the write fails.
    int32_t CloseDB(uint8_t handle);
    int32_t ReadOpenDbInfo(const SSyncReadOpenDbInfoParams& params, SSyncDatabaseInfo& info);
    int32_t ReadRecordByIndex(SRawRecordInfo& record);
    int32_t WriteRec(SRawRecordInfo& record);
    // Removes every record marked deleted or archived.
    int32_t PurgeDeletedRecs(uint8_t handle);
    // Removes every record; the name, type, creator, attributes, AppInfo, SortInfo and the
    // unique-ID seed stay, so that new IDs do not repeat old ones.
    int32_t PurgeAllRecs(uint8_t handle);

    // The handheld's clock (seconds since 1904); tests fix it.
    void SetClock(std::function<uint32_t()> clock) { m_clock = std::move(clock); }

    // Path of the file that holds the named database, or empty when there is none.
    std::filesystem::path FindDatabaseFile(const std::string& name) const;

    // Installs a database file on the handheld, as the HotSync Manager installs queued files:
    // a database of the same name is replaced, otherwise the file is added as
    // "<database name>.pdb" (or ".prc"). Refuses a file that is not a readable database
    // (kSyncErrBadArgument) and a database that is open (kSyncErrFileAlreadyOpen).
    int32_t InstallDatabase(const std::filesystem::path& file);

private:
    struct SOpenDatabase {
        uint8_t handle = 0;
        uint8_t mode = 0;
        std::filesystem::path path;
        std::string registryKey;
        CPalmDatabase database;
        std::unordered_set<uint32_t> usedIds;
        uint32_t changes = 0;
    };

    // The open database for a handle, or null.
    SOpenDatabase* Find(uint8_t handle);
    int32_t CheckWritable(const SOpenDatabase& open) const;
    int32_t Close(bool reportWriteFailure);

    SHandheld m_handheld;
    std::unique_ptr<SOpenDatabase> m_open;
    uint8_t m_lastHandle = 0;
    std::function<uint32_t()> m_clock;
};

} // namespace fitquill
