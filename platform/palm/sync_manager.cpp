// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/palm/sync_manager.h"

#include "core/io/atomic_file.h"

#include <algorithm>
#include <fstream>
#include <mutex>
#include <set>
#include <system_error>
#include <vector>

namespace fitquill {

namespace {

constexpr size_t kMaxRecordCount = 0xFFFF;
constexpr uint8_t kWritableAttributes =
    kSyncRecAttrDeleted | kSyncRecAttrDirty | kSyncRecAttrSecret | kSyncRecAttrArchived;

// Database files open in any Sync Manager of this process, so that two managers on the same
// handheld cannot both hold (and later both write) one database.
std::mutex g_openFilesMutex;
std::set<std::string> g_openFiles;

bool ClaimFile(const std::string& key) {
    std::lock_guard lock(g_openFilesMutex);
    return g_openFiles.insert(key).second;
}

void ReleaseFile(const std::string& key) {
    std::lock_guard lock(g_openFilesMutex);
    g_openFiles.erase(key);
}

std::string RegistryKey(const std::filesystem::path& path) {
    std::error_code ec;
    auto canonical = std::filesystem::weakly_canonical(path, ec);
    return (ec ? path : canonical).string();
}

bool IsDatabaseFileName(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return ext == ".pdb" || ext == ".prc";
}

std::optional<std::string> ReadDatabaseName(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    uint8_t field[32];
    if (!in.read(reinterpret_cast<char*>(field), sizeof field))
        return std::nullopt;
    return CPalmDatabase::PeekName(field);
}

// The stored attribute byte for attributes and a category as callers pass them. A deleted
// (or archived, which implies deleted) record keeps no category.
uint8_t ToFileAttributes(uint8_t attributes, int16_t category) {
    uint8_t stored = attributes & (kSyncRecAttrDirty | kSyncRecAttrSecret);
    if (attributes & (kSyncRecAttrDeleted | kSyncRecAttrArchived)) {
        stored |= kPalmRecAttrDelete;
        if (attributes & kSyncRecAttrArchived)
            stored |= kPalmRecAttrArchive;
    } else {
        stored |= uint8_t(category) & kPalmRecAttrCategoryMask;
    }
    return stored;
}

void FromFileAttributes(uint8_t stored, uint8_t& attributes, int16_t& category) {
    attributes =
        stored & (kSyncRecAttrDeleted | kSyncRecAttrDirty | kSyncRecAttrBusy | kSyncRecAttrSecret);
    if (stored & kPalmRecAttrDelete) {
        if (stored & kPalmRecAttrArchive)
            attributes |= kSyncRecAttrArchived;
        category = 0;
    } else {
        category = int16_t(stored & kPalmRecAttrCategoryMask);
    }
}

} // namespace

CSyncManager::CSyncManager(SHandheld handheld)
    : m_handheld(std::move(handheld)), m_clock(PalmTimeNow) {}

CSyncManager::~CSyncManager() {
    // A handheld keeps what was written even when a conduit forgets to close.
    if (m_open)
        Close(false);
}

std::filesystem::path CSyncManager::FindDatabaseFile(const std::string& name) const {
    std::error_code ec;
    std::vector<std::filesystem::path> candidates;
    for (std::filesystem::directory_iterator it(m_handheld.folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        if (it->is_regular_file(ec) && IsDatabaseFileName(it->path()))
            candidates.push_back(it->path());
    }
    // A fixed order, so that two files claiming one name always resolve the same way.
    std::sort(candidates.begin(), candidates.end());
    for (const auto& path : candidates) {
        if (ReadDatabaseName(path) == name)
            return path;
    }
    return {};
}

int32_t CSyncManager::InstallDatabase(const std::filesystem::path& file) {
    const auto image = ReadWholeFile(file);
    CPalmDatabase db;
    if (!image || !db.Read(*image))
        return kSyncErrBadArgument;
    std::filesystem::path target = FindDatabaseFile(db.Name());
    if (target.empty()) {
        // The name may hold anything but a NUL; the file name must stay inside the folder.
        std::string base = db.Name().empty() ? std::string("Database") : db.Name();
        for (char& c : base) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x20 || byte == 0x7F || c == '/' || c == '\\')
                c = '_';
        }
        const std::string extension = db.IsResourceDb() ? ".prc" : ".pdb";
        target = m_handheld.folder / (base + extension);
        std::error_code ec;
        for (int n = 2; std::filesystem::exists(target, ec); ++n)
            target = m_handheld.folder / (base + "-" + std::to_string(n) + extension);
    }
    const std::string key = RegistryKey(target);
    if (!ClaimFile(key))
        return kSyncErrFileAlreadyOpen;
    const bool written = ReplaceFileAtomically(target, *image);
    ReleaseFile(key);
    return written ? kSyncErrNone : kSyncErrWriteFailed;
}

