// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/atomic_file.h"
#include "core/users/user_directory.h"
#include "core/users/user_list_file.h"
#include "platform/palm/user_store.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace fitquill;
namespace fs = std::filesystem;

namespace {

const std::string kSep(1, kPathSeparator);

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (int v : values)
        out.push_back(static_cast<uint8_t>(v));
    return out;
}

std::vector<uint8_t> Concat(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<uint8_t> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Every entry below a folder, relative to it.
std::set<std::string> Tree(const fs::path& root) {
    std::set<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        entries.insert(fs::relative(entry.path(), root).generic_string());
    return entries;
}

class CTempFolder {
public:
    CTempFolder() {
        std::random_device random;
        m_path = fs::temp_directory_path() / ("fitquill-users-" + std::to_string(random()));
        fs::create_directories(m_path);
    }
    ~CTempFolder() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

class CRecordingNotices : public INoticeSink {
public:
    void ShowNotice(std::string_view caption, std::string_view text) override {
        shown.emplace_back(std::string(caption) + "|" + std::string(text));
    }
    std::vector<std::string> shown;
};

// A library whose answers the test sets; it records what it was asked.
class CFakeLibrary : public IUserLibrary {
public:
    int32_t UserCount() override { return count; }
    int32_t GetUserHandle(int32_t index, UserHandle& user) override {
        user = 700 + static_cast<UserHandle>(index);
        return Answer("handle " + std::to_string(index), result);
    }
    int32_t GetUserName(UserHandle user, std::string& name, uint16_t& size) override {
        name = text;
        return Answer("name " + std::to_string(user) + " " + std::to_string(size), textResult);
    }
    int32_t GetUserFolderName(UserHandle user, std::string& folder, uint16_t& size) override {
        folder = text;
        return Answer("folder " + std::to_string(user) + " " + std::to_string(size), textResult);
    }
    int32_t GetUsersRoot(std::string& out, uint16_t& size) override {
        out = root;
        return Answer("root " + std::to_string(size), rootResult);
    }
    int32_t RenameUser(UserHandle user, std::string_view name) override {
        return Answer("rename " + std::to_string(user) + " " + std::string(name), result);
    }
    int32_t AddUser(std::string_view name) override {
        return Answer("add " + std::string(name), result);
    }
    int32_t DeleteUser(UserHandle user) override {
        return Answer("delete " + std::to_string(user), result);
    }
    int32_t FindUserByName(std::string_view name, UserHandle& user) override {
        user = 42;
        return Answer("find " + std::string(name), result);
    }
    int32_t FindUserByPath(std::string_view path, UserHandle& user) override {
        user = 43;
        return Answer("path " + std::string(path), result);
    }

    int32_t count = 3, result = 0, rootResult = 10, textResult = 5;
    std::string root = "/palm" + kSep, text = "Ann";
    std::vector<std::string> calls;

private:
    int32_t Answer(std::string call, int32_t value) {
        calls.push_back(std::move(call));
        return value;
    }
};

// The documented Users.udb layout, built independently of the writer.
std::vector<uint8_t> ExpectedList(const std::vector<std::string>& names) {
    std::vector<uint8_t> payload = Bytes({0, static_cast<int>(names.size())});
    for (const std::string& name : names) {
        payload = Concat(payload, Bytes({0, static_cast<int>(name.size() + 1)}));
        payload.insert(payload.end(), name.begin(), name.end());
        payload.push_back(0);
    }
    std::vector<uint8_t> file = Bytes({0, 0, 0, 0, 2, 0, 0, 0, 0x01, 0x00});
    file = Concat(file, Bytes({1, 0, 0, 0, static_cast<int>(payload.size()), 0, 0, 0}));
    return Concat(file, payload);
}

class UserDirectoryFallback : public ::testing::Test {
protected:
    UserDirectoryFallback() : m_install{true, (m_temp.Path() / "install").string() + kSep} {}

    CUserDirectory Make() { return CUserDirectory(nullptr, m_install); }
    fs::path Root() const { return m_temp.Path() / "install" / "Fitquill" / "Desktop" / "Users"; }
    fs::path List() const { return Root() / "Users.udb"; }

    CTempFolder m_temp;
    SInstallPath m_install;
};

} // namespace

TEST_F(UserDirectoryFallback, FirstRunWritesAnEmptyListAndAddsSortedWithFolders) {
    CUserDirectory directory = Make();
    EXPECT_FALSE(directory.LibraryMode());
    EXPECT_TRUE(directory.ListLoaded());
    EXPECT_EQ(directory.FallbackUsersRoot(), Root().string() + kSep);
    EXPECT_EQ(FileBytes(List()), ExpectedList({}));
    EXPECT_EQ(directory.UserCount(), 0);

    EXPECT_TRUE(directory.AddUser("bob"));
    EXPECT_TRUE(directory.AddUser("Ann"));
    EXPECT_EQ(FileBytes(List()), ExpectedList({"Ann", "bob"}));
    EXPECT_EQ(FileBytes(List()),
              Bytes({0, 0, 0, 0, 2, 0, 0,   0,   1,   0, 1, 0, 0,   0,   14,  0,
                     0, 0, 0, 2, 0, 4, 'A', 'n', 'n', 0, 0, 4, 'b', 'o', 'b', 0}));
    EXPECT_TRUE(fs::is_directory(Root() / "Ann"));
    EXPECT_TRUE(fs::is_directory(Root() / "bob"));

    // A second directory reads the list back.
    CUserDirectory again = Make();
    EXPECT_EQ(again.OwnUsers(), (std::vector<std::string>{"Ann", "bob"}));
    UserHandle user = 99;
    ASSERT_TRUE(again.FindUserByName("bob", user));
    EXPECT_EQ(user, 1u);
    std::string text;
    EXPECT_TRUE(again.GetUserName(user, text));
    EXPECT_EQ(text, "bob");
    EXPECT_TRUE(again.GetUserFolderName(0, text));
    EXPECT_EQ(text, "Ann");
    EXPECT_TRUE(again.GetProgramFolder(0, text));
    EXPECT_EQ(text, Root().string() + kSep + "Ann" + kSep + "Fitquill");
    EXPECT_FALSE(again.GetUserHandle(2, user));
    EXPECT_FALSE(again.GetUserHandle(-1, user));
}

TEST_F(UserDirectoryFallback, NamesAreCaseSensitiveAndUnique) {
    CUserDirectory directory = Make();
    EXPECT_TRUE(directory.AddUser("Ann"));
    EXPECT_FALSE(directory.AddUser("Ann"));
    EXPECT_TRUE(directory.AddUser("ann"));
    EXPECT_TRUE(directory.AddUser("bob"));
    // Equal ignoring case: the larger byte first.
    EXPECT_EQ(directory.OwnUsers(), (std::vector<std::string>{"ann", "Ann", "bob"}));
    EXPECT_EQ(FileBytes(List()), ExpectedList({"ann", "Ann", "bob"}));
    UserHandle user;
    EXPECT_FALSE(directory.FindUserByName("ANN", user));
}

TEST_F(UserDirectoryFallback, UnsafeNamesAreRefusedAndCreateNothing) {
    CUserDirectory directory = Make();
    ASSERT_TRUE(directory.AddUser("bob"));
    std::set<std::string> before = Tree(m_temp.Path());
    std::vector<uint8_t> list = FileBytes(List());
    const std::string kUnsafe[] = {"../x",
                                   "a/b",
                                   "a\\b",
                                   "..",
                                   ".",
                                   "",
                                   "   ",
                                   "tab\tx",
                                   "line\nx",
                                   std::string("nul\0x", 5),
                                   "\x7f",
                                   "..\\x",
                                   std::string(256, 'n')};
    for (const std::string& name : kUnsafe) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(directory.AddUser(name));
        EXPECT_FALSE(directory.RenameUser(0, name));
    }
    EXPECT_TRUE(directory.AddUser(std::string(255, 'n'))); // the longest folder name
    EXPECT_TRUE(directory.DeleteUser(1));
    EXPECT_EQ(Tree(m_temp.Path()), before);
    EXPECT_EQ(FileBytes(List()), list);
    EXPECT_EQ(directory.OwnUsers(), std::vector<std::string>{"bob"});
}

