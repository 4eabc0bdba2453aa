// SPDX-License-Identifier: GPL-3.0-or-later
// The built modules, loaded and called the way the HotSync Manager does: every record is built
// byte by byte from the offsets of conduit_api.h, the handheld is a folder of .pdb files and the
// desktop files live in a private Palm Desktop folder.
#include "conduit/conduit_api.h"
#include "core/food/food_db_file.h"
#include "core/journal/journal_file.h"
#include "platform/palm/user_store.h"
#include "platform/presence/presence_server.h"
#include "platform/settings/settings_store.h"
#include "tests/conduit/conduit_test_support.h"
#include "tests/conduit/dialog_driver.h"
#include "tests/support/program_world.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <utility>

#include <dlfcn.h>
#include <optional>
#include <unistd.h>

using namespace fitquill;
using namespace fitquill::testing;
namespace fs = std::filesystem;

namespace {

constexpr uint32_t kAnnId = 4242;

struct SModule {
    const char* path;
    OpenConduitFunction open = nullptr;
    GetConduitNameFunction name = nullptr;
    GetConduitVersionFunction version = nullptr;
    GetConduitInfoFunction info = nullptr;
    ConfigureConduitFunction configure = nullptr;
    CfgConduitFunction cfg = nullptr;
};

template <class F> F Symbol(void* handle, const char* name) {
    return reinterpret_cast<F>(dlsym(handle, name));
}

SModule Load(const char* path) {
    SModule module{path};
    void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(handle, nullptr) << dlerror();
    if (handle == nullptr)
        return module;
    module.open = Symbol<OpenConduitFunction>(handle, "OpenConduit");
    module.name = Symbol<GetConduitNameFunction>(handle, "GetConduitName");
    module.version = Symbol<GetConduitVersionFunction>(handle, "GetConduitVersion");
    module.info = Symbol<GetConduitInfoFunction>(handle, "GetConduitInfo");
    module.configure = Symbol<ConfigureConduitFunction>(handle, "ConfigureConduit");
    module.cfg = Symbol<CfgConduitFunction>(handle, "CfgConduit");
    return module;
}

const SModule& Journal() {
    static const SModule module = Load(FITQUILL_JOURNAL_CONDUIT);
    return module;
}

const SModule& Food() {
    static const SModule module = Load(FITQUILL_FOOD_CONDUIT);
    return module;
}

void PutText(std::vector<uint8_t>& record, size_t offset, const std::string& text) {
    std::memcpy(record.data() + offset, text.data(), text.size());
}

using LogLines = std::vector<std::pair<int, std::string>>;

class ConduitModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_world.emplace("2024-06-30");
        m_dir = m_world->Root();
        fs::create_directories(m_dir / "handheld");
        setenv("FITQUILL_HANDHELD_DIR", (m_dir / "handheld").c_str(), 1);
        setenv("FITQUILL_HOTSYNC_LOG", (m_dir / "entries").c_str(), 1);
        ASSERT_TRUE(CSettingsStore({m_dir / "config" / "Quorvel" / "Fitquill.conf"})
                        .SetInstallPath((m_dir / "install").string()));
        ASSERT_EQ(CUserStore(m_dir / "palm").AddUserWithId("Ann", kAnnId), 0);
    }

    fs::path UserFolder() const { return m_dir / "palm" / "Ann"; }
    fs::path JournalFile() const { return UserFolder() / "Fitquill" / "UserDB.ddb"; }
    fs::path FoodFile() const { return UserFolder() / "Fitquill" / "FoodDB.ddb"; }
    fs::path JournalPdb() const { return m_dir / "handheld" / "FQA-AppDB.pdb"; }
    fs::path FoodPdb() const { return m_dir / "handheld" / "FQA-FoodDB.pdb"; }

    // The sync properties record, a little larger than the fields the conduit reads.
    std::vector<uint8_t> SyncProperties(int32_t action, const char* remote,
                                        const char* localName) const {
        std::vector<uint8_t> record(0x400, 0);
        Put32(record, 0x000, static_cast<uint32_t>(action));
        PutText(record, 0x004, UserFolder().string() + "/");
        PutText(record, 0x104, localName);
        PutText(record, 0x204, "Ann");
        std::memcpy(record.data() + 0x304, &remote, sizeof remote);
        Put32(record, 0x38C, 0x46517569);
        return record; // card number 0
    }

    // Runs a module's OpenConduit and returns the log lines it wrote.
    LogLines Run(const SModule& module, int32_t action) {
        const bool journal = &module == &Journal();
        const char* remote = journal ? "FQA-AppDB" : "FQA-FoodDB";
        const auto record =
            SyncProperties(action, remote, journal ? "Fitquill/UserDB.dat" : "Fitquill/FoodDB.dat");
        fs::remove(m_dir / "entries");
        EXPECT_EQ(module.open(nullptr, record.data()), 0);
        LogLines lines;
        std::ifstream in(m_dir / "entries");
        std::string line;
        while (std::getline(in, line)) {
            const size_t tab = line.find('\t');
            lines.emplace_back(std::stoi(line.substr(0, tab)), line.substr(tab + 1));
        }
        return lines;
    }

    static CJournalDB ReadJournalFile(const fs::path& file) {
        CJournalDB journal;
        EXPECT_TRUE(CJournalFile::Unpack(ReadBytes(file), journal));
        return journal;
    }

    static CFoodDB ReadFoodFile(const fs::path& file) {
        CFoodDB db;
        EXPECT_EQ(CFoodDBFile::Unpack(ReadBytes(file), db), EFoodLoadResult::Loaded);
        return db;
    }

    static std::vector<int> DaysOf(const CJournalDB& journal) {
        std::vector<int> days;
        for (const CDayRecord& day : journal.Days())
            days.push_back(day.Date().Day());
        return days;
    }

    // Desktop and handheld journals from one synchronised base; each keeps its own header.
    void PrepareJournals(CJournalDB& handheld, CJournalDB& desktop, int days = 5) {
        desktop = SyncedJournal(Day(1), days);
        handheld = desktop;
        handheld.Header().SetIdGenerator(CIdGenerator::Seeded(Day(3, 3, 2024)));
        handheld.Header().SetHistoryLength(0);
        desktop.SetFilePath(JournalFile().string());
    }

    void Store(CJournalDB& handheld, CJournalDB& desktop) {
        ASSERT_TRUE(CJournalFile::Write(desktop));
        WriteHandheldDatabase(JournalPdb(), "FQA-AppDB", PackJournalRecords(handheld));
    }

    std::optional<test::CProgramWorld> m_world;
    fs::path m_dir;
};

