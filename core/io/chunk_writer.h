// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace fitquill {

// Builds a desktop file (journal, food database, user list): a plain sequence of chunks, each
// a 32-bit little-endian chunk number, a 32-bit little-endian payload length and the payload,
// with no header and no trailer. Chunks are numbered 0, 1, 2, ... in the order appended.
class CChunkWriter {
public:
    // Size of the frame in front of every payload.
    static constexpr std::size_t kFrameSize = 8;

    // A payload of 4 GiB or more is a programming error (raises an internal error).
    void AppendChunk(std::span<const uint8_t> payload);

    void Reserve(std::size_t bytes) { m_bytes.reserve(bytes); }
    uint32_t ChunkCount() const { return m_count; }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }
    std::vector<uint8_t> Release() { return std::move(m_bytes); }

private:
    std::vector<uint8_t> m_bytes;
    uint32_t m_count = 0;
};

// A whole desktop file made of the given records, numbered in order.
std::vector<uint8_t> JoinChunks(const std::vector<std::vector<uint8_t>>& records);

} // namespace fitquill
