// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/clock.h"
#include "core/internal_error.h"
#include "core/io/atomic_file.h"
#include "core/io/chunk_writer.h"
#include "core/journal/journal_file.h"
#include "core/journal/journal_records.h"
#include "tests/core/file_test_support.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using namespace fitquill;
using namespace fitquill::testing;
namespace fs = std::filesystem;

namespace {

CFoodItem Entry(uint32_t id, const std::string& name, uint16_t meal, float calories) {
    CFoodItem item;
    item.SetName(name, false);
    item.SetSearchName(name == "Toast" ? "" : name + " s");
    item.SetId(id);
    item.SetModified(static_cast<uint8_t>(id & 1));
    item.SetStoredMeasures(CServingMeasure(2.0f, kUnitItem, 5), CServingMeasure(1.0f, kUnitItem, 1),
                           CServingMeasure(28.0f, kUnitGram, 2));
    std::vector<CNutrientValue> nutrients{CNutrientValue(0, calories), CNutrientValue(1, 12.0f),
                                          CNutrientValue(2, 3.5f),     CNutrientValue(3, 1.25f),
                                          CNutrientValue(4, 4.0f),     CNutrientValue(5, 0.5f),
                                          CNutrientValue(16, 200.0f)};
    EXPECT_TRUE(item.SetStoredNutrients(nutrients));
    item.SetMealType(meal);
    item.SetStoredServingRatio(2.0f);
    return item;
}

CExerciseEntry Exercise(uint32_t id, const std::string& name, int minutes, int calories) {
    CExerciseEntry entry;
    entry.SetId(id);
    entry.SetChanged(static_cast<uint8_t>(id & 1));
    entry.SetActivity(3);
    entry.SetVariant(1);
    entry.SetIntensity(-1);
    entry.SetName(name);
    entry.SetMinutes(minutes);
    entry.SetCalories(calories);
    return entry;
}

void FillProfile(CUserProfile& p) {
    p.SetStatus(2);
    p.SetFirstText("first text");
    p.SetSecondText("");
    p.SetUserName("Ann Lee");
    CHeightValue height;
    height.SetRawInches(65.5f);
    p.SetHeight(height);
    p.SetStoredAge(41);
    p.SetStoredSex(1);
    p.SetStartingWeight(CWeightValue::FromPounds(180.5f));
    p.SetStartingDate(CJournalDate(2, 1, 2004));
    p.SetGoalWeight(CWeightValue::FromPounds(150.0f));
    p.SetGoalDate(CJournalDate(1, 6, 2004));
    CGoalSummary summary;
    summary.SetRaw(1, 30.5f, 151, 705);
    p.SetGoalSummary(summary);
    p.SetStoredDefaultActivityLevel(3);
    p.SetStoredUnitChoice(1);
    p.SetStoredDietPlan(3);
    p.SetStoredPercentages(50, 20, 30);
    p.SetStoredTargetMode(0);
    std::vector<CNutrientValue> targets;
    for (int i = 0; i < 6; ++i)
        targets.emplace_back(i, 100.0f * static_cast<float>(i) + 0.5f);
    EXPECT_TRUE(p.SetStoredTargets(targets));
    p.SetChangeBits(0x8410);
}

// A journal that uses every field of every record: two full days filed out of order and an
// empty one.
CJournalDB RichJournal() {
    CJournalDB journal;
    journal.Header().SetReserved(7);
    journal.Header().SetIdGenerator(CIdGenerator(0x9A2C0005u));
    journal.Header().SetHistoryLength(30);
    FillProfile(journal.Profile());

    CDayRecord full(CJournalDate(5, 1, 2004));
    full.SetStoredWeight(CWeightValue::FromPounds(181.5f));
    full.SetStoredActivityLevel(2);
    full.SetStoredBMR(1900);
    full.SetStoredNote("line one\nline two");
    full.SetStoredWater(8);
    full.SetChangeBits(0xE000);
    for (int girth = 0; girth < kGirthCount; ++girth)
        full.Measurements().SetRawGirth(girth, 10.0f + static_cast<float>(girth));
    full.Measurements().SetRawPercentBodyFat(22.5f);
    full.Measurements().SetRawAutomaticBodyFat(0);
    full.Measurements().SetRawChangeBits(0x8080);
    full.BloodPressure().SetRawSystolic(120);
    full.BloodPressure().SetRawDiastolic(80);
    full.BloodPressure().SetRawPulse(61);
    full.BloodPressure().SetRawTime(7, 30, 1);
    full.BloodPressure().SetRawChangeBits(0xF000);
    EXPECT_TRUE(full.FoodLog().InsertStoredEntry(Entry(0x9A2C0001u, "Toast", kMealBreakfast, 80)));
    EXPECT_TRUE(full.FoodLog().InsertStoredEntry(Entry(0x9A2C0002u, "Eggs", kMealBreakfast, 150)));
    EXPECT_TRUE(full.FoodLog().InsertStoredEntry(Entry(0x9A2C0003u, "Apple", kMealSnack, 95.5f)));
    full.Exercises().AppendStored(Exercise(0x9A2C0004u, "Walking", 45, 210));
    full.Exercises().AppendStored(Exercise(0x9A2C0005u, "", 0, 0));
    EXPECT_GE(journal.InsertDay(full), 0);

    CDayRecord earlier(CJournalDate(4, 1, 2004));
    earlier.SetStoredNote("");
    EXPECT_GE(journal.InsertDay(earlier), 0);

    CDayRecord later(CJournalDate(29, 2, 2004));
    later.FoodLog().InsertStoredEntry(Entry(0x9A2C0006u, "Soup", kMealDinner, 300));
    EXPECT_GE(journal.InsertDay(later), 0);
    return journal;
}

void ExpectSameDay(const CDayRecord& a, const CDayRecord& b) {
    SCOPED_TRACE(a.Date().LongText());
    EXPECT_EQ(a.Date(), b.Date());
    EXPECT_EQ(a.FoodLogOffset(), b.FoodLogOffset());
    EXPECT_EQ(a.ExerciseListOffset(), b.ExerciseListOffset());
    EXPECT_EQ(a.Weight(), b.Weight());
    EXPECT_EQ(a.ActivityLevel(), b.ActivityLevel());
    EXPECT_EQ(a.BMR(), b.BMR());
    EXPECT_EQ(a.Note(), b.Note());
    EXPECT_EQ(a.Water(), b.Water());
    EXPECT_EQ(a.ChangeBits(), b.ChangeBits());
    EXPECT_EQ(a.Measurements(), b.Measurements());
    EXPECT_EQ(a.BloodPressure(), b.BloodPressure());
    EXPECT_EQ(a.FoodLog(), b.FoodLog());
    EXPECT_EQ(a.Exercises(), b.Exercises());
}

void ExpectSameJournal(const CJournalDB& a, const CJournalDB& b) {
    EXPECT_EQ(a.Header(), b.Header());
    EXPECT_EQ(a.Profile(), b.Profile());
    ASSERT_EQ(a.DayCount(), b.DayCount());
    for (int i = 0; i < a.DayCount(); ++i)
        ExpectSameDay(a.Day(i), b.Day(i));
}

class JournalFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        CClock::SetFixedDate(CClock::ParseIsoDate("2004-03-05"));
        m_root = fs::temp_directory_path() /
                 ("fitquill-journalfile-" + std::to_string(std::random_device{}()));
        m_folder = m_root / "AnnL" / "Fitquill";
        m_file = m_folder / "UserDB.ddb";
        fs::create_directories(m_root);
    }
    void TearDown() override {
        CClock::SetFixedDate(std::nullopt);
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    void SetPaths(CJournalDB& journal) const {
        journal.SetFilePath(m_file.string());
        journal.SetFolderPath(m_folder.string());
    }

    fs::path m_root, m_folder, m_file;
};

