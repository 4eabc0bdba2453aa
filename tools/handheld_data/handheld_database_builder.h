// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/palm/palm_database.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace fitquill {

// The handheld databases that the installation puts on a handheld, made from the core's own
// record packing so that they hold exactly the records the conduits read and write: the
// journal database "FQA-AppDB" of a new, empty journal and the food database "FQA-FoodDB" of
// the default food database. Both carry the handheld application's creator and the data type.
class CHandheldDatabaseBuilder {
public:
    static constexpr uint32_t kType = PalmFourCC("DATA");
    static constexpr const char* kJournalFileName = "FQA-AppDB.pdb";
    static constexpr const char* kFoodFileName = "FQA-FoodDB.pdb";
    // Stand-ins for the handheld application and its food program: the real ones are built
    // for the handheld, outside this project. They are resource databases that carry what the
    // installation and a handheld look at (name, type, creator, version resource).
    static constexpr const char* kApplicationFileName = "Fitquill.prc";
    static constexpr const char* kFoodApplicationFileName = "FoodDB.prc";
    static constexpr const char* kHandheldVersion = "6.1";

    // `date`: the creation and modification date, seconds since 1904.
    explicit CHandheldDatabaseBuilder(uint32_t date) : m_date(date) {}

    // The date of a build: SOURCE_DATE_EPOCH when set (reproducible builds), else now.
    static uint32_t BuildDate();

    // A record database with one record per payload, unique IDs 1 to n.
    CPalmDatabase Database(const std::string& name,
                           const std::vector<std::vector<uint8_t>>& records) const;

    // A new journal without any change bit, so that installing it never overrides a
    // desktop's values at the first HotSync operation.
    CPalmDatabase Journal() const;
    // The food database in a desktop food file (FoodDB.ddb), with its changed marks cleared.
    // Nothing, with a reason, when the file cannot be read whole or a record would not fit the
    // handheld.
    std::optional<CPalmDatabase> Food(std::span<const uint8_t> foodFile,
                                      std::string* error = nullptr) const;

    // "Fitquill" of type "appl" and "Fitquill Food" of type "DATA", both of the handheld
    // application's creator, each with a version resource ("tver" 1000) of kHandheldVersion.
    CPalmDatabase Application() const;
    CPalmDatabase FoodApplication() const;

private:
    CPalmDatabase ResourceDatabase(const std::string& name, uint32_t type) const;

    uint32_t m_date;
};

} // namespace fitquill
