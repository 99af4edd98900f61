// Backup and restore of a booklet of about 400 MB against the plain cabinet
// tools on the same files in the same run: `gcab -c -z` for the backup,
// `cabextract` for the restore.
//
//   bench_backup TEMPLATE [RUNS] [ANIMALS]
//
// TEMPLATE is the template database of the program folder; the booklet is
// made from it in a temporary folder: ANIMALS animals (1,800 by default:
// a database of about 300 MB with their thumbnails and photos), 150
// photos in Images, 30 attached files, then backed up and restored RUNS
// times (9 by default).
#include "BenchBooklet.h"
#include "BenchSupport.h"
#include "core/HeapTuning.h"

#include "db/Connection.h"
#include "maintenance/BackupArchive.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>
#include <sys/wait.h>

namespace {

QTextStream out(stdout);

// A picture as a camera gives it: incompressible bytes behind a JPEG head.
QByteArray photoBytes(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = char(random.bounded(256));
    bytes[0] = char(0xFF);
    bytes[1] = char(0xD8);
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Runs a tool and waits; its wall time in ms, or -1.
double runTool(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.setStandardOutputFile(QProcess::nullDevice());
    Stopwatch watch;
    p.start(program, arguments);
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        return -1;
    return watch.wallMs();
}

double childrenPeakMb()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_maxrss) / 1024;
}

qint64 folderBytes(const QString& folder)
{
    qint64 total = 0;
    for (const QFileInfo& info : QDir(folder).entryInfoList(QDir::Files))
        total += info.size();
    return total;
}

} // namespace

