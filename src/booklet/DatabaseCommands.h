#pragma once

#include "maintenance/BackupArchive.h"

#include <QObject>

#include <functional>

class QLabel;
class TMainForm;
class TWait;

namespace tav {

class SafetyArchiveJob;

// The commands of "Outils › Base de données": backup, restore, history and
// compaction. Each runs on the user-interface thread behind the wait
// window with the main window disabled and the shared connection closed,
// and gives the window back as it was whatever happens.
class DatabaseCommands : public QObject
{
    Q_OBJECT
public:
    explicit DatabaseCommands(TMainForm& form);

    void backup();
    void restore();
    void history();
    void compact();
    // Replaces the booklets by a Jet booklet of the Windows versions (a
    // ".MDB" or a ".bkp" holding one), as a restore does. Without a source
    // the user picks one and confirms; with one, the caller has asked.
    void importJet(const QString& source = QString());

    // "TAVIRUNE_ACCESS_BACKUP_09_12_2026.bkp" in the data folder's Backup.
    QString proposedArchive() const;
    BookletFiles bookletFiles() const;
    // Behind the wait window, until the safety archive of the last restore
    // is written; at once when none is being written.
    void waitForSafetyArchive();

protected:
    // The program does not close under a safety archive being written.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs work with the connection closed, then opens it again and makes
    // the same animal current; a failure to reopen is added to the result.
    MaintenanceResult
    runClosed(const QString& task,
              const std::function<MaintenanceResult(const BackupProgress&)>& work);
    bool addHistory(const QString& description, const QString& path);
    bool recordPendingAnimal();
    // Runs this version's update script on a restored database of an older
    // version, then stamps it.
    void updateRestoredDatabase();
    void showSafetyProgress(int percent);
    void safetyArchiveEnded(bool ok, const QString& error);

    TMainForm& m_form;
    SafetyArchiveJob* m_safety;
    QLabel* m_safetyStatus = nullptr;
};

} // namespace tav
