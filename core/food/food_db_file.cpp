// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_db_file.h"

#include "core/food/food_records.h"
#include "core/internal_error.h"
#include "core/io/atomic_file.h"
#include "core/io/byte_reader.h"
#include "core/io/byte_writer.h"
#include "core/io/chunk_reader.h"
#include "core/io/chunk_writer.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace fitquill {

namespace fs = std::filesystem;

const char* const CFoodDBFile::kOldGroupNames[kOldGroupCount] = {
    "Sweets, Fats, Oils",  "Milk, Yogurt, Cheese", "Meat, Poultry, Fish", "Vegetables",
    "Fruits, Fruit Juice", "Bread, Cereal, Pasta", "Drinks, Beer, Soda",  "Restaurants, Other",
};

namespace {

// Smallest readable entries of the lists, so that a damaged count fails before its loop.
constexpr std::size_t kMinTextSize = 2;
constexpr std::size_t kMinGroupEntrySize = 4 + 1 + kMinTextSize + 2;
constexpr std::size_t kMinCategoryEntrySize = 4 + 1 + kMinTextSize;

// The old header: version, eight texts each followed by two bytes, one byte, ten find texts
// in fixed fields, generator.
constexpr int kOldHeaderTexts = 8;
constexpr std::size_t kOldFindFieldWidth = 21;
constexpr int kOldFindFields = 10;

struct SHeader {
    uint16_t version = 0;
    std::vector<std::string> findHistory;
    CIdGenerator generator;
    std::vector<CNutrientValue> nutrients;
};

std::optional<SHeader> UnpackCurrentHeader(CByteReader& in, uint16_t version) {
    SHeader header;
    header.version = version;
    const uint16_t count = in.ReadCount(kMinTextSize);
    for (uint16_t i = 0; i < count && !in.Failed(); ++i)
        header.findHistory.push_back(ReadStoredText(in));
    header.generator = CIdGenerator(in.ReadUint32LE());
    header.nutrients = UnpackNutrientList(in);
    if (in.Failed())
        return std::nullopt;
    return header;
}

std::optional<SHeader> UnpackOldHeader(CByteReader& in, uint16_t version) {
    SHeader header;
    header.version = version;
    for (int i = 0; i < kOldHeaderTexts; ++i) {
        ReadStoredText(in);
        in.Skip(2);
    }
    in.Skip(1);
    for (int i = 0; i < kOldFindFields; ++i)
        header.findHistory.push_back(in.ReadFixedText(kOldFindFieldWidth));
    header.generator = CIdGenerator(in.ReadUint32LE());
    if (in.Failed())
        return std::nullopt;
    return header;
}

// The records in order, from a file's chunks or a handheld database.
class CRecordSource {
public:
    explicit CRecordSource(std::span<const std::span<const uint8_t>> records)
        : m_records(records) {}
    // Nothing when no record is left.
    std::optional<std::span<const uint8_t>> Next() {
        if (m_next >= m_records.size())
            return std::nullopt;
        return m_records[m_next++];
    }

private:
    std::span<const std::span<const uint8_t>> m_records;
    std::size_t m_next = 0;
};

void SetDamage(std::string* damage, const std::string& text) {
    if (damage != nullptr && damage->empty())
        *damage = text;
}

// The first group record follows the header and the group table.
constexpr std::size_t kFirstGroupRecord = 2;

// Records are numbered with 16 bits (group records in the table, every record on the
// handheld), so a database may have records 0 to 65535 at most. The reader stops where the
// writer could not go on, so that whatever it reads can be saved again.
constexpr std::size_t kMaxRecordNumber = 0xFFFF;

bool FitsRecordNumber(std::size_t lastRecord, std::string* damage) {
    if (lastRecord <= kMaxRecordNumber)
        return true;
    SetDamage(damage, "the file holds more records than a 16-bit record number can count");
    return false;
}

bool RecordNumbersFit(const CFoodDB& db) {
    std::size_t records = kFirstGroupRecord;
    for (const CFoodGroup& group : db.Groups())
        records += 1 + group.CategoryCount();
    return records - 1 <= kMaxRecordNumber;
}

// Reads the group record that follows and one item record per category into `group`. The
// categories and items read before any damage are kept in the group.
// `recordNumber` is the number the group's record gets when written.
bool ReadGroupBody(CRecordSource& chunks, bool oldLayout, std::size_t recordNumber,
                   CFoodGroup& group, std::string* damage) {
    const auto record = chunks.Next();
    if (!record) {
        SetDamage(damage, "a group record is missing or cut short");
        return false;
    }
    std::vector<CFoodCategory> categories;
    CByteReader in(*record);
    const uint16_t count = in.ReadCount(kMinCategoryEntrySize);
    for (uint16_t i = 0; i < count && !in.Failed(); ++i) {
        CFoodCategory category;
        category.SetId(in.ReadUint32());
        category.SetModified(in.ReadUint8());
        category.SetName(ReadStoredText(in));
        if (!in.Failed())
            categories.push_back(std::move(category));
    }
    bool ok = !in.Failed();
    if (!ok)
        SetDamage(damage, "a group record is damaged");
    if (ok && !FitsRecordNumber(recordNumber + categories.size(), damage)) {
        categories.clear();
        ok = false;
    }

    // Items go into the categories before these are filed, so that each item record lands in
    // the category it was written for even if the stored order was not sorted.
    std::size_t filled = 0;
    for (; ok && filled < categories.size(); ++filled) {
        const auto items = chunks.Next();
        if (!items) {
            SetDamage(damage, "an item record is missing or cut short");
            ok = false;
            break;
        }
        CByteReader itemReader(*items);
        const uint16_t itemCount =
            itemReader.ReadCount(oldLayout ? kMinOldFoodItemSize : kMinFoodItemSize);
        for (uint16_t i = 0; i < itemCount && !itemReader.Failed(); ++i) {
            CFoodItem item;
            const bool read =
                oldLayout ? UnpackOldFoodItem(itemReader, item) : UnpackFoodItem(itemReader, item);
            if (read && categories[filled].AppendStoredItem(item) < 0)
                itemReader.MarkFailed();
        }
        if (itemReader.Failed()) {
            SetDamage(damage, "an item record is damaged");
            ok = false;
        }
    }
    for (const CFoodCategory& category : categories) {
        if (group.AppendStoredCategory(category) < 0) {
            SetDamage(damage, "a group holds more categories than a list can");
            ok = false;
            break;
        }
    }
    return ok;
}

EFoodLoadResult UnpackCurrentBody(CRecordSource& chunks, CFoodDB& db, std::string* damage) {
    const auto table = chunks.Next();
    if (!table) {
        SetDamage(damage, "the group table is missing or cut short");
        return EFoodLoadResult::Partial;
    }
    std::vector<CFoodGroup> groups;
    CByteReader in(*table);
    const uint16_t count = in.ReadCount(kMinGroupEntrySize);
    for (uint16_t i = 0; i < count && !in.Failed(); ++i) {
        CFoodGroup group;
        group.SetId(in.ReadUint32());
        group.SetModified(in.ReadUint8());
        group.SetName(ReadStoredText(in));
        group.SetRecordNumber(in.ReadUint16());
        if (!in.Failed())
            groups.push_back(std::move(group));
    }
    bool ok = !in.Failed();
    if (!ok)
        SetDamage(damage, "the group table is damaged");

    // Groups that follow damage come without categories; they too must fit the numbering.
    std::size_t recordNumber = kFirstGroupRecord;
    std::size_t kept = 0;
    for (; kept < groups.size() && FitsRecordNumber(recordNumber, damage); ++kept) {
        if (ok)
            ok = ReadGroupBody(chunks, false, recordNumber, groups[kept], damage);
        recordNumber += 1 + groups[kept].CategoryCount();
    }
    if (kept < groups.size()) {
        ok = false;
        groups.resize(kept);
    }

    db.DeleteAllGroups();
    for (const CFoodGroup& group : groups) {
        if (db.AppendStoredGroup(group) < 0) {
            SetDamage(damage, "the file holds more groups than a list can");
            ok = false;
            break;
        }
    }
    return ok ? EFoodLoadResult::Loaded : EFoodLoadResult::Partial;
}

std::string StarName(int number) {
    return "*" + std::to_string(number);
}

EFoodLoadResult UnpackOldBody(CRecordSource& chunks, CFoodDB& db, std::string* damage) {
    // Placeholder names sort before every name that begins with a letter or digit; the groups
    // get their real names once their records are in.
    for (int k = 0; k < CFoodDBFile::kOldGroupCount; ++k) {
        if (db.AddGroup(CFoodGroup(StarName(k))) < 0)
            RaiseInternalError(kInternalErrorFoodDb, "food database: cannot add the group " +
                                                         StarName(k) + " of an old file");
    }
    bool ok = true;
    std::size_t recordNumber = kFirstGroupRecord;
    for (int k = 0; ok && k < CFoodDBFile::kOldGroupCount; ++k) {
        CFoodGroup read;
        ok = FitsRecordNumber(recordNumber, damage) &&
             ReadGroupBody(chunks, true, recordNumber, read, damage);
        recordNumber += 1 + read.CategoryCount();
        const auto index = static_cast<uint16_t>(db.FindGroup(StarName(k)));
        db.DeleteAllCategories(index);
        for (const CFoodCategory& category : read.Categories())
            db.AppendStoredCategory(index, category);
    }
    // Named even after damage, so that a partly read database never shows placeholder names.
    for (int k = 0; k < CFoodDBFile::kOldGroupCount; ++k) {
        const int index = db.FindGroup(StarName(k));
        if (index < 0 ||
            db.RenameGroup(static_cast<uint16_t>(index), CFoodDBFile::kOldGroupNames[k]) < 0)
            RaiseInternalError(kInternalErrorFoodDb, std::string("food database: cannot name a "
                                                                 "group of an old file ") +
                                                         CFoodDBFile::kOldGroupNames[k]);
    }
    return ok ? EFoodLoadResult::Loaded : EFoodLoadResult::Partial;
}

bool IsSeparator(char c) {
    return c == '/' || c == kPathSeparator;
}

} // namespace

