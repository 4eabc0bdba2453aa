// SPDX-License-Identifier: GPL-3.0-or-later
#include "conduit/sync/food_merge.h"

#include "core/food/food_db_file.h"
#include "tests/conduit/conduit_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

using namespace fitquill;
using namespace fitquill::testing;

namespace {

std::vector<std::string> GroupNames(const CFoodDB& db) {
    std::vector<std::string> names;
    for (const CFoodGroup& group : db.Groups())
        names.push_back(group.Name());
    return names;
}

std::vector<std::string> ItemNames(const CFoodDB& db, int group, int category) {
    std::vector<std::string> names;
    for (const CFoodItem& item : db.GetCategory(uint16_t(group), uint16_t(category)).Items())
        names.push_back(item.Name());
    return names;
}

using Names = std::vector<std::string>;

TEST(FoodMerge, GroupRenamesFollowTheChangedMarks) {
    struct SCase {
        const char* handheldName;
        const char* desktopName;     // "": not renamed on the desktop
        const char* desktopNewGroup; // "": none added on the desktop
        Names expected;
    };
    const SCase cases[] = {
        {"Veg", "", "", {"G1", "Veg"}},          // renamed on the handheld only
        {"Veg", "Fruit", "", {"Fruit", "G1"}},   // renamed on both: the desktop wins
        {"Veg", "", "Veg", {"G0", "G1", "Veg"}}, // a name another desktop group has: refused
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(std::string(c.desktopName) + "/" + c.desktopNewGroup);
        const CFoodDB base = SyncedFoodDB(2, 1, 2);
        const uint32_t renamed = base.GetGroup(0).Id();
        CFoodDB handheld = base;
        CFoodDB desktop = base;
        handheld.RenameGroup(0, c.handheldName);
        if (*c.desktopName)
            desktop.RenameGroup(0, c.desktopName);
        if (*c.desktopNewGroup)
            desktop.AddGroup(CFoodGroup(c.desktopNewGroup));

        MergeFoodDB(handheld, desktop);
        EXPECT_EQ(GroupNames(desktop), c.expected);
        // Whatever its name, the group keeps its id and contents.
        int at = -1;
        for (int g = 0; g < desktop.GroupCount(); ++g) {
            if (desktop.GetGroup(uint16_t(g)).Id() == renamed)
                at = g;
        }
        ASSERT_GE(at, 0);
        EXPECT_EQ(desktop.GetCategory(uint16_t(at), 0).ItemCount(), 2);
    }
}

TEST(FoodMerge, ItemsComeAndGoByIdAndChangedMark) {
    const CFoodDB base = SyncedFoodDB(1, 1, 4); // I0.0.0 .. I0.0.3
    CFoodDB handheld = base;
    CFoodDB desktop = base;
    // Each side keeps its own generator: new items of the two never share an id.
    handheld.SetIdGenerator(CIdGenerator::Seeded(Day(2, 2, 2024)));
    CFoodItem richer = base.GetFoodItem(0, 0, 2);
    richer.SetNutrientValue(kNutrientCalories, 999);
    handheld.ReplaceFoodItem(0, 0, 2, richer);        // I0.0.2 edited on the handheld
    handheld.AddFoodItem(0, 0, FoodItem("Kiwi", 60)); // new on the handheld
    handheld.DeleteFoodItem(0, 0, 0);                 // I0.0.0 deleted on the handheld
    desktop.DeleteFoodItem(0, 0, 1);                  // I0.0.1 deleted on the desktop
    desktop.AddFoodItem(0, 0, FoodItem("Date", 280)); // new on the desktop
    const uint32_t oldId = base.GetFoodItem(0, 0, 2).Id();
    CIdGenerator desktopIds = desktop.IdGenerator();
    const uint32_t firstNewId = desktopIds.Next();
    const uint32_t secondNewId = desktopIds.Next();

    const SyncChanges changes = MergeFoodDB(handheld, desktop);

    EXPECT_EQ(ItemNames(desktop, 0, 0), (Names{"Date", "I0.0.2", "I0.0.3", "Kiwi"}));
    // Items from the handheld get new ids from the desktop's generator, in handheld order.
    const CFoodItem& edited = desktop.GetFoodItem(0, 0, 1);
    EXPECT_EQ(edited.NutrientValue(kNutrientCalories), 999);
    EXPECT_NE(edited.Id(), oldId);
    EXPECT_EQ(edited.Id(), firstNewId);
    EXPECT_EQ(desktop.GetFoodItem(0, 0, 3).Id(), secondNewId);
    EXPECT_EQ(changes.size(), 3u); // Kiwi added, I0.0.2 taken, I0.0.0 deleted
}

TEST(FoodMerge, GroupsMadeApartUnderOneNameAreUnited) {
    CFoodDB handheld;
    CFoodDB desktop;
    // The same names on both sides, every id different: nothing is known to be deleted.
    auto fill = [](CFoodDB& db, uint32_t id, const char* item) {
        CFoodGroup group("Dairy");
        group.SetId(id);
        db.AppendStoredGroup(group);
        CFoodCategory category("Cheese");
        category.SetId(id + 1);
        db.AppendStoredCategory(0, category);
        CFoodItem food = FoodItem(item, 330);
        food.SetId(id + 2);
        db.AppendStoredItem(0, 0, food);
    };
    fill(handheld, 0x80000010, "Brie");
    fill(desktop, 0x80000020, "Gouda");

    MergeFoodDB(handheld, desktop);

    ASSERT_EQ(GroupNames(desktop), Names{"Dairy"});
    EXPECT_EQ(desktop.GetGroup(0).Id(), 0x80000020u);
    EXPECT_EQ(ItemNames(desktop, 0, 0), (Names{"Brie", "Gouda"}));
}

TEST(FoodMerge, IdenticalSidesReportNoChange) {
    CFoodDB handheld = SyncedFoodDB(3, 2, 3);
    handheld.AddFoodItem(1, 1, FoodItem("Kiwi", 60));
    handheld.RenameGroup(2, "Sweets");
    CFoodDB desktop = handheld;
    const auto before = CFoodDBFile::PackRecords(desktop);

    EXPECT_TRUE(MergeFoodDB(handheld, desktop).empty());
    EXPECT_EQ(CFoodDBFile::PackRecords(desktop), before);
}

TEST(FoodMerge, HandheldRecordsNeedVersion6AndEveryRecord) {
    CFoodDB db = SyncedFoodDB(2, 2, 1);
    const Records good = CFoodDBFile::PackRecords(db);
    Records oldVersion = good;
    oldVersion[0][1] = 5;
    for (const Records& records : {Records{}, oldVersion, Records(good.begin(), good.end() - 1)}) {
        CFoodDB handheld;
        EXPECT_FALSE(UnpackHandheldFoodDB(records, handheld));
    }
    CFoodDB handheld;
    ASSERT_TRUE(UnpackHandheldFoodDB(good, handheld));
    EXPECT_EQ(handheld.GroupCount(), 2);
    // A header and an empty group table make an empty database, not a damaged one.
    CFoodDB empty;
    CFoodDB unpacked;
    EXPECT_TRUE(UnpackHandheldFoodDB(CFoodDBFile::PackRecords(empty), unpacked));
    EXPECT_TRUE(IsFoodDBEmpty(unpacked));
}

} // namespace

