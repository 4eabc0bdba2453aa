// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/clock.h"
#include "core/food/food_db_file.h"
#include "core/internal_error.h"
#include "core/io/atomic_file.h"
#include "tests/core/file_test_support.h"

#include <gtest/gtest.h>
#include <random>
#include <set>
#include <string>
#include <vector>

using namespace fitquill;
using namespace fitquill::testing;
namespace fs = std::filesystem;

namespace {

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

CFoodItem StoredItem(uint32_t id, const std::string& name, const std::string& searchName) {
    CFoodItem item;
    item.SetName(name, false);
    item.SetSearchName(searchName);
    item.SetId(id);
    item.SetModified(static_cast<uint8_t>(id & 1));
    item.SetStoredMeasures(CServingMeasure(2.5f, kUnitCup, 1), CServingMeasure(1.0f, kUnitCup, 2),
                           CServingMeasure(150.0f, kUnitGram, 3));
    std::vector<CNutrientValue> nutrients;
    for (int i = 0; i < kBasicNutrientCount; ++i)
        nutrients.emplace_back(i, 10.0f * static_cast<float>(i) + 0.25f);
    nutrients.emplace_back(11, 120.0f);
    nutrients.emplace_back(33, 0.5f);
    EXPECT_TRUE(item.SetStoredNutrients(nutrients));
    item.SetMealType(3);
    item.SetStoredServingRatio(1.75f);
    return item;
}

CFoodGroup StoredGroup(uint32_t id, const std::string& name, uint8_t modified) {
    CFoodGroup group(name);
    group.SetId(id);
    group.SetModified(modified);
    return group;
}

CFoodCategory StoredCategory(uint32_t id, const std::string& name, uint8_t modified) {
    CFoodCategory category(name);
    category.SetId(id);
    category.SetModified(modified);
    return category;
}

// A database using every field: find history, odd header nutrients, flags both ways, items
// with extra nutrients and every measure filled, an empty search name, empty categories.
CFoodDB RichDatabase() {
    CFoodDB db;
    db.SetFindHistory({"apple", "Cheddar cheese", ""});
    db.SetIdGenerator(CIdGenerator(0x9A2C0123u));
    db.SetHeaderNutrients({CNutrientValue(0, 1.0f), CNutrientValue(1, 2.0f),
                           CNutrientValue(2, 3.0f), CNutrientValue(3), CNutrientValue(4),
                           CNutrientValue(5, 9999.0f), CNutrientValue(20, 0.125f)});
    EXPECT_EQ(db.AppendStoredGroup(StoredGroup(0x80000011u, "Dairy", 1)), 0);
    EXPECT_EQ(db.AppendStoredGroup(StoredGroup(0x80000012u, "Empty group", 0)), 1);
    EXPECT_EQ(db.AppendStoredCategory(0, StoredCategory(0x80000021u, "Cheese", 0)), 0);
    EXPECT_EQ(db.AppendStoredCategory(0, StoredCategory(0x80000022u, "Milk", 1)), 1);
    EXPECT_EQ(db.AppendStoredCategory(0, StoredCategory(0x80000023u, "Nothing yet", 1)), 2);
    EXPECT_EQ(db.AppendStoredItem(0, 0, StoredItem(0x80000031u, "Brie", "soft cheese")), 0);
    EXPECT_EQ(db.AppendStoredItem(0, 0, StoredItem(0x80000032u, "Feta", "")), 1);
    EXPECT_EQ(db.AppendStoredItem(0, 1, StoredItem(0x80000033u, "Skim milk", "milk")), 0);
    return db;
}

class FoodDBFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        CClock::SetFixedDate(CClock::ParseIsoDate("2004-03-05"));
        m_root = fs::temp_directory_path() /
                 ("fitquill-foodfile-" + std::to_string(std::random_device{}()));
        m_folder = m_root / "Users" / "Ann" / "Fitquill";
        m_file = m_folder / "FoodDB.ddb";
        fs::create_directories(m_root);
        m_oldDirectory = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(m_oldDirectory);
        CClock::SetFixedDate(std::nullopt);
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }

    CFoodDB WithPaths(CFoodDB db) const {
        db.SetPaths(m_file, m_folder);
        return db;
    }
    CFoodDB Empty() const { return WithPaths(CFoodDB()); }

    fs::path m_root, m_folder, m_file, m_oldDirectory;
};

