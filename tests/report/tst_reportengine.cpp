#include "ReportTestSupport.h"
#include "TestText.h"

#include "core/Clock.h"
#include "report/ReportEngine.h"
#include "report/ReportTemplate.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;

namespace {

ReportTemplate parsed(const QString& text)
{
    ReportTemplate t;
    QString error;
    if (!t.parse(text, QStringLiteral("Essai.frf"), &error))
        qWarning() << error;
    return t;
}

// A4 portrait with 10 mm margins: 277 mm of height for the bands.
const char* const kHead = "[Report]\nPage=A4\nMargins=10,10,10,10\nFont=DejaVu Sans\nFontSize=9\n";

QVector<QVariantList> numberedRows(int count)
{
    QVector<QVariantList> rows;
    for (int i = 1; i <= count; ++i)
        rows.append({QStringLiteral("Ligne %1").arg(i), i * 1.25});
    return rows;
}

bool prepare(const QString& text, const ReportInput& input, PreparedReport* out,
             QString* error = nullptr)
{
    QString ignored;
    return prepareReport(parsed(text), input, out, error ? error : &ignored);
}

} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void templateErrorsNameTheFileAndLine();
    void unknownNamesFailBeforeAnyPage();
    void valuesPrintAsTypedWithoutBeingReadAgain();
    void rowsFlowOverPagesWithHeadersAndFooters();
    void headerIsNeverLeftAloneAtThePageFoot();
    void emptyAndClosedDataSets();
    void wrappedTextGrowsItsRowAndBreaksLongWords();
    void pdfTextReadsBackWithMoneyAndAccents();
    void pdfIsWrittenWholeOrNotAtAll();
    void textTallerThanAPageGoesOnWithoutLosingLines();
    void lastRowKeepsItsFooterCompany();
};

void TestReportEngine::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    loadTestFont();
}

void TestReportEngine::templateErrorsNameTheFileAndLine()
{
    QTemporaryDir dir;
    ReportTemplate t;
    QString error;
    QVERIFY(!t.load(dir.filePath(QStringLiteral("Fich.frf")), &error));
    QCOMPARE(error, u("Le modèle de rapport « Fich.frf » est introuvable."));

    // A folder in the template's place cannot be read as one.
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Stat.frf")));
    QVERIFY(!t.load(dir.filePath(QStringLiteral("Stat.frf")), &error));
    QVERIFY2(error.startsWith(u("Le modèle de rapport « Stat.frf »")), qPrintable(error));

    const struct
    {
        const char* text;
        const char* why;
    } bad[] = {
        {"[Report]\nPage=A3\n", "(ligne 2) : valeur « A3 » incorrecte."},
        {"[Data]\nHeight=5\n", "(ligne 1) : bande « Data » inconnue."},
        {"[Band]\nHeight=5\nText=0,0,10 | | x\n", "(ligne 3) : position « 0,0,10 » incorrecte."},
        {"[Band]\nText=0,0,10,5 | blink | x\n", "(ligne 2) : style « blink » inconnu."},
        {"[Band]\nText=0,0,10,5 | | [Name\n", "(ligne 2) : « [ » sans « ] »."},
        {"[Band]\nText=0,0,10,5 | | [a b]\n", "(ligne 2) : référence « [a b] » incorrecte."},
        {"Height=5\n", "(ligne 1) : ligne hors de toute section."},
    };
    for (const auto& b : bad) {
        QVERIFY(!t.parse(u(b.text), QStringLiteral("Essai.frf"), &error));
        QCOMPARE(error, u("Le modèle de rapport « Essai.frf » ne peut pas être lu ") + u(b.why));
    }
}

