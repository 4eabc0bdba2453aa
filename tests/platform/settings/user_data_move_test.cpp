// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings/user_data_move.h"

#include "core/io/atomic_file.h"
#include "core/users/user_list_file.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace fitquill;
namespace fs = std::filesystem;

namespace {

class UserDataMoveTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() /
                 ("fitquill_move_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_root);
        m_data = m_root / "build" / "share" / "fitquill";
        m_install = m_root / "home" / ".local" / "share" / "fitquill";
    }
    void TearDown() override { fs::remove_all(m_root); }

    static fs::path Users(const fs::path& installPath) {
        return installPath / "Fitquill" / "Desktop" / "Users";
    }
    // A user list with its user folders, each holding a journal of a few bytes.
    static void WriteUsers(const fs::path& installPath, const std::vector<std::string>& names) {
        const auto bytes = CUserListFile::Pack(names);
        ASSERT_TRUE(ReplaceFileAtomically(Users(installPath) / "Users.udb", bytes));
        for (const std::string& name : names) {
            fs::create_directories(Users(installPath) / name / "Fitquill");
            std::ofstream(Users(installPath) / name / "Fitquill" / "UserDB.ddb")
                << "journal of " << name;
        }
    }
    static std::vector<std::string> ListedUsers(const fs::path& installPath) {
        std::vector<std::string> names;
        const auto bytes = ReadWholeFile(Users(installPath) / "Users.udb");
        EXPECT_TRUE(bytes && CUserListFile::Unpack(*bytes, names));
        return names;
    }
    static std::string Journal(const fs::path& installPath, const std::string& name) {
        std::ifstream file(Users(installPath) / name / "Fitquill" / "UserDB.ddb");
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    fs::path m_root;
    fs::path m_data;
    fs::path m_install;
};

} // namespace

TEST_F(UserDataMoveTest, EarlierUsersAreMovedOnceAndWhole) {
    WriteUsers(m_data, {"Ann", "bob"});
    std::ofstream(m_data / "FoodDB.ddb") << "shipped";

    const SUserDataMove move = MoveEarlierUserData(m_data, m_install);
    EXPECT_EQ(move.outcome, SUserDataMove::EOutcome::Moved);
    EXPECT_EQ(move.from, Users(m_data));
    EXPECT_EQ(move.to, Users(m_install));
    EXPECT_NE(move.Message().find(Users(m_install).string()), std::string::npos);
    EXPECT_EQ(ListedUsers(m_install), (std::vector<std::string>{"Ann", "bob"}));
    EXPECT_EQ(Journal(m_install, "bob"), "journal of bob");
    // Nothing is left twice; the shipped data stays.
    EXPECT_FALSE(fs::exists(m_data / "Fitquill"));
    EXPECT_TRUE(fs::exists(m_data / "FoodDB.ddb"));

    const SUserDataMove again = MoveEarlierUserData(m_data, m_install);
    EXPECT_EQ(again.outcome, SUserDataMove::EOutcome::Nothing);
    EXPECT_EQ(again.Message(), "");
    EXPECT_EQ(ListedUsers(m_install), (std::vector<std::string>{"Ann", "bob"}));
}

TEST_F(UserDataMoveTest, UsersAtTheNewPlaceAreNeverOverwritten) {
    WriteUsers(m_data, {"Ann"});
    WriteUsers(m_install, {"Cleo"});

    const SUserDataMove move = MoveEarlierUserData(m_data, m_install);
    EXPECT_EQ(move.outcome, SUserDataMove::EOutcome::LeftInPlace);
    EXPECT_NE(move.Message().find(Users(m_data).string()), std::string::npos);
    EXPECT_EQ(ListedUsers(m_install), std::vector<std::string>{"Cleo"});
    EXPECT_EQ(ListedUsers(m_data), std::vector<std::string>{"Ann"});
    EXPECT_EQ(Journal(m_data, "Ann"), "journal of Ann");
    EXPECT_FALSE(fs::exists(Users(m_install) / "Ann"));
}

