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

// Install-aid results: 0 success, negative failures. The first five are the install aid's
// own numbers; kInstallErrCopyFailed is this stand-in's choice.
constexpr int32_t kInstallErrNone = 0;
constexpr int32_t kInstallErrNoUsers = -500;
constexpr int32_t kInstallErrBufferTooSmall = -502;
constexpr int32_t kInstallErrInvalidUser = -505;
constexpr int32_t kInstallErrBadFileName = -506; // not a .pdb, .prc or .pqa file name
constexpr int32_t kInstallErrBadSource = -513;   // missing, unreadable or not a Palm database
constexpr int32_t kInstallErrCopyFailed = -510;  // the queue folder could not be written

// The install aid: queues handheld files for a HotSync user's next HotSync operation.
// Queuing copies the file into the "Install" folder of the user's folder and records it, in
// queueing order, in the user's install flag file "Install.pending" beside that folder; the
// HotSync Manager installs what the flag file lists (a bare copy in the folder is not picked
// up) and removes each file once it is on the handheld.
class CInstallAid {
public:
    static constexpr const char* kInstallFolder = "Install";
    static constexpr const char* kFlagFile = "Install.pending";

    // The user library tells the users and their folders; it must outlive this object.
    explicit CInstallAid(IUserLibrary& users);

    // The number of HotSync users; 0 or less means none.
    int32_t GetUserCount();
    // The name of the user at an index; `size` holds the buffer size on entry (bytes with
    // the terminating zero) and the bytes stored on success. Above 0 on success.
    int32_t GetUser(int32_t index, std::string& name, int16_t& size);
    // Queues a file for the user's next HotSync. Backslashes in `file` are directory
    // separators; a relative path is taken from the current folder. Queueing a file name
    // again replaces the queued copy and keeps its place in the queue.
    int32_t InstallFile(std::string_view userName, std::string_view file);

    // For the HotSync Manager: the queued files of a user in queueing order (empty when the
    // flag file lists none).
    std::vector<std::filesystem::path> QueuedFiles(std::string_view userName);
    // Takes a file (by its name) off the user's queue and deletes the queued copy; the flag
    // file goes with the last one.
    int32_t RemoveInstallFile(std::string_view userName, std::string_view fileName);

    // The user's folder, or nothing when the user or the users root is unknown.
    std::optional<std::filesystem::path> UserFolder(std::string_view userName);

private:
    // The queued file names from the flag file (empty when it is missing, nothing when it
    // cannot be read).
    static std::optional<std::vector<std::string>>
    ReadQueue(const std::filesystem::path& userFolder);
    static bool WriteQueue(const std::filesystem::path& userFolder,
                           const std::vector<std::string>& names);

    IUserLibrary& m_users;
};

} // namespace fitquill
