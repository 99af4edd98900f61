#include "TestDatabase.h"
#include "core/Clock.h"

#include "db/CalcFields.h"
#include "db/DataModule1.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "db/DataSetModel.h"
#include "db/DbError.h"
#include "db/FieldFormat.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include <sqlite3.h>

using namespace tav;

class TestDataSet : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void whereLineIsReplacedBySubstring();
    void filtersBindTheirValues();
    void navigatesAndLocates();
    void editsInsertsAndDeletes();
    void keysAreFoundAfterEveryChangeOfTheRows();
    void datesAndMoneyRoundTrip();
    void badInputRefusesThePostAndWritesNothing();
    void quotesInValuesAreData();
    void keysAbove16BitsAreKept();
    void joinedDataSetsAreReadOnly();
    void failedOpeningLeavesNoStatementBehind();
    void displayFormats();
    void moneyRoundsHalfAwayFromZeroInDecimal();
    void modelFollowsTheDataSet();
    void textDatesAreWholeOrRefused();
    void dateColumnsAreWholeOrRefused();
    void refusedValuesNameTheFieldByItsCaption();
    void fieldListsShowOnlyWhatTheyName();
    void fieldNamesFollowTheStatementReopened();
    void columnsAfterThePicturesAreReadOnlyWhenAskedFor();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DataModule1> m_module;
    DataSet& ds(const char* name) { return m_module->dataSet(QString::fromLatin1(name)); }
};

void TestDataSet::init()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    m_db = std::make_unique<TestDatabase>();
    m_module = std::make_unique<DataModule1>(m_db->connection, m_db->folder());
}

void TestDataSet::cleanup()
{
    m_module.reset();
    m_db.reset();
}

void TestDataSet::whereLineIsReplacedBySubstring()
{
    DataSet& w = ds("Weight");
    QVERIFY(w.replaceWhereLine(QStringLiteral("WHERE ID_REF=5")));
    QCOMPARE(w.sql(),
             QStringList({QStringLiteral("SELECT * FROM WEIGHT"), QStringLiteral("WHERE ID_REF=5"),
                          QStringLiteral("ORDER BY DATE_WEIGHT")}));
    DataSet& q = m_module->query();
    q.setSql({QStringLiteral("SELECT SOMEWHERE_X"), QStringLiteral("FROM T"),
              QStringLiteral("WHERE A=1")});
    QVERIFY(q.replaceWhereLine(QStringLiteral("WHERE B=2")));
    QCOMPARE(q.sql().at(0), QStringLiteral("WHERE B=2"));
    q.setSql({QStringLiteral("SELECT 1")});
    QVERIFY(!q.replaceWhereLine(QStringLiteral("WHERE B=2")));
}

void TestDataSet::filtersBindTheirValues()
{
    for (int i = 1; i <= 3; ++i)
        m_db->connection.exec(
            QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight) VALUES (?, ?, ?)"),
            {i == 3 ? 8 : 7, QStringLiteral("2020-01-0%1").arg(i), i * 1.5});
    DataSet& w = ds("Weight");
    w.filterBy(QStringLiteral("Weight.Id_Ref"), qint64(7));
    QVERIFY(w.sql().at(1).contains(QLatin1Char('?')));
    w.open();
    QCOMPARE(w.recordCount(), 2);
    // Reopening keeps the filter and its values.
    w.refreshKeepRow();
    QCOMPARE(w.recordCount(), 2);
    // A fixed line drops the values of the former filter.
    w.close();
    QVERIFY(w.replaceWhereLine(QStringLiteral("WHERE ID_REF=8")));
    w.open();
    QCOMPARE(w.recordCount(), 1);
    w.close();

    // A text key holding quotes and SQL is only data: it matches itself and
    // nothing else.
    const QString tricky = QStringLiteral("d'eau' OR 1=1 --\"");
    m_db->connection.exec(QStringLiteral("INSERT INTO ANIMAL_SPECIES (Title) VALUES (?)"),
                          {tricky});
    m_db->connection.exec(
        QStringLiteral("INSERT INTO ANIMAL_SPECIES (Title) VALUES ('Chat'), ('Chien')"));
    DataSet& q = m_module->query();
    q.setSql({QStringLiteral("SELECT Title FROM ANIMAL_SPECIES"), QStringLiteral("WHERE 1=0"),
              QStringLiteral("ORDER BY Title")});
    q.filterBy({{QStringLiteral("Title"), tricky}});
    q.open();
    QCOMPARE(q.recordCount(), 1);
    QCOMPARE(q.asString(QStringLiteral("Title")), tricky);
    q.close();
    q.filterBy({{QStringLiteral("Title"), QStringLiteral("Chat")}},
               QStringLiteral("Title <> 'Chien'"));
    q.open();
    QCOMPARE(q.recordCount(), 1);
    q.close();

    // Anything but a column name is refused and leaves the statement alone.
    const QStringList before = q.sql();
    QVERIFY_THROWS_EXCEPTION(DbError, q.filterBy(QStringLiteral("Title=Title OR 1"), 1));
    QCOMPARE(q.sql(), before);
    q.setSql({QStringLiteral("SELECT Title FROM ANIMAL_SPECIES")});
    QVERIFY_THROWS_EXCEPTION(DbError, q.filterBy(QStringLiteral("Title"), 1));
}

