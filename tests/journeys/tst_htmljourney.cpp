#include "ChartPixels.h"
#include "FilledBooklet.h"
#include "ModalAnswer.h"
#include "TestText.h"

#include "dialogs/THtmlView.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QTextBrowser>
#include <QtTest>

using namespace tav;
using tav::test::FilledBooklet;
using tav::test::ModalAnswer;
using Facts = FilledBooklet::Facts;

// From the "Html" menu to the pages and pictures a browser shows, on a
// booklet filled through the entry windows. The slots share that booklet
// and run in order: the last one adds a target band.
class TestHtmlJourney : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void bookletShowsWhatWasTypedWithBothCurvesDrawn();
    void tablesShowTheRowsOfTheEntryWindows();
    void targetBandSetOnThePageIsShadedInTheBooklet();

private:
    // Triggers a menu item of the "Html" menu; the text the viewer shows.
    QString openFromMenu(const char* item);
    QString htmlFolder() const { return m_booklet->app().dataFolder() + u("Html/Temp/"); }

    std::unique_ptr<FilledBooklet> m_booklet;
};

void TestHtmlJourney::initTestCase()
{
    m_booklet = std::make_unique<FilledBooklet>();
    m_booklet->startAndFill();
}

void TestHtmlJourney::cleanupTestCase()
{
    m_booklet.reset();
}

QString TestHtmlJourney::openFromMenu(const char* item)
{
    QString shown;
    const auto answer = ModalAnswer::when<THtmlView>([&shown](THtmlView* view) {
        shown = view->windowTitle() + u("|") + view->browser()->toPlainText();
    });
    QAction* action = m_booklet->action(item);
    if (!action || !action->isEnabled())
        return QString();
    action->trigger();
    return answer.seen() ? shown : QString();
}

void TestHtmlJourney::bookletShowsWhatWasTypedWithBothCurvesDrawn()
{
    const QString shown = openFromMenu("Item_Html_Carnet");
    QVERIFY2(shown.startsWith(u("Fiche de santé|")), qPrintable(shown));
    for (const char* typed :
         {Facts::animal, Facts::vaccine, Facts::vaccineDate, Facts::reminderDate, Facts::event,
          Facts::documentFile, Facts::imageTitle, Facts::illness, "27.500 kg", "58.00 cm"})
        QVERIFY2(shown.contains(u(typed)), qPrintable(u(typed) + u(" not in: ") + shown));
    QVERIFY(MessageBox::shownMessages().isEmpty());

    // Each curve in its own picture, drawn in the type chosen on the page:
    // both rising, the size's from a lower start.
    const QImage weight(htmlFolder() + u("weight.bmp"));
    const QImage size(htmlFolder() + u("size.bmp"));
    QCOMPARE(weight.size(), QSize(680, 400));
    QCOMPARE(size.size(), QSize(680, 400));
    const auto weightEnds = test::curveEnds(weight);
    const auto sizeEnds = test::curveEnds(size);
    QVERIFY2(weightEnds, "weight.bmp shows no curve");
    QVERIFY2(sizeEnds, "size.bmp shows no curve");
    QVERIFY(weightEnds->second < weightEnds->first);
    QVERIFY(sizeEnds->second < sizeEnds->first);
    QVERIFY(weight != size);
}

void TestHtmlJourney::tablesShowTheRowsOfTheEntryWindows()
{
    QString shown = openFromMenu("Item_Html_Actes");
    for (const char* typed : {Facts::consultDate, Facts::vet, Facts::illness, "45.00"})
        QVERIFY2(shown.contains(u(typed)), qPrintable(shown));

    shown = openFromMenu("Item_Html_Medicaments");
    QVERIFY2(shown.contains(u("Antiparasitaire externe en comprimé")), qPrintable(shown));
    QVERIFY(shown.contains(u("12.50")));

    // The reminder tables: the vaccination is due on the date typed.
    shown = openFromMenu("Item_Html_Rappels");
    QVERIFY2(shown.contains(u(Facts::reminderDate)), qPrintable(shown));
    QVERIFY(shown.contains(u(Facts::vaccine)));
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestHtmlJourney::targetBandSetOnThePageIsShadedInTheBooklet()
{
    QVERIFY(!openFromMenu("Item_Html_Carnet").isEmpty());
    const QImage before(htmlFolder() + u("weight.bmp"));
    QVERIFY(!before.isNull());
    QVERIFY(m_booklet->enterTargetWeight(u("28"), u("30")));
    QVERIFY(!openFromMenu("Item_Html_Carnet").isEmpty());
    const QImage weight(htmlFolder() + u("weight.bmp"));
    const QImage size(htmlFolder() + u("size.bmp"));
    QVERIFY2(test::bandPixels(weight) > test::bandPixels(before) + 1000,
             qPrintable(QStringLiteral("%1 -> %2")
                            .arg(test::bandPixels(before))
                            .arg(test::bandPixels(weight))));
    // A weight band has no place on the size curve.
    QVERIFY(test::bandPixels(size) < 100);
    QVERIFY(test::curveEnds(weight));
}

QTEST_MAIN(TestHtmlJourney)
#include "tst_htmljourney.moc"
