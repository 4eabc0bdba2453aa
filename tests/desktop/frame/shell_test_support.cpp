// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/desktop/frame/shell_test_support.h"

#include "core/clock.h"
#include "core/journal/journal_file.h"
#include "core/users/user_directory.h"
#include "desktop/document/program_paths.h"
#include "desktop/document/shell_settings.h"
#include "desktop/frame/diet_application.h"
#include "platform/palm/user_store.h"

#include <QCoreApplication>

#include <cstdlib>
#include <fstream>
#include <random>

namespace fitquill::test {
namespace {

namespace fs = std::filesystem;

// Set up before main(), so before the QApplication and the first QSettings exist.
struct SWorld {
    fs::path root;

    SWorld() {
        std::random_device random;
        root = fs::temp_directory_path() / ("fq-shell-test-" + std::to_string(random()));
        for (const char* sub : {"home", "config", "data", "run", "xdg-run"})
            fs::create_directories(root / sub);
        fs::permissions(root / "xdg-run", fs::perms::owner_all, fs::perm_options::replace);
        fs::permissions(root / "run", fs::perms::owner_all, fs::perm_options::replace);
        Set("HOME", root / "home");
        Set("XDG_CONFIG_HOME", root / "config");
        Set("XDG_DATA_HOME", root / "data");
        Set("XDG_RUNTIME_DIR", root / "xdg-run");
        Set("FITQUILL_RUNTIME_DIR", root / "run");
        ::setenv("FITQUILL_TODAY", "2024-03-15", 1);
        // A desktop of 1024 x 768 pixels.
        std::ofstream(root / "screen.json")
            << R"({"screens": [{"name": "Desktop", "x": 0, "y": 0, "width": 1024, )"
            << R"("height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
        std::string platform = "offscreen:configfile=" + (root / "screen.json").string();
        ::setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
    }
    ~SWorld() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    static void Set(const char* name, const fs::path& value) { ::setenv(name, value.c_str(), 1); }
};

SWorld& World() {
    static SWorld world;
    return world;
}

[[maybe_unused]] const bool kWorldReady = (World(), true);

} // namespace

const fs::path& WorldFolder() {
    return World().root;
}

void ProcessEventsFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (clock.elapsed() < milliseconds);
}

void ShellTest::SetUp() {
    static int counter = 0;
    m_folder = WorldFolder() / ("case-" + std::to_string(++counter));
    m_palmRoot = m_folder / "palm";
    m_installPath = m_folder / "install";
    m_programFolder = m_folder / "bin";
    fs::create_directories(m_palmRoot);
    fs::create_directories(m_installPath);
    fs::create_directories(m_programFolder);
    ::setenv(kPalmRootVariable, m_palmRoot.c_str(), 1);
    CClock::SetFixedDate(CClock::ParseIsoDate("2024-03-15"));

    CShellSettings settings;
    settings.Store().clear();
    // The own user list lives below the installation; never in the build tree.
    settings.Store().setValue(QStringLiteral("InstallPath/Name"),
                              QString::fromStdString(m_installPath.string() + "/"));
    settings.Store().sync();
    m_prompt = std::make_unique<CScriptedPrompt>();
}

void ShellTest::TearDown() {
    Stop();
    m_prompt.reset();
    SetExitHook({});
    std::error_code ignored;
    fs::remove_all(m_folder, ignored);
}

void ShellTest::UseOwnUserList() {
    m_ownUserList = true;
    ::unsetenv(kPalmRootVariable);
}

void ShellTest::AddUser(const std::string& name, uint32_t id) {
    if (m_ownUserList) {
        CUserDirectory users(nullptr, SInstallPath{true, m_installPath.string() + "/"});
        ASSERT_TRUE(users.AddUser(name)) << name;
        return;
    }
    CUserStore store(m_palmRoot);
    ASSERT_EQ(store.AddUserWithId(name, id), 0) << name << ": " << store.LastError();
}

void ShellTest::Remember(const QString& name) {
    CShellSettings().SetCurrentUserName(name);
}

fs::path ShellTest::ProgramFolderOf(const std::string& name) const {
    if (m_ownUserList)
        return m_installPath / "Fitquill" / "Desktop" / "Users" / name / kProgramFolderName;
    // The Palm Desktop folder of a user need not carry the user's name.
    CUserDirectory users(std::make_shared<CUserStore>(m_palmRoot), SInstallPath{true, ""});
    UserHandle user = 0;
    std::string folder;
    if (!users.FindUserByName(name, user) || !users.GetProgramFolder(user, folder))
        return m_palmRoot / name / kProgramFolderName;
    return folder;
}

void ShellTest::WriteJournal(const std::string& name, const std::vector<CJournalDate>& days,
                             const std::function<void(CJournalDB&)>& edit) {
    CJournalDB journal;
    const fs::path folder = ProgramFolderOf(name);
    journal.SetFolderPath(folder.string());
    journal.SetFilePath((folder / kJournalFileName).string());
    for (const CJournalDate& day : days) {
        journal.GoToDate(day);
        ASSERT_TRUE(journal.AddDay());
    }
    if (edit)
        edit(journal);
    std::string error;
    ASSERT_TRUE(CJournalFile::Write(journal, &error)) << error;
}

CMainFrame& ShellTest::Create() {
    CShellSettings settings;
    m_data = std::make_unique<CDietData>(
        CDietData::ProgramSetup(CProgramPaths(m_programFolder), settings));
    m_frame = std::make_unique<CMainFrame>(*m_data);
    return *m_frame;
}

CMainFrame& ShellTest::Start() {
    Create();
    m_frame->ShowAtSavedPlacement();
    // Runs the queued start-up user selection (and any dialog it opens).
    ProcessEventsFor(50);
    return *m_frame;
}

void ShellTest::Stop() {
    m_frame.reset();
    m_data.reset();
}

std::vector<QString> ShellTest::ShownTexts() const {
    std::vector<QString> texts;
    for (const auto& shown : m_prompt->Shown())
        texts.push_back(shown.text);
    return texts;
}

} // namespace fitquill::test
