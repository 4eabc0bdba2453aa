// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/food_csv.h"

#include "core/clock.h"
#include "core/food/food_db_file.h"
#include "core/internal_error.h"
#include "core/io/atomic_file.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace fitquill;
namespace fs = std::filesystem;

namespace {

const std::string kAppleLine =
    "Apple,Apple,1.00,item,Y,0.00,,N,72,19.1,3.3,0.4,0.2,0.0,Fruits+ Fruit Juice,Fresh,\r\n";

// An item the way the food dialog builds one: the serving is one of the base measures.
CFoodItem MakeItem(const std::string& name, const std::string& searchName,
                   const CServingMeasure& volume, const CServingMeasure& weight, bool weightServing,
                   std::vector<float> nutrients) {
    CFoodItem item;
    item.SetName(name, false);
    item.SetSearchName(searchName);
    if (weight.Amount() > 0)
        item.SetBaseMeasure(weight, true);
    if (volume.Amount() > 0)
        item.SetBaseMeasure(volume, true);
    item.SetServing(weightServing ? weight : volume);
    for (int i = 0; i < static_cast<int>(nutrients.size()); ++i)
        item.SetNutrientValue(i, nutrients[static_cast<size_t>(i)]);
    return item;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// A line built field by field; fields are joined with commas and the line gets its CR LF.
std::string Line(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& field : fields)
        line += field + ",";
    return line + "\r\n";
}

std::string FoodLine(const std::string& name, const std::string& category = "Fresh",
                     const std::string& calories = "50") {
    return Line({name, name, "1.00", "item", "Y", "0.00", "", "N", calories, "1.0", "2.0", "3.0",
                 "4.0", "0.5", "Fruits+ Fruit Juice", category});
}

class FoodCsvTest : public testing::Test {
protected:
    void SetUp() override {
        CClock::SetFixedDate(CClock::ParseIsoDate("2004-03-05"));
        m_folder = fs::temp_directory_path() /
                   ("fitquill_food_csv_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override {
        fs::remove_all(m_folder);
        CClock::SetFixedDate(std::nullopt);
    }

    // "Fruits, Fruit Juice" with the categories "Dried" (Raisins) and "Fresh" (Apple,
    // "Banana, ripe" and Grapes, whose stored serving ratio is 2), and "Dairy"/"Cheese"/Brie.
    static void Fill(CFoodDB& db) {
        const int fruits = db.AddGroup(CFoodGroup("Fruits, Fruit Juice"));
        ASSERT_EQ(fruits, 0);
        ASSERT_EQ(db.AddCategory(0, CFoodCategory("Fresh")), 0);
        ASSERT_EQ(db.AddCategory(0, CFoodCategory("Dried")), 0);
        ASSERT_EQ(db.AddFoodItem(0, 1,
                                 MakeItem("Apple", "Apple", CServingMeasure(1, kUnitItem), {},
                                          false, {72.4f, 19.14f, 0.36f, 3.33f, 0.2f, 0.04f})),
                  0);
        ASSERT_EQ(db.AddFoodItem(0, 1,
                                 MakeItem("Banana, ripe", "banana", CServingMeasure(1, kUnitCup),
                                          CServingMeasure(150, kUnitGram), true,
                                          {133.6f, 34.26f, 1.6f, 3.9f, 0.5f, 0.17f})),
                  1);
        CFoodItem grapes = MakeItem("Grapes", "Grapes, green", CServingMeasure(0.5f, kUnitCup), {},
                                    false, {50, 13.5f, 0.5f, 0.75f, 0.1f, 0});
        grapes.SetStoredServingRatio(2.0f);
        ASSERT_EQ(db.AddFoodItem(0, 1, grapes), 2);
        ASSERT_EQ(db.AddFoodItem(0, 0,
                                 MakeItem("Raisins", "Raisins", {}, CServingMeasure(1, kUnitOz),
                                          true, {85, 22.5f, 0.9f, 1.1f, 0.1f, 0})),
                  0);
        ASSERT_EQ(db.AddGroup(CFoodGroup("Dairy")), 0);
        ASSERT_EQ(db.AddCategory(0, CFoodCategory("Cheese")), 0);
        ASSERT_EQ(db.AddFoodItem(0, 0,
                                 MakeItem("Brie", "Brie", {}, CServingMeasure(1, kUnitOz), true,
                                          {95, 0.1f, 5.9f, 0, 7.9f, 4.9f})),
                  0);
    }

    fs::path m_folder;
};

const std::string kFreshText =
    "Apple,Apple,1.00,item,Y,0.00,,N,72,19.1,3.3,0.4,0.2,0.0,Fruits+ Fruit Juice,Fresh,\r\n"
    "Banana+ ripe,banana,1.00,cup,N,150.00,g,Y,134,34.3,3.9,1.6,0.5,0.2,Fruits+ Fruit "
    "Juice,Fresh,\r\n"
    "Grapes,Grapes+ green,0.50,cup,Y,0.00,,N,100,27.0,1.5,1.0,0.2,0.0,Fruits+ Fruit "
    "Juice,Fresh,\r\n";
const std::string kDriedText =
    "Raisins,Raisins,0.00,,N,1.00,oz,Y,85,22.5,1.1,0.9,0.1,0.0,Fruits+ Fruit Juice,Dried,\r\n";
const std::string kDairyText =
    "Brie,Brie,0.00,,N,1.00,oz,Y,95,0.1,0.0,5.9,7.9,4.9,Dairy,Cheese,\r\n";

} // namespace

TEST_F(FoodCsvTest, ExportFilesHoldExactlyTheLinesOfTheirScope) {
    CFoodDB db;
    Fill(db);
    const fs::path path = m_folder / "out.csv";

    ASSERT_TRUE(CFoodCsv::ExportCategory(db, path, 1, 1));
    EXPECT_EQ(ReadText(path), kFreshText);
    ASSERT_TRUE(CFoodCsv::ExportGroup(db, path, 1));
    EXPECT_EQ(ReadText(path), kDriedText + kFreshText);
    ASSERT_TRUE(CFoodCsv::ExportAll(db, path));
    EXPECT_EQ(ReadText(path), kDairyText + kDriedText + kFreshText);

    // An empty scope writes an empty file.
    ASSERT_EQ(db.AddGroup(CFoodGroup("Empty")), 1);
    ASSERT_TRUE(CFoodCsv::ExportGroup(db, path, 1));
    EXPECT_EQ(ReadText(path), "");
}

TEST_F(FoodCsvTest, CategoryRoundTripInMode2KeepsEveryItem) {
    CFoodDB db;
    Fill(db);
    const fs::path path = m_folder / "fresh.csv";
    ASSERT_TRUE(CFoodCsv::ExportCategory(db, path, 1, 1));
    const std::vector<CFoodItem> before = db.GetCategory(1, 1).Items();
    db.ClearModifiedFlags();

    const SFoodImportResult result = CFoodCsv::Import(db, path, EFoodImportMode::ImportedWins);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.lineNumber, 4);
    ASSERT_EQ(db.GroupCount(), 2);
    ASSERT_EQ(db.CategoryCount(1), 2);
    const std::vector<CFoodItem>& after = db.GetCategory(1, 1).Items();
    ASSERT_EQ(after.size(), before.size());
    // Calories, carbohydrate, protein, fibre, fat, saturated fat as the exported text has them.
    const std::vector<std::vector<float>> exported = {{72, 19.1f, 0.4f, 3.3f, 0.2f, 0.0f},
                                                      {134, 34.3f, 1.6f, 3.9f, 0.5f, 0.2f},
                                                      {100, 27.0f, 1.0f, 1.5f, 0.2f, 0.0f}};
    for (size_t i = 0; i < after.size(); ++i) {
        SCOPED_TRACE(before[i].Name());
        EXPECT_EQ(after[i].Id(), before[i].Id());
        EXPECT_EQ(after[i].Name(), before[i].Name());
        EXPECT_EQ(after[i].SearchName(), before[i].SearchName());
        EXPECT_EQ(after[i].VolumeOrItemMeasure(), before[i].VolumeOrItemMeasure());
        EXPECT_EQ(after[i].WeightMeasure(), before[i].WeightMeasure());
        EXPECT_EQ(after[i].Serving(), before[i].Serving());
        EXPECT_EQ(after[i].Serving().UnitSet(), before[i].Serving().UnitSet());
        EXPECT_EQ(after[i].Modified(), 1);
        EXPECT_FLOAT_EQ(after[i].ServingRatio(), 1.0f);
        for (int n = 0; n < 6; ++n)
            EXPECT_FLOAT_EQ(after[i].NutrientValue(n), exported[i][static_cast<size_t>(n)])
                << "nutrient " << n;
    }
    // The other category and group are untouched.
    EXPECT_EQ(db.GetCategory(1, 0).Items()[0].Modified(), 0);
    EXPECT_EQ(db.GetFoodItem(0, 0, 0).Modified(), 0);