void TestReportEngine::unknownNamesFailBeforeAnyPage()
{
    MemoryRows rows({QStringLiteral("Name")}, {{QStringLiteral("Médor")}});
    ReportInput input;
    input.addDataSet(QStringLiteral("frDSConsult"), &rows);
    PreparedReport out;
    QString error;
    QVERIFY(!prepare(u(kHead) + u("[Data frDSConsult]\nHeight=5\n\nText=0,0,50,5 | | [Nom]\n"),
                     input, &out, &error));
    QCOMPARE(error, u("Le modèle de rapport « Essai.frf » nomme un champ inconnu : « Nom » "
                      "(ligne 9)."));
    QVERIFY(!prepare(u(kHead) + u("[Band]\nText=0,0,50,5 | | [frDSConsult.Prix]\n"), input, &out,
                     &error));
    QVERIFY2(error.contains(u("« frDSConsult.Prix »")), qPrintable(error));
    QVERIFY(!prepare(u(kHead) + u("[Data frDSAutre]\nHeight=5\n"), input, &out, &error));
    QVERIFY2(error.contains(u("jeu de données inconnu : « frDSAutre »")), qPrintable(error));
    // A bare name outside any data band is a variable or nothing known.
    QVERIFY(!prepare(u(kHead) + u("[Title]\nText=0,0,50,5 | | [Name]\n"), input, &out, &error));
    QVERIFY(error.contains(u("« Name »")));

    // Variables answer by name whatever its case; the engine dates pages.
    Clock::Fixed clock(QDateTime(QDate(2026, 3, 14), QTime(9, 30)));
    input.variable = [](const QString& name, QString* value) {
        if (name.compare(QLatin1String("title"), Qt::CaseInsensitive) != 0)
            return false;
        *value = QStringLiteral("HISTORIQUE");
        return true;
    };
    QVERIFY(prepare(u(kHead) + u("[Title]\nHeight=5\nText=0,0,150,5 | | [Title] du [DATE]\n"),
                    input, &out));
    QCOMPARE(out.pageTexts(0), QStringList{u("HISTORIQUE du 14/03/2026")});
}

void TestReportEngine::valuesPrintAsTypedWithoutBeingReadAgain()
{
    const QString typed = u("«Rex» & <b>[TITLE]</b> d'Artagnan \"cité\"");
    MemoryRows rows({QStringLiteral("Name"), QStringLiteral("Remark")},
                    {{typed, u("ligne 1\r\nligne 2\rligne 3")}});
    ReportInput input;
    input.addDataSet(QStringLiteral("frDBDataSet"), &rows);
    input.variable = [](const QString&, QString* value) {
        *value = QStringLiteral("NE DOIT PAS PARAITRE");
        return true;
    };
    PreparedReport out;
    QVERIFY(prepare(u(kHead) + u("[Data frDBDataSet]\nHeight=5\nText=0,0,190,5 | | [Name] [[x]\n"
                                 "Text=0,5,190,5 | wrap | [Remark]\n"),
                    input, &out));
    QCOMPARE(out.pageTexts(0),
             QStringList({typed + u(" [x]"), u("ligne 1"), u("ligne 2"), u("ligne 3")}));
}

void TestReportEngine::rowsFlowOverPagesWithHeadersAndFooters()
{
    // 277 mm less the page footer's 10: title 17 + header 10 + 24 rows of
    // 10 fill page 1 exactly; then the header and 25 rows a page.
    MemoryRows rows({QStringLiteral("Label"), QStringLiteral("Price")}, numberedRows(60));
    ReportInput input;
    input.addDataSet(QStringLiteral("frDSConsult"), &rows);
    PreparedReport out;
    QVERIFY(prepare(u(kHead) + u("[PageFooter]\nHeight=10\nText=0,0,190,10 | right | Page [PAGE] / "
                                 "[PAGES]\n"
                                 "[Title]\nHeight=17\nText=0,0,190,17 | | Titre\n"
                                 "[Header frDSConsult]\nHeight=10\nText=0,0,190,10 | | En-tête\n"
                                 "[Data frDSConsult]\nHeight=10\nText=0,0,190,10 | | [Label]\n"
                                 "[Footer frDSConsult]\nHeight=10\nText=0,0,190,10 | | Total "
                                 "[SUM(Price):money] pour [COUNT]\n"),
                    input, &out));
    QCOMPARE(out.pageCount(), 3);
    const QStringList first = out.pageTexts(0);
    QCOMPARE(first.first(), QStringLiteral("Page 1 / 3"));
    QCOMPARE(first.at(1), QStringLiteral("Titre"));
    QCOMPARE(first.at(2), u("En-tête"));
    QCOMPARE(first.last(), QStringLiteral("Ligne 24"));
    const QStringList second = out.pageTexts(1);
    QCOMPARE(second.at(1), u("En-tête"));
    QCOMPARE(second.at(2), QStringLiteral("Ligne 25"));
    QCOMPARE(second.last(), QStringLiteral("Ligne 49"));
    const QStringList third = out.pageTexts(2);
    QCOMPARE(third.first(), QStringLiteral("Page 3 / 3"));
    QCOMPARE(third.at(1), u("En-tête"));
    QCOMPARE(third.at(2), QStringLiteral("Ligne 50"));
    // 1,25 × (1 + … + 60) = 2 287,50
    QCOMPARE(third.last(), u("Total 2287,50 € pour 60"));
    // Nothing is drawn below the page footer's top.
    for (const PreparedItem& item : out.pages.at(0)) {
        if (item.lines.value(0).startsWith(QLatin1String("Ligne")))
            QVERIFY(item.rect.bottom() <= (297 - 10 - 10) * 100 + 1);
    }
}

