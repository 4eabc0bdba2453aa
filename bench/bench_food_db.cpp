// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/bench_food_db.h"

#include <cstdio>
#include <random>
#include <string>

namespace fitquill {
namespace {

const char* const kWords[] = {"Apple", "Bean",  "Cheese", "Dried", "Egg",   "Fish", "Grain",
                              "Ham",   "Icing", "Juice",  "Kale",  "Lemon", "Milk", "Nut",
                              "Oat",   "Pasta", "Rice",   "Soup",  "Tea",   "Yam"};

CFoodItem MakeItem(std::mt19937& random, int group, int category, int index) {
    char name[32];
    std::snprintf(name, sizeof name, "%s %s %d", kWords[(index * 7 + category) % 20],
                  kWords[(index + group) % 20], index);
    char searchName[96];
    std::snprintf(searchName, sizeof searchName, "%s, %s, cooked, with salt, group %d kind %d",
                  kWords[(index * 7 + category) % 20], kWords[(index + group) % 20], group,
                  category);
    CFoodItem item;
    item.SetName(name, false);
    item.SetSearchName(searchName);
    const bool itemUnit = random() % 3 == 0;
    const CServingMeasure volume(static_cast<float>(1 + random() % 4) * 0.5f,
                                 itemUnit ? static_cast<uint8_t>(kUnitItem)
                                          : static_cast<uint8_t>(random() % 10));
    const CServingMeasure weight(static_cast<float>(10 + random() % 300), kUnitGram);
    item.SetBaseMeasure(weight, true);
    item.SetBaseMeasure(volume, true);
    item.SetServing(random() % 2 == 0 ? weight : volume);
    std::vector<CNutrientValue> nutrients;
    for (int n = 0; n < kNutrientCount; ++n)
        nutrients.emplace_back(n, static_cast<float>(random() % 100000) / 100.0f);
    item.SetStoredNutrients(nutrients);
    return item;
}

} // namespace

const CFoodDB& BenchFoodDB() {
    static const CFoodDB db = [] {
        CFoodDB built;
        std::mt19937 random(2004);
        for (int g = 0; g < kBenchGroups; ++g) {
            const auto group = static_cast<uint16_t>(
                built.AddGroup(CFoodGroup(std::string(kWords[g]) + ", Misc")));
            for (int c = 0; c < kBenchCategoriesPerGroup; ++c) {
                const auto category = static_cast<uint16_t>(
                    built.AddCategory(group, CFoodCategory("Kind " + std::to_string(c))));
                for (int i = 0; i < kBenchItemsPerCategory; ++i)
                    built.AddFoodItem(group, category, MakeItem(random, g, c, i));
            }
        }
        return built;
    }();
    return db;
}

} // namespace fitquill