    // Exported again, the text is the same.
    EXPECT_EQ(CFoodCsv::ExportText(db, 1, 1), kFreshText);
}

TEST_F(FoodCsvTest, AppleLineCreatesItsGroupAndCategory) {
    CFoodDB db;
    ASSERT_EQ(db.AddGroup(CFoodGroup("Dairy")), 0);
    const SFoodImportResult result =
        CFoodCsv::ImportText(db, kAppleLine, EFoodImportMode::ImportedWins);
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(db.GroupCount(), 2);
    const int group = db.FindGroup("Fruits, Fruit Juice");
    ASSERT_GE(group, 0);
    const int category = db.FindCategory(static_cast<uint16_t>(group), "Fresh");
    ASSERT_EQ(category, 0);
    ASSERT_EQ(db.ItemCount(static_cast<uint16_t>(group), 0), 1);
    const CFoodItem& apple = db.GetFoodItem(static_cast<uint16_t>(group), 0, 0);
    EXPECT_EQ(apple.Name(), "Apple");
    EXPECT_EQ(apple.SearchName(), "Apple");
    EXPECT_EQ(apple.Serving(), CServingMeasure(1, kUnitItem));
    EXPECT_EQ(apple.VolumeOrItemMeasure(), CServingMeasure(1, kUnitItem));
    EXPECT_EQ(apple.WeightMeasure(), CServingMeasure());
    EXPECT_EQ(apple.Serving().UnitSet(), 3);
    EXPECT_FLOAT_EQ(apple.NutrientValue(kNutrientCalories), 72);
    EXPECT_FLOAT_EQ(apple.NutrientValue(kNutrientCarbohydrate), 19.1f);
    EXPECT_FLOAT_EQ(apple.NutrientValue(kNutrientFiber), 3.3f);
    EXPECT_FLOAT_EQ(apple.NutrientValue(kNutrientProtein), 0.4f);
    EXPECT_FLOAT_EQ(apple.NutrientValue(kNutrientFat), 0.2f);
    EXPECT_FLOAT_EQ(apple.NutrientValue(kNutrientSaturatedFat), 0.0f);
    EXPECT_EQ(apple.Modified(), 1);

    // Imported again the group and category are found, not added twice.
    ASSERT_TRUE(CFoodCsv::ImportText(db, kAppleLine, EFoodImportMode::ImportedWins).ok);
    EXPECT_EQ(db.GroupCount(), 2);
    EXPECT_EQ(db.CategoryCount(static_cast<uint16_t>(group)), 1);
    EXPECT_EQ(db.ItemCount(static_cast<uint16_t>(group), 0), 1);
}

