// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace fitquill {

// An exclusive advisory lock on a lock file in a folder, held while the object holds it. The
// system drops the lock when its holder ends in any way (a kill included), so a lock left by a
// dead process never blocks. The lock file itself stays: removing it would let two processes
// lock two different files of the same name.
class CFolderLock {
public:
    static constexpr const char* kFileName = "HotSync.lock";

    enum class EResult {
        Locked, // the lock is held
        Busy,   // another holder kept it for the whole wait
        Failed, // the lock file could not be opened or locked
    };

    CFolderLock() = default;
    ~CFolderLock();
    CFolderLock(const CFolderLock&) = delete;
    CFolderLock& operator=(const CFolderLock&) = delete;

    // Takes the lock of `folder` (created when missing), trying for up to `wait`. Failed comes
    // with a readable reason in `error`.
    EResult Acquire(const std::filesystem::path& folder, std::chrono::milliseconds wait,
                    std::string* error = nullptr);
    void Release();
    bool Held() const { return m_descriptor >= 0; }

private:
    int m_descriptor = -1;
};

} // namespace fitquill
