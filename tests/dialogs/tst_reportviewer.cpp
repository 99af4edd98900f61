#include "../report/ReportTestSupport.h"
#include "ModalAnswer.h"
#include "TestDatabase.h"
#include "TestText.h"

#include "db/DataModule2.h"
#include "dialogs/ReportWindows.h"
#include "dialogs/TFreeReportPrintViewer.h"
#include "report/ReportRunner.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"
#include "ui/ResizeGrip.h"

#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;
using Choice = TFreeReportPrintViewer::PrintChoice;

namespace {

// Three pages, one band each, titled "Page un", "Page deux", "Page trois".
PreparedReport threePages()
{
    ReportTemplate t;
    QString error;
    t.parse(u("[Report]\nMargins=10,10,10,10\n"
              "[Band]\nHeight=200\nText=0,0,150,10 | | Page un\n"
              "[Band]\nHeight=200\nText=0,0,150,10 | | Page deux\n"
              "[Band]\nHeight=200\nText=0,0,150,10 | | Page trois\n"),
            QStringLiteral("Essai.frf"), &error);
    PreparedReport report;
    report.title = u("Historique des médicaments");
    prepareReport(t, {}, &report, &error);
    return report;
}

QStringList firstLines(const QString& pdf)
{
    QStringList lines;
    for (const QString& page : pdfPages(pdf))
        lines.append(page.trimmed());
    return lines;
}

void click(TFreeReportPrintViewer& viewer, const char* name)
{
    auto* button = viewer.findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

QString pageLabel(const TFreeReportPrintViewer& viewer)
{
    return viewer.findChild<QLabel*>(QStringLiteral("Lab_Page"))->text();
}

} // namespace

class TestReportViewer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void opensAtPageWidthWithTheTitleAsCaption();
    void pageAndZoomCommands();
    void printingTheSelectionPrintsOnlyThePageShown();
    void printingARangeWithCopiesThenClosing();
    void cancellingThePrintDialogClosesToo();
    void withoutPrinterPreviewStaysAndSaysWhy();
    void savingAsPdfWritesEveryPage();
    void reportCommandsShowWhatTheyEndedWith();
    void printedPagesStayWithinTheReport();
    void chartPrintsThroughItsOwnReport();
};

void TestReportViewer::initTestCase()
{
    loadTestFont();
    MessageBox::setTestMode(true);
}

void TestReportViewer::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    FileDialog::clearNextFileNames();
    FileDialog::clearRequests();
    TFreeReportPrintViewer::clearPrintRequests();
}

void TestReportViewer::opensAtPageWidthWithTheTitleAsCaption()
{
    TFreeReportPrintViewer viewer(threePages());
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    QCOMPARE(viewer.windowTitle(), u("Historique des médicaments"));
    QCOMPARE(viewer.size(), QSize(622, 508));
    QCOMPARE(viewer.preview()->zoomMode(), QPrintPreviewWidget::FitToWidth);
    QCOMPARE(viewer.preview()->pageCount(), 3);
    QCOMPARE(pageLabel(viewer), QStringLiteral("1 / 3"));
    // The corner grip resizes the window within its limits.
    QWidget* grip = viewer.findChild<QWidget*>(QStringLiteral("RezisePad"));
    QVERIFY(grip);
    QVERIFY(grip->findChild<ResizeGrip*>());
}

void TestReportViewer::pageAndZoomCommands()
{
    TFreeReportPrintViewer viewer(threePages());
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    click(viewer, "Btn_Next");
    QCOMPARE(viewer.currentPage(), 2);
    QCOMPARE(pageLabel(viewer), QStringLiteral("2 / 3"));
    click(viewer, "Btn_Last");
    QCOMPARE(viewer.currentPage(), 3);
    click(viewer, "Btn_Next"); // stays on the last page
    QCOMPARE(viewer.currentPage(), 3);
    click(viewer, "Btn_Prior");
    QCOMPARE(viewer.currentPage(), 2);
    click(viewer, "Btn_First");
    QCOMPARE(viewer.currentPage(), 1);
    click(viewer, "Btn_Prior");
    QCOMPARE(viewer.currentPage(), 1);
    QCOMPARE(pageLabel(viewer), QStringLiteral("1 / 3"));

    click(viewer, "Btn_OnePage");
    QCOMPARE(viewer.preview()->zoomMode(), QPrintPreviewWidget::FitInView);
    click(viewer, "Btn_100");
    QCOMPARE(viewer.preview()->zoomMode(), QPrintPreviewWidget::CustomZoom);
    QCOMPARE(viewer.preview()->zoomFactor(), 1.0);
    click(viewer, "Btn_PageWidth");
    QCOMPARE(viewer.preview()->zoomMode(), QPrintPreviewWidget::FitToWidth);
}

