// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_date.h"

#include <string>
#include <vector>

namespace fitquill {

// What a chart shows, in words for a screen reader. values holds one value a day from
// firstDay on, -1 for a day without one. A line chart tells its first and last values with
// their dates and its lowest and highest; a histogram tells every day's value ("3/10 2100").
// Commas part the items (screen readers read colons aloud); "no values" when no day has one.
std::string ChartDescription(const std::vector<float>& values, const CJournalDate& firstDay,
                             bool histogram);

} // namespace fitquill
