// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/food/exercise_table.h"

#include "core/internal_error.h"

#include <cstddef>

namespace fitquill {
namespace {

template <std::size_t N> constexpr SExerciseList Run(const char* const (&names)[N]) {
    return {names, static_cast<int16_t>(N)};
}

constexpr const char* kActivities[kExerciseActivityCount] = {
    "Aerobics",
    "Basketball",
    "Bicycling",
    "Boxing",
    "Football",
    "Frisbee",
    "Golf",
    "Gymnastics",
    "Handball",
    "Horseback Riding",
    "Martial Arts",
    "Racquetball",
    "Rock Climbing",
    "Rope Jumping",
    "Rowing",
    "Running",
    "Skating",
    "Skiing",
    "Softball",
    "Stair Machine",
    "Swimming",
    "Tennis",
    "Volleyball",
    "Walking",
    "Weight Lifting",
    "Other Activities",
    "User Defined Exercise",
};

constexpr const char* kAerobics[] = {"General", "Step", "Water"};
constexpr const char* kImpact[] = {"Low Impact", "High Impact"};
constexpr const char* kBicycling[] = {"Stationary", "Outdoor"};
// Shared by stationary bicycling, stationary rowing and the variants of weight lifting.
constexpr const char* kModerateVigorous[] = {"Moderate", "Vigorous"};
constexpr const char* kOutdoor[] = {"BMX-Mtn.", "12-13.9 mph", "14-15.9 mph"};
constexpr const char* kFootball[] = {"Touch", "Competitive"};
constexpr const char* kGolf[] = {"Using Cart", "Carrying Clubs"};
constexpr const char* kRacquetball[] = {"Casual", "Competitive"};
constexpr const char* kRockClimbing[] = {"Repelling", "Ascending"};
constexpr const char* kRowing[] = {"Stationary", "Whitewater Rafting", "Kayaking"};
constexpr const char* kRunning[] = {"General", "Cross-country"};
// "10  mph" has two blanks: it is the text the lists have always shown.
constexpr const char* kRunningSpeeds[] = {"5.0 mph", "5.2 mph", "6.0 mph", "6.7 mph",
                                          "7.5 mph", "8.6 mph", "10  mph"};
constexpr const char* kSkating[] = {"Rollerblade", "Ice"};
constexpr const char* kSkiing[] = {"Snow", "Water", "Machine"};
constexpr const char* kSnow[] = {"Cross-country", "Downhill"};
constexpr const char* kSwimming[] = {"General", "Water Polo"};
constexpr const char* kVolleyball[] = {"Non-competitive", "Competitive", "Beach"};
constexpr const char* kWalking[] = {"General", "Walk-Jog", "Hiking"};
constexpr const char* kWalkingSpeeds[] = {"3.5 mph", "4.0 mph", "4.5 mph"};
constexpr const char* kOther[] = {"Chopping Wood", "Housecleaning", "Mowing Lawn", "Gardening",
                                  "Shoveling",     "Raking Leaves", "Sex"};
constexpr const char* kMowing[] = {"Power", "Manual"};
constexpr const char* kShoveling[] = {"Snow Blower", "Manual"};

constexpr SExerciseList kNone{};

// Intensity lists per variant, for the activities where some variant has intensities.
constexpr SExerciseList kAerobicsIntensities[] = {Run(kImpact), Run(kImpact), kNone};
constexpr SExerciseList kBicyclingIntensities[] = {Run(kModerateVigorous), Run(kOutdoor)};
constexpr SExerciseList kRowingIntensities[] = {Run(kModerateVigorous), kNone, kNone};
constexpr SExerciseList kRunningIntensities[] = {Run(kRunningSpeeds), kNone};
constexpr SExerciseList kSkiingIntensities[] = {Run(kSnow), kNone, kNone};
constexpr SExerciseList kWalkingIntensities[] = {Run(kWalkingSpeeds), kNone, kNone};
constexpr SExerciseList kOtherIntensities[] = {kNone,           kNone, Run(kMowing), kNone,
                                               Run(kShoveling), kNone, kNone};

struct SActivityRow {
    SExerciseList variants;
    const SExerciseList* intensities; // one per variant, or nullptr when none has any
    bool keepsIntensitiesOnUnknownVariant;
};

constexpr SActivityRow kRows[kExerciseActivityCount] = {
    {Run(kAerobics), kAerobicsIntensities, true},
    {kNone, nullptr, false},
    {Run(kBicycling), kBicyclingIntensities, true},
    {kNone, nullptr, false},
    {Run(kFootball), nullptr, false},
    {kNone, nullptr, false},
    {Run(kGolf), nullptr, false},
    {kNone, nullptr, false},
    {kNone, nullptr, false},
    {kNone, nullptr, false},
    {kNone, nullptr, false},
    {Run(kRacquetball), nullptr, false},
    {Run(kRockClimbing), nullptr, false},
    {kNone, nullptr, false},
    {Run(kRowing), kRowingIntensities, true},
    {Run(kRunning), kRunningIntensities, true},
    {Run(kSkating), nullptr, false},
    {Run(kSkiing), kSkiingIntensities, true},
    {kNone, nullptr, false},
    {kNone, nullptr, false},
    {Run(kSwimming), nullptr, false},
    {kNone, nullptr, false},
    {Run(kVolleyball), nullptr, false},
    {Run(kWalking), kWalkingIntensities, true},
    {Run(kModerateVigorous), nullptr, false},
    {Run(kOther), kOtherIntensities, false},
    {kNone, nullptr, false},
};

bool IsActivity(int activity) {
    return activity >= 0 && activity < kExerciseActivityCount;
}

} // namespace

const char* SExerciseList::Name(int index) const {
    if (!Contains(index))
        RaiseInternalError(kInternalErrorGeneral, "exercise list index out of range");
    return names[index];
}

SExerciseList ExerciseActivityList() {
    return Run(kActivities);
}

SExerciseList ExerciseVariantList(int activity) {
    return IsActivity(activity) ? kRows[activity].variants : kNone;
}

SExerciseList ExerciseIntensityList(int activity, int variant) {
    if (!IsActivity(activity))
        return kNone;
    const SActivityRow& row = kRows[activity];
    if (row.intensities == nullptr || !row.variants.Contains(variant))
        return kNone;
    return row.intensities[variant];
}

bool ExerciseKeepsIntensitiesOnUnknownVariant(int activity) {
    return IsActivity(activity) && kRows[activity].keepsIntensitiesOnUnknownVariant;
}

} // namespace fitquill