CFoodDBFile::CFoodDBFile(EFoodFileMode mode, fs::path dataFolder)
    : m_mode(mode), m_dataFolder(std::move(dataFolder)) {}

bool CFoodDBFile::SetPaths(CFoodDB& db, const CUserDirectory& users,
                           std::string_view journalFilePath) {
    std::string root;
    if (!users.GetUsersRoot(root) || root.empty())
        return false;
    if (journalFilePath.size() <= root.size() || !journalFilePath.starts_with(root))
        return false;
    const std::string_view rest = journalFilePath.substr(root.size());
    const auto end = std::find_if(rest.begin(), rest.end(), IsSeparator);
    const std::string_view folderName =
        rest.substr(0, static_cast<std::size_t>(end - rest.begin()));
    const std::string userFolder = root + std::string(folderName);
    if (folderName.empty() || userFolder.size() + 1 > kTextBufferSize)
        return false;

    UserHandle user = 0;
    std::string userFolderName;
    if (!users.FindUserByPath(userFolder, user) || !users.GetUsersRoot(root) ||
        !users.GetUserFolderName(user, userFolderName))
        return false;
    const std::string folder = root + userFolderName + kPathSeparator + kProgramFolderName;
    db.SetPaths(folder + kPathSeparator + kFoodDbFileName, folder);
    return true;
}

