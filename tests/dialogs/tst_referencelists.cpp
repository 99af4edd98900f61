#include "ModalAnswer.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestText.h"

#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/ReferenceUsage.h"
#include "dialogs/ReferenceLists.h"
#include "dialogs/TReferenceEntry.h"
#include "dialogs/TReferenceList.h"
#include "dialogs/TStrList.h"
#include "ui/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace tav;
using tav::test::ModalAnswer;

Q_DECLARE_METATYPE(tav::ReferenceKind)

namespace {

struct Case
{
    ReferenceKind kind;
    const char* table;
    const char* listClass;
    const char* entryClass;
    const char* required;
    QStringList captions;
};

QList<Case> cases()
{
    return {
        {ReferenceKind::Doctor, "LST_DOCTOR", "TDoctorList", "TEnterDoctor", "Ed_Name",
         strings({"Nom", "Spécialité", "Adresse", "Ville", "Code postal", "Téléphone", "Fax",
                  "Email", "Notes"})},
        {ReferenceKind::Pharmacy, "LST_PHARMACY", "TPharmacyList", "TEnterPharmacy", "Ed_Name",
         strings({"Nom", "Adresse", "Ville", "Code Postal", "Téléphone", "Fax", "Email", "Notes"})},
        {ReferenceKind::Drug, "LST_DRUG", "TDrugList", "TEnterDrug", "Ed_Title",
         strings({"Titre", "Description"})},
        {ReferenceKind::Vaccine, "LST_VACCINE", "TVaccineList", "TEnterVaccine", "Ed_Title",
         strings({"Titre", "Description"})},
        {ReferenceKind::Illness, "LST_ILLNESS", "TIllnessList", "TEnterIllness", "Ed_Title",
         strings({"Titre", "Description"})}};
}

QStringList captionsOf(const QTableView* grid)
{
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << grid->model()->headerData(c, Qt::Horizontal).toString();
    return out;
}

QString cell(const QTableView* grid, int row, int column = 0)
{
    return grid->model()->index(row, column).data().toString();
}

QPushButton* button(QWidget* window, const char* name)
{
    return window->findChild<QPushButton*>(QString::fromLatin1(name));
}

} // namespace

class TestReferenceLists : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void everyListStartsEmptyAndItsEntryWantsAName_data();
    void everyListStartsEmptyAndItsEntryWantsAName();
    void addingAPractitionerStoresEveryFieldAndSortsTheGrid();
    void cancellingLeavesNoRow_data();
    void cancellingLeavesNoRow();
    void changingARowKeepsItSelected();
    void deletingSaysWhatStillNamesTheRow();
    void deletingTheLastRowDisablesTheButtons();
    void refusedStoreKeepsTheWindowAndWhatWasTyped();
    void specialtyComesFromTheRememberedValues();
    void usageTexts();

private:
    TReferenceList* openList(ReferenceKind kind);
    int count(const char* table);

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DataModule1> m_module;
    std::unique_ptr<TReferenceList> m_list;
};

void TestReferenceLists::initTestCase()
{
    MessageBox::setTestMode(true);
}

void TestReferenceLists::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    m_db = std::make_unique<TestDatabase>();
    m_module = std::make_unique<DataModule1>(m_db->connection, m_db->folder());
}

void TestReferenceLists::cleanup()
{
    m_list.reset();
    m_module.reset();
    m_db.reset();
}

TReferenceList* TestReferenceLists::openList(ReferenceKind kind)
{
    switch (kind) {
    case ReferenceKind::Doctor:
        m_list = std::make_unique<TDoctorList>(*m_module);
        break;
    case ReferenceKind::Pharmacy:
        m_list = std::make_unique<TPharmacyList>(*m_module);
        break;
    case ReferenceKind::Drug:
        m_list = std::make_unique<TDrugList>(*m_module);
        break;
    case ReferenceKind::Vaccine:
        m_list = std::make_unique<TVaccineList>(*m_module);
        break;
    case ReferenceKind::Illness:
        m_list = std::make_unique<TIllnessList>(*m_module);
        break;
    }
    m_list->open();
    return m_list.get();
}

