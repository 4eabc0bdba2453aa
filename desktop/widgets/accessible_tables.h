// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "desktop/widgets/painted_table_accessible.h"

namespace fitquill {

class CGridCtrl;
class CMonthCalendar;

// The grid as a table: its fixed rows' first row is the header, the other rows the cells,
// each named by its text as drawn; the selected rows are selected, the current cell current.
std::unique_ptr<IPaintedTable> MakeGridTable(CGridCtrl& grid);
// A month as a table of days: a column per weekday (named in full), a row per week, each day
// named by its full date ("Friday March 5, 2004"), the selected day selected and current.
std::unique_ptr<IPaintedTable> MakeCalendarTable(CMonthCalendar& calendar);

} // namespace fitquill
