// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/fooddata/food_db_builder.h"

#include <filesystem>
#include <string>

namespace fitquill {

// The files the tool makes, by name in the output folder.
inline constexpr char kFoodDbFile[] = "FoodDB.ddb";
inline constexpr char kFoodCsvFile[] = "FoodDB.csv";
inline constexpr char kExtensionsCsvFile[] = "Extensions.csv";
inline constexpr char kReportFile[] = "FoodDB-report.txt";

// Writes the food database file, the food-data file of everything (the automatic update's
// full reload), the food-data file of the groups beyond the handheld subset (the update's
// extension) and the report into the folder, creating it when needed. The database's file
// paths become those of the output. False, with a reason, when a file cannot be written.
bool WriteFoodDataFiles(SFoodDataBuild& build, const std::filesystem::path& folder,
                        std::string& error);

} // namespace fitquill
