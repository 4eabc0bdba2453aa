// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_db.h"
#include "core/users/user_directory.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// The desktop journal file, UserDB.ddb in the user's program folder: the journal's records
// (journal_records.h) framed as chunks, with no file header and no trailer.
//
// Saves replace the file atomically, so a failed save leaves the previous file as it was. A
// file of a version below 4 raises an internal error; a version above 6 is read as 6.
class CJournalFile {
public:
    // Finds the user by name, clears the journal, stores the paths of the user's folder and
    // file in it, reads the file and stores the user name in the profile. False when the user
    // or the user's folder cannot be found (the journal is then untouched) or the read fails.
    static bool Open(CJournalDB& journal, const CUserDirectory& users, std::string_view userName,
                     std::string* error = nullptr);

    // Clears the journal (its paths stay) and reads the file at its path into it. A missing
    // file is a new user's empty journal and succeeds; an empty path, a file that exists but
    // cannot be read, or a damaged file fails, keeping what was read before the damage. On
    // success the journal is not modified.
    static bool Read(CJournalDB& journal, std::string* error = nullptr);

    // Writes the journal as version 6 to its path, creating the folder when needed; the food
    // totals of every day are recomputed first. On success the journal is not modified; on
    // failure (empty path, file not replaced) the previous file is untouched.
    static bool Write(CJournalDB& journal, std::string* error = nullptr);

    // The bytes of the file for the journal (sets the version and refreshes totals as Write).
    static std::vector<uint8_t> Pack(CJournalDB& journal);
    // Reads the bytes of a file into the journal, which should be empty. False on damage, with
    // what was read before it kept; `damage` (when given) says what was wrong.
    static bool Unpack(std::span<const uint8_t> bytes, CJournalDB& journal,
                       std::string* damage = nullptr);
};

} // namespace fitquill
