// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_db.h"
#include "core/journal/journal_db.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <future>
#include <optional>
#include <span>
#include <string>
#include <vector>

class QWidget;

namespace fitquill {

// What identifies one version of a file on disk: whether it exists, its modification time and
// its size. A HotSync operation that rewrote the file changes it.
struct SFileStamp {
    bool exists = false;
    int64_t modified = 0; // file clock ticks
    uint64_t size = 0;

    static SFileStamp Of(const std::filesystem::path& file);
    std::string ToText() const;
    static std::optional<SFileStamp> FromText(std::string_view text);
    bool operator==(const SFileStamp&) const = default;
};

// One recovery copy: the journal and the food database as their files would hold them, and
// the stamps of the files the document was read from. Journal and food database live in one
// file, so that a copy is replaced as a whole and never pairs one edit's journal with
// another's food database.
struct SRecoveryCopy {
    int64_t savedAt = 0; // seconds since 1970, UTC
    SFileStamp journalBase;
    SFileStamp foodBase;
    std::vector<uint8_t> journal;
    std::vector<uint8_t> food;

    // The file's bytes: three chunks, a text of "key=value" lines, the journal file and the
    // food database file.
    std::vector<uint8_t> Pack() const;
    // Nothing when the bytes are not a whole recovery copy.
    static std::optional<SRecoveryCopy> Unpack(std::span<const uint8_t> bytes);

    // Written atomically; false with a reason when the file could not be replaced.
    static bool Write(const std::filesystem::path& file, const SRecoveryCopy& copy,
                      std::string* error = nullptr);
    // Nothing when the file is missing, unreadable or not a whole copy (`error` says which).
    static std::optional<SRecoveryCopy> Read(const std::filesystem::path& file,
                                             std::string* error = nullptr);
};

// Keeps a recovery copy of the open user's unsaved changes beside the user's files, so that a
// crash, a kill or the internal-error exit loses at most the last few seconds of work. Edits
// schedule a copy a few seconds after the last one and at most once a minute. The document is
// packed on the user-interface thread in slices of days between events, so that typing never
// waits long (an edit meanwhile starts the copy over), and the file is written on a worker
// thread. Saving,
// answering No to the save question and a clean close remove the copy; the next opening of
// the user offers to restore it.
class CRecovery : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kQuietTime{3000};
    static constexpr std::chrono::milliseconds kMinimumInterval{60000};
    // Days packed between two events: about two milliseconds' work.
    static constexpr int kDaysPerSlice = 200;

    // The document's journal and food database (not owned; they outlive this object).
    CRecovery(CJournalDB& journal, CFoodDB& food, QObject* parent = nullptr);
    // Waits for a copy being written; never removes the copy (a crash must find it).
    ~CRecovery() override;
    CRecovery(const CRecovery&) = delete;
    CRecovery& operator=(const CRecovery&) = delete;

    void SetDelays(std::chrono::milliseconds quiet, std::chrono::milliseconds interval);

    // The user's files were just read or written: later copies start from them.
    void Started();
    // The document changed: schedule a copy (a copy being packed starts over).
    void Edited();
    // Blocks until a copy being written is on disk.
    void WaitForWrite();
    // The changes are saved or given up: stop scheduling and remove the copy.
    void Discard();
    // Whether a copy is due or being packed.
    bool Scheduled() const { return m_timer.isActive() || m_packing; }
    bool Packing() const { return m_packing; }

    // The copy of the open user's journal file, whether it exists or not.
    std::filesystem::path CopyPath() const;
    // The reason of the last failed write; empty after a successful one.
    const std::string& LastError() const { return m_lastError; }

    // After a user was opened: when a recovery copy is there, asks whether to restore it. Yes
    // replaces the journal and food database by the copy's (the paths stay the user's) and
    // returns true: the caller marks the document modified. No sets the copy aside. When the
    // files changed since the copy was made, the question says so and No is the default.
    bool OfferAfterOpen(QWidget* owner);

signals:
    // A copy was written (or failed to be); LastError() tells which.
    void CopyWritten(bool ok);

private:
    void StartPacking();
    void PackSlice();
    void CancelPacking();
    void CollectWrite();

    CJournalDB& m_journal;
    CFoodDB& m_food;
    QTimer m_timer;
    QTimer m_sliceTimer;
    // The copy being packed: the journal's records so far and the next day to pack.
    bool m_packing = false;
    std::vector<std::vector<uint8_t>> m_records;
    int m_nextDay = 0;
    SRecoveryCopy m_copy;
    std::chrono::milliseconds m_quiet = kQuietTime;
    std::chrono::milliseconds m_interval = kMinimumInterval;
    std::optional<std::chrono::steady_clock::time_point> m_lastWrite;
    // The first edit since the last copy: continuous typing must not put the copy off forever.
    std::optional<std::chrono::steady_clock::time_point> m_pendingSince;
    SFileStamp m_journalBase;
    SFileStamp m_foodBase;
    std::future<std::string> m_write; // the reason of a failure, empty on success
    std::string m_lastError;
};

} // namespace fitquill
