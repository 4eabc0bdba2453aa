// SPDX-License-Identifier: GPL-3.0-or-later
// The module's entry points. This file is compiled once per module, with
// FITQUILL_CONDUIT_SELECTOR 1 (Fitquill, the journal) or 0 (Larderon, the food database).
#include "conduit/conduit_api.h"
#include "conduit/conduit_identity.h"
#include "conduit/config_dialog.h"
#include "conduit/config_dialog_qt.h"
#include "conduit/module_folder.h"
#include "conduit/sync/conduit_environment.h"
#include "conduit/sync/conduit_run.h"
#include "conduit/sync/record_fields.h"
#include "conduit/sync/sync_properties.h"

#include <atomic>
#include <cstring>
#include <filesystem>

#ifndef FITQUILL_CONDUIT_SELECTOR
#error "FITQUILL_CONDUIT_SELECTOR must be 1 (journal) or 0 (food)"
#endif

namespace fitquill {
namespace {

constexpr const SConduitIdentity& kIdentity =
    FITQUILL_CONDUIT_SELECTOR == 1 ? kJournalConduit : kFoodConduit;

// Library entry: the first attachment remembers where the module lies (for its help file);
// attachments are counted up on load and down on unload.
class CModuleInstance {
public:
    CModuleInstance() {
        if (Attachments()++ == 0)
            Folder() = ConduitModuleFolder();
    }
    ~CModuleInstance() { --Attachments(); }

    static std::filesystem::path& Folder() {
        static std::filesystem::path folder;
        return folder;
    }

private:
    static std::atomic<int>& Attachments() {
        static std::atomic<int> count{0};
        return count;
    }
};

const CModuleInstance kModuleInstance;

} // namespace
} // namespace fitquill

using namespace fitquill;

extern "C" {

int32_t OpenConduit(void* /*progress*/, const void* syncProperties) {
    if (syncProperties == nullptr)
        return 0;
    // Nothing may escape into the host: failures end up in the HotSync log only.
    try {
        const SSyncProperties properties = ReadSyncProperties(syncProperties);
        CConduitEnvironment environment(properties, CConduitRun::MessageTag(kIdentity.selector));
        CConduitRun run(kIdentity.selector, properties, environment.Services());
        run.Run();
        run.End();
    } catch (...) {
    }
    return 0;
}

int32_t GetConduitName(char* buffer, uint16_t length) {
    return LoadConduitString(kIdentity, kStringConduitName, buffer, length) > 0 ? 0 : -1;
}

uint32_t GetConduitVersion(void) {
    return kIdentity.version;
}

int32_t GetConduitInfo(int32_t query, const void* input, void* output, uint32_t* outputSize) {
    if (output == nullptr)
        return kConduitErrOutputMissing;
    if (outputSize == nullptr)
        return kConduitErrOutputSizeMissing;
    switch (query) {
    case kConduitQueryName:
        if (input == nullptr)
            return kConduitErrInputMissing;
        if (ReadRecordU32(input, 0) != 1 || ReadRecordU32(input, 4) != kNameQuerySize)
            return kConduitErrInputInvalid;
        return LoadConduitString(kIdentity, kStringConduitName, static_cast<char*>(output),
                                 *outputSize) > 0
                   ? 0
                   : kConduitErrNoName;
    case kConduitQueryClassVersion:
        if (*outputSize != sizeof(uint32_t))
            return kConduitErrOutputSize;
        WriteRecordU32(output, 0, kConduitClassVersion);
        return 0;
    case kConduitQueryDefaultAction:
        if (*outputSize != sizeof(uint32_t))
            return kConduitErrOutputSize;
        WriteRecordI32(output, 0, kHotSyncActionFast);
        return 0;
    default:
        return kConduitErrUnknownQuery;
    }
}

int32_t ConfigureConduit(void* preference) {
    if (preference == nullptr)
        return -1;
    uint8_t record[kConfigurationSize] = {};
    const int32_t action = ReadRecordI32(preference, kPreferenceAction);
    WriteRecordU32(record, kConfigVersion, 1);
    WriteRecordU32(record, kConfigSize, kConfigurationSize);
    WriteRecordI32(record, kConfigPermanentAction, action);
    WriteRecordI32(record, kConfigNextAction, action);
    WriteRecordI32(record, kConfigNewAction, action);
    WriteRecordI32(record, kConfigPreferenceKind, kPreferenceTemporary);
    CConfigDialog dialog(kIdentity, kDialogConfigure, record);
    if (ShowConfigDialog(dialog, CModuleInstance::Folder()) != kDialogResultOk)
        return -1;
    WriteRecordI32(preference, kPreferenceAction, ReadRecordI32(record, kConfigNewAction));
    WriteRecordI32(preference, kPreferenceKind, ReadRecordI32(record, kConfigPreferenceKind));
    return 0;
}

int32_t CfgConduit(int32_t kind, void* configuration, uint32_t* configurationSize) {
    if (configuration == nullptr)
        return kConduitErrInputMissing;
    if (configurationSize == nullptr)
        return kConduitErrConfigSizeMissing;
    if (*configurationSize != kConfigurationSize)
        return kConduitErrConfigSize;
    if (kind != 0)
        return kConduitErrConfigKind;
    if (ReadRecordU32(configuration, kConfigVersion) != 1)
        return kConduitErrConfigVersion;

    uint8_t query[kNameQuerySize] = {};
    WriteRecordU32(query, 0, 1);
    WriteRecordU32(query, 4, kNameQuerySize);
    // Creator ID, user ID and user name sit at the same offsets in both records.
    std::memcpy(query + kConfigCreator, static_cast<const uint8_t*>(configuration) + kConfigCreator,
                kNameQuerySize - kConfigCreator);
    char name[256];
    uint32_t nameSize = sizeof name;
    if (const int32_t result = GetConduitInfo(kConduitQueryName, query, name, &nameSize))
        return result;

    CConfigDialog dialog(kIdentity, kDialogCurrentSettings, static_cast<uint8_t*>(configuration));
    ShowConfigDialog(dialog, CModuleInstance::Folder());
    return 0;
}

} // extern "C"
