// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/presence/presence_protocol.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace fitquill {

// The side of the presence channel that asks: a second start of the desktop program and the
// conduits. Every call connects, sends one line and waits briefly for the desktop's answer. A
// socket file that nobody listens on (left behind by a program that ended abnormally) counts
// as no desktop.
class CPresenceClient {
public:
    explicit CPresenceClient(std::filesystem::path socketPath = PresenceSocketPath());

    // Whether a desktop program listens on the socket.
    bool IsDesktopRunning() const;
    // Asks the running desktop to show its window in front; true when it acknowledged.
    bool BringToFront() const;
    // Tells the running desktop that a HotSync operation for this Palm user is refused while
    // it runs; true when it acknowledged.
    bool SendHotSyncNotice(uint32_t palmUserId) const;

    const std::filesystem::path& SocketPath() const { return m_socketPath; }
    // A readable reason for the last call that returned false.
    const std::string& LastError() const { return m_lastError; }

private:
    bool Send(const SPresenceMessage& message) const;

    std::filesystem::path m_socketPath;
    mutable std::string m_lastError;
};

} // namespace fitquill
