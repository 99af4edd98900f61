// Kills backups, restores, compactions and update scripts at random moments
// and checks that the booklets are then wholly those of before or wholly
// those of after, never a mix and never nothing. TAVIRUNE_KILL_TRIALS sets
// how many trials each operation gets (8 by default, 30 for the update
// scripts; run 50 or more by hand).
#include "BookletFolders.h"
#include "DyingRestore.h"
#include "TestText.h"

#include "db/Connection.h"
#include "db/Schema.h"
#include "maintenance/BackupArchive.h"
#include "maintenance/Compaction.h"
#include "maintenance/Leftovers.h"
#include "maintenance/UpdateScript.h"
#include "media/Cabinet.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <functional>
#include <sys/stat.h>
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

int trials(int byDefault = 8)
{
    const int n = qEnvironmentVariableIntValue("TAVIRUNE_KILL_TRIALS");
    return n > 0 ? n : byDefault;
}

// Tells one file from another of the same name: a swap gives a new one.
quint64 fileIdentity(const QString& path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? quint64(info.st_ino) : 0;
}

// Runs work in a child process killed after `afterMicroseconds`.
void killedAfter(int afterMicroseconds, const std::function<void()>& work)
{
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    // A child that ends first is not waited for any longer.
    QElapsedTimer timer;
    timer.start();
    int status = 0;
    while (timer.nsecsElapsed() / 1000 < afterMicroseconds) {
        if (waitpid(child, &status, WNOHANG) == child)
            return;
        usleep(500);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
}

// Runs work in a child process to its end; the microseconds it took.
qint64 timedInChild(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return timer.nsecsElapsed() / 1000;
}

// The booklet a safety archive holds, read as Booklets::state() reads one.
State safetyState(const QString& archive)
{
    QTemporaryDir out;
    if (!extractCabinet(archive, out.path()).ok)
        return {{QStringLiteral("<no archive>")}, {}};
    State s;
    try {
        Connection c;
        c.open(out.filePath(QStringLiteral("TAVIRUNE.MDB")));
        c.forEachRow(QStringLiteral("SELECT Name FROM ANIMAL ORDER BY Id"),
                     [&s](const QVariantList& r) { s.names << r.at(0).toString(); });
    } catch (...) {
        return {{QStringLiteral("<unreadable>")}, {}};
    }
    for (const QString& name : QDir(out.path()).entryList({QStringLiteral("*.jpg")}))
        s.pictures.insert(name, readBytes(out.filePath(name)));
    return s;
}

// A booklet whose update moves pictures out of the database, adds a column
// and compacts the file, with attached files the update must not touch.
struct UpdatedBooklets : Booklets
{
    QMap<QString, QByteArray> pictures; // by the file each one goes to
    QMap<QString, QByteArray> attached;
    QStringList names;

    UpdatedBooklets()
    {
        fill(QStringLiteral("animal "), 100, 0);
        Connection c;
        c.open(files.databaseFile);
        c.beginTransaction();
        for (int id = 1; id <= 40; ++id) {
            const QByteArray bytes = QByteArray("jpeg ") + QByteArray::number(id);
            pictures.insert(QStringLiteral("Animal%1.jpg").arg(id), bytes.repeated(800));
            c.exec(QStringLiteral("UPDATE ANIMAL SET Img1=? WHERE Id=?"),
                   {bytes.repeated(800), id});
        }
        c.commit();
        c.forEachRow(QStringLiteral("SELECT Name FROM ANIMAL ORDER BY Id"),
                     [this](const QVariantList& r) { names << r.at(0).toString(); });
        for (int i = 1; i <= 5; ++i) {
            const QString name = QStringLiteral("File%1.f").arg(i);
            attached.insert(name, noise(20000, quint32(i)));
            writeBytes(files.filesFolder + QLatin1Char('/') + name, attached.value(name));
        }
    }
    QString dataFolder() const { return root.path() + QLatin1Char('/'); }
    QString script() const { return dataFolder() + QStringLiteral("BD_113.maj"); }
    void writeScript() const
    {
        writeBytes(script(), "// Version 1.13\r\n"
                             "NotFieldExists(ANIMAL.Tattoo)\r\n"
                             "SqlExe{ALTER TABLE ANIMAL ADD COLUMN Tattoo TEXT(50)}\r\n"
                             "END\r\n"
                             "ExtractJpegImage('ANIMAL','Img1','Animal')\r\n"
                             "SqlExe{UPDATE ANIMAL SET Tattoo='T' & Id}\r\n"
                             "CompactDataBase(TAVIRUNE.MDB)\r\n");
    }
    // The run the start makes: the user accepts the copy before it.
    bool runUpdate() const
    {
        Connection c;
        c.open(files.databaseFile);
        UpdateScriptContext context;
        context.connection = &c;
        context.dataFolder = dataFolder();
        context.programFolder = dataFolder();
        context.databaseFolder = root.filePath(QStringLiteral("Data/"));
        context.askBackup = []() {
            return true;
        };
        return runUpdateScript(context, script(), true).ok;
    }
    // Files that no finished operation leaves, once the next start has
    // dealt with what it finds.
    QStringList temporaryFiles() const
    {
        QStringList found;
        const auto unexpected = [&found](const QString& folder, const QStringList& allowed) {
            for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
                if (!QDir::match(allowed, name))
                    found << folder + QLatin1Char('/') + name;
        };
        // The engine's own journal of the live database may stay empty
        // until its next write; only the engine may remove it.
        unexpected(QFileInfo(files.databaseFile).absolutePath(),
                   {QStringLiteral("TAVIRUNE.MDB"), QStringLiteral("TAVIRUNE.MDB-journal")});
        unexpected(files.imagesFolder, {QStringLiteral("Animal*.jpg")});
        unexpected(files.filesFolder, {QStringLiteral("File*.f")});
        unexpected(files.workFolder, {});
        unexpected(files.workFolder + QStringLiteral("/Maj"),
                   {QStringLiteral("TAVIRUNE_ACCESS_BACKUP_MAJ_*.bkp")});
        unexpected(dataFolder(), {QStringLiteral("BD_113.maj"), QStringLiteral("Maj.Log")});
        return found;
    }
};

} // namespace

