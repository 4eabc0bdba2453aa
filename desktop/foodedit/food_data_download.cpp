// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/foodedit/food_data_download.h"

#include "desktop/document/stored_text.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QThread>
#include <QTimer>

#include <memory>

namespace fitquill {

namespace {

QString FromStd(const std::string& text) {
    return FromStored(text);
}

} // namespace

// Lives on the worker thread: owns the network access, the reply and the file being written.
class CDownloadWorker : public QObject {
    Q_OBJECT

public:
    CDownloadWorker(QUrl url, QString localFile, SFoodUpdate::SLimits limits)
        : m_url(std::move(url)), m_localFile(std::move(localFile)), m_limits(limits) {}

    void Run() {
        m_network = new QNetworkAccessManager(this);
        m_file = std::make_unique<QSaveFile>(m_localFile);
        if (!m_file->open(QIODevice::WriteOnly)) {
            Finish({false, false,
                    QStringLiteral("The downloaded file could not be written to %1: %2")
                        .arg(m_localFile, m_file->errorString())});
            return;
        }
        Request(m_url);
    }

    void Cancel() {
        m_cancelled = true;
        if (m_reply)
            m_reply->abort();
        else
            Finish({false, true, {}});
    }

signals:
    void Done(const fitquill::SDownloadOutcome& outcome);

private:
    void Request(const QUrl& url) {
        m_current = url;
        m_received = 0;
        m_tail.clear();
        if (!m_file->reset() || !m_file->resize(0)) {
            Finish({false, false, QStringLiteral("The downloaded file could not be written.")});
            return;
        }
        QNetworkRequest request(url);
        // Redirects are followed here, by our own rules, so that none leads somewhere unsafe.
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::ManualRedirectPolicy);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::AlwaysNetwork);
        request.setTransferTimeout(m_limits.stallMilliseconds);
        // A compressed body would lose its Content-Length on the way, and with it the proof
        // that it arrived whole.
        request.setRawHeader("Accept-Encoding", "identity");
        m_reply = m_network->get(request);
        connect(m_reply, &QNetworkReply::metaDataChanged, this, &CDownloadWorker::OnMetaData);
        connect(m_reply, &QNetworkReply::readyRead, this, &CDownloadWorker::OnReadyRead);
        connect(m_reply, &QNetworkReply::finished, this, &CDownloadWorker::OnFinished);
    }

    bool IsRedirect() const {
        const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        return status >= 300 && status < 400 &&
               m_reply->attribute(QNetworkRequest::RedirectionTargetAttribute).isValid();
    }

    void OnMetaData() {
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        if (!IsRedirect() && length.isValid() && length.toULongLong() > m_limits.maxBytes)
            Fail(TooLargeText());
    }

    void OnReadyRead() {
        if (!m_reply || IsRedirect()) {
            if (m_reply)
                m_reply->readAll();
            return;
        }
        const QByteArray data = m_reply->readAll();
        m_received += quint64(data.size());
        if (m_received > m_limits.maxBytes) {
            Fail(TooLargeText());
            return;
        }
        m_tail = (m_tail + data).right(2);
        if (m_file->write(data) != data.size())
            Fail(QStringLiteral("The downloaded file could not be written: %1")
                     .arg(m_file->errorString()));
    }

    void OnFinished() {
        QNetworkReply* reply = m_reply;
        if (!reply)
            return;
        m_reply = nullptr;
        reply->deleteLater();
        if (m_cancelled) {
            Finish({false, true, {}});
            return;
        }
        if (!m_failure.isEmpty()) {
            Finish({false, false, m_failure});
            return;
        }
        if (reply->error() == QNetworkReply::OperationCanceledError) {
            // The transfer timeout aborts the reply as if it had been cancelled.
            Finish({false, false,
                    QStringLiteral("The download stopped: the server sent nothing for %1 seconds.")
                        .arg(m_limits.stallMilliseconds / 1000.0)});
            return;
        }
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status >= 400) {
            Finish(
                {false, false,
                 QStringLiteral("The server answered %1 %2 for %3.")
                     .arg(status)
                     .arg(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString(),
                          m_current.toString())});
            return;
        }
        // Only a body known to be whole may replace food data: one shorter than announced, or
        // one whose end nothing vouches for, may be cut off at a line boundary.
        if (!IsRedirectStatus(status)) {
            const std::string incomplete = SFoodUpdate::IncompleteBodyText(BodyEnd(*reply));
            if (!incomplete.empty()) {
                Finish({false, false, FromStd(incomplete)});
                return;
            }
        }
        if (reply->error() != QNetworkReply::NoError) {
            Finish({false, false, reply->errorString()});
            return;
        }
        if (IsRedirectStatus(status)) {
            const QUrl target = m_current.resolved(
                reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl());
            const std::string refusal = SFoodUpdate::RedirectRefusal(
                ToUtf8(m_current.toString()), ToUtf8(target.toString()), m_redirects, m_limits);
            if (!refusal.empty()) {
                Finish({false, false, FromStd(refusal)});
                return;
            }
            ++m_redirects;
            Request(target);
            return;
        }
        if (!m_file->commit()) {
            Finish({false, false,
                    QStringLiteral("The downloaded file could not be written to %1: %2")
                        .arg(m_localFile, m_file->errorString())});
            return;
        }
        Finish({true, false, {}});
    }

    SFoodUpdate::SBodyEnd BodyEnd(const QNetworkReply& reply) const {
        SFoodUpdate::SBodyEnd end;
        const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid())
            end.announcedLength = length.toULongLong();
        // Qt decodes the chunks and reports a chunked body that breaks off as an error.
        end.chunked = reply.rawHeader("Transfer-Encoding").toLower().contains("chunked");
        end.localFile = m_current.isLocalFile();
        end.received = m_received;
        end.endsWithLineEnd = m_tail == "\r\n";
        return end;
    }

    static bool IsRedirectStatus(int status) {
        return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
    }

    QString TooLargeText() const {
        return QStringLiteral("The download is larger than %1 MB and cannot be food data.")
            .arg(m_limits.maxBytes / (1024 * 1024));
    }

    // Ends the transfer with an error; the reply's finished signal reports it.
    void Fail(const QString& error) {
        if (m_failure.isEmpty())
            m_failure = error;
        if (m_reply)
            m_reply->abort();
    }

    void Finish(const SDownloadOutcome& outcome) {
        if (m_done)
            return;
        m_done = true;
        if (m_file && !outcome.ok)
            m_file->cancelWriting();
        m_file.reset();
        emit Done(outcome);
    }

    QUrl m_url;
    QUrl m_current;
    QString m_localFile;
    SFoodUpdate::SLimits m_limits;
    QNetworkAccessManager* m_network = nullptr;
    QNetworkReply* m_reply = nullptr;
    std::unique_ptr<QSaveFile> m_file;
    quint64 m_received = 0;
    QByteArray m_tail; // the last two bytes received
    int m_redirects = 0;
    bool m_cancelled = false;
    bool m_done = false;
    QString m_failure;
};

