#include "AppFixture.h"

#include "booklet/AnimalList.h"
#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "booklet/pages/BookletPage.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "startup/Startup.h"
#include "ui/MessageBox.h"

#include <QLineEdit>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

using namespace tav;

// The main window drives its pages only through their protocol: these
// tests go through the real window's tabs, list and buttons and look at
// what each page then holds and enables.
class TestPageProtocol : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void leavingAPageGivesBackItsRows();
    void pageCommandsFollowTheCurrentAnimal();
    void withoutAnimalNoPageOffersItsCommands();

private:
    void seed(const QStringList& statements);
    void showTab(int index);
    void showAnimal(const QString& name);
    TMainForm* form() const { return m_app->startup()->mainForm(); }
    DataSet& dataSet(const char* name) const
    {
        return form()->context().module1->dataSet(QString::fromLatin1(name));
    }
    QToolButton* button(const char* name) const
    {
        return m_app->component<QToolButton>(QString::fromLatin1(name));
    }
    std::unique_ptr<AppFixture> m_app;
};

void TestPageProtocol::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    QVERIFY(m_app->start());
    seed({QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Médor'), ('Minou')"),
          QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Date_Action, Price, "
                         "Repayment, Repayment_Comp, Price_Repayment, Price_Repayment_Comp) "
                         "VALUES (1, 1, 1, '2026-01-01', 10, 0, 0, 0, 0), "
                         "(1, 2, 1, '2026-01-02', 8, 0, 0, 0, 0)"),
          QStringLiteral("INSERT INTO VACCINE (Id_Ref, Date_Vaccine, Repeat_Date) VALUES "
                         "(1, '2025-11-01', '2026-11-01')"),
          QStringLiteral("INSERT INTO EVENT (Id_Ref, Date_Event, Description) VALUES "
                         "(1, '2026-02-01', 'Vermifuge')")});
}

void TestPageProtocol::cleanup()
{
    m_app.reset();
    MessageBox::clearShownMessages();
}

void TestPageProtocol::seed(const QStringList& statements)
{
    m_app->stop();
    {
        Connection c;
        c.open(m_app->dataFolder() + QStringLiteral("Data/Access/TAVIRUNE.MDB"));
        for (const QString& s : statements)
            c.exec(s);
    }
    QVERIFY(m_app->start());
}

void TestPageProtocol::showTab(int index)
{
    m_app->component<QTabBar>(QStringLiteral("TabNoteBook"))->setCurrentIndex(index);
}

void TestPageProtocol::showAnimal(const QString& name)
{
    const QStringList rows = form()->animalRows();
    for (int i = 0; i < rows.size(); ++i) {
        if (AnimalRow::keyOfRowString(rows.at(i)) > 0 &&
            AnimalRow::fieldOfRowString(rows.at(i), 1) == name)
            form()->selectRow(i);
    }
    QCOMPARE(form()->context().module1->animal().asString(QStringLiteral("Name")), name);
}

void TestPageProtocol::leavingAPageGivesBackItsRows()
{
    showAnimal(QStringLiteral("Médor"));
    const std::pair<int, const char*> pages[] = {
        {3, "ConsultQuery"}, {4, "PharmacyQuery"}, {6, "VaccineQuery"}, {8, "Event"}};
    for (const auto& [tab, query] : pages) {
        showTab(tab);
        QVERIFY2(dataSet(query).isOpen(), query);
        QCOMPARE(dataSet(query).recordCount(), 1);
        // Left for the card, the page's rows are closed; the card's animal
        // stays.
        showTab(0);
        QVERIFY2(!dataSet(query).isOpen(), query);
        QVERIFY(form()->context().module1->animal().isOpen());
    }
    // Shown again, the page reads its rows again and its grid shows them.
    showTab(3);
    QVERIFY(dataSet("ConsultQuery").isOpen());
    QCOMPARE(m_app->component<QTableView>(QStringLiteral("Grid_Consult"))->model()->rowCount(), 1);
    // Moving straight from one list page to another releases the first.
    showTab(8);
    QVERIFY(!dataSet("ConsultQuery").isOpen());
    QVERIFY(dataSet("Event").isOpen());
}

void TestPageProtocol::pageCommandsFollowTheCurrentAnimal()
{
    showAnimal(QStringLiteral("Médor"));
    showTab(3);
    for (const char* name : {"Btn_Consult_Add", "Btn_Consult_Edit", "Btn_Consult_Delete"})
        QVERIFY2(button(name)->isEnabled(), name);
    // The act waits for both reimbursements.
    QVERIFY(button("Btn_Consult_Pin")->isEnabled());

    // Another animal, with no act: only adding remains, on this page.
    showAnimal(QStringLiteral("Minou"));
    QVERIFY(button("Btn_Consult_Add")->isEnabled());
    for (const char* name : {"Btn_Consult_Edit", "Btn_Consult_Delete", "Btn_Consult_Pin"})
        QVERIFY2(!button(name)->isEnabled(), name);

    // The other list pages, shown after the change, judge by their own rows.
    showTab(8);
    QVERIFY(button("Btn_Event_Add")->isEnabled());
    QVERIFY(!button("Btn_Event_Edit")->isEnabled());
    showTab(6);
    QVERIFY(!button("Btn_Vaccine_Delete")->isEnabled());
    showAnimal(QStringLiteral("Médor"));
    QVERIFY(button("Btn_Vaccine_Delete")->isEnabled());
    showTab(4);
    QVERIFY(button("Btn_Pharmacy_Edit")->isEnabled());
    QVERIFY(button("Btn_Pharmacy_Pin")->isEnabled());
}

void TestPageProtocol::withoutAnimalNoPageOffersItsCommands()
{
    showTab(3);
    for (int i = 0; i < 2; ++i) {
        MessageBox::setNextAnswer(MessageBox::Answer::Yes);
        button("Btn_Main_Delete")->click();
    }
    QVERIFY(form()->animalRows().isEmpty());
    // Every page is told, the shown one and the hidden ones alike.
    for (const char* name :
         {"Btn_Consult_Add", "Btn_Consult_Edit", "Btn_Consult_Pin", "Btn_Pharmacy_Add",
          "Btn_Vaccine_Add", "Btn_Event_Add", "Btn_Chart_Weight_Edit", "Btn_Chart_Size_Type",
          "Btn_Table", "Btn_Html", "Btn_Imprimer", "Btn_Main_Delete"})
        QVERIFY2(!button(name)->isEnabled(), name);
    QVERIFY(!m_app->component<QLineEdit>(QStringLiteral("Ed_Name"))->isEnabled());

    // A new booklet brings the commands back, on the card it opens.
    button("Btn_Main_Add")->click();
    QCOMPARE(m_app->component<QTabBar>(QStringLiteral("TabNoteBook"))->currentIndex(), 0);
    QVERIFY(m_app->component<QLineEdit>(QStringLiteral("Ed_Name"))->isEnabled());
    for (const char* name : {"Btn_Consult_Add", "Btn_Event_Add", "Btn_Chart_Weight_Edit"})
        QVERIFY2(button(name)->isEnabled(), name);
    for (const char* name : {"Btn_Consult_Edit", "Btn_Event_Edit"})
        QVERIFY2(!button(name)->isEnabled(), name);
}

QTEST_MAIN(TestPageProtocol)
#include "tst_pageprotocol.moc"
