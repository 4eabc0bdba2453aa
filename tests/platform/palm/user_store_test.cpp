// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/atomic_file.h"
#include "platform/palm/user_store.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

using namespace fitquill;
namespace fs = std::filesystem;

namespace {

const std::string kSep(1, static_cast<char>(fs::path::preferred_separator));

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

class UserStore : public ::testing::Test {
protected:
    UserStore() {
        std::random_device random;
        m_temp = fs::temp_directory_path() / ("fitquill-store-" + std::to_string(random()));
        m_palm = m_temp / "palm";
        fs::create_directories(m_temp);
    }
    ~UserStore() override {
        std::error_code ec;
        fs::remove_all(m_temp, ec);
    }

    UserHandle Find(CUserStore& store, std::string_view name) {
        UserHandle user = 0;
        EXPECT_EQ(store.FindUserByName(name, user), 0) << name;
        return user;
    }
    std::string Folder(CUserStore& store, UserHandle user) {
        std::string folder;
        uint16_t size = 256;
        EXPECT_EQ(store.GetUserFolderName(user, folder, size), 0);
        return folder;
    }

    fs::path m_temp;
    fs::path m_palm;
};

} // namespace

TEST_F(UserStore, WithoutAPalmFolderNothingIsServed) {
    CUserStore store(std::nullopt);
    std::string text;
    uint16_t size = 256;
    UserHandle user;
    EXPECT_EQ(store.GetUsersRoot(text, size), kUserLibraryUnavailable);
    EXPECT_EQ(store.UserCount(), 0);
    EXPECT_EQ(store.AddUser("Ann"), kUserLibraryUnavailable);
    EXPECT_EQ(store.FindUserByName("Ann", user), kUserLibraryUnavailable);
    EXPECT_EQ(store.GetUserHandle(0, user), kUserLibraryUnavailable);
    EXPECT_EQ(CUserStore(fs::path()).GetUsersRoot(text, size), kUserLibraryUnavailable);
}

TEST_F(UserStore, PalmFolderComesFromTheSettingThenTheEnvironment) {
    const char* saved = std::getenv(kPalmRootVariable);
    std::string savedValue = saved ? saved : "";

    unsetenv(kPalmRootVariable);
    EXPECT_EQ(CUserStore::PalmRoot(""), std::nullopt);
    EXPECT_EQ(CUserStore::PalmRoot("/set"), fs::path("/set"));
    setenv(kPalmRootVariable, "", 1);
    EXPECT_EQ(CUserStore::PalmRoot(""), std::nullopt);
    setenv(kPalmRootVariable, "/env", 1);
    EXPECT_EQ(CUserStore::PalmRoot(""), fs::path("/env"));
    EXPECT_EQ(CUserStore::PalmRoot("/set"), fs::path("/set"));

    if (saved)
        setenv(kPalmRootVariable, savedValue.c_str(), 1);
    else
        unsetenv(kPalmRootVariable);
}

TEST_F(UserStore, AddsUsersWithFoldersAndAReadableIndex) {
    CUserStore store(m_palm);
    std::string root;
    uint16_t size = 256;
    ASSERT_GT(store.GetUsersRoot(root, size), 0);
    EXPECT_EQ(root, m_palm.string() + kSep);
    EXPECT_EQ(size, root.size() + 1);

    EXPECT_EQ(store.AddUser("Ann"), 0);
    EXPECT_EQ(store.AddUserWithId("bob", 3000000000u), 0);
    EXPECT_EQ(store.AddUser("Carl Smith"), 0);
    EXPECT_EQ(store.AddUser("Ann"), kUserStoreDuplicateName);
    EXPECT_EQ(store.AddUserWithId("Dora", 1), kUserStoreDuplicateName); // Ann has ID 1
    EXPECT_EQ(ReadText(m_palm / "users.idx"), "FitquillUsers 1\n"
                                              "1\tAnn\tAnn\n"
                                              "3000000000\tbob\tbob\n"
                                              "3000000001\tCarl Smith\tCarl Smith\n");
    for (const char* folder : {"Ann", "bob", "Carl Smith"})
        EXPECT_TRUE(fs::is_directory(m_palm / folder)) << folder;

    // Another store over the same folder (another process) sees the same users.
    CUserStore other(m_palm);
    EXPECT_EQ(other.UserCount(), 3);
    UserHandle user = 0;
    ASSERT_EQ(other.GetUserHandle(1, user), 0);
    uint32_t id = 0;
    EXPECT_EQ(other.GetUserId(user, id), 0);
    EXPECT_EQ(id, 3000000000u);
    EXPECT_EQ(other.GetUserHandle(3, user), kUserStoreNoSuchUser);
    EXPECT_EQ(other.GetUserHandle(-1, user), kUserStoreNoSuchUser);
}

TEST_F(UserStore, UnsafeNamesAreRefusedAndTakenFoldersAvoided) {
    CUserStore store(m_palm);
    fs::create_directories(m_palm / "Ann");
    WriteText(m_palm / "Ann" / "keep.txt", "old");
    ASSERT_EQ(store.AddUser("Ann"), 0);
    EXPECT_EQ(Folder(store, Find(store, "Ann")), "Ann2");
    EXPECT_EQ(ReadText(m_palm / "Ann" / "keep.txt"), "old");
    ASSERT_EQ(store.AddUser("users.idx"), 0);
    EXPECT_EQ(Folder(store, Find(store, "users.idx")), "users.idx2");

    for (const char* name : {"../x", "a/b", "a\\b", "..", "", "  ", "tab\tx", "line\nx"}) {
        EXPECT_EQ(store.AddUser(name), kUserStoreBadName) << name;
        EXPECT_EQ(store.RenameUser(Find(store, "Ann"), name), kUserStoreBadName) << name;
    }
    EXPECT_FALSE(fs::exists(m_temp / "x"));
    EXPECT_EQ(store.UserCount(), 2);
}