TEST_F(FoodCsvTest, NameWithCommaSurvivesTheRoundTrip) {
    CFoodDB db;
    Fill(db);
    const std::optional<std::string> text = CFoodCsv::ExportText(db);
    ASSERT_TRUE(text);
    CFoodDB copy;
    ASSERT_TRUE(CFoodCsv::ImportText(copy, *text, EFoodImportMode::ReplaceDatabase).ok);
    EXPECT_EQ(copy.FindGroup("Fruits, Fruit Juice"), 1);
    EXPECT_EQ(copy.FindFoodItem(1, 1, "Banana, ripe"), 1);
    EXPECT_EQ(copy.GetFoodItem(1, 1, 2).SearchName(), "Grapes, green");
    EXPECT_EQ(CFoodCsv::ExportText(copy), text);
}

// Every bad line fails with its own number; the lines before it stay imported.
TEST_F(FoodCsvTest, BadLinesFailOnTheirLineNumber) {
    const std::string good = FoodLine("Pear") + FoodLine("Plum");
    struct SCase {
        const char* label;
        std::string line;
    };
    const std::string overlongName(21, 'x');
    std::string overlongLine = FoodLine("Long");
    overlongLine.insert(overlongLine.find(",Fruits"), 1025 - overlongLine.size(), ' ');
    const std::vector<SCase> cases = {
        {"unit with a capital", Line({"Kiwi", "Kiwi", "1.00", "Cup", "Y", "0.00", "", "N", "40",
                                      "1", "1", "1", "1", "1", "Fruits", "Fresh"})},
        {"no serving marked", Line({"Kiwi", "Kiwi", "1.00", "item", "N", "0.00", "", "N", "40", "1",
                                    "1", "1", "1", "1", "Fruits", "Fresh"})},
        {"empty calories", FoodLine("Kiwi", "Fresh", "")},
        {"blank calories", FoodLine("Kiwi", "Fresh", "  ")},
        {"line feed alone", "Kiwi,Kiwi,1.00,item,Y,0.00,,N,40,1,1,1,1,1,Fruits,Fresh,\n"},
        {"fifteen fields", Line({"Kiwi", "Kiwi", "1.00", "item", "Y", "0.00", "", "N", "40", "1",
                                 "1", "1", "1", "1", "Fruits"})},
        {"empty line", "\r\n"},
        {"name of 21 characters", FoodLine(overlongName)},
        {"line of 1025 bytes", overlongLine},
        {"amount above 9999.99", Line({"Kiwi", "Kiwi", "10000", "item", "Y", "0.00", "", "N", "40",
                                       "1", "1", "1", "1", "1", "Fruits", "Fresh"})},
        {"unit with a space", Line({"Kiwi", "Kiwi", "1.00", " item", "Y", "0.00", "", "N", "40",
                                    "1", "1", "1", "1", "1", "Fruits", "Fresh"})},
        {"both amounts 0", Line({"Kiwi", "Kiwi", "0", "item", "Y", "0.00", "g", "N", "40", "1", "1",
                                 "1", "1", "1", "Fruits", "Fresh"})},
        {"serving on the empty measure", Line({"Kiwi", "Kiwi", "0.00", "", "Y", "10", "g", "N",
                                               "40", "1", "1", "1", "1", "1", "Fruits", "Fresh"})},
        {"empty group", Line({"Kiwi", "Kiwi", "1.00", "item", "Y", "0.00", "", "N", "40", "1", "1",
                              "1", "1", "1", " ", "Fresh"})},
        {"empty category", Line({"Kiwi", "Kiwi", "1.00", "item", "Y", "0.00", "", "N", "40", "1",
                                 "1", "1", "1", "1", "Fruits", ""})},
        {"zero byte", FoodLine(std::string("Ki\0wi", 5))},
        {"empty name", FoodLine(" ")},
    };
    for (const EFoodImportMode mode :
         {EFoodImportMode::ReplaceDatabase, EFoodImportMode::ReplaceCategories,
          EFoodImportMode::ImportedWins}) {
        for (const SCase& c : cases) {
            SCOPED_TRACE(std::string(c.label) + ", mode " + std::to_string(static_cast<int>(mode)));
            CFoodDB db;
            const SFoodImportResult result =
                CFoodCsv::ImportText(db, good + c.line + FoodLine("Quince"), mode);
            EXPECT_FALSE(result.ok);
            EXPECT_EQ(result.lineNumber, 3);
            EXPECT_FALSE(result.error.empty());
            if (mode == EFoodImportMode::ReplaceCategories) {
                // The pre-pass found the bad line before anything was placed.
                EXPECT_EQ(db.GroupCount() == 0 ? 0 : db.CategoryCount(0), 0);
                continue;
            }
            ASSERT_EQ(db.GroupCount(), 1);
            ASSERT_GE(db.CategoryCount(0), 1);
            EXPECT_EQ(db.ItemCount(0, 0), 2);
            EXPECT_EQ(db.FindFoodItem(0, 0, "Quince"), -1);
        }
    }
}