TEST_F(UserDirectoryFallback, RenameMovesTheFolderAndKeepsTheListSorted) {
    CUserDirectory directory = Make();
    ASSERT_TRUE(directory.AddUser("Ann"));
    ASSERT_TRUE(directory.AddUser("bob"));
    ASSERT_TRUE(directory.AddUser("Carl"));
    fs::create_directories(Root() / "bob" / "Fitquill");
    WriteFile(Root() / "bob" / "Fitquill" / "UserDB.ddb", Bytes({1, 2, 3}));

    EXPECT_TRUE(directory.RenameUser(1, "Bob"));
    EXPECT_EQ(directory.OwnUsers(), (std::vector<std::string>{"Ann", "Bob", "Carl"}));
    EXPECT_EQ(FileBytes(List()), ExpectedList({"Ann", "Bob", "Carl"}));
    EXPECT_FALSE(fs::exists(Root() / "bob"));
    EXPECT_EQ(FileBytes(Root() / "Bob" / "Fitquill" / "UserDB.ddb"), Bytes({1, 2, 3}));

    EXPECT_TRUE(directory.RenameUser(0, "Zoe"));
    EXPECT_EQ(directory.OwnUsers(), (std::vector<std::string>{"Bob", "Carl", "Zoe"}));

    // Refusals leave list and folders alone.
    EXPECT_FALSE(directory.RenameUser(0, "Carl"));
    EXPECT_FALSE(directory.RenameUser(3, "Dora"));
    fs::remove(Root() / "Carl");
    EXPECT_FALSE(directory.RenameUser(1, "Dora")); // its folder is gone: the move fails
    EXPECT_EQ(directory.OwnUsers(), (std::vector<std::string>{"Bob", "Carl", "Zoe"}));
    EXPECT_EQ(FileBytes(List()), ExpectedList({"Bob", "Carl", "Zoe"}));
}

