// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/byte_reader.h"

#include "core/io/byte_order.h"

#include <algorithm>
#include <bit>

namespace fitquill {

uint32_t CByteReader::ReadUint32LE() {
    const uint8_t* bytes = Take(4);
    return bytes != nullptr ? LoadUint32LE(bytes) : 0;
}

std::string CByteReader::ReadText(ETextNul nul) {
    return std::string(ReadTextView(nul));
}

std::string_view CByteReader::ReadTextView(ETextNul nul) {
    const std::size_t length = ReadUint16();
    if (m_failed || length == 0) {
        return {};
    }
    if (length > Remaining()) {
        m_failed = true;
        return {};
    }
    const uint8_t* start = m_bytes.data() + m_offset;
    const uint8_t* end = std::find(start, start + length, uint8_t{0});
    if (end == start + length && nul == ETextNul::Required) {
        m_failed = true;
        return {};
    }
    m_offset += length;
    return std::string_view(reinterpret_cast<const char*>(start),
                            static_cast<std::size_t>(end - start));
}

std::string CByteReader::ReadFixedText(std::size_t width) {
    const uint8_t* start = Take(width);
    if (start == nullptr) {
        return std::string();
    }
    return std::string(start, std::find(start, start + width, uint8_t{0}));
}

std::span<const uint8_t> CByteReader::ReadBytes(std::size_t count) {
    const uint8_t* start = Take(count);
    if (start == nullptr) {
        return {};
    }
    return std::span<const uint8_t>(start, count);
}

void CByteReader::Skip(std::size_t count) {
    Take(count);
}

uint16_t CByteReader::ReadCount(std::size_t minElementSize) {
    const uint16_t count = ReadUint16();
    if (m_failed) {
        return 0;
    }
    if (minElementSize > 0 && count > Remaining() / minElementSize) {
        m_failed = true;
        return 0;
    }
    return count;
}

} // namespace fitquill