// The limits are inclusive: these lines import.
TEST_F(FoodCsvTest, LinesAtTheLimitsImport) {
    std::string fullLine = FoodLine("Full");
    fullLine.insert(fullLine.find(",Fruits"), 1024 - fullLine.size(), ' ');
    ASSERT_EQ(fullLine.size(), 1024u);
    struct SCase {
        const char* label;
        std::string line;
        const char* name;
    };
    const std::vector<SCase> cases = {
        {"name of 20 characters", FoodLine("Twenty characters ok"), "Twenty characters ok"},
        {"line of 1024 bytes", fullLine, "Full"},
        {"lower-case y",
         Line({"Kiwi", "Kiwi", "0.00", "", "n", "100", "g", "yes", "40", "1", "1", "1", "1", "1",
               "Fruits", "Fresh"}),
         "Kiwi"},
        {"largest amount",
         Line({"Kiwi", "Kiwi", "9999.99", "fl oz", "Y", "0.00", "", "N", "40", "1", "1", "1", "1",
               "1", "Fruits", "Fresh"}),
         "Kiwi"},
        {"no comma after field 16", "Kiwi,Kiwi,1.00,item,Y,0.00,,N,40,1,1,1,1,1,Fruits,Fresh\r\n",
         "Kiwi"},
        {"more than 16 fields", "Kiwi,Kiwi,1.00,item,Y,0.00,,N,40,1,1,1,1,1,Fruits,Fresh,x,y,\r\n",
         "Kiwi"},
        {"last line without its line end",
         "Kiwi,Kiwi,1.00,item,Y,0.00,,N,40,1,1,1,1,1,Fruits,Fresh,", "Kiwi"},
        {"spaces around names and numbers",
         Line({" Pad ", "Pad", "1", "item", "Y", "", "", "N", "40", "", "", "", "", "", " Fruits ",
               " Fresh "}),
         "Pad"},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.label);
        CFoodDB db;
        const SFoodImportResult result =
            CFoodCsv::ImportText(db, c.line, EFoodImportMode::ImportedWins);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.lineNumber, 2);
        ASSERT_EQ(db.GroupCount(), 1);
        // FoodLine files its items under "Fruits, Fruit Juice", the hand-written lines under
        // "Fruits"; both trimmed.
        const std::string& group = db.GetGroup(0).Name();
        EXPECT_TRUE(group == "Fruits" || group == "Fruits, Fruit Juice") << group;
        EXPECT_EQ(db.GetCategory(0, 0).Name(), "Fresh");
        EXPECT_EQ(db.FindFoodItem(0, 0, c.name), 0);
    }
    // A tail of control bytes (an end-of-file mark) after the last line is not a line.
    CFoodDB db;
    const SFoodImportResult result =
        CFoodCsv::ImportText(db, kAppleLine + "\x1a", EFoodImportMode::ImportedWins);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.lineNumber, 2);
}

