#include "AppFixture.h"
#include "ModalAnswer.h"
#include "PrintedChartText.h"
#include "TestInput.h"
#include "TestText.h"

#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "booklet/pages/TCurvePage.h"
#include "charts/MeasureChartPicture.h"
#include "charts/MeasureChartView.h"
#include "core/Clock.h"
#include "db/Connection.h"
#include "dialogs/TChartValueList.h"
#include "dialogs/TEnterWeight.h"
#include "dialogs/TFreeReportPrintViewer.h"
#include "media/JpegFile.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QCategoryAxis>
#include <QChart>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QValueAxis>
#include <QtTest>

using namespace tav;
using tav::test::ModalAnswer;

namespace {

QLineSeries* series(MeasureChartView* view, int role)
{
    return qobject_cast<QLineSeries*>(view->chart()->series().at(role));
}

QVector<double> yValues(MeasureChartView* view)
{
    QVector<double> out;
    const auto points = series(view, 0)->points();
    for (const QPointF& p : points)
        out << p.y();
    return out;
}

// The labels of the positions of the curve drawn.
QStringList axisLabels(MeasureChartView* view)
{
    QStringList out;
    for (const CurvePoint& p : view->curve().points)
        out << p.label;
    return out;
}

// The labels the horizontal axis shows.
QStringList shownLabels(MeasureChartView* view)
{
    auto* axis = qobject_cast<QCategoryAxis*>(view->chart()->axes(Qt::Horizontal).value(0));
    return axis ? axis->categoriesLabels() : QStringList();
}

double rangeTop(MeasureChartView* view)
{
    return qobject_cast<QValueAxis*>(view->chart()->axes(Qt::Vertical).value(0))->max();
}

// Chooses an item of a type menu as the user does, the menu having opened.
void choose(QMenu* menu, const QString& text)
{
    emit menu->aboutToShow();
    const auto actions = menu->actions();
    for (QAction* a : actions) {
        if (a->text() == text) {
            a->trigger();
            return;
        }
    }
    QFAIL("no such menu item");
}

QString checkedItem(QMenu* menu)
{
    emit menu->aboutToShow();
    const auto actions = menu->actions();
    for (QAction* a : actions) {
        if (a->isChecked())
            return a->text();
    }
    return {};
}

} // namespace

class TestCurvePage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void storedModeZeroDrawsNothingUntilATypeIsChosen();
    void seriesKeepTheirRolesRangeAndLabels();
    void hoveringAPointShowsItsDateAndValue();
    void curveWindowManagesMeasuresWithItsOwnMode();
    void chartIsSavedAsJpegUnderTheProposedName();
    void chartIsPrintedThroughTheChartReport();
    void curveWindowPrintsItsChartLikeThePage();
    void pictureForTheBookletsDrawsTheStoredCurve();
    void manyPointsKeepALabelledReadableAxis();
    void fewMeasuresKeepEveryLabelAtTheFirstStartSize();
    void aChartNeverGivenACurveIsSetUpWhenShown();
    void aChartWithoutTypeSaysWhatToDo();
    void aSingleWeighingShowsAsAPoint();

private:
    void seed(const QStringList& statements);
    void installChartReport();
    TCurvePage* page() const;
    void showCurves();
    QVariant scalar(const QString& sql) const;

    std::unique_ptr<AppFixture> m_app;
    std::unique_ptr<Clock::Fixed> m_clock;
};

void TestCurvePage::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestCurvePage::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    FileDialog::clearRequests();
    FileDialog::clearNextFileNames();
    m_clock = std::make_unique<Clock::Fixed>(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    QVERIFY(m_app->start());
    seed({QStringLiteral("INSERT INTO ANIMAL (Name, ForeName, BirthDay_Date, BirthDay_Weight, "
                         "BirthDay_Size) VALUES ('Médor', 'du Val', '15/06/2020', 0.45, 12)"),
          QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight) VALUES "
                         "(1, '2020-09-01', 4.2), (1, '2021-03-12', 12.4), "
                         "(1, '2021-03-12', 12.1), (1, '2022-06-15', 11.8)"),
          QStringLiteral("INSERT INTO [SIZE] (Id_Ref, Date_Size, Size) VALUES "
                         "(1, '2020-09-01', 30), (1, '2021-06-01', 48)")});
}

void TestCurvePage::cleanup()
{
    m_app.reset();
    m_clock.reset();
}

