// SPDX-License-Identifier: GPL-3.0-or-later
// The copy of unsaved changes: written after edits, offered after a crash, restored exactly,
// set aside on No or when the files changed meanwhile, removed by saving and closing.
#include "core/food/food_db_file.h"
#include "core/internal_error.h"
#include "core/io/atomic_file.h"
#include "core/journal/journal_file.h"
#include "core/users/user_directory.h"
#include "desktop/document/recovery.h"
#include "tests/core/io/failure_sweep.h"
#include "tests/desktop/frame/shell_test_support.h"

#include <QElapsedTimer>

namespace fitquill::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const QString kQuestionStart =
    QStringLiteral("Fitquill Desktop did not close properly. Restore the changes you had not "
                   "saved (");

class Recovery : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        AddUser("Ann", kAnnId);
        WriteJournal("Ann", {CJournalDate(14, 3, 2024), CJournalDate(15, 3, 2024)});
        Remember(QStringLiteral("Ann"));
    }

    // Starts the program with recovery copies made as soon as an edit happens.
    void StartQuick() {
        Create();
        m_data->Recovery().SetDelays(10ms, 0ms);
        m_frame->ShowAtSavedPlacement();
        ProcessEventsFor(50);
        ASSERT_TRUE(m_data->HasOpenUser());
    }

    fs::path Folder() const { return ProgramFolderOf("Ann"); }
    fs::path CopyFile() const { return Folder() / kRecoveryFileName; }
    fs::path SetAsideFile() const { return Folder() / kSetAsideRecoveryFileName; }

    // Logs a weight on today and adds a food group, as the pages would.
    void Edit(float pounds) {
        CDayRecord* day = m_data->GetCurrentDay(true);
        ASSERT_NE(day, nullptr);
        day->SetWeight(CWeightValue::FromPounds(pounds), m_data->Journal().Profile());
        m_data->FoodDB().AddGroup(CFoodGroup("Recovered Group"));
        m_data->SetModified();
    }

    // Waits until the scheduled copy is written.
    void WaitForCopy() {
        QElapsedTimer clock;
        clock.start();
        while (m_data->Recovery().Scheduled() && clock.elapsed() < 5000)
            ProcessEventsFor(5);
        m_data->Recovery().WaitForWrite();
        ASSERT_TRUE(fs::exists(CopyFile()));
        EXPECT_EQ(m_data->Recovery().LastError(), "");
    }

    std::vector<uint8_t> JournalBytes() { return CJournalFile::Pack(m_data->Journal()); }
    std::vector<uint8_t> FoodBytes() { return CFoodDBFile::Pack(m_data->FoodDB()); }

    // The recovery questions shown so far.
    std::vector<CScriptedPrompt::SShown> Questions() const {
        std::vector<CScriptedPrompt::SShown> found;
        for (const auto& shown : m_prompt->Shown())
            if (shown.text.startsWith(kQuestionStart))
                found.push_back(shown);
        return found;
    }
};

TEST_F(Recovery, YesAfterACrashRestoresExactlyTheUnsavedEditsAndSaveAllRemovesTheCopy) {
    StartQuick();
    const std::vector<uint8_t> savedJournal = *ReadWholeFile(Folder() / kJournalFileName);
    Edit(180.5f);
    WaitForCopy();
    const std::vector<uint8_t> editedJournal = JournalBytes();
    const std::vector<uint8_t> editedFood = FoodBytes();
    Stop(); // as a crash would: nothing saved, nothing asked
    EXPECT_EQ(*ReadWholeFile(Folder() / kJournalFileName), savedJournal);
    ASSERT_TRUE(fs::exists(CopyFile()));

    m_prompt->Answer(EPromptAnswer::Yes);
    StartQuick();
    const auto questions = Questions();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].buttons, EPromptButtons::YesNo);
    EXPECT_EQ(questions[0].icon, EPromptIcon::Question);
    EXPECT_FALSE(questions[0].text.contains(QStringLiteral("HotSync")));
    EXPECT_TRUE(m_data->IsModified());
    EXPECT_EQ(m_data->StatusPanes().modified, QStringLiteral("MOD"));
    EXPECT_EQ(JournalBytes(), editedJournal);
    EXPECT_EQ(FoodBytes(), editedFood);
    EXPECT_EQ(m_data->Journal().Profile().UserName(), "Ann");

    ASSERT_TRUE(m_data->SaveAll());
    EXPECT_FALSE(fs::exists(CopyFile()));
    EXPECT_EQ(*ReadWholeFile(Folder() / kJournalFileName), editedJournal);
    Stop();
    m_prompt->Clear();
    Start();
    EXPECT_TRUE(Questions().empty());
}

