#include "startup/Startup.h"

#include "booklet/TMainForm.h"
#include "core/AppInfo.h"
#include "db/BookletCheck.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataModule2.h"
#include "db/DbError.h"
#include "db/Schema.h"
#include "db/TextAffinityUpgrade.h"
#include "db/VersionRow.h"
#include "maintenance/BackupArchive.h"
#include "maintenance/Leftovers.h"
#include "maintenance/PendingBackup.h"
#include "maintenance/UpdateScript.h"
#include "startup/DataFolders.h"
#include "startup/FirstRunTransfer.h"
#include "ui/MessageBox.h"
#include "ui/QtTranslation.h"
#include "ui/TNewGauge.h"
#include "ui/TSplash.h"
#include "ui/TWait.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <cerrno>
#include <csignal>

namespace tav {

namespace {

QString componentsMissingMessage()
{
    return QStringLiteral(
        "EXECUTION IMPOSSIBLE !!\r\rCertains composants nécessaires au bon fonctionnement de "
        "cette application sont introuvables.\rEffectuez une nouvelle installation de "
        "l'application afin de résoudre ce problème.");
}

QString connectionFailureMessage()
{
    return QStringLiteral("EXECUTION IMPOSSIBLE !!\r\rCe logiciel a rencontré un problème lors "
                          "de la connexion à la base de données.\rContactez le support par "
                          "email pour tenter de trouver une solution : ") +
           appinfo::supportEmail();
}

// A lock file that names a running process. Anything else at the lock's
// path (a folder, a link, an empty or garbled file, a dead process) is
// stale.
bool heldByLiveProcess(const QString& path, const QLockFile& lock)
{
    const QFileInfo info(path);
    qint64 pid = 0;
    QString host;
    QString application;
    if (info.isSymLink() || !info.isFile() || !lock.getLockInfo(&pid, &host, &application) ||
        pid <= 0)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

// Frees the lock's path of what a lock file never is; a folder is removed
// only when empty, since it is not this program's own.
void removeNonLockFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || info.isFile())
        QFile::remove(path);
    else if (info.isDir())
        QDir().rmdir(path);
}

} // namespace

Startup::Startup(StartupEnvironment env) : m_env(std::move(env)) {}

Startup::~Startup()
{
    // The window goes before the data it shows.
    m_mainForm.reset();
    m_splash.reset();
    m_moduleReport.reset();
    m_module2.reset();
    m_module1.reset();
    m_connection.reset();
}

void Startup::setProgress(int position, const QString& text)
{
    if (!m_splash)
        return;
    if (!text.isEmpty())
        m_splash->setProgressText(text);
    m_splash->setBarPosition(position);
}

