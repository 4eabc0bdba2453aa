// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace fitquill {

// What "fitquill-desktop --print-pdf FILE ..." asks for.
struct SPrintPdfRequest {
    std::string file;
    std::optional<std::string> user; // none: the user opened last
    std::optional<CJournalDate> from;
    std::optional<CJournalDate> to;
    std::array<bool, 6> reports{true, true, true, true, true, true}; // in report order
    bool nutrients = false; // the seventh report, Nutrient Details, only when named
};

// Whether the command line asks for a PDF report.
bool IsPrintPdfCommand(int argc, char* argv[]);

// Reads the words after the program name. Returns the one-line reason when they make no
// request: unknown or repeated options, a missing value, a bad date, --from without --to or
// after it, an unknown report, no report.
std::optional<SPrintPdfRequest> ParsePrintPdfRequest(const std::vector<std::string>& words,
                                                     std::string& error);

// Writes the reports of a user's journal to a PDF file without a display, prints what it wrote
// and returns 0; or writes one line on standard error and returns 1.
int RunPrintPdf(int argc, char* argv[]);

} // namespace fitquill
