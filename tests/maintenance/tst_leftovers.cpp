#include "BookletFolders.h"
#include "TestText.h"

#include "core/Clock.h"
#include "db/Connection.h"
#include "maintenance/Compaction.h"
#include "maintenance/Leftovers.h"

#include <QDir>
#include <QtTest>

using namespace tav;

namespace {

struct Folders : BookletFolders
{
    Folders()
    {
        Connection c;
        c.open(files.databaseFile);
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Rex'), ('Felix')"));
    }
    QString access() const { return QFileInfo(files.databaseFile).absolutePath(); }
    QString copy() const { return access() + QStringLiteral("/TAVIRUNE~.MDB"); }
    QStringList names(const QString& path) const
    {
        Connection c;
        c.open(path);
        QStringList out;
        c.forEachRow(QStringLiteral("SELECT Name FROM ANIMAL ORDER BY Id"),
                     [&out](const QVariantList& r) { out << r.at(0).toString(); });
        return out;
    }
    QStringList accessFiles() const { return QDir(access()).entryList(QDir::Files, QDir::Name); }
};

const QByteArray kDamaged = QByteArray("SQLite format 3") + '\0' + QByteArray(4000, 'x');

} // namespace

class TestLeftovers : public QObject
{
    Q_OBJECT
private slots:
    void aCopyBesideAWholeDatabaseGoes();
    void aWholeCopyTakesTheDatabasesPlace_data();
    void aWholeCopyTakesTheDatabasesPlace();
    void aDamagedCopyIsKeptWhenTheDatabaseIsNotWhole();
    void partialFilesAndStrayJournalsGo();
};

void TestLeftovers::aCopyBesideAWholeDatabaseGoes()
{
    // A compaction killed between its two renames: the database is whole,
    // its compacted copy lies beside it.
    Folders f;
    QVERIFY(compactDatabaseFile(f.files.databaseFile, f.copy()).ok);
    {
        Connection c;
        c.open(f.files.databaseFile);
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Added after')"));
    }
    QVERIFY(!compactDatabaseInPlace(f.files.databaseFile).ok);
    const QStringList notes = clearLeftovers(f.files);
    QCOMPARE(notes.size(), 1);
    QVERIFY2(notes.first().contains(u("est intacte")), qPrintable(notes.first()));
    QCOMPARE(f.names(f.files.databaseFile), strings({"Rex", "Felix", "Added after"}));
    QCOMPARE(f.accessFiles(), QStringList{QStringLiteral("TAVIRUNE.MDB")});
    // Compactions and backups work again.
    QVERIFY(compactDatabaseInPlace(f.files.databaseFile).ok);
    QVERIFY(clearLeftovers(f.files).isEmpty());
}

void TestLeftovers::aWholeCopyTakesTheDatabasesPlace_data()
{
    QTest::addColumn<bool>("damaged");
    QTest::newRow("database missing") << false;
    QTest::newRow("database damaged") << true;
}

void TestLeftovers::aWholeCopyTakesTheDatabasesPlace()
{
    QFETCH(bool, damaged);
    const Clock::Fixed clock(QDateTime(QDate(2026, 12, 10), QTime(5, 1, 2)));
    Folders f;
    QVERIFY(QFile::rename(f.files.databaseFile, f.copy()));
    if (damaged)
        QVERIFY(writeBytes(f.files.databaseFile, kDamaged));
    // A journal of the database that is gone must not be replayed into it.
    QVERIFY(writeBytes(f.files.databaseFile + QStringLiteral("-journal"), QByteArray(512, 'j')));
    const QStringList notes = clearLeftovers(f.files);
    QCOMPARE(notes.size(), 1);
    QVERIFY2(notes.first().contains(u("a été récupérée")), qPrintable(notes.first()));
    QCOMPARE(f.names(f.files.databaseFile), strings({"Rex", "Felix"}));
    const QString aside = QStringLiteral("TAVIRUNE_ENDOMMAGEE_20261210_050102.MDB");
    QVERIFY(!QFile::exists(f.files.databaseFile + QStringLiteral("-journal")));
    QVERIFY(!QFile::exists(f.copy()));
    QCOMPARE(QFile::exists(f.access() + QLatin1Char('/') + aside), damaged);
    if (damaged) {
        QVERIFY(notes.first().contains(aside));
        QCOMPARE(readBytes(f.access() + QLatin1Char('/') + aside), kDamaged);
    }
}

