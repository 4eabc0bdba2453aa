// SPDX-License-Identifier: GPL-3.0-or-later
//
// A sample of the random merge scenarios (merge_scenarios.h) end to end: each one is written
// as a real handheld (Palm database files) and real desktop files, one HotSync operation runs
// through fitquill-hotsync and the built conduit modules, and both sides' files are compared
// whole with the reference model (merge_model.h). FITQUILL_MERGE_SCENARIOS changes the count.

#include "core/food/food_db_file.h"
#include "core/io/atomic_file.h"
#include "core/journal/journal_file.h"
#include "core/journal/journal_records.h"
#include "platform/settings/settings_store.h"
#include "tests/conduit/conduit_test_support.h"
#include "tests/conduit/merge_model.h"
#include "tests/conduit/merge_scenarios.h"
#include "tests/core/file_test_support.h"
#include "tests/support/program_world.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include <optional>
#include <sys/wait.h>
#include <unistd.h>

using namespace fitquill;
using namespace fitquill::testing;
namespace fs = std::filesystem;

namespace {

const char* ActionName(int action) {
    switch (action) {
    case 2:
        return "handheld";
    case 3:
        return "desktop";
    default:
        return "sync";
    }
}

std::string Differs(const char* what, const RecordList& actual, const RecordList& expected) {
    if (actual == expected)
        return {};
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    return std::string(what) + ": " + std::to_string(actual.size()) + " records, expected " +
           std::to_string(expected.size()) + "; first difference in record " + std::to_string(at) +
           "\n";
}

class MergeHotSyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        const CJournalDate today = ScenarioToday();
        char date[16];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", today.Year() % 10000,
                      today.Month() % 100, today.Day() % 100);
        // Each operation flushes its backups and files to disk: in memory where the system has
        // a memory file system, so that a hundred operations take seconds.
        m_world.emplace(date, fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp");
        m_dir = m_world->Root();
        ASSERT_TRUE(CSettingsStore({m_dir / "config" / "Quorvel" / "Fitquill.conf"})
                        .SetInstallPath((m_dir / "install").string()));
        // The handheld's user comes to exist at its first HotSync operation, which finds
        // nothing to synchronise yet.
        ASSERT_EQ(HotSync("init-handheld '" + Handheld().string() + "' --user Ann --id 42"), 0);
        HotSync("sync '" + Handheld().string() + "'");
        ASSERT_TRUE(fs::is_directory(UserFolder()));
    }

    fs::path Handheld() const { return m_dir / "hh"; }
    fs::path UserFolder() const { return m_dir / "palm" / "Ann"; }
    fs::path DesktopFile(const char* name) const { return UserFolder() / "Fitquill" / name; }
    fs::path Pdb(const char* name) const { return Handheld() / (std::string(name) + ".pdb"); }

    int HotSync(const std::string& arguments) {
        const std::string command =
            "'" FITQUILL_HOTSYNC "' " + arguments + " >'" + (m_dir / "out").string() + "' 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // Puts one side's files in place: the handheld database, and the desktop file or none.
    void Place(const char* pdbName, const char* fileName, const RecordList& handheld,
               const std::optional<Bytes>& desktopFile) {
        WriteHandheldDatabase(Pdb(pdbName), pdbName, handheld);
        fs::remove(DesktopFile(fileName));
        if (desktopFile)
            WriteFile(DesktopFile(fileName), *desktopFile);
    }

    std::string Compare(const char* what, const char* pdbName, const char* fileName,
                        const SModelOutcome& expected) {
        std::string failure;
        failure += Differs((std::string(what) + " handheld").c_str(),
                           ReadHandheldDatabase(Pdb(pdbName)), expected.handheld);
        const bool exists = fs::exists(DesktopFile(fileName));
        if (exists != expected.desktopFile.has_value())
            return failure + what + " desktop file " + (exists ? "written" : "missing") + "\n";
        if (exists)
            failure += Differs((std::string(what) + " desktop file").c_str(),
                               Payloads(FileBytes(DesktopFile(fileName))),
                               Payloads(*expected.desktopFile));
        return failure;
    }

    std::optional<test::CProgramWorld> m_world;
    fs::path m_dir;
};

