// What the start finds left by an earlier run: a lock path that is no lock,
// files of an operation cut short, a booklet that lost a table.
#include "AppFixture.h"
#include "TestText.h"

#include "db/Connection.h"
#include "maintenance/Compaction.h"
#include "ui/MessageBox.h"

#include <QDir>
#include <QFile>
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

QString databaseOf(const AppFixture& app)
{
    return app.dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB");
}

} // namespace

class TestStartupChecks : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void lockPathThatIsNoLockFile_data();
    void lockPathThatIsNoLockFile();
    void aCompactionCopyLeftBehindIsSettledAndTold_data();
    void aCompactionCopyLeftBehindIsSettledAndTold();
    void aBookletMissingATableStops();
};

void TestStartupChecks::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
}

void TestStartupChecks::lockPathThatIsNoLockFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("starts");
    QTest::newRow("empty folder") << "folder" << true;
    QTest::newRow("link to nowhere") << "link" << true;
    QTest::newRow("folder with content") << "full folder" << false;
}

void TestStartupChecks::lockPathThatIsNoLockFile()
{
    QFETCH(QString, kind);
    QFETCH(bool, starts);
    AppFixture app;
    app.installTemplate();
    const QString lock = app.lockFolder() + QStringLiteral("/TAVIRUNE.lock");
    QVERIFY(QDir().mkpath(app.lockFolder()));
    if (kind == QLatin1String("link")) {
        QVERIFY(QFile::link(app.lockFolder() + QStringLiteral("/nowhere"), lock));
    } else {
        QVERIFY(QDir().mkpath(lock));
        if (kind == QLatin1String("full folder"))
            QVERIFY(writeBytes(lock + QStringLiteral("/something"), "kept"));
    }
    QCOMPARE(app.start(), starts);
    if (starts) {
        QVERIFY(messages().isEmpty());
        // The lock is a real one now: a second start is refused.
        Startup second(app.environment());
        QVERIFY(!second.start());
        QCOMPARE(messages(), QStringList{QStringLiteral("Tavirune est déjà en exécution.")});
        return;
    }
    // Never "already running": the user is told what blocks the start.
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().kind, MessageBox::Kind::Error);
    QVERIFY2(messages().first().startsWith(QStringLiteral("Le verrou « %1 »").arg(lock)),
             qPrintable(messages().first()));
    QCOMPARE(readBytes(lock + QStringLiteral("/something")), QByteArray("kept"));
    QVERIFY(!QFile::exists(app.dataFolder()));
}

void TestStartupChecks::aCompactionCopyLeftBehindIsSettledAndTold_data()
{
    QTest::addColumn<bool>("databaseGone");
    QTest::newRow("copy beside the database") << false;
    QTest::newRow("database under the temporary name only") << true;
}

void TestStartupChecks::aCompactionCopyLeftBehindIsSettledAndTold()
{
    QFETCH(bool, databaseGone);
    AppFixture app;
    app.installTemplate();
    QVERIFY2(app.start(), qPrintable(messages().join(QLatin1Char('\n'))));
    app.stop();
    const QString database = databaseOf(app);
    const QString copy = app.dataFolder() + QStringLiteral("Data/Access/TAVIRUNE~.MDB");
    {
        Connection c;
        c.open(database);
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES (?)"), {u("Médor")});
    }
    if (databaseGone)
        QVERIFY(QFile::rename(database, copy));
    else
        QVERIFY(compactDatabaseFile(database, copy).ok);
    MessageBox::clearShownMessages();

    QVERIFY(app.start());
    const QStringList shown = messages();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().kind, MessageBox::Kind::Information);
    QVERIFY2(shown.first().contains(databaseGone ? u("a été récupérée") : u("est intacte")),
             qPrintable(shown.first()));
    QVERIFY(!QFile::exists(copy));
    app.stop();
    // The user's booklets, never the template's.
    Connection c;
    c.open(database);
    QCOMPARE(
        c.scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL WHERE Name=?"), {u("Médor")}).toInt(),
        1);
}

void TestStartupChecks::aBookletMissingATableStops()
{
    AppFixture app;
    app.installTemplate();
    QVERIFY2(app.start(), qPrintable(messages().join(QLatin1Char('\n'))));
    app.stop();
    {
        Connection c;
        c.open(databaseOf(app));
        c.exec(QStringLiteral("DROP TABLE [ACTION]"));
        c.exec(QStringLiteral("DROP TABLE STAT_QUERY"));
    }
    MessageBox::clearShownMessages();
    QVERIFY(!app.start());
    const QStringList shown = messages();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.first(), u("La base de données « %1 » est incomplète : table(s) ACTION, "
                              "STAT_QUERY absente(s). Restaurez une sauvegarde.")
                                .arg(databaseOf(app)));
    QVERIFY(shown.at(1).startsWith(QStringLiteral("EXECUTION IMPOSSIBLE !!")));
    QVERIFY(!AppFixture::findWindow("TMainForm"));
}

QTEST_MAIN(TestStartupChecks)
#include "tst_startupchecks.moc"
