#include "GridText.h"
#include "TestDatabase.h"
#include "TestText.h"

#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "db/FieldFormat.h"
#include "db/ReminderStore.h"
#include "dialogs/TConsultRepaymentList.h"
#include "dialogs/TPharmacyRepaymentList.h"
#include "dialogs/TRepeatVaccineList.h"

#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

using namespace tav;

namespace {

QStringList captionsOf(const QTableView* grid)
{
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << grid->model()->headerData(c, Qt::Horizontal).toString();
    return out;
}

void sendMouse(QWidget* w, QEvent::Type type, QPoint global, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, w->mapFromGlobal(global), w->mapFromGlobal(global), global, button,
                      buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

} // namespace

class TestTableLists : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void actsLeftUnpaidByThePrimaryPayer();
    void medicinesHideTheirAmount();
    void remindersInTheOrderTheyWereGiven();
    void anEmptyTableShowsNoMessage();
    void windowLooksAndClosing();
    void theGripKeepsAWidthOf400OrLess();

private:
    void addAct(qint64 animal, int tag, const char* date, const char* time, double price,
                bool primary, bool complementary, const char* remark);

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DataModule2> m_module;
};

void TestTableLists::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestTableLists::init()
{
    m_db = std::make_unique<TestDatabase>();
    m_module = std::make_unique<DataModule2>(m_db->connection);
    // As the main window sets it: money with its symbol.
    m_module->dataSet(QStringLiteral("ConsultRepaymentQuery"))
        .setDisplayFormat(QStringLiteral("Price"), moneyFormat(u("€")));
    Connection& c = m_db->connection;
    c.exec(QStringLiteral("INSERT INTO LST_DOCTOR (Id, Name, Category) VALUES (1, ?, ?)"),
           {u("Dr Lenoir"), u("Vétérinaire")});
    c.exec(QStringLiteral("INSERT INTO LST_ILLNESS (Id, Title, Gravity) VALUES (1, ?, ?)"),
           {u("Otite"), u("Bénigne")});
    c.exec(QStringLiteral("INSERT INTO LST_PHARMACY (Id, Name, Category) VALUES (1, ?, ?)"),
           {u("Pharmacie du Port"), QString()});
    c.exec(QStringLiteral("INSERT INTO LST_DRUG (Id, Title, Category) VALUES (1, ?, ?)"),
           {u("Otomax"), u("Gouttes")});
    c.exec(QStringLiteral("INSERT INTO LST_VACCINE (Id, Title, Category) VALUES (1, ?, ?), "
                          "(2, ?, ?)"),
           {u("Rage"), u("Chien"), u("CHPPI"), QString()});
}

void TestTableLists::cleanup()
{
    m_module.reset();
    m_db.reset();
}

void TestTableLists::addAct(qint64 animal, int tag, const char* date, const char* time,
                            double price, bool primary, bool complementary, const char* remark)
{
    m_db->connection.exec(
        QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Id_Illness, Id_Drug, "
                       "Date_Action, Time_Action, Price, Repayment, Repayment_Comp, Remark1, "
                       "Gravity) VALUES (?, ?, 1, 1, 1, ?, ?, ?, ?, ?, ?, ?)"),
        {animal, tag, u(date), u(time), price, primary ? 1 : 0, complementary ? 1 : 0, u(remark),
         u("Légère")});
}

void TestTableLists::actsLeftUnpaidByThePrimaryPayer()
{
    addAct(1, 1, "2026-02-01", "10:00", 45.5, false, false, "Nobody paid");
    addAct(1, 1, "2026-01-15", "09:00", 30, false, true, "Complementary only");
    addAct(1, 1, "2026-03-01", "11:00", 60, true, false, "Primary only");
    addAct(1, 2, "2026-03-02", "11:00", 12, false, false, "A medicine");
    addAct(2, 1, "2026-03-03", "11:00", 99, false, false, "Another animal");

    TConsultRepaymentList window(*m_module, 1);
    QCOMPARE(window.objectName(), u("TConsultRepaymentList"));
    QTableView* grid = window.grid();
    QCOMPARE(grid->objectName(), u("Grid_ConsultRepayment"));
    QCOMPARE(captionsOf(grid), strings({"Date", "Heure", "Montant", "Praticien", "Pathologie",
                                        "Gravité", "Objet de la visite", "Remarque du praticien"}));
    QCOMPARE(columnTexts(grid, 6), strings({"Complementary only", "Nobody paid"}));
    QCOMPARE(columnTexts(grid, 0), strings({"15/01/2026", "01/02/2026"}));
    QCOMPARE(columnTexts(grid, 1), strings({"09:00", "10:00"}));
    QCOMPARE(columnTexts(grid, 2), strings({"30,00 €", "45,50 €"}));
    QCOMPARE(columnTexts(grid, 3).at(0), u("Dr Lenoir (Vétérinaire)"));
    QCOMPARE(columnTexts(grid, 4).at(0), u("Otite (Bénigne)"));
    QCOMPARE(columnTexts(grid, 5).at(0), u("Légère"));
}

void TestTableLists::medicinesHideTheirAmount()
{
    addAct(1, 2, "2026-02-01", "10:00", 12, false, false, "Drops");
    addAct(1, 2, "2026-02-02", "10:00", 15, true, false, "Paid back");
    addAct(1, 1, "2026-02-03", "10:00", 45, false, false, "An act");

    TPharmacyRepaymentList window(*m_module, 1);
    QTableView* grid = window.grid();
    QCOMPARE(grid->objectName(), u("Grid_PharmacyRepayment"));
    QCOMPARE(captionsOf(grid),
             strings({"Date", "Heure", "Pharmacie", "Médicament", "Observations"}));
    QCOMPARE(columnTexts(grid, 4), strings({"Drops"}));
    QCOMPARE(columnTexts(grid, 2), strings({"Pharmacie du Port"}));
    QCOMPARE(columnTexts(grid, 3), strings({"Otomax (Gouttes)"}));
}