TEST_F(MergeHotSyncTest, SampleOfScenariosThroughTheRealConduits) {
    const char* count = std::getenv("FITQUILL_MERGE_SCENARIOS");
    const uint64_t scenarios = count != nullptr ? std::strtoull(count, nullptr, 10) : 100;
    // Seeds of their own, apart from those of the in-process test.
    const uint64_t first = 5000001;
    int failures = 0;
    for (uint64_t seed = first; seed < first + scenarios && failures < 3; ++seed) {
        const SJournalScenario journal = MakeJournalScenario(seed);
        const SFoodScenario food = MakeFoodScenario(seed);
        const int action = journal.action; // one HotSync action for both conduits

        CJournalDB journalSides[2];
        journal.Build(journalSides[0], journalSides[1]);
        const RecordList journalRecords = PackJournalRecords(journalSides[0]);
        std::optional<Bytes> journalFile;
        if (journal.desktopFileExists)
            journalFile = CJournalFile::Pack(journalSides[1]);
        CFoodDB foodSides[2];
        food.Build(foodSides[0], foodSides[1]);
        const RecordList foodRecords = CFoodDBFile::PackRecords(foodSides[0]);
        std::optional<Bytes> foodFile;
        if (food.desktopFileExists)
            foodFile = CFoodDBFile::Pack(foodSides[1]);

        Place("FQA-AppDB", "UserDB.ddb", journalRecords, journalFile);
        Place("FQA-FoodDB", "FoodDB.ddb", foodRecords, foodFile);
        HotSync("sync '" + Handheld().string() + "' --action " + ActionName(action));

        const std::string failure =
            Compare("journal", "FQA-AppDB", "UserDB.ddb",
                    ModelJournalRun(action, journalRecords, journalFile, ScenarioToday())) +
            Compare("food", "FQA-FoodDB", "FoodDB.ddb",
                    ModelFoodRun(action, foodRecords, foodFile));
        if (!failure.empty()) {
            ++failures;
            ADD_FAILURE() << "seed " << seed << ", action " << action << ": journal "
                          << journal.baseText << "; food " << food.baseText << "\n"
                          << failure << "(run merge_random_test with FITQUILL_MERGE_SEED=" << seed
                          << " for the scenario's edits)";
        }
    }
    std::cout << "hotsync: " << scenarios << " scenarios from seed " << first << ", " << failures
              << " failed\n";
}

} // namespace

// The handheld shows the same code page as the desktop files: the conduit moves name bytes as
// they are, both ways.
TEST_F(MergeHotSyncTest, AnAccentedFoodKeepsItsBytesOnBothSides) {
    const std::string name = "Cr\xE8me br\xFBl\xE9"
                             "e";
    CFoodDB desktop;
    const int group = desktop.AddGroup(CFoodGroup("Desserts"));
    ASSERT_GE(group, 0);
    const auto g = static_cast<uint16_t>(group);
    const int category = desktop.AddCategory(g, CFoodCategory("Cr\xE8mes"));
    ASSERT_GE(category, 0);
    CFoodItem item;
    item.SetName(name, true);
    item.SetBaseMeasure(CServingMeasure(1.0f, 14), true);
    item.SetServing(CServingMeasure(1.0f, 14));
    ASSERT_GE(desktop.AddFoodItem(g, static_cast<uint16_t>(category), item), 0);
    const auto holdsName = [&](const Bytes& bytes) {
        return std::string(bytes.begin(), bytes.end()).find(name + '\0') != std::string::npos;
    };

    CJournalDB journal;
    Place("FQA-AppDB", "UserDB.ddb", PackJournalRecords(journal), std::nullopt);
    CFoodDB empty;
    Place("FQA-FoodDB", "FoodDB.ddb", CFoodDBFile::PackRecords(empty), CFoodDBFile::Pack(desktop));
    ASSERT_EQ(HotSync("sync '" + Handheld().string() + "' --action desktop"), 0) << [&] {
        const Bytes out = ReadBytes(m_dir / "out");
        return std::string(out.begin(), out.end());
    }();
    const RecordList handheld = ReadHandheldDatabase(Pdb("FQA-FoodDB"));
    EXPECT_TRUE(std::any_of(handheld.begin(), handheld.end(), holdsName));

    Place("FQA-FoodDB", "FoodDB.ddb", handheld, std::nullopt);
    ASSERT_EQ(HotSync("sync '" + Handheld().string() + "' --action handheld"), 0);
    CFoodDB back;
    back.SetPaths(DesktopFile("FoodDB.ddb"), DesktopFile("FoodDB.ddb").parent_path());
    ASSERT_EQ(CFoodDBFile(EFoodFileMode::Conduit).Load(back), EFoodLoadResult::Loaded);
    EXPECT_TRUE(holdsName(FileBytes(DesktopFile("FoodDB.ddb"))));
    ASSERT_EQ(back.GroupCount(), 1);
    ASSERT_EQ(back.ItemCount(0, 0), 1);
    EXPECT_EQ(back.GetCategory(0, 0).Name(), "Cr\xE8mes");
    EXPECT_EQ(back.GetCategory(0, 0).Items()[0].Name(), name);
}