int main(int argc, char** argv)
{
    // As the program does, first thing.
    tav::keepFreedHeapForReuse();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        out << "usage: bench_backup TEMPLATE [RUNS] [ANIMALS]\n";
        return 2;
    }
    const int runs = args.size() > 2 ? std::max(1, args.at(2).toInt()) : 9;
    const int animals = args.size() > 3 ? args.at(3).toInt() : 1800;

    QTemporaryDir root;
    const QString data = root.filePath(QStringLiteral("Data"));
    tav::BookletFiles files{data + QStringLiteral("/Access/TAVIRUNE.MDB"),
                            data + QStringLiteral("/Images"), data + QStringLiteral("/Files"),
                            root.filePath(QStringLiteral("Backup"))};
    for (const QString& folder : QStringList{data + QStringLiteral("/Access"), files.imagesFolder,
                                             files.filesFolder, files.workFolder})
        QDir().mkpath(folder);
    if (!QFile::copy(args.at(1), files.databaseFile)) {
        out << "cannot copy the template " << args.at(1) << "\n";
        return 1;
    }
    QFile::setPermissions(files.databaseFile, QFile::ReadOwner | QFile::WriteOwner);
    {
        tav::Connection c;
        c.open(files.databaseFile);
        if (fillBooklet(c, animals) < 0) {
            out << "writing the animals failed\n";
            return 1;
        }
    }
    for (int i = 1; i <= 150; ++i)
        writeFile(files.imagesFolder + QStringLiteral("/Doc%1.jpg").arg(i),
                  photoBytes(450000 + 1000 * i, quint32(i)));
    for (int i = 1; i <= 30; ++i) {
        // Attached files are kept packed; a text file stands for each.
        QByteArray text;
        for (int line = 0; line < 2000; ++line)
            text += "Compte rendu de consultation, ligne " + QByteArray::number(line) + "\n";
        writeFile(files.filesFolder + QStringLiteral("/File%1.f").arg(i), text);
    }
    const qint64 total = QFileInfo(files.databaseFile).size() + folderBytes(files.imagesFolder) +
                         folderBytes(files.filesFolder);
    out << "booklet: " << animals << " animals, database "
        << QFileInfo(files.databaseFile).size() / (1024 * 1024) << " MB, in all "
        << total / (1024 * 1024) << " MB\n";

    // The plain tools read the same files from one flat folder of links.
    QTemporaryDir flat;
    QStringList names{QStringLiteral("TAVIRUNE.MDB")};
    QFile::link(files.databaseFile, flat.filePath(QStringLiteral("TAVIRUNE.MDB")));
    for (const QString& folder : QStringList{files.imagesFolder, files.filesFolder})
        for (const QString& name : QDir(folder).entryList(QDir::Files, QDir::Name)) {
            QFile::link(folder + QLatin1Char('/') + name, flat.filePath(name));
            names << name;
        }

    std::vector<double> ours, theirs, restore, extract, backupRatio, restoreRatio, lateSafety;
    double oursPeak = 0;
    QString restoreSteps;
    QString backupSteps;
    const QString archive = root.filePath(QStringLiteral("sauvegarde.bkp"));
    // Each pair's two sides take turns going first; the peer's output and
    // the safety archive are removed outside every timing.
    const auto gcab = [&]() {
        QFile::remove(flat.filePath(QStringLiteral("peer.cab")));
        const double ms = runTool(
            QStringLiteral("gcab"),
            QStringList{QStringLiteral("-c"), QStringLiteral("-z"), QStringLiteral("peer.cab")} +
                names,
            flat.path());
        QFile::remove(flat.filePath(QStringLiteral("peer.cab")));
        return ms;
    };
    const auto cabextract = [&]() {
        QTemporaryDir target(root.filePath(QStringLiteral("extract-XXXXXX")));
        return runTool(QStringLiteral("cabextract"),
                       {QStringLiteral("-q"), QStringLiteral("-d"), target.path(), archive},
                       root.path());
    };
    for (int run = 0; run < runs; ++run) {
        double gcabMs = run % 2 == 1 ? gcab() : 0;
        Stopwatch watch;
        QStringList backupParts;
        Stopwatch part;
        QString phase;
        const tav::MaintenanceResult b =
            tav::writeBackupArchive(
                files, archive, [&](const QString& text, int, int) {
                    // The files' names are one phase: writing the archive.
                    const QString now = text.startsWith(QStringLiteral("Compression"))
                                            ? QStringLiteral("Compression")
                                            : text;
                    if (now == phase)
                        return;
                    if (!phase.isEmpty())
                        backupParts
                            << QStringLiteral("%1 %2 ms").arg(phase).arg(part.wallMs(), 0, 'f', 0);
                    phase = now;
                    part.start();
                });
        backupSteps = backupParts.join(QStringLiteral("; "));
        const double backupMs = watch.wallMs();
        if (!b.ok) {
            out << "backup failed: " << b.error << "\n";
            return 1;
        }
        if (run % 2 == 0)
            gcabMs = gcab();

        const QString safety = files.workFolder + QStringLiteral("/avant-%1.bkp").arg(run);
        double cabextractMs = run % 2 == 1 ? cabextract() : 0;
        watch.start();
        // Where the restore's time goes, step by step (last run shown).
        QStringList steps;
        Stopwatch step;
        QString current;
        // Timed to the restored booklet being usable, as the program gives
        // it back to the user; the safety archive is packed afterwards, in
        // the background, and timed on its own.
        tav::SetAsideBooklet aside;
        const tav::MaintenanceResult r = tav::restoreBackupArchive(
            files, archive, safety,
            [&](const QString& text, int, int) {
                if (text == current)
                    return;
                if (!current.isEmpty())
                    steps << QStringLiteral("%1 %2 ms").arg(current).arg(step.wallMs(), 0, 'f', 0);
                current = text;
                step.start();
            },
            {}, &aside);
        if (!current.isEmpty())
            steps << QStringLiteral("%1 %2 ms").arg(current).arg(step.wallMs(), 0, 'f', 0);
        restoreSteps = steps.join(QStringLiteral("; "));
        const double restoreMs = watch.wallMs();
        if (!r.ok) {
            out << "restore failed: " << r.error << "\n";
            return 1;
        }
        Stopwatch packing;
        if (const tav::MaintenanceResult p = tav::packSetAsideBooklet(aside); !p.ok) {
            out << "safety archive failed: " << p.error << "\n";
            return 1;
        }
        lateSafety.push_back(packing.wallMs());
        QFile::remove(safety);
        if (run % 2 == 0)
            cabextractMs = cabextract();
        if (gcabMs < 0 || cabextractMs < 0) {
            out << "a peer tool failed\n";
            return 1;
        }
        ours.push_back(backupMs);
        theirs.push_back(gcabMs);
        restore.push_back(restoreMs);
        extract.push_back(cabextractMs);
        backupRatio.push_back(gcabMs / backupMs);
        restoreRatio.push_back(restoreMs / cabextractMs);
        oursPeak = std::max(oursPeak, processMemory().hwm);
    }
    out << "archive: " << QFileInfo(archive).size() / (1024 * 1024) << " MB\n";
    out << "backup (compaction, writing, verification): " << spread(ours) << "\n";
    out << "  its steps: " << backupSteps << "\n";
    out << "gcab -c -z of the same files:               " << spread(theirs) << "\n";
    out << "  speed of the backup against gcab (x):     " << spread(backupRatio, "x", 2)
        << "  goal >= 2\n";
    out << "restore to usable (extraction, checks, renames): " << spread(restore) << "\n";
    out << "  its steps: " << restoreSteps << "\n";
    out << "  then the safety archive, in the background: " << spread(lateSafety) << "\n";
    out << "cabextract of the same archive:                         " << spread(extract) << "\n";
    out << "  restore time against cabextract (x):     " << spread(restoreRatio, "x", 2)
        << "  goal <= 1\n";
    out << "peak memory: this process " << QString::number(oursPeak, 'f', 0)
        << " MB, largest peer tool " << QString::number(childrenPeakMb(), 'f', 0) << " MB\n";
    return 0;
}