int32_t CSyncManager::OpenDB(const std::string& name, int cardNumber, uint8_t& handle,
                             uint8_t mode) {
    if (m_open) {
        return m_open->database.Name() == name ? kSyncErrFileAlreadyOpen : kSyncErrTooManyOpenFiles;
    }
    if (cardNumber != 0)
        return kSyncErrNotFound;
    const auto path = FindDatabaseFile(name);
    if (path.empty())
        return kSyncErrNotFound;

    auto open = std::make_unique<SOpenDatabase>();
    open->path = path;
    open->registryKey = RegistryKey(path);
    if (!ClaimFile(open->registryKey))
        return kSyncErrFileAlreadyOpen;
    if (!open->database.Load(path)) {
        ReleaseFile(open->registryKey);
        return kSyncErrFileNotOpen;
    }
    for (const auto& record : open->database.Records())
        open->usedIds.insert(record.uniqueId);
    open->mode = mode;
    if (++m_lastHandle == 0)
        m_lastHandle = 1;
    open->handle = m_lastHandle;
    handle = open->handle;
    m_open = std::move(open);
    return kSyncErrNone;
}

CSyncManager::SOpenDatabase* CSyncManager::Find(uint8_t handle) {
    return m_open && m_open->handle == handle ? m_open.get() : nullptr;
}

int32_t CSyncManager::CheckWritable(const SOpenDatabase& open) const {
    if (!(open.mode & kSyncModeWrite) || (open.database.Attributes() & kPalmDbAttrReadOnly))
        return kSyncErrReadOnly;
    if (open.database.IsResourceDb())
        return kSyncErrBadOperation;
    return kSyncErrNone;
}

int32_t CSyncManager::CloseDB(uint8_t handle) {
    if (!Find(handle))
        return kSyncErrFileNotOpen;
    return Close(true);
}

int32_t CSyncManager::Close(bool reportWriteFailure) {
    std::unique_ptr<SOpenDatabase> open = std::move(m_open);
    int32_t status = kSyncErrNone;
    if (open->changes > 0) {
        auto& db = open->database;
        db.SetModificationNumber(db.ModificationNumber() + open->changes);
        db.SetModificationDate(m_clock());
        if (!db.Save(open->path) && reportWriteFailure)
            status = kSyncErrWriteFailed;
    }
    ReleaseFile(open->registryKey);
    return status;
}

int32_t CSyncManager::ReadOpenDbInfo(const SSyncReadOpenDbInfoParams& params,
                                     SSyncDatabaseInfo& info) {
    SOpenDatabase* open = Find(params.dbHandle);
    if (!open)
        return kSyncErrFileNotOpen;
    const CPalmDatabase& db = open->database;
    if (params.optFlags & kSyncDbInfoGetBase) {
        info.baseInfo.cardNumber = 0;
        info.baseInfo.dbFlags = db.Attributes();
        info.baseInfo.dbType = db.Type();
        info.baseInfo.name = db.Name();
        info.baseInfo.creator = db.Creator();
        info.baseInfo.version = db.Version();
        info.baseInfo.modificationNumber = db.ModificationNumber();
        info.baseInfo.creationDate = db.CreationDate();
        info.baseInfo.modificationDate = db.ModificationDate();
        info.baseInfo.backupDate = db.LastBackupDate();
    }
    if (params.optFlags & kSyncDbInfoGetSize) {
        const bool resources = db.IsResourceDb();
        uint64_t dataBytes = 0;
        size_t count = 0;
        if (resources) {
            count = db.Resources().size();
            for (const auto& resource : db.Resources())
                dataBytes += resource.data.size();
        } else {
            count = db.Records().size();
            for (const auto& record : db.Records())
                dataBytes += record.data.size();
        }
        const uint64_t appSize = db.AppInfo() ? db.AppInfo()->size() : 0;
        const uint64_t sortSize = db.SortInfo() ? db.SortInfo()->size() : 0;
        const uint64_t entrySize = resources ? kPalmResourceEntrySize : kPalmRecordEntrySize;
        const uint64_t total =
            kPalmHeaderSize + count * entrySize + 2 + appSize + sortSize + dataBytes;
        info.numRecords = uint32_t(count);
        info.dataBytes = uint32_t(std::min<uint64_t>(dataBytes, UINT32_MAX));
        info.totalBytes = uint32_t(std::min<uint64_t>(total, UINT32_MAX));
        info.appBlockSize = uint32_t(appSize);
        info.sortBlockSize = uint32_t(sortSize);
    }
    if (params.optFlags & kSyncDbInfoGetMaxRecSize)
        info.maxRecordSize = kSyncMaxRecordSize;
    return kSyncErrNone;
}

