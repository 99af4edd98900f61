#include "AppFixture.h"
#include "TestText.h"

#include "booklet/TMainForm.h"
#include "core/IniFile.h"
#include "core/TextFile.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbConfig.h"
#include "ui/MessageBox.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

using namespace tav;

namespace {

QStringList messages()
{
    QStringList out;
    for (const MessageBox::Shown& s : MessageBox::shownMessages())
        out << s.text;
    return out;
}

QStringList filesUnder(const QString& folder)
{
    QStringList out;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        out << it.next().mid(folder.size());
    out.sort();
    return out;
}

QString connectionFailure()
{
    return QStringLiteral(
        "EXECUTION IMPOSSIBLE !!\r\rCe logiciel a rencontré un problème lors de la connexion à la "
        "base de données.\rContactez le support par email pour tenter de trouver une solution : "
        "support@tavirune.org");
}

// Puts permissions back so that the temporary folders can be removed.
class PermissionsGuard
{
public:
    explicit PermissionsGuard(const QString& path)
        : m_path(path), m_permissions(QFile::permissions(path))
    {}
    ~PermissionsGuard() { QFile::setPermissions(m_path, m_permissions); }
    PermissionsGuard(const PermissionsGuard&) = delete;
    PermissionsGuard& operator=(const PermissionsGuard&) = delete;

private:
    QString m_path;
    QFile::Permissions m_permissions;
};

// Bytes and modification time: what "nothing written" means for a file.
struct FileState
{
    explicit FileState(const QString& path)
        : bytes(readBytes(path)), modified(QFileInfo(path).lastModified())
    {}
    bool operator==(const FileState& other) const
    {
        return bytes == other.bytes && modified == other.modified;
    }
    QByteArray bytes;
    QDateTime modified;
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void firstLaunchIsSilentAndLaysOutTheDataFolder();
    void closingWritesEverySetting();
    void secondInstanceTouchesNothing();
    void secondLaunchCopiesNothing();
    void appexeKeepsDataBesideTheProgram();
    void olderInstallationIsTransferredVisibly();
    void missingTemplateStopsCleanly();
    void unwritableDataFolderStops();
    void unusableDatabaseStops();
    void garbageSettingFilesGiveDefaults();
    void windowPositionComesBack();
    void splashFollowsItsSetting();
    void readOnlyDatabaseStopsBeforeAnythingIsWritten_data();
    void readOnlyDatabaseStopsBeforeAnythingIsWritten();
    void rowThatCannotBeWrittenCanBeAbandonedAtClosing();
    void dbIniProblemsHaveTheirOwnMessages_data();
    void dbIniProblemsHaveTheirOwnMessages();
    void lockFileWithoutProcessIsStale_data();
    void lockFileWithoutProcessIsStale();
    void filesThatAreNoBookletStopUnwritten_data();
    void filesThatAreNoBookletStopUnwritten();
    void relativeDataFolderIsTakenFromTheProgramFolder();
    void failedStartEndsWithNonZeroStatus();
    void failedDatabaseCopyStops();
    void damagedBookletIsToldInFrench();
    void qtDialogsSpeakFrench();
};

void TestStartup::firstLaunchIsSilentAndLaysOutTheDataFolder()
{
    AppFixture app;
    app.installTemplate();
    QVERIFY(app.start());
    QVERIFY(messages().isEmpty());
    const QString data = app.dataFolder();
    QCOMPARE(filesUnder(data),
             QStringList({QStringLiteral("Avertissement.txt"), QStringLiteral("Backup"),
                          QStringLiteral("Data"), QStringLiteral("Data/Access"),
                          QStringLiteral("Data/Access/TAVIRUNE.MDB"), QStringLiteral("Data/Files"),
                          QStringLiteral("Data/Images"), QStringLiteral("Export"),
                          QStringLiteral("Html"), QStringLiteral("db.ini")}));
    QVERIFY(QFile::exists(app.documentsFolder() + QStringLiteral("/Orvandel/Avertissement.txt")));
    QVERIFY(readTextFile(data + QStringLiteral("Avertissement.txt"))
                .startsWith(QStringLiteral("ATTENTION : NE SUPPRIMEZ PAS CE REPERTOIRE")));
    QVERIFY(!QFile::exists(data + QStringLiteral("write.tmp")));
    QWidget* form = AppFixture::findWindow("TMainForm");
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QStringLiteral("Tavirune 1.14"));
    QVERIFY(!AppFixture::findWindow("TWait") || !AppFixture::findWindow("TWait")->isVisible());
    QVERIFY(!AppFixture::findWindow("TSplash"));
}

