// Attaching a 200 MB file (packed into its one-entry cabinet, its row
// written) and opening it again (unpacked to a private copy), against the
// independent tools gcab -c -z and cabextract on the same file in the same
// run, with a plain copy of the file as the floor of the disk itself.
// Every trial runs in a child process, so that its peak memory is its own.
//
//   bench_documents [size in MB, 200 by default]

#include "BenchSupport.h"
#include "core/HeapTuning.h"

#include "db/Connection.h"
#include "db/Schema.h"
#include "documents/DocumentLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

using namespace tav;

namespace {

struct Trial
{
    double ms = 0;
    double peakMb = 0;
    bool ok = false;
};

// Runs a program to its end: wall time and its peak resident size. The
// size is taken by /usr/bin/time: a child of this process would inherit
// this process's high-water mark, which exec does not reset.
Trial runChild(const QStringList& command, const QString& workDir = {})
{
    static QTemporaryDir scratch;
    const QString report = scratch.filePath(QStringLiteral("rss"));
    const QStringList args = QStringList{QStringLiteral("/usr/bin/time"), QStringLiteral("-f"),
                                         QStringLiteral("%M"), QStringLiteral("-o"), report} +
                             command;
    std::vector<QByteArray> bytes;
    for (const QString& a : args)
        bytes.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    const QString previous = QDir::currentPath();
    if (!workDir.isEmpty())
        QDir::setCurrent(workDir);
    Trial t;
    Stopwatch watch;
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    QDir::setCurrent(previous);
    if (spawned != 0)
        return t;
    int status = 0;
    waitpid(pid, &status, 0);
    t.ms = watch.wallMs();
    QFile f(report);
    if (f.open(QIODevice::ReadOnly))
        t.peakMb = f.readAll().trimmed().split('\n').last().toDouble() / 1024;
    t.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return t;
}

// Half text, half noise, as documents and scans are: MSZIP has work to do
// without the file being all alike.
bool makeFile(const QString& path, qint64 megabytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QRandomGenerator gen(7);
    QByteArray block(1 << 20, Qt::Uninitialized);
    const QByteArray text = "Compte rendu de consultation : otite externe, traitement local. ";
    for (qint64 m = 0; m < megabytes; ++m) {
        for (int i = 0; i < block.size(); ++i)
            block[i] = (i / 4096) % 2 ? char(gen.bounded(256)) : text[i % text.size()];
        if (f.write(block) != block.size())
            return false;
    }
    return true;
}

int childAttach(const QString& folder, const QString& file)
{
    Connection c;
    c.open(folder + QStringLiteral("/Access/TAVIRUNE.MDB"));
    DocumentLibrary library(c, folder);
    const DocumentResult r = library.attachFile(1, file);
    if (!r.ok)
        std::fprintf(stderr, "%s\n", qPrintable(r.error));
    return r.ok ? 0 : 1;
}

int childOpen(const QString& folder, int id)
{
    Connection c;
    c.open(folder + QStringLiteral("/Access/TAVIRUNE.MDB"));
    DocumentLibrary library(c, folder);
    const DocumentResult r = library.copyFileForOpening(id);
    if (!r.ok)
        std::fprintf(stderr, "%s\n", qPrintable(r.error));
    return r.ok ? 0 : 1;
}

QString line(const char* what, const std::vector<double>& ms, const std::vector<double>& mb)
{
    return QString::fromLatin1(what).leftJustified(34) + spread(ms) +
           QStringLiteral(", peak RSS %1 MB")
               .arg(*std::max_element(mb.begin(), mb.end()), 0, 'f', 1);
}

} // namespace

