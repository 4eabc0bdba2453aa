// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/presence/presence_protocol.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fitquill {

enum class EPresenceListen {
    Listening,
    AlreadyRunning, // another desktop program listens on the socket
    Failed,         // see LastError
};

// The desktop program's side of the presence channel: a local stream socket in the user's
// runtime folder (created private when missing). Only one program can listen on it; a socket
// file that nobody listens on is replaced. The socket file is removed again when the server
// ends, unless another program has replaced it meanwhile.
//
// The owner watches Handle() for readability (an event loop) and then calls TakeMessages().
class CPresenceServer {
public:
    explicit CPresenceServer(std::filesystem::path socketPath = PresenceSocketPath());
    ~CPresenceServer();
    CPresenceServer(const CPresenceServer&) = delete;
    CPresenceServer& operator=(const CPresenceServer&) = delete;

    EPresenceListen Listen();
    bool IsListening() const { return m_fd >= 0; }
    // The listening socket's descriptor, -1 when not listening.
    int Handle() const { return m_fd; }

    // Accepts every waiting connection, answers each message it understood and returns those
    // messages in order of arrival (pings included). Never waits for a connection; waits at
    // most a short while for the line of one that was accepted.
    std::vector<SPresenceMessage> TakeMessages();

    const std::filesystem::path& SocketPath() const { return m_socketPath; }
    const std::string& LastError() const { return m_lastError; }

private:
    bool PrepareFolder();
    // 0 bound, otherwise the errno of bind.
    int Bind();
    void Close();

    std::filesystem::path m_socketPath;
    int m_fd = -1;
    // Identity of the socket file this server created, to remove only its own.
    uint64_t m_device = 0;
    uint64_t m_inode = 0;
    std::string m_lastError;
};

} // namespace fitquill
