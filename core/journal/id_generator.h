// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace fitquill {

class CJournalDate;

// The 32-bit unique-id generator of the journal and food database headers: bit 31 set,
// bits 27-30 year modulo 10, 23-26 month, 18-22 day of the seed date, 0-17 a counter.
class CIdGenerator {
public:
    static constexpr uint32_t kUnassigned = 0x80000000u;

    CIdGenerator() = default;
    explicit CIdGenerator(uint32_t value) : m_value(value) {}

    // Seeds from a date with counter 0.
    static CIdGenerator Seeded(const CJournalDate& date);
    static CIdGenerator SeededToday();

    // Increases the counter by one, wrapping within 18 bits, and returns the whole value.
    uint32_t Next();
    uint32_t Value() const { return m_value; }
    bool operator==(const CIdGenerator&) const = default;

private:
    uint32_t m_value = kUnassigned;
};

} // namespace fitquill
