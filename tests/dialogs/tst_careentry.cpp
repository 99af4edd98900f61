#include "ModalAnswer.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestText.h"

#include "core/Clock.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/FieldFormat.h"
#include "dialogs/DatePicker.h"
#include "dialogs/TCareEntry.h"
#include "dialogs/TEnterRepayment.h"
#include "dialogs/TReferenceEntry.h"
#include "dialogs/TSelectDate.h"
#include "dialogs/TStrList.h"
#include "ui/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace tav;
using tav::test::ModalAnswer;

namespace {

void type(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    typeOver(edit, text);
}

QLineEdit* edit(QWidget* window, const char* name)
{
    return window->findChild<QLineEdit*>(QString::fromLatin1(name));
}

} // namespace

class TestCareEntry : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newConsultationNeedsAPractitionerAndStoresTheChosenKeys();
    void unreimbursedAmountFollowsTheAmounts_data();
    void unreimbursedAmountFollowsTheAmounts();
    void editingWithoutChoosingKeepsTheKeysAndAGoneRowShowsEmpty();
    void refusedDateKeepsTheWindowAndCancelStoresNothing();
    void purchaseNeedsAMedicineNotAPharmacy();
    void repaymentShowsOneSetAndStoresOnlyOnOk();
    void refusedRepaymentKeepsTheWindowAndWhatWasTyped();
    void tooLongRemarksAreNamedByTheirCaption();
    void vaccinationNeedsAVaccineOnly();
    void vaccinationKeepsItsReminderFlagAndClearsItsReminderDate();
    void firstConsultationWithANewPractitionerInPlace();

private:
    qint64 insert(const QString& statement, const QVariantList& values = {});
    QVariant column(qint64 act, const char* name);

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DataModule1> m_module;
    std::unique_ptr<Clock::Fixed> m_clock;
    qint64 m_martin = 0;
    qint64 m_zola = 0;
    qint64 m_otitis = 0;
};