int main(int argc, char** argv)
{
    // As the program does, first thing.
    tav::keepFreedHeapForReuse();
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--attach"))
        return childAttach(args[2], args[3]);
    if (args.size() == 4 && args[1] == QLatin1String("--open"))
        return childOpen(args[2], args[3].toInt());

    const qint64 megabytes = args.size() > 1 ? args[1].toLongLong() : 200;
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/bench-documents-XXXXXX"));
    const QString data = work.filePath(QStringLiteral("Data"));
    QDir().mkpath(data + QStringLiteral("/Access"));
    QDir().mkpath(data + QStringLiteral("/Files"));
    QDir().mkpath(data + QStringLiteral("/Images"));
    {
        Connection c;
        c.open(data + QStringLiteral("/Access/TAVIRUNE.MDB"), true);
        createSchema(c);
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Bench')"));
    }
    const QString source = work.filePath(QStringLiteral("scan.pdf"));
    if (!makeFile(source, megabytes)) {
        std::fprintf(stderr, "cannot write the test file\n");
        return 1;
    }
    const QString self = QCoreApplication::applicationFilePath();
    const QString peerCab = work.filePath(QStringLiteral("peer.cab"));
    const QString out = work.filePath(QStringLiteral("out"));
    QDir().mkpath(out);

    constexpr int kRuns = 9;
    std::vector<double> attachMs, attachMb, gcabMs, gcabMb, openMs, openMb, extractMs, extractMb,
        copyMs, copyMb;
    int lastId = 0;
    for (int run = 0; run < kRuns; ++run) {
        // Interleaved, so that a slow moment of the shared machine falls on
        // both sides alike.
        Trial t = runChild({self, QStringLiteral("--attach"), data, source});
        if (!t.ok)
            return 1;
        attachMs.push_back(t.ms);
        attachMb.push_back(t.peakMb);
        ++lastId;

        QFile::remove(peerCab);
        t = runChild({QStringLiteral("gcab"), QStringLiteral("-c"), QStringLiteral("-z"), peerCab,
                      QStringLiteral("scan.pdf")},
                     work.path());
        if (!t.ok)
            return 1;
        gcabMs.push_back(t.ms);
        gcabMb.push_back(t.peakMb);

        t = runChild({self, QStringLiteral("--open"), data, QString::number(lastId)});
        if (!t.ok)
            return 1;
        openMs.push_back(t.ms);
        openMb.push_back(t.peakMb);

        t = runChild({QStringLiteral("cabextract"), QStringLiteral("-q"), QStringLiteral("-d"), out,
                      peerCab});
        if (!t.ok)
            return 1;
        extractMs.push_back(t.ms);
        extractMb.push_back(t.peakMb);
        QFile::remove(out + QStringLiteral("/scan.pdf"));

        t = runChild({QStringLiteral("cp"), source, out + QStringLiteral("/copy.pdf")});
        copyMs.push_back(t.ms);
        copyMb.push_back(t.peakMb);
        QFile::remove(out + QStringLiteral("/copy.pdf"));

        // Earlier archives go, so that the disk holds one at a time.
        if (lastId > 1)
            QFile::remove(data + QStringLiteral("/Files/File%1.f").arg(lastId - 1));
    }

    const qint64 packed = QFileInfo(data + QStringLiteral("/Files/File%1.f").arg(lastId)).size();
    const qint64 peerPacked = QFileInfo(peerCab).size();
    std::printf("File of %lld MB; archive %.1f MB here, %.1f MB by gcab\n",
                static_cast<long long>(megabytes), double(packed) / (1 << 20),
                double(peerPacked) / (1 << 20));
    std::printf("%s\n", qPrintable(line("attach (pack + row)", attachMs, attachMb)));
    std::printf("%s\n", qPrintable(line("gcab -c -z", gcabMs, gcabMb)));
    std::printf("%s\n", qPrintable(line("open (private copy)", openMs, openMb)));
    std::printf("%s\n", qPrintable(line("cabextract", extractMs, extractMb)));
    std::printf("%s\n", qPrintable(line("cp (disk floor)", copyMs, copyMb)));
    std::printf("ratio attach / gcab      %.2f\n", median(attachMs) / median(gcabMs));
    std::printf("ratio open / cabextract  %.2f\n", median(openMs) / median(extractMs));
    std::printf("ratio attach / cp        %.2f\n", median(attachMs) / median(copyMs));
    std::printf("ratio open / cp          %.2f\n", median(openMs) / median(copyMs));
    return 0;
}
