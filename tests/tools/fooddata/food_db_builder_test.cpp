// SPDX-License-Identifier: GPL-3.0-or-later
// The database built from the shipped USDA data: limits, names, servings, nutrients.
#include "core/food/nutrient.h"
#include "core/names.h"
#include "tools/fooddata/food_db_builder.h"
#include "tools/fooddata/food_naming.h"
#include "tools/fooddata/food_tree_rules.h"
#include "tools/fooddata/name_check.h"
#include "tools/fooddata/usda_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>

using namespace fitquill;

namespace {

class FoodDbBuilderTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        auto data = LoadUsdaData(FITQUILL_USDA_DIR, error);
        ASSERT_TRUE(data) << error;
        s_data = new SUsdaData(std::move(*data));
        s_build = new SFoodDataBuild(BuildFoodDb(*s_data));
    }
    static void TearDownTestSuite() {
        delete s_build;
        delete s_data;
        s_build = nullptr;
        s_data = nullptr;
    }

    static const CFoodDB& Db() { return s_build->db; }
    static const SFoodDataReport& Report() { return s_build->report; }

    // Calls f(group, category, item) for every food item.
    template <typename F> static void ForEachItem(F f) {
        for (const auto& group : Db().Groups())
            for (const auto& category : group.Categories())
                for (const auto& item : category.Items())
                    f(group, category, item);
    }

    // The only item whose search name is the description.
    static const CFoodItem& ItemDescribedAs(const std::string& description) {
        const CFoodItem* found = nullptr;
        int count = 0;
        ForEachItem([&](const CFoodGroup&, const CFoodCategory&, const CFoodItem& item) {
            if (item.SearchName() == description) {
                found = &item;
                ++count;
            }
        });
        EXPECT_EQ(count, 1) << description;
        static const CFoodItem kNone;
        return found ? *found : kNone;
    }

    static SUsdaData* s_data;
    static SFoodDataBuild* s_build;
};

SUsdaData* FoodDbBuilderTest::s_data = nullptr;
SFoodDataBuild* FoodDbBuilderTest::s_build = nullptr;

TEST_F(FoodDbBuilderTest, HoldsEveryFoodWithinTheLimits) {
    EXPECT_GE(Report().items, 8000u);
    EXPECT_EQ(Report().items + Report().skipped.size(), s_data->foods.size());
    EXPECT_TRUE(Report().limitViolations.empty());

    size_t items = 0;
    size_t categories = 0;
    EXPECT_LE(Db().GroupCount(), kMaxGroups);
    for (const auto& group : Db().Groups()) {
        EXPECT_LE(group.CategoryCount(), kMaxCategoriesPerGroup) << group.Name();
        categories += group.CategoryCount();
        for (const auto& category : group.Categories()) {
            EXPECT_LE(category.ItemCount(), kMaxItemsPerCategory) << category.Name();
            EXPECT_LT(CategoryRecordBytes(category), kMaxRecordBytes) << category.Name();
            EXPECT_GT(category.ItemCount(), 0u) << category.Name();
            items += category.ItemCount();
        }
    }
    EXPECT_EQ(items, Report().items);
    EXPECT_EQ(categories, Report().categories);
    EXPECT_EQ(Db().GroupCount(), Report().groups);
}

TEST_F(FoodDbBuilderTest, RecordSizesFollowTheItemLayout) {
    CFoodItem item;
    item.SetName("Apple", true);
    // 13 fixed bytes, two texts of 2 + 5 + 1, three measures, a list of six entries.
    EXPECT_EQ(ItemRecordBytes(item), 13u + 8u + 8u + 18u + 2u + 30u);
    CFoodCategory category("Fruit");
    EXPECT_EQ(CategoryRecordBytes(category), 2u);
}

