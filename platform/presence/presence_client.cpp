// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/presence/presence_client.h"

#include "platform/presence/presence_socket.h"

namespace fitquill {

CPresenceClient::CPresenceClient(std::filesystem::path socketPath)
    : m_socketPath(std::move(socketPath)) {}

bool CPresenceClient::IsDesktopRunning() const {
    return Send({EPresenceRequest::Ping, 0});
}

bool CPresenceClient::BringToFront() const {
    return Send({EPresenceRequest::BringToFront, 0});
}

bool CPresenceClient::SendHotSyncNotice(uint32_t palmUserId) const {
    return Send({EPresenceRequest::HotSyncNotice, palmUserId});
}

bool CPresenceClient::Send(const SPresenceMessage& message) const {
    m_lastError.clear();
    presence::EConnect result;
    int fd = presence::Connect(m_socketPath, result, &m_lastError);
    if (fd < 0) {
        if (result == presence::EConnect::NoListener)
            m_lastError = "Fitquill Desktop is not running.";
        return false;
    }
    bool answered = false;
    std::string reply;
    if (!presence::WriteAll(fd, EncodePresenceMessage(message)))
        m_lastError = "The message could not be sent.";
    else if (!presence::ReadLine(fd, kPresenceMaxMessage, presence::kLineTimeoutMs, reply) ||
             reply != kPresenceReply)
        m_lastError = "Fitquill Desktop did not answer.";
    else
        answered = true;
    presence::CloseHandle(fd);
    return answered;
}

} // namespace fitquill
