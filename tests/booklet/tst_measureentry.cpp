#include "TestDatabase.h"
#include "TestInput.h"
#include "TestText.h"

#include "core/Clock.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "dialogs/TEnterEvents.h"
#include "dialogs/TEnterWeight.h"
#include "ui/MessageBox.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace tav;

namespace {

QLineEdit* edit(QWidget* window, const char* name)
{
    return window->findChild<QLineEdit*>(QString::fromLatin1(name));
}

QPlainTextEdit* memo(QWidget* window, const char* name)
{
    return window->findChild<QPlainTextEdit*>(QString::fromLatin1(name));
}

void type(QLineEdit* field, const QString& text)
{
    field->setFocus();
    typeOver(field, text);
}

QString lastMessage()
{
    const auto shown = MessageBox::shownMessages();
    return shown.isEmpty() ? QString() : shown.last().text;
}

} // namespace

class TestMeasureEntry : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newWeightStartsTodayWithOkDisabledAndStores();
    void sizeGoesToItsOwnTableWithTwoDecimals();
    void refusedValuesKeepTheWindowAndWriteNothing_data();
    void refusedValuesKeepTheWindowAndWriteNothing();
    void decimalsAreCountedAsTyped_data();
    void decimalsAreCountedAsTyped();
    void cancelledMeasureLeavesNoRow();
    void eventNeedsADescriptionAndMayHaveNoTime();
    void eventTimesAreCheckedAndSortAsTexts_data();
    void eventTimesAreCheckedAndSortAsTexts();

private:
    DataSet& newMeasure(const char* query, const char* dateColumn);
    int count(const char* table) const;

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DataModule1> m_module;
    std::unique_ptr<Clock::Fixed> m_clock;
};

void TestMeasureEntry::initTestCase()
{
    MessageBox::setTestMode(true);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestMeasureEntry::init()
{
    MessageBox::clearShownMessages();
    m_clock = std::make_unique<Clock::Fixed>(QDateTime(QDate(2026, 3, 12), QTime(9, 0)));
    m_db = std::make_unique<TestDatabase>();
    m_module = std::make_unique<DataModule1>(m_db->connection, m_db->folder());
    m_db->connection.exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Médor')"));
}

void TestMeasureEntry::cleanup()
{
    m_module.reset();
    m_db.reset();
    m_clock.reset();
}

DataSet& TestMeasureEntry::newMeasure(const char* query, const char* dateColumn)
{
    DataSet& rows = m_module->dataSet(QString::fromLatin1(query));
    rows.open();
    rows.append();
    rows.setValue(QStringLiteral("Id_Ref"), 1);
    rows.setValue(QString::fromLatin1(dateColumn), Clock::today());
    return rows;
}

int TestMeasureEntry::count(const char* table) const
{
    return m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table))
        .toInt();
}

void TestMeasureEntry::newWeightStartsTodayWithOkDisabledAndStores()
{
    DataSet& weight = newMeasure("Weight", "Date_Weight");
    TEnterWeight window(weight, TEnterWeight::Weight);
    window.show();
    QCOMPARE(window.windowTitle(), u("Saisie d'une mesure"));
    QCOMPARE(edit(&window, "Ed_Date")->text(), QStringLiteral("12/03/2026"));
    QVERIFY(edit(&window, "Ed_Weight")->text().isEmpty());
    QVERIFY(!window.okButton()->isEnabled());

    type(edit(&window, "Ed_Weight"), QStringLiteral("12,4"));
    QVERIFY(window.okButton()->isEnabled());
    memo(&window, "Memo_Remark1")->setPlainText(u("Après le repas"));
    window.okButton()->click();
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QCOMPARE(lastMessage(), QString());
    QCOMPARE(m_db->connection
                 .scalar(QStringLiteral("SELECT Date_Weight || '|' || Weight || '|' || Remark "
                                        "FROM WEIGHT"))
                 .toString(),
             u("2026-03-12|12.4|Après le repas"));

    // An existing measure enables OK at once and shows its unit outside editing.
    weight.edit();
    TEnterWeight again(weight, TEnterWeight::Weight);
    QVERIFY(again.okButton()->isEnabled());
    QCOMPARE(edit(&again, "Ed_Weight")->text(), u("12,400 kg"));
    again.reject();
}

void TestMeasureEntry::sizeGoesToItsOwnTableWithTwoDecimals()
{
    DataSet& size = newMeasure("Size", "Date_Size");
    TEnterWeight window(size, TEnterWeight::Size);
    type(edit(&window, "Ed_Date"), QStringLiteral("01022026"));
    type(edit(&window, "Ed_Weight"), QStringLiteral("48,25"));
    window.okButton()->click();
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QCOMPARE(count("WEIGHT"), 0);
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT Date_Size || '|' || Size FROM [SIZE]"))
                 .toString(),
             QStringLiteral("2026-02-01|48.25"));
    size.edit();
    TEnterWeight again(size, TEnterWeight::Size);
    QCOMPARE(edit(&again, "Ed_Weight")->text(), u("48,25 cm"));
    again.reject();
}

