#include "mail/SendJob.h"

#include "mail/MessageSource.h"

namespace tav::mail {

SendJob::SendJob(SmtpServer server, QString from, QStringList recipients,
                 std::unique_ptr<MessageSource> source, QObject* parent)
    : QObject(parent), m_server(std::move(server)), m_from(std::move(from)),
      m_recipients(std::move(recipients)), m_source(std::move(source))
{}

SendJob::~SendJob()
{
    m_cancel = true;
    if (m_thread.joinable())
        m_thread.join();
}

qint64 SendJob::totalSize() const
{
    return m_source->totalSize();
}

void SendJob::start()
{
    if (m_running)
        return;
    m_running = true;
    m_cancel = false;
    m_thread = std::thread([this] {
        const SendOutcome outcome =
            sendMessage(m_server, m_from, m_recipients, *m_source, &m_cancel, [this](qint64 sent) {
                m_sent = sent;
                // One pending report at a time: the window reads the latest
                // count when it gets to it, however fast the bytes go.
                if (!m_progressPosted.exchange(true))
                    QMetaObject::invokeMethod(this, &SendJob::deliverProgress,
                                              Qt::QueuedConnection);
            });
        QMetaObject::invokeMethod(
            this,
            [this, outcome] {
                if (m_thread.joinable())
                    m_thread.join();
                m_running = false;
                emit finished(outcome);
            },
            Qt::QueuedConnection);
    });
}

void SendJob::cancel()
{
    m_cancel = true;
}

void SendJob::deliverProgress()
{
    m_progressPosted = false;
    emit progressed(m_sent.load());
}

} // namespace tav::mail
