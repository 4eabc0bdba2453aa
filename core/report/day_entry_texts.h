// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

namespace fitquill {

// Messages of the exercise entry.
inline constexpr const char* kCaloriesCaption = "Calories";
inline constexpr const char* kNeedWeightText =
    "You must enter your weight before calories can be calculated.";
inline constexpr const char* kNeedTimeText =
    "You must enter an exercise time before calories can be calculated.";
inline constexpr const char* kExerciseLogCaption = "Exercise Log";
inline constexpr const char* kExerciseLogRefusedText =
    "Please specify exercise time and calculate calories";
inline constexpr const char* kDeleteExercisesText =
    "Are you sure you want to delete the selected exercises?";
inline constexpr const char* kExerciseCaption = "Exercise";

// Messages of the blood pressure pane.
inline constexpr const char* kBloodPressureCaption = "Blood Pressure";
inline constexpr const char* kBloodPressureRefusedText =
    "One or more measurements or time values is invalid or out of range.";

// The topics of the body measurements pane with their help texts, in list order.
struct SMeasurementTopic {
    const char* name;
    const char* help;
};
extern const std::array<SMeasurementTopic, 10> kMeasurementTopics;

} // namespace fitquill
