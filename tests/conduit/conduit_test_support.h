// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Fixtures of the conduit tests: journals and food databases built through the model's own
// setters (so that change bits are set the way edits set them), and handheld databases.

#include "core/food/food_db.h"
#include "core/journal/journal_db.h"
#include "core/journal/journal_records.h"
#include "platform/palm/palm_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fitquill::testing {

using Records = std::vector<std::vector<uint8_t>>;

inline CJournalDate Day(int day, int month = 6, int year = 2024) {
    return CJournalDate(day, month, year);
}

inline CFoodItem FoodEntry(const std::string& name, int meal, float calories) {
    CFoodItem item;
    item.SetName(name, true);
    item.SetBaseMeasure({1, kUnitCup}, false);
    item.SetNutrientValue(kNutrientCalories, calories);
    item.SetServing({1, kUnitCup});
    item.SetMealType(static_cast<uint16_t>(meal));
    return item;
}

inline CExerciseEntry Exercise(const std::string& name, int minutes) {
    CExerciseEntry entry;
    entry.SetName(name);
    entry.SetMinutes(minutes);
    entry.SetCalories(minutes * 5);
    return entry;
}

// A journal as both sides hold it after a synchronisation: a complete profile and one day per
// date from `first` on, each with a weight, a food entry and an exercise; no change bits.
inline CJournalDB SyncedJournal(const CJournalDate& first, int days) {
    CJournalDB journal;
    journal.Header().SetIdGenerator(CIdGenerator::Seeded(Day(1, 1, 2024)));
    CUserProfile& profile = journal.Profile();
    profile.SetHeight(CHeightValue());
    profile.SetHeightFeetInches(5, 9);
    profile.SetAge(40);
    profile.SetStartingWeight(180, false);
    profile.SetStartingDate(Day(1, 1));
    profile.SetGoalDate(Day(1, 12));
    CJournalDate date = first;
    for (int i = 0; i < days; ++i, date.StepDays(1)) {
        CDayRecord day(date);
        day.SetWeight(CWeightValue::FromPounds(180.0f - static_cast<float>(i % 30) / 4), profile);
        day.FoodLog().AddEntry(kSortByMeal, FoodEntry("Oatmeal", kMealBreakfast, 150),
                               journal.IdGenerator());
        day.Exercises().Add(Exercise("Walking", 30), journal.IdGenerator());
        journal.InsertDay(std::move(day));
    }
    journal.ClearAllChangeBits();
    return journal;
}

inline CFoodItem FoodItem(const std::string& name, float calories) {
    CFoodItem item;
    item.SetName(name, true);
    item.SetBaseMeasure({100, kUnitGram}, false);
    item.SetNutrientValue(kNutrientCalories, calories);
    item.SetServing({100, kUnitGram});
    return item;
}

// `groups` groups of `categories` categories of `items` items each, named "G<g>", "C<c>" and
// "I<g>.<c>.<i>"; marks cleared, as after a synchronisation.
inline CFoodDB SyncedFoodDB(int groups, int categories, int items) {
    CFoodDB db;
    db.SetIdGenerator(CIdGenerator::Seeded(Day(1, 1, 2024)));
    for (int g = 0; g < groups; ++g) {
        const int group = db.AddGroup(CFoodGroup("G" + std::to_string(g)));
        for (int c = 0; c < categories; ++c) {
            const int category =
                db.AddCategory(uint16_t(group), CFoodCategory("C" + std::to_string(c)));
            for (int i = 0; i < items; ++i) {
                const std::string name =
                    "I" + std::to_string(g) + "." + std::to_string(c) + "." + std::to_string(i);
                db.AddFoodItem(uint16_t(group), uint16_t(category), FoodItem(name, float(i)));
            }
        }
    }
    db.ClearModifiedFlags();
    return db;
}

// Little-endian words of the HotSync Manager's records.
inline void Put32(std::vector<uint8_t>& record, size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        record[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

inline uint32_t Get32(const std::vector<uint8_t>& record, size_t offset) {
    return record[offset] | record[offset + 1] << 8 | record[offset + 2] << 16 |
           uint32_t(record[offset + 3]) << 24;
}

inline std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A handheld database file of these records, as the handheld application keeps it.
inline void WriteHandheldDatabase(const std::filesystem::path& file, const std::string& name,
                                  const Records& records) {
    CPalmDatabase db;
    ASSERT_TRUE(db.SetName(name));
    db.SetType(PalmFourCC("DATA"));
    db.SetCreator(PalmFourCC("FQui"));
    uint32_t id = 0x100;
    for (const auto& record : records)
        db.Records().push_back({0, id++, record});
    std::string error;
    ASSERT_TRUE(db.Save(file, &error)) << error;
}

inline Records ReadHandheldDatabase(const std::filesystem::path& file) {
    CPalmDatabase db;
    std::string error;
    EXPECT_TRUE(db.Load(file, &error)) << error;
    Records records;
    for (const auto& record : db.Records())
        records.push_back(record.data);
    return records;
}

inline CJournalDB UnpackJournal(const Records& records) {
    CJournalDB journal;
    std::vector<std::span<const uint8_t>> views(records.begin(), records.end());
    std::string damage;
    EXPECT_TRUE(UnpackJournalRecords(views, journal, &damage)) << damage;
    return journal;
}

} // namespace fitquill::testing
