// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill-hotsync/hotsync_tool.h"

#include "conduit/conduit_api.h"
#include "platform/palm/handheld.h"
#include "platform/palm/user_store.h"
#include "platform/settings/program_locations.h"
#include "platform/settings/settings_store.h"
#include "tools/common/terminal_text.h"
#include "tools/fitquill-hotsync/conduit_actions.h"
#include "tools/fitquill-hotsync/conduit_module.h"
#include "tools/fitquill-hotsync/conduit_records.h"
#include "tools/fitquill-hotsync/conduit_registry.h"
#include "tools/fitquill-hotsync/hotsync_arguments.h"
#include "tools/fitquill-hotsync/hotsync_operation.h"
#include "tools/fitquill-hotsync/hotsync_users.h"
#include "tools/fitquill-hotsync/process_environment.h"

#include <cstdio>
#include <exception>
#include <limits>
#include <system_error>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

// The Palm Desktop folder when one is configured, else the program's own users: the same
// users that Fitquill Desktop, `fitquill` and the conduits see.
SHotSyncUserSource UserSource(const char* argv0) {
    const CProgramLocations locations = CProgramLocations::FromProcess(argv0);
    return {locations.PalmRoot(), locations.InstallPath()};
}

CConduitRegistry LoadRegistry(const char* argv0) {
    fs::path file;
    if (auto named = ProcessVariable(CConduitRegistry::kFileVariable); named && !named->empty()) {
        file = *named;
    } else {
        const fs::path programFolder = RunningProgramFolder(argv0);
        const auto found = CConduitRegistry::Locate(programFolder);
        if (!found)
            throw CHotSyncFailure("No conduit registrations (" +
                                  std::string(CConduitRegistry::kFileName) +
                                  ") found for the program in " + programFolder.string() + ".");
        file = *found;
    }
    CConduitRegistry registry;
    std::string error;
    if (!registry.Load(file, &error))
        throw CHotSyncFailure(error);
    return registry;
}

void InitHandheld(const std::vector<std::string>& words, std::ostream& out) {
    const CHotSyncArguments line(words, {"user", "id"});
    line.ExpectPositional(1, "init-handheld DIR --user NAME --id N");
    SHandheld handheld;
    handheld.folder = line.Positional()[0];
    handheld.userName = StoredText(line.RequiredOption("user"), "The user name");
    handheld.userId = static_cast<uint32_t>(CHotSyncArguments::ParseUnsigned(
        line.RequiredOption("id"), "The user ID", 1, std::numeric_limits<uint32_t>::max()));
    if (handheld.userName.empty())
        throw CHotSyncFailure("The handheld's user name is empty.");

    std::error_code ec;
    if (fs::exists(handheld.folder, ec) && !fs::is_empty(handheld.folder, ec))
        throw CHotSyncFailure(handheld.folder.string() +
                              " is not empty: a handheld is made in a new or empty folder.");
    if (!fs::create_directories(handheld.folder, ec) && ec)
        throw CHotSyncFailure("Cannot create " + handheld.folder.string() + ": " + ec.message());
    std::string error;
    if (!SaveHandheldUser(handheld, &error))
        throw CHotSyncFailure("Cannot make the handheld: " + error);
    out << "Handheld of " << TerminalText(handheld.userName) << " (user ID " << handheld.userId
        << ") in " << handheld.folder.string() << "\n";
}

constexpr const char* kLockWaitVariable = "FITQUILL_HOTSYNC_LOCK_WAIT_MS";