// A group or category deleted on one side while the other changed something inside it: the
// change wins, as a journal day changed on the handheld comes back when the desktop deleted it.
TEST(FoodMerge, ADeletedGroupOrCategoryStaysForTheItemsChangedInIt) {
    const CFoodDB base = SyncedFoodDB(2, 2, 1); // G0, G1; C0, C1 in each
    {
        // Deleted on the handheld, an item added on the desktop.
        CFoodDB handheld = base;
        CFoodDB desktop = base;
        handheld.DeleteGroup(0);
        handheld.DeleteCategory(0, 1); // G1/C1
        ASSERT_GE(desktop.AddFoodItem(0, 0, FoodItem("Kiwi", 60)), 0);
        ASSERT_GE(desktop.AddFoodItem(1, 1, FoodItem("Fig", 70)), 0);
        MergeFoodDB(handheld, desktop);
        EXPECT_EQ(GroupNames(desktop), (Names{"G0", "G1"}));
        EXPECT_EQ(ItemNames(desktop, 0, 0), (Names{"I0.0.0", "Kiwi"}));
        EXPECT_EQ(desktop.CategoryCount(0), 2); // the group stays whole
        EXPECT_EQ(ItemNames(desktop, 1, 1), (Names{"Fig", "I1.1.0"}));
    }
    {
        // Deleted on the desktop, an item edited on the handheld.
        CFoodDB handheld = base;
        CFoodDB desktop = base;
        desktop.DeleteGroup(1);
        CFoodItem edited = base.GetFoodItem(1, 0, 0);
        edited.SetNutrientValue(kNutrientCalories, 5);
        ASSERT_GE(handheld.ReplaceFoodItem(1, 0, 0, edited), 0);
        MergeFoodDB(handheld, desktop);
        ASSERT_EQ(GroupNames(desktop), (Names{"G0", "G1"}));
        // The group comes back whole, the edited item with its new values.
        EXPECT_EQ(desktop.CategoryCount(1), 2);
        EXPECT_EQ(desktop.GetFoodItem(1, 0, 0).NutrientValue(kNutrientCalories), 5);
    }
}

// The handheld deleted an item and added another of the same name: the deleted one gives up
// its name, and the handheld's new item comes over.
TEST(FoodMerge, AnItemDeletedOnTheHandheldFreesItsNameFirst) {
    const CFoodDB base = SyncedFoodDB(1, 1, 2); // I0.0.0, I0.0.1
    CFoodDB handheld = base;
    CFoodDB desktop = base;
    handheld.DeleteFoodItem(0, 0, 0);
    ASSERT_GE(handheld.AddFoodItem(0, 0, FoodItem("I0.0.0", 77)), 0);

    MergeFoodDB(handheld, desktop);
    EXPECT_EQ(ItemNames(desktop, 0, 0), (Names{"I0.0.0", "I0.0.1"}));
    EXPECT_EQ(desktop.GetFoodItem(0, 0, 0).NutrientValue(kNutrientCalories), 77);
    EXPECT_NE(desktop.GetFoodItem(0, 0, 0).Id(), base.GetFoodItem(0, 0, 0).Id());
}