// ---- round trips ----

TEST_F(JournalFileTest, EveryFieldSurvivesWriteAndReadAndRewritesIdentically) {
    CJournalDB journal = RichJournal();
    SetPaths(journal);
    journal.SetModified();
    std::string error;
    ASSERT_TRUE(CJournalFile::Write(journal, &error)) << error;
    EXPECT_FALSE(journal.IsModified());

    CJournalDB loaded;
    SetPaths(loaded);
    ASSERT_TRUE(CJournalFile::Read(loaded, &error)) << error;
    EXPECT_FALSE(loaded.IsModified());
    ExpectSameJournal(journal, loaded);
    ASSERT_EQ(loaded.DayCount(), 3);
    EXPECT_EQ(loaded.Day(0).Date(), CJournalDate(4, 1, 2004));
    EXPECT_EQ(loaded.Day(2).Date(), CJournalDate(29, 2, 2004));
    // The meal lists come back in their meals; the unit set is not part of measure equality.
    EXPECT_EQ(loaded.Day(1).FoodLog().MealEntries(kMealBreakfast).size(), 2u);
    EXPECT_EQ(loaded.Day(1).FoodLog().MealEntries(kMealSnack)[0].Serving().UnitSet(), 5);

    const Bytes first = FileBytes(m_file);
    ASSERT_TRUE(CJournalFile::Write(loaded, &error)) << error;
    EXPECT_EQ(FileBytes(m_file), first);
}

