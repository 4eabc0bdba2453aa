// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/body_fat.h"

#include <cstdio>

namespace fitquill {
namespace {

constexpr double kPerWaistInch = 4.15;
constexpr double kMaleConstant = 98.42;
constexpr double kFemaleConstant = 76.76;
constexpr double kPerPound = 0.082;
constexpr double kToPercent = 100.0;

std::string Format(const char* format, double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

bool IsMetric(int unitChoice) {
    return unitChoice == 1;
}

} // namespace

float PercentBodyFat(const CBodyMeasurements& measurements, int sex, const CWeightValue& weight) {
    if (!measurements.AutomaticBodyFat())
        return measurements.StoredPercentBodyFat();
    if (!weight.IsSet())
        return CBodyMeasurements::kUnset;
    const double pounds = RoundByTextRule(weight.Pounds(), 1);
    if (pounds == 0.0)
        return CBodyMeasurements::kUnset;
    for (int girth = 0; girth < kGirthCount; ++girth) {
        if (!(measurements.RawGirth(girth) > 0.0f))
            return CBodyMeasurements::kUnset;
    }
    const double waist = measurements.RawGirth(kGirthWaist);
    const double c = sex == 0 ? kMaleConstant : kFemaleConstant;
    return static_cast<float>((waist * kPerWaistInch - c - pounds * kPerPound) / pounds *
                              kToPercent);
}

std::string BodyFatFilledText(float percent) {
    return percent >= 0.0f ? Format("%1.1f", percent) : kBodyFatMissingText;
}

std::string BodyFatEditedText(float percent) {
    return percent > 0.0f ? Format("%1.2f", percent) : kBodyFatMissingText;
}

const char* GirthUnitLabel(int unitChoice) {
    return IsMetric(unitChoice) ? "cm" : "in";
}

SMeasurementsPage FillMeasurementsPage(const CBodyMeasurements& measurements, int sex,
                                       const CWeightValue& weight, int unitChoice) {
    SMeasurementsPage page;
    for (int girth = 0; girth < kGirthCount; ++girth) {
        if (measurements.IsGirthSet(girth))
            page.girths[girth] = measurements.Girth(girth, IsMetric(unitChoice));
    }
    page.unitLabel = GirthUnitLabel(unitChoice);
    page.automatic = measurements.AutomaticBodyFat();
    const float stored = measurements.StoredPercentBodyFat();
    if (!page.automatic && stored > 0.0f)
        page.typedPercent = stored;
    page.percentText = BodyFatFilledText(PercentBodyFat(measurements, sex, weight));
    return page;
}

SMeasurementsStored StoreMeasurementsPage(CBodyMeasurements& measurements,
                                          const SMeasurementsEntry& entry, int unitChoice) {
    SMeasurementsStored result;
    measurements.SetAutomaticBodyFat(entry.automatic);
    if (!entry.automatic)
        result.percentRefused = !measurements.SetPercentBodyFat(entry.typedPercent);
    for (int girth = 0; girth < kGirthCount; ++girth) {
        if (!measurements.SetGirth(girth, entry.girths[girth], IsMetric(unitChoice))) {
            result.girthRefused = true;
            result.focusGirth = girth;
        }
    }
    return result;
}

} // namespace fitquill
