// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/byte_writer.h"

#include "core/internal_error.h"
#include "core/io/byte_order.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <string>

namespace fitquill {

void CByteWriter::AppendUint32LE(uint32_t value) {
    StoreUint32LE(Extend(4), value);
}

void CByteWriter::AppendBytes(std::span<const uint8_t> bytes) {
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

void CByteWriter::AppendText(std::string_view text, EEmptyText empty) {
    text = text.substr(0, std::min(text.size(), text.find('\0')));
    if (text.empty() && empty == EEmptyText::StoreNothing) {
        AppendUint16(0);
        return;
    }
    if (text.size() > kMaxTextLength) {
        RaiseInternalError(kInternalErrorGeneral, "A text of " + std::to_string(text.size()) +
                                                      " bytes does not fit a record.");
    }
    uint8_t* at = Extend(2 + text.size() + 1); // the NUL is among the zeros
    StoreUint16BE(at, static_cast<uint16_t>(text.size() + 1));
    std::copy(text.begin(), text.end(), at + 2);
}

void CByteWriter::AppendFixedText(std::string_view text, std::size_t width) {
    text = text.substr(0, std::min({text.size(), text.find('\0'), width}));
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
    m_bytes.insert(m_bytes.end(), width - text.size(), 0);
}

std::size_t CByteWriter::ReserveUint16() {
    const std::size_t offset = m_bytes.size();
    AppendUint16(0);
    return offset;
}

void CByteWriter::PatchUint16(std::size_t offset, std::size_t value) {
    if (offset > m_bytes.size() || m_bytes.size() - offset < 2) {
        RaiseInternalError(kInternalErrorGeneral, "A 16-bit field was patched outside the record.");
    }
    if (value > 0xFFFF) {
        RaiseInternalError(kInternalErrorGeneral,
                           "The value " + std::to_string(value) +
                               " does not fit a 16-bit field of the record.");
    }
    StoreUint16BE(m_bytes.data() + offset, static_cast<uint16_t>(value));
}

void CByteWriter::PatchUint32LE(std::size_t offset, uint32_t value) {
    if (offset > m_bytes.size() || m_bytes.size() - offset < 4) {
        RaiseInternalError(kInternalErrorGeneral, "A 32-bit field was patched outside the record.");
    }
    StoreUint32LE(m_bytes.data() + offset, value);
}

} // namespace fitquill
