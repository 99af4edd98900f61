#include "AppFixture.h"
#include "ModalAnswer.h"
#include "PrintedChartText.h"
#include "TestInput.h"
#include "TestText.h"

#include "booklet/AnimalList.h"
#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "booklet/pages/AnalysisGridModel.h"
#include "booklet/pages/TAnalysisPage.h"
#include "core/Clock.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "dialogs/TAnalysisList.h"
#include "dialogs/TEnterAnalysisValue.h"
#include "dialogs/TEnterAnimalAnalysis.h"
#include "dialogs/TFreeReportPrintViewer.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QAbstractButton>
#include <QAction>
#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QDir>
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

QList<QPointF> pointsOf(const QChart* chart, int series)
{
    return static_cast<QLineSeries*>(chart->series().at(series))->points();
}

QStringList axisLabels(const QChart* chart)
{
    return static_cast<QCategoryAxis*>(chart->axes(Qt::Horizontal).first())->categoriesLabels();
}

QPair<double, double> verticalRange(const QChart* chart)
{
    const auto* axis = static_cast<QValueAxis*>(chart->axes(Qt::Vertical).first());
    return {axis->min(), axis->max()};
}

} // namespace

class TestAnalysisPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void withoutAnalysesOnlyChoosingAndAddingRemain();
    void followingCreatinineOverTwoYears();
    void oneValueDrawsWithItsRangeAroundIt();
    void removingTheOnlyAnalysisLeavesNoOrphanValues();
    void thousandsOfValuesKeepTheAxisReadable();
    void anotherAnimalShowsItsOwnFirstAnalysis();
    void chartIsSavedAsJpeg();
    void catalogueOpensFromTheListMenu();
    void chosenAxisIsStoredWhileTheCardIsBeingTyped();
    void eachAnimalShowsItsOwnAxisOrTheHint();
    void symbolButtonsDrawTheirOwnIcons();
    void printedChartReadsOnPaper();

private:
    void seed(const QStringList& statements);
    void showPage();
    void showAnimal(const QString& name);
    TAnalysisPage* page() const;
    TMainForm* form() const { return m_app->startup()->mainForm(); }
    QToolButton* button(const char* name) const
    {
        return m_app->component<QToolButton>(QString::fromLatin1(name));
    }
    QString nameField() const
    {
        return m_app->component<QLineEdit>(QStringLiteral("Ed_Analysis"))->text();
    }
    int count(const QString& sql) const
    {
        return form()->context().connection->scalar(sql).toInt();
    }
    void addValue(const QString& date, const QString& value);
    QString hintShown() const;

    std::unique_ptr<AppFixture> m_app;
    std::unique_ptr<Clock::Fixed> m_clock;
};

void TestAnalysisPage::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestAnalysisPage::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    FileDialog::clearRequests();
    FileDialog::clearNextFileNames();
    m_clock = std::make_unique<Clock::Fixed>(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    QVERIFY(m_app->start());
}

void TestAnalysisPage::cleanup()
{
    m_app.reset();
    m_clock.reset();
}

void TestAnalysisPage::seed(const QStringList& statements)
{
    // The template's own catalogue would hide which rows a test made.
    QStringList all;
    for (const char* table : {"ANALYSIS", "L_ANALYSIS", "LST_ANALYSIS"})
        all << QStringLiteral("DELETE FROM ") + QLatin1String(table);
    QVERIFY(m_app->restartWith(all + statements));
}

void TestAnalysisPage::showPage()
{
    m_app->component<QTabBar>(QStringLiteral("TabNoteBook"))->setCurrentIndex(5);
}

void TestAnalysisPage::showAnimal(const QString& name)
{
    const QStringList rows = form()->animalRows();
    for (int i = 0; i < rows.size(); ++i)
        if (AnimalRow::keyOfRowString(rows.at(i)) > 0 &&
            AnimalRow::fieldOfRowString(rows.at(i), 1) == name)
            form()->selectRow(i);
}

TAnalysisPage* TestAnalysisPage::page() const
{
    return qobject_cast<TAnalysisPage*>(form()->pages().at(5));
}