// The index keeps the name's Windows-1252 bytes; the folder is its UTF-8 form.
TEST_F(UserStore, AFolderIsNamedWithTheUtf8FormOfTheName) {
    CUserStore store(m_palm);
    ASSERT_EQ(store.AddUser("Zo\xEB"), 0);
    EXPECT_EQ(Folder(store, Find(store, "Zo\xEB")), "Zoë");
    EXPECT_TRUE(fs::is_directory(m_palm / "Zoë"));
    EXPECT_EQ(ReadText(m_palm / "users.idx"), "FitquillUsers 1\n1\tZoë\tZo\xEB\n");
}

TEST_F(UserStore, RenameKeepsTheFolderAndDeleteRemovesIt) {
    CUserStore store(m_palm);
    ASSERT_EQ(store.AddUser("Ann"), 0);
    ASSERT_EQ(store.AddUser("bob"), 0);
    UserHandle ann = Find(store, "Ann");
    fs::create_directories(m_palm / "Ann" / "Fitquill");
    WriteText(m_palm / "Ann" / "Fitquill" / "UserDB.ddb", "journal");

    EXPECT_EQ(store.RenameUser(ann, "bob"), kUserStoreDuplicateName);
    EXPECT_EQ(store.RenameUser(ann, "Anna"), 0);
    EXPECT_EQ(Find(store, "Anna"), ann);
    EXPECT_EQ(Folder(store, ann), "Ann");
    EXPECT_EQ(store.RenameUser(999, "Zed"), kUserStoreNoSuchUser);

    UserHandle found = 0;
    const std::string root = m_palm.string() + kSep;
    EXPECT_EQ(store.FindUserByPath(root + "Ann" + kSep + "Fitquill" + kSep + "UserDB.ddb", found),
              0);
    EXPECT_EQ(found, ann);
    EXPECT_EQ(store.FindUserByPath(root + "Anna", found), kUserStoreNoSuchUser);
    EXPECT_EQ(store.FindUserByPath("/elsewhere/Ann", found), kUserStoreNoSuchUser);

    EXPECT_EQ(store.DeleteUser(ann), 0);
    EXPECT_FALSE(fs::exists(m_palm / "Ann"));
    EXPECT_EQ(store.DeleteUser(ann), kUserStoreNoSuchUser);
    EXPECT_EQ(store.UserCount(), 1);
}

TEST_F(UserStore, TextsMustFitTheCallersBuffer) {
    CUserStore store(m_palm);
    ASSERT_EQ(store.AddUser("Annabel"), 0);
    UserHandle user = Find(store, "Annabel");
    std::string text = "unchanged";
    uint16_t size = 7;
    EXPECT_EQ(store.GetUserName(user, text, size), kUserStoreNoRoom);
    EXPECT_EQ(store.GetUserFolderName(user, text, size), kUserStoreNoRoom);
    EXPECT_EQ(text, "unchanged");
    size = 8;
    EXPECT_EQ(store.GetUserName(user, text, size), 8);
    EXPECT_EQ(text, "Annabel");
    std::string root;
    size = static_cast<uint16_t>(m_palm.string().size() + 1); // no room for the separator
    EXPECT_EQ(store.GetUsersRoot(root, size), kUserStoreNoRoom);
}

TEST_F(UserStore, DamagedIndexFailsEveryCallAndIsNeverOverwritten) {
    fs::create_directories(m_palm);
    const std::string kDamaged[] = {
        "",
        "Wrong header\n",
        "FitquillUsers 1\n1\tAnn\n",
        "FitquillUsers 1\nx1\tAnn\tAnn\n",
        "FitquillUsers 1\n99999999999\tAnn\tAnn\n",
        "FitquillUsers 1\n1\t..\tAnn\n",
        "FitquillUsers 1\n1\t../../etc\tAnn\n",
        "FitquillUsers 1\n1\tAnn\t\n",
        "FitquillUsers 1\n1\tAnn\tAnn\n1\tBob\tBob\n",
        "FitquillUsers 1\n1\tAnn\tAnn\n2\tann\tBob\n",
    };
    for (const std::string& text : kDamaged) {
        SCOPED_TRACE(text);
        WriteText(m_palm / "users.idx", text);
        CUserStore store(m_palm);
        UserHandle user = 0;
        EXPECT_EQ(store.UserCount(), 0);
        EXPECT_EQ(store.FindUserByName("Ann", user), kUserStoreDamaged);
        EXPECT_EQ(store.AddUser("Zed"), kUserStoreDamaged);
        EXPECT_EQ(store.DeleteUser(1), kUserStoreDamaged);
        EXPECT_FALSE(store.LastError().empty());
        EXPECT_EQ(ReadText(m_palm / "users.idx"), text);
        EXPECT_FALSE(fs::exists(m_palm / "Zed"));
    }
}

TEST_F(UserStore, FailedIndexSaveChangesNothing) {
    CUserStore store(m_palm);
    ASSERT_EQ(store.AddUser("Ann"), 0);
    const std::string index = ReadText(m_palm / "users.idx");
    {
        CFileFaultInjection fault(EFileFault::Rename);
        EXPECT_EQ(store.AddUser("bob"), kUserStoreFileError);
    }
    EXPECT_FALSE(fs::exists(m_palm / "bob"));
    {
        CFileFaultInjection fault(EFileFault::Write, 3);
        EXPECT_EQ(store.DeleteUser(Find(store, "Ann")), kUserStoreFileError);
    }
    EXPECT_TRUE(fs::is_directory(m_palm / "Ann"));
    EXPECT_EQ(ReadText(m_palm / "users.idx"), index);
}