TEST_F(UserDataMoveTest, AnEmptyListAtTheNewPlaceGivesWay) {
    // A tool or conduit that ran first made an empty list there.
    WriteUsers(m_data, {"Ann"});
    WriteUsers(m_install, {});
    EXPECT_EQ(MoveEarlierUserData(m_data, m_install).outcome, SUserDataMove::EOutcome::Moved);
    EXPECT_EQ(ListedUsers(m_install), std::vector<std::string>{"Ann"});

    // A damaged list there is not known to be empty: it stays, and so do the old users.
    WriteUsers(m_data, {"Dan"});
    fs::remove_all(Users(m_install));
    fs::create_directories(Users(m_install));
    std::ofstream(Users(m_install) / "Users.udb") << "x";
    EXPECT_EQ(MoveEarlierUserData(m_data, m_install).outcome, SUserDataMove::EOutcome::LeftInPlace);
    EXPECT_EQ(ListedUsers(m_data), std::vector<std::string>{"Dan"});
}

TEST_F(UserDataMoveTest, NothingHappensWithoutEarlierUsersOrWhenThePlacesAreOne) {
    fs::create_directories(m_data);
    EXPECT_EQ(MoveEarlierUserData(m_data, m_install).outcome, SUserDataMove::EOutcome::Nothing);
    EXPECT_FALSE(fs::exists(m_install));

    // The setting may name the data folder itself (spelled differently).
    WriteUsers(m_data, {"Ann"});
    EXPECT_EQ(MoveEarlierUserData(m_data, m_data / "." / "").outcome,
              SUserDataMove::EOutcome::Nothing);
    EXPECT_EQ(MoveEarlierUserData(m_data, fs::path()).outcome, SUserDataMove::EOutcome::Nothing);
    EXPECT_EQ(ListedUsers(m_data), std::vector<std::string>{"Ann"});
}

TEST_F(UserDataMoveTest, AFailedMoveLeavesTheUsersWhereTheyWere) {
    WriteUsers(m_data, {"Ann"});
    fs::create_directories(m_root / "home");
    std::ofstream(m_root / "home" / "blocker") << "a file, not a folder";

    const SUserDataMove move = MoveEarlierUserData(m_data, m_root / "home" / "blocker" / "x");
    EXPECT_EQ(move.outcome, SUserDataMove::EOutcome::Failed);
    EXPECT_FALSE(move.error.empty());
    EXPECT_NE(move.Message().find("left where they are"), std::string::npos);
    EXPECT_EQ(ListedUsers(m_data), std::vector<std::string>{"Ann"});
    EXPECT_EQ(Journal(m_data, "Ann"), "journal of Ann");
}

TEST_F(UserDataMoveTest, AtStartOnlyTheAccountsOwnDataFolderReceivesUsers) {
    WriteUsers(m_data, {"Ann"});
    const fs::path home = m_root / "home";
    // A sandbox's folders (a test's HOME or XDG_DATA_HOME, often inside the account's home)
    // are not the account's own: nothing moves there.
    for (const fs::path& elsewhere :
         {home / "build" / "tests" / "data" / "fitquill",
          m_root / "home2" / ".local" / "share" / "fitquill", m_root / "sandbox"}) {
        EXPECT_EQ(MoveEarlierUserDataAtStart(m_data, elsewhere, home).outcome,
                  SUserDataMove::EOutcome::Nothing);
        EXPECT_FALSE(fs::exists(elsewhere));
    }
    EXPECT_EQ(MoveEarlierUserDataAtStart(m_data, m_install, fs::path()).outcome,
              SUserDataMove::EOutcome::Nothing);
    EXPECT_EQ(ListedUsers(m_data), std::vector<std::string>{"Ann"});

    EXPECT_EQ(MoveEarlierUserDataAtStart(m_data, m_install.string() + "/", home).outcome,
              SUserDataMove::EOutcome::Moved);
    EXPECT_EQ(ListedUsers(m_install), std::vector<std::string>{"Ann"});
    EXPECT_FALSE(AccountHomeFolder().empty());
}
