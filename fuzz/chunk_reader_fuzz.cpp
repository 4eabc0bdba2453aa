// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the chunk container and the record reader: neither may read past
// its input, and whatever they accept must re-encode to the same bytes.
#include "core/io/byte_reader.h"
#include "core/io/byte_writer.h"
#include "core/io/chunk_reader.h"
#include "core/io/chunk_writer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using fitquill::CByteReader;
using fitquill::CByteWriter;
using fitquill::CChunkReader;
using fitquill::CChunkWriter;

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #condition, __LINE__);            \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

bool SameBytes(std::span<const uint8_t> a, std::span<const uint8_t> b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size()) == 0);
}

// Reads a payload as a little program: each byte chooses the next field to read, so that every
// reader operation meets every kind of damaged input. A field read without failure must
// re-encode to exactly the bytes it was read from.
void ExerciseRecordReader(std::span<const uint8_t> payload) {
    CByteReader reader(payload);
    bool failedBefore = false;
    for (int step = 0; step < 4096 && !reader.AtEnd(); ++step) {
        const uint8_t op = reader.ReadUint8();
        const std::size_t start = reader.Offset();
        CByteWriter echo;
        bool exact = true;
        switch (op % 14) {
        case 0:
            echo.AppendUint8(reader.ReadUint8());
            break;
        case 1:
            echo.AppendInt8(reader.ReadInt8());
            break;
        case 2:
            echo.AppendUint16(reader.ReadUint16());
            break;
        case 3:
            echo.AppendInt16(reader.ReadInt16());
            break;
        case 4:
            echo.AppendUint32(reader.ReadUint32());
            break;
        case 5:
            echo.AppendInt32(reader.ReadInt32());
            break;
        case 6:
            echo.AppendFloat(reader.ReadFloat());
            break;
        case 7:
            echo.AppendUint32LE(reader.ReadUint32LE());
            break;
        case 8:
        case 9: {
            const auto nul =
                op % 14 == 8 ? fitquill::ETextNul::Required : fitquill::ETextNul::Optional;
            const std::string text = reader.ReadText(nul);
            const std::size_t stored = reader.Offset() - start;
            FUZZ_CHECK(reader.Failed() || text.size() + 2 <= stored);
            // Only a text whose sole NUL is its last byte has one stored form.
            exact =
                !reader.Failed() && stored == text.size() + 3 && payload[reader.Offset() - 1] == 0;
            if (exact) {
                echo.AppendText(text);
            }
            break;
        }
        case 10: {
            const std::size_t width = op / 14;
            const std::string text = reader.ReadFixedText(width);
            FUZZ_CHECK(text.size() <= width);
            exact = false;
            break;
        }
        case 11: {
            const uint16_t count = reader.ReadCount(op / 14);
            FUZZ_CHECK(reader.Failed() || op / 14 == 0 ||
                       static_cast<std::size_t>(count) * (op / 14) <= reader.Remaining());
            echo.AppendUint16(count);
            break;
        }
        case 12: {
            const auto bytes = reader.ReadBytes(op / 14);
            FUZZ_CHECK(reader.Failed() || bytes.size() == op / 14u);
            echo.AppendBytes(bytes);
            break;
        }
        default:
            reader.Skip(op / 14);
            exact = false;
            break;
        }
        FUZZ_CHECK(reader.Offset() <= payload.size());
        if (failedBefore) {
            FUZZ_CHECK(reader.Failed());
        }
        if (reader.Failed()) {
            failedBefore = true;
            break;
        }
        if (exact) {
            FUZZ_CHECK(SameBytes(echo.Bytes(), payload.subspan(start, reader.Offset() - start)));
        }
    }
    if (failedBefore) {
        // Failure is sticky and gives zeros.
        FUZZ_CHECK(reader.ReadUint32() == 0 && reader.ReadText().empty());
        FUZZ_CHECK(reader.Failed());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::span<const uint8_t> file(data, size);

    const auto split = fitquill::SplitChunks(file);
    CChunkReader reader(file);
    std::vector<std::span<const uint8_t>> payloads;
    while (!reader.AtEnd()) {
        const auto payload = reader.Next();
        if (!payload) {
            break;
        }
        FUZZ_CHECK(payload->data() >= data && payload->data() + payload->size() <= data + size);
        payloads.push_back(*payload);
    }
    FUZZ_CHECK(split.has_value() == !reader.Failed());

    if (split) {
        FUZZ_CHECK(split->size() == payloads.size());
        // Rewriting the payloads gives the same file apart from the chunk numbers.
        CChunkWriter writer;
        for (const auto& payload : payloads) {
            writer.AppendChunk(payload);
        }
        const std::vector<uint8_t>& rewritten = writer.Bytes();
        FUZZ_CHECK(rewritten.size() == size);
        for (std::size_t i = 0, offset = 0; i < payloads.size(); ++i) {
            FUZZ_CHECK(SameBytes(std::span(rewritten).subspan(offset + 4, 4),
                                 file.subspan(offset + 4, 4)));
            offset += CChunkWriter::kFrameSize + payloads[i].size();
        }
    }

    for (const auto& payload : payloads) {
        ExerciseRecordReader(payload);
    }
    if (payloads.empty()) {
        ExerciseRecordReader(file);
    }
    return 0;
}
