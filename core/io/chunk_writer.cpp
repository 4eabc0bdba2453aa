// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/chunk_writer.h"

#include "core/internal_error.h"
#include "core/io/byte_order.h"

namespace fitquill {

void CChunkWriter::AppendChunk(std::span<const uint8_t> payload) {
    if (payload.size() > UINT32_MAX) {
        RaiseInternalError(kInternalErrorGeneral, "A chunk payload does not fit a 32-bit length.");
    }
    uint8_t frame[kFrameSize];
    StoreUint32LE(frame, m_count);
    StoreUint32LE(frame + 4, static_cast<uint32_t>(payload.size()));
    m_bytes.insert(m_bytes.end(), frame, frame + kFrameSize);
    m_bytes.insert(m_bytes.end(), payload.begin(), payload.end());
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
