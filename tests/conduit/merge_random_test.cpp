// SPDX-License-Identifier: GPL-3.0-or-later
//
// The conduit's merges against the reference model (merge_model.h) over random scenarios
// (merge_scenarios.h): each scenario runs through CConduitRun, the conduit's own run, on a
// handheld in memory and a desktop file on disk, and the result is compared whole with the
// model's: the error code, the desktop file's bytes and every handheld record. Properties that
// need no model are checked on every scenario too.
//
// Each run checks 1,000 journal and 1,000 food scenarios from fixed seeds. Long mode:
//   FITQUILL_MERGE_SCENARIOS=100000 build/tests/conduit/merge_random_test
// and FITQUILL_MERGE_SEED=N runs the scenarios from seed N on. A failure prints its seed and
// the scenario shrunk to the edits that still make it fail.

#include "conduit/sync/conduit_run.h"
#include "conduit/sync/food_merge.h"
#include "conduit/sync/journal_merge.h"
#include "core/clock.h"
#include "core/food/food_db_file.h"
#include "core/io/atomic_file.h"
#include "core/journal/journal_file.h"
#include "core/journal/journal_records.h"
#include "tests/conduit/memory_channel.h"
#include "tests/conduit/merge_model.h"
#include "tests/conduit/merge_scenarios.h"
#include "tests/core/file_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <set>
#include <sstream>

#include <unistd.h>

using namespace fitquill;
using namespace fitquill::testing;
namespace fs = std::filesystem;

namespace {

constexpr uint16_t kJournal = 1;
constexpr uint16_t kFood = 0;

// Both sides as a run finds or leaves them.
struct SSides {
    std::optional<Bytes> desktopFile;
    RecordList handheld;
    bool operator==(const SSides&) const = default;
};

struct SRunResult {
    int error = 0;
    SSides sides;
};

// What the scenarios of one test went through, to show that each path is taken.
struct STally {
    int actions[4] = {};
    int refused = 0;         // runs that ended with an error (a record too large)
    int desktopChanged = 0;  // synchronize runs that changed the desktop file
    int handheldChanged = 0; // synchronize runs that changed the handheld
    int pasteNamed = 0;      // food items a merge took in beside another of their name

