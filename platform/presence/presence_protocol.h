// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace fitquill {

// The local socket on which a running Fitquill Desktop listens, named after its main window.
inline constexpr char kPresenceSocketName[] = "Fitquill Desktop";
// Names the folder of the socket instead of $XDG_RUNTIME_DIR (tests, side-by-side runs).
inline constexpr char kPresenceFolderVariable[] = "FITQUILL_RUNTIME_DIR";
// A message is one short line; anything longer is not one of ours.
inline constexpr size_t kPresenceMaxMessage = 64;
// What the desktop answers to every message it understood.
inline constexpr char kPresenceReply[] = "1\n";

enum class EPresenceRequest {
    Ping,          // "is the desktop running"
    BringToFront,  // a second start asks the first to come to the front
    HotSyncNotice, // a conduit refuses to run while the desktop is open
};

struct SPresenceMessage {
    EPresenceRequest request = EPresenceRequest::Ping;
    uint32_t palmUserId = 0; // HotSyncNotice only
    bool operator==(const SPresenceMessage&) const = default;
};

// The line that carries a message, '\n' included.
std::string EncodePresenceMessage(const SPresenceMessage& message);
// The message of one line (with or without its '\n'); nothing for anything else.
std::optional<SPresenceMessage> DecodePresenceMessage(std::string_view line);

// The folder of the socket: $FITQUILL_RUNTIME_DIR, else $XDG_RUNTIME_DIR, else a private
// folder of this user under the temporary folder. Empty values count as unset.
std::filesystem::path PresenceFolder();
// PresenceFolder() / kPresenceSocketName.
std::filesystem::path PresenceSocketPath();

} // namespace fitquill