void TestDataSet::navigatesAndLocates()
{
    for (int i = 1; i <= 3; ++i)
        m_db->connection.exec(
            QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight) VALUES (7, ?, ?)"),
            {QStringLiteral("2020-01-0%1").arg(i), i * 1.5});
    DataSet& w = ds("Weight");
    w.replaceWhereLine(QStringLiteral("WHERE ID_REF=7"));
    w.open();
    QCOMPARE(w.recordCount(), 3);
    QVERIFY(w.bof());
    int seen = 0;
    for (w.first(); !w.eof(); w.next())
        ++seen;
    QCOMPARE(seen, 3);
    QCOMPARE(w.recNo(), 2);
    w.prior();
    QCOMPARE(w.asDouble(QStringLiteral("Weight")), 3.0);
    QVERIFY(w.locate(QStringLiteral("Weight"), 1.5));
    QCOMPARE(w.recNo(), 0);
    QVERIFY(!w.locate(QStringLiteral("Weight"), 99.0));
    QVERIFY(w.locateId(3));
    QCOMPARE(w.asDate(QStringLiteral("Date_Weight")), QDate(2020, 1, 3));
    // Refreshing keeps the row even when its position changes.
    m_db->connection.exec(QStringLiteral(
        "INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight) VALUES (7, '2019-01-01', 9)"));
    w.refreshKeepRow();
    QCOMPARE(w.recordCount(), 4);
    QCOMPARE(w.asInt(QStringLiteral("Id")), 3);
    QCOMPARE(w.recNo(), 3);

    w.replaceWhereLine(QStringLiteral("WHERE ID_REF=8"));
    w.close();
    w.open();
    QVERIFY(w.isEmpty());
    QVERIFY(w.eof() && w.bof());
    QCOMPARE(w.recNo(), -1);
}

void TestDataSet::keysAreFoundAfterEveryChangeOfTheRows()
{
    for (int i = 1; i <= 4; ++i)
        m_db->connection.exec(
            QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight) VALUES (5, ?, ?)"),
            {QStringLiteral("2020-02-0%1").arg(i), i * 2.0});
    DataSet& w = ds("Weight");
    w.replaceWhereLine(QStringLiteral("WHERE ID_REF=5"));
    w.open();
    const auto idAt = [&w](int row) {
        return w.valueAt(row, w.fieldIndex(QStringLiteral("Id")));
    };
    const qint64 second = idAt(1).toLongLong();
    const qint64 fourth = idAt(3).toLongLong();
    QVERIFY(w.locateId(fourth));
    QCOMPARE(w.recNo(), 3);
    // Several rows share an owner key: the first is found.
    QVERIFY(w.locate(QStringLiteral("Id_Ref"), 5));
    QCOMPARE(w.recNo(), 0);
    QVERIFY(!w.locate(QStringLiteral("Id_Ref"), 6));

    // A row inserted before the others moves them down.
    w.locateId(second);
    w.insert();
    w.setValue(QStringLiteral("Id_Ref"), 5);
    w.setValue(QStringLiteral("Date_Weight"), QStringLiteral("01/01/2020"));
    w.post();
    const qint64 inserted = w.asInt(QStringLiteral("Id"));
    const int insertedAt = w.recNo();
    w.first();
    QVERIFY(w.locateId(inserted));
    QCOMPARE(w.recNo(), insertedAt);
    QVERIFY(w.locateId(fourth));
    QCOMPARE(idAt(w.recNo()).toLongLong(), fourth);

    // A deleted row is no longer found, and the rows after it move up.
    QVERIFY(w.locateId(second));
    w.remove();
    QVERIFY(!w.locateId(second));
    QVERIFY(w.locateId(fourth));
    QCOMPARE(idAt(w.recNo()).toLongLong(), fourth);
    QCOMPARE(w.recNo(), w.recordCount() - 1);

    // Opened again on other rows, the keys are those of the new rows.
    w.close();
    w.replaceWhereLine(QStringLiteral("WHERE ID_REF=6"));
    w.open();
    QVERIFY(w.isEmpty());
    QVERIFY(!w.locateId(fourth));
}