int Sync(const char* argv0, const std::vector<std::string>& words, std::ostream& out,
         std::ostream& err) {
    const CHotSyncArguments line(words, {"action"});
    line.ExpectPositional(1, "sync DIR [--action sync|handheld|desktop|none]");
    std::optional<int32_t> action;
    if (auto name = line.Option("action")) {
        action = CConduitActionStore::ParseActionName(*name);
        if (!action)
            throw CHotSyncFailure("Unknown HotSync action '" + *name +
                                  "': use sync, handheld, desktop or none.");
    }
    const CConduitRegistry registry = LoadRegistry(argv0);
    CHotSyncOperation operation(line.Positional()[0], UserSource(argv0), registry);
    if (auto wait = ProcessVariable(kLockWaitVariable); wait && !wait->empty())
        operation.SetLockWait(std::chrono::milliseconds(
            CHotSyncArguments::ParseUnsigned(*wait, kLockWaitVariable, 0, 600000)));
    const CHotSyncOperation::SResult result = operation.Run(action);
    for (const std::string& logLine : result.logLines)
        out << TerminalText(logLine) << "\n";
    out.flush();
    if (!result.logError.empty()) {
        err << OneLine("The HotSync log could not be saved: " + result.logError) << "\n";
        return 1;
    }
    if (result.aborted) {
        err << "The HotSync operation ended with errors (see the log above).\n";
        return 1;
    }
    return 0;
}

void Configure(const char* argv0, const std::vector<std::string>& words, std::ostream& out) {
    const CHotSyncArguments line(words, {"conduit", "user"});
    line.ExpectPositional(0, "configure --conduit NAME --user NAME");
    const CConduitRegistry registry = LoadRegistry(argv0);
    const std::string conduitName = line.RequiredOption("conduit");
    const SConduitRegistration* conduit = registry.Find(conduitName);
    if (conduit == nullptr)
        throw CHotSyncFailure("No conduit '" + conduitName +
                              "' is registered (see fitquill-hotsync conduits).");
    CHotSyncUsers users(UserSource(argv0));
    const SHotSyncUser user =
        users.ByName(StoredText(line.RequiredOption("user"), "The user name"));

    std::string error;
    const CConduitActionStore store(user.folder);
    SConduitActions kept;
    if (!store.Read(conduit->name, kept, &error))
        throw CHotSyncFailure("Cannot read the HotSync actions: " + error);
    CConduitModule module;
    if (!module.Load(conduit->module, &error))
        throw CHotSyncFailure("Cannot load the conduit " + conduit->name + ": " + error);
    if (module.cfgConduit == nullptr)
        throw CHotSyncFailure("The conduit " + conduit->name + " cannot be configured.");

    const int32_t defaultAction = module.DefaultAction();
    const int32_t permanent = kept.permanent.value_or(defaultAction);
    const int32_t next = kept.next.value_or(permanent);
    std::vector<uint8_t> record =
        CConduitRecords::Configuration(conduit->creatorId, user.id, user.name, permanent, next);
    uint32_t size = kConfigurationSize;
    const int32_t status = module.cfgConduit(0, record.data(), &size);
    if (status != 0) {
        char code[16];
        std::snprintf(code, sizeof code, "0x%X", static_cast<unsigned>(status));
        throw CHotSyncFailure("The conduit " + conduit->name +
                              " refused the configuration (error " + code + ").");
    }

    const auto answer = CConduitRecords::ConfigurationAnswer(record);
    const std::string who = conduit->name + " for " + TerminalText(user.name);
    if (!answer) {
        out << who << ": unchanged, " << CConduitActionStore::Describe(next) << "\n";
        return;
    }
    const bool permanently = answer->kind == kPreferencePermanent;
    const bool stored = permanently ? store.SetPermanent(conduit->name, answer->action, &error)
                                    : store.SetNext(conduit->name, answer->action, &error);
    if (!stored)
        throw CHotSyncFailure("Cannot keep the HotSync action: " + error);
    out << who << ": " << CConduitActionStore::Describe(answer->action)
        << (permanently ? " (default)" : " (next HotSync operation only)") << "\n";
}

