// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/journal_db.h"

#include "core/clock.h"
#include "core/internal_error.h"

#include <gtest/gtest.h>

using namespace fitquill;

namespace {

CJournalDate Date(int day, int month, int year = 2024) {
    return CJournalDate(day, month, year);
}

class JournalDBTest : public testing::Test {
protected:
    void SetUp() override {
        // Friday 15 March 2024.
        CClock::SetFixedDate(CClock::ParseIsoDate("2024-03-15"));
        journal.Clear();
        CUserProfile& profile = journal.Profile();
        profile.SetHeightCentimetres(180);
        profile.SetAge(30);
        profile.ClearChangeBits();
    }
    void TearDown() override { CClock::SetFixedDate(std::nullopt); }

    // Adds a record for the date (not today, so no automatic creation interferes).
    CDayRecord& AddDay(const CJournalDate& date, double pounds = 0) {
        journal.GoToDate(date);
        CDayRecord* day = journal.CurrentDay(true);
        EXPECT_NE(day, nullptr);
        if (pounds > 0)
            day->SetWeight(pounds, false, journal.Profile());
        return *day;
    }

    std::vector<CJournalDate> Dates() const {
        std::vector<CJournalDate> dates;
        for (const CDayRecord& day : journal.Days())
            dates.push_back(day.Date());
        return dates;
    }

    CJournalDB journal;
};

} // namespace

TEST_F(JournalDBTest, NewJournalIsEmptyOnToday) {
    const CJournalDB fresh;
    EXPECT_EQ(fresh.DayCount(), 0);
    EXPECT_EQ(fresh.CurrentDate(), Date(15, 3));
    EXPECT_FALSE(fresh.CurrentDayExists());
    EXPECT_EQ(fresh.CurrentRecordNumber(), 3);
    EXPECT_EQ(fresh.StatusText(), "Record: -- of 0");
    EXPECT_FALSE(fresh.IsModified());
    EXPECT_EQ(fresh.Header().Version(), 6);
    EXPECT_EQ(fresh.Header().Reserved(), 0);
    EXPECT_EQ(fresh.Header().HistoryLength(), 0);
    EXPECT_EQ(fresh.Header().IdGenerator(), CIdGenerator::Seeded(Date(15, 3)));
    EXPECT_EQ(fresh.DayIndex(), CDayIndex(3, 0));
    EXPECT_EQ(fresh.Profile(), CUserProfile());
}

TEST_F(JournalDBTest, TodaysRecordIsCreatedFromAnEarlierWeight) {
    AddDay(Date(10, 3), 176.4);
    journal.GoToDate(Date(15, 3));
    ASSERT_FALSE(journal.CurrentDayExists());

    CDayRecord* today = journal.CurrentDay(false);
    ASSERT_NE(today, nullptr);
    EXPECT_EQ(journal.DayCount(), 2);
    EXPECT_EQ(today->Date(), Date(15, 3));
    EXPECT_EQ(today->Weight().Pounds(), 176.4f);
    EXPECT_EQ(today->ActivityLevel(), 2);
    EXPECT_EQ(today->BMR(), 2229);
    EXPECT_EQ(journal.StatusText(), "Record: 2 of 2");
}

TEST_F(JournalDBTest, OtherDaysAreNotCreatedWithoutTheCreateFlag) {
    AddDay(Date(10, 3), 176.4);
    journal.GoToDate(Date(14, 3));
    EXPECT_EQ(journal.CurrentDay(false), nullptr);
    EXPECT_EQ(journal.DayCount(), 1);
}

TEST_F(JournalDBTest, ProfileWeightCreatesTodayOnlyFrom100) {
    struct {
        double pounds;
        bool created;
    } rows[] = {{95, false}, {99.9, false}, {100, true}, {150, true}};
    for (const auto& row : rows) {
        journal.DeleteAllDays(true);
        journal.Profile().SetStartingWeight(row.pounds, false);
        CDayRecord* today = journal.CurrentDay(false);
        EXPECT_EQ(today != nullptr, row.created) << row.pounds;
        EXPECT_EQ(journal.DayCount(), row.created ? 1 : 0) << row.pounds;
        if (today) {
            EXPECT_EQ(today->Weight().Pounds(), static_cast<float>(row.pounds));
            EXPECT_GT(today->BMR(), 0);
        }
    }
    // Nothing known at all: no record.
    journal.DeleteAllDays(true);
    journal.Profile().SetStartingWeight(CWeightValue());
    EXPECT_EQ(journal.CurrentDay(false), nullptr);
}

