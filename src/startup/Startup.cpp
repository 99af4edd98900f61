#include "startup/Startup.h"

#include "booklet/TMainForm.h"
#include "core/AppInfo.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataModule2.h"
#include "db/DbError.h"
#include "db/TextAffinityUpgrade.h"
#include "startup/DataFolders.h"
#include "startup/FirstRunTransfer.h"
#include "ui/MessageBox.h"
#include "ui/TSplash.h"
#include "ui/TWait.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

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

// Tables without which a file is not a booklet, whatever its version.
const char* const kBookletTables[] = {"ANIMAL", "ANIMAL_SPECIES", "ANIMAL_BREED"};

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

    // 3. One instance at a time; the second touches no file.
    QDir().mkpath(m_env.lockFolder);
    m_lock = std::make_unique<QLockFile>(withTrailingSlash(m_env.lockFolder) +
                                         QStringLiteral("TAVIRUNE.lock"));
    m_lock->setStaleLockTime(0);
    bool locked = m_lock->tryLock(0);
    qint64 pid = 0;
    QString host;
    QString application;
    // A lock file without a process number (empty after a crash, or
    // garbage) belongs to no one. Removing it fails while a starting
    // instance still holds it, before it has written its number; and a
    // file that vanished meanwhile is simply taken.
    if (!locked && !m_lock->getLockInfo(&pid, &host, &application)) {
        m_lock->removeStaleLockFile();
        locked = m_lock->tryLock(0);
    }
    if (!locked) {
        m_lock.reset();
        MessageBox::information(nullptr,
                                appinfo::productName() + QStringLiteral(" est déjà en exécution."));
        return false;
    }

    // 4. Data folder and its sub-folders.
    c.dataFolder = resolveDataFolder(m_env);

    // 5. Connection settings; db.ini is written with its defaults when it
    // is found nowhere.
    (void)copyIfMissing(QStringLiteral("db.ini"), c.dataFolder, c.programFolder);
    c.dbConfig = DbConfig::read(c.dataFolder, c.programFolder);
    const QString unusable = c.dbConfig.unusableReason();
    if (!unusable.isEmpty()) {
        showConnectionFailure(unusable);
        return false;
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
    (void)copyIfMissing(settingsName, c.dataFolder, c.programFolder);

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
        why = m_connection->readOnlyReason();
        if (why.isEmpty()) {
            const QStringList tables = m_connection->tableNames();
            QStringList missing;
            for (const char* table : kBookletTables) {
                if (!tables.contains(QString::fromLatin1(table), Qt::CaseInsensitive))
                    missing << QString::fromLatin1(table);
            }
            if (!missing.isEmpty()) {
                why = QStringLiteral("Le fichier « %1 » n'est pas une base de données de "
                                     "carnets de santé : table(s) %2 absente(s).")
                          .arg(file, missing.join(QStringLiteral(", ")));
            }
        }
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
    // No update script exists for this version of the schema yet.
}

} // namespace tav
