#include "AppFixture.h"
#include "TestText.h"

#include "booklet/TMainForm.h"
#include "core/AppInfo.h"
#include "core/Clock.h"
#include "db/Connection.h"
#include "db/VersionRow.h"
#include "ui/MessageBox.h"

#include <QDir>
#include <QtTest>

using namespace tav;

class TestSchemaUpdates : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void anOlderDatabaseRunsTheScriptAndIsStamped();
    void aCurrentDatabaseRunsNothing();
    void thePreviousVersionsBookletGetsTheTargetWeightColumns();

private:
    void setDatabaseVersion(const QString& version);
    QString databaseVersion() const;

    std::unique_ptr<Clock::Fixed> m_clock;
    std::unique_ptr<AppFixture> m_app;
};

void TestSchemaUpdates::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    m_clock = std::make_unique<Clock::Fixed>(QDateTime(QDate(2026, 12, 9), QTime(7, 0)));
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    m_app->writeProgramFile(QStringLiteral("Maj/BD_114.maj"),
                            "// Version 1.13\r\n"
                            "NotFieldExists(ANIMAL.Tattoo)\r\n"
                            "SqlExe{ALTER TABLE ANIMAL ADD COLUMN Tattoo TEXT(50)}\r\n"
                            "END\r\n");
    QVERIFY(m_app->start());
    m_app->stop();
}

void TestSchemaUpdates::cleanup()
{
    m_app.reset();
    m_clock.reset();
}

void TestSchemaUpdates::setDatabaseVersion(const QString& version)
{
    Connection c;
    c.open(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
    writeDatabaseVersion(c, version);
}

QString TestSchemaUpdates::databaseVersion() const
{
    Connection c;
    c.open(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
    QStringList columns;
    c.forEachRow(QStringLiteral("PRAGMA table_info(ANIMAL)"),
                 [&columns](const QVariantList& r) { columns << r.at(1).toString(); });
    return readDatabaseVersion(c) + (columns.contains(QStringLiteral("Tattoo"))
                                         ? QStringLiteral(" with Tattoo")
                                         : QString());
}

void TestSchemaUpdates::anOlderDatabaseRunsTheScriptAndIsStamped()
{
    // 1.9 reads 19: older than 1.14.
    setDatabaseVersion(QStringLiteral("1.9"));
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    QVERIFY(m_app->start());
    QCOMPARE(MessageBox::shownMessages().at(0).text,
             u("Souhaitez-vous effectuer une sauvegarde de la base de données avant la mise à "
               "jour ?"));
    m_app->stop();
    QCOMPARE(databaseVersion(), QStringLiteral("1.14 with Tattoo"));
    // The script ran once and is gone; the backup before it is kept.
    QVERIFY(!QFile::exists(m_app->dataFolder() + QStringLiteral("BD_114.maj")));
    QCOMPARE(QDir(m_app->dataFolder() + QStringLiteral("Backup/Maj")).entryList(QDir::Files),
             QStringList{QStringLiteral("TAVIRUNE_ACCESS_BACKUP_MAJ_09122026070000.bkp")});
    const QString log =
        QString::fromUtf8(readBytes(m_app->dataFolder() + QStringLiteral("Maj.Log")));
    QVERIFY2(log.contains(QStringLiteral("09/12/2026-07:00:00 :  Version 1.13\r\n")),
             qPrintable(log));
    QVERIFY(log.contains(QStringLiteral("SQL:ALTER TABLE ANIMAL ADD COLUMN Tattoo TEXT(50) (Ok)")));
}

void TestSchemaUpdates::aCurrentDatabaseRunsNothing()
{
    QVERIFY(m_app->start());
    m_app->stop();
    QVERIFY(MessageBox::shownMessages().isEmpty());
    QCOMPARE(databaseVersion(), QStringLiteral("1.14"));
    QVERIFY(!QFile::exists(m_app->dataFolder() + QStringLiteral("Maj.Log")));
}

void TestSchemaUpdates::thePreviousVersionsBookletGetsTheTargetWeightColumns()
{
    // The script delivered with the program, not the test's own.
    m_app->writeProgramFile(QStringLiteral("Maj/") + appinfo::updateScriptName(),
                            readBytes(qEnvironmentVariable("TAVIRUNE_PROGRAM_DIR") +
                                      QStringLiteral("/Maj/") + appinfo::updateScriptName()));
    {
        Connection c;
        c.open(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
        c.exec(QStringLiteral("ALTER TABLE ANIMAL DROP COLUMN Target_Weight_Min"));
        c.exec(QStringLiteral("ALTER TABLE ANIMAL DROP COLUMN Target_Weight_Max"));
        writeDatabaseVersion(c, QStringLiteral("1.13"));
    }
    MessageBox::setNextAnswer(MessageBox::Answer::No);
    QVERIFY(m_app->start());
    m_app->stop();
    Connection c;
    c.open(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
    QCOMPARE(readDatabaseVersion(c), appinfo::programVersion());
    QCOMPARE(c.scalar(QStringLiteral("SELECT COUNT(*) FROM pragma_table_info('ANIMAL') WHERE name "
                                     "IN ('Target_Weight_Min', 'Target_Weight_Max')"))
                 .toInt(),
             2);
}

QTEST_MAIN(TestSchemaUpdates)
#include "tst_schemaupdates.moc"
