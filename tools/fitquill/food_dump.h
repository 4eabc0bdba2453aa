// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_db.h"

#include <ostream>
#include <string>

namespace fitquill {

// A readable listing of everything a food database holds: its header, then every group,
// category and food item in list order with identifiers, flags, measures and nutrients.
class CFoodDump {
public:
    static void Write(const CFoodDB& db, std::ostream& out);

    // One food item (or logged food entry) on one line, without indentation or line end.
    static std::string ItemText(const CFoodItem& item);
};

} // namespace fitquill
