#include "TestText.h"

#include "core/DateRoutines.h"
#include "core/FileRoutines.h"
#include "core/SqlClauses.h"
#include "core/TextFile.h"
#include "core/TextRoutines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

using namespace tav;

namespace {

QDate d(int day, int month, int year)
{
    return {year, month, day};
}

} // namespace

class TestRoutines : public QObject
{
    Q_OBJECT

private slots:
    void findsClauseLinesBySubstring();
    void replacesTheWhereLineOrReportsItsAbsence();
    void rewritesQueryClauses_data();
    void rewritesQueryClauses();
    void rewritesAQueryFile();

    void textRoutines();
    void zeroPads_data();
    void zeroPads();
    void formatsFixedNumbers();
    void testsNumbers_data();
    void testsNumbers();
    void localisesTheDecimalSeparator();
    void shadesColours();

    void validatesDateTexts_data();
    void validatesDateTexts();
    void computesAgesAndMonths();
    void knowsMonthLengths();

    void fileSizes();
    void listsMatchingFilesOnly();
    void copiesFilesReplacingOrOnlyWhenMissing();
};

void TestRoutines::findsClauseLinesBySubstring()
{
    const QStringList sql =
        strings({"SELECT SOMEWHERE_X, Name", "from ANIMAL", "where Id = 1", "ORDER BY Name"});
    QCOMPARE(findWhereLine(sql), 0); // inside a column name, and before the real one
    QCOMPARE(findFromLine(sql), 1);  // compared upper-cased
    QCOMPARE(findOrderByLine(sql), 3);
    QCOMPARE(findHavingLine(sql), -1);
    QCOMPARE(findClauseLine(sql, QStringLiteral("order by")), 3);
    QCOMPARE(findClauseLine({}, QStringLiteral("FROM")), -1);
    QCOMPARE(findOrderByLine(strings({"ORDER  BY Name"})), -1);
}

void TestRoutines::replacesTheWhereLineOrReportsItsAbsence()
{
    QStringList sql = strings({"SELECT *", "FROM ANIMAL", "WHERE Id=-1", "ORDER BY Name"});
    QVERIFY(replaceWhereLine(sql, QStringLiteral("WHERE Id_Ref=12")));
    QCOMPARE(sql, strings({"SELECT *", "FROM ANIMAL", "WHERE Id_Ref=12", "ORDER BY Name"}));

    QStringList noWhere = strings({"SELECT *", "FROM ANIMAL"});
    QVERIFY(!replaceWhereLine(noWhere, QStringLiteral("WHERE Id=1")));
    QCOMPARE(noWhere, strings({"SELECT *", "FROM ANIMAL"}));
}

void TestRoutines::rewritesQueryClauses_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("dropFirst");
    QTest::addColumn<QStringList>("clauses"); // from, where, having, order by
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("result");

    const QStringList report =
        strings({"Title of the report", "SELECT Name, Count(*)", "FROM ANIMAL", "WHERE 1=1",
                 "GROUP BY Name", "ORDER BY Name"});
    QTest::newRow("every clause, having inserted before order by")
        << report << true << strings({"VACCINE", "Id_Ref=3", "Count(*)>1", "Name DESC"}) << true
        << strings({"SELECT Name, Count(*)", "FROM VACCINE", "WHERE Id_Ref=3", "GROUP BY Name",
                    "HAVING Count(*)>1", "ORDER BY Name DESC"});
    QTest::newRow("empty texts leave their clause")
        << report << false << strings({"", "Id=2", "", ""}) << true
        << strings({"Title of the report", "SELECT Name, Count(*)", "FROM ANIMAL", "WHERE Id=2",
                    "GROUP BY Name", "ORDER BY Name"});
    QTest::newRow("having replaced in place")
        << strings({"SELECT a", "FROM t", "GROUP BY a", "HAVING x", "ORDER BY a"}) << false
        << strings({"", "", "Count(*)=2", ""}) << true
        << strings({"SELECT a", "FROM t", "GROUP BY a", "HAVING Count(*)=2", "ORDER BY a"});
    QTest::newRow("having appended without final order by")
        << strings({"SELECT a", "FROM t", "GROUP BY a"}) << false << strings({"", "", "a>0", ""})
        << true << strings({"SELECT a", "FROM t", "GROUP BY a", "HAVING a>0"});
    QTest::newRow("trailing blank lines do not hide the order by")
        << strings({"SELECT a", "FROM t", "GROUP BY a", "ORDER BY a", ""}) << false
        << strings({"", "", "a>0", ""}) << true
        << strings({"SELECT a", "FROM t", "GROUP BY a", "HAVING a>0", "ORDER BY a", ""});
    QTest::newRow("missing where line fails untouched")
        << strings({"SELECT a", "FROM t"}) << false << strings({"u", "a=1", "", ""}) << false
        << strings({"SELECT a", "FROM t"});
    QTest::newRow("missing order by line fails untouched")
        << strings({"SELECT a", "FROM t"}) << true << strings({"", "", "", "a"}) << false
        << strings({"SELECT a", "FROM t"});
}

