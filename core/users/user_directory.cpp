// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/users/user_directory.h"

#include "core/io/atomic_file.h"
#include "core/names.h"
#include "core/users/user_list_file.h"
#include "core/windows1252.h"

#include <algorithm>
#include <system_error>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

// The list holds at most what its 16-bit count can say.
constexpr size_t kMaxOwnUsers = 0xFFFF;

bool Fits(const std::string& text, uint16_t size) {
    return text.size() + 1 <= size;
}

bool IsSeparator(char c) {
    return c == '/' || c == kPathSeparator;
}

std::string DesktopFolder(const std::string& installPath) {
    return installPath + "Fitquill" + kPathSeparator + "Desktop";
}

// A user's folder is named with the UTF-8 form of the stored name, so that a file manager shows
// "Zoë" for the user Zoë. A folder made earlier under the name's stored bytes is still the
// user's while no folder of the UTF-8 form exists.
std::string OwnFolderName(const std::string& usersRoot, const std::string& name) {
    std::string utf8 = Windows1252ToUtf8(name);
    std::error_code ec;
    if (utf8 != name && !fs::exists(usersRoot + utf8, ec) && fs::is_directory(usersRoot + name, ec))
        return name;
    return utf8;
}

// A name whose folder would not be one safe folder level is refused like the name itself.
bool IsSafeUserName(std::string_view name) {
    return IsSafeFolderName(name) && IsSafeFolderName(Windows1252ToUtf8(name));
}

} // namespace

CUserDirectory::CUserDirectory(std::shared_ptr<IUserLibrary> library,
                               const SInstallPath& installPath, INoticeSink* notices)
    : m_library(library ? std::move(library) : std::make_shared<CUnavailableUserLibrary>()) {
    if (!installPath.keyFound && notices)
        notices->ShowNotice(kInstallPathKeyCaption, kInstallPathKeyMessage);
    // A value too long for the setting's 256-byte buffer is not read at all, rather than cut
    // into a wrong folder.
    if (installPath.keyFound && Fits(installPath.name, kTextBufferSize))
        m_installPath = installPath.name;
    // The value is documented to end with a separator; a hand-edited one may not.
    if (!m_installPath.empty() && !IsSeparator(m_installPath.back()))
        m_installPath += kPathSeparator;

    std::string root;
    uint16_t size = kTextBufferSize;
    if (m_library->GetUsersRoot(root, size) == kUserLibraryUnavailable) {
        m_libraryMode = false;
        m_usersRoot = DesktopFolder(m_installPath) + kPathSeparator + "Users" + kPathSeparator;
        m_listPath = m_usersRoot + kUserListFileName;
        m_listLoaded = LoadList();
    }
}

std::filesystem::path
CUserDirectory::FallbackUsersFolder(const std::filesystem::path& installPath) {
    return installPath / "Fitquill" / "Desktop" / "Users";
}

bool CUserDirectory::LoadList() {
    bool missing = false;
    std::string error;
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(m_listPath, &error, &missing);
    if (!bytes) {
        if (missing)
            return SaveList();
        m_lastError = error;
        m_backupBeforeSave = true;
        return false;
    }
    if (!CUserListFile::Unpack(*bytes, m_ownUsers)) {
        m_lastError = "The user list " + m_listPath + " is damaged.";
        m_backupBeforeSave = true;
        return false;
    }
    return true;
}

bool CUserDirectory::SaveList() {
    std::string error;
    if (m_backupBeforeSave) {
        // The list could not be read in full: keep the old file before replacing it, and
        // replace nothing while that is impossible.
        bool missing = false;
        std::optional<std::vector<uint8_t>> old = ReadWholeFile(m_listPath, &error, &missing);
        if (old) {
            if (!ReplaceFileAtomically(m_listPath + ".bak", *old, &error)) {
                m_lastError = error;
                return false;
            }
        } else if (!missing) {
            m_lastError = error;
            return false;
        }
        m_backupBeforeSave = false;
    }
    std::vector<uint8_t> bytes = CUserListFile::Pack(m_ownUsers);
    if (!ReplaceFileAtomically(m_listPath, bytes, &error)) {
        m_lastError = error;
        return false;
    }
    return true;
}

