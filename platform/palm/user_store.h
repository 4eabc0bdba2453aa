// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/users/user_library.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// Failure results of CUserStore besides kUserLibraryUnavailable (no Palm Desktop folder).
constexpr int32_t kUserStoreNoSuchUser = -1;
constexpr int32_t kUserStoreNoRoom = -2; // the text does not fit the caller's buffer
constexpr int32_t kUserStoreDuplicateName = -3;
constexpr int32_t kUserStoreBadName = -4; // not usable as a folder name
constexpr int32_t kUserStoreFileError = -5;
constexpr int32_t kUserStoreDamaged = -6; // the index file cannot be read
constexpr int32_t kUserStoreFull = -7;    // no user ID left

// The environment variable that names the Palm Desktop folder when no setting does.
inline constexpr char kPalmRootVariable[] = "FITQUILL_PALM_ROOT";

// The Palm Desktop user library: HotSync users with a name, a numeric user ID and a data
// folder below the Palm Desktop folder, which is also the users root. A user handle is the
// user's ID. Adding a user creates its folder (named after the user, with a number appended
// when that folder is taken); deleting removes the folder with everything in it; renaming keeps
// the folder.
//
// The users are listed in the index file "users.idx" in the Palm Desktop folder, a text file:
//   FitquillUsers 1
//   <user ID in decimal> TAB <folder name> TAB <user name>      (one line per user, LF ends it)
// Names and folder names hold no control characters, so neither tab nor line feed occurs in
// them. The file is re-read on every call, so that the desktop program and the HotSync stand-in
// see each other's changes, and replaced atomically on every change. A damaged index file is
// never overwritten: every call then fails with kUserStoreDamaged.
class CUserStore final : public IUserLibrary {
public:
    // No folder: the library cannot serve users here, and answers every call with
    // kUserLibraryUnavailable (the user count with 0).
    explicit CUserStore(std::optional<std::filesystem::path> palmRoot);

    // The Palm Desktop folder named by the setting, else by FITQUILL_PALM_ROOT; an empty value
    // names none.
    static std::optional<std::filesystem::path> PalmRoot(std::string_view setting);

    int32_t UserCount() override;
    int32_t GetUserHandle(int32_t index, UserHandle& user) override;
    int32_t GetUserName(UserHandle user, std::string& name, uint16_t& size) override;
    int32_t GetUserFolderName(UserHandle user, std::string& folder, uint16_t& size) override;
    int32_t GetUsersRoot(std::string& root, uint16_t& size) override;
    int32_t RenameUser(UserHandle user, std::string_view newName) override;
    int32_t AddUser(std::string_view name) override;
    int32_t DeleteUser(UserHandle user) override;
    int32_t FindUserByName(std::string_view name, UserHandle& user) override;
    int32_t FindUserByPath(std::string_view path, UserHandle& user) override;

    // The HotSync stand-in registers a handheld's user under the handheld's user ID.
    int32_t AddUserWithId(std::string_view name, uint32_t id);
    int32_t GetUserId(UserHandle user, uint32_t& id);

    // A readable reason for the last failure of a file operation.
    const std::string& LastError() const { return m_lastError; }

private:
    struct SUser {
        uint32_t id = 0;
        std::string folder;
        std::string name;
    };

    int32_t Load(std::vector<SUser>& users);
    int32_t Save(const std::vector<SUser>& users);
    int32_t Add(std::string_view name, std::optional<uint32_t> id);
    std::filesystem::path IndexPath() const;
    std::string UsersRootText() const;

    std::optional<std::filesystem::path> m_root;
    std::string m_lastError;
};

} // namespace fitquill
