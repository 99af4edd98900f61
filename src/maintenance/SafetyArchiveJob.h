#pragma once

#include "maintenance/BackupArchive.h"

#include <QObject>

class QThread;

namespace tav {

// Packs the booklet a restore set aside into its safety archive on a
// worker thread, so that the restored booklet is usable at once. One
// packing at a time: a backup or another restore waits for it
// (waitForEnd), as does the end of the program, since the set-aside files
// are deleted only once their archive is whole. Lives on the thread that
// creates it; its signals arrive there.
class SafetyArchiveJob : public QObject
{
    Q_OBJECT
public:
    explicit SafetyArchiveJob(QObject* parent = nullptr);
    // Waits for a packing under way: the thread is never cut short.
    ~SafetyArchiveJob() override;

    // False, doing nothing, while a packing is under way.
    bool start(const SetAsideBooklet& aside);
    bool isRunning() const { return m_thread != nullptr; }
    SetAsideBooklet current() const { return m_aside; }
    // Runs the events of this thread until the packing under way has
    // ended and finished() been emitted; returns at once when none is.
    void waitForEnd();

signals:
    // Whole percents, each once.
    void progressed(int percent);
    // ok false: error says why and where the set-aside files are kept.
    void finished(bool ok, const QString& error);

private:
    void end();

    QThread* m_thread = nullptr;
    SetAsideBooklet m_aside;
    MaintenanceResult m_result; // written by the worker, read after it ends
};

} // namespace tav