TEST_F(ConduitModuleTest, EntryPointsAnswerForTheirBuild) {
    for (const auto& [module, name, version] :
         {std::tuple{&Journal(), "Fitquill", 4u}, {&Food(), "Larderon", 0x300u}}) {
        ASSERT_NE(module->open, nullptr);
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(module->name(buffer, sizeof buffer), 0);
        EXPECT_STREQ(buffer, name);
        EXPECT_EQ(module->name(buffer, 4), 0);
        EXPECT_STREQ(buffer, std::string(name).substr(0, 3).c_str());
        EXPECT_EQ(module->name(buffer, 0), -1);
        EXPECT_EQ(module->name(nullptr, 32), -1);
        EXPECT_EQ(module->version(), version);
    }
}

TEST_F(ConduitModuleTest, GetConduitInfoChecksItsArguments) {
    std::vector<uint8_t> query(0x50, 0);
    Put32(query, 0, 1);
    Put32(query, 4, 0x50);
    std::vector<uint8_t> badVersion = query;
    Put32(badVersion, 0, 2);
    std::vector<uint8_t> badSize = query;
    Put32(badSize, 4, 0x4F);
    struct SCase {
        int32_t query;
        const void* input;
        bool output;
        uint32_t size;
        bool sizeGiven;
        int32_t result;
        uint32_t written; // the output's first word afterwards
    };
    const uint32_t untouched = 0xA5A5A5A5;
    const SCase cases[] = {
        {1, nullptr, false, 4, true, 0x1071, untouched},
        {1, nullptr, true, 4, false, 0x1077, untouched},
        {0, nullptr, true, 16, true, 0x1074, untouched},
        {0, badVersion.data(), true, 16, true, 0x1075, untouched},
        {0, badSize.data(), true, 16, true, 0x1075, untouched},
        {1, nullptr, true, 4, true, 0, 0x10000000},
        {1, nullptr, true, 8, true, 0x1073, untouched},
        {2, nullptr, true, 4, true, 0, 0},
        {2, nullptr, true, 8, true, 0x1073, untouched},
        {3, nullptr, true, 4, true, 0x1070, untouched},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "query " << c.query << " result " << c.result);
        std::vector<uint8_t> output(8, 0xA5);
        uint32_t size = c.size;
        EXPECT_EQ(Journal().info(c.query, c.input, c.output ? output.data() : nullptr,
                                 c.sizeGiven ? &size : nullptr),
                  c.result);
        EXPECT_EQ(Get32(output, 0), c.written);
        EXPECT_EQ(Get32(output, 4), untouched);
    }
    char name[16];
    uint32_t size = sizeof name;
    EXPECT_EQ(Food().info(0, query.data(), name, &size), 0);
    EXPECT_STREQ(name, "Larderon");
}