void TestCurvePage::seed(const QStringList& statements)
{
    QVERIFY(m_app->restartWith(statements));
}

TCurvePage* TestCurvePage::page() const
{
    QWidget* main = AppFixture::findWindow("TMainForm");
    return main ? main->findChild<TCurvePage*>() : nullptr;
}

void TestCurvePage::showCurves()
{
    auto* tabs = m_app->component<QTabBar>(QStringLiteral("TabNoteBook"));
    tabs->setCurrentIndex(0);
    tabs->setCurrentIndex(1);
}

QVariant TestCurvePage::scalar(const QString& sql) const
{
    return m_app->startup()->mainForm()->context().connection->scalar(sql);
}

void TestCurvePage::storedModeZeroDrawsNothingUntilATypeIsChosen()
{
    showCurves();
    TCurvePage* curves = page();
    QVERIFY(curves);
    MeasureChartView* weight = curves->chartView(TCurvePage::Weight);
    QCOMPARE(curves->chartMode(TCurvePage::Weight), CurveMode::None);
    QCOMPARE(series(weight, 0)->count(), 0);
    QCOMPARE(checkedItem(curves->typeMenu(TCurvePage::Weight)), QString());

    choose(curves->typeMenu(TCurvePage::Weight), QStringLiteral("Dates"));
    QCOMPARE(MessageBox::shownMessages().size(), 0);
    QCOMPARE(scalar(QStringLiteral("SELECT WeightMode FROM ANIMAL")).toInt(), 1);
    QCOMPARE(scalar(QStringLiteral("SELECT IFNULL(SizeMode, 0) FROM ANIMAL")).toInt(), 0);
    QCOMPARE(yValues(weight), QVector<double>({0.45, 4.2, 12.4, 11.8}));
    QCOMPARE(checkedItem(curves->typeMenu(TCurvePage::Weight)), QStringLiteral("Dates"));

    choose(curves->typeMenu(TCurvePage::Weight), u("Années"));
    QCOMPARE(axisLabels(weight), strings({"Naissance", "0 ans", "2 ans"}));

    // The mode comes back with the animal after a restart.
    m_app->stop();
    QVERIFY(m_app->start());
    showCurves();
    QCOMPARE(page()->chartMode(TCurvePage::Weight), CurveMode::ByYears);
    QCOMPARE(axisLabels(page()->chartView(TCurvePage::Weight)),
             strings({"Naissance", "0 ans", "2 ans"}));
    QCOMPARE(series(page()->chartView(TCurvePage::Size), 0)->count(), 0);
}

void TestCurvePage::seriesKeepTheirRolesRangeAndLabels()
{
    seed({QStringLiteral("UPDATE ANIMAL SET WeightMode=1, SizeMode=3")});
    showCurves();
    MeasureChartView* weight = page()->chartView(TCurvePage::Weight);
    QChart* chart = weight->chart();
    QCOMPARE(chart->series().size(), 8);
    QStringList names;
    for (int role = 0; role < 8; ++role)
        names << series(weight, role)->name();
    QCOMPARE(names, strings({"", "", "min", "min", "max", "max", "limit_min", "limit_max"}));
    QCOMPARE(series(weight, 0)->pen().color(), QColor(255, 0, 0));
    QCOMPARE(series(weight, 0)->pen().width(), 3);
    QCOMPARE(series(weight, 1)->pen().color(), QColor(0, 255, 0));
    for (int role : {2, 3, 4, 5}) {
        QVERIFY(!series(weight, role)->isVisible());
        QCOMPARE(series(weight, role)->count(), 0);
    }
    QVERIFY(!chart->legend()->isVisible());
    QVERIFY(!series(weight, 0)->pointsVisible());

    // Same-day weighings give one point with the greater weight.
    QCOMPARE(axisLabels(weight), strings({"15/06/2020", "01/09/2020", "12/03/2021", "15/06/2022"}));
    QCOMPARE(yValues(weight), QVector<double>({0.45, 4.2, 12.4, 11.8}));
    QCOMPARE(series(weight, 1)->points(), series(weight, 0)->points());
    QCOMPARE(series(weight, 6)->points(), QList<QPointF>({QPointF(0, 0)}));
    QCOMPARE(series(weight, 7)->points(), QList<QPointF>({QPointF(0, 13.4)}));
    QCOMPARE(rangeTop(weight), 13.4);

    MeasureChartView* size = page()->chartView(TCurvePage::Size);
    QCOMPARE(axisLabels(size), strings({"Naissance", "3 mois", "12 mois"}));
    QCOMPARE(rangeTop(size), 53.0);
}

