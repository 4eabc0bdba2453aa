// SPDX-License-Identifier: GPL-3.0-or-later
// The program's settings with their defaults, and where the program finds its own folders.
#include "tests/desktop/frame/shell_test_support.h"

#include "desktop/document/diet_data.h"
#include "desktop/document/program_paths.h"
#include "desktop/document/shell_settings.h"
#include "desktop/document/user_data_notice.h"
#include "desktop/frame/main_frame.h"
#include "platform/settings/program_locations.h"

#include <fstream>
#include <limits>

using namespace fitquill;
using namespace fitquill::test;
namespace fs = std::filesystem;

using ShellSettings = ShellTest;

TEST_F(ShellSettings, MissingValuesReadAsTheirDefaults) {
    CShellSettings settings;
    settings.Store().clear();
    SWindowPlacement placement = settings.ReadPlacement();
    EXPECT_EQ(placement.length, 44);
    EXPECT_EQ(placement.flags, 0);
    EXPECT_EQ(placement.showCmd, 1);
    EXPECT_EQ(placement.minPositionX, -1);
    EXPECT_EQ(placement.maxPositionY, -1);
    EXPECT_FALSE(placement.HasNormalPosition());
    EXPECT_EQ(placement.normal.right, 2147483647);

    SColorSettings colors = settings.ReadColors();
    EXPECT_TRUE(colors.overrideFore);
    EXPECT_TRUE(colors.overrideBack);
    EXPECT_EQ(colors.foreColor, QColor(0, 0, 0));
    EXPECT_EQ(colors.backColor, QColor(255, 255, 192));
    EXPECT_EQ(ToColorRef(colors.backColor), 12648447u);

    EXPECT_EQ(settings.TimeBLDS(), 0);
    EXPECT_EQ(settings.NutrientTable(), 0);
    EXPECT_EQ(settings.CurrentTab(), 0);
    EXPECT_EQ(settings.CurrentSort(), 0);
    EXPECT_EQ(settings.CurrentUserName(), "");
    EXPECT_EQ(settings.InstallPathName(), std::nullopt);
    // Without a setting the update reads the files shipped in the data folder.
    EXPECT_EQ(settings.FoodUpdateAddress(EFoodUpdateChoice::Extensions, "/opt/fq/share/fitquill"),
              "file:///opt/fq/share/fitquill/Extensions.csv");
    EXPECT_EQ(settings.FoodUpdateAddress(EFoodUpdateChoice::Reload, "/opt/fq/share/fitquill"),
              "file:///opt/fq/share/fitquill/FoodDB.csv");
    settings.Store().setValue("InstallPath/FoodDB", " http://127.0.0.1:8080/FoodDB.csv ");
    EXPECT_EQ(settings.FoodUpdateAddress(EFoodUpdateChoice::Reload, "/x"),
              "http://127.0.0.1:8080/FoodDB.csv");
}

TEST_F(ShellSettings, DamagedValuesFallBackAndPagesAreCutToTheSix) {
    CShellSettings settings;
    QSettings& store = settings.Store();
    store.setValue("WindowStates/ShowCmd", "minimised");
    store.setValue("WindowStates/BackColor", "yellow");
    for (auto [stored, page] : {std::pair{9, 5}, {5, 5}, {2, 2}, {-3, 0}}) {
        store.setValue("WindowStates/CurrentTab", stored);
        EXPECT_EQ(settings.CurrentTab(), page) << stored;
    }
    EXPECT_EQ(settings.ReadPlacement().showCmd, 1);
    EXPECT_EQ(settings.ReadColors().backColor, QColor(255, 255, 192));
}

// Every integer setting, written as nonsense, reads as its default, and the program starts
// with all of them at once (an out-of-range sort mode used to end it as an internal error).
TEST_F(ShellSettings, OutOfRangeSettingsReadAsTheirDefaultsAndTheProgramStarts) {
    CShellSettings settings;
    QSettings& store = settings.Store();
    for (const SIntSetting& setting : CShellSettings::IntSettings()) {
        std::vector<QVariant> nonsense = {QStringLiteral("many"), QStringLiteral("1e99")};
        if (setting.minimum > std::numeric_limits<int>::min())
            nonsense.emplace_back(setting.minimum - 1);
        if (setting.maximum < std::numeric_limits<int>::max())
            nonsense.emplace_back(setting.maximum + 1);
        for (const QVariant& value : nonsense) {
            store.setValue(QString::fromLatin1(setting.key), value);
            EXPECT_EQ(settings.ReadInt(setting.key), setting.fallback)
                << setting.key << " = " << value.toString().toStdString();
        }
    }
    store.sync();

    AddUser("Ann");
    WriteJournal("Ann", {CJournalDate(15, 3, 2024)});
    Remember("Ann");
    CMainFrame& frame = Start();
    EXPECT_TRUE(m_data->HasOpenUser());
    EXPECT_EQ(m_data->SortMode(), 0);
    EXPECT_EQ(m_data->NutrientTable(), 0);
    EXPECT_EQ(m_data->GetBackColor(), QColor(255, 255, 192));
    EXPECT_GT(frame.width(), 100);
    EXPECT_GT(frame.height(), 100);
}

