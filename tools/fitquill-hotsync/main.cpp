// SPDX-License-Identifier: GPL-3.0-or-later
// fitquill-hotsync: the HotSync Manager stand-in.
#include "tools/fitquill-hotsync/hotsync_tool.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return fitquill::CHotSyncTool::Run(argc > 0 ? argv[0] : nullptr, arguments, std::cout,
                                       std::cerr);
}