void TestAnalysisPage::addValue(const QString& date, const QString& value)
{
    const auto answer = ModalAnswer::when<TEnterAnalysisValue>([&](TEnterAnalysisValue* w) {
        auto* dateEdit = w->findChild<QLineEdit*>(QStringLiteral("Ed_Date"));
        // A new value starts today, at 0, with the analysis's range.
        QCOMPARE(dateEdit->text(), QStringLiteral("09/12/2026"));
        QVERIFY(w->okButton()->isEnabled());
        typeOver(dateEdit, QString(date).remove(QLatin1Char('/')));
        typeOver(w->findChild<QLineEdit*>(QStringLiteral("Ed_Value")), value);
        w->okButton()->click();
    });
    button("Btn_AnalysisValue_Add")->click();
    QVERIFY(answer.seen());
}

QString TestAnalysisPage::hintShown() const
{
    auto* view = m_app->component<QWidget>(QStringLiteral("Chart_Analysis"));
    auto* hint = view->findChild<QLabel*>(QStringLiteral("Lab_ChartHint"));
    if (!hint || !hint->isVisible())
        return QString();
    // Centred over the whole chart, whatever its size.
    if (hint->geometry() != view->rect() || !(hint->alignment() & Qt::AlignCenter))
        return QStringLiteral("(not over the chart)");
    return hint->text();
}

void TestAnalysisPage::withoutAnalysesOnlyChoosingAndAddingRemain()
{
    seed({u("INSERT INTO ANIMAL (Name) VALUES ('Minou')"),
          u("INSERT INTO LST_ANALYSIS (Title) VALUES ('Urée')")});
    showPage();
    QCOMPARE(nameField(), u("Pas d'analyses"));
    QCOMPARE(page()->currentAnalysisId(), -1);
    QVERIFY(button("Btn_Analysis_Add")->isEnabled());
    QVERIFY(button("Btn_Analysis")->isEnabled());
    for (const char* off : {"Btn_Analysis_Edit", "Btn_Analysis_Delete", "Btn_AnalysisValue_Add",
                            "Btn_AnalysisValue_Edit", "Btn_AnalysisValue_Delete"})
        QVERIFY2(!button(off)->isEnabled(), off);
    // The empty chart: nothing drawn, a range of 0 to 1.
    QVERIFY(pointsOf(page()->chart(), 0).isEmpty());
    QCOMPARE(pointsOf(page()->chart(), 6), (QList<QPointF>{{0, 0}, {1, 0}}));
    QCOMPARE(verticalRange(page()->chart()), (QPair<double, double>(0, 1)));

    // Once the only definition is followed, adding only says so.
    form()->context().connection->exec(u("INSERT INTO L_ANALYSIS (Id_File, Id_Ref, Id_Analysis) "
                                         "SELECT -1, (SELECT Id FROM ANIMAL), Id FROM "
                                         "LST_ANALYSIS"));
    page()->refresh();
    QCOMPARE(nameField(), u("Urée"));
    button("Btn_Analysis_Add")->click();
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().at(0).kind, MessageBox::Kind::Information);
    QCOMPARE(MessageBox::shownMessages().at(0).text,
             u("Vous avez déjà sélectionné toutes les analyses disponibles."));
}