void TestDataSet::editsInsertsAndDeletes()
{
    DataSet& w = ds("Weight");
    w.replaceWhereLine(QStringLiteral("WHERE ID_REF=3"));
    w.open();
    QSignalSpy state(&w, &DataSet::stateChanged);
    w.append();
    QCOMPARE(w.state(), DataSet::State::Insert);
    w.setValue(QStringLiteral("Id_Ref"), 3);
    w.setValue(QStringLiteral("Date_Weight"), QStringLiteral("14/07/2021"));
    w.setValue(QStringLiteral("Weight"), QStringLiteral("12,345"));
    w.post();
    QCOMPARE(w.state(), DataSet::State::Browse);
    QVERIFY(state.count() >= 2);
    const int id = w.asInt(QStringLiteral("Id"));
    QVERIFY(id > 0);
    QCOMPARE(
        m_db->connection.scalar(QStringLiteral("SELECT Date_Weight FROM WEIGHT WHERE Id=?"), {id})
            .toString(),
        QStringLiteral("2021-07-14"));

    w.setValue(QStringLiteral("Remark"), QStringLiteral("après repas"));
    QCOMPARE(w.state(), DataSet::State::Edit);
    w.cancel();
    QVERIFY(w.isNull(QStringLiteral("Remark")));
    w.edit();
    w.setValue(QStringLiteral("Remark"), QStringLiteral("après repas"));
    w.post();
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT Remark FROM WEIGHT WHERE Id=?"), {id})
                 .toString(),
             QStringLiteral("après repas"));

    w.remove();
    QVERIFY(w.isEmpty());
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM WEIGHT")).toInt(), 0);

    // Rows without a key column are written and deleted too.
    DataSet& e = ds("Event");
    e.replaceWhereLine(QStringLiteral("WHERE ID_REF=3"));
    e.open();
    e.append();
    e.setValue(QStringLiteral("Id_Ref"), 3);
    e.setValue(QStringLiteral("Description"), QStringLiteral("Vermifuge"));
    e.post();
    e.append();
    e.setValue(QStringLiteral("Id_Ref"), 3);
    e.setValue(QStringLiteral("Description"), QStringLiteral("Toilettage"));
    e.post();
    e.first();
    e.setValue(QStringLiteral("Description"), QStringLiteral("Vermifuge (Milbemax)"));
    e.post();
    e.last();
    e.remove();
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT group_concat(Description) FROM EVENT"))
                 .toString(),
             QStringLiteral("Vermifuge (Milbemax)"));
}

void TestDataSet::datesAndMoneyRoundTrip()
{
    DataSet& a = ds("Action");
    a.open();
    const tav::Clock::Fixed clock(QDateTime(QDate(2024, 2, 29), QTime(0, 0)));
    a.append();
    a.setValue(QStringLiteral("Tag"), 1);
    a.setValue(QStringLiteral("Price"), QStringLiteral("12,34567"));
    a.setValue(QStringLiteral("Date_Repayment"), QDate(2008, 2, 29));
    a.post();
    QCOMPARE(a.asDouble(QStringLiteral("Price")), 12.3457);
    QCOMPARE(a.asDate(QStringLiteral("Date_Repayment")), QDate(2008, 2, 29));
    QCOMPARE(a.asString(QStringLiteral("Date_Repayment")), QStringLiteral("29/02/2008"));
    QCOMPARE(a.asDate(QStringLiteral("Date_Action")), QDate(2024, 2, 29));
    QCOMPARE(a.displayText(QStringLiteral("Price")), QStringLiteral("12,35"));
    // An empty date clears the column.
    a.setValue(QStringLiteral("Date_Repayment"), QString());
    a.post();
    QVERIFY(a.isNull(QStringLiteral("Date_Repayment")));
}

void TestDataSet::badInputRefusesThePostAndWritesNothing()
{
    DataSet& a = ds("Action");
    a.open();
    a.append();
    a.setValue(QStringLiteral("Tag"), 1);
    a.setValue(QStringLiteral("Date_Action"), QStringLiteral("31/04/2008"));
    try {
        a.post();
        QFAIL("an impossible date was written");
    } catch (const DbError& e) {
        QVERIFY(e.message().contains(QStringLiteral("31/04/2008")));
    }
    QCOMPARE(a.state(), DataSet::State::Insert);
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM [ACTION]")).toInt(), 0);
    a.setValue(QStringLiteral("Date_Action"), QStringLiteral("30/04/2008"));
    a.setValue(QStringLiteral("Price"), QStringLiteral("douze"));
    QVERIFY_THROWS_EXCEPTION(DbError, a.post());
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM [ACTION]")).toInt(), 0);
    a.setValue(QStringLiteral("Price"), QStringLiteral("12"));
    a.setValue(QStringLiteral("Id_Org"), 70000); // a 16-bit column
    QVERIFY_THROWS_EXCEPTION(DbError, a.post());
    a.setValue(QStringLiteral("Id_Org"), 7);
    a.post();
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT COUNT(*) FROM [ACTION]")).toInt(), 1);

    // Editing an existing row: the failed post leaves the stored row as it was.
    a.setValue(QStringLiteral("Price"), QStringLiteral("20"));
    a.setValue(QStringLiteral("Date_Repayment"), QStringLiteral("2008/13/45"));
    QVERIFY_THROWS_EXCEPTION(DbError, a.post());
    QCOMPARE(a.state(), DataSet::State::Edit);
    QCOMPARE(m_db->connection.scalar(QStringLiteral("SELECT Price FROM [ACTION]")).toDouble(),
             12.0);

    DataSet& animal = m_module->animal();
    animal.open();
    animal.insert();
    animal.setValue(QStringLiteral("Name"), QString(129, QLatin1Char('x')));
    QVERIFY_THROWS_EXCEPTION(DbError, animal.post());
}

