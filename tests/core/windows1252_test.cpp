// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/windows1252.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

using namespace fitquill;

namespace {

const std::set<unsigned char> kUndefined = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

TEST(Windows1252Test, EveryDefinedByteRoundTripsThroughUtf8) {
    for (int value = 0; value < 256; ++value) {
        const auto byte = static_cast<unsigned char>(value);
        const std::string stored(1, static_cast<char>(byte));
        const std::string utf8 = Windows1252ToUtf8(stored);
        EXPECT_TRUE(IsValidUtf8(utf8)) << value;
        if (kUndefined.count(byte) != 0) {
            EXPECT_EQ(utf8, "\xEF\xBF\xBD") << value;
            EXPECT_FALSE(Utf8ToWindows1252(utf8).has_value()) << value;
        } else {
            EXPECT_EQ(Utf8ToWindows1252(utf8), stored) << value;
        }
    }
}

TEST(Windows1252Test, TheRow80CharactersMapBothWays) {
    // Written out as text, not taken from the table under test.
    const std::string row = "€‚ƒ„…†‡ˆ‰Š‹ŒŽ‘’“”•–—˜™š›œžŸ";
    const std::string bytes = "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93"
                              "\x94\x95\x96\x97\x98\x99\x9A\x9B\x9C\x9E\x9F";
    ASSERT_EQ(bytes.size(), 27u);
    EXPECT_EQ(Utf8ToWindows1252(row), bytes);
    EXPECT_EQ(Windows1252ToUtf8(bytes), row);
    EXPECT_EQ(Utf8ToWindows1252("Café crème ½"), "Caf\xE9 cr\xE8me \xBD");
}

TEST(Windows1252Test, RefusesWhatTheCodePageCannotHold) {
    const struct {
        const char* what;
        std::string utf8;
        size_t badOffset;
    } cases[] = {
        {"CJK", "ok 寿司", 3},
        {"emoji", "x🍎", 1},
        {"replacement character", "a\xEF\xBF\xBD", 1},
        {"C1 control with an undefined byte's number", "\xC2\x81", 0},
        {"overlong slash", "ab\xC0\xAF", 2},
        {"encoded surrogate", "\xED\xA0\x80", 0},
        {"cut short", "ok\xE2\x82", 2},
        {"Latin-1 byte, not UTF-8", "Caf\xE9", 3},
    };
    for (const auto& c : cases) {
        size_t offset = 99;
        EXPECT_FALSE(Utf8ToWindows1252(c.utf8, &offset).has_value()) << c.what;
        EXPECT_EQ(offset, c.badOffset) << c.what;
    }
}

} // namespace
