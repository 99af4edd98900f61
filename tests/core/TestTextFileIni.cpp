#include "TestText.h"

#include "core/IniFile.h"
#include "core/TextFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace tav;

class TestTextFileIni : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void decodesUtf8OrWindows1252_data();
    void decodesUtf8OrWindows1252();
    void writesCrLfUtf8AndReadsLinesBack();
    void splitsLinesOnEveryBreakKind_data();
    void splitsLinesOnEveryBreakKind();
    void reportsUnreadableAndUnwritableFiles();

    void readsCaseInsensitivelyFirstKeyWins();
    void ignoresGarbageHugeLinesAndBinaryJunk();
    void parsesIntegers_data();
    void parsesIntegers();
    void parsesBooleans_data();
    void parsesBooleans();
    void savesInInsertionOrderKeepingUnknownKeys();
    void keepsValuesOnOneLine();
    void quotedAndSpacedValuesSurviveASave();
    void readsWindows1252FileAndSavesUtf8();

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestTextFileIni::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestTextFileIni::decodesUtf8OrWindows1252_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("utf8") << QByteArray("caf\xC3\xA9 \xE2\x82\xAC") << QStringLiteral("café €");
    QTest::newRow("utf8 bom stripped")
        << QByteArray("\xEF\xBB\xBF\xC3\xA9t\xC3\xA9") << QStringLiteral("été");
    QTest::newRow("1252 accents") << QByteArray("\xE9t\xE9 \xE0 No\xEBl \xE7")
                                  << QStringLiteral("été à Noël ç");
    QTest::newRow("1252 high range")
        << QByteArray("\x80 \x9C\x8C \x85 \x92\x93\x94 \x9F") << QStringLiteral("€ œŒ … ’“” Ÿ");
    QTest::newRow("1252 undefined bytes")
        << QByteArray("\x81\x8D\x8F\x90\x9D") << QStringLiteral("\u0081\u008D\u008F\u0090\u009D");
    // One bad byte makes the whole file legacy text, even when other parts
    // would be valid UTF-8.
    QTest::newRow("mixed") << QByteArray("\xC3\xA9 \xE9") << QStringLiteral("Ã© é");
    QTest::newRow("overlong utf8") << QByteArray("a\xC0\xAF") << QStringLiteral("aÀ¯");
    QTest::newRow("truncated utf8") << QByteArray("a\xC3") << QStringLiteral("aÃ");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("utf16 le bom") << QByteArray("\xFF\xFE[\0\xE9\0]\0\r\0\n\0\xAC\x20", 14)
                                  << QStringLiteral("[é]\r\n€");
    QTest::newRow("utf16 be bom") << QByteArray("\xFE\xFF\0k\0=\0\xE9\x20\xAC", 10)
                                  << QStringLiteral("k=é€");
}

void TestTextFileIni::decodesUtf8OrWindows1252()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString file = path(QStringLiteral("in.txt"));
    QVERIFY(writeBytes(file, bytes));
    bool ok = false;
    QCOMPARE(readTextFile(file, &ok), text);
    QVERIFY(ok);
}

void TestTextFileIni::writesCrLfUtf8AndReadsLinesBack()
{
    const QString file = path(QStringLiteral("out.txt"));
    QVERIFY(writeTextFile(file, QStringLiteral("été\nb\rc\r\n\r\nœ €")));
    QCOMPARE(readBytes(file),
             QByteArray("\xC3\xA9t\xC3\xA9\r\nb\r\nc\r\n\r\n\xC5\x93 \xE2\x82\xAC\r\n"));
    QCOMPARE(readTextLines(file),
             (QStringList{QStringLiteral("été"), QStringLiteral("b"), QStringLiteral("c"),
                          QString(), QStringLiteral("œ €")}));

    // Replacing keeps no trace of the longer previous contents.
    QVERIFY(writeTextFile(file, QStringLiteral("x")));
    QCOMPARE(readBytes(file), QByteArray("x\r\n"));
    QVERIFY(writeTextFile(file, QString()));
    QCOMPARE(readBytes(file), QByteArray());

    QVERIFY(writeTextLines(file, {QStringLiteral("a"), QString(), QStringLiteral("b")}));
    QCOMPARE(readBytes(file), QByteArray("a\r\n\r\nb\r\n"));
}