TEST_F(JournalFileTest, TheFileFramesTheRecordsTheHandheldGets) {
    CJournalDB journal = RichJournal();
    CJournalDB copy = journal;
    EXPECT_EQ(CJournalFile::Pack(journal), JoinChunks(PackJournalRecords(copy)));
    ExpectSameJournal(journal, copy);
}

TEST_F(JournalFileTest, TotalsAreRecomputedBeforeTheyAreWritten) {
    CJournalDB journal = RichJournal();
    // Stale totals in memory must not reach the file.
    journal.Day(1).FoodLog().SetStoredTotals({CNutrientValue(0, 1.0f)});
    const Bytes file = CJournalFile::Pack(journal);
    CJournalDB loaded;
    ASSERT_TRUE(CJournalFile::Unpack(file, loaded));
    const CDayFoodLog& log = loaded.Day(1).FoodLog();
    ASSERT_EQ(log.Totals().size(), 6u);
    // Entries count twice (serving ratio 2): 80 + 150 + 95.5 calories, 3 x 12 g carbohydrate.
    EXPECT_FLOAT_EQ(log.TotalValue(kNutrientCalories), 2 * 325.5f);
    EXPECT_FLOAT_EQ(log.TotalValue(kNutrientCarbohydrate), 72.0f);
}

// ---- documented byte layouts ----

Bytes ExpectedProfile() {
    CBuilder p;
    p.U8(2)
        .JournalText("first text")
        .JournalText("")
        .JournalText("Ann Lee")
        .F32(65.5f)
        .I16(41)
        .I16(1);
    p.F32(180.5f).Date(1, 2, 2004).F32(150.0f).Date(6, 1, 2004);
    p.U8(1).F32(30.5f).U32(151).U32(705);
    p.I16(3).I16(1).U16(0x8410).I16(3).I16(50).I16(20).I16(30).U8(0).U16(6);
    for (int i = 0; i < 6; ++i)
        p.U8(i).F32(100.0f * static_cast<float>(i) + 0.5f);
    return p.Get();
}

TEST_F(JournalFileTest, JournalWithoutDaysIsThreeChunks) {
    CJournalDB journal;
    journal.Header().SetVersion(5);
    journal.Header().SetIdGenerator(CIdGenerator(0x8123ABCDu));
    journal.Header().SetHistoryLength(14);
    FillProfile(journal.Profile());

    CBuilder header, index;
    header.U16(6).U16(0).U8(0xCD).U8(0xAB).U8(0x23).U8(0x81).U16(14);
    index.U16(3).U16(0);
    const Bytes expected = Chunks({header.Get(), ExpectedProfile(), index.Get()});
    // The profile's size: 20 bytes, three texts, three floats (height and two weights; the
    // weight change is part of the 13-byte summary), two dates, summary and targets.
    ASSERT_EQ(ExpectedProfile().size(), 20u + (2 + 11) + 2 + (2 + 8) + 12 + 12 + 13 + (2 + 30));
    EXPECT_EQ(CJournalFile::Pack(journal), expected);
    EXPECT_EQ(journal.Header().Version(), 6);

    // Ids continue from the stored generator, read little-endian.
    CJournalDB loaded;
    ASSERT_TRUE(CJournalFile::Unpack(expected, loaded));
    EXPECT_EQ(loaded.IdGenerator().Next(), 0x8123ABCEu);
    EXPECT_EQ(loaded.DayCount(), 0);
}