void TestCareEntry::initTestCase()
{
    MessageBox::setTestMode(true);
    // Amounts follow the user's locale: these tests read them as in France.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestCareEntry::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    m_clock = std::make_unique<Clock::Fixed>(QDateTime(QDate(2026, 3, 2), QTime(14, 30)));
    m_db = std::make_unique<TestDatabase>();
    m_module = std::make_unique<DataModule1>(m_db->connection, m_db->folder());
    m_martin = insert(QStringLiteral("INSERT INTO LST_DOCTOR (Name, Category) VALUES (?, ?)"),
                      {QStringLiteral("Dr Martin"), QStringLiteral("Dermatologie")});
    m_zola = insert(QStringLiteral("INSERT INTO LST_DOCTOR (Name) VALUES ('Dr Zola')"));
    m_otitis = insert(QStringLiteral("INSERT INTO LST_ILLNESS (Title, Gravity) VALUES (?, ?)"),
                      {u("Otite de l'oreille"), QStringLiteral("Bénigne")});
    insert(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Médor')"));
    DataSet& action = m_module->dataSet(QStringLiteral("Action"));
    for (const char* money : {"Price", "Price_Repayment", "Price_Repayment_Comp"})
        action.setDisplayFormat(QString::fromLatin1(money), moneyFormat(u("€")));
}

void TestCareEntry::cleanup()
{
    m_module.reset();
    m_db.reset();
    m_clock.reset();
}

qint64 TestCareEntry::insert(const QString& statement, const QVariantList& values)
{
    m_db->connection.exec(statement, values);
    return m_db->connection.lastInsertId();
}

QVariant TestCareEntry::column(qint64 act, const char* name)
{
    return m_db->connection.scalar(QStringLiteral("SELECT ") + QLatin1String(name) +
                                       QStringLiteral(" FROM [ACTION] WHERE Id=?"),
                                   {act});
}

void TestCareEntry::newConsultationNeedsAPractitionerAndStoresTheChosenKeys()
{
    DataSet& action = m_module->dataSet(QStringLiteral("Action"));
    action.open();
    action.append();
    action.setValue(QStringLiteral("Tag"), 1);
    TEnterConsult window(action, m_module->dataSet(QStringLiteral("ComboItems")));
    window.show();
    QCOMPARE(QByteArray(window.metaObject()->className()), QByteArray("TEnterConsult"));
    QVERIFY(!window.okButton()->isEnabled());
    QCOMPARE(edit(&window, "Ed_Date")->text(), QStringLiteral("02/03/2026"));
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Lab_NoRepayment"))->text(), u("0,00 € "));

    QStringList offered;
    QTest::keyClick(edit(&window, "Ed_Doctor"), Qt::Key_Return);
    QVERIFY(chooseLine(QStringLiteral("Dr Martin (Dermatologie)"), &offered));
    QCOMPARE(offered, strings({"Dr Martin (Dermatologie)", "Dr Zola"}));
    QCOMPARE(window.ids(TEnterConsult::Doctor),
             QStringList({QString::number(m_martin), QString::number(m_zola)}));
    QVERIFY(window.okButton()->isEnabled());
    window.findChild<QToolButton*>(QStringLiteral("Btn_Illness"))->click();
    QVERIFY(chooseLine(u("Otite de l'oreille (Bénigne)")));
    type(edit(&window, "Ed_Time"), QStringLiteral("1430"));
    type(edit(&window, "Ed_Payment"), QStringLiteral("45"));

    window.okButton()->click();
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QVERIFY(MessageBox::shownMessages().isEmpty());
    const qint64 act =
        m_db->connection.scalar(QStringLiteral("SELECT MAX(Id) FROM [ACTION]")).toLongLong();
    QCOMPARE(column(act, "Id_Org").toLongLong(), m_martin);
    QCOMPARE(column(act, "Id_Illness").toLongLong(), m_otitis);
    QCOMPARE(column(act, "Time_Action").toString(), QStringLiteral("14:30"));
    QCOMPARE(column(act, "Price").toDouble(), 45.0);
    QCOMPARE(column(act, "Date_Action").toString(), QStringLiteral("2026-03-02"));
}

void TestCareEntry::unreimbursedAmountFollowsTheAmounts_data()
{
    QTest::addColumn<QString>("price");
    QTest::addColumn<QString>("repayment");
    QTest::addColumn<QVariant>("complementary");
    QTest::addColumn<QString>("shown");
    QTest::newRow("both insurers") << "45"
                                   << "30,50" << QVariant(10.0) << u("4,50 € ");
    QTest::newRow("more than paid") << "20"
                                    << "25" << QVariant(0.0) << u("-5,00 € ");
    QTest::newRow("reimbursement cleared") << "45"
                                           << "" << QVariant(10.0) << u("0,00 € ");
}

void TestCareEntry::unreimbursedAmountFollowsTheAmounts()
{
    QFETCH(QString, price);
    QFETCH(QString, repayment);
    QFETCH(QVariant, complementary);
    QFETCH(QString, shown);
    DataSet& action = m_module->dataSet(QStringLiteral("Action"));
    action.open();
    action.append();
    action.setValue(QStringLiteral("Tag"), 1);
    action.setValue(QStringLiteral("Price_Repayment_Comp"), complementary);
    TEnterConsult window(action, m_module->dataSet(QStringLiteral("ComboItems")));
    type(edit(&window, "Ed_Payment"), price);
    type(edit(&window, "Ed_Price_Repayment"), repayment);
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Lab_NoRepayment"))->text(), shown);
    window.reject();
}

void TestCareEntry::editingWithoutChoosingKeepsTheKeysAndAGoneRowShowsEmpty()
{
    const qint64 act =
        insert(QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Id_Illness, Date_Action, "
                              "Price) VALUES (1, 1, ?, ?, '2026-01-10', 30)"),
               {m_zola, 999});
    DataSet& action = m_module->dataSet(QStringLiteral("Action"));
    action.open();
    QVERIFY(action.locateId(act));
    action.edit();
    TEnterConsult window(action, m_module->dataSet(QStringLiteral("ComboItems")));
    QCOMPARE(edit(&window, "Ed_Doctor")->text(), QStringLiteral("Dr Zola"));
    QCOMPARE(edit(&window, "Ed_Illness")->text(), QString());
    type(edit(&window, "Ed_Payment"), QStringLiteral("35"));
    window.okButton()->click();
    QCOMPARE(column(act, "Id_Org").toLongLong(), m_zola);
    QCOMPARE(column(act, "Id_Illness").toLongLong(), 999);
    QCOMPARE(column(act, "Price").toDouble(), 35.0);

    // A practitioner deleted since leaves the field empty: OK waits for a
    // new choice.
    m_db->connection.exec(QStringLiteral("DELETE FROM LST_DOCTOR WHERE Id=?"), {m_zola});
    action.edit();
    TEnterConsult again(action, m_module->dataSet(QStringLiteral("ComboItems")));
    QCOMPARE(edit(&again, "Ed_Doctor")->text(), QString());
    QVERIFY(!again.okButton()->isEnabled());
    again.reject();
}

