// SPDX-License-Identifier: GPL-3.0-or-later
// fitquill-hotsync run as a program in a sandbox of its own (home, settings, Palm Desktop
// folder, runtime folder), with the real conduit modules found through the build tree's
// registration, or with a test module that reports what it received.
#include "core/food/food_db_file.h"
#include "core/io/atomic_file.h"
#include "core/io/chunk_reader.h"
#include "core/journal/journal_file.h"
#include "core/journal/journal_records.h"
#include "core/users/user_directory_library.h"
#include "desktop/install/handheld_install.h"
#include "platform/palm/folder_lock.h"
#include "platform/palm/handheld.h"
#include "platform/palm/install_aid.h"
#include "platform/palm/palm_database.h"
#include "platform/palm/user_store.h"
#include "platform/settings/settings_store.h"
#include "tests/support/program_world.h"
#include "tools/fitquill-hotsync/sync_backup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>

#include <optional>
#include <sys/wait.h>
#include <unistd.h>

using namespace fitquill;
namespace fs = std::filesystem;

namespace {

using Records = std::vector<std::vector<uint8_t>>;
using Snapshot = std::map<std::string, std::vector<uint8_t>>;

constexpr uint32_t kAnnId = 42;

struct SRun {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> ReadBytes(const fs::path& file) {
    return ReadWholeFile(file).value_or(std::vector<uint8_t>{});
}

Records Payloads(std::span<const std::span<const uint8_t>> spans) {
    Records records;
    for (auto span : spans)
        records.emplace_back(span.begin(), span.end());
    return records;
}

Records HandheldRecords(const fs::path& pdb) {
    CPalmDatabase db;
    std::string error;
    EXPECT_TRUE(db.Load(pdb, &error)) << error;
    Records records;
    for (const auto& record : db.Records())
        records.push_back(record.data);
    return records;
}

Records DesktopRecords(const fs::path& file) {
    const auto bytes = ReadBytes(file);
    const auto chunks = SplitChunks(bytes);
    EXPECT_TRUE(chunks.has_value()) << file;
    return chunks ? Payloads(*chunks) : Records{};
}

std::vector<std::span<const uint8_t>> Spans(const Records& records) {
    return {records.begin(), records.end()};
}

// Replaces the records of a handheld database the way the handheld application edits them:
// records keep their unique IDs, new ones get fresh IDs, and edited records are dirty.
void WriteHandheldRecords(const fs::path& pdb, const Records& records) {
    CPalmDatabase db;
    ASSERT_TRUE(db.Load(pdb));
    std::vector<SPalmRecord> edited;
    for (size_t i = 0; i < records.size(); ++i) {
        const bool old = i < db.Records().size();
        edited.push_back(
            {kPalmRecAttrDirty, old ? db.Records()[i].uniqueId : db.NewUniqueId(), records[i]});
    }
    db.Records() = std::move(edited);
    std::string error;
    ASSERT_TRUE(db.Save(pdb, &error)) << error;
}

CJournalDB UnpackJournal(const Records& records) {
    CJournalDB journal;
    EXPECT_TRUE(UnpackJournalRecords(Spans(records), journal));
    return journal;
}

CFoodDB UnpackFood(const Records& records) {
    CFoodDB food;
    EXPECT_EQ(CFoodDBFile::UnpackRecords(Spans(records), food), EFoodLoadResult::Loaded);
    return food;
}

// No change bit anywhere: clearing them all changes no byte.
bool HasNoChangeBits(CJournalDB journal) {
    CJournalDB cleared = journal;
    cleared.ClearAllChangeBits();
    return PackJournalRecords(cleared) == PackJournalRecords(journal);
}

bool HasNoChangedMarks(CFoodDB food) {
    CFoodDB cleared = food;
    cleared.ClearModifiedFlags();
    return CFoodDBFile::PackRecords(cleared) == CFoodDBFile::PackRecords(food);
}

CDayRecord WeighIn(const CJournalDate& date, float pounds, const CUserProfile& profile,
                   const std::string& note) {
    CDayRecord day(date);
    day.SetWeight(CWeightValue::FromPounds(pounds), profile);
    day.SetNote(note);
    return day;
}

CFoodItem Food(const std::string& name, float calories) {
    CFoodItem item;
    item.SetName(name, true);
    item.SetBaseMeasure({100, kUnitGram}, false);
    item.SetNutrientValue(kNutrientCalories, calories);
    item.SetServing({100, kUnitGram});
    return item;
}

bool HasItem(const CFoodDB& food, const std::string& name) {
    return food.FindFoodItem(0, 0, name) >= 0;
}

class HotSyncToolTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_world.emplace("2024-06-30", "/tmp",
                        std::initializer_list<const char*>{
                            "FITQUILL_TEST_CONDUIT_ANSWER", "FITQUILL_TEST_CONDUIT_FAIL",
                            "FITQUILL_TEST_CONDUIT_DELAY_MS", "FITQUILL_HOTSYNC_LOCK_WAIT_MS"});
        m_dir = m_world->Root();
        setenv("FITQUILL_TEST_CONDUIT_CALLS", (m_dir / "calls").c_str(), 1);
        ASSERT_TRUE(CSettingsStore({m_dir / "config" / "Quorvel" / "Fitquill.conf"})
                        .SetInstallPath((m_dir / "install").string()));
    }

