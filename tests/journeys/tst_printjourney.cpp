#include "../report/ReportTestSupport.h"
#include "FilledBooklet.h"
#include "ModalAnswer.h"
#include "TestText.h"

#include "dialogs/TFreeReportPrintViewer.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;
using tav::test::FilledBooklet;
using tav::test::ModalAnswer;
using Facts = FilledBooklet::Facts;

// From the "Impression" menu through the preview to the printer, the
// printer writing PDF read back by poppler's pdftotext.
class TestPrintJourney : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void eachReportPrintsWhatWasTyped_data();
    void eachReportPrintsWhatWasTyped();

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

QTEST_MAIN(TestPrintJourney)
#include "tst_printjourney.moc"