void TestTextFileIni::splitsLinesOnEveryBreakKind_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("none") << QString() << QStringList();
    QTest::newRow("no final break") << QStringLiteral("a\r\nb") << strings({"a", "b"});
    QTest::newRow("final break") << QStringLiteral("a\nb\n") << strings({"a", "b"});
    QTest::newRow("lone cr") << QStringLiteral("a\rb\r") << strings({"a", "b"});
    QTest::newRow("cr cr lf") << QStringLiteral("a\r\r\nb") << strings({"a", "", "b"});
    QTest::newRow("lf cr") << QStringLiteral("a\n\rb") << strings({"a", "", "b"});
    QTest::newRow("only breaks") << QStringLiteral("\r\n\n") << strings({"", ""});
}

void TestTextFileIni::splitsLinesOnEveryBreakKind()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(splitTextLines(text), lines);
}

void TestTextFileIni::reportsUnreadableAndUnwritableFiles()
{
    bool ok = true;
    QCOMPARE(readTextFile(path(QStringLiteral("missing.txt")), &ok), QString());
    QVERIFY(!ok);
    ok = true;
    QVERIFY(readTextLines(path(QStringLiteral("missing.txt")), &ok).isEmpty());
    QVERIFY(!ok);

    const FileResult noFolder =
        writeTextFile(path(QStringLiteral("no/such/folder/x.txt")), QStringLiteral("x"));
    QVERIFY(!noFolder.ok);
    QCOMPARE(noFolder.error, QStringLiteral("Le fichier « %1 » ne peut pas être écrit : fichier "
                                            "ou dossier introuvable.")
                                 .arg(path(QStringLiteral("no/such/folder/x.txt"))));
    // A folder in the way is a failure, not a success.
    QVERIFY(m_dir->isValid() && QDir(m_dir->path()).mkdir(QStringLiteral("sub")));
    QVERIFY(!writeTextFile(path(QStringLiteral("sub")), QStringLiteral("x")));
}

