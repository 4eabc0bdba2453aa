// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace fitquill {

// fitquill-hotsync: the HotSync Manager stand-in. Handheld folders, HotSync operations through
// the registered conduit modules, and their configuration.
class CHotSyncTool {
public:
    static const char* const kUsage;

    // Runs one command; 0 on success, 1 after writing one line to `err`.
    static int Run(const char* argv0, const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err);
};

} // namespace fitquill
