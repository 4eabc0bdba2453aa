// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_csv.h"
#include "core/food/food_db.h"

#include <cstddef>
#include <filesystem>
#include <string>

namespace fitquill {

// What protects a user's food database from an import that replaces foods, shared by the
// import dialog, the automatic update and the command line: the question before a replace
// that would take away most of the foods, and the copy of the database kept before an import
// that replaces.
class CFoodImportGuard {
public:
    static constexpr const char* kBeforeImportSuffix = ".before-import";

    // Every food item of the database.
    static size_t FoodCount(const CFoodDB& db);

    // Whether an import in `mode` that leaves `newFoods` foods where there were `currentFoods`
    // must be confirmed first: a replace of the whole database (mode 0) that would remove more
    // than half of them.
    static bool NeedsConfirmation(EFoodImportMode mode, size_t newFoods, size_t currentFoods);
    // "The new food data holds N foods; your food database holds M. Replace it?"
    static std::string ReplaceQuestion(size_t newFoods, size_t currentFoods);

    // Whether an import in this mode replaces foods wholesale (modes 0 and 1), so that the
    // database is copied aside first.
    static bool KeepsCopy(EFoodImportMode mode);
    // FoodDB.ddb.before-import beside the database file.
    static std::filesystem::path CopyPath(const std::filesystem::path& databaseFile);
    // Copies the database file as it is on disk to CopyPath, replacing the previous copy
    // atomically (one copy deep). A database without a file on disk has nothing to keep: true.
    // False with a reason when the copy could not be written; the old copy then stays.
    static bool KeepCopy(const std::filesystem::path& databaseFile, std::string* error = nullptr);
};

} // namespace fitquill