int TestReferenceLists::count(const char* table)
{
    return m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table))
        .toInt();
}

void TestReferenceLists::everyListStartsEmptyAndItsEntryWantsAName_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < cases().size(); ++i)
        QTest::newRow(cases().at(i).listClass) << i;
}

void TestReferenceLists::everyListStartsEmptyAndItsEntryWantsAName()
{
    QFETCH(int, index);
    const Case c = cases().at(index);
    TReferenceList* list = openList(c.kind);
    QCOMPARE(QByteArray(list->metaObject()->className()), QByteArray(c.listClass));
    QCOMPARE(list->objectName(), QString::fromLatin1(c.listClass));
    QCOMPARE(list->findChild<QLabel*>(QStringLiteral("Title"))->text(),
             u(referenceListDefinition(c.kind).listTitle));
    QCOMPARE(captionsOf(list->grid()), c.captions);
    QVERIFY(!button(list, "Btn_Edit")->isEnabled());
    QVERIFY(!button(list, "Btn_Delete")->isEnabled());
    QVERIFY(button(list, "Btn_Add")->isEnabled());
    // A double click on the empty grid opens nothing.
    QTest::mouseDClick(list->grid()->viewport(), Qt::LeftButton);

    bool okAtStart = true;
    bool okWithName = false;
    const auto answer = ModalAnswer::when<TReferenceEntry>([&](TReferenceEntry* entry) {
        QCOMPARE(QByteArray(entry->metaObject()->className()), QByteArray(c.entryClass));
        okAtStart = entry->okButton()->isEnabled();
        auto* required = entry->findChild<QLineEdit*>(QString::fromLatin1(c.required));
        QVERIFY(required);
        typeOver(required, QStringLiteral("   "));
        QVERIFY(!entry->okButton()->isEnabled());
        typeOver(required, u("Clinique de l'Étang \"Sud\""));
        okWithName = entry->okButton()->isEnabled();
        entry->okButton()->click();
    });
    button(list, "Btn_Add")->click();
    QVERIFY(answer.seen());
    QVERIFY(!okAtStart);
    QVERIFY(okWithName);
    QCOMPARE(count(c.table), 1);
    QCOMPARE(cell(list->grid(), 0), u("Clinique de l'Étang \"Sud\""));
    QVERIFY(button(list, "Btn_Edit")->isEnabled());
    QVERIFY(button(list, "Btn_Delete")->isEnabled());
    QVERIFY(list->changed());
}

void TestReferenceLists::addingAPractitionerStoresEveryFieldAndSortsTheGrid()
{
    m_db->connection.exec(QStringLiteral("INSERT INTO LST_DOCTOR (Name) VALUES ('Dr Zola')"));
    TReferenceList* list = openList(ReferenceKind::Doctor);
    const auto answer = ModalAnswer::when<TEnterDoctor>([](TEnterDoctor* entry) {
        const QList<std::pair<const char*, const char*>> typed = {
            {"Ed_Name", "Dr Martin"},     {"DBEdit2", "3 rue des Lilas"},
            {"DBEdit3", "06100"},         {"DBEdit5", "Nice"},
            {"DBEdit6", "0612345678"},    {"DBEdit7", "0493000000"},
            {"DBEdit8", "martin@vet.fr"}, {"Ed_Specialite", "Dermatologie"}};
        for (const auto& [name, text] : typed)
            typeOver(entry->findChild<QLineEdit*>(QString::fromLatin1(name)), u(text));
        entry->findChild<QPlainTextEdit*>(QStringLiteral("DBMemo1"))
            ->setPlainText(QStringLiteral("Sur rendez-vous"));
        entry->okButton()->click();
    });
    button(list, "Btn_Add")->click();
    QVERIFY(answer.seen());
    // Sorted by name, the new row selected.
    QCOMPARE(cell(list->grid(), 0), QStringLiteral("Dr Martin"));
    QCOMPARE(cell(list->grid(), 1), QStringLiteral("Dr Zola"));
    QCOMPARE(list->grid()->currentIndex().row(), 0);
    QCOMPARE(list->dataSet().asString(QStringLiteral("Name")), QStringLiteral("Dr Martin"));
    QVariantList row;
    m_db->connection.forEachRow(
        QStringLiteral("SELECT Name, Address, CP, City, Phone, Fax, Email, Note, Category, "
                       "typeof(CP), typeof(Phone) FROM LST_DOCTOR WHERE Name='Dr Martin'"),
        [&row](const QVariantList& r) { row = r; });
    QCOMPARE(row, (QVariantList{u("Dr Martin"), u("3 rue des Lilas"), u("06100"), u("Nice"),
                                u("0612345678"), u("0493000000"), u("martin@vet.fr"),
                                u("Sur rendez-vous"), u("Dermatologie"), u("text"), u("text")}));
}