int CUserDirectory::FindOwnUser(std::string_view name) const {
    auto it = std::find(m_ownUsers.begin(), m_ownUsers.end(), name);
    return it == m_ownUsers.end() ? -1 : static_cast<int>(it - m_ownUsers.begin());
}

void CUserDirectory::InsertSorted(std::string name) {
    // A linear search, so that a stored list out of order still gets each name once.
    auto it = std::find_if(m_ownUsers.begin(), m_ownUsers.end(),
                           [&](const std::string& other) { return CompareNames(other, name) > 0; });
    m_ownUsers.insert(it, std::move(name));
}

int CUserDirectory::UserCount() const {
    if (m_libraryMode)
        return std::max<int32_t>(0, m_library->UserCount());
    return static_cast<int>(m_ownUsers.size());
}

bool CUserDirectory::GetUserHandle(int index, UserHandle& user) const {
    if (m_libraryMode)
        return m_library->GetUserHandle(index, user) == 0;
    if (index < 0 || static_cast<size_t>(index) >= m_ownUsers.size())
        return false;
    user = static_cast<UserHandle>(index);
    return true;
}

bool CUserDirectory::GetUserName(UserHandle user, std::string& name, uint16_t size) const {
    if (m_libraryMode) {
        std::string text;
        uint16_t inOut = size;
        if (m_library->GetUserName(user, text, inOut) <= 0 || !Fits(text, size))
            return false;
        name = std::move(text);
        return true;
    }
    if (user >= m_ownUsers.size() || !Fits(m_ownUsers[user], size))
        return false;
    name = m_ownUsers[user];
    return true;
}

bool CUserDirectory::GetUserFolderName(UserHandle user, std::string& folder, uint16_t size) const {
    std::string text;
    if (m_libraryMode) {
        uint16_t inOut = size;
        if (m_library->GetUserFolderName(user, text, inOut) < 0)
            return false;
    } else {
        if (user >= m_ownUsers.size())
            return false;
        text = OwnFolderName(m_usersRoot, m_ownUsers[user]);
    }
    // A damaged list or library store must not lead a caller outside the users root.
    if (!IsSafeFolderName(text) || !Fits(text, size))
        return false;
    folder = std::move(text);
    return true;
}

bool CUserDirectory::GetUsersRoot(std::string& root, uint16_t size) const {
    if (m_libraryMode) {
        std::string text;
        uint16_t inOut = size;
        if (m_library->GetUsersRoot(text, inOut) <= 0 || !Fits(text, size))
            return false;
        root = std::move(text);
        return true;
    }
    if (!Fits(m_usersRoot, size))
        return false;
    root = m_usersRoot;
    return true;
}

bool CUserDirectory::FindUserByName(std::string_view name, UserHandle& user) const {
    if (m_libraryMode)
        return m_library->FindUserByName(name, user) == 0;
    int index = FindOwnUser(name);
    if (index < 0)
        return false;
    user = static_cast<UserHandle>(index);
    return true;
}

bool CUserDirectory::FindUserByPath(std::string_view path, UserHandle& user) const {
    if (m_libraryMode)
        return m_library->FindUserByPath(path, user) == 0;
    if (!path.starts_with(m_usersRoot))
        return false;
    std::string_view rest = path.substr(m_usersRoot.size());
    auto end = std::find_if(rest.begin(), rest.end(), IsSeparator);
    std::string_view folder = rest.substr(0, static_cast<size_t>(end - rest.begin()));
    if (folder.size() >= kTextBufferSize)
        return false;
    // The folder is the UTF-8 form of the name, or the name's own bytes (an older folder).
    const std::optional<std::string> name = Utf8ToWindows1252(folder);
    if (name && FindUserByName(*name, user) &&
        OwnFolderName(m_usersRoot, m_ownUsers[user]) == folder)
        return true;
    return FindUserByName(folder, user) && OwnFolderName(m_usersRoot, m_ownUsers[user]) == folder;
}

