#include "TestDatabase.h"

#include "db/DbError.h"
#include "db/SqlDialect.h"

#include <QSqlQuery>
#include <QtTest>

using namespace tav;

class TestSqlDialect : public QObject
{
    Q_OBJECT
private slots:
    void rewritesJetLiterals_data();
    void rewritesJetLiterals();
    void leavesQuotedTextAlone();
    void frenchOrderAndComparison();
    void jetFunctionsRunOnTheConnection();
    void quotedValuesNeverBreakAStatement();
};

void TestSqlDialect::rewritesJetLiterals_data()
{
    QTest::addColumn<QString>("jet");
    QTest::addColumn<QString>("sqlite");
    QTest::newRow("date us") << "WHERE D >= #12/25/2008#"
                             << "WHERE D >= '2008-12-25'";
    QTest::newRow("date iso") << "WHERE D=#2008-01-05#"
                              << "WHERE D='2008-01-05'";
    QTest::newRow("concat") << "SELECT Name & ' ' & ForeName"
                            << "SELECT Name || ' ' || ForeName";
    QTest::newRow("like") << "WHERE Title LIKE 'ch*n?'"
                          << "WHERE Title LIKE 'ch%n_'";
    QTest::newRow("double quotes") << "WHERE Title=\"Berger d'Anatolie\""
                                   << "WHERE Title='Berger d''Anatolie'";
    QTest::newRow("brackets kept") << "SELECT [Size].Id FROM [SIZE]"
                                   << "SELECT [Size].Id FROM [SIZE]";
    QTest::newRow("not a date") << "WHERE A#B"
                                << "WHERE A#B";
}

void TestSqlDialect::rewritesJetLiterals()
{
    QFETCH(QString, jet);
    QFETCH(QString, sqlite);
    QCOMPARE(adaptJetSql(jet), sqlite);
}

void TestSqlDialect::leavesQuotedTextAlone()
{
    // Markers inside a text literal are user data, not syntax.
    QCOMPARE(adaptJetSql(QStringLiteral("SELECT 'A & B #1/2/2003# *' FROM X")),
             QStringLiteral("SELECT 'A & B #1/2/2003# *' FROM X"));
    QCOMPARE(adaptJetSql(QStringLiteral("SELECT 'it''s' FROM X")),
             QStringLiteral("SELECT 'it''s' FROM X"));
}

void TestSqlDialect::frenchOrderAndComparison()
{
    TestDatabase db;
    for (const char* name : {"fanny", "Zorro", "émile", "dora", "azur", "Émilie", "Eve"})
        db.connection.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES (?)"),
                           {QString::fromUtf8(name)});
    QSqlQuery q(db.connection.database());
    QVERIFY(q.exec(QStringLiteral("SELECT Name FROM ANIMAL ORDER BY NAME, FORENAME")));
    QStringList order;
    while (q.next())
        order << q.value(0).toString();
    QCOMPARE(order,
             QStringList({QStringLiteral("azur"), QStringLiteral("dora"), QStringLiteral("émile"),
                          QStringLiteral("Émilie"), QStringLiteral("Eve"), QStringLiteral("fanny"),
                          QStringLiteral("Zorro")}));

    db.connection.exec(QStringLiteral("INSERT INTO ANIMAL_SPECIES (Title) VALUES ('Chien')"));
    QCOMPARE(db.connection
                 .scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL_SPECIES WHERE Title='chien'"))
                 .toInt(),
             1);
    QCOMPARE(db.connection
                 .scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL_SPECIES WHERE Title='CHIEN'"))
                 .toInt(),
             1);
    // Accents still tell two names apart.
    db.connection.exec(QStringLiteral("INSERT INTO ANIMAL_SPECIES (Title) VALUES ('Chèvre')"));
    QCOMPARE(db.connection
                 .scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL_SPECIES WHERE Title='chevre'"))
                 .toInt(),
             0);
    QCOMPARE(db.connection
                 .scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL_SPECIES WHERE Title='CHÈVRE'"))
                 .toInt(),
             1);
}

void TestSqlDialect::jetFunctionsRunOnTheConnection()
{
    TestDatabase db;
    db.connection.exec(QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag, Date_Action, Price) "
                                      "VALUES (1, 1, '2008-03-04', 12.5)"));
    db.connection.exec(QStringLiteral(
        "INSERT INTO [ACTION] (Id_Ref, Tag, Date_Action, Price) VALUES (1, 1, '2009-03-04', 7.5)"));
    QCOMPARE(
        db.connection
            .scalar(QStringLiteral("SELECT Sum(Price) FROM [ACTION] WHERE Year(Date_Action)=2008 "
                                   "AND Tag=1 AND True"))
            .toDouble(),
        12.5);
    QCOMPARE(db.connection
                 .scalar(QStringLiteral(
                     "SELECT COUNT(*) FROM [ACTION] WHERE Date_Action > #12/31/2008#"))
                 .toInt(),
             1);
    QCOMPARE(db.connection.scalar(QStringLiteral("SELECT UCase('médor') & '!'")).toString(),
             QStringLiteral("MÉDOR!"));
    QCOMPARE(db.connection.scalar(QStringLiteral("SELECT Nz(NULL, 3)")).toInt(), 3);
}

void TestSqlDialect::quotedValuesNeverBreakAStatement()
{
    TestDatabase db;
    const QString title = QStringLiteral("Berger d'Anatolie'); DROP TABLE ANIMAL; --");
    db.connection.exec(QStringLiteral("INSERT INTO ANIMAL_BREED (Title) VALUES (") +
                       quoteSqlText(title) + QLatin1Char(')'));
    QCOMPARE(db.connection.scalar(QStringLiteral("SELECT Title FROM ANIMAL_BREED")).toString(),
             title);
    QVERIFY(db.connection.tableNames().contains(QStringLiteral("ANIMAL")));
    QVERIFY_THROWS_EXCEPTION(DbError, db.connection.exec(QStringLiteral("SELECT * FROM NOPE")));
}

QTEST_GUILESS_MAIN(TestSqlDialect)
#include "tst_sqldialect.moc"
