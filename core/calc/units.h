// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fitquill {

// Unit indexes of the serving-unit table.
enum EUnit : uint8_t {
    kUnitPinch = 0,
    kUnitTsp = 1,
    kUnitTbsp = 2,
    kUnitCup = 3,
    kUnitPint = 4,
    kUnitQuart = 5,
    kUnitGallon = 6,
    kUnitFlOz = 7,
    kUnitLitre = 8,
    kUnitMl = 9,
    kUnitOz = 10,
    kUnitLbs = 11,
    kUnitGram = 12,
    kUnitKg = 13,
    kUnitItem = 14,
};
constexpr int kUnitCount = 15;
constexpr int kUnitSetCount = 6;

struct SUnitInfo {
    const char* name; // display text
    double toBase;    // factor to the family's base unit
    double fromBase;  // stored factor from the base unit back to this unit
};

// The unit table; nullptr for an index outside 0-14.
const SUnitInfo* UnitInfo(int unit);
inline bool IsVolumeUnit(int unit) {
    return unit >= 0 && unit < 10;
}

struct SUnitSetInfo {
    int firstIndex;
    int count;
};
// Which units a list offers for a unit set 0-5 (a list position plus firstIndex is the unit).
SUnitSetInfo UnitSetInfo(int unitSet);

// Number to text with 0-2 decimals: the fraction rounds up from 0.49, the value is clamped
// to +-10000. Meant for values of 0 and more; callers add the sign of negative values.
std::string NumberToText(double value, int decimals, bool pad);
// The value that NumberToText shows, as a number ("rounded by the number-to-text rule").
double RoundByTextRule(double value, int decimals);
// An empty text is 0; otherwise the decimal value of the text, clamped to +-10000.
double TextToNumber(std::string_view text);

// A body weight, held in pounds; -1 when unset.
class CWeightValue {
public:
    static constexpr float kUnset = -1.0f;

    CWeightValue() = default;
    static CWeightValue FromPounds(float pounds);

    // Stores a weight in pounds or (metric) kilograms; false and unset when it comes to 0.
    bool Set(double value, bool metric);
    // Pounds, or kilograms rounded to one decimal; nullopt when unset.
    std::optional<double> Get(bool metric) const;

    bool IsSet() const { return m_pounds >= 0.0f; }
    float Pounds() const { return m_pounds; }
    void SetRawPounds(float pounds) { m_pounds = pounds; }
    void Unset() { m_pounds = kUnset; }
    bool operator==(const CWeightValue&) const = default;

private:
    float m_pounds = kUnset;
};

// A body height, held in inches; -1 when unset.
class CHeightValue {
public:
    CHeightValue() = default;

    bool SetCentimetres(int centimetres);
    bool SetFeetInches(int feet, int inches);
    // Whole feet and inches; nullopt when unset.
    std::optional<std::pair<int, int>> GetFeetInches() const;
    // Whole centimetres rounded by the number-to-text rule; nullopt when unset.
    std::optional<int> GetCentimetres() const;

    bool IsSet() const { return m_inches >= 0.0f; }
    float Inches() const { return m_inches; }
    void SetRawInches(float inches) { m_inches = inches; }
    void Unset() { m_inches = -1.0f; }
    bool operator==(const CHeightValue&) const = default;

private:
    float m_inches = -1.0f;
};

// Girths are stored in inches; these convert at input and display.
constexpr double kInchesPerCentimetre = 0.39370078;
constexpr double kCentimetresPerInch = 2.54;

// An amount with a unit of the serving-unit table and the unit set a list offers for it.
class CServingMeasure {
public:
    static constexpr float kMaxAmount = 9999.99f;

    CServingMeasure() = default;
    CServingMeasure(float amount, uint8_t unit, uint8_t unitSet = 0);

    float Amount() const { return m_amount; }
    // Negative amounts become 0, amounts above 9999.99 become 9999.99.
    void SetAmount(float amount);
    uint8_t Unit() const { return m_unit; }
    void SetUnit(uint8_t unit) { m_unit = unit; }
    uint8_t UnitSet() const { return m_unitSet; }
    void SetUnitSet(uint8_t unitSet) { m_unitSet = unitSet; }

    // Equal when amount and unit are equal; the unit set does not count.
    bool operator==(const CServingMeasure& other) const {
        return m_amount == other.m_amount && m_unit == other.m_unit;
    }

private:
    float m_amount = 0.0f;
    uint8_t m_unit = 0;
    uint8_t m_unitSet = 0;
};

// Converts an amount between units; nullopt when one is a volume unit and the other is not.
// "item" converts to and from the weight units as if it were a gram.
std::optional<float> ConvertUnits(float amount, int fromUnit, int toUnit);

// The number of reference measures in a serving: 1 when the units do not convert, 0 when
// either amount is 0.
float ServingRatio(const CServingMeasure& serving, const CServingMeasure& reference);

// The unit set a food item's serving offers, derived from its two base measures.
uint8_t DeriveUnitSet(const CServingMeasure& volumeOrItem, const CServingMeasure& weight);

} // namespace fitquill
