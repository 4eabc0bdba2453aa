// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace fitquill {

// A user of the user library; obtained from GetUserHandle, FindUserByName or FindUserByPath.
using UserHandle = uint32_t;

// The users-root answer of a library that cannot serve users on this machine.
constexpr int32_t kUserLibraryUnavailable = -521;

// The HotSync user library: which users exist, their names and their data folders. Every call
// returns a signed 32-bit result; the comment of each call says which results mean success.
// Text results take the caller's buffer size in `size` (bytes, counting the terminating zero
// byte); a text that does not fit is a failure. On success `size` holds the bytes stored,
// zero byte included.
// Only the user directory calls this interface; it must not show anything to the user.
class IUserLibrary {
public:
    virtual ~IUserLibrary() = default;

    // The number of users.
    virtual int32_t UserCount() = 0;
    // 0 = success.
    virtual int32_t GetUserHandle(int32_t index, UserHandle& user) = 0;
    // Above 0 = success.
    virtual int32_t GetUserName(UserHandle user, std::string& name, uint16_t& size) = 0;
    // 0 or above = success; the user's data folder relative to the users root.
    virtual int32_t GetUserFolderName(UserHandle user, std::string& folder, uint16_t& size) = 0;
    // Above 0 = success; the root ends with a directory separator. kUserLibraryUnavailable
    // when the library cannot serve users here.
    virtual int32_t GetUsersRoot(std::string& root, uint16_t& size) = 0;
    // The calls below: 0 = success. Adding and deleting create and remove the user's folder.
    virtual int32_t RenameUser(UserHandle user, std::string_view newName) = 0;
    virtual int32_t AddUser(std::string_view name) = 0;
    virtual int32_t DeleteUser(UserHandle user) = 0;
    virtual int32_t FindUserByName(std::string_view name, UserHandle& user) = 0;
    // The user whose data folder the path names (the folder itself or anything inside it).
    virtual int32_t FindUserByPath(std::string_view path, UserHandle& user) = 0;
};

// The library of a machine without one: the users root is refused with
// kUserLibraryUnavailable, so the user directory runs on its own list.
class CUnavailableUserLibrary final : public IUserLibrary {
public:
    int32_t UserCount() override { return 0; }
    int32_t GetUserHandle(int32_t, UserHandle&) override { return kUserLibraryUnavailable; }
    int32_t GetUserName(UserHandle, std::string&, uint16_t&) override {
        return kUserLibraryUnavailable;
    }
    int32_t GetUserFolderName(UserHandle, std::string&, uint16_t&) override {
        return kUserLibraryUnavailable;
    }
    int32_t GetUsersRoot(std::string&, uint16_t&) override { return kUserLibraryUnavailable; }
    int32_t RenameUser(UserHandle, std::string_view) override { return kUserLibraryUnavailable; }
    int32_t AddUser(std::string_view) override { return kUserLibraryUnavailable; }
    int32_t DeleteUser(UserHandle) override { return kUserLibraryUnavailable; }
    int32_t FindUserByName(std::string_view, UserHandle&) override {
        return kUserLibraryUnavailable;
    }
    int32_t FindUserByPath(std::string_view, UserHandle&) override {
        return kUserLibraryUnavailable;
    }
};

// Whether a user name can serve as a user's folder name: one non-empty folder level under the
// users root, never "." or "..", no directory separator, no control character, not blank and
// at most 255 bytes. Both the user directory and the library refuse other names, so nothing
// is ever created or removed outside the users root.
inline bool IsSafeFolderName(std::string_view name) {
    if (name.empty() || name.size() > 255 || name == "." || name == "..")
        return false;
    if (name.find_first_not_of(' ') == std::string_view::npos)
        return false;
    for (char c : name) {
        auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '/' || c == '\\')
            return false;
    }
    return true;
}

} // namespace fitquill
