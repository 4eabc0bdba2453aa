// SPDX-License-Identifier: GPL-3.0-or-later
// fitquill-fooddata: builds the shipped default food database from the USDA SR28 data.
#include "core/io/atomic_file.h"
#include "tools/fooddata/food_data_output.h"
#include "tools/fooddata/food_db_builder.h"
#include "tools/fooddata/usda_data.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

using namespace fitquill;

namespace {

const char kUsage[] =
    "Usage: fitquill-fooddata --input DIR --output DIR [--list FILE]\n"
    "\n"
    "Builds the default food database from the USDA SR28 data set in DIR (foods.csv,\n"
    "portions.csv, nutrients.csv) and writes into the output folder:\n"
    "  FoodDB.ddb       the food database file\n"
    "  FoodDB.csv       every food item, for the automatic update's full reload\n"
    "  Extensions.csv   the groups beyond the handheld subset, for the update\n"
    "  FoodDB-report.txt what the build did (also printed)\n"
    "--list FILE writes every item as 'group | category | name | serving | description'.\n";

std::string ServingText(const CServingMeasure& measure) {
    const SUnitInfo* unit = UnitInfo(measure.Unit());
    char text[64];
    std::snprintf(text, sizeof text, "%g %s", static_cast<double>(measure.Amount()),
                  unit ? unit->name : "?");
    return text;
}

std::string ListText(const CFoodDB& db) {
    std::string out;
    for (const auto& group : db.Groups()) {
        for (const auto& category : group.Categories()) {
            for (const auto& item : category.Items()) {
                out += group.Name() + " | " + category.Name() + " | " + item.Name() + " | " +
                       ServingText(item.Serving()) + " = " + ServingText(item.WeightMeasure()) +
                       " | " + item.SearchName() + "\n";
            }
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path input;
    std::filesystem::path output;
    std::filesystem::path list;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--input") == 0 && hasValue) {
            input = argv[++i];
        } else if (std::strcmp(argv[i], "--output") == 0 && hasValue) {
            output = argv[++i];
        } else if (std::strcmp(argv[i], "--list") == 0 && hasValue) {
            list = argv[++i];
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            std::fprintf(stderr, "fitquill-fooddata: unexpected argument '%s'\n%s", argv[i],
                         kUsage);
            return 2;
        }
    }
    if (input.empty() || output.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }

    std::string error;
    const auto data = LoadUsdaData(input, error);
    if (!data) {
        std::fprintf(stderr, "fitquill-fooddata: %s\n", error.c_str());
        return 1;
    }
    SFoodDataBuild build = BuildFoodDb(*data);
    const std::string report = build.report.Text();
    std::fputs(report.c_str(), stdout);
    if (!build.report.limitViolations.empty()) {
        std::fprintf(stderr, "fitquill-fooddata: the database breaks the program's limits\n");
        return 1;
    }

    if (!WriteFoodDataFiles(build, output, error)) {
        std::fprintf(stderr, "fitquill-fooddata: %s\n", error.c_str());
        return 1;
    }
    if (std::string listError;
        !list.empty() && !ReplaceFileAtomically(list, ListText(build.db), &listError)) {
        std::fprintf(stderr, "fitquill-fooddata: %s: %s\n", list.string().c_str(),
                     listError.c_str());
        return 1;
    }
    return 0;
}
