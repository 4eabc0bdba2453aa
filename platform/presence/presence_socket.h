// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Socket helpers shared by the two ends of the presence channel; not for other callers.

#include <filesystem>
#include <string>
#include <string_view>

namespace fitquill::presence {

// Milliseconds that either end waits for the other's line.
inline constexpr int kLineTimeoutMs = 2000;

enum class EConnect {
    Connected,
    NoListener, // no socket file, or a file that nobody listens on (stale)
    Failed,
};

// A connected stream socket (close-on-exec), or -1 with the reason.
int Connect(const std::filesystem::path& socketPath, EConnect& result, std::string* error);
// Fills a socket address; false when the path does not fit one.
bool FitsSocketAddress(const std::filesystem::path& socketPath);
// Writes the whole text; never raises SIGPIPE.
bool WriteAll(int fd, std::string_view text);
// Reads up to and including '\n', at most `limit` bytes, waiting at most `timeoutMs` in all.
// False on timeout, end of stream before the line ended, an over-long line or an error.
bool ReadLine(int fd, size_t limit, int timeoutMs, std::string& line);
void CloseHandle(int fd);

} // namespace fitquill::presence
