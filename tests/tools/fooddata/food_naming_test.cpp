// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/food_naming.h"
#include "tools/fooddata/name_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
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
         Input({"dark meat", "cooked", "fried"}, "Chicken Dark Meat"), "Dark meat, fried",
         EShortening::kRewritten},
        {"the first part names the food even where the category says it too",
         Input({"Macaroni and cheese", "dry mix", "unprepared"}, "Macaroni and Cheese"),
         "Macaroni & cheese", EShortening::kDropped},
        {"parts no sibling needs go before abbreviating the rest",
         Input({"black", "mature seeds", "cooked", "boiled", "with salt"}, "Beans", {},
               {"black", "salted"}),
         "Black, bld, salted", EShortening::kDropped},
        {"the food leads, required parts stay, words of the long part go",
         Input({"Beef", "top loin petite roast", "separable lean only", "trimmed to 1/8\" fat",
                "choice", "raw"},
               "Beef Loin", {}, {"top loin petite roast", "lean", "1/8\" fat", "choice", "raw"}),
         "Beef,top,ln,1/8\",raw", EShortening::kDropped},
        {"parts shared by a clash go first even when required",
         Input({"Beef", "arm", "separable lean only", "trimmed to 1/8\" fat", "select", "cooked",
                "braised"},
               "Chuck", {}, {"arm", "lean", "1/8\" fat", "select", "braised"},
               {"lean", "1/8\" fat", "braised"}),
         "Beef,arm,ln,sel,brsd", EShortening::kDropped},
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
    // Lean and fat is how a cut is sold: only "lean" is said.
    EXPECT_EQ(NameKeys({"Arm", "separable lean and fat", "all grades", "cooked", "braised"}),
              (Parts{"arm", "braised"}));
    EXPECT_EQ(NameKeys({"Arm", "separable lean only", "cooked", "braised"}),
              (Parts{"arm", "lean", "braised"}));
    EXPECT_EQ(NameKeys({"cooked", "boiled", "drained", "with salt"}), (Parts{"boiled", "salted"}));
    EXPECT_EQ(NameKeys({"cooked", "drained"}), (Parts{"cooked", "drained"}));
    EXPECT_EQ(NameKeys({"NFS", "USDA Commodity"}), Parts{});

    EXPECT_TRUE(IsDescriptivePart("bottom round"));
    EXPECT_TRUE(IsDescriptivePart("Leg (Ham)"));
    for (const char* part : {"imported", "fresh", "frozen", "raw", "cooked", "braised",
                             "separable lean only", "choice", "all grades", "boneless"})
        EXPECT_FALSE(IsDescriptivePart(part)) << part;
}

// The check behind the naming report, on the names the old rules made and on good ones.
TEST(FoodNamingTest, ChecksNamesAgainstTheirDescriptions) {
    const struct {
        const char* name;
        const char* description;
        bool preparationOnly;
        bool foodWord;
        bool addedNumber;
        bool wellFormed;
    } cases[] = {
        {"Raw", "Apples, raw", true, false, false, true},
        {"W/ fat, sel, rstd", "Beef, rib, separable lean and fat, select, cooked, roasted", true,
         false, false, true},
        {"Lean & fat, raw", "Lamb, leg, separable lean and fat, raw", true, false, false, true},
        {"Winter, raw", "Squash, winter, all varieties, raw", true, false, false, true},
        // A word cut short ("sa") is no known word, but no food word either.
        {"Winter,baked,no sa 3", "Squash, winter, butternut, cooked, baked, without salt", false,
         false, true, true},
        {"Apples, raw, w/ skin", "Apples, raw, with skin", false, true, false, true},
        {"Chkn,brst,meat,rstd", "Chicken, broilers or fryers, breast, meat only, roasted", false,
         true, false, true},
        {"Cherry, sweet", "Cherries, sweet, raw", false, true, false, true},
        {"Milk, 2%", "Milk, reduced fat, fluid, 2% milkfat", false, true, false, true},
        {"Pizza, 14\"", "Pizza, cheese topping, regular crust, 14\"", false, true, false, true},
        {"Corn, yellow 2", "Corn, sweet, yellow, raw", false, true, true, true},
        {"Oatmeal,w/,dry", "Babyfood, cereal, oatmeal, with bananas, dry", false, true, false,
         false},
        {"Rice  cakes", "Rice cakes, brown rice, plain", false, true, false, false},
        {"Sausage,pork,", "Sausage, pork, fresh, raw", false, true, false, false},
        {"Beans, kidney, canned", "Beans, kidney, red, mature seeds, canned", false, true, false,
         false},
    };
    const CFoodNameRules& rules = CFoodNameRules::Default();
    for (const auto& c : cases) {
        EXPECT_EQ(IsPreparationOnly(c.name, rules), c.preparationOnly) << c.name;
        EXPECT_EQ(HoldsFoodWord(c.name, c.description, rules), c.foodWord) << c.name;
        EXPECT_EQ(EndsInAddedNumber(c.name, c.description), c.addedNumber) << c.name;
        EXPECT_EQ(IsWellFormedName(c.name), c.wellFormed) << c.name;
    }
}

TEST(FoodNamingTest, TheNamingWordsAreOneConsistentTable) {
    std::string error;
    ASSERT_TRUE(CFoodNameRules::Parse("[abbreviations]\nchoice = ch\n", error)) << error;
    EXPECT_FALSE(CFoodNameRules::Parse("[abbreviations]\nchoice = ch\nchoice = cho\n", error));
    EXPECT_EQ(error, "line 3: 'choice' is given twice or empty");
    EXPECT_FALSE(CFoodNameRules::Parse("[spices]\nsalt\n", error));
    EXPECT_EQ(error, "line 1: unknown section [spices]");
    EXPECT_FALSE(CFoodNameRules::Parse("[short forms]\nwithout salt\n", error));
    EXPECT_EQ(error, "line 2: no '=' in 'without salt'");

    // The compiled-in table parses, and every abbreviation reads back as its word.
    const CFoodNameRules& rules = CFoodNameRules::Default();
    ASSERT_FALSE(rules.Abbreviations().empty());
    EXPECT_EQ(rules.Expand("Chkn"), "chicken");
    EXPECT_EQ(rules.Expand("tndrln"), "tenderloin");
    EXPECT_TRUE(rules.IsDescriptiveWord("Braised"));
    EXPECT_TRUE(rules.IsDescriptiveWord("rstd"));
    EXPECT_FALSE(rules.IsDescriptiveWord("apples"));

    // A phrase abbreviates its words as they are abbreviated alone ("frozen concentrate":
    // "frzn conc", since "frozen" is "frzn").
    std::map<std::string, std::string> single;
    for (const auto& phrase : rules.Abbreviations()) {
        if (phrase.from.find(' ') == std::string::npos)
            single.emplace(phrase.from, LowerAscii(phrase.to));
    }
    for (const auto& phrase : rules.Abbreviations()) {
        const std::vector<std::string> shortWords = TextWords(phrase.to);
        for (const auto& word : TextWords(phrase.from)) {
            const auto alone = single.find(word);
            if (alone != single.end() && phrase.from.find(' ') != std::string::npos) {
                EXPECT_NE(std::find(shortWords.begin(), shortWords.end(), alone->second),
                          shortWords.end())
                    << phrase.from << " = " << phrase.to;
            }
        }
    }
}

} // namespace
