#include "booklet/DatabaseCommands.h"

#include "booklet/AppContext.h"
#include "booklet/ReminderNotice.h"
#include "booklet/TMainForm.h"
#include "core/AppInfo.h"
#include "core/Clock.h"
#include "core/FrenchText.h"
#include "db/BackupHistory.h"
#include "db/BookletCheck.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/VersionRow.h"
#include "dialogs/TBackupList.h"
#include "maintenance/Compaction.h"
#include "maintenance/PendingBackup.h"
#include "maintenance/SafetyArchiveJob.h"
#include "maintenance/UpdateScript.h"
#include "media/Cabinet.h"
#include "migration/JetImportRun.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/TWait.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <QTabBar>

namespace tav {

namespace {

const QString kArchiveFilter = QString::fromUtf8("Sauvegarde base de donnée|*bkp");

} // namespace

DatabaseCommands::DatabaseCommands(TMainForm& form)
    : QObject(&form), m_form(form), m_safety(new SafetyArchiveJob(this))
{
    connect(m_safety, &SafetyArchiveJob::progressed, this, &DatabaseCommands::showSafetyProgress);
    connect(m_safety, &SafetyArchiveJob::finished, this, &DatabaseCommands::safetyArchiveEnded);
    m_form.installEventFilter(this);
    // A quit that does not go through the window's closing still waits.
    connect(qApp, &QCoreApplication::aboutToQuit, m_safety, &SafetyArchiveJob::waitForEnd);
}

bool DatabaseCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_form && event->type() == QEvent::Close && m_safety->isRunning())
        waitForSafetyArchive();
    return QObject::eventFilter(watched, event);
}

void DatabaseCommands::waitForSafetyArchive()
{
    if (!m_safety->isRunning())
        return;
    TWait wait(&m_form);
    wait.setObjectName(QStringLiteral("SafetyArchiveWait"));
    wait.setWindowFlag(Qt::Window);
    wait.setTask(fr("Archive de sécurité"));
    wait.setMessage(fr("Écriture de l'archive des données remplacées, quelques instants ..."));
    wait.setGaugeVisible(true);
    wait.setMaximum(100);
    wait.setCount(0);
    const QMetaObject::Connection gauge =
        connect(m_safety, &SafetyArchiveJob::progressed, &wait, &TWait::setCount);
    wait.show();
    const bool enabled = m_form.isEnabled();
    m_form.setEnabled(false);
    m_safety->waitForEnd();
    m_form.setEnabled(enabled);
    disconnect(gauge);
}

void DatabaseCommands::showSafetyProgress(int percent)
{
    if (!m_safetyStatus) {
        m_safetyStatus = new QLabel(&m_form);
        m_safetyStatus->setObjectName(QStringLiteral("SafetyArchiveStatus"));
        m_form.statusBar()->addWidget(m_safetyStatus);
    }
    m_safetyStatus->setText(fr("Archive de sécurité : %1 %").arg(percent));
    m_safetyStatus->show();
    m_form.statusBar()->show();
}

void DatabaseCommands::safetyArchiveEnded(bool ok, const QString& error)
{
    if (m_safetyStatus)
        m_form.statusBar()->hide();
    if (!ok)
        showError(&m_form, error);
}

BookletFiles DatabaseCommands::bookletFiles() const
{
    const AppContext& c = m_form.context();
    const QString db = c.databaseFolder();
    return {db + QStringLiteral("Access/TAVIRUNE.MDB"), db + QStringLiteral("Images"),
            db + QStringLiteral("Files"), c.dataFolder + QStringLiteral("Backup")};
}

QString DatabaseCommands::proposedArchive() const
{
    return m_form.context().dataFolder + QStringLiteral("Backup/TAVIRUNE_ACCESS_BACKUP_") +
           Clock::today().toString(QStringLiteral("dd_MM_yyyy")) + QStringLiteral(".bkp");
}

bool DatabaseCommands::addHistory(const QString& description, const QString& path)
{
    try {
        addBackupHistory(m_form.context().module1->dataSet(QStringLiteral("Backup")), description,
                         path);
    } catch (const DbError& e) {
        showError(&m_form, e.message());
        return false;
    }
    return true;
}

bool DatabaseCommands::recordPendingAnimal()
{
    // What the user typed on the card is written, not dropped, before the
    // connection closes.
    DataSet& animal = m_form.context().module1->animal();
    if (!animal.isEditing())
        return true;
    try {
        animal.post();
    } catch (const DbError& e) {
        showError(&m_form, e.message());
        return false;
    }
    return true;
}

