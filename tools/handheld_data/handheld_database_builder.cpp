// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/handheld_data/handheld_database_builder.h"

#include "conduit/conduit_api.h"
#include "core/food/food_db_file.h"
#include "core/journal/journal_records.h"
#include "platform/palm/sync_manager.h"

#include <charconv>
#include <cstdlib>
#include <string_view>

namespace fitquill {

uint32_t CHandheldDatabaseBuilder::BuildDate() {
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch != nullptr && *epoch) {
        const std::string_view text(epoch);
        int64_t seconds = 0;
        const auto [at, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
        if (error == std::errc() && at == text.data() + text.size() && seconds >= 0)
            return static_cast<uint32_t>(uint64_t(seconds) + kPalmEpochOffset);
    }
    return PalmTimeNow();
}

CPalmDatabase
CHandheldDatabaseBuilder::Database(const std::string& name,
                                   const std::vector<std::vector<uint8_t>>& records) const {
    CPalmDatabase db;
    db.SetName(name);
    db.SetAttributes(kPalmDbAttrBackup);
    db.SetVersion(0);
    db.SetCreationDate(m_date);
    db.SetModificationDate(m_date);
    db.SetType(kType);
    db.SetCreator(kConduitCreator);
    for (const auto& payload : records) {
        SPalmRecord record;
        record.uniqueId = static_cast<uint32_t>(db.Records().size() + 1);
        record.data = payload;
        db.Records().push_back(std::move(record));
    }
    db.SetUniqueIdSeed(static_cast<uint32_t>(records.size()));
    return db;
}

CPalmDatabase CHandheldDatabaseBuilder::Journal() const {
    CJournalDB journal;
    journal.ClearAllChangeBits();
    return Database(kJournalRemoteDatabase, PackJournalRecords(journal));
}

std::optional<CPalmDatabase> CHandheldDatabaseBuilder::Food(std::span<const uint8_t> foodFile,
                                                            std::string* error) const {
    CFoodDB food;
    std::string damage;
    if (CFoodDBFile::Unpack(foodFile, food, &damage) != EFoodLoadResult::Loaded) {
        if (error)
            *error = "the food database cannot be read whole: " + damage;
        return std::nullopt;
    }
    food.ClearModifiedFlags();
    const auto records = CFoodDBFile::PackRecords(food);
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].size() > kSyncMaxRecordSize) {
            if (error)
                *error = "food record " + std::to_string(i) + " has " +
                         std::to_string(records[i].size()) + " bytes, more than a handheld takes";
            return std::nullopt;
        }
    }
    return Database(kFoodRemoteDatabase, records);
}

CPalmDatabase CHandheldDatabaseBuilder::ResourceDatabase(const std::string& name,
                                                         uint32_t type) const {
    CPalmDatabase db;
    db.SetName(name);
    db.SetAttributes(kPalmDbAttrResourceDb | kPalmDbAttrBackup);
    db.SetVersion(1);
    db.SetCreationDate(m_date);
    db.SetModificationDate(m_date);
    db.SetType(type);
    db.SetCreator(kConduitCreator);
    auto text = [](std::string_view value) {
        std::vector<uint8_t> bytes(value.begin(), value.end());
        bytes.push_back(0);
        return bytes;
    };
    db.Resources().push_back({PalmFourCC("tver"), 1000, text(kHandheldVersion)});
    db.Resources().push_back({PalmFourCC("tAIN"), 1000, text(name)});
    db.Resources().push_back(
        {PalmFourCC("tSTR"), 1000,
         text("Stand-in for the handheld program: it carries its name, type, creator and "
              "version so that installation and HotSync can be tried without it.")});
    return db;
}

CPalmDatabase CHandheldDatabaseBuilder::Application() const {
    return ResourceDatabase("Fitquill", PalmFourCC("appl"));
}

CPalmDatabase CHandheldDatabaseBuilder::FoodApplication() const {
    return ResourceDatabase("Fitquill Food", kType);
}

} // namespace fitquill
