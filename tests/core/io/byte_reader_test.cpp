// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/byte_reader.h"

#include "core/io/byte_writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace fitquill {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(ByteReaderTest, ReadsTheBigEndianLayout) {
    const Bytes record = {0xAB, 0xFE, 0x12, 0x34, 0xFF, 0xFE, 0x12, 0x34, 0x56, 0x78,
                          0xFF, 0xFF, 0xFF, 0xFE, 0x3F, 0x80, 0x00, 0x00, 0x78, 0x56,
                          0x34, 0x12, 0x00, 0x03, 'h',  'i',  0x00, 0x00, 0x00};
    CByteReader reader(record);
    EXPECT_EQ(reader.ReadUint8(), 0xAB);
    EXPECT_EQ(reader.ReadInt8(), -2);
    EXPECT_EQ(reader.ReadUint16(), 0x1234);
    EXPECT_EQ(reader.ReadInt16(), -2);
    EXPECT_EQ(reader.ReadUint32(), 0x12345678u);
    EXPECT_EQ(reader.ReadInt32(), -2);
    EXPECT_EQ(reader.ReadFloat(), 1.0f);
    EXPECT_EQ(reader.ReadUint32LE(), 0x12345678u);
    EXPECT_EQ(reader.ReadText(), "hi");
    EXPECT_EQ(reader.ReadText(), "") << "length 0 reads as an empty text";
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.Failed());
}

TEST(ByteReaderTest, RoundTripsEveryFieldType) {
    CByteWriter writer;
    writer.AppendUint8(0);
    writer.AppendUint8(255);
    writer.AppendInt8(-128);
    writer.AppendUint16(0xFFFF);
    writer.AppendInt16(-32768);
    writer.AppendUint32(0xFFFFFFFFu);
    writer.AppendInt32(std::numeric_limits<int32_t>::min());
    writer.AppendUint32LE(0x80A40001u);
    writer.AppendText("Apple, raw");
    writer.AppendText("", EEmptyText::StoreNul);
    writer.AppendText("", EEmptyText::StoreNothing);
    writer.AppendFixedText("Soup", 21);
    writer.AppendBytes(Bytes{9, 8, 7});

    CByteReader reader(writer.Bytes());
    EXPECT_EQ(reader.ReadUint8(), 0);
    EXPECT_EQ(reader.ReadUint8(), 255);
    EXPECT_EQ(reader.ReadInt8(), -128);
    EXPECT_EQ(reader.ReadUint16(), 0xFFFF);
    EXPECT_EQ(reader.ReadInt16(), -32768);
    EXPECT_EQ(reader.ReadUint32(), 0xFFFFFFFFu);
    EXPECT_EQ(reader.ReadInt32(), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(reader.ReadUint32LE(), 0x80A40001u);
    EXPECT_EQ(reader.ReadText(), "Apple, raw");
    EXPECT_EQ(reader.ReadText(), "");
    EXPECT_EQ(reader.ReadText(), "");
    EXPECT_EQ(reader.ReadFixedText(21), "Soup");
    const auto raw = reader.ReadBytes(3);
    EXPECT_EQ(Bytes(raw.begin(), raw.end()), (Bytes{9, 8, 7}));
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.Failed());
}

TEST(ByteReaderTest, FloatsKeepTheirExactBits) {
    const std::vector<float> values = {0.0f,
                                       -0.0f,
                                       -1.0f,
                                       0.1f,
                                       123.456f,
                                       std::numeric_limits<float>::max(),
                                       std::numeric_limits<float>::denorm_min(),
                                       std::numeric_limits<float>::infinity(),
                                       -std::numeric_limits<float>::infinity(),
                                       std::bit_cast<float>(0x7FC12345u)};
    CByteWriter writer;
    for (float value : values) {
        writer.AppendFloat(value);
    }
    CByteReader reader(writer.Bytes());
    for (float value : values) {
        EXPECT_EQ(std::bit_cast<uint32_t>(reader.ReadFloat()), std::bit_cast<uint32_t>(value));
    }
    EXPECT_FALSE(reader.Failed());
}

// A record holding one field of each kind; cutting it anywhere must fail the read without
// reading past the cut.
Bytes SampleRecord() {
    CByteWriter writer;
    writer.AppendUint16(6);
    writer.AppendUint32LE(0x80A40001u);
    writer.AppendText("Banana");
    writer.AppendFloat(72.5f);
    writer.AppendInt32(-250);
    writer.AppendUint8(1);
    writer.AppendFixedText("old", 5);
    writer.AppendText("", EEmptyText::StoreNothing);
    return writer.Release();
}

void ReadSample(CByteReader& reader) {
    reader.ReadUint16();
    reader.ReadUint32LE();
    reader.ReadText();
    reader.ReadFloat();
    reader.ReadInt32();
    reader.ReadUint8();
    reader.ReadFixedText(5);
    reader.ReadText();
}

