// Writes, verifies and extracts an archive of about 3 GB: three pictures of
// 1 GB and a compressible database, the content of a booklet past the
// 2 GB that one cabinet folder holds. Too long for the test suite.
//
//   check_large_archive FOLDER
//
// FOLDER needs about 10 GB free; everything written there is removed.
#include "BenchSupport.h"

#include "media/Cabinet.h"
#include "media/CabinetWriter.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

QTextStream out(stdout);

QByteArray digestOf(const QString& path)
{
    QFile f(path);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!f.open(QIODevice::ReadOnly) || !hash.addData(&f))
        return {};
    return hash.result();
}

bool writeNoise(const QString& path, qint64 size, quint32 seed)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QRandomGenerator random(seed);
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (qint64 done = 0; done < size; done += chunk.size()) {
        random.fillRange(reinterpret_cast<quint32*>(chunk.data()), chunk.size() / 4);
        if (f.write(chunk) != chunk.size())
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() < 2) {
        out << "usage: check_large_archive FOLDER\n";
        return 2;
    }
    QTemporaryDir dir(app.arguments().at(1) + QStringLiteral("/large-XXXXXX"));
    QVector<tav::CabinetEntry> entries;
    {
        const QString database = dir.filePath(QStringLiteral("TAVIRUNE.MDB"));
        QFile f(database);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        for (int i = 0; i < 2000000; ++i)
            f.write("Consultation de contrôle, rappel du vaccin\n");
        entries.append({QStringLiteral("TAVIRUNE.MDB"), database});
    }
    for (int i = 1; i <= 3; ++i) {
        const QString name = QStringLiteral("Animal%1.jpg").arg(i);
        if (!writeNoise(dir.filePath(name), (1LL << 30) + i, quint32(i))) {
            out << "cannot write the pictures\n";
            return 1;
        }
        entries.append({name, dir.filePath(name), false});
    }
    const QString archive = dir.filePath(QStringLiteral("grande.bkp"));
    Stopwatch watch;
    QVector<QByteArray> digests;
    const tav::CabinetResult written = tav::writeCabinet(archive, entries, {}, &digests);
    if (!written.ok) {
        out << "writing failed: " << written.error << "\n";
        return 1;
    }
    out << "written: " << QFileInfo(archive).size() / (1024 * 1024) << " MB in "
        << watch.wallMs() / 1000 << " s\n";
    QVector<qint64> sizes;
    for (const tav::CabinetEntry& e : entries)
        sizes << QFileInfo(e.sourcePath).size();
    const tav::CabinetResult read = tav::verifyCabinet(archive, sizes, digests);
    out << "read back: " << (read.ok ? QStringLiteral("every entry intact") : read.error) << "\n";
    QProcess cabextract;
    cabextract.start(QStringLiteral("cabextract"), {QStringLiteral("-t"), archive});
    cabextract.waitForFinished(-1);
    const bool peerOk = cabextract.readAllStandardOutput().contains("All done, no errors");
    out << "cabextract -t: " << (peerOk ? "no errors" : "ERRORS") << "\n";
    QDir().mkpath(dir.filePath(QStringLiteral("out")));
    const tav::CabinetResult extracted =
        tav::extractCabinet(archive, dir.filePath(QStringLiteral("out")));
    bool same = extracted.ok;
    for (const tav::CabinetEntry& e : entries) {
        if (!same)
            break;
        same = digestOf(dir.filePath(QStringLiteral("out/") + e.name)) ==
               digests.at(int(&e - entries.constData()));
    }
    out << "extracted by libgcab: "
        << (same ? QStringLiteral("identical") : extracted.error + QStringLiteral(" DIFFERENT"))
        << "\n";
    return read.ok && peerOk && same ? 0 : 1;
}
