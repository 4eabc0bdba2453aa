// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// Activity codes of a log line (the HotSync log library's order). The conduits use the
// first three.
constexpr int32_t kLogActivityText = -1;
constexpr int32_t kLogActivitySyncFinished = 20;
constexpr int32_t kLogActivitySyncAborted = 21;
constexpr int32_t kLogActivitySyncStarted = 19;
constexpr int32_t kLogActivityWarning = 22;

// The HotSync log of one HotSync user: the lines of the running HotSync operation in memory,
// appended as one session to the readable text file "HotSync.Log" in the user's folder.
// The file keeps the newest sessions only, so that it does not grow without end.
class CHotSyncLog {
public:
    static constexpr const char* kFileName = "HotSync.Log";
    static constexpr size_t kMaxSessions = 10;

    explicit CHotSyncLog(std::filesystem::path userFolder);

    std::filesystem::path FilePath() const { return m_userFolder / kFileName; }

    // Begins a session with the line "HotSync started MM/DD/YY hh:mm:ss". Lines added
    // without a session start one.
    void StartSession();
    // Adds a line; returns 0. Codes 20 and 21 report a conduit's end with its tag as text;
    // other codes log the text as it is. Control characters become spaces so that one
    // entry stays one line.
    int32_t AddEntry(std::string_view text, int32_t activity, bool timeStamp);

    // The lines of the session not yet saved, as they will appear in the file.
    const std::vector<std::string>& PendingLines() const { return m_pending; }
    // Whether any line of the session was a conduit's abort.
    bool SessionAborted() const { return m_aborted; }

    // Appends the pending session to the file (atomically, dropping the oldest sessions
    // beyond kMaxSessions) and clears it. An existing file that cannot be read is left
    // alone and the save fails.
    bool Save(std::string* error = nullptr);

    // Local time source; tests fix it.
    void SetClock(std::function<std::tm()> clock) { m_clock = std::move(clock); }

private:
    std::filesystem::path m_userFolder;
    std::vector<std::string> m_pending;
    bool m_aborted = false;
    std::function<std::tm()> m_clock;
};

} // namespace fitquill
