#include "FullDisk.h"
#include "TestText.h"

#include "media/Cabinet.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;

namespace {

// Runs a peer tool; true when it ends well.
bool run(const QString& program, const QStringList& arguments, const QString& folder = {})
{
    QProcess p;
    if (!folder.isEmpty())
        p.setWorkingDirectory(folder);
    p.start(program, arguments);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

class TestCabinet : public QObject
{
    Q_OBJECT
private slots:
    void writtenArchivesReadByCabextract();
    void archivesOfGcabAreExtracted();
    void aNameReachingOutsideRefusesTheWholeArchive();
    void aFileThatIsNotACabinetIsSaidSo();
    void aFailedWriteKeepsTheEarlierArchive();
    void aFullDiskIsSaidSoAndNamesTheArchive();
    void contentBeyondTheFormatIsRefusedBeforeWriting();
    void namesThatAreNotBareAreRefused_data();
    void namesThatAreNotBareAreRefused();
};

void TestCabinet::writtenArchivesReadByCabextract()
{
    QTemporaryDir dir;
    const QByteArray database = noise(300000, 1) + QByteArray(200000, 'a');
    const QByteArray picture = noise(40000, 2);
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("TAVIRUNE.MDB")), database));
    QVERIFY(writeBytes(dir.filePath(u("Doc 12 é.jpg")), picture));
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("File3.f")), QByteArray()));
    const QString archive = dir.filePath(QStringLiteral("sauvegarde.bkp"));
    QStringList seen;
    const CabinetResult r = writeCabinet(
        archive,
        {{QStringLiteral("TAVIRUNE.MDB"), dir.filePath(QStringLiteral("TAVIRUNE.MDB"))},
         {u("Doc 12 é.jpg"), dir.filePath(u("Doc 12 é.jpg"))},
         {QStringLiteral("File3.f"), dir.filePath(QStringLiteral("File3.f"))}},
        [&seen](int index, const QString& name) { seen << QString::number(index) + name; });
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(seen, strings({"0TAVIRUNE.MDB", "1Doc 12 é.jpg", "2File3.f"}));
    QVERIFY(!QFile::exists(archive + QStringLiteral(".tmp")));
    // MSZIP actually compresses.
    QVERIFY(QFileInfo(archive).size() < database.size());

    QStringList names;
    QVERIFY(listCabinet(archive, &names).ok);
    QCOMPARE(names, strings({"TAVIRUNE.MDB", "Doc 12 é.jpg", "File3.f"}));

    QTemporaryDir out;
    QVERIFY(run(QStringLiteral("cabextract"),
                {QStringLiteral("-q"), QStringLiteral("-d"), out.path(), archive}));
    QCOMPARE(readBytes(out.filePath(QStringLiteral("TAVIRUNE.MDB"))), database);
    QCOMPARE(readBytes(out.filePath(u("Doc 12 é.jpg"))), picture);
    QVERIFY(QFile::exists(out.filePath(QStringLiteral("File3.f"))));
}

void TestCabinet::archivesOfGcabAreExtracted()
{
    QTemporaryDir dir;
    const QByteArray content = noise(70000, 3);
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("Animal7.jpg")), content));
    QVERIFY(run(QStringLiteral("gcab"),
                {QStringLiteral("-c"), QStringLiteral("-z"), QStringLiteral("peer.cab"),
                 QStringLiteral("Animal7.jpg")},
                dir.path()));
    QTemporaryDir out;
    QVERIFY(writeBytes(out.filePath(QStringLiteral("Animal7.jpg")), "older"));
    QStringList seen;
    const CabinetResult r = extractCabinet(dir.filePath(QStringLiteral("peer.cab")), out.path(),
                                           [&seen](int, const QString& name) { seen << name; });
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(seen, strings({"Animal7.jpg"}));
    QCOMPARE(readBytes(out.filePath(QStringLiteral("Animal7.jpg"))), content);
}

void TestCabinet::aNameReachingOutsideRefusesTheWholeArchive()
{
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("good.jpg")), "good"));
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("abcevil.jpg")), "evil"));
    const QString archive = dir.filePath(QStringLiteral("a.cab"));
    QVERIFY(
        writeCabinet(archive,
                     {{QStringLiteral("good.jpg"), dir.filePath(QStringLiteral("good.jpg"))},
                      {QStringLiteral("abcevil.jpg"), dir.filePath(QStringLiteral("abcevil.jpg"))}})
            .ok);
    // The names are not covered by the archive's checksums: turn one into a
    // path that climbs out of the folder.
    QByteArray bytes = readBytes(archive);
    const int at = int(bytes.indexOf("abcevil.jpg"));
    QVERIFY(at > 0);
    bytes.replace(at, 3, "..\\");
    QVERIFY(writeBytes(archive, bytes));

    QTemporaryDir out;
    const QString inside = out.filePath(QStringLiteral("inside"));
    QVERIFY(QDir().mkpath(inside));
    const CabinetResult r = extractCabinet(archive, inside);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(QStringLiteral("..\\evil.jpg")), qPrintable(r.error));
    QVERIFY(QDir(inside).isEmpty());
    QVERIFY(!QFile::exists(out.filePath(QStringLiteral("evil.jpg"))));
    // Nor can such a name be written.
    QVERIFY(!writeCabinet(archive,
                          {{QStringLiteral("../x.jpg"), dir.filePath(QStringLiteral("good.jpg"))}})
                 .ok);
}