void TestReferenceLists::cancellingLeavesNoRow_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Annuler") << QStringLiteral("Annuler");
    QTest::newRow("Escape") << QStringLiteral("Escape");
    QTest::newRow("close") << QStringLiteral("close");
}

void TestReferenceLists::cancellingLeavesNoRow()
{
    QFETCH(QString, how);
    TReferenceList* list = openList(ReferenceKind::Vaccine);
    const auto answer = ModalAnswer::when<TEnterVaccine>([how](TEnterVaccine* entry) {
        typeOver(entry->findChild<QLineEdit*>(QStringLiteral("Ed_Title")), QStringLiteral("Rage"));
        if (how == QLatin1String("Annuler"))
            button(entry, "Btn_Cancel")->click();
        else if (how == QLatin1String("Escape"))
            QTest::keyClick(entry, Qt::Key_Escape);
        else
            entry->close();
    });
    button(list, "Btn_Add")->click();
    QVERIFY(answer.seen());
    QCOMPARE(count("LST_VACCINE"), 0);
    QCOMPARE(list->grid()->model()->rowCount(), 0);
    QVERIFY(!list->dataSet().isEditing());
    QVERIFY(!button(list, "Btn_Edit")->isEnabled());
    QVERIFY(!list->changed());
}

void TestReferenceLists::changingARowKeepsItSelected()
{
    for (const char* title : {"Apoquel", "Bravecto", "Milbemax"})
        m_db->connection.exec(QStringLiteral("INSERT INTO LST_DRUG (Title) VALUES (?)"),
                              {u(title)});
    TReferenceList* list = openList(ReferenceKind::Drug);
    list->show();
    QVERIFY(QTest::qWaitForWindowExposed(list));
    list->grid()->setCurrentIndex(list->grid()->model()->index(0, 0));
    const auto answer = ModalAnswer::when<TEnterDrug>([](TEnterDrug* entry) {
        auto* title = entry->findChild<QLineEdit*>(QStringLiteral("Ed_Title"));
        QCOMPARE(title->text(), QStringLiteral("Apoquel"));
        typeOver(title, QStringLiteral("Zylkene"));
        entry->okButton()->click();
    });
    const QPoint first = list->grid()->visualRect(list->grid()->model()->index(0, 0)).center();
    QTest::mouseClick(list->grid()->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(list->grid()->viewport(), Qt::LeftButton, {}, first);
    QVERIFY(answer.seen());
    // The changed row moved to its new place and is still the selected one.
    QCOMPARE(cell(list->grid(), 2), QStringLiteral("Zylkene"));
    QCOMPARE(list->grid()->currentIndex().row(), 2);
    QCOMPARE(count("LST_DRUG"), 3);
}

void TestReferenceLists::deletingSaysWhatStillNamesTheRow()
{
    Connection& c = m_db->connection;
    c.exec(QStringLiteral("INSERT INTO LST_DOCTOR (Name) VALUES ('Dr Martin')"));
    const qint64 doctor = c.lastInsertId();
    for (int tag : {1, 1, 2})
        c.exec(QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org) VALUES (1, ?, ?)"),
               {tag, doctor});
    c.exec(QStringLiteral("INSERT INTO VACCINE (Id_Ref, Id_Org) VALUES (1, ?)"), {doctor});
    TReferenceList* list = openList(ReferenceKind::Doctor);

    MessageBox::setNextAnswer(MessageBox::Answer::No);
    button(list, "Btn_Delete")->click();
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().at(0).kind, MessageBox::Kind::Question);
    // The second action with Id_Org is a medicine purchase: a pharmacy's key.
    QCOMPARE(MessageBox::shownMessages().at(0).text,
             u("Ce praticien est cité par 2 actes et 1 vaccination.\r"
               "Désirez-vous supprimer ce médecin?"));
    QCOMPARE(count("LST_DOCTOR"), 1);

    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    button(list, "Btn_Delete")->click();
    QCOMPARE(count("LST_DOCTOR"), 0);
    // The acts keep their key; they show an empty practitioner from now on.
    QCOMPARE(
        c.scalar(QStringLiteral("SELECT COUNT(*) FROM [ACTION] WHERE Id_Org=?"), {doctor}).toInt(),
        3);
}

