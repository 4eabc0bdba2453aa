// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/csv_reader.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace fitquill;

namespace {

using Records = std::vector<std::vector<std::string>>;

// Every record of the text, or the error the reader stopped with.
Records ReadAll(std::string_view text, std::string* error = nullptr) {
    CCsvReader reader(text);
    Records records;
    std::vector<std::string> fields;
    while (reader.ReadRecord(fields))
        records.push_back(fields);
    if (error)
        *error = reader.Error();
    return records;
}

struct SGoodCase {
    const char* what;
    std::string text;
    Records expected;
};

TEST(CsvReaderTest, ReadsWellFormedText) {
    const SGoodCase cases[] = {
        {"plain fields", "a,b,c\n1,2,3\n", {{"a", "b", "c"}, {"1", "2", "3"}}},
        {"last record without line break", "a,b\n1,2", {{"a", "b"}, {"1", "2"}}},
        {"CRLF line ends", "a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}},
        {"empty fields", ",x,\n,,\n", {{"", "x", ""}, {"", "", ""}}},
        {"trailing comma at the end of the text", "a,", {{"a", ""}}},
        {"quoted comma", "\"Apples, raw\",x\n", {{"Apples, raw", "x"}}},
        {"doubled quotes", "\"pat (1\"\" sq)\",5\n", {{"pat (1\" sq)", "5"}}},
        {"only a doubled quote", "\"\"\"\"\n", {{"\""}}},
        {"empty quoted field", "\"\",a\n", {{"", "a"}}},
        {"embedded line feed", "\"two\nlines\",b\nc,d\n", {{"two\nlines", "b"}, {"c", "d"}}},
        {"embedded CRLF kept as written", "\"a\r\nb\"\r\n", {{"a\r\nb"}}},
        {"byte order mark skipped", "\xEF\xBB\xBFndb_no,x\n", {{"ndb_no", "x"}}},
        {"UTF-8 passes through",
         "Entr\xC3\xA9\x65\n",
         {{"Entr\xC3\xA9"
           "e"}}},
        {"empty text", "", {}},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_EQ(ReadAll(c.text, &error), c.expected) << c.what;
        EXPECT_EQ(error, "") << c.what;
    }
}

struct SBadCase {
    const char* what;
    std::string text;
    size_t recordsBefore;
    std::string error;
};

TEST(CsvReaderTest, StopsAtMalformedInputNamingTheLine) {
    const SBadCase cases[] = {
        {"quote inside unquoted field", "a,b\nab\"c,d\n", 1,
         "line 2: quote inside an unquoted field"},
        {"text after closing quote", "\"a\"b,c\n", 0, "line 1: text after a closing quote"},
        {"space after closing quote", "x\n\"a\" ,c\n", 1, "line 2: text after a closing quote"},
        {"unterminated quote", "a\n\"open,\nstill open\n", 1, "line 2: quoted field is not closed"},
        {"lone carriage return", "a\rb\n", 0, "line 1: carriage return without line feed"},
        {"carriage return at the end", "a,b\r", 0, "line 1: carriage return without line feed"},
        {"line counted across an embedded break", "\"x\ny\",1\nq\"\n", 1,
         "line 3: quote inside an unquoted field"},
    };
    for (const auto& c : cases) {
        std::string error;
        const Records records = ReadAll(c.text, &error);
        EXPECT_EQ(records.size(), c.recordsBefore) << c.what;
        EXPECT_EQ(error, c.error) << c.what;
    }
}

TEST(CsvReaderTest, ReportsWhereEachRecordStarted) {
    CCsvReader reader("a\n\"b\nc\"\nd\n");
    std::vector<std::string> fields;
    std::vector<size_t> lines;
    while (reader.ReadRecord(fields))
        lines.push_back(reader.RecordLine());
    EXPECT_EQ(lines, (std::vector<size_t>{1, 2, 4}));
    EXPECT_FALSE(reader.Failed());
    // Once done, the reader stays done.
    EXPECT_FALSE(reader.ReadRecord(fields));
    EXPECT_TRUE(fields.empty());
}

TEST(CsvTableTest, FindsColumnsByHeaderAndKeepsRowLines) {
    std::string error;
    const auto table = CCsvTable::Parse("id,\"long, desc\"\n1,\"x\ny\"\n2,z\n", error);
    ASSERT_TRUE(table) << error;
    EXPECT_EQ(table->Column("long, desc"), 1u);
    EXPECT_EQ(table->Column("missing"), std::nullopt);
    ASSERT_EQ(table->RowCount(), 2u);
    EXPECT_EQ(table->Row(0)[1], "x\ny");
    EXPECT_EQ(table->RowLine(1), 4u);
    EXPECT_THROW(table->Row(2), std::out_of_range);
}

TEST(CsvTableTest, RefusesRowsOfAnotherWidthAndBrokenText) {
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"a,b\n1,2,3\n", "line 2: 3 fields, the header has 2"},
        {"a,b\n1\n", "line 2: 1 fields, the header has 2"},
        {"a,b\n1,2\n\n", "line 3: 1 fields, the header has 2"},
        {"a,b\n\"1,2\n", "line 2: quoted field is not closed"},
        {"", "no header row"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(CCsvTable::Parse(c.text, error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

} // namespace
