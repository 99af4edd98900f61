#include "BookletFolders.h"
#include "TestText.h"

#include "core/Clock.h"
#include "db/Connection.h"
#include "db/Schema.h"
#include "maintenance/BackupArchive.h"
#include "media/Cabinet.h"
#include "media/CabinetWriter.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tav;

namespace {

// A data folder as the program lays it out, with one animal.
struct Booklets : BookletFolders
{
    Booklets()
    {
        tav::Connection c;
        c.open(files.databaseFile);
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES (?)"), {u("Médor")});
    }
    QString image(const QString& name) const
    {
        return files.imagesFolder + QLatin1Char('/') + name;
    }
    QString attached(const QString& name) const
    {
        return files.filesFolder + QLatin1Char('/') + name;
    }
    // What lies beside the database's folder: nothing but its own folders
    // once an operation has ended.
    QStringList dataFolderEntries() const
    {
        return QDir(root.filePath(QStringLiteral("Data")))
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    QStringList names() const
    {
        Connection c;
        c.open(files.databaseFile);
        QStringList out;
        c.forEachRow(QStringLiteral("SELECT Name FROM ANIMAL ORDER BY Id"),
                     [&out](const QVariantList& r) { out << r.at(0).toString(); });
        return out;
    }
};

} // namespace

class TestBackupArchive : public QObject
{
    Q_OBJECT
private slots:
    void backupHoldsTheDatabaseThenPicturesThenFiles();
    void backupWithoutPicturesHoldsOneEntry();
    void restoreBringsBackTheArchiveAndKeepsTodayAside();
    void aLatePackedSafetyArchiveKeepsTodayAsideUntilItIsWhole();
    void aFullDiskNeverTouchesTheBooklets();
    void aBackupFolderOnAnotherFileSystemStillRestores();
    void archivesThatCannotServeChangeNothing_data();
    void archivesThatCannotServeChangeNothing();
};

void TestBackupArchive::backupHoldsTheDatabaseThenPicturesThenFiles()
{
    Booklets b;
    QVERIFY(writeBytes(b.image(QStringLiteral("Doc1.jpg")), "doc"));
    QVERIFY(writeBytes(b.image(QStringLiteral("Animal1.jpg")), "photo"));
    QVERIFY(writeBytes(b.image(QStringLiteral("Temp.bmp")), "not saved"));
    QVERIFY(writeBytes(b.attached(QStringLiteral("File3.f")), "cab"));
    const QString archive =
        b.files.workFolder + QStringLiteral("/TAVIRUNE_ACCESS_BACKUP_09_12_2026.bkp");
    QStringList tasks;
    const MaintenanceResult r = writeBackupArchive(
        b.files, archive, [&tasks](const QString& task, int, int) { tasks << task; });
    QVERIFY2(r.ok, qPrintable(r.error));
    QStringList entries;
    QVERIFY(listCabinet(archive, &entries).ok);
    QCOMPARE(entries, strings({"TAVIRUNE.MDB", "Animal1.jpg", "Doc1.jpg", "File3.f"}));
    QVERIFY(tasks.contains(QStringLiteral("Compression : Doc1.jpg")));
    QVERIFY(!QFile::exists(QFileInfo(b.files.databaseFile).absolutePath() +
                           QStringLiteral("/TAVIRUNE~.MDB")));
}

void TestBackupArchive::backupWithoutPicturesHoldsOneEntry()
{
    Booklets b;
    const QString archive = b.files.workFolder + QStringLiteral("/a.bkp");
    QVERIFY(writeBackupArchive(b.files, archive).ok);
    QStringList entries;
    QVERIFY(listCabinet(archive, &entries).ok);
    QCOMPARE(entries, strings({"TAVIRUNE.MDB"}));
}

void TestBackupArchive::restoreBringsBackTheArchiveAndKeepsTodayAside()
{
    Booklets b;
    QVERIFY(writeBytes(b.image(QStringLiteral("Doc1.jpg")), "doc of then"));
    QVERIFY(writeBytes(b.attached(QStringLiteral("File3.f")), "file of then"));
    const QString archive = b.files.workFolder + QStringLiteral("/then.bkp");
    QVERIFY(writeBackupArchive(b.files, archive).ok);

    // What happens after the backup.
    {
        Connection c;
        c.open(b.files.databaseFile);
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Minette')"));
    }
    QVERIFY(writeBytes(b.image(QStringLiteral("Doc1.jpg")), "doc of now"));
    QVERIFY(writeBytes(b.image(QStringLiteral("Doc2.jpg")), "new doc"));
    QVERIFY(writeBytes(b.image(QStringLiteral("Temp.bmp")), "working picture"));
    QFile::remove(b.attached(QStringLiteral("File3.f")));

    const QString safety = b.files.workFolder + QStringLiteral("/avant-restauration.bkp");
    const MaintenanceResult r = restoreBackupArchive(b.files, archive, safety);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(b.names(), strings({"Médor"}));
    QCOMPARE(readBytes(b.image(QStringLiteral("Doc1.jpg"))), QByteArray("doc of then"));
    QVERIFY(!QFile::exists(b.image(QStringLiteral("Doc2.jpg"))));
    QCOMPARE(readBytes(b.attached(QStringLiteral("File3.f"))), QByteArray("file of then"));
    // Files the backup never held stay where they are.
    QCOMPARE(readBytes(b.image(QStringLiteral("Temp.bmp"))), QByteArray("working picture"));
    // The working folder holds the archives and nothing else.
    QCOMPARE(QDir(b.files.workFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             strings({"avant-restauration.bkp", "then.bkp"}));
    QCOMPARE(b.dataFolderEntries(), strings({"Access", "Files", "Images"}));

    // Today's data went into the safety archive: restoring it brings it back.
    QVERIFY(
        restoreBackupArchive(b.files, safety, b.files.workFolder + QStringLiteral("/x.bkp")).ok);
    QCOMPARE(b.names(), strings({"Médor", "Minette"}));
    QCOMPARE(readBytes(b.image(QStringLiteral("Doc2.jpg"))), QByteArray("new doc"));
    QVERIFY(!QFile::exists(b.attached(QStringLiteral("File3.f"))));
}

void TestBackupArchive::aLatePackedSafetyArchiveKeepsTodayAsideUntilItIsWhole()
{
    Booklets b;
    QVERIFY(writeBytes(b.image(QStringLiteral("Doc1.jpg")), "doc of then"));
    const QString archive = b.files.workFolder + QStringLiteral("/then.bkp");
    QVERIFY(writeBackupArchive(b.files, archive).ok);
    {
        Connection c;
        c.open(b.files.databaseFile);
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Minette')"));
    }
    QVERIFY(writeBytes(b.image(QStringLiteral("Doc1.jpg")), "doc of now"));
    QVERIFY(writeBytes(b.attached(QStringLiteral("File3.f")), "file of now"));

    // The restored booklet is in place before anything is packed.
    const QString safety = b.files.workFolder + QStringLiteral("/avant.bkp");
    SetAsideBooklet aside;
    const MaintenanceResult r = restoreBackupArchive(b.files, archive, safety, {}, {}, &aside);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(b.names(), strings({"Médor"}));
    QCOMPARE(readBytes(b.image(QStringLiteral("Doc1.jpg"))), QByteArray("doc of then"));
    QVERIFY(!QFileInfo::exists(b.attached(QStringLiteral("File3.f"))));
    QVERIFY(!QFileInfo::exists(safety));
    QCOMPARE(aside.archive, safety);
    QCOMPARE(readBytes(aside.folder + QStringLiteral("/Doc1.jpg")), QByteArray("doc of now"));

    // An archive that cannot be written: the files stay, and the message
    // says where.
    const SetAsideBooklet nowhere{aside.folder, b.root.filePath(QStringLiteral("absent/x.bkp"))};
    const MaintenanceResult failed = packSetAsideBooklet(nowhere);
    QVERIFY(!failed.ok);
    QVERIFY2(failed.error.contains(aside.folder), qPrintable(failed.error));
    QCOMPARE(readBytes(aside.folder + QStringLiteral("/Doc1.jpg")), QByteArray("doc of now"));
    QCOMPARE(readBytes(aside.folder + QStringLiteral("/File3.f")), QByteArray("file of now"));
    QCOMPARE(pendingSetAsideBooklets(b.files).size(), 1);

    // A caller that does not pack later: a safety archive that cannot be
    // written changes nothing.
    const QString unwritable = b.root.filePath(QStringLiteral("absent/y.bkp"));
    QVERIFY(!restoreBackupArchive(b.files, archive, unwritable).ok);
    QCOMPARE(b.names(), strings({"Médor"}));
    QCOMPARE(readBytes(b.image(QStringLiteral("Doc1.jpg"))), QByteArray("doc of then"));
    QCOMPARE(pendingSetAsideBooklets(b.files).size(), 1);

    // Packed where it belongs: the archive is whole, then the files go.
    QVERIFY(packSetAsideBooklet(aside).ok);
    QVERIFY(!QFileInfo::exists(aside.folder));
    QCOMPARE(b.dataFolderEntries(), strings({"Access", "Files", "Images"}));
    QVERIFY(pendingSetAsideBooklets(b.files).isEmpty());
    QVERIFY(
        restoreBackupArchive(b.files, safety, b.files.workFolder + QStringLiteral("/x.bkp")).ok);
    QCOMPARE(b.names(), strings({"Médor", "Minette"}));
    QCOMPARE(readBytes(b.image(QStringLiteral("Doc1.jpg"))), QByteArray("doc of now"));
    QCOMPARE(readBytes(b.attached(QStringLiteral("File3.f"))), QByteArray("file of now"));
}

namespace {

// Runs work in a child process that may write only `limit` bytes to any
// file, as on a full disk; true when the work reported a failure.
bool failsOnAFullDisk(rlim_t limit, const std::function<bool()>& work)
{
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit l{limit, limit};
        setrlimit(RLIMIT_FSIZE, &l);
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

QByteArray noiseOf(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 x = 2463534242u;
    for (char& b : bytes) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = char(x);
    }
    return bytes;
}

} // namespace

void TestBackupArchive::aFullDiskNeverTouchesTheBooklets()
{
    Booklets b;
    QVERIFY(writeBytes(b.image(QStringLiteral("Doc1.jpg")), noiseOf(900000)));
    const QString archive = b.files.workFolder + QStringLiteral("/a.bkp");
    QVERIFY(writeBytes(archive, "an earlier archive"));
    // The database is small enough to be compacted, the picture too large
    // to be packed.
    QVERIFY(failsOnAFullDisk(
        500000, [&b, &archive]() { return !writeBackupArchive(b.files, archive).ok; }));
    QCOMPARE(b.names(), strings({"Médor"}));
    QCOMPARE(readBytes(b.image(QStringLiteral("Doc1.jpg"))), noiseOf(900000));
    QCOMPARE(readBytes(archive), QByteArray("an earlier archive"));
    QCOMPARE(QDir(b.files.workFolder).entryList(QDir::Files), strings({"a.bkp"}));

    // A restore that cannot unpack the archive changes nothing either.
    QFile::remove(archive);
    QVERIFY(writeBackupArchive(b.files, archive).ok);
    {
        Connection c;
        c.open(b.files.databaseFile);
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Minette')"));
    }
    const QByteArray database = readBytes(b.files.databaseFile);
    QVERIFY(failsOnAFullDisk(500000, [&b, &archive]() {
        return !restoreBackupArchive(b.files, archive,
                                     b.files.workFolder + QStringLiteral("/avant.bkp"))
                    .ok;
    }));
    QCOMPARE(readBytes(b.files.databaseFile), database);
    QCOMPARE(readBytes(b.image(QStringLiteral("Doc1.jpg"))), noiseOf(900000));
    QCOMPARE(QDir(b.files.workFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             strings({"a.bkp"}));
}

void TestBackupArchive::aBackupFolderOnAnotherFileSystemStillRestores()
{
    Booklets b;
    // Memory-backed on most systems, while temporary folders are on disk.
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/tavirune-XXXXXX"));
    struct stat data = {};
    struct stat backup = {};
    if (!elsewhere.isValid() || stat(QFile::encodeName(b.root.path()).constData(), &data) != 0 ||
        stat(QFile::encodeName(elsewhere.path()).constData(), &backup) != 0 ||
        data.st_dev == backup.st_dev)
        QSKIP("no second file system beside the temporary folder: /dev/shm is missing or on "
              "the same one");
    b.files.workFolder = elsewhere.path();
    QVERIFY(writeBytes(b.image(QStringLiteral("Doc1.jpg")), "doc of then"));
    const QString archive = elsewhere.filePath(QStringLiteral("then.bkp"));
    QVERIFY(writeBackupArchive(b.files, archive).ok);
    {
        Connection c;
        c.open(b.files.databaseFile);
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Minette')"));
    }
    QVERIFY(writeBytes(b.image(QStringLiteral("Doc1.jpg")), "doc of now"));

    const MaintenanceResult r =
        restoreBackupArchive(b.files, archive, elsewhere.filePath(QStringLiteral("avant.bkp")));
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(b.names(), strings({"Médor"}));
    QCOMPARE(readBytes(b.image(QStringLiteral("Doc1.jpg"))), QByteArray("doc of then"));
    QCOMPARE(QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             strings({"avant.bkp", "then.bkp"}));
    QCOMPARE(b.dataFolderEntries(), strings({"Access", "Files", "Images"}));
}

void TestBackupArchive::archivesThatCannotServeChangeNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("not a cabinet") << QStringLiteral("noise");
    QTest::newRow("no database") << QStringLiteral("pictures only");
    QTest::newRow("database that is not one") << QStringLiteral("fake database");
    QTest::newRow("another program's database") << QStringLiteral("foreign database");
    QTest::newRow("Windows Access database") << QStringLiteral("access database");
    QTest::newRow("truncated cabinet") << QStringLiteral("truncated");
    QTest::newRow("twice the same name") << QStringLiteral("duplicate");
    QTest::newRow("ten thousand entries, no usable database") << QStringLiteral("many");
    QTest::newRow("a line break in a name") << QStringLiteral("line break");
    QTest::newRow("only an animal table") << QStringLiteral("animal only");
    QTest::newRow("every table, no readable version") << QStringLiteral("no version");
    QTest::newRow("a booklet that lost a table") << QStringLiteral("no action table");
}

void TestBackupArchive::archivesThatCannotServeChangeNothing()
{
    QFETCH(QString, kind);
    Booklets b;
    QVERIFY(writeBytes(b.image(QStringLiteral("Doc1.jpg")), "today"));
    QByteArray database = readBytes(b.files.databaseFile);

    QTemporaryDir other;
    const QString archive = other.filePath(QStringLiteral("bad.bkp"));
    const QString picture = other.filePath(QStringLiteral("Doc1.jpg"));
    QVERIFY(writeBytes(picture, "from the archive"));
    const QString fake = other.filePath(QStringLiteral("TAVIRUNE.MDB"));
    if (kind == QLatin1String("noise")) {
        QVERIFY(writeBytes(archive, "PK\x03\x04 not a cabinet"));
    } else if (kind == QLatin1String("many")) {
        QVERIFY(writeBytes(fake, "this is not a database"));
        QVector<CabinetEntry> entries{{QStringLiteral("TAVIRUNE.MDB"), fake}};
        for (int i = 0; i < 10000; ++i) {
            const QString name = QStringLiteral("Doc%1.jpg").arg(i);
            QVERIFY(writeBytes(other.filePath(name), QByteArray::number(i)));
            entries.append({name, other.filePath(name), false});
        }
        QVERIFY(writeCabinet(archive, entries).ok);
    } else if (kind == QLatin1String("line break")) {
        // A sound booklet, but a name that no archive of this program holds.
        QVERIFY(QFile::copy(b.files.databaseFile, fake));
        QVERIFY(writeCabinetFile(archive,
                                 {{QStringLiteral("TAVIRUNE.MDB"), fake},
                                  {QStringLiteral("Doc1.jpg\nDoc2.jpg"), picture, false}},
                                 {}, CabinetLayout())
                    .ok);
    } else if (kind == QLatin1String("pictures only")) {
        QVERIFY(writeCabinet(archive, {{QStringLiteral("Doc1.jpg"), picture}}).ok);
    } else if (kind == QLatin1String("truncated") || kind == QLatin1String("duplicate")) {
        // A good backup of the booklets, damaged afterwards.
        QVERIFY(writeBytes(b.image(QStringLiteral("Doc2.jpg")), QByteArray(200000, 'p')));
        const QString good = other.filePath(QStringLiteral("good.bkp"));
        QVERIFY(writeBackupArchive(b.files, good).ok);
        QFile::remove(b.image(QStringLiteral("Doc2.jpg")));
        database = readBytes(b.files.databaseFile);
        QByteArray bytes = readBytes(good);
        if (kind == QLatin1String("truncated")) {
            bytes.truncate(bytes.size() * 2 / 3);
        } else {
            const int at = int(bytes.indexOf("Doc2.jpg"));
            QVERIFY(at > 0);
            bytes.replace(at, 8, "Doc1.jpg");
        }
        QVERIFY(writeBytes(archive, bytes));
    } else {
        if (kind == QLatin1String("fake database")) {
            QVERIFY(writeBytes(fake, "this is not a database"));
        } else if (kind == QLatin1String("access database")) {
            QVERIFY(writeBytes(fake, QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) +
                                         QByteArray(4000, '\0')));
        } else if (kind == QLatin1String("animal only")) {
            Connection c;
            c.open(fake, true);
            c.exec(QStringLiteral("CREATE TABLE ANIMAL (Id INTEGER, Name TEXT)"));
        } else if (kind == QLatin1String("no action table")) {
            QVERIFY(QFile::copy(b.files.databaseFile, fake));
            Connection c;
            c.open(fake);
            c.exec(QStringLiteral("DROP TABLE ACTION"));
        } else if (kind == QLatin1String("no version")) {
            // The version kept in a column of another name.
            QVERIFY(QFile::copy(b.files.databaseFile, fake));
            Connection c;
            c.open(fake);
            c.execScript(QStringLiteral("ALTER TABLE OBJECT_VAL_STR RENAME COLUMN VALUE TO VAL"));
        } else {
            Connection c;
            c.open(fake, true);
            c.exec(QStringLiteral("CREATE TABLE CLIENTS (Id INTEGER)"));
        }
        QVERIFY(writeCabinet(archive, {{QStringLiteral("TAVIRUNE.MDB"), fake},
                                       {QStringLiteral("Doc1.jpg"), picture}})
                    .ok);
    }
    const QString safety = b.files.workFolder + QStringLiteral("/avant.bkp");
    const MaintenanceResult r = restoreBackupArchive(b.files, archive, safety);
    QVERIFY(!r.ok);
    QVERIFY(!r.error.isEmpty());
    if (kind == QLatin1String("access database"))
        QVERIFY2(r.error.contains(QStringLiteral("Microsoft Access")), qPrintable(r.error));
    // Said as the start-up would say it at the next start.
    if (kind == QLatin1String("animal only"))
        QVERIFY2(r.error.contains(QStringLiteral("n'est pas une base de données de carnets de "
                                                 "santé : table(s) ANIMAL_SPECIES, ANIMAL_BREED "
                                                 "absente(s).")),
                 qPrintable(r.error));
    if (kind == QLatin1String("no action table"))
        QVERIFY2(r.error.contains(QStringLiteral("est incomplète : table(s) ACTION absente(s).")),
                 qPrintable(r.error));
    QCOMPARE(readBytes(b.files.databaseFile), database);
    QCOMPARE(readBytes(b.image(QStringLiteral("Doc1.jpg"))), QByteArray("today"));
    QVERIFY(QDir(b.files.workFolder).isEmpty());
    QCOMPARE(b.dataFolderEntries(), strings({"Access", "Files", "Images"}));
}

QTEST_GUILESS_MAIN(TestBackupArchive)
#include "tst_backuparchive.moc"
