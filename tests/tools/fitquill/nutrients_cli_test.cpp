// SPDX-License-Identifier: GPL-3.0-or-later
// `fitquill nutrients` over a demonstration journal whose foods carry all 34 nutrients: each
// amount it prints is the sum of the day's entries.
#include "core/journal/journal_file.h"
#include "core/report/nutrient_details.h"
#include "tools/fitquill/demo_journal.h"
#include "tools/fitquill/fitquill_tool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <unistd.h>

using namespace fitquill;

namespace {

namespace fs = std::filesystem;

// The demonstration foods, each given the 28 further nutrients in amounts of its own.
CFoodDB FoodsWithAllNutrients() {
    CFoodDB db = CDemoJournal::BuiltInFoods();
    for (uint16_t g = 0; g < db.GroupCount(); ++g)
        for (uint16_t c = 0; c < db.CategoryCount(g); ++c)
            for (uint16_t i = 0; i < db.ItemCount(g, c); ++i) {
                CFoodItem item = db.GetFoodItem(g, c, i);
                std::vector<CNutrientValue> values(item.Nutrients().begin(),
                                                   item.Nutrients().end());
                for (int n = kBasicNutrientCount; n < kNutrientCount; ++n)
                    values.emplace_back(n, 0.013f * static_cast<float>((n + 3) * (i + g + 2)));
                EXPECT_TRUE(item.SetStoredNutrients(values));
                db.ReplaceFoodItem(g, c, i, item);
            }
    return db;
}

struct SRun {
    int status;
    std::string out;
    std::string err;
};

SRun RunTool(const std::vector<std::string>& arguments) {
    std::ostringstream out, err;
    const int status = CFitquillTool::Run("fitquill", arguments, out, err);
    return {status, out.str(), err.str()};
}

TEST(NutrientsCliTest, PrintsTheSumsOfADemonstrationDay) {
    const fs::path folder =
        fs::temp_directory_path() / ("fitquill-nutrients-" + std::to_string(getpid()));
    fs::create_directories(folder);
    CJournalDB journal;
    journal.SetFilePath((folder / "UserDB.ddb").string());
    journal.SetFolderPath(folder.string());
    SDemoOptions options;
    options.days = 3;
    options.lastDay = CJournalDate(15, 3, 2024);
    CDemoJournal::Fill(journal, FoodsWithAllNutrients(), options);
    std::string error;
    ASSERT_TRUE(CJournalFile::Write(journal, &error)) << error;

    const CDayRecord& day = journal.Day(1); // 2024-03-14
    ASSERT_GT(day.FoodLog().EntryCount(), 2);
    const SRun run = RunTool({"nutrients", "--journal", journal.FilePath(), "--from", "2024-03-14",
                              "--to", "2024-03-14"});
    ASSERT_EQ(run.status, 0) << run.err;
    std::istringstream lines(run.out);
    std::string line;
    std::map<std::string, std::string> amountOf;
    while (std::getline(lines, line)) {
        // A nutrient row: the name in 12 columns, a blank, the amount in 8.
        if (line.size() > 13 && line[12] == ' ')
            amountOf[line.substr(0, 12)] = line.substr(13, 8);
    }
    for (int n = 0; n < kNutrientCount; ++n) {
        double sum = 0.0;
        for (int meal = 0; meal < kMealCount; ++meal)
            for (const CFoodItem& entry : day.FoodLog().MealEntries(meal))
                sum += entry.NutrientValue(n);
        char name[13];
        std::snprintf(name, sizeof name, "%-12s", NutrientInfo(n).name);
        ASSERT_TRUE(amountOf.count(name)) << name << "\n" << run.out;
        char expected[9];
        std::snprintf(expected, sizeof expected, "%8s", NutrientAmountText(n, sum).c_str());
        EXPECT_EQ(amountOf[name], expected) << name;
    }
    EXPECT_NE(run.out.find("\nThursday March 14, 2024\n"), std::string::npos);

    // Refused: one end of the range only, an end before the start, a missing journal.
    EXPECT_EQ(
        RunTool({"nutrients", "--journal", journal.FilePath(), "--from", "2024-03-14"}).status, 1);
    EXPECT_EQ(RunTool({"nutrients", "--journal", journal.FilePath(), "--from", "2024-03-14", "--to",
                       "2024-03-13"})
                  .err,
              "The date 2024-03-13 lies before 2024-03-14.\n");
    EXPECT_EQ(RunTool({"nutrients", "--journal", (folder / "none.ddb").string()}).status, 1);
    fs::remove_all(folder);
}

} // namespace