TEST_F(FoodDbBuilderTest, NamesAreShortUniqueAndSurviveTheFoodCsv) {
    const auto checkText = [](const std::string& text, const std::string& where) {
        EXPECT_FALSE(text.empty()) << where;
        EXPECT_LE(text.size(), kMaxNameLength) << where;
        EXPECT_EQ(text.find('+'), std::string::npos) << where;
        EXPECT_EQ(text, CollapseSpaces(text)) << where;
        for (char c : text)
            EXPECT_GE(static_cast<unsigned char>(c), 0x20) << where;
    };
    std::set<std::string> groupNames;
    for (const auto& group : Db().Groups()) {
        checkText(group.Name(), group.Name());
        EXPECT_TRUE(groupNames.insert(LowerAscii(group.Name())).second) << group.Name();
        std::set<std::string> categoryNames;
        for (const auto& category : group.Categories()) {
            checkText(category.Name(), group.Name() + " / " + category.Name());
            EXPECT_TRUE(categoryNames.insert(LowerAscii(category.Name())).second)
                << category.Name();
            std::set<std::string> itemNames;
            for (const auto& item : category.Items()) {
                const std::string where = category.Name() + " / " + item.Name();
                checkText(item.Name(), where);
                EXPECT_TRUE(itemNames.insert(LowerAscii(item.Name())).second) << where;
                EXPECT_EQ(item.SearchName().find('+'), std::string::npos) << where;
            }
        }
    }
}

// The item names against the published naming words, counted over the whole database; the
// report carries the same figures.
TEST_F(FoodDbBuilderTest, NamesSayWhatTheFoodIs) {
    const SNameCheck check = CheckNames(Db(), CFoodNameRules::Default());
    const std::string breakers = check.Text();
    ASSERT_EQ(check.names, Report().items);
    EXPECT_EQ(check.preparationOnly, 0u) << breakers;
    EXPECT_LE(check.withoutFoodWord * 100, check.names) << "at most 1 %";
    EXPECT_GE(check.uniqueInDatabase * 100, check.names * 90) << "at least 90 %";
    EXPECT_EQ(check.categoryClashes, 0u);
    EXPECT_EQ(check.badlyFormed, 0u) << breakers;
    EXPECT_LE(check.addedNumbers * 1000, check.names * 5) << "at most 0.5 %";
    EXPECT_NE(Report().Text().find(check.Text()), std::string::npos);
}

