// SPDX-License-Identifier: GPL-3.0-or-later
// fitquill: a headless companion for the Fitquill desktop files.
#include <cstdio>
#include <cstring>

namespace {

const char kUsage[] = "Usage: fitquill COMMAND [OPTIONS]\n"
                      "\n"
                      "A headless companion for the Fitquill desktop files.\n"
                      "\n"
                      "Commands:\n"
                      "  --help            show this text\n";

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fprintf(stderr, "fitquill: unknown command '%s' (see fitquill --help)\n", argv[1]);
    return 1;
}