TEST_F(JournalFileTest, DayRecordLayoutWithOffsetsFilledLast) {
    CDayRecord day(CJournalDate(5, 1, 2004));
    day.SetStoredWeight(CWeightValue::FromPounds(150.0f));
    day.SetStoredActivityLevel(2);
    day.SetStoredBMR(1800);
    day.SetNoteFromEdit("a\r\nb"); // stored with the line feed alone
    day.SetStoredWater(3);
    day.SetChangeBits(0x4000);
    day.Exercises().AppendStored(Exercise(0x80000009u, "Run", 30, 300));

    CBuilder expected;
    expected.Date(1, 5, 2004).U16(0).U16(0).F32(150.0f).I16(2).I16(1800).JournalText("a\nb").I16(3);
    expected.U16(0x4000 | CDayRecord::kChangeNote);
    for (int i = 0; i < 9; ++i)
        expected.F32(-1.0f);
    expected.U8(1).U16(0);
    for (int i = 0; i < 5; ++i)
        expected.I16(-1);
    expected.U8(0).U16(0);
    const size_t foodLog = expected.Size();
    // An empty food log still holds the six totals and four empty meal lists.
    expected.U16(6);
    for (int i = 0; i < 6; ++i)
        expected.U8(i).F32(0.0f);
    expected.U16(0).U16(0).U16(0).U16(0);
    const size_t exercises = expected.Size();
    expected.U16(1)
        .U32(0x80000009u)
        .U8(1)
        .I16(3)
        .I16(1)
        .I16(-1)
        .JournalText("Run")
        .U16(30)
        .U16(300);
    Bytes bytes = expected.Get();
    bytes[6] = 0;
    bytes[7] = static_cast<uint8_t>(foodLog);
    bytes[8] = 0;
    bytes[9] = static_cast<uint8_t>(exercises);

    EXPECT_EQ(PackDayRecord(day), bytes);
    EXPECT_EQ(day.FoodLogOffset(), foodLog);
    EXPECT_EQ(day.ExerciseListOffset(), exercises);
    // 12 + date + weight + note + measurements + blood pressure + lists.
    EXPECT_EQ(bytes.size(), 12u + 6 + 4 + (2 + 4) + 39 + 13 + (2 + 30 + 8) + (2 + 15 + 6));
}

// ---- older and newer versions ----

void OldEntry(CBuilder& b, uint32_t id, const std::string& name, uint16_t meal) {
    b.U32(id).U8(1).Text(name).Text(name);
    b.Measure(1.0f, kUnitCup, 1).Measure(1.0f, kUnitCup, 0).Measure(0.0f, 0, 0);
    // calories, carbohydrate, fiber, protein, fat, saturated fat
    b.F32(100.0f).F32(20.0f).F32(3.0f).F32(2.0f).F32(5.0f).F32(1.0f);
    b.U16(meal).F32(1.0f).U16(0);
}

void OldFoodLog(CBuilder& b) {
    b.F32(300.0f).F32(60.0f).F32(9.0f).F32(6.0f).F32(15.0f).F32(3.0f);
    for (int list = 0; list < 8; ++list) {
        if (list == 0) {
            b.U16(2);
            OldEntry(b, 0x80000011u, "Oats", 0);
            OldEntry(b, 0x80000012u, "Pasta", 2); // filed by its own meal type
        } else if (list == 5) {
            b.U16(1);
            OldEntry(b, 0x80000013u, "Plum", 3);
        } else {
            b.U16(0);
        }
    }
}

Bytes OldJournal(uint16_t version) {
    CBuilder header, profile, index, day;
    header.U16(version).U16(0).U32LE(0x8A100020u).U16(7);
    profile.U8(0).JournalText("").JournalText("second").JournalText("Bob").F32(70.0f).I16(35).I16(
        0);
    profile.F32(200.0f).Date(1, 1, 2004).F32(180.0f).Date(3, 1, 2004);
    profile.U8(1).U32(20).U32(60).U32(1167).I16(2).I16(0).U16(0x0040);
    if (version == 5)
        profile.I16(2).I16(40).I16(30).I16(30);

    day.Date(1, 5, 2004);
    if (version == 4) {
        day.F32(199.0f).JournalText("old note").I16(4).I16(3).I16(2100).U16(0x8000);
    } else {
        day.U16(0x1234).U16(0x5678).F32(199.0f).I16(3).I16(2100).JournalText("old note").I16(4);
        day.U16(0x8000);
        for (int girth = 0; girth < 8; ++girth)
            day.F32(20.0f + static_cast<float>(girth));
        day.U16(0x0100);
        day.I16(118).I16(79).I16(70).I16(8).I16(15).U8(0).U16(0x8000);
    }
    OldFoodLog(day);
    day.U16(1).U32(0x80000014u).U8(0).I16(5).I16(0).I16(1).JournalText("Swim").U16(20).U16(180);

    CBuilder empty;
    empty.Date(1, 4, 2004);
    if (version == 4) {
        empty.F32(-1.0f).JournalText("").I16(0).I16(0).I16(0).U16(0);
    } else {
        empty.U16(0).U16(0).F32(-1.0f).I16(0).I16(0).JournalText("").I16(0).U16(0);
        for (int girth = 0; girth < 8; ++girth)
            empty.F32(-1.0f);
        empty.U16(0);
        for (int i = 0; i < 5; ++i)
            empty.I16(-1);
        empty.U8(0).U16(0);
    }
    for (int i = 0; i < 6; ++i)
        empty.F32(0.0f);
    for (int list = 0; list < 8; ++list)
        empty.U16(0);
    empty.U16(0);

    index.U16(3).U16(2);
    return Chunks({header.Get(), profile.Get(), index.Get(), day.Get(), empty.Get()});
}

