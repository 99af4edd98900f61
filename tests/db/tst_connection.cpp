#include "TestDatabase.h"

#include "db/DbError.h"

#include <QtTest>

#include <functional>
#include <random>

using namespace tav;

class TestConnection : public QObject
{
    Q_OBJECT
private slots:
    void likeIgnoresCaseOfEveryLetter_data();
    void likeIgnoresCaseOfEveryLetter();
    void likeKeepsNullAndEscape();
    void engineFailuresAreToldInFrench();
    void damagedFilesAreNamedWhenOpened();
    void rememberedReadsFollowEveryChange();
    void frenchKeysOrderAsTheComparison();
};

namespace {

QString failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const DbError& e) {
        return e.message();
    }
    return QStringLiteral("(no failure)");
}

} // namespace

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

void TestConnection::engineFailuresAreToldInFrench()
{
    TestDatabase db;
    Connection& c = db.connection;
    const QString file = db.path();
    QCOMPARE(failureOf([&] { c.exec(QStringLiteral("SELECT * FROM [NOTHERE]")); }),
             QStringLiteral("La table NOTHERE est absente de la base de données « %1 ».\r"
                            "Détail : no such table: NOTHERE")
                 .arg(file));
    QCOMPARE(failureOf([&] { c.scalar(QStringLiteral("SELECT [Nope] FROM [ANIMAL]")); }),
             QStringLiteral("La colonne Nope est absente de la base de données « %1 ».\r"
                            "Détail : no such column: Nope")
                 .arg(file));
    c.exec(QStringLiteral("PRAGMA query_only = ON"));
    QCOMPARE(failureOf([&] { c.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('a')")); }),
             QStringLiteral("La base de données « %1 » est en lecture seule : les modifications "
                            "ne peuvent pas y être enregistrées.\r"
                            "Détail : attempt to write a readonly database")
                 .arg(file));
    QCOMPARE(failureOf([&] { c.execScript(QStringLiteral("INSERT INTO ANIMAL DEFAULT VALUES")); }),
             failureOf([&] { c.exec(QStringLiteral("INSERT INTO ANIMAL DEFAULT VALUES")); }));
    // Text without a code still gets its sentence.
    QCOMPARE(databaseErrorText(0, QStringLiteral("database disk image is malformed"), file),
             QStringLiteral("La base de données « %1 » est endommagée.\r"
                            "Détail : database disk image is malformed")
                 .arg(file));
}

void TestConnection::damagedFilesAreNamedWhenOpened()
{
    QTemporaryDir dir;
    const QString garbage = dir.filePath(QStringLiteral("garbage.mdb"));
    {
        QFile f(garbage);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8192, 'x'));
    }
    Connection c;
    QCOMPARE(failureOf([&] { c.open(garbage); }),
             QStringLiteral("Le fichier « %1 » n'est pas une base de données.\r"
                            "Détail : file is not a database")
                 .arg(garbage));
    QVERIFY(!c.isOpen());

    // A real database whose table pages were overwritten.
    const QString damaged = dir.filePath(QStringLiteral("damaged.mdb"));
    {
        Connection w;
        w.open(damaged, true);
        w.exec(QStringLiteral("CREATE TABLE T (V TEXT)"));
        for (int i = 0; i < 200; ++i)
            w.exec(QStringLiteral("INSERT INTO T VALUES (?)"),
                   {QString(200, QChar(u'a' + i % 26))});
    }
    {
        QFile f(damaged);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const qint64 page = 4096;
        QVERIFY(f.size() > 4 * page);
        f.seek(page);
        f.write(QByteArray(int(page), '\xFF'));
    }
    c.open(damaged);
    const QString failure = failureOf([&] { c.scalar(QStringLiteral("SELECT COUNT(V) FROM T")); });
    QVERIFY2(
        failure.startsWith(
            QStringLiteral("La base de données « %1 » est endommagée.\rDétail : ").arg(damaged)),
        qPrintable(failure));
}

