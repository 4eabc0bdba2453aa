// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <cstdint>

class QSocketNotifier;

namespace fitquill {

class CPresenceServer;

// Watches a listening presence server from the event loop and turns its messages into signals.
class CPresenceListener : public QObject {
    Q_OBJECT

public:
    // The server must be listening and outlive the listener.
    explicit CPresenceListener(CPresenceServer& server, QObject* parent = nullptr);

signals:
    void BringToFrontRequested();
    void HotSyncNoticeReceived(quint32 palmUserId);

private:
    void OnReadable();

    CPresenceServer& m_server;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace fitquill