void TestRoutines::rewritesQueryClauses()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, dropFirst);
    QFETCH(QStringList, clauses);
    QFETCH(bool, ok);
    QFETCH(QStringList, result);

    QueryClauses c;
    c.from = clauses.at(0);
    c.where = clauses.at(1);
    c.having = clauses.at(2);
    c.orderBy = clauses.at(3);
    QCOMPARE(rewriteQueryClauses(lines, dropFirst, c), ok);
    QCOMPARE(lines, result);
}

void TestRoutines::rewritesAQueryFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("list.rpt"));
    QVERIFY(writeBytes(path, "Liste\r\nSELECT *\r\nFROM ANIMAL\r\nWHERE 1=1\r\n"));
    QStringList result;
    QueryClauses clauses;
    clauses.where = QStringLiteral("Name LIKE 'Médor'");
    QVERIFY(rewriteQueryFile(path, true, clauses, &result));
    QCOMPARE(result, strings({"SELECT *", "FROM ANIMAL", "WHERE Name LIKE 'Médor'"}));
    QVERIFY(!rewriteQueryFile(dir.filePath(QStringLiteral("missing.rpt")), true, clauses, &result));
}

void TestRoutines::textRoutines()
{
    QCOMPARE(nameAndForename(QStringLiteral("Dupont"), QStringLiteral("Jean")),
             QStringLiteral("Dupont Jean"));
    QCOMPARE(nameAndForename(QStringLiteral("Dupont"), QString()), QStringLiteral("Dupont"));

    QCOMPARE(stripAccents(QStringLiteral("Élève à Noël, façade où l'île ôtée, ÇA ñ")),
             QStringLiteral("Éleve a Noel, facade ou l'ile otee, ÇA ñ"));
    QCOMPARE(stripAccents(QStringLiteral("éèêëàâäùûüôöîïç")), QStringLiteral("eeeeaaauuuooiic"));

    QCOMPARE(fileNameSafe(QStringLiteral("a/b\\c:d*e?f\"g<h>i|j é")),
             QStringLiteral("a_b_c_d_e_f_g_h_i_j é"));
    QCOMPARE(fileNameSafe(QString(QChar(u'\0')) + u'x'), QStringLiteral("_x"));

    QCOMPARE(trim(QStringLiteral("  a\tb  ")), QStringLiteral("a\tb"));
    QCOMPARE(trim(QStringLiteral("\t a \t")), QStringLiteral("\t a \t"));
    QCOMPARE(trim(QStringLiteral("    ")), QString());
    QCOMPARE(trimLeft(QStringLiteral("  a  ")), QStringLiteral("a  "));
    QCOMPARE(trimRight(QStringLiteral("  a  ")), QStringLiteral("  a"));

    QCOMPARE(decimalsMask(0), QString());
    QCOMPARE(decimalsMask(-2), QString());
    QCOMPARE(decimalsMask(3), QStringLiteral(".000"));

    QCOMPARE(trailingSeparator(QStringLiteral("/data/Tavirune")),
             QStringLiteral("/data/Tavirune/"));
    QCOMPARE(trailingSeparator(QStringLiteral("/data/")), QStringLiteral("/data/"));
    QCOMPARE(trailingSeparator(QString()), QString());
    QCOMPARE(nativePath(QStringLiteral("Data\\Images\\Doc1.jpg")),
             QStringLiteral("Data/Images/Doc1.jpg"));
    QCOMPARE(trailingSeparator(nativePath(QStringLiteral("Data\\Access"))),
             QStringLiteral("Data/Access/"));
}