TEST_F(Recovery, NoSetsTheCopyAsideAndOpensTheSavedFiles) {
    StartQuick();
    const std::vector<uint8_t> savedJournal = JournalBytes();
    Edit(150.0f);
    WaitForCopy();
    const std::vector<uint8_t> copyBytes = *ReadWholeFile(CopyFile());
    Stop();

    m_prompt->Answer(EPromptAnswer::No);
    StartQuick();
    ASSERT_EQ(Questions().size(), 1u);
    EXPECT_FALSE(m_data->IsModified());
    EXPECT_EQ(JournalBytes(), savedJournal);
    EXPECT_FALSE(fs::exists(CopyFile()));
    ASSERT_TRUE(fs::exists(SetAsideFile()));
    EXPECT_EQ(*ReadWholeFile(SetAsideFile()), copyBytes);
}

TEST_F(Recovery, FilesChangedSinceTheCopyAreSaidAndKeepingBothIsTheDefault) {
    StartQuick();
    Edit(170.0f);
    WaitForCopy();
    Stop();
    // A HotSync operation rewrites the journal between the crash and the next start.
    WriteJournal("Ann",
                 {CJournalDate(1, 3, 2024), CJournalDate(2, 3, 2024), CJournalDate(3, 3, 2024)});
    const std::vector<uint8_t> synced = *ReadWholeFile(Folder() / kJournalFileName);

    StartQuick(); // no scripted answer: the default button
    const auto questions = Questions();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].buttons, EPromptButtons::YesNoDefaultNo);
    EXPECT_TRUE(questions[0].text.contains(QStringLiteral("HotSync operation")));
    EXPECT_EQ(questions[0].answer, EPromptAnswer::No);
    EXPECT_EQ(m_data->Journal().DayCount(), 3);
    EXPECT_EQ(*ReadWholeFile(Folder() / kJournalFileName), synced);
    EXPECT_TRUE(fs::exists(SetAsideFile()));
    EXPECT_FALSE(fs::exists(CopyFile()));
}

TEST_F(Recovery, FilesChangedAndYesStillRestores) {
    StartQuick();
    Edit(171.0f);
    WaitForCopy();
    const std::vector<uint8_t> edited = JournalBytes();
    Stop();
    WriteJournal("Ann", {CJournalDate(1, 3, 2024)});

    m_prompt->Answer(EPromptAnswer::Yes);
    StartQuick();
    ASSERT_EQ(Questions().size(), 1u);
    EXPECT_EQ(JournalBytes(), edited);
    EXPECT_TRUE(m_data->IsModified());
}

TEST_F(Recovery, NoToTheSaveQuestionRemovesTheCopy) {
    StartQuick();
    Edit(160.0f);
    WaitForCopy();
    m_prompt->Answer(EPromptAnswer::No); // "Do you want to save changes to 'Ann'?"
    EXPECT_TRUE(m_frame->close());
    EXPECT_FALSE(fs::exists(CopyFile()));
    Stop();

    StartQuick();
    EXPECT_TRUE(Questions().empty());
    EXPECT_FALSE(fs::exists(SetAsideFile()));
}

TEST_F(Recovery, TheDatabaseErrorPathLeavesTheLastCopyInPlace) {
    StartQuick();
    Edit(165.0f);
    WaitForCopy();
    const std::vector<uint8_t> copyBytes = *ReadWholeFile(CopyFile());
    EXPECT_THROW(m_data->ReportDatabaseError(), CInternalError);
    Stop();
    ASSERT_TRUE(fs::exists(CopyFile()));
    EXPECT_EQ(*ReadWholeFile(CopyFile()), copyBytes);
}

TEST_F(Recovery, CopiesWaitForQuietAndComeAtMostOncePerInterval) {
    Create();
    m_data->Recovery().SetDelays(30ms, 400ms);
    m_frame->ShowAtSavedPlacement();
    ProcessEventsFor(50);
    Edit(150.0f);
    EXPECT_TRUE(m_data->Recovery().Scheduled());
    EXPECT_FALSE(fs::exists(CopyFile()));
    WaitForCopy();

    Edit(151.0f);
    ProcessEventsFor(100); // past the quiet time, inside the interval
    m_data->Recovery().WaitForWrite();
    auto copy = SRecoveryCopy::Read(CopyFile());
    ASSERT_TRUE(copy);
    EXPECT_NE(copy->journal, JournalBytes()) << "a second copy came inside the interval";
    WaitForCopy();
    copy = SRecoveryCopy::Read(CopyFile());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->journal, JournalBytes());
}

