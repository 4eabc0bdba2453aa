// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/food_data_output.h"

#include "core/food/food_csv.h"
#include "core/food/food_db_file.h"
#include "core/io/atomic_file.h"

#include <system_error>

namespace fitquill {

bool WriteFoodDataFiles(SFoodDataBuild& build, const std::filesystem::path& folder,
                        std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        error = folder.string() + ": " + ec.message();
        return false;
    }

    build.db.SetPaths(folder / kFoodDbFile, folder);
    CFoodDBFile file(EFoodFileMode::Conduit);
    if (!file.Save(build.db)) {
        error = (folder / kFoodDbFile).string() + ": " + file.LastError();
        return false;
    }
    std::string csvError;
    if (!CFoodCsv::ExportAll(build.db, folder / kFoodCsvFile, &csvError)) {
        error = (folder / kFoodCsvFile).string() + ": " + csvError;
        return false;
    }
    if (!CFoodCsv::ExportAll(ExtensionSubset(build.db), folder / kExtensionsCsvFile, &csvError)) {
        error = (folder / kExtensionsCsvFile).string() + ": " + csvError;
        return false;
    }

    std::string reportError;
    if (!ReplaceFileAtomically(folder / kReportFile, build.report.Text(), &reportError)) {
        error = (folder / kReportFile).string() + ": " + reportError;
        return false;
    }
    return true;
}

} // namespace fitquill