TEST_F(ShellSettings, ValuesSurviveInTheSettingsFileUnderTheirKeys) {
    {
        CShellSettings settings;
        SWindowPlacement placement;
        placement.showCmd = 2;
        placement.normal = {10, 20, 810, 620};
        settings.WritePlacement(placement);
        settings.WriteColors({false, QColor(1, 2, 3), true, QColor(255, 0, 0)});
        settings.SetCurrentUserName("Ann");
        settings.SetCurrentTab(4);
    }
    // Another reader of the same file, as the next start of the program is.
    QSettings file(QSettings::NativeFormat, QSettings::UserScope, "Quorvel", "Fitquill");
    EXPECT_EQ(file.value("WindowStates/NormalPositionLeft").toInt(), 10);
    EXPECT_EQ(file.value("WindowStates/NormalPositionBottom").toInt(), 620);
    EXPECT_EQ(file.value("WindowStates/ShowCmd").toInt(), 2);
    EXPECT_EQ(file.value("WindowStates/OverrideForeColor").toInt(), 0);
    EXPECT_EQ(file.value("WindowStates/ForeColor").toInt(), 0x030201);
    EXPECT_EQ(file.value("WindowStates/BackColor").toInt(), 0x0000FF);
    EXPECT_EQ(file.value("CurrentUser/Name").toString(), "Ann");
    EXPECT_EQ(file.value("WindowStates/CurrentTab").toInt(), 4);
    EXPECT_TRUE(fs::exists(WorldFolder() / "config" / "Quorvel" / "Fitquill.conf"));

    // Without its override a colour stands for the system colour.
    SColorSettings colors = CShellSettings().ReadColors();
    EXPECT_EQ(EffectiveTextColor(colors), QGuiApplication::palette().color(QPalette::Text));
    EXPECT_EQ(EffectiveBackColor(colors), QColor(255, 0, 0));
}

TEST_F(ShellSettings, ProgramFoldersFollowTheProgramFile) {
    CProgramPaths fromBuild(m_folder / "build" / "desktop");
    EXPECT_EQ(fromBuild.DataFolder(), m_folder / "build" / "share" / "fitquill");
    // The users never live in the program's folders, however writable they are.
    EXPECT_EQ(fs::path(CProgramPaths::InstallPath(std::nullopt)),
              WorldFolder() / "data" / "fitquill");
    EXPECT_EQ(CProgramPaths::InstallPath("/somewhere/else/"), "/somewhere/else/");
}

TEST_F(ShellSettings, WithoutAnInstallPathTheOwnUsersLiveBelowTheDefaultInstallation) {
    UseOwnUserList();
    CShellSettings settings;
    settings.Store().remove("InstallPath/Name");
    CProgramPaths paths(m_folder / "build" / "desktop");
    SDietDataSetup setup = CDietData::ProgramSetup(paths, settings);
    EXPECT_TRUE(setup.installPath.keyFound);
    EXPECT_EQ(fs::path(setup.installPath.name), WorldFolder() / "data" / "fitquill");
    EXPECT_EQ(setup.dataFolder, paths.DataFolder());
    CDietData data(std::move(setup));
    EXPECT_FALSE(data.Users().LibraryMode());
    EXPECT_EQ(fs::path(data.Users().ListPath()),
              WorldFolder() / "data" / "fitquill" / "Fitquill" / "Desktop" / "Users" / "Users.udb");
    EXPECT_FALSE(fs::exists(paths.DataFolder() / "Fitquill"));
    EXPECT_TRUE(m_prompt->Shown().empty()) << "no complaint about a missing setting";
}

TEST_F(ShellSettings, TheDesktopProgramAndTheToolsAgreeOnTheInstallPath) {
    CShellSettings settings;
    CProgramPaths paths(m_folder / "build" / "desktop");
    // The setting as the desktop program writes it, then no setting at all.
    for (const bool set : {true, false}) {
        if (set)
            settings.Store().setValue("InstallPath/Name",
                                      QString::fromStdString((m_folder / "chosen/").string()));
        else
            settings.Store().remove("InstallPath/Name");
        settings.Store().sync();
        const SDietDataSetup setup = CDietData::ProgramSetup(paths, settings);
        EXPECT_EQ(setup.installPath.name, CProgramLocations::FromProcess(nullptr).InstallPath())
            << set;
        EXPECT_EQ(fs::path(setup.installPath.name),
                  set ? m_folder / "chosen/" : WorldFolder() / "data" / "fitquill");
    }
}

TEST_F(ShellSettings, UsersOfAnEarlierBuildAreMovedAtTheFirstStartAndToldOnce) {
    UseOwnUserList();
    CShellSettings settings;
    settings.Store().remove("InstallPath/Name");
    CProgramPaths paths(m_folder / "build" / "desktop");
    {
        // Where an earlier build kept them: below its data folder.
        CUserDirectory old(nullptr, SInstallPath{true, paths.DataFolder().string()});
        ASSERT_TRUE(old.AddUser("Ann"));
    }
    for (int start = 0; start < 2; ++start) {
        SDietDataSetup setup = CDietData::ProgramSetup(paths, settings);
        TellUserDataMove(nullptr, MoveEarlierUserData(setup.dataFolder, setup.installPath.name));
        CDietData data(std::move(setup));
        EXPECT_EQ(data.Users().OwnUsers(), std::vector<std::string>{"Ann"}) << start;
    }
    ASSERT_EQ(m_prompt->Shown().size(), 1u);
    EXPECT_EQ(m_prompt->Shown()[0].icon, EPromptIcon::Information);
    const fs::path users = WorldFolder() / "data" / "fitquill" / "Fitquill" / "Desktop" / "Users";
    EXPECT_TRUE(m_prompt->Shown()[0].text.contains(QString::fromStdString(users.string())));
    EXPECT_TRUE(fs::is_directory(users / "Ann"));
    EXPECT_FALSE(fs::exists(paths.DataFolder() / "Fitquill"));
}