    void Count(int action, const SSides& before, const SRunResult& after) {
        ++actions[action];
        if (after.error != 0)
            ++refused;
        else if (action <= 1) {
            desktopChanged += after.sides.desktopFile != before.desktopFile ? 1 : 0;
            handheldChanged += after.sides.handheld != before.handheld ? 1 : 0;
        }
    }
    std::string Text() const {
        return "actions 0/1/2/3: " + std::to_string(actions[0]) + "/" + std::to_string(actions[1]) +
               "/" + std::to_string(actions[2]) + "/" + std::to_string(actions[3]) +
               "; synchronize changed the desktop " + std::to_string(desktopChanged) +
               " times, the handheld " + std::to_string(handheldChanged) + " times; " +
               std::to_string(refused) + " runs refused for a record over the limit" +
               (pasteNamed > 0
                    ? "; " + std::to_string(pasteNamed) + " food items taken in under a paste name"
                    : "");
    }
};

std::vector<std::span<const uint8_t>> Views(const RecordList& records) {
    return {records.begin(), records.end()};
}

// Where the first difference of two record lists lies, or nothing.
std::string RecordsDiffer(const char* what, const RecordList& actual, const RecordList& expected) {
    if (actual.size() != expected.size())
        return std::string(what) + ": " + std::to_string(actual.size()) + " records, expected " +
               std::to_string(expected.size()) + "\n";
    for (size_t i = 0; i < actual.size(); ++i) {
        if (actual[i] == expected[i])
            continue;
        size_t at = 0;
        while (at < actual[i].size() && at < expected[i].size() && actual[i][at] == expected[i][at])
            ++at;
        return std::string(what) + ": record " + std::to_string(i) + " differs at byte " +
               std::to_string(at) + " (" + std::to_string(actual[i].size()) + " bytes, expected " +
               std::to_string(expected[i].size()) + ")\n";
    }
    return {};
}

std::string FileDiffers(const std::optional<Bytes>& actual, const std::optional<Bytes>& expected) {
    if (actual.has_value() != expected.has_value())
        return std::string("desktop file ") + (actual ? "written" : "missing") + ", expected " +
               (expected ? "one" : "none") + "\n";
    if (!actual)
        return {};
    return RecordsDiffer("desktop file", Payloads(*actual), Payloads(*expected));
}

// What a run did against what the model says it does: its error, both sides' bytes, no
// handheld record over the limit, and a refused run leaving the handheld as it was.
std::string RunDiffers(const SRunResult& result, const SModelOutcome& model, const SSides& before) {
    std::string failure;
    if (result.error != model.error)
        failure += "run error " + std::to_string(result.error) + ", expected " +
                   std::to_string(model.error) + "\n";
    failure += FileDiffers(result.sides.desktopFile, model.desktopFile);
    failure += RecordsDiffer("handheld", result.sides.handheld, model.handheld);
    for (const Bytes& record : result.sides.handheld) {
        if (record.size() > kModelRecordLimit)
            failure += "a handheld record of " + std::to_string(record.size()) + " bytes\n";
    }
    if (result.error != 0 && result.sides.handheld != before.handheld)
        failure += "a failed run changed the handheld\n";
    return failure;
}

// The journal's records for a comparison. A day too large for a record (a merge can make one)
// is compared by its record without food entries followed by each entry's id, mark, meal and
// name.
RecordList ComparableRecords(CJournalDB journal) {
    try {
        return PackJournalRecords(journal);
    } catch (const std::exception&) {
    }
    RecordList records{PackJournalHeader(journal.Header()), PackUserProfile(journal.Profile())};
    for (const CDayRecord& day : journal.Days()) {
        CDayRecord copy = day;
        try {
            records.push_back(PackDayRecord(copy));
            continue;
        } catch (const std::exception&) {
        }
        copy.FoodLog() = CDayFoodLog();
        Bytes record = PackDayRecord(copy);
        for (int meal = 0; meal < kMealCount; ++meal) {
            for (const CFoodItem& entry : day.FoodLog().MealEntries(meal)) {
                const std::string text = std::to_string(entry.Id()) + " " +
                                         std::to_string(entry.Modified()) + " " +
                                         std::to_string(meal) + " " + entry.Name() + "\n";
                record.insert(record.end(), text.begin(), text.end());
            }
        }
        records.push_back(std::move(record));
    }
    return records;
}

bool HasChanges(const CDayRecord& day) {
    return day.HasChanges();
}

std::set<uint32_t> EntryIds(const CDayRecord& day, bool changedOnly) {
    std::set<uint32_t> ids;
    for (int meal = 0; meal < kMealCount; ++meal) {
        for (const CFoodItem& entry : day.FoodLog().MealEntries(meal)) {
            if (!changedOnly || entry.Modified() != 0)
                ids.insert(entry.Id());
        }
    }
    for (const CExerciseEntry& entry : day.Exercises().Entries()) {
        if (!changedOnly || entry.Changed() != 0)
            ids.insert(entry.Id() ^ 0x40000000u); // kept apart from the food entries' ids
    }
    return ids;
}

void Insert(std::set<uint32_t>& into, const std::set<uint32_t>& from) {
    into.insert(from.begin(), from.end());
}

class MergeRandomTest : public ::testing::Test {
public:
    static void SetUpTestSuite() {
        const CJournalDate today = ScenarioToday();
        CClock::SetFixedDate(SLocalTime{today.Year(), today.Month(), today.Day()});
    }
    static void TearDownTestSuite() { CClock::SetFixedDate(std::nullopt); }

    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        // Every run flushes the files it writes: in memory where the system has a memory file
        // system, so that thousands of runs take seconds.
        const fs::path temp = fs::is_directory("/dev/shm") ? "/dev/shm" : ::testing::TempDir();
        // One folder per process: several builds' tests may run at once.
        m_root = temp / ("fq_merge_" + std::string(test->name()) + "_" + std::to_string(getpid()));
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        m_users = std::make_unique<CUserDirectory>(
            std::make_shared<COneUserLibrary>(m_root.string() + "/"),
            SInstallPath{true, (m_root / "install").string()});
    }
    void TearDown() override { fs::remove_all(m_root); }

    fs::path DesktopFile(uint16_t selector) const {
        return m_root / "AnnL" / "Fitquill" / (selector == kJournal ? "UserDB.ddb" : "FoodDB.ddb");
    }

