// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/palm/hotsync_log.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// Where a run's HotSync log entries go. A log never fails a run: an entry that cannot be
// stored is lost, the synchronisation stands.
class IConduitLog {
public:
    virtual ~IConduitLog() = default;
    virtual void AddEntry(std::string_view text, int32_t activity) = 0;
};

// Appends each entry as one line to the HotSync Manager's entry file: activity in decimal, TAB,
// text (control characters as spaces), LF.
class CLogEntryFile final : public IConduitLog {
public:
    explicit CLogEntryFile(std::filesystem::path path) : m_path(std::move(path)) {}
    void AddEntry(std::string_view text, int32_t activity) override;

    // One line of the file, without its LF.
    static std::string FormatLine(std::string_view text, int32_t activity);

private:
    std::filesystem::path m_path;
};

// Without a HotSync Manager to hand the entries to: a session of their own in the HotSync log
// of the user's folder, saved when the object ends.
class CUserFolderLog final : public IConduitLog {
public:
    explicit CUserFolderLog(std::filesystem::path userFolder);
    ~CUserFolderLog() override;
    CUserFolderLog(const CUserFolderLog&) = delete;
    CUserFolderLog& operator=(const CUserFolderLog&) = delete;

    void AddEntry(std::string_view text, int32_t activity) override;

private:
    CHotSyncLog m_log;
    bool m_used = false;
};

// Keeps the entries in memory (tests, and callers that pass them on themselves).
class CMemoryLog final : public IConduitLog {
public:
    struct SEntry {
        std::string text;
        int32_t activity = 0;
        bool operator==(const SEntry&) const = default;
    };
    void AddEntry(std::string_view text, int32_t activity) override {
        m_entries.push_back({std::string(text), activity});
    }
    const std::vector<SEntry>& Entries() const { return m_entries; }

private:
    std::vector<SEntry> m_entries;
};

} // namespace fitquill
