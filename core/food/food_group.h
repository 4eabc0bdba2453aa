// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_category.h"
#include "core/journal/id_generator.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// A group of the food database: owns its categories, kept sorted by name.
class CFoodGroup {
public:
    CFoodGroup() = default;
    explicit CFoodGroup(std::string_view name);

    uint32_t Id() const { return m_id; }
    void SetId(uint32_t id) { m_id = id; }
    uint8_t Modified() const { return m_modified; }
    void SetModified(uint8_t modified) { m_modified = modified; }
    const std::string& Name() const { return m_name; }
    // Stores the name without leading and trailing spaces.
    void SetName(std::string_view name);
    // The chunk number of the group's record; meaningful only once the database is written.
    uint16_t RecordNumber() const { return m_recordNumber; }
    void SetRecordNumber(uint16_t recordNumber) { m_recordNumber = recordNumber; }

    const std::vector<CFoodCategory>& Categories() const { return m_categories; }
    uint16_t CategoryCount() const { return static_cast<uint16_t>(m_categories.size()); }

    // Takes a category exactly as stored (identifiers, flags and items kept) into its sorted
    // position; equal names are accepted. Returns the index, or -1 when the list is full.
    int AppendStoredCategory(const CFoodCategory& category);

    bool operator==(const CFoodGroup&) const = default;

private:
    friend class CFoodDB;

    uint32_t m_id = CIdGenerator::kUnassigned;
    uint8_t m_modified = 0;
    std::string m_name;
    uint16_t m_recordNumber = 0;
    std::vector<CFoodCategory> m_categories;
};

} // namespace fitquill
