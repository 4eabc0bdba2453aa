// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/users/user_directory.h"
#include "core/users/user_library.h"

namespace fitquill {

// The user directory seen through the user library's calls, so that what serves HotSync users
// (the install aid, the HotSync stand-in) can work on the program's own user list when no Palm
// Desktop folder is configured. Handles, names and folders are the directory's; the directory
// must outlive this object.
class CUserDirectoryLibrary final : public IUserLibrary {
public:
    explicit CUserDirectoryLibrary(CUserDirectory& users) : m_users(users) {}

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

private:
    CUserDirectory& m_users;
};

} // namespace fitquill