void TestStartup::closingWritesEverySetting()
{
    AppFixture app;
    app.installTemplate();
    QVERIFY(app.start());
    app.stop();
    const QString ini = app.dataFolder() + QStringLiteral("tavirune.ini");
    IniFile settings(ini);
    QVERIFY(settings.exists());
    int keys = 0;
    for (const QString& section : settings.sectionNames())
        keys += int(settings.keyNames(section).size());
    QCOMPARE(keys, 22);
    QCOMPARE(
        settings.readString(QStringLiteral("Properties"), QStringLiteral("FirstLaunch"), QString()),
        QStringLiteral("0"));
    QCOMPARE(settings.readString(QStringLiteral("Windows"), QStringLiteral("State"), QString()),
             QStringLiteral("wsNormal"));
    // Every line ends in CR LF, the last one included.
    const QByteArray bytes = readBytes(ini);
    QVERIFY(bytes.endsWith("\r\n"));
    QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
}

void TestStartup::secondInstanceTouchesNothing()
{
    AppFixture first;
    first.installTemplate();
    QVERIFY(first.start());
    MessageBox::clearShownMessages();
    // A second launch shares the lock but would use another documents folder.
    StartupEnvironment env = first.environment();
    QTemporaryDir otherHome;
    env.documentsFolder = otherHome.path() + QStringLiteral("/Documents");
    Startup second(env);
    QVERIFY(!second.start());
    QCOMPARE(messages(), QStringList{QStringLiteral("Tavirune est déjà en exécution.")});
    QCOMPARE(MessageBox::shownMessages().first().kind, MessageBox::Kind::Information);
    QVERIFY(!QFile::exists(env.documentsFolder));
}

void TestStartup::secondLaunchCopiesNothing()
{
    AppFixture app;
    app.installTemplate();
    app.writeProgramFile(QStringLiteral("Ressources/DB/Data/Images/Animal1.jpg"), "template");
    QVERIFY(app.start());
    app.stop();
    const QString picture = app.dataFolder() + QStringLiteral("Data/Images/Animal1.jpg");
    QCOMPARE(readTextFile(picture), QStringLiteral("template"));
    QVERIFY(writeTextFile(picture, QStringLiteral("mine")).ok);
    // The user's database is not replaced either.
    {
        Connection c;
        c.open(app.dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Médor')"));
    }
    QVERIFY(app.start());
    QCOMPARE(readTextFile(picture), QStringLiteral("mine\r\n"));
    TMainForm* form = app.startup()->mainForm();
    QCOMPARE(form->animalRows().size(), 2);
    QVERIFY(messages().isEmpty());
}

void TestStartup::appexeKeepsDataBesideTheProgram()
{
    AppFixture app;
    app.installTemplate();
    app.writeProgramFile(QStringLiteral("directories.ini"), "[Path]\r\nAppDataDir=appexe\r\n");
    QVERIFY(app.start());
    QVERIFY(QFile::exists(app.programFolder() + QStringLiteral("/Data/Access/TAVIRUNE.MDB")));
    QVERIFY(QFile::exists(app.programFolder() + QStringLiteral("/db.ini")));
    QVERIFY(!QFile::exists(app.programFolder() + QStringLiteral("/Avertissement.txt")));
    QVERIFY(!QFile::exists(app.documentsFolder() + QStringLiteral("/Orvandel")));
    // "APPEXE" is not the special value.
    app.stop();
}

void TestStartup::olderInstallationIsTransferredVisibly()
{
    AppFixture app;
    app.installTemplate();
    QVERIFY(
        QFile::copy(app.programFolder() + QStringLiteral("/Ressources/DB/Data/Access/TAVIRUNE.MDB"),
                    app.programFolder() + QStringLiteral("/Data/Access/TAVIRUNE.MDB")) ||
        (QDir().mkpath(app.programFolder() + QStringLiteral("/Data/Access")) &&
         QFile::copy(app.programFolder() +
                         QStringLiteral("/Ressources/DB/Data/Access/TAVIRUNE.MDB"),
                     app.programFolder() + QStringLiteral("/Data/Access/TAVIRUNE.MDB"))));
    app.writeProgramFile(QStringLiteral("Data/Images/Doc3.jpg"), "old picture");
    app.writeProgramFile(QStringLiteral("Data/Files/File4.f"), "old file");
    app.writeProgramFile(QStringLiteral("db.ini"), "[DataBase]\r\nProvider=OLEDB\r\n");
    QVERIFY(app.start());
    const QStringList shown = messages();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first(),
             QStringLiteral(
                 "IMPORTANT !!\r\rLa base de données a été transférée dans le réperoire :\r") +
                 app.dataFolder() + QStringLiteral("Data/\r\rNE SUPPRIMEZ PAS CE REPERTOIRE"));
    QCOMPARE(readTextFile(app.dataFolder() + QStringLiteral("Data/Images/Doc3.jpg")),
             QStringLiteral("old picture"));
    QCOMPARE(readTextFile(app.dataFolder() + QStringLiteral("Data/Files/File4.f")),
             QStringLiteral("old file"));
}