TEST_F(JournalDBTest, NextDayFrom31DecemberGoesToTheNextYear) {
    AddDay(Date(31, 12, 2023));
    journal.NextDay();
    EXPECT_EQ(journal.CurrentDate(), Date(1, 1, 2024));
    EXPECT_FALSE(journal.CurrentDayExists());
    EXPECT_EQ(journal.CurrentRecordNumber(), 4);

    AddDay(Date(1, 1, 2024));
    journal.GoToDate(Date(31, 12, 2023));
    journal.NextDay();
    EXPECT_TRUE(journal.CurrentDayExists());
    EXPECT_EQ(journal.CurrentRecordNumber(), 4);
    journal.PreviousDay();
    EXPECT_EQ(journal.CurrentDate(), Date(31, 12, 2023));
    EXPECT_EQ(journal.CurrentRecordNumber(), 3);
}

TEST_F(JournalDBTest, GoToDateFindsRecordsAndInsertionPoints) {
    // Odd and even counts, so the upper-middle probing meets both shapes.
    for (int extra = 0; extra < 2; ++extra) {
        journal.DeleteAllDays(true);
        for (int day : {5, 10, 20})
            AddDay(Date(day, 3));
        if (extra)
            AddDay(Date(25, 3));
        const int count = journal.DayCount();
        const struct {
            int day;
            bool exists;
            int record;
        } rows[] = {{1, false, 3}, {5, true, 3},   {7, false, 4},
                    {10, true, 4}, {15, false, 5}, {20, true, 5}};
        for (const auto& row : rows) {
            journal.GoToDate(Date(row.day, 3));
            EXPECT_EQ(journal.CurrentDayExists(), row.exists) << row.day;
            EXPECT_EQ(journal.CurrentRecordNumber(), row.record) << row.day;
            EXPECT_EQ(journal.CurrentDate(), Date(row.day, 3));
        }
        journal.GoToDate(Date(28, 3));
        EXPECT_FALSE(journal.CurrentDayExists());
        EXPECT_EQ(journal.CurrentRecordNumber(), 3 + count);
    }
}

TEST_F(JournalDBTest, ProbedRecordsAreRefreshed) {
    AddDay(Date(10, 3), 176.4);
    ASSERT_EQ(journal.Day(0).BMR(), 2229);
    journal.Profile().SetAge(40); // 68 calories less before the factor
    journal.GoToDate(Date(10, 3));
    EXPECT_EQ(journal.CurrentRecord()->BMR(), 2148); // 1790 x 1.2f
}

TEST_F(JournalDBTest, FirstLastAndGoToRecord) {
    journal.FirstDay();
    EXPECT_FALSE(journal.CurrentDayExists());
    EXPECT_EQ(journal.CurrentRecordNumber(), 3);
    EXPECT_FALSE(journal.GoToRecord(0));

    for (int day : {5, 10, 20})
        AddDay(Date(day, 3));
    journal.FirstDay();
    EXPECT_EQ(journal.CurrentDate(), Date(5, 3));
    EXPECT_EQ(journal.StatusText(), "Record: 1 of 3");
    journal.LastDay();
    EXPECT_EQ(journal.CurrentDate(), Date(20, 3));
    EXPECT_EQ(journal.CurrentRecordNumber(), 5);

    EXPECT_TRUE(journal.GoToRecord(1));
    EXPECT_EQ(journal.CurrentDate(), Date(10, 3));
    EXPECT_TRUE(journal.GoToRecord(0, true));
    EXPECT_EQ(journal.CurrentDate(), Date(20, 3));
    EXPECT_TRUE(journal.GoToRecord(2, true));
    EXPECT_EQ(journal.CurrentDate(), Date(5, 3));
    EXPECT_FALSE(journal.GoToRecord(3));
    EXPECT_FALSE(journal.GoToRecord(-1));
    EXPECT_EQ(journal.CurrentDate(), Date(5, 3));
}

TEST_F(JournalDBTest, RangeLookupFindsFirstAndLastWithoutMoving) {
    for (int day : {5, 10, 20})
        AddDay(Date(day, 3));
    journal.GoToDate(Date(7, 3));

    const struct {
        int start, end;
        bool found;
        int first, last;
    } rows[] = {{1, 31, true, 0, 2},   {5, 5, true, 0, 0},      {6, 19, true, 1, 1},
                {10, 20, true, 1, 2},  {11, 19, false, -1, -1}, {21, 31, false, -1, -1},
                {20, 5, false, -1, -1}};
    for (const auto& row : rows) {
        int first = 99;
        int last = 99;
        EXPECT_EQ(journal.RangeLookup(Date(row.start, 3), Date(row.end, 3), first, last), row.found)
            << row.start << "-" << row.end;
        EXPECT_EQ(first, row.first) << row.start << "-" << row.end;
        EXPECT_EQ(last, row.last) << row.start << "-" << row.end;
    }
    EXPECT_EQ(journal.CurrentDate(), Date(7, 3));
    EXPECT_EQ(journal.CurrentRecordNumber(), 4);
}