// ---- round trips and byte layouts ----

TEST_F(FoodDBFileTest, EveryFieldSurvivesSaveAndLoadAndRewritesIdentically) {
    CFoodDB db = WithPaths(RichDatabase());
    CFoodDBFile file(EFoodFileMode::Conduit);
    ASSERT_TRUE(file.Save(db)) << file.LastError();

    CFoodDB loaded = Empty();
    ASSERT_EQ(file.Load(loaded), EFoodLoadResult::Loaded) << file.LastError();
    EXPECT_EQ(file.LoadedFrom(), m_file);
    EXPECT_EQ(loaded, db);
    // The serving measure's equality ignores the unit set, so look at it directly.
    const CFoodItem& brie = loaded.GetFoodItem(0, 0, 0);
    EXPECT_EQ(brie.Serving().UnitSet(), 1);
    EXPECT_EQ(brie.VolumeOrItemMeasure().UnitSet(), 2);
    EXPECT_EQ(brie.WeightMeasure().UnitSet(), 3);
    EXPECT_EQ(loaded.GetFoodItem(0, 0, 1).SearchName(), "");

    const Bytes first = FileBytes(m_file);
    ASSERT_TRUE(file.Save(loaded));
    EXPECT_EQ(FileBytes(m_file), first);
}

TEST_F(FoodDBFileTest, DocumentedLayoutWithChunkNumbersAndEmptySearchName) {
    CFoodDB db;
    db.SetFindHistory({"pie"});
    db.SetIdGenerator(CIdGenerator(0x81234567u));
    db.AppendStoredGroup(StoredGroup(0x80000001u, "A", 1));
    db.AppendStoredGroup(StoredGroup(0x80000002u, "B", 0));
    db.AppendStoredGroup(StoredGroup(0x80000003u, "C", 1));
    db.AppendStoredCategory(0, StoredCategory(0x80000004u, "A1", 0));
    db.AppendStoredCategory(2, StoredCategory(0x80000005u, "C1", 1));
    db.AppendStoredCategory(2, StoredCategory(0x80000006u, "C2", 0));
    CFoodItem plain;
    plain.SetName("Brie", false);
    plain.SetId(0x80000007u);
    db.AppendStoredItem(0, 0, plain);
    db.SetFormatVersion(4); // whatever was read, the file says 6

    CBuilder header, table, groupA, itemsA1, groupB, groupC, empty;
    header.U16(6).U16(1).Text("pie").U8(0x67).U8(0x45).U8(0x23).U8(0x81).U16(6);
    for (int i = 0; i < 6; ++i)
        header.U8(i).F32(0.0f);
    table.U16(3);
    table.U32(0x80000001u).U8(1).Text("A").U16(2);
    table.U32(0x80000002u).U8(0).Text("B").U16(4);
    table.U32(0x80000003u).U8(1).Text("C").U16(5);
    groupA.U16(1).U32(0x80000004u).U8(0).Text("A1");
    // 13 + name (2 + 5) + search name (2 + 1) + three measures + six nutrients.
    itemsA1.U16(1).U16(13 + 7 + 3 + 18 + 2 + 30).Text("Brie").U16(1).U8(0).U32(0x80000007u).U8(0);
    for (int i = 0; i < 3; ++i)
        itemsA1.Measure(0.0f, 0, 0);
    itemsA1.U16(6);
    for (int i = 0; i < 6; ++i)
        itemsA1.U8(i).F32(0.0f);
    itemsA1.U16(0).F32(plain.ServingRatio());
    groupB.U16(0);
    groupC.U16(2).U32(0x80000005u).U8(1).Text("C1").U32(0x80000006u).U8(0).Text("C2");
    empty.U16(0);
    const Bytes expected = Chunks({header.Get(), table.Get(), groupA.Get(), itemsA1.Get(),
                                   groupB.Get(), groupC.Get(), empty.Get(), empty.Get()});

    EXPECT_EQ(CFoodDBFile::Pack(db), expected);
    EXPECT_EQ(db.FormatVersion(), 6);
    EXPECT_EQ(db.GetGroup(0).RecordNumber(), 2);
    EXPECT_EQ(db.GetGroup(1).RecordNumber(), 4);
    EXPECT_EQ(db.GetGroup(2).RecordNumber(), 5);

    CFoodDB loaded;
    ASSERT_EQ(CFoodDBFile::Unpack(expected, loaded), EFoodLoadResult::Loaded);
    EXPECT_EQ(loaded.IdGenerator().Value(), 0x81234567u);
    EXPECT_EQ(loaded.GetFoodItem(0, 0, 0).SearchName(), "");
    EXPECT_EQ(loaded.Groups(), db.Groups());
}