TEST_F(JournalFileTest, OldVersionsReadAndRewriteAsVersion6) {
    for (uint16_t version : {4, 5}) {
        SCOPED_TRACE(version);
        WriteFile(m_file, OldJournal(version));
        CJournalDB journal;
        SetPaths(journal);
        std::string error;
        ASSERT_TRUE(CJournalFile::Read(journal, &error)) << error;

        EXPECT_EQ(journal.Header().Version(), version);
        EXPECT_EQ(journal.Header().IdGenerator().Value(), 0x8A100020u);
        EXPECT_EQ(journal.Header().HistoryLength(), 7);
        const CUserProfile& profile = journal.Profile();
        EXPECT_EQ(profile.SecondText(), "second");
        EXPECT_EQ(profile.UserName(), "Bob");
        EXPECT_EQ(profile.GoalSummary().WeightChange(), 20.0f);
        EXPECT_EQ(profile.GoalSummary().DailyCalories(), 1167);
        EXPECT_EQ(profile.ChangeBits(), 0x0040);
        EXPECT_EQ(profile.DietPlan(), version == 5 ? 2 : 0);
        EXPECT_EQ(profile.CarbohydratePercent(), version == 5 ? 40 : 60);
        EXPECT_EQ(profile.TargetMode(), 1);

        ASSERT_EQ(journal.DayCount(), 2);
        const CDayRecord& day = journal.Day(1);
        EXPECT_EQ(day.Weight().Pounds(), 199.0f);
        EXPECT_EQ(day.ActivityLevel(), 3);
        EXPECT_EQ(day.BMR(), 2100);
        EXPECT_EQ(day.Note(), "old note");
        EXPECT_EQ(day.Water(), 4);
        EXPECT_EQ(day.ChangeBits(), 0x8000);
        EXPECT_EQ(day.Measurements().StoredPercentBodyFat(), -1.0f);
        EXPECT_EQ(day.Measurements().RawGirth(kGirthChest), version == 5 ? 21.0f : -1.0f);
        EXPECT_EQ(day.BloodPressure().Systolic(), version == 5 ? 118 : -1);
        const CDayFoodLog& log = day.FoodLog();
        EXPECT_EQ(log.TotalValue(kNutrientProtein), 6.0f);
        EXPECT_EQ(log.TotalValue(kNutrientFiber), 9.0f);
        EXPECT_EQ(log.MealEntries(kMealBreakfast).size(), 1u);
        ASSERT_EQ(log.MealEntries(kMealDinner).size(), 1u);
        EXPECT_EQ(log.MealEntries(kMealDinner)[0].Name(), "Pasta");
        EXPECT_EQ(log.MealEntries(kMealSnack)[0].Nutrients()[kNutrientProtein].Value(), 2.0f);
        ASSERT_EQ(day.Exercises().Count(), 1);
        EXPECT_EQ(day.Exercises().Entry(0).Name(), "Swim");
        if (version == 5) {
            EXPECT_EQ(day.FoodLogOffset(), 0x1234);
            EXPECT_EQ(day.ExerciseListOffset(), 0x5678);
        }
        const uint16_t readFoodOffset = day.FoodLogOffset();
        const uint16_t readExerciseOffset = day.ExerciseListOffset();

        ASSERT_TRUE(CJournalFile::Write(journal, &error)) << error;
        const std::vector<Bytes> payloads = Payloads(FileBytes(m_file));
        ASSERT_EQ(payloads.size(), 5u);
        EXPECT_EQ(payloads[0][1], 6);
        if (version == 4) {
            // The offsets a version-4 day gets are those the version-6 writer stores.
            const Bytes& written = payloads[4];
            EXPECT_EQ(readFoodOffset, written[6] << 8 | written[7]);
            EXPECT_EQ(readExerciseOffset, written[8] << 8 | written[9]);
        }
        CJournalDB again;
        SetPaths(again);
        ASSERT_TRUE(CJournalFile::Read(again, &error)) << error;
        EXPECT_EQ(again.Header().Version(), 6);
        if (version == 4) {
            EXPECT_EQ(again.Day(1).Measurements(), CBodyMeasurements());
            EXPECT_EQ(again.Day(1).BloodPressure(), CBloodPressure());
        }
        EXPECT_EQ(again.Day(1).FoodLog(), journal.Day(1).FoodLog());
        EXPECT_EQ(again.Profile(), journal.Profile());
    }
}

