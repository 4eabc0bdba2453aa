// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/journal_file.h"

#include "core/io/atomic_file.h"
#include "core/io/chunk_reader.h"
#include "core/io/chunk_writer.h"
#include "core/journal/journal_records.h"

#include <filesystem>
#include <optional>

namespace fitquill {
namespace {

bool Fail(std::string* error, const std::string& text) {
    if (error != nullptr)
        *error = text;
    return false;
}

} // namespace

bool CJournalFile::Open(CJournalDB& journal, const CUserDirectory& users, std::string_view userName,
                        std::string* error) {
    UserHandle user = 0;
    if (!users.FindUserByName(userName, user))
        return Fail(error, "The user " + std::string(userName) + " was not found.");
    std::string folder;
    if (!users.GetProgramFolder(user, folder))
        return Fail(error, "The folder of the user " + std::string(userName) + " was not found.");

    journal.Clear();
    journal.SetFolderPath(folder);
    journal.SetFilePath(folder + kPathSeparator + kJournalFileName);
    const bool read = Read(journal, error);
    journal.Profile().SetUserName(userName);
    return read;
}

bool CJournalFile::Read(CJournalDB& journal, std::string* error) {
    if (journal.FilePath().empty())
        return Fail(error, "No journal file is set.");
    journal.Clear();

    std::string reason;
    bool missing = false;
    CFileReader file;
    if (!file.Open(journal.FilePath(), &reason, &missing)) {
        // Only a file that is not there means a new user; one that is there but cannot be
        // read must not pass for an empty journal that the next save would write over it.
        if (!missing)
            return Fail(error, reason);
        return true;
    }
    // Record by record from the file: a long journal is never held whole beside its model,
    // and each record is read while its bytes are in the cache.
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(journal.FilePath(), ec);
    CChunkFileReader chunks(file);
    CJournalRecordReader records(
        journal,
        ec ? 0 : static_cast<std::size_t>(size / (CChunkWriter::kFrameSize + kMinDayRecordSize)));
    while (records.WantsMore()) {
        const std::optional<std::span<const uint8_t>> record = chunks.Next();
        if (!record || !records.Take(*record))
            break;
    }
    if (file.Failed()) {
        journal.Clear(); // as when the file cannot be read at all
        return Fail(error, file.Error());
    }
    std::string damage;
    if (!records.Finish(&damage))
        return Fail(error, "The journal " + journal.FilePath() + " is damaged: " + damage + ".");
    journal.SetModified(false);
    return true;
}

bool CJournalFile::Write(CJournalDB& journal, std::string* error) {
    if (journal.FilePath().empty())
        return Fail(error, "No journal file is set.");
    const std::vector<uint8_t> bytes = Pack(journal);
    std::string reason;
    if (!ReplaceFileAtomically(journal.FilePath(), bytes, &reason))
        return Fail(error, reason);
    journal.SetModified(false);
    return true;
}

std::vector<uint8_t> CJournalFile::Pack(CJournalDB& journal) {
    CChunkWriter file;
    PackJournalRecords(journal, file);
    return file.Release();
}

bool CJournalFile::Unpack(std::span<const uint8_t> bytes, CJournalDB& journal,
                          std::string* damage) {
    return UnpackJournalRecords(LeadingChunks(bytes), journal, damage);
}

} // namespace fitquill