TEST_F(UserDirectoryFallback, DeleteRemovesOnlyTheProgramsFiles) {
    CUserDirectory directory = Make();
    ASSERT_TRUE(directory.AddUser("Ann"));
    ASSERT_TRUE(directory.AddUser("bob"));
    for (const char* user : {"Ann", "bob"}) {
        fs::create_directories(Root() / user / "Fitquill");
        for (const char* file : {"UserDB.ddb", "UserDB.csv", "FoodDB.ddb", "UserDB.ddb.recovery",
                                 "UserDB.ddb.recovery.old"})
            WriteFile(Root() / user / "Fitquill" / file, Bytes({7}));
    }
    WriteFile(Root() / "Ann" / "Fitquill" / "notes.txt", Bytes({8}));

    EXPECT_TRUE(directory.DeleteUser(0));
    EXPECT_EQ(Tree(Root() / "Ann"), (std::set<std::string>{"Fitquill", "Fitquill/notes.txt"}));
    EXPECT_EQ(directory.OwnUsers(), std::vector<std::string>{"bob"});

    EXPECT_TRUE(directory.DeleteUser(0));
    EXPECT_FALSE(fs::exists(Root() / "bob"));
    EXPECT_EQ(FileBytes(List()), ExpectedList({}));
    EXPECT_FALSE(directory.DeleteUser(0));

    // The folder left behind still holds files: a new user of that name is refused.
    EXPECT_FALSE(directory.AddUser("Ann"));
    EXPECT_TRUE(directory.OwnUsers().empty());
}

TEST_F(UserDirectoryFallback, FindsTheUserOfAPath) {
    CUserDirectory directory = Make();
    ASSERT_TRUE(directory.AddUser("Ann"));
    ASSERT_TRUE(directory.AddUser("bob"));
    const std::string root = Root().string() + kSep;
    struct SCase {
        std::string path;
        int user; // -1: not found
    };
    const SCase kCases[] = {
        {root + "Ann" + kSep + "Fitquill" + kSep + "UserDB.ddb", 0},
        {root + "bob", 1},
        {root + "bob" + kSep, 1},
        {root + "Bob" + kSep + "Fitquill", -1},
        {root + "Annie" + kSep + "Fitquill", -1},
        {root, -1},
        {"elsewhere" + kSep + "Ann" + kSep + "Fitquill", -1},
        {root.substr(0, root.size() - 1) + "Ann", -1},
    };
    for (const SCase& c : kCases) {
        SCOPED_TRACE(c.path);
        UserHandle user = 99;
        EXPECT_EQ(directory.FindUserByPath(c.path, user), c.user >= 0);
        if (c.user >= 0) {
            EXPECT_EQ(user, static_cast<UserHandle>(c.user));
        }
    }
}