    // One run of the conduit with `action` over both sides.
    SRunResult Run(uint16_t selector, int action, const SSides& sides) {
        const fs::path file = DesktopFile(selector);
        fs::remove(file);
        if (sides.desktopFile)
            WriteFile(file, *sides.desktopFile);
        CMemoryChannel channel;
        channel.records = sides.handheld;
        CMemoryLog log;
        CFakePresence presence;
        SSyncProperties properties;
        properties.action = action;
        properties.pathName = (m_root / "AnnL").string();
        properties.localName = "Fitquill/UserDB.dat";
        properties.remoteName = "FQA-AppDB";
        SRunResult result;
        {
            CConduitRun run(selector, properties, {channel, log, presence, *m_users});
            run.Run();
            run.End();
            result.error = static_cast<int>(run.Error());
        }
        if (fs::exists(file))
            result.sides.desktopFile = ReadWholeFile(file);
        result.sides.handheld = channel.records;
        return result;
    }

    // The checks every scenario gets; an empty text when all hold.
    std::string CheckJournal(const SJournalScenario& scenario, const std::vector<bool>& enabled);
    std::string CheckFood(const SFoodScenario& scenario, const std::vector<bool>& enabled);

    template <class Scenario, class Check>
    void RunScenarios(const char* what, Scenario (*make)(uint64_t), uint64_t firstSeed,
                      Check check);

    fs::path m_root;
    std::unique_ptr<CUserDirectory> m_users;
    STally m_tally;
};

std::string MergeRandomTest::CheckJournal(const SJournalScenario& scenario,
                                          const std::vector<bool>& enabled) {
    CJournalDB built[2];
    scenario.Build(built[0], built[1], enabled);
    SSides before;
    before.handheld = PackJournalRecords(built[0]);
    if (scenario.desktopFileExists)
        before.desktopFile = CJournalFile::Pack(built[1]);
    // Both sides as the run reads them back.
    CJournalDB handheld;
    CJournalDB desktop;
    UnpackJournalRecords(Views(before.handheld), handheld);
    if (before.desktopFile)
        CJournalFile::Unpack(*before.desktopFile, desktop);
    const bool synchronizes = scenario.action <= 1;
    std::string failure;

    // The merge itself, change bits and all, before the run clears them.
    if (synchronizes && scenario.desktopFileExists) {
        CJournalDB merged = desktop;
        CJournalDB handheldCopy = handheld;
        MergeJournal(handheldCopy, merged);
        CJournalDB expected = desktop;
        ModelMergeJournal(handheld, expected);
        failure +=
            RecordsDiffer("merged journal", ComparableRecords(merged), ComparableRecords(expected));
    }

    const SRunResult result = Run(kJournal, scenario.action, before);
    if (enabled.empty())
        m_tally.Count(scenario.action, before, result);
    const SModelOutcome model =
        ModelJournalRun(scenario.action, before.handheld, before.desktopFile, ScenarioToday());
    failure += RunDiffers(result, model, before);
    if (result.error != 0)
        return failure;
    if (!result.sides.desktopFile)
        return failure + "no desktop file after a good run\n";

    // Both sides hold the same journal, but for the handheld's header and, after a
    // synchronize, the days beyond its history.
    CJournalDB after;
    CJournalFile::Unpack(*result.sides.desktopFile, after);
    const int history = synchronizes ? handheld.Header().HistoryLength() : 0;
    CJournalDB sent = WithoutDaysUpTo(after, HistoryCutoff(ScenarioToday(), history));
    RecordList sentRecords = PackJournalRecords(sent);
    RecordList handheldAfter = result.sides.handheld;
    if (sentRecords.empty() || handheldAfter.empty())
        return failure + "a side without records\n";
    sentRecords.erase(sentRecords.begin());
    handheldAfter.erase(handheldAfter.begin());
    failure += RecordsDiffer("sides after the run", handheldAfter, sentRecords);
    if (!synchronizes)
        return failure;

    // Nothing the user still had is lost: every desktop day, every changed handheld day, and
    // in days both had, every entry both had or either side changed.
    for (const CDayRecord& day : desktop.Days()) {
        if (after.FindDay(day.Date()) < 0)
            failure += "a desktop day was lost\n";
    }
    for (const CDayRecord& day : handheld.Days()) {
        const int at = after.FindDay(day.Date());
        if (at < 0) {
            if (HasChanges(day) || desktop.FindDay(day.Date()) >= 0)
                failure += "a changed handheld day was lost\n";
            continue;
        }
        const int inDesktop = desktop.FindDay(day.Date());
        if (inDesktop < 0)
            continue;
        std::set<uint32_t> kept;
        const std::set<uint32_t> handheldIds = EntryIds(day, false);
        for (uint32_t id : EntryIds(desktop.Day(inDesktop), false)) {
            if (handheldIds.count(id) != 0)
                kept.insert(id);
        }
        Insert(kept, EntryIds(day, true));
        Insert(kept, EntryIds(desktop.Day(inDesktop), true));
        const std::set<uint32_t> now = EntryIds(after.Day(at), false);
        for (uint32_t id : kept) {
            if (now.count(id) == 0)
                failure += "an entry was lost\n";
        }
    }

    // A second synchronize finds nothing to do.
    const SRunResult again = Run(kJournal, scenario.action, result.sides);
    if (again.error != 0 || !(again.sides == result.sides))
        failure += "a second synchronize changed something\n";
    return failure;
}

