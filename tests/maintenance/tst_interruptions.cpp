// Kills backups, restores and compactions at random moments and checks
// that the booklets are then wholly those of before or wholly those of
// after, never a mix and never nothing. TAVIRUNE_KILL_TRIALS sets how many
// trials each operation gets (8 by default; run 50 or more by hand).
#include "BookletFolders.h"
#include "TestText.h"

#include "db/Connection.h"
#include "db/Schema.h"
#include "maintenance/BackupArchive.h"
#include "maintenance/Compaction.h"
#include "media/Cabinet.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

using namespace tav;

namespace {

struct State
{
    QStringList names;
    QMap<QString, QByteArray> pictures;
    bool operator==(const State& o) const { return names == o.names && pictures == o.pictures; }
};

struct Booklets : BookletFolders
{
    using BookletFolders::BookletFolders;

    void fill(const QString& prefix, int animals, int pictures)
    {
        Connection c;
        c.open(files.databaseFile);
        c.beginTransaction();
        c.exec(QStringLiteral("DELETE FROM ANIMAL"));
        for (int i = 0; i < animals; ++i)
            c.exec(QStringLiteral("INSERT INTO ANIMAL (Name, Description) VALUES (?, ?)"),
                   {QString(prefix + QString::number(i)), QString(500, QLatin1Char('d'))});
        c.commit();
        for (const QString& old : QDir(files.imagesFolder).entryList(QDir::Files))
            QFile::remove(files.imagesFolder + QLatin1Char('/') + old);
        for (int i = 0; i < pictures; ++i)
            writeBytes(files.imagesFolder + QStringLiteral("/Doc%1.jpg").arg(i),
                       (prefix + QString::number(i)).toUtf8().repeated(3000));
    }

    // Reads the booklets; an unreadable database gives a state no
    // operation ever leaves.
    State state() const
    {
        State s;
        try {
            Connection c;
            c.open(files.databaseFile);
            if (c.scalar(QStringLiteral("PRAGMA integrity_check")).toString() !=
                QLatin1String("ok"))
                return {{QStringLiteral("<damaged>")}, {}};
            c.forEachRow(QStringLiteral("SELECT Name FROM ANIMAL ORDER BY Id"),
                         [&s](const QVariantList& r) { s.names << r.at(0).toString(); });
        } catch (...) {
            return {{QStringLiteral("<unreadable>")}, {}};
        }
        for (const QString& name : QDir(files.imagesFolder).entryList({QStringLiteral("*.jpg")}))
            s.pictures.insert(name, readBytes(files.imagesFolder + QLatin1Char('/') + name));
        return s;
    }
};

int trials()
{
    const int n = qEnvironmentVariableIntValue("TAVIRUNE_KILL_TRIALS");
    return n > 0 ? n : 8;
}

// Runs work in a child process killed after `afterMicroseconds`.
void killedAfter(int afterMicroseconds, const std::function<void()>& work)
{
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    usleep(useconds_t(afterMicroseconds));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
}

} // namespace

class TestInterruptions : public QObject
{
    Q_OBJECT
private slots:
    void aKilledRestoreLeavesBeforeOrAfter();
    void aRestoreCutBeforeItsLastRenameIsUndoneWhateverTheFolderNames();
    void aJournalOfTheEarlierFormatIsStillUndone();
    void aKilledCompactionLeavesTheDatabaseWhole();
    void aKilledBackupLeavesTheBookletsAndNoBrokenArchive();
};