bool CUserDirectory::AddUser(std::string_view name) {
    if (m_libraryMode)
        return m_library->AddUser(name) == 0;
    if (FindOwnUser(name) >= 0 || !IsSafeUserName(name) || m_ownUsers.size() >= kMaxOwnUsers)
        return false;
    fs::path folder = m_usersRoot + Windows1252ToUtf8(name);
    std::error_code ec;
    if (!fs::create_directory(folder, ec)) {
        m_lastError = ec ? ec.message() : "The folder " + folder.string() + " already exists.";
        return false;
    }
    InsertSorted(std::string(name));
    if (!SaveList()) {
        // Keep the list in memory as it is on disk.
        m_ownUsers.erase(m_ownUsers.begin() + FindOwnUser(name));
        fs::remove(folder, ec);
        return false;
    }
    return true;
}

bool CUserDirectory::DeleteUser(UserHandle user) {
    if (m_libraryMode)
        return m_library->DeleteUser(user) == 0;
    if (user >= m_ownUsers.size())
        return false;
    std::string name = m_ownUsers[user];
    // The list first, so that a failed save leaves the user's files in place.
    m_ownUsers.erase(m_ownUsers.begin() + user);
    if (!SaveList()) {
        m_ownUsers.insert(m_ownUsers.begin() + user, std::move(name));
        return false;
    }
    if (IsSafeUserName(name)) {
        std::string userFolder = m_usersRoot + OwnFolderName(m_usersRoot, name);
        std::string programFolder = userFolder + kPathSeparator + kProgramFolderName;
        std::error_code ec;
        // Only the program's own files; the folders go only when nothing else is left.
        for (const char* file : {kJournalFileName, kUserExportFileName, kFoodDbFileName,
                                 kRecoveryFileName, kSetAsideRecoveryFileName})
            fs::remove(programFolder + kPathSeparator + file, ec);
        fs::remove(programFolder, ec);
        fs::remove(userFolder, ec);
    }
    return true;
}

bool CUserDirectory::RenameUser(UserHandle user, std::string_view newName) {
    if (m_libraryMode)
        return m_library->RenameUser(user, newName) == 0;
    if (user >= m_ownUsers.size() || FindOwnUser(newName) >= 0 || !IsSafeUserName(newName) ||
        !IsSafeUserName(m_ownUsers[user]))
        return false;
    fs::path from = m_usersRoot + OwnFolderName(m_usersRoot, m_ownUsers[user]);
    fs::path to = m_usersRoot + Windows1252ToUtf8(newName);
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec) {
        m_lastError = ec.message();
        return false;
    }
    std::vector<std::string> before = m_ownUsers;
    m_ownUsers.erase(m_ownUsers.begin() + user);
    InsertSorted(std::string(newName));
    if (!SaveList()) {
        // Put the folder back so that the list on disk still names it.
        fs::rename(to, from, ec);
        m_ownUsers = std::move(before);
        return false;
    }
    return true;
}

bool CUserDirectory::GetUserFolder(UserHandle user, std::string& folder, uint16_t size) const {
    std::string root, name;
    if (!GetUsersRoot(root, size) || !GetUserFolderName(user, name, size))
        return false;
    std::string text = root + name;
    if (!Fits(text, size))
        return false;
    folder = std::move(text);
    return true;
}

bool CUserDirectory::GetProgramFolder(UserHandle user, std::string& folder, uint16_t size) const {
    std::string userFolder;
    if (!GetUserFolder(user, userFolder, size))
        return false;
    std::string text = userFolder + kPathSeparator + kProgramFolderName;
    if (!Fits(text, size))
        return false;
    folder = std::move(text);
    return true;
}

bool CUserDirectory::GetUsersGuidePath(std::string& path, uint16_t size) const {
    std::string text = DesktopFolder(m_installPath) + kPathSeparator + "Documentation Files" +
                       kPathSeparator + "Users Guide.pdf";
    if (!Fits(text, size))
        return false;
    path = std::move(text);
    return true;
}

} // namespace fitquill
