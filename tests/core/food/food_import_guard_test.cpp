// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_import_guard.h"

#include "core/io/atomic_file.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace fitquill;
namespace fs = std::filesystem;

TEST(FoodImportGuard, OnlyAReplaceRemovingMoreThanHalfIsAskedAbout) {
    struct SCase {
        EFoodImportMode mode;
        size_t newFoods, currentFoods;
        bool asks;
    };
    for (const SCase& c : {SCase{EFoodImportMode::ReplaceDatabase, 1, 10, true},
                           SCase{EFoodImportMode::ReplaceDatabase, 4, 9, true},
                           SCase{EFoodImportMode::ReplaceDatabase, 5, 10, false},
                           SCase{EFoodImportMode::ReplaceDatabase, 40, 10, false},
                           SCase{EFoodImportMode::ReplaceCategories, 1, 10, false}})
        EXPECT_EQ(CFoodImportGuard::NeedsConfirmation(c.mode, c.newFoods, c.currentFoods), c.asks)
            << c.newFoods << " of " << c.currentFoods;
    EXPECT_EQ(CFoodImportGuard::ReplaceQuestion(879, 8789),
              "The new food data holds 879 foods; your food database holds 8789. Replace it?");
}

TEST(FoodImportGuard, TheCopyBeforeAnImportRestoresTheDatabaseByteForByte) {
    const fs::path folder = fs::temp_directory_path() / "fitquill_food_import_guard";
    fs::remove_all(folder);
    const fs::path database = folder / "FoodDB.ddb";
    const fs::path copy = folder / "FoodDB.ddb.before-import";
    EXPECT_EQ(CFoodImportGuard::CopyPath(database), copy);
    EXPECT_TRUE(CFoodImportGuard::KeepCopy(database)) << "no file yet: nothing to keep";
    EXPECT_FALSE(fs::exists(copy));

    const std::string first("first\0\xff\r\n", 9), second = "second";
    ASSERT_TRUE(ReplaceFileAtomically(database, first));
    ASSERT_TRUE(CFoodImportGuard::KeepCopy(database));
    ASSERT_TRUE(ReplaceFileAtomically(database, second));
    fs::copy_file(copy, database, fs::copy_options::overwrite_existing);
    EXPECT_EQ(ReadWholeFile(database), ReadWholeFile(copy));
    EXPECT_EQ(ReadWholeFile(copy)->size(), first.size());

    // One deep: the next import's copy replaces it; a copy that cannot be written keeps it.
    ASSERT_TRUE(ReplaceFileAtomically(database, second));
    ASSERT_TRUE(CFoodImportGuard::KeepCopy(database));
    EXPECT_EQ(ReadWholeFile(copy)->size(), second.size());
    {
        CFileFaultInjection fault(EFileFault::Rename);
        std::string error;
        EXPECT_FALSE(CFoodImportGuard::KeepCopy(database, &error));
        EXPECT_FALSE(error.empty());
    }
    EXPECT_EQ(ReadWholeFile(copy)->size(), second.size());
    fs::remove_all(folder);
}
