// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_db.h"

#include <filesystem>
#include <string>

namespace fitquill {

// The "Export User Data" file: a header line, then one comma-separated line per day record in
// date order with the date, the weight in the user's unit, the day's calorie balance and its
// six nutrient totals. Lines end with CR LF; nothing is quoted.
class CUserDataExport {
public:
    static constexpr const char* kHeaderLine =
        "Date,Weight,Meals,BMR,Exercise,Total,,Cal,Carb,Prot,Fiber,Fat,SFat";

    // The whole file. Every day is refreshed first (totals, BMR and exercise calories), as the
    // views see it.
    static std::string BuildText(CJournalDB& journal);

    // Writes the file, replacing an existing one atomically: a failure leaves an old file as it
    // was. False for an empty path or a file that could not be written.
    static bool Export(CJournalDB& journal, const std::filesystem::path& path,
                       std::string* error = nullptr);

    // One day's line without its line end; the day must be refreshed.
    static std::string DayLine(const CDayRecord& day, bool metric);
};

} // namespace fitquill
