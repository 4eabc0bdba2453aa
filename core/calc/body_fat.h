// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/calc/units.h"
#include "core/journal/body_measurements.h"

#include <array>
#include <optional>
#include <string>

namespace fitquill {

// Texts of the body-measurement page.
inline constexpr const char* kBodyFatMissingText = "Input body measurements";
inline constexpr const char* kMeasurementsRefusedText =
    "One or more measurements is invalid or out of range.";
inline constexpr const char* kMeasurementsCaption = "Body Measurements";

// The day's percent body fat for a sex (0 male, anything else female) and the day's weight:
// the typed percentage while the automatic flag is off (which may be -1), otherwise the
// waist-and-weight estimate. -1 when the weight is missing or any of the eight girths is
// unset, although only the waist enters the estimate. Unrounded and not clamped: it can be
// negative.
float PercentBodyFat(const CBodyMeasurements& measurements, int sex, const CWeightValue& weight);

// The percentage line when the page is filled: "%1.1f" from 0 up, else "Input body
// measurements".
std::string BodyFatFilledText(float percent);
// The percentage line after the user changed a value: "%1.2f" above 0, else "Input body
// measurements".
std::string BodyFatEditedText(float percent);
// "in", or "cm" for unit choice 1.
const char* GirthUnitLabel(int unitChoice);

// What the page shows for a day. Empty optionals are empty fields.
struct SMeasurementsPage {
    std::array<std::optional<double>, kGirthCount> girths; // in the user's unit
    const char* unitLabel = "in";
    bool automatic = true;
    std::optional<double> typedPercent; // the editable percentage (automatic off)
    std::string percentText;            // the percentage line
};
SMeasurementsPage FillMeasurementsPage(const CBodyMeasurements& measurements, int sex,
                                       const CWeightValue& weight, int unitChoice);

// What the user entered; empty boxes read as 0, which unsets a value.
struct SMeasurementsEntry {
    bool automatic = true;
    double typedPercent = 0.0;
    std::array<double, kGirthCount> girths{}; // in the user's unit
};

// The outcome of storing the page. When a girth was refused the view fills the page again
// from the stored values, shows kMeasurementsRefusedText with kMeasurementsCaption and puts
// the focus, text selected, on focusGirth. The document is marked modified either way.
struct SMeasurementsStored {
    bool girthRefused = false;
    int focusGirth = -1;         // the refused girth that comes last in the storing order
    bool percentRefused = false; // a typed percentage of 100 or more; the old one stays
};

// Stores the automatic flag first, then (automatic off) the typed percentage, then the
// girths from neck to forearms, converted from centimetres for unit choice 1.
SMeasurementsStored StoreMeasurementsPage(CBodyMeasurements& measurements,
                                          const SMeasurementsEntry& entry, int unitChoice);

} // namespace fitquill
