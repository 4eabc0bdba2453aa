// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/diet_plan.h"

#include <array>
#include <string>

namespace fitquill {

class CDayRecord;
class CExerciseList;

// What a rendered meal log row is, so that the drawing code can pick fonts and indents.
enum class EMealLogRowKind {
    Empty,           // past the rendered rows
    MealHeading,     // "Breakfast" ... (by-meal order only)
    FoodEntry,       // a logged food item
    FoodTotals,      // the day's food totals
    Hint,            // "Double click to insert a food item." (screen only)
    SectionHeading,  // "Meal Log", "Nutrient Targets", "Exercise Log" (printed only)
    Water,           // printed only
    NutrientTargets, // three rows, printed only
    Exercise,        // printed only
    ExerciseTotals,  // printed only
};

// The texts of one row: three lines of ten cells; cells a row does not set are empty.
struct SMealLogRow {
    static constexpr int kLines = 3;
    static constexpr int kCells = 10;
    EMealLogRowKind kind = EMealLogRowKind::Empty;
    std::array<std::array<std::string, kCells>, kLines> lines;

    const std::string& Cell(int line, int cell) const {
        return lines[static_cast<size_t>(line)][static_cast<size_t>(cell)];
    }
};

// Turns one day into the numbered rows of the meal log: the screen grid (full = false: food
// rows, totals and the hint) or the printed meal and exercise log (full = true: a heading,
// food rows, totals, water, nutrient targets and the exercise log). The sections' row numbers
// are recomputed from the day for every row, so the rows always follow the day as it is now.
class CMealLogRowRenderer {
public:
    static constexpr const char* kHintText = "Double click to insert a food item.";
    static constexpr const char* kTotalsText = "Totals";
    static constexpr int kMaxExerciseCalories = 9999;

    explicit CMealLogRowRenderer(bool full) : m_full(full) {}

    bool IsFull() const { return m_full; }
    // n + 3 on screen, n + e + 9 printed; day may be null (a day without a record).
    int RowCount(CDayRecord* day, int sortMode) const;
    // Row `row` of the day in sortMode; targets are used by the printed variant only. A row
    // past the rendered ones comes back empty.
    SMealLogRow Row(CDayRecord* day, int sortMode, int row,
                    const SNutrientTargets& targets = {}) const;

private:
    bool m_full;
};

// The texts of the exercise list: column 0 numbers the rows from 1, row 0 heads columns 1-3
// with "Exercise", "Cal" and "Min", and row k shows exercise k - 1 (empty past the entries).
std::string ExerciseListCell(const CExerciseList* exercises, int row, int column);

// What the daily notes show for a day without a record.
inline constexpr const char* kDailyNotesPlaceholder = "Enter daily notes here.";

} // namespace fitquill