void TestCareEntry::refusedDateKeepsTheWindowAndCancelStoresNothing()
{
    DataSet& action = m_module->dataSet(QStringLiteral("Action"));
    action.open();
    action.append();
    action.setValue(QStringLiteral("Tag"), 1);
    TEnterConsult window(action, m_module->dataSet(QStringLiteral("ComboItems")));
    window.show();
    QTest::keyClick(edit(&window, "Ed_Doctor"), Qt::Key_Return);
    QVERIFY(chooseLine(QStringLiteral("Dr Zola")));
    type(edit(&window, "Ed_Date"), QStringLiteral("31042026"));
    window.okButton()->click();
    QVERIFY(window.isVisible());
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(edit(&window, "Ed_Doctor")->text(), QStringLiteral("Dr Zola"));
    QVERIFY(action.isEditing());
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QVERIFY(!action.isEditing());
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM [ACTION]")).toInt(), 0);
}

void TestCareEntry::purchaseNeedsAMedicineNotAPharmacy()
{
    const qint64 drug = insert(
        QStringLiteral("INSERT INTO LST_DRUG (Title, Category) VALUES ('Milbemax', 'Vermifuge')"));
    DataSet& action = m_module->dataSet(QStringLiteral("Action"));
    action.open();
    action.append();
    action.setValue(QStringLiteral("Tag"), 2);
    TEnterDrugPharmacy window(action);
    window.show();
    QCOMPARE(QByteArray(window.metaObject()->className()), QByteArray("TEnterDrugPharmacy"));
    QVERIFY(!window.okButton()->isEnabled());
    // An empty pharmacy table gives an empty list; the purchase goes on.
    QTest::keyClick(edit(&window, "Ed_Pharmacy"), Qt::Key_Return);
    QStringList offered{QStringLiteral("not read")};
    QVERIFY(!chooseLine(QStringLiteral("x"), &offered));
    QVERIFY(offered.isEmpty());
    TStrList::openList()->close();
    QTest::keyClick(edit(&window, "Ed_Drug"), Qt::Key_Return);
    QVERIFY(chooseLine(QStringLiteral("Milbemax (Vermifuge)")));
    QVERIFY(window.okButton()->isEnabled());
    window.okButton()->click();
    const qint64 act =
        m_db->connection.scalar(QStringLiteral("SELECT MAX(Id) FROM [ACTION]")).toLongLong();
    QCOMPARE(column(act, "Id_Drug").toLongLong(), drug);
    QVERIFY(column(act, "Id_Org").isNull());
    QCOMPARE(column(act, "Tag").toInt(), 2);
}

