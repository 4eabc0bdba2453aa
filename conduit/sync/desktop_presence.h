// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/presence/presence_client.h"

#include <cstdint>
#include <optional>

namespace fitquill {

// Whether Fitquill Desktop runs, asked before a run touches any file. The desktop program
// must not hold a journal or food database in memory that it would later save over the
// result of a synchronisation.
class IDesktopPresence {
public:
    virtual ~IDesktopPresence() = default;
    // True when the desktop program runs. With a Palm user ID the desktop program also
    // receives the HotSync notice for that user.
    virtual bool CheckRunning(std::optional<uint32_t> palmUserId) = 0;
};

// Asks over the desktop program's presence channel.
class CDesktopPresence final : public IDesktopPresence {
public:
    CDesktopPresence() = default;
    explicit CDesktopPresence(CPresenceClient client) : m_client(std::move(client)) {}

    bool CheckRunning(std::optional<uint32_t> palmUserId) override {
        return palmUserId ? m_client.SendHotSyncNotice(*palmUserId) : m_client.IsDesktopRunning();
    }

private:
    CPresenceClient m_client;
};

} // namespace fitquill
