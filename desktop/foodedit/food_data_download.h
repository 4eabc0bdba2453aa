// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/food/food_update.h"

#include <QObject>
#include <QString>
#include <QUrl>

class QThread;

namespace fitquill {

class CDownloadWorker;

// How a download ended.
struct SDownloadOutcome {
    bool ok = false;
    bool cancelled = false;
    QString error; // the reason, for the user, when neither ok nor cancelled
};

// One download of a food-data file into a local file, run on a worker thread of its own so
// that the window that started it stays responsive. The file is written whole or not at all:
// a transfer that fails, is cut short, grows past the size limit, stalls, or is redirected
// where it may not go leaves any earlier file at the path as it was.
//
// Finished is delivered on the thread that created the object, once. Destroying the object
// cancels a running transfer and waits for the worker thread, so nothing of it outlives the
// window that owns it.
class CFoodDataDownload : public QObject {
    Q_OBJECT

public:
    CFoodDataDownload(QUrl url, QString localFile, SFoodUpdate::SLimits limits = {},
                      QObject* parent = nullptr);
    ~CFoodDataDownload() override;
    CFoodDataDownload(const CFoodDataDownload&) = delete;
    CFoodDataDownload& operator=(const CFoodDataDownload&) = delete;

    void Start();
    // Stops the transfer; Finished follows with cancelled set (unless it had already ended).
    void Cancel();
    bool IsRunning() const { return m_running; }

signals:
    void Finished(const fitquill::SDownloadOutcome& outcome);

private:
    QUrl m_url;
    QString m_localFile;
    SFoodUpdate::SLimits m_limits;
    QThread* m_thread = nullptr;
    CDownloadWorker* m_worker = nullptr;
    bool m_running = false;
};

} // namespace fitquill

Q_DECLARE_METATYPE(fitquill::SDownloadOutcome)