void TestMeasureEntry::refusedValuesKeepTheWindowAndWriteNothing_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("remark");
    QTest::addColumn<QString>("message");
    QTest::newRow("impossible date")
        << "31022026"
        << "12" << QString() << u("'31/02/2026' n'est pas une date correcte");
    QTest::newRow("incomplete date")
        << "1203"
        << "12" << QString()
        << u("Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications");
    QTest::newRow("too many decimals") << QString() << "12,4567" << QString()
                                       << u("La valeur « 12,4567 » de « Valeur » a plus de 3 "
                                            "décimales.");
    QTest::newRow("before birth") << "01012020"
                                  << "3" << QString()
                                  << u("La date de la mesure (01/01/2020) précède la date de "
                                       "naissance (15/06/2020).");
    QTest::newRow("memo past its column")
        << QString() << "12" << QString(129, QLatin1Char('x'))
        << u("Le texte saisi pour « Observations » dépasse 128 caractères.");
}

void TestMeasureEntry::refusedValuesKeepTheWindowAndWriteNothing()
{
    QFETCH(QString, date);
    QFETCH(QString, value);
    QFETCH(QString, remark);
    QFETCH(QString, message);
    DataSet& weight = newMeasure("Weight", "Date_Weight");
    TEnterWeight window(weight, TEnterWeight::Weight);
    window.setBirthDate(QDate(2020, 6, 15));
    window.show();
    if (!date.isEmpty())
        type(edit(&window, "Ed_Date"), date);
    type(edit(&window, "Ed_Weight"), value);
    if (!remark.isEmpty())
        memo(&window, "Memo_Remark1")->setPlainText(remark);
    window.okButton()->click();
    QCOMPARE(lastMessage(), message);
    QVERIFY(window.isVisible());
    QCOMPARE(weight.state(), DataSet::State::Insert);
    QCOMPARE(count("WEIGHT"), 0);
    window.reject();
    QCOMPARE(count("WEIGHT"), 0);
}

void TestMeasureEntry::decimalsAreCountedAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<bool>("refused");
    QTest::newRow("whole") << "12" << 3 << false;
    QTest::newRow("three") << "12,405" << 3 << false;
    QTest::newRow("point") << "12.4051" << 3 << true;
    QTest::newRow("trailing zeros") << "12,4000" << 3 << false;
    QTest::newRow("size") << "48,125" << 2 << true;
    QTest::newRow("bare comma") << "48," << 2 << false;
}

void TestMeasureEntry::decimalsAreCountedAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(int, decimals);
    QFETCH(bool, refused);
    QCOMPARE(!TEnterWeight::decimalsProblem(typed, decimals, u("Valeur")).isEmpty(), refused);
}

void TestMeasureEntry::cancelledMeasureLeavesNoRow()
{
    DataSet& weight = newMeasure("Weight", "Date_Weight");
    {
        TEnterWeight window(weight, TEnterWeight::Weight);
        type(edit(&window, "Ed_Weight"), QStringLiteral("5"));
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(window.result(), int(QDialog::Rejected));
    }
    QCOMPARE(weight.state(), DataSet::State::Browse);
    QCOMPARE(count("WEIGHT"), 0);
}

void TestMeasureEntry::eventNeedsADescriptionAndMayHaveNoTime()
{
    DataSet& event = newMeasure("Event", "Date_Event");
    TEnterEvents window(event);
    window.show();
    QCOMPARE(window.windowTitle(), u("Saisie d'un événement"));
    QCOMPARE(edit(&window, "Ed_Event_Date")->text(), QStringLiteral("12/03/2026"));
    QVERIFY(!window.okButton()->isEnabled());
    memo(&window, "Ed_Description")->setPlainText(u("Première sortie"));
    QVERIFY(window.okButton()->isEnabled());
    memo(&window, "Ed_Description")->clear();
    QVERIFY(!window.okButton()->isEnabled());
    memo(&window, "Ed_Description")->setPlainText(u("Première sortie"));
    window.okButton()->click();
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QCOMPARE(lastMessage(), QString());
    QCOMPARE(m_db->connection
                 .scalar(QStringLiteral("SELECT Date_Event || '|' || IFNULL(Time_Event, 'null') "
                                        "|| '|' || Description FROM EVENT"))
                 .toString(),
             u("2026-03-12|null|Première sortie"));
}

void TestMeasureEntry::eventTimesAreCheckedAndSortAsTexts_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("message");
    QTest::newRow("whole") << "1430"
                           << "14:30" << QString();
    QTest::newRow("half typed")
        << "14" << QString()
        << u("Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications");
    QTest::newRow("impossible") << "2570" << QString() << u("'25:70' n'est pas une heure correcte");
}

void TestMeasureEntry::eventTimesAreCheckedAndSortAsTexts()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, message);
    // A blank left in front of a one-digit hour must not sort it after "10:00".
    QCOMPARE(TEnterEvents::checkedTime(QStringLiteral(" 9:30")), QStringLiteral("09:30"));
    DataSet& event = newMeasure("Event", "Date_Event");
    TEnterEvents window(event);
    window.show();
    type(edit(&window, "Ed_Event_Time"), typed);
    memo(&window, "Ed_Description")->setPlainText(u("Vermifuge"));
    window.okButton()->click();
    QCOMPARE(lastMessage(), message);
    QCOMPARE(count("EVENT"), stored.isEmpty() ? 0 : 1);
    if (!stored.isEmpty())
        QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT Time_Event FROM EVENT")).toString(),
                 stored);
    else
        window.reject();
}

QTEST_MAIN(TestMeasureEntry)
#include "tst_measureentry.moc"
