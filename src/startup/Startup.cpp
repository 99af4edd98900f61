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

namespace tav {

namespace {

QString componentsMissingMessage()
{
    return QStringLiteral(
        "EXECUTION IMPOSSIBLE !!\r\rCertains composants nécessaires au bon fonctionnement de "
        "cette application sont introuvables.\rEffectuez une nouvelle installation de "
        "l'application afin de résoudre ce problème.");
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

    // 3. One instance at a time; the second touches no file.
    QDir().mkpath(m_env.lockFolder);
    m_lock = std::make_unique<QLockFile>(withTrailingSlash(m_env.lockFolder) +
                                         QStringLiteral("TAVIRUNE.lock"));
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        m_lock.reset();
        MessageBox::information(nullptr,
                                appinfo::productName() + QStringLiteral(" est déjà en exécution."));
        return false;
    }

    // 4. Data folder and its sub-folders.
    c.dataFolder = resolveDataFolder(m_env);

    // 5. Connection settings.
    copyIfMissing(QStringLiteral("db.ini"), c.dataFolder, c.programFolder);
    c.dbConfig = DbConfig::read(c.dataFolder, c.programFolder);

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
    copyIfMissing(settingsName, c.dataFolder, c.programFolder);

    // 7. Write test.
    if (!dataFolderIsWritable(c.dataFolder)) {
        MessageBox::error(
            nullptr,
            (appinfo::productName() + QLatin1Char(' ') + appinfo::programVersion()).toUpper() +
                QStringLiteral(" : EXECUTION IMPOSSIBLE\r\rPour utiliser ce logiciel vous devez "
                               ":\r\r  - Soit avoir un compte administrateur\r  - Soit avoir des "
                               "droits en écriture sur le répertoire : ") +
                c.dataFolder + QStringLiteral("\r\r"));
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
    if (!openDatabase()) {
        m_splash.reset();
        MessageBox::error(
            nullptr,
            QStringLiteral("EXECUTION IMPOSSIBLE !!\r\rCe logiciel a rencontré un problème lors "
                           "de la connexion à la base de données.\rContactez le support par "
                           "email pour tenter de trouver une solution : ") +
                appinfo::supportEmail());
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

bool Startup::openDatabase()
{
    AppContext& c = m_context;
    m_connection = std::make_unique<Connection>();
    c.connection = m_connection.get();
    // The connection stays closed when there is no database file.
    if (QFileInfo(c.dbConfig.databaseFilePath()).isFile()) {
        QString why;
        const QString file = c.dbConfig.connectionFilePath(&why);
        if (file.isEmpty()) {
            MessageBox::plain(nullptr, why);
            return false;
        }
        try {
            m_connection->open(file);
        } catch (const DbError& e) {
            MessageBox::plain(nullptr, e.message());
            return false;
        }
        if (const auto upgrade = upgradeTextAffinity(*m_connection); !upgrade.ok) {
            MessageBox::plain(nullptr, upgrade.message);
            return false;
        }
    }
    m_module1 = std::make_unique<DataModule1>(*m_connection, c.dbConfig.databaseFolder);
    m_module2 = std::make_unique<DataModule2>(*m_connection);
    m_moduleReport = std::make_unique<DataModuleReport>(*m_connection);
    c.module1 = m_module1.get();
    c.module2 = m_module2.get();
    c.moduleReport = m_moduleReport.get();
    return true;
}

void Startup::applySchemaUpdates()
{
    // No update script exists for this version of the schema yet.
}

} // namespace tav
