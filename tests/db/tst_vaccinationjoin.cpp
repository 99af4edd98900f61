#include "TestDatabase.h"

#include "db/DataModule1.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "db/HtmlBookletStore.h"
#include "db/ReportQueries.h"
#include "db/TableFilters.h"

#include <QtTest>

using namespace tav;

// The vaccination page, the reminder window, the printed booklet and the HTML
// booklet read one join: the same animal gives each of them the same rows,
// a vaccination whose vaccine or vet is gone included, and none of another
// animal's.
class TestVaccinationJoin : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void everyReaderSeesTheSameVaccinations();
    void everyReaderSeesTheSameDueReminders();

private:
    // "vaccine|vet" for each row, in date order.
    static QStringList rowsOf(DataSet& d, const QString& vaccine, const QString& vet);
    static QStringList rowsOf(const QVector<BookletVaccination>& rows);

    std::unique_ptr<TestDatabase> m_db;
};

void TestVaccinationJoin::init()
{
    m_db = std::make_unique<TestDatabase>();
    Connection& c = m_db->connection;
    c.exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name) VALUES (4, 'Rex'), (5, 'Mia')"));
    c.exec(QStringLiteral("INSERT INTO LST_VACCINE (Id, Title) VALUES (1, 'Rage'), (2, 'Typhus')"));
    c.exec(QStringLiteral("INSERT INTO LST_DOCTOR (Id, Name) VALUES (7, 'Dr Martin')"));
    const QVariantList rows[] = {
        // animal, vet, vaccine, date, reminder flag
        {4, 7, 1, QStringLiteral("2024-01-10"), 1},
        {4, 0, 2, QStringLiteral("2024-02-10"), 0}, // no vet
        {4, 7, 9, QStringLiteral("2024-03-10"), 1}, // vaccine no longer listed
        {5, 7, 1, QStringLiteral("2024-01-15"), 1}, // another animal
    };
    for (const QVariantList& r : rows)
        c.exec(QStringLiteral("INSERT INTO VACCINE (Id_Ref, Id_Org, Id_Vaccine, Date_Vaccine, "
                              "Time_Vaccine, Repeat_Date, Repeat_Exe) VALUES (?, ?, ?, ?, "
                              "'10:00', '2025-01-01', ?)"),
               r);
}

QStringList TestVaccinationJoin::rowsOf(DataSet& d, const QString& vaccine, const QString& vet)
{
    QStringList out;
    for (d.first(); !d.eof(); d.next())
        out << d.asString(vaccine) + QLatin1Char('|') + d.asString(vet);
    return out;
}

QStringList TestVaccinationJoin::rowsOf(const QVector<BookletVaccination>& rows)
{
    QStringList out;
    for (const BookletVaccination& v : rows)
        out << v.vaccine + QLatin1Char('|') + v.doctor;
    return out;
}

void TestVaccinationJoin::everyReaderSeesTheSameVaccinations()
{
    const QStringList expected = {QStringLiteral("Rage|Dr Martin"), QStringLiteral("Typhus|"),
                                  QStringLiteral("|Dr Martin")};
    DataModule1 pages(m_db->connection, m_db->folder());
    DataSet& page = pages.dataSet(QStringLiteral("VaccineQuery"));
    page.filterBy(QStringLiteral("Vaccine.Id_Ref"), 4);
    page.open();
    QCOMPARE(rowsOf(page, QStringLiteral("Title"), QStringLiteral("Name")), expected);

    DataModuleReport report(m_db->connection);
    reportqueries::openBookletDetails(report, 4);
    QCOMPARE(rowsOf(report.dataSet(QStringLiteral("ReportQueryVaccine")),
                    QStringLiteral("VaccineTitle"), QStringLiteral("DoctorName")),
             expected);

    QCOMPARE(rowsOf(HtmlBookletStore(m_db->connection).booklet(4).vaccinations), expected);
}

void TestVaccinationJoin::everyReaderSeesTheSameDueReminders()
{
    const QStringList expected = {QStringLiteral("Rage|Dr Martin"), QStringLiteral("|Dr Martin")};
    DataModule2 tables(m_db->connection);
    DataSet& window = tables.dataSet(QStringLiteral("RepeatVaccineQuery"));
    tablefilters::dueReminders(4).applyTo(window);
    window.open();
    QCOMPARE(rowsOf(window, QStringLiteral("Title"), QStringLiteral("Name")), expected);

    DataModuleReport report(m_db->connection);
    reportqueries::openReminderDetails(report, 4);
    QCOMPARE(rowsOf(report.dataSet(QStringLiteral("ReportQueryVaccine")),
                    QStringLiteral("VaccineTitle"), QStringLiteral("DoctorName")),
             expected);

    QCOMPARE(rowsOf(HtmlBookletStore(m_db->connection).dueReminders(4)), expected);
}

QTEST_GUILESS_MAIN(TestVaccinationJoin)
#include "tst_vaccinationjoin.moc"
