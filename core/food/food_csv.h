// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_db.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace fitquill {

// How an import merges the file into the database. The values are the positions of the
// choices in the import dialog.
enum class EFoodImportMode : int {
    ReplaceDatabase = 0,   // every group is deleted first
    ReplaceCategories = 1, // every category named in the file is deleted first
    ImportedWins = 2,      // an item of the same name is replaced by the imported one
    ExistingWins = 3,      // an item of the same name is kept, the line is skipped
};

// The character set an import read its file in.
enum class ECsvEncoding { Windows1252, Utf8 };

// The outcome of an import. lineNumber counts from 1: on failure it is the line that failed
// (1 when the file could not be read); on success the number of the line after the last one.
struct SFoodImportResult {
    bool ok = false;
    long lineNumber = 1;
    std::string error; // a readable reason for logs; the dialog shows ImportFailedText
    ECsvEncoding encoding = ECsvEncoding::Windows1252;
    // The text holds no food line at all (empty, blank lines, a header alone): refused before
    // the database is touched, in every mode; the user reads kNoFoodDataText.
    bool noFoodData = false;
};

// The food-data text files: one food item per line, 16 fields each followed by a comma, the
// line ended by CR LF; no header and no quoting. Commas inside names travel as "+". An
// exported file imports again unchanged.
//
// Exports replace their file atomically and are all or nothing: an export that fails leaves an
// existing file as it was. Imports read the whole file first and stop at the first bad line;
// what earlier lines (and the deletions of the mode) changed stays in the database.
class CFoodCsv {
public:
    static constexpr size_t kFieldCount = 16;
    // A line's bytes, its CR LF included.
    static constexpr size_t kMaxLineBytes = 1024;
    // The longest food item name a line may carry (before trimming).
    static constexpr size_t kMaxNameLength = 20;
    static constexpr char kCommaStandIn = '+';

    // Called now and then during an import, and once at the end, with the lines handled and
    // the lines to handle (both passes counted in mode 1). Runs on the importing thread.
    using ProgressCallback = std::function<void(size_t linesDone, size_t linesTotal)>;

    // ---- export ----

    // The file an export with an empty path writes: the database's file path with its final
    // ".ddb" (any case) replaced by ".csv", or with ".csv" appended when it has no such end
    // (so that the database file itself is never the target). Empty without a file path.
    static std::filesystem::path DefaultExportPath(const CFoodDB& db);

    // Export all groups, one group, or one category of a group. An empty path means
    // DefaultExportPath. False when the path is empty after that, an item's serving equals
    // neither of its base measures, or the file could not be written. Group and category
    // indexes must exist (internal error 1000 otherwise).
    static bool ExportAll(const CFoodDB& db, const std::filesystem::path& path,
                          std::string* error = nullptr);
    static bool ExportGroup(const CFoodDB& db, const std::filesystem::path& path, uint16_t group,
                            std::string* error = nullptr);
    static bool ExportCategory(const CFoodDB& db, const std::filesystem::path& path, uint16_t group,
                               uint16_t category, std::string* error = nullptr);

    // The text of an export; nothing when an item cannot be written (see ItemLine). A group of
    // -1 means every group, a category of -1 every category of the group.
    static std::optional<std::string> ExportText(const CFoodDB& db, int group = -1,
                                                 int category = -1);
    // One item's line with its CR LF; nothing when its serving equals neither base measure.
    static std::optional<std::string> ItemLine(const CFoodItem& item, std::string_view groupName,
                                               std::string_view categoryName);

    // ---- import ----

    // Imports the file at `path`. An empty path, a missing or unreadable file fails with line
    // number 1 and changes nothing; so does a file without food data (noFoodData). A mode outside
    // the four is internal error 1000.
    // Exports are Windows-1252, but spreadsheets of today write UTF-8: a file that is valid
    // UTF-8 and holds non-ASCII text, or starts with a byte-order mark, is read as UTF-8 and
    // converted (a line with a character Windows-1252 cannot hold fails); anything else is read
    // as Windows-1252. The result says which.
    static SFoodImportResult Import(CFoodDB& db, const std::filesystem::path& path,
                                    EFoodImportMode mode, const ProgressCallback& progress = {});
    // The same for stored (Windows-1252) bytes already in memory.
    static SFoodImportResult ImportText(CFoodDB& db, std::string_view text, EFoodImportMode mode,
                                        const ProgressCallback& progress = {});

    // The encoding a file of these bytes is read in, and its name for messages ("UTF-8",
    // "Windows-1252").
    static ECsvEncoding DetectEncoding(std::string_view bytes);
    static const char* EncodingName(ECsvEncoding encoding);

    // Whether any line of the text is a food line the import takes. A text without one is
    // refused by every import, so that an empty or foreign file cannot empty the database.
    static bool HoldsFoodData(std::string_view text);
    static constexpr const char* kNoFoodDataText =
        "The file holds no food data. The food database was not changed.";

    // "Importing of food data failed on line N.  A partial import was complete up to the point
    // of encountering the error."
    static std::string ImportFailedText(long lineNumber);
    // Asked before an import while the journal has unsaved changes.
    static constexpr const char* kSaveFirstQuestion =
        "It is recommended that you save your file before importing food data.  Should the "
        "import fail, please close the application without saving to preserve your current "
        "data.  \n\nDo you wish to save prior to importing food data?";
};

} // namespace fitquill