void TestConnection::rememberedReadsFollowEveryChange()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("memo.mdb"));
    Connection c;
    c.open(file, true);
    c.exec(QStringLiteral("CREATE TABLE T (Id INTEGER PRIMARY KEY, V TEXT, B BLOB)"));
    c.exec(QStringLiteral("INSERT INTO T (Id, V, B) VALUES (1, 'un', x'0102'), (2, 'deux', NULL)"));
    const QString read = QStringLiteral("SELECT V FROM T WHERE Id=?");
    QCOMPARE(c.cachedScalar(read, {1}).toString(), QStringLiteral("un"));
    QCOMPARE(c.cachedScalar(read, {2}).toString(), QStringLiteral("deux"));
    QVERIFY(!c.cachedScalar(read, {3}).isValid());
    QCOMPARE(c.cachedScalar(QStringLiteral("SELECT B FROM T WHERE Id=?"), {1}).toByteArray(),
             QByteArray("\x01\x02", 2));

    // A write through this connection.
    c.exec(QStringLiteral("UPDATE T SET V='one' WHERE Id=1"));
    QCOMPARE(c.cachedScalar(read, {1}).toString(), QStringLiteral("one"));
    c.exec(QStringLiteral("INSERT INTO T (Id, V) VALUES (3, 'trois')"));
    QCOMPARE(c.cachedScalar(read, {3}).toString(), QStringLiteral("trois"));

    // A write through another connection to the same file.
    QCOMPARE(c.cachedScalar(read, {2}).toString(), QStringLiteral("deux"));
    {
        Connection other;
        other.open(file);
        other.exec(QStringLiteral("UPDATE T SET V='two' WHERE Id=2"));
    }
    QCOMPARE(c.cachedScalar(read, {2}).toString(), QStringLiteral("two"));

    // Look-ups read as one burst still see this connection's writes, and
    // the next burst sees another connection's.
    {
        Connection::ReadBurst burst(c);
        QCOMPARE(c.cachedScalar(read, {2}).toString(), QStringLiteral("two"));
        c.exec(QStringLiteral("UPDATE T SET V='zwei' WHERE Id=2"));
        QCOMPARE(c.cachedScalar(read, {2}).toString(), QStringLiteral("zwei"));
    }
    {
        Connection other;
        other.open(file);
        other.exec(QStringLiteral("UPDATE T SET V='dos' WHERE Id=2"));
    }
    {
        Connection::ReadBurst burst(c);
        QCOMPARE(c.cachedScalar(read, {2}).toString(), QStringLiteral("dos"));
    }
    QCOMPARE(c.firstRow(QStringLiteral("SELECT Id, V FROM T WHERE Id=?"), {2}),
             QVariantList({2, QStringLiteral("dos")}));
    QVERIFY(c.firstRow(QStringLiteral("SELECT Id, V FROM T WHERE Id=?"), {9}).isEmpty());

    // A change read inside a transaction and rolled back is not kept.
    c.beginTransaction();
    c.exec(QStringLiteral("UPDATE T SET V='uno' WHERE Id=1"));
    QCOMPARE(c.cachedScalar(read, {1}).toString(), QStringLiteral("uno"));
    c.rollback();
    QCOMPARE(c.cachedScalar(read, {1}).toString(), QStringLiteral("one"));

    // Another file opened on the same connection.
    const QString second = dir.filePath(QStringLiteral("second.mdb"));
    {
        Connection w;
        w.open(second, true);
        w.exec(QStringLiteral("CREATE TABLE T (Id INTEGER PRIMARY KEY, V TEXT)"));
        w.exec(QStringLiteral("INSERT INTO T (Id, V) VALUES (1, 'autre')"));
    }
    c.open(second);
    QCOMPARE(c.cachedScalar(read, {1}).toString(), QStringLiteral("autre"));
}

void TestConnection::frenchKeysOrderAsTheComparison()
{
    // Pieces that make the comparison's cases: case and accents only,
    // one text the beginning of another, a code point beyond 16 bits, a
    // lone surrogate, a zero character, punctuation and digits.
    const QStringList pieces = {
        QStringLiteral("a"),    QStringLiteral("A"), QStringLiteral("à"),
        QStringLiteral("É"),    QStringLiteral("e"), QStringLiteral("œ"),
        QStringLiteral("ß"),    QStringLiteral("z"), QStringLiteral(" "),
        QStringLiteral("-"),    QStringLiteral("9"), QString::fromUtf8("\xF0\x9F\x90\xB6"),
        QString(QChar(0xD800)), QString(QChar(0)),   QStringLiteral("Ω"),
        QStringLiteral("ÿ")};
    std::mt19937 random(2026);
    QStringList texts = {QString(), QStringLiteral("a"), QStringLiteral("ab")};
    for (int i = 0; i < 400; ++i) {
        QString t;
        const int length = int(random() % 5);
        for (int j = 0; j < length; ++j)
            t += pieces.at(int(random() % pieces.size()));
        texts.append(t);
    }
    auto sign = [](int v) {
        return v < 0 ? -1 : v > 0 ? 1 : 0;
    };
    for (const QString& a : std::as_const(texts)) {
        const QVector<quint32> ka = frenchSortKey(a);
        for (int j = 0; j < 40; ++j) {
            const QString& b = texts.at(int(random() % texts.size()));
            const QVector<quint32> kb = frenchSortKey(b);
            const int byKey =
                std::lexicographical_compare(ka.begin(), ka.end(), kb.begin(), kb.end())   ? -1
                : std::lexicographical_compare(kb.begin(), kb.end(), ka.begin(), ka.end()) ? 1
                                                                                           : 0;
            QVERIFY2(byKey == sign(compareFrench(a, b)),
                     qPrintable(QStringLiteral("%1 / %2").arg(a, b)));
        }
    }
}

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
