#include "../report/ReportTestSupport.h"
#include "ChartPixels.h"
#include "FilledBooklet.h"
#include "ModalAnswer.h"
#include "TestText.h"

#include "dialogs/TFreeReportPrintViewer.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;
using tav::test::FilledBooklet;
using tav::test::ModalAnswer;
using Facts = FilledBooklet::Facts;

// From the "Impression" menu through the preview to the printer, the
// printer writing PDF read back by poppler's pdftotext. The slots share one
// filled booklet and run in order: the last one adds a target band.
class TestPrintJourney : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void eachReportPrintsWhatWasTyped_data();
    void eachReportPrintsWhatWasTyped();
    void printedBookletDrawsBothCurvesAndTheBand();

private:
    std::unique_ptr<FilledBooklet> m_booklet;
    QTemporaryDir m_out;
};

void TestPrintJourney::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    loadTestFont();
    m_booklet = std::make_unique<FilledBooklet>();
    m_booklet->startAndFill();
}

void TestPrintJourney::cleanupTestCase()
{
    TFreeReportPrintViewer::setTestPrinter(false);
    m_booklet.reset();
}

void TestPrintJourney::eachReportPrintsWhatWasTyped_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("carnet") << u("Item_Print_Carnet") << u("Carnet de santé")
                            << QStringList{u(Facts::animal), u(Facts::vaccine),
                                           u(Facts::reminderDate), u(Facts::event),
                                           u(Facts::illness)};
    QTest::newRow("actes") << u("Item_Print_Actes") << u("Historique des actes")
                           << QStringList{
                                  u("HISTORIQUE DES ACTES"), u(Facts::consultDate),   u(Facts::vet),
                                  u(Facts::illness),         u(Facts::consultRemark), u("45,00 €")};
    QTest::newRow("medicaments") << u("Item_Print_Medicaments") << u("Historique des médicaments")
                                 << QStringList{u("05/03/2026"), u("Antiparasitaire externe"),
                                                u("12,50 €")};
    QTest::newRow("rappels") << u("Item_Print_Rappels") << u("Tableaux de rappel")
                             << QStringList{u(Facts::vaccine), u(Facts::reminderDate),
                                            u(Facts::consultDate)};
}

void TestPrintJourney::eachReportPrintsWhatWasTyped()
{
    QFETCH(QString, item);
    QFETCH(QString, caption);
    QFETCH(QStringList, expected);
    const QString pdf = m_out.filePath(item + u(".pdf"));
    TFreeReportPrintViewer::clearPrintRequests();
    TFreeReportPrintViewer::setTestPrinter(true, pdf);
    TFreeReportPrintViewer::PrintChoice choice;
    choice.accepted = true;
    TFreeReportPrintViewer::setNextPrintChoice(choice);
    MessageBox::clearShownMessages();

    QString title;
    const auto answer = ModalAnswer::when<TFreeReportPrintViewer>([&](TFreeReportPrintViewer* v) {
        title = v->windowTitle();
        v->findChild<QPushButton*>(QStringLiteral("Btn_Print"))->click();
    });
    QAction* action = m_booklet->action(item.toLatin1().constData());
    QVERIFY(action && action->isEnabled());
    action->trigger();
    QVERIFY2(answer.seen(), qPrintable(MessageBox::shownMessages().value(0).text));
    QCOMPARE(title, caption);
    QCOMPARE(TFreeReportPrintViewer::printRequestCount(), 1);

    const QString text = squeezed(pdfPages(pdf).join(QLatin1Char(' ')));
    QVERIFY2(!text.isEmpty(), "the printer wrote no readable page");
    for (const QString& typed : expected)
        QVERIFY2(text.contains(typed), qPrintable(typed + u(" not in: ") + text));
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

namespace {

// The pages of a PDF file as pictures, drawn by poppler's pdftoppm.
QList<QImage> pdfPictures(const QString& pdf, const QString& folder)
{
    QDir().mkpath(folder);
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {u("-r"), u("100"), u("-png"), pdf, QDir(folder).filePath(u("page"))});
    QList<QImage> pages;
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return pages;
    for (const QString& name : QDir(folder).entryList({u("page*.png")}, QDir::Files, QDir::Name))
        pages << QImage(QDir(folder).filePath(name));
    return pages;
}

// The curves drawn on a printed page: runs of rows holding the curve's
// warm colour (red, or brown where the printer's resolution blends it),
// each at least 100 pixels wide, apart from the next by a blank gap.
int curvesOn(const QImage& page)
{
    int curves = 0;
    int left = -1, right = -1, lastRow = -1000;
    const auto close = [&]() {
        if (left >= 0 && right - left >= 100)
            ++curves;
        left = right = -1;
    };
    for (int y = 0; y < page.height(); ++y) {
        bool found = false;
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.red() < c.blue() + 80 || c.red() < c.green())
                continue;
            if (!found && y - lastRow > 40)
                close();
            found = true;
            left = left < 0 ? x : std::min(left, x);
            right = std::max(right, x);
        }
        if (found)
            lastRow = y;
    }
    close();
    return curves;
}

} // namespace

void TestPrintJourney::printedBookletDrawsBothCurvesAndTheBand()
{
    QVERIFY(m_booklet->enterTargetWeight(u("28"), u("30")));
    const QString pdf = m_out.filePath(u("carnet-bande.pdf"));
    TFreeReportPrintViewer::setTestPrinter(true, pdf);
    TFreeReportPrintViewer::PrintChoice choice;
    choice.accepted = true;
    TFreeReportPrintViewer::setNextPrintChoice(choice);
    const auto answer = ModalAnswer::when<TFreeReportPrintViewer>([](TFreeReportPrintViewer* v) {
        v->findChild<QPushButton*>(QStringLiteral("Btn_Print"))->click();
    });
    m_booklet->action("Item_Print_Carnet")->trigger();
    QVERIFY(answer.seen());

    // On paper: two curves, the weight's with its shaded band.
    int curves = 0;
    int band = 0;
    for (const QImage& page : pdfPictures(pdf, m_out.filePath(u("pages")))) {
        band += test::bandPixels(page);
        curves += curvesOn(page);
    }
    QCOMPARE(curves, 2);
    QVERIFY2(band > 1000, qPrintable(QString::number(band)));
}

QTEST_MAIN(TestPrintJourney)
#include "tst_printjourney.moc"
