// SPDX-License-Identifier: GPL-3.0-or-later
// The handheld databases the build made, read back as a handheld's files.
#include "tools/handheld_data/handheld_database_builder.h"

#include "conduit/conduit_api.h"
#include "core/food/food_db_file.h"
#include "core/io/atomic_file.h"
#include "core/journal/journal_records.h"

#include <gtest/gtest.h>

using namespace fitquill;
namespace fs = std::filesystem;

namespace {

const fs::path kFolder = FITQUILL_HANDHELD_DATA_DIR;

CPalmDatabase LoadBuilt(const char* file, const std::string& name) {
    CPalmDatabase db;
    std::string error;
    EXPECT_TRUE(db.Load(kFolder / file, &error)) << error;
    EXPECT_EQ(db.Name(), name);
    EXPECT_EQ(db.Type(), PalmFourCC("DATA"));
    EXPECT_EQ(db.Creator(), kConduitCreator);
    EXPECT_FALSE(db.IsResourceDb());
    return db;
}

std::vector<std::span<const uint8_t>> Spans(const CPalmDatabase& db) {
    std::vector<std::span<const uint8_t>> spans;
    for (const auto& record : db.Records())
        spans.emplace_back(record.data);
    return spans;
}

TEST(HandheldDatabaseBuilderTest, JournalIsANewJournalWithoutChangeBits) {
    const CPalmDatabase db =
        LoadBuilt(CHandheldDatabaseBuilder::kJournalFileName, kJournalRemoteDatabase);
    ASSERT_EQ(db.Records().size(), 3u);
    CJournalDB journal;
    ASSERT_TRUE(UnpackJournalRecords(Spans(db), journal));
    EXPECT_EQ(journal.DayCount(), 0);
    EXPECT_EQ(journal.Header().Version(), 6);
    // Packing after clearing every change bit gives the same bytes only when none was set.
    CJournalDB cleared = journal;
    cleared.ClearAllChangeBits();
    EXPECT_EQ(PackJournalRecords(cleared), PackJournalRecords(journal));
}

TEST(HandheldDatabaseBuilderTest, FoodHoldsTheDefaultFoodDatabaseRecordForRecord) {
    const CPalmDatabase db =
        LoadBuilt(CHandheldDatabaseBuilder::kFoodFileName, kFoodRemoteDatabase);
    const auto file = ReadWholeFile(FITQUILL_DEFAULT_FOOD_DB);
    ASSERT_TRUE(file.has_value());
    CFoodDB food;
    ASSERT_EQ(CFoodDBFile::Unpack(*file, food), EFoodLoadResult::Loaded);
    size_t expected = 2 + food.GroupCount();
    for (uint16_t group = 0; group < food.GroupCount(); ++group)
        expected += food.CategoryCount(group);
    ASSERT_GT(food.GroupCount(), 0);
    ASSERT_EQ(db.Records().size(), expected);

    food.ClearModifiedFlags();
    const auto records = CFoodDBFile::PackRecords(food);
    for (size_t i = 0; i < records.size(); ++i)
        ASSERT_EQ(db.Records()[i].data, records[i]) << "record " << i;
    CFoodDB unpacked;
    EXPECT_EQ(CFoodDBFile::UnpackRecords(Spans(db), unpacked), EFoodLoadResult::Loaded);
}

TEST(HandheldDatabaseBuilderTest, RefusesAFoodFileThatCannotBeReadWhole) {
    const CHandheldDatabaseBuilder builder(0);
    const std::vector<uint8_t> damaged = {1, 0, 0, 0, 200, 0, 0, 0, 0, 6};
    std::string error;
    EXPECT_FALSE(builder.Food(damaged, &error).has_value());
    EXPECT_FALSE(error.empty());
}

} // namespace
