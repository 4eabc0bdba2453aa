// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/io/chunk_reader.h"

#include "core/internal_error.h"
#include "core/io/atomic_file.h"
#include "core/io/chunk_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
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

TEST(ChunkContainerTest, ChunksWrittenInPlaceAreFramedLikeAppendedOnes) {
    CChunkWriter inPlace;
    inPlace.BeginChunk().AppendUint16(0x0102);
    inPlace.EndChunk();
    inPlace.BeginChunk();
    inPlace.EndChunk();
    CChunkWriter appended;
    appended.AppendChunk(Bytes{1, 2});
    appended.AppendChunk(Bytes{});
    EXPECT_EQ(inPlace.Bytes(), appended.Bytes());
    EXPECT_EQ(inPlace.ChunkCount(), 2u);

    EXPECT_THROW(inPlace.EndChunk(), CInternalError) << "no chunk was started";
    inPlace.BeginChunk();
    EXPECT_THROW(inPlace.BeginChunk(), CInternalError) << "one chunk at a time";
}

// The chunks read from the file one at a time are those CChunkReader finds in its bytes, up to
// the end or the first damaged frame, whatever the cut or damage.
TEST(ChunkContainerTest, ReadingFromTheFileFindsWhatTheBytesHold) {
    CChunkWriter writer;
    writer.AppendChunk(Bytes{1, 2, 3, 4, 5});
    writer.AppendChunk(Bytes{});
    writer.AppendChunk(Bytes(70000, 7));
    const Bytes full = writer.Release();
    std::vector<Bytes> files;
    for (std::size_t cut = 0; cut <= 40; ++cut)
        files.emplace_back(full.begin(), full.begin() + static_cast<long>(cut));
    files.emplace_back(full.begin(), full.end() - 1);
    files.push_back(full);
    Bytes longLength = full;
    longLength[4 + 8 + 5 + 8 + 4 + 2] = 0x7F; // the third length runs far past the file
    files.push_back(longLength);

    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("fitquill-chunks-" + std::to_string(std::random_device{}()));
    for (const Bytes& bytes : files) {
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
        }
        std::vector<Bytes> expected;
        for (const auto payload : LeadingChunks(bytes))
            expected.push_back(ToBytes(payload));
        CFileReader file;
        ASSERT_TRUE(file.Open(path));
        CChunkFileReader chunks(file);
        std::vector<Bytes> read;
        while (const auto payload = chunks.Next())
            read.push_back(ToBytes(*payload));
        EXPECT_EQ(read, expected) << bytes.size() << " bytes";
        EXPECT_FALSE(chunks.Next().has_value()) << "the end is sticky";
        EXPECT_FALSE(file.Failed());
    }
    std::filesystem::remove(path);
}

} // namespace
} // namespace fitquill