void TestCurvePage::hoveringAPointShowsItsDateAndValue()
{
    seed({QStringLiteral("UPDATE ANIMAL SET WeightMode=1, SizeMode=1")});
    showCurves();
    MeasureChartView* weight = page()->chartView(TCurvePage::Weight);
    emit series(weight, 0)->hovered(QPointF(1.9, 12.3), true);
    QCOMPARE(weight->hoverText(), u("12/03/2021 — 12,400 kg"));
    emit series(weight, 0)->hovered(QPointF(1.9, 12.3), false);
    QCOMPARE(weight->hoverText(), QString());
    QCOMPARE(page()->chartView(TCurvePage::Size)->pointText(0), u("15/06/2020 — 12,00 cm"));
}

void TestCurvePage::curveWindowManagesMeasuresWithItsOwnMode()
{
    seed({QStringLiteral("UPDATE ANIMAL SET WeightMode=1")});
    showCurves();
    bool checked = false;
    auto answer = ModalAnswer::when<TChartValueList>([&checked](TChartValueList* w) {
        QCOMPARE(w->windowTitle(), u("Gestion de la courbe de poids"));
        QCOMPARE(w->mode(), CurveMode::ByDate);
        // Its own mode redraws its chart only.
        w->chooseMode(CurveMode::ByMonths);
        QCOMPARE(axisLabels(w->chartView()), strings({"Naissance", "3 mois", "9 mois", "24 mois"}));

        auto entry = ModalAnswer::when<TEnterWeight>([](TEnterWeight* e) {
            auto* value = e->findChild<QLineEdit*>(QStringLiteral("Ed_Weight"));
            value->setFocus();
            typeOver(value, QStringLiteral("13,05"));
            e->okButton()->click();
        });
        w->findChild<QToolButton*>(QStringLiteral("Btn_Value_Add"))->click();
        QVERIFY(entry.seen());
        QCOMPARE(axisLabels(w->chartView()),
                 strings({"Naissance", "3 mois", "9 mois", "24 mois", "78 mois"}));
        QCOMPARE(yValues(w->chartView()).last(), 13.05);

        // Deleting asks first, then draws again.
        MessageBox::setNextAnswer(MessageBox::Answer::Yes);
        w->findChild<QToolButton*>(QStringLiteral("Btn_Value_Delete"))->click();
        QCOMPARE(MessageBox::shownMessages().last().text,
                 u("Désirez-vous supprimer cette valeur ?"));
        QCOMPARE(w->chartView()->curve().points.size(), 4);

        // A double-click on a row changes that measure and redraws it.
        auto change = ModalAnswer::when<TEnterWeight>([](TEnterWeight* e) {
            auto* value = e->findChild<QLineEdit*>(QStringLiteral("Ed_Weight"));
            value->setFocus();
            typeOver(value, QStringLiteral("4,5"));
            e->okButton()->click();
        });
        auto* grid = w->findChild<QTableView*>(QStringLiteral("Grid_Value"));
        emit grid->doubleClicked(grid->model()->index(0, 0));
        QVERIFY(change.seen());
        QCOMPARE(yValues(w->chartView()).at(1), 4.5);
        checked = true;
        w->findChild<QPushButton*>(QStringLiteral("Btn_Close"))->click();
    });
    page()->findChild<QToolButton*>(QStringLiteral("Btn_Chart_Weight_Edit"))->click();
    QVERIFY(answer.seen());
    QVERIFY(checked);
    // The measure just added was the current one, and went.
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM WEIGHT")).toInt(), 4);
    QCOMPARE(scalar(QStringLiteral("SELECT MAX(Date_Weight) FROM WEIGHT")).toString(),
             QStringLiteral("2022-06-15"));
    // The page keeps the stored mode.
    QCOMPARE(page()->chartMode(TCurvePage::Weight), CurveMode::ByDate);
    QCOMPARE(axisLabels(page()->chartView(TCurvePage::Weight)),
             strings({"15/06/2020", "01/09/2020", "12/03/2021", "15/06/2022"}));
}

