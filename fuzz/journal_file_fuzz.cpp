// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the journal file reader: it must never read past its input or
// allocate by a stored length, may refuse only versions below 4 with an internal error, and
// whatever it reads (in full or in part) must write, read back in full and write again to the
// same bytes.
#include "core/internal_error.h"
#include "core/io/byte_order.h"
#include "core/journal/journal_file.h"

#include <cstdio>
#include <cstdlib>

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CJournalDB journal;
    try {
        CJournalFile::Unpack(std::span<const uint8_t>(data, size), journal);
    } catch (const CInternalError&) {
        Check(HeaderVersionBelow4(data, size), "internal error for a readable version");
        return 0;
    }
    const std::vector<uint8_t> once = CJournalFile::Pack(journal);
    CJournalDB again;
    Check(CJournalFile::Unpack(once, again), "a written journal reads back");
    Check(CJournalFile::Pack(again) == once, "a journal read back writes the same bytes");
    return 0;
}
