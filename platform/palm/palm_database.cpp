// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/palm/palm_database.h"

#include "core/io/atomic_file.h"
#include "core/io/byte_reader.h"
#include "core/io/byte_writer.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <limits>
#include <unordered_set>

namespace fitquill {

namespace {

constexpr size_t kNameFieldSize = 32;
constexpr size_t kGapSize = 2;

bool Fail(std::string* error, const std::string& reason) {
    if (error)
        *error = reason;
    return false;
}

std::vector<uint8_t> Slice(std::span<const uint8_t> image, size_t begin, size_t end) {
    return std::vector<uint8_t>(image.begin() + std::ptrdiff_t(begin),
                                image.begin() + std::ptrdiff_t(end));
}

} // namespace

uint32_t PalmTimeNow() {
    const auto now = std::chrono::system_clock::now();
    const int64_t unixSeconds =
        std::chrono::duration_cast<std::chrono::seconds>(now.time_since_epoch()).count();
    // The field is an unsigned 32-bit count that wraps in 2040; keep its low 32 bits.
    return uint32_t(uint64_t(unixSeconds + int64_t(kPalmEpochOffset)));
}

std::optional<std::string> CPalmDatabase::PeekName(std::span<const uint8_t> image) {
    if (image.size() < kNameFieldSize)
        return std::nullopt;
    const auto nameField = image.first(kNameFieldSize);
    const auto nul = std::find(nameField.begin(), nameField.end(), uint8_t(0));
    if (nul == nameField.end())
        return std::nullopt;
    return std::string(nameField.begin(), nul);
}

bool CPalmDatabase::Read(std::span<const uint8_t> image, std::string* error) {
    if (image.size() < kPalmHeaderSize)
        return Fail(error, "file shorter than a database header");
    const uint64_t fileSize = image.size();

    CPalmDatabase db;
    const auto name = PeekName(image);
    if (!name)
        return Fail(error, "database name not terminated");
    db.m_name = *name;
    CByteReader header(image.first(kPalmHeaderSize));
    header.Skip(kNameFieldSize);
    db.m_attributes = header.ReadUint16();
    db.m_version = header.ReadUint16();
    db.m_creationDate = header.ReadUint32();
    db.m_modificationDate = header.ReadUint32();
    db.m_lastBackupDate = header.ReadUint32();
    db.m_modificationNumber = header.ReadUint32();
    const uint32_t appInfoOffset = header.ReadUint32();
    const uint32_t sortInfoOffset = header.ReadUint32();
    db.m_type = header.ReadUint32();
    db.m_creator = header.ReadUint32();
    db.m_uniqueIdSeed = header.ReadUint32();
    const uint32_t nextRecordList = header.ReadUint32();
    const size_t count = header.ReadUint16();
    // Only meaningful in the handheld's memory; a file that chains a second list is damaged.
    if (nextRecordList != 0)
        return Fail(error, "record list continues in another list");

    const bool resources = db.IsResourceDb();
    const size_t entrySize = resources ? kPalmResourceEntrySize : kPalmRecordEntrySize;
    const uint64_t entriesEnd = kPalmHeaderSize + uint64_t(count) * entrySize;
    if (entriesEnd > fileSize)
        return Fail(error, "record list runs past the end of the file");

    // Data offsets must lie after the entries, inside the file and in ascending order; the
    // length of each block is the distance to the next one.
    struct SEntry {
        uint64_t offset = 0;
        uint8_t attributes = 0; // records
        uint32_t uniqueId = 0;
        uint32_t type = 0; // resources
        uint16_t resourceId = 0;
    };
    std::vector<SEntry> entries(count);
    CByteReader list(image.subspan(kPalmHeaderSize, size_t(entriesEnd - kPalmHeaderSize)));
    for (size_t i = 0; i < count; ++i) {
        SEntry& entry = entries[i];
        if (resources) {
            entry.type = list.ReadUint32();
            entry.resourceId = list.ReadUint16();
            entry.offset = list.ReadUint32();
        } else {
            entry.offset = list.ReadUint32();
            entry.attributes = list.ReadUint8();
            const uint32_t upper = list.ReadUint8();
            entry.uniqueId = (upper << 16) | list.ReadUint16();
        }
        if (entry.offset < entriesEnd || entry.offset > fileSize)
            return Fail(error, "record " + std::to_string(i) + " lies outside the file");
        if (i > 0 && entry.offset < entries[i - 1].offset)
            return Fail(error, "record " + std::to_string(i) + " is out of order");
    }
    const uint64_t dataStart = count > 0 ? entries[0].offset : fileSize;

    auto checkBlock = [&](uint32_t offset, const char* what) {
        if (offset == 0)
            return true;
        if (offset < entriesEnd || offset > dataStart)
            return Fail(error, std::string(what) + " block lies outside its place");
        return true;
    };
    if (!checkBlock(appInfoOffset, "AppInfo") || !checkBlock(sortInfoOffset, "SortInfo"))
        return false;
    if (appInfoOffset != 0 && sortInfoOffset != 0 && sortInfoOffset < appInfoOffset)
        return Fail(error, "SortInfo block precedes the AppInfo block");
    if (appInfoOffset != 0) {
        const uint64_t end = sortInfoOffset != 0 ? sortInfoOffset : dataStart;
        db.m_appInfo = Slice(image, appInfoOffset, size_t(end));
    }
    if (sortInfoOffset != 0)
        db.m_sortInfo = Slice(image, sortInfoOffset, size_t(dataStart));

    for (size_t i = 0; i < count; ++i) {
        const SEntry& entry = entries[i];
        const uint64_t end = i + 1 < count ? entries[i + 1].offset : fileSize;
        auto data = Slice(image, size_t(entry.offset), size_t(end));
        if (resources)
            db.m_resources.push_back({entry.type, entry.resourceId, std::move(data)});
        else
            db.m_records.push_back({entry.attributes, entry.uniqueId, std::move(data)});
    }

    *this = std::move(db);
    return true;
}

bool CPalmDatabase::Load(const std::filesystem::path& path, std::string* error) {
    const auto image = ReadWholeFile(path, error);
    if (!image)
        return false;
    return Read(*image, error);
}

std::optional<std::vector<uint8_t>> CPalmDatabase::Write(std::string* error) const {
    if (m_name.empty() || m_name.size() > kPalmMaxNameLength ||
        m_name.find('\0') != std::string::npos) {
        Fail(error, "database name must be 1 to 31 bytes");
        return std::nullopt;
    }
    const bool resources = IsResourceDb();
    const size_t count = resources ? m_resources.size() : m_records.size();
    if (count > std::numeric_limits<uint16_t>::max()) {
        Fail(error, "too many records");
        return std::nullopt;
    }
    if (!resources) {
        std::unordered_set<uint32_t> seen;
        for (const auto& record : m_records) {
            if (record.uniqueId == 0 || record.uniqueId > kPalmMaxUniqueId ||
                !seen.insert(record.uniqueId).second) {
                Fail(error, "record unique ID " + std::to_string(record.uniqueId) +
                                " is invalid or repeated");
                return std::nullopt;
            }
        }
    }

    const size_t entrySize = resources ? kPalmResourceEntrySize : kPalmRecordEntrySize;
    uint64_t position = kPalmHeaderSize + count * entrySize + kGapSize;
    const uint64_t appInfoOffset = m_appInfo ? position : 0;
    if (m_appInfo)
        position += m_appInfo->size();
    const uint64_t sortInfoOffset = m_sortInfo ? position : 0;
    if (m_sortInfo)
        position += m_sortInfo->size();
    std::vector<uint64_t> offsets(count);
    for (size_t i = 0; i < count; ++i) {
        offsets[i] = position;
        position += resources ? m_resources[i].data.size() : m_records[i].data.size();
    }
    // Offsets are 32-bit; every block must start at a representable offset.
    if (position > std::numeric_limits<uint32_t>::max()) {
        Fail(error, "database too large for the file format");
        return std::nullopt;
    }

    CByteWriter out{size_t(position)};
    std::array<uint8_t, kNameFieldSize> name{};
    std::copy(m_name.begin(), m_name.end(), name.begin());
    out.AppendBytes(name);
    out.AppendUint16(m_attributes);
    out.AppendUint16(m_version);
    out.AppendUint32(m_creationDate);
    out.AppendUint32(m_modificationDate);
    out.AppendUint32(m_lastBackupDate);
    out.AppendUint32(m_modificationNumber);
    out.AppendUint32(uint32_t(appInfoOffset));
    out.AppendUint32(uint32_t(sortInfoOffset));
    out.AppendUint32(m_type);
    out.AppendUint32(m_creator);
    out.AppendUint32(m_uniqueIdSeed);
    out.AppendUint32(0); // next record list: always 0 in files
    out.AppendUint16(uint16_t(count));
    for (size_t i = 0; i < count; ++i) {
        if (resources) {
            out.AppendUint32(m_resources[i].type);
            out.AppendUint16(m_resources[i].id);
            out.AppendUint32(uint32_t(offsets[i]));
        } else {
            out.AppendUint32(uint32_t(offsets[i]));
            out.AppendUint8(uint8_t(m_records[i].attributes & ~kPalmRecAttrBusy));
            out.AppendUint8(uint8_t(m_records[i].uniqueId >> 16));
            out.AppendUint16(uint16_t(m_records[i].uniqueId));
        }
    }
    out.AppendUint16(0); // the gap
    if (m_appInfo)
        out.AppendBytes(*m_appInfo);
    if (m_sortInfo)
        out.AppendBytes(*m_sortInfo);
    for (size_t i = 0; i < count; ++i)
        out.AppendBytes(resources ? m_resources[i].data : m_records[i].data);
    return out.Release();
}

bool CPalmDatabase::Save(const std::filesystem::path& path, std::string* error) const {
    const auto image = Write(error);
    if (!image)
        return false;
    return ReplaceFileAtomically(path, *image, error);
}

bool CPalmDatabase::SetName(std::string_view name) {
    if (name.empty() || name.size() > kPalmMaxNameLength || name.find('\0') != name.npos)
        return false;
    m_name = name;
    return true;
}

int CPalmDatabase::FindRecord(uint32_t uniqueId) const {
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i].uniqueId == uniqueId)
            return int(i);
    }
    return -1;
}

uint32_t CPalmDatabase::NewUniqueId() {
    std::unordered_set<uint32_t> used;
    for (const auto& record : m_records)
        used.insert(record.uniqueId);
    return NewUniqueId(used);
}

uint32_t CPalmDatabase::NewUniqueId(const std::unordered_set<uint32_t>& used) {
    uint32_t id = m_uniqueIdSeed & kPalmMaxUniqueId;
    // Bounded so that a full ID space ends the search instead of looping.
    for (uint32_t tries = 0; tries < kPalmMaxUniqueId; ++tries) {
        id = (id + 1) & kPalmMaxUniqueId;
        if (id != 0 && used.count(id) == 0) {
            // Only the low three bytes carry the ID; the seed's upper byte stays as it was.
            m_uniqueIdSeed = (m_uniqueIdSeed & ~kPalmMaxUniqueId) | id;
            return id;
        }
    }
    return 0;
}

} // namespace fitquill
