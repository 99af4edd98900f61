#include "TestText.h"

#include "media/PackedFile.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;

class TestPackedFile : public QObject
{
    Q_OBJECT
private slots:
    void aFileComesBackAsItWas();
    void anArchiveThatCannotBeReadLeavesTheTargetAlone();
};

void TestPackedFile::aFileComesBackAsItWas()
{
    QTemporaryDir dir;
    QByteArray content;
    for (int i = 0; i < 50000; ++i)
        content += char(i * 7 % 251);
    const QString source = dir.filePath(u("Analyse sanguine été.pdf"));
    QVERIFY(writeBytes(source, content));
    const QString archive = dir.filePath(QStringLiteral("File12.f"));
    QVERIFY(packFile(source, archive).ok);
    // An independent reader sees one entry under the file's name.
    QProcess peer;
    peer.start(QStringLiteral("cabextract"), {QStringLiteral("-l"), archive});
    QVERIFY(peer.waitForFinished(30000));
    QVERIFY(
        QString::fromUtf8(peer.readAllStandardOutput()).contains(u("Analyse sanguine été.pdf")));

    const QString target = dir.filePath(QStringLiteral("copie.pdf"));
    QVERIFY(writeBytes(target, "older"));
    const CabinetResult r = unpackFile(archive, target);
    QVERIFY2(r.ok, qPrintable(r.error));
    QCOMPARE(readBytes(target), content);
    // Nothing else is left beside it.
    QCOMPARE(
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
        3);
}

void TestPackedFile::anArchiveThatCannotBeReadLeavesTheTargetAlone()
{
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("File3.f"));
    QVERIFY(writeBytes(archive, "MSCF but truncated"));
    const QString target = dir.filePath(QStringLiteral("lettre.doc"));
    QVERIFY(writeBytes(target, "today's letter"));
    const CabinetResult r = unpackFile(archive, target);
    QVERIFY(!r.ok);
    QVERIFY(!r.error.isEmpty());
    QCOMPARE(readBytes(target), QByteArray("today's letter"));
}

QTEST_GUILESS_MAIN(TestPackedFile)
#include "tst_packedfile.moc"
