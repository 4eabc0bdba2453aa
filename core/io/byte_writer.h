// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/io/byte_order.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

namespace fitquill {

// How an empty text is stored: the food database stores length 1 and the NUL, the journal
// stores a text that does not exist as length 0 with no bytes.
enum class EEmptyText {
    StoreNul,
    StoreNothing,
};

// Packs a record payload: integers big-endian, floats as big-endian IEEE single precision,
// texts as a 16-bit length that counts the stored terminating NUL. A value that cannot be
// represented (a text longer than 65,534 bytes, a patch outside the buffer or above 65,535) is
// a programming error and raises an internal error: the models refuse such data before.
class CByteWriter {
public:
    // Largest text (without its NUL) that a 16-bit length can describe.
    static constexpr std::size_t kMaxTextLength = 0xFFFE;

    CByteWriter() = default;
    explicit CByteWriter(std::size_t reserve) { m_bytes.reserve(reserve); }
    void Reserve(std::size_t bytes) { m_bytes.reserve(bytes); }

    void AppendUint8(uint8_t value) { m_bytes.push_back(value); }
    void AppendInt8(int8_t value) { m_bytes.push_back(static_cast<uint8_t>(value)); }
    void AppendUint16(uint16_t value);
    void AppendInt16(int16_t value) { AppendUint16(static_cast<uint16_t>(value)); }
    void AppendUint32(uint32_t value);
    void AppendInt32(int32_t value) { AppendUint32(static_cast<uint32_t>(value)); }
    void AppendFloat(float value);
    // The one little-endian field inside the big-endian payloads: the id generator.
    void AppendUint32LE(uint32_t value);
    void AppendBytes(std::span<const uint8_t> bytes);

    // Stores the text up to its first NUL (a stored text ends there when read back anyway).
    void AppendText(std::string_view text, EEmptyText empty = EEmptyText::StoreNul);
    // A zero-padded field of exactly `width` bytes (the old food header's fixed texts); a longer
    // text is cut to fit.
    void AppendFixedText(std::string_view text, std::size_t width);

    // Appends `count` bytes (zero) and returns where they begin, for a caller that fills a run
    // of fixed-size fields at once (Store* of byte_order.h); valid until the next append.
    uint8_t* Extend(std::size_t count);

    // Reserves a 16-bit field to be filled in later and returns its offset.
    std::size_t ReserveUint16();
    // Fills a 16-bit field at `offset` (for offsets and sizes known only at the end).
    void PatchUint16(std::size_t offset, std::size_t value);
    // Fills a little-endian 32-bit field at `offset` (the length in a chunk frame).
    void PatchUint32LE(std::size_t offset, uint32_t value);

    std::size_t Size() const { return m_bytes.size(); }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    std::vector<uint8_t> Release() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
};

// The small appends are inline and store a whole field at once: a journal save makes millions
// of them, and a byte at a time the vector's bounds are checked (and reloaded) for each byte.
inline uint8_t* CByteWriter::Extend(std::size_t count) {
    const std::size_t size = m_bytes.size();
    m_bytes.resize(size + count);
    return m_bytes.data() + size;
}

inline void CByteWriter::AppendUint16(uint16_t value) {
    StoreUint16BE(Extend(2), value);
}

inline void CByteWriter::AppendUint32(uint32_t value) {
    StoreUint32BE(Extend(4), value);
}

inline void CByteWriter::AppendFloat(float value) {
    static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559);
    AppendUint32(std::bit_cast<uint32_t>(value));
}

} // namespace fitquill