bool Startup::start()
{
    // 1. Folders of the program.
    AppContext& c = m_context;
    c.programFolder = withTrailingSlash(QDir(m_env.programFolder).absolutePath());
    c.reportFolder = c.programFolder + QStringLiteral("Reports/");
    c.helpFile = c.programFolder + QStringLiteral("doc/index.html");
    c.dataFolder = c.programFolder;
    c.newerSystem = true;

    // 2. Qt's own dialogs in French before the first window, the
    // "already running" message included.
    installQtFrenchTranslation();

    // 3. One instance at a time; the second touches no file.
    QDir().mkpath(m_env.lockFolder);
    const QString lockPath = withTrailingSlash(m_env.lockFolder) + QStringLiteral("TAVIRUNE.lock");
    m_lock = std::make_unique<QLockFile>(lockPath);
    m_lock->setStaleLockTime(0);
    bool locked = m_lock->tryLock(0);
    // A lock file without a process number (empty after a crash, or
    // garbage) belongs to no one, nor does a folder or a link. Removing a
    // file fails while a starting instance still holds it, before it has
    // written its number; and a file that vanished meanwhile is simply
    // taken.
    if (!locked && !heldByLiveProcess(lockPath, *m_lock)) {
        const QFileInfo info(lockPath);
        if (info.isFile() && !info.isSymLink())
            m_lock->removeStaleLockFile();
        else
            removeNonLockFile(lockPath);
        locked = m_lock->tryLock(0);
    }
    if (!locked) {
        const bool running = heldByLiveProcess(lockPath, *m_lock);
        m_lock.reset();
        if (running) {
            MessageBox::information(nullptr, appinfo::productName() +
                                                 QStringLiteral(" est déjà en exécution."));
        } else {
            MessageBox::error(
                nullptr, QStringLiteral("Le verrou « %1 », qui empêche de lancer %2 deux fois, est "
                                        "occupé par un fichier ou un dossier qui ne peut pas être "
                                        "supprimé. Supprimez-le, puis relancez %2.")
                             .arg(lockPath, appinfo::productName()));
        }
        return false;
    }

    // 4. Data folder and its sub-folders.
    c.dataFolder = resolveDataFolder(m_env);

    // 5. Connection settings; db.ini is written with its defaults when it
    // is found nowhere.
    // A copy that fails leaves the defaults, which the checks below judge.
    logFailure(copyIfMissing(QStringLiteral("db.ini"), c.dataFolder, c.programFolder));
    c.dbConfig = DbConfig::read(c.dataFolder, c.programFolder);
    const QString unusable = c.dbConfig.unusableReason();
    if (!unusable.isEmpty()) {
        showConnectionFailure(unusable);
        return false;
    }

    // A restore cut short by a power cut or a killed process is finished
    // or undone first: its database may be aside for a moment, and a
    // missing database must not be taken for a first run.
    {
        const QString db = c.databaseFolder();
        const MaintenanceResult recovered = recoverInterruptedRestore(
            {c.dbConfig.databaseFilePath(), db + QStringLiteral("Images"),
             db + QStringLiteral("Files"), c.dataFolder + QStringLiteral("Backup")});
        if (!recovered.ok)
            MessageBox::error(nullptr, recovered.error);
    }

    // Then what a backup, a compaction or an update cut short left behind:
    // a database left only under its temporary name would otherwise be
    // taken for missing and replaced by the template.
    {
        const QString db = c.databaseFolder();
        const QStringList notes =
            clearLeftovers({c.dbConfig.databaseFilePath(), db + QStringLiteral("Images"),
                            db + QStringLiteral("Files"), c.dataFolder + QStringLiteral("Backup")});
        if (!notes.isEmpty())
            MessageBox::information(nullptr, notes.join(QLatin1Char('\r')));
    }

    // 6. First-run transfer.
    FirstRunTransfer transfer(c.programFolder, c.dbConfig);
    if (transfer.needed()) {
        const bool visible = transfer.visible();
        TWait wait;
        wait.setTask(QStringLiteral("TRANSFERT DES DONNEES"));
        wait.setMessage(QStringLiteral("Quelques instants, SVP ..."));
        wait.setMaximum(3);
        wait.setCount(0);
        if (visible)
            wait.show();
        const auto result = transfer.run([&wait](const QString& message, int count, int) {
            wait.setMessage(message);
            wait.setCount(count);
        });
        wait.hide();
        if (result == FirstRunTransfer::Result::NoDatabase) {
            if (!transfer.databaseCopy()) {
                // A data folder that cannot be written is the likeliest
                // cause, and its own message says what to do.
                if (!dataFolderIsWritable(c.dataFolder)) {
                    showWriteTestFailure();
                    return false;
                }
                MessageBox::plain(nullptr, transfer.databaseCopy().error);
            }
            MessageBox::warning(nullptr, componentsMissingMessage());
            return false;
        }
        if (result == FirstRunTransfer::Result::Visible) {
            MessageBox::warning(
                nullptr, QStringLiteral("IMPORTANT !!\r\rLa base de données a été transférée "
                                        "dans le réperoire :\r") +
                             c.dbConfig.databaseFolder +
                             QStringLiteral("\r\rNE SUPPRIMEZ PAS CE REPERTOIRE"));
        }
    }
    const QString settingsName = m_env.programName.toLower() + QStringLiteral(".ini");
    logFailure(copyIfMissing(settingsName, c.dataFolder, c.programFolder));

    // 7. Write test.
    if (!dataFolderIsWritable(c.dataFolder)) {
        showWriteTestFailure();
        return false;
    }

    // 8. Settings.
    c.settingsPath = c.dataFolder + settingsName;
    c.settings.load(c.settingsPath);

    // 10. Splash, which also holds the progress texts when hidden.
    m_splash = std::make_unique<TSplash>();
    if (c.settings.splash) {
        m_splash->show();
        m_splash->repaint();
    }
    m_splash->setBarMaximum(8);
    setProgress(1, QStringLiteral("Chargement du logiciel ..."));
    setProgress(4);

    // 11-12. Database and data modules.
    const QString why = openDatabase();
    if (!why.isEmpty()) {
        m_splash.reset();
        showConnectionFailure(why);
        return false;
    }

    // A backup cut short leaves no history row for an archive that does
    // not exist.
    if (const MaintenanceResult settled =
            settlePendingBackup(*m_connection, c.dataFolder + QStringLiteral("Backup"));
        !settled.ok)
        MessageBox::error(nullptr, settled.error);

    // 13.
    if (QFileInfo(c.dbConfig.databaseFilePath()).isFile())
        applySchemaUpdates();

    // 14. Main window.
    setProgress(5, QStringLiteral("Chargement du logiciel ..."));
    setProgress(6);
    setProgress(7);
    m_mainForm = std::make_unique<TMainForm>(c);
    setProgress(8);
    m_splash.reset();
    m_mainForm->show();
    return true;
}

