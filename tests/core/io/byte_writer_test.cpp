// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/byte_writer.h"

#include "core/internal_error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fitquill {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(ByteWriterTest, NumbersAreBigEndianExceptTheIdGenerator) {
    CByteWriter writer;
    writer.AppendUint8(0xAB);
    writer.AppendInt8(-2);
    writer.AppendUint16(0x1234);
    writer.AppendInt16(-2);
    writer.AppendUint32(0x12345678u);
    writer.AppendInt32(-2);
    writer.AppendFloat(1.0f);
    writer.AppendFloat(-1.0f);
    writer.AppendUint32LE(0x12345678u);
    const Bytes expected = {0xAB, 0xFE, 0x12, 0x34, 0xFF, 0xFE, 0x12, 0x34, 0x56,
                            0x78, 0xFF, 0xFF, 0xFF, 0xFE, 0x3F, 0x80, 0x00, 0x00,
                            0xBF, 0x80, 0x00, 0x00, 0x78, 0x56, 0x34, 0x12};
    EXPECT_EQ(writer.Bytes(), expected);
}

TEST(ByteWriterTest, UnsetValuesAreMinusOne) {
    // -1 marks unset weights, heights and blood-pressure values in every record.
    CByteWriter writer;
    writer.AppendFloat(-1.0f);
    writer.AppendInt16(-1);
    writer.AppendInt32(-1);
    EXPECT_EQ(writer.Bytes(), (Bytes{0xBF, 0x80, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(ByteWriterTest, TextForms) {
    struct Row {
        std::string text;
        EEmptyText empty;
        Bytes expected;
    };
    const std::vector<Row> rows = {
        {"abc", EEmptyText::StoreNul, {0x00, 0x04, 'a', 'b', 'c', 0x00}},
        {"abc", EEmptyText::StoreNothing, {0x00, 0x04, 'a', 'b', 'c', 0x00}},
        {"", EEmptyText::StoreNul, {0x00, 0x01, 0x00}},
        {"", EEmptyText::StoreNothing, {0x00, 0x00}},
        // Bytes are stored as they are, without any conversion.
        {"\xE9\x0A", EEmptyText::StoreNul, {0x00, 0x03, 0xE9, 0x0A, 0x00}},
        // A NUL inside ends the stored text, as it would when read back.
        {std::string("ab\0cd", 5), EEmptyText::StoreNul, {0x00, 0x03, 'a', 'b', 0x00}},
        {std::string("\0x", 2), EEmptyText::StoreNothing, {0x00, 0x00}},
    };
    for (const Row& row : rows) {
        CByteWriter writer;
        writer.AppendText(row.text, row.empty);
        EXPECT_EQ(writer.Bytes(), row.expected) << "text of " << row.text.size() << " bytes";
    }
}

TEST(ByteWriterTest, LongestTextFitsAndOneMoreIsAnInternalError) {
    CByteWriter writer;
    writer.AppendText(std::string(CByteWriter::kMaxTextLength, 'x'));
    ASSERT_EQ(writer.Size(), 2 + CByteWriter::kMaxTextLength + 1);
    EXPECT_EQ(writer.Bytes()[0], 0xFF);
    EXPECT_EQ(writer.Bytes()[1], 0xFF);
    EXPECT_EQ(writer.Bytes().back(), 0x00);

    CByteWriter tooLong;
    EXPECT_THROW(tooLong.AppendText(std::string(CByteWriter::kMaxTextLength + 1, 'x')),
                 CInternalError);
}

TEST(ByteWriterTest, FixedTextIsZeroPaddedOrCut) {
    CByteWriter writer;
    writer.AppendFixedText("abc", 5);
    writer.AppendFixedText("abcdef", 4);
    writer.AppendFixedText("", 2);
    EXPECT_EQ(writer.Bytes(), (Bytes{'a', 'b', 'c', 0, 0, 'a', 'b', 'c', 'd', 0, 0}));
}

TEST(ByteWriterTest, ReservedFieldsAreFilledInLast) {
    // A day record stores where its food log and exercise list begin, known only after packing.
    CByteWriter writer;
    writer.AppendUint16(0x0102);
    const std::size_t first = writer.ReserveUint16();
    const std::size_t second = writer.ReserveUint16();
    const std::size_t logStart = writer.Size();
    writer.AppendUint8(0xAA);
    const std::size_t listStart = writer.Size();
    writer.AppendUint8(0xBB);
    writer.PatchUint16(first, logStart);
    writer.PatchUint16(second, listStart);
    EXPECT_EQ(writer.Bytes(), (Bytes{0x01, 0x02, 0x00, 0x06, 0x00, 0x07, 0xAA, 0xBB}));

    writer.PatchUint16(first, 0xFFFF);
    EXPECT_EQ(writer.Bytes()[2], 0xFF);
    EXPECT_EQ(writer.Bytes()[3], 0xFF);
}

TEST(ByteWriterTest, BadPatchesAreInternalErrors) {
    CByteWriter writer;
    writer.AppendUint16(0);
    writer.AppendUint8(0);
    EXPECT_THROW(writer.PatchUint16(0, 0x10000), CInternalError);
    EXPECT_THROW(writer.PatchUint16(2, 1), CInternalError); // one byte left only
    EXPECT_THROW(writer.PatchUint16(9, 1), CInternalError);
    EXPECT_THROW(writer.PatchUint16(static_cast<std::size_t>(-1), 1), CInternalError);
    EXPECT_THROW(writer.PatchUint32LE(0, 1), CInternalError); // three bytes only
    EXPECT_EQ(writer.Bytes(), (Bytes{0, 0, 0})) << "a refused patch changes nothing";
    writer.Extend(1);
    writer.PatchUint32LE(0, 0x04030201);
    EXPECT_EQ(writer.Bytes(), (Bytes{1, 2, 3, 4}));
}

} // namespace
} // namespace fitquill
