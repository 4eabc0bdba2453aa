// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fooddata/serving_rules.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <string_view>

namespace fitquill {
namespace {

// A measure heavier than this is not a portion one person eats (a whole roast, a turkey back).
constexpr double kMaxPortionGrams = 700.0;

struct SUnitWord {
    const char* word;
    uint8_t unit;
};

// Longer words first where one starts another ("fl oz" before "oz").
constexpr SUnitWord kUnitWords[] = {
    {"fl oz", kUnitFlOz},    {"fluid ounce", kUnitFlOz}, {"cups", kUnitCup},
    {"cup", kUnitCup},       {"tablespoons", kUnitTbsp}, {"tablespoon", kUnitTbsp},
    {"tbsp", kUnitTbsp},     {"teaspoons", kUnitTsp},    {"teaspoon", kUnitTsp},
    {"tsp", kUnitTsp},       {"quarts", kUnitQuart},     {"quart", kUnitQuart},
    {"pints", kUnitPint},    {"pint", kUnitPint},        {"gallons", kUnitGallon},
    {"gallon", kUnitGallon}, {"liters", kUnitLitre},     {"liter", kUnitLitre},
    {"litres", kUnitLitre},  {"litre", kUnitLitre},      {"ml", kUnitMl},
    {"pinch", kUnitPinch},   {"ounces", kUnitOz},        {"ounce", kUnitOz},
    {"oz", kUnitOz},         {"lbs", kUnitLbs},          {"lb", kUnitLbs},
    {"pounds", kUnitLbs},    {"pound", kUnitLbs},        {"kg", kUnitKg},
    {"grams", kUnitGram},    {"gram", kUnitGram},        {"g", kUnitGram},
};

// Countable measures that stand for a whole animal or a joint, never one person's portion.
constexpr std::string_view kWholeThings[] = {"roast",  "bird", "chicken", "duck",  "goose", "capon",
                                             "turkey", "rack", "carcass", "pizza", "pie",   "cake",
                                             "loaf",   "head", "bunch",   "recipe"};

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool EndsWord(std::string_view text, size_t at) {
    return at >= text.size() || !std::isalnum(static_cast<unsigned char>(text[at]));
}

// The unit whose word starts the text at pos, with its length.
std::optional<std::pair<uint8_t, size_t>> UnitAt(std::string_view text, size_t pos) {
    for (const auto& word : kUnitWords) {
        const std::string_view w = word.word;
        if (text.substr(pos, w.size()) == w && EndsWord(text, pos + w.size()))
            return std::make_pair(word.unit, w.size());
    }
    return std::nullopt;
}

// "1", "1.5", ".5", "1/2", "1-1/2" at pos; advances pos past it.
std::optional<double> NumberAt(std::string_view text, size_t& pos) {
    const auto digits = [&](size_t& p) {
        double value = 0.0;
        size_t start = p;
        while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p])))
            value = value * 10 + (text[p++] - '0');
        return p > start ? std::optional<double>(value) : std::nullopt;
    };
    size_t p = pos;
    auto whole = digits(p);
    if (p < text.size() && text[p] == '.') {
        ++p;
        double scale = 0.1;
        double fraction = 0.0;
        size_t start = p;
        while (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p]))) {
            fraction += (text[p++] - '0') * scale;
            scale /= 10;
        }
        if (p == start && !whole)
            return std::nullopt;
        pos = p;
        return whole.value_or(0.0) + fraction;
    }
    if (!whole)
        return std::nullopt;
    // A mixed number "1-1/2" or a fraction "1/2".
    size_t q = p;
    double mixed = 0.0;
    if (q < text.size() && text[q] == '-') {
        size_t r = q + 1;
        auto numerator = digits(r);
        if (numerator && r < text.size() && text[r] == '/') {
            ++r;
            auto denominator = digits(r);
            if (denominator && *denominator > 0) {
                mixed = *numerator / *denominator;
                pos = r;
                return *whole + mixed;
            }
        }
    }
    if (q < text.size() && text[q] == '/') {
        ++q;
        auto denominator = digits(q);
        if (denominator && *denominator > 0) {
            pos = q;
            return *whole / *denominator;
        }
    }
    pos = p;
    return whole;
}

// A size named inside a serving's description: "serving 1/2 cup", "serving (5 fl oz)".
std::optional<SPortionUnit> EmbeddedSize(std::string_view text) {
    for (size_t pos = 0; pos < text.size(); ++pos) {
        if (!std::isdigit(static_cast<unsigned char>(text[pos])) && text[pos] != '.')
            continue;
        if (pos > 0 && (std::isalnum(static_cast<unsigned char>(text[pos - 1])) ||
                        text[pos - 1] == '.' || text[pos - 1] == '/' || text[pos - 1] == '-'))
            continue;
        size_t end = pos;
        const auto number = NumberAt(text, end);
        if (!number || *number <= 0.0)
            continue;
        while (end < text.size() && text[end] == ' ')
            ++end;
        if (const auto unit = UnitAt(text, end)) {
            SPortionUnit result;
            result.unit = unit->first;
            result.kind = IsVolumeUnit(unit->first) ? EPortionKind::kVolume : EPortionKind::kWeight;
            result.amount = *number;
            return result;
        }
    }
    return std::nullopt;
}