TEST_F(FoodCsvTest, NumbersAreClampedAndWeightFirstMeasuresFindTheirSlot) {
    CFoodDB db;
    const std::string line = Line({"Steak", "Beef steak", "8", "oz", "Y", "1", "cup", "N", "12000",
                                   "-5", "abc", "20000", "", "1e9", "Meat", "Beef"});
    ASSERT_TRUE(CFoodCsv::ImportText(db, line, EFoodImportMode::ImportedWins).ok);
    const CFoodItem& steak = db.GetFoodItem(0, 0, 0);
    EXPECT_EQ(steak.WeightMeasure(), CServingMeasure(8, kUnitOz));
    EXPECT_EQ(steak.VolumeOrItemMeasure(), CServingMeasure(1, kUnitCup));
    EXPECT_EQ(steak.Serving(), CServingMeasure(8, kUnitOz));
    EXPECT_EQ(steak.Serving().UnitSet(), 4);
    EXPECT_FLOAT_EQ(steak.NutrientValue(kNutrientCalories), 9999);
    EXPECT_FLOAT_EQ(steak.NutrientValue(kNutrientCarbohydrate), 0);
    EXPECT_FLOAT_EQ(steak.NutrientValue(kNutrientFiber), 0);
    EXPECT_FLOAT_EQ(steak.NutrientValue(kNutrientProtein), 9999.9f);
    EXPECT_FLOAT_EQ(steak.NutrientValue(kNutrientFat), 0);
    EXPECT_FLOAT_EQ(steak.NutrientValue(kNutrientSaturatedFat), 9999.9f);
}