void TestStartup::missingTemplateStopsCleanly()
{
    AppFixture app;
    QVERIFY(!app.start());
    QCOMPARE(messages(),
             QStringList{QStringLiteral(
                 "EXECUTION IMPOSSIBLE !!\r\rCertains composants nécessaires au bon "
                 "fonctionnement de cette application sont introuvables.\rEffectuez une "
                 "nouvelle installation de l'application afin de résoudre ce problème.")});
    QVERIFY(!AppFixture::findWindow("TMainForm"));
}

void TestStartup::unwritableDataFolderStops()
{
    // Even root cannot create files under /proc.
    AppFixture app;
    app.installTemplate();
    app.writeProgramFile(QStringLiteral("directories.ini"),
                         "[Path]\r\nAppDataDir=/proc/tavirune-test/\r\n");
    StartupEnvironment env = app.environment();
    Startup startup(env);
    QVERIFY(!startup.start());
    QCOMPARE(messages(),
             QStringList{QStringLiteral("TAVIRUNE 1.14 : EXECUTION IMPOSSIBLE\r\rPour utiliser ce "
                                        "logiciel vous devez :\r\r  - Soit avoir un compte "
                                        "administrateur\r  - Soit avoir des droits en écriture sur "
                                        "le répertoire : /proc/tavirune-test/Tavirune/\r\r")});
    QCOMPARE(MessageBox::shownMessages().first().kind, MessageBox::Kind::Error);
    QVERIFY(!AppFixture::findWindow("TMainForm"));
}

void TestStartup::unusableDatabaseStops()
{
    AppFixture app;
    app.installTemplate();
    QDir().mkpath(app.dataFolder() + QStringLiteral("Data/Access"));
    QFile bad(app.dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(4096, 'x'));
    bad.close();
    QVERIFY(!app.start());
    const QList<MessageBox::Shown> shown = MessageBox::shownMessages();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.at(0).kind, MessageBox::Kind::Plain);
    QCOMPARE(shown.at(0).text,
             QStringLiteral("Le fichier « %1 » n'est pas une base de données.\rDétail : file is "
                            "not a database")
                 .arg(bad.fileName()));
    QVERIFY(shown.at(1).text.startsWith(
        QStringLiteral("EXECUTION IMPOSSIBLE !!\r\rCe logiciel a rencontré un problème lors de la "
                       "connexion à la base de données.")));
    QVERIFY(shown.at(1).text.endsWith(QStringLiteral("support@tavirune.org")));
    // The file is left as it was.
    QCOMPARE(QFileInfo(bad.fileName()).size(), 4096);
}

