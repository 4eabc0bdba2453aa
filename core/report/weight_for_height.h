// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

namespace fitquill {

inline constexpr char kWeightForHeightMissingText[] =
    "Could not plot one or more data points due to missing height or weight information.";

// The weight-for-height chart: height across, weight up, in the user's unit system, divided
// into four zones by the body-mass-index boundaries. The ranges shown depend on the sex.
class CWeightForHeightChart {
public:
    static constexpr int kZoneCount = 4;
    static constexpr std::array<double, kZoneCount - 1> kBoundaries{18.5, 25, 30};

    // sex 1 is female, anything else is charted with the male ranges.
    CWeightForHeightChart(int sex, bool metric);

    static const char* ZoneLabel(int zone); // "= Under" ... "= Obese"
    const char* Caption() const;            // "Female Weight Chart" or "Male Weight Chart"
    bool IsMetric() const { return m_metric; }
    // Inches or centimetres; pounds or kilograms.
    double MinHeight() const { return m_minHeight; }
    double MaxHeight() const { return m_maxHeight; }
    double MinWeight() const { return m_minWeight; }
    double MaxWeight() const { return m_maxWeight; }
    // Height and weight labels, every HeightStep() and WeightStep() units from the minimum.
    double HeightStep() const { return m_metric ? 10 : 2; }
    double WeightStep() const { return m_metric ? 10 : 20; }

    // The weight at which a height reaches a body-mass index.
    double WeightAtIndex(double bodyMassIndex, double height) const;
    double BodyMassIndex(double height, double weight) const;
    // 0 under, 1 normal, 2 over, 3 obese.
    int Zone(double height, double weight) const;

private:
    bool m_female;
    bool m_metric;
    double m_minHeight, m_maxHeight, m_minWeight, m_maxWeight;
};

} // namespace fitquill
