// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill-hotsync/sync_backup.h"

#include "tests/core/io/failure_sweep.h"

#include <gtest/gtest.h>

#include <fstream>

#include <unistd.h>

using namespace fitquill;
namespace fs = std::filesystem;

namespace {

class SyncBackupTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/fq-backup-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        fs::create_directories(Handheld());
        fs::create_directories(User() / "Fitquill");
        Write(Handheld() / "FQA-AppDB.pdb", "journal");
        Write(Handheld() / "App.PRC", "application");
        Write(Handheld() / "Handheld.txt", "UserName=Ann\n");
        Write(User() / "Fitquill" / "UserDB.ddb", "desktop journal");
        Write(User() / "HotSync.Log", "log");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path Handheld() const { return m_dir / "handheld"; }
    fs::path User() const { return m_dir / "palm" / "Ann"; }

    static void Write(const fs::path& file, const std::string& text) {
        std::ofstream(file, std::ios::binary) << text;
    }
    static std::vector<std::string> Names(const std::vector<fs::path>& paths) {
        std::vector<std::string> names;
        for (const auto& path : paths)
            names.push_back(path.filename().string());
        return names;
    }
    static std::vector<std::string> Files(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path Make(const SLocalTime& when) {
        fs::path made;
        std::string error;
        EXPECT_TRUE(CSyncBackup::Make(Handheld(), User(), when, made, &error)) << error;
        EXPECT_TRUE(CSyncBackup::Rotate(User(), made));
        return made;
    }

    fs::path m_dir;
    const SLocalTime m_noon{2024, 6, 30, 12, 0, 0, 0};
};

TEST_F(SyncBackupTest, CopiesTheHandheldDatabasesAndTheDesktopFiles) {
    const fs::path made = Make(m_noon);
    EXPECT_EQ(made, User() / "Backup" / "2024-06-30_120000");
    EXPECT_EQ(Files(made / "Handheld"), (std::vector<std::string>{"App.PRC", "FQA-AppDB.pdb"}));
    EXPECT_EQ(Files(made / "Desktop"), std::vector<std::string>{"UserDB.ddb"});
    std::ifstream copy(made / "Desktop" / "UserDB.ddb");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(copy), {}), "desktop journal");
}

TEST_F(SyncBackupTest, KeepsTheLastFiveInTheOrderTheyWereMade) {
    fs::create_directories(User() / "Backup" / "notes");
    fs::create_directories(User() / "Backup" / "2024-06-30_120000_01");
    for (int i = 0; i < 7; ++i)
        Make(m_noon);
    EXPECT_EQ(Names(CSyncBackup::List(User())),
              (std::vector<std::string>{"2024-06-30_120000_3", "2024-06-30_120000_4",
                                        "2024-06-30_120000_5", "2024-06-30_120000_6",
                                        "2024-06-30_120000_7"}));
    // A later second sorts after every backup of an earlier one, whatever their numbers.
    Make({2024, 6, 30, 12, 0, 1, 0});
    EXPECT_EQ(Names(CSyncBackup::List(User())).back(), "2024-06-30_120001");
    // Folders that are not backups are never removed.
    EXPECT_TRUE(fs::is_directory(User() / "Backup" / "notes"));
    EXPECT_TRUE(fs::is_directory(User() / "Backup" / "2024-06-30_120000_01"));
}

TEST_F(SyncBackupTest, ABackupMadeAfterTheClockWentBackIsKept) {
    for (int day = 10; day < 15; ++day)
        Make({2024, 6, day, 12, 0, 0, 0});
    const fs::path made = Make({2024, 6, 1, 12, 0, 0, 0});
    EXPECT_EQ(
        Names(CSyncBackup::List(User())),
        (std::vector<std::string>{"2024-06-01_120000", "2024-06-11_120000", "2024-06-12_120000",
                                  "2024-06-13_120000", "2024-06-14_120000"}));
    EXPECT_TRUE(fs::is_directory(made));
}

} // namespace

namespace {

// Every file copy of a backup failing in turn: no backup at all comes of it, never a part of
// one, and both sides stay as they were. A half-made backup that a killed operation left is
// cleared by the next one.
TEST_F(SyncBackupTest, AFailedCopyLeavesNoBackupAndAKilledOneIsCleared) {
    Make(m_noon);
    int attempt = 0;
    fitquill::testing::RunFailureSweep(
        "backup", m_dir, [] {},
        [&] {
            fs::path made;
            std::string error;
            const SLocalTime when{2024, 7, 1, 9, 0, ++attempt % 60, 1};
            const bool done = CSyncBackup::Make(Handheld(), User(), when, made, &error);
            EXPECT_EQ(done, error.empty()) << error;
            return done;
        });
    EXPECT_EQ(CSyncBackup::List(User()).size(), 7u); // the first and one per fault kind

    fs::create_directories(User() / "Backup" / "2024-07-02_080000.partial" / "Handheld");
    Make(SLocalTime{2024, 7, 2, 8, 0, 0, 2});
    EXPECT_FALSE(fs::exists(User() / "Backup" / "2024-07-02_080000.partial"));
    EXPECT_TRUE(fs::exists(User() / "Backup" / "2024-07-02_080000" / "Handheld"));
}

} // namespace
