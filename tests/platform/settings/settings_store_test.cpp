// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings/settings_store.h"

#include "core/io/atomic_file.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace fitquill {
namespace {

namespace fs = std::filesystem;
using Paths = std::vector<fs::path>;

CSettingsStore::EnvironmentLookup Environment(std::map<std::string, std::string> values) {
    return [values](const char* name) -> std::optional<std::string> {
        const auto found = values.find(name);
        if (found == values.end()) {
            return std::nullopt;
        }
        return found->second;
    };
}

TEST(SettingsStoreFilesTest, LookupOrderFollowsTheEnvironment) {
    struct Row {
        const char* name;
        std::map<std::string, std::string> environment;
        Paths files;
    };
    const std::vector<Row> rows = {
        {"defaults",
         {{"HOME", "/home/pat"}},
         {"/home/pat/.config/Quorvel/Fitquill.conf", "/home/pat/.config/Quorvel.conf",
          "/etc/xdg/Quorvel/Fitquill.conf", "/etc/xdg/Quorvel.conf"}},
        {"both variables",
         {{"HOME", "/home/pat"}, {"XDG_CONFIG_HOME", "/cfg"}, {"XDG_CONFIG_DIRS", "/a:/b"}},
         {"/cfg/Quorvel/Fitquill.conf", "/cfg/Quorvel.conf", "/a/Quorvel/Fitquill.conf",
          "/b/Quorvel/Fitquill.conf", "/a/Quorvel.conf", "/b/Quorvel.conf"}},
        {"empty and relative entries are skipped",
         {{"HOME", "/h"}, {"XDG_CONFIG_HOME", "relative"}, {"XDG_CONFIG_DIRS", ":rel::/c:"}},
         {"/h/.config/Quorvel/Fitquill.conf", "/h/.config/Quorvel.conf", "/c/Quorvel/Fitquill.conf",
          "/c/Quorvel.conf"}},
        {"empty variables mean the defaults",
         {{"HOME", ""}, {"XDG_CONFIG_HOME", ""}, {"XDG_CONFIG_DIRS", ""}},
         {"/.config/Quorvel/Fitquill.conf", "/.config/Quorvel.conf",
          "/etc/xdg/Quorvel/Fitquill.conf", "/etc/xdg/Quorvel.conf"}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CSettingsStore::FromEnvironment(Environment(row.environment)).Files(), row.files)
            << row.name;
    }
}

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_root = fs::temp_directory_path() / ("fitquill-settings-" + std::string(info->name()) +
                                              "-" + std::to_string(std::random_device{}()));
        fs::create_directories(m_root);
        m_store = CSettingsStore::FromEnvironment(Environment(
            {{"HOME", (m_root / "home").string()},
             {"XDG_CONFIG_DIRS", (m_root / "sys1").string() + ":" + (m_root / "sys2").string()}}));
    }

    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }

    static void Write(const fs::path& path, const std::string& text) {
        ASSERT_TRUE(ReplaceFileAtomically(
            path,
            std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size())));
    }

    static std::string Read(const fs::path& path) {
        const auto bytes = ReadWholeFile(path);
        return bytes ? std::string(bytes->begin(), bytes->end()) : std::string("<missing>");
    }

    fs::path UserFile() const { return m_root / "home/.config/Quorvel/Fitquill.conf"; }
    fs::path UserOrgFile() const { return m_root / "home/.config/Quorvel.conf"; }
    fs::path SystemFile(int n) const {
        return m_root / ("sys" + std::to_string(n)) / "Quorvel/Fitquill.conf";
    }
    fs::path SystemOrgFile(int n) const {
        return m_root / ("sys" + std::to_string(n)) / "Quorvel.conf";
    }

    fs::path m_root;
    CSettingsStore m_store{Paths{}};
};

