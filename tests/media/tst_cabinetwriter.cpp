#include "TestText.h"

#include "media/Cabinet.h"
#include "media/CabinetWriter.h"

#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;

namespace {

// Runs a peer tool; its output, or a null array when it failed.
QByteArray run(const QString& program, const QStringList& arguments, const QString& folder = {})
{
    QProcess p;
    if (!folder.isEmpty())
        p.setWorkingDirectory(folder);
    p.start(program, arguments);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return p.readAllStandardOutput() + " ";
}

// Every file under a folder, by name, with its bytes.
QMap<QString, QByteArray> contentOf(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), readBytes(path));
    }
    return files;
}

struct Sample
{
    QString name;
    QByteArray bytes;
    bool compressed;
};

} // namespace

class TestCabinetWriter : public QObject
{
    Q_OBJECT
private slots:
    void foldersChangeWithStorageAndSizeAndEveryReaderAgrees();
    void storedEntriesAreNotCompressedAgain();
    void readingBackFindsAnyDamageInTheData();
    void tenThousandEntries();
    void aFileThatChangesWhileArchivedIsAFailure();
    void damagedArchivesNeverCrashTheReaderNorWriteOutside();
};

void TestCabinetWriter::foldersChangeWithStorageAndSizeAndEveryReaderAgrees()
{
    QTemporaryDir dir;
    // Sizes around the 32 KB block and the 64 KB folder of this layout: the
    // third picture fills a folder of its own to the last byte.
    const QVector<Sample> samples{
        {QStringLiteral("TAVIRUNE.MDB"), noise(20000, 1) + QByteArray(40000, 'x'), true},
        {QStringLiteral("Animal1.jpg"), noise(32768, 2), false},
        {QStringLiteral("Animal2.jpg"), QByteArray(), false},
        {QStringLiteral("Animal3.jpg"), noise(65536, 3), false},
        {QStringLiteral("Animal4.jpg"), noise(1, 4), false},
        {u("Doc é 5.jpg"), noise(40000, 5), false},
        {QStringLiteral("File1.f"), noise(100, 6), false},
        {QStringLiteral("notes.txt"), QByteArray(60000, 'n'), true},
    };
    QVector<CabinetEntry> entries;
    QTemporaryDir sources;
    for (const Sample& s : samples) {
        QVERIFY(writeBytes(sources.filePath(s.name), s.bytes));
        entries.append({s.name, sources.filePath(s.name), s.compressed});
    }
    CabinetLayout small;
    small.maxBlocksPerFolder = 2;
    small.threads = 3;
    const QString archive = dir.filePath(QStringLiteral("a.cab"));
    QStringList seen;
    QVector<QByteArray> digests;
    const CabinetResult r = writeCabinetFile(
        archive, entries, [&seen](int i, const QString& n) { seen << QString::number(i) + n; },
        small, &digests);
    QVERIFY2(r.ok, qPrintable(r.error));
    QVector<qint64> sizes;
    for (const Sample& s : samples)
        sizes << s.bytes.size();
    const CabinetResult readBack = verifyCabinet(archive, sizes, digests);
    QVERIFY2(readBack.ok, qPrintable(readBack.error));
    QCOMPARE(seen.size(), samples.size());
    QCOMPARE(seen.first(), QStringLiteral("0TAVIRUNE.MDB"));

    // cabextract checks every block's checksum with -t.
    const QByteArray tested = run(QStringLiteral("cabextract"), {QStringLiteral("-t"), archive});
    QVERIFY2(!tested.isNull(), "cabextract -t refused the archive");
    QVERIFY2(tested.contains("All done, no errors"), tested.constData());

    QMap<QString, QByteArray> expected;
    for (const Sample& s : samples)
        expected.insert(s.name, s.bytes);
    QTemporaryDir byCabextract;
    QVERIFY(!run(QStringLiteral("cabextract"),
                 {QStringLiteral("-q"), QStringLiteral("-d"), byCabextract.path(), archive})
                 .isNull());
    QCOMPARE(contentOf(byCabextract.path()), expected);
    QTemporaryDir byGcab;
    QVERIFY(!run(QStringLiteral("gcab"),
                 {QStringLiteral("-x"), QStringLiteral("-C"), byGcab.path(), archive})
                 .isNull());
    QCOMPARE(contentOf(byGcab.path()), expected);
    QTemporaryDir byUs;
    const CabinetResult back = extractCabinet(archive, byUs.path());
    QVERIFY2(back.ok, qPrintable(back.error));
    QCOMPARE(contentOf(byUs.path()), expected);

    // The compressed database fills two folders, then the pictures theirs.
    const QByteArray listing = run(QStringLiteral("gcab"), {QStringLiteral("-l"), archive});
    QVERIFY(!listing.isNull());
    QVector<CabinetEntryInfo> infos;
    QVERIFY(listCabinetEntries(archive, &infos).ok);
    QCOMPARE(infos.size(), samples.size());
    QCOMPARE(infos.at(0).size, samples.at(0).bytes.size());
}

