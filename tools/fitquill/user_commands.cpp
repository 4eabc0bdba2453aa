// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill/user_commands.h"

#include "tools/common/command_line.h"
#include "tools/common/terminal_text.h"

namespace fitquill {
namespace {

void ListUsers(const CUserDirectory& users, std::ostream& out) {
    const int count = users.UserCount();
    for (int index = 0; index < count; ++index) {
        UserHandle user = 0;
        std::string name;
        if (!users.GetUserHandle(index, user) || !users.GetUserName(user, name))
            throw CToolFailure("The user list could not be read.");
        out << TerminalText(name) << '\n';
    }
    // The names read before damage are shown, but the damage must not pass unnoticed.
    if (!users.ListLoaded())
        throw CToolFailure(users.LastError().empty() ? "The user list could not be read in full."
                                                     : users.LastError());
}

} // namespace

UserHandle CUserCommands::FindUser(const CUserDirectory& users, const std::string& name) {
    UserHandle user = 0;
    if (!users.FindUserByName(name, user))
        throw CToolFailure("There is no user named '" + TerminalText(name) + "'.");
    return user;
}

void CUserCommands::AddUser(CUserDirectory& users, const std::string& name) {
    UserHandle user = 0;
    if (users.FindUserByName(name, user) || !users.AddUser(name))
        throw CToolFailure(kAddUserFailedText);
}

void CUserCommands::Run(const std::vector<std::string>& words, const CProgramLocations& locations,
                        std::ostream& out) {
    struct SAction {
        const char* name;
        size_t arguments;
        const char* usage;
    };
    static constexpr SAction kActions[] = {
        {"list", 0, "users list"},
        {"add", 1, "users add NAME"},
        {"rename", 2, "users rename OLD NEW"},
        {"delete", 1, "users delete NAME"},
    };
    if (words.empty())
        throw CToolFailure("Usage: fitquill users list|add|rename|delete ...");
    const std::string& action = words.front();
    const SAction* known = nullptr;
    for (const SAction& candidate : kActions)
        if (action == candidate.name)
            known = &candidate;
    if (known == nullptr)
        throw CToolFailure("Unknown users command '" + action + "' (see fitquill --help).");
    const CCommandLine line(std::vector<std::string>(words.begin() + 1, words.end()), {});
    line.ExpectPositional(known->arguments, known->usage);
    std::vector<std::string> names;
    for (const std::string& typed : line.Positional())
        names.push_back(StoredText(typed, "The user name"));

    // Only now: opening the program's own list creates it when there is none.
    CUserDirectory users = locations.MakeUserDirectory();
    if (action == "list") {
        ListUsers(users, out);
    } else if (action == "add") {
        AddUser(users, names[0]);
    } else if (action == "rename") {
        if (!users.RenameUser(FindUser(users, names[0]), names[1]))
            throw CToolFailure(kRenameUserFailedText);
    } else if (!users.DeleteUser(FindUser(users, names[0]))) {
        throw CToolFailure(kDeleteUserFailedText);
    }
}

} // namespace fitquill