void TestAnalysisPage::followingCreatinineOverTwoYears()
{
    seed({u("INSERT INTO ANIMAL (Name) VALUES ('Minou')"),
          u("INSERT INTO LST_ANALYSIS (Title, Unit, Decimal, Value_Min, Value_Max) VALUES "
            "('Créatinine', 'mg/l', 1, 5, 18)")});
    showPage();
    const auto attach = ModalAnswer::when<TEnterAnimalAnalysis>([](TEnterAnimalAnalysis* w) {
        w->findChild<QToolButton*>(QStringLiteral("Btn_Title"))->click();
        QVERIFY(chooseLine(u("Créatinine")));
        w->okButton()->click();
    });
    button("Btn_Analysis_Add")->click();
    QVERIFY(attach.seen());
    QCOMPARE(nameField(), u("Créatinine"));
    QVERIFY(page()->currentAnalysisId() > 0);
    QCOMPARE(page()->chartTitle(), u("Evolution des analyses : Créatinine"));

    addValue(QStringLiteral("01/03/2021"), QStringLiteral("12"));
    addValue(QStringLiteral("01/09/2021"), QStringLiteral("21,5"));
    addValue(QStringLiteral("01/02/2022"), QStringLiteral("4"));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ANALYSIS WHERE Value_Min=5 AND "
                                  "Value_Max=18")),
             3);

    auto* grid = m_app->component<QTableView>(QStringLiteral("Grid_Analysis"));
    QAbstractItemModel* model = grid->model();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("12,0 mg/l"));
    QCOMPARE(model->index(0, 2).data().toString(), QStringLiteral("5,0 mg/l"));
    QCOMPARE(model->index(1, 1).data().toString(), u("21,5 mg/l ↑"));
    QCOMPARE(model->index(1, 1).data(Qt::ForegroundRole).value<QColor>(),
             AnalysisGridModel::aboveColour());
    QCOMPARE(model->index(2, 1).data().toString(), u("4,0 mg/l ↓"));
    QCOMPARE(model->index(2, 1).data(Qt::ForegroundRole).value<QColor>(),
             AnalysisGridModel::belowColour());
    QVERIFY(!model->index(0, 1).data(Qt::ForegroundRole).isValid());

    // No axis chosen yet for this animal: nothing drawn, the chart says
    // where to choose one.
    QChart* chart = page()->chart();
    QCOMPARE(page()->chartMode(), 0);
    QVERIFY(pointsOf(chart, 0).isEmpty());
    QCOMPARE(hintShown(), u("Choisissez le type de courbe dans le menu ▾"));

    // By years: 2021 keeps its greater value.
    page()
        ->typeMenu()
        ->findChild<QAction*>(QStringLiteral("Popup_Chart_Analysis_Annees"))
        ->trigger();
    QCOMPARE(page()->chartMode(), 2);
    QVERIFY(hintShown().isEmpty());
    QCOMPARE(chart->series().size(), 9);
    QCOMPARE(chart->series().at(6)->name(), QStringLiteral("Limit_min"));
    QCOMPARE(chart->series().at(7)->name(), QStringLiteral("Limit_max"));
    QVERIFY(!chart->series().at(2)->isVisible());
    QVERIFY(!chart->series().at(4)->isVisible());
    QCOMPARE(axisLabels(chart), strings({"2021", "2022"}));
    QCOMPARE(pointsOf(chart, 0), (QList<QPointF>{{0, 21.5}, {1, 4}}));
    QCOMPARE(pointsOf(chart, 1), pointsOf(chart, 0));
    QCOMPARE(pointsOf(chart, 3), (QList<QPointF>{{0, 5}, {1, 5}}));
    QCOMPARE(pointsOf(chart, 5), (QList<QPointF>{{0, 18}, {1, 18}}));
    QCOMPARE(verticalRange(chart), (QPair<double, double>(3, 22.5)));
    // The normal range is shaded between the two lines.
    auto* band = qobject_cast<QAreaSeries*>(chart->series().at(8));
    QVERIFY(band);
    QCOMPARE(band->lowerSeries()->points(), pointsOf(chart, 3));
    QCOMPARE(band->upperSeries()->points(), pointsOf(chart, 5));
    // Hovering the 2021 point tells which day gave it.
    emit static_cast<QLineSeries*>(chart->series().at(0))->hovered(QPointF(0.1, 21.4), true);
    QCOMPARE(page()->hoverText(), u("01/09/2021 — 21,5 mg/l"));

    // By dates, chosen from the type menu, and stored with the animal.
    QMenu* menu = page()->typeMenu();
    QCOMPARE(menu->objectName(), QStringLiteral("Popup_Chart_Analysis_Type"));
    QCOMPARE(menu->actions().size(), 2);
    emit menu->aboutToShow();
    QVERIFY(menu->findChild<QAction*>(QStringLiteral("Popup_Chart_Analysis_Annees"))->isChecked());
    menu->findChild<QAction*>(QStringLiteral("Popup_Chart_Analysis_Dates"))->trigger();
    QCOMPARE(page()->chartMode(), 1);
    QCOMPARE(axisLabels(chart), strings({"01/03/2021", "01/09/2021", "01/02/2022"}));
    QCOMPARE(pointsOf(chart, 0).size(), 3);
    QCOMPARE(count(QStringLiteral("SELECT AnalysisMode FROM ANIMAL")), 1);
    emit menu->aboutToShow();
    QVERIFY(menu->findChild<QAction*>(QStringLiteral("Popup_Chart_Analysis_Dates"))->isChecked());

    // Changing a value: the chart follows.
    grid->setCurrentIndex(model->index(2, 0));
    const auto change = ModalAnswer::when<TEnterAnalysisValue>([](TEnterAnalysisValue* w) {
        auto* value = w->findChild<QLineEdit*>(QStringLiteral("Ed_Value"));
        typeOver(value, QStringLiteral("7,25"));
        w->okButton()->click();
        // Two decimals for a one-decimal analysis: refused, then mended.
        typeOver(value, QStringLiteral("7,2"));
        w->okButton()->click();
    });
    button("Btn_AnalysisValue_Edit")->click();
    QVERIFY(change.seen());
    QCOMPARE(pointsOf(chart, 0).last(), QPointF(2, 7.2));
    QCOMPARE(model->index(2, 1).data().toString(), QStringLiteral("7,2 mg/l"));

    // Deleting the first value asks first; the chart follows.
    grid->setCurrentIndex(model->index(0, 0));
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    button("Btn_AnalysisValue_Delete")->click();
    QCOMPARE(MessageBox::shownMessages().last().text,
             u("Confirmez-vous la suppression de cette valeur ?"));
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(axisLabels(chart), strings({"01/09/2021", "01/02/2022"}));

    // Everything is there after a restart, the axis included.
    m_app->stop();
    QVERIFY(m_app->start());
    showPage();
    QCOMPARE(nameField(), u("Créatinine"));
    QCOMPARE(page()->chartMode(), 1);
    QCOMPARE(pointsOf(page()->chart(), 0).size(), 2);
}

