// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/blood_pressure.h"

namespace fitquill {

bool CBloodPressure::StoreReading(int16_t& field, int value, uint16_t changeBit) {
    const bool accepted = value <= kMaxReading;
    const int16_t stored = (accepted && value > 0) ? static_cast<int16_t>(value) : kUnset;
    if (field != stored) {
        field = stored;
        m_changeBits |= changeBit;
    }
    return accepted;
}

bool CBloodPressure::SetSystolic(int value) {
    return StoreReading(m_systolic, value, kChangeSystolic);
}

bool CBloodPressure::SetDiastolic(int value) {
    return StoreReading(m_diastolic, value, kChangeDiastolic);
}

bool CBloodPressure::SetPulse(int value) {
    return StoreReading(m_pulse, value, kChangePulse);
}

bool CBloodPressure::SetTime(int hour, int minute, int amPm) {
    int16_t newHour = kUnset;
    int16_t newMinute = kUnset;
    uint8_t newAmPm = kAm;
    bool accepted = true;
    if (hour > 0) {
        if (hour <= 12)
            newHour = static_cast<int16_t>(hour);
        else
            accepted = false;
        if (minute >= 60)
            accepted = false;
        else if (minute >= 0)
            newMinute = static_cast<int16_t>(minute);
        if (amPm == kAm || amPm == kPm) {
            newAmPm = static_cast<uint8_t>(amPm);
        } else {
            newAmPm = m_amPm;
            accepted = false;
        }
    }
    if (newHour != m_hour || newMinute != m_minute || newAmPm != m_amPm) {
        m_hour = newHour;
        m_minute = newMinute;
        m_amPm = newAmPm;
        m_changeBits |= kChangeTime;
    }
    return accepted;
}

void CBloodPressure::SetRawTime(int16_t hour, int16_t minute, uint8_t amPm) {
    m_hour = hour;
    m_minute = minute;
    m_amPm = amPm;
}

} // namespace fitquill