std::vector<std::vector<uint8_t>> CFoodDBFile::PackRecords(CFoodDB& db) {
    if (!RecordNumbersFit(db))
        RaiseInternalError(kInternalErrorFoodDb,
                           "food database: more records than a 16-bit number can count");
    db.SetFormatVersion(kWrittenVersion);
    std::size_t recordNumber = kFirstGroupRecord;
    for (uint16_t g = 0; g < db.GroupCount(); ++g) {
        db.SetGroupRecordNumber(g, static_cast<uint16_t>(recordNumber));
        recordNumber += 1 + db.CategoryCount(g);
    }

    std::vector<std::vector<uint8_t>> records;
    {
        CByteWriter header;
        header.AppendUint16(db.FormatVersion());
        header.AppendUint16(static_cast<uint16_t>(db.FindHistory().size()));
        for (const std::string& text : db.FindHistory())
            header.AppendText(text, EEmptyText::StoreNul);
        header.AppendUint32LE(db.IdGenerator().Value());
        PackNutrientList(db.HeaderNutrients(), header);
        records.push_back(header.Release());
    }
    {
        CByteWriter table;
        table.AppendUint16(db.GroupCount());
        for (const CFoodGroup& group : db.Groups()) {
            table.AppendUint32(group.Id());
            table.AppendUint8(group.Modified());
            table.AppendText(group.Name(), EEmptyText::StoreNul);
            table.AppendUint16(group.RecordNumber());
        }
        records.push_back(table.Release());
    }
    for (const CFoodGroup& group : db.Groups()) {
        CByteWriter record;
        record.AppendUint16(group.CategoryCount());
        for (const CFoodCategory& category : group.Categories()) {
            record.AppendUint32(category.Id());
            record.AppendUint8(category.Modified());
            record.AppendText(category.Name(), EEmptyText::StoreNul);
        }
        records.push_back(record.Release());
        for (const CFoodCategory& category : group.Categories()) {
            CByteWriter items;
            items.AppendUint16(category.ItemCount());
            for (const CFoodItem& item : category.Items())
                PackFoodItem(item, items);
            records.push_back(items.Release());
        }
    }
    return records;
}

std::vector<uint8_t> CFoodDBFile::Pack(CFoodDB& db) {
    return JoinChunks(PackRecords(db));
}

