// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up user selection and the Users, New User and Rename User dialogs.
#include "tests/desktop/frame/shell_test_support.h"

#include "core/journal/journal_file.h"
#include "desktop/frame/user_name_dialog.h"
#include "desktop/frame/users_dialog.h"
#include "desktop/widgets/commands.h"
#include "platform/palm/user_store.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace fitquill;
using namespace fitquill::test;
namespace fs = std::filesystem;

namespace {

const QString kDuplicateText =
    QStringLiteral("Could not add the user.  Make sure you are not inputting a duplicate name.");

QStringList ComboEntries(const QComboBox& combo) {
    QStringList entries;
    for (int i = 0; i < combo.count(); ++i)
        entries << combo.itemText(i);
    return entries;
}

bool HasCloseButton(const QWidget& window) {
    return window.windowFlags().testFlag(Qt::WindowCloseButtonHint) ||
           !window.windowFlags().testFlag(Qt::CustomizeWindowHint);
}

} // namespace

using UserDialogs = ShellTest;

TEST_F(UserDialogs, FirstStartForcesANewUserAndADuplicateNameKeepsTheDialog) {
    bool sawDialog = false;
    WhenModal<CUserNameDialog>([&](CUserNameDialog& dialog) {
        sawDialog = true;
        EXPECT_EQ(dialog.windowTitle(), "New User");
        EXPECT_FALSE(dialog.CancelButton()->isEnabled());
        EXPECT_FALSE(dialog.OkButton()->isEnabled()) << "OK needs a name";
        EXPECT_FALSE(HasCloseButton(dialog));
        // Neither Escape nor a close request ends it.
        QTest::keyClick(&dialog, Qt::Key_Escape);
        dialog.close();
        EXPECT_TRUE(dialog.isVisible());

        // Meanwhile a HotSync operation registered "Ann"; the name is now taken.
        CUserStore(m_palmRoot).AddUserWithId("Ann", kAnnId);
        QTest::keyClicks(dialog.Edit(), "Ann");
        EXPECT_TRUE(dialog.OkButton()->isEnabled());
        dialog.OkButton()->click();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.Edit()->selectedText(), "Ann") << "the refused name is selected";
        ASSERT_EQ(m_prompt->Shown().size(), 1u);
        EXPECT_EQ(m_prompt->Shown()[0].caption, "New User");
        EXPECT_EQ(m_prompt->Shown()[0].text, kDuplicateText);
        EXPECT_EQ(m_prompt->Shown()[0].icon, EPromptIcon::Warning);

        QTest::keyClicks(dialog.Edit(), "Bob");
        dialog.OkButton()->click();
    });
    CMainFrame& frame = Start();
    EXPECT_TRUE(sawDialog);

    EXPECT_TRUE(m_data->HasOpenUser());
    EXPECT_EQ(m_data->GetCurrentUserName(), "Bob");
    EXPECT_EQ(m_data->Journal().Profile().UserName(), "Bob");
    EXPECT_EQ(ComboEntries(*frame.UserCombo()), (QStringList{"Ann", "Bob", "Edit User..."}));
    EXPECT_EQ(frame.UserCombo()->currentText(), "Bob");
    EXPECT_TRUE(fs::is_directory(m_palmRoot / "Bob"));
    EXPECT_EQ(frame.windowTitle(), "Fitquill Desktop");
}

TEST_F(UserDialogs, ARememberedUserThatIsGoneOpensTheUsersDialogOnTheFirstUser) {
    AddUser("Ann", kAnnId);
    AddUser("Bob", kBobId);
    Remember(QStringLiteral("Carl"));
    QStringList listed;
    WhenModal<CUsersDialog>([&](CUsersDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Users");
        EXPECT_FALSE(HasCloseButton(dialog));
        for (int i = 0; i < dialog.List()->count(); ++i)
            listed << dialog.List()->item(i)->text();
        EXPECT_EQ(dialog.List()->currentRow(), 0);
        EXPECT_TRUE(dialog.OkButton()->isEnabled());
        EXPECT_TRUE(dialog.DeleteButton()->isEnabled());
        EXPECT_TRUE(dialog.RenameButton()->isEnabled());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible()) << "at start-up only a choice ends the dialog";
        dialog.List()->setCurrentRow(1);
        dialog.OkButton()->click();
    });
    CMainFrame& frame = Start();
    EXPECT_EQ(listed, (QStringList{"Ann", "Bob"}));
    EXPECT_EQ(m_data->GetCurrentUserName(), "Bob");
    EXPECT_TRUE(m_data->HasOpenUser());
    EXPECT_EQ(frame.UserCombo()->currentText(), "Bob");
    EXPECT_TRUE(m_prompt->Shown().empty());
}

