// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/text_encoding.h"

#include <gtest/gtest.h>
#include <string>

using namespace fitquill;

namespace {

TEST(TextEncodingTest, ConvertsUtf8ToWindows1252) {
    const struct {
        const char* what;
        std::string utf8;
        std::string expected;
        size_t changed;
    } cases[] = {
        {"ASCII", "Apples, raw", "Apples, raw", 0},
        {"Latin-1 letter",
         "Entr\xC3\xA9"
         "e",
         "Entr\xE9"
         "e",
         0},
        {"degree sign", "350\xC2\xB0", "350\xB0", 0},
        {"euro sign, from the 0x80 row",
         "\xE2\x82\xAC"
         "5",
         "\x80"
         "5",
         0},
        {"trade mark", "BRAND\xE2\x84\xA2", "BRAND\x99", 0},
        {"curly apostrophe", "Wendy\xE2\x80\x99s", "Wendy\x92s", 0},
        {"en dash",
         "1\xE2\x80\x93"
         "2",
         "1\x96"
         "2",
         0},
        {"minus sign has no byte: hyphen",
         "\xE2\x88\x92"
         "5",
         "-5", 1},
        {"no-break space becomes a space",
         "a\xC2\xA0"
         "b",
         "a b", 1},
        {"tab becomes a space", "a\tb", "a b", 1},
        {"control characters are dropped",
         "a\x01"
         "b\x7F",
         "ab", 2},
        {"character beyond the code page", "\xE6\x97\xA5", "?", 1},
        {"four-byte character", "x\xF0\x9F\x8D\x8E", "x?", 1},
        {"overlong encoding of '/'", "\xC0\xAF", "?", 1},
        {"encoded surrogate", "\xED\xA0\x80", "?", 1},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", "?", 1},
        {"lone continuation byte",
         "a\x80"
         "b",
         "a?b", 1},
        {"sequence cut by the end", "ok\xE2\x82", "ok??", 2},
        {"sequence cut by ASCII", "\xC3(", "?(", 1},
    };
    for (const auto& c : cases) {
        size_t changed = 0;
        EXPECT_EQ(Utf8ToWindows1252BestFit(c.utf8, &changed), c.expected) << c.what;
        EXPECT_EQ(changed, c.changed) << c.what;
    }
}

TEST(TextEncodingTest, CountsAcrossCalls) {
    size_t changed = 0;
    Utf8ToWindows1252BestFit("\xE6\x97\xA5", &changed);
    Utf8ToWindows1252BestFit("a\tb", &changed);
    EXPECT_EQ(changed, 2u);
    EXPECT_EQ(Utf8ToWindows1252BestFit("plain"), "plain");
}

} // namespace
