// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/print/print_pdf_command.h"

#include <gtest/gtest.h>

using namespace fitquill;

namespace {

std::optional<SPrintPdfRequest> Parse(std::vector<std::string> words,
                                      std::string* error = nullptr) {
    std::string reason;
    auto request = ParsePrintPdfRequest(words, reason);
    if (error)
        *error = reason;
    EXPECT_EQ(request.has_value(), reason.empty()) << reason;
    return request;
}

} // namespace

TEST(PrintPdfRequest, DefaultsAreEveryReportOfTheWholeJournalOfTheLastUser) {
    const auto request = Parse({"--print-pdf", "out.pdf"});
    ASSERT_TRUE(request);
    EXPECT_EQ(request->file, "out.pdf");
    EXPECT_FALSE(request->user);
    EXPECT_FALSE(request->from);
    EXPECT_FALSE(request->to);
    EXPECT_EQ(request->reports, (std::array<bool, 6>{true, true, true, true, true, true}));
}

TEST(PrintPdfRequest, OptionsInAnyOrder) {
    const auto request = Parse({"--reports", "plan, summary,,chart", "--to", "2031-12-31", "--user",
                                "-Ann-", "--from", "1904-01-01", "--print-pdf", "a b.pdf"});
    ASSERT_TRUE(request);
    EXPECT_EQ(request->file, "a b.pdf");
    EXPECT_EQ(request->user, "-Ann-");
    EXPECT_EQ(*request->from, CJournalDate(1, 1, 1904));
    EXPECT_EQ(*request->to, CJournalDate(31, 12, 2031));
    // Report order: logbook, meals, journal, summary, chart, plan.
    EXPECT_EQ(request->reports, (std::array<bool, 6>{false, false, false, true, true, true}));
    const auto oneDay = Parse({"--print-pdf", "x", "--from", "2024-03-01", "--to", "2024-03-01"});
    ASSERT_TRUE(oneDay);
}

TEST(PrintPdfRequest, RefusalsSayWhy) {
    const struct {
        std::vector<std::string> words;
        std::string reason;
    } cases[] = {
        {{"--print-pdf"}, "--print-pdf needs a value"},
        {{"--print-pdf", ""}, "--print-pdf needs a file name"},
        {{"--print-pdf", "a", "--print-pdf", "b"}, "--print-pdf is given twice"},
        {{"--print-pdf", "a", "extra"}, "unknown option 'extra'"},
        {{"--print-pdf", "a", "--to", "2024-01-01"}, "--from and --to go together"},
        {{"--print-pdf", "a", "--from", "2024-1-5", "--to", "2024-01-06"}, "bad date '2024-1-5'"},
        {{"--print-pdf", "a", "--from", "1903-12-31", "--to", "2024-01-06"},
         "bad date '1903-12-31'"},
        {{"--print-pdf", "a", "--from", "2024-01-01", "--to", "2032-01-01"},
         "bad date '2032-01-01'"},
        {{"--print-pdf", "a", "--from", "2024-01-02", "--to", "2024-01-01"}, "after the --to date"},
        {{"--print-pdf", "a", "--reports", "logbook,notes"}, "unknown report 'notes'"},
        {{"--print-pdf", "a", "--reports", " , "}, "no report chosen"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(Parse(c.words, &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}
