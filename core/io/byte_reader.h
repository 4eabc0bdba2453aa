// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/io/byte_order.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace fitquill {

// Whether a stored text must contain its terminating NUL. Every writer of the program stores
// it; a reader that meets a text without one in a damaged record either refuses the record
// (Required) or takes the stored bytes as they are (Optional).
enum class ETextNul {
    Required,
    Optional,
};

// Unpacks a record payload written by CByteWriter. Every read is checked against the end of
// the record: a read that does not fit marks the reader failed and returns zero (or an empty
// text), and every later read does the same, so that a record reader reads all its fields and
// checks Failed() once at the end. The reader never reads or allocates past the record.
// The reader does not own the bytes; they must outlive it.
class CByteReader {
public:
    explicit CByteReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    uint8_t ReadUint8();
    int8_t ReadInt8() { return static_cast<int8_t>(ReadUint8()); }
    uint16_t ReadUint16();
    int16_t ReadInt16() { return static_cast<int16_t>(ReadUint16()); }
    uint32_t ReadUint32();
    int32_t ReadInt32() { return static_cast<int32_t>(ReadUint32()); }
    float ReadFloat();
    // The one little-endian field inside the big-endian payloads: the id generator.
    uint32_t ReadUint32LE();

    // A 16-bit length, then that many bytes. Length 0 is an empty text. The text ends at the
    // first NUL among the stored bytes; a length running past the record is a failure, and so
    // is a text without any NUL when `nul` is Required.
    std::string ReadText(ETextNul nul = ETextNul::Required);
    // The same text as a view into the record, for readers that keep it in a string of their
    // own anyway (no temporary copy). Empty on failure.
    std::string_view ReadTextView(ETextNul nul = ETextNul::Required);
    // A zero-padded field of exactly `width` bytes; the text ends at its first NUL.
    std::string ReadFixedText(std::size_t width);
    // The next `count` bytes, or an empty span on failure. The span points into the record.
    std::span<const uint8_t> ReadBytes(std::size_t count);
    void Skip(std::size_t count);

    // Reads a 16-bit list count and checks that that many elements of at least
    // `minElementSize` bytes each can still follow, so that a damaged count fails here instead
    // of driving a long loop or a large reservation. Returns 0 on failure.
    uint16_t ReadCount(std::size_t minElementSize);

    // Marks the record as damaged (for checks the reader itself cannot make).
    void MarkFailed() { m_failed = true; }

    bool Failed() const { return m_failed; }
    std::size_t Offset() const { return m_offset; }
    std::size_t Size() const { return m_bytes.size(); }
    std::size_t Remaining() const { return m_bytes.size() - m_offset; }
    bool AtEnd() const { return m_offset == m_bytes.size(); }

private:
    // The next `count` bytes, advancing past them; nullptr (and failed) when they do not fit.
    const uint8_t* Take(std::size_t count);

    std::span<const uint8_t> m_bytes;
    std::size_t m_offset = 0;
    bool m_failed = false;
};

// The small reads are inline: a journal read makes millions of them.
inline const uint8_t* CByteReader::Take(std::size_t count) {
    if (m_failed || count > Remaining()) {
        m_failed = true;
        return nullptr;
    }
    const uint8_t* start = m_bytes.data() + m_offset;
    m_offset += count;
    return start;
}

inline uint8_t CByteReader::ReadUint8() {
    const uint8_t* bytes = Take(1);
    return bytes != nullptr ? bytes[0] : 0;
}

inline uint16_t CByteReader::ReadUint16() {
    const uint8_t* bytes = Take(2);
    return bytes != nullptr ? LoadUint16BE(bytes) : 0;
}

inline uint32_t CByteReader::ReadUint32() {
    const uint8_t* bytes = Take(4);
    return bytes != nullptr ? LoadUint32BE(bytes) : 0;
}

inline float CByteReader::ReadFloat() {
    return std::bit_cast<float>(ReadUint32());
}

} // namespace fitquill