TEST_F(FoodDBFileTest, EmptyDatabaseIsHeaderAndZeroGroupTable) {
    CFoodDB db;
    db.SetIdGenerator(CIdGenerator(0x80000000u));
    CBuilder header, table;
    header.U16(6).U16(0).U32LE(0x80000000u).U16(6);
    for (int i = 0; i < 6; ++i)
        header.U8(i).F32(0.0f);
    table.U16(0);
    const Bytes expected = Chunks({header.Get(), table.Get()});
    EXPECT_EQ(CFoodDBFile::Pack(db), expected);

    CFoodDB loaded = RichDatabase();
    ASSERT_EQ(CFoodDBFile::Unpack(expected, loaded), EFoodLoadResult::Loaded);
    EXPECT_EQ(loaded.GroupCount(), 0);
    EXPECT_TRUE(loaded.FindHistory().empty());
}

// ---- versions ----

// A file of the old layout: eight groups; "Sweets, Fats, Oils" (stored first) holds "Candy"
// with one item, "Vegetables" (fourth) holds two categories, the first of them with two items.
Bytes OldFile(uint16_t version) {
    CBuilder header;
    header.U16(version);
    for (int i = 0; i < 8; ++i)
        header.Text("old group " + std::to_string(i)).U16(0xBEEF);
    header.U8(7);
    const char* finds[10] = {" carrot ", "", "Apple pie", "", "", "", "", "", "", ""};
    for (const char* text : finds)
        header.Fixed(text, 21);
    header.U32LE(0x99100005u);

    auto oldItem = [](CBuilder& b, uint32_t id, const std::string& name, uint16_t meal) {
        b.U32(id).U8(1).Text(name).Text(name + " search");
        b.Measure(1.0f, kUnitItem, 5).Measure(1.0f, kUnitItem, 0).Measure(30.0f, kUnitGram, 0);
        // calories, carbohydrate, fiber, protein, fat, saturated fat
        b.F32(100.0f).F32(20.0f).F32(3.0f).F32(2.0f).F32(5.0f).F32(1.0f);
        b.U16(meal).F32(2.0f).U16(0xFFFF);
    };

    std::vector<Bytes> chunks{header.Get()};
    for (int g = 0; g < 8; ++g) {
        CBuilder group;
        if (g == 0) {
            group.U16(1).U32(0x80000100u).U8(0).Text("Candy");
            chunks.push_back(group.Get());
            CBuilder items;
            items.U16(1);
            oldItem(items, 0x80000101u, "Toffee", 3);
            chunks.push_back(items.Get());
        } else if (g == 3) {
            group.U16(2).U32(0x80000200u).U8(1).Text("Leafy").U32(0x80000201u).U8(0).Text("Roots");
            chunks.push_back(group.Get());
            CBuilder leafy, roots;
            leafy.U16(2);
            oldItem(leafy, 0x80000202u, "Kale", 1);
            oldItem(leafy, 0x80000203u, "Spinach", 2);
            roots.U16(0);
            chunks.push_back(leafy.Get());
            chunks.push_back(roots.Get());
        } else {
            group.U16(0);
            chunks.push_back(group.Get());
        }
    }
    return Chunks(chunks);
}

