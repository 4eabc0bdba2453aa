// SPDX-License-Identifier: GPL-3.0-or-later
#include "conduit/sync/sync_properties.h"

#include "conduit/conduit_api.h"
#include "conduit/sync/record_fields.h"
#include "platform/palm/palm_database.h"

#include <cstring>

namespace fitquill {

SSyncProperties ReadSyncProperties(const void* record) {
    SSyncProperties properties;
    properties.action = ReadRecordI32(record, kSyncPropsAction);
    properties.pathName = ReadRecordText(record, kSyncPropsPathName, kSyncPropsTextSize);
    properties.localName = ReadRecordText(record, kSyncPropsLocalName, kSyncPropsTextSize);
    properties.userName = ReadRecordText(record, kSyncPropsUserName, kSyncPropsTextSize);
    const char* remote = nullptr;
    std::memcpy(&remote, static_cast<const uint8_t*>(record) + kSyncPropsRemoteName, sizeof remote);
    if (remote != nullptr) {
        size_t length = 0;
        while (length <= kPalmMaxNameLength && remote[length] != '\0')
            ++length;
        if (length <= kPalmMaxNameLength)
            properties.remoteName.assign(remote, length);
    }
    properties.creatorId = ReadRecordU32(record, kSyncPropsCreator);
    properties.cardNumber = ReadRecordU16(record, kSyncPropsCardNumber);
    return properties;
}

} // namespace fitquill