TEST_F(FoodCsvTest, ModesMergeAsChosen) {
    CFoodDB db;
    Fill(db);
    const uint32_t appleId = db.GetFoodItem(1, 1, 0).Id();
    const std::string text =
        FoodLine("Apple", "Fresh", "99") + FoodLine("Kiwi", "Fresh") + FoodLine("Fig", "Dried");

    {
        SCOPED_TRACE("mode 3 keeps existing items and counts their lines");
        CFoodDB copy = db;
        const SFoodImportResult result =
            CFoodCsv::ImportText(copy, text, EFoodImportMode::ExistingWins);
        ASSERT_TRUE(result.ok);
        EXPECT_EQ(result.lineNumber, 4);
        EXPECT_EQ(copy.GetFoodItem(1, 1, 0), db.GetFoodItem(1, 1, 0));
        EXPECT_EQ(copy.ItemCount(1, 1), 4);
        EXPECT_EQ(copy.ItemCount(1, 0), 2);
    }
    {
        SCOPED_TRACE("mode 2 replaces, keeping the identifier");
        CFoodDB copy = db;
        ASSERT_TRUE(CFoodCsv::ImportText(copy, text, EFoodImportMode::ImportedWins).ok);
        EXPECT_EQ(copy.GetFoodItem(1, 1, 0).Id(), appleId);
        EXPECT_FLOAT_EQ(copy.GetFoodItem(1, 1, 0).NutrientValue(kNutrientCalories), 99);
        EXPECT_EQ(copy.ItemCount(1, 1), 4);
        EXPECT_EQ(copy.GroupCount(), 2);
    }
    {
        SCOPED_TRACE("mode 1 empties each named category once, then fills it from every line");
        CFoodDB copy = db;
        const std::string twice = FoodLine("Kiwi", "Fresh") + FoodLine("Fig", "Dried") +
                                  FoodLine("Lime", "Fresh") + FoodLine("Nuts", "Mixed");
        ASSERT_TRUE(CFoodCsv::ImportText(copy, twice, EFoodImportMode::ReplaceCategories).ok);
        ASSERT_EQ(copy.GroupCount(), 2);
        EXPECT_EQ(copy.GetGroup(0).Name(), "Dairy");
        EXPECT_EQ(copy.ItemCount(0, 0), 1);
        ASSERT_EQ(copy.CategoryCount(1), 3);
        EXPECT_EQ(copy.GetCategory(1, 0).Name(), "Dried");
        EXPECT_EQ(copy.ItemCount(1, 0), 1);
        EXPECT_EQ(copy.FindFoodItem(1, 0, "Fig"), 0);
        EXPECT_EQ(copy.GetCategory(1, 1).Name(), "Fresh");
        EXPECT_EQ(copy.ItemCount(1, 1), 2);
        EXPECT_EQ(copy.FindFoodItem(1, 1, "Apple"), -1);
        EXPECT_EQ(copy.GetCategory(1, 2).Name(), "Mixed");
    }
    {
        SCOPED_TRACE("mode 0 starts from an empty database");
        CFoodDB copy = db;
        ASSERT_TRUE(CFoodCsv::ImportText(copy, text, EFoodImportMode::ReplaceDatabase).ok);
        ASSERT_EQ(copy.GroupCount(), 1);
        EXPECT_EQ(copy.ItemCount(0, 0), 1);
        EXPECT_EQ(copy.ItemCount(0, 1), 2);
        EXPECT_NE(copy.GetFoodItem(0, 1, 0).Id(), appleId);
    }
}

TEST_F(FoodCsvTest, FailedImportKeepsWhatEarlierLinesDid) {
    CFoodDB db;
    Fill(db);
    const std::string bad = FoodLine("Kiwi", "Fresh") + FoodLine("Kiwi", "Fresh", "");
    // Mode 0 has deleted every group; the first line is in.
    CFoodDB copy = db;
    SFoodImportResult result = CFoodCsv::ImportText(copy, bad, EFoodImportMode::ReplaceDatabase);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.lineNumber, 2);
    ASSERT_EQ(copy.GroupCount(), 1);
    EXPECT_EQ(copy.ItemCount(0, 0), 1);
    // Mode 1: the pre-pass deleted "Fresh" before it met the bad line; nothing was placed.
    copy = db;
    result = CFoodCsv::ImportText(copy, bad, EFoodImportMode::ReplaceCategories);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.lineNumber, 2);
    EXPECT_EQ(copy.CategoryCount(1), 1);
    EXPECT_EQ(copy.GetCategory(1, 0).Name(), "Dried");
}

