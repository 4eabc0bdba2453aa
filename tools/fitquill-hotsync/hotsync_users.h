// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/palm/handheld.h"
#include "platform/palm/user_store.h"

#include <cstdint>
#include <filesystem>
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

// The HotSync users, as the HotSync Manager matches handhelds to them. Failures raise
// CHotSyncFailure.
class CHotSyncUsers {
public:
    explicit CHotSyncUsers(const std::filesystem::path& palmRoot);

    // The user of a handheld. The user ID decides: a desktop user with the handheld's ID is
    // its user, and a name changed on the desktop is given to the handheld. Else a desktop
    // user of the handheld's name is its user, and the handheld takes that user's ID. Else the
    // handheld's user becomes a new HotSync user, with the handheld's ID and a new folder.
    // `notes` receives a line for each of these changes.
    SHotSyncUser ForHandheld(SHandheld& handheld, std::vector<std::string>& notes);
    // The user of that name.
    SHotSyncUser ByName(std::string_view name);

private:
    SHotSyncUser Describe(UserHandle user);
    [[noreturn]] void Fail(const std::string& what, int32_t result);

    CUserStore m_store;
};

} // namespace fitquill
