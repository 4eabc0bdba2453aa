// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/clock.h"
#include "core/food/food_db.h"
#include "core/internal_error.h"
#include "core/names.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

using namespace fitquill;

namespace {

CFoodItem Item(const std::string& name, const std::string& searchName = "") {
    CFoodItem item;
    item.SetName(name, searchName.empty());
    if (!searchName.empty())
        item.SetSearchName(searchName);
    return item;
}

std::vector<std::string> ItemNames(const CFoodDB& db, uint16_t g, uint16_t c) {
    std::vector<std::string> names;
    for (const auto& item : db.GetCategory(g, c).Items())
        names.push_back(item.Name());
    return names;
}

void ExpectFoodDbError(const std::function<void()>& action, const char* label) {
    try {
        action();
        ADD_FAILURE() << label << ": no internal error";
    } catch (const CInternalError& e) {
        EXPECT_EQ(e.Code(), kInternalErrorFoodDb) << label;
    }
}

// A database made on 5 March 2004.
class FoodDBTest : public ::testing::Test {
protected:
    void SetUp() override { CClock::SetFixedDate(CClock::ParseIsoDate("2004-03-05")); }
    void TearDown() override { CClock::SetFixedDate(std::nullopt); }

    // One group "Dairy" holding one category "Cheese".
    static void AddDairyCheese(CFoodDB& db) {
        ASSERT_EQ(db.AddGroup(CFoodGroup("Dairy")), 0);
        ASSERT_EQ(db.AddCategory(0, CFoodCategory("Cheese")), 0);
    }
};

TEST_F(FoodDBTest, NewDatabaseHeaderAndIdentifiers) {
    CFoodDB db;
    EXPECT_EQ(db.FormatVersion(), 6);
    EXPECT_TRUE(db.FindHistory().empty());
    EXPECT_EQ(db.IdGenerator().Value(), 0xA1940000u);
    ASSERT_EQ(db.HeaderNutrients().size(), 6u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(db.HeaderNutrients()[i], CNutrientValue(i, 0.0f));
    EXPECT_EQ(db.GroupCount(), 0);
    EXPECT_FALSE(db.HasCategoryInClipboard());
    EXPECT_FALSE(db.HasItemInClipboard());

    AddDairyCheese(db);
    EXPECT_EQ(db.AddFoodItem(0, 0, Item("Brie")), 0);
    EXPECT_EQ(db.GetGroup(0).Id(), 0xA1940001u);
    EXPECT_EQ(db.GetCategory(0, 0).Id(), 0xA1940002u);
    EXPECT_EQ(db.GetFoodItem(0, 0, 0).Id(), 0xA1940003u);
    // A refused add draws no identifier.
    EXPECT_EQ(db.AddFoodItem(0, 0, Item("Brie")), -1);
    EXPECT_EQ(db.AddFoodItem(0, 0, Item("Feta")), 1);
    EXPECT_EQ(db.GetFoodItem(0, 0, 1).Id(), 0xA1940004u);
    for (uint8_t flag : {db.GetGroup(0).Modified(), db.GetCategory(0, 0).Modified(),
                         db.GetFoodItem(0, 0, 0).Modified()})
        EXPECT_EQ(flag, 1);
}

// The same name order and refusals at every level of the tree.
TEST_F(FoodDBTest, SortedInsertionAtEveryLevel) {
    struct Step {
        const char* name;
        int index;
    };
    const Step steps[] = {{"Apple", 0},     {"apple", 0},    {"Banana", 2}, {"", -1},
                          {"   ", -1},      {"Apple", -1},   {"b", 2},      {"APPLE", 2},
                          {"Apple pie", 3}, {" Cherry ", 6}, {"apple", -1}};
    const std::vector<std::string> order = {"apple", "Apple",  "APPLE", "Apple pie",
                                            "b",     "Banana", "Cherry"};

    CFoodDB items, categories, groups;
    ASSERT_EQ(items.AddGroup(CFoodGroup("Host")), 0);
    ASSERT_EQ(items.AddCategory(0, CFoodCategory("Host")), 0);
    ASSERT_EQ(categories.AddGroup(CFoodGroup("Host")), 0);
    for (const Step& step : steps) {
        EXPECT_EQ(items.AddFoodItem(0, 0, Item(step.name)), step.index) << "item " << step.name;
        EXPECT_EQ(categories.AddCategory(0, CFoodCategory(step.name)), step.index)
            << "category " << step.name;
        EXPECT_EQ(groups.AddGroup(CFoodGroup(step.name)), step.index) << "group " << step.name;
    }
    EXPECT_EQ(ItemNames(items, 0, 0), order);
    ASSERT_EQ(categories.CategoryCount(0), order.size());
    ASSERT_EQ(groups.GroupCount(), order.size());
    for (uint16_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(categories.GetCategory(0, i).Name(), order[i]);
        EXPECT_EQ(groups.GetGroup(i).Name(), order[i]);
    }

    EXPECT_EQ(items.FindFoodItem(0, 0, "Apple"), 1);
    EXPECT_EQ(items.FindFoodItem(0, 0, " APPLE "), 2);
    EXPECT_EQ(items.FindFoodItem(0, 0, "aPPLE"), -1);
    EXPECT_EQ(categories.FindCategory(0, "Cherry"), 6);
    EXPECT_EQ(groups.FindGroup("Cherry"), 6);
}

TEST_F(FoodDBTest, AddedCopiesKeepTheirContents) {
    CFoodDB db;
    CFoodCategory category("Fresh");
    category.SetId(0x12345678u);
    CFoodItem pear = Item("Pear");
    pear.SetId(0x0BADF00Du);
    category.AppendStoredItem(pear);
    CFoodGroup group("Fruit");
    group.AppendStoredCategory(category);

    ASSERT_EQ(db.AddGroup(group), 0);
    EXPECT_EQ(db.GetGroup(0).Id(), 0xA1940001u);
    EXPECT_EQ(db.GetCategory(0, 0).Id(), 0x12345678u);
    EXPECT_EQ(db.GetFoodItem(0, 0, 0).Id(), 0x0BADF00Du);
    EXPECT_EQ(db.GetCategory(0, 0).Modified(), 0);

    ASSERT_EQ(db.AddCategory(0, CFoodCategory("Dried")), 0);
    ASSERT_EQ(db.AddCategory(0,
                             [&] {
                                 CFoodCategory copy = category;
                                 copy.SetName("Canned");
                                 return copy;
                             }()),
              0);
    EXPECT_EQ(db.GetCategory(0, 0).Id(), 0xA1940003u);
    EXPECT_EQ(db.GetFoodItem(0, 0, 0).Id(), 0x0BADF00Du);
}

TEST_F(FoodDBTest, RenameKeepsIdentifierAndContents) {
    CFoodDB db;
    for (const char* name : {"Alpha", "Beta", "Gamma"})
        db.AddGroup(CFoodGroup(name));
    db.AddCategory(0, CFoodCategory("Inside"));
    const CFoodGroup alpha = db.GetGroup(0);

    EXPECT_EQ(db.RenameGroup(0, "  Zeta "), 2);
    EXPECT_EQ(db.GetGroup(2).Name(), "Zeta");
    EXPECT_EQ(db.GetGroup(2).Id(), alpha.Id());
    EXPECT_EQ(db.GetGroup(2).Categories(), alpha.Categories());
    EXPECT_EQ(db.RenameGroup(0, "Gamma"), -1);
    EXPECT_EQ(db.RenameGroup(0, " "), -1);
    EXPECT_EQ(db.RenameGroup(0, "beta"), 0); // differs in case only: a different name
    EXPECT_EQ(db.GetGroup(0).Name(), "beta");

    // Renaming to the current name changes nothing, not even a cleared flag.
    db.ClearModifiedFlags();
    EXPECT_EQ(db.RenameGroup(1, "Gamma"), 1);
    EXPECT_EQ(db.GetGroup(1).Modified(), 0);
    EXPECT_EQ(db.RenameCategory(2, 0, "Inside"), 0);
    EXPECT_EQ(db.GetCategory(2, 0).Modified(), 0);

    db.AddCategory(2, CFoodCategory("Middle"));
    EXPECT_EQ(db.RenameCategory(2, 0, "Middle"), -1);
    EXPECT_EQ(db.RenameCategory(2, 0, "Outside"), 1);
    EXPECT_EQ(db.GetCategory(2, 1).Modified(), 1);
}

TEST_F(FoodDBTest, ReplaceKeepsTheReplacedIdentifier) {
    CFoodDB db;
    AddDairyCheese(db);
    for (const char* name : {"Brie", "Cheddar", "Feta"})
        db.AddFoodItem(0, 0, Item(name));
    const uint32_t brieId = db.GetFoodItem(0, 0, 0).Id();
    db.ClearModifiedFlags();

    CFoodItem edited = Item("Gouda");
    edited.SetId(0x42u);
    EXPECT_EQ(db.ReplaceFoodItem(0, 0, 0, edited), 2);
    EXPECT_EQ(ItemNames(db, 0, 0), (std::vector<std::string>{"Cheddar", "Feta", "Gouda"}));
    EXPECT_EQ(db.GetFoodItem(0, 0, 2).Id(), brieId);
    EXPECT_EQ(db.GetFoodItem(0, 0, 2).Modified(), 1);

    EXPECT_EQ(db.ReplaceFoodItem(0, 0, 2, Item("Feta")), -1);
    EXPECT_EQ(db.ReplaceFoodItem(0, 0, 2, Item("")), -1);
    EXPECT_EQ(db.ReplaceFoodItem(0, 0, 2, Item("Gouda", "gouda aged")), 2);
    EXPECT_EQ(db.GetFoodItem(0, 0, 2).SearchName(), "gouda aged");
}

TEST_F(FoodDBTest, DeletesAndCounts) {
    CFoodDB db;
    AddDairyCheese(db);
    db.AddCategory(0, CFoodCategory("Milk"));
    db.AddFoodItem(0, 0, Item("Brie"));
    db.AddFoodItem(0, 0, Item("Feta"));
    db.AddGroup(CFoodGroup("Fruit"));
    EXPECT_EQ(db.CategoryCount(0), 2);
    EXPECT_EQ(db.ItemCount(0, 0), 2);

    db.DeleteFoodItem(0, 0, 0);
    EXPECT_EQ(ItemNames(db, 0, 0), std::vector<std::string>{"Feta"});
    db.DeleteCategory(0, 1);
    EXPECT_EQ(db.CategoryCount(0), 1);
    db.DeleteAllCategories(0);
    EXPECT_EQ(db.CategoryCount(0), 0);
    db.DeleteGroup(0);
    EXPECT_EQ(db.GetGroup(0).Name(), "Fruit");
    db.DeleteAllGroups();
    EXPECT_EQ(db.GroupCount(), 0);
}

TEST_F(FoodDBTest, BadIndexesRaiseFoodDbErrorAndChangeNothing) {
    CFoodDB db;
    AddDairyCheese(db);
    db.AddFoodItem(0, 0, Item("Brie"));
    db.CopyFoodItem(0, 0, 0);
    const CFoodDB before = db;

    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"GetGroup", [&] { db.GetGroup(1); }},
        {"GetCategory", [&] { db.GetCategory(0, 1); }},
        {"GetFoodItem", [&] { db.GetFoodItem(0, 0, 1); }},
        {"GetFoodItem group", [&] { db.GetFoodItem(3, 0, 0); }},
        {"ItemCount", [&] { db.ItemCount(0, 1); }},
        {"FindFoodItem", [&] { db.FindFoodItem(0, 2, "Brie"); }},
        {"RenameGroup", [&] { db.RenameGroup(1, "X"); }},
        {"RenameCategory", [&] { db.RenameCategory(0, 1, "X"); }},
        {"DeleteGroup", [&] { db.DeleteGroup(1); }},
        {"DeleteCategory", [&] { db.DeleteCategory(0, 1); }},
        {"DeleteAllCategories", [&] { db.DeleteAllCategories(1); }},
        {"AddFoodItem", [&] { db.AddFoodItem(0, 1, Item("X")); }},
        {"ReplaceFoodItem", [&] { db.ReplaceFoodItem(0, 0, 1, Item("X")); }},
        {"DeleteFoodItem", [&] { db.DeleteFoodItem(0, 0, 1); }},
        {"CopyCategory", [&] { db.CopyCategory(0, 1); }},
        {"CutCategory", [&] { db.CutCategory(1, 0); }},
        {"CopyFoodItem", [&] { db.CopyFoodItem(0, 0, 1); }},
        {"CutFoodItem", [&] { db.CutFoodItem(0, 0, 1); }},
        {"PasteFoodItem", [&] { db.PasteFoodItem(0, 1); }},
        {"GetSearchResult", [&] { db.GetSearchResult(0); }},
        {"AppendStoredCategory", [&] { db.AppendStoredCategory(1, CFoodCategory("X")); }},
        {"AppendStoredItem", [&] { db.AppendStoredItem(0, 1, Item("X")); }},
        {"SetGroupRecordNumber", [&] { db.SetGroupRecordNumber(1, 2); }},
    };
    for (const auto& [label, action] : cases)
        ExpectFoodDbError(action, label);
    EXPECT_TRUE(db == before);

