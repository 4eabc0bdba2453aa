// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill/fitquill_tool.h"

#include "core/internal_error.h"
#include "core/report/logbook_report.h"
#include "core/report/meal_log_rows.h"
#include "platform/settings/user_data_move.h"
#include "tools/common/command_line.h"
#include "tools/common/terminal_text.h"
#include "tools/fitquill/food_commands.h"
#include "tools/fitquill/journal_commands.h"
#include "tools/fitquill/user_commands.h"

#include <exception>
#include <memory>
#include <optional>

namespace fitquill {
namespace {

// A message on one line, whatever a lower layer put into it.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

void Dump(const std::vector<std::string>& words, std::ostream& out) {
    const CCommandLine line(words, {"journal", "food"});
    line.ExpectPositional(0, "dump (--journal FILE | --food FILE)");
    const auto journal = line.Option("journal");
    const auto food = line.Option("food");
    if (journal.has_value() == food.has_value())
        throw CToolFailure("Give either --journal FILE or --food FILE.");
    if (journal)
        CJournalCommands::DumpJournal(*journal, out);
    else
        CFoodCommands::DumpFood(*food, out);
}

// The logbook of today (FITQUILL_TODAY), as the Logbook page and its printed report show it.
void Logbook(const std::vector<std::string>& words, std::ostream& out) {
    const CCommandLine line(words, {"journal"});
    line.ExpectPositional(0, "logbook --journal FILE");
    CJournalDB journal;
    CJournalCommands::ReadJournalFile(line.RequiredOption("journal"), journal);
    journal.GoToDate(CJournalDate::Today());
    for (const SReportSection& section : LogbookSections(journal)) {
        out << TerminalText(section.heading) << '\n';
        for (const SReportLine& row : section.lines)
            out << "  " << TerminalText(row.sentence ? row.value : row.label + " " + row.value)
                << '\n';
    }
}

// Today's meal log as the Meal Log page lists it (meals in order), one row a line: the row's
// non-empty texts separated by tabs, the food's name first and its calories third.
void MealLog(const std::vector<std::string>& words, std::ostream& out) {
    const CCommandLine line(words, {"journal"});
    line.ExpectPositional(0, "meal-log --journal FILE");
    CJournalDB journal;
    CJournalCommands::ReadJournalFile(line.RequiredOption("journal"), journal);
    const int position = journal.FindDay(CJournalDate::Today());
    CDayRecord* day = position < 0 ? nullptr : &journal.Day(position);
    const CMealLogRowRenderer rows(false);
    for (int row = 1; row < rows.RowCount(day, 0); ++row) {
        const SMealLogRow texts = rows.Row(day, 0, row);
        std::string text;
        for (const auto& cells : texts.lines)
            for (const std::string& cell : cells)
                if (cell.find_first_not_of(' ') != std::string::npos)
                    text += (text.empty() ? "" : "\t") + cell;
        out << text << '\n';
    }
}

} // namespace

const char* const CFitquillTool::kUsage =
    "Usage: fitquill COMMAND [ARGUMENTS]\n"
    "\n"
    "A headless companion for the Fitquill desktop files: users, journals and food databases.\n"
    "\n"
    "Users (the Palm Desktop users when a Palm Desktop folder is set, else the program's own\n"
    "list Users.udb):\n"
    "  users list                 print the user names, one a line, in list order\n"
    "  users add NAME             add a user\n"
    "  users rename OLD NEW       rename a user\n"
    "  users delete NAME          delete a user and the user's Fitquill files\n"
    "\n"
    "Journals:\n"
    "  export-user-data (--user NAME | --journal FILE) [--out FILE.csv]\n"
    "                             write the user data export, by default UserDB.csv beside\n"
    "                             the journal\n"
    "  dump --journal FILE        list everything a journal file holds\n"
    "  logbook --journal FILE     print today's logbook: weight, meals, BMR, exercise, goals,\n"
    "                             blood pressure and body measurements\n"
    "  meal-log --journal FILE    print today's meal log rows, one a line: the texts of a row\n"
    "                             (name, serving, calories, nutrients) separated by tabs\n"
    "  demo (--user NAME | --journal FILE) --days N [--seed S]\n"
    "                             replace the journal by a demonstration journal of N days\n"
    "                             ending today, the same for the same seed (default 1);\n"
    "                             --user adds the user when needed\n"
    "  trend (--user NAME | --journal FILE) [--date YYYY-MM-DD]\n"
    "                             print the weekly rate of the smoothed weight over the 14\n"
    "                             days up to the date (default today) and when it reaches\n"
    "                             the goal weight at that rate\n"
    "\n"
    "Food databases:\n"
    "  dump --food FILE           list everything a food database file holds\n"
    "  food export --db FILE [--out FILE.csv] [--group NAME [--category NAME]]\n"
    "                             export all groups, one group or one category as food data\n"
    "                             (by default to the database's path ending in .csv)\n"
    "  food import --db FILE --csv FILE.csv --mode 0|1|2|3 [--force]\n"
    "                             import food data and save the database; print the number\n"
    "                             of lines imported. A failed import leaves the file as it was.\n"
    "                             Mode 0 that would remove more than half of the foods needs\n"
    "                             --force.\n"
    "                               0  replace the entire food database\n"
    "                               1  replace the contents of each category in the file\n"
    "                               2  add items; imported items replace existing ones\n"
    "                               3  add items; existing items are kept\n"
    "  food find --db FILE TEXT   list the food items whose search name or category holds\n"
    "                             TEXT, one a line: group / category / item\n"
    "\n"
    "Environment:\n"
    "  FITQUILL_PALM_ROOT  the Palm Desktop folder, unless the setting InstallPath/PalmDesktop\n"
    "                      names one\n"
    "  FITQUILL_TODAY      today's date, YYYY-MM-DD\n"
    "  XDG_CONFIG_HOME     where the settings file Quorvel/Fitquill.conf is found\n"
    "  XDG_DATA_HOME       the program's own users live in $XDG_DATA_HOME/fitquill\n"
    "                      (default ~/.local/share/fitquill) unless the setting\n"
    "                      InstallPath/Name names another folder\n"
    "\n"
    "The exit status is 0 on success; on failure it is 1 and standard error holds one line.\n";

int CFitquillTool::Run(const char* argv0, const std::vector<std::string>& arguments,
                       std::ostream& out, std::ostream& err) {
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h" ||
        arguments[0] == "help") {
        out << kUsage;
        return 0;
    }
    // Only commands that name a user need the program's folders; the others touch nothing
    // but the files they are given.
    std::optional<CProgramLocations> locations;
    const CJournalCommands::LocationsSource whereProgram = [&]() -> const CProgramLocations& {
        if (!locations) {
            locations.emplace(CProgramLocations::FromProcess(argv0));
            const SUserDataMove move =
                MoveEarlierUserDataAtStart(locations->DataFolder(), locations->InstallPath());
            if (move.outcome != SUserDataMove::EOutcome::Nothing)
                err << move.Message() << '\n';
        }
        return *locations;
    };

