// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/usda_data.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace fitquill;

namespace {

// A foods.csv in the data set's layout; omit names a column to leave out of the header.
std::string FoodsHeader(const std::string& omit = "") {
    std::string header = "ndb_no,food_group_code,food_group_name,long_desc,short_desc,common_names,"
                         "manufacturer,refuse_pct";
    for (const auto& column : kUsdaNutrientColumns) {
        if (column.column != omit)
            header += std::string(",") + column.column;
    }
    return header + "\n";
}

// A food row: the 33 nutrient cells given in column order (missing ones empty).
std::string FoodRow(const std::string& ndb, const std::string& desc,
                    const std::vector<std::string>& nutrients) {
    std::string row = ndb + ",0900,Fruits and Fruit Juices," + desc + ",X,,,0";
    for (size_t i = 0; i < kUsdaNutrientColumns.size(); ++i)
        row += "," + (i < nutrients.size() ? nutrients[i] : std::string());
    return row + "\n";
}

const std::string kPortionsHeader = "ndb_no,seq,amount,measure_desc,gram_weight\n";

// A nutrients.csv giving each column the unit its name ends in; change replaces the unit of
// one column.
std::string NutrientsCsv(const std::string& column = "", const std::string& unit = "") {
    std::string csv = "column,nutr_no,units,tagname,usda_description,foods_with_value\n";
    for (const auto& c : kUsdaNutrientColumns) {
        const std::string name = c.column;
        std::string own = name.substr(name.rfind('_') + 1);
        own = own == "iu" ? "IU" : own;
        csv += name + ",0," + (name == column ? unit : own) + ",T,D,1\n";
    }
    return csv;
}

TEST(UsdaDataTest, ColumnsFollowTheProgramsNutrientListWithoutNetCarb) {
    std::vector<int> indexes;
    for (const auto& column : kUsdaNutrientColumns)
        indexes.push_back(column.nutrient);
    std::vector<int> expected;
    for (int i = 0; i < kNutrientCount; ++i) {
        if (i != 10)
            expected.push_back(i);
    }
    EXPECT_EQ(indexes, expected);
}

TEST(UsdaDataTest, ReadsFoodsNutrientsAndPortions) {
    const std::string foods =
        FoodsHeader() +
        FoodRow("09003", "\"Apples, raw, with skin\"",
                {"52", "13.81", "0.26", "2.4", "0.17", "0.028", "", "",     "", "372", "",    "",
                 "",   "",      "",     "",    "",     "",      "", "55.4", "", "",    "61.3"}) +
        FoodRow("09999",
                "Entr\xC3\xA9"
                "e",
                {"10", "1.5", "0", "", "0", "", "", "", "", "", "7"}) +
        FoodRow("09998", "Fiber above carbohydrate", {"1", "2", "0", "3", "0", "0"});
    const std::string portions = kPortionsHeader + "09003,2,1,\"medium (3\"\" dia)\",182\n" +
                                 "09003,1,1,\"cup, quartered or chopped\",125\n";
    std::string error;
    const auto data = ParseUsdaData(foods, portions, NutrientsCsv(), error);
    ASSERT_TRUE(data) << error;
    ASSERT_EQ(data->foods.size(), 3u);
    EXPECT_EQ(data->portionCount, 2u);

    const SUsdaFood& apple = data->foods[0];
    EXPECT_EQ(apple.ndbNo, "09003");
    EXPECT_EQ(apple.groupCode, "0900");
    EXPECT_EQ(apple.longDesc, "Apples, raw, with skin");
    EXPECT_EQ(apple.per100g[0], 52.0);
    EXPECT_EQ(apple.per100g[5], 0.028);
    EXPECT_EQ(apple.per100g[10], 13.81 - 2.4) << "net carbohydrate";
    EXPECT_EQ(apple.per100g[33], std::nullopt);
    // Stored in the program's units: cholesterol in g, selenium and vitamin B12 in mg.
    EXPECT_DOUBLE_EQ(*apple.per100g[9], 0.372);
    EXPECT_DOUBLE_EQ(*apple.per100g[20], 0.0554);
    EXPECT_DOUBLE_EQ(*apple.per100g[23], 0.0613);
    EXPECT_EQ(data->unitConversions,
              (std::vector<std::string>{"cholesterol_mg: mg -> g", "selenium_mcg: mcg -> mg",
                                        "vitamin_b12_mcg: mcg -> mg"}));
    ASSERT_EQ(apple.portions.size(), 2u);
    EXPECT_EQ(apple.portions[0].seq, 1) << "portions come in USDA's order";
    EXPECT_EQ(apple.portions[1].description, "medium (3\" dia)");
    EXPECT_EQ(apple.portions[1].gramWeight, 182.0);

    // Missing values stay unknown; a written zero is a zero.
    const SUsdaFood& other = data->foods[1];
    EXPECT_EQ(other.longDesc, "Entr\xE9"
                              "e");
    EXPECT_EQ(other.per100g[2], 0.0);
    EXPECT_EQ(other.per100g[3], std::nullopt);
    EXPECT_EQ(other.per100g[5], std::nullopt);
    EXPECT_EQ(other.per100g[10], std::nullopt) << "no fiber, no net carbohydrate";
    EXPECT_EQ(other.per100g[11], 7.0) << "calcium is column 11 of the list";
    EXPECT_TRUE(other.portions.empty());

    EXPECT_EQ(data->foods[2].per100g[10], 0.0) << "net carbohydrate never negative";
}

TEST(UsdaDataTest, RefusesDamagedInputNamingFileAndLine) {
    const std::string good = FoodRow("01001", "Butter", {"717", "0.06", "0.85", "0", "81", "51"});
    const struct {
        const char* what;
        std::string foods;
        std::string portions;
        std::string error;
        std::string nutrients = NutrientsCsv();
    } cases[] = {
        {"missing nutrient column", FoodsHeader("selenium_mcg"), kPortionsHeader,
         "foods.csv: no column 'selenium_mcg'"},
        {"first of two missing columns", FoodsHeader("iron_mg").replace(0, 7, "ndb,"),
         kPortionsHeader, "foods.csv: no column 'ndb_no'"},
        {"not a number", FoodsHeader() + FoodRow("01002", "Bad", {"7x"}), kPortionsHeader,
         "foods.csv: line 2: bad number in energy_kcal"},
        {"negative amount", FoodsHeader() + FoodRow("01002", "Bad", {"1", "-2"}), kPortionsHeader,
         "foods.csv: line 2: bad number in carbohydrate_g"},
        {"food twice", FoodsHeader() + good + good, kPortionsHeader,
         "foods.csv: line 3: food 01001 appears twice"},
        {"row of another width", FoodsHeader() + "01003,0100\n", kPortionsHeader,
         "foods.csv: line 2: 2 fields, the header has 41"},
        {"unterminated quote", FoodsHeader() + "01003,\"open\n", kPortionsHeader,
         "foods.csv: line 2: quoted field is not closed"},
        {"portion of an unknown food", FoodsHeader() + good,
         kPortionsHeader + "09999,1,1,cup,100\n",
         "portions.csv: line 2: portion of unknown food 09999"},
        {"portion weight not a number", FoodsHeader() + good,
         kPortionsHeader + "01001,1,1,cup,heavy\n", "portions.csv: line 2: bad number"},
        {"portions without their columns", FoodsHeader() + good, "ndb_no,seq\n01001,1\n",
         "portions.csv: no column 'amount'"},
        {"a unit that does not convert", FoodsHeader() + good, kPortionsHeader,
         "nutrients.csv: line 11: cholesterol_mg is in 'IU', which cannot be stored in 'g'",
         NutrientsCsv("cholesterol_mg", "IU")},
        {"kilojoules for calories", FoodsHeader() + good, kPortionsHeader,
         "nutrients.csv: line 2: energy_kcal is in 'kJ', which cannot be stored in ''",
         NutrientsCsv("energy_kcal", "kJ")},
        {"a nutrient without its unit", FoodsHeader() + good, kPortionsHeader,
         "nutrients.csv: no unit for folate_total_mcg",
         NutrientsCsv().replace(NutrientsCsv().find("folate_total"), 6, "folic_")},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(ParseUsdaData(c.foods, c.portions, c.nutrients, error)) << c.what;
        EXPECT_EQ(error, c.error) << c.what;
    }
}

TEST(UsdaDataTest, ConvertsOnlyUnitsItKnows) {
    const struct {
        const char* from;
        const char* to;
        std::optional<double> factor;
    } cases[] = {
        {"mg", "g", 1e-3}, {"mcg", "mg", 1e-3}, {"\xC2\xB5g", "mg", 1e-3},
        {"g", "mg", 1e3},  {"mcg", "g", 1e-6},  {"mcg", "mcg", 1.0},
        {"IU", "IU", 1.0}, {"kcal", "", 1.0},   {"IU", "mg", {}},
        {"mg", "IU", {}},  {"kJ", "", {}},      {"g", "", {}},
        {"kcal", "g", {}},
    };
    for (const auto& c : cases) {
        const auto factor = NutrientUnitFactor(c.from, c.to);
        ASSERT_EQ(factor.has_value(), c.factor.has_value()) << c.from << " -> " << c.to;
        if (factor) {
            EXPECT_DOUBLE_EQ(*factor, *c.factor) << c.from << " -> " << c.to;
        }
    }
}

TEST(UsdaDataTest, ReportsAMissingFolder) {
    std::string error;
    EXPECT_FALSE(LoadUsdaData("/nonexistent/usda", error));
    EXPECT_EQ(error, "/nonexistent/usda/foods.csv: cannot be read");
}

} // namespace