    fs::path Handheld() const { return m_dir / "hh"; }
    fs::path UserFolder() const { return m_dir / "palm" / "Ann"; }
    fs::path JournalFile() const { return UserFolder() / "Fitquill" / "UserDB.ddb"; }
    fs::path FoodFile() const { return UserFolder() / "Fitquill" / "FoodDB.ddb"; }
    fs::path JournalPdb() const { return Handheld() / "FQA-AppDB.pdb"; }
    fs::path FoodPdb() const { return Handheld() / "FQA-FoodDB.pdb"; }

    SRun Run(const std::vector<std::string>& arguments) {
        return RunProgram(FITQUILL_HOTSYNC, arguments);
    }
    SRun RunProgram(const std::string& program, const std::vector<std::string>& arguments) {
        std::string command = "'" + program + "'";
        for (const std::string& argument : arguments)
            command += " '" + argument + "'";
        command += " >'" + (m_dir / "out").string() + "' 2>'" + (m_dir / "err").string() + "'";
        SRun run;
        const int status = std::system(command.c_str());
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = ReadText(m_dir / "out");
        run.err = ReadText(m_dir / "err");
        return run;
    }

    // A failure is one line on standard error and status 1.
    void ExpectFailure(const std::vector<std::string>& arguments) {
        const SRun run = Run(arguments);
        EXPECT_EQ(run.status, 1) << arguments[0];
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }

    void Queue(const fs::path& file) {
        CUserStore store(m_dir / "palm");
        CInstallAid aid(store);
        ASSERT_EQ(aid.InstallFile("Ann", file.string()), kInstallErrNone) << file;
    }

    // A handheld whose user exists, with the installed databases, after one HotSync operation
    // with `action`.
    void Establish(const std::string& action) {
        ASSERT_EQ(Run({"init-handheld", Handheld().string(), "--user", "Ann", "--id",
                       std::to_string(kAnnId)})
                      .status,
                  0);
        // Nothing to synchronise yet: the conduits fail, but the user now exists.
        ASSERT_EQ(Run({"sync", Handheld().string()}).status, 1);
        Queue(fs::path(FITQUILL_HANDHELD_DATA_DIR) / "FQA-AppDB.pdb");
        Queue(fs::path(FITQUILL_HANDHELD_DATA_DIR) / "FQA-FoodDB.pdb");
        const SRun run = Run({"sync", Handheld().string(), "--action", action});
        ASSERT_EQ(run.status, 0) << run.out << run.err;
    }

    static void AddFiles(const fs::path& folder, Snapshot& snapshot) {
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.is_regular_file())
                snapshot[entry.path().string()] = ReadBytes(entry.path());
    }
    Snapshot BothSides() const {
        Snapshot snapshot;
        AddFiles(Handheld(), snapshot);
        AddFiles(UserFolder() / "Fitquill", snapshot);
        return snapshot;
    }

    // The test module registered twice, as Alpha and Beta.
    void RegisterTestConduits(const std::string& extra = {}) {
        const fs::path file = m_dir / "conduits.ini";
        std::ofstream(file) << "[Alpha]\nModule=" FITQUILL_TEST_CONDUIT "\nCreator=ABCD\n"
                               "RemoteDatabase=AlphaDB\nLocalName=Alpha/alpha.dat\n"
                               "[Beta]\nModule=" FITQUILL_TEST_CONDUIT "\nCreator=BETA\n"
                               "RemoteDatabase=BetaDB\nLocalName=beta.dat\n"
                            << extra;
        setenv("FITQUILL_CONDUITS", file.c_str(), 1);
    }
    // The calls the test module reported since the last time, one line each.
    std::vector<std::string> Calls() {
        std::vector<std::string> lines;
        std::ifstream in(m_dir / "calls");
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        fs::remove(m_dir / "calls");
        return lines;
    }
    // The action that the first conduit (Alpha) ran with in one more HotSync operation.
    std::string AlphaAction(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> arguments = {"sync", Handheld().string()};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        EXPECT_EQ(Run(arguments).status, 0);
        const auto calls = Calls();
        return calls.empty() ? "" : calls[0].substr(0, calls[0].find(' ', 5));
    }
    std::string OpenLine(const std::string& action, const std::string& user,
                         const std::string& local, const std::string& remote,
                         const std::string& creator) const {
        return "open action=" + action + " path=" + (m_dir / "palm" / user).string() +
               "/ local=" + local + " user=" + user + " remote=" + remote + " creator=" + creator +
               " card=0 handheld=" + Handheld().string();
    }

    std::optional<test::CProgramWorld> m_world;
    fs::path m_dir;
};