TEST_F(FoodDBFileTest, OldVersionsLoadAsEightNamedGroupsAndRewriteAsVersion6) {
    for (uint16_t version : {4, 5}) {
        SCOPED_TRACE(version);
        WriteFile(m_file, OldFile(version));
        CFoodDB db = Empty();
        CFoodDBFile file(EFoodFileMode::Conduit);
        ASSERT_EQ(file.Load(db), EFoodLoadResult::Loaded) << file.LastError();

        EXPECT_EQ(db.FormatVersion(), version);
        EXPECT_EQ(db.FindHistory(), (std::vector<std::string>{"carrot", "Apple pie"}));
        // Eight identifiers drawn from the file's generator, in stored order.
        EXPECT_EQ(db.IdGenerator().Value(), 0x99100005u + 8);
        const std::vector<std::string> sorted{"Bread, Cereal, Pasta", "Drinks, Beer, Soda",
                                              "Fruits, Fruit Juice",  "Meat, Poultry, Fish",
                                              "Milk, Yogurt, Cheese", "Restaurants, Other",
                                              "Sweets, Fats, Oils",   "Vegetables"};
        ASSERT_EQ(db.GroupCount(), 8);
        for (uint16_t g = 0; g < 8; ++g) {
            EXPECT_EQ(db.GetGroup(g).Name(), sorted[g]);
            EXPECT_EQ(db.GetGroup(g).Modified(), 1);
        }
        const CFoodGroup& sweets = db.GetGroup(6);
        EXPECT_EQ(sweets.Id(), 0x99100006u);
        ASSERT_EQ(sweets.CategoryCount(), 1);
        EXPECT_EQ(sweets.Categories()[0].Name(), "Candy");
        const CFoodGroup& vegetables = db.GetGroup(7);
        EXPECT_EQ(vegetables.Id(), 0x99100009u);
        ASSERT_EQ(vegetables.CategoryCount(), 2);
        EXPECT_EQ(vegetables.Categories()[0].Modified(), 1);
        EXPECT_EQ(vegetables.Categories()[1].Name(), "Roots");
        ASSERT_EQ(vegetables.Categories()[0].ItemCount(), 2);

        const CFoodItem& kale = vegetables.Categories()[0].Items()[0];
        EXPECT_EQ(kale.Name(), "Kale");
        EXPECT_EQ(kale.SearchName(), "Kale search");
        EXPECT_EQ(kale.Id(), 0x80000202u);
        EXPECT_EQ(kale.MealType(), 1);
        EXPECT_EQ(kale.ServingRatio(), 2.0f);
        EXPECT_EQ(kale.Serving().UnitSet(), 5);
        EXPECT_EQ(kale.WeightMeasure(), CServingMeasure(30.0f, kUnitGram));
        const float expected[6] = {100.0f, 20.0f, 2.0f, 3.0f, 5.0f, 1.0f};
        ASSERT_EQ(kale.Nutrients().size(), 6u);
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(kale.Nutrients()[i], CNutrientValue(i, expected[i])) << i;

        ASSERT_TRUE(file.Save(db));
        const Bytes saved = FileBytes(m_file);
        ASSERT_GE(saved.size(), 10u);
        EXPECT_EQ(saved[8], 0);
        EXPECT_EQ(saved[9], 6);
        CFoodDB again = Empty();
        ASSERT_EQ(file.Load(again), EFoodLoadResult::Loaded);
        EXPECT_EQ(again, db);
    }
}

TEST_F(FoodDBFileTest, VersionAboveSixReadsWithTheCurrentLayout) {
    CFoodDB db = RichDatabase();
    Bytes bytes = CFoodDBFile::Pack(db);
    bytes[9] = 7;
    CFoodDB loaded;
    ASSERT_EQ(CFoodDBFile::Unpack(bytes, loaded), EFoodLoadResult::Loaded);
    EXPECT_EQ(loaded.FormatVersion(), 7);
    EXPECT_EQ(loaded.Groups(), db.Groups());
    EXPECT_EQ(CFoodDBFile::Pack(loaded), CFoodDBFile::Pack(db));
}

TEST_F(FoodDBFileTest, VersionsBelowFourAreInternalError1000) {
    CFoodDB source = RichDatabase();
    const Bytes good = CFoodDBFile::Pack(source);
    for (uint8_t version : {0, 1, 2, 3}) {
        SCOPED_TRACE(static_cast<int>(version));
        Bytes bytes = good;
        bytes[9] = version;
        CFoodDB db;
        try {
            CFoodDBFile::Unpack(bytes, db);
            ADD_FAILURE() << "no internal error";
        } catch (const CInternalError& error) {
            EXPECT_EQ(error.Code(), kInternalErrorFoodDb);
        }
        EXPECT_EQ(db.GroupCount(), 0);
        // Version 0 is refused only after its header was taken as version 6.
        EXPECT_EQ(db.FindHistory().size(), version == 0 ? 3u : 0u);
    }
}

// ---- damaged files ----