void TestStartup::garbageSettingFilesGiveDefaults()
{
    AppFixture app;
    app.installTemplate();
    QByteArray junk(70000, 'x');
    junk += "\r\n[Properties\r\nAnimalSort=deux\r\n\x00\xff\xfe[Windows]\r\nWidth=\xe9\xe9\r\n";
    app.writeProgramFile(QStringLiteral("tavirune.ini"), junk);
    app.writeProgramFile(QStringLiteral("directories.ini"),
                         QByteArray(100000, '=') + "\r\n[Path\r\n");
    QVERIFY(app.start());
    QVERIFY(messages().isEmpty());
    TMainForm* form = app.startup()->mainForm();
    QCOMPARE(form->context().settings.animalSort, 1);
    QCOMPARE(form->context().settings.winWidth, -1);
}

void TestStartup::windowPositionComesBack()
{
    AppFixture app;
    app.installTemplate();
    QVERIFY(app.start());
    TMainForm* form = app.startup()->mainForm();
    const QRect area = form->screen()->availableGeometry();
    // The first start opens centred at 800 x 600.
    QCOMPARE(form->geometry().size(), QSize(800, 600));
    QCOMPARE(form->geometry().topLeft(),
             QPoint((area.right() + 1 - 800) / 2, (area.bottom() + 1 - 600) / 2));
    form->setGeometry(QRect(area.left() + 10, area.top() + 20, 700, 500));
    app.stop();
    QVERIFY(app.start());
    QCOMPARE(app.startup()->mainForm()->geometry(),
             QRect(area.left() + 10, area.top() + 20, 700, 500));
    app.stop();
    // A position beyond this screen opens centred at the default size.
    IniFile ini(app.dataFolder() + QStringLiteral("tavirune.ini"));
    ini.writeInt(QStringLiteral("Windows"), QStringLiteral("Left"), area.right() - 100);
    QVERIFY(ini.save().ok);
    QVERIFY(app.start());
    QCOMPARE(app.startup()->mainForm()->geometry().size(), QSize(800, 600));
}

namespace {

// Notes whether a window of a class was shown at any moment.
class ShowSpy : public QObject
{
public:
    explicit ShowSpy(const char* className) : m_className(className)
    {
        qApp->installEventFilter(this);
    }
    bool seen = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show &&
            qstrcmp(watched->metaObject()->className(), m_className) == 0)
            seen = true;
        return false;
    }

private:
    const char* m_className;
};

} // namespace

void TestStartup::splashFollowsItsSetting()
{
    AppFixture app;
    app.installTemplate();
    {
        ShowSpy spy("TSplash");
        QVERIFY(app.start());
        QVERIFY(spy.seen);
    }
    app.stop();
    IniFile ini(app.dataFolder() + QStringLiteral("tavirune.ini"));
    ini.writeBool(QStringLiteral("Properties"), QStringLiteral("Splash"), false);
    QVERIFY(ini.save().ok);
    ShowSpy spy("TSplash");
    QVERIFY(app.start());
    QVERIFY(!spy.seen);
    QVERIFY(AppFixture::findWindow("TMainForm")->isVisible());
}

void TestStartup::readOnlyDatabaseStopsBeforeAnythingIsWritten_data()
{
    QTest::addColumn<bool>("folder");
    QTest::newRow("read-only file") << false;
    QTest::newRow("read-only folder") << true;
}

void TestStartup::readOnlyDatabaseStopsBeforeAnythingIsWritten()
{
    QFETCH(bool, folder);
    AppFixture app;
    app.installTemplate();
    QVERIFY(app.start());
    app.stop();
    const QString file = app.dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB");
    const QString locked = folder ? QFileInfo(file).absolutePath() : file;
    PermissionsGuard guard(locked);
    QVERIFY(QFile::setPermissions(locked, folder ? QFile::ReadOwner | QFile::ExeOwner |
                                                       QFile::ReadGroup | QFile::ExeGroup
                                                 : QFile::ReadOwner | QFile::ReadGroup));
    const FileState before(file);
    MessageBox::clearShownMessages();
    QVERIFY(!app.start());
    const QString reason =
        folder ? QStringLiteral("Le dossier « %1 » de la base de données est en lecture seule : "
                                "les modifications de la base ne peuvent pas y être enregistrées.")
                     .arg(QFileInfo(file).absolutePath())
               : QStringLiteral("La base de données « %1 » est en lecture seule : les "
                                "modifications ne peuvent pas y être enregistrées.")
                     .arg(file);
    QCOMPARE(messages(), (QStringList{reason, connectionFailure()}));
    QCOMPARE(MessageBox::shownMessages().at(0).kind, MessageBox::Kind::Plain);
    QCOMPARE(MessageBox::shownMessages().at(1).kind, MessageBox::Kind::Error);
    QVERIFY(!AppFixture::findWindow("TMainForm"));
    QVERIFY(FileState(file) == before);
    QVERIFY(!QFile::exists(file + QStringLiteral("-journal")));
}

