// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/palm/user_store.h"

#include "core/io/atomic_file.h"
#include "core/windows1252.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <system_error>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kIndexFileName = "users.idx";
constexpr std::string_view kIndexHeader = "FitquillUsers 1";

bool IsSeparator(char c) {
    return c == '/' || c == static_cast<char>(fs::path::preferred_separator);
}

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

int32_t PutText(const std::string& text, std::string& out, uint16_t& size) {
    if (text.size() + 1 > size)
        return kUserStoreNoRoom;
    out = text;
    size = static_cast<uint16_t>(text.size() + 1);
    return size;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (;;) {
        size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

} // namespace

CUserStore::CUserStore(std::optional<fs::path> palmRoot) {
    if (palmRoot && !palmRoot->empty()) {
        std::error_code ec;
        fs::path absolute = fs::absolute(*palmRoot, ec);
        m_root = ec ? *palmRoot : absolute;
    }
}

std::optional<fs::path> CUserStore::PalmRoot(std::string_view setting) {
    if (!setting.empty())
        return fs::path(std::string(setting));
    const char* variable = std::getenv(kPalmRootVariable);
    if (variable && *variable)
        return fs::path(variable);
    return std::nullopt;
}

fs::path CUserStore::IndexPath() const {
    return *m_root / kIndexFileName;
}

std::string CUserStore::UsersRootText() const {
    std::string root = m_root->string();
    if (root.empty() || !IsSeparator(root.back()))
        root += static_cast<char>(fs::path::preferred_separator);
    return root;
}

int32_t CUserStore::Load(std::vector<SUser>& users) {
    users.clear();
    if (!m_root)
        return kUserLibraryUnavailable;
    bool missing = false;
    std::optional<std::vector<uint8_t>> bytes = ReadWholeFile(IndexPath(), &m_lastError, &missing);
    if (!bytes)
        return missing ? 0 : kUserStoreDamaged;

    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    std::vector<std::string_view> lines = Split(text, '\n');
    auto damaged = [&](std::string_view why) {
        m_lastError =
            "The user index " + IndexPath().string() + " is damaged: " + std::string(why) + ".";
        users.clear();
        return kUserStoreDamaged;
    };
    if (lines.empty() || lines.front() != kIndexHeader)
        return damaged("no header");
    for (size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        std::vector<std::string_view> fields = Split(lines[i], '\t');
        if (fields.size() != 3)
            return damaged("a line without three fields");
        SUser user;
        const char* end = fields[0].data() + fields[0].size();
        auto [next, error] = std::from_chars(fields[0].data(), end, user.id);
        if (error != std::errc() || next != end)
            return damaged("a bad user ID");
        if (!IsSafeFolderName(fields[1]))
            return damaged("a folder outside the Palm Desktop folder");
        if (fields[2].empty() || HasControlCharacter(fields[2]))
            return damaged("a bad user name");
        user.folder = fields[1];
        user.name = fields[2];
        for (const SUser& other : users) {
            if (other.id == user.id || other.name == user.name ||
                EqualIgnoringCase(other.folder, user.folder))
                return damaged("a user listed twice");
        }
        users.push_back(std::move(user));
    }
    return 0;
}

int32_t CUserStore::Save(const std::vector<SUser>& users) {
    std::string text(kIndexHeader);
    text += '\n';
    for (const SUser& user : users)
        text += std::to_string(user.id) + '\t' + user.folder + '\t' + user.name + '\n';
    return ReplaceFileAtomically(IndexPath(), text, &m_lastError) ? 0 : kUserStoreFileError;
}

int32_t CUserStore::UserCount() {
    std::vector<SUser> users;
    if (Load(users) != 0)
        return 0;
    return static_cast<int32_t>(users.size());
}

int32_t CUserStore::GetUserHandle(int32_t index, UserHandle& user) {
    std::vector<SUser> users;
    if (int32_t result = Load(users); result != 0)
        return result;
    if (index < 0 || static_cast<size_t>(index) >= users.size())
        return kUserStoreNoSuchUser;
    user = users[static_cast<size_t>(index)].id;
    return 0;
}

int32_t CUserStore::GetUserName(UserHandle user, std::string& name, uint16_t& size) {
    std::vector<SUser> users;
    if (int32_t result = Load(users); result != 0)
        return result;
    for (const SUser& entry : users) {
        if (entry.id == user)
            return PutText(entry.name, name, size);
    }
    return kUserStoreNoSuchUser;
}

int32_t CUserStore::GetUserFolderName(UserHandle user, std::string& folder, uint16_t& size) {
    std::vector<SUser> users;
    if (int32_t result = Load(users); result != 0)
        return result;
    for (const SUser& entry : users) {
        if (entry.id == user) {
            int32_t result = PutText(entry.folder, folder, size);
            return result < 0 ? result : 0;
        }
    }
    return kUserStoreNoSuchUser;
}

int32_t CUserStore::GetUsersRoot(std::string& root, uint16_t& size) {
    if (!m_root)
        return kUserLibraryUnavailable;
    return PutText(UsersRootText(), root, size);
}

int32_t CUserStore::AddUser(std::string_view name) {
    return Add(name, std::nullopt);
}

int32_t CUserStore::AddUserWithId(std::string_view name, uint32_t id) {
    return Add(name, id);
}

int32_t CUserStore::Add(std::string_view name, std::optional<uint32_t> id) {
    std::vector<SUser> users;
    if (int32_t result = Load(users); result != 0)
        return result;
    // The name becomes the folder name (its UTF-8 form, which a file manager shows as the
    // name), so it must be one safe folder level.
    const std::string folderName = Windows1252ToUtf8(name);
    if (!IsSafeFolderName(name) || !IsSafeFolderName(folderName))
        return kUserStoreBadName;
    for (const SUser& user : users) {
        if (user.name == name || (id && user.id == *id))
            return kUserStoreDuplicateName;
    }

    SUser user;
    user.name = name;
    if (id) {
        user.id = *id;
    } else {
        uint32_t highest = 0;
        for (const SUser& other : users)
            highest = std::max(highest, other.id);
        if (highest == UINT32_MAX)
            return kUserStoreFull;
        user.id = highest + 1;
    }

    // A folder of another user or one left on disk is not taken over: append a number.
    std::error_code ec;
    fs::create_directories(*m_root, ec);
    for (int suffix = 1; user.folder.empty(); ++suffix) {
        std::string candidate = folderName;
        if (suffix > 1)
            candidate += std::to_string(suffix);
        if (candidate.size() > 255 || suffix > 1000)
            return kUserStoreBadName;
        bool taken = std::any_of(users.begin(), users.end(), [&](const SUser& other) {
            return EqualIgnoringCase(other.folder, candidate);
        });
        if (taken || EqualIgnoringCase(candidate, kIndexFileName) ||
            fs::exists(*m_root / candidate, ec))
            continue;
        if (!fs::create_directory(*m_root / candidate, ec)) {
            m_lastError = ec ? ec.message() : "The folder could not be created.";
            return kUserStoreFileError;
        }
        user.folder = candidate;
    }

    fs::path folder = *m_root / user.folder;
    users.push_back(std::move(user));
    if (int32_t result = Save(users); result != 0) {
        fs::remove(folder, ec);
        return result;
    }
    return 0;
}

int32_t CUserStore::DeleteUser(UserHandle user) {
    std::vector<SUser> users;
    if (int32_t result = Load(users); result != 0)
        return result;
    auto it = std::find_if(users.begin(), users.end(),
                           [&](const SUser& entry) { return entry.id == user; });
    if (it == users.end())
        return kUserStoreNoSuchUser;
    fs::path folder = *m_root / it->folder;
    users.erase(it);
    // The index first: a failed save leaves the user and all its files in place.
    if (int32_t result = Save(users); result != 0)
        return result;
    std::error_code ec;
    fs::remove_all(folder, ec); // a symbolic link is removed, never followed
    return 0;
}

int32_t CUserStore::RenameUser(UserHandle user, std::string_view newName) {
    std::vector<SUser> users;
    if (int32_t result = Load(users); result != 0)
        return result;
    if (!IsSafeFolderName(newName))
        return kUserStoreBadName;
    SUser* target = nullptr;
    for (SUser& entry : users) {
        if (entry.name == newName)
            return kUserStoreDuplicateName;
        if (entry.id == user)
            target = &entry;
    }
    if (!target)
        return kUserStoreNoSuchUser;
    target->name = newName;
    return Save(users);
}

int32_t CUserStore::FindUserByName(std::string_view name, UserHandle& user) {
    std::vector<SUser> users;
    if (int32_t result = Load(users); result != 0)
        return result;
    for (const SUser& entry : users) {
        if (entry.name == name) {
            user = entry.id;
            return 0;
        }
    }
    return kUserStoreNoSuchUser;
}

int32_t CUserStore::FindUserByPath(std::string_view path, UserHandle& user) {
    std::vector<SUser> users;
    if (int32_t result = Load(users); result != 0)
        return result;
    std::string root = UsersRootText();
    if (!path.starts_with(root))
        return kUserStoreNoSuchUser;
    std::string_view rest = path.substr(root.size());
    std::string_view folder = rest.substr(
        0, static_cast<size_t>(std::find_if(rest.begin(), rest.end(), IsSeparator) - rest.begin()));
    for (const SUser& entry : users) {
        if (entry.folder == folder) {
            user = entry.id;
            return 0;
        }
    }
    return kUserStoreNoSuchUser;
}

int32_t CUserStore::GetUserId(UserHandle user, uint32_t& id) {
    std::vector<SUser> users;
    if (int32_t result = Load(users); result != 0)
        return result;
    for (const SUser& entry : users) {
        if (entry.id == user) {
            id = entry.id;
            return 0;
        }
    }
    return kUserStoreNoSuchUser;
}

} // namespace fitquill
