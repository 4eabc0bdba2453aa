// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace fitquill {

// The whole desktop program: the single-instance check, the application object, the document
// and the main window, and the event loop. Returns the exit code.
//   --screenshot FILE   writes a PNG of the main window once it is up, prints its path and
//                       ends (for machines where nobody can look at the screen)
//   --print-pdf FILE    writes PDF reports without a display and ends (RunPrintPdf)
int RunDesktop(int argc, char* argv[]);

} // namespace fitquill
