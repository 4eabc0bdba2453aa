// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>

namespace fitquill {

constexpr int kExerciseFormulaCount = 21;
constexpr uint16_t kMaxExerciseCalories = 9999;

// One of the linear calorie formulas: W * (t * a/59 + sign * b/59) * k.
struct SExerciseFormula {
    int a;
    int sign;
    int b;
    double k;
};

// Formula 1-21; raises an internal error for any other number.
const SExerciseFormula& ExerciseFormula(int formula);

// The formula (1-21) of an exercise given by its activity, variant and intensity indexes.
// 0 when the exercise burns nothing: an index outside the list its activity or variant has,
// an activity outside the table, or the user-defined exercise. Indexes of an activity or a
// variant without a list are ignored.
int ExerciseFormulaFor(int activity, int variant, int intensity);

// The unrounded value of a formula, evaluated in double precision: the bracket first, then
// the product with the weight, then with k.
double EvaluateExerciseFormula(int formula, double weightPounds, int minutes);

// Whole calories burnt, cut towards zero and capped at 9999. nullopt (nothing computed) when
// the minutes are not above 0, the weight in pounds is not above 0, or the activity is the
// user-defined exercise, whose calories the user types.
std::optional<uint16_t> ExerciseCalories(int16_t activity, int16_t variant, int16_t intensity,
                                         float weightPounds, int16_t minutes);

} // namespace fitquill
