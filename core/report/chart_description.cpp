// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/report/chart_description.h"

#include "core/report/text_format.h"

#include <algorithm>

namespace fitquill {
namespace {

// Whole values stay whole ("2100"), others keep one decimal ("178.5").
std::string ValueText(float value) {
    std::string text = FormatText("%.1f", static_cast<double>(value));
    if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0)
        text.resize(text.size() - 2);
    return text;
}

CJournalDate DayAfter(CJournalDate date, size_t days) {
    for (size_t i = 0; i < days; ++i)
        date.StepDays(1);
    return date;
}

} // namespace

std::string ChartDescription(const std::vector<float>& values, const CJournalDate& firstDay,
                             bool histogram) {
    std::vector<size_t> valued;
    for (size_t day = 0; day < values.size(); ++day)
        if (values[day] >= 0.0f)
            valued.push_back(day);
    if (valued.empty())
        return "no values";
    if (histogram) {
        std::string text;
        for (size_t day : valued) {
            const CJournalDate date = DayAfter(firstDay, day);
            text += FormatText("%s%d/%d %s", text.empty() ? "" : ", ", date.Month(), date.Day(),
                               ValueText(values[day]).c_str());
        }
        return text;
    }
    const auto [lowest, highest] = std::minmax_element(
        valued.begin(), valued.end(), [&](size_t a, size_t b) { return values[a] < values[b]; });
    auto dated = [&](const char* what, size_t day) {
        const CJournalDate date = DayAfter(firstDay, day);
        return FormatText("%s %s on %d/%d/%d", what, ValueText(values[day]).c_str(), date.Month(),
                          date.Day(), date.Year());
    };
    return dated("first", valued.front()) + ", " + dated("last", valued.back()) + ", " +
           FormatText("lowest %s, highest %s", ValueText(values[*lowest]).c_str(),
                      ValueText(values[*highest]).c_str());
}

} // namespace fitquill
