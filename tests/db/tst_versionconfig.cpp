#include "TestDatabase.h"

#include "core/IniFile.h"
#include "db/DbConfig.h"
#include "db/VersionRow.h"

#include <QFile>
#include <QtTest>

using namespace tav;

class TestVersionConfig : public QObject
{
    Q_OBJECT
private slots:
    void versionNumbers_data();
    void versionNumbers();
    void versionRowIsCreatedThenChanged();
    void missingVersionReadsAsZero();
    void dbIniIsCreatedWithItsDefaults();
    void databaseFolderRule();
    void providerIsComparedExactly();
};

void TestVersionConfig::versionNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("number");
    QTest::newRow("current") << "1.13" << 113;
    QTest::newRow("older minor") << "1.2" << 12;
    QTest::newRow("1.9 is older than 1.13") << "1.9" << 19;
    QTest::newRow("zero") << "0" << 0;
    QTest::newRow("garbage") << "abc" << 0;
    QTest::newRow("two dots") << "1.1.3" << 0;
}

void TestVersionConfig::versionNumbers()
{
    QFETCH(QString, text);
    QFETCH(int, number);
    QCOMPARE(versionNumber(text), number);
}

void TestVersionConfig::versionRowIsCreatedThenChanged()
{
    TestDatabase db;
    {
        writeDatabaseVersion(db.connection, QStringLiteral("1.12"));
        writeDatabaseVersion(db.connection, QStringLiteral("1.13"));
    }
    QCOMPARE(readDatabaseVersion(db.connection), QStringLiteral("1.13"));
    QCOMPARE(db.connection.scalar(QStringLiteral("SELECT COUNT(*) FROM OBJECT_VAL_STR")).toInt(),
             1);
    QCOMPARE(db.connection.scalar(QStringLiteral("SELECT USERID FROM OBJECT_VAL_STR")).toInt(),
             -99);
}

void TestVersionConfig::missingVersionReadsAsZero()
{
    TestDatabase db;
    QCOMPARE(readDatabaseVersion(db.connection), QStringLiteral("0"));
    db.connection.exec(QStringLiteral("DROP TABLE OBJECT_VAL_STR"));
    QCOMPARE(readDatabaseVersion(db.connection), QStringLiteral("0"));
}

void TestVersionConfig::dbIniIsCreatedWithItsDefaults()
{
    QTemporaryDir data;
    const DbConfig c = DbConfig::read(data.path(), QStringLiteral("/opt/tavirune"));
    QCOMPARE(c.databaseFolder, data.path() + QStringLiteral("/Data/"));
    QCOMPARE(c.databaseFilePath(), data.path() + QStringLiteral("/Data/Access/TAVIRUNE.MDB"));
    IniFile ini(data.filePath(QStringLiteral("db.ini")));
    QVERIFY(ini.exists());
    QCOMPARE(ini.readString(QStringLiteral("DataBase"), QStringLiteral("Provider"), QString()),
             QStringLiteral("OLEDB"));
    QCOMPARE(ini.readString(QStringLiteral("DataBase"), QStringLiteral("Path"), QString()),
             QStringLiteral("Data\\"));
    QCOMPARE(ini.readString(QStringLiteral("ODBC"), QStringLiteral("Driver"), QString()),
             QStringLiteral("Microsoft Access Driver (*.mdb)"));
    QCOMPARE(ini.readString(QStringLiteral("OLEDB"), QStringLiteral("FileName"), QString()),
             QStringLiteral("Access\\TAVIRUNE.MDB"));
    QCOMPARE(ini.keyNames(QStringLiteral("ODBC")).size(), 3);
    QVERIFY(c.connectionString().contains(
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + c.databaseFilePath() +
        QStringLiteral(";Mode=ReadWrite")));
}

void TestVersionConfig::databaseFolderRule()
{
    QTemporaryDir data;
    IniFile ini(data.filePath(QStringLiteral("db.ini")));
    ini.writeString(QStringLiteral("DataBase"), QStringLiteral("Path"),
                    QStringLiteral("/srv/Carnets"));
    QVERIFY(ini.save().ok);
    QCOMPARE(DbConfig::read(data.path(), QStringLiteral("/opt/t")).databaseFilePath(),
             QStringLiteral("/srv/Carnets/Access/TAVIRUNE.MDB"));
    // Lower-case "data\" is not the special value: a folder of the program folder.
    ini.writeString(QStringLiteral("DataBase"), QStringLiteral("Path"), QStringLiteral("data\\"));
    QVERIFY(ini.save().ok);
    QCOMPARE(DbConfig::read(data.path(), QStringLiteral("/opt/t")).databaseFolder,
             QStringLiteral("/opt/t/data/"));
    ini.writeString(QStringLiteral("DataBase"), QStringLiteral("Path"), QStringLiteral("Data/"));
    QVERIFY(ini.save().ok);
    QCOMPARE(DbConfig::read(data.path(), QStringLiteral("/opt/t")).databaseFolder,
             data.path() + QStringLiteral("/Data/"));
}

void TestVersionConfig::providerIsComparedExactly()
{
    QTemporaryDir data;
    IniFile ini(data.filePath(QStringLiteral("db.ini")));
    ini.writeString(QStringLiteral("DataBase"), QStringLiteral("Provider"),
                    QStringLiteral("oledb"));
    QVERIFY(ini.save().ok);
    const DbConfig lower = DbConfig::read(data.path(), QStringLiteral("/opt/t"));
    QVERIFY(lower.databaseFileName.isEmpty());
    QString why;
    QVERIFY(lower.connectionFilePath(&why).isEmpty());
    QVERIFY(why.contains(QStringLiteral("oledb")));
    ini.writeString(QStringLiteral("DataBase"), QStringLiteral("Provider"), QStringLiteral("ODBC"));
    ini.writeString(QStringLiteral("ODBC"), QStringLiteral("Path"),
                    QStringLiteral("Access\\AUTRE.MDB"));
    QVERIFY(ini.save().ok);
    const DbConfig odbc = DbConfig::read(data.path(), QStringLiteral("/opt/t"));
    QCOMPARE(odbc.databaseFileName, QStringLiteral("Access/AUTRE.MDB"));
    // The file tested is the OLE DB one whatever the provider.
    QVERIFY(odbc.databaseFilePath().endsWith(QStringLiteral("Access/TAVIRUNE.MDB")));
    QVERIFY(odbc.connectionFilePath(&why).isEmpty());
    QVERIFY(why.contains(QStringLiteral("ODBC")));
}

QTEST_GUILESS_MAIN(TestVersionConfig)
#include "tst_versionconfig.moc"
