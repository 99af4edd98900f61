#include "JetBooklet.h"
#include "TestText.h"
#include "db/Connection.h"
#include "media/Thumbnail.h"
#include "migration/JetImport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace tav;
using namespace tav::test;

namespace {

QVariant value(Connection& db, const QString& sql)
{
    return db.scalar(sql);
}

} // namespace

class TestJetImport : public QObject
{
    Q_OBJECT

private slots:
    // A booklet with every kind of record comes across whole: keys, texts
    // (NULL apart from empty), long memos, dates far from 1900, money to
    // the ten-thousandth, thumbnails raw, wrapped or made again, and the
    // files under the names the program uses.
    void everyRecordComesAcross()
    {
        QTemporaryDir dir;
        const QString mdb = writeSampleBooklet(dir.filePath(QStringLiteral("windows")));
        const QString target = dir.filePath(QStringLiteral("converti"));
        const JetImportResult r = convertJetBooklet(mdb, target);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.counts.animals, 3);
        QCOMPARE(r.counts.acts, 1);
        QCOMPARE(r.counts.medicines, 1);
        QCOMPARE(r.counts.vaccinations, 1);
        QCOMPARE(r.counts.weighings, 2);
        QCOMPARE(r.counts.analyses, 1);
        QCOMPARE(r.counts.events, 1);
        QCOMPARE(r.counts.documents, 3);
        QCOMPARE(r.counts.pictures, 3);
        QCOMPARE(r.counts.files, 1);

        Connection db;
        db.open(target + QStringLiteral("/TAVIRUNE.MDB"));
        QCOMPARE(value(db, QStringLiteral("SELECT Name FROM ANIMAL WHERE Id=1")).toString(),
                 u("Médor"));
        QVERIFY(!value(db, QStringLiteral("SELECT ForeName FROM ANIMAL WHERE Id=1")).isNull());
        QCOMPARE(value(db, QStringLiteral("SELECT count(*) FROM ANIMAL WHERE Id=1 AND "
                                          "ForeName='' AND Misc11='' AND Misc12 IS NULL"))
                     .toInt(),
                 1);
        QCOMPARE(value(db, QStringLiteral("SELECT Description FROM ANIMAL WHERE Id=1")).toString(),
                 longMemo());
        QCOMPARE(
            value(db, QStringLiteral("SELECT BirthDay_Date FROM ANIMAL WHERE Id=1")).toString(),
            QStringLiteral("03/04/1895"));
        QCOMPARE(value(db, QStringLiteral("SELECT ForeName FROM ANIMAL WHERE Id=2")).toString(),
                 u("Cœur-de-Lion"));
        QCOMPARE(value(db, QStringLiteral("SELECT Pedigree FROM ANIMAL WHERE Id=1")).toInt(), 1);
        QCOMPARE(
            value(db, QStringLiteral("SELECT Date_Action FROM [ACTION] WHERE Id=7")).toString(),
            QStringLiteral("1850-06-01"));
        QCOMPARE(
            value(db, QStringLiteral("SELECT Date_Repayment FROM [ACTION] WHERE Id=7")).toString(),
            QStringLiteral("2039-05-06"));
        QCOMPARE(value(db, QStringLiteral("SELECT Price FROM [ACTION] WHERE Id=7")).toDouble(),
                 12.3456);
        QCOMPARE(
            value(db, QStringLiteral("SELECT Price_Repayment FROM [ACTION] WHERE Id=7")).toDouble(),
            10.0001);
        QCOMPARE(value(db, QStringLiteral("SELECT Id_Ref FROM [ACTION] WHERE Id=9")).toInt(), 2);
        QCOMPARE(value(db, QStringLiteral("SELECT Repeat_Date FROM VACCINE WHERE Id=3")).toString(),
                 QStringLiteral("2041-03-01"));
        QCOMPARE(value(db, QStringLiteral("SELECT Weight FROM WEIGHT WHERE Id_Ref=1")).toDouble(),
                 12.345);
        QCOMPARE(value(db, QStringLiteral("SELECT Description FROM EVENT")).toString(),
                 u("Déménagement à Noël"));
        QCOMPARE(value(db, QStringLiteral("SELECT Name FROM LST_DOCTOR WHERE Id=4")).toString(),
                 u("Dr Müller"));
        QCOMPARE(value(db, QStringLiteral("SELECT Price FROM LST_DOCTOR WHERE Id=4")).toDouble(),
                 25.0);
        QCOMPARE(value(db, QStringLiteral("SELECT [VALUE] FROM OBJECT_VAL_STR WHERE ID_CLASS=-99"))
                     .toString(),
                 QStringLiteral("1.13"));
        // New rows continue after the keys that came across.
        db.exec(QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag) VALUES (1, 1)"));
        QCOMPARE(db.lastInsertId(), 10);

