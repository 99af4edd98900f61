#include "AppFixture.h"
#include "ChartPixels.h"
#include "ModalAnswer.h"
#include "TestText.h"

#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "booklet/pages/TCurvePage.h"
#include "charts/MeasureChart.h"
#include "charts/MeasureChartPicture.h"
#include "charts/MeasureChartView.h"
#include "db/Connection.h"
#include "dialogs/TChartValueList.h"
#include "dialogs/TEnterTargetWeight.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QAreaSeries>
#include <QChart>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QScatterSeries>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QValueAxis>
#include <QtTest>

using namespace tav;
using tav::test::bandPixels;
using tav::test::ModalAnswer;

// The target weight band set from the curve page and told on the card.
class TestTargetWeightPage : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void bandSetFromTheCurveMenuShowsOnTheCard();
    void refusedBandLeavesTheCardAsItWas();
    void bandIsShadedOnTheWeightCurve();
    void curveWindowFlagsWeighingsOutsideTheBand();
    void outputPicturesCarryTheBand();
    void weighingsOutsideTheBandAreMarkedOnTheCurve();

private:
    TCurvePage* showCurves();
    // Opens "Poids cible…" and types the two values, then OK.
    bool enterBand(const QString& min, const QString& max);
    QString cardTooltip() const;

    std::unique_ptr<AppFixture> m_app;
};

void TestTargetWeightPage::init()
{
    MessageBox::clearShownMessages();
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    QVERIFY(m_app->start());
    QVERIFY(m_app->restartWith(
        {QStringLiteral("INSERT INTO ANIMAL (Name, WeightMode) VALUES ('Médor', 1)"),
         QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight) VALUES "
                        "(1, '2021-03-12', 27.5), (1, '2022-06-15', 30)")}));
}

void TestTargetWeightPage::cleanup()
{
    m_app.reset();
}

TCurvePage* TestTargetWeightPage::showCurves()
{
    auto* tabs = m_app->component<QTabBar>(QStringLiteral("TabNoteBook"));
    tabs->setCurrentIndex(0);
    tabs->setCurrentIndex(1);
    return AppFixture::findWindow("TMainForm")->findChild<TCurvePage*>();
}

bool TestTargetWeightPage::enterBand(const QString& min, const QString& max)
{
    TCurvePage* page = showCurves();
    QMenu* menu = page->typeMenu(TCurvePage::Weight);
    emit menu->aboutToShow();
    QAction* item = menu->findChild<QAction*>(QStringLiteral("Item_TargetWeight"));
    if (!item || item->text() != u("Poids cible…"))
        return false;
    bool typed = false;
    const auto answer = ModalAnswer::when<TEnterTargetWeight>([&](TEnterTargetWeight* w) {
        for (const auto& [name, text] : {std::pair{"Ed_Min", min}, std::pair{"Ed_Max", max}}) {
            auto* field = w->findChild<QLineEdit*>(QString::fromLatin1(name));
            field->clear();
            for (const QChar c : text)
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
        w->findChild<QPushButton*>(QStringLiteral("Btn_Ok"))->click();
        typed = w->result() == QDialog::Accepted;
    });
    item->trigger();
    return answer.seen() && typed;
}

QString TestTargetWeightPage::cardTooltip() const
{
    return m_app->component<QLineEdit>(QStringLiteral("Ed_BirthDay_Weight"))->toolTip();
}

void TestTargetWeightPage::bandSetFromTheCurveMenuShowsOnTheCard()
{
    QCOMPARE(cardTooltip(), QString());
    QVERIFY(enterBand(QStringLiteral("28"), QStringLiteral("32,5")));
    QVERIFY(MessageBox::shownMessages().isEmpty());
    Connection& c = *m_app->startup()->mainForm()->context().connection;
    QCOMPARE(c.scalar(QStringLiteral("SELECT Target_Weight_Min || '-' || Target_Weight_Max FROM "
                                     "ANIMAL"))
                 .toString(),
             QStringLiteral("28.0-32.5"));
    QCOMPARE(cardTooltip(), u("Poids cible : de 28,000 kg à 32,500 kg"));
    // The band comes back with the animal.
    m_app->stop();
    QVERIFY(m_app->start());
    QCOMPARE(cardTooltip(), u("Poids cible : de 28,000 kg à 32,500 kg"));
}

void TestTargetWeightPage::refusedBandLeavesTheCardAsItWas()
{
    QVERIFY(enterBand(QStringLiteral("28"), QString()));
    QVERIFY(!enterBand(QStringLiteral("33"), QStringLiteral("32")));
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().text,
             u("Le « Poids minimum » (33,000 kg) est supérieur au « Poids maximum » (32,000 kg)."));
    QCOMPARE(cardTooltip(), u("Poids cible : au moins 28,000 kg"));
}

namespace {

// Pixels of the blue that marks a weighing below the band; nothing else on
// a growth chart is that blue.
int belowMarkPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 150 && c.red() < 60 && c.green() < 60)
                ++n;
        }
    }
    return n;
}

QList<QPointF> markPoints(QChart* chart, WeightBand::Flag side)
{
    QScatterSeries* marks = weightMarkSeries(chart, side);
    return marks && marks->isVisible() ? marks->points() : QList<QPointF>();
}

} // namespace

