// SPDX-License-Identifier: GPL-3.0-or-later
// Every writer of core under the failure sweep: the journal, the food database (with and
// without the backup of a damaged file), the user list, the user-data export and the food-data
// export. Each failed save must leave the previous files byte-identical and no file behind.
#include "core/food/food_csv.h"
#include "core/food/food_db_file.h"
#include "core/journal/journal_file.h"
#include "core/journal/user_data_export.h"
#include "core/users/user_directory.h"
#include "tests/core/io/failure_sweep.h"

#include <optional>
#include <random>

namespace fitquill {
namespace {

namespace fs = std::filesystem;
using testing::RunFailureSweep;

CJournalDB Journal(const fs::path& folder, int days) {
    CJournalDB journal;
    journal.SetFolderPath(folder.string());
    journal.SetFilePath((folder / kJournalFileName).string());
    for (int day = 1; day <= days; ++day) {
        journal.GoToDate(CJournalDate(day, 3, 2024));
        journal.AddDay();
        journal.CurrentDay(false)->SetWeight(CWeightValue::FromPounds(180.0f - day),
                                             journal.Profile());
    }
    return journal;
}

CFoodItem Item(const std::string& name, float calories) {
    CFoodItem item;
    item.SetName(name, true);
    item.SetBaseMeasure({100, kUnitGram}, false);
    item.SetNutrientValue(kNutrientCalories, calories);
    item.SetServing({100, kUnitGram});
    return item;
}

CFoodDB Food(const fs::path& folder, int items) {
    CFoodDB db;
    db.SetPaths(folder / kFoodDbFileName, folder);
    db.AddGroup(CFoodGroup("Fruits"));
    db.AddCategory(0, CFoodCategory("Fresh"));
    for (int i = 0; i < items; ++i)
        db.AddFoodItem(0, 0, Item("Fruit " + std::to_string(i), 40.0f + i));
    return db;
}

class SaveSweep : public ::testing::Test {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() /
                 ("fitquill-sweep-" + std::to_string(std::random_device{}()));
        m_folder = m_root / "Ann" / "Fitquill";
        fs::create_directories(m_folder);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    void Reset() {
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }

    fs::path m_root, m_folder;
};

TEST_F(SaveSweep, Journal) {
    CJournalDB journal;
    RunFailureSweep(
        "journal", m_folder,
        [&] {
            Reset();
            CJournalDB old = Journal(m_folder, 2);
            ASSERT_TRUE(CJournalFile::Write(old));
            journal = Journal(m_folder, 9);
            journal.SetModified(true);
        },
        [&] {
            std::string error;
            const bool saved = CJournalFile::Write(journal, &error);
            EXPECT_EQ(saved, error.empty()) << error;
            EXPECT_EQ(journal.IsModified(), !saved);
            return saved;
        });
}

TEST_F(SaveSweep, FoodDatabaseAndTheBackupOfADamagedFile) {
    CFoodDB db;
    CFoodDBFile file(EFoodFileMode::Conduit);
    RunFailureSweep(
        "food database", m_folder,
        [&] {
            Reset();
            CFoodDB old = Food(m_folder, 2);
            ASSERT_TRUE(CFoodDBFile(EFoodFileMode::Conduit).Save(old));
            db = Food(m_folder, 30);
            file = CFoodDBFile(EFoodFileMode::Conduit);
        },
        [&] { return file.Save(db) && file.LastError().empty(); });

    // A damaged file is kept as FoodDB.ddb.bak first: two replacements in one save.
    const auto result = RunFailureSweep(
        "food database with backup", m_folder,
        [&] {
            Reset();
            CFoodDB old = Food(m_folder, 3);
            std::vector<uint8_t> bytes = CFoodDBFile::Pack(old);
            bytes.resize(bytes.size() - 5);
            ASSERT_TRUE(ReplaceFileAtomically(m_folder / kFoodDbFileName, bytes));
            db = Food(m_folder, 0);
            file = CFoodDBFile(EFoodFileMode::Conduit);
            ASSERT_EQ(file.Load(db), EFoodLoadResult::Partial);
            db.AddFoodItem(0, 0, Item("Pear", 57));
        },
        [&] {
            const bool saved = file.Save(db);
            EXPECT_EQ(saved, file.LastError().empty()) << file.LastError();
            return saved;
        },
        {std::string(kFoodDbFileName) + ".bak"});
    EXPECT_GT(result.failedSaves, 6) << "both replacements were not swept";
}

TEST_F(SaveSweep, UserList) {
    std::optional<CUserDirectory> users;
    RunFailureSweep(
        "user list", m_root,
        [&] {
            fs::remove_all(m_root);
            fs::create_directories(m_root);
            users.emplace(nullptr, SInstallPath{true, m_root.string() + "/"});
            ASSERT_TRUE(users->AddUser("Ann"));
            ASSERT_TRUE(users->AddUser("Cy"));
            users.emplace(nullptr, SInstallPath{true, m_root.string() + "/"});
        },
        [&] {
            const bool added = users->AddUser("Bob");
            // What the directory answers must match the file.
            UserHandle user = 0;
            EXPECT_EQ(users->FindUserByName("Bob", user), added);
            return added;
        });
}

TEST_F(SaveSweep, UserDataAndFoodDataExports) {
    CJournalDB journal;
    const fs::path csv = m_folder / kUserExportFileName;
    RunFailureSweep(
        "user data export", m_folder,
        [&] {
            Reset();
            CJournalDB old = Journal(m_folder, 1);
            ASSERT_TRUE(CUserDataExport::Export(old, csv));
            journal = Journal(m_folder, 12);
        },
        [&] {
            std::string error;
            const bool saved = CUserDataExport::Export(journal, csv, &error);
            EXPECT_EQ(saved, error.empty()) << error;
            return saved;
        });

    CFoodDB db;
    const fs::path foodCsv = m_folder / "Foods.csv";
    RunFailureSweep(
        "food data export", m_folder,
        [&] {
            Reset();
            ASSERT_TRUE(CFoodCsv::ExportAll(Food(m_folder, 1), foodCsv));
            db = Food(m_folder, 20);
        },
        [&] {
            std::string error;
            const bool saved = CFoodCsv::ExportAll(db, foodCsv, &error);
            EXPECT_EQ(saved, error.empty()) << error;
            return saved;
        });
}

} // namespace
} // namespace fitquill