    const std::string& command = arguments[0];
    const std::vector<std::string> words(arguments.begin() + 1, arguments.end());
    try {
        if (command == "users")
            CUserCommands::Run(words, whereProgram(), out);
        else if (command == "export-user-data")
            CJournalCommands::ExportUserData(words, whereProgram, out);
        else if (command == "dump")
            Dump(words, out);
        else if (command == "logbook")
            Logbook(words, out);
        else if (command == "meal-log")
            MealLog(words, out);
        else if (command == "demo")
            CJournalCommands::Demo(words, whereProgram, out);
        else if (command == "trend")
            CJournalCommands::Trend(words, whereProgram, out);
        else if (command == "food")
            CFoodCommands::Run(words, out);
        else
            throw CToolFailure("Unknown command '" + command + "' (see fitquill --help).");
    } catch (const CToolFailure& failure) {
        out.flush();
        err << OneLine(failure.what()) << '\n';
        return 1;
    } catch (const CInternalError& error) {
        out.flush();
        err << OneLine("Internal error " + std::to_string(error.Code()) + ": " + error.what())
            << '\n';
        return 1;
    } catch (const std::exception& error) {
        out.flush();
        err << OneLine(std::string("Unexpected failure: ") + error.what()) << '\n';
        return 1;
    }
    out.flush();
    return 0;
}

} // namespace fitquill