void TestReferenceLists::deletingTheLastRowDisablesTheButtons()
{
    m_db->connection.exec(QStringLiteral("INSERT INTO LST_ILLNESS (Title) VALUES ('Otite')"));
    TReferenceList* list = openList(ReferenceKind::Illness);
    QVERIFY(button(list, "Btn_Delete")->isEnabled());
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    button(list, "Btn_Delete")->click();
    // Nothing names it: the design's question alone.
    QCOMPARE(MessageBox::shownMessages().at(0).text, u("Désirez-vous supprimer cette maladie ?"));
    QCOMPARE(count("LST_ILLNESS"), 0);
    QVERIFY(!button(list, "Btn_Edit")->isEnabled());
    QVERIFY(!button(list, "Btn_Delete")->isEnabled());
}

void TestReferenceLists::refusedStoreKeepsTheWindowAndWhatWasTyped()
{
    TReferenceList* list = openList(ReferenceKind::Pharmacy);
    QString afterRefusal;
    bool stillOpen = false;
    const QString longNote(300, QLatin1Char('n'));
    const auto answer = ModalAnswer::when<TEnterPharmacy>([&](TEnterPharmacy* entry) {
        typeOver(entry->findChild<QLineEdit*>(QStringLiteral("Ed_Name")),
                 QStringLiteral("Pharmacie du Port"));
        entry->findChild<QPlainTextEdit*>(QStringLiteral("DBMemo1"))->setPlainText(longNote);
        entry->okButton()->click();
        stillOpen = entry->isVisible();
        afterRefusal = entry->findChild<QLineEdit*>(QStringLiteral("Ed_Name"))->text();
        // Mended, it stores.
        entry->findChild<QPlainTextEdit*>(QStringLiteral("DBMemo1"))
            ->setPlainText(QStringLiteral("Ouverte le dimanche"));
        entry->okButton()->click();
    });
    button(list, "Btn_Add")->click();
    QVERIFY(answer.seen());
    QVERIFY(stillOpen);
    QCOMPARE(afterRefusal, QStringLiteral("Pharmacie du Port"));
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QVERIFY2(MessageBox::shownMessages().at(0).text.contains(QStringLiteral("Notes")) ||
                 MessageBox::shownMessages().at(0).text.contains(QStringLiteral("255")),
             qPrintable(MessageBox::shownMessages().at(0).text));
    QCOMPARE(count("LST_PHARMACY"), 1);
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT Note FROM LST_PHARMACY")).toString(),
             QStringLiteral("Ouverte le dimanche"));
}

