// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_db.h"
#include "core/users/user_directory.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// What a load of the food database achieved. The numbers of success and failure are those
// the file operations report everywhere; a partial load has its own, so that a caller can
// tell the user that part of the database is missing.
enum class EFoodLoadResult : int {
    Loaded = 0,  // the whole file was read
    Failed = 1,  // nothing was read and the database is unchanged
    Partial = 2, // the file is damaged: what was read before the damage is in the database
};

// Who reads the file: the desktop program falls back to the default food database installed
// with the program when the user has no file yet; the food conduit reads the user's file only.
enum class EFoodFileMode {
    Desktop,
    Conduit,
};

// The desktop food database file, FoodDB.ddb in the user's program folder: a plain sequence of
// chunks holding header, group table, then per group its record and one item record per
// category. Versions 4 and 5 are read; version 6 is written.
//
// Saves replace the file atomically, so a failed save leaves the previous file as it was.
// When a load found the user's file damaged, the next save first keeps that file as
// FoodDB.ddb.bak. File formats below version 4 raise internal error 1000.
class CFoodDBFile {
public:
    static constexpr uint16_t kWrittenVersion = 6;
    static constexpr int kOldGroupCount = 8;
    // The groups of the old format, in stored order.
    static const char* const kOldGroupNames[kOldGroupCount];
    static constexpr const char* kBackupSuffix = ".bak";

    // In desktop mode the default food database is looked up in `dataFolder` (the program's
    // data folder; skipped when empty) and then in the current directory.
    explicit CFoodDBFile(EFoodFileMode mode, std::filesystem::path dataFolder = {});

    // Derives the food file and folder paths from the journal file path of the same user:
    // the user is the one whose data folder (the users root and the next path element) holds
    // the journal. False, leaving the paths as they were, when the users root cannot be had,
    // the journal path is not inside it or no user owns that folder.
    static bool SetPaths(CFoodDB& db, const CUserDirectory& users,
                         std::string_view journalFilePath);

    // Reads the file at the database's path (or, in desktop mode when it does not exist, the
    // default database) into the database; the paths stay the user's. Version 6 replaces the
    // groups, versions 4 and 5 add their eight groups. Failed, with nothing changed, for an
    // empty path, when no file exists, or when the file cannot be read or its header is
    // damaged; Partial when damage further on stopped the load.
    EFoodLoadResult Load(CFoodDB& db);

    // Writes the database as version 6 to its path (the version in memory becomes 6 and every
    // group's record number is set), creating the folder when needed. False when the path is
    // empty, the database has more records than 16-bit record numbers can count, or the file
    // could not be replaced; the previous file is then untouched.
    bool Save(CFoodDB& db);

    // A readable reason for the last failure, or for the damage a partial load met.
    const std::string& LastError() const { return m_lastError; }
    // The file the last load read; empty when it read none.
    const std::filesystem::path& LoadedFrom() const { return m_loadedFrom; }
    // Whether the next save of the file at `filePath` first keeps it as FoodDB.ddb.bak.
    bool BackupPending(const std::filesystem::path& filePath) const {
        return !m_backupPath.empty() && m_backupPath == filePath;
    }

    // The bytes of the file for the database (sets version and record numbers as Save does).
    // A database with more records than 16-bit record numbers can count raises internal error
    // 1000 (Save refuses it instead).
    static std::vector<uint8_t> Pack(CFoodDB& db);
    // Reads the bytes of a file into the database. `damage` (when given) receives what was
    // wrong when the result is not Loaded.
    static EFoodLoadResult Unpack(std::span<const uint8_t> bytes, CFoodDB& db,
                                  std::string* damage = nullptr);

    // The same as records, one per chunk of the file and per record of the handheld's food
    // database: header, group table, then per group its record and its item records.
    static std::vector<std::vector<uint8_t>> PackRecords(CFoodDB& db);
    static EFoodLoadResult UnpackRecords(std::span<const std::span<const uint8_t>> records,
                                         CFoodDB& db, std::string* damage = nullptr);

private:
    EFoodFileMode m_mode;
    std::filesystem::path m_dataFolder;
    std::string m_lastError;
    std::filesystem::path m_loadedFrom;
    // The user's file that a load found damaged; kept as a backup before it is replaced.
    std::filesystem::path m_backupPath;
};

} // namespace fitquill