void TestAnalysisPage::oneValueDrawsWithItsRangeAroundIt()
{
    seed({u("INSERT INTO ANIMAL (Id, Name, AnalysisMode) VALUES (1, 'Minou', 2)"),
          u("INSERT INTO LST_ANALYSIS (Id, Title) VALUES (10, 'Urée')"),
          u("INSERT INTO L_ANALYSIS (Id, Id_File, Id_Ref, Id_Analysis, Decimal, Unit) VALUES "
            "(100, -1, 1, 10, 2, 'g/l')"),
          u("INSERT INTO ANALYSIS (Id_Ref, Date_Analysis, Value_Analysis, Value_Min, Value_Max) "
            "VALUES (100, '2024-05-06', 0.45, 0.2, 0.6)")});
    showPage();
    QChart* chart = page()->chart();
    QCOMPARE(pointsOf(chart, 0), (QList<QPointF>{{0, 0.45}}));
    QCOMPARE(axisLabels(chart), strings({"2024"}));
    const auto range = verticalRange(chart);
    QCOMPARE(range.first, 0.2 - 1);
    QCOMPARE(range.second, 0.6 + 1);
    QCOMPARE(page()->pointText(0), u("06/05/2024 — 0,45 g/l"));
    QVERIFY(button("Btn_AnalysisValue_Edit")->isEnabled());
    // One value has no line: it shows as a dot, in a band as wide as its place.
    QVERIFY(static_cast<QLineSeries*>(chart->series().at(0))->pointsVisible());
    auto* band = qobject_cast<QAreaSeries*>(chart->series().at(8));
    QVERIFY(band);
    QCOMPARE(band->upperSeries()->points(), (QList<QPointF>{{-0.5, 0.6}, {0.5, 0.6}}));
    QCOMPARE(band->lowerSeries()->points(), (QList<QPointF>{{-0.5, 0.2}, {0.5, 0.2}}));
}

