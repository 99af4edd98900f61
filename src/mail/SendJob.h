#pragma once

#include "mail/SmtpClient.h"

#include <QObject>

#include <atomic>
#include <memory>
#include <thread>

namespace tav::mail {

class MessageSource;

// One sending run on a thread of its own, so that the windows stay
// responsive. Signals arrive on the thread that owns the job.
class SendJob : public QObject
{
    Q_OBJECT

public:
    SendJob(SmtpServer server, QString from, QStringList recipients,
            std::unique_ptr<MessageSource> source, QObject* parent = nullptr);
    // Cancels a sending still running and waits for its thread.
    ~SendJob() override;

    qint64 totalSize() const;
    void start();
    void cancel();
    bool isRunning() const { return m_running; }

signals:
    void progressed(qint64 sent);
    void finished(const tav::mail::SendOutcome& outcome);

private:
    void deliverProgress();

    SmtpServer m_server;
    QString m_from;
    QStringList m_recipients;
    std::unique_ptr<MessageSource> m_source;
    std::thread m_thread;
    std::atomic_bool m_cancel{false};
    std::atomic<qint64> m_sent{0};
    std::atomic_bool m_progressPosted{false};
    bool m_running = false;
};

} // namespace tav::mail
