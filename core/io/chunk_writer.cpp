// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/chunk_writer.h"

#include "core/internal_error.h"
#include "core/io/byte_order.h"

namespace fitquill {

void CChunkWriter::AppendChunk(std::span<const uint8_t> payload) {
    if (payload.size() > UINT32_MAX) {
        RaiseInternalError(kInternalErrorGeneral, "A chunk payload does not fit a 32-bit length.");
    }
    BeginChunk().AppendBytes(payload);
    EndChunk();
}

CByteWriter& CChunkWriter::BeginChunk() {
    if (m_chunkStart != kNoChunk)
        RaiseInternalError(kInternalErrorGeneral, "A chunk was started inside another.");
    m_chunkStart = m_out.Size();
    uint8_t* frame = m_out.Extend(kFrameSize);
    StoreUint32LE(frame, m_count);
    return m_out;
}

void CChunkWriter::EndChunk() {
    if (m_chunkStart == kNoChunk)
        RaiseInternalError(kInternalErrorGeneral, "A chunk was ended that was not started.");
    const std::size_t length = m_out.Size() - m_chunkStart - kFrameSize;
    if (length > UINT32_MAX) {
        RaiseInternalError(kInternalErrorGeneral, "A chunk payload does not fit a 32-bit length.");
    }
    m_out.PatchUint32LE(m_chunkStart + 4, static_cast<uint32_t>(length));
    m_chunkStart = kNoChunk;
    ++m_count;
}

std::vector<uint8_t> JoinChunks(const std::vector<std::vector<uint8_t>>& records) {
    CChunkWriter file;
    std::size_t size = 0;
    for (const std::vector<uint8_t>& record : records)
        size += CChunkWriter::kFrameSize + record.size();
    file.Reserve(size);
    for (const std::vector<uint8_t>& record : records)
        file.AppendChunk(record);
    return file.Release();
}

} // namespace fitquill