TEST_F(FoodDbBuilderTest, NamesLeadWithTheFood) {
    const struct {
        const char* description;
        const char* name;
    } cases[] = {
        {"Apples, raw, with skin", "Apples, raw, w/ skin"},
        {"Lentils, raw", "Lentils, raw"},
        {"Nuts, cashew nuts, raw", "Cashew nuts, raw"},
        {"Squash, winter, acorn, raw", "Acorn squash, raw"},
        {"Fish, tuna, light, canned in oil, drained solids", "Tuna,lt,in oil,drnd"},
        {"Beef, tenderloin, steak, separable lean and fat, trimmed to 1/8\" fat, choice, "
         "cooked, broiled",
         "Beef,tndrln,ch,brld"},
        {"Chicken, broilers or fryers, breast, meat only, cooked, roasted", "Chkn, brst, rstd"},
        {"Egg, whole, raw, fresh", "Egg, whl, raw, fresh"},
        {"Beverages, coffee, brewed, prepared with tap water", "Coffee,made w/tap"},
        {"Babyfood, dinner, vegetables and beef, junior", "Veg & beef, junior"},
        {"McDONALD'S, Hamburger", "Hamburger,McDonald's"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ItemDescribedAs(c.description).Name(), c.name) << c.description;
}

TEST_F(FoodDbBuilderTest, SearchNamesAreTheUsdaDescriptions) {
    std::multiset<std::string> descriptions;
    for (const auto& food : s_data->foods) {
        std::string text = food.longDesc;
        std::replace(text.begin(), text.end(), '+', '&');
        descriptions.insert(text);
    }
    std::multiset<std::string> searchNames;
    ForEachItem([&](const CFoodGroup&, const CFoodCategory&, const CFoodItem& item) {
        searchNames.insert(item.SearchName());
    });
    EXPECT_EQ(searchNames, descriptions);
}

TEST_F(FoodDbBuilderTest, EveryServingIsOneOfItsBaseMeasures) {
    ForEachItem([](const CFoodGroup&, const CFoodCategory& category, const CFoodItem& item) {
        const std::string where = category.Name() + " / " + item.Name();
        EXPECT_TRUE(item.Serving() == item.VolumeOrItemMeasure() ||
                    item.Serving() == item.WeightMeasure())
            << where;
        EXPECT_GT(item.Serving().Amount(), 0.0f) << where;
        EXPECT_GT(item.WeightMeasure().Amount(), 0.0f) << where;
        EXPECT_EQ(item.ServingRatio(), 1.0f) << where;
        const uint8_t weightUnit = item.WeightMeasure().Unit();
        EXPECT_TRUE(weightUnit >= kUnitOz && weightUnit <= kUnitKg) << where;
        if (item.VolumeOrItemMeasure().Amount() > 0.0f) {
            EXPECT_EQ(weightUnit, kUnitGram) << where;
            EXPECT_TRUE(IsVolumeUnit(item.VolumeOrItemMeasure().Unit()) ||
                        item.VolumeOrItemMeasure().Unit() == kUnitItem)
                << where;
        }
    });
    const SFoodDataReport& r = Report();
    EXPECT_EQ(r.servingVolume + r.servingItem + r.servingWeight + r.serving100g, r.items);
}

// Stored values are USDA's per-100 g values for the base portion: checked on every item whose
// weight measure is in grams and whose description is unique.
TEST_F(FoodDbBuilderTest, NutrientsAreUsdaValuesForTheBasePortion) {
    std::map<std::string, const SUsdaFood*> byDescription;
    std::set<std::string> repeated;
    for (const auto& food : s_data->foods) {
        if (!byDescription.emplace(food.longDesc, &food).second)
            repeated.insert(food.longDesc);
    }
    size_t checked = 0;
    ForEachItem([&](const CFoodGroup&, const CFoodCategory&, const CFoodItem& item) {
        const auto found = byDescription.find(item.SearchName());
        if (found == byDescription.end() || repeated.count(item.SearchName()) ||
            item.WeightMeasure().Unit() != kUnitGram)
            return;
        const SUsdaFood& food = *found->second;
        const double grams = item.WeightMeasure().Amount();
        const auto& stored = item.Nutrients();
        ASSERT_GE(stored.size(), 6u);
        for (int i = 0; i < kBasicNutrientCount; ++i)
            EXPECT_EQ(stored[i].Index(), i) << item.SearchName();
        for (int index = 0; index < kNutrientCount; ++index) {
            const bool present =
                std::any_of(stored.begin(), stored.end(),
                            [&](const CNutrientValue& v) { return v.Index() == index; });
            if (!food.per100g[index]) {
                // Unknown: the basic six hold 0, other nutrients have no entry.
                EXPECT_EQ(present, index < kBasicNutrientCount)
                    << item.SearchName() << " " << index;
                EXPECT_EQ(item.NutrientValue(index), 0.0f) << item.SearchName() << " " << index;
                continue;
            }
            EXPECT_TRUE(present) << item.SearchName() << " " << index;
            const double limit = index == kNutrientCalories ? 9999.0 : 9999.9;
            const double expected = std::min(*food.per100g[index] * grams / 100.0, limit);
            EXPECT_NEAR(item.NutrientValue(index), expected, 1e-4 * std::max(1.0, expected))
                << item.SearchName() << " " << index;
        }
        ++checked;
    });
    EXPECT_GT(checked, 6000u);
    EXPECT_EQ(Report().clampedValues, 0u) << "lighter portions keep every value whole";
    EXPECT_GT(Report().portionsReduced, 0u);

    // The report counts the unknown basic values as the data set has them.
    for (int i = 0; i < kBasicNutrientCount; ++i) {
        const size_t missing =
            static_cast<size_t>(std::count_if(s_data->foods.begin(), s_data->foods.end(),
                                              [&](const SUsdaFood& f) { return !f.per100g[i]; }));
        EXPECT_EQ(Report().missingBasic[i], missing) << i;
    }
    EXPECT_GT(Report().missingBasic[kNutrientFiber], 0u);
}

TEST_F(FoodDbBuilderTest, SpotChecksMatchTheUsdaPortions) {
    const CFoodItem& apple = ItemDescribedAs("Apples, raw, with skin");
    EXPECT_EQ(apple.Serving(), CServingMeasure(1, kUnitItem));
    EXPECT_EQ(apple.WeightMeasure(), CServingMeasure(182, kUnitGram));
    EXPECT_NEAR(apple.NutrientValue(kNutrientCalories), 95, 0.5);
    EXPECT_NEAR(apple.NutrientValue(kNutrientCarbohydrate), 25.1, 0.05);
    EXPECT_NEAR(apple.NutrientValue(kNutrientFiber), 4.4, 0.05);

    const CFoodItem& milk = ItemDescribedAs("Milk, whole, 3.25% milkfat, with added vitamin D");
    EXPECT_EQ(milk.Serving(), CServingMeasure(1, kUnitCup));
    EXPECT_EQ(milk.WeightMeasure(), CServingMeasure(244, kUnitGram));
    EXPECT_NEAR(milk.NutrientValue(kNutrientCalories), 149, 0.5);
    EXPECT_NEAR(milk.NutrientValue(11), 275.7, 0.1) << "calcium";

    const CFoodItem& egg = ItemDescribedAs("Egg, whole, raw, fresh");
    EXPECT_EQ(egg.Serving(), CServingMeasure(1, kUnitItem));
    EXPECT_EQ(egg.WeightMeasure(), CServingMeasure(50, kUnitGram));
    EXPECT_NEAR(egg.NutrientValue(kNutrientCalories), 71.5, 0.05);
}

// USDA gives cholesterol in mg and selenium and vitamin B12 in micrograms per 100 g
// (foods.csv of the data set); the database holds them in the units of the nutrient table.
TEST_F(FoodDbBuilderTest, NutrientsHoldTheProgramsUnits) {
    const struct {
        const char* description;
        int nutrient;
        const char* unit;
        double usdaPer100g;
        double toUnit;
    } cases[] = {
        {"Egg, whole, raw, fresh", 9, "g", 372, 1e-3},
        {"Nuts, brazilnuts, dried, unblanched", 20, "mg", 1917.0, 1e-3},
        {"Beef, variety meats and by-products, liver, raw", 23, "mg", 59.30, 1e-3},
        {"Egg, whole, raw, fresh", 21, "IU", 540, 1.0},
        {"Nuts, brazilnuts, dried, unblanched", 26, "mcg", 0.0, 1.0},
        {"Beef, variety meats and by-products, liver, raw", 26, "mcg", 3.1, 1.0},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(NutrientInfo(c.nutrient).unit, c.unit) << c.nutrient;
        const CFoodItem& item = ItemDescribedAs(c.description);
        ASSERT_EQ(item.WeightMeasure().Unit(), kUnitGram) << c.description;
        const double grams = item.WeightMeasure().Amount();
        const double expected = c.usdaPer100g * c.toUnit * grams / 100.0;
        EXPECT_NEAR(item.NutrientValue(c.nutrient), expected, 1e-5 + 1e-5 * expected)
            << c.description << " " << c.nutrient;
    }
    EXPECT_NE(Report().Text().find("cholesterol_mg: mg -> g; selenium_mcg: mcg -> mg; "
                                   "vitamin_b12_mcg: mcg -> mg\n"),
              std::string::npos);
}

TEST_F(FoodDbBuilderTest, FindingCheddarFindsTheCheddarCheeses) {
    CFoodDB db = Db();
    db.Find("cheddar");
    ASSERT_GT(db.SearchResultCount(), 0u);
    ASSERT_LT(db.SearchResultCount(), CFoodDB::kMaxSearchResults) << "no hit may be cut off";

    std::set<std::string> found;
    for (const auto& result : db.SearchResults()) {
        const std::string& category = db.GetCategory(result.group, result.category).Name();
        EXPECT_TRUE(ContainsIgnoringCase(result.item.SearchName(), "cheddar") ||
                    ContainsIgnoringCase(category, "cheddar"))
            << result.item.SearchName();
        found.insert(result.item.SearchName());
    }
    for (const char* cheese :
         {"Cheese, cheddar", "Cheese, cheddar, reduced fat", "Cheese, cheddar, nonfat or fat free",
          "Cheese, cheddar, sharp, sliced"})
        EXPECT_TRUE(found.count(cheese)) << cheese;
}

TEST_F(FoodDbBuilderTest, PlacesFoodsWhereAPersonLooks) {
    const auto placeOf = [](const std::string& description) {
        std::string place;
        ForEachItem(
            [&](const CFoodGroup& group, const CFoodCategory& category, const CFoodItem& item) {
                if (item.SearchName() == description)
                    place = group.Name() + " / " + category.Name();
            });
        return place;
    };
    EXPECT_EQ(placeOf("Apples, raw, with skin"), "Fruits, Fruit Juice / Apples");
    EXPECT_EQ(placeOf("Bananas, raw"), "Fruits, Fruit Juice / Bananas");
    EXPECT_EQ(placeOf("Cheese, cheddar"), "Milk, Yogurt, Cheese / Cheese");
    EXPECT_EQ(placeOf("Egg, whole, raw, fresh"), "Meat, Poultry, Fish / Eggs");
    EXPECT_EQ(
        placeOf("Beef, chuck, arm pot roast, separable lean only, trimmed to 0\" fat, choice, "
                "cooked, braised"),
        "Beef / Chuck Arm Pot Roast");
    EXPECT_EQ(placeOf("Fish, salmon, Atlantic, wild, raw"), "Meat, Poultry, Fish / Salmon");
    EXPECT_EQ(placeOf("Beverages, carbonated, cola, regular"), "Drinks, Beer, Soda / Soda");
    EXPECT_EQ(placeOf("Soup, chicken noodle, canned, condensed"),
              "Soups, Sauces, Gravy / Chicken Soups");
    EXPECT_EQ(placeOf("McDONALD'S, Hamburger"), "Restaurants, Other / McDonald's");

    // Every group is one of the named groups.
    for (const auto& group : Db().Groups()) {
        EXPECT_TRUE(std::find(kFoodGroupNames, kFoodGroupNames + kFoodGroupCount, group.Name()) !=
                    kFoodGroupNames + kFoodGroupCount)
            << group.Name();
    }
}

TEST_F(FoodDbBuilderTest, ExtensionHoldsTheGroupsBeyondTheHandheldSubset) {
    const CFoodDB extension = ExtensionSubset(Db());
    size_t extensionItems = 0;
    for (const auto& group : extension.Groups()) {
        EXPECT_FALSE(IsHandheldGroup(group.Name())) << group.Name();
        const int original = Db().FindGroup(group.Name());
        ASSERT_GE(original, 0) << group.Name();
        EXPECT_TRUE(group == Db().GetGroup(static_cast<uint16_t>(original))) << "copied as it is";
        for (const auto& category : group.Categories())
            extensionItems += category.ItemCount();
    }
    size_t handheldGroups = 0;
    for (const auto& group : Db().Groups())
        handheldGroups += IsHandheldGroup(group.Name()) ? 1 : 0;
    EXPECT_EQ(extension.GroupCount() + handheldGroups, Db().GroupCount());
    EXPECT_EQ(extensionItems + Report().handheldItems, Report().items);
    EXPECT_GT(extensionItems, 0u);
    EXPECT_GT(Report().handheldItems, extensionItems);
}

TEST_F(FoodDbBuilderTest, BuildsTheSameDatabaseEveryTime) {
    SFoodDataBuild again = BuildFoodDb(*s_data);
    EXPECT_TRUE(again.db == Db());
    EXPECT_EQ(again.report.Text(), Report().Text());
    // Identifiers come from the fixed seed date, one per group, category and item.
    EXPECT_EQ(Db().IdGenerator().Value() & 0x3FFFFu,
              Report().groups + Report().categories + Report().items);
}

} // namespace