MaintenanceResult
DatabaseCommands::runClosed(const QString& task,
                            const std::function<MaintenanceResult(const BackupProgress&)>& work)
{
    // Never two packers at once, nor a restore over files still aside.
    waitForSafetyArchive();
    AppContext& c = m_form.context();
    DataSet& animal = c.module1->animal();
    if (auto* tabs = m_form.findChild<QTabBar*>(QStringLiteral("TabNoteBook")))
        tabs->setCurrentIndex(0);
    QApplication::setOverrideCursor(Qt::WaitCursor);

    TWait wait(&m_form);
    wait.setWindowFlag(Qt::Window);
    wait.setTask(task);
    wait.setMessage(fr("Quelques instants, SVP ..."));
    wait.setGaugeVisible(true);
    wait.setMaximum(1);
    wait.setCount(0);
    wait.move(m_form.x() + (m_form.width() - wait.width()) / 2,
              m_form.y() + (m_form.height() - wait.height()) / 2);
    wait.show();
    QCoreApplication::processEvents();

    m_form.setEnabled(false);
    animal.disableControls();
    const qint64 current =
        animal.isOpen() && !animal.isEmpty() ? animal.value(QStringLiteral("Id")).toLongLong() : 0;
    if (animal.isEditing())
        animal.cancel();
    animal.close();
    ReminderNotice::cancelPendingRead(&m_form);
    c.connection->close();

    MaintenanceResult result = work([&wait](const QString& text, int done, int total) {
        if (!text.isEmpty())
            wait.setTask(text);
        wait.setMaximum(total);
        wait.setCount(done);
        QCoreApplication::processEvents();
    });

    try {
        c.connection->reopen();
        animal.open();
        animal.locateId(current);
    } catch (const DbError& e) {
        const QString reopen = e.message();
        result = MaintenanceResult::failure(
            result.ok ? reopen : result.error + QStringLiteral("\n") + reopen);
    }
    animal.enableControls();
    QApplication::restoreOverrideCursor();
    m_form.setEnabled(true);
    return result;
}

void DatabaseCommands::backup()
{
    QDir().mkpath(m_form.context().dataFolder + QStringLiteral("Backup"));
    QString path = FileDialog::getSaveFileName(&m_form, fr("Localisation de la sauvegarde"),
                                               proposedArchive(), kArchiveFilter);
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".bkp"), Qt::CaseInsensitive))
        path += QStringLiteral(".bkp");
    if (!recordPendingAnimal())
        return;
    const BookletFiles files = bookletFiles();
    const QString description = fr("Sauvagarde de la base de données");
    // The row is written first, so that the archive holds its own backup;
    // the note lets the next start take it back should the backup be cut
    // short before its archive is in place.
    if (!notePendingBackup(files.workFolder, description, path)) {
        showError(&m_form, fr("Impossible d'écrire dans le dossier « %1 ».").arg(files.workFolder));
        return;
    }
    if (!addHistory(description, path)) {
        forgetPendingBackup(files.workFolder);
        return;
    }
    const MaintenanceResult r =
        runClosed(fr("Sauvegarde de la base"), [&files, &path](const BackupProgress& progress) {
            return writeBackupArchive(files, path, progress);
        });
    if (!r.ok) {
        // The row announced a backup that does not exist.
        try {
            removeLastBackupHistory(*m_form.context().connection, description, path);
        } catch (const DbError&) {
            // The failure itself is what the user must read.
        }
    }
    forgetPendingBackup(files.workFolder);
    if (!r.ok) {
        showError(&m_form, r.error);
        return;
    }
    MessageBox::information(&m_form, fr("Sauvegarde effectuée."));
}