void TestCabinetWriter::storedEntriesAreNotCompressedAgain()
{
    QTemporaryDir dir;
    const QByteArray text(200000, 'z');
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("a.txt")), text));
    const QString packed = dir.filePath(QStringLiteral("packed.cab"));
    const QString stored = dir.filePath(QStringLiteral("stored.cab"));
    QVERIFY(writeCabinet(packed, {{QStringLiteral("a.txt"), dir.filePath(QStringLiteral("a.txt"))}})
                .ok);
    QVERIFY(writeCabinet(stored,
                         {{QStringLiteral("a.txt"), dir.filePath(QStringLiteral("a.txt")), false}})
                .ok);
    QVERIFY(QFileInfo(packed).size() < 10000);
    QVERIFY(QFileInfo(stored).size() > text.size());
    QTemporaryDir out;
    QVERIFY(extractCabinet(stored, out.path()).ok);
    QCOMPARE(readBytes(out.filePath(QStringLiteral("a.txt"))), text);

    // Pictures inside a compressed entry (a database holding photos) are
    // not compressed again, and come back whole through every reader.
    const QByteArray photos = noise(300000, 11) + QByteArray(100000, 't');
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("TAVIRUNE.MDB")), photos));
    const QString mixed = dir.filePath(QStringLiteral("mixed.cab"));
    QVERIFY(writeCabinet(mixed, {{QStringLiteral("TAVIRUNE.MDB"),
                                  dir.filePath(QStringLiteral("TAVIRUNE.MDB"))}})
                .ok);
    // At most the block where the pictures end is stored with them.
    QVERIFY(QFileInfo(mixed).size() < 300000 + 32768 + 1000);
    QVERIFY(run(QStringLiteral("cabextract"), {QStringLiteral("-t"), mixed})
                .contains("All done, no errors"));
    QTemporaryDir back;
    QVERIFY(extractCabinet(mixed, back.path()).ok);
    QCOMPARE(readBytes(back.filePath(QStringLiteral("TAVIRUNE.MDB"))), photos);
}

void TestCabinetWriter::readingBackFindsAnyDamageInTheData()
{
    QTemporaryDir dir;
    const QVector<Sample> samples{{QStringLiteral("TAVIRUNE.MDB"), noise(50000, 9), true},
                                  {QStringLiteral("Animal1.jpg"), noise(40000, 10), false},
                                  {QStringLiteral("Vide.jpg"), QByteArray(), false},
                                  {QStringLiteral("File1.f"), QByteArray(70000, 'f'), true}};
    QVector<CabinetEntry> entries;
    QVector<qint64> sizes;
    for (const Sample& s : samples) {
        QVERIFY(writeBytes(dir.filePath(s.name), s.bytes));
        entries.append({s.name, dir.filePath(s.name), s.compressed});
        sizes << s.bytes.size();
    }
    const QString archive = dir.filePath(QStringLiteral("a.cab"));
    QVector<QByteArray> digests;
    QVERIFY(writeCabinet(archive, entries, {}, &digests).ok);
    QCOMPARE(digests.size(), samples.size());
    QVERIFY(verifyCabinet(archive, sizes, digests).ok);
    const QByteArray good = readBytes(archive);

    // A digest or a size that differs from what was written.
    QVector<QByteArray> wrong = digests;
    wrong[1][0] = char(wrong[1][0] ^ 1);
    QVERIFY(!verifyCabinet(archive, sizes, wrong).ok);
    QVector<qint64> otherSizes = sizes;
    otherSizes[3] += 1;
    QVERIFY(!verifyCabinet(archive, otherSizes, digests).ok);

    // Any byte changed among the blocks, stored or compressed, or cut off.
    // The first folder's entry, after the 36-byte header, says where the
    // blocks begin.
    const int firstBlock = int(quint8(good[36]) | quint8(good[37]) << 8);
    QCOMPARE(firstBlock, 36 + 3 * 8 + 4 * 16 + 13 + 12 + 9 + 8);
    QRandomGenerator random(7);
    for (int trial = 0; trial < 200; ++trial) {
        QByteArray bad = good;
        const int at = firstBlock + int(random.bounded(bad.size() - firstBlock));
        bad[at] = char(bad[at] ^ (1 + random.bounded(255)));
        QVERIFY(writeBytes(archive, bad));
        QVERIFY2(!verifyCabinet(archive, sizes, digests).ok, qPrintable(QString::number(at)));
    }
    QVERIFY(writeBytes(archive, good.left(good.size() - 1)));
    const CabinetResult cut = verifyCabinet(archive, sizes, digests);
    QVERIFY(!cut.ok);
    QVERIFY2(cut.error.contains(u("ne rend pas")), qPrintable(cut.error));
}