void TestCurvePage::chartIsSavedAsJpegUnderTheProposedName()
{
    seed({QStringLiteral("UPDATE ANIMAL SET WeightMode=1")});
    showCurves();
    const QString target = m_app->documentsFolder() + QStringLiteral("/poids");
    FileDialog::setNextFileName(target);
    page()->findChild<QToolButton*>(QStringLiteral("Btn_Chart_Weight_Save"))->click();
    QCOMPARE(FileDialog::requests().size(), 1);
    const FileDialog::Request asked = FileDialog::requests().first();
    QCOMPARE(asked.title, QStringLiteral("Enregistrer l'image sous ..."));
    QCOMPARE(asked.filter, QStringLiteral("Image Jpeg|*.jpg"));
    QCOMPARE(asked.dir, m_app->startup()->mainForm()->context().dataFolder +
                            u("Evolution_du_poids_(Médor du Val)_09_12_2026.jpg"));
    QCOMPARE(MessageBox::shownMessages().size(), 0);
    QImage picture;
    QVERIFY(readJpegFile(picture, target + QStringLiteral(".jpg")).ok);
    QVERIFY(picture.width() > 100 && picture.height() > 50);

    // A folder that cannot be written is said so, and leaves nothing.
    FileDialog::setNextFileName(m_app->documentsFolder() + QStringLiteral("/none/poids.jpg"));
    page()->findChild<QToolButton*>(QStringLiteral("Btn_Chart_Weight_Save"))->click();
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QVERIFY(!QFile::exists(m_app->documentsFolder() + QStringLiteral("/none/poids.jpg")));
}

void TestCurvePage::installChartReport()
{
    // The chart report's template, as the program folder holds it.
    const QDir reports(qEnvironmentVariable("TAVIRUNE_PROGRAM_DIR") + QStringLiteral("/Reports"));
    for (const QString& name : reports.entryList({QStringLiteral("Stat.*")}, QDir::Files))
        m_app->writeProgramFile(QStringLiteral("Reports/") + name,
                                readBytes(reports.filePath(name)));
}

void TestCurvePage::chartIsPrintedThroughTheChartReport()
{
    seed({QStringLiteral("UPDATE ANIMAL SET WeightMode=1")});
    installChartReport();
    showCurves();
    auto* print = page()->findChild<QToolButton*>(QStringLiteral("Btn_Chart_Weight_Print"));
    QVERIFY(print->isEnabled());
    int pages = 0;
    int pictures = 0;
    QString texts;
    double label = 0;
    auto answer = ModalAnswer::when<TFreeReportPrintViewer>([&](TFreeReportPrintViewer* viewer) {
        pages = viewer->report().pageCount();
        pictures = int(viewer->report().pictures.size());
        texts = viewer->report().pageTexts(0).join(QLatin1Char('|'));
        label = test::smallestPrintedLabel(viewer->report());
    });
    print->click();
    QVERIFY2(answer.seen(), qPrintable(MessageBox::shownMessages().isEmpty()
                                           ? QString()
                                           : MessageBox::shownMessages().first().text));
    QCOMPARE(pages, 1);
    QVERIFY(pictures >= 1);
    QVERIFY2(texts.contains(u("EVOLUTION DU POIDS (MEDOR DU VAL)")), qPrintable(texts));
    // The axis labels read at 8 points or more on paper.
    QVERIFY2(label >= test::kEightPointDigits, qPrintable(QString::number(label)));
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestCurvePage::curveWindowPrintsItsChartLikeThePage()
{
    seed({QStringLiteral("UPDATE ANIMAL SET SizeMode=1")});
    installChartReport();
    showCurves();
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("courbe.pdf"));
    TFreeReportPrintViewer::clearPrintRequests();
    TFreeReportPrintViewer::setTestPrinter(true, pdf);
    TFreeReportPrintViewer::PrintChoice choice;
    choice.accepted = true;
    TFreeReportPrintViewer::setNextPrintChoice(choice);

    bool enabled = false;
    QString texts;
    auto answer = ModalAnswer::when<TChartValueList>([&](TChartValueList* w) {
        auto* print = w->findChild<QToolButton*>(QStringLiteral("Btn_Chart_Print"));
        enabled = print->isEnabled();
        auto preview = ModalAnswer::when<TFreeReportPrintViewer>([&](TFreeReportPrintViewer* v) {
            texts = v->report().pageTexts(0).join(QLatin1Char('|'));
            v->findChild<QPushButton*>(QStringLiteral("Btn_Print"))->click();
        });
        print->click();
        QVERIFY(preview.seen());
    });
    page()->findChild<QToolButton*>(QStringLiteral("Btn_Chart_Size_Edit"))->click();
    QVERIFY(answer.seen());
    QVERIFY(enabled);
    QVERIFY2(texts.contains(u("EVOLUTION DE LA TAILLE (MEDOR DU VAL)")), qPrintable(texts));
    QCOMPARE(TFreeReportPrintViewer::printRequestCount(), 1);
    QVERIFY(QFileInfo(pdf).size() > 0);
    QVERIFY(MessageBox::shownMessages().isEmpty());
    TFreeReportPrintViewer::setTestPrinter(false);
}