// The list keeps the stored (Windows-1252) bytes; the folder is their UTF-8 form, and a folder
// an earlier version made under the stored bytes keeps serving its user.
TEST_F(UserDirectoryFallback, FoldersAreNamedInUtf8AndOlderFoldersKeepWorking) {
    const std::string zoe = "Zo\xEB", jose = "Jos\xE9";
    fs::create_directories(Root() / jose / "Fitquill");
    {
        CUserDirectory earlier = Make();
        ASSERT_TRUE(earlier.AddUser("Ann"));
    }
    // An earlier version's list: José with his folder under the stored bytes.
    WriteFile(List(), ExpectedList({"Ann", jose}));
    CUserDirectory directory = Make();
    ASSERT_TRUE(directory.AddUser(zoe));
    EXPECT_EQ(FileBytes(List()), ExpectedList({"Ann", jose, zoe}));
    EXPECT_TRUE(fs::is_directory(Root() / "Zoë"));
    const std::string root = Root().string() + kSep;
    const struct {
        UserHandle user;
        std::string folder;
    } cases[] = {{1, jose}, {2, "Zoë"}};
    for (const auto& c : cases) {
        std::string folder;
        EXPECT_TRUE(directory.GetUserFolderName(c.user, folder));
        EXPECT_EQ(folder, c.folder);
        UserHandle found = 99;
        EXPECT_TRUE(directory.FindUserByPath(root + c.folder + kSep + "Fitquill", found));
        EXPECT_EQ(found, c.user);
    }
    UserHandle found = 99;
    EXPECT_FALSE(directory.FindUserByPath(root + zoe, found));
    // Renaming moves the older folder to the UTF-8 form of the new name.
    ASSERT_TRUE(directory.RenameUser(1, "Jos\xC9"));
    EXPECT_TRUE(fs::is_directory(Root() / "JosÉ" / "Fitquill"));
    EXPECT_FALSE(fs::exists(Root() / jose));
}

TEST_F(UserDirectoryFallback, TextsMustFitTheCallersBuffer) {
    CUserDirectory directory = Make();
    ASSERT_TRUE(directory.AddUser("Ann"));
    const std::string root = Root().string() + kSep;
    std::string text = "unchanged";
    EXPECT_FALSE(directory.GetUsersRoot(text, static_cast<uint16_t>(root.size())));
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(directory.GetUsersRoot(text, static_cast<uint16_t>(root.size() + 1)));
    EXPECT_EQ(text, root);
    EXPECT_FALSE(directory.GetUserName(0, text, 3));
    EXPECT_TRUE(directory.GetUserName(0, text, 4));
    EXPECT_EQ(text, "Ann");
    EXPECT_FALSE(directory.GetUserFolderName(0, text, 3));

    const std::string guide = m_install.name + "Fitquill" + kSep + "Desktop" + kSep +
                              "Documentation Files" + kSep + "Users Guide.pdf";
    EXPECT_FALSE(directory.GetUsersGuidePath(text, static_cast<uint16_t>(guide.size())));
    EXPECT_TRUE(directory.GetUsersGuidePath(text, static_cast<uint16_t>(guide.size() + 1)));
    EXPECT_EQ(text, guide);
}

TEST_F(UserDirectoryFallback, DamagedListIsReadAsFarAsPossibleAndKeptAsBackup) {
    fs::create_directories(Root());
    std::vector<uint8_t> damaged = ExpectedList({"Ann", "bob"});
    damaged[19] = 3; // a count of three names where two are stored
    WriteFile(List(), damaged);

    CUserDirectory directory = Make();
    EXPECT_FALSE(directory.ListLoaded());
    EXPECT_FALSE(directory.LastError().empty());
    EXPECT_EQ(directory.OwnUsers(), (std::vector<std::string>{"Ann", "bob"}));
    EXPECT_EQ(FileBytes(List()), damaged); // reading never writes

    ASSERT_TRUE(directory.AddUser("Carl"));
    EXPECT_EQ(FileBytes(fs::path(List().string() + ".bak")), damaged);
    EXPECT_EQ(FileBytes(List()), ExpectedList({"Ann", "bob", "Carl"}));

    // A list cut inside its chunk reads as no names at all.
    damaged = ExpectedList({"Ann", "bob"});
    damaged.resize(damaged.size() - 3);
    WriteFile(List(), damaged);
    CUserDirectory cut = Make();
    EXPECT_FALSE(cut.ListLoaded());
    EXPECT_TRUE(cut.OwnUsers().empty());
}

