// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace fitquill {

// Splits the bytes of a desktop file into its chunk payloads, in file order. The chunk numbers
// are not looked at: the order alone says what a payload is. A frame cut short, or a length
// longer than what remains of the file, is a read failure. Payloads are views into the file's
// bytes, which must outlive them.
class CChunkReader {
public:
    explicit CChunkReader(std::span<const uint8_t> file) : m_file(file) {}

    // The next payload. Nothing when the file is damaged there or has no more chunks; both are
    // failures, since a reader asks only for chunks the file must hold (AtEnd() tells beforehand
    // whether any is left). After a failure every call returns nothing.
    std::optional<std::span<const uint8_t>> Next();

    bool Failed() const { return m_failed; }
    // No bytes remain after the chunks read so far.
    bool AtEnd() const { return m_offset == m_file.size(); }
    std::size_t ChunksRead() const { return m_chunksRead; }
    std::size_t Offset() const { return m_offset; }

private:
    std::span<const uint8_t> m_file;
    std::size_t m_offset = 0;
    std::size_t m_chunksRead = 0;
    bool m_failed = false;
};

class CFileReader;

// The chunks of a desktop file taken from the file itself one at a time, every payload into the
// same buffer: a reader parses a large file while its bytes are still in the cache, and never
// holds all of it.
class CChunkFileReader {
public:
    explicit CChunkFileReader(CFileReader& file) : m_file(file) {}

    // The next payload, valid until the next call. Nothing at the end of the file, at damage (a
    // frame cut short, a length running past the end of the file) or when the file cannot be
    // read (the file reader's Failed tells); every later call returns nothing as well.
    std::optional<std::span<const uint8_t>> Next();

private:
    CFileReader& m_file;
    std::vector<uint8_t> m_payload;
    bool m_done = false;
};

// Every payload of a file, or nothing when any frame is damaged (including stray bytes after
// the last chunk).
std::optional<std::vector<std::span<const uint8_t>>> SplitChunks(std::span<const uint8_t> file);

// The payloads up to the end or the first damaged frame: the record readers decide how many
// they need, so damage after the last record they read does not matter.
std::vector<std::span<const uint8_t>> LeadingChunks(std::span<const uint8_t> file);

} // namespace fitquill
