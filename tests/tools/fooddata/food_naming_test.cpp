// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/food_naming.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace fitquill;

namespace {

using Parts = std::vector<std::string>;

SNameParts Input(Parts parts, std::string category, Parts shared = {}, Parts required = {},
                 Parts lessTelling = {}) {
    SNameParts input;
    input.parts = std::move(parts);
    input.category = std::move(category);
    input.shared = std::move(shared);
    input.required = std::move(required);
    input.lessTelling = std::move(lessTelling);
    return input;
}

TEST(FoodNamingTest, SplitsDescriptionsOutsideParentheses) {
    const struct {
        const char* description;
        Parts parts;
    } cases[] = {
        {"Apples, raw, with skin", {"Apples", "raw", "with skin"}},
        {"Chickpeas (garbanzo beans, bengal gram), mature seeds, raw",
         {"Chickpeas (garbanzo beans, bengal gram)", "mature seeds", "raw"}},
        {"Fast foods, cheeseburger; single, regular patty; plain",
         {"Fast foods", "cheeseburger", "single", "regular patty", "plain"}},
        {"Game meat , bison,,  ground ,", {"Game meat", "bison", "ground"}},
        {"Soup (a (b, c), d), e", {"Soup (a (b, c), d)", "e"}},
        {"Unbalanced ), paren, x", {"Unbalanced )", "paren", "x"}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitDescription(c.description), c.parts) << c.description;
}

TEST(FoodNamingTest, CalmsCapitalsButKeepsKnownAcronyms) {
    const struct {
        const char* text;
        const char* calm;
    } cases[] = {
        {"KELLOGG'S CORN FLAKES", "Kellogg's Corn Flakes"},
        {"MALT-O-MEAL Frosted Mini SPOONERS", "Malt-O-Meal Frosted Mini Spooners"},
        {"KFC Original Recipe", "KFC Original Recipe"},
        {"M&M'S Peanut", "M&M's Peanut"},
        {"V8 SPLASH", "V8 Splash"},
        {"USDA Commodity, BBQ sauce", "USDA Commodity, BBQ sauce"},
        {"McDONALD'S", "McDONALD'S"},
        {"a B c", "a B c"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CalmCapitals(c.text), c.calm) << c.text;
    EXPECT_EQ(TitleCase("beans and rice with ham"), "Beans and Rice with Ham");
    EXPECT_EQ(TitleCase("and so on"), "And So on");
    EXPECT_EQ(StripParentheses("Cowpeas (blackeyes) (x (y)), z"), "Cowpeas, z");
}

struct SNameCase {
    const char* what;
    SNameParts input;
    const char* name;
    EShortening shortening;
};

TEST(FoodNamingTest, ShortensDescriptionsReadably) {
    const SNameCase cases[] = {
        {"fits as written", Input({"raw", "with skin"}, "Apples"), "Raw, with skin",
         EShortening::kNone},
        {"cooked gives way to its method; lean only reads lean",
         Input({"separable lean only", "cooked", "braised"}, "Veal Shank"), "Lean, braised",
         EShortening::kRewritten},
        {"filler such as all grades goes",
         Input({"arm", "separable lean only", "all grades", "cooked", "braised"}, "Chuck"),
         "Arm, lean, braised", EShortening::kRewritten},
        {"what every sibling says goes",
         Input({"red", "cooked", "boiled", "drained", "without salt"}, "Cabbage", {"boiled"}),
         "Red, no salt", EShortening::kRewritten},
        {"a brand that names the category is not repeated",
         Input({"KELLOGG'S CORN FLAKES"}, "Cereal Kellogg's"), "Corn Flakes", EShortening::kNone},
        {"at least two words stay after the category's words",
         Input({"meat only", "cooked", "fried"}, "Chicken Dark Meat"), "Meat, fried",
         EShortening::kRewritten},
        {"a first part that is the category's name goes",
         Input({"Macaroni and cheese", "dry mix", "unprepared"}, "Macaroni and Cheese"),
         "Dry mix, unprepared", EShortening::kNone},
        {"parts no sibling needs go before abbreviating the rest",
         Input({"black", "mature seeds", "cooked", "boiled", "with salt"}, "Beans", {},
               {"black", "salted"}),
         "Black, boil, salted", EShortening::kDropped},
        {"required parts stay, words of the long part go",
         Input({"top loin petite roast", "separable lean only", "trimmed to 1/8\" fat", "choice",
                "raw"},
               "Beef", {}, {"top loin petite roast", "lean", "1/8\" fat", "choice", "raw"}),
         "Top,lean,1/8\",ch,raw", EShortening::kDropped},
        {"parts shared by a clash go first even when required",
         Input(
             {"arm", "separable lean only", "trimmed to 1/8\" fat", "select", "cooked", "braised"},
             "Chuck", {}, {"arm", "lean", "1/8\" fat", "select", "braised"},
             {"lean", "1/8\" fat", "braised"}),
         "Arm, lean, sel, brsd", EShortening::kDropped},
        {"a word longer than the limit is cut",
         Input({"Supercalifragilisticexpialidocious"}, "Candy"), "Supercalifragilistic",
         EShortening::kCut},
    };
    for (const auto& c : cases) {
        const SShortName result = ShortenName(c.input);
        EXPECT_EQ(result.name, c.name) << c.what;
        EXPECT_EQ(result.shortening, c.shortening) << c.what;
        EXPECT_LE(result.name.size(), kMaxNameLength) << c.what;
    }
}

TEST(FoodNamingTest, NamesNeverExceedTheLimit) {
    // Long descriptions of every kind end within 20 characters and never with a joining word
    // or separator.
    const Parts longParts[] = {
        {"Cereals ready-to-eat", "GENERAL MILLS", "CHEERIOS", "Honey Nut", "with added vitamin D"},
        {"chicken", "broilers or fryers", "meat and skin and giblets and neck", "cooked", "fried",
         "batter"},
        {"Beverages", "Energy Drink with carbonated water and high fructose corn syrup"},
        {"shoulder clod", "shoulder tender", "medallion", "separable lean and fat",
         "trimmed to 0\" fat", "all grades", "cooked", "grilled"},
        {"a and b and c and d and e and f and g and h"},
    };
    for (const auto& parts : longParts) {
        for (size_t limit : {size_t{20}, size_t{12}, size_t{5}}) {
            const std::string name = ShortenName(Input(parts, "X"), limit).name;
            EXPECT_LE(name.size(), limit) << parts.front();
            EXPECT_FALSE(name.empty()) << parts.front();
            EXPECT_NE(name.back(), ',') << name;
            EXPECT_NE(name.back(), ' ') << name;
            EXPECT_NE(name.substr(name.size() >= 2 ? name.size() - 2 : 0), " &") << name;
        }
    }
}

TEST(FoodNamingTest, ShortensTitlesAndNumbersNames) {
    const struct {
        const char* title;
        const char* shortened;
    } titles[] = {
        {"Apples", "Apples"},
        {"Naranjilla (lulo) pulp", "Naranjilla pulp"},
        {"Beef Chuck Eye Country-Style Ribs", "Beef Chuck Eye"},
        {"Nutritional supplement for people with diabetes", "Nutritional"},
        {"Peanut Butter and Jelly Sandwich", "Peanut Butter"},
        {"Pumpkin and Squash Seed Kernels", "Pumpkin & Squash"},
        {"Chicken Meat and Skin and Giblets", "Chicken Meat & Skin"},
    };
    for (const auto& t : titles) {
        EXPECT_EQ(ShortenTitle(t.title), t.shortened) << t.title;
        EXPECT_LE(ShortenTitle(t.title).size(), kMaxNameLength) << t.title;
    }

    EXPECT_EQ(NumberedName("Apple", 2), "Apple 2");
    EXPECT_EQ(NumberedName("Abcdefghijklmnopqrst", 12), "Abcdefghijklmnopq 12");
    EXPECT_EQ(NumberedName("Abcdefghijklmnop, st", 2), "Abcdefghijklmnop 2");
}

TEST(FoodNamingTest, KeysLeaveOutFillerAndRedundantWords) {
    EXPECT_EQ(NameKeys({"Arm", "separable lean and fat", "all grades", "cooked", "braised"}),
              (Parts{"arm", "lean & fat", "braised"}));
    EXPECT_EQ(NameKeys({"cooked", "boiled", "drained", "with salt"}), (Parts{"boiled", "salted"}));
    EXPECT_EQ(NameKeys({"cooked", "drained"}), (Parts{"cooked", "drained"}));
    EXPECT_EQ(NameKeys({"NFS", "USDA Commodity"}), Parts{});

    EXPECT_TRUE(IsDescriptivePart("bottom round"));
    EXPECT_TRUE(IsDescriptivePart("Leg (Ham)"));
    for (const char* part : {"imported", "fresh", "frozen", "raw", "cooked", "braised",
                             "separable lean only", "choice", "all grades", "boneless"})
        EXPECT_FALSE(IsDescriptivePart(part)) << part;
}

} // namespace