void TestTextFileIni::readsCaseInsensitivelyFirstKeyWins()
{
    const QString file = path(QStringLiteral("a.ini"));
    QVERIFY(writeBytes(file, "top = level \r\n"
                             "[Properties]\r\n"
                             "  Splash  =   0   \r\n"
                             "SPLASH=1\r\n"
                             "Empty=\r\n"
                             "Eq=a=b\r\n"
                             "[other]\n"
                             "k=v\n"
                             "[PROPERTIES]\n"
                             "Extra=3\n"
                             "Splash=2\n"
                             "[Quotes]\n"
                             "double=\"abc\"\n"
                             "single= 'a b' \n"
                             "spaces=\"  x  \"\n"
                             "one=\"\n"
                             "inner=a\"b\"\n"
                             "mixed=\"abc'\n"));
    IniFile ini(file);
    QVERIFY(ini.exists());
    QCOMPARE(ini.readString(QString(), QStringLiteral("TOP"), QStringLiteral("d")),
             QStringLiteral("level"));
    QCOMPARE(ini.readString(QStringLiteral("properties"), QStringLiteral("splash"), QString()),
             QStringLiteral("0"));
    QCOMPARE(ini.readBool(QStringLiteral("Properties"), QStringLiteral("Splash"), true), false);
    QVERIFY(ini.hasKey(QStringLiteral("pRoPeRtIeS"), QStringLiteral("EMPTY")));
    QCOMPARE(
        ini.readString(QStringLiteral("Properties"), QStringLiteral("Empty"), QStringLiteral("d")),
        QString());
    QCOMPARE(ini.readString(QStringLiteral("Properties"), QStringLiteral("Eq"), QString()),
             QStringLiteral("a=b"));
    // Of two sections with the same name only the first is read.
    QCOMPARE(ini.readInt(QStringLiteral("Properties"), QStringLiteral("Extra"), 0), 0);
    QCOMPARE(ini.readInt(QStringLiteral("Properties"), QStringLiteral("Splash"), 5), 0);
    const QString q = QStringLiteral("Quotes");
    QCOMPARE(ini.readString(q, QStringLiteral("double"), QString()), QStringLiteral("abc"));
    QCOMPARE(ini.readString(q, QStringLiteral("single"), QString()), QStringLiteral("a b"));
    QCOMPARE(ini.readString(q, QStringLiteral("spaces"), QString()), QStringLiteral("  x  "));
    QCOMPARE(ini.readString(q, QStringLiteral("one"), QString()), QStringLiteral("\""));
    QCOMPARE(ini.readString(q, QStringLiteral("inner"), QString()), QStringLiteral("a\"b\""));
    QCOMPARE(ini.readString(q, QStringLiteral("mixed"), QString()), QStringLiteral("\"abc'"));
    QVERIFY(ini.hasSection(QStringLiteral("OTHER")));
    QVERIFY(!ini.hasSection(QStringLiteral("Missing")));
    QVERIFY(!ini.hasKey(QStringLiteral("other"), QStringLiteral("Splash")));
    QCOMPARE(ini.readString(QStringLiteral("Missing"), QStringLiteral("k"), QStringLiteral("d")),
             QStringLiteral("d"));

    IniFile none(path(QStringLiteral("none.ini")));
    QVERIFY(!none.exists());
    QCOMPARE(none.readInt(QStringLiteral("a"), QStringLiteral("b"), 7), 7);
    QVERIFY(none.sectionNames().isEmpty());
}

void TestTextFileIni::ignoresGarbageHugeLinesAndBinaryJunk()
{
    QByteArray junk(qsizetype(64) * 1024, '\0');
    QRandomGenerator rng(42);
    for (char& c : junk)
        c = static_cast<char>(rng.bounded(256));
    const QByteArray hugeLine(qsizetype(8) * 1024 * 1024, 'x');
    QByteArray bytes = "no equals sign here\r\n=no key\r\n[broken header\r\n" + junk + "\r\n" +
                       hugeLine + "\r\nhuge=" + hugeLine + "\r\n[S]\r\nkey=value\r\n" + junk +
                       "\r\n";

    const QString file = path(QStringLiteral("junk.ini"));
    QVERIFY(writeBytes(file, bytes));
    IniFile ini(file);
    QCOMPARE(ini.readString(QStringLiteral("s"), QStringLiteral("KEY"), QString()),
             QStringLiteral("value"));
    QCOMPARE(ini.readString(QString(), QStringLiteral("huge"), QString()).size(), hugeLine.size());
    QVERIFY(!ini.hasKey(QString(), QStringLiteral("no equals sign here")));
    QVERIFY(ini.save());

    // Many distinct junk keys and sections must not make loading quadratic.
    QByteArray many;
    for (int i = 0; i < 100000; ++i)
        many += "[s" + QByteArray::number(i % 5000) + "]\nk" + QByteArray::number(i) + "=1\n";
    QVERIFY(writeBytes(file, many));
    QElapsedTimer timer;
    timer.start();
    IniFile big(file);
    QCOMPARE(big.readInt(QStringLiteral("S4999"), QStringLiteral("K4999"), 0), 1);
    QCOMPARE(big.readInt(QStringLiteral("S4999"), QStringLiteral("K99999"), 0), 0);
    QVERIFY2(timer.elapsed() < 20000, "loading a large INI file took too long");
}

