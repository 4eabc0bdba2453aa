// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/clock.h"
#include "core/io/atomic_file.h"
#include "core/journal/user_data_export.h"

#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>

using namespace fitquill;
namespace fs = std::filesystem;

namespace {

const std::string kHeader =
    "Date,Weight,Meals,BMR,Exercise,Total,,Cal,Carb,Prot,Fiber,Fat,SFat\r\n";

std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

CFoodItem Food(const std::string& name, float calories, float carbohydrate, uint16_t meal) {
    CFoodItem item;
    item.SetName(name, true);
    std::vector<CNutrientValue> nutrients{
        CNutrientValue(0, calories), CNutrientValue(1, carbohydrate), CNutrientValue(2, 20.25f),
        CNutrientValue(3, 3.0f),     CNutrientValue(4, 0.04f),        CNutrientValue(5, 0.06f)};
    EXPECT_TRUE(item.SetStoredNutrients(nutrients));
    item.SetMealType(meal);
    item.SetStoredServingRatio(1.0f);
    return item;
}

// A day whose BMR the refresh keeps: activity level 0 is never recomputed.
CDayRecord Day(int day, int month, int year, float pounds, int bmr) {
    CDayRecord record(CJournalDate(day, month, year));
    if (pounds > 0)
        record.SetStoredWeight(CWeightValue::FromPounds(pounds));
    record.SetStoredActivityLevel(0);
    record.SetStoredBMR(static_cast<int16_t>(bmr));
    return record;
}

class UserDataExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        CClock::SetFixedDate(CClock::ParseIsoDate("2004-03-05"));
        m_folder = fs::temp_directory_path() /
                   ("fitquill-export-" + std::to_string(std::random_device{}()));
        fs::create_directories(m_folder);
        m_file = m_folder / "UserDB.csv";
    }
    void TearDown() override {
        CClock::SetFixedDate(std::nullopt);
        std::error_code ec;
        fs::remove_all(m_folder, ec);
    }
    fs::path m_folder, m_file;
};

TEST_F(UserDataExportTest, JournalWithoutDaysIsTheHeaderLineOnly) {
    CJournalDB journal;
    ASSERT_TRUE(CUserDataExport::Export(journal, m_file));
    EXPECT_EQ(FileText(m_file), kHeader);
}

TEST_F(UserDataExportTest, DaysInDateOrderWithTheirCalorieBalanceAndTotals) {
    CJournalDB journal;
    // 1850.7 calories eaten, BMR 1600, 300 burnt: Meals is cut, Cal rounds at 0.49.
    CDayRecord busy = Day(6, 1, 2004, 181.25f, 1600);
    busy.FoodLog().InsertStoredEntry(Food("Feast", 1850.7f, 12.0f, kMealDinner));
    CExerciseEntry run;
    run.SetName("Run");
    run.SetCalories(300);
    busy.Exercises().AppendStored(run);
    ASSERT_GE(journal.InsertDay(busy), 0);
    // Added later but dated earlier: no weight, nothing eaten.
    ASSERT_GE(journal.InsertDay(Day(5, 1, 2004, -1, 0)), 0);
    // Totals are recomputed from the entries, not taken as stored.
    CDayRecord stale = Day(12, 10, 2004, 150.0f, 1400);
    stale.FoodLog().InsertStoredEntry(Food("Soup", 99.5f, 0.5f, kMealLunch));
    stale.FoodLog().SetStoredTotals({CNutrientValue(0, 5000.0f)});
    ASSERT_GE(journal.InsertDay(stale), 0);

    ASSERT_TRUE(CUserDataExport::Export(journal, m_file));
    EXPECT_EQ(FileText(m_file), kHeader + "1/5/2004,,0,0,0,0,,0,0.0,0.0,0.0,0.0,0.0\r\n"
                                          "1/6/2004,181.300000,1850,-1600,-300,-50,,1851,12.0,"
                                          "20.3,3.0,0.0,0.1\r\n"
                                          "10/12/2004,150.000000,99,-1400,0,-1301,,100,0.5,20.3,"
                                          "3.0,0.0,0.1\r\n");
}

TEST_F(UserDataExportTest, MetricWeightsAreKilogramsRoundedToOneDecimal) {
    CJournalDB journal;
    ASSERT_TRUE(journal.Profile().SetUnitChoice(1));
    ASSERT_GE(journal.InsertDay(Day(7, 3, 2004, 150.0f, 0)), 0);
    ASSERT_GE(journal.InsertDay(Day(8, 3, 2004, 200.0f, 0)), 0);
    EXPECT_EQ(CUserDataExport::BuildText(journal),
              kHeader + "3/7/2004,68.000000,0,0,0,0,,0,0.0,0.0,0.0,0.0,0.0\r\n"
                        "3/8/2004,90.700000,0,0,0,0,,0,0.0,0.0,0.0,0.0,0.0\r\n");
}

TEST_F(UserDataExportTest, FailedExportLeavesAnOldFileAndEmptyPathFails) {
    CJournalDB journal;
    ASSERT_GE(journal.InsertDay(Day(5, 1, 2004, 150.0f, 0)), 0);
    std::ofstream(m_file) << "old contents";
    {
        CFileFaultInjection fault(EFileFault::Write, 10);
        std::string error;
        EXPECT_FALSE(CUserDataExport::Export(journal, m_file, &error));
        EXPECT_TRUE(fault.Triggered());
        EXPECT_FALSE(error.empty());
    }
    EXPECT_EQ(FileText(m_file), "old contents");
    EXPECT_FALSE(CUserDataExport::Export(journal, fs::path()));
}

} // namespace
