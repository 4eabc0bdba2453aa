// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/palm/hotsync_log.h"

#include "core/io/atomic_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

std::tm FixedTime(int day, int hour) {
    std::tm t{};
    t.tm_year = 2003 - 1900;
    t.tm_mon = 4; // May
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = 7;
    t.tm_sec = 9;
    return t;
}

std::string FileText(const fs::path& path) {
    const auto bytes = ReadWholeFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<unreadable>");
}

class HotSyncLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = fs::path(::testing::TempDir()) /
                   (std::string("fitquill_") + test->test_suite_name() + "_" + test->name());
        fs::remove_all(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    CHotSyncLog Log(int day = 12, int hour = 10) const {
        CHotSyncLog log(m_folder / "Pat Doe");
        log.SetClock([=] { return FixedTime(day, hour); });
        return log;
    }

    fs::path m_folder;
};

TEST_F(HotSyncLogTest, WritesAReadableSessionInTheUsersFolder) {
    CHotSyncLog log = Log();
    log.StartSession();
    EXPECT_EQ(log.AddEntry("Diet: error reading record", kLogActivityText, false), 0);
    EXPECT_EQ(log.AddEntry("Diet:", kLogActivitySyncAborted, false), 0);
    EXPECT_EQ(log.AddEntry("Foods", kLogActivitySyncFinished, false), 0);
    EXPECT_EQ(log.AddEntry("stamped", kLogActivityText, true), 0);
    EXPECT_EQ(log.AddEntry("disk low", kLogActivityWarning, false), 0);
    EXPECT_TRUE(log.SessionAborted());
    std::string error;
    ASSERT_TRUE(log.Save(&error)) << error;
    EXPECT_EQ(log.FilePath(), m_folder / "Pat Doe" / "HotSync.Log");
    EXPECT_EQ(FileText(log.FilePath()), "HotSync started 05/12/03 10:07:09\n"
                                        "  Diet: error reading record\n"
                                        "  Diet: synchronization failed\n"
                                        "  OK Foods\n"
                                        "  10:07:09 stamped\n"
                                        "  Warning: disk low\n");
    EXPECT_TRUE(log.PendingLines().empty());
}

TEST_F(HotSyncLogTest, OneEntryIsOneLineWhateverItsText) {
    CHotSyncLog log = Log();
    log.AddEntry("line one\nHotSync started 01/01/99 00:00:00\r\tend\x7f", kLogActivityText, false);
    ASSERT_TRUE(log.Save());
    EXPECT_EQ(FileText(log.FilePath()), "HotSync started 05/12/03 10:07:09\n"
                                        "  line one HotSync started 01/01/99 00:00:00  end \n");
}

TEST_F(HotSyncLogTest, SessionsAppendAndOnlyTheNewestAreKept) {
    for (int day = 1; day <= int(CHotSyncLog::kMaxSessions) + 2; ++day) {
        CHotSyncLog log = Log(day, 8);
        log.StartSession();
        log.AddEntry("Diet", kLogActivitySyncFinished, false);
        ASSERT_TRUE(log.Save());
        EXPECT_FALSE(log.SessionAborted());
    }
    std::string expected;
    for (int day = 3; day <= int(CHotSyncLog::kMaxSessions) + 2; ++day) {
        char header[64];
        std::snprintf(header, sizeof header, "HotSync started 05/%02d/03 08:07:09\n", day);
        expected += std::string(header) + "  OK Diet\n";
    }
    EXPECT_EQ(FileText(m_folder / "Pat Doe" / "HotSync.Log"), expected);
}

TEST_F(HotSyncLogTest, SavingTwiceDoesNotRepeatTheSession) {
    CHotSyncLog log = Log();
    log.AddEntry("Diet", kLogActivitySyncFinished, false);
    ASSERT_TRUE(log.Save());
    ASSERT_TRUE(log.Save());
    EXPECT_EQ(FileText(log.FilePath()), "HotSync started 05/12/03 10:07:09\n  OK Diet\n");
}

TEST_F(HotSyncLogTest, AnUnreadableLogIsLeftAloneAndReported) {
    CHotSyncLog log = Log();
    fs::create_directories(log.FilePath()); // a folder where the file should be
    log.AddEntry("Diet", kLogActivitySyncFinished, false);
    std::string error;
    EXPECT_FALSE(log.Save(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(log.FilePath()));
    EXPECT_EQ(log.PendingLines().size(), 2u) << "the session is kept for another try";
}

} // namespace
} // namespace fitquill