void TestReferenceLists::specialtyComesFromTheRememberedValues()
{
    m_db->connection.exec(QStringLiteral("INSERT INTO COMBOITEMS (Doctor_Category) VALUES (?)"),
                          {u("Dermatologie\r\nCardiologie\r\n")});
    TReferenceList* list = openList(ReferenceKind::Doctor);
    QStringList offered;
    const auto answer = ModalAnswer::when<TEnterDoctor>([&offered](TEnterDoctor* entry) {
        typeOver(entry->findChild<QLineEdit*>(QStringLiteral("Ed_Name")),
                 QStringLiteral("Dr Martin"));
        auto* specialty = entry->findChild<QLineEdit*>(QStringLiteral("Ed_Specialite"));
        QTest::keyClick(specialty, Qt::Key_Return);
        TStrList* pick = TStrList::openList();
        QVERIFY(pick);
        for (int i = 0; i < pick->list()->count(); ++i)
            offered << pick->list()->item(i)->text();
        pick->list()->setCurrentRow(offered.indexOf(QStringLiteral("Dermatologie")));
        QTest::keyClick(pick->list(), Qt::Key_Return);
        QCOMPARE(specialty->text(), QStringLiteral("Dermatologie"));
        entry->okButton()->click();
    });
    button(list, "Btn_Add")->click();
    QVERIFY(answer.seen());
    // One empty line first, then the values in order.
    QCOMPARE(offered, strings({"", "Cardiologie", "Dermatologie"}));
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT Category FROM LST_DOCTOR")).toString(),
             QStringLiteral("Dermatologie"));
}

void TestReferenceLists::usageTexts()
{
    QCOMPARE(referenceUsageText(ReferenceKind::Drug, {}), QString());
    QCOMPARE(referenceUsageText(ReferenceKind::Pharmacy, {0, 1, 0}),
             u("Cette pharmacie est citée par 1 achat de médicament."));
    QCOMPARE(referenceUsageText(ReferenceKind::Doctor, {12, 0, 3}),
             u("Ce praticien est cité par 12 actes et 3 vaccinations."));
    QCOMPARE(referenceUsageText(ReferenceKind::Vaccine, {0, 0, 1}),
             u("Ce vaccin est cité par 1 vaccination."));
    QCOMPARE(referenceUsageText(ReferenceKind::Doctor, {1, 2, 3}),
             u("Ce praticien est cité par 1 acte, 2 achats de médicaments et 3 vaccinations."));

    Connection& c = m_db->connection;
    c.exec(
        QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Id_Drug) VALUES (1, 2, 7, 9)"));
    c.exec(QStringLiteral(
        "INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Id_Illness) VALUES (1, 1, 7, 9)"));
    c.exec(QStringLiteral("INSERT INTO VACCINE (Id_Ref, Id_Org, Id_Vaccine) VALUES (1, 7, 9)"));
    const ReferenceUsage doctor = countReferenceUsage(c, ReferenceKind::Doctor, 7);
    QCOMPARE(doctor.consultations, 1);
    QCOMPARE(doctor.purchases, 0);
    QCOMPARE(doctor.vaccinations, 1);
    QCOMPARE(countReferenceUsage(c, ReferenceKind::Pharmacy, 7).purchases, 1);
    QCOMPARE(countReferenceUsage(c, ReferenceKind::Drug, 9).purchases, 1);
    QCOMPARE(countReferenceUsage(c, ReferenceKind::Illness, 9).consultations, 1);
    QCOMPARE(countReferenceUsage(c, ReferenceKind::Vaccine, 9).vaccinations, 1);
    QVERIFY(!countReferenceUsage(c, ReferenceKind::Vaccine, 7).any());
}

QTEST_MAIN(TestReferenceLists)
#include "tst_referencelists.moc"
