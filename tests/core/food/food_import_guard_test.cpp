// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_import_guard.h"

#include <gtest/gtest.h>

using namespace fitquill;

TEST(FoodImportGuard, OnlyAReplaceRemovingMoreThanHalfIsAskedAbout) {
    struct SCase {
        EFoodImportMode mode;
        size_t newFoods, currentFoods;
        bool asks;
    };
    for (const SCase& c : {SCase{EFoodImportMode::ReplaceDatabase, 4, 9, true},
                           SCase{EFoodImportMode::ReplaceDatabase, 5, 10, false},
                           SCase{EFoodImportMode::ReplaceCategories, 1, 10, false}})
        EXPECT_EQ(CFoodImportGuard::NeedsConfirmation(c.mode, c.newFoods, c.currentFoods), c.asks)
            << c.newFoods << " of " << c.currentFoods;
}
