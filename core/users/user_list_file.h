// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fitquill {

// The byte layout of Users.udb, the user directory's own list of user names. Two chunks, each
// framed by a little-endian uint32 chunk number and uint32 payload length:
//   chunk 0: 0x01 0x00
//   chunk 1: uint16 big-endian count, then per name a uint16 big-endian length counting a
//            terminating zero byte, the name bytes and that zero byte, in list order.
class CUserListFile {
public:
    // Names longer than 65534 bytes or more than 65535 names are a programming error.
    static std::vector<uint8_t> Pack(const std::vector<std::string>& names);

    // Appends the stored names to `names` in stored order (no sorting, no checks of the
    // names). The chunk numbers and chunk 0's length and bytes are not looked at: the reader
    // takes chunk 0's header and two bytes, then chunk 1. A length that runs past chunk 1 or
    // past the data is a failure; `names` then keeps the names read before it.
    static bool Unpack(std::span<const uint8_t> bytes, std::vector<std::string>& names);
};

} // namespace fitquill
