// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/palm/install_aid.h"

#include "core/io/atomic_file.h"
#include "platform/palm/palm_database.h"
#include "platform/palm/user_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fitquill {
namespace {

namespace fs = std::filesystem;

class InstallAidTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = fs::path(::testing::TempDir()) /
                   (std::string("fitquill_") + test->test_suite_name() + "_" + test->name());
        fs::remove_all(m_folder);
        m_root = m_folder / "Palm";
        m_source = m_folder / "PalmOS";
        fs::create_directories(m_source);
        for (const char* name : {"Fitquill.prc", "FQA-AppDB.pdb", "FQA-FoodDB.pdb"}) {
            CPalmDatabase db;
            db.SetName(fs::path(name).stem().string());
            if (fs::path(name).extension() == ".prc")
                db.SetAttributes(kPalmDbAttrResourceDb);
            ASSERT_TRUE(db.Save(m_source / name));
        }
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path m_folder;
    fs::path m_root;
    fs::path m_source;
};

TEST_F(InstallAidTest, CountsAndNamesTheHotSyncUsers) {
    CUserStore store(m_root);
    CInstallAid aid(store);
    std::string name;
    int16_t size = 256;
    EXPECT_EQ(aid.GetUserCount(), 0);
    EXPECT_EQ(aid.GetUser(0, name, size), kInstallErrNoUsers);

    ASSERT_EQ(store.AddUser("Pat Doe"), 0);
    ASSERT_EQ(store.AddUser("Lee"), 0);
    EXPECT_EQ(aid.GetUserCount(), 2);
    EXPECT_GT(aid.GetUser(0, name, size), 0);
    EXPECT_EQ(name, "Pat Doe");
    EXPECT_EQ(size, 8);
    size = 256;
    EXPECT_GT(aid.GetUser(1, name, size), 0);
    EXPECT_EQ(name, "Lee");
    size = 256;
    EXPECT_EQ(aid.GetUser(2, name, size), kInstallErrInvalidUser);
    EXPECT_EQ(aid.GetUser(-1, name, size), kInstallErrInvalidUser);
    size = 7;
    EXPECT_EQ(aid.GetUser(0, name, size), kInstallErrBufferTooSmall);
    EXPECT_EQ(name, "Lee") << "a refused call leaves the buffer alone";

    CUserStore noPalmDesktop(std::nullopt);
    CInstallAid none(noPalmDesktop);
    EXPECT_LE(none.GetUserCount(), 0);
}

TEST_F(InstallAidTest, QueuesFilesInOrderForTheNextHotSync) {
    CUserStore store(m_root);
    ASSERT_EQ(store.AddUser("Pat Doe"), 0);
    ASSERT_EQ(store.AddUser("Lee"), 0);
    CInstallAid aid(store);

    // Backslashes are directory separators, as in the paths the desktop program passes.
    const std::string sourceText = m_source.string();
    EXPECT_EQ(aid.InstallFile("Pat Doe", sourceText + "\\FQA-FoodDB.pdb"), kInstallErrNone);
    EXPECT_EQ(aid.InstallFile("Pat Doe", (m_source / "Fitquill.prc").string()), kInstallErrNone);
    EXPECT_EQ(aid.InstallFile("Pat Doe", (m_source / "FQA-AppDB.pdb").string()), kInstallErrNone);
    // Queued again: the copy is replaced, the place in the queue kept.
    EXPECT_EQ(aid.InstallFile("Pat Doe", sourceText + "/FQA-FoodDB.pdb"), kInstallErrNone);

    const fs::path userFolder = m_root / "Pat Doe";
    EXPECT_EQ(aid.UserFolder("Pat Doe"), userFolder);
    const std::vector<fs::path> expected = {userFolder / "Install" / "FQA-FoodDB.pdb",
                                            userFolder / "Install" / "Fitquill.prc",
                                            userFolder / "Install" / "FQA-AppDB.pdb"};
    EXPECT_EQ(aid.QueuedFiles("Pat Doe"), expected);
    EXPECT_EQ(ReadWholeFile(expected[1]), ReadWholeFile(m_source / "Fitquill.prc"));
    EXPECT_TRUE(aid.QueuedFiles("Lee").empty());

    EXPECT_EQ(aid.RemoveInstallFile("Pat Doe", "Fitquill.prc"), kInstallErrNone);
    EXPECT_FALSE(fs::exists(expected[1]));
    EXPECT_EQ(aid.QueuedFiles("Pat Doe"), (std::vector<fs::path>{expected[0], expected[2]}));
    EXPECT_EQ(aid.RemoveInstallFile("Pat Doe", "Fitquill.prc"), kInstallErrBadFileName);
    EXPECT_EQ(aid.RemoveInstallFile("Pat Doe", "FQA-FoodDB.pdb"), kInstallErrNone);
    EXPECT_EQ(aid.RemoveInstallFile("Pat Doe", "FQA-AppDB.pdb"), kInstallErrNone);
    EXPECT_FALSE(fs::exists(userFolder / CInstallAid::kFlagFile)) << "the flag goes with the last";
}

