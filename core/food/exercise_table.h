// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace fitquill {

constexpr int kExerciseActivityCount = 27;
constexpr int16_t kActivityUserDefined = 26;

// A run of consecutive constant names. Lists that look alike point at the same run, so two
// lists can be compared by their pointer. An empty list has no names and count 0.
struct SExerciseList {
    const char* const* names = nullptr;
    int16_t count = 0;

    bool Empty() const { return count <= 0; }
    bool Contains(int index) const { return index >= 0 && index < count; }
    // Raises an internal error for an index outside the list.
    const char* Name(int index) const;
    bool operator==(const SExerciseList&) const = default;
};

// The 27 activity names in table order; the last is "User Defined Exercise".
SExerciseList ExerciseActivityList();
// The variants of an activity; empty for an activity without variants or outside 0-26.
SExerciseList ExerciseVariantList(int activity);
// The intensities of a variant; empty when the variant has none or the indexes are outside
// the table.
SExerciseList ExerciseIntensityList(int activity, int variant);
// True for the activities whose intensity list survives choosing a variant outside their
// variant list (the cursor keeps what it showed).
bool ExerciseKeepsIntensitiesOnUnknownVariant(int activity);

} // namespace fitquill