TEST_F(FoodDBFileTest, EveryTruncationIsAFailureOrPartialLoad) {
    CFoodDB rich = RichDatabase();
    for (const Bytes& full : {CFoodDBFile::Pack(rich), OldFile(5)}) {
        for (size_t size = 0; size < full.size(); ++size) {
            // A copy of exactly `size` bytes, so that a sanitizer sees any read beyond it.
            const Bytes cut(full.begin(), full.begin() + static_cast<long>(size));
            CFoodDB db;
            std::string damage;
            const EFoodLoadResult result = CFoodDBFile::Unpack(cut, db, &damage);
            ASSERT_NE(result, EFoodLoadResult::Loaded) << size;
            EXPECT_FALSE(damage.empty()) << size;
        }
    }
}

TEST_F(FoodDBFileTest, PartialLoadKeepsWhatCameBeforeTheDamage) {
    CFoodDB db = RichDatabase();
    const Bytes full = CFoodDBFile::Pack(db);
    // Drop the last chunk (the empty item record of "Nothing yet").
    const Bytes cut(full.begin(), full.end() - 10);
    CFoodDB loaded;
    ASSERT_EQ(CFoodDBFile::Unpack(cut, loaded), EFoodLoadResult::Partial);
    ASSERT_EQ(loaded.GroupCount(), 2);
    EXPECT_EQ(loaded.GetGroup(0).Categories()[0], db.GetGroup(0).Categories()[0]);
    EXPECT_EQ(loaded.GetGroup(0).Categories()[1], db.GetGroup(0).Categories()[1]);

    // A header that is cut short changes nothing at all.
    CFoodDB untouched = RichDatabase();
    ASSERT_EQ(CFoodDBFile::Unpack(std::span(full.data(), 12), untouched), EFoodLoadResult::Failed);
    EXPECT_EQ(untouched, RichDatabase());
}

TEST_F(FoodDBFileTest, DamagedLengthsCountsAndIndexesAreReadFailures) {
    CFoodDB db;
    db.AppendStoredGroup(StoredGroup(1, "G", 0));
    db.AppendStoredCategory(0, StoredCategory(2, "C", 0));
    db.AppendStoredItem(0, 0, StoredItem(3, "Brie", "b"));
    const Bytes good = CFoodDBFile::Pack(db);
    // Payload offsets: the header takes 8 + 40 bytes, the table 13, the group record 11.
    const size_t header = 8 + 2 + 2 + 4 + 2 + 30;
    const size_t table = header + 8;
    const size_t items = table + 2 + 4 + 1 + 4 + 2 + 8 + 2 + 4 + 1 + 4 + 8;
    ASSERT_EQ(good.size(), items + 2 + 2 + 7 + 4 + 4 + 1 + 18 + 2 + 40 + 2 + 4);

    struct SCase {
        const char* what;
        size_t offset;
        std::vector<uint8_t> bytes;
    };
    const std::vector<SCase> cases{
        {"chunk length past the file", 4, {0xFF, 0xFF, 0xFF, 0x7F}},
        {"group count past the table", table + 0, {0xFF, 0xFF}},
        {"group name past the table", table + 7, {0x7F, 0xFF}},
        {"item count past the record", items, {0x30, 0x00}},
        {"item name past the record", items + 4, {0xFF, 0xF0}},
        {"nutrient count past the record", items + 2 + 2 + 7 + 4 + 4 + 1 + 18, {0x01, 0x00}},
        {"nutrient index outside the table", items + 2 + 2 + 7 + 4 + 4 + 1 + 18 + 2, {34}},
        {"nutrients not in order", items + 2 + 2 + 7 + 4 + 4 + 1 + 18 + 2 + 5, {0}},
    };
    for (const SCase& c : cases) {
        Bytes bytes = good;
        std::copy(c.bytes.begin(), c.bytes.end(), bytes.begin() + static_cast<long>(c.offset));
        CFoodDB loaded;
        EXPECT_NE(CFoodDBFile::Unpack(bytes, loaded), EFoodLoadResult::Loaded) << c.what;
    }
    CFoodDB loaded;
    EXPECT_EQ(CFoodDBFile::Unpack(good, loaded), EFoodLoadResult::Loaded);
}

// ---- load sources and the backup of a damaged file ----

