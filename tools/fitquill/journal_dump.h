// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/journal/journal_db.h"

#include <ostream>

namespace fitquill {

// A readable listing of everything a journal holds: header, profile, day index and every day
// record with its measurements, blood pressure, food entries by meal and exercises, values as
// stored (weights in pounds, lengths in inches).
class CJournalDump {
public:
    static void Write(const CJournalDB& journal, std::ostream& out);
};

} // namespace fitquill