TEST_F(ConduitModuleTest, ConfigurationEntryPointsCheckTheirRecordsInOrder) {
    auto config = [](uint32_t version) {
        std::vector<uint8_t> record(0x160, 0);
        Put32(record, 0x000, version);
        Put32(record, 0x004, 0x160);
        Put32(record, 0x008, 0x46517569);
        Put32(record, 0x154, 3);
        return record;
    };
    struct SCase {
        int32_t kind;
        uint32_t version;
        bool record;
        bool sizeGiven;
        uint32_t size;
        int32_t result;
    };
    const SCase cases[] = {
        {0, 1, false, true, 0x160, 0x1074},
        {0, 1, true, false, 0x160, 0x1078},
        {0, 1, true, true, 0x15F, 0x107A},
        {1, 2, true, true, 0x15F, 0x107A},
        {1, 2, true, true, 0x160, 0x1079},
        {0, 2, true, true, 0x160, 0x107B},
        // Valid: without a display no dialog can show, the record stays as it was.
        {0, 1, true, true, 0x160, 0},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.result);
        std::vector<uint8_t> record = config(c.version);
        const auto before = record;
        uint32_t size = c.size;
        EXPECT_EQ(Journal().cfg(c.kind, c.record ? record.data() : nullptr,
                                c.sizeGiven ? &size : nullptr),
                  c.result);
        EXPECT_EQ(record, before);
    }

    std::vector<uint8_t> preference(0x20C, 0x33);
    Put32(preference, 0x208, 3);
    const auto before = preference;
    EXPECT_EQ(Food().configure(preference.data()), -1);
    EXPECT_EQ(preference, before);
    EXPECT_EQ(Food().configure(nullptr), -1);
}

// This host has no QApplication: with a display the module makes one for the dialog's time.
TEST_F(ConduitModuleTest, DialogWithoutAHostApplicationUsesOneOfItsOwn) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static std::unique_ptr<CDialogDriver> driver;
    // Runs inside the module's QApplication constructor: the dialog is answered in its loop.
    qAddPreRoutine([] {
        driver = std::make_unique<CDialogDriver>([](QDialog& dialog) {
            dialog.findChild<QAbstractButton*>("control404")->click();
            dialog.findChild<QAbstractButton*>("ok")->click();
        });
    });
    std::vector<uint8_t> preference(0x20C, 0);
    Put32(preference, 0x208, 6);
    EXPECT_EQ(Journal().configure(preference.data()), 0);
    ASSERT_TRUE(driver && driver->DialogSeen());
    EXPECT_EQ(Get32(preference, 0x208), 0u);
    EXPECT_EQ(Get32(preference, 0x204), 2u);
    EXPECT_EQ(QCoreApplication::instance(), nullptr);
    driver.reset();
}