class TestInterruptions : public QObject
{
    Q_OBJECT
private slots:
    void aKilledUpdateLosesNoPictureAndLeavesNoTemporaryFile();
    void aKilledRestoreLeavesBeforeOrAfter();
    void aRestoreKilledWhilePackingItsSafetyArchiveKeepsTodaysBooklet();
    void aRestoreCutBeforeItsLastRenameIsUndoneWhateverTheFolderNames();
    void aJournalOfTheEarlierFormatIsStillUndone();
    void aKilledCompactionLeavesTheDatabaseWhole();
    void aKilledBackupLeavesTheBookletsAndNoBrokenArchive();
};

void TestInterruptions::aKilledUpdateLosesNoPictureAndLeavesNoTemporaryFile()
{
    // How long a whole run takes here, so that the kills fall all along it.
    qint64 whole = 0;
    {
        UpdatedBooklets b;
        b.writeScript();
        whole = timedInChild([&b]() { b.runUpdate(); });
        QVERIFY(!QFile::exists(b.script()));
    }
    QRandomGenerator random(1113);
    int beforeSwap = 0;
    int afterSwap = 0;
    int finished = 0;
    int leftFiles = 0;
    for (int trial = 0; trial < trials(30); ++trial) {
        UpdatedBooklets b;
        b.writeScript();
        const quint64 original = fileIdentity(b.files.databaseFile);
        killedAfter(int(random.bounded(2 * whole)), [&b]() { b.runUpdate(); });
        // What the next start does first.
        if (!clearLeftovers(b.files).isEmpty())
            ++leftFiles;
        const QString where = QStringLiteral("trial %1").arg(trial);
        QCOMPARE(b.state().names, b.names);
        (fileIdentity(b.files.databaseFile) == original ? beforeSwap : afterSwap)++;
        if (!QFile::exists(b.script()))
            ++finished;

        // Every picture is in the database or whole in its file.
        Connection c;
        c.open(b.files.databaseFile);
        c.forEachRow(QStringLiteral("SELECT Id, Img1 FROM ANIMAL WHERE Id <= 40"),
                     [&b, &where](const QVariantList& r) {
                         const QString name = QStringLiteral("Animal%1.jpg").arg(r.at(0).toInt());
                         const QByteArray file =
                             readBytes(b.files.imagesFolder + QLatin1Char('/') + name);
                         QVERIFY2(r.at(1).toByteArray() == b.pictures.value(name) ||
                                      file == b.pictures.value(name),
                                  qPrintable(where + QLatin1Char(' ') + name));
                     });
        for (const QString& name : QDir(b.files.imagesFolder).entryList(QDir::Files))
            QVERIFY2(readBytes(b.files.imagesFolder + QLatin1Char('/') + name) ==
                         b.pictures.value(name),
                     qPrintable(where + QLatin1Char(' ') + name));
        for (auto it = b.attached.cbegin(); it != b.attached.cend(); ++it)
            QCOMPARE(readBytes(b.files.filesFolder + QLatin1Char('/') + it.key()), it.value());
        c.close();
        QVERIFY2(b.temporaryFiles().isEmpty(),
                 qPrintable(where + QLatin1Char(' ') + b.temporaryFiles().join(QLatin1Char(' '))));
        // Every copy taken before the update is a whole database.
        const QString maj = b.files.workFolder + QStringLiteral("/Maj");
        for (const QString& name : QDir(maj).entryList(QDir::Files)) {
            Connection copy;
            copy.open(maj + QLatin1Char('/') + name);
            QCOMPARE(copy.scalar(QStringLiteral("PRAGMA integrity_check")).toString(),
                     QStringLiteral("ok"));
        }
    }
    qInfo("update: %d trials ended before the swap, %d after (%d of them at the end of the run; "
          "%d left files that the next start cleared; a whole run: %lld ms)",
          beforeSwap, afterSwap, finished, leftFiles, whole / 1000);
}

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
            return restoreBackupArchive(b.files, archive,
                                        b.root.filePath(QStringLiteral("safety.bkp")))
                .ok;
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
        // Once replaced, today's booklet is in a whole safety archive.
        if (now == after)
            QCOMPARE(safetyState(b.root.filePath(QStringLiteral("safety.bkp"))), before);
        QVERIFY(QDir(b.files.workFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
        QCOMPARE(QDir(b.root.filePath(QStringLiteral("Data")))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 strings({"Access", "Files", "Images"}));
    }
    qInfo("restore: %d trials ended before, %d after", sawBefore, sawAfter);
}