void TestReportViewer::printingTheSelectionPrintsOnlyThePageShown()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("impression.pdf"));
    TFreeReportPrintViewer::setTestPrinter(true, pdf);
    Choice choice;
    choice.accepted = true;
    choice.range = Choice::Range::Selection;
    TFreeReportPrintViewer::setNextPrintChoice(choice);
    TFreeReportPrintViewer viewer(threePages());
    viewer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&viewer));
    click(viewer, "Btn_Next");
    click(viewer, "Btn_Print");
    QCOMPARE(TFreeReportPrintViewer::printRequestCount(), 1);
    QVERIFY(!viewer.isVisible());
    QCOMPARE(viewer.result(), int(QDialog::Accepted));
    QCOMPARE(firstLines(pdf), QStringList{QStringLiteral("Page deux")});
}

void TestReportViewer::printingARangeWithCopiesThenClosing()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("impression.pdf"));
    TFreeReportPrintViewer::setTestPrinter(true, pdf);
    Choice choice;
    choice.accepted = true;
    choice.range = Choice::Range::Pages;
    choice.from = 2;
    choice.to = 3;
    choice.copies = 2;
    TFreeReportPrintViewer::setNextPrintChoice(choice);
    TFreeReportPrintViewer viewer(threePages());
    viewer.show();
    click(viewer, "Btn_Print");
    QVERIFY(!viewer.isVisible());
    QCOMPARE(firstLines(pdf),
             (QStringList{QStringLiteral("Page deux"), QStringLiteral("Page trois"),
                          QStringLiteral("Page deux"), QStringLiteral("Page trois")}));
}

void TestReportViewer::cancellingThePrintDialogClosesToo()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("impression.pdf"));
    TFreeReportPrintViewer::setTestPrinter(true, pdf);
    TFreeReportPrintViewer viewer(threePages());
    viewer.show();
    click(viewer, "Btn_Print");
    QCOMPARE(TFreeReportPrintViewer::printRequestCount(), 1);
    QVERIFY(!viewer.isVisible());
    QVERIFY(!QFile::exists(pdf));
}

void TestReportViewer::withoutPrinterPreviewStaysAndSaysWhy()
{
    TFreeReportPrintViewer::setTestPrinter(false);
    TFreeReportPrintViewer viewer(threePages());
    viewer.show();
    click(viewer, "Btn_Print");
    QCOMPARE(TFreeReportPrintViewer::printRequestCount(), 0);
    QVERIFY(viewer.isVisible());
    const auto shown = MessageBox::shownMessages();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().kind, MessageBox::Kind::Warning);
    QVERIFY(shown.first().text.startsWith(u("Aucune imprimante n'est installée")));
}

void TestReportViewer::savingAsPdfWritesEveryPage()
{
    QTemporaryDir dir;
    TFreeReportPrintViewer viewer(threePages());
    viewer.show();
    // Cancelled: nothing written, the window stays.
    click(viewer, "Btn_SavePdf");
    QCOMPARE(FileDialog::requests().size(), 1);
    QVERIFY(FileDialog::requests().first().dir.endsWith(u("Historique des médicaments.pdf")));
    QVERIFY(QDir(dir.path()).isEmpty());
    FileDialog::setNextFileName(dir.filePath(QStringLiteral("rapport")));
    click(viewer, "Btn_SavePdf");
    QVERIFY(viewer.isVisible());
    QCOMPARE(firstLines(dir.filePath(QStringLiteral("rapport.pdf"))),
             (QStringList{QStringLiteral("Page un"), QStringLiteral("Page deux"),
                          QStringLiteral("Page trois")}));
    // A folder that cannot take the file: said, not claimed as done.
    FileDialog::setNextFileName(dir.filePath(QStringLiteral("absent/rapport.pdf")));
    click(viewer, "Btn_SavePdf");
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().text,
             u("Le fichier « rapport.pdf » ne peut pas être écrit."));
}

