// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/document/recovery.h"

#include "core/food/food_db_file.h"
#include "core/internal_error.h"
#include "core/io/atomic_file.h"
#include "core/io/chunk_reader.h"
#include "core/io/chunk_writer.h"
#include "core/journal/journal_file.h"
#include "core/journal/journal_records.h"
#include "core/users/user_directory.h"
#include "desktop/document/prompt.h"
#include "desktop/document/stored_text.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <system_error>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kFormatLine = "Fitquill recovery 1";

std::optional<int64_t> ParseInteger(std::string_view text) {
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The value of "key=" among the lines, or nothing.
std::optional<std::string_view> Value(std::string_view lines, std::string_view key) {
    while (!lines.empty()) {
        const size_t end = std::min(lines.find('\n'), lines.size());
        const std::string_view line = lines.substr(0, end);
        lines.remove_prefix(std::min(end + 1, lines.size()));
        if (line.size() > key.size() && line.substr(0, key.size()) == key &&
            line[key.size()] == '=')
            return line.substr(key.size() + 1);
    }
    return std::nullopt;
}

fs::path SetAsidePath(const fs::path& copy) {
    return copy.parent_path() / kSetAsideRecoveryFileName;
}

} // namespace

// --- SFileStamp ---

SFileStamp SFileStamp::Of(const fs::path& file) {
    SFileStamp stamp;
    std::error_code ec;
    const auto modified = fs::last_write_time(file, ec);
    if (ec)
        return stamp;
    const auto size = fs::file_size(file, ec);
    if (ec)
        return stamp;
    stamp.exists = true;
    stamp.modified = static_cast<int64_t>(modified.time_since_epoch().count());
    stamp.size = size;
    return stamp;
}

std::string SFileStamp::ToText() const {
    if (!exists)
        return "none";
    return std::to_string(modified) + "/" + std::to_string(size);
}

std::optional<SFileStamp> SFileStamp::FromText(std::string_view text) {
    if (text == "none")
        return SFileStamp();
    const size_t slash = text.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    const auto modified = ParseInteger(text.substr(0, slash));
    const auto size = ParseInteger(text.substr(slash + 1));
    if (!modified || !size || *size < 0)
        return std::nullopt;
    return SFileStamp{true, *modified, static_cast<uint64_t>(*size)};
}

// --- SRecoveryCopy ---

std::vector<uint8_t> SRecoveryCopy::Pack() const {
    const std::string info = std::string(kFormatLine) + "\nsaved=" + std::to_string(savedAt) +
                             "\njournal=" + journalBase.ToText() + "\nfood=" + foodBase.ToText() +
                             "\n";
    CChunkWriter writer;
    writer.Reserve(info.size() + journal.size() + food.size() + 3 * CChunkWriter::kFrameSize);
    writer.AppendChunk(std::span(reinterpret_cast<const uint8_t*>(info.data()), info.size()));
    writer.AppendChunk(journal);
    writer.AppendChunk(food);
    return writer.Release();
}

std::optional<SRecoveryCopy> SRecoveryCopy::Unpack(std::span<const uint8_t> bytes) {
    const auto chunks = SplitChunks(bytes);
    if (!chunks || chunks->size() != 3)
        return std::nullopt;
    const std::string_view info(reinterpret_cast<const char*>((*chunks)[0].data()),
                                (*chunks)[0].size());
    if (!info.starts_with(kFormatLine) || info.size() == kFormatLine.size() ||
        info[kFormatLine.size()] != '\n')
        return std::nullopt;
    const auto saved = Value(info, "saved");
    const auto journalBase = Value(info, "journal");
    const auto foodBase = Value(info, "food");
    if (!saved || !journalBase || !foodBase)
        return std::nullopt;
    SRecoveryCopy copy;
    const auto savedAt = ParseInteger(*saved);
    const auto journalStamp = SFileStamp::FromText(*journalBase);
    const auto foodStamp = SFileStamp::FromText(*foodBase);
    if (!savedAt || !journalStamp || !foodStamp)
        return std::nullopt;
    copy.savedAt = *savedAt;
    copy.journalBase = *journalStamp;
    copy.foodBase = *foodStamp;
    copy.journal.assign((*chunks)[1].begin(), (*chunks)[1].end());
    copy.food.assign((*chunks)[2].begin(), (*chunks)[2].end());
    return copy;
}