// A file without a single food line is refused in every mode before anything changes: an empty
// or foreign file must not empty the database.
TEST_F(FoodCsvTest, FilesWithoutFoodDataChangeNothingInAnyMode) {
    CFoodDB db;
    Fill(db);
    const CFoodDB before = db;
    const std::string header =
        Line({"Name", "Search name", "Amount", "Unit", "Serving", "Amount", "Unit", "Serving",
              "Calories", "Carb", "Fiber", "Protein", "Fat", "SFat", "Group", "Category"});
    const std::pair<const char*, std::string> files[] = {
        {"empty", ""},
        {"blank lines", "\r\n \r\n\t\r\n\x1a"},
        {"a header alone", header},
        {"a header and a bad line", header + FoodLine("Kiwi", "Fresh", "")},
    };
    for (const auto& [label, text] : files) {
        ASSERT_FALSE(CFoodCsv::HoldsFoodData(text)) << label;
        WriteText(m_folder / "in.csv", text);
        for (int mode = 0; mode < 4; ++mode) {
            SCOPED_TRACE(std::string(label) + ", mode " + std::to_string(mode));
            const SFoodImportResult result =
                CFoodCsv::Import(db, m_folder / "in.csv", static_cast<EFoodImportMode>(mode));
            EXPECT_FALSE(result.ok);
            EXPECT_TRUE(result.noFoodData);
            EXPECT_EQ(db, before);
        }
    }
    // A header before food lines is a bad line 1, as any other.
    const SFoodImportResult result =
        CFoodCsv::ImportText(db, header + kAppleLine, EFoodImportMode::ImportedWins);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.noFoodData);
    EXPECT_EQ(result.lineNumber, 1);
}

TEST_F(FoodCsvTest, ImportOfAFileThatCannotBeReadFailsOnLine1) {
    CFoodDB db;
    Fill(db);
    const CFoodDB before = db;
    for (const fs::path& path : {fs::path(), m_folder / "missing.csv", m_folder}) {
        SCOPED_TRACE(path.string());
        const SFoodImportResult result =
            CFoodCsv::Import(db, path, EFoodImportMode::ReplaceDatabase);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.lineNumber, 1);
        EXPECT_EQ(db, before);
    }
    EXPECT_THROW(CFoodCsv::ImportText(db, kAppleLine, static_cast<EFoodImportMode>(4)),
                 CInternalError);
}

TEST_F(FoodCsvTest, ExportFailsWholeAndKeepsTheOldFile) {
    CFoodDB db;
    Fill(db);
    CFoodItem odd = MakeItem("Odd", "Odd", CServingMeasure(1, kUnitCup), {}, false, {10});
    odd.SetServing(CServingMeasure(2, kUnitCup));
    ASSERT_EQ(db.AddFoodItem(1, 1, odd), 3);
    const fs::path path = m_folder / "old.csv";
    WriteText(path, "old contents");

    EXPECT_FALSE(CFoodCsv::ExportCategory(db, path, 1, 1));
    EXPECT_FALSE(CFoodCsv::ExportAll(db, path));
    EXPECT_EQ(ReadText(path), "old contents");
    EXPECT_FALSE(CFoodCsv::ExportText(db));
    // Another category of the database still exports.
    EXPECT_TRUE(CFoodCsv::ExportCategory(db, path, 1, 0));

    // A write that fails leaves the old file too.
    WriteText(path, "old contents");
    {
        CFileFaultInjection fault(EFileFault::Write, 10);
        std::string error;
        EXPECT_FALSE(CFoodCsv::ExportCategory(db, path, 0, 0, &error));
        EXPECT_TRUE(fault.Triggered());
        EXPECT_FALSE(error.empty());
    }
    EXPECT_EQ(ReadText(path), "old contents");
    EXPECT_THROW(CFoodCsv::ExportGroup(db, path, 7), CInternalError);
}

TEST_F(FoodCsvTest, EmptyPathExportsBesideTheDatabaseFile) {
    struct SCase {
        const char* databasePath;
        const char* csvPath;
    };
    for (const SCase& c :
         {SCase{"/data/Ann/Fitquill/FoodDB.ddb", "/data/Ann/Fitquill/FoodDB.csv"},
          SCase{"/data/FoodDB.DDB", "/data/FoodDB.csv"}, SCase{"/data/food.dDb", "/data/food.csv"},
          SCase{"/data/x.ddb.bak", "/data/x.ddb.bak.csv"},
          SCase{"/data/FoodDB", "/data/FoodDB.csv"}, SCase{"", ""}}) {
        CFoodDB db;
        db.SetPaths(c.databasePath, {});
        EXPECT_EQ(CFoodCsv::DefaultExportPath(db), fs::path(c.csvPath)) << c.databasePath;
    }

    CFoodDB db;
    Fill(db);
    EXPECT_FALSE(CFoodCsv::ExportAll(db, {}));
    db.SetPaths(m_folder / "FoodDB.ddb", m_folder);
    ASSERT_TRUE(CFoodCsv::ExportCategory(db, {}, 0, 0));
    EXPECT_EQ(ReadText(m_folder / "FoodDB.csv"), kDairyText);
}