void TestTargetWeightPage::bandIsShadedOnTheWeightCurve()
{
    TCurvePage* page = showCurves();
    MeasureChartView* view = page->chartView(TCurvePage::Weight);
    view->resize(600, 300);
    const int before = bandPixels(view->grab().toImage());
    QVERIFY(!weightBandSeries(view->chart()) || !weightBandSeries(view->chart())->isVisible());

    QVERIFY(enterBand(QStringLiteral("28"), QStringLiteral("40")));
    QAreaSeries* band = weightBandSeries(view->chart());
    QVERIFY(band);
    QVERIFY(band->isVisible());
    QCOMPARE(band->brush().color(), weightBandColour());
    const auto top = band->upperSeries()->points();
    const auto bottom = band->lowerSeries()->points();
    QCOMPARE(top.size(), 2);
    QCOMPARE(top.first().y(), 40.0);
    QCOMPARE(bottom.first().y(), 28.0);
    // Across the whole curve, both weighings included.
    QVERIFY(top.first().x() < 0 && top.last().x() > 1);
    // The maximum lies above the heaviest weighing: the range shows it.
    auto* axis = qobject_cast<QValueAxis*>(view->chart()->axes(Qt::Vertical).value(0));
    QVERIFY(axis->max() >= 40.0);
    // The curve keeps its roles.
    QCOMPARE(qobject_cast<QLineSeries*>(view->chart()->series().at(CurveSeries))->count(), 2);
    const int after = bandPixels(view->grab().toImage());
    QVERIFY2(after > before + 1000, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(after)));

    // An emptied band leaves no shade.
    QVERIFY(enterBand(QString(), QString()));
    QVERIFY(!weightBandSeries(view->chart())->isVisible());
}

void TestTargetWeightPage::curveWindowFlagsWeighingsOutsideTheBand()
{
    QVERIFY(enterBand(QStringLiteral("28"), QStringLiteral("29,5")));
    QStringList shown;
    QList<QColor> colours;
    bool shaded = false;
    const auto answer = ModalAnswer::when<TChartValueList>([&](TChartValueList* w) {
        QAbstractItemModel* grid = w->findChild<QTableView*>(QStringLiteral("Grid_Value"))->model();
        for (int row = 0; row < grid->rowCount(); ++row) {
            for (int column = 0; column < grid->columnCount(); ++column) {
                const QString text = grid->index(row, column).data().toString();
                if (text.endsWith(u(" ↑")) || text.endsWith(u(" ↓"))) {
                    shown << text;
                    colours << grid->index(row, column).data(Qt::ForegroundRole).value<QColor>();
                }
            }
        }
        QAreaSeries* band = weightBandSeries(w->chartView()->chart());
        shaded = band && band->isVisible();
    });
    m_app->component<QToolButton>(QStringLiteral("Btn_Chart_Weight_Edit"))->click();
    QVERIFY(answer.seen());
    // 27,5 kg lies below the band, 30 kg above it; both flagged.
    QCOMPARE(shown.size(), 2);
    QVERIFY2(shown.filter(u("↓")).size() == 1 && shown.filter(u("↑")).size() == 1,
             qPrintable(shown.join(QLatin1Char('|'))));
    QVERIFY(colours.contains(QColor(200, 0, 0)));
    QVERIFY(colours.contains(QColor(0, 0, 200)));
    QVERIFY(shaded);
}

void TestTargetWeightPage::outputPicturesCarryTheBand()
{
    Connection& c = *m_app->startup()->mainForm()->context().connection;
    const QSize size(600, 300);
    // The printed and HTML booklets draw from the database, the chart
    // report from the page's view.
    const auto booklet = [&c, size]() {
        return bandPixels(renderMeasureChart(c, 1, MeasureKind::Weight, CurveMode::ByDate, size));
    };
    MeasureChartView* view = showCurves()->chartView(TCurvePage::Weight);
    const int bookletBefore = booklet();
    const int reportBefore = bandPixels(view->picture(size));
    QVERIFY(enterBand(QStringLiteral("28"), QStringLiteral("40")));
    QVERIFY2(booklet() > bookletBefore + 1000, qPrintable(QString::number(booklet())));
    QVERIFY(bandPixels(view->picture(size)) > reportBefore + 1000);
}

void TestTargetWeightPage::weighingsOutsideTheBandAreMarkedOnTheCurve()
{
    Connection& c = *m_app->startup()->mainForm()->context().connection;
    QChart* chart = showCurves()->chartView(TCurvePage::Weight)->chart();
    const auto printed = [&c]() {
        return belowMarkPixels(
            renderMeasureChart(c, 1, MeasureKind::Weight, CurveMode::ByDate, QSize(600, 300)));
    };
    QCOMPARE(printed(), 0);

    // 27,5 kg lies below 28 kg; 30 kg inside.
    QVERIFY(enterBand(QStringLiteral("28"), QStringLiteral("32")));
    QCOMPARE(markPoints(chart, WeightBand::Flag::Below), QList<QPointF>{QPointF(0, 27.5)});
    QVERIFY(markPoints(chart, WeightBand::Flag::Above).isEmpty());
    QCOMPARE(weightMarkSeries(chart, WeightBand::Flag::Below)->color(), QColor(0, 0, 200));
    QVERIFY2(printed() > 20, qPrintable(QString::number(printed())));

    // Moved band: 30 kg now above, nothing below.
    QVERIFY(enterBand(QStringLiteral("25"), QStringLiteral("29")));
    QCOMPARE(markPoints(chart, WeightBand::Flag::Above), QList<QPointF>{QPointF(1, 30)});
    QVERIFY(markPoints(chart, WeightBand::Flag::Below).isEmpty());
    QCOMPARE(weightMarkSeries(chart, WeightBand::Flag::Above)->color(), QColor(200, 0, 0));
    QCOMPARE(printed(), 0);

    // No band, no marks.
    QVERIFY(enterBand(QString(), QString()));
    QVERIFY(markPoints(chart, WeightBand::Flag::Above).isEmpty());
    QVERIFY(markPoints(chart, WeightBand::Flag::Below).isEmpty());
}

QTEST_MAIN(TestTargetWeightPage)
#include "tst_targetweightpage.moc"
