// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace fitquill {

// What the HotSync Manager tells a conduit about one run.
struct SSyncRunProperties {
    int32_t action = 0;
    std::string pathName;  // the user's folder, ending with a directory separator
    std::string localName; // the conduit's registered local name
    std::string userName;
    std::string remoteName; // the first remote database
    uint32_t creatorId = 0;
    uint16_t cardNumber = 0;
};

// The HotSync Manager's records, built byte by byte at the offsets of conduit/conduit_api.h
// (little-endian integers, NUL-terminated texts within their fields), so that no struct layout
// of this program's compiler leaks into the contract.
class CConduitRecords {
public:
    // The sync properties record of OpenConduit. The remote database name is passed as a
    // pointer into `properties`, which must outlive every use of the record. Texts longer than
    // their field (less its NUL) are refused with nullopt: a cut path would name another file.
    static std::optional<std::vector<uint8_t>> SyncProperties(const SSyncRunProperties& properties);

    // The configuration record of CfgConduit: version 1, its size, the conduit's creator, the
    // user, the permanent and next actions; the new action starts as the next one and the
    // preference kind as 0, so that a dialog that stored nothing can be told apart.
    static std::vector<uint8_t> Configuration(uint32_t creatorId, uint32_t userId,
                                              const std::string& userName, int32_t permanentAction,
                                              int32_t nextAction);

    // What the dialog stored: the new action and its kind (1 permanent, 2 the next HotSync
    // only), or nothing when it stored no valid kind (cancelled, or no dialog shown).
    struct SAnswer {
        int32_t action = 0;
        int32_t kind = 0;
    };
    static std::optional<SAnswer> ConfigurationAnswer(const std::vector<uint8_t>& record);

    static void PutU32(std::vector<uint8_t>& record, size_t offset, uint32_t value);
    static uint32_t GetU32(const std::vector<uint8_t>& record, size_t offset);
    // Copies the text and a NUL into a field of `width` bytes; false when it does not fit.
    static bool PutText(std::vector<uint8_t>& record, size_t offset, size_t width,
                        const std::string& text);
};

} // namespace fitquill