CFoodDataDownload::CFoodDataDownload(QUrl url, QString localFile, SFoodUpdate::SLimits limits,
                                     QObject* parent)
    : QObject(parent), m_url(std::move(url)), m_localFile(std::move(localFile)), m_limits(limits) {
    qRegisterMetaType<SDownloadOutcome>();
}

CFoodDataDownload::~CFoodDataDownload() {
    if (!m_thread)
        return;
    Cancel();
    m_thread->quit();
    m_thread->wait();
}

void CFoodDataDownload::Start() {
    if (m_thread)
        return;
    m_running = true;
    if (!SFoodUpdate::IsAllowedUrl(ToUtf8(m_url.toString())) || !m_url.isValid()) {
        // Reported like every other outcome: after Start returns.
        const SDownloadOutcome outcome{
            false, false,
            QStringLiteral("The address \"%1\" cannot be used: only http, https and file "
                           "addresses are.")
                .arg(m_url.toString())};
        QTimer::singleShot(0, this, [this, outcome] {
            m_running = false;
            emit Finished(outcome);
        });
        return;
    }
    m_thread = new QThread(this);
    m_worker = new CDownloadWorker(m_url, m_localFile, m_limits);
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_thread, &QThread::started, m_worker, &CDownloadWorker::Run);
    connect(m_worker, &CDownloadWorker::Done, this, [this](const SDownloadOutcome& outcome) {
        m_running = false;
        emit Finished(outcome);
    });
    m_thread->start(QThread::HighPriority);
}

void CFoodDataDownload::Cancel() {
    if (m_worker && m_running)
        QMetaObject::invokeMethod(m_worker, &CDownloadWorker::Cancel, Qt::QueuedConnection);
}

} // namespace fitquill

#include "food_data_download.moc"
