// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/users/user_directory_library.h"

namespace fitquill {
namespace {

// The library's failure code for anything the directory refuses: the callers only tell
// success from failure.
constexpr int32_t kRefused = -1;

int32_t TextResult(bool found, const std::string& text, uint16_t& size) {
    if (!found)
        return kRefused;
    size = static_cast<uint16_t>(text.size() + 1);
    return size;
}

} // namespace

int32_t CUserDirectoryLibrary::UserCount() {
    return m_users.UserCount();
}

int32_t CUserDirectoryLibrary::GetUserHandle(int32_t index, UserHandle& user) {
    return m_users.GetUserHandle(index, user) ? 0 : kRefused;
}

int32_t CUserDirectoryLibrary::GetUserName(UserHandle user, std::string& name, uint16_t& size) {
    return TextResult(m_users.GetUserName(user, name, size), name, size);
}

int32_t CUserDirectoryLibrary::GetUserFolderName(UserHandle user, std::string& folder,
                                                 uint16_t& size) {
    const int32_t result = TextResult(m_users.GetUserFolderName(user, folder, size), folder, size);
    return result > 0 ? 0 : result;
}

int32_t CUserDirectoryLibrary::GetUsersRoot(std::string& root, uint16_t& size) {
    return TextResult(m_users.GetUsersRoot(root, size) && !root.empty(), root, size);
}

int32_t CUserDirectoryLibrary::RenameUser(UserHandle user, std::string_view newName) {
    return m_users.RenameUser(user, newName) ? 0 : kRefused;
}

int32_t CUserDirectoryLibrary::AddUser(std::string_view name) {
    return m_users.AddUser(name) ? 0 : kRefused;
}

int32_t CUserDirectoryLibrary::DeleteUser(UserHandle user) {
    return m_users.DeleteUser(user) ? 0 : kRefused;
}

int32_t CUserDirectoryLibrary::FindUserByName(std::string_view name, UserHandle& user) {
    return m_users.FindUserByName(name, user) ? 0 : kRefused;
}

int32_t CUserDirectoryLibrary::FindUserByPath(std::string_view path, UserHandle& user) {
    return m_users.FindUserByPath(path, user) ? 0 : kRefused;
}

} // namespace fitquill
