// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_category.h"

#include "core/food/sorted_list.h"
#include "core/names.h"

namespace fitquill {

CFoodCategory::CFoodCategory(std::string_view name) : m_name(TrimSpaces(name)) {}

void CFoodCategory::SetName(std::string_view name) {
    m_name = TrimSpaces(name);
}

int CFoodCategory::AppendStoredItem(const CFoodItem& item) {
    return InsertSorted(m_items, item, true);
}

} // namespace fitquill