void TestDataSet::quotesInValuesAreData()
{
    DataSet& s = ds("Animal_Species");
    s.open();
    s.append();
    s.setValue(QStringLiteral("Title"), QStringLiteral("Chien d'eau\"; DROP TABLE ANIMAL; --"));
    s.post();
    s.close();
    s.open();
    QCOMPARE(s.recordCount(), 1);
    QCOMPARE(s.asString(QStringLiteral("Title")),
             QStringLiteral("Chien d'eau\"; DROP TABLE ANIMAL; --"));
    QVERIFY(m_db->connection.tableNames().contains(QStringLiteral("ANIMAL")));
}

void TestDataSet::keysAbove16BitsAreKept()
{
    m_db->connection.exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name) VALUES (40000, 'Grand')"));
    DataSet& animal = m_module->animal();
    animal.open();
    QVERIFY(animal.locateId(40000));
    DataSet& a = ds("Action");
    a.open();
    a.append();
    a.setValue(QStringLiteral("Tag"), 1);
    a.post();
    QCOMPARE(a.asInt(QStringLiteral("Id_Ref")), 40000);
    DataSet& c = ds("ConsultQuery");
    c.replaceWhereLine(QStringLiteral("WHERE ID_REF=40000 AND TAG=1"));
    c.open();
    QCOMPARE(c.recordCount(), 1);
}

void TestDataSet::joinedDataSetsAreReadOnly()
{
    DataSet& c = ds("ConsultQuery");
    c.open();
    QVERIFY_THROWS_EXCEPTION(DbError, c.insert());
    QVERIFY(!c.isEditing());
}

void TestDataSet::failedOpeningLeavesNoStatementBehind()
{
    for (int i = 1; i <= 3; ++i)
        m_db->connection.exec(QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Weight) VALUES (1, ?)"),
                              {i});
    DataSet& q = m_module->query();
    // The engine fails on the second row, after the first was read.
    q.setSql({QStringLiteral("SELECT Id, CASE WHEN Id = 2 THEN abs(-9223372036854775807 - 1) "
                             "ELSE Id END AS v FROM WEIGHT ORDER BY Id")});
    DataSetModel model(&q);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    try {
        q.open();
        QFAIL("the failing statement opened");
    } catch (const DbError& e) {
        QVERIFY(e.message().startsWith(QStringLiteral("Impossible d'ouvrir « Query » : ")));
    }
    QVERIFY(!q.isOpen());
    QCOMPARE(model.rowCount(), 0);
    // A statement left unfinished would keep the table locked.
    m_db->connection.exec(QStringLiteral("DROP TABLE WEIGHT"));
    q.setSql({QStringLiteral("SELECT * FROM NO_SUCH_TABLE")});
    QVERIFY_THROWS_EXCEPTION(DbError, q.open());
}

void TestDataSet::displayFormats()
{
    QCOMPARE(formatNumber(3.14159, QStringLiteral("#######0.000 kg")), QStringLiteral("3,142 kg"));
    QCOMPARE(formatNumber(1234.5, QStringLiteral("#######0.00 €")), QStringLiteral("1234,50 €"));
    QCOMPARE(formatNumber(-2, QStringLiteral("#######0.00")), QStringLiteral("-2,00"));
    QCOMPARE(moneySymbol(QStringLiteral("ff")), QStringLiteral("€"));
    QCOMPARE(moneySymbol(QStringLiteral("F")), QStringLiteral("€"));
    QCOMPARE(moneySymbol(QStringLiteral("Fr")), QStringLiteral("€"));
    QCOMPARE(moneySymbol(QStringLiteral("CHF")), QStringLiteral("CHF"));
    QCOMPARE(moneyFormat(QStringLiteral("$")), QStringLiteral("#######0.00 $"));
    QCOMPARE(displayValue(true, JetType::YesNo, QString()), QStringLiteral("Oui"));
    QCOMPARE(displayValue(false, JetType::YesNo, QString()), QStringLiteral("Non"));
    QCOMPARE(displayValue(QDate(2020, 6, 15), JetType::DateTime, QString()),
             QStringLiteral("15/06/2020"));
}