void TestStartup::rowThatCannotBeWrittenCanBeAbandonedAtClosing()
{
    AppFixture app;
    app.installTemplate();
    QVERIFY(app.start());
    app.stop();
    {
        Connection c;
        c.open(app.dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Médor')"));
    }
    QVERIFY(app.start());
    AppContext& c = app.startup()->context();
    DataSet& animal = c.module1->animal();
    QVERIFY(!animal.isEmpty());
    const QString name = animal.asString(QStringLiteral("Name"));
    // The disk turns read-only while the user types.
    c.connection->exec(QStringLiteral("PRAGMA query_only = ON"));
    animal.setValue(QStringLiteral("Name"), QStringLiteral("Rex"));
    QVERIFY(animal.isEditing());
    TMainForm* form = app.startup()->mainForm();
    MessageBox::clearShownMessages();

    MessageBox::setNextAnswer(MessageBox::Answer::No);
    QVERIFY(!form->close());
    QVERIFY(form->isVisible());
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    const MessageBox::Shown asked = MessageBox::shownMessages().first();
    QCOMPARE(asked.kind, MessageBox::Kind::Question);
    QVERIFY2(asked.text.startsWith(QStringLiteral("La base de données « %1 » est en lecture seule")
                                       .arg(c.connection->filePath())),
             qPrintable(asked.text));
    QVERIFY(asked.text.endsWith(
        QStringLiteral(".\rDétail : attempt to write a readonly database\r\rAbandonner les "
                       "modifications et quitter ?")));
    QVERIFY(animal.isEditing());

    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    QVERIFY(form->close());
    QCOMPARE(MessageBox::shownMessages().size(), 2);
    QVERIFY(!form->isVisible());
    c.connection->exec(QStringLiteral("PRAGMA query_only = OFF"));
    QCOMPARE(
        c.connection->scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL WHERE Name = ?"), {name})
            .toInt(),
        1);
}

void TestStartup::dbIniProblemsHaveTheirOwnMessages_data()
{
    QTest::addColumn<QByteArray>("dbIni");
    QTest::addColumn<QString>("reason");
    QTest::newRow("provider in another case")
        << QByteArray("[DataBase]\r\nProvider=oledb\r\n")
        << QStringLiteral("Le fournisseur « oledb » du fichier db.ini est inconnu : indiquez "
                          "Provider=OLEDB dans la section [DataBase].");
    QTest::newRow("unknown provider")
        << QByteArray("[DataBase]\r\nProvider=SQLite\r\n")
        << QStringLiteral("Le fournisseur « SQLite » du fichier db.ini est inconnu : indiquez "
                          "Provider=OLEDB dans la section [DataBase].");
    QTest::newRow("file name names a folder")
        << QByteArray("[OLEDB]\r\nFileName=Access\\\r\n")
        << QStringLiteral("Le nom de fichier « Access\\ » du fichier db.ini (FileName, section "
                          "[OLEDB]) désigne le dossier « %DATA%Data/Access/ » et non le fichier "
                          "de la base de données.");
    QTest::newRow("folder of a drive not mounted")
        << QByteArray("[DataBase]\r\nPath=%ROOT%/media/usb/Carnets\r\n")
        << QStringLiteral("Le dossier de la base de données « %ROOT%/media/usb/Carnets/ » est "
                          "introuvable. Vérifiez que le disque qui le contient est branché, ou "
                          "corrigez le chemin (Path, section [DataBase]) du fichier db.ini.");
}

void TestStartup::dbIniProblemsHaveTheirOwnMessages()
{
    QFETCH(QByteArray, dbIni);
    QFETCH(QString, reason);
    AppFixture app;
    app.installTemplate();
    const QString root = QFileInfo(app.programFolder()).absolutePath();
    dbIni.replace("%ROOT%", root.toUtf8());
    reason.replace(QStringLiteral("%ROOT%"), root);
    reason.replace(QStringLiteral("%DATA%"), app.dataFolder());
    app.writeProgramFile(QStringLiteral("db.ini"), dbIni);
    QVERIFY(!app.start());
    QCOMPARE(messages(), (QStringList{reason, connectionFailure()}));
    QVERIFY(!AppFixture::findWindow("TMainForm"));
    // No empty booklet is made anywhere.
    QVERIFY(!QFile::exists(root + QStringLiteral("/media")));
    QVERIFY(!QFile::exists(app.dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB")));
}

void TestStartup::lockFileWithoutProcessIsStale_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("garbage") << QByteArray("\xff\xfe garbage\nnot a pid\n");
}

void TestStartup::lockFileWithoutProcessIsStale()
{
    QFETCH(QByteArray, content);
    AppFixture app;
    app.installTemplate();
    const QString lock = app.lockFolder() + QStringLiteral("/TAVIRUNE.lock");
    QVERIFY(QDir().mkpath(app.lockFolder()));
    QVERIFY(writeBytes(lock, content));
    QVERIFY(app.start());
    QVERIFY(messages().isEmpty());
    // The lock is this run's own now: a second start is refused.
    Startup second(app.environment());
    QVERIFY(!second.start());
    QCOMPARE(messages(), QStringList{QStringLiteral("Tavirune est déjà en exécution.")});
}

void TestStartup::filesThatAreNoBookletStopUnwritten_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("zero bytes") << "empty"
                                << "Le fichier « %1 » est vide : ce n'est pas une base de données.";
    QTest::newRow("database of something else")
        << "other"
        << "Le fichier « %1 » n'est pas une base de données de carnets de santé : table(s) "
           "ANIMAL, ANIMAL_SPECIES, ANIMAL_BREED absente(s).";
}

void TestStartup::filesThatAreNoBookletStopUnwritten()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    AppFixture app;
    app.installTemplate();
    const QString file = app.dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB");
    QVERIFY(QDir().mkpath(QFileInfo(file).absolutePath()));
    if (kind == QLatin1String("empty")) {
        QVERIFY(writeBytes(file, QByteArray()));
    } else {
        Connection other;
        other.open(file, true);
        other.exec(QStringLiteral("CREATE TABLE Recipes (Title TEXT)"));
    }
    const FileState before(file);
    QVERIFY(!app.start());
    const QStringList shown = messages();
    QCOMPARE(shown.size(), 2);
    QVERIFY2(shown.at(0).startsWith(reason.arg(file)), qPrintable(shown.at(0)));
    QCOMPARE(shown.at(1), connectionFailure());
    QVERIFY(FileState(file) == before);
    QVERIFY(!AppFixture::findWindow("TMainForm"));
}

