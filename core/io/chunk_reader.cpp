// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/chunk_reader.h"

#include "core/io/atomic_file.h"
#include "core/io/byte_order.h"
#include "core/io/chunk_writer.h"

namespace fitquill {

std::optional<std::span<const uint8_t>> CChunkReader::Next() {
    const std::size_t remaining = m_file.size() - m_offset;
    if (m_failed || remaining < CChunkWriter::kFrameSize) {
        m_failed = true;
        return std::nullopt;
    }
    const uint32_t length = LoadUint32LE(m_file.data() + m_offset + 4);
    if (length > remaining - CChunkWriter::kFrameSize) {
        m_failed = true;
        return std::nullopt;
    }
    const std::span<const uint8_t> payload =
        m_file.subspan(m_offset + CChunkWriter::kFrameSize, length);
    m_offset += CChunkWriter::kFrameSize + length;
    ++m_chunksRead;
    return payload;
}

std::optional<std::span<const uint8_t>> CChunkFileReader::Next() {
    if (m_done)
        return std::nullopt;
    m_payload.clear();
    if (m_file.ReadInto(m_payload, CChunkWriter::kFrameSize) != CChunkWriter::kFrameSize) {
        m_done = true;
        return std::nullopt;
    }
    const uint32_t length = LoadUint32LE(m_payload.data() + 4);
    m_payload.clear();
    if (m_file.ReadInto(m_payload, length) != length) {
        m_done = true;
        return std::nullopt;
    }
    return std::span<const uint8_t>(m_payload);
}

std::optional<std::vector<std::span<const uint8_t>>> SplitChunks(std::span<const uint8_t> file) {
    std::vector<std::span<const uint8_t>> payloads;
    CChunkReader reader(file);
    while (!reader.AtEnd()) {
        const auto payload = reader.Next();
        if (!payload) {
            return std::nullopt;
        }
        payloads.push_back(*payload);
    }
    return payloads;
}

std::vector<std::span<const uint8_t>> LeadingChunks(std::span<const uint8_t> file) {
    std::vector<std::span<const uint8_t>> records;
    CChunkReader chunks(file);
    while (!chunks.AtEnd()) {
        const auto payload = chunks.Next();
        if (!payload)
            break;
        records.push_back(*payload);
    }
    return records;
}

} // namespace fitquill