void TestAnalysisPage::removingTheOnlyAnalysisLeavesNoOrphanValues()
{
    seed({u("INSERT INTO ANIMAL (Id, Name) VALUES (1, 'Minou')"),
          u("INSERT INTO LST_ANALYSIS (Id, Title) VALUES (10, 'Urée')"),
          u("INSERT INTO L_ANALYSIS (Id, Id_File, Id_Ref, Id_Analysis) VALUES (100, -1, 1, 10)"),
          u("INSERT INTO ANALYSIS (Id_Ref, Date_Analysis, Value_Analysis) VALUES "
            "(100, '2024-05-06', 1), (100, '2024-06-06', 2)")});
    showPage();
    QCOMPARE(nameField(), u("Urée"));
    MessageBox::setNextAnswer(MessageBox::Answer::No);
    button("Btn_Analysis_Delete")->click();
    QCOMPARE(MessageBox::shownMessages().at(0).text, u("Souhaitez-vous retirer cette analyses ?"));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ANALYSIS")), 2);

    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    button("Btn_Analysis_Delete")->click();
    QCOMPARE(nameField(), u("Pas d'analyses"));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM L_ANALYSIS")), 0);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ANALYSIS")), 0);
    QCOMPARE(m_app->component<QTableView>(QStringLiteral("Grid_Analysis"))->model()->rowCount(), 0);
    QVERIFY(pointsOf(page()->chart(), 0).isEmpty());
    QVERIFY(!button("Btn_AnalysisValue_Add")->isEnabled());
}

void TestAnalysisPage::thousandsOfValuesKeepTheAxisReadable()
{
    seed({u("INSERT INTO ANIMAL (Id, Name) VALUES (1, 'Minou')"),
          u("INSERT INTO LST_ANALYSIS (Id, Title) VALUES (10, 'Glucose')"),
          u("INSERT INTO L_ANALYSIS (Id, Id_File, Id_Ref, Id_Analysis) VALUES (100, -1, 1, 10)"),
          u("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 2999) "
            "INSERT INTO ANALYSIS (Id_Ref, Date_Analysis, Value_Analysis) "
            "SELECT 100, date('2010-01-01', '+' || i || ' days'), i % 7 FROM n")});
    showPage();
    QChart* chart = page()->chart();
    emit page()->typeMenu()->aboutToShow();
    page()
        ->typeMenu()
        ->findChild<QAction*>(QStringLiteral("Popup_Chart_Analysis_Dates"))
        ->trigger();
    QCOMPARE(pointsOf(chart, 0).size(), 3000);
    const QStringList labels = axisLabels(chart);
    QVERIFY2(labels.size() <= 12, qPrintable(QString::number(labels.size())));
    QCOMPARE(labels.first(), QStringLiteral("01/01/2010"));
}

void TestAnalysisPage::anotherAnimalShowsItsOwnFirstAnalysis()
{
    seed({u("INSERT INTO ANIMAL (Id, Name) VALUES (1, 'Minou'), (2, 'Rex')"),
          u("INSERT INTO LST_ANALYSIS (Id, Title) VALUES (10, 'Urée'), (11, 'Albumine'), "
            "(12, 'Créatinine')"),
          u("INSERT INTO L_ANALYSIS (Id, Id_File, Id_Ref, Id_Analysis) VALUES (100, -1, 1, 10), "
            "(101, -1, 1, 12), (102, -1, 2, 11)")});
    showAnimal(QStringLiteral("Minou"));
    showPage();
    QCOMPARE(nameField(), u("Créatinine"));
    // The pick list offers the animal's analyses by title.
    QStringList offered;
    button("Btn_Analysis")->click();
    QVERIFY(chooseLine(u("Urée"), &offered));
    QCOMPARE(offered, strings({"Créatinine", "Urée"}));
    QCOMPARE(nameField(), u("Urée"));
    QCOMPARE(page()->currentAnalysisId(), 100);

    showAnimal(QStringLiteral("Rex"));
    QCOMPARE(nameField(), QStringLiteral("Albumine"));
    QCOMPARE(page()->currentAnalysisId(), 102);
    showAnimal(QStringLiteral("Minou"));
    QCOMPARE(nameField(), u("Créatinine"));
}

