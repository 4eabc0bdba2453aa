// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace fitquill {

// A day's blood-pressure reading: systolic and diastolic pressure (mmHg), pulse (per
// minute) and the time of the reading on a 12-hour clock. Every number is -1 when unset.
class CBloodPressure {
public:
    static constexpr int16_t kUnset = -1;
    static constexpr int kMaxReading = 999;

    static constexpr uint16_t kChangeSystolic = 0x8000;
    static constexpr uint16_t kChangeDiastolic = 0x4000;
    static constexpr uint16_t kChangePulse = 0x2000;
    static constexpr uint16_t kChangeTime = 0x1000;

    static constexpr uint8_t kAm = 0;
    static constexpr uint8_t kPm = 1;

    CBloodPressure() = default;

    // 1-999 is stored; 0 or less unsets the value; 1000 or more is refused: the value is
    // unset and false returned.
    bool SetSystolic(int value);
    bool SetDiastolic(int value);
    bool SetPulse(int value);

    // Hour 1-12, minute 0-59, amPm kAm or kPm. An hour of 0 or less unsets the whole time
    // (AM/PM back to AM). Otherwise an hour of 13 or more or a minute of 60 or more is
    // refused and unsets that part; a negative minute unsets the minute; an AM/PM value
    // other than 0 or 1 is refused and leaves it unchanged. False when anything was refused.
    bool SetTime(int hour, int minute, int amPm);

    int16_t Systolic() const { return m_systolic; }
    int16_t Diastolic() const { return m_diastolic; }
    int16_t Pulse() const { return m_pulse; }
    int16_t Hour() const { return m_hour; }
    int16_t Minute() const { return m_minute; }
    uint8_t AmPm() const { return m_amPm; }

    uint16_t ChangeBits() const { return m_changeBits; }
    void ClearChangeBits() { m_changeBits = 0; }

    // For readers of stored records: the fields exactly as stored, unchecked.
    void SetRawSystolic(int16_t value) { m_systolic = value; }
    void SetRawDiastolic(int16_t value) { m_diastolic = value; }
    void SetRawPulse(int16_t value) { m_pulse = value; }
    void SetRawTime(int16_t hour, int16_t minute, uint8_t amPm);
    void SetRawChangeBits(uint16_t bits) { m_changeBits = bits; }

    bool operator==(const CBloodPressure&) const = default;

private:
    bool StoreReading(int16_t& field, int value, uint16_t changeBit);

    int16_t m_systolic = kUnset;
    int16_t m_diastolic = kUnset;
    int16_t m_pulse = kUnset;
    int16_t m_hour = kUnset;
    int16_t m_minute = kUnset;
    uint8_t m_amPm = kAm;
    uint16_t m_changeBits = 0;
};

} // namespace fitquill
