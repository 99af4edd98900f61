#include "BookletFolders.h"
#include "JetBooklet.h"
#include "TestText.h"
#include "core/Clock.h"
#include "db/DbError.h"
#include "media/Cabinet.h"
#include "migration/JetImportRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

using namespace tav;
using namespace tav::test;

namespace {

// Waits until no process of this machine names the folder on its command
// line: a killed import's converting child dies with it, but a loaded
// machine may take a moment to end it, and the next start comes after.
bool waitUntilNoProcessNames(const QString& folder)
{
    const QByteArray needle = folder.toLocal8Bit();
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 10000) {
        bool found = false;
        const QStringList pids =
            QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[0-9]*")}, QDir::Dirs);
        for (const QString& pid : pids) {
            QFile cmdline(QStringLiteral("/proc/") + pid + QStringLiteral("/cmdline"));
            if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(needle)) {
                found = true;
                break;
            }
        }
        if (!found)
            return true;
        QThread::msleep(20);
    }
    return false;
}

QString program()
{
    return programExecutable(qEnvironmentVariable("TAVIRUNE_PROGRAM_DIR"));
}

// Today's booklet: one animal and its photo.
struct TodaysBooklet : BookletFolders
{
    TodaysBooklet()
    {
        Connection c;
        c.open(files.databaseFile);
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES (?)"), {u("Rex")});
        writeBytes(files.imagesFolder + QStringLiteral("/Animal1.jpg"), "ancienne photo");
        writeBytes(files.filesFolder + QStringLiteral("/File1.f"), "ancien fichier");
    }

    // The animals, the pictures and files with their bytes, and whatever
    // the work folder holds besides archives.
    QString state() const
    {
        QStringList out;
        try {
            Connection c;
            c.open(files.databaseFile);
            out << c.scalar(QStringLiteral("PRAGMA integrity_check")).toString();
            c.forEachRow(QStringLiteral("SELECT Name FROM ANIMAL ORDER BY Id"),
                         [&out](const QVariantList& r) { out << r.value(0).toString(); });
        } catch (const DbError& e) {
            out << e.message();
        }
        for (const QString& folder : {files.imagesFolder, files.filesFolder})
            for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name))
                out << name + QLatin1Char('=') +
                           QString::fromLatin1(
                               readBytes(folder + QLatin1Char('/') + name).toHex().left(40));
        return out.join(QLatin1Char('|'));
    }

    QStringList leftovers() const
    {
        return QDir(files.workFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    }

    QString safety() const { return files.workFolder + QStringLiteral("/avant-import.bkp"); }

    MaintenanceResult import(const QString& source, JetImportResult* r = nullptr,
                             const JetImportProgress& progress = {})
    {
        QFile::remove(safety());
        return importJetBooklet(files, source, program(), safety(), progress, r);
    }
};

QString writeTo(const QString& path, const QByteArray& bytes)
{
    writeBytes(path, bytes);
    return path;
}

} // namespace