TEST_F(UserDirectoryFallback, UnsafeStoredNamesNeverLeadOutOfTheRoot) {
    fs::create_directories(Root());
    fs::create_directories(m_temp.Path() / "outside" / "Fitquill");
    WriteFile(m_temp.Path() / "outside" / "Fitquill" / "UserDB.ddb", Bytes({5}));
    std::string escape = ".." + kSep + ".." + kSep + ".." + kSep + ".." + kSep + "outside";
    WriteFile(List(), ExpectedList({escape, "bob"}));

    CUserDirectory directory = Make();
    EXPECT_TRUE(directory.ListLoaded());
    ASSERT_EQ(directory.UserCount(), 2);
    std::string text;
    EXPECT_FALSE(directory.GetUserFolderName(0, text));
    EXPECT_FALSE(directory.GetProgramFolder(0, text));
    EXPECT_FALSE(directory.RenameUser(0, "safe"));
    EXPECT_TRUE(directory.DeleteUser(0)); // drops the name, touches no file
    EXPECT_EQ(FileBytes(m_temp.Path() / "outside" / "Fitquill" / "UserDB.ddb"), Bytes({5}));
    EXPECT_EQ(directory.OwnUsers(), std::vector<std::string>{"bob"});
}

TEST_F(UserDirectoryFallback, FailedSaveChangesNothing) {
    CUserDirectory directory = Make();
    ASSERT_TRUE(directory.AddUser("Ann"));
    ASSERT_TRUE(directory.AddUser("bob"));
    const std::vector<uint8_t> list = FileBytes(List());
    const std::set<std::string> tree = Tree(Root());

    {
        CFileFaultInjection fault(EFileFault::Rename);
        EXPECT_FALSE(directory.AddUser("Carl"));
        EXPECT_TRUE(fault.Triggered());
    }
    {
        CFileFaultInjection fault(EFileFault::Write, 4);
        EXPECT_FALSE(directory.RenameUser(1, "Bob"));
        EXPECT_TRUE(fault.Triggered());
    }
    {
        CFileFaultInjection fault(EFileFault::OpenTemporary);
        EXPECT_FALSE(directory.DeleteUser(0));
        EXPECT_TRUE(fault.Triggered());
    }
    EXPECT_EQ(directory.OwnUsers(), (std::vector<std::string>{"Ann", "bob"}));
    EXPECT_EQ(FileBytes(List()), list);
    EXPECT_EQ(Tree(Root()), tree);
    EXPECT_TRUE(directory.AddUser("Carl"));
}

TEST(UserDirectoryInstallPath, MissingSettingIsShownOnceAndLeavesThePathEmpty) {
    CTempFolder temp;
    struct SCase {
        SInstallPath setting;
        std::string installPath;
        size_t notices;
    };
    const std::string base = (temp.Path() / "inst").string();
    const SCase kCases[] = {
        {{true, base + kSep}, base + kSep, 0},
        {{true, base}, base + kSep, 0},                // the separator is added
        {{true, base + std::string(300, 'x')}, "", 0}, // longer than the setting buffer
        {{false, ""}, "", 1},
    };
    for (const SCase& c : kCases) {
        CRecordingNotices notices;
        auto library = std::make_shared<CFakeLibrary>(); // library mode: nothing written
        CUserDirectory directory(library, c.setting, &notices);
        EXPECT_EQ(directory.InstallPath(), c.installPath);
        ASSERT_EQ(notices.shown.size(), c.notices);
        if (c.notices) {
            EXPECT_EQ(notices.shown[0], "Conduit Setup|Could not open up the install path "
                                        "registry key.");
        }
    }
    EXPECT_TRUE(fs::is_empty(temp.Path()));
}

