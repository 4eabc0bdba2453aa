// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/meal_log_rows.h"

#include "core/calc/units.h"
#include "core/journal/day_record.h"
#include "core/journal/user_profile.h"

#include <algorithm>
#include <cstdio>

namespace fitquill {
namespace {

template <typename... Args> std::string Format(const char* format, Args... args) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

// Whole calories are cut toward zero, never rounded (2.5 x 101 shows 252).
int WholeCalories(double calories) {
    return static_cast<int>(calories);
}

// Cells 1-6 of a line: calories and the five gram values, in the entry row's formats.
void FillNutrientCells(std::array<std::string, SMealLogRow::kCells>& line,
                       const std::array<double, 6>& values) {
    static constexpr const char* kGramFormats[] = {"%1.1fg  Carb", "%1.1fg  Prot", "%1.1fg  Fiber",
                                                   "%1.1fg  Fat", "%1.1fg  SFat"};
    line[1] = Format("%d  Cal", WholeCalories(values[0]));
    for (size_t i = 0; i < 5; ++i)
        line[i + 2] = Format(kGramFormats[i], values[i + 1]);
}

int FoodRows(CDayRecord* day, int sortMode) {
    return day ? day->FoodLog().DisplayRowCount(sortMode) : 0;
}

int ExerciseRows(const CDayRecord* day) {
    return day ? day->Exercises().Count() : 0;
}

} // namespace

int CMealLogRowRenderer::RowCount(CDayRecord* day, int sortMode) const {
    const int n = FoodRows(day, sortMode);
    return m_full ? n + ExerciseRows(day) + 9 : n + 3;
}

SMealLogRow CMealLogRowRenderer::Row(CDayRecord* day, int sortMode, int row,
                                     const SNutrientTargets& targets) const {
    SMealLogRow out;
    auto& line1 = out.lines[0];
    auto& line2 = out.lines[1];
    auto& line3 = out.lines[2];
    const int n = FoodRows(day, sortMode);
    const int e = ExerciseRows(day);
    auto heading = [&](const char* text) {
        out.kind = EMealLogRowKind::SectionHeading;
        line1[0] = " ";
        line2[0] = text;
    };

    if (row == 0) {
        if (m_full)
            heading("Meal Log");
        return out;
    }
    if (row >= 1 && row <= n) {
        const SFoodLogRow food = day->FoodLog().DisplayRow(sortMode, row - 1);
        if (food.isHeader || !food.entry) {
            out.kind = EMealLogRowKind::MealHeading;
            line1[0] = food.mealName;
            return out;
        }
        const CFoodItem& entry = *food.entry;
        out.kind = EMealLogRowKind::FoodEntry;
        line1[0] = entry.Name();
        const SUnitInfo* unit = UnitInfo(entry.Serving().Unit());
        line2[0] = Format("%1.2f %s", static_cast<double>(entry.Serving().Amount()),
                          unit ? unit->name : "");
        std::array<double, 6> values{};
        for (int i = 0; i < 6; ++i)
            values[static_cast<size_t>(i)] = entry.NutrientValue(i);
        FillNutrientCells(line2, values);
        return out;
    }
    if (row == n + 1) {
        out.kind = EMealLogRowKind::FoodTotals;
        std::array<double, 6> totals{};
        for (int i = 0; i < 6 && day; ++i)
            totals[static_cast<size_t>(i)] = day->FoodLog().TotalValue(i);
        // On screen the totals take the second line under a blank first line; printed, the
        // first line holds them.
        auto& values = m_full ? line1 : line2;
        if (!m_full)
            line1[0] = " ";
        values[0] = kTotalsText;
        FillNutrientCells(values, totals);
        return out;
    }
    if (!m_full) {
        if (row == n + 2) {
            out.kind = EMealLogRowKind::Hint;
            line1[0] = " ";
            line2[0] = kHintText;
        }
        return out;
    }

    if (row == n + 2) {
        out.kind = EMealLogRowKind::Water;
        line1[0] = "Water";
        line1[1] = Format("%d", day ? static_cast<int>(day->Water()) : 0);
    } else if (row == n + 3) {
        heading("Nutrient Targets");
    } else if (row >= n + 4 && row <= n + 6) {
        out.kind = EMealLogRowKind::NutrientTargets;
        // Only the target texts of the report are used; they do not depend on the profile.
        static const CUserProfile kAnyProfile;
        const SDietPlanReport texts = DietPlanReport(kAnyProfile, targets);
        switch (row - (n + 4)) {
        case 0:
            line1[0] = "Calories:";
            line1[1] = texts.calories;
            line3[0] = "Carbohydrates:";
            line3[1] = texts.grams[0];
            break;
        case 1:
            line1[0] = "Protein:";
            line1[1] = texts.grams[1];
            line2[0] = "Fiber:";
            line2[1] = texts.grams[2];
            line3[0] = "Total Fat:";
            line3[1] = texts.grams[3];
            break;
        default:
            line1[0] = "    Saturated Fat:";
            line1[1] = texts.grams[4];
            break;
        }
    } else if (row == n + 7) {
        heading("Exercise Log");
    } else if (row >= n + 8 && row <= n + 7 + e) {
        const CExerciseEntry& entry = day->Exercises().Entry(row - (n + 8));
        out.kind = EMealLogRowKind::Exercise;
        line1[0] = entry.Name();
        line2[0] = Format("%d Minutes", static_cast<int>(entry.Minutes()));
        line2[1] = Format("%d Cal", static_cast<int>(entry.Calories()));
    } else if (row == n + 8 + e) {
        out.kind = EMealLogRowKind::ExerciseTotals;
        line1[0] = kTotalsText;
        const int calories = day ? day->Exercises().Totals().calories : 0;
        line1[1] = Format("%d Cal", std::min(calories, kMaxExerciseCalories));
    }
    return out;
}

std::string ExerciseListCell(const CExerciseList* exercises, int row, int column) {
    static constexpr const char* kHeadings[] = {"", "Exercise", "Cal", "Min"};
    if (row < 0 || column < 0 || column > 3)
        return {};
    if (row == 0)
        return kHeadings[column];
    if (column == 0)
        return Format("%d", row);
    if (!exercises || row > exercises->Count())
        return {};
    const CExerciseEntry& entry = exercises->Entry(row - 1);
    switch (column) {
    case 1:
        return entry.Name();
    case 2:
        return Format("%d", static_cast<int>(entry.Calories()));
    default:
        return Format("%d", static_cast<int>(entry.Minutes()));
    }
}

} // namespace fitquill
