// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/usda_data.h"

#include "tools/fooddata/csv_reader.h"
#include "tools/fooddata/text_encoding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <unordered_map>

namespace fitquill {

const std::array<SUsdaNutrientColumn, 33> kUsdaNutrientColumns = {{
    {"energy_kcal", 0},
    {"carbohydrate_g", 1},
    {"protein_g", 2},
    {"fiber_g", 3},
    {"fat_g", 4},
    {"saturated_fat_g", 5},
    {"monounsaturated_fat_g", 6},
    {"polyunsaturated_fat_g", 7},
    {"sugars_g", 8},
    {"cholesterol_mg", 9},
    {"calcium_mg", 11},
    {"iron_mg", 12},
    {"magnesium_mg", 13},
    {"phosphorus_mg", 14},
    {"potassium_mg", 15},
    {"sodium_mg", 16},
    {"zinc_mg", 17},
    {"copper_mg", 18},
    {"manganese_mg", 19},
    {"selenium_mcg", 20},
    {"vitamin_a_iu", 21},
    {"vitamin_b6_mg", 22},
    {"vitamin_b12_mcg", 23},
    {"vitamin_c_mg", 24},
    {"vitamin_e_mg", 25},
    {"vitamin_k_mcg", 26},
    {"thiamin_mg", 27},
    {"riboflavin_mg", 28},
    {"niacin_mg", 29},
    {"folic_acid_mcg", 30},
    {"retinol_mcg", 31},
    {"folate_total_mcg", 32},
    {"pantothenic_acid_mg", 33},
}};

namespace {

constexpr int kNetCarbNutrient = 10;

// Mass units as powers of ten of a gram; USDA writes micrograms "mcg" or "\xC2\xB5g".
std::optional<int> MassExponent(std::string_view unit) {
    if (unit == "g")
        return 0;
    if (unit == "mg")
        return -3;
    if (unit == "mcg" || unit == "ug" || unit == "\xC2\xB5g")
        return -6;
    return std::nullopt;
}

// A plain decimal number as USDA writes it ("4.80", ".5", "0"); no sign, no exponent.
std::optional<double> ParseDecimal(std::string_view text) {
    if (text.empty() || text.size() > 32)
        return std::nullopt;
    for (char c : text) {
        if (!(c >= '0' && c <= '9') && c != '.')
            return std::nullopt;
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

struct SColumns {
    const CCsvTable* table = nullptr;
    const char* file = nullptr;
    std::string* error = nullptr;
    bool missing = false;

    // The first missing column is the one reported.
    std::optional<size_t> Need(const char* name) {
        auto at = table->Column(name);
        if (!at && !missing) {
            *error = std::string(file) + ": no column '" + name + "'";
            missing = true;
        }
        return at;
    }
    bool Bad(size_t row, const std::string& what) const {
        *error = std::string(file) + ": line " + std::to_string(table->RowLine(row)) + ": " + what;
        return false;
    }
};

// The factor of each nutrient column, from USDA's unit in nutrients.csv to the program's.
bool ReadNutrientUnits(const CCsvTable& table,
                       std::array<double, kUsdaNutrientColumns.size()>& factors, SUsdaData& data,
                       std::string& error) {
    SColumns cols{&table, "nutrients.csv", &error};
    const auto column = cols.Need("column");
    const auto units = cols.Need("units");
    if (!column || !units)
        return false;
    for (size_t i = 0; i < kUsdaNutrientColumns.size(); ++i) {
        const SUsdaNutrientColumn& wanted = kUsdaNutrientColumns[i];
        std::optional<size_t> at;
        for (size_t r = 0; r < table.RowCount(); ++r) {
            if (table.Row(r)[*column] == wanted.column)
                at = r;
        }
        if (!at) {
            error = std::string("nutrients.csv: no unit for ") + wanted.column;
            return false;
        }
        const std::string& usdaUnit = table.Row(*at)[*units];
        const std::string unit = NutrientInfo(wanted.nutrient).unit;
        const auto factor = NutrientUnitFactor(usdaUnit, unit);
        if (!factor) {
            return cols.Bad(*at, std::string(wanted.column) + " is in '" + usdaUnit +
                                     "', which cannot be stored in '" + unit + "'");
        }
        factors[i] = *factor;
        if (*factor != 1.0)
            data.unitConversions.push_back(std::string(wanted.column) + ": " + usdaUnit + " -> " +
                                           unit);
    }
    // Net carbohydrate is computed from carbohydrate and fiber, so all three share a unit.
    const std::string netCarbUnit = NutrientInfo(kNetCarbNutrient).unit;
    if (netCarbUnit != NutrientInfo(kNutrientCarbohydrate).unit ||
        netCarbUnit != NutrientInfo(kNutrientFiber).unit) {
        error = "nutrients.csv: net carbohydrate cannot be computed in '" + netCarbUnit + "'";
        return false;
    }
    return true;
}

bool ReadFoods(const CCsvTable& table,
               const std::array<double, kUsdaNutrientColumns.size()>& factors, SUsdaData& data,
               std::string& error) {
    SColumns cols{&table, "foods.csv", &error};
    const auto ndb = cols.Need("ndb_no");
    const auto groupCode = cols.Need("food_group_code");
    const auto groupName = cols.Need("food_group_name");
    const auto longDesc = cols.Need("long_desc");
    const auto commonNames = cols.Need("common_names");
    const auto manufacturer = cols.Need("manufacturer");
    if (!ndb || !groupCode || !groupName || !longDesc || !commonNames || !manufacturer)
        return false;
    std::array<size_t, kUsdaNutrientColumns.size()> nutrientAt{};
    for (size_t i = 0; i < kUsdaNutrientColumns.size(); ++i) {
        const auto at = cols.Need(kUsdaNutrientColumns[i].column);
        if (!at)
            return false;
        nutrientAt[i] = *at;
    }

    std::unordered_map<std::string, size_t> seen;
    for (size_t r = 0; r < table.RowCount(); ++r) {
        const auto& row = table.Row(r);
        SUsdaFood food;
        food.ndbNo = row[*ndb];
        if (food.ndbNo.empty())
            return cols.Bad(r, "empty ndb_no");
        if (!seen.emplace(food.ndbNo, r).second)
            return cols.Bad(r, "food " + food.ndbNo + " appears twice");
        food.groupCode = row[*groupCode];
        food.groupName = Utf8ToWindows1252BestFit(row[*groupName], &data.replacedCharacters);
        food.longDesc = Utf8ToWindows1252BestFit(row[*longDesc], &data.replacedCharacters);
        food.commonNames = Utf8ToWindows1252BestFit(row[*commonNames], &data.replacedCharacters);
        food.manufacturer = Utf8ToWindows1252BestFit(row[*manufacturer], &data.replacedCharacters);
        for (size_t i = 0; i < kUsdaNutrientColumns.size(); ++i) {
            const std::string& cell = row[nutrientAt[i]];
            if (cell.empty())
                continue;
            const auto value = ParseDecimal(cell);
            if (!value)
                return cols.Bad(r, std::string("bad number in ") + kUsdaNutrientColumns[i].column);
            food.per100g[kUsdaNutrientColumns[i].nutrient] = *value * factors[i];
        }
        // Net carbohydrate is carbohydrate by difference less fiber; unknown when either is.
        const auto& carb = food.per100g[kNutrientCarbohydrate];
        const auto& fiber = food.per100g[kNutrientFiber];
        if (carb && fiber)
            food.per100g[kNetCarbNutrient] = *carb > *fiber ? *carb - *fiber : 0.0;
        data.foods.push_back(std::move(food));
    }
    return true;
}

bool ReadPortions(const CCsvTable& table, SUsdaData& data, std::string& error) {
    SColumns cols{&table, "portions.csv", &error};
    const auto ndb = cols.Need("ndb_no");
    const auto seq = cols.Need("seq");
    const auto amount = cols.Need("amount");
    const auto desc = cols.Need("measure_desc");
    const auto grams = cols.Need("gram_weight");
    if (!ndb || !seq || !amount || !desc || !grams)
        return false;

    std::unordered_map<std::string, size_t> foodAt;
    for (size_t i = 0; i < data.foods.size(); ++i)
        foodAt.emplace(data.foods[i].ndbNo, i);
    for (size_t r = 0; r < table.RowCount(); ++r) {
        const auto& row = table.Row(r);
        const auto food = foodAt.find(row[*ndb]);
        if (food == foodAt.end())
            return cols.Bad(r, "portion of unknown food " + row[*ndb]);
        SUsdaPortion portion;
        const auto seqValue = ParseDecimal(row[*seq]);
        const auto amountValue = ParseDecimal(row[*amount]);
        const auto gramValue = ParseDecimal(row[*grams]);
        if (!seqValue || !amountValue || !gramValue)
            return cols.Bad(r, "bad number");
        portion.seq = static_cast<int>(*seqValue);
        portion.amount = *amountValue;
        portion.gramWeight = *gramValue;
        portion.description = Utf8ToWindows1252BestFit(row[*desc], &data.replacedCharacters);
        data.foods[food->second].portions.push_back(std::move(portion));
        ++data.portionCount;
    }
    return true;
}

std::optional<std::string> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return text.str();
}

} // namespace

std::optional<double> NutrientUnitFactor(std::string_view usdaUnit, std::string_view unit) {
    if (usdaUnit == unit)
        return 1.0;
    // The program's calories carry no unit text; USDA's are kilocalories.
    if (usdaUnit == "kcal" && unit.empty())
        return 1.0;
    const auto from = MassExponent(usdaUnit);
    const auto to = MassExponent(unit);
    if (from && to)
        return std::pow(10.0, *from - *to);
    return std::nullopt;
}

std::optional<SUsdaData> ParseUsdaData(std::string_view foodsCsv, std::string_view portionsCsv,
                                       std::string_view nutrientsCsv, std::string& error) {
    SUsdaData data;
    std::string parseError;
    const auto nutrients = CCsvTable::Parse(nutrientsCsv, parseError);
    if (!nutrients) {
        error = "nutrients.csv: " + parseError;
        return std::nullopt;
    }
    std::array<double, kUsdaNutrientColumns.size()> factors{};
    if (!ReadNutrientUnits(*nutrients, factors, data, error))
        return std::nullopt;
    const auto foods = CCsvTable::Parse(foodsCsv, parseError);
    if (!foods) {
        error = "foods.csv: " + parseError;
        return std::nullopt;
    }
    if (!ReadFoods(*foods, factors, data, error))
        return std::nullopt;
    const auto portions = CCsvTable::Parse(portionsCsv, parseError);
    if (!portions) {
        error = "portions.csv: " + parseError;
        return std::nullopt;
    }
    if (!ReadPortions(*portions, data, error))
        return std::nullopt;
    for (auto& food : data.foods) {
        std::stable_sort(
            food.portions.begin(), food.portions.end(),
            [](const SUsdaPortion& a, const SUsdaPortion& b) { return a.seq < b.seq; });
    }
    return data;
}

std::optional<SUsdaData> LoadUsdaData(const std::filesystem::path& folder, std::string& error) {
    const auto foods = ReadFile(folder / "foods.csv");
    if (!foods) {
        error = (folder / "foods.csv").string() + ": cannot be read";
        return std::nullopt;
    }
    const auto portions = ReadFile(folder / "portions.csv");
    if (!portions) {
        error = (folder / "portions.csv").string() + ": cannot be read";
        return std::nullopt;
    }
    const auto nutrients = ReadFile(folder / "nutrients.csv");
    if (!nutrients) {
        error = (folder / "nutrients.csv").string() + ": cannot be read";
        return std::nullopt;
    }
    return ParseUsdaData(*foods, *portions, *nutrients, error);
}

} // namespace fitquill