void TestReportEngine::headerIsNeverLeftAloneAtThePageFoot()
{
    MemoryRows first({QStringLiteral("Label")}, {});
    QVector<QVariantList> many;
    for (int i = 0; i < 26; ++i)
        many.append({QStringLiteral("a%1").arg(i)});
    MemoryRows a({QStringLiteral("Label")}, many);
    MemoryRows b({QStringLiteral("Label")}, {{QStringLiteral("b0")}});
    ReportInput input;
    input.addDataSet(QStringLiteral("A"), &a);
    input.addDataSet(QStringLiteral("B"), &b);
    PreparedReport out;
    // 26 rows of 10 mm leave 17 mm: room for B's header (10) but not for
    // its header and first row (20).
    QVERIFY(prepare(u(kHead) + u("[Data A]\nHeight=10\nText=0,0,190,10 | | [Label]\n"
                                 "[Header B]\nHeight=10\nText=0,0,190,10 | | Tête B\n"
                                 "[Data B]\nHeight=10\nText=0,0,190,10 | | [Label]\n"),
                    input, &out));
    QCOMPARE(out.pageCount(), 2);
    QCOMPARE(out.pageTexts(0).last(), QStringLiteral("a25"));
    QCOMPARE(out.pageTexts(1), (QStringList{u("Tête B"), QStringLiteral("b0")}));
}

void TestReportEngine::emptyAndClosedDataSets()
{
    MemoryRows none({QStringLiteral("Label")}, {});
    MemoryRows closed({}, {}, false);
    ReportInput input;
    input.addDataSet(QStringLiteral("A"), &none);
    input.addDataSet(QStringLiteral("frDBDataSet"), &closed);
    PreparedReport out;
    // A closed data set prints no row and cannot say which names it has.
    QVERIFY(prepare(u(kHead) + u("[Header A]\nHeight=5\nText=0,0,50,5 | | Tête\n"
                                 "[Data A]\nHeight=5\nText=0,0,50,5 | | [Label]\n"
                                 "[Footer A]\nHeight=5\nText=0,0,50,5 | | Pied\n"
                                 "[Empty A]\nHeight=5\nText=0,0,50,5 | | Aucun acte.\n"
                                 "[Data frDBDataSet]\nHeight=5\nText=0,0,50,5 | | [Name]\n"
                                 "[Band]\nHeight=5\nText=0,0,50,5 | | <[frDBDataSet.Name]>\n"),
                    input, &out));
    QCOMPARE(out.pageCount(), 1);
    QCOMPARE(out.pageTexts(0), (QStringList{u("Aucun acte."), u("<>")}));
}

void TestReportEngine::wrappedTextGrowsItsRowAndBreaksLongWords()
{
    const QString word(300, QLatin1Char('x'));
    MemoryRows rows({QStringLiteral("Remark")},
                    {{u("un deux trois quatre cinq six sept huit neuf dix onze douze")}, {word}});
    ReportInput input;
    input.addDataSet(QStringLiteral("A"), &rows);
    PreparedReport out;
    QVERIFY(prepare(u(kHead) + u("[Data A]\nHeight=5\nText=0,0,30,5 | wrap | [Remark]\n"
                                 "Line=0,5,190,0 | stretch\n"),
                    input, &out));
    const QVector<PreparedItem>& items = out.pages.at(0);
    QCOMPARE(items.size(), 4);
    const PreparedItem& text = items.at(0);
    QVERIFY(text.lines.size() >= 3);
    QCOMPARE(text.lines.join(QLatin1Char(' ')),
             u("un deux trois quatre cinq six sept huit neuf dix onze douze"));
    // The rule under the row moved down with it and stays level.
    const PreparedItem& rule = items.at(1);
    QCOMPARE(rule.rect.height(), 0.0);
    QCOMPARE(rule.rect.top(), text.rect.bottom());
    QCOMPARE(items.at(2).rect.top(), rule.rect.top());
    // The word longer than its box is cut, not lost.
    QVERIFY(items.at(2).lines.size() > 3);
    QCOMPARE(items.at(2).lines.join(QString()), word);
}

