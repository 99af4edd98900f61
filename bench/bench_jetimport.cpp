// Import of a Windows booklet in the Jet format, against `mdb-export` of
// every table of the same file in the same run (the command-line reader of
// the library the import reads with, run once per table, output thrown
// away): a floor only, since its date texts are wrong before 1900.
//
//   bench_jetimport PROGRAM [ANIMALS] [RUNS]
//
// PROGRAM is the built program, started again as the import's child. The
// booklet has ANIMALS animals (1,000 by default), each with a thumbnail, a
// photo file, 5 acts, 3 vaccinations and 10 weighings; RUNS pairs (9 by
// default), the two sides taking turns going first, the booklet made and
// the converted folders removed outside the timings.
#include "BenchSupport.h"
#include "JetBooklet.h"
#include "core/HeapTuning.h"

#include "migration/JetImport.h"
#include "migration/JetImportRun.h"
#include "migration/JetReader.h"

#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

using namespace tav;
using namespace tav::test;

namespace {

QTextStream out(stdout);

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

QString makeBooklet(const QString& folder, int animals)
{
    QVector<JetWriteTable> t = jetBookletTables();
    const QByteArray thumbnail = bmpSquare(115, Qt::darkCyan);
    QDir().mkpath(folder + QStringLiteral("/Images"));
    int act = 0;
    int vaccine = 0;
    int weight = 0;
    for (int a = 1; a <= animals; ++a) {
        addJetRow(
            t, QStringLiteral("ANIMAL"),
            {{QStringLiteral("Id"), a},
             {QStringLiteral("Name"), QStringLiteral("Médor %1").arg(a)},
             {QStringLiteral("BirthDay_Date"), QStringLiteral("03/04/2015")},
             {QStringLiteral("Description"), QStringLiteral("Chien très calme. ").repeated(20)},
             {QStringLiteral("ImgMini1"), thumbnail}});
        QFile photo(folder + QStringLiteral("/Images/Animal%1.jpg").arg(a));
        photo.open(QIODevice::WriteOnly);
        photo.write(photoBytes(60000, quint32(a)));
        for (int i = 0; i < 5; ++i)
            addJetRow(t, QStringLiteral("ACTION"),
                      {{QStringLiteral("Id"), ++act},
                       {QStringLiteral("Id_Ref"), a},
                       {QStringLiteral("Tag"), 1 + i % 2},
                       {QStringLiteral("Date_Action"), QDate(2020, 1, 1).addDays(act % 1000)},
                       {QStringLiteral("Remark1"), QStringLiteral("Consultation de contrôle")},
                       {QStringLiteral("Price"), qint64(350000 + act)}});
        for (int i = 0; i < 3; ++i)
            addJetRow(t, QStringLiteral("VACCINE"),
                      {{QStringLiteral("Id"), ++vaccine},
                       {QStringLiteral("Id_Ref"), a},
                       {QStringLiteral("Date_Vaccine"), QDate(2021, 3, 1)},
                       {QStringLiteral("Repeat_Date"), QDate(2022, 3, 1)},
                       {QStringLiteral("Repeat_Exe"), true}});
        for (int i = 0; i < 10; ++i)
            addJetRow(t, QStringLiteral("WEIGHT"),
                      {{QStringLiteral("Id"), ++weight},
                       {QStringLiteral("Id_Ref"), a},
                       {QStringLiteral("Date_Weight"), QDate(2020, 1, 1).addDays(i * 30)},
                       {QStringLiteral("Weight"), 10.0 + i * 0.125}});
    }
    addJetRow(t, QStringLiteral("OBJECT_VAL_STR"),
              {{QStringLiteral("ID_CLASS"), -99},
               {QStringLiteral("ID_ATTRIBUTE"), -99},
               {QStringLiteral("USERID"), -99},
               {QStringLiteral("VALUE"), QStringLiteral("1.13")}});
    const QString path = folder + QStringLiteral("/TAVIRUNE.MDB");
    QString error;
    if (!writeJetFile(path, t, &error))
        qFatal("%s", qPrintable(error));
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    // As the program does, first thing.
    tav::keepFreedHeapForReuse();
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        out << "usage: bench_jetimport PROGRAM [ANIMALS] [RUNS]\n";
        return 2;
    }
    const QString program = args.at(1);
    const int animals = args.size() > 2 ? args.at(2).toInt() : 1000;
    const int runs = args.size() > 3 ? args.at(3).toInt() : 9;
    QTemporaryDir dir;
    const QString mdb = makeBooklet(dir.filePath(QStringLiteral("windows")), animals);
    out << "booklet: " << animals << " animals, " << QFileInfo(mdb).size() / 1048576
        << " MB of Jet\n";
    out.flush();

    JetReader reader;
    QString error;
    if (!reader.open(mdb, &error))
        qFatal("%s", qPrintable(error));
    const QStringList tables = reader.tableNames();

    std::vector<double> floor;
    std::vector<double> import;
    std::vector<double> inProcess;
    double childPeak = 0;
    std::vector<double> ratio;
    const auto exportAll = [&]() {
        Stopwatch watch;
        for (const QString& table : tables) {
            QProcess p;
            p.setStandardOutputFile(QProcess::nullDevice());
            p.setStandardErrorFile(QProcess::nullDevice());
            p.start(QStringLiteral("mdb-export"), {mdb, table});
            p.waitForFinished(-1);
        }
        floor.push_back(watch.wallMs());
    };
    for (int run = 0; run < runs; ++run) {
        // The floor and the import take turns going first; the converted
        // folder is emptied outside every timing.
        if (run % 2 == 0)
            exportAll();
        const QString target = dir.filePath(QStringLiteral("converti%1").arg(run));
        Stopwatch watch;
        const JetImportResult r = convertInChildProcess(program, mdb, target);
        import.push_back(watch.wallMs());
        if (!r.ok)
            qFatal("%s", qPrintable(r.error));
        if (r.counts.animals != animals || r.counts.pictures != animals)
            qFatal("counts do not match");
        if (run % 2 == 1)
            exportAll();
        ratio.push_back(import.back() / floor.back());
        QDir(target).removeRecursively();
        watch.start();
        if (!convertJetBooklet(mdb, target).ok)
            qFatal("in-process conversion failed");
        inProcess.push_back(watch.wallMs());
        QDir(target).removeRecursively();
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        childPeak = double(usage.ru_maxrss) / 1024;
    }
    out << "mdb-export of " << tables.size() << " tables: " << spread(floor) << "\n";
    out << "import (child process, conversion with pictures): " << spread(import) << "\n";
    out << "the same conversion in this process: " << spread(inProcess) << "\n";
    out << "import / mdb-export, pair by pair: " << spread(ratio, "x", 2) << "\n";
    out << "peak memory of the children: " << QString::number(childPeak, 'f', 0) << " MB\n";
    return 0;
}