TEST(UserDirectoryLibrary, ForwardsEveryOperationAndReadsItsResults) {
    auto library = std::make_shared<CFakeLibrary>();
    CUserDirectory directory(library, {true, "/opt/fitquill/"});
    ASSERT_TRUE(directory.LibraryMode());
    EXPECT_EQ(library->calls, std::vector<std::string>{"root 256"});
    library->calls.clear();

    UserHandle user = 0;
    std::string text;
    EXPECT_EQ(directory.UserCount(), 3);
    EXPECT_TRUE(directory.GetUserHandle(2, user));
    EXPECT_EQ(user, 702u);
    EXPECT_TRUE(directory.GetUserName(7, text, 100));
    EXPECT_TRUE(directory.GetUserFolderName(8, text));
    EXPECT_TRUE(directory.GetUsersRoot(text));
    EXPECT_EQ(text, "/palm" + kSep);
    EXPECT_TRUE(directory.FindUserByName("Ann", user));
    EXPECT_EQ(user, 42u);
    EXPECT_TRUE(directory.FindUserByPath("/palm/Ann/Fitquill", user));
    EXPECT_EQ(user, 43u);
    EXPECT_TRUE(directory.AddUser("Ann"));
    EXPECT_TRUE(directory.RenameUser(5, "Bea"));
    EXPECT_TRUE(directory.DeleteUser(6));
    EXPECT_TRUE(directory.GetProgramFolder(9, text));
    EXPECT_EQ(text, "/palm" + kSep + "Ann" + kSep + "Fitquill");
    EXPECT_EQ(library->calls,
              (std::vector<std::string>{"handle 2", "name 7 100", "folder 8 256", "root 256",
                                        "find Ann", "path /palm/Ann/Fitquill", "add Ann",
                                        "rename 5 Bea", "delete 6", "root 256", "folder 9 256"}));
}

TEST(UserDirectoryLibrary, FailureResultsFailTheSingleOperation) {
    auto library = std::make_shared<CFakeLibrary>();
    CUserDirectory directory(library, {true, "/opt/fitquill/"});
    UserHandle user;
    std::string text;

    // Name and root succeed above 0, the folder name at 0 or above.
    library->textResult = 0;
    EXPECT_FALSE(directory.GetUserName(1, text));
    EXPECT_TRUE(directory.GetUserFolderName(1, text));
    library->textResult = -1;
    EXPECT_FALSE(directory.GetUserFolderName(1, text));
    library->rootResult = 0;
    EXPECT_FALSE(directory.GetUsersRoot(text));

    library->result = 1;
    EXPECT_FALSE(directory.GetUserHandle(0, user));
    EXPECT_FALSE(directory.FindUserByName("Ann", user));
    EXPECT_FALSE(directory.FindUserByPath("/palm/Ann", user));
    EXPECT_FALSE(directory.AddUser("Ann"));
    EXPECT_FALSE(directory.RenameUser(1, "Bea"));
    EXPECT_FALSE(directory.DeleteUser(1));
    library->count = -4;
    EXPECT_EQ(directory.UserCount(), 0);

    // A library folder name that leaves the root is refused, as is a text that does not fit.
    library->textResult = 0;
    for (const char* bad : {"../x", "a/b", "", ".."}) {
        library->text = bad;
        EXPECT_FALSE(directory.GetUserFolderName(1, text)) << bad;
    }
    library->textResult = 4;
    library->text = "Annabel";
    EXPECT_FALSE(directory.GetUserName(1, text, 5));
}

TEST(UserDirectoryLibrary, OtherRootFailuresKeepLibraryMode) {
    auto library = std::make_shared<CFakeLibrary>();
    library->rootResult = -1;
    CUserDirectory directory(library, {true, "/nonexistent-fitquill/"});
    EXPECT_TRUE(directory.LibraryMode());
    EXPECT_TRUE(directory.ListPath().empty());
    std::string text;
    EXPECT_FALSE(directory.GetUsersRoot(text));
}