void TestRoutines::zeroPads_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("text");

    QTest::newRow("7 in 3") << 7 << 3 << QStringLiteral("007");
    QTest::newRow("0 in 4") << 0 << 4 << QStringLiteral("0000");
    QTest::newRow("exact width") << 123 << 3 << QStringLiteral("123");
    QTest::newRow("wider number unchanged") << 123456789 << 8 << QStringLiteral("123456789");
    QTest::newRow("negative keeps sign first") << -7 << 3 << QStringLiteral("-07");
    QTest::newRow("negative already wide") << -7 << 2 << QStringLiteral("-7");
    QTest::newRow("int min") << std::numeric_limits<int>::min() << 8
                             << QStringLiteral("-2147483648");
    QTest::newRow("width below 1") << 5 << 0 << QStringLiteral("5");
    QTest::newRow("width above 8") << 1 << 12 << QStringLiteral("00000001");
}

void TestRoutines::zeroPads()
{
    QFETCH(int, value);
    QFETCH(int, width);
    QFETCH(QString, text);
    QCOMPARE(zeroPad(value, width), text);
}

void TestRoutines::formatsFixedNumbers()
{
    QCOMPARE(fixedNumberText(3.14159, 5, 2), QStringLiteral("    3.14"));
    QCOMPARE(fixedNumberText(-1.5, 2, 1), QStringLiteral("-1.5"));
    QCOMPARE(fixedNumberText(42, 4, 0), QStringLiteral("  42"));
    QCOMPARE(fixedNumberText(123456.75, 2, 1), QStringLiteral("123456.8"));
}

void TestRoutines::testsNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::addColumn<double>("value");

    QTest::newRow("integer") << QStringLiteral("12") << true << 12.0;
    QTest::newRow("comma") << QStringLiteral("12,5") << true << 12.5;
    QTest::newRow("point") << QStringLiteral("12.5") << true << 12.5;
    QTest::newRow("negative") << QStringLiteral("-3,25") << true << -3.25;
    QTest::newRow("leading point") << QStringLiteral("+,5") << true << 0.5;
    QTest::newRow("trailing point") << QStringLiteral("2.") << true << 2.0;
    QTest::newRow("surrounding spaces") << QStringLiteral(" 7 ") << true << 7.0;
    QTest::newRow("second comma") << QStringLiteral("1,2,3") << false << 0.0;
    QTest::newRow("comma then point") << QStringLiteral("1,2.3") << false << 0.0;
    QTest::newRow("exponent") << QStringLiteral("1e5") << false << 0.0;
    QTest::newRow("trailing letter") << QStringLiteral("12a") << false << 0.0;
    QTest::newRow("inner space") << QStringLiteral("1 000") << false << 0.0;
    QTest::newRow("point only") << QStringLiteral(".") << false << 0.0;
    QTest::newRow("sign only") << QStringLiteral("-") << false << 0.0;
    QTest::newRow("empty") << QString() << false << 0.0;
    QTest::newRow("version text") << QStringLiteral("2.81") << true << 2.81;
}

void TestRoutines::testsNumbers()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    QFETCH(double, value);
    QCOMPARE(isNumber(text), number);
    bool ok = !number;
    QCOMPARE(parseNumber(text, &ok), value);
    QCOMPARE(ok, number);
}

void TestRoutines::localisesTheDecimalSeparator()
{
    QCOMPARE(localDecimal(QStringLiteral("12.5"), u','), QStringLiteral("12,5"));
    QCOMPARE(localDecimal(QStringLiteral("12,5"), u'.'), QStringLiteral("12.5"));
    QCOMPARE(localDecimal(QStringLiteral("1.2,3"), u'#'), QStringLiteral("1.2#3"));
    QCOMPARE(localDecimal(QStringLiteral("1.2.3"), u'#'), QStringLiteral("1#2.3"));
    QCOMPARE(localDecimal(QStringLiteral("12"), u','), QStringLiteral("12"));
    QCOMPARE(localDecimal(QStringLiteral("1,5")),
             QStringLiteral("1") + QLocale().decimalPoint() + QStringLiteral("5"));
}

void TestRoutines::shadesColours()
{
    QCOMPARE(shadeColour(QColor(10, 128, 250), 10), QColor(20, 138, 254));
    QCOMPARE(shadeColour(QColor(10, 128, 250), -30), QColor(1, 98, 220));
    QCOMPARE(shadeColour(QColor(0, 255, 128), 0), QColor(1, 254, 128));
    QCOMPARE(shadeColour(QColor(100, 100, 100), std::numeric_limits<int>::max()),
             QColor(254, 254, 254));
    QCOMPARE(shadeColour(QColor(100, 100, 100), std::numeric_limits<int>::min()), QColor(1, 1, 1));
    QCOMPARE(shadeColour(QColor(100, 100, 100, 50), 5).alpha(), 50);
}