TEST_F(JournalFileTest, VersionAboveSixReadsAsSix) {
    CJournalDB journal = RichJournal();
    const Bytes good = CJournalFile::Pack(journal);
    Bytes bytes = good;
    bytes[9] = 7;
    CJournalDB loaded;
    ASSERT_TRUE(CJournalFile::Unpack(bytes, loaded));
    EXPECT_EQ(loaded.Header().Version(), 7);
    EXPECT_EQ(CJournalFile::Pack(loaded), good);
}

TEST_F(JournalFileTest, VersionsBelowFourAreInternalErrors) {
    CJournalDB journal = RichJournal();
    const Bytes good = CJournalFile::Pack(journal);
    for (uint8_t version : {0, 1, 2, 3}) {
        Bytes bytes = good;
        bytes[9] = version;
        CJournalDB loaded;
        EXPECT_THROW(CJournalFile::Unpack(bytes, loaded), CInternalError) << int(version);
        EXPECT_EQ(loaded.DayCount(), 0);
        // The conduit unpacks day records on their own: the same refusal.
        const Bytes dayRecord = PackDayRecord(journal.Day(1));
        CDayRecord day;
        EXPECT_THROW(UnpackDayRecord(dayRecord, version, day), CInternalError);
    }
}

// ---- damaged files ----

TEST_F(JournalFileTest, DayIndexCountingMissingDaysFailsAfterLoadingThePresentOnes) {
    CJournalDB journal = RichJournal();
    std::vector<Bytes> payloads = Payloads(CJournalFile::Pack(journal));
    payloads[2] = CBuilder().U16(3).U16(5).Get();
    CJournalDB loaded;
    std::string damage;
    EXPECT_FALSE(CJournalFile::Unpack(Chunks(payloads), loaded, &damage));
    EXPECT_NE(damage.find("counts 5 days"), std::string::npos) << damage;
    ASSERT_EQ(loaded.DayCount(), 3);
    ExpectSameDay(loaded.Day(2), journal.Day(2));

    // Records beyond those counted are not looked at.
    payloads[2] = CBuilder().U16(3).U16(1).Get();
    payloads.push_back({1, 2, 3});
    CJournalDB fewer;
    EXPECT_TRUE(CJournalFile::Unpack(Chunks(payloads), fewer));
    EXPECT_EQ(fewer.DayCount(), 1);
}

// Read takes the file record by record; it must come to what unpacking the file's bytes gives,
// whether the file is whole, cut anywhere or damaged.
TEST_F(JournalFileTest, ReadingTheFileAgreesWithUnpackingItsBytes) {
    CJournalDB journal = RichJournal();
    const Bytes good = CJournalFile::Pack(journal);
    std::vector<Bytes> files{good, OldJournal(4), OldJournal(5)};
    for (size_t size = 0; size < good.size(); ++size)
        files.emplace_back(good.begin(), good.begin() + static_cast<long>(size));
    std::vector<Bytes> payloads = Payloads(good);
    payloads[2] = CBuilder().U16(3).U16(5).Get(); // more days counted than present
    files.push_back(Chunks(payloads));
    payloads[2] = CBuilder().U16(3).U16(1).Get(); // fewer, then a stray damaged frame
    files.push_back(Chunks(payloads));
    files.back().push_back(0xFF);
    Bytes longLength = good;
    longLength[4 + 8 + 10 + 8 + Payloads(good)[1].size() + 8 + 4 + 3] = 0x40;
    files.push_back(longLength);

    for (const Bytes& bytes : files) {
        SCOPED_TRACE(::testing::Message() << bytes.size() << " bytes");
        WriteFile(m_file, bytes);
        CJournalDB read;
        SetPaths(read);
        std::string error;
        const bool readOk = CJournalFile::Read(read, &error);
        CJournalDB unpacked;
        std::string damage;
        const bool unpackedOk = CJournalFile::Unpack(bytes, unpacked, &damage);
        ASSERT_EQ(readOk, unpackedOk);
        if (!readOk) {
            EXPECT_NE(error.find(": " + damage + "."), std::string::npos) << error;
        }
        ExpectSameJournal(read, unpacked);
    }
}

