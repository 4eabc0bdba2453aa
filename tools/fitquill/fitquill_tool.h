// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace fitquill {

// The headless tool: users, journals and food databases from the command line. Every
// command ends with status 0, or 1 and a single line on the error stream.
class CFitquillTool {
public:
    static const char* const kUsage;

    // `arguments` are argv without the program name; `argv0` locates the program's folders.
    static int Run(const char* argv0, const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err);
};

} // namespace fitquill