void TestAnalysisPage::chartIsSavedAsJpeg()
{
    seed({u("INSERT INTO ANIMAL (Id, Name, ForeName) VALUES (1, 'Minou', 'Chat')"),
          u("INSERT INTO LST_ANALYSIS (Id, Title) VALUES (10, 'Urée')"),
          u("INSERT INTO L_ANALYSIS (Id, Id_File, Id_Ref, Id_Analysis) VALUES (100, -1, 1, 10)"),
          u("INSERT INTO ANALYSIS (Id_Ref, Date_Analysis, Value_Analysis) VALUES "
            "(100, '2024-05-06', 1), (100, '2025-06-06', 2)")});
    showPage();
    QTemporaryDir out;
    const QString path = out.filePath(QStringLiteral("courbe.jpg"));
    FileDialog::setNextFileName(path);
    button("Btn_Chart_Chart_Analysis_Save")->click();
    QCOMPARE(FileDialog::requests().size(), 1);
    QVERIFY2(FileDialog::requests().at(0).dir.endsWith(
                 u("Evolution_des_analyses___Urée_(Minou Chat)_09_12_2026.jpg")),
             qPrintable(FileDialog::requests().at(0).dir));
    QImage saved(path);
    QVERIFY(!saved.isNull());
    QVERIFY(saved.width() > 100);
}

void TestAnalysisPage::catalogueOpensFromTheListMenu()
{
    seed({u("INSERT INTO ANIMAL (Id, Name) VALUES (1, 'Minou')"),
          u("INSERT INTO LST_ANALYSIS (Id, Title) VALUES (10, 'Urée')"),
          u("INSERT INTO L_ANALYSIS (Id, Id_File, Id_Ref, Id_Analysis) VALUES (100, -1, 1, 10)")});
    showPage();
    QCOMPARE(nameField(), u("Urée"));
    auto* item = form()->findChild<QAction*>(QStringLiteral("Item_Analyses"));
    QVERIFY(item->isEnabled());
    const auto answer = ModalAnswer::when<TAnalysisList>([](TAnalysisList* list) {
        MessageBox::setNextAnswer(MessageBox::Answer::Yes);
        list->findChild<QPushButton*>(QStringLiteral("Btn_Delete"))->click();
        list->findChild<QPushButton*>(QStringLiteral("Btn_Close"))->click();
    });
    item->trigger();
    QVERIFY(answer.seen());
    // The page reads itself again once the catalogue closes.
    QCOMPARE(nameField(), u("Pas d'analyses"));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM L_ANALYSIS")), 0);
}