TEST_F(JournalFileTest, EveryTruncationFailsWithoutReadingPastTheData) {
    CJournalDB journal = RichJournal();
    for (const Bytes& full : {CJournalFile::Pack(journal), OldJournal(4), OldJournal(5)}) {
        for (size_t size = 0; size < full.size(); ++size) {
            // A copy of exactly `size` bytes, so that a sanitizer sees any read beyond it.
            const Bytes cut(full.begin(), full.begin() + static_cast<long>(size));
            CJournalDB loaded;
            ASSERT_FALSE(CJournalFile::Unpack(cut, loaded)) << size;
        }
    }
}

TEST_F(JournalFileTest, DamagedLengthsAndValuesAreReadFailures) {
    CJournalDB journal;
    CDayRecord day(CJournalDate(5, 1, 2004));
    day.SetStoredNote("hi");
    day.FoodLog().InsertStoredEntry(Entry(0x80000001u, "Toast", kMealLunch, 50));
    day.Exercises().AppendStored(Exercise(0x80000002u, "Row", 10, 90));
    journal.InsertDay(day);
    const std::vector<Bytes> good = Payloads(CJournalFile::Pack(journal));
    const Bytes& dayPayload = good[3];
    const size_t note = 6 + 4 + 4 + 2 + 2;
    const size_t foodLog = dayPayload[7];
    const size_t lunch = foodLog + 2 + 30 + 2;
    const size_t entry = lunch + 2;
    const size_t mealType = entry + 2 + 8 + 3 + 4 + 1 + 18 + 2 + 35;
    const size_t exercises = dayPayload[9];

    struct SCase {
        const char* what;
        size_t record;
        size_t offset;
        Bytes bytes;
    };
    const std::vector<SCase> cases{
        {"profile text past the record", 1, 1, {0xFF, 0x00}},
        {"target count past the record", 1, good[1].size() - 32, {0x40, 0x00}},
        {"targets that are not the six basic ones", 1, good[1].size() - 5, {6}},
        {"short day index", 2, 0, {}},
        {"note past the record", 3, note, {0x7F, 0xFF}},
        {"totals count past the record", 3, foodLog, {0xFF, 0xFF}},
        {"meal count past the record", 3, lunch, {0x10, 0x00}},
        {"nutrient index outside the table", 3, entry + 2 + 8 + 3 + 4 + 1 + 18 + 2, {40}},
        {"meal type outside the four meals", 3, mealType, {0x00, 0x04}},
        {"exercise name past the record", 3, exercises + 2 + 11, {0x01, 0x00}},
    };
    for (const SCase& c : cases) {
        std::vector<Bytes> payloads = good;
        if (c.bytes.empty())
            payloads[c.record].resize(c.offset + 3);
        else
            std::copy(c.bytes.begin(), c.bytes.end(),
                      payloads[c.record].begin() + static_cast<long>(c.offset));
        CJournalDB loaded;
        EXPECT_FALSE(CJournalFile::Unpack(Chunks(payloads), loaded)) << c.what;
    }
    // A chunk length running past the file.
    Bytes file = Chunks(good);
    file[4 + 8 + 10 + 8 + good[1].size() + 8 + 4 + 3] = 0x40;
    CJournalDB loaded;
    EXPECT_FALSE(CJournalFile::Unpack(file, loaded));
    CJournalDB intact;
    EXPECT_TRUE(CJournalFile::Unpack(Chunks(good), intact));
}