TEST_F(HotSyncToolTest, InitHandheldMakesAHandheldWithoutDatabases) {
    const SRun run = Run({"init-handheld", Handheld().string(), "--user", "Ann", "--id", "42"});
    ASSERT_EQ(run.status, 0) << run.err;
    SHandheld handheld;
    ASSERT_TRUE(LoadHandheld(Handheld(), handheld));
    EXPECT_EQ(handheld.userName, "Ann");
    EXPECT_EQ(handheld.userId, 42u);
    EXPECT_EQ(std::distance(fs::directory_iterator(Handheld()), fs::directory_iterator()), 1);

    ExpectFailure({"init-handheld", Handheld().string(), "--user", "Bob", "--id", "7"});
    ExpectFailure({"init-handheld", (m_dir / "b").string(), "--user", "Bob", "--id", "0"});
    ExpectFailure({"init-handheld", (m_dir / "b").string(), "--id", "7"});
    ExpectFailure(
        {"init-handheld", (m_dir / "b").string(), "--user", std::string(64, 'x'), "--id", "7"});
    ExpectFailure({"sync", Handheld().string(), "--action", "merge"});
    ExpectFailure({"frobnicate"});
    EXPECT_EQ(Run({"--help"}).status, 0);
}

TEST_F(HotSyncToolTest, ANewHandheldUserGetsAUserAndTheQueuedDatabases) {
    ASSERT_EQ(Run({"init-handheld", Handheld().string(), "--user", "Ann", "--id", "42"}).status, 0);
    SRun run = Run({"sync", Handheld().string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("  New HotSync user Ann\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  Diet: error opening channel\n"), std::string::npos) << run.out;
    CUserStore store(m_dir / "palm");
    std::string folder;
    uint16_t size = 256;
    EXPECT_EQ(store.GetUserFolderName(kAnnId, folder, size), 0);
    EXPECT_EQ(folder, "Ann");
    EXPECT_TRUE(fs::is_directory(UserFolder()));

    Queue(fs::path(FITQUILL_HANDHELD_DATA_DIR) / "FQA-AppDB.pdb");
    Queue(fs::path(FITQUILL_HANDHELD_DATA_DIR) / "FQA-FoodDB.pdb");
    run = Run({"sync", Handheld().string(), "--action", "none"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "HotSync started 06/30/24 12:00:00\n"
                       "  Backup: 2024-06-30_120000_2\n"
                       "  Install: FQA-AppDB.pdb\n"
                       "  Install: FQA-FoodDB.pdb\n"
                       "  OK Diet\n"
                       "  OK Foods\n");
    EXPECT_EQ(ReadBytes(JournalPdb()),
              ReadBytes(fs::path(FITQUILL_HANDHELD_DATA_DIR) / "FQA-AppDB.pdb"));
    EXPECT_EQ(ReadBytes(FoodPdb()),
              ReadBytes(fs::path(FITQUILL_HANDHELD_DATA_DIR) / "FQA-FoodDB.pdb"));
    CInstallAid aid(store);
    EXPECT_TRUE(aid.QueuedFiles("Ann").empty());
    EXPECT_FALSE(fs::exists(UserFolder() / CInstallAid::kFlagFile));
    // Doing nothing wrote no desktop file.
    EXPECT_FALSE(fs::exists(UserFolder() / "Fitquill"));
    // The session is in the user's HotSync log as printed.
    EXPECT_NE(ReadText(UserFolder() / "HotSync.Log").find(run.out), std::string::npos);
}

// Palm::PDB's view of a resource database: name, type, creator and its resources, each
// resource's text without its terminating NUL.
std::string PerlResourceView(const fs::path& file) {
    const std::string script =
        R"(Palm::PDB::RegisterPRCHandlers("Palm::Raw", ["", ""]); )"
        R"($p = Palm::PDB->new; $p->Load($ARGV[0]) or exit 2; )"
        R"(print join("|", $p->{name}, $p->{type}, $p->{creator}, )"
        R"(map { (my $d = $_->{data}) =~ s/\0//g; "$_->{type}$_->{id}=$d" } @{$p->{resources}}))";
    const std::string command =
        "perl -MPalm::PDB -MPalm::Raw -e '" + script + "' '" + file.string() + "' 2>&1";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        pclose(pipe);
    }
    return out;
}

TEST_F(HotSyncToolTest, TheInstallDialogsFilesReachTheHandheldAndAreSynchronised) {
    ASSERT_EQ(Run({"init-handheld", Handheld().string(), "--user", "Ann", "--id", "42"}).status, 0);
    ASSERT_EQ(Run({"sync", Handheld().string()}).status, 1);
    CUserStore store(m_dir / "palm");
    CInstallAid aid(store);
    const auto& files = SHandheldInstall::InstallFiles();
    ASSERT_EQ(SHandheldInstall::Queue(aid, "Ann", files,
                                      fs::path(FITQUILL_HANDHELD_DATA_DIR).parent_path()),
              files.size());

    const SRun run = Run({"sync", Handheld().string()});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    for (const char* line :
         {"  Install: Fitquill.prc\n", "  Install: FoodDB.prc\n", "  Install: FQA-FoodDB.pdb\n",
          "  Install: FQA-AppDB.pdb\n", "  OK Diet\n", "  OK Foods\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
    EXPECT_TRUE(fs::exists(JournalFile()));
    EXPECT_TRUE(aid.QueuedFiles("Ann").empty());

    // The programs' stand-ins are resource databases that an independent reader takes.
    if (std::system("perl -MPalm::PDB -e 1 2>/dev/null") != 0)
        GTEST_SKIP() << "Palm::PDB (libpalm-perl) is not installed";
    EXPECT_TRUE(PerlResourceView(Handheld() / "Fitquill.prc")
                    .starts_with("Fitquill|appl|FQui|tver1000=6.1|tAIN1000=Fitquill|tSTR1000="))
        << PerlResourceView(Handheld() / "Fitquill.prc");
    const std::string food = PerlResourceView(Handheld() / "Fitquill Food.prc");
    EXPECT_TRUE(food.starts_with("Fitquill Food|DATA|FQui|tver1000=6.1|tAIN1000=Fitquill Food|"))
        << food;
}

TEST_F(HotSyncToolTest, AFreshMachineWithoutSettingsSyncsWithoutAnInstallPathNotice) {
    fs::remove_all(m_dir / "config");
    ASSERT_EQ(Run({"init-handheld", Handheld().string(), "--user", "Ann", "--id", "42"}).status, 0);
    // The first operation makes the desktop user; the second installs and synchronises.
    Run({"sync", Handheld().string()});
    Queue(fs::path(FITQUILL_HANDHELD_DATA_DIR) / "FQA-AppDB.pdb");
    Queue(fs::path(FITQUILL_HANDHELD_DATA_DIR) / "FQA-FoodDB.pdb");
    const SRun run = Run({"sync", Handheld().string()});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("  OK Diet\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  OK Foods\n"), std::string::npos) << run.out;
    const std::string log = ReadText(UserFolder() / "HotSync.Log");
    EXPECT_NE(log.find("OK Foods"), std::string::npos) << log;
    EXPECT_EQ(log.find("install path"), std::string::npos) << log;
    EXPECT_EQ(run.out.find("install path"), std::string::npos) << run.out;
}

// A fresh home with nothing configured: the handheld's user is the program's own user, and
// what the handheld recorded lands in the journal that `fitquill` and the desktop program read.
TEST_F(HotSyncToolTest, WithNothingConfiguredTheHandheldSyncsWithTheProgramsOwnUser) {
    fs::remove_all(m_dir / "config");
    unsetenv("FITQUILL_PALM_ROOT");
    ASSERT_EQ(RunProgram(FITQUILL_TOOL, {"users", "add", "Zoe"}).status, 0);
    ASSERT_EQ(Run({"init-handheld", Handheld().string(), "--user", "Zoe", "--id", "7"}).status, 0);
    CUserDirectory own(nullptr, SInstallPath{true, (m_dir / "data" / "fitquill").string()});
    CUserDirectoryLibrary library(own);
    CInstallAid aid(library);
    const auto& files = SHandheldInstall::InstallFiles();
    ASSERT_EQ(SHandheldInstall::Queue(aid, "Zoe", files,
                                      fs::path(FITQUILL_HANDHELD_DATA_DIR).parent_path()),
              files.size());
    SRun run = Run({"sync", Handheld().string()});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("  OK Diet\n"), std::string::npos) << run.out;

    CJournalDB handheldJournal = UnpackJournal(HandheldRecords(JournalPdb()));
    handheldJournal.InsertDay(
        WeighIn(CJournalDate(29, 6, 2024), 171.5f, handheldJournal.Profile(), "palm day"));
    WriteHandheldRecords(JournalPdb(), PackJournalRecords(handheldJournal));
    run = Run({"sync", Handheld().string()});
    ASSERT_EQ(run.status, 0) << run.out << run.err;

    const fs::path csv = m_dir / "zoe.csv";
    ASSERT_EQ(
        RunProgram(FITQUILL_TOOL, {"export-user-data", "--user", "Zoe", "--out", csv.string()})
            .status,
        0);
    EXPECT_NE(ReadText(csv).find("6/29/2024,171.5"), std::string::npos) << ReadText(csv);
    // Still one user: the handheld did not make a second one.
    EXPECT_EQ(RunProgram(FITQUILL_TOOL, {"users", "list"}).out, "Zoe\n");
}

TEST_F(HotSyncToolTest, EachActionThroughTheRealConduits) {
    Establish("handheld");
    // Handheld overwrites desktop: the desktop receives every record but its own header.
    Records desktop = DesktopRecords(JournalFile());
    Records handheld = HandheldRecords(JournalPdb());
    ASSERT_EQ(desktop.size(), 3u);
    EXPECT_EQ(Records(desktop.begin() + 1, desktop.end()),
              Records(handheld.begin() + 1, handheld.end()));
    EXPECT_EQ(UnpackFood(DesktopRecords(FoodFile())).GroupCount(),
              UnpackFood(HandheldRecords(FoodPdb())).GroupCount());

    // Desktop overwrites handheld.
    CJournalDB journal = UnpackJournal(DesktopRecords(JournalFile()));
    journal.SetFilePath(JournalFile().string());
    journal.InsertDay(WeighIn(CJournalDate(10, 6, 2024), 180, journal.Profile(), "desktop"));
    ASSERT_TRUE(CJournalFile::Write(journal));
    ASSERT_EQ(Run({"sync", Handheld().string(), "--action", "desktop"}).status, 0);
    CJournalDB onHandheld = UnpackJournal(HandheldRecords(JournalPdb()));
    ASSERT_EQ(onHandheld.DayCount(), 1);
    EXPECT_EQ(onHandheld.Day(0).Note(), "desktop");
    EXPECT_TRUE(HasNoChangeBits(onHandheld));

    // Handheld overwrites desktop: a day added on the desktop meanwhile is gone.
    onHandheld.InsertDay(WeighIn(CJournalDate(11, 6, 2024), 179, onHandheld.Profile(), "palm"));
    WriteHandheldRecords(JournalPdb(), PackJournalRecords(onHandheld));
    journal = UnpackJournal(DesktopRecords(JournalFile()));
    journal.SetFilePath(JournalFile().string());
    journal.InsertDay(WeighIn(CJournalDate(12, 6, 2024), 178, journal.Profile(), "lost"));
    ASSERT_TRUE(CJournalFile::Write(journal));
    ASSERT_EQ(Run({"sync", Handheld().string(), "--action", "handheld"}).status, 0);
    journal = UnpackJournal(DesktopRecords(JournalFile()));
    ASSERT_EQ(journal.DayCount(), 2);
    EXPECT_EQ(journal.Day(1).Note(), "palm");
    EXPECT_TRUE(HasNoChangeBits(journal));

    // Nothing to do: no byte changes on either side.
    const Snapshot before = BothSides();
    ASSERT_EQ(Run({"sync", Handheld().string(), "--action", "none"}).status, 0);
    EXPECT_EQ(BothSides(), before);
}

// The whole round: both sides edited, one HotSync operation, both sides identical and clean,
// and a second operation that finds nothing to change.
TEST_F(HotSyncToolTest, BothSidesEditedComeOutIdenticalAndStayThatWay) {
    Establish("sync");

    CJournalDB desktopJournal = UnpackJournal(DesktopRecords(JournalFile()));
    desktopJournal.SetFilePath(JournalFile().string());
    desktopJournal.Profile().SetAge(41);
    desktopJournal.InsertDay(
        WeighIn(CJournalDate(28, 6, 2024), 170, desktopJournal.Profile(), "desktop day"));
    ASSERT_TRUE(CJournalFile::Write(desktopJournal));
    CFoodDB desktopFood = UnpackFood(DesktopRecords(FoodFile()));
    ASSERT_GE(desktopFood.AddFoodItem(0, 0, Food("Desk Apple", 52)), 0);
    ASSERT_TRUE(ReplaceFileAtomically(FoodFile(), CFoodDBFile::Pack(desktopFood)));

    CJournalDB handheldJournal = UnpackJournal(HandheldRecords(JournalPdb()));
    handheldJournal.Profile().SetGoalWeight(CWeightValue::FromPounds(150));
    handheldJournal.InsertDay(
        WeighIn(CJournalDate(29, 6, 2024), 171, handheldJournal.Profile(), "palm day"));
    WriteHandheldRecords(JournalPdb(), PackJournalRecords(handheldJournal));
    CFoodDB handheldFood = UnpackFood(HandheldRecords(FoodPdb()));
    ASSERT_GE(handheldFood.AddFoodItem(0, 0, Food("Palm Pear", 57)), 0);
    WriteHandheldRecords(FoodPdb(), CFoodDBFile::PackRecords(handheldFood));

    SRun run = Run({"sync", Handheld().string()});
    ASSERT_EQ(run.status, 0) << run.out << run.err;

    // Each side keeps its own header (record 0); every other record is the same on both.
    for (const auto& [file, pdb] :
         {std::pair{JournalFile(), JournalPdb()}, {FoodFile(), FoodPdb()}}) {
        const Records desktop = DesktopRecords(file);
        const Records handheld = HandheldRecords(pdb);
        ASSERT_EQ(desktop.size(), handheld.size()) << pdb;
        EXPECT_TRUE(std::equal(desktop.begin() + 1, desktop.end(), handheld.begin() + 1)) << pdb;
    }
    for (const Records& records : {DesktopRecords(JournalFile()), HandheldRecords(JournalPdb())}) {
        const CJournalDB journal = UnpackJournal(records);
        ASSERT_EQ(journal.DayCount(), 2);
        EXPECT_EQ(journal.Day(0).Note(), "desktop day");
        EXPECT_EQ(journal.Day(1).Note(), "palm day");
        EXPECT_EQ(journal.Profile().Age(), 41);
        EXPECT_EQ(journal.Profile().GoalWeight(), CWeightValue::FromPounds(150));
        EXPECT_TRUE(HasNoChangeBits(journal));
    }
    for (const Records& records : {DesktopRecords(FoodFile()), HandheldRecords(FoodPdb())}) {
        const CFoodDB food = UnpackFood(records);
        EXPECT_TRUE(HasItem(food, "Desk Apple"));
        EXPECT_TRUE(HasItem(food, "Palm Pear"));
        EXPECT_TRUE(HasNoChangedMarks(food));
    }

    const Snapshot synced = BothSides();
    run = Run({"sync", Handheld().string()});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(BothSides(), synced);
}

TEST_F(HotSyncToolTest, BackupsHoldBothSidesAndTheLastFiveAreKept) {
    Establish("sync");
    const Snapshot synced = BothSides();
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(Run({"sync", Handheld().string(), "--action", "none"}).status, 0);
    // Two operations made the handheld, five more followed.
    const auto backups = CSyncBackup::List(UserFolder());
    ASSERT_EQ(backups.size(), 5u);
    EXPECT_EQ(backups.front().filename(), "2024-06-30_120000_3");
    EXPECT_EQ(backups.back().filename(), "2024-06-30_120000_7");
    for (const auto& [file, bytes] : synced) {
        const fs::path path(file);
        const bool handheld = path.parent_path() == Handheld();
        const fs::path copy =
            backups.back() /
            (handheld ? CSyncBackup::kHandheldFolder : CSyncBackup::kDesktopFolder) /
            path.filename();
        // Of the handheld only its databases.
        if (path.filename() == kHandheldUserFile)
            EXPECT_FALSE(fs::exists(copy));
        else
            EXPECT_EQ(ReadBytes(copy), bytes) << file;
    }
}

TEST_F(HotSyncToolTest, RealConduitsAreListedAndConfigureWithoutDisplayChangesNothing) {
    SRun run = Run({"conduits"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')),
              "Fitquill\tFQui\tFQA-AppDB\tFitquill/UserDB.dat\t" FITQUILL_JOURNAL_CONDUIT);
    ASSERT_EQ(Run({"init-handheld", Handheld().string(), "--user", "Ann", "--id", "42"}).status, 0);
    Run({"sync", Handheld().string()});
    run = Run({"configure", "--conduit", "larderon", "--user", "Ann"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Larderon for Ann: unchanged, Synchronize the files\n");
    ExpectFailure({"configure", "--conduit", "Nothing", "--user", "Ann"});
    ExpectFailure({"configure", "--conduit", "Fitquill", "--user", "Nobody"});
}

TEST_F(HotSyncToolTest, ConduitsReceiveTheRunAndTheKeptActions) {
    RegisterTestConduits();
    ASSERT_EQ(Run({"init-handheld", Handheld().string(), "--user", "Ann", "--id", "42"}).status, 0);
    SRun run = Run({"sync", Handheld().string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "HotSync started 06/30/24 12:00:00\n"
                       "  New HotSync user Ann\n"
                       "  Backup: 2024-06-30_120000\n"
                       "  Test: called\n"
                       "  OK Test\n"
                       "  Test: called\n"
                       "  OK Test\n");
    EXPECT_EQ(Calls(), (std::vector<std::string>{
                           OpenLine("0", "Ann", "Alpha/alpha.dat", "AlphaDB", "41424344"),
                           OpenLine("0", "Ann", "beta.dat", "BetaDB", "42455441")}));

    // For the next HotSync operation only: spent by it, unless an action is given.
    setenv("FITQUILL_TEST_CONDUIT_ANSWER", "3 2", 1);
    run = Run({"configure", "--conduit", "alpha", "--user", "Ann"});
    EXPECT_EQ(run.out,
              "Alpha for Ann: Desktop overwrites handheld (next HotSync operation only)\n");
    EXPECT_EQ(Calls(), std::vector<std::string>{"cfg kind=0 size=352 version=1 recsize=160 "
                                                "creator=41424344 user=42 permanent=0 next=0 "
                                                "name=Ann"});
    EXPECT_EQ(AlphaAction({"--action", "none"}), "open action=6");
    EXPECT_EQ(AlphaAction(), "open action=3");
    EXPECT_EQ(AlphaAction(), "open action=0");

    // As the default; a next-HotSync action then overrides it once.
    setenv("FITQUILL_TEST_CONDUIT_ANSWER", "2 1", 1);
    EXPECT_EQ(Run({"configure", "--conduit", "Alpha", "--user", "Ann"}).out,
              "Alpha for Ann: Handheld overwrites Desktop (default)\n");
    Calls();
    setenv("FITQUILL_TEST_CONDUIT_ANSWER", "6 2", 1);
    Run({"configure", "--conduit", "Alpha", "--user", "Ann"});
    EXPECT_NE(Calls()[0].find("permanent=2 next=2"), std::string::npos);
    unsetenv("FITQUILL_TEST_CONDUIT_ANSWER");
    EXPECT_EQ(Run({"configure", "--conduit", "Alpha", "--user", "Ann"}).out,
              "Alpha for Ann: unchanged, Do nothing\n");
    EXPECT_NE(Calls()[0].find("permanent=2 next=6"), std::string::npos);
    EXPECT_EQ(AlphaAction(), "open action=6");
    EXPECT_EQ(AlphaAction(), "open action=2");
}

TEST_F(HotSyncToolTest, AFailedConduitIsLoggedAndTheOthersStillRun) {
    RegisterTestConduits("[Gamma]\nModule=missing.so\nCreator=GAMA\nRemoteDatabase=G\n"
                         "LocalName=g.dat\n");
    ASSERT_EQ(Run({"init-handheld", Handheld().string(), "--user", "Ann", "--id", "42"}).status, 0);
    setenv("FITQUILL_TEST_CONDUIT_FAIL", "1", 1);
    const SRun run = Run({"sync", Handheld().string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "The HotSync operation ended with errors (see the log above).\n");
    EXPECT_EQ(Calls().size(), 2u);
    EXPECT_NE(run.out.find("  Test: synchronization failed\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  Gamma: " + (m_dir / "missing.so").string()), std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("  Gamma synchronization failed\n"), std::string::npos) << run.out;
}

TEST_F(HotSyncToolTest, HandheldsAreMatchedToUsersByIdThenByName) {
    RegisterTestConduits();
    ASSERT_EQ(Run({"init-handheld", Handheld().string(), "--user", "Ann", "--id", "42"}).status, 0);
    ASSERT_EQ(Run({"sync", Handheld().string()}).status, 0);
    Calls();
    // Renamed on the desktop: the handheld takes the new name, the folder stays.
    ASSERT_EQ(CUserStore(m_dir / "palm").RenameUser(kAnnId, "Annie"), 0);
    SRun run = Run({"sync", Handheld().string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("  Handheld user Ann renamed to Annie\n"), std::string::npos);
    SHandheld handheld;
    ASSERT_TRUE(LoadHandheld(Handheld(), handheld));
    EXPECT_EQ(handheld.userName, "Annie");
    EXPECT_NE(Calls()[0].find(" path=" + UserFolder().string() + "/ "), std::string::npos);

    // Another handheld of that user's name with another ID becomes that user's handheld.
    const fs::path second = m_dir / "hh2";
    ASSERT_EQ(Run({"init-handheld", second.string(), "--user", "Annie", "--id", "7"}).status, 0);
    run = Run({"sync", second.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_TRUE(LoadHandheld(second, handheld));
    EXPECT_EQ(handheld.userId, kAnnId);
    EXPECT_EQ(CUserStore(m_dir / "palm").UserCount(), 1);
}

TEST_F(HotSyncToolTest, AnOperationWhileTheUsersFolderIsLockedFailsAndChangesNothing) {
    Establish("sync");
    CJournalDB journal = UnpackJournal(DesktopRecords(JournalFile()));
    journal.SetFilePath(JournalFile().string());
    journal.InsertDay(WeighIn(CJournalDate(28, 6, 2024), 170, journal.Profile(), "desk"));
    ASSERT_TRUE(CJournalFile::Write(journal));
    const Snapshot before = BothSides();
    const size_t backups = CSyncBackup::List(UserFolder()).size();
    const std::string log = ReadText(UserFolder() / "HotSync.Log");

    setenv("FITQUILL_HOTSYNC_LOCK_WAIT_MS", "200", 1);
    {
        CFolderLock held;
        ASSERT_EQ(held.Acquire(UserFolder(), std::chrono::milliseconds(0)),
                  CFolderLock::EResult::Locked);
        const SRun run = Run({"sync", Handheld().string()});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "Another HotSync operation for Ann is running; nothing was changed. "
                           "Try again when it has ended.\n");
        EXPECT_EQ(BothSides(), before);
        EXPECT_EQ(CSyncBackup::List(UserFolder()).size(), backups);
        EXPECT_EQ(ReadText(UserFolder() / "HotSync.Log"), log);
    }
    // Released (as it is when its holder is killed): the next operation runs.
    const SRun run = Run({"sync", Handheld().string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(BothSides(), before);
}

TEST_F(HotSyncToolTest, OfTwoOperationsStartedTogetherOneRunsAndTheOtherReportsTheLock) {
    Establish("sync");
    CJournalDB journal = UnpackJournal(DesktopRecords(JournalFile()));
    journal.SetFilePath(JournalFile().string());
    journal.InsertDay(WeighIn(CJournalDate(28, 6, 2024), 170, journal.Profile(), "desk"));
    ASSERT_TRUE(CJournalFile::Write(journal));
    CJournalDB palm = UnpackJournal(HandheldRecords(JournalPdb()));
    palm.InsertDay(WeighIn(CJournalDate(29, 6, 2024), 171, palm.Profile(), "palm"));
    WriteHandheldRecords(JournalPdb(), PackJournalRecords(palm));
    // A slow conduit ahead of the journal conduit keeps the first operation running while the
    // second one waits for the lock.
    RegisterTestConduits("[Fitquill]\nModule=" FITQUILL_JOURNAL_CONDUIT
                         "\nCreator=FQui\nRemoteDatabase=FQA-AppDB\n"
                         "LocalName=Fitquill/UserDB.dat\n");
    setenv("FITQUILL_TEST_CONDUIT_DELAY_MS", "700", 1);
    setenv("FITQUILL_HOTSYNC_LOCK_WAIT_MS", "300", 1);
    const fs::path saved = m_dir / "saved";
    fs::create_directories(saved);
    fs::copy(m_dir / "palm", saved / "palm", fs::copy_options::recursive);
    fs::copy(Handheld(), saved / "hh", fs::copy_options::recursive);

    // One operation alone gives the expected result.
    ASSERT_EQ(Run({"sync", Handheld().string()}).status, 0);
    const Records single = DesktopRecords(JournalFile());
    const Records singlePalm = HandheldRecords(JournalPdb());
    fs::remove_all(m_dir / "palm");
    fs::remove_all(Handheld());
    fs::copy(saved / "palm", m_dir / "palm", fs::copy_options::recursive);
    fs::copy(saved / "hh", Handheld(), fs::copy_options::recursive);

    std::string both;
    for (const char* n : {"1", "2"})
        both += std::string("( '" FITQUILL_HOTSYNC "' sync '") + Handheld().string() + "' >'" +
                (m_dir / "out").string() + n + "' 2>'" + (m_dir / "err").string() + n +
                "'; echo $? >'" + (m_dir / "status").string() + n + "' ) & ";
    ASSERT_EQ(std::system((both + "wait").c_str()), 0);
    const std::string statuses = ReadText(m_dir / "status1") + ReadText(m_dir / "status2");
    const std::string errors = ReadText(m_dir / "err1") + ReadText(m_dir / "err2");
    EXPECT_TRUE(statuses == "0\n1\n" || statuses == "1\n0\n") << statuses << errors;
    EXPECT_EQ(errors, "Another HotSync operation for Ann is running; nothing was changed. "
                      "Try again when it has ended.\n");
    EXPECT_EQ(DesktopRecords(JournalFile()), single);
    EXPECT_EQ(HandheldRecords(JournalPdb()), singlePalm);
}

} // namespace
