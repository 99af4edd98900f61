#include "TestText.h"

#include "core/Settings.h"
#include "core/WindowPlacement.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace tav;

Q_DECLARE_METATYPE(tav::Settings)

namespace {

Settings windowValues(int left, int top, int width, int height, const char* state)
{
    Settings settings;
    settings.winLeft = left;
    settings.winTop = top;
    settings.winWidth = width;
    settings.winHeight = height;
    settings.winState = QString::fromLatin1(state);
    return settings;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void firstStartGivesDefaultsAndSavesEveryKeyInOrder();
    void roundTripsEveryValue();
    void unreadableValuesGiveDefaults();
    void saveKeepsForeignKeys();
    void fileNameFollowsProgramName_data();
    void fileNameFollowsProgramName();

    void restoresPlacement_data();
    void restoresPlacement();
    void storesPlacementKeepingNormalRectWhenMaximised();

private:
    QString iniPath() const { return m_dir->filePath(QStringLiteral("tavirune.ini")); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestSettings::firstStartGivesDefaultsAndSavesEveryKeyInOrder()
{
    Settings settings;
    settings.animalSort = 2; // load must reset what was there before
    settings.load(iniPath());
    QCOMPARE(settings.firstLaunch, true);
    QCOMPARE(settings.testMdac, false);
    QCOMPARE(settings.splash, true);
    QCOMPARE(settings.animalSort, 1);
    QCOMPARE(settings.animalEnd, false);
    QCOMPARE(settings.maxWidth, 5000);
    QCOMPARE(settings.jpegQuality, 100);
    QCOMPARE(settings.smtpPort, 25);
    QCOMPARE(settings.winWidth, -1);

    settings.firstLaunch = false;
    QVERIFY(settings.save(iniPath()));
    QCOMPARE(readBytes(iniPath()), QByteArray("[Properties]\r\n"
                                              "FirstLaunch=0\r\n"
                                              "TestMdac=0\r\n"
                                              "Splash=1\r\n"
                                              "ShowUI=1\r\n"
                                              "ShowCalendar=0\r\n"
                                              "HideBigFontMsg=0\r\n"
                                              "AnimalSort=1\r\n"
                                              "AnimalEnd=0\r\n"
                                              "\r\n"
                                              "[Scan]\r\n"
                                              "TwainSource=\r\n"
                                              "ShowTwainUI=0\r\n"
                                              "MaxWidth=5000\r\n"
                                              "JpegQuality=100\r\n"
                                              "\r\n"
                                              "[SMTP]\r\n"
                                              "Name=\r\n"
                                              "Email=\r\n"
                                              "Host=\r\n"
                                              "Port=25\r\n"
                                              "\r\n"
                                              "[Windows]\r\n"
                                              "Left=-1\r\n"
                                              "Top=-1\r\n"
                                              "Width=-1\r\n"
                                              "Height=-1\r\n"
                                              "State=\r\n"
                                              "Style=0\r\n"));
}

void TestSettings::roundTripsEveryValue()
{
    Settings saved;
    saved.firstLaunch = false;
    saved.testMdac = true;
    saved.splash = false;
    saved.showUI = false;
    saved.showCalendar = true;
    saved.hideBigFontMsg = true;
    saved.animalSort = 2;
    saved.animalEnd = true;
    saved.reminderNotice = false;
    saved.twainSource = QStringLiteral("Numériseur € 2");
    saved.showTwainUI = true;
    saved.maxWidth = 1600;
    saved.jpegQuality = 85;
    saved.smtpName = QStringLiteral("Élodie Dupré");
    saved.smtpEmail = QStringLiteral("elodie@example.org");
    saved.smtpHost = QStringLiteral("smtp.example.org");
    saved.smtpPort = 587;
    saved.winLeft = 10;
    saved.winTop = 20;
    saved.winWidth = 1000;
    saved.winHeight = 700;
    saved.winState = QStringLiteral("wsMaximized");
    saved.winStyle = true;
    QVERIFY(saved.save(iniPath()));

    Settings loaded;
    loaded.load(iniPath());
    QCOMPARE(loaded.firstLaunch, saved.firstLaunch);
    QCOMPARE(loaded.testMdac, saved.testMdac);
    QCOMPARE(loaded.splash, saved.splash);
    QCOMPARE(loaded.showUI, saved.showUI);
    QCOMPARE(loaded.showCalendar, saved.showCalendar);
    QCOMPARE(loaded.hideBigFontMsg, saved.hideBigFontMsg);
    QCOMPARE(loaded.animalSort, saved.animalSort);
    QCOMPARE(loaded.animalEnd, saved.animalEnd);
    QCOMPARE(loaded.reminderNotice, saved.reminderNotice);
    QCOMPARE(loaded.twainSource, saved.twainSource);
    QCOMPARE(loaded.showTwainUI, saved.showTwainUI);
    QCOMPARE(loaded.maxWidth, saved.maxWidth);
    QCOMPARE(loaded.jpegQuality, saved.jpegQuality);
    QCOMPARE(loaded.smtpName, saved.smtpName);
    QCOMPARE(loaded.smtpEmail, saved.smtpEmail);
    QCOMPARE(loaded.smtpHost, saved.smtpHost);
    QCOMPARE(loaded.smtpPort, saved.smtpPort);
    QCOMPARE(loaded.winLeft, saved.winLeft);
    QCOMPARE(loaded.winTop, saved.winTop);
    QCOMPARE(loaded.winWidth, saved.winWidth);
    QCOMPARE(loaded.winHeight, saved.winHeight);
    QCOMPARE(loaded.winState, saved.winState);
    QCOMPARE(loaded.winStyle, saved.winStyle);
}

void TestSettings::unreadableValuesGiveDefaults()
{
    const QByteArray longName(300, 'n');
    QVERIFY(writeBytes(iniPath(), "[properties]\r\n"
                                  "splash=yes\r\n"
                                  "ANIMALSORT=2\r\n"
                                  "AnimalEnd=1\r\n"
                                  "[scan]\r\n"
                                  "MaxWidth=abc\r\n"
                                  "JpegQuality=\r\n"
                                  "[smtp]\r\n"
                                  "Name=" +
                                      longName + "\r\nPort=25x\r\nHost=" + longName +
                                      "\r\nEmail=" + QByteArray(254, 'e') +
                                      "\xF0\x9F\x90\xBE\r\n"
                                      "[Windows]\r\n"
                                      "Left=99999999999\r\n"
                                      "Top=12\r\n"));
    Settings settings;
    settings.load(iniPath());
    QCOMPARE(settings.splash, true);
    QCOMPARE(settings.animalSort, 2);
    QCOMPARE(settings.animalEnd, true);
    QCOMPARE(settings.maxWidth, 5000);
    QCOMPARE(settings.jpegQuality, 100);
    QCOMPARE(settings.smtpName, QString(255, u'n'));
    QCOMPARE(settings.smtpHost.size(), 255);
    // A character outside the BMP straddling the limit is dropped whole.
    QCOMPARE(settings.smtpEmail, QString(254, u'e'));
    QCOMPARE(settings.smtpPort, 25);
    QCOMPARE(settings.winLeft, -1);
    QCOMPARE(settings.winTop, 12);
}

void TestSettings::saveKeepsForeignKeys()
{
    QVERIFY(writeBytes(iniPath(), "[Other]\r\nKeep=me\r\n[Scan]\r\nDevice=old\r\nMaxWidth=1\r\n"));
    Settings settings;
    settings.load(iniPath());
    QCOMPARE(settings.maxWidth, 1);
    settings.maxWidth = 2000;
    QVERIFY(settings.save(iniPath()));

    const QByteArray bytes = readBytes(iniPath());
    QVERIFY(
        bytes.startsWith("[Other]\r\nKeep=me\r\n\r\n[Scan]\r\nDevice=old\r\nMaxWidth=2000\r\n"));
    QCOMPARE(bytes.count("MaxWidth="), 1);
    QVERIFY(bytes.contains("[Windows]\r\nLeft=-1\r\n"));
}

void TestSettings::fileNameFollowsProgramName_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("fileName");

    QTest::newRow("linux") << QStringLiteral("/usr/bin/tavirune") << QStringLiteral("tavirune.ini");
    QTest::newRow("windows name") << QStringLiteral("/opt/Tavirune/Tavirune.EXE")
                                  << QStringLiteral("tavirune.ini");
    QTest::newRow("other dots") << QStringLiteral("/opt/Tavirune.App/my.prog")
                                << QStringLiteral("my.prog.ini");
}

void TestSettings::fileNameFollowsProgramName()
{
    QFETCH(QString, program);
    QFETCH(QString, fileName);
    QCOMPARE(Settings::fileNameFor(program), fileName);
}

void TestSettings::restoresPlacement_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QRect>("workArea");
    QTest::addColumn<int>("tag");
    QTest::addColumn<QRect>("clientRect");
    QTest::addColumn<bool>("maximized");

    const QRect fullHd(0, 0, 1920, 1040);
    QTest::newRow("never saved") << Settings() << fullHd << 0 << QRect(560, 220, 800, 600) << false;
    QTest::newRow("never saved, tag 1024")
        << Settings() << fullHd << 1024 << QRect(448, 136, 1024, 768) << false;
    QTest::newRow("centring drops fractions")
        << Settings() << QRect(0, 0, 1365, 767) << 0 << QRect(282, 83, 800, 600) << false;
    QTest::newRow("saved, touching the edges")
        << windowValues(1120, 440, 800, 600, "wsNormal") << fullHd << 0
        << QRect(1120, 440, 800, 600) << false;
    QTest::newRow("saved, one pixel past the right")
        << windowValues(1121, 440, 800, 600, "wsNormal") << fullHd << 0 << QRect(560, 220, 800, 600)
        << false;
    QTest::newRow("saved, past the bottom (smaller screen)")
        << windowValues(100, 900, 1000, 700, "wsNormal") << fullHd << 1024
        << QRect(448, 136, 1024, 768) << false;
    QTest::newRow("negative left is re-centred with the saved size")
        << windowValues(-50, 30, 1000, 700, "wsNormal") << fullHd << 0 << QRect(460, 30, 1000, 700)
        << false;
    QTest::newRow("negative top is re-centred")
        << windowValues(30, -8, 1000, 700, "wsNormal") << fullHd << 0 << QRect(30, 170, 1000, 700)
        << false;
    QTest::newRow("wider than the area: clamped to 0")
        << windowValues(-20, -20, 1930, 1050, "wsNormal") << fullHd << 0 << QRect(0, 0, 1930, 1050)
        << false;
    QTest::newRow("default on a tiny screen is clamped to 0")
        << Settings() << QRect(0, 0, 640, 480) << 0 << QRect(0, 0, 800, 600) << false;
    // Centring measures from the far edge only, as the design does.
    QTest::newRow("work area not at the origin")
        << Settings() << QRect(100, 50, 1820, 990) << 0 << QRect(560, 220, 800, 600) << false;
    QTest::newRow("huge saved left does not overflow")
        << windowValues(std::numeric_limits<int>::max(), 0, 800, 600, "wsNormal") << fullHd << 0
        << QRect(560, 220, 800, 600) << false;
    QTest::newRow("negative height is unusable")
        << windowValues(10, 10, 800, -1, "wsNormal") << fullHd << 0 << QRect(560, 220, 800, 600)
        << false;
    QTest::newRow("maximised") << windowValues(10, 20, 800, 600, "wsMaximized") << fullHd << 0
                               << QRect(10, 20, 800, 600) << true;
    QTest::newRow("state compared exactly") << windowValues(10, 20, 800, 600, "WSMAXIMIZED")
                                            << fullHd << 0 << QRect(10, 20, 800, 600) << false;
    QTest::newRow("minimised opens normal") << windowValues(10, 20, 800, 600, "wsMinimized")
                                            << fullHd << 0 << QRect(10, 20, 800, 600) << false;
}

void TestSettings::restoresPlacement()
{
    QFETCH(Settings, settings);
    QFETCH(QRect, workArea);
    QFETCH(int, tag);
    QFETCH(QRect, clientRect);
    QFETCH(bool, maximized);

    const WindowPlacement placement = restoreWindowPlacement(settings, workArea, tag);
    QCOMPARE(placement.clientRect, clientRect);
    QCOMPARE(placement.maximized, maximized);
}

void TestSettings::storesPlacementKeepingNormalRectWhenMaximised()
{
    Settings settings;
    storeWindowPlacement(settings, QRect(15, 25, 900, 650), WindowState::Normal);
    QCOMPARE(settings.winLeft, 15);
    QCOMPARE(settings.winTop, 25);
    QCOMPARE(settings.winWidth, 900);
    QCOMPARE(settings.winHeight, 650);
    QCOMPARE(settings.winState, QStringLiteral("wsNormal"));

    storeWindowPlacement(settings, QRect(0, 0, 1920, 1040), WindowState::Maximized);
    QCOMPARE(settings.winLeft, 15);
    QCOMPARE(settings.winWidth, 900);
    QCOMPARE(settings.winState, QStringLiteral("wsMaximized"));

    // The next start opens maximised over the last normal rectangle.
    QVERIFY(settings.save(iniPath()));
    Settings next;
    next.load(iniPath());
    const WindowPlacement placement = restoreWindowPlacement(next, QRect(0, 0, 1920, 1040), 0);
    QVERIFY(placement.maximized);
    QCOMPARE(placement.clientRect, QRect(15, 25, 900, 650));

    storeWindowPlacement(settings, QRect(40, 50, 700, 500), WindowState::Minimized);
    QCOMPARE(settings.winLeft, 40);
    QCOMPARE(settings.winState, QStringLiteral("wsMinimized"));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "TestSettings.moc"
