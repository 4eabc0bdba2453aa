// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Fields of the HotSync Manager's records (conduit/conduit_api.h): little-endian integers and
// NUL-terminated texts at fixed offsets of a byte block, whatever the host's byte order.

#include <cstddef>
#include <cstdint>
#include <string>

namespace fitquill {

inline uint32_t ReadRecordU32(const void* record, size_t offset) {
    const auto* bytes = static_cast<const uint8_t*>(record) + offset;
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

inline int32_t ReadRecordI32(const void* record, size_t offset) {
    return static_cast<int32_t>(ReadRecordU32(record, offset));
}

inline uint16_t ReadRecordU16(const void* record, size_t offset) {
    const auto* bytes = static_cast<const uint8_t*>(record) + offset;
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

inline void WriteRecordU32(void* record, size_t offset, uint32_t value) {
    auto* bytes = static_cast<uint8_t*>(record) + offset;
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline void WriteRecordI32(void* record, size_t offset, int32_t value) {
    WriteRecordU32(record, offset, static_cast<uint32_t>(value));
}

// The text of a field of `width` bytes: up to its first NUL, or the whole field when it has
// none (a field is never read past its end).
inline std::string ReadRecordText(const void* record, size_t offset, size_t width) {
    const auto* begin = static_cast<const char*>(record) + offset;
    size_t length = 0;
    while (length < width && begin[length] != '\0')
        ++length;
    return std::string(begin, length);
}

} // namespace fitquill
