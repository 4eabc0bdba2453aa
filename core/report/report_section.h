// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace fitquill {

// One line of a report section: a label with its value, or a sentence that runs over the
// whole width and wraps.
struct SReportLine {
    std::string label;
    std::string value; // the row's value, or the sentence's text
    bool sentence = false;

    static SReportLine Row(std::string label, std::string value) {
        return {std::move(label), std::move(value), false};
    }
    static SReportLine Sentence(std::string text) { return {{}, std::move(text), true}; }
    bool operator==(const SReportLine&) const = default;
};

// A heading and its lines, as the logbook and the diet plan show them.
struct SReportSection {
    std::string heading;
    std::vector<SReportLine> lines;
};

} // namespace fitquill
