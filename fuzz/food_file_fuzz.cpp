// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the food database file reader: it must never read past its input or
// allocate by a stored length, may refuse only versions below 4 with internal error 1000, and
// whatever it reads (in full or in part) must write, read back in full and write again to the
// same bytes.
#include "core/food/food_db_file.h"
#include "core/internal_error.h"
#include "core/io/byte_order.h"

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

bool HeaderVersionBelow4(const uint8_t* data, size_t size) {
    return size >= 10 && LoadUint32LE(data + 4) >= 2 && LoadUint16BE(data + 8) < 4;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CFoodDB db;
    EFoodLoadResult result = EFoodLoadResult::Failed;
    try {
        result = CFoodDBFile::Unpack(std::span<const uint8_t>(data, size), db);
    } catch (const CInternalError& error) {
        Check(error.Code() == kInternalErrorFoodDb && HeaderVersionBelow4(data, size),
              "internal error for a readable version");
        return 0;
    }
    if (result == EFoodLoadResult::Failed)
        return 0;
    const std::vector<uint8_t> once = CFoodDBFile::Pack(db);
    CFoodDB again;
    Check(CFoodDBFile::Unpack(once, again) == EFoodLoadResult::Loaded,
          "a written database reads back");
    Check(CFoodDBFile::Pack(again) == once, "a database read back writes the same bytes");
    return 0;
}