void TestDataSet::moneyRoundsHalfAwayFromZeroInDecimal()
{
    const QString money = QStringLiteral("#######0.00 €");
    // Ties that a binary double rounds down (2.675 is 2.67499999...).
    QCOMPARE(formatNumber(2.675, money), QStringLiteral("2,68 €"));
    QCOMPARE(formatNumber(1.005, money), QStringLiteral("1,01 €"));
    QCOMPARE(formatNumber(-2.675, money), QStringLiteral("-2,68 €"));
    QCOMPARE(formatNumber(9.995, money), QStringLiteral("10,00 €"));
    QCOMPARE(formatNumber(0.125, money), QStringLiteral("0,13 €"));
    QCOMPARE(formatNumber(2.674, money), QStringLiteral("2,67 €"));
    QCOMPARE(formatNumber(-0.004, money), QStringLiteral("0,00 €"));
    QCOMPARE(formatNumber(1234567.8, money), QStringLiteral("1234567,80 €"));
    QCOMPARE(formatNumber(12.3455, QStringLiteral("#######0.000 Kg")), QStringLiteral("12,346 Kg"));
    QCOMPARE(formatNumber(7, QStringLiteral("#######0")), QStringLiteral("7"));
    // A left-over computed by difference shows no "-0,00".
    QCOMPARE(formatNumber(noRepayment(0.3, 0.1, 0.2), money), QStringLiteral("0,00 €"));
    QCOMPARE(noRepayment(50.1, 35.05, 0.0), 15.05);

    // Through the data set: the 4-decimal stored value decides.
    DataSet& a = ds("Action");
    a.open();
    a.append();
    a.setValue(QStringLiteral("Tag"), 1);
    a.setValue(QStringLiteral("Price"), QStringLiteral("2,675"));
    a.setValue(QStringLiteral("Price_Repayment"), QStringLiteral("1,005"));
    a.setValue(QStringLiteral("Price_Repayment_Comp"), QStringLiteral("0"));
    a.post();
    QCOMPARE(a.displayText(QStringLiteral("Price")), QStringLiteral("2,68"));
    QCOMPARE(a.displayText(QStringLiteral("Price_Repayment")), QStringLiteral("1,01"));
    QCOMPARE(a.displayText(QStringLiteral("NoRepayment")), QStringLiteral("1,67"));
}

void TestDataSet::modelFollowsTheDataSet()
{
    DataSet& w = ds("Weight");
    w.replaceWhereLine(QStringLiteral("WHERE ID_REF=1"));
    DataSetModel model(&w);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    w.open();
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Valeur"));
    w.append();
    w.setValue(QStringLiteral("Id_Ref"), 1);
    w.setValue(QStringLiteral("Weight"), 4.2);
    w.setValue(QStringLiteral("Date_Weight"), QStringLiteral("01/02/2021"));
    w.post();
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("4,200 kg"));
    QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("01/02/2021"));
    w.setValue(QStringLiteral("Weight"), 4.5);
    w.post();
    QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("4,500 kg"));
    w.remove();
    QCOMPARE(model.rowCount(), 0);
    w.close();
    QCOMPARE(model.rowCount(), 0);
}

namespace {

// Posts the row and returns the refusal's message, or "" when it was written.
QString postRefusal(DataSet& d)
{
    try {
        d.post();
    } catch (const DbError& e) {
        return e.message();
    }
    return QString();
}

const QString kIncomplete =
    QStringLiteral("Valeur d'entrée incorrecte. Utiliser Echap pour abandonner les modifications");

} // namespace