void TestCurvePage::pictureForTheBookletsDrawsTheStoredCurve()
{
    Connection& connection = *m_app->startup()->mainForm()->context().connection;
    const QImage picture =
        renderMeasureChart(connection, 1, MeasureKind::Weight, CurveMode::ByDate, QSize(640, 400));
    QCOMPARE(picture.size(), QSize(640, 400));
    // Red curve pixels are there: the curve was drawn, not an empty chart.
    bool red = false;
    for (int y = 0; y < picture.height() && !red; ++y) {
        for (int x = 0; x < picture.width() && !red; ++x) {
            const QColor c = picture.pixelColor(x, y);
            red = c.red() > 200 && c.green() < 60 && c.blue() < 60;
        }
    }
    QVERIFY(red);
}

void TestCurvePage::manyPointsKeepALabelledReadableAxis()
{
    QStringList rows;
    for (int day = 0; day < 2000; ++day)
        rows << QStringLiteral("(1, '%1', %2)")
                    .arg(QDate(2021, 1, 1).addDays(day).toString(Qt::ISODate))
                    .arg(5 + day % 7);
    seed({QStringLiteral("UPDATE ANIMAL SET WeightMode=1"),
          QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight) VALUES ") +
              rows.join(QLatin1Char(','))});
    showCurves();
    MeasureChartView* weight = page()->chartView(TCurvePage::Weight);
    weight->resize(600, 250);
    // Every point is drawn...
    QCOMPARE(series(weight, 0)->count(), 2000 + 2);
    // ...but only some positions carry a label, evenly, the first always.
    const QStringList shown = shownLabels(weight);
    QVERIFY(shown.size() >= 2);
    QVERIFY(shown.size() <= 20);
    QCOMPARE(shown.first(), QStringLiteral("15/06/2020"));
    auto* axis = qobject_cast<QCategoryAxis*>(weight->chart()->axes(Qt::Horizontal).value(0));
    const qreal step = axis->endValue(shown.at(1)) - axis->endValue(shown.at(0));
    for (int i = 1; i < shown.size(); ++i) {
        QCOMPARE(axis->endValue(shown.at(i)) - axis->endValue(shown.at(i - 1)), step);
        QCOMPARE(shown.at(i), axisLabels(weight).at(int(axis->endValue(shown.at(i)))));
    }
    // A wider chart holds more labels.
    weight->resize(1200, 250);
    QVERIFY(shownLabels(weight).size() > shown.size());
}

void TestCurvePage::fewMeasuresKeepEveryLabelAtTheFirstStartSize()
{
    seed({QStringLiteral("UPDATE ANIMAL SET WeightMode=2")});
    // Label widths in a font shipped with the tests, the same everywhere.
    const int id = QFontDatabase::addApplicationFont(qEnvironmentVariable("TAVIRUNE_TEST_DATA") +
                                                     QStringLiteral("/fonts/DejaVuSans.ttf"));
    QVERIFY(id >= 0);
    QFont font(QFontDatabase::applicationFontFamilies(id).value(0));
    font.setPixelSize(13);
    QWidget* main = AppFixture::findWindow("TMainForm");
    main->resize(800, 600);
    showCurves();
    MeasureChartView* weight = page()->chartView(TCurvePage::Weight);
    auto* axis = qobject_cast<QCategoryAxis*>(weight->chart()->axes(Qt::Horizontal).value(0));
    QVERIFY(axis);
    axis->setLabelsFont(font);
    // Coming back to the page draws the curves again, in that font.
    showCurves();
    QCoreApplication::processEvents();
    const QStringList all = axisLabels(weight);
    QCOMPARE(all, strings({"Naissance", "0 ans", "2 ans"}));
    // Three labels side by side take far less than the chart's width...
    const QFontMetrics metrics(font);
    int sideBySide = 0;
    for (const QString& label : all)
        sideBySide += metrics.horizontalAdvance(label) + 16;
    QVERIFY2(sideBySide < weight->chart()->plotArea().width(),
             qPrintable(QString::number(weight->chart()->plotArea().width())));
    // ...so each position keeps its label.
    QCOMPARE(shownLabels(weight), all);

    // The same curve squeezed until its labels would overlap: some go, the
    // first staying; given room again, every one comes back.
    MeasureChartView narrow;
    narrow.showCurve(weight->curve());
    qobject_cast<QCategoryAxis*>(narrow.chart()->axes(Qt::Horizontal).value(0))
        ->setLabelsFont(font);
    narrow.resize(90 + sideBySide / 2, 200);
    narrow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&narrow));
    const QStringList thinned = shownLabels(&narrow);
    QVERIFY2(thinned.size() < all.size(), qPrintable(thinned.join(QLatin1Char(','))));
    QCOMPARE(thinned.value(0), QStringLiteral("Naissance"));
    narrow.resize(90 + 2 * sideBySide, 200);
    QCOMPARE(shownLabels(&narrow), all);
}

