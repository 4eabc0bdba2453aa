// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/common/command_line.h"

namespace fitquill {

// A command of the HotSync Manager stand-in that cannot be carried out; what() is the one line
// the user reads.
using CHotSyncFailure = CToolFailure;

// The words after a command of fitquill-hotsync, read as every tool of the project reads them.
class CHotSyncArguments : public CCommandLine {
public:
    CHotSyncArguments(const std::vector<std::string>& words, const std::set<std::string>& options)
        : CCommandLine(words, options, "fitquill-hotsync") {}
};

} // namespace fitquill
