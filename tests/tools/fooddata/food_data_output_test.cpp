// SPDX-License-Identifier: GPL-3.0-or-later
// The files the tool writes read back into the same database.
#include "core/food/food_csv.h"
#include "core/food/food_db_file.h"
#include "tools/fooddata/food_data_output.h"
#include "tools/fooddata/food_tree_rules.h"
#include "tools/fooddata/usda_data.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

using namespace fitquill;
namespace fs = std::filesystem;

namespace {

class FoodDataOutputTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string error;
        auto data = LoadUsdaData(FITQUILL_USDA_DIR, error);
        ASSERT_TRUE(data) << error;
        s_build = new SFoodDataBuild(BuildFoodDb(*data));
        s_folder =
            new fs::path(fs::temp_directory_path() /
                         ("fitquill-fooddata-" + std::to_string(std::random_device{}())) / "share");
        ASSERT_TRUE(WriteFoodDataFiles(*s_build, *s_folder, error)) << error;
    }
    static void TearDownTestSuite() {
        std::error_code ec;
        fs::remove_all(s_folder->parent_path(), ec);
        delete s_folder;
        delete s_build;
    }

    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Group, category and item names with servings and base measures: what the food CSV
    // carries besides rounded nutrient values.
    static std::string Outline(const CFoodDB& db) {
        std::ostringstream out;
        for (const auto& group : db.Groups())
            for (const auto& category : group.Categories())
                for (const auto& item : category.Items())
                    out << group.Name() << '|' << category.Name() << '|' << item.Name() << '|'
                        << item.SearchName() << '|' << item.Serving().Amount() << ' '
                        << int(item.Serving().Unit()) << '|' << item.VolumeOrItemMeasure().Amount()
                        << ' ' << int(item.VolumeOrItemMeasure().Unit()) << '|'
                        << item.WeightMeasure().Amount() << ' ' << int(item.WeightMeasure().Unit())
                        << '\n';
        return out.str();
    }

    static SFoodDataBuild* s_build;
    static fs::path* s_folder;
};

SFoodDataBuild* FoodDataOutputTest::s_build = nullptr;
fs::path* FoodDataOutputTest::s_folder = nullptr;

TEST_F(FoodDataOutputTest, DatabaseFileReadsBackUnchanged) {
    const std::string bytes = Read(*s_folder / kFoodDbFile);
    ASSERT_FALSE(bytes.empty());
    CFoodDB loaded;
    const auto span = std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ASSERT_EQ(CFoodDBFile::Unpack(span, loaded), EFoodLoadResult::Loaded);
    EXPECT_EQ(loaded.FormatVersion(), 6);
    EXPECT_TRUE(loaded.IdGenerator() == s_build->db.IdGenerator());
    ASSERT_EQ(loaded.GroupCount(), s_build->db.GroupCount());
    for (uint16_t g = 0; g < loaded.GroupCount(); ++g)
        EXPECT_TRUE(loaded.GetGroup(g) == s_build->db.GetGroup(g)) << loaded.GetGroup(g).Name();
}

TEST_F(FoodDataOutputTest, FoodCsvImportsIntoTheSameTree) {
    const std::string text = Read(*s_folder / kFoodCsvFile);
    ASSERT_FALSE(text.empty());
    CFoodDB imported;
    const SFoodImportResult result =
        CFoodCsv::ImportText(imported, text, EFoodImportMode::ReplaceDatabase);
    ASSERT_TRUE(result.ok) << "line " << result.lineNumber << ": " << result.error;
    EXPECT_EQ(Outline(imported), Outline(s_build->db));
}

TEST_F(FoodDataOutputTest, ExtensionsCsvAddsTheOtherGroupsToTheHandheldSubset) {
    // A database holding the handheld subset, updated with the extension file as the
    // automatic update does (imported over existing items), is the whole database.
    CFoodDB subset;
    for (const auto& group : s_build->db.Groups()) {
        if (IsHandheldGroup(group.Name()))
            subset.AppendStoredGroup(group);
    }
    const SFoodImportResult result = CFoodCsv::ImportText(
        subset, Read(*s_folder / kExtensionsCsvFile), EFoodImportMode::ImportedWins);
    ASSERT_TRUE(result.ok) << "line " << result.lineNumber << ": " << result.error;
    EXPECT_EQ(Outline(subset), Outline(s_build->db));
}

TEST_F(FoodDataOutputTest, ReportIsKeptBesideTheFiles) {
    EXPECT_EQ(Read(*s_folder / kReportFile), s_build->report.Text());
    EXPECT_NE(s_build->report.Text().find("Food items:"), std::string::npos);
}

TEST_F(FoodDataOutputTest, FailsWhenTheFolderCannotBeMade) {
    const fs::path blocker = s_folder->parent_path() / "blocker";
    std::ofstream(blocker) << "a file, not a folder";
    SFoodDataBuild build;
    std::string error;
    EXPECT_FALSE(WriteFoodDataFiles(build, blocker / "share", error));
    EXPECT_NE(error.find("blocker"), std::string::npos) << error;
}

} // namespace