void TestDataSet::textDatesAreWholeOrRefused()
{
    DataSet& a = m_module->animal();
    a.open();
    a.insert();
    a.setValue(QStringLiteral("Name"), QStringLiteral("Rex"));
    a.post();
    const int id = a.asInt(QStringLiteral("Id"));
    auto stored = [&]() {
        return m_db->connection.scalar(QStringLiteral("SELECT End_Date FROM ANIMAL WHERE Id=?"),
                                       {id});
    };
    const QList<QPair<QString, QString>> refused = {
        {QStringLiteral("12/03/20__"), kIncomplete},
        {QStringLiteral("12/03/20  "), kIncomplete},
        {QStringLiteral("12/03/2"), kIncomplete},
        {QStringLiteral("31/04/2008"), QStringLiteral("'31/04/2008' n'est pas une date correcte")},
        {QStringLiteral("2008-04-01xyz"),
         QStringLiteral("'2008-04-01xyz' n'est pas une date correcte")},
        {QStringLiteral("01/02/0099"), QStringLiteral("'01/02/0099' n'est pas une date correcte")},
        {QStringLiteral("  /13/2008"), QStringLiteral("'  /13/2008' n'est pas une date correcte")},
        {QStringLiteral("1a/02/2008"), QStringLiteral("'1a/02/2008' n'est pas une date correcte")},
    };
    for (const auto& [typed, message] : refused) {
        a.setValue(QStringLiteral("End_Date"), typed);
        QCOMPARE(postRefusal(a), message);
        // The row stays in edit state, and nothing reached the table: a
        // stray digit does not mark the animal as departed.
        QCOMPARE(a.state(), DataSet::State::Edit);
        QVERIFY2(stored().toString().isEmpty(), qPrintable(typed));
        a.cancel();
    }
    const QList<QPair<QString, QString>> accepted = {
        {QStringLiteral("29/02/2008"), QStringLiteral("29/02/2008")},
        // The mask lets day and month be left blank; the year is whole.
        {QStringLiteral("__/03/2008"), QStringLiteral("  /03/2008")},
        {QStringLiteral("  /  /2008"), QStringLiteral("  /  /2008")},
        {QStringLiteral("2008-04-01"), QStringLiteral("01/04/2008")},
        {QStringLiteral("  /  /    "), QString()},
        {QStringLiteral("__/__/____"), QString()},
    };
    for (const auto& [typed, kept] : accepted) {
        a.setValue(QStringLiteral("End_Date"), typed);
        QCOMPARE(postRefusal(a), QString());
        QCOMPARE(stored().toString(), kept);
    }
    a.setValue(QStringLiteral("BirthDay_Date"), QDate(2001, 5, 4));
    a.post();
    QCOMPARE(a.asString(QStringLiteral("BirthDay_Date")), QStringLiteral("04/05/2001"));
}

void TestDataSet::dateColumnsAreWholeOrRefused()
{
    DataSet& a = ds("Action");
    a.open();
    const tav::Clock::Fixed clock(QDateTime(QDate(2024, 2, 29), QTime(0, 0)));
    a.append();
    a.setValue(QStringLiteral("Tag"), 1);
    a.post();
    const QList<QPair<QString, QString>> refused = {
        {QStringLiteral("12/03/20__"), kIncomplete},
        {QStringLiteral("12/03/20  "), kIncomplete},
        {QStringLiteral("31/04/2008"), QStringLiteral("'31/04/2008' n'est pas une date correcte")},
        {QStringLiteral("2008-04-01xyz"),
         QStringLiteral("'2008-04-01xyz' n'est pas une date correcte")},
        {QStringLiteral("2008-04-01 10:00"),
         QStringLiteral("'2008-04-01 10:00' n'est pas une date correcte")},
        {QStringLiteral("01/01/0099"), QStringLiteral("'01/01/0099' n'est pas une date correcte")},
        {QStringLiteral("0099-01-01"), QStringLiteral("'0099-01-01' n'est pas une date correcte")},
        {QStringLiteral("  /03/2008"), QStringLiteral("'  /03/2008' n'est pas une date correcte")},
    };
    for (const auto& [typed, message] : refused) {
        a.setValue(QStringLiteral("Date_Repayment"), typed);
        QCOMPARE(postRefusal(a), message);
        QCOMPARE(a.state(), DataSet::State::Edit);
        QVERIFY(m_db->connection.scalar(QStringLiteral("SELECT Date_Repayment FROM [ACTION]"))
                    .isNull());
        a.cancel();
    }
    a.setValue(QStringLiteral("Date_Repayment"), QDate(50, 1, 1));
    QCOMPARE(postRefusal(a), QStringLiteral("'0050-01-01' n'est pas une date correcte"));
    a.cancel();
    a.setValue(QStringLiteral("Date_Repayment"), QStringLiteral("1/2/2008"));
    a.post();
    QCOMPARE(
        m_db->connection.scalar(QStringLiteral("SELECT Date_Repayment FROM [ACTION]")).toString(),
        QStringLiteral("2008-02-01"));
    a.setValue(QStringLiteral("Date_Repayment"), QStringLiteral("__/__/____"));
    a.post();
    QVERIFY(
        m_db->connection.scalar(QStringLiteral("SELECT Date_Repayment FROM [ACTION]")).isNull());
}