void TestCareEntry::repaymentShowsOneSetAndStoresOnlyOnOk()
{
    const qint64 act = insert(QStringLiteral(
        "INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Date_Action, Price, Repayment, "
        "Price_Repayment, Repayment_Comp, Price_Repayment_Comp) VALUES (1, 1, 1, '2026-03-02', "
        "45, 0, 0, 0, 0)"));
    DataSet& action = m_module->dataSet(QStringLiteral("Action"));

    bool primaryShown = false;
    bool complementaryShown = true;
    QString date;
    auto answer = ModalAnswer::when<TEnterRepayment>([&](TEnterRepayment* window) {
        primaryShown =
            window->findChild<QWidget*>(QStringLiteral("Ed_Price_Repayment"))->isVisible();
        complementaryShown =
            window->findChild<QWidget*>(QStringLiteral("Ed_Price_Repayment_Comp"))->isVisible();
        date = edit(window, "Ed_Date_Repayment")->text();
        type(edit(window, "Ed_Price_Repayment"), QStringLiteral("30,5"));
        window->findChild<QPushButton*>(QStringLiteral("Btn_Ok"))->click();
    });
    QVERIFY(confirmRepayment(nullptr, action, act, 1));
    QVERIFY(answer.seen());
    QVERIFY(primaryShown);
    QVERIFY(!complementaryShown);
    QCOMPARE(date, QStringLiteral("02/03/2026"));
    QCOMPARE(column(act, "Repayment").toInt(), 1);
    QCOMPARE(column(act, "Price_Repayment").toDouble(), 30.5);
    QCOMPARE(column(act, "Date_Repayment").toString(), QStringLiteral("2026-03-02"));
    QVERIFY(!action.isOpen());

    // Annuler leaves the complementary reimbursement unconfirmed and unchanged.
    answer = ModalAnswer::when<TEnterRepayment>([&](TEnterRepayment* window) {
        complementaryShown =
            window->findChild<QWidget*>(QStringLiteral("Ed_Price_Repayment_Comp"))->isVisible();
        type(edit(window, "Ed_Price_Repayment_Comp"), QStringLiteral("10"));
        window->findChild<QPushButton*>(QStringLiteral("Btn_Cancel"))->click();
    });
    QVERIFY(!confirmRepayment(nullptr, action, act, 2));
    QVERIFY(answer.seen());
    QVERIFY(complementaryShown);
    QCOMPARE(column(act, "Repayment_Comp").toInt(), 0);
    QCOMPARE(column(act, "Price_Repayment_Comp").toDouble(), 0.0);
    QVERIFY(column(act, "Date_Repayment_Comp").isNull());
}

void TestCareEntry::refusedRepaymentKeepsTheWindowAndWhatWasTyped()
{
    const qint64 act = insert(QStringLiteral(
        "INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Date_Action, Price, Repayment, "
        "Price_Repayment, Repayment_Comp, Price_Repayment_Comp) VALUES (1, 1, 1, '2026-03-02', "
        "45, 0, 0, 0, 0)"));
    DataSet& action = m_module->dataSet(QStringLiteral("Action"));

    bool stayedOpen = false;
    QString amountKept;
    auto answer = ModalAnswer::when<TEnterRepayment>([&](TEnterRepayment* window) {
        type(edit(window, "Ed_Price_Repayment"), QStringLiteral("30,5"));
        type(edit(window, "Ed_Date_Repayment"), QStringLiteral("31042026"));
        auto* ok = window->findChild<QPushButton*>(QStringLiteral("Btn_Ok"));
        ok->click();
        stayedOpen = window->isVisible();
        amountKept = edit(window, "Ed_Price_Repayment")->text();
        // Mended, the reimbursement is stored with what was typed.
        type(edit(window, "Ed_Date_Repayment"), QStringLiteral("30042026"));
        ok->click();
    });
    QVERIFY(confirmRepayment(nullptr, action, act, 1));
    QVERIFY(answer.seen());
    QVERIFY(stayedOpen);
    QVERIFY2(amountKept.startsWith(QStringLiteral("30,5")), qPrintable(amountKept));
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().text,
             u("'31/04/2026' n'est pas une date correcte"));
    QCOMPARE(column(act, "Repayment").toInt(), 1);
    QCOMPARE(column(act, "Price_Repayment").toDouble(), 30.5);
    QCOMPARE(column(act, "Date_Repayment").toString(), QStringLiteral("2026-04-30"));
    QVERIFY(!action.isOpen());

    // Given up after a refusal, the act is left as it was.
    answer = ModalAnswer::when<TEnterRepayment>([&](TEnterRepayment* window) {
        type(edit(window, "Ed_Date_Repayment_Comp"), QStringLiteral("31042026"));
        window->findChild<QPushButton*>(QStringLiteral("Btn_Ok"))->click();
        stayedOpen = window->isVisible();
        window->findChild<QPushButton*>(QStringLiteral("Btn_Cancel"))->click();
    });
    QVERIFY(!confirmRepayment(nullptr, action, act, 2));
    QVERIFY(answer.seen());
    QVERIFY(stayedOpen);
    QCOMPARE(column(act, "Repayment_Comp").toInt(), 0);
    QVERIFY(column(act, "Date_Repayment_Comp").isNull());
}

