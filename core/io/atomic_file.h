// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fitquill {

// Files larger than this are refused by ReadWholeFile: no file of the program comes near it,
// and a damaged or wrong file must not make the reader allocate without bound.
constexpr std::uintmax_t kMaxReadFileSize = 256u * 1024u * 1024u;

// Replaces the file at `path` with `bytes` so that a failure never destroys the old copy: the
// data goes to a temporary file in the same folder, which is flushed, closed and then renamed
// over the old file. A missing folder (or chain of folders) is created first. On any failure
// the temporary file is removed, the old file stays byte-identical, the result is false and
// `error` (when given) receives a readable reason. A symbolic link at `path` is followed, so
// the file it points to is replaced and the link stays.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                           std::string* error = nullptr);
// The same for a text, written byte for byte.
bool ReplaceFileAtomically(const std::filesystem::path& path, std::string_view text,
                           std::string* error = nullptr);

// Reads a whole file. Returns nothing on failure with a readable reason in `error`; `missing`
// (when given) tells whether the failure was that the file does not exist, which many readers
// treat as "no data yet" rather than as an error.
std::optional<std::vector<uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                  std::string* error = nullptr,
                                                  bool* missing = nullptr);

// Reads a file front to back in pieces, with the checks and messages of ReadWholeFile, for a
// reader that takes the file apart as it goes instead of holding all of it: its memory stays at
// what it keeps, and it works on bytes that were just read, still in the cache.
class CFileReader {
public:
    CFileReader();
    ~CFileReader();
    CFileReader(const CFileReader&) = delete;
    CFileReader& operator=(const CFileReader&) = delete;

    // False with a readable reason in `error`, and `missing` (when given) set when the file
    // does not exist, exactly as ReadWholeFile.
    bool Open(const std::filesystem::path& path, std::string* error = nullptr,
              bool* missing = nullptr);
    // Appends up to `count` more bytes of the file to `into` and returns how many came: fewer
    // at the end of the file, or when the read fails (Failed). `into` grows about as fast as
    // bytes come (to at most about twice what came, plus 64 KiB), so a damaged length makes it no
    // larger than the file. Past 256 MiB in all (kMaxReadFileSize) the reader fails.
    std::size_t ReadInto(std::vector<uint8_t>& into, std::size_t count);
    // A read error or a file grown too large, not the end of the file; Error() says which.
    bool Failed() const { return !m_error.empty(); }
    const std::string& Error() const { return m_error; }

private:
    struct SState;
    std::unique_ptr<SState> m_state;
    std::string m_error;
};

// Where an injected failure strikes inside ReplaceFileAtomically.
enum class EFileFault {
    None,
    CreateFolder,  // creating the missing folder fails
    OpenTemporary, // the temporary file cannot be created
    Write,         // the write stops after `afterBytes` bytes (a full disk)
    Flush,         // everything is written but the flush fails
    Close,         // closing the temporary file fails
    Rename,        // the final rename fails
};

// Test-only failure injection for ReplaceFileAtomically, so that any writer of the program can
// prove that a failed save leaves the old file intact. While an object of this class lives, the
// fault strikes in the ReplaceFileAtomically call that follows `skipCalls` successful calls (0:
// the next call), once. Process-wide; one injection at a time.
class CFileFaultInjection {
public:
    explicit CFileFaultInjection(EFileFault fault, std::uintmax_t afterBytes = 0,
                                 unsigned skipCalls = 0);
    ~CFileFaultInjection();
    CFileFaultInjection(const CFileFaultInjection&) = delete;
    CFileFaultInjection& operator=(const CFileFaultInjection&) = delete;

    // Whether the fault has struck.
    bool Triggered() const;
};

} // namespace fitquill
