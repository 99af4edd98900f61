#include "TestText.h"

#include "output/ReminderTexts.h"

#include <QtTest>

using namespace tav;

namespace {

DueReminder reminder(const char* animal, const char* vaccine, const QDate& date)
{
    DueReminder r;
    r.animalName = u(animal);
    r.vaccineTitle = u(vaccine);
    r.reminderDate = date;
    return r;
}

} // namespace

class TestReminderTexts : public QObject
{
    Q_OBJECT
private slots:
    void noticeLines_data();
    void noticeLines();
    void onlyPastAndNextSevenDaysAreNoticed();
    void overdueTimeInYearsAndMonths_data();
    void overdueTimeInYearsAndMonths();
    void aMonthEndsOnTheLastDayOfAShorterMonth();
    void summaryCountsWithThousandsApart();
};

void TestReminderTexts::noticeLines_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("animal");
    QTest::addColumn<QString>("vaccine");
    QTest::addColumn<QString>("line");
    const QDate today(2026, 12, 9);
    QTest::newRow("late") << today.addDays(-12) << u("Médor") << u("Rage")
                          << u("Médor — Rage, en retard de 12 jours");
    QTest::newRow("one day late") << today.addDays(-1) << u("Médor") << u("Rage")
                                  << u("Médor — Rage, en retard d'un jour");
    QTest::newRow("today") << today << u("Médor") << u("Rage")
                           << u("Médor — Rage, à faire aujourd'hui");
    QTest::newRow("tomorrow") << today.addDays(1) << u("Médor") << u("Rage")
                              << u("Médor — Rage, à faire demain");
    QTest::newRow("in a week") << today.addDays(7) << u("Médor") << u("Rage")
                               << u("Médor — Rage, à faire dans 7 jours");
    // Across a change of year and of clock time alike.
    QTest::newRow("a year back") << QDate(2025, 12, 9) << u("Médor") << u("Rage")
                                 << u("Médor — Rage, en retard d'un an");
    QTest::newRow("no names") << today.addDays(-2) << u(" ") << QString()
                              << u("Animal sans nom — vaccin non précisé, en retard de 2 jours");
}

void TestReminderTexts::overdueTimeInYearsAndMonths_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("delay");
    // Against 9 December 2026.
    QTest::newRow("years and months") << QDate(2013, 2, 5) << u("en retard de 13 ans et 10 mois");
    QTest::newRow("one of each") << QDate(2025, 11, 9) << u("en retard d'un an et un mois");
    QTest::newRow("whole years") << QDate(2024, 12, 9) << u("en retard de 2 ans");
    QTest::newRow("months only") << QDate(2026, 7, 9) << u("en retard de 5 mois");
    QTest::newRow("one month") << QDate(2026, 11, 9) << u("en retard d'un mois");
    QTest::newRow("a day short of a month") << QDate(2026, 11, 10) << u("en retard de 29 jours");
    QTest::newRow("a day short of a year") << QDate(2025, 12, 10) << u("en retard de 11 mois");
    QTest::newRow("leap day") << QDate(2024, 2, 29) << u("en retard de 2 ans et 9 mois");
}

void TestReminderTexts::overdueTimeInYearsAndMonths()
{
    QFETCH(QDate, date);
    QFETCH(QString, delay);
    QCOMPARE(reminderDelayText(date, QDate(2026, 12, 9)), delay);
}

void TestReminderTexts::aMonthEndsOnTheLastDayOfAShorterMonth()
{
    // From the 31st, a month is complete on the last day of the next.
    QCOMPARE(reminderDelayText(QDate(2026, 1, 31), QDate(2026, 2, 28)), u("en retard d'un mois"));
    QCOMPARE(reminderDelayText(QDate(2026, 1, 31), QDate(2026, 2, 27)), u("en retard de 27 jours"));
    QCOMPARE(reminderDelayText(QDate(2026, 3, 31), QDate(2026, 4, 29)), u("en retard de 29 jours"));
    QCOMPARE(reminderDelayText(QDate(2024, 2, 29), QDate(2025, 2, 28)), u("en retard d'un an"));
}

void TestReminderTexts::summaryCountsWithThousandsApart()
{
    QCOMPARE(groupedCount(0), u("0"));
    QCOMPARE(groupedCount(999), u("999"));
    QCOMPARE(groupedCount(5392), u("5 392"));
    QCOMPARE(groupedCount(53920), u("53 920"));
    QCOMPARE(groupedCount(1000000), u("1 000 000"));
    QCOMPARE(reminderNoticeSummary(5392, 812, 0, 0),
             u("Rappels en retard : 5 392 pour 812 animaux"));
    QCOMPARE(reminderNoticeSummary(1, 1, 0, 0), u("Rappel en retard : 1 pour 1 animal"));
    QCOMPARE(reminderNoticeSummary(2, 1, 1, 1),
             u("Rappels en retard : 2 pour 1 animal\nRappel à faire d'ici 7 jours : 1 pour 1 "
               "animal"));
    QCOMPARE(reminderNoticeSummary(0, 0, 3, 2),
             u("Rappels à faire d'ici 7 jours : 3 pour 2 animaux"));
}

void TestReminderTexts::noticeLines()
{
    QFETCH(QDate, date);
    QFETCH(QString, animal);
    QFETCH(QString, vaccine);
    QFETCH(QString, line);
    DueReminder r;
    r.animalName = animal;
    r.vaccineTitle = vaccine;
    r.reminderDate = date;
    QCOMPARE(reminderNoticeLine(r, QDate(2026, 12, 9)), line);
}

void TestReminderTexts::onlyPastAndNextSevenDaysAreNoticed()
{
    const QDate today(2026, 12, 9);
    const QVector<DueReminder> due = {
        reminder("A", "Rage", QDate(2020, 1, 1)), reminder("B", "Rage", today.addDays(7)),
        reminder("C", "Rage", today.addDays(8)), reminder("D", "Rage", QDate())};
    const QVector<DueReminder> noticed = remindersToNotice(due, today);
    QCOMPARE(noticed.size(), 2);
    QCOMPARE(noticed.at(0).animalName, u("A"));
    QCOMPARE(noticed.at(1).animalName, u("B"));
}

QTEST_GUILESS_MAIN(TestReminderTexts)
#include "tst_remindertexts.moc"
