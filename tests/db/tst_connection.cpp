#include "TestDatabase.h"

#include "db/DbError.h"

#include <QtTest>

using namespace tav;

class TestConnection : public QObject
{
    Q_OBJECT
private slots:
    void likeIgnoresCaseOfEveryLetter_data();
    void likeIgnoresCaseOfEveryLetter();
    void likeKeepsNullAndEscape();
};

void TestConnection::likeIgnoresCaseOfEveryLetter_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matches");
    QTest::newRow("capital accent finds small") << "É*"
                                                << "émile" << true;
    QTest::newRow("small accent finds capital") << "*é*"
                                                << "ZOÉ" << true;
    QTest::newRow("accent still counts") << "É*"
                                         << "emile" << false;
    QTest::newRow("ligature and cedilla") << "*Œ*Ç*"
                                          << "cœur de maçon" << true;
    QTest::newRow("greek") << "Σ*"
                           << "σοφία" << true;
    QTest::newRow("one character, two bytes") << "?mile"
                                              << "Émile" << true;
    QTest::newRow("one character exactly") << "?mile"
                                           << "mile" << false;
    QTest::newRow("star spans nothing") << "ab*"
                                        << "AB" << true;
    QTest::newRow("backtracking") << "*a*b"
                                  << "xAyAzB" << true;
    QTest::newRow("backtracking fails") << "*a*b"
                                        << "xAyAzBc" << false;
    QTest::newRow("several stars") << "**é**"
                                   << "é" << true;
    QTest::newRow("ascii") << "med*"
                           << "Médor" << false;
    QTest::newRow("whole text only") << "émile"
                                     << "émiles" << false;
    QTest::newRow("empty pattern") << ""
                                   << "" << true;
}

void TestConnection::likeIgnoresCaseOfEveryLetter()
{
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, matches);
    TestDatabase db;
    db.connection.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES (?)"), {text});
    // Written as the booklet's statements are, in the Jet dialect.
    const QString sql =
        QStringLiteral("SELECT COUNT(*) FROM [ANIMAL] WHERE [Name] LIKE '%1'").arg(pattern);
    QCOMPARE(db.connection.scalar(sql).toInt(), matches ? 1 : 0);
}

void TestConnection::likeKeepsNullAndEscape()
{
    TestDatabase db;
    Connection& c = db.connection;
    QVERIFY(c.scalar(QStringLiteral("SELECT NULL LIKE 'a'")).isNull());
    QVERIFY(c.scalar(QStringLiteral("SELECT 'a' LIKE NULL")).isNull());
    QCOMPARE(c.scalar(QStringLiteral("SELECT ? LIKE ? ESCAPE '!'"),
                      {QStringLiteral("100% ÉTÉ"), QStringLiteral("100!% é_é")})
                 .toInt(),
             1);
    QCOMPARE(c.scalar(QStringLiteral("SELECT ? LIKE ? ESCAPE '!'"),
                      {QStringLiteral("100 % été"), QStringLiteral("100!% é_é")})
                 .toInt(),
             0);
    QCOMPARE(c.scalar(QStringLiteral("SELECT ? LIKE ? ESCAPE 'é'"),
                      {QStringLiteral("a_B"), QStringLiteral("Aé_b")})
                 .toInt(),
             1);
    QVERIFY_THROWS_EXCEPTION(DbError, c.scalar(QStringLiteral("SELECT 'a' LIKE 'a' ESCAPE 'ab'")));
}

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