TEST_F(ConduitModuleTest, SynchronizeMergesBothWaysAndASecondRunChangesNothing) {
    CJournalDB handheld, desktop;
    PrepareJournals(handheld, desktop);
    auto day = [](CJournalDB& j, int d) -> CDayRecord& { return j.Day(j.FindDay(Day(d))); };
    day(desktop, 1).SetWeight(170.0, false, desktop.Profile());
    day(desktop, 2).SetWater(3);
    desktop.DeleteRange(Day(3), Day(3));
    day(desktop, 4)
        .FoodLog()
        .AddEntry(kSortByMeal, FoodEntry("Toast", kMealLunch, 80), desktop.IdGenerator());
    day(handheld, 1).SetNote("from the handheld");
    day(handheld, 2).SetWater(5); // changed on both sides: the desktop's 3 stays
    handheld.DeleteRange(Day(5), Day(5));
    CDayRecord added(Day(10));
    added.SetWater(2);
    handheld.InsertDay(added);
    handheld.Profile().SetAge(41);
    Store(handheld, desktop);
    const CIdGenerator desktopIds = desktop.Header().IdGenerator();
    const Records handheldBefore = PackJournalRecords(handheld);

    const LogLines log = Run(Journal(), kHotSyncActionSlow);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), (std::pair<int, std::string>{20, "Diet"}));

    CJournalDB merged = ReadJournalFile(JournalFile());
    EXPECT_EQ(DaysOf(merged), (std::vector<int>{1, 2, 4, 5, 10}));
    EXPECT_EQ(day(merged, 1).Weight().Pounds(), 170.0f);
    EXPECT_EQ(day(merged, 1).Note(), "from the handheld");
    EXPECT_EQ(day(merged, 2).Water(), 3);
    EXPECT_EQ(day(merged, 4).FoodLog().EntryCount(), 2);
    EXPECT_EQ(day(merged, 10).Water(), 2);
    EXPECT_EQ(merged.Profile().Age(), 41);
    EXPECT_EQ(merged.Header().IdGenerator(), desktopIds);
    EXPECT_EQ(merged.Profile().ChangeBits(), 0);
    for (const CDayRecord& d : merged.Days())
        EXPECT_FALSE(d.HasChanges());

    // The handheld holds the desktop's records under its own header.
    const Records received = ReadHandheldDatabase(JournalPdb());
    Records expected = PackJournalRecords(merged);
    expected[0] = handheldBefore[0];
    EXPECT_EQ(received, expected);

    const auto desktopBytes = ReadBytes(JournalFile());
    const auto handheldBytes = ReadBytes(JournalPdb());
    EXPECT_EQ(Run(Journal(), kHotSyncActionFast), (LogLines{{20, "Diet"}}));
    EXPECT_EQ(ReadBytes(JournalFile()), desktopBytes);
    EXPECT_EQ(ReadBytes(JournalPdb()), handheldBytes);
}

