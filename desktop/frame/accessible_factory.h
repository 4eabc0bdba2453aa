// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace fitquill {

// Installs (once) the accessibility factory of the controls the program paints itself: the
// grids and the month calendars as tables, the logbook as a document, the charts as charts.
// Qt's own widgets keep Qt's interfaces; their input controls are named from their labels
// when their window is first shown. Call it after the application object exists.
void InstallAccessibleFactory();

} // namespace fitquill
