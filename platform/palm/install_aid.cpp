// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/palm/install_aid.h"

#include "core/io/atomic_file.h"
#include "platform/palm/palm_database.h"

#include <algorithm>
#include <system_error>

namespace fitquill {

namespace {

namespace fs = std::filesystem;

// Large enough for any name or folder the user library stores.
constexpr uint16_t kTextCapacity = 0xFFFF;

bool HasInstallableExtension(const fs::path& name) {
    std::string ext = name.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return ext == ".pdb" || ext == ".prc" || ext == ".pqa";
}

fs::path PathFromCaller(std::string_view file) {
    std::string text(file);
    if (fs::path::preferred_separator == '/')
        std::replace(text.begin(), text.end(), '\\', '/');
    return fs::path(text);
}

} // namespace

CInstallAid::CInstallAid(IUserLibrary& users) : m_users(users) {}

int32_t CInstallAid::GetUserCount() {
    return std::max<int32_t>(m_users.UserCount(), 0);
}

int32_t CInstallAid::GetUser(int32_t index, std::string& name, int16_t& size) {
    if (GetUserCount() == 0)
        return kInstallErrNoUsers;
    UserHandle user = 0;
    if (m_users.GetUserHandle(index, user) != 0)
        return kInstallErrInvalidUser;
    std::string found;
    uint16_t capacity = kTextCapacity;
    if (m_users.GetUserName(user, found, capacity) <= 0)
        return kInstallErrInvalidUser;
    if (size <= 0 || found.size() + 1 > size_t(size))
        return kInstallErrBufferTooSmall;
    name = found;
    size = int16_t(found.size() + 1);
    return size;
}

std::optional<fs::path> CInstallAid::UserFolder(std::string_view userName) {
    UserHandle user = 0;
    if (m_users.FindUserByName(userName, user) != 0)
        return std::nullopt;
    std::string root, folder;
    uint16_t rootSize = kTextCapacity, folderSize = kTextCapacity;
    if (m_users.GetUsersRoot(root, rootSize) <= 0 ||
        m_users.GetUserFolderName(user, folder, folderSize) < 0 || !IsSafeFolderName(folder))
        return std::nullopt;
    return fs::path(root) / folder;
}

std::optional<std::vector<std::string>> CInstallAid::ReadQueue(const fs::path& userFolder) {
    std::vector<std::string> names;
    bool missing = false;
    const auto bytes = ReadWholeFile(userFolder / kFlagFile, nullptr, &missing);
    if (!bytes) {
        if (missing)
            return names;
        return std::nullopt;
    }
    std::string line;
    auto finishLine = [&] {
        // Only plain file names: a line can never lead outside the queue folder.
        if (IsSafeFolderName(line) && std::find(names.begin(), names.end(), line) == names.end())
            names.push_back(line);
        line.clear();
    };
    for (uint8_t byte : *bytes) {
        if (byte == '\n')
            finishLine();
        else
            line.push_back(char(byte));
    }
    finishLine();
    return names;
}

bool CInstallAid::WriteQueue(const fs::path& userFolder, const std::vector<std::string>& names) {
    const fs::path flag = userFolder / kFlagFile;
    if (names.empty()) {
        std::error_code ec;
        fs::remove(flag, ec);
        return !ec;
    }
    std::string text;
    for (const auto& name : names)
        text += name + "\n";
    return ReplaceFileAtomically(flag, text);
}

int32_t CInstallAid::InstallFile(std::string_view userName, std::string_view file) {
    const auto userFolder = UserFolder(userName);
    if (!userFolder)
        return kInstallErrInvalidUser;
    const fs::path source = PathFromCaller(file);
    const std::string name = source.filename().string();
    if (!IsSafeFolderName(name) || !HasInstallableExtension(name))
        return kInstallErrBadFileName;
    const auto bytes = ReadWholeFile(source);
    // Garbage queued now would only fail later, on the handheld.
    if (!bytes || !CPalmDatabase().Read(*bytes))
        return kInstallErrBadSource;
    if (!ReplaceFileAtomically(*userFolder / kInstallFolder / name, *bytes))
        return kInstallErrCopyFailed;
    // A flag file that cannot be read is never overwritten: its queue would be lost.
    auto queue = ReadQueue(*userFolder);
    if (!queue)
        return kInstallErrCopyFailed;
    if (std::find(queue->begin(), queue->end(), name) == queue->end()) {
        queue->push_back(name);
        if (!WriteQueue(*userFolder, *queue))
            return kInstallErrCopyFailed;
    }
    return kInstallErrNone;
}

std::vector<fs::path> CInstallAid::QueuedFiles(std::string_view userName) {
    std::vector<fs::path> files;
    const auto userFolder = UserFolder(userName);
    if (!userFolder)
        return files;
    for (const auto& name : ReadQueue(*userFolder).value_or(std::vector<std::string>{})) {
        const fs::path path = *userFolder / kInstallFolder / name;
        std::error_code ec;
        if (fs::is_regular_file(path, ec))
            files.push_back(path);
    }
    return files;
}

int32_t CInstallAid::RemoveInstallFile(std::string_view userName, std::string_view fileName) {
    const auto userFolder = UserFolder(userName);
    if (!userFolder)
        return kInstallErrInvalidUser;
    auto queue = ReadQueue(*userFolder);
    if (!queue)
        return kInstallErrCopyFailed;
    const auto it = std::find(queue->begin(), queue->end(), fileName);
    if (it == queue->end())
        return kInstallErrBadFileName;
    std::error_code ec;
    fs::remove(*userFolder / kInstallFolder / *it, ec);
    queue->erase(it);
    return WriteQueue(*userFolder, *queue) ? kInstallErrNone : kInstallErrCopyFailed;
}

} // namespace fitquill