TEST(ByteReaderTest, EveryTruncationFails) {
    const Bytes full = SampleRecord();
    {
        CByteReader reader(full);
        ReadSample(reader);
        ASSERT_FALSE(reader.Failed());
        ASSERT_TRUE(reader.AtEnd());
    }
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        // A copy of exactly `cut` bytes, so that the sanitizers see any read past it.
        const Bytes truncated(full.begin(), full.begin() + cut);
        CByteReader reader(truncated);
        ReadSample(reader);
        EXPECT_TRUE(reader.Failed()) << "cut at " << cut;
        EXPECT_LE(reader.Offset(), cut);
    }
}

TEST(ByteReaderTest, FailureIsStickyAndReadsGiveZeros) {
    const Bytes record = {0x12, 0x34, 0x56, 0x01, 0x02, 0x03};
    CByteReader reader(std::span<const uint8_t>(record).first(3));
    EXPECT_EQ(reader.ReadUint32(), 0u) << "three bytes cannot hold a 32-bit value";
    EXPECT_TRUE(reader.Failed());
    // Bytes remain, but after a failure nothing more is read.
    EXPECT_EQ(reader.ReadUint8(), 0);
    EXPECT_EQ(reader.ReadUint16(), 0);
    EXPECT_EQ(reader.ReadFloat(), 0.0f);
    EXPECT_EQ(reader.ReadText(ETextNul::Optional), "");
    EXPECT_TRUE(reader.ReadBytes(1).empty());
    EXPECT_EQ(reader.Offset(), 0u);
}

TEST(ByteReaderTest, DamagedTexts) {
    struct Row {
        const char* name;
        Bytes record;
        ETextNul nul;
        bool fails;
        std::string text;
        std::size_t offsetAfter;
    };
    const std::vector<Row> rows = {
        {"length past the record", {0x00, 0x05, 'a', 'b', 0x00}, ETextNul::Required, true, "", 2},
        {"huge length", {0xFF, 0xFF, 'a', 0x00}, ETextNul::Optional, true, "", 2},
        {"length byte cut", {0x00}, ETextNul::Optional, true, "", 0},
        {"no NUL where required", {0x00, 0x02, 'a', 'b'}, ETextNul::Required, true, "", 2},
        {"no NUL, taken as stored", {0x00, 0x02, 'a', 'b'}, ETextNul::Optional, false, "ab", 4},
        {"NUL inside ends the text",
         {0x00, 0x04, 'a', 0x00, 'b', 0x00},
         ETextNul::Required,
         false,
         "a",
         6},
        {"single NUL", {0x00, 0x01, 0x00}, ETextNul::Required, false, "", 3},
        {"length zero", {0x00, 0x00, 'x'}, ETextNul::Required, false, "", 2},
    };
    for (const Row& row : rows) {
        CByteReader reader(row.record);
        EXPECT_EQ(reader.ReadText(row.nul), row.text) << row.name;
        EXPECT_EQ(reader.Failed(), row.fails) << row.name;
        if (!row.fails) {
            EXPECT_EQ(reader.Offset(), row.offsetAfter) << row.name;
        }
    }
}

TEST(ByteReaderTest, ListCountsMustFitTheRecord) {
    struct Row {
        Bytes record;
        std::size_t elementSize;
        bool fails;
        uint16_t count;
    };
    Bytes threeFives = {0x00, 0x03};
    threeFives.resize(2 + 15, 0);
    Bytes shortByOne = threeFives;
    shortByOne.pop_back();
    const std::vector<Row> rows = {
        {threeFives, 5, false, 3},        {shortByOne, 5, true, 0},
        {{0xFF, 0xFF, 0x00}, 1, true, 0}, {{0x00, 0x00}, 5, false, 0},
        {{0x12, 0x34}, 0, false, 0x1234}, {{0x00}, 1, true, 0},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        CByteReader reader(rows[i].record);
        EXPECT_EQ(reader.ReadCount(rows[i].elementSize), rows[i].count) << "row " << i;
        EXPECT_EQ(reader.Failed(), rows[i].fails) << "row " << i;
    }
}

TEST(ByteReaderTest, SkipAndBytesAreBounded) {
    const Bytes record = {1, 2, 3, 4};
    CByteReader reader(record);
    reader.Skip(3);
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(reader.Remaining(), 1u);
    EXPECT_TRUE(reader.ReadBytes(2).empty());
    EXPECT_TRUE(reader.Failed());

    CByteReader huge(record);
    huge.Skip(static_cast<std::size_t>(-1));
    EXPECT_TRUE(huge.Failed());
    EXPECT_EQ(huge.Offset(), 0u);

    CByteReader marked(record);
    marked.ReadUint16();
    marked.MarkFailed();
    EXPECT_EQ(marked.ReadUint16(), 0);
    EXPECT_TRUE(marked.Failed());
}

} // namespace
} // namespace fitquill