QString Startup::openDatabase()
{
    AppContext& c = m_context;
    m_connection = std::make_unique<Connection>();
    c.connection = m_connection.get();
    // Every way a file can fail to be a booklet that can be written is
    // found here, before a window lets the user type into it: nothing is
    // written to a file that is refused.
    QString why;
    const QString file = c.dbConfig.connectionFilePath(&why);
    if (file.isEmpty())
        return why;
    const QFileInfo info(file);
    if (info.isFile() && info.size() == 0) {
        return QStringLiteral("Le fichier « %1 » est vide : ce n'est pas une base de données.")
            .arg(file);
    }
    try {
        m_connection->open(file);
        why = bookletProblem(*m_connection);
    } catch (const DbError& e) {
        why = e.message();
    }
    if (!why.isEmpty()) {
        m_connection->close();
        return why;
    }
    // A database of an earlier build gets text columns that keep text.
    if (const auto upgrade = upgradeTextAffinity(*m_connection); !upgrade.ok) {
        m_connection->close();
        return upgrade.message;
    }
    try {
        createRowIndexes(*m_connection);
    } catch (const DbError& e) {
        m_connection->close();
        return e.message();
    }
    m_module1 = std::make_unique<DataModule1>(*m_connection, c.dbConfig.databaseFolder);
    m_module2 = std::make_unique<DataModule2>(*m_connection);
    m_moduleReport = std::make_unique<DataModuleReport>(*m_connection);
    c.module1 = m_module1.get();
    c.module2 = m_module2.get();
    c.moduleReport = m_moduleReport.get();
    return QString();
}

void Startup::showWriteTestFailure()
{
    MessageBox::error(
        nullptr,
        (appinfo::productName() + QLatin1Char(' ') + appinfo::programVersion()).toUpper() +
            QStringLiteral(" : EXECUTION IMPOSSIBLE\r\rPour utiliser ce logiciel vous devez "
                           ":\r\r  - Soit avoir un compte administrateur\r  - Soit avoir des "
                           "droits en écriture sur le répertoire : ") +
            m_context.dataFolder + QStringLiteral("\r\r"));
}

void Startup::showConnectionFailure(const QString& reason)
{
    MessageBox::plain(nullptr, reason);
    MessageBox::error(nullptr, connectionFailureMessage());
}

int Startup::run(const std::function<void()>& whenShown)
{
    if (!start())
        return kFailedStartStatus;
    if (whenShown)
        QTimer::singleShot(0, qApp, whenShown);
    return QApplication::exec();
}