void TestRoutines::validatesDateTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::newRow("leap day") << QStringLiteral("29/02/2008") << true;
    QTest::newRow("nine characters") << QStringLiteral("1/02/2008") << false;
    QTest::newRow("31 april") << QStringLiteral("31/04/2008") << false;
    QTest::newRow("29 feb, not leap") << QStringLiteral("29/02/2007") << false;
    QTest::newRow("29 feb 1900") << QStringLiteral("29/02/1900") << false;
    QTest::newRow("29 feb 2000") << QStringLiteral("29/02/2000") << true;
    QTest::newRow("first year") << QStringLiteral("01/01/1900") << true;
    QTest::newRow("last year") << QStringLiteral("31/12/2099") << true;
    QTest::newRow("before 1900") << QStringLiteral("31/12/1899") << false;
    QTest::newRow("after 2099") << QStringLiteral("01/01/2100") << false;
    QTest::newRow("day 0") << QStringLiteral("00/01/2008") << false;
    QTest::newRow("month 13") << QStringLiteral("01/13/2008") << false;
    QTest::newRow("month 0") << QStringLiteral("01/00/2008") << false;
    QTest::newRow("dashes") << QStringLiteral("01-02-2008") << false;
    QTest::newRow("letters") << QStringLiteral("0a/02/2008") << false;
    QTest::newRow("sign in year") << QStringLiteral("01/02/+008") << false;
    QTest::newRow("trailing space") << QStringLiteral("01/02/2008 ") << false;
    QTest::newRow("other digits") << QStringLiteral("\u0661\u0662/02/2008") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestRoutines::validatesDateTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(isValidDateText(text), valid);
    if (valid)
        QCOMPARE(formatDateText(parseDateText(text)), text);
}

void TestRoutines::computesAgesAndMonths()
{
    const QDate birth = d(15, 6, 2010);
    QCOMPARE(ageInYears(d(14, 6, 2020), birth), 9);
    QCOMPARE(ageInYears(d(15, 6, 2020), birth), 10);
    QCOMPARE(ageInYears(d(31, 5, 2020), birth), 9);
    QCOMPARE(ageInYears(d(1, 7, 2020), birth), 10);
    QCOMPARE(ageInYears(d(28, 2, 2021), d(29, 2, 2020)), 0);
    QCOMPARE(ageInYears(d(1, 3, 2021), d(29, 2, 2020)), 1);
    QCOMPARE(ageInYears(d(1, 3, 2021), QDate()), 0);

    QCOMPARE(monthsBetween(d(1, 3, 2021), d(31, 12, 2020)), 3);
    QCOMPARE(monthsBetween(d(31, 12, 2020), d(1, 3, 2021)), -3);
    QCOMPARE(monthsBetween(d(30, 6, 2020), d(1, 6, 2020)), 0);

    QVERIFY(dateOnOrBefore(d(1, 1, 2020), d(1, 1, 2020)));
    QVERIFY(dateOnOrBefore(d(31, 12, 2019), d(1, 1, 2020)));
    QVERIFY(!dateOnOrBefore(d(2, 1, 2020), d(1, 1, 2020)));

    QCOMPARE(parseDateText(QStringLiteral("05/11/1850")), d(5, 11, 1850));
    QVERIFY(!parseDateText(QStringLiteral("5/11/1850")).isValid());
    QCOMPARE(formatDateText(d(5, 1, 2008)), QStringLiteral("05/01/2008"));
    QCOMPARE(formatDateText(QDate()), QString());
}

void TestRoutines::knowsMonthLengths()
{
    QCOMPARE(daysInMonth(1, 2021), 31);
    QCOMPARE(daysInMonth(4, 2021), 30);
    QCOMPARE(daysInMonth(2, 2021), 28);
    QCOMPARE(daysInMonth(2, 2024), 29);
    QCOMPARE(daysInMonth(2, 1900), 28);
    QCOMPARE(daysInMonth(2, 2000), 29);
    QCOMPARE(daysInMonth(12, 2021), 31);
    QCOMPARE(daysInMonth(0, 2021), 0);
    QCOMPARE(daysInMonth(13, 2021), 0);
}

