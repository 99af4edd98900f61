#include "core/VaccineReminders.h"

#include <QtTest>

using namespace tav;

class TestVaccineReminders : public QObject
{
    Q_OBJECT
private slots:
    void aReminderIsDueUntilTheSameVaccineIsGivenAgain();
    void statusAgainstToday_data();
    void statusAgainstToday();
};

void TestVaccineReminders::aReminderIsDueUntilTheSameVaccineIsGivenAgain()
{
    const QVector<Vaccination> shots = {
        {1, 10, QDate(2024, 3, 2), QDate(2025, 3, 2)}, // renewed by shot 2
        {2, 10, QDate(2025, 3, 10), QDate(2026, 3, 10)},
        {3, 20, QDate(2025, 5, 1), QDate()},           // no reminder
        {4, 30, QDate(2025, 6, 1), QDate(2026, 6, 1)}, // renewed the same day
        {5, 30, QDate(2025, 6, 1), QDate(2026, 6, 1)}, // by the later row, which stands
        {6, 40, QDate(2025, 7, 1), QDate(2026, 7, 1)}, // an older shot does not renew
        {7, 40, QDate(2024, 7, 1), QDate(2025, 7, 1)}};
    QCOMPARE(dueReminders(shots), (QSet<qint64>{2, 5, 6}));
    QVERIFY(dueReminders({}).isEmpty());
}

void TestVaccineReminders::statusAgainstToday_data()
{
    QTest::addColumn<QDate>("repeat");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("kind");
    const auto late = int(ReminderStatus::Kind::Late);
    const auto soon = int(ReminderStatus::Kind::Soon);
    const auto later = int(ReminderStatus::Kind::Later);
    // Today is 2026-12-09 for every row.
    QTest::newRow("yesterday") << QDate(2026, 12, 8) << "En retard de 1 jour" << late;
    QTest::newRow("a year ago") << QDate(2025, 12, 9) << "En retard de 365 jours" << late;
    QTest::newRow("today") << QDate(2026, 12, 9) << "Aujourd'hui" << soon;
    QTest::newRow("tomorrow") << QDate(2026, 12, 10) << "Dans 1 jour" << soon;
    QTest::newRow("in 30 days") << QDate(2027, 1, 8) << "Dans 30 jours" << soon;
    QTest::newRow("in 31 days") << QDate(2027, 1, 9) << "" << later;
    QTest::newRow("none") << QDate() << "" << later;
}

void TestVaccineReminders::statusAgainstToday()
{
    QFETCH(QDate, repeat);
    QFETCH(QString, text);
    QFETCH(int, kind);
    const ReminderStatus s = reminderStatus(repeat, QDate(2026, 12, 9));
    QCOMPARE(int(s.kind), kind);
    QCOMPARE(s.text(), text);
}

QTEST_GUILESS_MAIN(TestVaccineReminders)
#include "TestVaccineReminders.moc"
