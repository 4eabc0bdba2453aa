// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Journals for the report and chart tests: days with weights, food and exercise built through
// the journal's own setters.

#include "core/clock.h"
#include "core/food/food_item.h"
#include "core/food/nutrient.h"
#include "core/journal/exercise_entry.h"
#include "core/journal/journal_db.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace fitquill::test {

// A record for date; a weight of 0 leaves it without one. The journal stays on it.
inline CDayRecord& JournalDay(CJournalDB& journal, const CJournalDate& date, double weight = 0) {
    journal.GoToDate(date);
    CDayRecord* day = journal.CurrentDay(true);
    EXPECT_NE(day, nullptr);
    if (weight > 0)
        day->SetWeight(weight, journal.Profile().IsMetric(), journal.Profile());
    else
        day->SetWeight(CWeightValue(), journal.Profile());
    return *day;
}

class ReportJournalTest : public testing::Test {
protected:
    void SetUp() override {
        CClock::SetFixedDate(CClock::ParseIsoDate("2024-03-15"));
        journal.Clear();
    }
    void TearDown() override { CClock::SetFixedDate(std::nullopt); }

    // Male, 5 ft 7 in, 40 years.
    void CompleteProfile() {
        CUserProfile& profile = journal.Profile();
        profile.SetHeightFeetInches(5, 7);
        profile.SetAge(40);
        profile.SetSex(0);
    }

    CDayRecord& Day(const CJournalDate& date, double weight = 0) {
        return JournalDay(journal, date, weight);
    }

    // Logs one food item with these nutrient values (index, value) on the day.
    void Eat(CDayRecord& day, std::initializer_list<std::pair<int, float>> nutrients) {
        CFoodItem item;
        item.SetName("Meal", true);
        for (const auto& [index, value] : nutrients)
            item.SetNutrientValue(index, value);
        item.SetStoredServingRatio(1.0f);
        day.FoodLog().AddEntry(0, item, journal.IdGenerator());
        day.Refresh(journal.Profile());
    }

    void Exercise(CDayRecord& day, int calories) {
        CExerciseEntry entry;
        entry.SetName("Rowing");
        entry.SetMinutes(30);
        entry.SetCalories(calories);
        day.Exercises().Add(entry, journal.IdGenerator());
        day.Refresh(journal.Profile());
    }

    // The day's BMR typed by hand (activity level 5).
    void TypedBMR(CDayRecord& day, int bmr) {
        day.SetActivityLevel(5);
        day.SetBMR(bmr);
    }

    CJournalDB journal;
};

} // namespace fitquill::test