TEST_F(FoodDBFileTest, MissingUserFileLoadsTheDefaultDatabaseButNotInConduitMode) {
    const fs::path dataFolder = m_root / "share" / "fitquill";
    const fs::path workFolder = m_root / "work";
    fs::create_directories(workFolder);
    fs::current_path(workFolder);
    CFoodDB inDataFolder = RichDatabase();
    CFoodDB inWorkFolder;
    inWorkFolder.AppendStoredGroup(StoredGroup(5, "Only here", 0));
    WriteFile(dataFolder / "FoodDB.ddb", CFoodDBFile::Pack(inDataFolder));
    WriteFile(workFolder / "FoodDB.ddb", CFoodDBFile::Pack(inWorkFolder));

    CFoodDBFile conduit(EFoodFileMode::Conduit, dataFolder);
    CFoodDB db = Empty();
    EXPECT_EQ(conduit.Load(db), EFoodLoadResult::Failed);
    EXPECT_EQ(db.GroupCount(), 0);

    CFoodDBFile desktop(EFoodFileMode::Desktop, dataFolder);
    ASSERT_EQ(desktop.Load(db), EFoodLoadResult::Loaded);
    EXPECT_EQ(desktop.LoadedFrom(), dataFolder / "FoodDB.ddb");
    EXPECT_EQ(db.Groups(), inDataFolder.Groups());
    EXPECT_EQ(db.FilePath(), m_file);

    // Without the data folder's copy the current directory serves.
    CFoodDBFile noData(EFoodFileMode::Desktop, m_root / "nowhere");
    CFoodDB second = Empty();
    ASSERT_EQ(noData.Load(second), EFoodLoadResult::Loaded);
    EXPECT_EQ(second.GetGroup(0).Name(), "Only here");

    // Saving creates the user's own file (and its folder); the next load reads that.
    ASSERT_TRUE(desktop.Save(db));
    CFoodDB third = Empty();
    ASSERT_EQ(noData.Load(third), EFoodLoadResult::Loaded);
    EXPECT_EQ(noData.LoadedFrom(), m_file);
    EXPECT_EQ(third.Groups(), inDataFolder.Groups());

    // Nothing anywhere: a failure that leaves the database as it was.
    fs::remove(workFolder / "FoodDB.ddb");
    CFoodDB fourth = RichDatabase();
    fourth.SetPaths(m_root / "x" / "FoodDB.ddb", m_root / "x");
    EXPECT_EQ(noData.Load(fourth), EFoodLoadResult::Failed);
    EXPECT_EQ(fourth.Groups(), RichDatabase().Groups());
    CFoodDB noPath;
    EXPECT_EQ(desktop.Load(noPath), EFoodLoadResult::Failed);
    EXPECT_FALSE(desktop.Save(noPath));
}

TEST_F(FoodDBFileTest, UnreadableUserFileIsNotReplacedByTheDefault) {
    const fs::path dataFolder = m_root / "share";
    CFoodDB rich = RichDatabase();
    WriteFile(dataFolder / "FoodDB.ddb", CFoodDBFile::Pack(rich));
    fs::create_directories(m_file); // a folder where the file should be
    CFoodDBFile desktop(EFoodFileMode::Desktop, dataFolder);
    CFoodDB db = Empty();
    EXPECT_EQ(desktop.Load(db), EFoodLoadResult::Failed);
    EXPECT_EQ(db.GroupCount(), 0);
    EXPECT_FALSE(desktop.Save(db));
}

TEST_F(FoodDBFileTest, DamagedUserFileIsKeptAsBackupBeforeTheNextSave) {
    CFoodDB original = WithPaths(RichDatabase());
    const Bytes full = CFoodDBFile::Pack(original);
    const Bytes damaged(full.begin(), full.end() - 3);
    WriteFile(m_file, damaged);

    CFoodDBFile file(EFoodFileMode::Desktop, m_root / "share");
    CFoodDB db = Empty();
    ASSERT_EQ(file.Load(db), EFoodLoadResult::Partial);
    EXPECT_NE(file.LastError().find("damaged"), std::string::npos);
    EXPECT_TRUE(file.BackupPending(m_file));

    // A failed backup stops the save before the damaged file is touched.
    {
        CFileFaultInjection fault(EFileFault::Rename);
        EXPECT_FALSE(file.Save(db));
        EXPECT_TRUE(fault.Triggered());
    }
    EXPECT_EQ(FileBytes(m_file), damaged);
    EXPECT_EQ(Names(m_folder), (std::set<std::string>{"FoodDB.ddb"}));

    ASSERT_TRUE(file.Save(db)) << file.LastError();
    EXPECT_EQ(FileBytes(m_folder / "FoodDB.ddb.bak"), damaged);
    EXPECT_FALSE(file.BackupPending(m_file));
    const Bytes saved = FileBytes(m_file);
    EXPECT_NE(saved, damaged);

    // Later saves leave the backup alone.
    db.DeleteGroup(1);
    ASSERT_TRUE(file.Save(db));
    EXPECT_EQ(FileBytes(m_folder / "FoodDB.ddb.bak"), damaged);

    // A complete load asks for no backup.
    CFoodDBFile fresh(EFoodFileMode::Desktop);
    CFoodDB again = Empty();
    ASSERT_EQ(fresh.Load(again), EFoodLoadResult::Loaded);
    EXPECT_FALSE(fresh.BackupPending(m_file));
}

