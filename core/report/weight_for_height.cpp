// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/weight_for_height.h"

#include <cstddef>

namespace fitquill {
namespace {

// Square inches per square metre over pounds per kilogram: lb/in^2 to kg/m^2.
constexpr double kImperialIndexFactor = 0.45359237 / (0.0254 * 0.0254);

} // namespace

CWeightForHeightChart::CWeightForHeightChart(int sex, bool metric)
    : m_female(sex == 1), m_metric(metric) {
    if (m_metric) {
        m_minHeight = m_female ? 145 : 155;
        m_maxHeight = m_female ? 185 : 200;
        m_minWeight = m_female ? 30 : 40;
        m_maxWeight = m_female ? 130 : 150;
    } else {
        m_minHeight = m_female ? 56 : 60;
        m_maxHeight = m_female ? 74 : 80;
        m_minWeight = m_female ? 70 : 90;
        m_maxWeight = m_female ? 290 : 330;
    }
}

const char* CWeightForHeightChart::ZoneLabel(int zone) {
    static const char* const kLabels[kZoneCount] = {"= Under", "= Normal", "= Over", "= Obese"};
    return zone >= 0 && zone < kZoneCount ? kLabels[zone] : "";
}

const char* CWeightForHeightChart::Caption() const {
    return m_female ? "Female Weight Chart" : "Male Weight Chart";
}

double CWeightForHeightChart::WeightAtIndex(double bodyMassIndex, double height) const {
    if (m_metric)
        return bodyMassIndex * (height / 100) * (height / 100);
    return bodyMassIndex * height * height / kImperialIndexFactor;
}

double CWeightForHeightChart::BodyMassIndex(double height, double weight) const {
    if (height <= 0)
        return 0;
    if (m_metric)
        return weight / ((height / 100) * (height / 100));
    return weight / (height * height) * kImperialIndexFactor;
}

int CWeightForHeightChart::Zone(double height, double weight) const {
    // A weight exactly on a boundary belongs above it, whatever the divisions leave.
    const double index = BodyMassIndex(height, weight) + 1e-9;
    int zone = 0;
    while (zone < kZoneCount - 1 && index >= kBoundaries[static_cast<std::size_t>(zone)])
        ++zone;
    return zone;
}

} // namespace fitquill
