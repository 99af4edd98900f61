#include "TestDatabase.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Schema.h"
#include "db/TextAffinityUpgrade.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

using namespace tav;

namespace {

// A database as an earlier build wrote it: memo columns declared MEMO, so
// that the engine read numbers into them.
void createEarlierSchema(Connection& c)
{
    for (const TableDef& t : schemaTables()) {
        QString sql = createTableSql(t);
        sql.replace(QLatin1String("] LONGTEXT"), QLatin1String("] MEMO"));
        c.exec(sql);
    }
}

void fillEarlier(Connection& c)
{
    c.exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name, Misc11, Description) VALUES "
                          "(5, 'Rex', '0612345678', 'Calme')"));
    c.exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name) VALUES (9, 'Parti')"));
    c.exec(QStringLiteral("DELETE FROM ANIMAL WHERE Id=9"));
    c.exec(QStringLiteral("INSERT INTO COMBOITEMS (Sex) VALUES ('00')"));
    c.exec(QStringLiteral("INSERT INTO EVENT (Id_Ref, Description) VALUES (5, 'Vermifuge')"));
}

QString columnType(Connection& c, const QString& table, const QString& column)
{
    return c
        .scalar(QStringLiteral("SELECT type FROM pragma_table_info(?) WHERE name=?"),
                {table, column})
        .toString();
}

QString schemaText(Connection& c)
{
    QStringList out;
    c.forEachRow(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type='table' AND name "
                                "<> 'sqlite_sequence' ORDER BY name"),
                 [&out](const QVariantList& row) {
                     const QString sql = row.at(1).toString();
                     out << row.at(0).toString() + QLatin1Char(' ') +
                                sql.mid(sql.indexOf(QLatin1Char('(')));
                 });
    return out.join(QLatin1Char('\n'));
}

QString sqliteTool(const QString& file, const QString& sql)
{
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {file, sql});
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return QStringLiteral("<sqlite3 failed>");
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestTextAffinity : public QObject
{
    Q_OBJECT
private slots:
    void affinityFollowsTheEngineRules();
    void earlierDatabaseIsConvertedOnce();
    void failureHalfWayChangesNothing();
};

void TestTextAffinity::affinityFollowsTheEngineRules()
{
    QCOMPARE(sqliteAffinity(QStringLiteral("MEMO")), QStringLiteral("NUMERIC"));
    QCOMPARE(sqliteAffinity(QStringLiteral("LONGTEXT")), QStringLiteral("TEXT"));
    QCOMPARE(sqliteAffinity(QStringLiteral("TEXT(128)")), QStringLiteral("TEXT"));
    QCOMPARE(sqliteAffinity(QStringLiteral("VARCHAR(10)")), QStringLiteral("TEXT"));
    QCOMPARE(sqliteAffinity(QStringLiteral("POINT")), QStringLiteral("INTEGER")); // "INT"
    QCOMPARE(sqliteAffinity(QStringLiteral("DOUBLE")), QStringLiteral("REAL"));
    QCOMPARE(sqliteAffinity(QString()), QStringLiteral("BLOB"));
    QCOMPARE(sqliteAffinity(QStringLiteral("CURRENCY")), QStringLiteral("NUMERIC"));
}