void TestLeftovers::aDamagedCopyIsKeptWhenTheDatabaseIsNotWhole()
{
    const Clock::Fixed clock(QDateTime(QDate(2026, 12, 10), QTime(5, 1, 2)));
    {
        // Beside a whole database a damaged copy holds nothing of worth.
        Folders f;
        QVERIFY(writeBytes(f.copy(), kDamaged));
        QCOMPARE(clearLeftovers(f.files).size(), 1);
        QCOMPARE(f.accessFiles(), QStringList{QStringLiteral("TAVIRUNE.MDB")});
    }
    // Without one it may be all there is: it is kept under another name,
    // and the temporary name is free for the next compaction.
    Folders f;
    QVERIFY(QFile::remove(f.files.databaseFile));
    QVERIFY(writeBytes(f.copy(), kDamaged));
    const QStringList notes = clearLeftovers(f.files);
    QCOMPARE(notes.size(), 1);
    const QString kept = QStringLiteral("TAVIRUNE~_ENDOMMAGEE_20261210_050102.MDB");
    QVERIFY2(notes.first().contains(kept), qPrintable(notes.first()));
    QCOMPARE(f.accessFiles(), QStringList{kept});
    QCOMPARE(readBytes(f.access() + QLatin1Char('/') + kept), kDamaged);
}

void TestLeftovers::partialFilesAndStrayJournalsGo()
{
    Folders f;
    const QString maj = f.files.workFolder + QStringLiteral("/Maj");
    QVERIFY(QDir().mkpath(maj));
    const QStringList leftovers = {
        f.access() + QStringLiteral("/TAVIRUNE~.MDB.tmp"),
        f.access() + QStringLiteral("/TAVIRUNE.MDB.copie-avant-conversion-texte.tmp"),
        f.access() + QStringLiteral("/TAVIRUNE~.MDB-journal"),
        maj + QStringLiteral("/TAVIRUNE_ACCESS_BACKUP_MAJ_25122008143005.bkp.tmp"),
        maj + QStringLiteral("/TAVIRUNE_ACCESS_BACKUP_MAJ_25122008143005.bkp.tmp-journal"),
        f.files.workFolder + QStringLiteral("/TAVIRUNE_ACCESS_BACKUP_10_12_2026.bkp.nouveau"),
        f.files.workFolder + QStringLiteral("/TAVIRUNE_AVANT_RESTAURATION_1.BKP.nouveau.tmp"),
        f.files.imagesFolder + QStringLiteral("/temp.jpg")};
    // What the booklets and finished operations hold stays.
    const QStringList kept = {
        f.files.databaseFile,
        f.files.databaseFile + QStringLiteral("-journal"),
        f.access() + QStringLiteral("/TAVIRUNE.MDB.copie-avant-conversion-texte"),
        maj + QStringLiteral("/TAVIRUNE_ACCESS_BACKUP_MAJ_24122008143005.bkp"),
        f.files.workFolder + QStringLiteral("/TAVIRUNE_ACCESS_BACKUP_09_12_2026.bkp"),
        f.files.imagesFolder + QStringLiteral("/Doc1.jpg"),
        f.files.filesFolder + QStringLiteral("/File1.f")};
    for (const QString& path : leftovers + kept.mid(1))
        QVERIFY(writeBytes(path, "x"));
    const QStringList notes = clearLeftovers(f.files);
    QCOMPARE(notes.size(), leftovers.size());
    for (const QString& path : leftovers) {
        QVERIFY2(!QFile::exists(path), qPrintable(path));
        QVERIFY2(notes.join(QLatin1Char('\n')).contains(path), qPrintable(path));
    }
    for (const QString& path : kept)
        QVERIFY2(QFile::exists(path), qPrintable(path));
}

QTEST_GUILESS_MAIN(TestLeftovers)
#include "tst_leftovers.moc"
