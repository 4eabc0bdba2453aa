// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_group.h"

#include "core/food/sorted_list.h"
#include "core/names.h"

namespace fitquill {

CFoodGroup::CFoodGroup(std::string_view name) : m_name(TrimSpaces(name)) {}

void CFoodGroup::SetName(std::string_view name) {
    m_name = TrimSpaces(name);
}

int CFoodGroup::AppendStoredCategory(const CFoodCategory& category) {
    return InsertSorted(m_categories, category, true);
}

} // namespace fitquill