void TestStartup::relativeDataFolderIsTakenFromTheProgramFolder()
{
    AppFixture app;
    app.installTemplate();
    app.writeProgramFile(QStringLiteral("directories.ini"), "[Path]\r\nAppDataDir=..\\Partage\r\n");
    // Launched from elsewhere, as a desktop launcher starts in $HOME.
    QTemporaryDir elsewhere;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    const bool started = app.start();
    QDir::setCurrent(previous);
    QVERIFY(started);
    const QString expected = QDir::cleanPath(app.programFolder() + QStringLiteral("/../Partage")) +
                             QStringLiteral("/Tavirune/");
    QCOMPARE(app.startup()->context().dataFolder, expected);
    QVERIFY(QFile::exists(expected + QStringLiteral("Data/Access/TAVIRUNE.MDB")));
    QVERIFY(QDir(elsewhere.path()).isEmpty());
}

void TestStartup::failedStartEndsWithNonZeroStatus()
{
    AppFixture broken; // no template: the start stops
    QCOMPARE(broken.run(), Startup::kFailedStartStatus);
    QVERIFY(Startup::kFailedStartStatus != 0);

    AppFixture app;
    app.installTemplate();
    bool shown = false;
    const int status = app.run([&shown] {
        shown = AppFixture::findWindow("TMainForm")->isVisible();
        QCoreApplication::quit();
    });
    QCOMPARE(status, 0);
    QVERIFY(shown);
}

