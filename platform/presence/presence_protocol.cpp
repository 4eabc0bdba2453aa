// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/presence/presence_protocol.h"

#include <charconv>
#include <cstdlib>

#include <unistd.h>

namespace fitquill {
namespace {

constexpr std::string_view kPing = "PING";
constexpr std::string_view kRaise = "RAISE";
constexpr std::string_view kHotSync = "HOTSYNC ";

std::optional<std::string> Variable(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

} // namespace

std::string EncodePresenceMessage(const SPresenceMessage& message) {
    switch (message.request) {
    case EPresenceRequest::Ping:
        return std::string(kPing) + "\n";
    case EPresenceRequest::BringToFront:
        return std::string(kRaise) + "\n";
    case EPresenceRequest::HotSyncNotice:
        return std::string(kHotSync) + std::to_string(message.palmUserId) + "\n";
    }
    return {};
}

std::optional<SPresenceMessage> DecodePresenceMessage(std::string_view line) {
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    if (line == kPing)
        return SPresenceMessage{EPresenceRequest::Ping, 0};
    if (line == kRaise)
        return SPresenceMessage{EPresenceRequest::BringToFront, 0};
    if (line.starts_with(kHotSync)) {
        std::string_view digits = line.substr(kHotSync.size());
        uint32_t id = 0;
        // Digits only: no sign, no blanks, nothing after the number, no overflow.
        if (digits.empty() || digits.front() < '0' || digits.front() > '9')
            return std::nullopt;
        auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
        if (error != std::errc() || end != digits.data() + digits.size())
            return std::nullopt;
        return SPresenceMessage{EPresenceRequest::HotSyncNotice, id};
    }
    return std::nullopt;
}

std::filesystem::path PresenceFolder() {
    if (auto folder = Variable(kPresenceFolderVariable))
        return *folder;
    if (auto folder = Variable("XDG_RUNTIME_DIR"))
        return *folder;
    std::filesystem::path temporary = Variable("TMPDIR").value_or("/tmp");
    return temporary / ("fitquill-" + std::to_string(::getuid()));
}

std::filesystem::path PresenceSocketPath() {
    return PresenceFolder() / kPresenceSocketName;
}

} // namespace fitquill
