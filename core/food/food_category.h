// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_item.h"
#include "core/journal/id_generator.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// A category of the food database: owns its food items, kept sorted by name.
class CFoodCategory {
public:
    CFoodCategory() = default;
    explicit CFoodCategory(std::string_view name);

    uint32_t Id() const { return m_id; }
    void SetId(uint32_t id) { m_id = id; }
    uint8_t Modified() const { return m_modified; }
    void SetModified(uint8_t modified) { m_modified = modified; }
    const std::string& Name() const { return m_name; }
    // Stores the name without leading and trailing spaces.
    void SetName(std::string_view name);

    const std::vector<CFoodItem>& Items() const { return m_items; }
    uint16_t ItemCount() const { return static_cast<uint16_t>(m_items.size()); }

    // Takes an item exactly as stored (identifier and flag kept) into its sorted position;
    // equal names are accepted so that nothing read is lost. Returns the index, or -1 when
    // the list is full.
    int AppendStoredItem(const CFoodItem& item);

    bool operator==(const CFoodCategory&) const = default;

private:
    friend class CFoodDB;

    uint32_t m_id = CIdGenerator::kUnassigned;
    uint8_t m_modified = 0;
    std::string m_name;
    std::vector<CFoodItem> m_items;
};

} // namespace fitquill