void Startup::applySchemaUpdates()
{
    AppContext& c = m_context;
    const QString version = appinfo::programVersion();
    const QString scriptName = appinfo::updateScriptName();
    try {
        if (QFileInfo::exists(c.programFolder + QStringLiteral("tavirune.dpr")))
            writeDatabaseVersion(*m_connection, version);
        // An older database gets this version's script.
        const QString delivered = c.programFolder + QStringLiteral("Maj/") + scriptName;
        if (versionNumber(readDatabaseVersion(*m_connection)) < versionNumber(version) &&
            QFileInfo::exists(delivered) && !QFileInfo::exists(c.dataFolder + scriptName))
            QFile::copy(delivered, c.dataFolder + scriptName);
    } catch (const DbError& e) {
        MessageBox::error(nullptr, e.message());
    }

    const QStringList scripts =
        QDir(c.dataFolder).entryList({QStringLiteral("*.maj")}, QDir::Files, QDir::Name);
    if (!scripts.isEmpty()) {
        TNewGauge gauge;
        gauge.show();
        UpdateScriptContext run;
        run.connection = m_connection.get();
        run.dataFolder = c.dataFolder;
        run.programFolder = c.programFolder;
        run.databaseFolder = c.databaseFolder();
        run.databaseFileName = QFileInfo(c.dbConfig.databaseFilePath()).fileName();
        run.progressText = [this](const QString& text) {
            if (m_splash)
                m_splash->setProgressText(text);
        };
        run.progress = [&gauge](const QString& title, int position, int maximum) {
            gauge.setTitle(title);
            gauge.setMaximum(maximum);
            gauge.setPosition(position);
            QCoreApplication::processEvents();
        };
        run.askBackup = []() {
            return MessageBox::question(
                nullptr, QString::fromUtf8("Souhaitez-vous effectuer une sauvegarde de la "
                                           "base de données avant la mise à jour ?"));
        };
        for (const QString& script : scripts) {
            const MaintenanceResult r = runUpdateScript(run, c.dataFolder + script, true);
            if (!r.ok)
                MessageBox::error(nullptr, r.error);
        }
        try {
            writeDatabaseVersion(*m_connection, version);
        } catch (const DbError& e) {
            MessageBox::error(nullptr, e.message());
        }
    }
    updateTemplateDatabase();
}

void Startup::updateTemplateDatabase()
{
    const AppContext& c = m_context;
    const QString templateFile =
        c.programFolder + QStringLiteral("Ressources/DB/Data/Access/TAVIRUNE.MDB");
    const QString script = c.programFolder + QStringLiteral("Maj/") + appinfo::updateScriptName();
    if (!QFileInfo::exists(templateFile) || !QFileInfo::exists(script))
        return;
    // An installed program folder may be read-only: the template then stays
    // as delivered, which is the version of this program.
    try {
        Connection templateDb;
        templateDb.open(templateFile);
        QString column = QStringLiteral("VALUE");
        templateDb.forEachRow(
            QStringLiteral("PRAGMA table_info(OBJECT_VAL_STR)"),
            [&column](const QVariantList& row) {
                if (row.at(1).toString().compare(QStringLiteral("VAL"), Qt::CaseInsensitive) == 0)
                    column = QStringLiteral("VAL");
            });
        const QString version = appinfo::programVersion();
        if (versionNumber(readDatabaseVersion(templateDb, QStringLiteral("OBJECT_VAL_STR"),
                                              column)) >= versionNumber(version) ||
            !templateDb.readOnlyReason().isEmpty())
            return;
        UpdateScriptContext run;
        run.connection = &templateDb;
        run.dataFolder = c.dataFolder;
        run.programFolder = c.programFolder;
        run.databaseFolder = c.programFolder + QStringLiteral("Ressources/DB/Data/");
        if (runUpdateScript(run, script, false).ok)
            writeDatabaseVersion(templateDb, version, QStringLiteral("OBJECT_VAL_STR"), column);
    } catch (const DbError&) {
        // The user's own database is what matters here; the template is
        // brought up to date at the next start that can write it.
    }
}

} // namespace tav