void TestReportViewer::reportCommandsShowWhatTheyEndedWith()
{
    ReportOutcome empty;
    empty.status = ReportOutcome::Status::Empty;
    empty.message = u("Il n'y a pas d'enregistrements dans cette liste.");
    QVERIFY(!runReport(nullptr, [&]() { return empty; }));
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().kind, MessageBox::Kind::Information);
    QCOMPARE(MessageBox::shownMessages().first().text, empty.message);

    MessageBox::clearShownMessages();
    ReportOutcome failed;
    failed.message = u("Le modèle de rapport « Fich.frf » est introuvable.");
    QVERIFY(!runReport(nullptr, [&]() { return failed; }));
    QCOMPARE(MessageBox::shownMessages().first().text, failed.message);

    MessageBox::clearShownMessages();
    ReportOutcome ready;
    ready.status = ReportOutcome::Status::Ready;
    ready.report = threePages();
    QString caption;
    auto answer =
        test::ModalAnswer::when<TFreeReportPrintViewer>([&](TFreeReportPrintViewer* viewer) {
            caption = viewer->windowTitle();
            QTest::mouseClick(viewer->findChild<QPushButton*>(QStringLiteral("Btn_Close")),
                              Qt::LeftButton);
        });
    QVERIFY(runReport(nullptr, [&]() { return ready; }));
    QVERIFY(answer.seen());
    QCOMPARE(caption, u("Historique des médicaments"));
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestReportViewer::printedPagesStayWithinTheReport()
{
    Choice c;
    c.range = Choice::Range::Pages;
    c.from = 0;
    c.to = 9;
    QCOMPARE(TFreeReportPrintViewer::printedPages(c, 2, 3), qMakePair(1, 3));
    c.from = 3;
    c.to = 1;
    QCOMPARE(TFreeReportPrintViewer::printedPages(c, 2, 3), qMakePair(3, 3));
    c.range = Choice::Range::Selection;
    QCOMPARE(TFreeReportPrintViewer::printedPages(c, 2, 3), qMakePair(2, 2));
    c.range = Choice::Range::All;
    QCOMPARE(TFreeReportPrintViewer::printedPages(c, 2, 3), qMakePair(1, 3));
}

void TestReportViewer::chartPrintsThroughItsOwnReport()
{
    TestDatabase db;
    DataModuleReport module(db.connection);
    QImage chart(ReportRunner::statSize, QImage::Format_RGB32);
    chart.fill(Qt::white);
    const QString reports =
        qEnvironmentVariable("TAVIRUNE_PROGRAM_DIR") + QStringLiteral("/Reports/");
    QStringList texts;
    auto answer =
        test::ModalAnswer::when<TFreeReportPrintViewer>([&](TFreeReportPrintViewer* viewer) {
            texts = viewer->report().pageTexts(0);
            viewer->reject();
        });
    QVERIFY(printChart(nullptr, module, reports, chart, u("Courbe de taille"), u("Médor")));
    QVERIFY(answer.seen());
    QVERIFY(texts.contains(u("COURBE DE TAILLE (MEDOR)")));
    QCOMPARE(ReportRunner::titleText(), u("COURBE DE TAILLE (MEDOR)"));

    // Without its template the chart report says so and opens nothing.
    QTemporaryDir empty;
    QVERIFY(!printChart(nullptr, module, empty.path() + u("/"), chart, u("Poids"), u("Médor")));
    QCOMPARE(MessageBox::shownMessages().last().text,
             u("Le modèle de rapport « Stat.frf » est introuvable."));
}

QTEST_MAIN(TestReportViewer)
#include "tst_reportviewer.moc"