TEST_F(JournalFileTest, DayTooLargeForItsOffsetsIsADamagedRecord) {
    CDayRecord day(CJournalDate(5, 1, 2004));
    day.FoodLog().InsertStoredEntry(Entry(0x80000001u, "Toast", kMealBreakfast, 10));
    const Bytes small = PackDayRecord(day);
    const size_t totalsEnd = day.FoodLogOffset() + 2u + 30u;
    const Bytes entry(small.begin() + static_cast<long>(totalsEnd + 2),
                      small.begin() + day.ExerciseListOffset() - 6);
    CJournalDB journal;
    const std::vector<Bytes> start = Payloads(CJournalFile::Pack(journal));

    // A desktop file may frame a longer record than 16-bit offsets can describe.
    for (size_t entries : {size_t{10}, 0x10000 / entry.size() + 1}) {
        CBuilder big;
        big.Append(Bytes(small.begin(), small.begin() + static_cast<long>(totalsEnd)));
        big.U16(static_cast<unsigned>(entries));
        for (size_t i = 0; i < entries; ++i)
            big.Append(entry);
        big.U16(0).U16(0).U16(0).U16(0);
        CJournalDB loaded;
        const Bytes file = Chunks({start[0], start[1], CBuilder().U16(3).U16(1).Get(), big.Get()});
        EXPECT_EQ(CJournalFile::Unpack(file, loaded), entries == 10) << entries;
    }
}

// ---- reading, writing and opening files ----

TEST_F(JournalFileTest, MissingFileIsAnEmptyJournalButAnUnreadableOneFails) {
    CJournalDB journal = RichJournal();
    SetPaths(journal);
    journal.SetModified();
    EXPECT_TRUE(CJournalFile::Read(journal));
    EXPECT_EQ(journal.DayCount(), 0);
    EXPECT_EQ(journal.Profile().UserName(), "");
    EXPECT_EQ(journal.FilePath(), m_file.string());
    EXPECT_FALSE(journal.IsModified());

    fs::create_directories(m_file); // a folder where the file should be
    std::string error;
    EXPECT_FALSE(CJournalFile::Read(journal, &error));
    EXPECT_FALSE(error.empty());

    CJournalDB noPath;
    EXPECT_FALSE(CJournalFile::Read(noPath));
    EXPECT_FALSE(CJournalFile::Write(noPath));
}

TEST_F(JournalFileTest, FailedWritesLeaveThePreviousFileByteIdentical) {
    CJournalDB journal = RichJournal();
    SetPaths(journal);
    ASSERT_TRUE(CJournalFile::Write(journal));
    const Bytes before = FileBytes(m_file);
    journal.Day(0).SetStoredNote("changed");
    journal.SetModified();
    const size_t size = before.size();

    const std::vector<std::pair<EFileFault, uintmax_t>> faults{
        {EFileFault::OpenTemporary, 0}, {EFileFault::Write, 0},         {EFileFault::Write, 9},
        {EFileFault::Write, size / 2},  {EFileFault::Write, size - 30}, {EFileFault::Flush, 0},
        {EFileFault::Close, 0},         {EFileFault::Rename, 0},
    };
    for (const auto& [fault, after] : faults) {
        SCOPED_TRACE(static_cast<int>(fault) * 100000 + static_cast<int>(after));
        CFileFaultInjection injection(fault, after);
        std::string error;
        EXPECT_FALSE(CJournalFile::Write(journal, &error));
        EXPECT_TRUE(injection.Triggered());
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(journal.IsModified());
        EXPECT_EQ(FileBytes(m_file), before);
        EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 1);
    }
    ASSERT_TRUE(CJournalFile::Write(journal));
    EXPECT_NE(FileBytes(m_file), before);
}

TEST_F(JournalFileTest, OpenFindsTheUsersFileAndStoresTheUserName) {
    const std::string sep(1, kPathSeparator);
    CUserDirectory users(std::make_shared<COneUserLibrary>(m_root.string() + sep),
                         SInstallPath{true, "x"});
    CJournalDB written = RichJournal();
    SetPaths(written);
    written.Profile().SetUserName("Old Name");
    ASSERT_TRUE(CJournalFile::Write(written));

    CJournalDB journal;
    ASSERT_TRUE(CJournalFile::Open(journal, users, "Ann Lee"));
    EXPECT_EQ(journal.FilePath(), m_file.string());
    EXPECT_EQ(journal.FolderPath(), m_folder.string());
    EXPECT_EQ(journal.Profile().UserName(), "Ann Lee");
    EXPECT_EQ(journal.DayCount(), 3);

    CJournalDB other = RichJournal();
    EXPECT_FALSE(CJournalFile::Open(other, users, "Bob"));
    EXPECT_EQ(other.DayCount(), 3);
    EXPECT_TRUE(other.FilePath().empty());

    // A new user without a file yet: an empty journal carrying the name.
    fs::remove(m_file);
    ASSERT_TRUE(CJournalFile::Open(journal, users, "Ann Lee"));
    EXPECT_EQ(journal.DayCount(), 0);
    EXPECT_EQ(journal.Profile().UserName(), "Ann Lee");
}

} // namespace
