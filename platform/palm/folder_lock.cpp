// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/palm/folder_lock.h"

#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fitquill {
namespace {

constexpr std::chrono::milliseconds kRetryInterval{50};

CFolderLock::EResult Fail(std::string* error, const std::string& text) {
    if (error)
        *error = text;
    return CFolderLock::EResult::Failed;
}

} // namespace

CFolderLock::~CFolderLock() {
    Release();
}

CFolderLock::EResult CFolderLock::Acquire(const std::filesystem::path& folder,
                                          std::chrono::milliseconds wait, std::string* error) {
    Release();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        return Fail(error, "cannot create " + folder.string() + ": " + ec.message());
    const std::filesystem::path file = folder / kFileName;
    const int descriptor = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return Fail(error, "cannot open " + file.string() + ": " + std::strerror(errno));

    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            m_descriptor = descriptor;
            return EResult::Locked;
        }
        const int reason = errno;
        if (reason != EWOULDBLOCK && reason != EINTR) {
            ::close(descriptor);
            return Fail(error, "cannot lock " + file.string() + ": " + std::strerror(reason));
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(descriptor);
            return EResult::Busy;
        }
        std::this_thread::sleep_for(kRetryInterval);
    }
}

void CFolderLock::Release() {
    if (m_descriptor < 0)
        return;
    ::close(m_descriptor); // closing the last descriptor of the file drops the lock
    m_descriptor = -1;
}

} // namespace fitquill
