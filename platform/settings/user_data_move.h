// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace fitquill {

// What moving the users of an earlier build did.
struct SUserDataMove {
    enum class EOutcome {
        Nothing,     // no users were left in the data folder
        Moved,       // they are now below the installation path
        LeftInPlace, // the installation path already holds users: nothing was overwritten
        Failed,      // the move failed; the users stay where they were
    };
    EOutcome outcome = EOutcome::Nothing;
    std::filesystem::path from; // the users folder that was found
    std::filesystem::path to;   // where it belongs
    std::string error;          // why it failed

    // The sentence that tells the user; empty for Nothing.
    std::string Message() const;
};

// Earlier builds kept the program's own user list and the user folders below the data folder
// (a build tree's share/fitquill). Moves that users folder, whole, to its place below the
// installation path, unless the two are one. Never copies and keeps both, never overwrites:
// when the new place already holds users, both stay as they are. A new place that holds only
// an empty user list (made by a program that started before this move) counts as free.
SUserDataMove MoveEarlierUserData(const std::filesystem::path& dataFolder,
                                  const std::filesystem::path& installPath);

// The account's home folder as the system's account database names it, not $HOME; empty when
// unknown.
std::filesystem::path AccountHomeFolder();

// What a program does at start: MoveEarlierUserData, but only when the installation path is the
// account's own default, <accountHome>/.local/share/fitquill. Tests and sandboxes point HOME,
// XDG_DATA_HOME or the setting at folders of their own, often inside the build tree and so
// inside the account's home; a program started there must not carry a real build tree's users
// into a folder that is deleted with the test. Elsewhere the users stay where they are.
SUserDataMove
MoveEarlierUserDataAtStart(const std::filesystem::path& dataFolder,
                           const std::filesystem::path& installPath,
                           const std::filesystem::path& accountHome = AccountHomeFolder());

} // namespace fitquill