    // The categories of a group beyond the list are simply none.
    EXPECT_EQ(db.GetCategories(1), nullptr);
    EXPECT_EQ(db.CategoryCount(1), 0);
    EXPECT_EQ(db.FindCategory(1, "Cheese"), -1);
    EXPECT_EQ(db.AddCategory(1, CFoodCategory("X")), -1);
    db.CopyCategory(0, 0);
    EXPECT_EQ(db.PasteCategory(1), -1);
}

TEST_F(FoodDBTest, ClipboardsHoldOneThingAndSurvivePaste) {
    CFoodDB db;
    AddDairyCheese(db);
    db.AddFoodItem(0, 0, Item("Brie"));
    EXPECT_EQ(db.PasteFoodItem(0, 0), -1);
    EXPECT_EQ(db.PasteCategory(0), -1);

    db.CopyFoodItem(0, 0, 0);
    EXPECT_TRUE(db.HasItemInClipboard());
    db.CopyCategory(0, 0);
    EXPECT_FALSE(db.HasItemInClipboard());
    EXPECT_EQ(db.CategoryClipboard().Items().size(), 1u);
    db.CopyFoodItem(0, 0, 0);
    EXPECT_FALSE(db.HasCategoryInClipboard());

    db.CutFoodItem(0, 0, 0);
    EXPECT_EQ(db.ItemCount(0, 0), 0);
    EXPECT_EQ(db.PasteFoodItem(0, 0), 0);
    EXPECT_EQ(db.GetFoodItem(0, 0, 0).Name(), "Brie"); // nothing else holds the name
    EXPECT_EQ(db.ItemClipboard().Name(), "Brie");

    db.CutCategory(0, 0);
    EXPECT_EQ(db.CategoryCount(0), 0);
    EXPECT_EQ(db.PasteCategory(0), 0);
    EXPECT_EQ(db.GetCategory(0, 0).Name(), "Cheese");
    db.ClearClipboards();
    EXPECT_FALSE(db.HasCategoryInClipboard());
    EXPECT_FALSE(db.HasItemInClipboard());
}

