// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of the automatic update that need no network: accepted addresses and redirects.
#include "core/food/food_update.h"

#include <gtest/gtest.h>

using namespace fitquill;

TEST(FoodUpdate, AcceptsOnlyHttpHttpsAndFileAddresses) {
    for (const char* url : {"http://h/x.csv", "HTTPS://h/x.csv", "file:///usr/share/x.csv"})
        EXPECT_TRUE(SFoodUpdate::IsAllowedUrl(url)) << url;
    for (const char* url : {"ftp://h/x.csv", "/usr/share/x.csv", "", ":x", "ht tp://h",
                            "javascript:alert(1)", "data:text/csv,a"})
        EXPECT_FALSE(SFoodUpdate::IsAllowedUrl(url)) << url;
}

TEST(FoodUpdate, RedirectsStayOnTheWebNeverDowngradeAndAreCounted) {
    const SFoodUpdate::SLimits limits{1024, 1000, 3};
    struct SCase {
        const char* from;
        const char* to;
        int sofar;
        bool allowed;
    };
    const SCase cases[] = {
        {"http://a/x", "https://b/x", 0, true},  {"http://a/x", "http://a/y", 2, true},
        {"https://a/x", "https://b/x", 0, true}, {"https://a/x", "http://a/x", 0, false},
        {"HTTPS://a/x", "Http://a/x", 0, false}, {"http://a/x", "file:///etc/passwd", 0, false},
        {"http://a/x", "ftp://a/x", 0, false},   {"http://a/x", "http://a/y", 3, false},
    };
    for (const SCase& c : cases) {
        const std::string refusal = SFoodUpdate::RedirectRefusal(c.from, c.to, c.sofar, limits);
        EXPECT_EQ(refusal.empty(), c.allowed) << c.from << " -> " << c.to << " after " << c.sofar;
    }
}

TEST(FoodUpdate, ChoicesReadTheirSettingAndImportInTheirMode) {
    EXPECT_EQ(SFoodUpdate::SettingKey(EFoodUpdateChoice::Extensions), "FoodDBExtensions");
    EXPECT_EQ(SFoodUpdate::ImportMode(EFoodUpdateChoice::Extensions),
              EFoodImportMode::ImportedWins);
    EXPECT_EQ(SFoodUpdate::SettingKey(EFoodUpdateChoice::Reload), "FoodDB");
    EXPECT_EQ(SFoodUpdate::ImportMode(EFoodUpdateChoice::Reload), EFoodImportMode::ReplaceDatabase);
    EXPECT_EQ(SFoodUpdate::TransferErrorText(std::string(300, 'e')).size(), 255u);
}