void TestRoutines::fileSizes()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("five.f")), "12345"));
    QCOMPARE(fileSize(dir.filePath(QStringLiteral("five.f"))), 5);
    QCOMPARE(fileSize(dir.filePath(QStringLiteral("missing.f"))), 0);
    QCOMPARE(fileSize(dir.path()), 0);
}

void TestRoutines::listsMatchingFilesOnly()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QDir folder(dir.path());
    for (const char* name : {"b.maj", "A.MAJ", "c.txt", "BD_112.maj", "x.maj.bak"})
        QVERIFY(writeBytes(folder.filePath(QString::fromUtf8(name)), "x"));
    QVERIFY(folder.mkdir(QStringLiteral("folder.maj")));

    QCOMPARE(listFiles(trailingSeparator(dir.path()), QStringLiteral("*.maj")),
             strings({"A.MAJ", "b.maj", "BD_112.maj"}));
    QVERIFY(listFiles(folder.filePath(QStringLiteral("none")), QStringLiteral("*")).isEmpty());
}

void TestRoutines::copiesFilesReplacingOrOnlyWhenMissing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QDir root(dir.path());
    QVERIFY(root.mkdir(QStringLiteral("src")) && root.mkdir(QStringLiteral("dst")));
    const QDir src(root.filePath(QStringLiteral("src")));
    const QDir dst(root.filePath(QStringLiteral("dst")));
    QVERIFY(writeBytes(src.filePath(QStringLiteral("Doc1.jpg")), "new picture"));
    QVERIFY(writeBytes(src.filePath(QStringLiteral("Doc2.jpg")), "second"));
    QVERIFY(writeBytes(src.filePath(QStringLiteral("File1.f")), "file"));
    QVERIFY(writeBytes(dst.filePath(QStringLiteral("Doc1.jpg")), "an older and longer picture"));

    QVERIFY(copyFiles(src.path(), dst.path(), QStringLiteral("*.jpg")));
    QCOMPARE(readBytes(dst.filePath(QStringLiteral("Doc1.jpg"))), QByteArray("new picture"));
    QCOMPARE(readBytes(dst.filePath(QStringLiteral("Doc2.jpg"))), QByteArray("second"));
    QVERIFY(!QFileInfo::exists(dst.filePath(QStringLiteral("File1.f"))));
    QCOMPARE(dst.entryList(QDir::Files).size(), 2); // no temporary files left behind
    // A failure says which file and why, in French.
    const QString missing = root.filePath(QStringLiteral("missing"));
    const FileResult noFolder = copyFiles(src.path(), missing, QStringLiteral("*.jpg"));
    QVERIFY(!noFolder.ok);
    QCOMPARE(noFolder.error,
             QStringLiteral("Le fichier « %1/Doc1.jpg » ne peut pas être créé : fichier ou "
                            "dossier introuvable.")
                 .arg(missing));
    QVERIFY(copyFiles(src.path(), dst.path(), QStringLiteral("*.none")).error.isEmpty());

    const QString target = dst.filePath(QStringLiteral("tavirune.ini"));
    QVERIFY(copyFileIfMissing(src.filePath(QStringLiteral("File1.f")), target));
    QCOMPARE(readBytes(target), QByteArray("file"));
    QCOMPARE(copyFileIfMissing(src.filePath(QStringLiteral("Doc2.jpg")), target).error,
             QStringLiteral("Le fichier « %1 » existe déjà.").arg(target));
    QCOMPARE(readBytes(target), QByteArray("file"));
    QCOMPARE(copyFileIfMissing(src.filePath(QStringLiteral("missing")),
                               dst.filePath(QStringLiteral("other")))
                 .error,
             QStringLiteral("Le fichier « %1 » est introuvable.")
                 .arg(src.filePath(QStringLiteral("missing"))));
    // A folder where the file should be read.
    QCOMPARE(copyFileIfMissing(src.path(), dst.filePath(QStringLiteral("other"))).error,
             QStringLiteral("Le fichier « %1 » est introuvable.").arg(src.path()));
    QVERIFY(!QFileInfo::exists(dst.filePath(QStringLiteral("other"))));

    QCOMPARE(programPath(), QCoreApplication::applicationFilePath());
    QVERIFY(QFileInfo(programPath()).isFile());
}

QTEST_GUILESS_MAIN(TestRoutines)
#include "TestRoutines.moc"
