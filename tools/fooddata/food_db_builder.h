// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_db.h"
#include "core/journal/journal_date.h"
#include "tools/fooddata/name_check.h"
#include "tools/fooddata/usda_data.h"

#include <array>
#include <string>
#include <vector>

namespace fitquill {

// The limits of the program and the handheld that the shipped database keeps.
constexpr size_t kMaxGroups = 250;
constexpr size_t kMaxCategoriesPerGroup = 250;
constexpr size_t kMaxItemsPerCategory = 250;
constexpr size_t kMaxRecordBytes = 65520;

// Bytes of a food item in a category's item record, and of the whole record.
size_t ItemRecordBytes(const CFoodItem& item);
size_t CategoryRecordBytes(const CFoodCategory& category);

struct SFoodDataOptions {
    // Identifiers are drawn from a generator seeded with this date, so that two builds of
    // the same data give the same file.
    CJournalDate idSeedDate = CJournalDate(30, 9, 2015);
    // Categories above either size are split into smaller ones; below the hard limits so
    // that a user can still add foods.
    size_t splitItems = 150;
    size_t splitBytes = 48000;
};

struct SCategorySize {
    std::string group;
    std::string category;
    size_t items = 0;
    size_t recordBytes = 0;
};

struct SSkippedFood {
    std::string ndbNo;
    std::string description;
    std::string reason;
};

// What the build did, for the tool's report and for the tests.
struct SFoodDataReport {
    size_t foodsRead = 0;
    size_t portionsRead = 0;
    size_t groups = 0;
    size_t categories = 0;
    size_t items = 0;
    std::vector<SSkippedFood> skipped;

    size_t namesAsWritten = 0; // the description parts fitted as they were
    size_t namesRewritten = 0; // readable short forms or abbreviations were enough
    size_t namesDropped = 0;   // trailing parts left out
    size_t namesCut = 0;       // cut at a word boundary
    size_t namesNumbered = 0;  // told apart from a sibling only by a number
    size_t categoriesSplit = 0;

    size_t servingVolume = 0;
    size_t servingItem = 0;
    size_t servingWeight = 0;
    size_t serving100g = 0;

    // Foods whose basic nutrient 0-5 USDA does not give; stored as 0.
    std::array<size_t, 6> missingBasic{};
    size_t extendedValues = 0;
    size_t portionsReduced = 0; // a lighter portion kept every value within 9999.9
    size_t clampedValues = 0;   // values cut at 9999.9 all the same (none expected)
    size_t replacedCharacters = 0;
    // Nutrients stored in another unit than USDA's ("cholesterol_mg: mg -> g").
    std::vector<std::string> unitConversions;

    size_t handheldCategories = 0;
    size_t handheldItems = 0;

    std::vector<SCategorySize> largest; // the ten categories with the most items
    // Limits the database breaks (none expected); each line names the place.
    std::vector<std::string> limitViolations;
    // The item names against the naming rules.
    SNameCheck naming;

    std::string Text() const;
};

struct SFoodDataBuild {
    CFoodDB db;
    SFoodDataReport report;
};

// Builds the whole database in memory from the USDA data.
SFoodDataBuild BuildFoodDb(const SUsdaData& data, const SFoodDataOptions& options = {});

// A copy holding only the groups outside the handheld subset (the update file's content);
// identifiers stay as they are.
CFoodDB ExtensionSubset(const CFoodDB& db);

} // namespace fitquill