template <class Visit> void ForEachItem(const CFoodDB& db, Visit visit) {
    for (const CFoodGroup& group : db.Groups()) {
        for (const CFoodCategory& category : group.Categories()) {
            for (const CFoodItem& item : category.Items())
                visit(item);
        }
    }
}

// An item's content: what it holds but its id and changed mark.
CFoodItem Content(CFoodItem item) {
    item.SetId(0);
    item.SetModified(0);
    return item;
}

// Whether `after` is the food `before` still: the same content under the same name or, where
// another food held that name, under the name with a number put after it.
bool IsSameFood(const CFoodItem& before, const CFoodItem& after) {
    const std::string& name = before.Name();
    const std::string& kept = after.Name();
    if (kept.compare(0, name.size(), name) != 0 ||
        !std::all_of(kept.begin() + static_cast<std::ptrdiff_t>(std::min(name.size(), kept.size())),
                     kept.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    CFoodItem renamed = Content(after);
    renamed.SetName(name, false);
    return renamed == Content(before);
}

// Every item id of a food database, and those marked changed.
void ItemIds(const CFoodDB& db, std::set<uint32_t>* all, std::set<uint32_t>* changed) {
    ForEachItem(db, [&](const CFoodItem& item) {
        if (all != nullptr)
            all->insert(item.Id());
        if (changed != nullptr && item.Modified() != 0)
            changed->insert(item.Id());
    });
}

std::string MergeRandomTest::CheckFood(const SFoodScenario& scenario,
                                       const std::vector<bool>& enabled) {
    CFoodDB built[2];
    scenario.Build(built[0], built[1], enabled);
    SSides before;
    before.handheld = CFoodDBFile::PackRecords(built[0]);
    if (scenario.desktopFileExists)
        before.desktopFile = CFoodDBFile::Pack(built[1]);
    CFoodDB handheld;
    CFoodDB desktop;
    CFoodDBFile::UnpackRecords(Views(before.handheld), handheld);
    if (before.desktopFile)
        CFoodDBFile::Unpack(*before.desktopFile, desktop);
    const bool synchronizes = scenario.action <= 1;
    const bool merges = synchronizes && handheld.GroupCount() > 0 && desktop.GroupCount() > 0;
    std::string failure;

    if (merges) {
        CFoodDB merged = desktop;
        const SyncChanges changes = MergeFoodDB(handheld, merged);
        if (enabled.empty())
            m_tally.pasteNamed += static_cast<int>(
                std::count_if(changes.begin(), changes.end(), [](const std::string& change) {
                    return change.find(" added from the handheld as ") != std::string::npos;
                }));
        CFoodDB expected = desktop;
        ModelMergeFood(handheld, expected);
        if (!(merged == expected))
            failure += RecordsDiffer("merged food database", CFoodDBFile::PackRecords(merged),
                                     CFoodDBFile::PackRecords(expected)) +
                       "merged food database differs in its changed marks\n";
    }

    const SRunResult result = Run(kFood, scenario.action, before);
    if (enabled.empty())
        m_tally.Count(scenario.action, before, result);
    const SModelOutcome model = ModelFoodRun(scenario.action, before.handheld, before.desktopFile);
    failure += RunDiffers(result, model, before);
    if (result.error != 0)
        return failure;
    if (!result.sides.desktopFile) {
        // Only two empty sides leave nothing written.
        if (!(synchronizes && handheld.GroupCount() == 0 && desktop.GroupCount() == 0))
            failure += "no desktop file after a good run\n";
        return failure;
    }
    // Every record but the header is the same on both sides.
    RecordList desktopRecords = Payloads(*result.sides.desktopFile);
    RecordList handheldAfter = result.sides.handheld;
    if (desktopRecords.empty() || handheldAfter.empty())
        return failure + "a side without records\n";
    desktopRecords.erase(desktopRecords.begin());
    handheldAfter.erase(handheldAfter.begin());
    failure += RecordsDiffer("sides after the run", handheldAfter, desktopRecords);
    if (!synchronizes)
        return failure;

    if (merges) {
        // Nothing the user still had is lost: items both sides had unchanged, every item the
        // desktop changed and every item the handheld changed stay, under their ids or (moved,
        // or taken from the handheld) as the same food.
        CFoodDB after;
        CFoodDBFile::Unpack(*result.sides.desktopFile, after);
        std::set<uint32_t> now, handheldAll, handheldChanged, desktopAll, desktopChanged;
        ItemIds(after, &now, nullptr);
        ItemIds(handheld, &handheldAll, &handheldChanged);
        ItemIds(desktop, &desktopAll, &desktopChanged);
        std::vector<CFoodItem> afterItems;
        ForEachItem(after, [&](const CFoodItem& item) { afterItems.push_back(item); });
        const auto kept = [&](const CFoodItem& item) {
            return now.count(item.Id()) != 0 ||
                   std::any_of(afterItems.begin(), afterItems.end(),
                               [&](const CFoodItem& other) { return IsSameFood(item, other); });
        };
        ForEachItem(desktop, [&](const CFoodItem& item) {
            const uint32_t id = item.Id();
            const bool both = handheldAll.count(id) != 0 && handheldChanged.count(id) == 0;
            if ((both || desktopChanged.count(id) != 0) && !kept(item))
                failure += "a food item was lost\n";
        });
        // (An empty group, category or item name is refused, and with it what the entry holds;
        // an edit whose new name another item has is refused, and the desktop keeps the item.)
        for (const CFoodGroup& group : handheld.Groups()) {
            for (const CFoodCategory& category : group.Categories()) {
                for (const CFoodItem& item : category.Items()) {
                    // (When both sides changed an item, the desktop's stays.)
                    const bool conflict = desktopChanged.count(item.Id()) != 0;
                    if (item.Modified() != 0 && !conflict && !item.Name().empty() &&
                        !group.Name().empty() && !category.Name().empty() && !kept(item))
                        failure += "a food item changed on the handheld was lost\n";
                }
            }
        }
    }

    const SRunResult again = Run(kFood, scenario.action, result.sides);
    if (again.error != 0 || !(again.sides == result.sides))
        failure += "a second synchronize changed something\n";
    return failure;
}

uint64_t EnvironmentNumber(const char* name, uint64_t fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

// Runs the scenarios from `firstSeed` on; a failing one is shrunk by switching its edits off
// one at a time as long as it still fails, and reported with its seed (in full for the first
// three).
template <class Scenario, class Check>
void MergeRandomTest::RunScenarios(const char* what, Scenario (*make)(uint64_t), uint64_t firstSeed,
                                   Check check) {
    const uint64_t count = EnvironmentNumber("FITQUILL_MERGE_SCENARIOS", 1000);
    firstSeed = EnvironmentNumber("FITQUILL_MERGE_SEED", firstSeed);
    int failures = 0;
    for (uint64_t seed = firstSeed; seed < firstSeed + count; ++seed) {
        const Scenario scenario = make(seed);
        std::string failure = (this->*check)(scenario, {});
        if (failure.empty())
            continue;
        // The first few are shrunk and told in full; the others only counted.
        if (++failures > 3) {
            ADD_FAILURE() << what << " scenario, seed " << seed << " fails too";
            continue;
        }
        std::vector<bool> enabled(scenario.edits.size(), true);
        for (size_t i = 0; i < enabled.size(); ++i) {
            enabled[i] = false;
            const std::string shrunk = (this->*check)(scenario, enabled);
            if (shrunk.empty())
                enabled[i] = true;
            else
                failure = shrunk;
        }
        std::vector<std::string> story;
        typename Scenario::Database handheld, desktop;
        scenario.Build(handheld, desktop, enabled, &story);
        std::ostringstream text;
        text << what << " scenario, seed " << seed << ": action " << scenario.action << ", "
             << scenario.baseText << "\n";
        for (const std::string& line : story)
            text << "  " << line << "\n";
        ADD_FAILURE() << text.str() << failure;
    }
    std::cout << what << ": " << count << " scenarios from seed " << firstSeed << ", " << failures
              << " failed; " << m_tally.Text() << "\n";
}

TEST_F(MergeRandomTest, JournalRunsAgreeWithTheModel) {
    RunScenarios("journal", MakeJournalScenario, 1, &MergeRandomTest::CheckJournal);
}

TEST_F(MergeRandomTest, FoodRunsAgreeWithTheModel) {
    RunScenarios("food", MakeFoodScenario, 1, &MergeRandomTest::CheckFood);
}

} // namespace