void TestCabinet::aFileThatIsNotACabinetIsSaidSo()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.bkp"));
    QVERIFY(writeBytes(path, noise(5000, 4)));
    QStringList names;
    const CabinetResult r = listCabinet(path, &names);
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(u("n'est pas une archive de sauvegarde lisible")),
             qPrintable(r.error));
    QVERIFY(!extractCabinet(path, dir.path()).ok);
}

void TestCabinet::aFailedWriteKeepsTheEarlierArchive()
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("a.bkp"));
    QVERIFY(writeBytes(archive, "earlier archive"));
    const CabinetResult r = writeCabinet(
        archive, {{QStringLiteral("TAVIRUNE.MDB"), dir.filePath(QStringLiteral("absent.mdb"))}});
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(QStringLiteral("absent.mdb")), qPrintable(r.error));
    QCOMPARE(readBytes(archive), QByteArray("earlier archive"));
}

void TestCabinet::aFullDiskIsSaidSoAndNamesTheArchive()
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("Doc1.jpg"));
    QVERIFY(writeBytes(picture, noise(200000, 9)));
    const QString archive = dir.filePath(u("Sauvegarde été.bkp"));
    QVERIFY(writeBytes(archive, "earlier archive"));
    const std::optional<QString> error = test::onAFullDisk([&]() {
        return writeCabinet(archive, {{QStringLiteral("Doc1.jpg"), picture, false}}).error;
    });
    if (!error)
        QSKIP("this system does not let a test make writes fail");
    // The user's own name for the archive, not the one it is written under.
    QCOMPARE(*error, u("Impossible d'écrire l'archive « %1 » : le disque est plein.").arg(archive));
    QCOMPARE(readBytes(archive), QByteArray("earlier archive"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
             QStringList({u("Doc1.jpg"), u("Sauvegarde été.bkp")}));

    // Unpacking on a full disk says so as well.
    QVERIFY(writeCabinet(archive, {{QStringLiteral("Doc1.jpg"), picture, false}}).ok);
    QTemporaryDir out;
    const std::optional<QString> unpacked =
        test::onAFullDisk([&]() { return extractCabinet(archive, out.path()).error; });
    QVERIFY(unpacked);
    QCOMPARE(*unpacked,
             u("Impossible d'extraire l'archive « %1 » : le disque est plein.").arg(archive));
}

void TestCabinet::contentBeyondTheFormatIsRefusedBeforeWriting()
{
    QTemporaryDir dir;
    // A sparse file: its size is what counts, no disk is used.
    QFile big(dir.filePath(QStringLiteral("TAVIRUNE.MDB")));
    QVERIFY(big.open(QIODevice::WriteOnly));
    QVERIFY(big.resize(kCabinetContentLimit + 1));
    big.close();
    const QString archive = dir.filePath(QStringLiteral("a.bkp"));
    const CabinetResult r =
        writeCabinet(archive, {{QStringLiteral("TAVIRUNE.MDB"), big.fileName()}});
    QVERIFY(!r.ok);
    QVERIFY2(r.error.contains(QStringLiteral("2047 Mo")), qPrintable(r.error));
    QVERIFY(!QFile::exists(archive));

    // The entries' sizes and dates are read back.
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("Doc1.jpg")), noise(1234, 5)));
    QVERIFY(writeCabinet(archive,
                         {{QStringLiteral("Doc1.jpg"), dir.filePath(QStringLiteral("Doc1.jpg"))}})
                .ok);
    QVector<CabinetEntryInfo> infos;
    QVERIFY(listCabinetEntries(archive, &infos).ok);
    QCOMPARE(infos.size(), 1);
    QCOMPARE(infos.at(0).size, 1234);
    QVERIFY(infos.at(0).modified.isValid());
}

void TestCabinet::namesThatAreNotBareAreRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");
    QTest::newRow("bare") << QStringLiteral("Doc12.jpg") << true;
    QTest::newRow("accents") << u("Radio épaule.jpg") << true;
    QTest::newRow("parent") << QStringLiteral("..") << false;
    QTest::newRow("folder") << QStringLiteral("Images\\Doc1.jpg") << false;
    QTest::newRow("absolute") << QStringLiteral("/etc/passwd") << false;
    QTest::newRow("drive") << QStringLiteral("C:evil.jpg") << false;
    QTest::newRow("device") << QStringLiteral("CON") << false;
    QTest::newRow("device with extension") << QStringLiteral("nul.jpg") << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("tab") << QStringLiteral("Doc\t1.jpg") << false;
    QTest::newRow("line feed") << QStringLiteral("Doc1.jpg\nMOVE") << false;
    QTest::newRow("carriage return") << QStringLiteral("Doc\r1.jpg") << false;
    QTest::newRow("nul") << QString(QStringLiteral("Doc1.jpg") + QChar(0)) << false;
}

void TestCabinet::namesThatAreNotBareAreRefused()
{
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(isSafeEntryName(name), safe);
}

QTEST_GUILESS_MAIN(TestCabinet)
#include "tst_cabinet.moc"
