// SPDX-License-Identifier: GPL-3.0-or-later
// fitquill-handheld-data: writes the handheld databases that the installation puts on a
// handheld, FQA-AppDB.pdb and FQA-FoodDB.pdb, and the stand-ins of the handheld programs,
// Fitquill.prc and FoodDB.prc, into a folder.
#include "core/io/atomic_file.h"
#include "tools/handheld_data/handheld_database_builder.h"

#include <iostream>
#include <string>

using namespace fitquill;

int main(int argc, char** argv) {
    const std::string usage = "Usage: fitquill-handheld-data --food FoodDB.ddb --output DIR";
    std::string food, output;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--food")
            food = argv[i + 1];
        else if (option == "--output")
            output = argv[i + 1];
        else
            food.clear();
    }
    if (argc != 5 || food.empty() || output.empty()) {
        std::cerr << usage << "\n";
        return 1;
    }

    const CHandheldDatabaseBuilder builder(CHandheldDatabaseBuilder::BuildDate());
    std::string error;
    const auto foodFile = ReadWholeFile(food, &error);
    if (!foodFile) {
        std::cerr << "Cannot read " << food << ": " << error << "\n";
        return 1;
    }
    const auto foodDatabase = builder.Food(*foodFile, &error);
    if (!foodDatabase) {
        std::cerr << "Cannot use " << food << ": " << error << "\n";
        return 1;
    }
    const std::filesystem::path folder(output);
    if (!builder.Journal().Save(folder / CHandheldDatabaseBuilder::kJournalFileName, &error) ||
        !foodDatabase->Save(folder / CHandheldDatabaseBuilder::kFoodFileName, &error) ||
        !builder.Application().Save(folder / CHandheldDatabaseBuilder::kApplicationFileName,
                                    &error) ||
        !builder.FoodApplication().Save(folder / CHandheldDatabaseBuilder::kFoodApplicationFileName,
                                        &error)) {
        std::cerr << "Cannot write the handheld databases into " << output << ": " << error << "\n";
        return 1;
    }
    return 0;
}