int32_t CSyncManager::ReadRecordByIndex(SRawRecordInfo& record) {
    SOpenDatabase* open = Find(record.fileHandle);
    if (!open)
        return kSyncErrFileNotOpen;
    if (!(open->mode & kSyncModeRead) || open->database.IsResourceDb())
        return kSyncErrBadOperation;
    const auto& records = open->database.Records();
    if (record.recordIndex >= records.size())
        return kSyncErrBadIndex;
    const SPalmRecord& stored = records[record.recordIndex];
    if ((stored.attributes & kPalmRecAttrSecret) && !(open->mode & kSyncModeShowSecret))
        return kSyncErrRecordHidden;
    if (record.totalBytes > 0 && record.bytes == nullptr)
        return kSyncErrArgMissing;

    record.recordId = stored.uniqueId;
    FromFileAttributes(stored.attributes, record.attributes, record.categoryId);
    record.recordSize = uint32_t(stored.data.size());
    // A cut record passed on as a whole one would corrupt the caller's data.
    if (stored.data.size() > record.totalBytes)
        return kSyncErrBufferTooSmall;
    std::copy(stored.data.begin(), stored.data.end(), record.bytes);
    return kSyncErrNone;
}

int32_t CSyncManager::WriteRec(SRawRecordInfo& record) {
    SOpenDatabase* open = Find(record.fileHandle);
    if (!open)
        return kSyncErrFileNotOpen;
    if (const int32_t status = CheckWritable(*open); status != kSyncErrNone)
        return status;
    if ((record.attributes & ~kWritableAttributes) != 0 || record.categoryId < 0 ||
        record.categoryId > kPalmRecAttrCategoryMask || record.recordSize > kSyncMaxRecordSize ||
        record.recordId > kPalmMaxUniqueId)
        return kSyncErrBadArgument;
    if (record.recordSize > 0 && record.bytes == nullptr)
        return kSyncErrArgMissing;

    CPalmDatabase& db = open->database;
    auto& records = db.Records();
    SPalmRecord incoming;
    incoming.attributes = ToFileAttributes(record.attributes, record.categoryId);
    incoming.data.assign(record.bytes, record.bytes + record.recordSize);

    const int existing = record.recordId != 0 ? db.FindRecord(record.recordId) : -1;
    if (existing >= 0) {
        incoming.uniqueId = record.recordId;
        records[size_t(existing)] = std::move(incoming);
    } else {
        if (records.size() >= kMaxRecordCount)
            return kSyncErrNoSpace;
        incoming.uniqueId = record.recordId != 0 ? record.recordId : db.NewUniqueId(open->usedIds);
        if (incoming.uniqueId == 0)
            return kSyncErrNoSpace;
        open->usedIds.insert(incoming.uniqueId);
        records.push_back(std::move(incoming));
    }
    record.recordId = records[existing >= 0 ? size_t(existing) : records.size() - 1].uniqueId;
    ++open->changes;
    return kSyncErrNone;
}

int32_t CSyncManager::PurgeDeletedRecs(uint8_t handle) {
    SOpenDatabase* open = Find(handle);
    if (!open)
        return kSyncErrFileNotOpen;
    if (const int32_t status = CheckWritable(*open); status != kSyncErrNone)
        return status;
    auto& records = open->database.Records();
    const auto removed = std::erase_if(
        records, [](const SPalmRecord& r) { return (r.attributes & kPalmRecAttrDelete) != 0; });
    if (removed > 0) {
        open->usedIds.clear();
        for (const auto& record : records)
            open->usedIds.insert(record.uniqueId);
        ++open->changes;
    }
    return kSyncErrNone;
}

int32_t CSyncManager::PurgeAllRecs(uint8_t handle) {
    SOpenDatabase* open = Find(handle);
    if (!open)
        return kSyncErrFileNotOpen;
    if (const int32_t status = CheckWritable(*open); status != kSyncErrNone)
        return status;
    auto& records = open->database.Records();
    if (!records.empty()) {
        records.clear();
        open->usedIds.clear();
        ++open->changes;
    }
    return kSyncErrNone;
}

} // namespace fitquill
