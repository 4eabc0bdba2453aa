// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>

namespace fitquill {

// The eight girths of a day, in their stored order.
enum EGirth : int {
    kGirthNeck = 0,
    kGirthChest = 1,
    kGirthWaist = 2,
    kGirthHips = 3,
    kGirthThighs = 4,
    kGirthCalves = 5,
    kGirthUpperArms = 6,
    kGirthForearms = 7,
};
constexpr int kGirthCount = 8;

// A day's body measurements: girths held in inches and a percent body fat, each -1 when
// unset, plus the automatic-body-fat flag and the change bits the conduit merges by.
class CBodyMeasurements {
public:
    static constexpr float kUnset = -1.0f;
    static constexpr double kMaxGirthInches = 350.0;

    // Change bits: neck 0x8000 down to forearms 0x0100 (one per girth), then body fat or
    // the automatic flag.
    static constexpr uint16_t kChangeNeck = 0x8000;
    static constexpr uint16_t kChangeBodyFat = 0x0080;
    static constexpr uint16_t GirthChangeBit(int girth) {
        return static_cast<uint16_t>(kChangeNeck >> girth);
    }

    CBodyMeasurements();

    // Stores a girth given in inches or (metric) centimetres. 0 or less unsets it; a value
    // above 350 inches (or not a number) is refused: the girth is unset and false returned.
    // A girth index outside 0-7 raises an internal error.
    bool SetGirth(int girth, double value, bool metric);
    // Inches, or centimetres when metric; -1 when unset.
    double Girth(int girth, bool metric) const;
    bool IsGirthSet(int girth) const;

    // The typed percentage. Nothing is stored while the percentage is calculated (false);
    // 100 or more is refused (false, unchanged); 0 or less unsets it.
    bool SetPercentBodyFat(double percent);
    float StoredPercentBodyFat() const { return m_percentBodyFat; }

    bool AutomaticBodyFat() const { return m_automaticBodyFat != 0; }
    // Switching it on discards a typed percentage.
    void SetAutomaticBodyFat(bool automatic);

    uint16_t ChangeBits() const { return m_changeBits; }
    void ClearChangeBits() { m_changeBits = 0; }

    // For readers and writers of stored records: the fields exactly as stored, unchecked.
    float RawGirth(int girth) const;
    void SetRawGirth(int girth, float inches);
    void SetRawPercentBodyFat(float percent) { m_percentBodyFat = percent; }
    uint8_t RawAutomaticBodyFat() const { return m_automaticBodyFat; }
    void SetRawAutomaticBodyFat(uint8_t automatic) { m_automaticBodyFat = automatic; }
    void SetRawChangeBits(uint16_t bits) { m_changeBits = bits; }

    bool operator==(const CBodyMeasurements&) const = default;

private:
    void StoreGirth(int girth, float inches);
    void StorePercent(float percent);

    std::array<float, kGirthCount> m_girths;
    float m_percentBodyFat = kUnset;
    uint8_t m_automaticBodyFat = 1;
    uint16_t m_changeBits = 0;
};

} // namespace fitquill
