// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/document/presence_listener.h"

#include "platform/presence/presence_server.h"

#include <QSocketNotifier>

namespace fitquill {

CPresenceListener::CPresenceListener(CPresenceServer& server, QObject* parent)
    : QObject(parent), m_server(server) {
    if (!m_server.IsListening())
        return;
    m_notifier = new QSocketNotifier(m_server.Handle(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CPresenceListener::OnReadable);
}

void CPresenceListener::OnReadable() {
    for (const SPresenceMessage& message : m_server.TakeMessages()) {
        switch (message.request) {
        case EPresenceRequest::Ping:
            break;
        case EPresenceRequest::BringToFront:
            emit BringToFrontRequested();
            break;
        case EPresenceRequest::HotSyncNotice:
            emit HotSyncNoticeReceived(message.palmUserId);
            break;
        }
    }
}

} // namespace fitquill