class TestJetImportRun : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(QFileInfo(program()).isExecutable(), qPrintable(program())); }

    // The import replaces today's booklet whole, keeps it in the safety
    // archive, and writes its report beside the database.
    void importReplacesTodaysBookletKeepingItAside()
    {
        TodaysBooklet b;
        QTemporaryDir dir;
        const QString mdb = writeSampleBooklet(dir.filePath(QStringLiteral("windows")));
        JetImportResult r;
        const MaintenanceResult done = b.import(mdb, &r);
        QVERIFY2(done.ok, qPrintable(done.error));
        QVERIFY(r.ok);
        const QString state = b.state();
        QVERIFY2(state.startsWith(u("ok|Médor|Zoé|Œdipe|Animal1.jpg=ffd8")), qPrintable(state));
        QVERIFY2(state.contains(QStringLiteral("Doc5.jpg=")), qPrintable(state));
        QVERIFY2(state.contains(QStringLiteral("File6.f=")), qPrintable(state));
        QVERIFY2(!state.contains(QStringLiteral("File1.f")), qPrintable(state));
        QStringList kept;
        QVERIFY(listCabinet(b.safety(), &kept).ok);
        QCOMPARE(kept, QStringList({QStringLiteral("TAVIRUNE.MDB"), QStringLiteral("Animal1.jpg"),
                                    QStringLiteral("File1.f")}));
        const QString log = QString::fromUtf8(readBytes(
            QFileInfo(b.files.databaseFile).absolutePath() + QStringLiteral("/Importation.log")));
        QVERIFY2(log.contains(u("Animaux : 3")), qPrintable(log));
        QVERIFY2(log.contains(u("File8.f absent du dossier Files")), qPrintable(log));
        QCOMPARE(b.leftovers(), QStringList());
    }

    // Every failure, a cancel and a crashing child leave today's booklet as
    // it was, say why in French and leave no folder behind.
    void failuresLeaveTodaysBookletWhole()
    {
        TodaysBooklet b;
        const QString before = b.state();
        QTemporaryDir dir;
        const QString mdb = writeSampleBooklet(dir.filePath(QStringLiteral("windows")));
        const QByteArray good = readBytes(mdb);
        JetWriteTable other;
        other.name = QStringLiteral("CLIENTS");
        other.columns = {{QStringLiteral("Nom"), JetColumnType::Text, 50}};
        QString error;
        QVERIFY(writeJetFile(dir.filePath(QStringLiteral("clients.mdb")), {other}, &error));
        QByteArray ace = good;
        ace.replace(4, 15, "Standard ACE DB");
        QByteArray locked = good;
        locked[0x43] = char(locked.at(0x43) ^ 0x21);
        const struct
        {
            QString source;
            const char* expected;
        } cases[] = {
            {writeTo(dir.filePath(QStringLiteral("vide.mdb")), QByteArray()), "vide"},
            {writeTo(dir.filePath(QStringLiteral("coupe.mdb")), good.left(good.size() / 2)),
             "endommagé"},
            {writeTo(dir.filePath(QStringLiteral("nouveau.accdb")), ace), ".accdb"},
            {writeTo(dir.filePath(QStringLiteral("secret.mdb")), locked), "mot de passe"},
            {dir.filePath(QStringLiteral("clients.mdb")), "n'est pas un carnet"},
            {dir.filePath(QStringLiteral("absent.mdb")), "introuvable"},
        };
        for (const auto& c : cases) {
            JetImportResult r;
            const MaintenanceResult done = b.import(c.source, &r);
            QVERIFY2(!done.ok, qPrintable(c.source));
            QVERIFY2(done.error.contains(u(c.expected)), qPrintable(done.error));
            QCOMPARE(b.state(), before);
            QCOMPARE(b.leftovers(), QStringList());
            QVERIFY(!QFileInfo::exists(b.safety()));
        }

        // Cancelled while the child works.
        int calls = 0;
        MaintenanceResult done =
            b.import(mdb, nullptr, [&calls](const QString&, int, int) { return ++calls < 3; });
        QVERIFY(!done.ok);
        QVERIFY2(done.error.contains(u("annulée")), qPrintable(done.error));
        QCOMPARE(b.state(), before);
        QCOMPARE(b.leftovers(), QStringList());

        // A child that dies as a crash in the reading library would.
        const QString crashing =
            writeTo(dir.filePath(QStringLiteral("crash.sh")), "#!/bin/sh\nkill -SEGV $$\n");
        QFile::setPermissions(crashing, QFile::ReadOwner | QFile::ExeOwner | QFile::WriteOwner);
        done = importJetBooklet(b.files, mdb, crashing, b.safety(), {}, nullptr);
        QVERIFY(!done.ok);
        QVERIFY2(done.error.contains(u("fichier est sans doute endommagé")),
                 qPrintable(done.error));
        QCOMPARE(b.state(), before);
        QCOMPARE(b.leftovers(), QStringList());
    }

    // Damaged copies of a booklet, bytes changed or cut anywhere: the
    // program never goes down with them, and each one either comes across
    // or is refused in French with today's booklet untouched.
    void mutatedFilesNeverHurt()
    {
        TodaysBooklet b;
        QTemporaryDir dir;
        const QString mdb = writeSampleBooklet(dir.filePath(QStringLiteral("windows")));
        const QByteArray good = readBytes(mdb);
        QRandomGenerator random(25);
        const int trials = qEnvironmentVariableIntValue("TAVIRUNE_JET_MUTATIONS") > 0
                               ? qEnvironmentVariableIntValue("TAVIRUNE_JET_MUTATIONS")
                               : 300;
        int refused = 0;
        for (int i = 0; i < trials; ++i) {
            QByteArray bytes = good;
            if (i % 2 == 0) {
                const int changes = 1 + random.bounded(40);
                for (int c = 0; c < changes; ++c)
                    bytes[random.bounded(int(bytes.size()))] = char(random.bounded(256));
            } else {
                bytes.truncate(random.bounded(int(bytes.size())));
            }
            const QString source =
                writeTo(dir.filePath(QStringLiteral("windows/TAVIRUNE.MDB")), bytes);
            const QString before = b.state();
            JetImportResult r;
            const MaintenanceResult done = b.import(source, &r);
            if (!done.ok) {
                ++refused;
                QVERIFY2(!done.error.isEmpty(), qPrintable(QString::number(i)));
                QCOMPARE(b.state(), before);
            } else {
                QVERIFY2(b.state().startsWith(QStringLiteral("ok|")), qPrintable(b.state()));
            }
            QCOMPARE(b.leftovers(), QStringList());
        }
        // Every cut that is not on a page boundary is refused.
        QVERIFY(refused >= trials / 3);
    }

    // The program killed at any moment of an import: at the next start the
    // booklet is wholly today's or wholly the imported one, and no folder
    // is left behind.
    void killedImportLeavesOneBookletOrTheOther()
    {
        QTemporaryDir dir;
        const QString mdb = writeSampleBooklet(dir.filePath(QStringLiteral("windows")));
        QString before;
        QString after;
        qint64 duration = 0;
        {
            TodaysBooklet b;
            before = b.state();
            QElapsedTimer t;
            t.start();
            QVERIFY(b.import(mdb).ok);
            duration = t.elapsed();
            after = b.state();
        }
        QRandomGenerator random(30);
        int imported = 0;
        for (int trial = 0; trial < 30; ++trial) {
            TodaysBooklet b;
            QProcess runner;
            runner.start(QStringLiteral(JET_IMPORT_RUNNER),
                         {b.files.databaseFile, b.files.imagesFolder, b.files.filesFolder,
                          b.files.workFolder, mdb, program(), b.safety()});
            QVERIFY(runner.waitForReadyRead(30000));
            QThread::msleep(random.bounded(int(duration) * 3 / 2 + 20));
            runner.kill();
            QVERIFY(runner.waitForFinished(30000));
            QVERIFY(waitUntilNoProcessNames(b.files.workFolder));
            // What the next start does first.
            QVERIFY(recoverInterruptedRestore(b.files).ok);
            const QString state = b.state();
            QVERIFY2(state == before || state == after, qPrintable(state));
            imported += state == after ? 1 : 0;
            QVERIFY2(b.leftovers().isEmpty(), qPrintable(b.leftovers().join(QLatin1Char(','))));
        }
        qInfo("%d of 30 killed imports had finished", imported);
    }
};

QTEST_GUILESS_MAIN(TestJetImportRun)
#include "tst_jetimportrun.moc"
