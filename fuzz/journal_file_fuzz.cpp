// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the journal file reader: it must never read past its input or
// allocate by a stored length, may refuse only versions below 4 with an internal error, and
// whatever it reads (in full or in part) must write, read back in full and write again to the
// same bytes. Reading the same bytes from a file, record by record, must come to the same.
#include "core/internal_error.h"
#include "core/io/byte_order.h"
#include "core/journal/journal_file.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace fitquill;

namespace {

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

// The version field of the header chunk, when the input has one.
bool HeaderVersionBelow4(const uint8_t* data, size_t size) {
    return size >= 10 && LoadUint32LE(data + 4) >= 2 && LoadUint16BE(data + 8) < 4;
}

// The input as a file, for the reader that takes a journal from its file record by record;
// removed when the fuzzer ends.
struct SInputFile {
    std::string path = (std::filesystem::temp_directory_path() /
                        ("fitquill-journal-fuzz-" + std::to_string(getpid())))
                           .string();
    ~SInputFile() { std::remove(path.c_str()); }
};

const std::string& InputFile(const uint8_t* data, size_t size) {
    static const SInputFile input;
    std::FILE* file = std::fopen(input.path.c_str(), "wb");
    Check(file != nullptr, "the input file opens");
    Check(std::fwrite(data, 1, size, file) == size && std::fclose(file) == 0,
          "the input file is written");
    return input.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CJournalDB journal;
    bool unpacked = false;
    try {
        unpacked = CJournalFile::Unpack(std::span<const uint8_t>(data, size), journal);
    } catch (const CInternalError&) {
        Check(HeaderVersionBelow4(data, size), "internal error for a readable version");
        return 0;
    }
    CJournalDB fromFile;
    fromFile.SetFilePath(InputFile(data, size));
    Check(CJournalFile::Read(fromFile) == unpacked, "reading the file agrees with unpacking it");
    const std::vector<uint8_t> once = CJournalFile::Pack(journal);
    Check(CJournalFile::Pack(fromFile) == once, "the file read keeps what unpacking keeps");
    CJournalDB again;
    Check(CJournalFile::Unpack(once, again), "a written journal reads back");
    Check(CJournalFile::Pack(again) == once, "a journal read back writes the same bytes");
    return 0;
}