void TestCareEntry::tooLongRemarksAreNamedByTheirCaption()
{
    const QString tooLong(256, QLatin1Char('x'));
    const auto refusal = [](const QString& caption) {
        return u("Le texte saisi pour « %1 » dépasse 255 caractères.").arg(caption);
    };
    const auto typeInto = [](QWidget* window, const char* memo, const QString& text) {
        auto* m = window->findChild<QPlainTextEdit*>(QString::fromLatin1(memo));
        m->setFocus();
        m->setPlainText(text);
    };

    DataSet& action = m_module->dataSet(QStringLiteral("Action"));
    action.open();
    action.append();
    action.setValue(QStringLiteral("Tag"), 1);
    {
        TEnterConsult window(action, m_module->dataSet(QStringLiteral("ComboItems")));
        window.show();
        QTest::keyClick(edit(&window, "Ed_Doctor"), Qt::Key_Return);
        QVERIFY(chooseLine(QStringLiteral("Dr Zola")));
        typeInto(&window, "Memo_Remark1", tooLong);
        window.okButton()->click();
        QVERIFY(window.isVisible());
        QCOMPARE(MessageBox::shownMessages().last().text, refusal(QStringLiteral("Objet")));
        typeInto(&window, "Memo_Remark1", QStringLiteral("Vaccin annuel"));
        typeInto(&window, "Memo_Remark2", tooLong);
        window.okButton()->click();
        QVERIFY(window.isVisible());
        QCOMPARE(MessageBox::shownMessages().last().text, refusal(u("Remarque du praticien")));
        window.reject();
    }
    action.close();

    insert(QStringLiteral("INSERT INTO LST_DRUG (Title) VALUES ('Milbemax')"));
    action.open();
    action.append();
    action.setValue(QStringLiteral("Tag"), 2);
    {
        TEnterDrugPharmacy window(action);
        window.show();
        QTest::keyClick(edit(&window, "Ed_Drug"), Qt::Key_Return);
        QVERIFY(chooseLine(QStringLiteral("Milbemax")));
        typeInto(&window, "Memo_Remark1", tooLong);
        window.okButton()->click();
        QVERIFY(window.isVisible());
        QCOMPARE(MessageBox::shownMessages().last().text, refusal(QStringLiteral("Observations")));
        window.reject();
    }
    action.close();

    insert(QStringLiteral("INSERT INTO LST_VACCINE (Title) VALUES ('Rage')"));
    DataSet& vaccine = m_module->dataSet(QStringLiteral("Vaccine"));
    vaccine.open();
    vaccine.append();
    vaccine.setValue(QStringLiteral("Id_Ref"), 1);
    {
        TEnterVaccineExe window(vaccine);
        window.show();
        QTest::keyClick(edit(&window, "Ed_Vaccine"), Qt::Key_Return);
        QVERIFY(chooseLine(QStringLiteral("Rage")));
        typeInto(&window, "Memo_Remark1", tooLong);
        window.okButton()->click();
        QVERIFY(window.isVisible());
        QCOMPARE(MessageBox::shownMessages().last().text, refusal(QStringLiteral("Observations")));
        window.reject();
    }
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM [ACTION]")).toInt(), 0);
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM VACCINE")).toInt(), 0);
}