bool StartsWithWord(std::string_view text, std::string_view word) {
    return text.substr(0, word.size()) == word && EndsWord(text, word.size());
}

// "medium" or "medium (3" dia)": a whole fruit or vegetable of the usual size, the portion
// people count in; "medium leaf" or "medium slice" is a piece of one.
bool IsMediumSize(std::string_view text) {
    if (!StartsWithWord(text, "medium"))
        return false;
    const std::string_view rest = text.substr(6);
    return rest.empty() || rest.substr(0, 2) == " (" || rest[0] == ',';
}

} // namespace

SPortionUnit ClassifyPortion(const SUsdaPortion& portion) {
    SPortionUnit result;
    if (portion.amount <= 0.0 || portion.gramWeight <= 0.0)
        return result;
    const std::string text = Lower(portion.description);
    if (text.find("yield") != std::string::npos)
        return result;
    for (std::string_view whole : kWholeThings) {
        if (StartsWithWord(text, whole))
            return result;
    }

    if (const auto unit = UnitAt(text, 0)) {
        result.unit = unit->first;
        result.kind = IsVolumeUnit(unit->first) ? EPortionKind::kVolume : EPortionKind::kWeight;
        result.amount = portion.amount;
    } else if (StartsWithWord(text, "serving") || StartsWithWord(text, "nlea serving") ||
               StartsWithWord(text, "portion")) {
        if (const auto size = EmbeddedSize(text)) {
            result = *size;
            result.amount *= portion.amount;
        } else {
            result.kind = EPortionKind::kItem;
            result.amount = portion.amount;
        }
    } else {
        result.kind = EPortionKind::kItem;
        result.unit = kUnitItem;
        result.amount = portion.amount;
    }
    if (result.kind != EPortionKind::kWeight && portion.gramWeight > kMaxPortionGrams)
        result.kind = EPortionKind::kUnsuitable;
    // Amounts are shown and exported with two decimals; store what the user sees (1/3 cup
    // is 0.33 cup), so that the database file and the food-data file agree.
    result.amount = std::max(0.01, std::round(result.amount * 100.0) / 100.0);
    if (result.amount > CServingMeasure::kMaxAmount)
        result.kind = EPortionKind::kUnsuitable;
    return result;
}

SBasePortion ChooseBasePortion(const std::vector<SUsdaPortion>& portions, double maxGrams) {
    const SUsdaPortion* chosen = nullptr;
    SPortionUnit chosenUnit;
    const SUsdaPortion* medium = nullptr;
    SPortionUnit mediumUnit;
    const SUsdaPortion* firstWeight = nullptr;
    SPortionUnit weightUnit;
    for (const auto& portion : portions) {
        if (portion.gramWeight > maxGrams)
            continue;
        const SPortionUnit unit = ClassifyPortion(portion);
        if (unit.kind == EPortionKind::kWeight && !firstWeight) {
            firstWeight = &portion;
            weightUnit = unit;
        }
        if (unit.kind != EPortionKind::kVolume && unit.kind != EPortionKind::kItem)
            continue;
        if (!chosen) {
            chosen = &portion;
            chosenUnit = unit;
        }
        if (!medium && unit.kind == EPortionKind::kItem &&
            IsMediumSize(Lower(portion.description))) {
            medium = &portion;
            mediumUnit = unit;
        }
    }
    // A cup of chopped apple comes first in the data, yet one counts apples: a medium one
    // wins over a volume. A countable measure listed first (an egg's "large") stays.
    if (medium && chosenUnit.kind == EPortionKind::kVolume) {
        chosen = medium;
        chosenUnit = mediumUnit;
    }

    SBasePortion base;
    const auto gramMeasure = [](double grams) {
        return grams > CServingMeasure::kMaxAmount
                   ? CServingMeasure(static_cast<float>(grams / 1000.0), kUnitKg)
                   : CServingMeasure(static_cast<float>(grams), kUnitGram);
    };
    if (chosen) {
        base.grams = chosen->gramWeight;
        base.volumeOrItem = CServingMeasure(static_cast<float>(chosenUnit.amount), chosenUnit.unit);
        base.weight = gramMeasure(base.grams);
        base.serving = base.volumeOrItem;
        base.source =
            chosenUnit.kind == EPortionKind::kVolume ? EBaseSource::kVolume : EBaseSource::kItem;
    } else if (firstWeight) {
        base.grams = firstWeight->gramWeight;
        base.weight = CServingMeasure(static_cast<float>(weightUnit.amount), weightUnit.unit);
        base.serving = base.weight;
        base.source = EBaseSource::kWeight;
    } else {
        base.grams = 100.0;
        for (double grams : {100.0, 10.0, 1.0}) {
            base.grams = grams;
            if (grams <= maxGrams)
                break;
        }
        base.weight = gramMeasure(base.grams);
        base.serving = base.weight;
        base.source = EBaseSource::kDefault100g;
    }
    return base;
}

} // namespace fitquill
