// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_db.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace fitquill {

inline constexpr char kFoodExportedText[] = "Food data was successfully exported.";
inline constexpr char kFoodExportFailedText[] = "The export of food data failed.";

// The food database commands: "food export|import|find" and "dump --food". They work on a
// named FoodDB.ddb file; failures raise CToolFailure.
class CFoodCommands {
public:
    // `words` follow "food".
    static void Run(const std::vector<std::string>& words, std::ostream& out);
    static void DumpFood(const std::filesystem::path& file, std::ostream& out);

    // Reads a food database file. A missing file is refused unless `mayBeMissing`, which
    // gives an empty database for that path; a damaged one is always refused.
    static void LoadFoodFile(const std::filesystem::path& file, CFoodDB& db, bool mayBeMissing);
};

} // namespace fitquill
