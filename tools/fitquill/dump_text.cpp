// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill/dump_text.h"

#include "core/windows1252.h"
#include "tools/common/terminal_text.h"

#include <cstdio>

namespace fitquill {

std::string QuotedText(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (c == '\n') {
            quoted += "\\n";
        } else if (byte < 0x20 || byte == 0x7F ||
                   Windows1252ToUnicode(byte) == kReplacementCharacter) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02x", byte);
            quoted += escape;
        } else {
            quoted += c;
        }
    }
    quoted += '"';
    return TerminalText(quoted);
}

std::string NumberText(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string HexText(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
    return text;
}

std::string IsoDateText(const CJournalDate& date) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.Year(), date.Month(), date.Day());
    return text;
}

std::string MeasureText(const CServingMeasure& measure) {
    if (measure.Amount() <= 0.0f && measure.Unit() == 0)
        return "none";
    const SUnitInfo* unit = UnitInfo(measure.Unit());
    return NumberText(measure.Amount()) + " " +
           (unit != nullptr ? std::string(unit->name) : "unit " + std::to_string(measure.Unit()));
}

std::string NutrientsText(std::span<const CNutrientValue> values) {
    std::string text;
    for (const CNutrientValue& value : values) {
        if (!text.empty())
            text += ", ";
        text += NutrientInfo(value.Index()).name;
        text += ' ';
        text += NumberText(value.Value());
    }
    return text.empty() ? "(none)" : text;
}

} // namespace fitquill