void ListConduits(const char* argv0, const std::vector<std::string>& words, std::ostream& out) {
    const CHotSyncArguments line(words, {});
    line.ExpectPositional(0, "conduits");
    const CConduitRegistry registry = LoadRegistry(argv0);
    for (const SConduitRegistration& conduit : registry.Conduits())
        out << conduit.name << "\t" << conduit.creator << "\t" << conduit.remoteDatabase << "\t"
            << conduit.localName << "\t" << conduit.module.string() << "\n";
}

} // namespace

const char* const CHotSyncTool::kUsage =
    "Usage: fitquill-hotsync COMMAND [ARGUMENTS]\n"
    "\n"
    "Plays the HotSync Manager for handhelds kept as folders of Palm database files.\n"
    "\n"
    "  init-handheld DIR --user NAME --id N\n"
    "                        make a new handheld in DIR (new or empty) for the user NAME with\n"
    "                        the user ID N (1 to 4294967295); it holds no databases yet\n"
    "  sync DIR [--action sync|handheld|desktop|none]\n"
    "                        one HotSync operation for the handheld in DIR: find or add its\n"
    "                        HotSync user, back up both sides (the last five backups are kept),\n"
    "                        install the files queued for the user, run every registered\n"
    "                        conduit and print the HotSync log of the operation. Without\n"
    "                        --action each conduit runs with its action for the next HotSync\n"
    "                        operation (then spent), else its default action\n"
    "                          sync      synchronize the files\n"
    "                          handheld  handheld overwrites desktop\n"
    "                          desktop   desktop overwrites handheld\n"
    "                          none      do nothing\n"
    "  configure --conduit NAME --user NAME\n"
    "                        show the conduit's \"Change HotSync Action\" dialog for the user\n"
    "                        and keep the choice (as the default, or for the next HotSync\n"
    "                        operation only)\n"
    "  conduits              list the registered conduits, one a line: name, creator ID,\n"
    "                        remote database, local name, module\n"
    "\n"
    "Environment:\n"
    "  FITQUILL_PALM_ROOT    the Palm Desktop folder with the HotSync users, unless the setting\n"
    "                        InstallPath/PalmDesktop names one; without either the HotSync\n"
    "                        users are Fitquill's own users (below the setting InstallPath/Name,\n"
    "                        else $XDG_DATA_HOME/fitquill or ~/.local/share/fitquill)\n"
    "  FITQUILL_CONDUITS     a conduit registration file to use instead of the installed one\n"
    "  FITQUILL_TODAY        today's date, YYYY-MM-DD\n"
    "  FITQUILL_HOTSYNC_LOCK_WAIT_MS\n"
    "                        how long a HotSync operation waits while another one of the same\n"
    "                        user runs (default 5000)\n"
    "  XDG_CONFIG_HOME       where the settings file Quorvel/Fitquill.conf is found\n"
    "\n"
    "The exit status is 0 on success; on failure it is 1 and standard error holds one line.\n"
    "A HotSync operation in which a conduit failed is a failure.\n";

int CHotSyncTool::Run(const char* argv0, const std::vector<std::string>& arguments,
                      std::ostream& out, std::ostream& err) {
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h" ||
        arguments[0] == "help") {
        out << kUsage;
        return 0;
    }
    const std::string& command = arguments[0];
    const std::vector<std::string> words(arguments.begin() + 1, arguments.end());
    try {
        if (command == "init-handheld")
            InitHandheld(words, out);
        else if (command == "sync")
            return Sync(argv0, words, out, err);
        else if (command == "configure")
            Configure(argv0, words, out);
        else if (command == "conduits")
            ListConduits(argv0, words, out);
        else
            throw CHotSyncFailure("Unknown command '" + command +
                                  "' (see fitquill-hotsync --help).");
    } catch (const CHotSyncFailure& failure) {
        out.flush();
        err << OneLine(failure.what()) << '\n';
        return 1;
    } catch (const std::exception& error) {
        out.flush();
        err << OneLine(std::string("Unexpected failure: ") + error.what()) << '\n';
        return 1;
    }
    return 0;
}

} // namespace fitquill