TEST_F(UserDialogs, TheRememberedUserOpensWithoutAskingAndNamesAreCaseSensitive) {
    AddUser("ann", 1);
    AddUser("Ann", kAnnId);
    WriteJournal("Ann", {CJournalDate(14, 3, 2024), CJournalDate(15, 3, 2024)});
    Remember(QStringLiteral("Ann"));
    CMainFrame& frame = Start();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(m_data->Journal().DayCount(), 2);
    EXPECT_EQ(frame.UserCombo()->currentText(), "Ann") << "not its lower-case twin";
    EXPECT_EQ(frame.StatusPane(2)->text(), "Record: 2 of 2");
}

TEST_F(UserDialogs, ChoosingTheCurrentUserAgainNeitherAsksNorReopens) {
    AddUser("Ann", kAnnId);
    AddUser("Bob", kBobId);
    Remember(QStringLiteral("Ann"));
    CMainFrame& frame = Start();
    m_data->SetModified();
    WhenModal<CUsersDialog>([](CUsersDialog& dialog) {
        EXPECT_EQ(dialog.List()->currentItem()->text(), "Ann");
        dialog.OkButton()->click();
    });
    frame.RunCommand(kIdFileOpen);
    EXPECT_TRUE(m_prompt->Shown().empty());
    EXPECT_TRUE(m_data->IsModified()) << "reopening would have dropped the changes";
    EXPECT_EQ(frame.StatusPane(3)->text(), "MOD");
}

TEST_F(UserDialogs, CancelInTheSaveQuestionKeepsTheUserAndTheComboBox) {
    AddUser("Ann", kAnnId);
    AddUser("Bob", kBobId);
    WriteJournal("Ann", {CJournalDate(15, 3, 2024)});
    Remember(QStringLiteral("Ann"));
    CMainFrame& frame = Start();
    m_data->SetModified();

    m_prompt->Answer(EPromptAnswer::Cancel);
    QTest::keyClick(frame.UserCombo(), Qt::Key_Down); // chooses "Bob"
    ASSERT_EQ(m_prompt->Shown().size(), 1u);
    EXPECT_EQ(m_prompt->Shown()[0].caption, "Save");
    EXPECT_EQ(m_prompt->Shown()[0].text, "Do you want to save changes to 'Ann'?");
    EXPECT_EQ(m_prompt->Shown()[0].buttons, EPromptButtons::YesNoCancel);
    EXPECT_EQ(frame.UserCombo()->currentText(), "Ann");
    EXPECT_EQ(m_data->GetCurrentUserName(), "Ann");
    EXPECT_EQ(m_data->Journal().DayCount(), 1);
    EXPECT_TRUE(m_data->IsModified());

    // No: switch without saving.
    m_prompt->Answer(EPromptAnswer::No);
    QTest::keyClick(frame.UserCombo(), Qt::Key_Down);
    EXPECT_EQ(m_data->GetCurrentUserName(), "Bob");
    EXPECT_EQ(frame.UserCombo()->currentText(), "Bob");
    EXPECT_EQ(m_data->Journal().DayCount(), 0);
    EXPECT_FALSE(m_data->IsModified());
}

TEST_F(UserDialogs, EditUserEntryOpensTheUsersDialogWithoutSwitchingByItself) {
    AddUser("Ann", kAnnId);
    AddUser("Bob", kBobId);
    Remember(QStringLiteral("Ann"));
    CMainFrame& frame = Start();
    bool opened = false;
    WhenModal<CUsersDialog>([&](CUsersDialog& dialog) {
        opened = true;
        dialog.reject(); // a programmatic close
    });
    QComboBox& combo = *frame.UserCombo();
    QTest::keyClick(&combo, Qt::Key_End);
    EXPECT_TRUE(opened);
    EXPECT_EQ(m_data->GetCurrentUserName(), "Ann");
    EXPECT_EQ(combo.currentText(), "Ann") << "the close reselects the current user";
}