TEST_F(JournalDBTest, DeleteRangeKeepsTheCurrentDate) {
    for (int day : {5, 10, 12, 20})
        AddDay(Date(day, 3));
    journal.GoToDate(Date(20, 3));
    EXPECT_EQ(journal.DeleteRange(Date(6, 3), Date(12, 3)), 2);
    EXPECT_EQ(Dates(), (std::vector<CJournalDate>{Date(5, 3), Date(20, 3)}));
    EXPECT_EQ(journal.CurrentDate(), Date(20, 3));
    EXPECT_TRUE(journal.CurrentDayExists());
    EXPECT_EQ(journal.CurrentRecordNumber(), 4);

    EXPECT_EQ(journal.DeleteRange(Date(6, 3), Date(19, 3)), 0);
    EXPECT_EQ(journal.DeleteRange(Date(20, 3), Date(5, 3)), 0);
    EXPECT_EQ(journal.DeleteRange(Date(20, 3), Date(20, 3)), 1);
    EXPECT_FALSE(journal.CurrentDayExists());
    EXPECT_EQ(journal.CurrentRecordNumber(), 4);
}

TEST_F(JournalDBTest, DeleteCurrentDayLeavesTheInsertionPoint) {
    for (int day : {5, 10, 20})
        AddDay(Date(day, 3));
    journal.GoToDate(Date(10, 3));
    EXPECT_TRUE(journal.DeleteCurrentDay());
    EXPECT_FALSE(journal.CurrentDayExists());
    EXPECT_EQ(journal.CurrentRecordNumber(), 4);
    EXPECT_FALSE(journal.DeleteCurrentDay());
    EXPECT_EQ(journal.DayCount(), 2);
    EXPECT_EQ(journal.StatusText(), "Record: -- of 2");
}

TEST_F(JournalDBTest, DeleteAllDaysWithOrWithoutTheProfile) {
    CUserProfile& profile = journal.Profile();
    profile.SetStartingWeight(150, false);
    profile.SetGoalWeight(140, false);
    profile.ClearChangeBits();
    journal.Header().SetReserved(7);
    AddDay(Date(5, 3), 160);
    AddDay(Date(20, 3), 158);
    const CUserProfile before = profile;

    journal.DeleteAllDays(true);
    EXPECT_EQ(journal.DayCount(), 0);
    EXPECT_EQ(journal.Profile(), before);
    EXPECT_EQ(journal.Header().Reserved(), 7);
    EXPECT_EQ(journal.CurrentDate(), Date(15, 3));
    EXPECT_FALSE(journal.CurrentDayExists());

    AddDay(Date(5, 3), 160);
    journal.DeleteAllDays(false);
    EXPECT_EQ(journal.DayCount(), 0);
    EXPECT_EQ(journal.Header().Reserved(), 0);
    EXPECT_EQ(journal.Profile().Age(), -1);
    EXPECT_FALSE(journal.Profile().StartingWeight().IsSet());
    EXPECT_EQ(journal.Profile().ChangeBits(), 0xFFF0);
    EXPECT_EQ(journal.CurrentDate(), Date(15, 3));
}

TEST_F(JournalDBTest, LatestWeightSaysWhereItCameFrom) {
    EXPECT_FALSE(journal.LatestWeight());
    journal.Profile().SetStartingWeight(150, false);
    auto latest = journal.LatestWeight();
    ASSERT_TRUE(latest);
    EXPECT_TRUE(latest->fromProfile);
    EXPECT_EQ(latest->weight.Pounds(), 150.0f);

    AddDay(Date(5, 3), 160);
    AddDay(Date(8, 3));
    AddDay(Date(20, 3), 170);
    const struct {
        int day;
        float pounds;
        bool fromProfile;
    } rows[] = {
        {4, 150, true},   // before every weighed day
        {5, 160, false},  // the day's own weight
        {8, 160, false},  // a day without weight looks back (carried on adding: 160)
        {12, 160, false}, // no record: the nearest earlier day, not the later one
        {20, 170, false}, {25, 170, false},
    };
    for (const auto& row : rows) {
        journal.GoToDate(Date(row.day, 3));
        latest = journal.LatestWeight();
        ASSERT_TRUE(latest) << row.day;
        EXPECT_EQ(latest->weight.Pounds(), row.pounds) << row.day;
        EXPECT_EQ(latest->fromProfile, row.fromProfile) << row.day;
    }
}