TEST_F(FoodDBTest, PastedItemGetsNextFreeName) {
    CFoodDB db;
    AddDairyCheese(db);
    db.AddFoodItem(0, 0, Item("Oatmeal", "rolled oats"));
    db.AddFoodItem(0, 0, Item("Oatmeal1"));
    db.CopyFoodItem(0, 0, 0);
    db.ClearModifiedFlags();

    const int at = db.PasteFoodItem(0, 0);
    ASSERT_EQ(at, 2);
    const CFoodItem& pasted = db.GetFoodItem(0, 0, 2);
    EXPECT_EQ(pasted.Name(), "Oatmeal2");
    EXPECT_EQ(pasted.SearchName(), "rolled oats");
    EXPECT_NE(pasted.Id(), db.GetFoodItem(0, 0, 0).Id());
    EXPECT_EQ(pasted.Modified(), 1);

    // Long names are shortened so that the numbered name stays within 255 characters.
    const std::string longName(255, 'x');
    db.AddFoodItem(0, 0, Item(longName));
    db.CopyFoodItem(0, 0, db.FindFoodItem(0, 0, longName));
    db.PasteFoodItem(0, 0);
    db.PasteFoodItem(0, 0);
    EXPECT_GE(db.FindFoodItem(0, 0, std::string(254, 'x') + "1"), 0);
    EXPECT_GE(db.FindFoodItem(0, 0, std::string(254, 'x') + "2"), 0);
}

