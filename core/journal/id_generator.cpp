// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal/id_generator.h"

#include "core/journal/journal_date.h"

namespace fitquill {

namespace {
constexpr uint32_t kCounterMask = 0x3FFFFu;
}

CIdGenerator CIdGenerator::Seeded(const CJournalDate& date) {
    uint32_t value = kUnassigned;
    value |= (static_cast<uint32_t>(date.Year() % 10) & 0xFu) << 27;
    value |= (static_cast<uint32_t>(date.Month()) & 0xFu) << 23;
    value |= (static_cast<uint32_t>(date.Day()) & 0x1Fu) << 18;
    return CIdGenerator(value);
}

CIdGenerator CIdGenerator::SeededToday() {
    return Seeded(CJournalDate::Today());
}

uint32_t CIdGenerator::Next() {
    m_value = (m_value & ~kCounterMask) | ((m_value + 1) & kCounterMask);
    return m_value;
}

} // namespace fitquill
