// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/chunk_reader.h"

#include "core/io/chunk_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace fitquill {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes ToBytes(std::span<const uint8_t> span) {
    return Bytes(span.begin(), span.end());
}

TEST(ChunkContainerTest, WriterFramesNumberAndLengthLittleEndian) {
    CChunkWriter writer;
    writer.AppendChunk(Bytes{0xA1, 0xA2, 0xA3});
    writer.AppendChunk(Bytes{});
    writer.AppendChunk(Bytes(0x0102, 0x5A));
    EXPECT_EQ(writer.ChunkCount(), 3u);

    Bytes expected = {0, 0, 0, 0, 3,    0,    0, 0, 0xA1, 0xA2, 0xA3, // chunk 0
                      1, 0, 0, 0, 0,    0,    0, 0,                   // chunk 1, empty
                      2, 0, 0, 0, 0x02, 0x01, 0, 0};                  // chunk 2, 258 bytes
    expected.insert(expected.end(), 0x0102, 0x5A);
    EXPECT_EQ(writer.Bytes(), expected);
}

TEST(ChunkContainerTest, RoundTripKeepsOrderAndLargePayloads) {
    // Payload lengths are 32-bit: one larger than 65,535 bytes must survive.
    std::vector<Bytes> payloads = {Bytes{6, 0, 0, 0}, Bytes{}, Bytes(70000, 0)};
    for (std::size_t i = 0; i < payloads[2].size(); ++i) {
        payloads[2][i] = static_cast<uint8_t>(i * 7);
    }
    CChunkWriter writer;
    for (const Bytes& payload : payloads) {
        writer.AppendChunk(payload);
    }
    const Bytes file = writer.Release();

    const auto split = SplitChunks(file);
    ASSERT_TRUE(split.has_value());
    ASSERT_EQ(split->size(), payloads.size());
    for (std::size_t i = 0; i < payloads.size(); ++i) {
        EXPECT_EQ(ToBytes((*split)[i]), payloads[i]) << "chunk " << i;
    }
}

TEST(ChunkContainerTest, ReaderIgnoresTheChunkNumbers) {
    // Only the order says what a payload is; numbers written by another program do not matter.
    const Bytes file = {7, 0, 0, 0, 1, 0, 0, 0, 0xAA, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 0xBB};
    CChunkReader reader(file);
    const auto first = reader.Next();
    const auto second = reader.Next();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(ToBytes(*first), Bytes{0xAA});
    EXPECT_EQ(ToBytes(*second), Bytes{0xBB});
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.Failed());
    EXPECT_EQ(reader.ChunksRead(), 2u);
}

TEST(ChunkContainerTest, AnEmptyFileHasNoChunks) {
    const Bytes file;
    const auto split = SplitChunks(file);
    ASSERT_TRUE(split.has_value());
    EXPECT_TRUE(split->empty());

    CChunkReader reader(file);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_FALSE(reader.Next().has_value()) << "asking for a chunk that is not there fails";
    EXPECT_TRUE(reader.Failed());
}

TEST(ChunkContainerTest, EveryTruncationIsNoticed) {
    CChunkWriter writer;
    writer.AppendChunk(Bytes{1, 2, 3, 4, 5});
    writer.AppendChunk(Bytes{});
    writer.AppendChunk(Bytes{9, 9});
    const Bytes full = writer.Release();
    const std::vector<std::size_t> boundaries = {0, 13, 21, full.size()};

    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        const Bytes truncated(full.begin(), full.begin() + cut);
        const bool atBoundary =
            std::find(boundaries.begin(), boundaries.end(), cut) != boundaries.end();
        EXPECT_EQ(SplitChunks(truncated).has_value(), atBoundary) << "cut at " << cut;

        // A reader that needs all three chunks gets those before the cut, then fails.
        CChunkReader reader(truncated);
        std::size_t complete = 0;
        while (complete < 3 && reader.Next()) {
            ++complete;
        }
        EXPECT_TRUE(reader.Failed()) << "cut at " << cut;
        const std::size_t expectedComplete = cut >= 21 ? 2 : cut >= 13 ? 1 : 0;
        EXPECT_EQ(complete, expectedComplete) << "cut at " << cut;
        EXPECT_FALSE(reader.Next().has_value()) << "failure is sticky";
    }
}

TEST(ChunkContainerTest, LengthsLongerThanTheFileFail) {
    struct Row {
        const char* name;
        Bytes file;
    };
    const std::vector<Row> rows = {
        {"largest length", {0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3}},
        {"one byte more than remains", {0, 0, 0, 0, 4, 0, 0, 0, 1, 2, 3}},
        {"stray bytes after the last chunk", {0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0}},
        {"frame cut short", {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Row& row : rows) {
        EXPECT_FALSE(SplitChunks(row.file).has_value()) << row.name;
    }
}

} // namespace
} // namespace fitquill
