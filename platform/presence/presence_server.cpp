// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/presence/presence_server.h"

#include "platform/presence/presence_socket.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fitquill {
namespace {

// Time a connected client has for its line before the server gives up on it: short, as the
// desktop's window does not react meanwhile.
constexpr int kServerReadTimeoutMs = 500;

std::string ErrnoText(const char* what, int code) {
    return std::string(what) + ": " + std::strerror(code);
}

} // namespace

CPresenceServer::CPresenceServer(std::filesystem::path socketPath)
    : m_socketPath(std::move(socketPath)) {}

CPresenceServer::~CPresenceServer() {
    Close();
}

bool CPresenceServer::PrepareFolder() {
    const std::filesystem::path folder = m_socketPath.parent_path();
    if (folder.empty())
        return true;
    struct stat info;
    if (::lstat(folder.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            m_lastError = ErrnoText(folder.c_str(), errno);
            return false;
        }
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            m_lastError = folder.string() + ": " + error.message();
            return false;
        }
        // Only this user may reach the socket.
        ::chmod(folder.c_str(), S_IRWXU);
        if (::lstat(folder.c_str(), &info) != 0) {
            m_lastError = ErrnoText(folder.c_str(), errno);
            return false;
        }
    }
    // Refuse a folder that another user could have prepared (or swap) for us.
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid() ||
        (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        m_lastError = "The folder " + folder.string() + " is not a private folder of this user.";
        return false;
    }
    return true;
}

int CPresenceServer::Bind() {
    sockaddr_un address;
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const std::string& text = m_socketPath.native();
    std::memcpy(address.sun_path, text.data(), text.size());
    if (::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return errno;
    return 0;
}

EPresenceListen CPresenceServer::Listen() {
    Close();
    m_lastError.clear();
    if (!presence::FitsSocketAddress(m_socketPath)) {
        m_lastError = "The socket path is too long: " + m_socketPath.string();
        return EPresenceListen::Failed;
    }
    if (!PrepareFolder())
        return EPresenceListen::Failed;
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_fd < 0) {
        m_lastError = ErrnoText("socket", errno);
        return EPresenceListen::Failed;
    }
    int code = Bind();
    if (code == EADDRINUSE) {
        presence::EConnect probe;
        int other = presence::Connect(m_socketPath, probe, nullptr);
        presence::CloseHandle(other);
        if (probe == presence::EConnect::Connected) {
            Close();
            return EPresenceListen::AlreadyRunning;
        }
        // Nobody listens: the file was left behind. Replace it, but never remove something
        // that is not a socket.
        struct stat info;
        if (::lstat(m_socketPath.c_str(), &info) == 0 && !S_ISSOCK(info.st_mode)) {
            Close();
            m_lastError = m_socketPath.string() + " exists and is not a socket.";
            return EPresenceListen::Failed;
        }
        ::unlink(m_socketPath.c_str());
        code = Bind();
        // Another start may have won the race between the unlink and the bind.
        if (code == EADDRINUSE) {
            Close();
            return EPresenceListen::AlreadyRunning;
        }
    }
    if (code != 0) {
        Close();
        m_lastError = ErrnoText(m_socketPath.c_str(), code);
        return EPresenceListen::Failed;
    }
    ::chmod(m_socketPath.c_str(), S_IRUSR | S_IWUSR);
    struct stat info;
    if (::stat(m_socketPath.c_str(), &info) == 0) {
        m_device = info.st_dev;
        m_inode = info.st_ino;
    }
    if (::listen(m_fd, 8) != 0) {
        m_lastError = ErrnoText("listen", errno);
        ::unlink(m_socketPath.c_str());
        m_inode = 0;
        Close();
        return EPresenceListen::Failed;
    }
    return EPresenceListen::Listening;
}

std::vector<SPresenceMessage> CPresenceServer::TakeMessages() {
    std::vector<SPresenceMessage> messages;
    if (m_fd < 0)
        return messages;
    for (;;) {
        int client = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (client < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            break; // EAGAIN: nothing more waiting
        }
        std::string line;
        if (presence::ReadLine(client, kPresenceMaxMessage, kServerReadTimeoutMs, line)) {
            if (auto message = DecodePresenceMessage(line)) {
                // The answer goes out before the message is acted on, so that a client never
                // waits for the desktop's user (the HotSync notice shows a message box).
                presence::WriteAll(client, kPresenceReply);
                messages.push_back(*message);
            }
        }
        presence::CloseHandle(client);
    }
    return messages;
}

void CPresenceServer::Close() {
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
    if (m_inode != 0) {
        struct stat info;
        if (::lstat(m_socketPath.c_str(), &info) == 0 && info.st_dev == m_device &&
            info.st_ino == m_inode)
            ::unlink(m_socketPath.c_str());
        m_inode = 0;
        m_device = 0;
    }
}

} // namespace fitquill
