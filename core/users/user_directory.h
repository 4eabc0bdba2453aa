// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/users/notice_sink.h"
#include "core/users/user_library.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// The installation path setting as the embedding program read it.
struct SInstallPath {
    bool keyFound = false; // the setting's section could be opened
    std::string name;      // its "Name" value, empty when it could not be read
};

// The directory separator that paths of this module use.
constexpr char kPathSeparator = static_cast<char>(std::filesystem::path::preferred_separator);
// Default size of a caller's text buffer, zero byte included.
constexpr uint16_t kTextBufferSize = 256;

inline constexpr char kInstallPathKeyCaption[] = "Conduit Setup";
inline constexpr char kInstallPathKeyMessage[] = "Could not open up the install path registry key.";
inline constexpr char kUserListFileName[] = "Users.udb";
inline constexpr char kProgramFolderName[] = "Fitquill";
inline constexpr char kJournalFileName[] = "UserDB.ddb";
inline constexpr char kFoodDbFileName[] = "FoodDB.ddb";
inline constexpr char kUserExportFileName[] = "UserDB.csv";
// The desktop program's copy of unsaved changes beside the journal, and the name it is set
// aside under when the user does not restore it.
inline constexpr char kRecoveryFileName[] = "UserDB.ddb.recovery";
inline constexpr char kSetAsideRecoveryFileName[] = "UserDB.ddb.recovery.old";

// Which users exist, where their files live and where the program is installed. Forwards to
// the user library; when the library answers the users-root query with
// kUserLibraryUnavailable at construction, it runs for its whole life on its own sorted list
// of names, kept in Users.udb in the users root below the installation, with one folder per
// user (named after the user) beside it. In that fallback a user handle is the user's index
// in the list.
//
// Every operation returns success or failure; text results must fit the caller's buffer of
// `size` bytes together with their zero byte. Copies share the library.
class CUserDirectory {
public:
    // Shows kInstallPathKeyMessage through `notices` (when given) if the installation path
    // setting could not be opened. In the fallback, reads Users.udb, or creates an empty one
    // when there is none. A null library counts as CUnavailableUserLibrary.
    CUserDirectory(std::shared_ptr<IUserLibrary> library, const SInstallPath& installPath,
                   INoticeSink* notices = nullptr);

    // The folder of the own user list and its user folders below an installation path.
    static std::filesystem::path FallbackUsersFolder(const std::filesystem::path& installPath);

    bool LibraryMode() const { return m_libraryMode; }
    // Ends with a directory separator unless empty.
    const std::string& InstallPath() const { return m_installPath; }
    // Fallback only: the users root and the path of Users.udb (empty in library mode).
    const std::string& FallbackUsersRoot() const { return m_usersRoot; }
    const std::string& ListPath() const { return m_listPath; }
    const std::vector<std::string>& OwnUsers() const { return m_ownUsers; }
    // False when Users.udb could not be read or created at construction; the list then holds
    // the names read before the damage, and the file is kept as Users.udb.bak before it is
    // next replaced.
    bool ListLoaded() const { return m_listLoaded; }
    // A readable reason for the last failed file operation.
    const std::string& LastError() const { return m_lastError; }

    int UserCount() const;
    bool GetUserHandle(int index, UserHandle& user) const;
    bool GetUserName(UserHandle user, std::string& name, uint16_t size = kTextBufferSize) const;
    // The user's folder relative to the users root; always a single safe folder name.
    bool GetUserFolderName(UserHandle user, std::string& folder,
                           uint16_t size = kTextBufferSize) const;
    bool GetUsersRoot(std::string& root, uint16_t size = kTextBufferSize) const;
    bool FindUserByName(std::string_view name, UserHandle& user) const;
    bool FindUserByPath(std::string_view path, UserHandle& user) const;

    // Refused for a name already in the list (exactly equal), a name that is not a safe folder
    // name (IsSafeFolderName), or a folder that cannot be created; then nothing changes.
    bool AddUser(std::string_view name);
    // Fallback: deletes the user's journal, export and food database files, removes the
    // program and user folders when they are then empty, and drops the name.
    bool DeleteUser(UserHandle user);
    // Fallback: moves the user's folder to the new name; refused like AddUser.
    bool RenameUser(UserHandle user, std::string_view newName);

    // Users root + folder name, and that + the program folder name.
    bool GetUserFolder(UserHandle user, std::string& folder, uint16_t size = kTextBufferSize) const;
    bool GetProgramFolder(UserHandle user, std::string& folder,
                          uint16_t size = kTextBufferSize) const;
    bool GetUsersGuidePath(std::string& path, uint16_t size = kTextBufferSize) const;

private:
    int FindOwnUser(std::string_view name) const;
    bool LoadList();
    bool SaveList();
    void InsertSorted(std::string name);

    std::shared_ptr<IUserLibrary> m_library;
    std::string m_usersRoot;
    std::string m_listPath;
    std::string m_installPath;
    bool m_libraryMode = true;
    std::vector<std::string> m_ownUsers;
    bool m_listLoaded = true;
    bool m_backupBeforeSave = false;
    std::string m_lastError;
};

} // namespace fitquill