void TestInterruptions::aRestoreKilledWhilePackingItsSafetyArchiveKeepsTodaysBooklet()
{
    // Killed at each step of the late packing: before the first entry, in
    // the middle, while verifying, and once the archive is in place but
    // the set-aside files not yet deleted.
    const QStringList killPoints = {QStringLiteral("Compression : Doc0.jpg"),
                                    QStringLiteral("Compression : Doc9.jpg"),
                                    u("Vérification de la sauvegarde"), QString()};
    for (const QString& killPoint : killPoints) {
        Booklets b;
        b.fill(QStringLiteral("archive "), 50, 12);
        const State after = b.state();
        const QString archive = b.root.filePath(QStringLiteral("archive.bkp"));
        QVERIFY(writeBackupArchive(b.files, archive).ok);
        b.fill(QStringLiteral("today "), 30, 20);
        const State before = b.state();
        const QString safety = b.root.filePath(QStringLiteral("safety.bkp"));

        const pid_t child = fork();
        if (child == 0) {
            SetAsideBooklet aside;
            if (!restoreBackupArchive(b.files, archive, safety, {}, {}, &aside).ok)
                _exit(1);
            const MaintenanceResult packed =
                packSetAsideBooklet(aside, [&killPoint](const QString& task, int, int) {
                    if (task == killPoint)
                        _exit(0);
                });
            // Reaching the end means the kill point was never met.
            _exit(packed.ok ? 2 : 3);
        }
        int status = 0;
        waitpid(child, &status, 0);
        const QString where = QStringLiteral("killed at \"%1\"").arg(killPoint);
        QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, qPrintable(where));

        // The restored booklet is in place and opens; today's is kept aside.
        QVERIFY2(b.state() == after, qPrintable(where));
        const QVector<SetAsideBooklet> pending = pendingSetAsideBooklets(b.files);
        QCOMPARE(pending.size(), 1);
        QCOMPARE(pending.first().archive, safety);
        QCOMPARE(QDir(pending.first().folder).entryList({QStringLiteral("*.jpg")}).size(), 20);
        QVERIFY(QFileInfo::exists(pending.first().folder + QStringLiteral("/TAVIRUNE.MDB")));

        // The next start completes the archive, then lets the files go.
        QVERIFY(recoverInterruptedRestore(b.files).ok);
        QVERIFY2(safetyState(safety) == before, qPrintable(where));
        QVERIFY(b.state() == after);
        QVERIFY(pendingSetAsideBooklets(b.files).isEmpty());
        QCOMPARE(QDir(b.root.filePath(QStringLiteral("Data")))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 strings({"Access", "Files", "Images"}));
    }
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
    QVERIFY2(restoreDiesBeforeItsLastRename(b.files, archive,
                                            b.root.filePath(QStringLiteral("safety.bkp"))),
             "the restore ran to its end");

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
                    [&b]() { return compactDatabaseInPlace(b.files.databaseFile).ok; });
        QCOMPARE(b.state(), before);
        // A copy cut short may stay beside the database, never instead of
        // it, and the next start clears the way for the next compaction.
        clearLeftovers(b.files);
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
                    [&b, &archive]() { return writeBackupArchive(b.files, archive).ok; });
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