        // Thumbnails: raw, unwrapped, and made again from the photo.
        for (int id = 1; id <= 3; ++id) {
            const QImage thumb = decodeStoredThumbnail(
                value(db, QStringLiteral("SELECT ImgMini1 FROM ANIMAL WHERE Id=%1").arg(id))
                    .toByteArray());
            QCOMPARE(thumb.size(), QSize(115, 115));
        }
        const QImage blue = decodeStoredThumbnail(
            value(db, QStringLiteral("SELECT ImgMini1 FROM ANIMAL WHERE Id=2")).toByteArray());
        QCOMPARE(blue.pixelColor(50, 50), QColor(Qt::blue));
        QVERIFY(!decodeStoredThumbnail(
                     value(db, QStringLiteral("SELECT ImgMini FROM DOCUMENTIMG WHERE Id=5"))
                         .toByteArray())
                     .isNull());
        db.close();

        QVERIFY(QFileInfo::exists(target + QStringLiteral("/Images/Animal1.jpg")));
        QVERIFY(QFileInfo::exists(target + QStringLiteral("/Images/Doc5.jpg")));
        QVERIFY(QFileInfo::exists(target + QStringLiteral("/Files/File6.f")));
        const QString report = r.report();
        QVERIFY2(report.contains(u("File8.f")), qPrintable(report));
        QVERIFY2(report.contains(u("ANIMAL n° 3, ImgMini1 : image illisible, vignette refaite")),
                 qPrintable(report));
        QVERIFY2(report.contains(u("Animaux : 3")), qPrintable(report));
    }

    // A backup archive of the Windows versions: entries under bare names
    // or with a folder prefix, matched whatever their case.
    void archiveHoldingJetBookletComesAcross()
    {
        QTemporaryDir dir;
        const QString mdb = writeSampleBooklet(dir.filePath(QStringLiteral("windows")));
        const QString w = dir.filePath(QStringLiteral("windows"));
        const QString archive = dir.filePath(QStringLiteral("sauvegarde.bkp"));
        // Written by the command-line tool so that the folder prefixes stay.
        QVERIFY(QFile::copy(w + QStringLiteral("/Images/ANIMAL1.JPG"),
                            w + QStringLiteral("/ANIMAL1.JPG")));
        QProcess gcab;
        gcab.setWorkingDirectory(w);
        gcab.start(QStringLiteral("gcab"),
                   {QStringLiteral("-c"), QStringLiteral("-z"), archive,
                    QStringLiteral("TAVIRUNE.MDB"), QStringLiteral("ANIMAL1.JPG"),
                    QStringLiteral("Images/doc5.JPG"), QStringLiteral("files/FILE6.F")});
        QVERIFY(gcab.waitForFinished(30000));
        QCOMPARE(gcab.exitCode(), 0);
        QVERIFY(QFile::remove(mdb));
        const QString target = dir.filePath(QStringLiteral("converti"));
        const JetImportResult r = convertJetBooklet(archive, target);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.counts.animals, 3);
        QCOMPARE(r.counts.pictures, 2);
        QVERIFY(QFileInfo::exists(target + QStringLiteral("/Images/Animal1.jpg")));
        QVERIFY(QFileInfo::exists(target + QStringLiteral("/Images/Doc5.jpg")));
        QVERIFY(QFileInfo::exists(target + QStringLiteral("/Files/File6.f")));
        QVERIFY(!QFileInfo::exists(target + QStringLiteral("/.archive")));
        // Animal 3's photo was not in the archive: its thumbnail cannot be
        // made again, and its bytes are kept as they were.
        QVERIFY(
            r.report().contains(u("ANIMAL n° 3, ImgMini1 : image illisible, gardée telle quelle")));
        Connection db;
        db.open(target + QStringLiteral("/TAVIRUNE.MDB"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT ImgMini1 FROM ANIMAL WHERE Id=3")).toByteArray(),
                 QByteArray("plus une image"));
    }

    // What is not a booklet of the Windows versions is refused with its
    // own message; cancelling stops and says so.
    void refusalsAndCancel()
    {
        QTemporaryDir dir;
        JetWriteTable other;
        other.name = QStringLiteral("CLIENTS");
        other.columns = {{QStringLiteral("Nom"), JetColumnType::Text, 50}};
        other.rows = {{QStringLiteral("Dupont")}};
        QString error;
        const QString foreign = dir.filePath(QStringLiteral("clients.mdb"));
        QVERIFY(writeJetFile(foreign, {other}, &error));
        JetImportResult r = convertJetBooklet(foreign, dir.filePath(QStringLiteral("a")));
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(u("n'est pas un carnet de santé")), qPrintable(r.error));

        r = convertJetBooklet(dir.filePath(QStringLiteral("absent.mdb")),
                              dir.filePath(QStringLiteral("b")));
        QVERIFY(!r.ok);
        QVERIFY(r.error.contains(u("introuvable")));

        const QString mdb = writeSampleBooklet(dir.filePath(QStringLiteral("windows")));
        r = convertJetBooklet(mdb, dir.filePath(QStringLiteral("c")),
                              [](const QString&, int done, int) { return done < 5; });
        QVERIFY(!r.ok);
        QVERIFY(r.cancelled);
        QVERIFY(r.error.contains(u("annulée")));

        // The result crosses the process boundary whole.
        r = convertJetBooklet(mdb, dir.filePath(QStringLiteral("d")));
        const JetImportResult back = JetImportResult::fromJson(r.toJson());
        QCOMPARE(back.report(), r.report());
        QVERIFY(!JetImportResult::fromJson("garbage").ok);
    }
};

QTEST_MAIN(TestJetImport)
#include "tst_jetimport.moc"