void TestCareEntry::vaccinationNeedsAVaccineOnly()
{
    DataSet& vaccine = m_module->dataSet(QStringLiteral("Vaccine"));
    vaccine.open();
    vaccine.append();
    vaccine.setValue(QStringLiteral("Id_Ref"), 1);
    vaccine.setValue(QStringLiteral("Date_Vaccine"), Clock::today());
    TEnterVaccineExe window(vaccine);
    window.show();
    QCOMPARE(QByteArray(window.metaObject()->className()), QByteArray("TEnterVaccineExe"));
    QCOMPARE(edit(&window, "Ed_Date")->text(), QStringLiteral("02/03/2026"));
    QCOMPARE(edit(&window, "Ed_Date_Repeat")->text(), QStringLiteral("//"));
    QVERIFY(!window.okButton()->isEnabled());
    // No vaccine in the catalogue: an empty list, nothing to store.
    QTest::keyClick(edit(&window, "Ed_Vaccine"), Qt::Key_Return);
    QStringList offered{QStringLiteral("not read")};
    QVERIFY(!chooseLine(QStringLiteral("Rage"), &offered));
    QVERIFY(offered.isEmpty());
    TStrList::openList()->close();
    QVERIFY(!window.okButton()->isEnabled());

    const qint64 rabies = insert(QStringLiteral("INSERT INTO LST_VACCINE (Title) VALUES ('Rage')"));
    window.findChild<QToolButton*>(QStringLiteral("Btn_Vaccine"))->click();
    QVERIFY(chooseLine(QStringLiteral("Rage")));
    // The vaccine list is wider than the act lists.
    QVERIFY(window.okButton()->isEnabled());
    window.okButton()->click();
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QVariantList row;
    m_db->connection.forEachRow(
        QStringLiteral("SELECT Id_Vaccine, Id_Org, Repeat_Date, Date_Vaccine FROM VACCINE"),
        [&row](const QVariantList& r) { row = r; });
    QCOMPARE(row.value(0).toLongLong(), rabies);
    QVERIFY(row.value(1).isNull());
    QVERIFY(row.value(2).isNull());
    QCOMPARE(row.value(3).toString(), QStringLiteral("2026-03-02"));
}

void TestCareEntry::vaccinationKeepsItsReminderFlagAndClearsItsReminderDate()
{
    insert(
        QStringLiteral("INSERT INTO LST_VACCINE (Title, Category) VALUES ('Rage', 'Obligatoire')"));
    const qint64 shot = insert(QStringLiteral("INSERT INTO VACCINE (Id_Ref, Id_Org, Id_Vaccine, "
                                              "Date_Vaccine, Repeat_Date, Repeat_Exe) "
                                              "VALUES (1, ?, 1, '2025-03-02', '2026-03-02', 1)"),
                               {m_martin});
    DataSet& vaccine = m_module->dataSet(QStringLiteral("Vaccine"));
    vaccine.open();
    QVERIFY(vaccine.locateId(shot));
    vaccine.edit();
    TEnterVaccineExe window(vaccine);
    window.show();
    QCOMPARE(edit(&window, "Ed_Vaccine")->text(), QStringLiteral("Rage (Obligatoire)"));
    QCOMPARE(edit(&window, "Ed_Doctor")->text(), QStringLiteral("Dr Martin (Dermatologie)"));
    QCOMPARE(edit(&window, "Ed_Date_Repeat")->text(), QStringLiteral("02/03/2026"));
    QTest::keyClick(edit(&window, "Ed_Date_Repeat"), Qt::Key_Return);
    TSelectDate* picker = openDatePicker();
    QVERIFY(picker);
    picker->findChild<QToolButton*>(QStringLiteral("Btn_Clear"))->click();
    window.okButton()->click();
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QVERIFY(m_db->connection.scalar(QStringLiteral("SELECT Repeat_Date FROM VACCINE")).isNull());
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT Repeat_Exe FROM VACCINE")).toInt(), 1);
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT Id_Org FROM VACCINE")).toLongLong(),
             m_martin);
}

