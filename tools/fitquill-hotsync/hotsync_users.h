// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/users/user_directory.h"
#include "core/users/user_directory_library.h"
#include "platform/palm/handheld.h"
#include "platform/palm/user_store.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// A HotSync user of the Palm Desktop user store.
struct SHotSyncUser {
    uint32_t id = 0;
    std::string name;
    // The user's folder as the conduits see it: the users root and the folder name, ending
    // with a directory separator.
    std::string folderText;
    std::filesystem::path folder;
};

// Where the HotSync users come from: the Palm Desktop folder when one is configured, else the
// program's own user list below the installation path, the users that Fitquill Desktop and
// `fitquill` show.
struct SHotSyncUserSource {
    std::optional<std::filesystem::path> palmRoot;
    std::string installPath;
};

// The HotSync users, as the HotSync Manager matches handhelds to them. Failures raise
// CHotSyncFailure.
//
// On the program's own list the users have no Palm user ID of their own; the ID of each
// handheld that synchronised with a user is kept in kIdFileName in the users root
// ("ID TAB name" lines), so that a handheld keeps its user when the user list changes.
class CHotSyncUsers {
public:
    static constexpr const char* kIdFileName = "HotSync.ids";

    explicit CHotSyncUsers(const SHotSyncUserSource& source);

    // The user of a handheld. The user ID decides: a desktop user with the handheld's ID is
    // its user, and a name changed on the desktop is given to the handheld. Else a desktop
    // user of the handheld's name is its user, and the handheld takes that user's ID. Else the
    // handheld's user becomes a new HotSync user, with the handheld's ID and a new folder.
    // `notes` receives a line for each of these changes.
    SHotSyncUser ForHandheld(SHandheld& handheld, std::vector<std::string>& notes);
    // The user of that name.
    SHotSyncUser ByName(std::string_view name);

    // The users as the install aid reads them.
    IUserLibrary& Library();

private:
    SHotSyncUser Describe(UserHandle user);
    [[noreturn]] void Fail(const std::string& what, int32_t result);

    SHotSyncUser OwnUser(UserHandle user, uint32_t id);
    SHotSyncUser OwnForHandheld(SHandheld& handheld, std::vector<std::string>& notes);
    std::vector<std::pair<uint32_t, std::string>> ReadIds() const;
    void KeepId(uint32_t id, const std::string& name);

    CUserStore m_store;
    std::unique_ptr<CUserDirectory> m_own; // set when the program's own list serves the users
    std::unique_ptr<CUserDirectoryLibrary> m_ownLibrary;
};

} // namespace fitquill