TEST_F(FoodDBFileTest, FailedSavesLeaveThePreviousFileByteIdentical) {
    CFoodDB db = WithPaths(RichDatabase());
    CFoodDBFile file(EFoodFileMode::Desktop);
    ASSERT_TRUE(file.Save(db));
    const Bytes before = FileBytes(m_file);
    db.DeleteGroup(0);
    CFoodDB copy = db;
    const size_t newSize = CFoodDBFile::Pack(copy).size();

    struct SFault {
        EFileFault fault;
        uintmax_t afterBytes;
    };
    const std::vector<SFault> faults{
        {EFileFault::OpenTemporary, 0},   {EFileFault::Write, 0},
        {EFileFault::Write, 1},           {EFileFault::Write, 8},
        {EFileFault::Write, newSize / 2}, {EFileFault::Write, newSize - 1},
        {EFileFault::Flush, 0},           {EFileFault::Close, 0},
        {EFileFault::Rename, 0},
    };
    for (const SFault& f : faults) {
        SCOPED_TRACE(static_cast<int>(f.fault) * 1000 + static_cast<int>(f.afterBytes));
        CFileFaultInjection injection(f.fault, f.afterBytes);
        EXPECT_FALSE(file.Save(db));
        EXPECT_TRUE(injection.Triggered());
        EXPECT_FALSE(file.LastError().empty());
        EXPECT_EQ(FileBytes(m_file), before);
        EXPECT_EQ(Names(m_folder), (std::set<std::string>{"FoodDB.ddb"}));
    }

    // Into a folder that cannot be created: no file appears.
    db.SetPaths(m_root / "new" / "FoodDB.ddb", m_root / "new");
    {
        CFileFaultInjection injection(EFileFault::CreateFolder);
        EXPECT_FALSE(file.Save(db));
        EXPECT_TRUE(injection.Triggered());
    }
    EXPECT_FALSE(fs::exists(m_root / "new"));
    EXPECT_TRUE(file.Save(db));
    EXPECT_TRUE(fs::exists(m_root / "new" / "FoodDB.ddb"));
}

// ---- paths ----

TEST_F(FoodDBFileTest, SetPathsFindsTheUserFolderOfTheJournal) {
    const std::string sep(1, kPathSeparator);
    const std::string root = sep + "palm" + sep;
    auto library = std::make_shared<COneUserLibrary>(root);
    CUserDirectory users(library, SInstallPath{true, sep + "opt" + sep});
    ASSERT_TRUE(users.LibraryMode());

    CFoodDB db;
    ASSERT_TRUE(
        CFoodDBFile::SetPaths(db, users, root + "AnnL" + sep + "Fitquill" + sep + "UserDB.ddb"));
    EXPECT_EQ(db.FolderPath(), fs::path(root + "AnnL" + sep + "Fitquill"));
    EXPECT_EQ(db.FilePath(), fs::path(root + "AnnL" + sep + "Fitquill" + sep + "FoodDB.ddb"));
    EXPECT_EQ(library->askedPaths, std::vector<std::string>{root + "AnnL"});

    const std::string before = db.FilePath().string();
    for (const std::string& journal :
         {root, root + "Bob" + sep + "Fitquill" + sep + "UserDB.ddb",
          sep + "elsewhere" + sep + "AnnL" + sep + "UserDB.ddb", std::string("AnnL")}) {
        EXPECT_FALSE(CFoodDBFile::SetPaths(db, users, journal)) << journal;
        EXPECT_EQ(db.FilePath().string(), before);
    }
}

} // namespace