void TestReportEngine::pdfTextReadsBackWithMoneyAndAccents()
{
    MemoryRows rows({QStringLiteral("Name"), QStringLiteral("Price")},
                    {{u("Médor l'Épagneul"), 12.5}, {u("Câline & Zoé"), 1234.0}});
    ReportInput input;
    input.addDataSet(QStringLiteral("frDBDataSet"), &rows);
    input.variable = [](const QString& name, QString* value) {
        if (name.compare(QLatin1String("CURRENCYSYMBOL"), Qt::CaseInsensitive) != 0)
            return false;
        *value = QStringLiteral("FF");
        return true;
    };
    PreparedReport out;
    QVERIFY(prepare(u(kHead) + u("[Title]\nHeight=12\nText=0,0,190,12 | size=16 bold | Historique "
                                 "des médicaments\n"
                                 "[Data frDBDataSet]\nHeight=6\nText=0,0,100,6 | | [Name]\n"
                                 "Text=100,0,50,6 | right | [Price:money]\n"),
                    input, &out));
    QTemporaryDir dir;
    const QString path = dir.filePath(u("liste é.pdf"));
    const Result written = out.writePdf(path);
    QVERIFY2(written.ok, qPrintable(written.error));
    const QStringList pages = pdfPages(path);
    QCOMPARE(pages.size(), 1);
    const QString text = squeezed(pages.first());
    QVERIFY2(text.contains(u("Historique des médicaments")), qPrintable(text));
    // The old franc symbols read as the euro.
    QVERIFY2(text.contains(u("Médor l'Épagneul 12,50 €")), qPrintable(text));
    QVERIFY2(text.contains(u("Câline & Zoé 1234,00 €")), qPrintable(text));
}

void TestReportEngine::pdfIsWrittenWholeOrNotAtAll()
{
    QTemporaryDir dir;
    PreparedReport out;
    QVERIFY(prepare(u(kHead) + u("[Band]\nHeight=5\nText=0,0,50,5 | | Bonjour\n"), {}, &out));
    const QString missing = dir.filePath(QStringLiteral("absent/rapport.pdf"));
    const Result refused = out.writePdf(missing);
    QVERIFY(!refused.ok);
    QCOMPARE(refused.error, u("Le fichier « rapport.pdf » ne peut pas être écrit."));
    QVERIFY(!QFile::exists(missing));
    // An earlier file keeps its bytes until the new one is complete.
    const QString path = dir.filePath(QStringLiteral("rapport.pdf"));
    QVERIFY(out.writePdf(path).ok);
    QVERIFY(readBytes(path).startsWith("%PDF"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("rapport.pdf")});
}

void TestReportEngine::textTallerThanAPageGoesOnWithoutLosingLines()
{
    QStringList typed;
    for (int i = 1; i <= 150; ++i)
        typed.append(QStringLiteral("Remarque %1").arg(i));
    MemoryRows rows({QStringLiteral("Remark")}, {{typed.join(QLatin1Char('\n'))}});
    ReportInput input;
    input.addDataSet(QStringLiteral("A"), &rows);
    PreparedReport out;
    QVERIFY(prepare(u(kHead) + u("[PageFooter]\nHeight=8\nText=0,0,190,8 | | Pied\n"
                                 "[Band]\nHeight=100\nText=0,0,190,10 | | Avant\n"
                                 "[Data A]\nHeight=5\nText=0,0,190,5 | wrap | [Remark]\n"
                                 "Frame=0,0,190,5 | stretch\n"
                                 "[Band]\nHeight=5\nText=0,0,190,5 | | Après\n"),
                    input, &out));
    QVERIFY(out.pageCount() >= 3);
    QStringList seen;
    for (int page = 0; page < out.pageCount(); ++page) {
        for (const PreparedItem& item : out.pages.at(page)) {
            // Nothing runs into the page footer.
            if (item.lines.value(0) != QLatin1String("Pied"))
                QVERIFY(item.rect.bottom() <= (297 - 10 - 8) * 100 + 1);
        }
        for (const QString& text : out.pageTexts(page)) {
            if (text.startsWith(QLatin1String("Remarque")))
                seen.append(text);
        }
    }
    QCOMPARE(seen, typed);
    QCOMPARE(out.pageTexts(out.pageCount() - 1).last(), u("Après"));
}

void TestReportEngine::lastRowKeepsItsFooterCompany()
{
    // 277 mm: 26 rows of 10 mm leave 17, room for the last row (10) but
    // not for it and the footer (10).
    MemoryRows rows({QStringLiteral("Label"), QStringLiteral("Price")}, numberedRows(27));
    ReportInput input;
    input.addDataSet(QStringLiteral("A"), &rows);
    PreparedReport out;
    QVERIFY(prepare(u(kHead) + u("[Data A]\nHeight=10\nText=0,0,190,10 | | [Label]\n"
                                 "[Footer A]\nHeight=10\nText=0,0,190,10 | | Total\n"),
                    input, &out));
    QCOMPARE(out.pageCount(), 2);
    QCOMPARE(out.pageTexts(0).last(), QStringLiteral("Ligne 26"));
    QCOMPARE(out.pageTexts(1), (QStringList{QStringLiteral("Ligne 27"), QStringLiteral("Total")}));
}

QTEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"
