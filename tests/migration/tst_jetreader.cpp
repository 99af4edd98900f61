#include "JetWriter.h"
#include "TestText.h"
#include "migration/JetReader.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace tav;
using namespace tav::test;

namespace {

QString fixtures()
{
    const QByteArray env = qgetenv("TAVIRUNE_JET_FIXTURES");
    return env.isEmpty() ? QStringLiteral(TAVIRUNE_JET_FIXTURES) : QString::fromLocal8Bit(env);
}

struct ReadResult
{
    bool ok = false;
    QString error;
    JetTableInfo info;
    QVector<QVariantList> rows;
    QStringList notes;
};

ReadResult readAll(const QString& path, const QString& table)
{
    ReadResult r;
    JetReader reader;
    if (!reader.open(path, &r.error))
        return r;
    r.ok = reader.readTable(
        table, &r.info,
        [&r](const QVariantList& row) {
            r.rows.append(row);
            return true;
        },
        &r.error, &r.notes);
    return r;
}

QVariant column(const ReadResult& r, int row, const QString& name)
{
    for (int i = 0; i < r.info.columns.size(); ++i)
        if (r.info.columns.at(i).name == name)
            return r.rows.value(row).value(i);
    return QVariant(QStringLiteral("<no column %1>").arg(name));
}

JetWriteTable sampleTable()
{
    JetWriteTable t;
    t.name = QStringLiteral("SAMPLE");
    t.columns = {{QStringLiteral("Id"), JetColumnType::Long, 0, true},
                 {QStringLiteral("Ref"), JetColumnType::Int},
                 {QStringLiteral("Name"), JetColumnType::Text, 128, false, true},
                 {QStringLiteral("Note"), JetColumnType::Memo, 0, false, true},
                 {QStringLiteral("Day"), JetColumnType::DateTime},
                 {QStringLiteral("Price"), JetColumnType::Money},
                 {QStringLiteral("Done"), JetColumnType::Bool},
                 {QStringLiteral("Weight"), JetColumnType::Double},
                 {QStringLiteral("Picture"), JetColumnType::Ole}};
    return t;
}

QByteArray pattern(int size)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 7 + i / 251) & 0xFF);
    return b;
}

} // namespace

class TestJetReader : public QObject
{
    Q_OBJECT

private slots:
    // Every kind of value comes back exactly as written, NULL apart from
    // empty, long texts and pictures whole, dates far from 1900 intact.
    void writtenValuesComeBackExactly()
    {
        QTemporaryDir dir;
        JetWriteTable t = sampleTable();
        QString memo;
        while (memo.size() < 40000)
            memo += u("Vaccins à jour, œdème résorbé — 12 € ; ");
        t.rows.append({1, -3, u("Médor"), memo, QDate(1850, 3, 4), qint64(123456789), true, 12.345,
                       pattern(50000)});
        t.rows.append({2, 32767, QString(), QString(), QDate(2101, 12, 31), qint64(-5), false,
                       QVariant(), pattern(3000)});
        t.rows.append({3, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), false,
                       QVariant(), QVariant()});
        t.rows.append({4, 0, u("Zoé œ €"), u("court"), QDate(1899, 12, 30), qint64(0), true, 0.0,
                       pattern(10)});
        const QString path = dir.filePath(QStringLiteral("t.mdb"));
        QString error;
        QVERIFY2(writeJetFile(path, {t}, &error), qPrintable(error));