void TestAnalysisPage::chosenAxisIsStoredWhileTheCardIsBeingTyped()
{
    seed({QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Rex')")});
    // The card is being typed when the axis is chosen.
    auto* tabs = m_app->component<QTabBar>(QStringLiteral("TabNoteBook"));
    tabs->setCurrentIndex(0);
    auto* name = m_app->component<QLineEdit>(QStringLiteral("Ed_Name"));
    name->setFocus();
    typeOver(name, QStringLiteral("Rexou"));
    DataSet& animal = form()->context().module1->animal();
    QVERIFY(animal.isEditing());
    showPage();
    page()
        ->typeMenu()
        ->findChild<QAction*>(QStringLiteral("Popup_Chart_Analysis_Dates"))
        ->trigger();
    QCOMPARE(page()->chartMode(), 1);
    // Stored at once, as the weight and size menus store theirs, with what
    // the card held.
    QVERIFY(!animal.isEditing());
    QCOMPARE(count(QStringLiteral("SELECT AnalysisMode FROM ANIMAL")), 1);
    QCOMPARE(form()->context().connection->scalar(QStringLiteral("SELECT Name FROM ANIMAL")),
             QVariant(QStringLiteral("Rexou")));
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestAnalysisPage::eachAnimalShowsItsOwnAxisOrTheHint()
{
    seed({u("INSERT INTO ANIMAL (Id, Name, AnalysisMode) VALUES (1, 'Minou', 1), (2, 'Rex', 0), "
            "(3, 'Titi', NULL)"),
          u("INSERT INTO LST_ANALYSIS (Id, Title) VALUES (10, 'Urée')"),
          u("INSERT INTO L_ANALYSIS (Id, Id_File, Id_Ref, Id_Analysis) VALUES (100, -1, 1, 10), "
            "(101, -1, 2, 10), (102, -1, 3, 10)"),
          u("INSERT INTO ANALYSIS (Id_Ref, Date_Analysis, Value_Analysis) VALUES "
            "(100, '2024-05-06', 1), (100, '2025-06-06', 2), (101, '2024-05-06', 3), "
            "(101, '2025-06-06', 4)")});
    showAnimal(QStringLiteral("Minou"));
    showPage();
    QCOMPARE(page()->chartMode(), 1);
    QCOMPARE(pointsOf(page()->chart(), 0).size(), 2);
    QVERIFY(hintShown().isEmpty());

    // Rex never had an axis chosen: Minou's is not his.
    showAnimal(QStringLiteral("Rex"));
    QCOMPARE(page()->chartMode(), 0);
    QVERIFY(pointsOf(page()->chart(), 0).isEmpty());
    QCOMPARE(hintShown(), u("Choisissez le type de courbe dans le menu ▾"));
    // The hint follows the chart when the window changes size.
    form()->resize(form()->size() + QSize(120, 80));
    QCoreApplication::processEvents();
    QCOMPARE(hintShown(), u("Choisissez le type de courbe dans le menu ▾"));

    // No values: nothing to choose an axis for yet.
    showAnimal(QStringLiteral("Titi"));
    QVERIFY(hintShown().isEmpty());

    showAnimal(QStringLiteral("Rex"));
    page()
        ->typeMenu()
        ->findChild<QAction*>(QStringLiteral("Popup_Chart_Analysis_Dates"))
        ->trigger();
    QVERIFY(hintShown().isEmpty());
    QCOMPARE(pointsOf(page()->chart(), 0), (QList<QPointF>{{0, 3}, {1, 4}}));
}

void TestAnalysisPage::symbolButtonsDrawTheirOwnIcons()
{
    showPage();
    // Characters many fonts lack show as empty boxes: no button relies on
    // one, on any page of the main window.
    const QString fontDependent = QString::fromUtf8("▾⎙✓☰✉🖨");
    for (QAbstractButton* b : form()->findChildren<QAbstractButton*>()) {
        for (const QChar c : b->text())
            QVERIFY2(!fontDependent.contains(c), qPrintable(b->objectName() + u(": ") + b->text()));
    }
    for (const char* name : {"Btn_Chart_Chart_Analysis_Print", "Btn_Chart_Analysis_Type",
                             "Btn_Analysis", "Btn_Chart_Weight_Type", "Btn_Main_Record"}) {
        QAbstractButton* b = form()->findChild<QAbstractButton*>(QString::fromLatin1(name));
        QVERIFY2(b, name);
        QVERIFY2(!b->icon().isNull(), name);
        QVERIFY2(!b->toolTip().isEmpty(), name);
    }
}

void TestAnalysisPage::printedChartReadsOnPaper()
{
    seed({u("INSERT INTO ANIMAL (Id, Name, AnalysisMode) VALUES (1, 'Minou', 1)"),
          u("INSERT INTO LST_ANALYSIS (Id, Title) VALUES (10, 'Urée')"),
          u("INSERT INTO L_ANALYSIS (Id, Id_File, Id_Ref, Id_Analysis) VALUES (100, -1, 1, 10)"),
          u("INSERT INTO ANALYSIS (Id_Ref, Date_Analysis, Value_Analysis) VALUES "
            "(100, '2024-05-06', 1), (100, '2025-06-06', 2), (100, '2026-02-01', 1.5)")});
    // The chart report's template, as the program folder holds it.
    const QDir reports(qEnvironmentVariable("TAVIRUNE_PROGRAM_DIR") + QStringLiteral("/Reports"));
    for (const QString& name : reports.entryList({QStringLiteral("Stat.*")}, QDir::Files))
        m_app->writeProgramFile(QStringLiteral("Reports/") + name,
                                readBytes(reports.filePath(name)));
    showPage();
    PreparedReport report;
    const auto preview =
        ModalAnswer::when<TFreeReportPrintViewer>([&](TFreeReportPrintViewer* viewer) {
            report = viewer->report();
            viewer->reject();
        });
    button("Btn_Chart_Chart_Analysis_Print")->click();
    QVERIFY2(preview.seen(), qPrintable(MessageBox::shownMessages().isEmpty()
                                            ? QString()
                                            : MessageBox::shownMessages().first().text));
    QCOMPARE(report.pictures.size(), 1);
    // The dates under the axis read at 8 points or more on paper.
    const double label = test::smallestPrintedLabel(report);
    QVERIFY2(label >= test::kEightPointDigits, qPrintable(QString::number(label)));
}

QTEST_MAIN(TestAnalysisPage)
#include "tst_analysispage.moc"
