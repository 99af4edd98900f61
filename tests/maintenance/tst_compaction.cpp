#include "TestDatabase.h"
#include "TestText.h"

#include "core/Clock.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/Schema.h"
#include "maintenance/Compaction.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tav;

namespace {

// A booklet with many rows, most of them deleted again, so that the file
// has free pages to give back.
QString makeBooklet(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("TAVIRUNE.MDB"));
    Connection c;
    c.open(path, true);
    createSchema(c);
    c.beginTransaction();
    for (int i = 0; i < 3000; ++i)
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name, Description) VALUES (?, ?)"),
               {QStringLiteral("Animal %1").arg(i), QString(400, QLatin1Char('x'))});
    c.commit();
    c.exec(QStringLiteral("DELETE FROM ANIMAL WHERE Id > 10"));
    c.exec(QStringLiteral("UPDATE ANIMAL SET Name=? WHERE Id=3"), {u("Médor \"le grand\"")});
    return path;
}

QStringList names(const QString& path)
{
    Connection c;
    c.open(path);
    QStringList out;
    c.forEachRow(QStringLiteral("SELECT Name FROM ANIMAL ORDER BY Id"),
                 [&out](const QVariantList& row) { out << row.at(0).toString(); });
    return out;
}

} // namespace

class TestCompaction : public QObject
{
    Q_OBJECT
private slots:
    void compactsInPlaceKeepingEveryRow();
    void aTemporaryFileLeftBeforeStopsEverything();
    void aDamagedFileIsNeverReplaced();
    void aFullDiskLeavesTheDatabaseWhole();
    void historyRowsCarryDateTimeAndACutPath();
};

void TestCompaction::compactsInPlaceKeepingEveryRow()
{
    QTemporaryDir dir;
    const QString path = makeBooklet(dir);
    const QStringList before = names(path);
    const qint64 sizeBefore = QFileInfo(path).size();
    const MaintenanceResult r = compactDatabaseInPlace(path);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(names(path), before);
    QVERIFY(QFileInfo(path).size() < sizeBefore / 4);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("TAVIRUNE.MDB")});
    Connection c;
    c.open(path);
    QCOMPARE(c.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), QStringLiteral("ok"));
    // Keys keep counting from where they were: no number is given twice.
    c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Nouveau')"));
    QCOMPARE(c.lastInsertId(), 3001);
}

void TestCompaction::aTemporaryFileLeftBeforeStopsEverything()
{
    QTemporaryDir dir;
    const QString path = makeBooklet(dir);
    const QString stale = dir.filePath(QStringLiteral("TAVIRUNE~.MDB"));
    QVERIFY(writeBytes(stale, "données d'un compactage interrompu"));
    const QByteArray original = readBytes(path);
    const MaintenanceResult r = compactDatabaseInPlace(path);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(stale), qPrintable(r.error));
    QCOMPARE(readBytes(path), original);
    QCOMPARE(readBytes(stale), QByteArray("données d'un compactage interrompu"));
}

void TestCompaction::aDamagedFileIsNeverReplaced()
{
    QTemporaryDir dir;
    const QString path = makeBooklet(dir);
    // Damage a page in the middle of the file.
    QByteArray bytes = readBytes(path);
    for (int i = 8192; i < 12288 && i < bytes.size(); ++i)
        bytes[i] = char(0xA5);
    QVERIFY(writeBytes(path, bytes));
    const MaintenanceResult r = compactDatabaseInPlace(path);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.startsWith(u("Le compactage de la base de données")), qPrintable(r.error));
    QCOMPARE(readBytes(path), bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("TAVIRUNE.MDB")});
}

void TestCompaction::aFullDiskLeavesTheDatabaseWhole()
{
    QTemporaryDir dir;
    const QString path = makeBooklet(dir);
    const QByteArray original = readBytes(path);
    // The child process may write only a few kilobytes, as on a full disk.
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{16384, 16384};
        setrlimit(RLIMIT_FSIZE, &limit);
        const MaintenanceResult r = compactDatabaseInPlace(path);
        _exit(r.ok ? 1 : 0);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(readBytes(path), original);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("TAVIRUNE.MDB")});
}

void TestCompaction::historyRowsCarryDateTimeAndACutPath()
{
    TestDatabase db;
    DataModule1 module(db.connection, db.folder());
    const Clock::Fixed clock(QDateTime(QDate(2026, 12, 9), QTime(14, 5, 59)));
    const QString longPath = QStringLiteral("/media/usb/") + QString(300, QLatin1Char('a'));
    addBackupHistory(module.dataSet(QStringLiteral("Backup")),
                     u("Compactage de la base de données"), longPath);
    QVariantList row;
    db.connection.forEachRow(QStringLiteral("SELECT DateSav, TimeSav, Description, Path, "
                                            "typeof(TimeSav) FROM BACKUP"),
                             [&row](const QVariantList& r) { row = r; });
    QCOMPARE(row.value(0).toString(), QStringLiteral("2026-12-09"));
    QCOMPARE(row.value(1).toString(), QStringLiteral("14:05"));
    QCOMPARE(row.value(2).toString(), u("Compactage de la base de données"));
    QCOMPARE(row.value(3).toString(), longPath.left(255));
    QCOMPARE(row.value(4).toString(), QStringLiteral("text"));
    QVERIFY(!module.dataSet(QStringLiteral("Backup")).isOpen());
}

QTEST_GUILESS_MAIN(TestCompaction)
#include "tst_compaction.moc"
