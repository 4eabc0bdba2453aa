// SPDX-License-Identifier: GPL-3.0-or-later
// fitquill: a headless companion for the Fitquill desktop files.
#include "tools/fitquill/fitquill_tool.h"

#include <iostream>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    return fitquill::CFitquillTool::Run(argc > 0 ? argv[0] : nullptr, arguments, std::cout,
                                        std::cerr);
}