void TestTableLists::remindersInTheOrderTheyWereGiven()
{
    Connection& c = m_db->connection;
    // Given in this order: the later reminder date comes first.
    c.exec(QStringLiteral(
        "INSERT INTO VACCINE (Id_Ref, Id_Org, Id_Vaccine, Date_Vaccine, Time_Vaccine, "
        "Repeat_Date) VALUES (1, 1, 1, '2025-04-01', '09:00', '2026-04-01'), "
        "(1, NULL, 2, '2025-04-01', '08:00', '2026-01-01'), "
        "(1, 1, 1, '2024-04-01', '08:00', '2025-04-01'), "
        "(2, 1, 1, '2025-01-01', '08:00', '2026-01-01')"));
    ReminderStore(c).refreshVaccineReminders(1);

    TRepeatVaccineList window(*m_module, 1);
    QTableView* grid = window.grid();
    QCOMPARE(grid->objectName(), u("Grid_RepeatVaccine"));
    QCOMPARE(captionsOf(grid), strings({"Date de rappel", "Vaccin", "Dernière vaccination"}));
    QCOMPARE(columnTexts(grid, 0), strings({"01/01/2026", "01/04/2026"}));
    QCOMPARE(columnTexts(grid, 1), strings({"CHPPI", "Rage (Chien)"}));
    QCOMPARE(columnTexts(grid, 2),
             strings({"01/04/2025 - ", "01/04/2025 - Dr Lenoir (Vétérinaire)"}));
}

void TestTableLists::anEmptyTableShowsNoMessage()
{
    TRepeatVaccineList window(*m_module, 1);
    QCOMPARE(window.grid()->model()->rowCount(), 0);
    QCOMPARE(window.grid()->model()->columnCount(), 3);
}

void TestTableLists::windowLooksAndClosing()
{
    addAct(1, 1, "2026-02-01", "10:00", 45.5, false, false, "Visit");
    DataSet& query = m_module->dataSet(QStringLiteral("ConsultRepaymentQuery"));
    auto* window = new TConsultRepaymentList(*m_module, 1);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QDialog> guard(window);
    QCOMPARE(window->windowTitle(), u("Liste des actes non remboursés"));
    // Wide enough for every column, within the screen; the design's height.
    const int screenWidth = window->screen()->availableGeometry().width();
    QVERIFY2(window->width() >= 575 && window->width() <= screenWidth,
             qPrintable(QString::number(window->width())));
    QCOMPARE(window->height(), 296);
    QTableView* grid = window->grid();
    QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(grid->showGrid());
    // Only the shown columns appear, in the width the design gives them.
    QVERIFY(grid->columnWidth(3) > grid->columnWidth(0));
    QVERIFY(query.isOpen());
    window->show();
    auto* close = window->findChild<QPushButton*>(QStringLiteral("Btn_Close"));
    QCOMPARE(close->text(), u(" &Fermer"));
    QCOMPARE(close->size(), QSize(81, 24));
    QCOMPARE(close->mapTo(window, QPoint(81, 24)), QPoint(window->width(), 296));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    int columns = 0;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        columns += grid->isColumnHidden(c) ? 0 : grid->columnWidth(c);
    QVERIFY2(columns <= grid->viewport()->width(),
             qPrintable(QStringLiteral("%1 > %2").arg(columns).arg(grid->viewport()->width())));
    QVERIFY(!grid->horizontalScrollBar()->isVisible());
    close->click();
    QTRY_VERIFY(guard.isNull());
    QVERIFY(!query.isOpen());

    TPharmacyRepaymentList pharmacy(*m_module, 1);
    QCOMPARE(pharmacy.windowTitle(), u("Liste des médicaments non remboursées"));
    TRepeatVaccineList vaccines(*m_module, 1);
    QCOMPARE(vaccines.windowTitle(), u("Liste des rappels de vaccination"));
}

void TestTableLists::theGripKeepsAWidthOf400OrLess()
{
    TRepeatVaccineList window(*m_module, 1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* grip = window.findChild<QLabel*>(QStringLiteral("RezisePad"));
    QVERIFY(grip);
    QVERIFY(grip->mapTo(&window, QPoint(0, 0)).x() < 4);
    // The window opens wide enough for its columns: the drags count from
    // that width.
    const int opened = window.width();
    QCOMPARE(window.height(), 296);
    const QPoint press = grip->mapToGlobal(QPoint(4, 4));
    sendMouse(grip, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    sendMouse(grip, QEvent::MouseMove, press + QPoint(-100, 50), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(window.size(), QSize(opened - 100, 346));
    sendMouse(grip, QEvent::MouseMove, press + QPoint(400 - opened, 10), Qt::NoButton,
              Qt::LeftButton);
    QCOMPARE(window.size(), QSize(opened - 100, 306));
    sendMouse(grip, QEvent::MouseMove, press + QPoint(401 - opened, -96), Qt::NoButton,
              Qt::LeftButton);
    QCOMPARE(window.size(), QSize(401, 306));
    sendMouse(grip, QEvent::MouseButtonRelease, press, Qt::LeftButton, Qt::NoButton);
}

QTEST_MAIN(TestTableLists)
#include "tst_tablelists.moc"