TEST_F(InstallAidTest, RefusesBadRequests) {
    CUserStore store(m_root);
    ASSERT_EQ(store.AddUser("Pat Doe"), 0);
    CInstallAid aid(store);
    ASSERT_TRUE(ReplaceFileAtomically(m_source / "notes.txt", std::vector<uint8_t>{'x'}));
    ASSERT_TRUE(ReplaceFileAtomically(m_source / "Garbage.pdb", std::vector<uint8_t>(40, 'g')));

    struct SCase {
        const char* user;
        fs::path file;
        int32_t result;
    };
    const std::vector<SCase> cases = {
        {"Nobody", m_source / "Fitquill.prc", kInstallErrInvalidUser},
        {"pat doe", m_source / "Fitquill.prc", kInstallErrInvalidUser},
        {"Pat Doe", m_source / "notes.txt", kInstallErrBadFileName},
        {"Pat Doe", m_source, kInstallErrBadFileName},
        {"Pat Doe", m_source / "Missing.prc", kInstallErrBadSource},
        {"Pat Doe", m_source / "Garbage.pdb", kInstallErrBadSource},
    };
    for (const auto& c : cases)
        EXPECT_EQ(aid.InstallFile(c.user, c.file.string()), c.result) << c.file;
    EXPECT_TRUE(aid.QueuedFiles("Pat Doe").empty());
    EXPECT_FALSE(fs::exists(m_root / "Pat Doe" / "Install"));
}

TEST_F(InstallAidTest, OnlyFileNamesInTheFlagFileCount) {
    CUserStore store(m_root);
    ASSERT_EQ(store.AddUser("Pat Doe"), 0);
    CInstallAid aid(store);
    const fs::path userFolder = m_root / "Pat Doe";
    // A bare copy is not queued; a flag line naming a path outside the folder is ignored.
    ASSERT_TRUE(
        ReplaceFileAtomically(userFolder / "Install" / "Loose.pdb", std::vector<uint8_t>{1}));
    const std::string flag = "../../PalmOS/Fitquill.prc\n\nLoose.pdb\n";
    ASSERT_TRUE(ReplaceFileAtomically(userFolder / CInstallAid::kFlagFile,
                                      std::vector<uint8_t>(flag.begin(), flag.end())));
    EXPECT_EQ(aid.QueuedFiles("Pat Doe"),
              (std::vector<fs::path>{userFolder / "Install" / "Loose.pdb"}));
    EXPECT_EQ(aid.RemoveInstallFile("Pat Doe", "../../PalmOS/Fitquill.prc"),
              kInstallErrBadFileName);
    EXPECT_TRUE(fs::exists(m_source / "Fitquill.prc"));
}

TEST_F(InstallAidTest, AnUnreadableFlagFileIsNeverOverwritten) {
    CUserStore store(m_root);
    ASSERT_EQ(store.AddUser("Pat Doe"), 0);
    CInstallAid aid(store);
    const fs::path flag = m_root / "Pat Doe" / CInstallAid::kFlagFile;
    fs::create_directories(flag); // cannot be read as a file
    EXPECT_EQ(aid.InstallFile("Pat Doe", (m_source / "Fitquill.prc").string()),
              kInstallErrCopyFailed);
    EXPECT_TRUE(fs::is_directory(flag));
}

} // namespace
} // namespace fitquill