bool SRecoveryCopy::Write(const fs::path& file, const SRecoveryCopy& copy, std::string* error) {
    return ReplaceFileAtomically(file, copy.Pack(), error);
}

std::optional<SRecoveryCopy> SRecoveryCopy::Read(const fs::path& file, std::string* error) {
    const auto bytes = ReadWholeFile(file, error);
    if (!bytes)
        return std::nullopt;
    auto copy = Unpack(*bytes);
    if (!copy && error)
        *error = "The recovery copy " + file.string() + " is damaged.";
    return copy;
}

// --- CRecovery ---

CRecovery::CRecovery(CJournalDB& journal, CFoodDB& food, QObject* parent)
    : QObject(parent), m_journal(journal), m_food(food) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CRecovery::StartPacking);
    m_sliceTimer.setSingleShot(true);
    connect(&m_sliceTimer, &QTimer::timeout, this, &CRecovery::PackSlice);
}

CRecovery::~CRecovery() {
    if (m_write.valid())
        m_write.wait();
}

void CRecovery::SetDelays(std::chrono::milliseconds quiet, std::chrono::milliseconds interval) {
    m_quiet = quiet;
    m_interval = interval;
}

fs::path CRecovery::CopyPath() const {
    if (m_journal.FilePath().empty())
        return fs::path();
    return fs::path(m_journal.FilePath()).parent_path() / kRecoveryFileName;
}

void CRecovery::Started() {
    m_journalBase = SFileStamp::Of(m_journal.FilePath());
    m_foodBase = SFileStamp::Of(m_food.FilePath());
}

void CRecovery::Edited() {
    using namespace std::chrono;
    CancelPacking();
    const auto now = steady_clock::now();
    if (!m_pendingSince)
        m_pendingSince = now;
    // A few seconds after the last edit, but no later than a quiet time after the first one
    // plus the interval, and never sooner than the interval after the last copy.
    auto due = std::min(now + m_quiet, *m_pendingSince + m_interval);
    if (m_lastWrite)
        due = std::max(due, *m_lastWrite + m_interval);
    m_timer.start(std::max(milliseconds(0), duration_cast<milliseconds>(due - now)));
}

void CRecovery::StartPacking() {
    m_timer.stop();
    CancelPacking();
    if (CopyPath().empty())
        return;
    CollectWrite();
    m_copy = SRecoveryCopy();
    m_copy.savedAt = QDateTime::currentSecsSinceEpoch();
    m_copy.journalBase = m_journalBase;
    m_copy.foodBase = m_foodBase;
    // The same records as the journal file, in the order PackJournalRecords gives them.
    m_journal.Header().SetVersion(kJournalWrittenVersion);
    m_records.clear();
    m_records.reserve(3 + static_cast<size_t>(m_journal.DayCount()));
    m_records.push_back(PackJournalHeader(m_journal.Header()));
    m_records.push_back(PackUserProfile(m_journal.Profile()));
    m_records.push_back(PackDayIndex(m_journal.DayIndex()));
    m_nextDay = 0;
    m_packing = true;
    PackSlice();
}

void CRecovery::PackSlice() {
    if (!m_packing)
        return;
    const int end = std::min(m_journal.DayCount(), m_nextDay + kDaysPerSlice);
    for (; m_nextDay < end; ++m_nextDay)
        m_records.push_back(PackDayRecord(m_journal.Day(m_nextDay)));
    if (m_nextDay < m_journal.DayCount()) {
        m_sliceTimer.start(0);
        return;
    }
    m_packing = false;
    try {
        m_copy.food = CFoodDBFile::Pack(m_food);
    } catch (const CInternalError& error) {
        // A database too large for its file cannot be saved either; Save All tells the user.
        m_lastError = error.what();
        m_records.clear();
        return;
    }
    m_lastWrite = std::chrono::steady_clock::now();
    m_pendingSince.reset();
    m_write = std::async(std::launch::async, [this, path = CopyPath(), copy = std::move(m_copy),
                                              records = std::move(m_records)]() mutable {
        copy.journal = JoinChunks(records);
        std::string error;
        if (!SRecoveryCopy::Write(path, copy, &error) && error.empty())
            error = "unknown error";
        // Picked up on the user-interface thread; dropped by Qt if this object is gone.
        QMetaObject::invokeMethod(this, &CRecovery::CollectWrite, Qt::QueuedConnection);
        return error;
    });
    m_records.clear();
}

