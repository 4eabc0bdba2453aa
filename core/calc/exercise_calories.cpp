// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/exercise_calories.h"

#include "core/internal_error.h"

namespace fitquill {
namespace {

// The factors are kept exactly as the handheld uses them, so both sides compute the same
// whole calories.
constexpr SExerciseFormula kFormulas[kExerciseFormulaCount] = {
    {247, -1, 11, 0.010514041395394033}, // F1
    {314, -1, 19, 0.010535973698294976}, // F2
    {448, +1, 24, 0.010526315789473684}, // F3
    {179, -1, 2, 0.010560171535781291},  // F4
    {359, -1, 4, 0.010517875041764116},  // F5
    {471, -1, 1, 0.010519883904475788},  // F6
    {382, -1, 28, 0.010510435001257229}, // F7
    {359, -1, 5, 0.010517875041764116},  // F8
    {403, +1, 10, 0.010541344437834622}, // F9
    {135, -1, 17, 0.010503827666013887}, // F10
    {157, +1, 20, 0.01048780487804878},  // F11
    {538, -1, 7, 0.010531948098274402},  // F12
    {494, -1, 22, 0.010514041395394033}, // F13
    {224, +1, 12, 0.010526315789473684}, // F14
    {560, +1, 30, 0.010526315789473684}, // F15
    {650, -1, 1, 0.010530976716726322},  // F16
    {739, +1, 28, 0.010534509600415153}, // F17
    {269, +1, 26, 0.010503827666013887}, // F18
    {426, -1, 13, 0.010533430969413619}, // F19
    {202, -1, 25, 0.010541344437834622}, // F20
    {67, -1, 8, 0.010616929698708751},   // F21
};

constexpr int kAny = -2; // the activity or variant has no list there: any index matches

struct SAssignment {
    int activity;
    int variant;
    int intensity;
    int formula;
};

// Every list position of the exercise table and its formula; a selection matching no row
// burns nothing.
constexpr SAssignment kAssignments[] = {
    {0, 0, 0, 1},         {0, 0, 1, 2},         {0, 1, 0, 2},        {0, 1, 1, 3},
    {0, 2, kAny, 4},      {1, kAny, kAny, 5},   {2, 0, 0, 2},        {2, 0, 1, 6},
    {2, 1, 0, 7},         {2, 1, 1, 8},         {2, 1, 2, 3},        {3, kAny, kAny, 9},
    {4, 0, kAny, 8},      {4, 1, kAny, 9},      {5, kAny, kAny, 10}, {6, 0, kAny, 11},
    {6, 1, kAny, 1},      {7, kAny, kAny, 4},   {8, kAny, kAny, 12}, {9, kAny, kAny, 4},
    {10, kAny, kAny, 3},  {11, 0, kAny, 2},     {11, 1, kAny, 3},    {12, 0, kAny, 8},
    {12, 1, kAny, 13},    {13, kAny, kAny, 3},  {14, 0, 0, 2},       {14, 0, 1, 7},
    {14, 1, kAny, 14},    {14, 2, kAny, 14},    {15, 0, 0, 8},       {15, 0, 1, 9},
    {15, 0, 2, 3},        {15, 0, 3, 13},       {15, 0, 4, 15},      {15, 0, 5, 16},
    {15, 0, 6, 17},       {15, 1, kAny, 9},     {16, 0, kAny, 2},    {16, 1, kAny, 2},
    {17, 0, 0, 8},        {17, 0, 1, 18},       {17, 1, kAny, 18},   {17, 2, kAny, 19},
    {18, kAny, kAny, 14}, {19, kAny, kAny, 18}, {20, 0, kAny, 18},   {20, 1, kAny, 3},
    {21, kAny, kAny, 2},  {22, 0, kAny, 10},    {22, 1, kAny, 4},    {22, 2, kAny, 8},
    {23, 0, 0, 4},        {23, 0, 1, 20},       {23, 0, 2, 14},      {23, 1, kAny, 18},
    {23, 2, kAny, 18},    {24, 0, kAny, 10},    {24, 1, kAny, 18},   {25, 0, kAny, 18},
    {25, 1, kAny, 11},    {25, 2, 0, 20},       {25, 2, 1, 1},       {25, 3, kAny, 20},
    {25, 4, 0, 20},       {25, 4, 1, 18},       {25, 5, kAny, 4},    {25, 6, kAny, 21},
};

// The user-defined exercise of the activity table: its calories are typed, never computed.
constexpr int16_t kUserDefinedActivity = 26;

bool Matches(int rowIndex, int index) {
    return rowIndex == kAny || rowIndex == index;
}

} // namespace

const SExerciseFormula& ExerciseFormula(int formula) {
    if (formula < 1 || formula > kExerciseFormulaCount)
        RaiseInternalError(kInternalErrorGeneral, "exercise formula out of range");
    return kFormulas[formula - 1];
}

int ExerciseFormulaFor(int activity, int variant, int intensity) {
    for (const SAssignment& row : kAssignments) {
        if (row.activity == activity && Matches(row.variant, variant) &&
            Matches(row.intensity, intensity))
            return row.formula;
    }
    return 0;
}

double EvaluateExerciseFormula(int formula, double weightPounds, int minutes) {
    const SExerciseFormula& f = ExerciseFormula(formula);
    const double a = f.a / 59.0;
    const double b = f.b / 59.0;
    const double bracket = minutes * a + f.sign * b;
    return weightPounds * bracket * f.k;
}

std::optional<uint16_t> ExerciseCalories(int16_t activity, int16_t variant, int16_t intensity,
                                         float weightPounds, int16_t minutes) {
    if (minutes <= 0)
        return std::nullopt;
    if (!(weightPounds > 0.0f)) // NaN counts as no weight
        return std::nullopt;
    if (activity == kUserDefinedActivity)
        return std::nullopt;
    const int formula = ExerciseFormulaFor(activity, variant, intensity);
    if (formula == 0)
        return uint16_t{0};
    const double value = EvaluateExerciseFormula(formula, weightPounds, minutes);
    // Compared before the cut so that an infinite weight cannot overflow the conversion.
    if (!(value < kMaxExerciseCalories + 1.0))
        return kMaxExerciseCalories;
    return static_cast<uint16_t>(value);
}

} // namespace fitquill
