// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/body_measurements.h"

#include "core/calc/units.h"
#include "core/internal_error.h"

#include <cmath>

namespace fitquill {
namespace {

void CheckGirth(int girth) {
    if (girth < 0 || girth >= kGirthCount)
        RaiseInternalError(kInternalErrorGeneral, "girth index out of range");
}

} // namespace

CBodyMeasurements::CBodyMeasurements() {
    m_girths.fill(kUnset);
}

void CBodyMeasurements::StoreGirth(int girth, float inches) {
    if (m_girths[girth] != inches) {
        m_girths[girth] = inches;
        m_changeBits |= GirthChangeBit(girth);
    }
}

void CBodyMeasurements::StorePercent(float percent) {
    if (m_percentBodyFat != percent) {
        m_percentBodyFat = percent;
        m_changeBits |= kChangeBodyFat;
    }
}

bool CBodyMeasurements::SetGirth(int girth, double value, bool metric) {
    CheckGirth(girth);
    const double inches = metric ? value * kInchesPerCentimetre : value;
    // NaN fails every comparison, so test for the accepted range rather than against it.
    if (!(inches <= kMaxGirthInches)) {
        StoreGirth(girth, kUnset);
        return false;
    }
    StoreGirth(girth, inches > 0.0 ? static_cast<float>(inches) : kUnset);
    return true;
}

double CBodyMeasurements::Girth(int girth, bool metric) const {
    CheckGirth(girth);
    const float inches = m_girths[girth];
    if (inches < 0.0f)
        return kUnset;
    return metric ? inches * kCentimetresPerInch : inches;
}

bool CBodyMeasurements::IsGirthSet(int girth) const {
    CheckGirth(girth);
    return m_girths[girth] >= 0.0f;
}

bool CBodyMeasurements::SetPercentBodyFat(double percent) {
    if (m_automaticBodyFat != 0)
        return false; // the percentage is calculated; a typed one is not kept
    if (!(percent < 100.0))
        return false;
    StorePercent(percent > 0.0 ? static_cast<float>(percent) : kUnset);
    return true;
}

void CBodyMeasurements::SetAutomaticBodyFat(bool automatic) {
    const uint8_t flag = automatic ? 1 : 0;
    if (m_automaticBodyFat != flag) {
        m_automaticBodyFat = flag;
        m_changeBits |= kChangeBodyFat;
    }
    if (automatic)
        StorePercent(kUnset);
}

float CBodyMeasurements::RawGirth(int girth) const {
    CheckGirth(girth);
    return m_girths[girth];
}

void CBodyMeasurements::SetRawGirth(int girth, float inches) {
    CheckGirth(girth);
    m_girths[girth] = inches;
}

} // namespace fitquill