void CRecovery::CancelPacking() {
    m_sliceTimer.stop();
    m_packing = false;
    m_records.clear();
}

void CRecovery::CollectWrite() {
    if (!m_write.valid())
        return;
    m_lastError = m_write.get();
    if (!m_lastError.empty())
        std::cerr << "fitquill-desktop: the recovery copy could not be written: " << m_lastError
                  << '\n';
    emit CopyWritten(m_lastError.empty());
}

void CRecovery::WaitForWrite() {
    CollectWrite();
}

void CRecovery::Discard() {
    m_timer.stop();
    CancelPacking();
    m_pendingSince.reset();
    CollectWrite();
    const fs::path path = CopyPath();
    if (path.empty())
        return;
    std::error_code ec;
    fs::remove(path, ec);
}

bool CRecovery::OfferAfterOpen(QWidget* owner) {
    const fs::path path = CopyPath();
    std::error_code ec;
    if (path.empty() || !fs::exists(fs::symlink_status(path, ec)))
        return false;

    const QString caption = QStringLiteral("Fitquill");
    auto setAside = [&] {
        std::error_code renameError;
        fs::rename(path, SetAsidePath(path), renameError);
        if (renameError)
            ShowPrompt(owner, caption,
                       QStringLiteral("The unsaved changes could not be kept as %1: %2")
                           .arg(FromPath(SetAsidePath(path)), FromUtf8(renameError.message())),
                       EPromptIcon::Warning, EPromptButtons::Ok);
    };

    // Everything is checked before asking: a copy that cannot be restored whole is only kept.
    std::string error;
    const std::optional<SRecoveryCopy> copy = SRecoveryCopy::Read(path, &error);
    CJournalDB journal;
    journal.SetFilePath(m_journal.FilePath());
    journal.SetFolderPath(m_journal.FolderPath());
    CFoodDB food;
    food.SetPaths(m_food.FilePath(), m_food.FolderPath());
    if (!copy || !CJournalFile::Unpack(copy->journal, journal) ||
        CFoodDBFile::Unpack(copy->food, food) != EFoodLoadResult::Loaded) {
        std::cerr << "fitquill-desktop: a damaged recovery copy was set aside: " << path.string()
                  << '\n';
        setAside();
        return false;
    }

    const bool changed = !(copy->journalBase == m_journalBase) || !(copy->foodBase == m_foodBase);
    const QString when =
        QLocale().toString(QDateTime::fromSecsSinceEpoch(copy->savedAt), QLocale::ShortFormat);
    QString text = QStringLiteral("Fitquill Desktop did not close properly. Restore the changes "
                                  "you had not saved (%1)?")
                       .arg(when);
    if (changed)
        text += QStringLiteral(
                    "\n\nThe saved files were changed after these changes were made, perhaps by "
                    "a HotSync operation. Restoring replaces those changes once you save. If you "
                    "answer No, the saved files open and your unsaved changes are kept as %1.")
                    .arg(QString::fromLatin1(kSetAsideRecoveryFileName));
    const EPromptAnswer answer =
        ShowPrompt(owner, caption, text, EPromptIcon::Question,
                   changed ? EPromptButtons::YesNoDefaultNo : EPromptButtons::YesNo);
    if (answer != EPromptAnswer::Yes) {
        setAside();
        return false;
    }
    journal.Profile().SetUserName(m_journal.Profile().UserName());
    m_journal = std::move(journal);
    m_food = std::move(food);
    return true;
}

} // namespace fitquill
