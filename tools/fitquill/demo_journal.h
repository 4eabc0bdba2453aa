// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_db.h"
#include "core/journal/journal_date.h"
#include "core/journal/journal_db.h"

#include <cstdint>
#include <string>

namespace fitquill {

// What the demo generator makes.
struct SDemoOptions {
    int days = 30;
    uint64_t seed = 1;
    // The last day of the journal; the first is days - 1 calendar days before it.
    CJournalDate lastDay;
    // Food entries per day: a fixed count, or 0 for a day-to-day variation of 8 to 15.
    int foodEntriesPerDay = 0;
    // Exercises per day: a fixed count, or -1 for a variation of 0 to 2.
    int exercisesPerDay = -1;
};

// Plausible journals for demonstrations, tests and benchmarks: a profile with goals, and one
// record for every day of the range with a weight drifting towards the goal and back, meals
// from a food database, exercises of the exercise table with their calories, notes, water,
// weekly body measurements and now and then a blood-pressure reading.
//
// The result depends only on the options and the foods, never on the clock, so a seed always
// gives the same journal (and the same file bytes).
class CDemoJournal {
public:
    // Forty years. Every food entry and exercise takes an id from the journal's generator,
    // whose 18-bit counter must not wrap: CheckOptions refuses ranges with more entries.
    static constexpr int kMaxDays = 14600;
    static constexpr int kMaxFoodEntriesPerDay = 40;
    static constexpr int kMaxExercisesPerDay = 10;

    // A reason when the options cannot make a journal: too few or too many days, a first day
    // before 1904 (the packed dates start there), counts out of range, more entries than the
    // ids can tell apart. Empty when they can.
    static std::string CheckOptions(const SDemoOptions& options);

    // Replaces the journal's header, profile and days with a generated journal; its paths are
    // kept and it is marked modified. The meals come from `foods`, or from BuiltInFoods() when
    // `foods` holds no item with a serving. The options must pass CheckOptions (an internal
    // error otherwise).
    static void Fill(CJournalDB& journal, const CFoodDB& foods, const SDemoOptions& options);

    // A small food database of everyday foods in a few groups, for users without one.
    static CFoodDB BuiltInFoods();
};

} // namespace fitquill