TEST_F(JournalDBTest, CurrentWeightNeedsARecordWithWeight) {
    journal.Profile().SetStartingWeight(150, false);
    journal.GoToDate(Date(5, 3));
    EXPECT_FALSE(journal.CurrentWeight());
    CDayRecord& day = AddDay(Date(5, 3)); // carries the profile weight
    ASSERT_TRUE(journal.CurrentWeight());
    EXPECT_EQ(journal.CurrentWeight()->Pounds(), 150.0f);
    day.SetWeight(CWeightValue(), journal.Profile());
    EXPECT_FALSE(journal.CurrentWeight());
}

TEST_F(JournalDBTest, AddDayCarriesTheLatestWeightThroughTheSetter) {
    AddDay(Date(5, 3), 176.4);
    journal.GoToDate(Date(9, 3));
    ASSERT_TRUE(journal.AddDay());
    const CDayRecord& added = *journal.CurrentRecord();
    EXPECT_EQ(added.Date(), Date(9, 3));
    EXPECT_EQ(added.Weight().Pounds(), 176.4f);
    EXPECT_EQ(added.ActivityLevel(), 2);
    EXPECT_EQ(added.BMR(), 2229);
    EXPECT_TRUE(added.ChangeBits() & CDayRecord::kChangeWeight);
    EXPECT_FALSE(journal.AddDay());
    EXPECT_EQ(journal.DayCount(), 2);
}

TEST_F(JournalDBTest, EntriesTakeIdsFromTheJournal) {
    CDayRecord& day = AddDay(Date(5, 3));
    const uint32_t seed = journal.Header().IdGenerator().Value();
    CFoodItem toast;
    toast.SetName("Toast", true);
    CExerciseEntry walk;
    walk.SetName("Walk");
    day.FoodLog().AddEntry(kSortByMeal, toast, journal.IdGenerator());
    day.Exercises().Add(walk, journal.IdGenerator());
    EXPECT_EQ(day.FoodLog().MealEntries(kMealBreakfast)[0].Id(), seed + 1);
    EXPECT_EQ(day.Exercises().Entry(0).Id(), seed + 2);
    EXPECT_EQ(journal.Header().IdGenerator().Value(), seed + 2);
}

TEST_F(JournalDBTest, ClearAllChangeBitsReachesProfileDaysAndEntries) {
    CDayRecord& day = AddDay(Date(5, 3), 160);
    day.BloodPressure().SetSystolic(120);
    CExerciseEntry walk;
    day.Exercises().Add(walk, journal.IdGenerator());
    journal.Profile().SetSex(1);
    AddDay(Date(6, 3), 161);

    journal.ClearAllChangeBits();
    EXPECT_EQ(journal.Profile().ChangeBits(), 0);
    for (const CDayRecord& d : journal.Days())
        EXPECT_FALSE(d.HasChanges());
}

TEST_F(JournalDBTest, ClearStartsAFreshJournalAndKeepsThePaths) {
    journal.SetFilePath("/data/Pat/Fitquill/UserDB.ddb");
    AddDay(Date(5, 3), 160);
    journal.Profile().SetAge(50);
    journal.Header().SetHistoryLength(30);
    journal.SetModified();
    ASSERT_TRUE(journal.IsModified());

    journal.Clear();
    EXPECT_EQ(journal.DayCount(), 0);
    EXPECT_EQ(journal.Profile(), CUserProfile());
    EXPECT_EQ(journal.Profile().ChangeBits(), 0);
    EXPECT_EQ(journal.Header().HistoryLength(), 0);
    EXPECT_FALSE(journal.IsModified());
    EXPECT_EQ(journal.CurrentDate(), Date(15, 3));
    EXPECT_EQ(journal.FilePath(), "/data/Pat/Fitquill/UserDB.ddb");
}

TEST_F(JournalDBTest, InsertDayFilesByDateAndThePositionFollows) {
    journal.GoToDate(Date(10, 3));
    EXPECT_EQ(journal.InsertDay(CDayRecord(Date(20, 3))), 0);
    EXPECT_EQ(journal.InsertDay(CDayRecord(Date(5, 3))), 0);
    EXPECT_EQ(journal.CurrentRecordNumber(), 4);
    EXPECT_EQ(journal.InsertDay(CDayRecord(Date(10, 3))), 1);
    EXPECT_TRUE(journal.CurrentDayExists());
    EXPECT_EQ(journal.CurrentRecordNumber(), 4);
    EXPECT_EQ(Dates(), (std::vector<CJournalDate>{Date(5, 3), Date(10, 3), Date(20, 3)}));
    EXPECT_EQ(journal.FindDay(Date(20, 3)), 2);
    EXPECT_EQ(journal.FindDay(Date(21, 3)), -1);
    EXPECT_EQ(journal.DayIndex(), CDayIndex(3, 3));
    EXPECT_THROW(journal.Day(3), CInternalError);
}
