// SPDX-License-Identifier: GPL-3.0-or-later
// "Install Handheld Software": which files reach the install aid's queue for which user, and
// what the user is told when something is missing.
#include "desktop/document/prompt.h"
#include "desktop/install/handheld_install.h"
#include "desktop/install/install_dialog.h"
#include "platform/palm/install_aid.h"
#include "platform/palm/user_store.h"
#include "tools/handheld_data/handheld_database_builder.h"

#include <QComboBox>
#include <QLabel>

#include <gtest/gtest.h>

#include <fstream>

using namespace fitquill;
namespace fs = std::filesystem;

namespace {

TEST(InstallDialog, WithoutHotSyncUsersTheListIsEmptyAndInstallFindsNoUser) {
    CScriptedPrompt prompt;
    CUserStore noPalmDesktop{std::optional<fs::path>()};
    CInstallAid aid(noPalmDesktop);
    CInstallDialog dialog(aid, "/opt/fitquill", fs::temp_directory_path());
    EXPECT_EQ(dialog.UserList()->count(), 0);
    dialog.Install();
    ASSERT_EQ(prompt.Shown().size(), 1u);
    EXPECT_EQ(prompt.Shown()[0].text,
              "The selected user could not be found.  Close the install dialog and try again.");
    EXPECT_EQ(prompt.Shown()[0].icon, EPromptIcon::Warning);
}

TEST(InstallDialog, ResolvesTheHandheldNamesInTheDataFolder) {
    const fs::path data = "/usr/share/fitquill";
    EXPECT_EQ(SHandheldInstall::Resolve(data, "..\\PalmOS\\FQA-AppDB.pdb"),
              data / "PalmOS" / "FQA-AppDB.pdb");
    EXPECT_EQ(SHandheldInstall::Resolve(data, "Fitquill.prc"), data / "PalmOS" / "Fitquill.prc");
    EXPECT_EQ(SHandheldInstall::Resolve(data, SHandheldInstall::kPocketPcSetup),
              data / "PocketPCOS" / "FitquillSetup");
}

class InstallForPalmUsers : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("fitquill-install-users-" +
                    std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder / "data" / "PalmOS");
        for (const char* user : {"Ann", "Bob"})
            fs::create_directories(m_folder / "palm" / user);
        std::ofstream(m_folder / "palm" / "users.idx")
            << "FitquillUsers 1\n1234\tAnn\tAnn\n5678\tBob\tBob\n";
        const CHandheldDatabaseBuilder builder(3'000'000'000u);
        ASSERT_TRUE(builder.Application().Save(PalmFile("Fitquill.prc")));
        ASSERT_TRUE(builder.FoodApplication().Save(PalmFile("FoodDB.prc")));
        ASSERT_TRUE(builder.Journal().Save(PalmFile("FQA-AppDB.pdb")));
        m_store = std::make_unique<CUserStore>(m_folder / "palm");
        m_aid = std::make_unique<CInstallAid>(*m_store);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    fs::path PalmFile(const std::string& name) const { return m_folder / "data" / "PalmOS" / name; }
    std::unique_ptr<CInstallDialog> Dialog(const QString& installPath = "/opt/fitquill") {
        return std::make_unique<CInstallDialog>(*m_aid, installPath, m_folder / "data");
    }
    std::vector<std::string> Queued(const std::string& user) {
        std::vector<std::string> names;
        for (const fs::path& file : m_aid->QueuedFiles(user))
            names.push_back(file.filename().string());
        return names;
    }
    QStringList Texts() const {
        QStringList texts;
        for (const auto& shown : m_prompt.Shown())
            texts << shown.text;
        return texts;
    }

    fs::path m_folder;
    std::unique_ptr<CUserStore> m_store;
    std::unique_ptr<CInstallAid> m_aid;
    CScriptedPrompt m_prompt;
};

TEST_F(InstallForPalmUsers, ListsTheUsersAndAMissingThirdFileLeavesTwoQueued) {
    auto dialog = Dialog();
    // What a user sees, kept in the test's build folder.
    dialog->grab().save("install_dialog.png");
    ASSERT_EQ(dialog->UserList()->count(), 2);
    EXPECT_EQ(dialog->UserList()->currentText(), "Ann");
    dialog->UserList()->setCurrentIndex(1);
    // FQA-FoodDB.pdb, the third file, is missing.
    dialog->Install();
    EXPECT_EQ(Queued("Bob"), (std::vector<std::string>{"Fitquill.prc", "FoodDB.prc"}));
    EXPECT_TRUE(Queued("Ann").empty());
    ASSERT_EQ(Texts().size(), 1);
    EXPECT_TRUE(Texts()[0].startsWith("Could not load the necessary files."));
    EXPECT_FALSE(dialog->result() == QDialog::Accepted);

    const CHandheldDatabaseBuilder builder(3'000'000'000u);
    ASSERT_TRUE(builder.Journal().Save(PalmFile("FQA-FoodDB.pdb")));
    dialog->Install();
    EXPECT_EQ(Queued("Bob"), (std::vector<std::string>{"Fitquill.prc", "FoodDB.prc",
                                                       "FQA-FoodDB.pdb", "FQA-AppDB.pdb"}));
    EXPECT_EQ(Texts().back(), "The software will be installed on the next HotSync operation.");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(InstallForPalmUsers, UpgradeQueuesOnlyTheApplicationsAndNeedsNoInstallPath) {
    auto dialog = Dialog(QString());
    dialog->Upgrade();
    EXPECT_EQ(Queued("Ann"), (std::vector<std::string>{"Fitquill.prc", "FoodDB.prc"}));
    EXPECT_EQ(Texts(), QStringList{"Fitquill will be installed on the next HotSync operation."});

    auto install = Dialog(QString());
    install->Install();
    EXPECT_EQ(Texts().back(), "Could not open up the install path registry key.");
    EXPECT_EQ(m_prompt.Shown().back().caption, "Pocket PC Setup");
}

TEST_F(InstallForPalmUsers, PocketPcHidesTheUsersAndSaysWhenItsSetupIsMissing) {
    auto dialog = Dialog();
    dialog->show();
    EXPECT_TRUE(dialog->UserList()->isVisible());
    EXPECT_EQ(dialog->VersionLabel()->text(), QString::fromUtf8("Version 6.1 for Palm OS\u00ae"));
    dialog->DeviceList()->setCurrentIndex(1);
    EXPECT_FALSE(dialog->UserList()->isVisible());
    EXPECT_EQ(dialog->VersionLabel()->text(),
              QString::fromUtf8("Version 6.1 for Pocket PC OS\u00ae"));

    QStringList started;
    dialog->SetProcessStarter([&](const QString& program, const QString& folder) {
        started << program << folder;
        return true;
    });
    dialog->Install();
    EXPECT_TRUE(started.isEmpty());
    ASSERT_EQ(Texts().size(), 1);
    EXPECT_TRUE(Texts()[0].contains("could not be started")) << Texts()[0].toStdString();

    fs::create_directories(m_folder / "data" / "PocketPCOS");
    const fs::path setup = m_folder / "data" / "PocketPCOS" / "FitquillSetup";
    std::ofstream(setup) << "#!/bin/sh\n";
    fs::permissions(setup, fs::perms::owner_all);
    auto again = Dialog();
    again->DeviceList()->setCurrentIndex(1);
    again->SetProcessStarter([&](const QString& program, const QString& folder) {
        started << program << folder;
        return true;
    });
    again->Install();
    EXPECT_EQ(started, (QStringList{QString::fromStdString(setup.string()),
                                    QString::fromStdString(setup.parent_path().string())}));
    EXPECT_EQ(again->result(), QDialog::Accepted);

    // Upgrade honours the device too: the setup program, never Palm files for the hidden user.
    started.clear();
    auto upgrade = Dialog();
    upgrade->DeviceList()->setCurrentIndex(1);
    upgrade->SetProcessStarter([&](const QString& program, const QString&) {
        started << program;
        return true;
    });
    upgrade->Upgrade();
    EXPECT_EQ(started, QStringList{QString::fromStdString(setup.string())});
    EXPECT_TRUE(Queued("Ann").empty());
    EXPECT_EQ(upgrade->result(), QDialog::Accepted);
}

} // namespace