void TestTextFileIni::parsesIntegers_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("expected");

    QTest::newRow("plain") << QStringLiteral("42") << 42;
    QTest::newRow("spaces") << QStringLiteral("  17  ") << 17;
    QTest::newRow("negative") << QStringLiteral("-1") << -1;
    QTest::newRow("plus") << QStringLiteral("+5") << 5;
    QTest::newRow("leading zeros") << QStringLiteral("007") << 7;
    QTest::newRow("int max") << QStringLiteral("2147483647") << 2147483647;
    QTest::newRow("int min") << QStringLiteral("-2147483648") << int(-2147483647 - 1);
    QTest::newRow("overflow") << QStringLiteral("2147483648") << 99;
    QTest::newRow("huge") << QStringLiteral("99999999999999999999999") << 99;
    QTest::newRow("trailing text") << QStringLiteral("12abc") << 99;
    QTest::newRow("hex") << QStringLiteral("0x10") << 99;
    QTest::newRow("decimal point") << QStringLiteral("1.5") << 99;
    QTest::newRow("inner space") << QStringLiteral("1 2") << 99;
    QTest::newRow("sign only") << QStringLiteral("-") << 99;
    QTest::newRow("empty") << QString() << 99;
    QTest::newRow("arabic digits") << QStringLiteral("\u0661\u0662") << 99;
}

void TestTextFileIni::parsesIntegers()
{
    QFETCH(QString, value);
    QFETCH(int, expected);
    IniFile ini(path(QStringLiteral("n.ini")));
    ini.writeString(QStringLiteral("S"), QStringLiteral("K"), value);
    QCOMPARE(ini.readInt(QStringLiteral("S"), QStringLiteral("K"), 99), expected);
}

void TestTextFileIni::parsesBooleans_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("whenDefaultFalse");
    QTest::addColumn<bool>("whenDefaultTrue");

    QTest::newRow("one") << QStringLiteral("1") << true << true;
    QTest::newRow("zero") << QStringLiteral("0") << false << false;
    QTest::newRow("other non-zero") << QStringLiteral("-3") << true << true;
    QTest::newRow("word") << QStringLiteral("true") << false << true;
    QTest::newRow("empty") << QString() << false << true;
}

void TestTextFileIni::parsesBooleans()
{
    QFETCH(QString, value);
    QFETCH(bool, whenDefaultFalse);
    QFETCH(bool, whenDefaultTrue);
    IniFile ini(path(QStringLiteral("b.ini")));
    ini.writeString(QStringLiteral("S"), QStringLiteral("K"), value);
    QCOMPARE(ini.readBool(QStringLiteral("S"), QStringLiteral("K"), false), whenDefaultFalse);
    QCOMPARE(ini.readBool(QStringLiteral("S"), QStringLiteral("K"), true), whenDefaultTrue);
}

void TestTextFileIni::savesInInsertionOrderKeepingUnknownKeys()
{
    const QString file = path(QStringLiteral("s.ini"));
    QVERIFY(
        writeBytes(file, "; kept comment\n[Zeta]\nUnknown=keep me\nshared=old\n[Alpha]\nx=1\n"));
    IniFile ini(file);
    ini.writeBool(QStringLiteral("ZETA"), QStringLiteral("SHARED"), false);
    ini.writeInt(QStringLiteral("Beta"), QStringLiteral("n"), -12);
    ini.writeBool(QStringLiteral("Beta"), QStringLiteral("flag"), true);
    ini.writeString(QStringLiteral("Alpha"), QStringLiteral("y"), QStringLiteral("  padded  "));
    ini.writeString(QString(), QStringLiteral("late"), QStringLiteral("nameless"));
    QVERIFY(ini.save());

    // The nameless section goes first, or its keys would fall into the last
    // section when read back.
    QCOMPARE(readBytes(file), QByteArray("; kept comment\r\n"
                                         "late=nameless\r\n"
                                         "\r\n"
                                         "[Zeta]\r\n"
                                         "Unknown=keep me\r\n"
                                         "shared=0\r\n"
                                         "\r\n"
                                         "[Alpha]\r\n"
                                         "x=1\r\n"
                                         "y=padded\r\n"
                                         "\r\n"
                                         "[Beta]\r\n"
                                         "n=-12\r\n"
                                         "flag=1\r\n"));

    IniFile again(file);
    QCOMPARE(again.keyNames(QStringLiteral("zeta")),
             (QStringList{QStringLiteral("Unknown"), QStringLiteral("shared")}));
    QCOMPARE(again.readInt(QStringLiteral("beta"), QStringLiteral("N"), 0), -12);
    QCOMPARE(again.readString(QString(), QStringLiteral("late"), QString()),
             QStringLiteral("nameless"));

    again.removeKey(QStringLiteral("ZETA"), QStringLiteral("unknown"));
    QVERIFY(!again.hasKey(QStringLiteral("Zeta"), QStringLiteral("Unknown")));
}

