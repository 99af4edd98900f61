#include "maintenance/SafetyArchiveJob.h"

#include <QEventLoop>
#include <QThread>

namespace tav {

SafetyArchiveJob::SafetyArchiveJob(QObject* parent) : QObject(parent) {}

SafetyArchiveJob::~SafetyArchiveJob()
{
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

bool SafetyArchiveJob::start(const SetAsideBooklet& aside)
{
    if (m_thread)
        return false;
    m_aside = aside;
    m_result = {};
    // The worker touches only the set-aside files and the archive; what it
    // tells reaches this object through queued calls.
    m_thread = QThread::create([this, aside]() {
        int shown = -1;
        m_result = packSetAsideBooklet(aside, [this, &shown](const QString&, int done, int total) {
            const int percent = total > 0 ? int(qint64(done) * 100 / total) : 0;
            if (percent == shown)
                return;
            shown = percent;
            QMetaObject::invokeMethod(
                this, [this, percent]() { emit progressed(percent); }, Qt::QueuedConnection);
        });
    });
    connect(m_thread, &QThread::finished, this, &SafetyArchiveJob::end, Qt::QueuedConnection);
    m_thread->start(QThread::LowPriority);
    return true;
}

void SafetyArchiveJob::end()
{
    if (!m_thread)
        return;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    const MaintenanceResult r = m_result;
    emit finished(r.ok, r.error);
}

void SafetyArchiveJob::waitForEnd()
{
    if (!m_thread)
        return;
    QEventLoop loop;
    connect(this, &SafetyArchiveJob::finished, &loop, &QEventLoop::quit);
    // The end may already be queued but not delivered; the loop delivers it.
    loop.exec();
    // A loop of a quitting program returns at once: the worker is then
    // waited for without the events.
    if (m_thread)
        end();
}

} // namespace tav