TEST_F(FoodCsvTest, ProgressCountsEveryPass) {
    std::string text;
    for (int i = 0; i < 600; ++i)
        text += FoodLine("Item" + std::to_string(i));
    for (const auto& [mode, total] :
         {std::pair{EFoodImportMode::ImportedWins, size_t{600}},
          std::pair{EFoodImportMode::ReplaceCategories, size_t{1200}}}) {
        std::vector<std::pair<size_t, size_t>> calls;
        CFoodDB db;
        ASSERT_TRUE(CFoodCsv::ImportText(db, text, mode, [&](size_t done, size_t all) {
                        calls.emplace_back(done, all);
                    }).ok);
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back(), std::make_pair(total, total));
        for (size_t i = 1; i < calls.size(); ++i) {
            EXPECT_LT(calls[i - 1].first, calls[i].first);
            EXPECT_EQ(calls[i].second, total);
        }
        EXPECT_EQ(db.ItemCount(0, 0), 600);
    }
}

TEST(FoodCsvText, ImportFailedTextNamesTheLine) {
    EXPECT_EQ(CFoodCsv::ImportFailedText(17),
              "Importing of food data failed on line 17.  A partial import was complete up to "
              "the point of encountering the error.");
}

// Spreadsheets write UTF-8 today; the same foods in either encoding make the same database.
TEST_F(FoodCsvTest, Utf8AndWindows1252FilesMakeTheSameDatabase) {
    // 20 characters, more than 20 bytes in UTF-8: the limit counts characters.
    const std::string ansi = FoodLine("Caf\xE9 cr\xE8me \xBD", "Cr\xE8me br\xFBl\xE9"
                                                               "e") +
                             FoodLine("M\xFCsli \x96 2 \x80 \xE0 cr\xE8me!") + kAppleLine;
    const std::string utf8 =
        FoodLine("Café crème ½", "Crème brûlée") + FoodLine("Müsli – 2 € à crème!") + kAppleLine;
    const struct {
        const char* what;
        std::string bytes;
        ECsvEncoding encoding;
    } files[] = {
        {"Windows-1252", ansi, ECsvEncoding::Windows1252},
        {"UTF-8", utf8, ECsvEncoding::Utf8},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF" + utf8, ECsvEncoding::Utf8},
        {"ASCII with a byte-order mark", "\xEF\xBB\xBF" + kAppleLine, ECsvEncoding::Utf8},
    };
    std::vector<std::string> saved;
    for (const auto& file : files) {
        SCOPED_TRACE(file.what);
        WriteText(m_folder / "in.csv", file.bytes);
        CFoodDB db;
        db.SetPaths(m_folder / "FoodDB.ddb", m_folder);
        const SFoodImportResult result =
            CFoodCsv::Import(db, m_folder / "in.csv", EFoodImportMode::ReplaceDatabase);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.encoding, file.encoding);
        CFoodDBFile writer(EFoodFileMode::Conduit);
        ASSERT_TRUE(writer.Save(db));
        saved.push_back(ReadText(m_folder / "FoodDB.ddb"));
    }
    ASSERT_NE(saved[0].find("Caf\xE9 cr\xE8me \xBD"), std::string::npos);
    EXPECT_EQ(saved[1], saved[0]);
    EXPECT_EQ(saved[2], saved[0]);
    EXPECT_EQ(CFoodCsv::EncodingName(ECsvEncoding::Utf8), std::string("UTF-8"));

    // A character Windows-1252 cannot hold fails its line, never becomes "?".
    WriteText(m_folder / "in.csv", FoodLine("Kiwi") + FoodLine("寿司"));
    CFoodDB db;
    const SFoodImportResult result =
        CFoodCsv::Import(db, m_folder / "in.csv", EFoodImportMode::ReplaceDatabase);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.lineNumber, 2);
    EXPECT_EQ(db.ItemCount(0, 0), 1);
}