void TestStartup::failedDatabaseCopyStops()
{
    AppFixture app;
    app.installTemplate();
    // A file where the Access folder should be: the copy cannot be made,
    // whoever runs the test.
    QVERIFY(QDir().mkpath(app.dataFolder() + QStringLiteral("Data")));
    QVERIFY(writeBytes(app.dataFolder() + QStringLiteral("Data/Access"), "not a folder"));
    QVERIFY(!app.start());
    const QStringList shown = messages();
    QCOMPARE(shown.size(), 2);
    QVERIFY2(shown.at(0).startsWith(
                 QStringLiteral("Le fichier « %1Data/Access/TAVIRUNE.MDB » ne peut pas être créé")
                     .arg(app.dataFolder())),
             qPrintable(shown.at(0)));
    QVERIFY(shown.at(1).startsWith(QStringLiteral("EXECUTION IMPOSSIBLE !!\r\rCertains")));
    QVERIFY(!AppFixture::findWindow("TMainForm"));
}

void TestStartup::damagedBookletIsToldInFrench()
{
    AppFixture app;
    app.installTemplate();
    QVERIFY(app.start());
    app.stop();
    const QString file = app.dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB");
    qint64 page = 0;
    qint64 pageSize = 0;
    {
        Connection c;
        c.open(file);
        page = c.scalar(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'ANIMAL'"))
                   .toLongLong();
        pageSize = c.scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
    }
    QVERIFY(page > 1);
    QByteArray bytes = readBytes(file);
    bytes.replace((page - 1) * pageSize, pageSize, QByteArray(pageSize, '\xff'));
    QVERIFY(writeBytes(file, bytes));
    MessageBox::clearShownMessages();
    QVERIFY(app.start());
    const QStringList shown = messages();
    QVERIFY(!shown.isEmpty());
    // The reason, its detail, then the next message on lines of its own.
    QVERIFY2(shown.first().startsWith(
                 QStringLiteral("Impossible d'ouvrir « Animal » : La base de données « %1 » est "
                                "endommagée.\rDétail : database disk image is malformed\r\r"
                                "INSTABILITE DETECTEE !!")
                     .arg(file)),
             qPrintable(shown.first()));
}

void TestStartup::qtDialogsSpeakFrench()
{
    // Whatever the user's own language, Qt's dialogs follow the program's.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    AppFixture app;
    app.installTemplate();
    QVERIFY(app.start());

    QFileDialog files(nullptr, QStringLiteral("Ouvrir"));
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptSave);
    const auto* lookIn = files.findChild<QLabel*>(QStringLiteral("lookInLabel"));
    const auto* fileName = files.findChild<QLabel*>(QStringLiteral("fileNameLabel"));
    const auto* buttons = files.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QVERIFY(lookIn && fileName && buttons);
    QCOMPARE(lookIn->text(), QStringLiteral("Voir dans :"));
    QVERIFY2(fileName->text().contains(QStringLiteral("Nom de fichier")),
             qPrintable(fileName->text()));
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Annuler"));
    QCOMPARE(buttons->button(QDialogButtonBox::Save)->text(), QStringLiteral("&Enregistrer"));

    QPrinter printer;
    QPrintDialog print(&printer);
    QCOMPARE(print.windowTitle(), QStringLiteral("Imprimer"));
    QStringList texts;
    for (const QGroupBox* box : print.findChildren<QGroupBox*>())
        texts << box->title();
    QVERIFY2(texts.contains(QStringLiteral("Imprimante")), qPrintable(texts.join(u'|')));
    QLocale::setDefault(QLocale::c());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
