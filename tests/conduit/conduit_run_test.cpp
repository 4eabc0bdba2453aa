// SPDX-License-Identifier: GPL-3.0-or-later
#include "conduit/sync/conduit_run.h"

#include "conduit/sync/conduit_environment.h"
#include "core/clock.h"
#include "core/food/food_db_file.h"
#include "core/io/atomic_file.h"
#include "core/journal/journal_file.h"
#include "tests/conduit/conduit_test_support.h"
#include "tests/conduit/memory_channel.h"
#include "tests/core/file_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>

using namespace fitquill;
using namespace fitquill::testing;
namespace fs = std::filesystem;

namespace {

using Log = std::vector<CMemoryLog::SEntry>;

} // namespace

namespace fitquill {
void PrintTo(const CMemoryLog::SEntry& entry, std::ostream* out) {
    *out << entry.activity << " \"" << entry.text << "\"";
}
} // namespace fitquill

namespace {

class ConduitRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_root = fs::path(::testing::TempDir()) / (std::string("fq_run_") + test->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        m_users = std::make_unique<CUserDirectory>(
            std::make_shared<COneUserLibrary>(m_root.string() + "/"),
            SInstallPath{true, (m_root / "install").string()});
        m_properties.action = 0;
        m_properties.pathName = (m_root / "AnnL").string();
        m_properties.localName = "Fitquill/UserDB.dat";
        m_properties.remoteName = "FQA-AppDB";
        m_journal = SyncedJournal(Day(1), 3);
        m_channel.records = PackJournalRecords(m_journal);
    }
    void TearDown() override { fs::remove_all(m_root); }

    fs::path JournalFile() const { return m_root / "AnnL" / "Fitquill" / "UserDB.ddb"; }
    fs::path FoodFile() const { return m_root / "AnnL" / "Fitquill" / "FoodDB.ddb"; }

    ERunError Run(uint16_t selector = 1) {
        CConduitRun run(selector, m_properties, {m_channel, m_log, m_presence, *m_users});
        run.Run();
        run.End();
        m_status = run.Status();
        return run.Error();
    }

    fs::path m_root;
    std::unique_ptr<CUserDirectory> m_users;
    SSyncProperties m_properties;
    CJournalDB m_journal;
    CMemoryChannel m_channel;
    CMemoryLog m_log;
    CFakePresence m_presence;
    int32_t m_status = 0;
};

TEST_F(ConduitRunTest, FailingSyncManagerCallsStopTheRunWithTheirCode) {
    struct SCase {
        ECall call;
        int failOn;
        ERunError error;
        const char* message;
    };
    const SCase cases[] = {
        {ECall::Open, 1, ERunError::OpenChannel, "Diet: error opening channel"},
        {ECall::PurgeDeleted, 1, ERunError::PurgeDeleted, "Diet: error purging records"},
        {ECall::Info, 1, ERunError::ReadInfo, "Diet: error opening database"},
        {ECall::Read, 2, ERunError::ReadRecord, "Diet: error reading record"},
        {ECall::PurgeAll, 1, ERunError::PurgeAll, "Diet: error deleting database"},
        {ECall::Write, 2, ERunError::WriteRecord, "Diet: error writing record"},
        // The database's file is written when it closes: a failed close loses the records.
        {ECall::Close, 1, ERunError::WriteRecord, "Diet: error writing record"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.message);
        // No desktop file yet: the handheld's journal is read, rewritten and copied.
        fs::remove_all(m_root / "AnnL");
        m_channel = CMemoryChannel();
        CJournalDB handheld = m_journal;
        handheld.Day(0).SetNote("changed on the handheld");
        m_channel.records = PackJournalRecords(handheld);
        m_channel.failing = c.call;
        m_channel.failOn = c.failOn;
        m_log = CMemoryLog();

        EXPECT_EQ(Run(), c.error);
        EXPECT_EQ(m_status, 0x4015);
        // The merge's change lines may come first; the run ends with these two.
        const Log& log = m_log.Entries();
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(Log(log.end() - 2, log.end()), (Log{{c.message, -1}, {"Diet:", 21}}));
        EXPECT_EQ(m_channel.Count(ECall::Close), c.call == ECall::Open ? 0 : 1);
    }
}

