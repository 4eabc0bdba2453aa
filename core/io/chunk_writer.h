// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/io/byte_writer.h"

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

    // Starts a chunk whose payload the caller appends to the returned writer, and EndChunk
    // frames it: a file is packed in one buffer, without a buffer per record. Starting a chunk
    // before the last one ended, or ending one that was not started, is a programming error.
    CByteWriter& BeginChunk();
    void EndChunk();

    void Reserve(std::size_t bytes) { m_out.Reserve(bytes); }
    uint32_t ChunkCount() const { return m_count; }
    const std::vector<uint8_t>& Bytes() const { return m_out.Bytes(); }
    std::vector<uint8_t> Release() { return m_out.Release(); }

private:
    static constexpr std::size_t kNoChunk = static_cast<std::size_t>(-1);

    CByteWriter m_out;
    std::size_t m_chunkStart = kNoChunk;
    uint32_t m_count = 0;
};

// A whole desktop file made of the given records, numbered in order.
std::vector<uint8_t> JoinChunks(const std::vector<std::vector<uint8_t>>& records);

} // namespace fitquill
