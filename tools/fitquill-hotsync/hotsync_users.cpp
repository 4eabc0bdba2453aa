// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill-hotsync/hotsync_users.h"

#include "core/io/atomic_file.h"
#include "tools/common/terminal_text.h"
#include "tools/fitquill-hotsync/hotsync_arguments.h"

#include <charconv>

namespace fitquill {
namespace {

constexpr uint16_t kTextCapacity = 0xFFFF;

} // namespace

CHotSyncUsers::CHotSyncUsers(const SHotSyncUserSource& source) : m_store(source.palmRoot) {
    if (source.palmRoot)
        return;
    if (source.installPath.empty())
        throw CHotSyncFailure("No folder for the users: set HOME, XDG_DATA_HOME, the setting "
                              "InstallPath/Name, or a Palm Desktop folder (FITQUILL_PALM_ROOT "
                              "or the setting InstallPath/PalmDesktop).");
    m_own = std::make_unique<CUserDirectory>(std::make_shared<CUnavailableUserLibrary>(),
                                             SInstallPath{true, source.installPath});
    if (!m_own->ListLoaded())
        throw CHotSyncFailure("Cannot read the user list: " + m_own->LastError());
    m_ownLibrary = std::make_unique<CUserDirectoryLibrary>(*m_own);
}

IUserLibrary& CHotSyncUsers::Library() {
    if (m_ownLibrary)
        return *m_ownLibrary;
    return m_store;
}

std::vector<std::pair<uint32_t, std::string>> CHotSyncUsers::ReadIds() const {
    std::vector<std::pair<uint32_t, std::string>> ids;
    const auto bytes =
        ReadWholeFile(std::filesystem::path(m_own->FallbackUsersRoot()) / kIdFileName);
    if (!bytes)
        return ids;
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos)
            continue;
        uint32_t id = 0;
        const auto [at, error] = std::from_chars(line.data(), line.data() + tab, id);
        // A line that is not "ID TAB name" is skipped: the worst is a handheld matched by name.
        if (error == std::errc() && at == line.data() + tab && id != 0)
            ids.emplace_back(id, std::string(line.substr(tab + 1)));
    }
    return ids;
}

void CHotSyncUsers::KeepId(uint32_t id, const std::string& name) {
    std::string text;
    for (const auto& [keptId, keptName] : ReadIds())
        if (keptId != id && keptName != name)
            text += std::to_string(keptId) + '\t' + keptName + '\n';
    text += std::to_string(id) + '\t' + name + '\n';
    std::string error;
    if (!ReplaceFileAtomically(std::filesystem::path(m_own->FallbackUsersRoot()) / kIdFileName,
                               text, &error))
        throw CHotSyncFailure("Cannot keep the handheld's user ID: " + error);
}

SHotSyncUser CHotSyncUsers::OwnUser(UserHandle user, uint32_t id) {
    SHotSyncUser found;
    std::string root, folder;
    if (!m_own->GetUserName(user, found.name, kTextCapacity) ||
        !m_own->GetUsersRoot(root, kTextCapacity) ||
        !m_own->GetUserFolderName(user, folder, kTextCapacity))
        throw CHotSyncFailure("Cannot read the user list: " + m_own->LastError());
    found.id = id;
    constexpr char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    if (!root.empty() && root.back() != separator)
        root += separator;
    found.folderText = root + folder + separator;
    found.folder = std::filesystem::path(root) / folder;
    return found;
}

SHotSyncUser CHotSyncUsers::OwnForHandheld(SHandheld& handheld, std::vector<std::string>& notes) {
    UserHandle user = 0;
    for (const auto& [id, name] : ReadIds()) {
        if (id != handheld.userId || !m_own->FindUserByName(name, user))
            continue;
        SHotSyncUser found = OwnUser(user, id);
        if (found.name != handheld.userName) {
            // The desktop is where users are renamed.
            SHandheld renamed = handheld;
            renamed.userName = found.name;
            std::string error;
            if (!SaveHandheldUser(renamed, &error))
                throw CHotSyncFailure("Cannot rename the handheld's user to " +
                                      TerminalText(found.name) + ": " + error);
            notes.push_back("Handheld user " + handheld.userName + " renamed to " + found.name);
            handheld = renamed;
        }
        return found;
    }
    if (!m_own->FindUserByName(handheld.userName, user)) {
        if (!m_own->AddUser(handheld.userName) || !m_own->FindUserByName(handheld.userName, user))
            throw CHotSyncFailure("Cannot add the user " + TerminalText(handheld.userName) + ": " +
                                  (m_own->LastError().empty()
                                       ? std::string("the name cannot serve as a folder name")
                                       : m_own->LastError()));
        notes.push_back("New HotSync user " + handheld.userName);
    }
    KeepId(handheld.userId, handheld.userName);
    return OwnUser(user, handheld.userId);
}

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
    if (m_own) {
        if (!m_own->FindUserByName(name, user))
            throw CHotSyncFailure("There is no HotSync user '" + TerminalText(name) + "'.");
        uint32_t id = 0;
        for (const auto& [keptId, keptName] : ReadIds())
            if (keptName == name)
                id = keptId;
        return OwnUser(user, id);
    }
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
    if (m_own)
        return OwnForHandheld(handheld, notes);

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
