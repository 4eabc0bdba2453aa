// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill-hotsync/hotsync_users.h"

#include "tools/common/terminal_text.h"
#include "tools/fitquill-hotsync/hotsync_arguments.h"

namespace fitquill {
namespace {

constexpr uint16_t kTextCapacity = 0xFFFF;

} // namespace

CHotSyncUsers::CHotSyncUsers(const std::filesystem::path& palmRoot) : m_store(palmRoot) {}

void CHotSyncUsers::Fail(const std::string& what, int32_t result) {
    std::string why;
    switch (result) {
    case kUserStoreDamaged:
    case kUserStoreFileError:
        why = m_store.LastError();
        break;
    case kUserStoreBadName:
        why = "the name cannot serve as a folder name";
        break;
    case kUserStoreDuplicateName:
        why = "another user has that name or ID";
        break;
    default:
        why = "error " + std::to_string(result);
        break;
    }
    throw CHotSyncFailure(what + ": " + why);
}

SHotSyncUser CHotSyncUsers::Describe(UserHandle user) {
    SHotSyncUser found;
    uint16_t size = kTextCapacity;
    int32_t result = m_store.GetUserName(user, found.name, size);
    if (result <= 0)
        Fail("Cannot read the HotSync user", result);
    if ((result = m_store.GetUserId(user, found.id)) != 0)
        Fail("Cannot read the ID of the HotSync user " + found.name, result);
    std::string root, folder;
    size = kTextCapacity;
    if ((result = m_store.GetUsersRoot(root, size)) <= 0)
        Fail("Cannot read the Palm Desktop folder", result);
    size = kTextCapacity;
    if ((result = m_store.GetUserFolderName(user, folder, size)) < 0)
        Fail("Cannot read the folder of the HotSync user " + found.name, result);
    found.folderText = root + folder;
    found.folderText += static_cast<char>(std::filesystem::path::preferred_separator);
    found.folder = std::filesystem::path(root) / folder;
    return found;
}

SHotSyncUser CHotSyncUsers::ByName(std::string_view name) {
    UserHandle user = 0;
    const int32_t result = m_store.FindUserByName(name, user);
    if (result == kUserStoreNoSuchUser)
        throw CHotSyncFailure("There is no HotSync user '" + TerminalText(name) + "'.");
    if (result != 0)
        Fail("Cannot read the HotSync users", result);
    return Describe(user);
}

SHotSyncUser CHotSyncUsers::ForHandheld(SHandheld& handheld, std::vector<std::string>& notes) {
    if (handheld.userName.empty() || handheld.userId == 0)
        throw CHotSyncFailure("The handheld in " + handheld.folder.string() +
                              " has no user (see fitquill-hotsync init-handheld).");

    std::string name;
    uint16_t size = kTextCapacity;
    int32_t result = m_store.GetUserName(handheld.userId, name, size);
    if (result > 0) {
        SHotSyncUser user = Describe(handheld.userId);
        if (user.name != handheld.userName) {
            // The desktop is where users are renamed.
            SHandheld renamed = handheld;
            renamed.userName = user.name;
            std::string error;
            if (!SaveHandheldUser(renamed, &error))
                throw CHotSyncFailure("Cannot rename the handheld's user to " + user.name + ": " +
                                      error);
            notes.push_back("Handheld user " + handheld.userName + " renamed to " + user.name);
            handheld = renamed;
        }
        return user;
    }
    if (result != kUserStoreNoSuchUser)
        Fail("Cannot read the HotSync users", result);

    UserHandle existing = 0;
    result = m_store.FindUserByName(handheld.userName, existing);
    if (result == 0) {
        SHotSyncUser user = Describe(existing);
        SHandheld adopted = handheld;
        adopted.userId = user.id;
        std::string error;
        if (!SaveHandheldUser(adopted, &error))
            throw CHotSyncFailure("Cannot give the handheld the user ID of " +
                                  TerminalText(user.name) + ": " + error);
        notes.push_back("Handheld user " + user.name + " now has user ID " +
                        std::to_string(user.id));
        handheld = adopted;
        return user;
    }
    if (result != kUserStoreNoSuchUser)
        Fail("Cannot read the HotSync users", result);

    result = m_store.AddUserWithId(handheld.userName, handheld.userId);
    if (result != 0)
        Fail("Cannot add the HotSync user " + handheld.userName, result);
    notes.push_back("New HotSync user " + handheld.userName);
    return Describe(handheld.userId);
}

} // namespace fitquill