EFoodLoadResult CFoodDBFile::Unpack(std::span<const uint8_t> bytes, CFoodDB& db,
                                    std::string* damage) {
    return UnpackRecords(LeadingChunks(bytes), db, damage);
}

EFoodLoadResult CFoodDBFile::UnpackRecords(std::span<const std::span<const uint8_t>> records,
                                           CFoodDB& db, std::string* damage) {
    if (damage != nullptr)
        damage->clear();
    CRecordSource chunks(records);
    const auto headerChunk = chunks.Next();
    if (!headerChunk) {
        SetDamage(damage, "the header is missing or cut short");
        return EFoodLoadResult::Failed;
    }
    CByteReader in(*headerChunk);
    const uint16_t version = in.ReadUint16();
    if (in.Failed()) {
        SetDamage(damage, "the header is damaged");
        return EFoodLoadResult::Failed;
    }
    if (version >= 1 && version <= 3)
        RaiseInternalError(kInternalErrorFoodDb, "food database: format version " +
                                                     std::to_string(version) + " cannot be read");

    const bool oldLayout = version == 4 || version == 5;
    std::optional<SHeader> header =
        oldLayout ? UnpackOldHeader(in, version) : UnpackCurrentHeader(in, version);
    if (!header) {
        SetDamage(damage, "the header is damaged");
        return EFoodLoadResult::Failed;
    }

    db.SetFormatVersion(header->version);
    db.SetIdGenerator(header->generator);
    if (oldLayout) {
        std::vector<std::string> history = db.FindHistory();
        for (const std::string& text : header->findHistory) {
            // A fixed field that holds nothing is no find text.
            if (text.find_first_not_of(' ') != std::string::npos)
                history.push_back(text);
        }
        db.SetFindHistory(history);
        return UnpackOldBody(chunks, db, damage);
    }
    db.SetFindHistory(header->findHistory);
    db.SetHeaderNutrients(header->nutrients);
    if (version == 0)
        RaiseInternalError(kInternalErrorFoodDb, "food database: format version 0 cannot be read");
    return UnpackCurrentBody(chunks, db, damage);
}

EFoodLoadResult CFoodDBFile::Load(CFoodDB& db) {
    m_loadedFrom.clear();
    m_lastError.clear();
    const fs::path& userFile = db.FilePath();
    if (userFile.empty()) {
        m_lastError = "No food database file is set.";
        return EFoodLoadResult::Failed;
    }

    fs::path source = userFile;
    bool missing = false;
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(userFile, &m_lastError, &missing);
    if (!bytes && !missing) {
        // The user's file exists but cannot be read: no default database takes its place, and
        // the file is kept before anything replaces it.
        m_backupPath = userFile;
        return EFoodLoadResult::Failed;
    }
    if (!bytes && m_mode == EFoodFileMode::Desktop) {
        std::vector<fs::path> defaults;
        if (!m_dataFolder.empty())
            defaults.push_back(m_dataFolder / kFoodDbFileName);
        defaults.push_back(fs::path(kFoodDbFileName));
        for (const fs::path& candidate : defaults) {
            std::string error;
            bytes = ReadWholeFile(candidate, &error);
            if (bytes) {
                source = candidate;
                break;
            }
        }
        if (!bytes)
            m_lastError = "Neither the user's food database nor a default one could be read.";
    }
    if (!bytes)
        return EFoodLoadResult::Failed;

    std::string damage;
    const EFoodLoadResult result = Unpack(*bytes, db, &damage);
    if (result != EFoodLoadResult::Failed)
        m_loadedFrom = source;
    if (result != EFoodLoadResult::Loaded) {
        m_lastError = "The food database " + source.string() + " is damaged: " + damage + ".";
        if (source == userFile)
            m_backupPath = userFile;
    }
    return result;
}

bool CFoodDBFile::Save(CFoodDB& db) {
    m_lastError.clear();
    const fs::path userFile = db.FilePath();
    if (userFile.empty()) {
        m_lastError = "No food database file is set.";
        return false;
    }
    if (!RecordNumbersFit(db)) {
        m_lastError = "The food database holds too many groups and categories to be saved.";
        return false;
    }
    const std::vector<uint8_t> bytes = Pack(db);
    if (BackupPending(userFile)) {
        bool missing = false;
        std::optional<std::vector<uint8_t>> old = ReadWholeFile(userFile, &m_lastError, &missing);
        if (!old && !missing)
            return false;
        fs::path backup = userFile;
        backup += kBackupSuffix;
        if (old && !ReplaceFileAtomically(backup, *old, &m_lastError))
            return false;
        m_backupPath.clear();
    }
    return ReplaceFileAtomically(userFile, bytes, &m_lastError);
}

} // namespace fitquill