TEST_F(ConduitRunTest, DesktopRunningFailsBeforeAnythingIsTouched) {
    m_presence.running = true;
    EXPECT_EQ(Run(), ERunError::DesktopOpen);
    EXPECT_EQ(m_status, -1);
    EXPECT_EQ(m_presence.asked, (std::vector<std::optional<uint32_t>>{7u}));
    EXPECT_EQ(m_log.Entries(), (Log{{"Diet: error desktop open", -1}, {"Diet:", 21}}));
    EXPECT_FALSE(fs::exists(JournalFile()));
    EXPECT_EQ(m_channel.calls, (std::vector<ECall>{ECall::Open, ECall::Close}));

    // A folder that no user owns still may not be synchronised under a running desktop.
    m_properties.pathName = (m_root / "elsewhere").string();
    m_presence.asked.clear();
    EXPECT_EQ(Run(), ERunError::DesktopOpen);
    EXPECT_EQ(m_presence.asked, (std::vector<std::optional<uint32_t>>{std::nullopt}));
}

TEST_F(ConduitRunTest, OtherActionsOnlyOpenAndClose) {
    for (int32_t action : {4, 5, 6, -1, 0x7FFFFFFF}) {
        m_properties.action = action;
        m_channel.calls.clear();
        m_log = CMemoryLog();
        m_presence.running = true; // not even asked
        EXPECT_EQ(Run(), ERunError::None);
        EXPECT_EQ(m_channel.calls, (std::vector<ECall>{ECall::Open, ECall::Close}));
        EXPECT_EQ(m_log.Entries(), (Log{{"Diet", 20}}));
    }
}

TEST_F(ConduitRunTest, FailedDesktopWriteLeavesTheHandheldAlreadyRewritten) {
    // Handheld overwrites desktop writes the handheld first.
    m_journal.SetFilePath(JournalFile().string());
    ASSERT_TRUE(CJournalFile::Write(m_journal));
    const auto desktopBefore = ReadBytes(JournalFile());
    m_journal.Day(1).SetWater(5);
    m_channel.records = PackJournalRecords(m_journal);
    m_properties.action = 2;
    {
        CFileFaultInjection fault(EFileFault::Rename);
        EXPECT_EQ(Run(), ERunError::WriteDesktop);
    }
    EXPECT_EQ(ReadBytes(JournalFile()), desktopBefore);
    const CJournalDB handheld = UnpackJournal(m_channel.records);
    EXPECT_EQ(handheld.Day(1).Water(), 5);
    EXPECT_EQ(handheld.Day(1).ChangeBits(), 0);
    EXPECT_EQ(m_log.Entries().front().text, "Diet: error writing harddisk database");
}

TEST_F(ConduitRunTest, RecordBeyondTheHandheldLimitIsRefusedBeforeThePurge) {
    CFoodDB desktop = SyncedFoodDB(1, 1, 0);
    for (int i = 0; i < 1200; ++i)
        desktop.AddFoodItem(0, 0, FoodItem("Item number " + std::to_string(i), 1));
    desktop.SetPaths(FoodFile(), FoodFile().parent_path());
    CFoodDBFile file(EFoodFileMode::Conduit);
    ASSERT_TRUE(file.Save(desktop));
    CFoodDB handheld = SyncedFoodDB(1, 1, 1);
    m_channel.records = CFoodDBFile::PackRecords(handheld);
    const Records before = m_channel.records;
    m_properties.action = 3;

    EXPECT_EQ(Run(0), ERunError::WriteHandheld);
    EXPECT_EQ(m_channel.Count(ECall::PurgeAll), 0);
    EXPECT_EQ(m_channel.records, before);
    EXPECT_EQ(m_log.Entries(),
              (Log{{"Foods: error writing handheld database", -1}, {"Foods:", 21}}));
}