TEST_F(FoodDBTest, PasteRefusedWhenEveryNumberedNameIsTaken) {
    CFoodDB db;
    AddDairyCheese(db);
    std::vector<std::string> names = {"Soup"};
    for (int n = 1; n <= 9999; ++n)
        names.push_back("Soup" + std::to_string(n));
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CompareNames(a, b) < 0; });
    for (const auto& name : names)
        ASSERT_GE(db.AppendStoredItem(0, 0, Item(name)), 0);
    db.CopyFoodItem(0, 0, 0);
    EXPECT_EQ(db.PasteFoodItem(0, 0), -1);
    EXPECT_EQ(db.ItemCount(0, 0), 10000);
}

TEST_F(FoodDBTest, PastedCategoriesKeepTheirItemIdentifiers) {
    CFoodDB db;
    ASSERT_EQ(db.AddGroup(CFoodGroup("Group")), 0);
    ASSERT_EQ(db.AddCategory(0, CFoodCategory("Name")), 0);
    db.AddFoodItem(0, 0, Item("Bread"));
    db.AddFoodItem(0, 0, Item("Roll"));
    const CFoodCategory original = db.GetCategory(0, 0);
    db.CopyCategory(0, 0);

    EXPECT_EQ(db.PasteCategory(0), 1);
    EXPECT_EQ(db.PasteCategory(0), 2);
    ASSERT_EQ(db.CategoryCount(0), 3);
    for (uint16_t c : {1, 2}) {
        const CFoodCategory& copy = db.GetCategory(0, c);
        EXPECT_EQ(copy.Name(), c == 1 ? "Name1" : "Name2");
        EXPECT_NE(copy.Id(), original.Id());
        EXPECT_EQ(copy.Modified(), 1);
        EXPECT_EQ(copy.Items(), original.Items());
    }
    EXPECT_NE(db.GetCategory(0, 1).Id(), db.GetCategory(0, 2).Id());
}

