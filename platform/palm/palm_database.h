// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

namespace fitquill {

// Database header attribute bits (header offset 0x20).
constexpr uint16_t kPalmDbAttrResourceDb = 0x0001;
constexpr uint16_t kPalmDbAttrReadOnly = 0x0002;
constexpr uint16_t kPalmDbAttrAppInfoDirty = 0x0004;
constexpr uint16_t kPalmDbAttrBackup = 0x0008;
constexpr uint16_t kPalmDbAttrOpen = 0x8000;

// Record attribute byte as stored in a record entry. With the delete bit set the low nibble
// holds the archive bit instead of a category.
constexpr uint8_t kPalmRecAttrDelete = 0x80;
constexpr uint8_t kPalmRecAttrDirty = 0x40;
constexpr uint8_t kPalmRecAttrBusy = 0x20;
constexpr uint8_t kPalmRecAttrSecret = 0x10;
constexpr uint8_t kPalmRecAttrArchive = 0x08;
constexpr uint8_t kPalmRecAttrCategoryMask = 0x0F;

constexpr size_t kPalmHeaderSize = 78;
constexpr size_t kPalmRecordEntrySize = 8;
constexpr size_t kPalmResourceEntrySize = 10;
// Longest database name; the 32-byte field keeps a terminating NUL.
constexpr size_t kPalmMaxNameLength = 31;
constexpr uint32_t kPalmMaxUniqueId = 0xFFFFFF;
// Seconds from 1904-01-01 (the handheld's epoch) to 1970-01-01.
constexpr uint32_t kPalmEpochOffset = 2082844800u;

// The handheld's clock value (seconds since 1904, local time, no zone) for now.
uint32_t PalmTimeNow();

// Four-character codes such as 'DATA' as the 32-bit big-endian value stored in files.
constexpr uint32_t PalmFourCC(const char (&code)[5]) {
    return (uint32_t(uint8_t(code[0])) << 24) | (uint32_t(uint8_t(code[1])) << 16) |
           (uint32_t(uint8_t(code[2])) << 8) | uint32_t(uint8_t(code[3]));
}

struct SPalmRecord {
    uint8_t attributes = 0; // the stored byte: flags and category (or archive bit)
    uint32_t uniqueId = 0;  // 24 bits; 0 is not a valid ID on the handheld
    std::vector<uint8_t> data;

    bool operator==(const SPalmRecord&) const = default;
};

struct SPalmResource {
    uint32_t type = 0;
    uint16_t id = 0;
    std::vector<uint8_t> data;

    bool operator==(const SPalmResource&) const = default;
};

// One Palm database file (.pdb record database or .prc resource database) held whole in
// memory. The header fields, the AppInfo and SortInfo blocks and every record's attributes
// and unique ID are kept exactly as read, so that a read followed by a write changes nothing
// but what the caller changed.
class CPalmDatabase {
public:
    CPalmDatabase() = default;

    // Parses a file image. Every offset and length is checked against the image: a damaged
    // image is refused (false, `error` says why) and leaves this object unchanged.
    bool Read(std::span<const uint8_t> image, std::string* error = nullptr);
    bool Load(const std::filesystem::path& path, std::string* error = nullptr);

    // The file image: header, entries, the two-byte gap, AppInfo, SortInfo, then the data in
    // entry order. Refuses (nullopt) what a handheld would not accept: an empty or too long
    // name, a record unique ID that is 0, over 24 bits or repeated, more than 65,535 entries.
    // The busy bit is never written.
    std::optional<std::vector<uint8_t>> Write(std::string* error = nullptr) const;
    // Writes the image so that a failure leaves the old file intact.
    bool Save(const std::filesystem::path& path, std::string* error = nullptr) const;

    // Reads only the name from the start of a file image (nullopt when it is too short or
    // the name is not terminated); enough to find a database by name in a folder.
    static std::optional<std::string> PeekName(std::span<const uint8_t> image);

    const std::string& Name() const { return m_name; }
    // Refuses an empty name, a name over 31 bytes or one holding a NUL.
    bool SetName(std::string_view name);

    uint16_t Attributes() const { return m_attributes; }
    void SetAttributes(uint16_t attributes) { m_attributes = attributes; }
    bool IsResourceDb() const { return (m_attributes & kPalmDbAttrResourceDb) != 0; }
    uint16_t Version() const { return m_version; }
    void SetVersion(uint16_t version) { m_version = version; }
    uint32_t CreationDate() const { return m_creationDate; }
    void SetCreationDate(uint32_t date) { m_creationDate = date; }
    uint32_t ModificationDate() const { return m_modificationDate; }
    void SetModificationDate(uint32_t date) { m_modificationDate = date; }
    uint32_t LastBackupDate() const { return m_lastBackupDate; }
    void SetLastBackupDate(uint32_t date) { m_lastBackupDate = date; }
    uint32_t ModificationNumber() const { return m_modificationNumber; }
    void SetModificationNumber(uint32_t number) { m_modificationNumber = number; }
    uint32_t Type() const { return m_type; }
    void SetType(uint32_t type) { m_type = type; }
    uint32_t Creator() const { return m_creator; }
    void SetCreator(uint32_t creator) { m_creator = creator; }
    uint32_t UniqueIdSeed() const { return m_uniqueIdSeed; }
    void SetUniqueIdSeed(uint32_t seed) { m_uniqueIdSeed = seed; }

    // Absent blocks are written with offset 0; a present but empty block keeps its offset.
    const std::optional<std::vector<uint8_t>>& AppInfo() const { return m_appInfo; }
    void SetAppInfo(std::optional<std::vector<uint8_t>> block) { m_appInfo = std::move(block); }
    const std::optional<std::vector<uint8_t>>& SortInfo() const { return m_sortInfo; }
    void SetSortInfo(std::optional<std::vector<uint8_t>> block) { m_sortInfo = std::move(block); }

    // Record databases only; a resource database holds no records (and the reverse).
    std::vector<SPalmRecord>& Records() { return m_records; }
    const std::vector<SPalmRecord>& Records() const { return m_records; }
    std::vector<SPalmResource>& Resources() { return m_resources; }
    const std::vector<SPalmResource>& Resources() const { return m_resources; }

    // Index of the record with this unique ID, or -1.
    int FindRecord(uint32_t uniqueId) const;
    // A fresh unique ID: the seed plus one, skipping 0 and IDs in use, wrapping within 24
    // bits; it becomes the new seed. 0 when all 2^24 - 1 IDs are in use.
    uint32_t NewUniqueId();
    // The same, with the IDs in use supplied by a caller that keeps them (many writes).
    uint32_t NewUniqueId(const std::unordered_set<uint32_t>& used);

private:
    std::string m_name;
    uint16_t m_attributes = 0;
    uint16_t m_version = 0;
    uint32_t m_creationDate = 0;
    uint32_t m_modificationDate = 0;
    uint32_t m_lastBackupDate = 0;
    uint32_t m_modificationNumber = 0;
    uint32_t m_type = 0;
    uint32_t m_creator = 0;
    uint32_t m_uniqueIdSeed = 0;
    std::optional<std::vector<uint8_t>> m_appInfo;
    std::optional<std::vector<uint8_t>> m_sortInfo;
    std::vector<SPalmRecord> m_records;
    std::vector<SPalmResource> m_resources;
};

} // namespace fitquill
