// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings/program_locations.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

using namespace fitquill;
namespace fs = std::filesystem;

namespace {

class ProgramLocationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() /
                 ("fitquill_locations_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_root);
        fs::create_directories(m_root);
    }
    void TearDown() override { fs::remove_all(m_root); }

    CSettingsStore::EnvironmentLookup Environment() const {
        return [this](const char* name) -> std::optional<std::string> {
            const auto it = m_environment.find(name);
            if (it == m_environment.end())
                return std::nullopt;
            return it->second;
        };
    }

    fs::path m_root;
    std::map<std::string, std::string> m_environment;
};

} // namespace

TEST_F(ProgramLocationsTest, DataFolderIsShareBesideTheProgramFolder) {
    EXPECT_EQ(CProgramLocations::DataFolderOf("/opt/fitquill/bin"),
              fs::path("/opt/fitquill/share/fitquill"));
    EXPECT_EQ(CProgramLocations::DataFolderOf("/build/bin/"), fs::path("/build/share/fitquill"));
}

TEST_F(ProgramLocationsTest, DefaultInstallPathIsTheUsersDataFolderNeverTheProgramsFolder) {
    // A writable data folder (a build tree) is not used for users' files.
    const fs::path data = m_root / "prefix" / "share" / "fitquill";
    fs::create_directories(data);
    EXPECT_EQ(CProgramLocations::InstallPathOf(std::nullopt, Environment()), std::nullopt);
    m_environment["HOME"] = "relative/home";
    EXPECT_EQ(CProgramLocations::InstallPathOf(std::nullopt, Environment()), std::nullopt);
    m_environment["HOME"] = (m_root / "home").string();
    EXPECT_EQ(CProgramLocations::InstallPathOf(std::nullopt, Environment()),
              (m_root / "home" / ".local" / "share" / "fitquill").string());
    m_environment["XDG_DATA_HOME"] = "relative/ignored";
    EXPECT_EQ(CProgramLocations::UserDataFolder(Environment()),
              m_root / "home" / ".local" / "share" / "fitquill");
    m_environment["XDG_DATA_HOME"] = (m_root / "xdg").string();
    EXPECT_EQ(CProgramLocations::InstallPathOf(std::nullopt, Environment()),
              (m_root / "xdg" / "fitquill").string());
    EXPECT_EQ(CProgramLocations(CSettingsStore({m_root / "none.conf"}), m_root / "prefix" / "bin",
                                Environment())
                  .InstallPath(),
              (m_root / "xdg" / "fitquill").string());
    EXPECT_EQ(CProgramLocations::InstallPathOf(std::string("/chosen/"), Environment()), "/chosen/");
}

TEST_F(ProgramLocationsTest, TheInstallPathSettingWinsOverTheDefault) {
    const fs::path settingsFile = m_root / "Fitquill.conf";
    const CSettingsStore settings({settingsFile});
    const fs::path program = m_root / "bin";
    m_environment["XDG_DATA_HOME"] = (m_root / "xdg").string();

    EXPECT_EQ(CProgramLocations(settings, program, Environment()).InstallPath(),
              (m_root / "xdg" / "fitquill").string());
    ASSERT_TRUE(settings.SetInstallPath((m_root / "install/").string()));
    const CProgramLocations locations(settings, program, Environment());
    EXPECT_EQ(locations.InstallPath(), (m_root / "install/").string());
    EXPECT_EQ(locations.DataFolder(), m_root / "share" / "fitquill");

    // Without a Palm Desktop folder the users are the program's own list below the
    // installation path.
    // (CTest runs this without FITQUILL_PALM_ROOT.)
    ASSERT_FALSE(locations.PalmRoot().has_value());
    const CUserDirectory users = locations.MakeUserDirectory();
    EXPECT_FALSE(users.LibraryMode());
    EXPECT_EQ(users.ListPath(),
              (m_root / "install" / "Fitquill" / "Desktop" / "Users" / "Users.udb").string());
    EXPECT_TRUE(fs::exists(users.ListPath()));
    ASSERT_TRUE(settings.SetValue(CProgramLocations::kPalmDesktopKey, (m_root / "palm").string()));
    const CProgramLocations palm(settings, program, Environment());
    ASSERT_TRUE(palm.PalmRoot().has_value());
    EXPECT_EQ(*palm.PalmRoot(), m_root / "palm");
    EXPECT_TRUE(palm.MakeUserDirectory().LibraryMode());
}