TEST_F(FoodDBTest, FindMatchesCategoryOrSearchNameIgnoringCase) {
    CFoodDB db;
    AddDairyCheese(db);
    db.AddFoodItem(0, 0, Item("Brie"));
    db.AddFoodItem(0, 0, Item("Feta"));
    db.AddGroup(CFoodGroup("Meals")); // index 1
    db.AddCategory(1, CFoodCategory("Soups"));
    db.AddFoodItem(1, 0, Item("Chili", "Bean soup"));
    db.AddFoodItem(1, 0, Item("Pie", "Quiche lorraine"));
    db.AddFoodItem(1, 0, Item("Brie", "baked BRIE"));
    db.AddFoodItem(1, 0, Item("Lunch", "nachos"));

    db.Find(" ch ");
    std::vector<std::tuple<std::string, int, int, int>> found;
    for (const auto& r : db.SearchResults())
        found.emplace_back(r.item.Name(), r.group, r.category, r.itemIndex);
    const std::vector<std::tuple<std::string, int, int, int>> expected = {
        {"Brie", 0, 0, 0}, {"Feta", 0, 0, 1}, {"Lunch", 1, 0, 2}, {"Pie", 1, 0, 3}};
    EXPECT_EQ(found, expected);
    EXPECT_EQ(db.FindHistory(), std::vector<std::string>{"ch"});

    // Equal names are all kept; the later hit goes first.
    db.Find("brie");
    ASSERT_EQ(db.SearchResultCount(), 2);
    EXPECT_EQ(db.GetSearchResult(0).group, 1);
    EXPECT_EQ(db.GetSearchResult(1).group, 0);
    EXPECT_EQ(db.GetSearchResult(0).item.SearchName(), "baked BRIE");
}