void TestTextFileIni::keepsValuesOnOneLine()
{
    const QString file = path(QStringLiteral("l.ini"));
    IniFile ini(file);
    ini.writeString(QStringLiteral("SMTP"), QStringLiteral("Name"),
                    QStringLiteral("Jean\r\n[Windows]\nLeft=5"));
    ini.writeInt(QStringLiteral("Windows"), QStringLiteral("Left"), 100);
    QVERIFY(ini.save());

    IniFile again(file);
    QCOMPARE(again.readInt(QStringLiteral("Windows"), QStringLiteral("Left"), 0), 100);
    QCOMPARE(again.readString(QStringLiteral("SMTP"), QStringLiteral("Name"), QString()),
             QStringLiteral("Jean [Windows] Left=5"));
    QCOMPARE(again.sectionNames(),
             (QStringList{QStringLiteral("SMTP"), QStringLiteral("Windows")}));
}

void TestTextFileIni::quotedAndSpacedValuesSurviveASave()
{
    const QString file = path(QStringLiteral("q.ini"));
    QVERIFY(writeBytes(file, "[A]\r\nk=1\r\n[a]\r\nk=2\r\nonly=3\r\n"));
    IniFile ini(file);
    const QString s = QStringLiteral("SMTP");
    const QStringList values = {QStringLiteral("\"Jean\""), QStringLiteral("\"  espacé \""),
                                QStringLiteral("'x'"), QStringLiteral("plain \"mid\" text")};
    for (int i = 0; i < values.size(); ++i)
        ini.writeString(s, QStringLiteral("K%1").arg(i), values.at(i));
    QVERIFY(ini.save());
    IniFile again(file);
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(again.readString(s, QStringLiteral("K%1").arg(i), QString()), values.at(i));
    // The repeated section is written back, still unread.
    QCOMPARE(again.readInt(QStringLiteral("A"), QStringLiteral("k"), 0), 1);
    QVERIFY(!again.hasKey(QStringLiteral("A"), QStringLiteral("only")));
    QVERIFY(readBytes(file).contains("[a]\r\nk=2\r\nonly=3\r\n"));
}

void TestTextFileIni::readsWindows1252FileAndSavesUtf8()
{
    const QString file = path(QStringLiteral("legacy.ini"));
    QVERIFY(writeBytes(file, "[Scan]\r\nTwainSource=Num\xE9riseur \x80\r\n"));
    IniFile ini(file);
    QCOMPARE(ini.readString(QStringLiteral("Scan"), QStringLiteral("TwainSource"), QString()),
             QStringLiteral("Numériseur €"));
    QVERIFY(ini.save());
    QCOMPARE(readBytes(file),
             QByteArray("[Scan]\r\nTwainSource=Num\xC3\xA9riseur \xE2\x82\xAC\r\n"));
    // Notepad's "Unicode": UTF-16 little endian with its byte-order mark.
    const QString unicode = QStringLiteral("[SMTP]\r\nName=Zoé\r\n");
    QByteArray utf16("\xFF\xFE", 2);
    for (const QChar c : unicode)
        utf16 += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
    QVERIFY(writeBytes(file, utf16));
    QCOMPARE(IniFile(file).readString(QStringLiteral("smtp"), QStringLiteral("name"), QString()),
             QStringLiteral("Zoé"));
}

QTEST_GUILESS_MAIN(TestTextFileIni)
#include "TestTextFileIni.moc"