TEST_F(UserDialogs, UsersDialogAddsRenamesAndDeletesButNeverTheOpenUser) {
    UseOwnUserList();
    AddUser("Ann");
    AddUser("Bob");
    WriteJournal("Ann", {CJournalDate(15, 3, 2024)});
    Remember(QStringLiteral("Ann"));
    CMainFrame& frame = Start();

    WhenModal<CUsersDialog>([&](CUsersDialog& dialog) {
        // New... adds in plain mode and selects the new name.
        WhenModal<CUserNameDialog>([](CUserNameDialog& add) {
            QTest::keyClicks(add.Edit(), "Cid");
            add.OkButton()->click();
        });
        dialog.NewButton()->click();
        EXPECT_EQ(dialog.List()->currentItem()->text(), "Cid");

        // The open user cannot be deleted.
        dialog.List()->setCurrentRow(0);
        m_prompt->Answer(EPromptAnswer::Yes);
        dialog.DeleteButton()->click();
        EXPECT_EQ(dialog.List()->count(), 3);

        // Another user can.
        dialog.List()->setCurrentRow(1);
        m_prompt->Answer(EPromptAnswer::Yes);
        dialog.DeleteButton()->click();
        EXPECT_EQ(dialog.List()->count(), 2);

        // Renaming to a taken name is refused and keeps the Rename dialog.
        dialog.List()->setCurrentRow(0);
        WhenModal<CUserNameDialog>([&](CUserNameDialog& rename) {
            EXPECT_EQ(rename.windowTitle(), "Rename User");
            EXPECT_EQ(rename.Edit()->selectedText(), "Ann");
            QTest::keyClicks(rename.Edit(), "Cid");
            rename.OkButton()->click();
            EXPECT_TRUE(rename.isVisible());
            rename.Edit()->setText("Anna");
            rename.OkButton()->click();
        });
        dialog.RenameButton()->click();
        EXPECT_EQ(dialog.List()->currentItem()->text(), "Anna");
        dialog.OkButton()->click();
    });
    frame.RunCommand(kIdFileOpen);

    ASSERT_EQ(m_prompt->Shown().size(), 4u);
    EXPECT_EQ(m_prompt->Shown()[0].text, "Delete the user name and ALL ASSOCIATED DATA of 'Ann'?");
    EXPECT_EQ(m_prompt->Shown()[0].caption, "Delete User");
    EXPECT_EQ(m_prompt->Shown()[1].text, "Could not delete the user.");
    EXPECT_EQ(m_prompt->Shown()[2].text, "Delete the user name and ALL ASSOCIATED DATA of 'Bob'?");
    EXPECT_EQ(m_prompt->Shown()[3].caption, "Rename User");
    EXPECT_EQ(m_prompt->Shown()[3].text, "Could not rename the user.  Make sure you are not "
                                         "inputting a duplicate name.");
    EXPECT_EQ(m_data->UserNames(), (QStringList{"Anna", "Cid"}));

    // The renamed open user follows its folder: saving writes there, not to the old one.
    EXPECT_EQ(m_data->GetCurrentUserName(), "Anna");
    EXPECT_EQ(frame.UserCombo()->currentText(), "Anna");
    m_data->SetModified();
    frame.RunCommand(kIdFileSaveAll);
    EXPECT_TRUE(fs::exists(ProgramFolderOf("Anna") / kJournalFileName));
    EXPECT_FALSE(fs::exists(ProgramFolderOf("Ann")));
    CJournalDB reread;
    reread.SetFilePath((ProgramFolderOf("Anna") / kJournalFileName).string());
    ASSERT_TRUE(CJournalFile::Read(reread));
    EXPECT_EQ(reread.DayCount(), 1);
}

TEST_F(UserDialogs, NewCommandAsksToSaveAndOpensTheNewUser) {
    AddUser("Ann", kAnnId);
    Remember(QStringLiteral("Ann"));
    CMainFrame& frame = Start();
    m_data->SetModified();

    // Cancel in the save question closes the dialog without adding anyone.
    WhenModal<CUserNameDialog>([&](CUserNameDialog& dialog) {
        EXPECT_TRUE(dialog.CancelButton()->isEnabled());
        QTest::keyClicks(dialog.Edit(), "Bob");
        m_prompt->Answer(EPromptAnswer::Cancel);
        dialog.OkButton()->click();
    });
    frame.RunCommand(kIdFileNew);
    EXPECT_EQ(m_data->UserNames(), QStringList{"Ann"});
    EXPECT_EQ(m_data->GetCurrentUserName(), "Ann");

    // Yes saves Ann, then Bob is added and opened.
    WhenModal<CUserNameDialog>([&](CUserNameDialog& dialog) {
        QTest::keyClicks(dialog.Edit(), "Bob");
        m_prompt->Answer(EPromptAnswer::Yes);
        dialog.OkButton()->click();
    });
    frame.RunCommand(kIdFileNew);
    EXPECT_TRUE(fs::exists(ProgramFolderOf("Ann") / kJournalFileName));
    EXPECT_EQ(m_data->GetCurrentUserName(), "Bob");
    EXPECT_EQ(frame.UserCombo()->currentText(), "Bob");
    EXPECT_FALSE(m_data->IsModified());
}