void TestCabinetWriter::tenThousandEntries()
{
    QTemporaryDir dir;
    QVector<CabinetEntry> entries;
    for (int i = 0; i < 10000; ++i) {
        const QString name = QStringLiteral("Doc%1.jpg").arg(i);
        QVERIFY(writeBytes(dir.filePath(name), QByteArray::number(i)));
        entries.append({name, dir.filePath(name), false});
    }
    const QString archive = dir.filePath(QStringLiteral("many.bkp"));
    const CabinetResult r = writeCabinet(archive, entries);
    QVERIFY2(r.ok, qPrintable(r.error));
    QStringList names;
    QVERIFY(listCabinet(archive, &names).ok);
    QCOMPARE(names.size(), 10000);
    QCOMPARE(names.at(9999), QStringLiteral("Doc9999.jpg"));
    QTemporaryDir out;
    QVERIFY(extractCabinet(archive, out.path()).ok);
    QCOMPARE(readBytes(out.filePath(QStringLiteral("Doc4321.jpg"))), QByteArray("4321"));
    const QByteArray tested = run(QStringLiteral("cabextract"), {QStringLiteral("-t"), archive});
    QVERIFY(tested.contains("All done, no errors"));
}

void TestCabinetWriter::aFileThatChangesWhileArchivedIsAFailure()
{
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("a.txt")), QByteArray(100000, 'a')));
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("b.txt")), QByteArray(10, 'b')));
    const QString archive = dir.filePath(QStringLiteral("a.cab"));
    // The second file grows once the layout has been fixed.
    const CabinetResult r = writeCabinetFile(
        archive,
        {{QStringLiteral("a.txt"), dir.filePath(QStringLiteral("a.txt"))},
         {QStringLiteral("b.txt"), dir.filePath(QStringLiteral("b.txt"))}},
        [&dir](int index, const QString&) {
            if (index == 1)
                writeBytes(dir.filePath(QStringLiteral("b.txt")), QByteArray(20, 'b'));
        },
        CabinetLayout());
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(u("a changé")), qPrintable(r.error));
}

void TestCabinetWriter::damagedArchivesNeverCrashTheReaderNorWriteOutside()
{
    QTemporaryDir dir;
    QVector<CabinetEntry> entries;
    const QVector<Sample> samples{{QStringLiteral("TAVIRUNE.MDB"), noise(3000, 7), true},
                                  {QStringLiteral("Animal1.jpg"), noise(2000, 8), false},
                                  {QStringLiteral("File1.f"), QByteArray(5000, 'f'), true}};
    for (const Sample& s : samples) {
        QVERIFY(writeBytes(dir.filePath(s.name), s.bytes));
        entries.append({s.name, dir.filePath(s.name), s.compressed});
    }
    const QString archive = dir.filePath(QStringLiteral("good.cab"));
    QVERIFY(writeCabinet(archive, entries).ok);
    const QByteArray good = readBytes(archive);

    QRandomGenerator random(20261209);
    QTemporaryDir outer;
    const QString target = outer.filePath(QStringLiteral("target"));
    const int trials = qEnvironmentVariableIntValue("TAVIRUNE_FUZZ_TRIALS") > 0
                           ? qEnvironmentVariableIntValue("TAVIRUNE_FUZZ_TRIALS")
                           : 600;
    int refused = 0;
    for (int trial = 0; trial < trials; ++trial) {
        QByteArray bad = good;
        switch (trial % 3) {
        case 0: // a few bytes changed anywhere
            for (int i = 0, n = 1 + int(random.bounded(4)); i < n; ++i)
                bad[int(random.bounded(bad.size()))] = char(random.bounded(256));
            break;
        case 1: // the directory damaged, where names and sizes live
            bad[int(random.bounded(120))] = char(random.bounded(256));
            break;
        default: // cut short
            bad.truncate(int(random.bounded(bad.size())));
            break;
        }
        const QString path = outer.filePath(QStringLiteral("bad.cab"));
        QVERIFY(writeBytes(path, bad));
        QDir(target).removeRecursively();
        QVERIFY(QDir().mkpath(target));
        QVector<CabinetEntryInfo> infos;
        listCabinetEntries(path, &infos);
        const CabinetResult r = extractCabinet(path, target);
        if (!r.ok) {
            ++refused;
            QVERIFY(!r.error.isEmpty());
        }
        // Nothing lands beside the target folder, whatever the names say.
        const QStringList beside =
            QDir(outer.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QCOMPARE(beside, strings({"bad.cab", "target"}));
    }
    QVERIFY(refused > trials / 10);
}

QTEST_GUILESS_MAIN(TestCabinetWriter)
#include "tst_cabinetwriter.moc"
