// SPDX-License-Identifier: GPL-3.0-or-later
// The writers of the tools killed with SIGKILL at pseudo-random moments (fixed seed): after
// every kill each file is its old or its new version, never a mix, and a HotSync backup is
// complete or absent.
#include "core/io/atomic_file.h"
#include "core/journal/journal_file.h"
#include "platform/palm/install_aid.h"
#include "platform/palm/palm_database.h"
#include "platform/palm/user_store.h"
#include "tests/support/program_world.h"
#include "tools/fitquill-hotsync/sync_backup.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

namespace fitquill {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;
using Files = std::map<std::string, Bytes>;

constexpr unsigned kSeed = 20240630;

Bytes Read(const fs::path& file) {
    return ReadWholeFile(file).value_or(Bytes{});
}

// Every regular file below `folder` (relative names), leaving out backups and lock files.
Files Contents(const fs::path& folder) {
    Files files;
    for (auto it = fs::recursive_directory_iterator(folder);
         it != fs::recursive_directory_iterator(); ++it) {
        const std::string relative = fs::relative(it->path(), folder).string();
        if (it->is_directory() && it->path().filename() == CSyncBackup::kFolderName) {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file())
            files[relative] = Read(it->path());
    }
    return files;
}

// A temporary file of the atomic writer: "<name>.<8 hex digits>~".
bool IsTemporary(const std::string& name) {
    return name.size() > 10 && name.back() == '~' && name[name.size() - 10] == '.';
}

struct SOutcome {
    bool finished = false; // the program ended by itself before the kill
    int status = -1;
};

// Runs the program with the arguments; with a delay, kills it after that delay.
SOutcome RunAndKill(const std::vector<std::string>& arguments,
                    std::optional<std::chrono::microseconds> killAfter) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int devNull = open("/dev/null", O_WRONLY);
        dup2(devNull, 1);
        dup2(devNull, 2);
        execv(argv[0], argv.data());
        _exit(127);
    }
    SOutcome outcome;
    if (child < 0)
        return outcome;
    if (killAfter) {
        const auto deadline = Clock::now() + *killAfter;
        int status = 0;
        while (Clock::now() < deadline) {
            if (waitpid(child, &status, WNOHANG) == child) {
                outcome.finished = true;
                outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                return outcome;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    outcome.finished = WIFEXITED(status);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

class KillTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_world.emplace("2024-06-30");
        m_dir = m_world->Root();
    }

    // Kills the command at `kills` moments spread over [0, its run time], restoring the
    // old state with `restore` before each run and checking with `check` after each kill.
    // Returns how many runs were really killed (not finished before the moment came).
    int KillRepeatedly(const char* name, const std::vector<std::string>& command, int kills,
                       const std::function<void()>& restore, const std::function<void()>& check) {
        // The shorter of two whole runs: the first one may pay for a cold cache.
        std::chrono::microseconds runTime = std::chrono::hours(1);
        for (int run = 0; run < 2; ++run) {
            restore();
            const auto start = Clock::now();
            const SOutcome whole = RunAndKill(command, std::nullopt);
            runTime = std::min(runTime, std::chrono::duration_cast<std::chrono::microseconds>(
                                            Clock::now() - start));
            EXPECT_EQ(whole.status, 0) << name << " does not run";
        }
        std::mt19937 random(kSeed);
        std::uniform_int_distribution<int64_t> moment(0, runTime.count());
        int killed = 0;
        for (int i = 0; i < kills && !HasFailure(); ++i) {
            restore();
            const auto at = std::chrono::microseconds(moment(random));
            SCOPED_TRACE(std::string(name) + " killed after " + std::to_string(at.count()) + " us");
            const SOutcome outcome = RunAndKill(command, at);
            if (!outcome.finished)
                ++killed;
            else
                EXPECT_EQ(outcome.status, 0);
            check();
        }
        std::printf("kill test %s: one run takes %lld ms; %d of %d runs killed with SIGKILL, "
                    "every file old or new after each\n",
                    name, static_cast<long long>(runTime.count() / 1000), killed, kills);
        return killed;
    }

    // The temporary files that killed writers left in a folder.
    static int Leftovers(const fs::path& folder) {
        int count = 0;
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            count += IsTemporary(entry.path().filename().string()) ? 1 : 0;
        return count;
    }
    static void RemoveLeftovers(const fs::path& folder) {
        std::vector<fs::path> found;
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (IsTemporary(entry.path().filename().string()))
                found.push_back(entry.path());
        for (const fs::path& file : found)
            fs::remove(file);
    }

    std::optional<test::CProgramWorld> m_world;
    fs::path m_dir;
};

TEST_F(KillTest, DemoJournalIsOldOrNew) {
    const fs::path journal = m_dir / "UserDB.ddb";
    const std::vector<std::string> small = {FITQUILL_TOOL, "demo", "--journal", journal.string(),
                                            "--days",      "30",   "--seed",    "5"};
    ASSERT_EQ(RunAndKill(small, std::nullopt).status, 0);
    const Bytes old = Read(journal);
    const std::vector<std::string> command = {FITQUILL_TOOL,    "demo",   "--journal",
                                              journal.string(), "--days", "3650"};
    ASSERT_EQ(RunAndKill(command, std::nullopt).status, 0);
    const Bytes whole = Read(journal);
    ASSERT_NE(old, whole);
    for (const Bytes* version : {&old, &whole}) {
        CJournalDB read;
        ASSERT_TRUE(CJournalFile::Unpack(*version, read));
    }

    int leftovers = 0;
    const int killed = KillRepeatedly(
        "fitquill demo --days 3650", command, 34,
        [&] { ASSERT_TRUE(ReplaceFileAtomically(journal, old)); },
        [&] {
            const Bytes now = Read(journal);
            EXPECT_TRUE(now == old || now == whole) << "a mix of " << now.size() << " bytes";
            leftovers += Leftovers(m_dir);
            RemoveLeftovers(m_dir);
        });
    EXPECT_GT(killed, 0);
    std::printf("kill test demo: %d temporary files left by killed runs\n", leftovers);
}

TEST_F(KillTest, FoodImportIsOldOrNew) {
    const fs::path db = m_dir / "FoodDB.ddb";
    const Bytes old = Read(FITQUILL_DEFAULT_FOOD_DB);
    ASSERT_FALSE(old.empty());
    const std::vector<std::string> command = {
        FITQUILL_TOOL,           "food",   "import", "--db", db.string(), "--csv",
        FITQUILL_EXTENSIONS_CSV, "--mode", "2"};
    ASSERT_TRUE(ReplaceFileAtomically(db, old));
    ASSERT_EQ(RunAndKill(command, std::nullopt).status, 0);
    const Bytes whole = Read(db);
    ASSERT_NE(old, whole);

    const int killed = KillRepeatedly(
        "fitquill food import", command, 33, [&] { ASSERT_TRUE(ReplaceFileAtomically(db, old)); },
        [&] {
            const Bytes now = Read(db);
            EXPECT_TRUE(now == old || now == whole) << "a mix of " << now.size() << " bytes";
            RemoveLeftovers(m_dir);
        });
    EXPECT_GT(killed, 0);
}

TEST_F(KillTest, HotSyncLeavesEachFileOldOrNewAndBackupsWhole) {
    const fs::path handheld = m_dir / "hh";
    const fs::path user = m_dir / "palm" / "Ann";
    const std::vector<std::string> sync = {FITQUILL_HOTSYNC, "sync", handheld.string()};
    ASSERT_EQ(RunAndKill({FITQUILL_HOTSYNC, "init-handheld", handheld.string(), "--user", "Ann",
                          "--id", "42"},
                         std::nullopt)
                  .status,
              0);
    RunAndKill(sync, std::nullopt); // makes the user; nothing to synchronise yet
    {
        CUserStore store(m_dir / "palm");
        CInstallAid aid(store);
        for (const char* file : {"FQA-AppDB.pdb", "FQA-FoodDB.pdb"})
            ASSERT_EQ(
                aid.InstallFile("Ann", (fs::path(FITQUILL_HANDHELD_DATA_DIR) / file).string()),
                kInstallErrNone);
    }
    ASSERT_EQ(RunAndKill(sync, std::nullopt).status, 0);
    // A year of desktop entries for the next operation to merge.
    ASSERT_EQ(RunAndKill({FITQUILL_TOOL, "demo", "--journal",
                          (user / "Fitquill" / "UserDB.ddb").string(), "--days", "365"},
                         std::nullopt)
                  .status,
              0);

    const fs::path saved = m_dir / "saved";
    fs::create_directories(saved);
    fs::copy(m_dir / "palm", saved / "palm", fs::copy_options::recursive);
    fs::copy(handheld, saved / "hh", fs::copy_options::recursive);
    auto restore = [&] {
        fs::remove_all(m_dir / "palm");
        fs::remove_all(handheld);
        fs::copy(saved / "palm", m_dir / "palm", fs::copy_options::recursive);
        fs::copy(saved / "hh", handheld, fs::copy_options::recursive);
    };
    const Files oldUser = Contents(user / "Fitquill");
    const Files oldHandheld = Contents(handheld);
    const size_t oldBackups = CSyncBackup::List(user).size();
    const Bytes oldLog = Read(user / "HotSync.Log");

    restore();
    ASSERT_EQ(RunAndKill(sync, std::nullopt).status, 0);
    const Files newUser = Contents(user / "Fitquill");
    const Files newHandheld = Contents(handheld);
    ASSERT_NE(oldUser, newUser);
    ASSERT_NE(oldHandheld, newHandheld);

    // Desktop files must be byte for byte one of the versions; a handheld database carries the
    // time of the operation in its header, so its records must be one of the versions'.
    auto content = [](const std::string& name, const Bytes& bytes) -> std::optional<Bytes> {
        if (fs::path(name).extension() != ".pdb")
            return bytes;
        CPalmDatabase db;
        if (!db.Read(bytes))
            return std::nullopt;
        Bytes records;
        for (const SPalmRecord& record : db.Records()) {
            records.push_back(record.attributes);
            records.insert(records.end(), record.data.begin(), record.data.end());
        }
        return records;
    };
    auto oldOrNew = [&](const Files& now, const Files& before, const Files& after) {
        for (const auto& [name, bytes] : now) {
            if (IsTemporary(fs::path(name).filename().string()))
                continue;
            const auto was = before.find(name);
            const auto will = after.find(name);
            const auto found = content(name, bytes);
            ASSERT_TRUE(found) << name << " cannot be read whole";
            EXPECT_TRUE((was != before.end() && content(name, was->second) == found) ||
                        (will != after.end() && content(name, will->second) == found))
                << name << " is a mix";
        }
    };
    int backupsMade = 0;
    const int killed = KillRepeatedly("fitquill-hotsync sync", sync, 33, restore, [&] {
        oldOrNew(Contents(user / "Fitquill"), oldUser, newUser);
        oldOrNew(Contents(handheld), oldHandheld, newHandheld);
        const Bytes log = Read(user / "HotSync.Log");
        EXPECT_TRUE(log == oldLog || (log.size() > oldLog.size() && log.back() == '\n'));
        // The backup of the interrupted operation: absent, or holding both old sides whole.
        const std::vector<fs::path> backups = CSyncBackup::List(user);
        ASSERT_LE(backups.size(), oldBackups + 1);
        if (backups.size() == oldBackups + 1) {
            ++backupsMade;
            EXPECT_EQ(Contents(backups.back() / CSyncBackup::kDesktopFolder), oldUser);
            Files handheldCopy = Contents(backups.back() / CSyncBackup::kHandheldFolder);
            for (const auto& [name, bytes] : oldHandheld) {
                const fs::path extension = fs::path(name).extension();
                if (extension == ".pdb" || extension == ".prc") {
                    EXPECT_EQ(handheldCopy[name], bytes) << name;
                }
            }
        }
    });
    EXPECT_GT(killed, 0);
    std::printf("kill test hotsync: %d interrupted operations had made their backup whole\n",
                backupsMade);
}

} // namespace
} // namespace fitquill