void TestDataSet::refusedValuesNameTheFieldByItsCaption()
{
    DataSet& a = m_module->animal();
    a.open();
    a.insert();
    a.setValue(QStringLiteral("BirthDay_Weight"), QStringLiteral("3,5kg"));
    QCOMPARE(postRefusal(a), QStringLiteral("'3,5kg' n'est pas une valeur en virgule flottante "
                                            "correcte pour le champ 'Poids'"));
    a.setValue(QStringLiteral("BirthDay_Weight"), QStringLiteral("3,5"));
    a.setValue(QStringLiteral("End_Size"), QStringLiteral("grand"));
    QCOMPARE(postRefusal(a), QStringLiteral("'grand' n'est pas une valeur en virgule flottante "
                                            "correcte pour le champ 'Taille'"));
    a.setValue(QStringLiteral("End_Size"), QString());
    // Every field of the card that can be refused is named as the card does.
    for (const char* f : {"Name",
                          "Sex",
                          "Color",
                          "BirthDay_Date",
                          "BirthDay_City",
                          "BirthDay_Weight",
                          "BirthDay_Size",
                          "Begin_Date",
                          "Begin_Breeder",
                          "Begin_Weight",
                          "Begin_Size",
                          "End_Date",
                          "End_Type",
                          "End_Weight",
                          "End_Size",
                          "Identification_No",
                          "Identification_Type",
                          "Identification_Location",
                          "Blood",
                          "Weight",
                          "Size"}) {
        const Field& field = a.field(a.fieldIndex(QString::fromLatin1(f)));
        QVERIFY2(field.caption() != field.column, f);
    }
    a.setValue(QStringLiteral("Identification_No"), QString(129, QLatin1Char('7')));
    QVERIFY(postRefusal(a).contains(QStringLiteral("« N° d'identification »")));
    // Captions survive a re-opening.
    a.cancel();
    a.close();
    a.open();
    QCOMPARE(a.field(a.fieldIndex(QStringLiteral("End_Weight"))).caption(),
             QStringLiteral("Poids"));
}

void TestDataSet::fieldListsShowOnlyWhatTheyName()
{
    DataModule2 m2(m_db->connection);
    DataSet& c = m2.dataSet(QStringLiteral("ConsultRepaymentQuery"));
    DataSetModel model(&c);
    c.open();
    QStringList headers;
    for (int i = 0; i < model.columnCount(); ++i)
        headers << model.headerData(i, Qt::Horizontal).toString();
    QCOMPARE(headers, QStringList({QStringLiteral("Date"), QStringLiteral("Heure"),
                                   QStringLiteral("Montant"), QStringLiteral("Praticien"),
                                   QStringLiteral("Pathologie"), QStringLiteral("Gravité"),
                                   QStringLiteral("Objet de la visite"),
                                   QStringLiteral("Remarque du praticien")}));
    // The columns it does not name are still there to be read.
    QVERIFY(c.hasField(QStringLiteral("Convention")));
    // A data set without a field list shows all its columns.
    DataSet& v = ds("Vaccine");
    DataSetModel all(&v);
    v.open();
    QCOMPARE(all.columnCount(), v.fieldCount());

    // Calculated titles are as long as their field, 128 characters.
    const QString name(120, QLatin1Char('D'));
    m_db->connection.exec(QStringLiteral("INSERT INTO LST_DOCTOR (Id, Name, Category) VALUES "
                                         "(1, ?, 'Vétérinaire comportementaliste')"),
                          {name});
    m_db->connection.exec(QStringLiteral("INSERT INTO LST_ILLNESS (Id, Title, Gravity) VALUES "
                                         "(1, ?, 'Sévère')"),
                          {QString(128, QLatin1Char('I'))});
    m_db->connection.exec(QStringLiteral(
        "INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Id_Illness) VALUES (4, 1, 1, 1)"));
    c.close();
    c.replaceWhereLine(QStringLiteral("WHERE ID_REF=4 AND TAG=1"));
    c.open();
    QCOMPARE(c.asString(QStringLiteral("Doctor")),
             QString(name + QStringLiteral(" (Vétérinaire comportementaliste)")).left(128));
    QCOMPARE(c.asString(QStringLiteral("Illness")).size(), 128);
    DataSet& q = ds("ConsultQuery");
    q.replaceWhereLine(QStringLiteral("WHERE ID_REF=4 AND TAG=1"));
    q.open();
    QCOMPARE(q.asString(QStringLiteral("Doctor")).size(), 128);
}