void TestCareEntry::firstConsultationWithANewPractitionerInPlace()
{
    // A first booklet: no practitioner yet.
    m_db->connection.exec(QStringLiteral("DELETE FROM LST_DOCTOR"));
    DataSet& action = m_module->dataSet(QStringLiteral("Action"));
    action.open();
    action.append();
    action.setValue(QStringLiteral("Tag"), 1);
    TEnterConsult window(action, m_module->dataSet(QStringLiteral("ComboItems")));
    window.offerAddingReferences(*m_module);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // The greyed OK says which field is missing.
    auto* reason = window.findChild<QLabel*>(QStringLiteral("Lab_OkReason"));
    QVERIFY(reason);
    QVERIFY(!window.okButton()->isEnabled());
    QVERIFY(reason->isVisible());
    QCOMPARE(reason->text(), u("Choisissez le champ « Praticien »"));

    // The empty list offers to add one; Down and Enter take the offer.
    QTest::keyClick(edit(&window, "Ed_Doctor"), Qt::Key_Return);
    TStrList* list = TStrList::openList();
    QVERIFY(list);
    QCOMPARE(list->lines(), QStringList({u("Aucun praticien : en ajouter un ...")}));
    auto answer = ModalAnswer::when<TEnterDoctor>([](TEnterDoctor* entry) {
        type(edit(entry, "Ed_Name"), QStringLiteral("Dr Durand"));
        QTest::mouseClick(entry->okButton(), Qt::LeftButton);
    });
    QTest::keyClick(list->list(), Qt::Key_Down);
    QTest::keyClick(list->list(), Qt::Key_Return);
    QTRY_VERIFY(answer.seen());
    // Back in the act, the new practitioner chosen; nothing was retyped.
    QTRY_COMPARE(edit(&window, "Ed_Doctor")->text(), QStringLiteral("Dr Durand"));
    QVERIFY(window.okButton()->isEnabled());
    QVERIFY(!reason->isVisible());
    QVERIFY(window.isVisible());
    const qint64 durand =
        m_db->connection.scalar(QStringLiteral("SELECT Id FROM LST_DOCTOR WHERE Name='Dr Durand'"))
            .toLongLong();
    QVERIFY(durand > 0);
    QTest::mouseClick(window.okButton(), Qt::LeftButton);
    QCOMPARE(window.result(), int(QDialog::Accepted));
    const qint64 act =
        m_db->connection.scalar(QStringLiteral("SELECT MAX(Id) FROM [ACTION]")).toLongLong();
    QCOMPARE(column(act, "Id_Org").toLongLong(), durand);

    // A practitioner cancelled in its window leaves the act as it was.
    m_db->connection.exec(QStringLiteral("DELETE FROM LST_DOCTOR"));
    action.append();
    action.setValue(QStringLiteral("Tag"), 1);
    TEnterConsult second(action, m_module->dataSet(QStringLiteral("ComboItems")));
    second.offerAddingReferences(*m_module);
    second.show();
    QTest::keyClick(edit(&second, "Ed_Doctor"), Qt::Key_Return);
    answer = ModalAnswer::when<TEnterDoctor>([](TEnterDoctor* entry) { entry->reject(); });
    QVERIFY(chooseLine(u("Aucun praticien : en ajouter un ...")));
    QTRY_VERIFY(answer.seen());
    QTest::qWait(20);
    QCOMPARE(edit(&second, "Ed_Doctor")->text(), QString());
    QVERIFY(!second.okButton()->isEnabled());
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM LST_DOCTOR")).toInt(), 0);
    second.reject();
}

QTEST_MAIN(TestCareEntry)
#include "tst_careentry.moc"