// The handheld renamed an item and added a new one under the old name: the renamed item gives
// up its name first, and both come over.
TEST(FoodMerge, AnItemRenamedOnTheHandheldFreesItsNameFirst) {
    const CFoodDB base = SyncedFoodDB(1, 1, 1); // I0.0.0
    CFoodDB handheld = base;
    CFoodDB desktop = base;
    CFoodItem renamed = base.GetFoodItem(0, 0, 0);
    renamed.SetName("Pear", true);
    ASSERT_GE(handheld.ReplaceFoodItem(0, 0, 0, renamed), 0);
    // Sorted before "Pear", so the merge meets it first.
    ASSERT_GE(handheld.AddFoodItem(0, 0, FoodItem("I0.0.0", 77)), 0);

    MergeFoodDB(handheld, desktop);
    EXPECT_EQ(ItemNames(desktop, 0, 0), (Names{"I0.0.0", "Pear"}));
    EXPECT_EQ(desktop.GetFoodItem(0, 0, 0).NutrientValue(kNutrientCalories), 77);
}

// The handheld moved an item into a new category under the name that the desktop gave the
// category the item left: the category the item left is merged first, so the item lands in it
// under its new name instead of being refused there and then deleted.
TEST(FoodMerge, AnItemMovedIntoTheNameTheDesktopGaveItsCategoryStays) {
    const CFoodDB base = SyncedFoodDB(1, 1, 2); // G0/C0: I0.0.0, I0.0.1
    CFoodDB handheld = base;
    CFoodDB desktop = base;
    handheld.SetIdGenerator(CIdGenerator::Seeded(Day(2, 2, 2024)));
    handheld.CutFoodItem(0, 0, 0);
    // "c0" sorts before "C0": the handheld lists the new category first.
    const int added = handheld.AddCategory(0, CFoodCategory("c0"));
    ASSERT_EQ(added, 0);
    ASSERT_GE(handheld.PasteFoodItem(0, uint16_t(added)), 0);
    ASSERT_GE(desktop.RenameCategory(0, 0, "c0"), 0);

    MergeFoodDB(handheld, desktop);
    ASSERT_EQ(desktop.CategoryCount(0), 1);
    EXPECT_EQ(desktop.GetCategory(0, 0).Id(), base.GetCategory(0, 0).Id());
    EXPECT_EQ(desktop.GetCategory(0, 0).Name(), "c0");
    EXPECT_EQ(ItemNames(desktop, 0, 0), (Names{"I0.0.0", "I0.0.1"}));
}

// The handheld moved a category into a group whose category the desktop renamed to the moved
// one's name: the two are united, and a food whose name the other category holds for another
// food comes in beside it under the name a paste would give it; the same food is not doubled.
TEST(FoodMerge, AFoodWhoseNameAnotherHoldsComesInUnderAPasteName) {
    CFoodDB base = SyncedFoodDB(2, 1, 0); // G0/C0, G1/C0
    base.AddFoodItem(0, 0, FoodItem("Apple", 50));
    base.AddFoodItem(0, 0, FoodItem("Kiwi", 60));
    base.AddFoodItem(1, 0, FoodItem("Apple", 90));
    base.AddFoodItem(1, 0, FoodItem("Kiwi", 60));
    base.AddFoodItem(1, 0, FoodItem("Plum", 40));
    base.ClearModifiedFlags();
    CFoodDB handheld = base;
    CFoodDB desktop = base;
    handheld.CutCategory(1, 0);
    ASSERT_GE(handheld.PasteCategory(0), 0); // "C01" beside "C0"
    ASSERT_GE(desktop.RenameCategory(0, 0, "C01"), 0);

    const SyncChanges changes = MergeFoodDB(handheld, desktop);
    ASSERT_EQ(desktop.CategoryCount(0), 1);
    EXPECT_EQ(desktop.CategoryCount(1), 0); // moved away on the handheld
    EXPECT_EQ(ItemNames(desktop, 0, 0), (Names{"Apple", "Apple1", "Kiwi", "Plum"}));
    EXPECT_EQ(desktop.GetFoodItem(0, 0, 0).NutrientValue(kNutrientCalories), 50);
    const CFoodItem& moved = desktop.GetFoodItem(0, 0, 1);
    EXPECT_EQ(moved.NutrientValue(kNutrientCalories), 90);
    EXPECT_EQ(moved.SearchName(), "Apple");
    EXPECT_NE(std::find(changes.begin(), changes.end(),
                        "food item \"G0/C01/Apple\" added from the handheld as \"Apple1\""),
              changes.end());
}