TEST_F(FoodDBTest, FindStopsAtOneHundredResults) {
    CFoodDB db;
    AddDairyCheese(db);
    // Visited in reverse name order, so the cut shows which hits were kept.
    for (int i = 0; i < 150; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Z%03d", 149 - i);
        db.AddCategory(0, CFoodCategory(std::string("Cat") + std::to_string(1000 + i)));
        db.AddFoodItem(0, static_cast<uint16_t>(i), Item(name, "match"));
    }
    db.Find("MATCH");
    ASSERT_EQ(db.SearchResultCount(), 100);
    EXPECT_EQ(db.GetSearchResult(0).item.Name(), "Z050");
    EXPECT_EQ(db.GetSearchResult(99).item.Name(), "Z149");
    EXPECT_EQ(db.GetSearchResult(0).category, 99);
}

TEST_F(FoodDBTest, FindHistoryKeepsTenMostRecentFirst) {
    CFoodDB db;
    for (int i = 1; i <= 12; ++i)
        db.Find("t" + std::to_string(i));
    std::vector<std::string> expected;
    for (int i = 12; i >= 3; --i)
        expected.push_back("t" + std::to_string(i));
    EXPECT_EQ(db.FindHistory(), expected);

    db.Find("t10"); // the third entry
    expected.erase(expected.begin() + 2);
    expected.insert(expected.begin(), "t10");
    EXPECT_EQ(db.FindHistory(), expected);

    db.SetFindHistory({" a ", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"});
    ASSERT_EQ(db.FindHistory().size(), 10u);
    EXPECT_EQ(db.FindHistory().front(), "a");
    EXPECT_EQ(db.FindHistory().back(), "j");
}

TEST_F(FoodDBTest, StoredObjectsAreTakenAsStored) {
    CFoodDB db;
    const CIdGenerator generator = db.IdGenerator();
    CFoodGroup b("Beta");
    b.SetId(0x80001234u);
    CFoodGroup a("Alpha");
    a.SetId(0x80005678u);
    a.SetModified(1);

    EXPECT_EQ(db.AppendStoredGroup(b), 0);
    EXPECT_EQ(db.AppendStoredGroup(a), 0); // out of order: still placed sorted
    EXPECT_EQ(db.AppendStoredGroup(b), 2); // equal names are not dropped
    EXPECT_EQ(db.GetGroup(0).Id(), 0x80005678u);
    EXPECT_EQ(db.GetGroup(0).Modified(), 1);
    EXPECT_EQ(db.GetGroup(1).Modified(), 0);
    EXPECT_EQ(db.IdGenerator(), generator);

    CFoodItem item = Item("Kale");
    item.SetId(0x80000009u);
    EXPECT_EQ(db.AppendStoredCategory(1, CFoodCategory("Leaves")), 0);
    EXPECT_EQ(db.AppendStoredItem(1, 0, item), 0);
    EXPECT_EQ(db.GetFoodItem(1, 0, 0), item);
    db.SetGroupRecordNumber(1, 4);
    EXPECT_EQ(db.GetGroup(1).RecordNumber(), 4);

    db.AddFoodItem(1, 0, Item("Chard"));
    db.ClearModifiedFlags();
    EXPECT_EQ(db.GetGroup(0).Modified(), 0);
    EXPECT_EQ(db.GetFoodItem(1, 0, 0).Modified(), 0);
}

TEST_F(FoodDBTest, ListsStopAtTheLargestSigned16BitIndex) {
    CFoodDB db;
    char name[16];
    for (int i = 0; i < 0x7FFF; ++i) {
        std::snprintf(name, sizeof name, "G%05d", i);
        ASSERT_EQ(db.AddGroup(CFoodGroup(name)), i);
    }
    EXPECT_EQ(db.AddGroup(CFoodGroup("H")), -1);
    EXPECT_EQ(db.AppendStoredGroup(CFoodGroup("H")), -1);
    EXPECT_EQ(db.GroupCount(), 0x7FFF);
}

} // namespace
