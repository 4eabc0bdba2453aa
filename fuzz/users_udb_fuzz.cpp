// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the Users.udb reader: it must never read past the input or allocate
// by a stored length, and a list it reads in full must survive a write and a second read.
#include "core/users/user_list_file.h"

#include <cstdlib>

using namespace fitquill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> names;
    if (!CUserListFile::Unpack(std::span<const uint8_t>(data, size), names))
        return 0;
    // Names end at their first zero byte, so every name read can be written back.
    std::vector<uint8_t> bytes = CUserListFile::Pack(names);
    std::vector<std::string> again;
    if (!CUserListFile::Unpack(bytes, again) || again != names)
        std::abort();
    return 0;
}
