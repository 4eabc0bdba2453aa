// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calc/units.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace fitquill {
namespace {

// The factors back from the base are stored values, not reciprocals: results must match
// the handheld's to the last bit.
const SUnitInfo kUnits[kUnitCount] = {
    {"pinch", 0.020833333333333332, 48},
    {"tsp", 0.16666666666666666, 6},
    {"tbsp", 0.5, 2},
    {"cup", 8, 0.125},
    {"pint", 16, 0.0625},
    {"qrt", 32, 0.03125},
    {"gal", 128, 0.0078125},
    {"fl oz", 1, 1},
    {"l", 33.81402, 0.029573531925514922},
    {"ml", 0.03381402, 29.57353192551492},
    {"oz", 28.34952, 0.03527396583786957},
    {"lbs", 453.59232, 0.002204622864866848},
    {"g", 1, 1},
    {"kg", 1000, 0.001},
    {"item", 1, 1},
};

const SUnitSetInfo kUnitSets[kUnitSetCount] = {{0, 15}, {0, 10}, {10, 4},
                                               {14, 1}, {0, 14}, {10, 5}};

constexpr double kKilogramsToPounds = 2.2046;
constexpr double kPoundsToKilograms = 0.453597;
constexpr float kMaxPounds = 999.0f;
constexpr int kMaxCentimetres = 302;

// n: whole part; d: the rounded fraction digits (0-9 or 0-99) after the carry.
struct SRounded {
    long long whole;
    int digits;
};

SRounded RoundParts(double value, int decimals) {
    value = std::clamp(value, -10000.0, 10000.0);
    long long n = static_cast<long long>(value); // cut towards zero
    double f = std::fabs(value - static_cast<double>(n));
    if (decimals <= 0) {
        if (f >= 0.49)
            ++n;
        return {n, 0};
    }
    const int scale = decimals == 1 ? 10 : 100;
    double scaled = f * scale;
    int d = static_cast<int>(scaled);
    if (scaled - d >= 0.49) {
        if (d == scale - 1) {
            d = 0;
            ++n;
        } else {
            ++d;
        }
    }
    return {n, d};
}

} // namespace

const SUnitInfo* UnitInfo(int unit) {
    return unit >= 0 && unit < kUnitCount ? &kUnits[unit] : nullptr;
}

SUnitSetInfo UnitSetInfo(int unitSet) {
    return unitSet >= 0 && unitSet < kUnitSetCount ? kUnitSets[unitSet] : kUnitSets[0];
}

std::string NumberToText(double value, int decimals, bool pad) {
    decimals = std::clamp(decimals, 0, 2);
    SRounded r = RoundParts(value, decimals);
    long long whole = std::min(r.whole, 10000LL);
    char buffer[32];
    if (decimals == 0 || (r.digits == 0 && !pad))
        std::snprintf(buffer, sizeof buffer, "%lld", whole);
    else if (decimals == 1)
        std::snprintf(buffer, sizeof buffer, "%lld.%d", whole, r.digits);
    else
        std::snprintf(buffer, sizeof buffer, "%lld.%02d", whole, r.digits);
    return buffer;
}

double RoundByTextRule(double value, int decimals) {
    return TextToNumber(NumberToText(value, decimals, false));
}

double TextToNumber(std::string_view text) {
    if (text.empty())
        return 0.0;
    std::string copy(text);
    double value = std::strtod(copy.c_str(), nullptr);
    if (std::isnan(value))
        return 0.0;
    return std::clamp(value, -10000.0, 10000.0);
}

CWeightValue CWeightValue::FromPounds(float pounds) {
    CWeightValue w;
    w.m_pounds = pounds;
    return w;
}

bool CWeightValue::Set(double value, bool metric) {
    if (!(value > 0.0)) // negative and NaN count as 0
        value = 0.0;
    if (metric)
        value *= kKilogramsToPounds;
    if (value > kMaxPounds)
        value = kMaxPounds;
    m_pounds = static_cast<float>(value);
    if (m_pounds == 0.0f) {
        m_pounds = kUnset;
        return false;
    }
    return true;
}

std::optional<double> CWeightValue::Get(bool metric) const {
    if (!IsSet())
        return std::nullopt;
    if (!metric)
        return m_pounds;
    return RoundByTextRule(m_pounds * kPoundsToKilograms, 1);
}

bool CHeightValue::SetCentimetres(int centimetres) {
    if (centimetres <= 0) {
        m_inches = -1.0f;
        return false;
    }
    centimetres = std::min(centimetres, kMaxCentimetres);
    m_inches = static_cast<float>(centimetres * kInchesPerCentimetre);
    return true;
}

bool CHeightValue::SetFeetInches(int feet, int inches) {
    feet = std::clamp(feet, 0, 9);
    inches = std::clamp(inches, 0, 11);
    if (feet == 0 && inches == 0) {
        m_inches = -1.0f;
        return false;
    }
    m_inches = static_cast<float>(feet * 12 + inches);
    return true;
}

std::optional<std::pair<int, int>> CHeightValue::GetFeetInches() const {
    if (!IsSet())
        return std::nullopt;
    int feet = static_cast<int>(m_inches * 0.083333336f);
    int inches = static_cast<int>(m_inches - static_cast<float>(feet * 12));
    return std::make_pair(feet, inches);
}

std::optional<int> CHeightValue::GetCentimetres() const {
    if (!IsSet())
        return std::nullopt;
    return static_cast<int>(RoundByTextRule(m_inches * kCentimetresPerInch, 0));
}

CServingMeasure::CServingMeasure(float amount, uint8_t unit, uint8_t unitSet)
    : m_unit(unit), m_unitSet(unitSet) {
    SetAmount(amount);
}

void CServingMeasure::SetAmount(float amount) {
    if (!(amount > 0.0f))
        amount = 0.0f;
    m_amount = std::min(amount, kMaxAmount);
}

std::optional<float> ConvertUnits(float amount, int fromUnit, int toUnit) {
    if (IsVolumeUnit(fromUnit) != IsVolumeUnit(toUnit))
        return std::nullopt;
    double value = fromUnit >= 0 && fromUnit < kUnitCount ? amount * kUnits[fromUnit].toBase : 0.0;
    if (toUnit < 0 || toUnit >= kUnitCount)
        return amount; // nothing is written for an unknown target unit
    return static_cast<float>(value * kUnits[toUnit].fromBase);
}

float ServingRatio(const CServingMeasure& serving, const CServingMeasure& reference) {
    std::optional<float> converted =
        ConvertUnits(reference.Amount(), reference.Unit(), serving.Unit());
    if (!converted)
        return 1.0f;
    if (*converted == 0.0f || serving.Amount() == 0.0f)
        return 0.0f;
    return serving.Amount() / *converted;
}

uint8_t DeriveUnitSet(const CServingMeasure& volumeOrItem, const CServingMeasure& weight) {
    const bool v = volumeOrItem.Amount() > 0.0f && volumeOrItem.Unit() < 10;
    const bool w = weight.Amount() > 0.0f;
    const bool i = volumeOrItem.Amount() > 0.0f && volumeOrItem.Unit() == kUnitItem;
    if (v && w)
        return 4;
    if (v)
        return 1;
    if (!w)
        return 3;
    if (i)
        return 5;
    return 2;
}

} // namespace fitquill
