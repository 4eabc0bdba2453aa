// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_db.h"
#include "platform/settings/program_locations.h"

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace fitquill {

inline constexpr char kUserDataExportedText[] = "User data was successfully exported.";
inline constexpr char kUserDataExportFailedText[] = "The export of user data failed.";

// The journal commands: "export-user-data", "dump --journal", "demo", "trend" and
// "nutrients". Failures raise
// CToolFailure. The program's locations are asked for only by commands that name a user.
class CJournalCommands {
public:
    using LocationsSource = std::function<const CProgramLocations&()>;

    // `words` follow the command name.
    static void ExportUserData(const std::vector<std::string>& words,
                               const LocationsSource& locations, std::ostream& out);
    static void DumpJournal(const std::filesystem::path& file, std::ostream& out);
    static void Demo(const std::vector<std::string>& words, const LocationsSource& locations,
                     std::ostream& out);
    // The weight trend statement of a journal on a date (today by default).
    static void Trend(const std::vector<std::string>& words, const LocationsSource& locations,
                      std::ostream& out);

    // The Nutrient Details report of a date range (today by default) as text.
    static void Nutrients(const std::vector<std::string>& words, const LocationsSource& locations,
                          std::ostream& out);

    // Reads a journal file that must exist; a damaged file raises CToolFailure after what was
    // read is in the journal.
    static void ReadJournalFile(const std::filesystem::path& file, CJournalDB& journal);
};

} // namespace fitquill
