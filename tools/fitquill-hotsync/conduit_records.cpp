// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill-hotsync/conduit_records.h"

#include "conduit/conduit_api.h"

#include <cstring>

namespace fitquill {

void CConduitRecords::PutU32(std::vector<uint8_t>& record, size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i)
        record.at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t CConduitRecords::GetU32(const std::vector<uint8_t>& record, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= uint32_t(record.at(offset + i)) << (8 * i);
    return value;
}

bool CConduitRecords::PutText(std::vector<uint8_t>& record, size_t offset, size_t width,
                              const std::string& text) {
    if (text.size() >= width || text.find('\0') != std::string::npos ||
        offset + width > record.size())
        return false;
    std::memcpy(record.data() + offset, text.data(), text.size());
    record[offset + text.size()] = 0;
    return true;
}

std::optional<std::vector<uint8_t>>
CConduitRecords::SyncProperties(const SSyncRunProperties& properties) {
    std::vector<uint8_t> record(kSyncPropertiesSize, 0);
    PutU32(record, kSyncPropsAction, static_cast<uint32_t>(properties.action));
    if (!PutText(record, kSyncPropsPathName, kSyncPropsTextSize, properties.pathName) ||
        !PutText(record, kSyncPropsLocalName, kSyncPropsTextSize, properties.localName) ||
        !PutText(record, kSyncPropsUserName, kSyncPropsTextSize, properties.userName))
        return std::nullopt;
    const char* remote = properties.remoteName.c_str();
    std::memcpy(record.data() + kSyncPropsRemoteName, &remote, sizeof remote);
    PutU32(record, kSyncPropsCreator, properties.creatorId);
    record[kSyncPropsCardNumber] = static_cast<uint8_t>(properties.cardNumber);
    record[kSyncPropsCardNumber + 1] = static_cast<uint8_t>(properties.cardNumber >> 8);
    return record;
}

std::vector<uint8_t> CConduitRecords::Configuration(uint32_t creatorId, uint32_t userId,
                                                    const std::string& userName,
                                                    int32_t permanentAction, int32_t nextAction) {
    std::vector<uint8_t> record(kConfigurationSize, 0);
    PutU32(record, kConfigVersion, 1);
    PutU32(record, kConfigSize, kConfigurationSize);
    PutU32(record, kConfigCreator, creatorId);
    PutU32(record, kConfigUserId, userId);
    // The name is only shown: a name longer than the field is shown cut.
    const std::string shown = userName.substr(0, kConfigUserNameSize - 1);
    PutText(record, kConfigUserName, kConfigUserNameSize, shown);
    PutU32(record, kConfigPermanentAction, static_cast<uint32_t>(permanentAction));
    PutU32(record, kConfigNextAction, static_cast<uint32_t>(nextAction));
    PutU32(record, kConfigNewAction, static_cast<uint32_t>(nextAction));
    PutU32(record, kConfigPreferenceKind, 0);
    return record;
}

std::optional<CConduitRecords::SAnswer>
CConduitRecords::ConfigurationAnswer(const std::vector<uint8_t>& record) {
    SAnswer answer;
    answer.kind = static_cast<int32_t>(GetU32(record, kConfigPreferenceKind));
    answer.action = static_cast<int32_t>(GetU32(record, kConfigNewAction));
    if (answer.kind != kPreferencePermanent && answer.kind != kPreferenceTemporary)
        return std::nullopt;
    return answer;
}

} // namespace fitquill
