// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace fitquill {

// The fields of the HotSync Manager's sync properties record that a run uses, as owned copies.
struct SSyncProperties {
    int32_t action = 0;
    std::string pathName;
    std::string localName;
    std::string userName;
    std::string remoteName;
    uint32_t creatorId = 0;
    uint16_t cardNumber = 0;
};

// Reads the record (conduit_api.h layout). The remote database name behind the pointer is read
// up to its NUL but never beyond the longest database name and its NUL; a longer text is no
// database name and is taken as empty, so that opening it fails.
SSyncProperties ReadSyncProperties(const void* record);

} // namespace fitquill