void TestTextAffinity::earlierDatabaseIsConvertedOnce()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("TAVIRUNE.MDB"));
    // Something already bears the safety copy's name: it is not overwritten.
    const QString taken = file + QStringLiteral(".copie-avant-conversion-texte");
    {
        QFile f(taken);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("ne pas écraser");
    }
    Connection c;
    c.open(file, true);
    createEarlierSchema(c);
    fillEarlier(c);
    QCOMPARE(c.scalar(QStringLiteral("SELECT typeof(Misc11) FROM ANIMAL")).toString(),
             QStringLiteral("integer"));
    const QStringList expected = {QStringLiteral("ANIMAL"),       QStringLiteral("COMBOITEMS"),
                                  QStringLiteral("LST_ANALYSIS"), QStringLiteral("L_ANALYSIS"),
                                  QStringLiteral("SQL_QUERY"),    QStringLiteral("STAT_QUERY"),
                                  QStringLiteral("VACCINE")};
    QStringList found = tablesWithNumericText(c);
    found.sort();
    QStringList sortedExpected = expected;
    sortedExpected.sort();
    QCOMPARE(found, sortedExpected);

    const TextAffinityUpgradeResult r = upgradeTextAffinity(c);
    QVERIFY2(r.ok, qPrintable(r.message));
    QCOMPARE(r.tables.size(), expected.size());
    QCOMPARE(r.safetyCopy, taken + QStringLiteral("-2"));
    QVERIFY(!QFile::exists(r.safetyCopy + QStringLiteral(".tmp")));
    {
        QFile f(taken);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("ne pas écraser"));
    }

    // The tables now read exactly as a new database's.
    TestDatabase fresh;
    QCOMPARE(schemaText(c), schemaText(fresh.connection));
    QCOMPARE(columnType(c, QStringLiteral("ANIMAL"), QStringLiteral("Misc11")),
             QStringLiteral("LONGTEXT"));
    // Rows and keys kept; a value already turned into a number keeps its digits.
    QCOMPARE(c.scalar(QStringLiteral("SELECT typeof(Misc11) || '|' || Misc11 || '|' || "
                                     "Description FROM ANIMAL WHERE Id=5"))
                 .toString(),
             QStringLiteral("text|612345678|Calme"));
    QCOMPARE(c.scalar(QStringLiteral("SELECT Sex FROM COMBOITEMS")).toString(),
             QStringLiteral("0"));
    QCOMPARE(c.scalar(QStringLiteral("SELECT COUNT(*) FROM EVENT")).toInt(), 1);
    // The key of the deleted animal is not given again.
    c.exec(QStringLiteral("INSERT INTO ANIMAL (Name, Misc11) VALUES ('Nouveau', '0612345678')"));
    QCOMPARE(c.scalar(QStringLiteral("SELECT MAX(Id) FROM ANIMAL")).toInt(), 10);
    QCOMPARE(c.scalar(QStringLiteral("SELECT Misc11 FROM ANIMAL WHERE Id=10")).toString(),
             QStringLiteral("0612345678"));
    // Text still compares without case.
    QCOMPARE(c.scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL WHERE Name='REX'")).toInt(), 1);

    // The safety copy is the database as it was, readable by the stock tool.
    QCOMPARE(sqliteTool(r.safetyCopy, QStringLiteral("SELECT typeof(Misc11), Misc11 FROM ANIMAL; "
                                                     "SELECT type FROM pragma_table_info('ANIMAL') "
                                                     "WHERE name='Misc11';")),
             QStringLiteral("integer|612345678\nMEMO\n"));

    // A second start finds nothing to do and makes no other copy.
    const TextAffinityUpgradeResult again = upgradeTextAffinity(c);
    QVERIFY(again.ok);
    QVERIFY(again.tables.isEmpty());
    QVERIFY(again.safetyCopy.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}

void TestTextAffinity::failureHalfWayChangesNothing()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("TAVIRUNE.MDB"));
    Connection c;
    c.open(file, true);
    createEarlierSchema(c);
    fillEarlier(c);
    const QString before = schemaText(c);
    int calls = 0;
    const TextAffinityUpgradeResult r = upgradeTextAffinity(c, [&calls](const QString&) {
        if (++calls == 2)
            throw DbError(QStringLiteral("disque plein"));
    });
    QVERIFY(!r.ok);
    QCOMPARE(calls, 2);
    QVERIFY(r.message.contains(QStringLiteral("disque plein")));
    QVERIFY(r.message.contains(QStringLiteral("n'a pas été modifiée")));
    QVERIFY(!c.inTransaction());
    QCOMPARE(schemaText(c), before);
    QCOMPARE(columnType(c, QStringLiteral("ANIMAL"), QStringLiteral("Misc11")),
             QStringLiteral("MEMO"));
    QCOMPARE(c.scalar(QStringLiteral("SELECT Name FROM ANIMAL")).toString(), QStringLiteral("Rex"));
    QCOMPARE(c.scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE name LIKE "
                                     "'%texte%'"))
                 .toInt(),
             0);
    // A later start converts it.
    QVERIFY(upgradeTextAffinity(c).ok);
    QVERIFY(tablesWithNumericText(c).isEmpty());
}

QTEST_GUILESS_MAIN(TestTextAffinity)
#include "tst_textaffinity.moc"
