// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace fitquill {

// A person's reference intake of one nutrient per day, in the unit the nutrient table declares
// for that nutrient (so selenium and vitamin B12 in mg). `recommended` is the Recommended
// Dietary Allowance, or the Adequate Intake when `adequateIntake` is set; 0 when the nutrient
// has an upper limit only. `upperLimit` is the Tolerable Upper Intake Level (for sodium the
// chronic-disease risk reduction intake that replaced it); 0 when none applies to food.
struct SReferenceIntake {
    double recommended = 0.0;
    bool adequateIntake = false;
    double upperLimit = 0.0;
    bool operator==(const SReferenceIntake&) const = default;
};

// Where the values come from, in full and short enough to show beside them.
extern const char* const kReferenceIntakeSource;
extern const char* const kReferenceIntakeSourceShort;

// The reference of a nutrient index (0-33) for sex 0 (male) or 1 (female) and an age in years.
// None for a nutrient without a reference, an age under 1 (infant values are set by months,
// which the profile does not hold), an unset age or an unknown sex.
std::optional<SReferenceIntake> ReferenceIntake(int nutrient, int sex, int age);

} // namespace fitquill
