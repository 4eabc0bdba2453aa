// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/palm/hotsync_log.h"

#include "core/io/atomic_file.h"

#include <chrono>
#include <cstdio>

namespace fitquill {

namespace {

constexpr std::string_view kSessionHeader = "HotSync started ";
// Entries are indented so that no text can pass for a session header.
constexpr std::string_view kEntryIndent = "  ";

std::tm LocalNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            c = ' ';
    }
    return line;
}

// Splits a log file into sessions, each starting at a header line; lines before the first
// header (a file from elsewhere) count as one session.
std::vector<std::string> SplitSessions(std::string_view text) {
    std::vector<std::string> sessions;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        end = end == text.npos ? text.size() : end + 1;
        const std::string_view line = text.substr(pos, end - pos);
        if (sessions.empty() || line.starts_with(kSessionHeader))
            sessions.emplace_back();
        sessions.back().append(line);
        if (line.back() != '\n')
            sessions.back().push_back('\n');
        pos = end;
    }
    return sessions;
}

} // namespace

CHotSyncLog::CHotSyncLog(std::filesystem::path userFolder)
    : m_userFolder(std::move(userFolder)), m_clock(LocalNow) {}

void CHotSyncLog::StartSession() {
    const std::tm now = m_clock();
    char header[64];
    std::snprintf(header, sizeof header, "%.*s%02d/%02d/%02d %02d:%02d:%02d",
                  int(kSessionHeader.size()), kSessionHeader.data(), now.tm_mon + 1, now.tm_mday,
                  (now.tm_year + 1900) % 100, now.tm_hour, now.tm_min, now.tm_sec);
    m_pending.assign(1, header);
    m_aborted = false;
}

int32_t CHotSyncLog::AddEntry(std::string_view text, int32_t activity, bool timeStamp) {
    if (m_pending.empty())
        StartSession();
    std::string line(kEntryIndent);
    if (timeStamp) {
        const std::tm now = m_clock();
        char stamp[16];
        std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d ", now.tm_hour, now.tm_min, now.tm_sec);
        line += stamp;
    }
    const std::string body = OneLine(text);
    switch (activity) {
    case kLogActivitySyncFinished:
        line += "OK " + body;
        break;
    case kLogActivitySyncAborted:
        line += body + " synchronization failed";
        m_aborted = true;
        break;
    case kLogActivityWarning:
        line += "Warning: " + body;
        break;
    default:
        line += body;
        break;
    }
    m_pending.push_back(std::move(line));
    return 0;
}

bool CHotSyncLog::Save(std::string* error) {
    if (m_pending.empty())
        return true;
    bool missing = false;
    std::string readError;
    const auto old = ReadWholeFile(FilePath(), &readError, &missing);
    if (!old && !missing) {
        if (error)
            *error = readError;
        return false;
    }
    std::vector<std::string> sessions;
    if (old)
        sessions = SplitSessions(
            std::string_view(reinterpret_cast<const char*>(old->data()), old->size()));
    std::string session;
    for (const auto& line : m_pending)
        session += line + "\n";
    sessions.push_back(std::move(session));
    const size_t first = sessions.size() > kMaxSessions ? sessions.size() - kMaxSessions : 0;
    std::string text;
    for (size_t i = first; i < sessions.size(); ++i)
        text += sessions[i];
    if (!ReplaceFileAtomically(FilePath(), text, error))
        return false;
    m_pending.clear();
    return true;
}

} // namespace fitquill