        const ReadResult r = readAll(path, QStringLiteral("SAMPLE"));
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.rows.size(), 4);
        QCOMPARE(column(r, 0, QStringLiteral("Name")).toString(), u("Médor"));
        QCOMPARE(column(r, 0, QStringLiteral("Note")).toString(), memo);
        QCOMPARE(column(r, 0, QStringLiteral("Day")).toDate(), QDate(1850, 3, 4));
        QCOMPARE(column(r, 0, QStringLiteral("Price")).toLongLong(), 123456789LL);
        QCOMPARE(column(r, 0, QStringLiteral("Ref")).toLongLong(), -3LL);
        QCOMPARE(column(r, 0, QStringLiteral("Done")).toBool(), true);
        QCOMPARE(column(r, 0, QStringLiteral("Weight")).toDouble(), 12.345);
        QCOMPARE(column(r, 0, QStringLiteral("Picture")).toByteArray(), pattern(50000));

        // An empty text is not a missing one.
        QVERIFY(!column(r, 1, QStringLiteral("Name")).isNull());
        QCOMPARE(column(r, 1, QStringLiteral("Name")).toString(), QString());
        QVERIFY(!column(r, 1, QStringLiteral("Note")).isNull());
        QCOMPARE(column(r, 1, QStringLiteral("Day")).toDate(), QDate(2101, 12, 31));
        QCOMPARE(column(r, 1, QStringLiteral("Price")).toLongLong(), -5LL);
        QCOMPARE(column(r, 1, QStringLiteral("Ref")).toLongLong(), 32767LL);
        QVERIFY(column(r, 1, QStringLiteral("Weight")).isNull());
        QCOMPARE(column(r, 1, QStringLiteral("Picture")).toByteArray(), pattern(3000));
        for (const char* name : {"Ref", "Name", "Note", "Day", "Price", "Weight", "Picture"})
            QVERIFY2(column(r, 2, QLatin1String(name)).isNull(), name);
        QCOMPARE(column(r, 3, QStringLiteral("Name")).toString(), u("Zoé œ €"));
        QCOMPARE(column(r, 3, QStringLiteral("Day")).toDate(), QDate(1899, 12, 30));
        QCOMPARE(column(r, 3, QStringLiteral("Picture")).toByteArray(), pattern(10));
        QVERIFY(r.notes.isEmpty());
    }

    // Files that libmdb reads without complaint but wrongly are refused,
    // each with its own reason.
    void damagedOrForeignFilesAreRefused()
    {
        QTemporaryDir dir;
        JetWriteTable t = sampleTable();
        for (int i = 1; i <= 300; ++i)
            t.rows.append({i, i, u("Bête n° %1").arg(i), QVariant(), QDate(2020, 1, 1), qint64(i),
                           true, 1.5, QVariant()});
        QString error;
        const QByteArray good = jetFileBytes({t}, &error);
        QVERIFY2(!good.isEmpty(), qPrintable(error));
        const auto attempt = [&dir](const QString& name, const QByteArray& bytes) {
            const QString path = dir.filePath(name);
            QFile f(path);
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
            f.close();
            return readAll(path, QStringLiteral("SAMPLE"));
        };
        QVERIFY(attempt(QStringLiteral("good.mdb"), good).ok);

        ReadResult r = attempt(QStringLiteral("empty.mdb"), QByteArray());
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(u("vide")), qPrintable(r.error));

        // Cut at a page boundary: the library would give the rows left.
        r = attempt(QStringLiteral("cut.mdb"), good.left(good.size() - 4096));
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(u("incomplète")), qPrintable(r.error));

        r = attempt(QStringLiteral("odd.mdb"), good.left(good.size() - 100));
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(u("incomplet")), qPrintable(r.error));

        QByteArray ace = good;
        ace.replace(4, 15, "Standard ACE DB");
        r = attempt(QStringLiteral("new.accdb"), ace);
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(u(".accdb")), qPrintable(r.error));

        // A password lies scrambled in the header like everything there:
        // flipping a byte of the scrambled area sets one.
        QByteArray locked = good;
        locked[0x42] = char(locked.at(0x42) ^ 0x5A);
        r = attempt(QStringLiteral("locked.mdb"), locked);
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(u("mot de passe")), qPrintable(r.error));

        r = attempt(QStringLiteral("text.mdb"), QByteArray(8192, 'x'));
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(u("n'est pas une base")), qPrintable(r.error));
    }

    // Real files of the Jet engine: what the library gives wrong on its own
    // (dates, currency, long values, compression, deleted and overflow
    // rows, code page text) is read right.
    void realJetFilesAreReadExactly()
    {
        const QString dir = fixtures();
        if (!QFileInfo::exists(dir + QStringLiteral("/testV2000.mdb")))
            QSKIP(qPrintable(QStringLiteral("Jet samples missing in %1").arg(dir)));
        ReadResult r = readAll(dir + QStringLiteral("/testV2000.mdb"), QStringLiteral("Table1"));
        QVERIFY2(r.ok, qPrintable(r.error));
        QVERIFY(!r.rows.isEmpty());
        const QVariantList first = r.rows.first();
        QCOMPARE(first.value(0).toString(), QStringLiteral("abcdefg"));
        QCOMPARE(first.value(1).toString(), QStringLiteral("hijklmnop"));
        QCOMPARE(first.value(4).toLongLong(), 333333333LL);
        QCOMPARE(first.value(5).toDouble(), 444.555);
        QCOMPARE(first.value(6).toDate(), QDate(1974, 9, 21));
        QCOMPARE(first.value(7).toLongLong(), 35000LL);
        QCOMPARE(first.value(8).toBool(), true);

        const QByteArray blob = readBytes(dir + QStringLiteral("/test2BinData.dat"));
        QCOMPARE(blob.size(), 22970);
        for (const char* file : {"/test2V2000.mdb", "/test2V1997.mdb"}) {
            JetReader reader;
            QString error;
            QVERIFY2(reader.open(dir + QLatin1String(file), &error), qPrintable(error));
            QCOMPARE(reader.tableNames().size(), 1);
            r = readAll(dir + QLatin1String(file), reader.tableNames().first());
            QVERIFY2(r.ok, qPrintable(r.error));
            QCOMPARE(r.rows.size(), 1);
            int blobs = 0;
            int longest = 0;
            for (int i = 0; i < r.info.columns.size(); ++i) {
                if (r.info.columns.at(i).type == JetColumnType::Ole) {
                    QCOMPARE(r.rows.first().at(i).toByteArray(), blob);
                    ++blobs;
                }
                if (r.info.columns.at(i).type == JetColumnType::Memo)
                    longest = qMax(longest, int(r.rows.first().at(i).toString().size()));
            }
            QCOMPARE(blobs, 1);
            QCOMPARE(longest, 348);
        }

        JetReader unicode;
        QString error;
        QVERIFY(unicode.open(dir + QStringLiteral("/testUnicodeCompV2003.mdb"), &error));
        QString all;
        for (const QString& table : unicode.tableNames()) {
            r = readAll(dir + QStringLiteral("/testUnicodeCompV2003.mdb"), table);
            QVERIFY2(r.ok, qPrintable(r.error));
            for (const QVariantList& row : std::as_const(r.rows))
                for (const QVariant& v : row)
                    all += v.toString() + QLatin1Char('\n');
        }
        QVERIFY(all.contains(u("ääkkösiä")));
        QVERIFY(all.contains(u("Мир")));

        const auto rowsOf = [&dir](const char* file) {
            JetReader reader;
            QString why;
            if (!reader.open(dir + QLatin1String(file), &why))
                return -1;
            int rows = 0;
            for (const QString& table : reader.tableNames()) {
                const ReadResult one = readAll(dir + QLatin1String(file), table);
                if (!one.ok)
                    return -2;
                rows += int(one.rows.size());
            }
            return rows;
        };
        QCOMPARE(rowsOf("/overflowTestV2000.mdb"), 7);
        QCOMPARE(rowsOf("/delTestV2000.mdb"), 2);
    }

    // The library's environment variables change its text conversions;
    // the values read must not depend on them.
    void environmentDoesNotChangeValues()
    {
        QTemporaryDir dir;
        JetWriteTable t = sampleTable();
        t.rows.append(
            {1, 1, u("Médor œ"), u("Été"), QDate(1890, 1, 2), qint64(1), true, 1.0, QVariant()});
        const QString path = dir.filePath(QStringLiteral("t.mdb"));
        QString error;
        QVERIFY(writeJetFile(path, {t}, &error));
        qputenv("MDBICONV", "ISO-8859-1");
        qputenv("MDB_JET3_CHARSET", "CP437");
        qputenv("MDBOPTS", "use_index");
        const ReadResult r = readAll(path, QStringLiteral("SAMPLE"));
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(column(r, 0, QStringLiteral("Name")).toString(), u("Médor œ"));
        QCOMPARE(column(r, 0, QStringLiteral("Note")).toString(), u("Été"));
        QVERIFY(qEnvironmentVariableIsEmpty("MDBICONV"));
    }
};

QTEST_GUILESS_MAIN(TestJetReader)
#include "tst_jetreader.moc"
