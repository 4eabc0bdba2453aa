// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the Palm database reader. Besides memory safety it checks that
// whatever the reader accepts and the writer can write reads back to the same image.
#include "platform/palm/palm_database.h"

#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fitquill::CPalmDatabase db;
    if (!db.Read(std::span(data, size)))
        return 0;
    const auto image = db.Write();
    if (!image)
        return 0; // e.g. repeated unique IDs: readable, but never written
    fitquill::CPalmDatabase back;
    if (!back.Read(*image))
        std::abort();
    const auto again = back.Write();
    if (!again || *again != *image)
        std::abort();
    // The busy bit is the only thing the writer drops on purpose.
    for (auto& record : db.Records())
        record.attributes &= uint8_t(~fitquill::kPalmRecAttrBusy);
    if (back.Records() != db.Records() || back.Resources() != db.Resources() ||
        back.AppInfo() != db.AppInfo() || back.SortInfo() != db.SortInfo())
        std::abort();
    return 0;
}