void TestCurvePage::aChartNeverGivenACurveIsSetUpWhenShown()
{
    // Without a booklet no curve is ever given: showing the view must still
    // bring its axes and series, and a resize before that must not fail.
    MeasureChartView view;
    view.resize(300, 200);
    QVERIFY(view.chart()->series().isEmpty());
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(view.chart()->series().size() > HighlightSeries);
    QCOMPARE(view.chart()->axes(Qt::Horizontal).size(), 1);
    view.resize(400, 250);
    // A curve given afterwards is drawn into the same series.
    QLineSeries* curve = qobject_cast<QLineSeries*>(view.chart()->series().at(CurveSeries));
    view.showCurve(MeasureCurve());
    QCOMPARE(view.chart()->series().at(CurveSeries), curve);
}

void TestCurvePage::aChartWithoutTypeSaysWhatToDo()
{
    showCurves();
    MeasureChartView* weight = page()->chartView(TCurvePage::Weight);
    MeasureChartView* size = page()->chartView(TCurvePage::Size);
    const QString hint = u("Choisissez le type de courbe dans le menu ▾");
    // Empty as stored, but not silent about it.
    QCOMPARE(series(weight, 0)->count(), 0);
    QCOMPARE(weight->hint(), hint);
    QCOMPARE(size->hint(), hint);
    auto* shown = weight->findChild<QLabel*>(QStringLiteral("Lab_ChartHint"));
    QVERIFY(shown && shown->isVisible());
    QVERIFY(weight->rect().contains(shown->geometry().center()));

    choose(page()->typeMenu(TCurvePage::Weight), QStringLiteral("Dates"));
    QCOMPARE(weight->hint(), QString());
    QVERIFY(!shown->isVisible());
    QCOMPARE(series(weight, 0)->count(), 4);
    QCOMPARE(size->hint(), hint);
}

void TestCurvePage::aSingleWeighingShowsAsAPoint()
{
    // No birth weight: one weighing is all there is.
    seed({QStringLiteral("DELETE FROM WEIGHT"),
          QStringLiteral("UPDATE ANIMAL SET WeightMode=1, BirthDay_Weight=NULL"),
          QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight) VALUES "
                         "(1, '2026-11-02', 3.5)")});
    showCurves();
    MeasureChartView* weight = page()->chartView(TCurvePage::Weight);
    QCOMPARE(yValues(weight), QVector<double>({3.5}));
    QVERIFY(series(weight, 0)->pointsVisible());
    QCOMPARE(axisLabels(weight), strings({"02/11/2026"}));
    QVERIFY(rangeTop(weight) > 3.5);
    QCOMPARE(weight->pointText(0), u("02/11/2026 — 3,500 kg"));

    // A second weighing makes a line again, without dots.
    seed({QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight) VALUES "
                         "(1, '2026-12-01', 4.0)")});
    showCurves();
    weight = page()->chartView(TCurvePage::Weight);
    QCOMPARE(yValues(weight), QVector<double>({3.5, 4.0}));
    QVERIFY(!series(weight, 0)->pointsVisible());
}

QTEST_MAIN(TestCurvePage)
#include "tst_curvepage.moc"
