// SPDX-License-Identifier: GPL-3.0-or-later
#include "conduit/sync/conduit_environment.h"

#include "conduit/conduit_api.h"
#include "platform/palm/handheld.h"
#include "platform/palm/user_store.h"
#include "platform/settings/program_locations.h"
#include "platform/settings/settings_store.h"

#include <cstdlib>

namespace fitquill {
namespace {

std::optional<std::string> ProcessVariable(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::string(value);
}

} // namespace

CConduitEnvironment::CConduitEnvironment(const SSyncProperties& properties, const std::string& tag)
    : CConduitEnvironment(properties, tag, ProcessVariable) {}

CConduitEnvironment::CConduitEnvironment(const SSyncProperties& properties, const std::string& tag,
                                         const EnvironmentLookup& lookup) {
    if (auto entries = lookup(kHotSyncLogVariable))
        m_log = std::make_unique<CLogEntryFile>(*entries);
    else if (!properties.pathName.empty())
        m_log = std::make_unique<CUserFolderLog>(properties.pathName);
    else
        m_log = std::make_unique<CMemoryLog>(); // no user folder to keep a log in

    SHandheld handheld;
    handheld.folder = lookup(kHandheldFolderVariable).value_or(std::string());
    if (!handheld.folder.empty())
        LoadHandheld(handheld.folder, handheld);
    m_manager = std::make_unique<CSyncManager>(handheld);
    m_channel = std::make_unique<CSyncManagerChannel>(*m_manager);

    const CSettingsStore settings = CSettingsStore::FromEnvironment(lookup);
    auto library = std::make_shared<CUserStore>(
        CUserStore::PalmRoot(settings.Value("InstallPath/PalmDesktop").value_or(std::string())));
    // The users are looked up where the desktop program and the tools look.
    const std::optional<std::string> install =
        CProgramLocations::InstallPathOf(settings.InstallPath(), lookup);
    if (!install) {
        // Neither the setting nor a home folder: a message box would stop the HotSync
        // operation until someone answers it, so the notice goes to the log.
        m_log->AddEntry(tag + kInstallPathKeyMessage, kLogActivityText);
    }
    m_users = std::make_unique<CUserDirectory>(std::move(library),
                                               SInstallPath{true, install.value_or(std::string())});
}

SConduitServices CConduitEnvironment::Services() {
    return SConduitServices{*m_channel, *m_log, m_presence, *m_users};
}

} // namespace fitquill
