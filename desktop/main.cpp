// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame/desktop_main.h"

int main(int argc, char* argv[]) {
    return fitquill::RunDesktop(argc, argv);
}