// Without a desktop file the handheld's journal is taken whole, but the handheld still keeps
// only its history: else the next synchronize would trim it and change the handheld again.
TEST_F(ConduitRunTest, WithoutADesktopFileSynchronizeSendsOnlyTheHistory) {
    struct SToday {
        SToday() { CClock::SetFixedDate(SLocalTime{2024, 6, 30}); }
        ~SToday() { CClock::SetFixedDate(std::nullopt); }
    } today;
    CJournalDB handheld = m_journal; // 1 to 3 June
    handheld.Header().SetHistoryLength(10);
    CDayRecord recent(Day(25));
    recent.SetNote("recent");
    handheld.InsertDay(recent);
    m_channel.records = PackJournalRecords(handheld);

    EXPECT_EQ(Run(), ERunError::None);
    CJournalDB desktop;
    ASSERT_TRUE(CJournalFile::Unpack(ReadBytes(JournalFile()), desktop));
    EXPECT_EQ(desktop.DayCount(), 4);
    const CJournalDB sent = UnpackJournal(m_channel.records);
    ASSERT_EQ(sent.DayCount(), 1);
    EXPECT_EQ(sent.Day(0).Note(), "recent");

    const auto desktopBefore = ReadBytes(JournalFile());
    const Records handheldBefore = m_channel.records;
    EXPECT_EQ(Run(), ERunError::None);
    EXPECT_EQ(ReadBytes(JournalFile()), desktopBefore);
    EXPECT_EQ(m_channel.records, handheldBefore);
}

TEST_F(ConduitRunTest, InstallPathIsTheSettingElseTheUsersDataFolder) {
    std::map<std::string, std::string> variables = {
        {"HOME", (m_root / "home").string()},
        {"XDG_CONFIG_HOME", (m_root / "config").string()},
        {"XDG_CONFIG_DIRS", (m_root / "etc").string()},
        {"FITQUILL_HOTSYNC_LOG", (m_root / "entries").string()}};
    // Each environment runs the way a HotSync operation builds it; the log must stay empty
    // unless no folder can be found at all.
    const auto installPathAndLog = [&]() {
        std::filesystem::remove(m_root / "entries");
        CConduitEnvironment environment(m_properties, "Foods: ", [&](const char* name) {
            auto it = variables.find(name);
            return it == variables.end() ? std::nullopt : std::optional<std::string>(it->second);
        });
        std::string log;
        if (std::filesystem::exists(m_root / "entries")) {
            const auto bytes = ReadBytes(m_root / "entries");
            log.assign(bytes.begin(), bytes.end());
        }
        return std::pair{environment.Services().users.InstallPath(), log};
    };
    const char sep = kPathSeparator;

    EXPECT_EQ(installPathAndLog(),
              std::pair((m_root / "home" / ".local" / "share" / "fitquill").string() + sep,
                        std::string()));
    variables["XDG_DATA_HOME"] = (m_root / "xdg").string();
    EXPECT_EQ(installPathAndLog(),
              std::pair((m_root / "xdg" / "fitquill").string() + sep, std::string()));

    std::filesystem::create_directories(m_root / "config" / "Quorvel");
    std::ofstream(m_root / "config" / "Quorvel" / "Fitquill.conf")
        << "[InstallPath]\nName=" << (m_root / "chosen").string() << "\n";
    EXPECT_EQ(installPathAndLog(), std::pair((m_root / "chosen").string() + sep, std::string()));

    std::filesystem::remove(m_root / "config" / "Quorvel" / "Fitquill.conf");
    variables.erase("HOME");
    variables.erase("XDG_DATA_HOME");
    // An empty installation path puts the own list below the working folder: keep it here.
    const std::filesystem::path workingFolder = std::filesystem::current_path();
    std::filesystem::current_path(m_root);
    const auto withoutHome = installPathAndLog();
    std::filesystem::current_path(workingFolder);
    EXPECT_EQ(withoutHome,
              std::pair(std::string(),
                        std::string("-1\tFoods: Could not open up the install path registry "
                                    "key.\n")));
}

} // namespace
