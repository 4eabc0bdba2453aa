// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/palm/handheld.h"

#include "core/io/atomic_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

class HandheldTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = fs::path(::testing::TempDir()) /
                   (std::string("fitquill_") + test->test_suite_name() + "_" + test->name());
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    bool WriteUserFile(const std::string& text) const {
        return ReplaceFileAtomically(m_folder / kHandheldUserFile,
                                     std::vector<uint8_t>(text.begin(), text.end()));
    }

    fs::path m_folder;
};

TEST_F(HandheldTest, ANewHandheldHasNoUser) {
    SHandheld handheld{"elsewhere", "old", 9};
    ASSERT_TRUE(LoadHandheld(m_folder, handheld));
    EXPECT_EQ(handheld.folder, m_folder);
    EXPECT_EQ(handheld.userName, "");
    EXPECT_EQ(handheld.userId, 0u);
    std::string error;
    EXPECT_FALSE(LoadHandheld(m_folder / "missing", handheld, &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(HandheldTest, UserRoundTripsThroughTheFolder) {
    const SHandheld saved{m_folder, "Pat Doe", 4000000000u};
    ASSERT_TRUE(SaveHandheldUser(saved));
    EXPECT_EQ(ReadWholeFile(m_folder / kHandheldUserFile),
              std::vector<uint8_t>({'U', 's', 'e', 'r', 'N',  'a', 'm', 'e', '=', 'P', 'a', 't',
                                    ' ', 'D', 'o', 'e', '\n', 'U', 's', 'e', 'r', 'I', 'D', '=',
                                    '4', '0', '0', '0', '0',  '0', '0', '0', '0', '0', '\n'}));
    SHandheld loaded;
    ASSERT_TRUE(LoadHandheld(m_folder, loaded));
    EXPECT_EQ(loaded.userName, "Pat Doe");
    EXPECT_EQ(loaded.userId, 4000000000u);
}

TEST_F(HandheldTest, RefusesBadNamesAndDamagedFiles) {
    EXPECT_FALSE(SaveHandheldUser({m_folder, std::string(64, 'n'), 1}));
    EXPECT_FALSE(SaveHandheldUser({m_folder, "two\nlines", 1}));
    EXPECT_TRUE(SaveHandheldUser({m_folder, std::string(63, 'n'), 1}));

    for (const char* text :
         {"UserID=12x\n", "UserID=\n", "UserID=4294967296\n", "UserID=-1\n", "UserName=a\tb\n"}) {
        ASSERT_TRUE(WriteUserFile(text));
        SHandheld handheld{m_folder, "kept", 5};
        std::string error;
        EXPECT_FALSE(LoadHandheld(m_folder, handheld, &error)) << text;
        EXPECT_FALSE(error.empty()) << text;
        EXPECT_EQ(handheld.userName, "kept") << text;
    }
    ASSERT_TRUE(WriteUserFile("UserID=7\r\nOther=x\r\nUserName=Lee\r\n"));
    SHandheld handheld;
    ASSERT_TRUE(LoadHandheld(m_folder, handheld));
    EXPECT_EQ(handheld.userName, "Lee");
    EXPECT_EQ(handheld.userId, 7u);
}

} // namespace
} // namespace fitquill