TEST_F(SettingsStoreTest, FirstFileHoldingTheKeyWins) {
    EXPECT_FALSE(m_store.InstallPath().has_value()) << "no files at all";

    Write(SystemOrgFile(1), "[InstallPath]\nName=/from/sys1-org\n");
    EXPECT_EQ(m_store.InstallPath(), "/from/sys1-org");
    // Every application file of the system folders comes before any organisation file.
    Write(SystemFile(2), "[InstallPath]\nName=/from/sys2\n");
    EXPECT_EQ(m_store.InstallPath(), "/from/sys2");
    Write(SystemFile(1), "[InstallPath]\nName=/from/sys1\n");
    EXPECT_EQ(m_store.InstallPath(), "/from/sys1");
    Write(UserOrgFile(), "[InstallPath]\nName=/from/user-org\n");
    EXPECT_EQ(m_store.InstallPath(), "/from/user-org");

    // A user file without the key does not hide the others.
    Write(UserFile(), "[CurrentUser]\nName=Pat\n");
    EXPECT_EQ(m_store.InstallPath(), "/from/user-org");
    // A user file with the key decides, even when the value is empty.
    Write(UserFile(), "[InstallPath]\nName=\n");
    EXPECT_EQ(m_store.InstallPath(), "");
    Write(UserFile(), "[InstallPath]\nName=\"/opt/Fit quill\"\n");
    EXPECT_EQ(m_store.InstallPath(), "/opt/Fit quill");
}

TEST_F(SettingsStoreTest, UnreadableFilesCountAsEmpty) {
    fs::create_directories(UserFile()); // a folder where the file should be
    Write(SystemFile(1), "[InstallPath]\nName=/opt/system\n");
    EXPECT_EQ(m_store.InstallPath(), "/opt/system");

    std::string error;
    EXPECT_FALSE(m_store.SetInstallPath("/opt/user", &error)) << "never replaced blindly";
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(UserFile()));
}

TEST_F(SettingsStoreTest, SettingTheValueWritesOnlyTheUserFile) {
    Write(SystemFile(1), "[InstallPath]\nName=/opt/system\n");
    std::string error;
    ASSERT_TRUE(m_store.SetInstallPath("/opt/Fitquill 2", &error)) << error;
    EXPECT_EQ(Read(UserFile()), "[InstallPath]\nName=/opt/Fitquill 2\n");
    EXPECT_EQ(Read(SystemFile(1)), "[InstallPath]\nName=/opt/system\n");
    EXPECT_EQ(m_store.InstallPath(), "/opt/Fitquill 2");

    // Other sections written by the desktop program stay as they were.
    Write(UserFile(), "[WindowStates]\nMainFrame=@Rect(0 0 640 480)\n\n[InstallPath]\nName=x\n");
    ASSERT_TRUE(m_store.SetInstallPath("/usr/share/fitquill", &error)) << error;
    EXPECT_EQ(Read(UserFile()), "[WindowStates]\nMainFrame=@Rect(0 0 640 480)\n\n[InstallPath]\n"
                                "Name=/usr/share/fitquill\n");
}

TEST_F(SettingsStoreTest, FailedSaveKeepsTheOldSettings) {
    const std::string old = "[CurrentUser]\nName=Pat\n[InstallPath]\nName=/old\n";
    Write(UserFile(), old);
    CFileFaultInjection fault(EFileFault::Rename);
    std::string error;
    EXPECT_FALSE(m_store.SetInstallPath("/new", &error));
    EXPECT_TRUE(fault.Triggered());
    EXPECT_EQ(Read(UserFile()), old);
    EXPECT_EQ(m_store.InstallPath(), "/old");
}

TEST_F(SettingsStoreTest, ExplicitFilesForTests) {
    const fs::path only = m_root / "only.conf";
    const CSettingsStore store(Paths{only});
    ASSERT_TRUE(store.SetValue("CurrentUser/Name", "Pat"));
    EXPECT_EQ(store.Value("CurrentUser/Name"), "Pat");
    EXPECT_FALSE(store.InstallPath().has_value());

    const CSettingsStore none(Paths{});
    std::string error;
    EXPECT_FALSE(none.SetInstallPath("/x", &error));
    EXPECT_FALSE(none.InstallPath().has_value());
}

} // namespace
} // namespace fitquill
