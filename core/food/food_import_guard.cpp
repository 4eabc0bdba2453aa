// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_import_guard.h"

#include "core/io/atomic_file.h"

namespace fitquill {

size_t CFoodImportGuard::FoodCount(const CFoodDB& db) {
    size_t count = 0;
    for (const CFoodGroup& group : db.Groups())
        for (const CFoodCategory& category : group.Categories())
            count += category.ItemCount();
    return count;
}

bool CFoodImportGuard::NeedsConfirmation(EFoodImportMode mode, size_t newFoods,
                                         size_t currentFoods) {
    return mode == EFoodImportMode::ReplaceDatabase && newFoods * 2 < currentFoods;
}

std::string CFoodImportGuard::ReplaceQuestion(size_t newFoods, size_t currentFoods) {
    return "The new food data holds " + std::to_string(newFoods) +
           " foods; your food database holds " + std::to_string(currentFoods) + ". Replace it?";
}

bool CFoodImportGuard::KeepsCopy(EFoodImportMode mode) {
    return mode == EFoodImportMode::ReplaceDatabase || mode == EFoodImportMode::ReplaceCategories;
}

std::filesystem::path CFoodImportGuard::CopyPath(const std::filesystem::path& databaseFile) {
    std::filesystem::path copy = databaseFile;
    copy += kBeforeImportSuffix;
    return copy;
}

bool CFoodImportGuard::KeepCopy(const std::filesystem::path& databaseFile, std::string* error) {
    if (databaseFile.empty())
        return true;
    std::string reason;
    bool missing = false;
    const std::optional<std::vector<uint8_t>> bytes =
        ReadWholeFile(databaseFile, &reason, &missing);
    if (!bytes) {
        if (missing)
            return true;
        if (error)
            *error = reason;
        return false;
    }
    return ReplaceFileAtomically(CopyPath(databaseFile), std::span<const uint8_t>(*bytes), error);
}

} // namespace fitquill
