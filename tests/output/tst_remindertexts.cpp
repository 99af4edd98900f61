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
                                 << u("Médor — Rage, en retard de 365 jours");
    QTest::newRow("no names") << today.addDays(-2) << u(" ") << QString()
                              << u("Animal sans nom — vaccin non précisé, en retard de 2 jours");
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
