// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/settings/program_locations.h"

#include <ostream>
#include <string>
#include <vector>

namespace fitquill {

inline constexpr char kAddUserFailedText[] =
    "Could not add the user.  Make sure you are not inputting a duplicate name.";
inline constexpr char kRenameUserFailedText[] =
    "Could not rename the user.  Make sure you are not inputting a duplicate name.";
inline constexpr char kDeleteUserFailedText[] = "Could not delete the user.";

// "users list|add|rename|delete": the users of the user directory that the desktop program
// sees. Failures raise CToolFailure.
class CUserCommands {
public:
    // `words` follow "users".
    static void Run(const std::vector<std::string>& words, const CProgramLocations& locations,
                    std::ostream& out);

    // Adds the user when the directory has none of that name.
    static void AddUser(CUserDirectory& users, const std::string& name);
    static UserHandle FindUser(const CUserDirectory& users, const std::string& name);
};

} // namespace fitquill
