// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/fitquill-hotsync/conduit_actions.h"

#include "conduit/conduit_api.h"
#include "core/io/atomic_file.h"
#include "platform/settings/ini_settings.h"

#include <charconv>

namespace fitquill {
namespace {

constexpr std::string_view kPermanentKey = "PermanentAction";
constexpr std::string_view kNextKey = "NextAction";

std::string Key(std::string_view conduit, std::string_view key) {
    return std::string(conduit) + "/" + std::string(key);
}

std::optional<int32_t> ParseAction(const std::optional<std::string>& text) {
    if (!text || text->empty())
        return std::nullopt;
    int32_t value = 0;
    const char* end = text->data() + text->size();
    const auto [at, error] = std::from_chars(text->data(), end, value);
    if (error != std::errc() || at != end)
        return std::nullopt;
    return value;
}

} // namespace

CConduitActionStore::CConduitActionStore(std::filesystem::path userFolder)
    : m_userFolder(std::move(userFolder)) {}

std::optional<std::string> CConduitActionStore::ReadText(std::string* error) const {
    bool missing = false;
    const auto bytes = ReadWholeFile(FilePath(), error, &missing);
    if (!bytes) {
        if (missing)
            return std::string();
        return std::nullopt;
    }
    return std::string(bytes->begin(), bytes->end());
}

bool CConduitActionStore::Read(std::string_view conduit, SConduitActions& actions,
                               std::string* error) const {
    const auto text = ReadText(error);
    if (!text)
        return false;
    const CIniSettings settings = CIniSettings::Parse(*text);
    actions.permanent = ParseAction(settings.Value(Key(conduit, kPermanentKey)));
    actions.next = ParseAction(settings.Value(Key(conduit, kNextKey)));
    return true;
}

bool CConduitActionStore::Change(
    std::string_view conduit,
    std::initializer_list<std::pair<std::string_view, std::string>> values,
    std::string* error) const {
    auto text = ReadText(error);
    if (!text)
        return false;
    for (const auto& [key, value] : values)
        text = CIniSettings::WithValue(*text, Key(conduit, key), value);
    return ReplaceFileAtomically(FilePath(), *text, error);
}

bool CConduitActionStore::SetPermanent(std::string_view conduit, int32_t action,
                                       std::string* error) const {
    return Change(conduit, {{kPermanentKey, std::to_string(action)}, {kNextKey, ""}}, error);
}

bool CConduitActionStore::SetNext(std::string_view conduit, int32_t action,
                                  std::string* error) const {
    return Change(conduit, {{kNextKey, std::to_string(action)}}, error);
}

bool CConduitActionStore::ClearNext(std::string_view conduit, std::string* error) const {
    return Change(conduit, {{kNextKey, ""}}, error);
}

int32_t CConduitActionStore::Choose(std::optional<int32_t> given, const SConduitActions& kept,
                                    int32_t defaultAction, bool& usesNext) {
    usesNext = false;
    if (given)
        return *given;
    if (kept.next) {
        usesNext = true;
        return *kept.next;
    }
    return kept.permanent.value_or(defaultAction);
}

std::optional<int32_t> CConduitActionStore::ParseActionName(std::string_view name) {
    if (name == "sync")
        return kHotSyncActionFast;
    if (name == "handheld")
        return kHotSyncActionHandheldToDesktop;
    if (name == "desktop")
        return kHotSyncActionDesktopToHandheld;
    if (name == "none")
        return kHotSyncActionDoNothing;
    return std::nullopt;
}

std::string CConduitActionStore::Describe(int32_t action) {
    switch (action) {
    case kHotSyncActionFast:
    case kHotSyncActionSlow:
        return "Synchronize the files";
    case kHotSyncActionHandheldToDesktop:
        return "Handheld overwrites Desktop";
    case kHotSyncActionDesktopToHandheld:
        return "Desktop overwrites handheld";
    default:
        return "Do nothing";
    }
}

} // namespace fitquill