TEST_F(Recovery, ALongJournalIsPackedInSlicesAndAnEditMeanwhileStartsOver) {
    std::vector<CJournalDate> days;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= 28; ++day)
            for (int year : {2022, 2023})
                days.emplace_back(day, month, year);
    WriteJournal("Ann", days); // 672 days: four slices
    Create();
    // The quiet time is far shorter than the packing then takes, as it is in the program.
    m_data->Recovery().SetDelays(100ms, 10000ms);
    m_frame->ShowAtSavedPlacement();
    ProcessEventsFor(50);
    Edit(150.0f);
    // Let the copy begin, then edit between two slices.
    QElapsedTimer clock;
    clock.start();
    while (!m_data->Recovery().Packing() && clock.elapsed() < 5000)
        QCoreApplication::processEvents();
    ASSERT_TRUE(m_data->Recovery().Packing());
    QCoreApplication::processEvents();
    ASSERT_TRUE(m_data->Recovery().Packing()) << "the journal was packed in one go";
    // A day of the slices already packed and one not yet packed change: a copy that went on
    // would mix the two states.
    const std::vector<uint8_t> before = JournalBytes();
    CJournalDB& journal = m_data->Journal();
    for (int day : {0, journal.DayCount() - 1})
        journal.Day(day).SetWeight(CWeightValue::FromPounds(149.0f), journal.Profile());
    m_data->SetModified();
    const std::vector<uint8_t> after = JournalBytes();
    int written = 0;
    QObject::connect(&m_data->Recovery(), &CRecovery::CopyWritten, [&] {
        ++written;
        const auto copy = SRecoveryCopy::Read(CopyFile());
        ASSERT_TRUE(copy);
        EXPECT_TRUE(copy->journal == before || copy->journal == after) << "a mixed copy";
    });
    WaitForCopy();
    ProcessEventsFor(20);
    EXPECT_GE(written, 1);
    const auto copy = SRecoveryCopy::Read(CopyFile());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->journal, JournalBytes());
    CJournalDB read;
    ASSERT_TRUE(CJournalFile::Unpack(copy->journal, read));
    EXPECT_EQ(read.DayCount(), 673);
}

TEST_F(Recovery, ADamagedCopyIsSetAsideWithoutAsking) {
    StartQuick();
    Edit(150.0f);
    WaitForCopy();
    Stop();
    std::vector<uint8_t> bytes = *ReadWholeFile(CopyFile());
    bytes.resize(bytes.size() - 3);
    ASSERT_TRUE(ReplaceFileAtomically(CopyFile(), bytes));

    StartQuick();
    EXPECT_TRUE(Questions().empty());
    EXPECT_FALSE(m_data->IsModified());
    EXPECT_TRUE(fs::exists(SetAsideFile()));
}

TEST(RecoveryCopy, PacksAndRefusesEveryCutOrForeignFile) {
    SRecoveryCopy copy;
    copy.savedAt = 1710500000;
    copy.journalBase = SFileStamp{true, 123456789, 42};
    copy.journal = {1, 2, 3};
    copy.food = {4, 5};
    const std::vector<uint8_t> bytes = copy.Pack();
    const auto back = SRecoveryCopy::Unpack(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->savedAt, copy.savedAt);
    EXPECT_EQ(back->journalBase, copy.journalBase);
    EXPECT_EQ(back->foodBase, SFileStamp());
    EXPECT_EQ(back->journal, copy.journal);
    EXPECT_EQ(back->food, copy.food);
    for (size_t size = 0; size < bytes.size(); ++size)
        EXPECT_FALSE(SRecoveryCopy::Unpack(std::span(bytes.data(), size))) << size;
    // A journal file is not a recovery copy.
    CJournalDB journal;
    EXPECT_FALSE(SRecoveryCopy::Unpack(CJournalFile::Pack(journal)));
}

TEST(RecoveryCopy, FailedWritesLeaveThePreviousCopy) {
    const fs::path folder = WorldFolder() / "recovery-sweep";
    const fs::path file = folder / kRecoveryFileName;
    SRecoveryCopy next;
    next.savedAt = 2;
    next.journal.assign(3000, 7);
    next.food.assign(500, 8);
    testing::RunFailureSweep(
        "recovery copy", folder,
        [&] {
            fs::remove_all(folder);
            SRecoveryCopy first;
            first.savedAt = 1;
            first.journal = {1};
            ASSERT_TRUE(SRecoveryCopy::Write(file, first));
        },
        [&] {
            std::string error;
            const bool saved = SRecoveryCopy::Write(file, next, &error);
            EXPECT_EQ(saved, error.empty()) << error;
            return saved;
        });
    fs::remove_all(folder);
}

} // namespace
} // namespace fitquill::test