TEST_F(ConduitModuleTest, WithoutADesktopFileTheHandheldJournalComesOverWhole) {
    CJournalDB handheld, desktop;
    PrepareJournals(handheld, desktop);
    handheld.Day(1).SetNote("changed since the last HotSync");
    WriteHandheldDatabase(JournalPdb(), "FQA-AppDB", PackJournalRecords(handheld));

    EXPECT_EQ(Run(Journal(), kHotSyncActionFast), (LogLines{{20, "Diet"}}));
    handheld.ClearAllChangeBits();
    const Records expected = PackJournalRecords(handheld);
    EXPECT_EQ(ReadHandheldDatabase(JournalPdb()), expected);
    CJournalDB created = ReadJournalFile(JournalFile());
    EXPECT_EQ(DaysOf(created), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(created.Profile(), handheld.Profile());
}

TEST_F(ConduitModuleTest, UnreadableHandheldJournalFailsWith13AndLeavesTheDesktop) {
    CJournalDB handheld, desktop;
    PrepareJournals(handheld, desktop);
    Store(handheld, desktop);
    const auto desktopBytes = ReadBytes(JournalFile());
    Records full = PackJournalRecords(handheld);
    Records version5 = full;
    version5[0][1] = 5;
    for (const Records& records : {Records(full.begin(), full.begin() + 2), version5}) {
        WriteHandheldDatabase(JournalPdb(), "FQA-AppDB", records);
        for (int32_t action : {0, 2, 3}) {
            EXPECT_EQ(Run(Journal(), action),
                      (LogLines{{-1, "Diet: error reading handheld database"}, {21, "Diet:"}}));
            EXPECT_EQ(ReadBytes(JournalFile()), desktopBytes);
            EXPECT_EQ(ReadHandheldDatabase(JournalPdb()), records);
        }
    }
}

TEST_F(ConduitModuleTest, RunningDesktopGetsTheNoticeAndTheRunFailsWith8) {
    CJournalDB handheld, desktop;
    PrepareJournals(handheld, desktop);
    Store(handheld, desktop);
    CFoodDB foods = SyncedFoodDB(1, 1, 1);
    WriteHandheldDatabase(FoodPdb(), "FQA-FoodDB", CFoodDBFile::PackRecords(foods));
    const auto desktopBytes = ReadBytes(JournalFile());
    const auto handheldBytes = ReadBytes(JournalPdb());

    CPresenceServer server;
    ASSERT_EQ(server.Listen(), EPresenceListen::Listening);
    std::atomic<bool> stop{false};
    std::vector<SPresenceMessage> received;
    std::thread desktopProgram([&] {
        while (!stop) {
            for (const SPresenceMessage& message : server.TakeMessages())
                received.push_back(message);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    const LogLines journalLog = Run(Journal(), kHotSyncActionFast);
    const LogLines foodLog = Run(Food(), kHotSyncActionFast);
    stop = true;
    desktopProgram.join();

    EXPECT_EQ(journalLog, (LogLines{{-1, "Diet: error desktop open"}, {21, "Diet:"}}));
    EXPECT_EQ(foodLog, (LogLines{{-1, "Foods: error desktop open"}, {21, "Foods:"}}));
    const SPresenceMessage notice{EPresenceRequest::HotSyncNotice, kAnnId};
    EXPECT_EQ(received, (std::vector<SPresenceMessage>{notice, notice}));
    EXPECT_EQ(ReadBytes(JournalFile()), desktopBytes);
    EXPECT_EQ(ReadBytes(JournalPdb()), handheldBytes);
    EXPECT_FALSE(fs::exists(FoodFile()));
}

TEST_F(ConduitModuleTest, DoNothingOnlyLogsTheEnd) {
    CJournalDB handheld, desktop;
    PrepareJournals(handheld, desktop);
    handheld.Day(0).SetWater(9);
    Store(handheld, desktop);
    const auto desktopBytes = ReadBytes(JournalFile());
    const auto handheldBytes = ReadBytes(JournalPdb());
    EXPECT_EQ(Run(Journal(), kHotSyncActionDoNothing), (LogLines{{20, "Diet"}}));
    EXPECT_EQ(ReadBytes(JournalFile()), desktopBytes);
    EXPECT_EQ(ReadBytes(JournalPdb()), handheldBytes);
}

TEST_F(ConduitModuleTest, HistoryLengthShortensTheHandheldOnly) {
    CJournalDB handheld, desktop;
    PrepareJournals(handheld, desktop, 0);
    desktop = SyncedJournal(Day(1, 5), 61); // 1 May to 30 June
    desktop.SetFilePath(JournalFile().string());
    handheld = desktop;
    handheld.Header().SetHistoryLength(30);
    Store(handheld, desktop);

    EXPECT_EQ(Run(Journal(), kHotSyncActionFast), (LogLines{{20, "Diet"}}));
    EXPECT_EQ(ReadJournalFile(JournalFile()).DayCount(), 61);
    const CJournalDB kept = UnpackJournal(ReadHandheldDatabase(JournalPdb()));
    ASSERT_EQ(kept.DayCount(), 31);
    EXPECT_EQ(kept.Day(0).Date(), Day(31, 5));
    EXPECT_EQ(kept.Header().HistoryLength(), 30);
}

TEST_F(ConduitModuleTest, OverwriteActionsCopyOneSideAndEachKeepsItsHeader) {
    struct SCase {
        int32_t action;
        std::vector<int> days;
    };
    for (const SCase& c : {SCase{kHotSyncActionHandheldToDesktop, {1, 2, 3, 4}},
                           SCase{kHotSyncActionDesktopToHandheld, {1, 2, 4, 5}}}) {
        SCOPED_TRACE(c.action);
        CJournalDB handheld, desktop;
        PrepareJournals(handheld, desktop);
        handheld.DeleteRange(Day(5), Day(5));
        handheld.Day(0).SetWater(7);
        desktop.DeleteRange(Day(3), Day(3));
        const Records handheldBefore = PackJournalRecords(handheld);
        Store(handheld, desktop);
        const CIdGenerator desktopIds = desktop.Header().IdGenerator();

        EXPECT_EQ(Run(Journal(), c.action), (LogLines{{20, "Diet"}}));
        const CJournalDB onDesktop = ReadJournalFile(JournalFile());
        const Records received = ReadHandheldDatabase(JournalPdb());
        const CJournalDB onHandheld = UnpackJournal(received);
        EXPECT_EQ(DaysOf(onDesktop), c.days);
        EXPECT_EQ(DaysOf(onHandheld), c.days);
        EXPECT_EQ(onDesktop.Header().IdGenerator(), desktopIds);
        EXPECT_EQ(received[0], handheldBefore[0]);
        EXPECT_EQ(onHandheld.Day(0).ChangeBits(), 0);
        EXPECT_EQ(onDesktop.Day(0).ChangeBits(), 0);
    }
}

TEST_F(ConduitModuleTest, MissingHandheldDatabaseFailsWith1) {
    EXPECT_EQ(Run(Journal(), kHotSyncActionFast),
              (LogLines{{-1, "Diet: error opening channel"}, {21, "Diet:"}}));
    unsetenv("FITQUILL_HANDHELD_DIR");
    EXPECT_EQ(Run(Food(), kHotSyncActionFast),
              (LogLines{{-1, "Foods: error opening channel"}, {21, "Foods:"}}));
}

TEST_F(ConduitModuleTest, FoodSidesThatAreEmpty) {
    // No records at all: unreadable.
    WriteHandheldDatabase(FoodPdb(), "FQA-FoodDB", {});
    EXPECT_EQ(Run(Food(), kHotSyncActionFast),
              (LogLines{{-1, "Foods: error reading handheld database"}, {21, "Foods:"}}));

    // A header and no groups, and no desktop file: nothing to write on either side.
    CFoodDB empty;
    WriteHandheldDatabase(FoodPdb(), "FQA-FoodDB", CFoodDBFile::PackRecords(empty));
    const auto handheldBytes = ReadBytes(FoodPdb());
    EXPECT_EQ(Run(Food(), kHotSyncActionFast), (LogLines{{20, "Foods"}}));
    EXPECT_FALSE(fs::exists(FoodFile()));
    EXPECT_EQ(ReadBytes(FoodPdb()), handheldBytes);

    // No desktop file: the handheld's database becomes the desktop file whole.
    CFoodDB handheld = SyncedFoodDB(2, 2, 2);
    handheld.AddFoodItem(0, 0, FoodItem("Kiwi", 60));
    WriteHandheldDatabase(FoodPdb(), "FQA-FoodDB", CFoodDBFile::PackRecords(handheld));
    EXPECT_EQ(Run(Food(), kHotSyncActionFast), (LogLines{{20, "Foods"}}));
    CFoodDB onDesktop = ReadFoodFile(FoodFile());
    handheld.ClearModifiedFlags();
    const Records expected = CFoodDBFile::PackRecords(handheld);
    const Records written = CFoodDBFile::PackRecords(onDesktop);
    EXPECT_EQ(Records(written.begin() + 1, written.end()),
              Records(expected.begin() + 1, expected.end()));
    EXPECT_EQ(ReadHandheldDatabase(FoodPdb()), expected);
}

TEST_F(ConduitModuleTest, FoodSynchronizeRenamesAndNumbersNewItemsOnBothSides) {
    CFoodDB desktop = SyncedFoodDB(2, 2, 3);
    CFoodDB handheld = desktop;
    handheld.SetIdGenerator(CIdGenerator::Seeded(Day(3, 3, 2024)));
    handheld.RenameGroup(0, "Veg");                                     // the handheld alone
    handheld.RenameGroup(uint16_t(handheld.FindGroup("G1")), "Sweets"); // both: the desktop's stays
    desktop.RenameGroup(1, "Candy");
    handheld.AddFoodItem(handheld.FindGroup("Veg"), 0, FoodItem("Kiwi", 60));
    const uint32_t handheldKiwi =
        handheld.GetFoodItem(uint16_t(handheld.FindGroup("Veg")), 0, 3).Id();
    desktop.SetPaths(FoodFile(), FoodFile().parent_path());
    CFoodDBFile file(EFoodFileMode::Conduit);
    ASSERT_TRUE(file.Save(desktop));
    WriteHandheldDatabase(FoodPdb(), "FQA-FoodDB", CFoodDBFile::PackRecords(handheld));

    const LogLines log = Run(Food(), kHotSyncActionFast);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), (std::pair<int, std::string>{20, "Foods"}));

    const CFoodDB merged = ReadFoodFile(FoodFile());
    ASSERT_EQ(merged.GroupCount(), 2);
    EXPECT_EQ(merged.GetGroup(0).Name(), "Candy");
    EXPECT_EQ(merged.GetGroup(1).Name(), "Veg");
    const CFoodItem& kiwi = merged.GetFoodItem(1, 0, 3);
    EXPECT_EQ(kiwi.Name(), "Kiwi");
    EXPECT_NE(kiwi.Id(), handheldKiwi);
    EXPECT_EQ(kiwi.Modified(), 0);

    CFoodDB received;
    std::vector<std::span<const uint8_t>> views;
    const Records records = ReadHandheldDatabase(FoodPdb());
    for (const auto& record : records)
        views.emplace_back(record);
    ASSERT_EQ(CFoodDBFile::UnpackRecords(views, received), EFoodLoadResult::Loaded);
    EXPECT_EQ(received.GetFoodItem(1, 0, 3).Id(), kiwi.Id());
    EXPECT_EQ(received.IdGenerator(), handheld.IdGenerator());
    EXPECT_EQ(received.Groups(), merged.Groups());

    const auto desktopBytes = ReadBytes(FoodFile());
    const auto handheldBytes = ReadBytes(FoodPdb());
    EXPECT_EQ(Run(Food(), kHotSyncActionFast), (LogLines{{20, "Foods"}}));
    EXPECT_EQ(ReadBytes(FoodFile()), desktopBytes);
    EXPECT_EQ(ReadBytes(FoodPdb()), handheldBytes);
}

} // namespace
