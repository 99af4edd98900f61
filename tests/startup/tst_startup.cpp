#include "AppFixture.h"

#include "booklet/TMainForm.h"
#include "core/IniFile.h"
#include "core/TextFile.h"
#include "db/Connection.h"
#include "db/DbConfig.h"
#include "ui/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QLabel>
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
    QCOMPARE(form->windowTitle(), QStringLiteral("Tavirune 1.13"));
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
    QVERIFY(readTextFile(ini).contains(QStringLiteral("\r\n")) || QFile(ini).size() > 0);
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
    writeTextFile(picture, QStringLiteral("mine"));
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
    // A provider spelled in another case is unknown: same end.
    AppFixture lower;
    lower.installTemplate();
    lower.writeProgramFile(QStringLiteral("db.ini"), "[DataBase]\r\nProvider=oledb\r\n");
    MessageBox::clearShownMessages();
    QVERIFY(!lower.start());
    QVERIFY(messages().value(0).startsWith(QStringLiteral("EXECUTION IMPOSSIBLE !!\r\rCertains")));
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
             QStringList{QStringLiteral("TAVIRUNE 1.13 : EXECUTION IMPOSSIBLE\r\rPour utiliser ce "
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
    ini.save();
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
    ini.save();
    ShowSpy spy("TSplash");
    QVERIFY(app.start());
    QVERIFY(!spy.seen);
    QVERIFY(AppFixture::findWindow("TMainForm")->isVisible());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