TEST(UserDirectoryLibrary, RealUserStoreServesTheDirectory) {
    CTempFolder temp;
    const fs::path palm = temp.Path() / "palm";
    auto store = std::make_shared<CUserStore>(palm);
    CUserDirectory directory(store, {true, (temp.Path() / "inst").string() + kSep});
    ASSERT_TRUE(directory.LibraryMode());
    EXPECT_TRUE(directory.AddUser("Ann"));
    EXPECT_TRUE(directory.AddUser("bob"));
    EXPECT_FALSE(directory.AddUser("Ann"));
    UserHandle ann = 0;
    ASSERT_TRUE(directory.FindUserByName("Ann", ann));
    const std::set<std::string> tree = Tree(temp.Path());
    for (const char* name : {"../x", "a/b"}) {
        EXPECT_FALSE(directory.AddUser(name));
        EXPECT_FALSE(directory.RenameUser(ann, name));
    }
    EXPECT_EQ(Tree(temp.Path()), tree);
    EXPECT_FALSE(fs::exists(temp.Path() / "inst"));
    EXPECT_FALSE(fs::exists(temp.Path() / "x"));

    std::string folder;
    ASSERT_TRUE(directory.GetProgramFolder(ann, folder));
    EXPECT_EQ(folder, palm.string() + kSep + "Ann" + kSep + "Fitquill");
    UserHandle found = 0;
    EXPECT_TRUE(directory.FindUserByPath(folder + kSep + "UserDB.ddb", found));
    EXPECT_EQ(found, ann);
    EXPECT_TRUE(directory.DeleteUser(ann));
    EXPECT_FALSE(fs::exists(palm / "Ann"));
    EXPECT_EQ(directory.UserCount(), 1);
}

TEST(UserDirectoryLibrary, StoreWithoutPalmFolderFallsBackToTheOwnList) {
    CTempFolder temp;
    auto store = std::make_shared<CUserStore>(std::nullopt);
    std::string root;
    uint16_t size = 256;
    EXPECT_EQ(store->GetUsersRoot(root, size), -521);
    CUserDirectory directory(store, {true, temp.Path().string() + kSep});
    EXPECT_FALSE(directory.LibraryMode());
    EXPECT_TRUE(directory.AddUser("Ann"));
    EXPECT_TRUE(fs::is_directory(temp.Path() / "Fitquill" / "Desktop" / "Users" / "Ann"));
}

TEST(UserListFile, DamagedBytesAreAReadFailure) {
    const std::vector<uint8_t> good = ExpectedList({"Ann", "bob"});
    struct SCase {
        const char* what;
        std::vector<uint8_t> bytes;
        std::vector<std::string> names; // what was read before the damage
    };
    auto withChunk1 = [&](std::vector<uint8_t> payload) {
        std::vector<uint8_t> file = Bytes({0, 0, 0, 0, 2, 0, 0, 0, 1, 0});
        file = Concat(file, Bytes({1, 0, 0, 0, static_cast<int>(payload.size()), 0, 0, 0}));
        return Concat(file, payload);
    };
    const SCase kCases[] = {
        {"empty", {}, {}},
        {"chunk 0 cut", Bytes({0, 0, 0, 0, 2, 0, 0, 0, 1}), {}},
        {"no chunk 1", Bytes({0, 0, 0, 0, 2, 0, 0, 0, 1, 0}), {}},
        {"chunk 1 longer than the file",
         Concat(Bytes({0, 0, 0, 0, 2, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}),
                Bytes({0, 1, 0, 2, 'A', 0})),
         {}},
        {"no count", withChunk1(Bytes({0})), {}},
        {"more names than stored",
         withChunk1(Bytes({0, 3, 0, 2, 'A', 0, 0, 2, 'B', 0})),
         {"A", "B"}},
        {"text past chunk 1",
         Concat(withChunk1(Bytes({0, 1, 0, 4, 'A'})), Bytes({'n', 'n', 0})),
         {}},
        {"text length huge", withChunk1(Bytes({0, 1, 0xFF, 0xFF, 'A', 0})), {}},
    };
    for (const SCase& c : kCases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> names;
        EXPECT_FALSE(CUserListFile::Unpack(c.bytes, names));
        EXPECT_EQ(names, c.names);
    }

    // What the reader tolerates: chunk numbers and chunk 0's bytes, a length-0 text, a text
    // without its zero byte, and bytes after the last name.
    std::vector<uint8_t> odd = good;
    odd[0] = 9;
    odd[8] = 0x77;
    odd[10] = 5;
    std::vector<std::string> names;
    EXPECT_TRUE(CUserListFile::Unpack(odd, names));
    EXPECT_EQ(names, (std::vector<std::string>{"Ann", "bob"}));
    names.clear();
    EXPECT_TRUE(
        CUserListFile::Unpack(withChunk1(Bytes({0, 3, 0, 0, 0, 2, 'X', 'y', 0, 1, 0, 9})), names));
    EXPECT_EQ(names, (std::vector<std::string>{"", "Xy", ""}));
}