void TestInterruptions::aKilledRestoreLeavesBeforeOrAfter()
{
    QRandomGenerator random(113);
    int sawBefore = 0;
    int sawAfter = 0;
    for (int trial = 0; trial < trials(); ++trial) {
        Booklets b;
        b.fill(QStringLiteral("archive "), 50, 12);
        const State after = b.state();
        const QString archive = b.root.filePath(QStringLiteral("archive.bkp"));
        QVERIFY(writeBackupArchive(b.files, archive).ok);
        b.fill(QStringLiteral("today "), 30, 20);
        const State before = b.state();
        killedAfter(int(random.bounded(150000)), [&b, &archive]() {
            restoreBackupArchive(b.files, archive, b.root.filePath(QStringLiteral("safety.bkp")));
        });
        // What the next start does first.
        QVERIFY(recoverInterruptedRestore(b.files).ok);
        const State now = b.state();
        QVERIFY2(now == before || now == after,
                 qPrintable(QStringLiteral("trial %1: %2 animals, %3 pictures")
                                .arg(trial)
                                .arg(now.names.size())
                                .arg(now.pictures.size())));
        (now == before ? sawBefore : sawAfter)++;
        QVERIFY(QDir(b.files.workFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
        QCOMPARE(QDir(b.root.filePath(QStringLiteral("Data")))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 strings({"Access", "Files", "Images"}));
    }
    qInfo("restore: %d trials ended before, %d after", sawBefore, sawAfter);
}

void TestInterruptions::aRestoreCutBeforeItsLastRenameIsUndoneWhateverTheFolderNames()
{
    // Tabs and line breaks in the data folder's name reach every path that
    // the restore's journal holds.
    Booklets b(u("Données\tdu chat\nMOVE\tailleurs%0A"));
    b.fill(QStringLiteral("archive "), 5, 3);
    const QString archive = b.root.filePath(QStringLiteral("archive.bkp"));
    QVERIFY(writeBackupArchive(b.files, archive).ok);
    b.fill(QStringLiteral("today "), 4, 6);
    const State before = b.state();

    // The process dies just before the rename that completes the restore.
    const pid_t child = fork();
    if (child == 0) {
        restoreBackupArchive(b.files, archive, b.root.filePath(QStringLiteral("safety.bkp")),
                             [](const QString& task, int done, int total) {
                                 if (task == u("Restauration de la base") && total > 1 &&
                                     done == total - 1)
                                     _exit(0);
                             });
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, "the restore ran to its end");

    QVERIFY(recoverInterruptedRestore(b.files).ok);
    QCOMPARE(b.state(), before);
    QVERIFY(QDir(b.files.workFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
}

void TestInterruptions::aJournalOfTheEarlierFormatIsStillUndone()
{
    // As an earlier version left it: one picture moved aside, the archive's
    // database not yet in place.
    Booklets b;
    b.fill(QStringLiteral("today "), 2, 1);
    const State before = b.state();
    const QString staging =
        b.files.workFolder + QStringLiteral("/restauration-20261209-150400-000");
    QVERIFY(QDir().mkpath(staging + QStringLiteral("/.actuels")));
    QVERIFY(QFile::copy(b.files.databaseFile, staging + QStringLiteral("/TAVIRUNE.MDB")));
    const QString picture = b.files.imagesFolder + QStringLiteral("/Doc0.jpg");
    const QString aside = staging + QStringLiteral("/.actuels/Doc0.jpg");
    QVERIFY(QFile::rename(picture, aside));
    QVERIFY(
        writeBytes(b.files.workFolder + QStringLiteral("/restauration-en-cours.journal"),
                   (QStringLiteral("STAGING\t") + staging + QStringLiteral("\nMOVE\t") + picture +
                    QLatin1Char('\t') + aside + QStringLiteral("\nDATABASE\t") + staging +
                    QStringLiteral("/TAVIRUNE.MDB\t") + b.files.databaseFile + QLatin1Char('\n'))
                       .toUtf8()));
    QVERIFY(recoverInterruptedRestore(b.files).ok);
    QCOMPARE(b.state(), before);
    QVERIFY(QDir(b.files.workFolder).isEmpty());
}

void TestInterruptions::aKilledCompactionLeavesTheDatabaseWhole()
{
    QRandomGenerator random(6);
    for (int trial = 0; trial < trials(); ++trial) {
        Booklets b;
        b.fill(QStringLiteral("animal "), 3000, 0);
        {
            Connection c;
            c.open(b.files.databaseFile);
            c.exec(QStringLiteral("DELETE FROM ANIMAL WHERE Id % 2 = 0"));
        }
        const State before = b.state();
        killedAfter(int(random.bounded(120000)),
                    [&b]() { compactDatabaseInPlace(b.files.databaseFile); });
        QCOMPARE(b.state(), before);
        // A copy cut short may stay beside the database, never instead of it.
        QFile::remove(QFileInfo(b.files.databaseFile).absolutePath() +
                      QStringLiteral("/TAVIRUNE~.MDB"));
        QVERIFY(compactDatabaseInPlace(b.files.databaseFile).ok);
        QCOMPARE(b.state(), before);
    }
}

void TestInterruptions::aKilledBackupLeavesTheBookletsAndNoBrokenArchive()
{
    QRandomGenerator random(2008);
    for (int trial = 0; trial < trials(); ++trial) {
        Booklets b;
        b.fill(QStringLiteral("animal "), 200, 15);
        const State before = b.state();
        const QString archive = b.root.filePath(QStringLiteral("carnets.bkp"));
        QVERIFY(writeBytes(archive, "an earlier archive"));
        killedAfter(int(random.bounded(150000)),
                    [&b, &archive]() { writeBackupArchive(b.files, archive); });
        QCOMPARE(b.state(), before);
        // The archive is the earlier one or a whole new one.
        const QByteArray bytes = readBytes(archive);
        if (bytes != "an earlier archive") {
            QStringList names;
            QVERIFY(listCabinet(archive, &names).ok);
            QCOMPARE(names.size(), 16);
            QTemporaryDir out;
            QVERIFY(extractCabinet(archive, out.path()).ok);
        }
    }
}

QTEST_GUILESS_MAIN(TestInterruptions)
#include "tst_interruptions.moc"
