// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/presence/presence_socket.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace fitquill::presence {
namespace {

bool FillAddress(const std::filesystem::path& socketPath, sockaddr_un& address) {
    const std::string& text = socketPath.native();
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    // The path and its terminating zero byte must fit.
    if (text.empty() || text.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, text.data(), text.size());
    return true;
}

} // namespace

bool FitsSocketAddress(const std::filesystem::path& socketPath) {
    sockaddr_un address;
    return FillAddress(socketPath, address);
}

int Connect(const std::filesystem::path& socketPath, EConnect& result, std::string* error) {
    result = EConnect::Failed;
    sockaddr_un address;
    if (!FillAddress(socketPath, address)) {
        if (error)
            *error = "The socket path is too long: " + socketPath.string();
        return -1;
    }
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        if (error)
            *error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    int rc;
    do {
        rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        int code = errno;
        ::close(fd);
        // ECONNREFUSED: a socket file left behind by a program that is gone.
        if (code == ENOENT || code == ECONNREFUSED || code == ENOTDIR)
            result = EConnect::NoListener;
        if (error)
            *error = std::string("connect: ") + std::strerror(code);
        return -1;
    }
    result = EConnect::Connected;
    return fd;
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        ssize_t written = ::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pollfd entry{fd, POLLOUT, 0};
                if (::poll(&entry, 1, kLineTimeoutMs) <= 0)
                    return false;
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool ReadLine(int fd, size_t limit, int timeoutMs, std::string& line) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    line.clear();
    while (line.size() < limit) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd entry{fd, POLLIN, 0};
        int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        char buffer[64];
        size_t wanted = std::min(sizeof buffer, limit - line.size());
        ssize_t got = ::recv(fd, buffer, wanted, 0);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            return false;
        }
        if (got == 0)
            return false;
        line.append(buffer, static_cast<size_t>(got));
        size_t end = line.find('\n');
        if (end != std::string::npos) {
            // One line per connection: anything after it is not ours to read.
            line.resize(end + 1);
            return true;
        }
    }
    return false;
}

void CloseHandle(int fd) {
    if (fd >= 0)
        ::close(fd);
}

} // namespace fitquill::presence