void DatabaseCommands::restore()
{
    const QString path = FileDialog::getOpenFileName(
        &m_form, fr("Sélectionnez la base de données à restaurer"),
        m_form.context().dataFolder + QStringLiteral("Backup/"), kArchiveFilter);
    if (path.isEmpty())
        return;
    // The user confirms knowing what the archive holds.
    QVector<CabinetEntryInfo> entries;
    if (listCabinetEntries(path, &entries).ok) {
        QDateTime made;
        for (const CabinetEntryInfo& e : std::as_const(entries))
            if (e.name.compare(QStringLiteral("TAVIRUNE.MDB"), Qt::CaseInsensitive) == 0)
                made = e.modified;
        const QString when = made.isValid() ? fr(" du %1 à %2")
                                                  .arg(made.toString(QStringLiteral("dd/MM/yyyy")),
                                                       made.toString(QStringLiteral("hh:mm")))
                                            : QString();
        if (!MessageBox::question(
                &m_form,
                fr("Restaurer la sauvegarde%1 ?\rLes données actuelles seront remplacées ; "
                   "elles seront d'abord gardées dans une sauvegarde de sécurité.")
                    .arg(when)))
            return;
    }
    // An archive of the Windows versions holds a Jet database: converted.
    if (holdsJetBooklet(path)) {
        importJet(path);
        return;
    }
    if (!recordPendingAnimal())
        return;
    const BookletFiles files = bookletFiles();
    QDir().mkpath(files.workFolder);
    // What is replaced goes into an archive of its own first.
    const QString safety = files.workFolder + QStringLiteral("/TAVIRUNE_AVANT_RESTAURATION_") +
                           Clock::now().toString(QStringLiteral("dd_MM_yyyy_hh_mm_ss")) +
                           QStringLiteral(".bkp");
    // The restored booklets must open as the window opens them, or the
    // restore is undone while what it replaced is still at hand.
    AppContext& c = m_form.context();
    const auto opens = [&c]() {
        DataSet& animal = c.module1->animal();
        QString why;
        try {
            c.connection->reopen();
            why = bookletProblem(*c.connection);
            if (why.isEmpty())
                animal.open();
        } catch (const DbError& e) {
            why = e.message();
        }
        animal.close();
        c.connection->close();
        return why;
    };
    SetAsideBooklet aside;
    const MaintenanceResult r =
        runClosed(fr("Préparation de la restauration"), [&](const BackupProgress& progress) {
            return restoreBackupArchive(files, path, safety, progress, opens, &aside);
        });
    // Today's booklet, now aside, is archived while the restored one is used.
    if (r.ok && !aside.folder.isEmpty()) {
        showSafetyProgress(0);
        m_safety->start(aside);
    }
    if (r.ok)
        updateRestoredDatabase();
    m_form.RefreshCurrentPage();
    m_form.buildAnimalList(-1);
    m_form.updateControls();
    if (!r.ok) {
        showError(&m_form, r.error);
        return;
    }
    if (!addHistory(fr("Restauration de la base de données"), path))
        return;
    MessageBox::information(
        &m_form,
        fr("Sauvegarde restaurée.\nLes données remplacées sont gardées dans « %1 ».").arg(safety));
}

void DatabaseCommands::updateRestoredDatabase()
{
    AppContext& c = m_form.context();
    const QString script = c.programFolder + QStringLiteral("Maj/") + appinfo::updateScriptName();
    const QString version = appinfo::programVersion();
    try {
        // An archive made by an older version holds an older schema.
        if (versionNumber(readDatabaseVersion(*c.connection)) >= versionNumber(version) ||
            !QFileInfo::exists(script))
            return;
        UpdateScriptContext run;
        run.connection = c.connection;
        run.dataFolder = c.dataFolder;
        run.programFolder = c.programFolder;
        run.databaseFolder = c.databaseFolder();
        run.databaseFileName = QFileInfo(c.dbConfig.databaseFilePath()).fileName();
        if (const MaintenanceResult r = runUpdateScript(run, script, false); !r.ok) {
            showError(&m_form, r.error);
            return;
        }
        writeDatabaseVersion(*c.connection, version);
        c.module1->animal().close();
        c.module1->animal().open();
    } catch (const DbError& e) {
        showError(&m_form, e.message());
    }
}

void DatabaseCommands::history()
{
    try {
        TBackupList window(*m_form.context().module1, &m_form);
        window.exec();
    } catch (const DbError& e) {
        showError(&m_form, e.message());
    }
}

void DatabaseCommands::compact()
{
    if (!MessageBox::question(&m_form, fr("Confirmez-vous le compactage de la base de données ?")))
        return;
    if (!recordPendingAnimal())
        return;
    const AppContext& c = m_form.context();
    const QString description = fr("Compactage de la base de données");
    // The row is written before, so that it is part of the compacted file.
    if (!addHistory(description, c.dbConfig.databaseFilePath()))
        return;
    const QString database = bookletFiles().databaseFile;
    const MaintenanceResult r =
        runClosed(fr("Compactage de la base"),
                  [&database](const BackupProgress&) { return compactDatabaseInPlace(database); });
    if (!r.ok) {
        // The row announced a compaction that did not happen.
        try {
            removeLastBackupHistory(*c.connection, description, c.dbConfig.databaseFilePath());
        } catch (const DbError&) {
            // The failure itself is what the user must read.
        }
        showError(&m_form, r.error);
        return;
    }
    MessageBox::information(&m_form, fr("Compactage effectué."));
}

} // namespace tav
