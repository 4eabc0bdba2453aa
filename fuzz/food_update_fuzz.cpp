// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary text to the food-data import as the automatic update uses it: into a user's
// database of some size, either adding new items while keeping every existing one (the update
// file) or replacing the whole database (the reload). The first byte chooses which. Whatever
// the text, the lists stay in order, and the update never changes or loses an item the user
// had.
#include "core/food/food_csv.h"
#include "core/names.h"

#include <cstdlib>
#include <string>
#include <string_view>

using namespace fitquill;

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

template <class T> void CheckSorted(const std::vector<T>& list) {
    for (size_t i = 1; i < list.size(); ++i)
        Check(CompareNames(list[i - 1].Name(), list[i].Name()) < 0);
}

// A user's database: a few groups of a few categories of many items, built once.
const CFoodDB& UserDatabase() {
    static const CFoodDB db = [] {
        CFoodDB built;
        for (const char* group : {"Beverages", "Fruits, Fruit Juice", "Vegetables"}) {
            const int g = built.AddGroup(CFoodGroup(group));
            for (const char* category : {"Fresh", "Canned", "My Foods"}) {
                const int c = built.AddCategory(static_cast<uint16_t>(g), CFoodCategory(category));
                for (int i = 0; i < 40; ++i) {
                    CFoodItem item;
                    item.SetName(std::string(category).substr(0, 3) + " item " + std::to_string(i),
                                 true);
                    item.SetBaseMeasure(CServingMeasure(100, kUnitGram), false);
                    item.SetServing(CServingMeasure(100, kUnitGram));
                    item.SetNutrientValue(kNutrientCalories, static_cast<float>(10 + i));
                    built.AddFoodItem(static_cast<uint16_t>(g), static_cast<uint16_t>(c), item);
                }
            }
        }
        return built;
    }();
    return db;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const bool reload = (data[0] & 1) != 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const CFoodDB& before = UserDatabase();
    CFoodDB db = before;
    CFoodCsv::ImportText(db, text,
                         reload ? EFoodImportMode::ReplaceDatabase : EFoodImportMode::ExistingWins);

    CheckSorted(db.Groups());
    for (const CFoodGroup& group : db.Groups()) {
        CheckSorted(group.Categories());
        for (const CFoodCategory& category : group.Categories())
            CheckSorted(category.Items());
    }
    if (reload)
        return 0;
    // The update file adds; every item the user had is still there, unchanged.
    for (const CFoodGroup& group : before.Groups()) {
        const int g = db.FindGroup(group.Name());
        Check(g >= 0);
        for (const CFoodCategory& category : group.Categories()) {
            const int c = db.FindCategory(static_cast<uint16_t>(g), category.Name());
            Check(c >= 0);
            for (const CFoodItem& item : category.Items()) {
                const int i = db.FindFoodItem(static_cast<uint16_t>(g), static_cast<uint16_t>(c),
                                              item.Name());
                Check(i >= 0);
                Check(db.GetGroup(static_cast<uint16_t>(g))
                          .Categories()[static_cast<size_t>(c)]
                          .Items()[static_cast<size_t>(i)] == item);
            }
        }
    }
    return 0;
}
