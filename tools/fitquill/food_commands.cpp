// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill/food_commands.h"

#include "core/food/food_csv.h"
#include "core/food/food_db_file.h"
#include "core/food/food_import_guard.h"
#include "tools/common/command_line.h"
#include "tools/common/terminal_text.h"
#include "tools/fitquill/food_dump.h"

#include <system_error>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

void Export(const CCommandLine& line, std::ostream& out) {
    line.ExpectPositional(0, "food export --db FILE [--out FILE.csv] [--group NAME "
                             "[--category NAME]]");
    CFoodDB db;
    CFoodCommands::LoadFoodFile(line.RequiredOption("db"), db, false);
    const fs::path target = line.Option("out").value_or(std::string());
    const auto groupName = line.Option("group");
    const auto categoryName = line.Option("category");
    if (categoryName && !groupName)
        throw CToolFailure("The option --category needs --group.");

    std::string error;
    bool exported = false;
    if (!groupName) {
        exported = CFoodCsv::ExportAll(db, target, &error);
    } else {
        const int group = db.FindGroup(StoredText(*groupName, "The food group name"));
        if (group < 0)
            throw CToolFailure("There is no food group named '" + *groupName + "'.");
        const auto g = static_cast<uint16_t>(group);
        if (!categoryName) {
            exported = CFoodCsv::ExportGroup(db, target, g, &error);
        } else {
            const int category = db.FindCategory(g, StoredText(*categoryName, "The category name"));
            if (category < 0)
                throw CToolFailure("There is no category named '" + *categoryName +
                                   "' in the food group '" + *groupName + "'.");
            exported =
                CFoodCsv::ExportCategory(db, target, g, static_cast<uint16_t>(category), &error);
        }
    }
    if (!exported)
        throw CToolFailure(error.empty() ? std::string(kFoodExportFailedText)
                                         : std::string(kFoodExportFailedText) + " " + error);
    out << kFoodExportedText << '\n';
}

EFoodImportMode ParseMode(const std::string& text) {
    if (text.size() != 1 || text[0] < '0' || text[0] > '3')
        throw CToolFailure("The mode must be 0, 1, 2 or 3, not '" + text + "'.");
    return static_cast<EFoodImportMode>(text[0] - '0');
}

void Import(const CCommandLine& line, std::ostream& out) {
    line.ExpectPositional(0, "food import --db FILE --csv FILE.csv --mode 0|1|2|3 [--force]");
    const fs::path file = line.RequiredOption("db");
    const fs::path csv = line.RequiredOption("csv");
    const EFoodImportMode mode = ParseMode(line.RequiredOption("mode"));
    std::error_code ec;
    if (!fs::is_regular_file(csv, ec))
        throw CToolFailure("The food data file " + csv.string() + " does not exist.");
    CFoodDB db;
    CFoodCommands::LoadFoodFile(file, db, true);
    const size_t foodsBefore = CFoodImportGuard::FoodCount(db);

    // A failed import is not saved: the database on disk stays as it was, rather than keeping
    // the partial import that remains in memory.
    const SFoodImportResult result = CFoodCsv::Import(db, csv, mode);
    if (result.noFoodData)
        throw CToolFailure(CFoodCsv::kNoFoodDataText);
    if (!result.ok)
        throw CToolFailure("Importing of food data failed on line " +
                           std::to_string(result.lineNumber) + " (" + result.error +
                           "). Nothing was imported; the food database file is unchanged.");
    const size_t foodsAfter = CFoodImportGuard::FoodCount(db);
    if (CFoodImportGuard::NeedsConfirmation(mode, foodsAfter, foodsBefore) && !line.Flag("force"))
        throw CToolFailure("The new food data holds " + std::to_string(foodsAfter) +
                           " foods; the food database holds " + std::to_string(foodsBefore) +
                           ". Nothing was imported: replacing more than half of the foods "
                           "needs --force.");
    CFoodDBFile writer(EFoodFileMode::Conduit);
    if (!writer.Save(db))
        throw CToolFailure("The food database " + file.string() +
                           " could not be saved: " + writer.LastError());
    const long lines = result.lineNumber - 1;
    out << "Imported " << lines << (lines == 1 ? " line" : " lines") << " of food data.\n"
        << "The file was read as " << CFoodCsv::EncodingName(result.encoding) << ".\n";
}

void Find(const CCommandLine& line, std::ostream& out) {
    line.ExpectPositional(1, "food find --db FILE TEXT");
    CFoodDB db;
    CFoodCommands::LoadFoodFile(line.RequiredOption("db"), db, false);
    db.Find(StoredText(line.Positional()[0], "The text to find"));
    for (const SFoodSearchResult& result : db.SearchResults()) {
        const CFoodGroup& group = db.GetGroup(result.group);
        const CFoodCategory& category = db.GetCategory(result.group, result.category);
        out << TerminalText(group.Name() + " / " + category.Name() + " / " + result.item.Name())
            << '\n';
    }
}

} // namespace

void CFoodCommands::LoadFoodFile(const fs::path& file, CFoodDB& db, bool mayBeMissing) {
    db.SetPaths(file, file.parent_path());
    std::error_code ec;
    if (!fs::exists(file, ec)) {
        if (mayBeMissing)
            return;
        throw CToolFailure("The food database " + file.string() + " does not exist.");
    }
    CFoodDBFile reader(EFoodFileMode::Conduit);
    const EFoodLoadResult result = reader.Load(db);
    if (result == EFoodLoadResult::Failed)
        throw CToolFailure("The food database " + file.string() +
                           " could not be read: " + reader.LastError());
    if (result == EFoodLoadResult::Partial)
        throw CToolFailure("The food database " + file.string() +
                           " is damaged: " + reader.LastError());
}

void CFoodCommands::Run(const std::vector<std::string>& words, std::ostream& out) {
    if (words.empty())
        throw CToolFailure("Usage: fitquill food export|import|find ...");
    const std::string& action = words.front();
    const std::vector<std::string> rest(words.begin() + 1, words.end());
    if (action == "export")
        Export(CCommandLine(rest, {"db", "out", "group", "category"}), out);
    else if (action == "import")
        Import(CCommandLine(rest, {"db", "csv", "mode"}, "fitquill", {"force"}), out);
    else if (action == "find")
        Find(CCommandLine(rest, {"db"}), out);
    else
        throw CToolFailure("Unknown food command '" + action + "' (see fitquill --help).");
}

void CFoodCommands::DumpFood(const fs::path& file, std::ostream& out) {
    CFoodDB db;
    try {
        LoadFoodFile(file, db, false);
    } catch (const CToolFailure&) {
        // A damaged file is listed as far as it could be read, for support.
        if (db.GroupCount() > 0) {
            out << "Food database file: " << file.string() << " (damaged)\n";
            CFoodDump::Write(db, out);
        }
        throw;
    }
    out << "Food database file: " << file.string() << '\n';
    CFoodDump::Write(db, out);
}

} // namespace fitquill