void TestDataSet::fieldNamesFollowTheStatementReopened()
{
    // Spellings already asked for must not keep the columns of an earlier
    // statement once another is opened.
    DataSet& q = m_module->query();
    q.setSql({QStringLiteral("SELECT 1 AS Alpha, 2 AS Beta")});
    q.open();
    QCOMPARE(q.fieldIndex(QStringLiteral("Beta")), 1);
    QCOMPARE(q.fieldIndex(QStringLiteral("BETA")), 1);
    QCOMPARE(q.fieldIndex(QStringLiteral("Gamma")), -1);
    QCOMPARE(q.value(QStringLiteral("beta")).toInt(), 2);
    q.close();
    q.setSql({QStringLiteral("SELECT 3 AS Gamma, 4 AS Beta")});
    q.open();
    QCOMPARE(q.fieldIndex(QStringLiteral("Beta")), 1);
    QCOMPARE(q.fieldIndex(QStringLiteral("Gamma")), 0);
    QCOMPARE(q.fieldIndex(QStringLiteral("Alpha")), -1);
    QCOMPARE(q.value(QStringLiteral("Gamma")).toInt(), 3);
    q.close();
    q.setSql({QStringLiteral("SELECT 5 AS Beta")});
    q.open();
    QCOMPARE(q.fieldIndex(QStringLiteral("BETA")), 0);
    QCOMPARE(q.fieldIndex(QStringLiteral("Gamma")), -1);
    q.close();
}

QTEST_GUILESS_MAIN(TestDataSet)
#include "tst_dataset.moc"

void TestDataSet::columnsAfterThePicturesAreReadOnlyWhenAskedFor()
{
    // Twenty animals with a 64 KB photo each, their two texts stored after it.
    const QByteArray photo(64 * 1024, 'p');
    {
        Transaction tx(m_db->connection);
        for (int i = 1; i <= 20; ++i) {
            m_db->connection.exec(
                QStringLiteral("INSERT INTO ANIMAL (Name, Img1, Comment1, Custom00144243) "
                               "VALUES (?, ?, ?, ?)"),
                {QStringLiteral("Animal %1").arg(i, 2, 10, QLatin1Char('0')), photo,
                 QStringLiteral("%1,5").arg(i),
                 i == 2 ? QVariant() : QVariant(QStringLiteral("x"))});
        }
        tx.commit();
    }
    sqlite3* handle = m_db->connection.sqliteHandle();
    m_db->connection.exec(QStringLiteral("PRAGMA shrink_memory"));
    int misses = 0;
    int highest = 0;
    sqlite3_db_status(handle, SQLITE_DBSTATUS_CACHE_MISS, &misses, &highest, 1);

    DataSet& a = m_module->animal();
    a.open();
    sqlite3_db_status(handle, SQLITE_DBSTATUS_CACHE_MISS, &misses, &highest, 0);
    // Walking the photos would read 16 pages per animal.
    QVERIFY2(misses < 40, qPrintable(QString::number(misses)));
    QCOMPARE(a.recordCount(), 20);

    // Described as the table stores them, read as stored, from every reader.
    const int weight = a.fieldIndex(QStringLiteral("Weight"));
    const int size = a.fieldIndex(QStringLiteral("Size"));
    QVERIFY(weight >= 0 && size >= 0);
    QVERIFY(a.field(weight).writable);
    QCOMPARE(a.field(weight).column, QStringLiteral("Comment1"));
    QCOMPARE(a.valueAt(0, weight), QVariant(QStringLiteral("1,5")));
    QCOMPARE(a.displayTextAt(2, weight), QStringLiteral("3,5"));
    QVERIFY(a.locate(QStringLiteral("Weight"), QStringLiteral("2,5")));
    QCOMPARE(a.asString(QStringLiteral("Name")), QStringLiteral("Animal 02"));
    QVERIFY(a.isNull(QStringLiteral("Size")));
    QCOMPARE(a.displayText(QStringLiteral("Size")), QString());
    DataSetModel model(&a);
    QCOMPARE(model.data(model.index(4, model.columnOfField(QStringLiteral("Size")))).toString(),
             QStringLiteral("x"));

    // An animal whose texts were never asked for is edited from what is
    // stored: the hooks see it, and the post keeps it.
    a.moveTo(9);
    a.setValue(QStringLiteral("Name"), QStringLiteral("Animal 10 bis"));
    QCOMPARE(a.value(QStringLiteral("Weight")), QVariant(QStringLiteral("10,5")));
    a.post();
    QCOMPARE(m_db->connection
                 .scalar(QStringLiteral("SELECT Comment1 || '|' || typeof(Comment1) FROM ANIMAL "
                                        "WHERE Name = 'Animal 10 bis'"))
                 .toString(),
             QStringLiteral("10,5|text"));
    a.moveTo(14);
    a.setValue(QStringLiteral("Weight"), QVariant());
    a.post();
    QVERIFY(m_db->connection
                .scalar(QStringLiteral("SELECT Comment1 FROM ANIMAL WHERE Name = 'Animal 15'"))
                .isNull());
    QVERIFY(a.isNull(QStringLiteral("Weight")));

    // A new animal shows what was written.
    a.append();
    a.setValue(QStringLiteral("Name"), QStringLiteral("Animal 21"));
    a.setValue(QStringLiteral("Size"), QStringLiteral("45"));
    a.post();
    QCOMPARE(a.value(QStringLiteral("Size")), QVariant(QStringLiteral("45")));
}
