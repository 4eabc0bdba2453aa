// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill/journal_commands.h"

#include "core/clock.h"
#include "core/food/food_db_file.h"
#include "core/journal/journal_file.h"
#include "core/journal/user_data_export.h"
#include "core/report/weight_trend.h"
#include "tools/common/command_line.h"
#include "tools/common/terminal_text.h"
#include "tools/fitquill/demo_journal.h"
#include "tools/fitquill/dump_text.h"
#include "tools/fitquill/journal_dump.h"
#include "tools/fitquill/user_commands.h"

#include <system_error>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

void SetJournalPath(CJournalDB& journal, const fs::path& file) {
    journal.SetFilePath(file.string());
    journal.SetFolderPath(file.parent_path().string());
}

// The user's journal, through the user directory; the user must exist.
void OpenUserJournal(const CUserDirectory& users, const std::string& name, CJournalDB& journal) {
    CUserCommands::FindUser(users, name);
    std::string error;
    if (!CJournalFile::Open(journal, users, name, &error))
        throw CToolFailure(error);
}

// The --user name in its stored form.
std::optional<std::string> UserOption(const CCommandLine& line) {
    const auto typed = line.Option("user");
    if (!typed)
        return std::nullopt;
    return StoredText(*typed, "The user name");
}

// Exactly one of --user and --journal.
void CheckOneSource(const CCommandLine& line) {
    if (line.Option("user").has_value() == line.Option("journal").has_value())
        throw CToolFailure("Give either --user NAME or --journal FILE.");
}

} // namespace

void CJournalCommands::ReadJournalFile(const fs::path& file, CJournalDB& journal) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        throw CToolFailure("The journal " + file.string() + " does not exist.");
    SetJournalPath(journal, file);
    std::string error;
    if (!CJournalFile::Read(journal, &error))
        throw CToolFailure(error);
}

void CJournalCommands::ExportUserData(const std::vector<std::string>& words,
                                      const LocationsSource& locations, std::ostream& out) {
    const CCommandLine line(words, {"user", "journal", "out"});
    line.ExpectPositional(0, "export-user-data (--user NAME | --journal FILE) [--out FILE.csv]");
    CheckOneSource(line);

    CJournalDB journal;
    if (const auto name = UserOption(line)) {
        OpenUserJournal(locations().MakeUserDirectory(), *name, journal);
    } else {
        ReadJournalFile(*line.Option("journal"), journal);
    }
    const fs::path target = line.Option("out").value_or(
        (fs::path(journal.FolderPath()) / kUserExportFileName).string());
    std::string error;
    if (!CUserDataExport::Export(journal, target, &error))
        throw CToolFailure(std::string(kUserDataExportFailedText) + " " + error);
    out << kUserDataExportedText << '\n';
}

void CJournalCommands::DumpJournal(const fs::path& file, std::ostream& out) {
    CJournalDB journal;
    try {
        ReadJournalFile(file, journal);
    } catch (const CToolFailure&) {
        // A damaged file is listed as far as it could be read, for support.
        if (!journal.FilePath().empty()) {
            out << "Journal file: " << file.string() << " (damaged)\n";
            CJournalDump::Write(journal, out);
        }
        throw;
    }
    out << "Journal file: " << file.string() << '\n';
    CJournalDump::Write(journal, out);
}

void CJournalCommands::Demo(const std::vector<std::string>& words, const LocationsSource& locations,
                            std::ostream& out) {
    const CCommandLine line(words, {"user", "journal", "days", "seed"});
    line.ExpectPositional(0, "demo (--user NAME | --journal FILE) --days N [--seed S]");
    CheckOneSource(line);

    SDemoOptions options;
    const int64_t days = CCommandLine::ParseInteger(line.RequiredOption("days"), "The days");
    options.days = static_cast<int>(std::clamp<int64_t>(days, -1, CDemoJournal::kMaxDays + 1));
    if (const auto seed = line.Option("seed"))
        options.seed = CCommandLine::ParseUnsigned(*seed, "The seed");
    options.lastDay = CJournalDate::Today();
    if (const std::string problem = CDemoJournal::CheckOptions(options); !problem.empty())
        throw CToolFailure(problem);

    CJournalDB journal;
    CFoodDB foods;
    fs::path dataFolder;
    if (const auto name = UserOption(line)) {
        const CProgramLocations& where = locations();
        dataFolder = where.DataFolder();
        CUserDirectory users = where.MakeUserDirectory();
        UserHandle user = 0;
        if (!users.FindUserByName(*name, user))
            CUserCommands::AddUser(users, *name);
        // An unreadable journal is refused rather than written over.
        OpenUserJournal(users, *name, journal);
        if (!CFoodDBFile::SetPaths(foods, users, journal.FilePath()))
            foods.SetPaths(fs::path(journal.FolderPath()) / kFoodDbFileName, journal.FolderPath());
    } else {
        const fs::path file = *line.Option("journal");
        SetJournalPath(journal, file);
        foods.SetPaths(file.parent_path() / kFoodDbFileName, file.parent_path());
        dataFolder = locations().DataFolder();
    }
    // The user's food database, else the default one; the generator has its own list when
    // neither has a food.
    CFoodDBFile foodFile(EFoodFileMode::Desktop, dataFolder);
    if (foodFile.Load(foods) == EFoodLoadResult::Failed)
        foods.DeleteAllGroups();

    CDemoJournal::Fill(journal, foods, options);
    std::string error;
    if (!CJournalFile::Write(journal, &error))
        throw CToolFailure("The journal " + journal.FilePath() + " could not be written: " + error);
    out << "Wrote " << options.days << " days (" << IsoDateText(journal.Day(0).Date()) << " to "
        << IsoDateText(options.lastDay) << ") to " << journal.FilePath() << '\n';
}

void CJournalCommands::Trend(const std::vector<std::string>& words,
                             const LocationsSource& locations, std::ostream& out) {
    const CCommandLine line(words, {"user", "journal", "date"});
    line.ExpectPositional(0, "trend (--user NAME | --journal FILE) [--date YYYY-MM-DD]");
    CheckOneSource(line);

    CJournalDate end = CJournalDate::Today();
    if (const auto date = line.Option("date")) {
        const auto parsed = CClock::ParseIsoDate(*date);
        if (!parsed)
            throw CToolFailure("The date " + *date + " is not a date of the form YYYY-MM-DD.");
        end = CJournalDate(parsed->day, parsed->month, parsed->year);
    }
    CJournalDB journal;
    if (const auto name = UserOption(line))
        OpenUserJournal(locations().MakeUserDirectory(), *name, journal);
    else
        ReadJournalFile(*line.Option("journal"), journal);
    out << TrendStatement(journal, end) << '\n';
}

} // namespace fitquill
