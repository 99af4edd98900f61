#include "TestDatabase.h"
#include "TestText.h"

#include "db/DbError.h"
#include "db/ReminderStore.h"

#include <QtTest>

using namespace tav;

namespace {

// One vaccination row; a null QVariant leaves the column NULL.
qint64 addShot(Connection& c, qint64 animal, const QVariant& vaccine, const QString& date,
               const QVariant& repeat, const QString& time = QString())
{
    c.exec(QStringLiteral("INSERT INTO VACCINE (Id_Ref, Id_Vaccine, Date_Vaccine, Time_Vaccine, "
                          "Repeat_Date, Repeat_Exe) VALUES (?, ?, ?, ?, ?, 0)"),
           {animal, vaccine, date, time, repeat});
    return c.lastInsertId();
}

bool due(Connection& c, qint64 id)
{
    return c.scalar(QStringLiteral("SELECT Repeat_Exe FROM VACCINE WHERE Id=?"), {id}).toInt() != 0;
}

} // namespace

class TestReminderStore : public QObject
{
    Q_OBJECT
private slots:
    void aReminderLeavesWhenRenewedAndComesBackWhenTheRenewalGoes();
    void sameDayVaccinationsLeaveTheLaterRowDueWhateverTheTime();
    void anOlderRenewalLeavesTheReminderDue();
    void aClearedReminderDateIsNeverDue();
    void vaccinesAndAnimalsNeverAffectEachOther();
    void vaccinationsWithoutVaccineCompareWithEachOther();
    void aFailedWriteLeavesEveryFlagAsItWas();
    void currentFlagsAreNotWrittenAgain();
    void storedDatesReadWithoutTheirTime();
    void dueRemindersOfAllAnimalsSkipDepartedAnimals();
    void dueRemindersOfAllAnimalsReadDatesAndKeysAsTheRuleDoes();
    void noticedRemindersKeepPastAndComingOnesOfEachAnimal();
};

void TestReminderStore::aReminderLeavesWhenRenewedAndComesBackWhenTheRenewalGoes()
{
    TestDatabase db;
    Connection& c = db.connection;
    ReminderStore store(c);
    const qint64 first = addShot(c, 1, 1, u("2025-03-01"), u("2026-03-01"));
    store.refreshVaccineReminders(1);
    QVERIFY(due(c, first));

    const qint64 later = addShot(c, 1, 1, u("2026-02-20"), u("2027-02-20"));
    store.refreshVaccineReminders(1);
    QVERIFY(!due(c, first));
    QVERIFY(due(c, later));

    c.exec(QStringLiteral("DELETE FROM VACCINE WHERE Id=?"), {later});
    store.refreshVaccineReminders(1);
    QVERIFY(due(c, first));
}

void TestReminderStore::sameDayVaccinationsLeaveTheLaterRowDueWhateverTheTime()
{
    TestDatabase db;
    Connection& c = db.connection;
    c.exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name) VALUES (1, ?)"), {u("Médor")});
    // The row entered last stands, even though its time of day is earlier.
    const qint64 evening = addShot(c, 1, 4, u("2026-01-10"), u("2027-01-10"), u("19:30"));
    const qint64 morning = addShot(c, 1, 4, u("2026-01-10"), u("2027-01-10"), u("08:00"));
    ReminderStore store(c);
    store.refreshVaccineReminders(1);
    QVERIFY(!due(c, evening));
    QVERIFY(due(c, morning));
    // The list of every animal's reminders agrees with the stored flags.
    const QVector<DueReminder> all = store.dueRemindersOfAllAnimals();
    QCOMPARE(all.size(), 1);
    QCOMPARE(all.at(0).vaccinationId, morning);

    // Once the standing row goes, the other one is due again.
    c.exec(QStringLiteral("DELETE FROM VACCINE WHERE Id=?"), {morning});
    store.refreshVaccineReminders(1);
    QVERIFY(due(c, evening));
}

void TestReminderStore::anOlderRenewalLeavesTheReminderDue()
{
    TestDatabase db;
    Connection& c = db.connection;
    const qint64 recent = addShot(c, 1, 2, u("2025-06-01"), u("2026-06-01"));
    const qint64 older = addShot(c, 1, 2, u("2024-06-01"), u("2025-06-01"));
    ReminderStore(c).refreshVaccineReminders(1);
    QVERIFY(due(c, recent));
    QVERIFY(!due(c, older));
}

void TestReminderStore::aClearedReminderDateIsNeverDue()
{
    TestDatabase db;
    Connection& c = db.connection;
    const qint64 nullDate = addShot(c, 1, 1, u("2025-01-01"), QVariant());
    const qint64 emptyText = addShot(c, 1, 2, u("2025-01-01"), u(""));
    // A flag left true by an older run must be cleared too.
    c.exec(QStringLiteral("UPDATE VACCINE SET Repeat_Exe=1"));
    ReminderStore(c).refreshVaccineReminders(1);
    QVERIFY(!due(c, nullDate));
    QVERIFY(!due(c, emptyText));
}

void TestReminderStore::vaccinesAndAnimalsNeverAffectEachOther()
{
    TestDatabase db;
    Connection& c = db.connection;
    const qint64 rabies = addShot(c, 1, 1, u("2025-01-01"), u("2026-01-01"));
    addShot(c, 1, 2, u("2025-12-01"), u("2026-12-01"));
    // Another animal's later rabies shot, and a flag of its own that the
    // run must not touch even though the rule would clear it.
    const qint64 otherLater = addShot(c, 2, 1, u("2025-11-01"), QVariant());
    c.exec(QStringLiteral("UPDATE VACCINE SET Repeat_Exe=1 WHERE Id=?"), {otherLater});
    ReminderStore(c).refreshVaccineReminders(1);
    QVERIFY(due(c, rabies));
    QVERIFY(due(c, otherLater));
}

void TestReminderStore::vaccinationsWithoutVaccineCompareWithEachOther()
{
    TestDatabase db;
    Connection& c = db.connection;
    // NULL and an empty key both mean "no vaccine": the later one renews
    // the older, and a title with a quote changes nothing.
    c.exec(QStringLiteral("INSERT INTO LST_VACCINE (Id, Title) VALUES (1, ?)"), {u("L'anti'rage")});
    const qint64 older = addShot(c, 1, QVariant(), u("2025-01-01"), u("2026-01-01"));
    const qint64 newer = addShot(c, 1, u(""), u("2025-05-01"), u("2026-05-01"));
    const qint64 rabies = addShot(c, 1, 1, u("2024-01-01"), u("2025-01-01"));
    ReminderStore(c).refreshVaccineReminders(1);
    QVERIFY(!due(c, older));
    QVERIFY(due(c, newer));
    QVERIFY(due(c, rabies));
}

void TestReminderStore::aFailedWriteLeavesEveryFlagAsItWas()
{
    TestDatabase db;
    Connection& c = db.connection;
    const qint64 a = addShot(c, 1, 1, u("2025-01-01"), u("2026-01-01"));
    const qint64 b = addShot(c, 1, 2, u("2025-02-01"), u("2026-02-01"));
    const qint64 last = addShot(c, 1, 3, u("2025-03-01"), u("2026-03-01"));
    c.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON VACCINE WHEN NEW.Id = %1 "
                          "BEGIN SELECT RAISE(ABORT, 'refused'); END")
               .arg(last));
    QVERIFY_THROWS_EXCEPTION(DbError, ReminderStore(c).refreshVaccineReminders(1));
    QVERIFY(!due(c, a));
    QVERIFY(!due(c, b));
    QVERIFY(!c.inTransaction());
}

void TestReminderStore::currentFlagsAreNotWrittenAgain()
{
    TestDatabase db;
    Connection& c = db.connection;
    const qint64 due1 = addShot(c, 1, 1, u("2025-01-01"), u("2026-01-01"));
    const qint64 unset = addShot(c, 1, 2, u("2025-01-01"), QVariant());
    const qint64 oddTrue = addShot(c, 1, 3, u("2025-01-01"), u("2026-01-01"));
    // A NULL flag and a true stored as -1 are put right too.
    c.exec(QStringLiteral("UPDATE VACCINE SET Repeat_Exe=NULL WHERE Id=?"), {unset});
    c.exec(QStringLiteral("UPDATE VACCINE SET Repeat_Exe=-1 WHERE Id=?"), {oddTrue});
    ReminderStore(c).refreshVaccineReminders(1);
    QCOMPARE(c.scalar(QStringLiteral("SELECT Repeat_Exe FROM VACCINE WHERE Id=?"), {unset}),
             QVariant(qlonglong(0)));
    QCOMPARE(c.scalar(QStringLiteral("SELECT Repeat_Exe FROM VACCINE WHERE Id=?"), {oddTrue}),
             QVariant(qlonglong(1)));
    QVERIFY(due(c, due1));

    // Once current, a second run writes nothing: a refused write does not
    // stop it.
    c.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON VACCINE "
                          "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    ReminderStore(c).refreshVaccineReminders(1);
    QVERIFY(due(c, due1));
}

void TestReminderStore::storedDatesReadWithoutTheirTime()
{
    QCOMPARE(ReminderStore::storedDate(u("2026-03-01 23:59:00")), QDate(2026, 3, 1));
    QCOMPARE(ReminderStore::storedDate(u("2026-03-01T00:00:00")), QDate(2026, 3, 1));
    QCOMPARE(ReminderStore::storedDate(u("01/03/2026")), QDate(2026, 3, 1));
    QVERIFY(!ReminderStore::storedDate(u("  ")).isValid());
    QVERIFY(!ReminderStore::storedDate(QVariant()).isValid());

    // A renewal stored with its time on the same day still renews.
    TestDatabase db;
    Connection& c = db.connection;
    const qint64 first = addShot(c, 1, 1, u("2026-03-01 18:00:00"), u("2027-03-01"));
    addShot(c, 1, 1, u("2026-03-01"), QVariant());
    ReminderStore(c).refreshVaccineReminders(1);
    QVERIFY(!due(c, first));
}

void TestReminderStore::dueRemindersOfAllAnimalsSkipDepartedAnimals()
{
    TestDatabase db;
    Connection& c = db.connection;
    c.exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name) VALUES (1, ?), (2, ?), (3, ?)"),
           {u("Médor"), u("Caramel"), u("Vieux")});
    c.exec(QStringLiteral("UPDATE ANIMAL SET End_Date='12/04/2025' WHERE Id=3"));
    c.exec(QStringLiteral("INSERT INTO LST_VACCINE (Id, Title, Category) VALUES (1, ?, ?)"),
           {u("Rage"), u("Chien")});
    c.exec(QStringLiteral("INSERT INTO LST_DOCTOR (Id, Name, Category) VALUES (1, ?, ?)"),
           {u("Dr Lenoir"), u("Vétérinaire")});
    const qint64 medor = addShot(c, 1, 1, u("2025-05-01"), u("2026-05-01"));
    c.exec(QStringLiteral("UPDATE VACCINE SET Id_Org=1 WHERE Id=?"), {medor});
    addShot(c, 1, 1, u("2024-05-01"), u("2025-05-01")); // renewed
    const qint64 caramel = addShot(c, 2, 1, u("2025-01-01"), u("2026-01-01"));
    addShot(c, 3, 1, u("2025-01-01"), u("2026-01-01")); // departed
    addShot(c, 9, 1, u("2025-01-01"), u("2026-01-01")); // no such animal

    const QVector<DueReminder> all = ReminderStore(c).dueRemindersOfAllAnimals();
    QCOMPARE(all.size(), 2);
    QCOMPARE(all.at(0).vaccinationId, caramel);
    QCOMPARE(all.at(1).vaccinationId, medor);
    QCOMPARE(all.at(1).animalName, u("Médor"));
    QCOMPARE(all.at(1).vaccineTitle, u("Rage"));
    QCOMPARE(all.at(1).vaccineCategory, u("Chien"));
    QCOMPARE(all.at(1).doctor, u("Dr Lenoir (Vétérinaire)"));
    QCOMPARE(all.at(1).vaccinationDate, QDate(2025, 5, 1));
    QCOMPARE(all.at(1).reminderDate, QDate(2026, 5, 1));
    // Reading leaves the stored flags alone.
    QVERIFY(!due(c, medor));
}

void TestReminderStore::dueRemindersOfAllAnimalsReadDatesAndKeysAsTheRuleDoes()
{
    // Dates stored in every form a booklet holds, keys that fall together:
    // the booklet-wide list picks what the per-animal rule picks, whatever
    // the engine would make of the texts.
    TestDatabase db;
    Connection& c = db.connection;
    c.exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name, End_Date) VALUES (1, 'A', NULL), "
                          "(2, 'B', ''), (3, 'C', '  '), (4, 'D', NULL), (5, 'E', NULL)"));
    // A day-first date is later than an ISO text that sorts after it.
    const qint64 march = addShot(c, 1, 1, u("01/03/2025"), u("01/03/2026"));
    const qint64 december = addShot(c, 1, 1, u("2024-12-01"), u("2025-12-01"));
    // A time after the date; a later renewal of another vaccine changes
    // nothing.
    const qint64 timed = addShot(c, 2, 2, u("2025-06-01 18:00:00"), u("2026-06-01"));
    const qint64 older = addShot(c, 2, 2, u("2025-05-31"), u("2026-05-31"));
    const qint64 other = addShot(c, 2, 3, u("2025-07-01"), u("2026-07-01"));
    // No vaccine, empty or 0 fall together; on the same day the higher key
    // stands. The animal's departure date is only blanks: still kept.
    const qint64 none = addShot(c, 3, QVariant(), u("2025-05-05"), u("2026-05-05"));
    const qint64 zero = addShot(c, 3, 0, u("2025-05-05"), u("2026-05-05"));
    const qint64 empty = addShot(c, 3, u(""), u("2024-01-01"), u("2025-01-01"));
    // Without a date (none, or one that does not exist) nothing renews it,
    // and it renews nothing.
    const qint64 undated = addShot(c, 4, 5, QString(), u("2026-01-01"));
    const qint64 impossible = addShot(c, 4, 6, u("2025-02-30"), u("2026-02-28"));
    const qint64 before = addShot(c, 4, 6, u("2024-01-01"), u("2025-01-01"));
    const qint64 dated = addShot(c, 4, 5, u("2025-01-01"), u("2026-01-01"));
    // No reminder date, or one that reads as none.
    addShot(c, 5, 7, u("2025-01-01"), QVariant());
    addShot(c, 5, 8, u("2025-01-01"), u("bientôt"));

    QList<qint64> ids;
    for (const DueReminder& r : ReminderStore(c).dueRemindersOfAllAnimals())
        ids << r.vaccinationId;
    std::sort(ids.begin(), ids.end());
    QList<qint64> expected{march, timed, other, zero, undated, impossible, before, dated};
    std::sort(expected.begin(), expected.end());
    QCOMPARE(ids, expected);
    for (const qint64 renewed : {december, older, none, empty})
        QVERIFY(!ids.contains(renewed));

    const QVector<DueReminder> all = ReminderStore(c).dueRemindersOfAllAnimals();
    const auto found = std::find_if(all.cbegin(), all.cend(), [march](const DueReminder& r) {
        return r.vaccinationId == march;
    });
    QVERIFY(found != all.cend());
    QCOMPARE(found->vaccinationDate, QDate(2025, 3, 1));
    QCOMPARE(found->reminderDate, QDate(2026, 3, 1));
    const auto noDate = std::find_if(all.cbegin(), all.cend(), [undated](const DueReminder& r) {
        return r.vaccinationId == undated;
    });
    QVERIFY(noDate != all.cend());
    QVERIFY(!noDate->vaccinationDate.isValid());
}

void TestReminderStore::noticedRemindersKeepPastAndComingOnesOfEachAnimal()
{
    TestDatabase db;
    Connection& c = db.connection;
    c.exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name) VALUES (1, ?), (2, ?), (3, ?), (4, ?)"),
           {u("Médor"), u("Caramel"), u("Vieux"), u("Filou")});
    c.exec(QStringLiteral("UPDATE ANIMAL SET End_Date='12/04/2025' WHERE Id=3"));
    c.exec(QStringLiteral("INSERT INTO LST_VACCINE (Id, Title) VALUES (1, ?), (2, ?)"),
           {u("Rage"), u("Leucose")});
    const QDate today(2026, 12, 9);
    // Rows of different animals interleaved, as they are entered.
    const qint64 medorLate = addShot(c, 1, 1, u("2012-05-01"), u("2013-05-01"));
    const qint64 caramelSoon = addShot(c, 2, 2, u("2025-12-14"), u("2026-12-14"));
    addShot(c, 1, 2, u("2025-12-30"), u("2026-12-30")); // too far ahead
    addShot(c, 3, 1, u("2020-01-01"), u("2021-01-01")); // departed
    const qint64 caramelLate = addShot(c, 2, 1, u("2025-01-01"), u("2026-01-01"));
    addShot(c, 2, 1, u("2024-01-01"), u("2025-01-01")); // renewed since
    addShot(c, 4, 1, u("2025-01-01"), QVariant());      // no reminder
    addShot(c, 9, 1, u("2020-01-01"), u("2021-01-01")); // no such animal
    const qint64 unnamed = addShot(c, 1, QVariant(), u("2026-01-01"), u("2026-12-09"));

    const NoticedReminders n = ReminderStore(c).noticedReminders(today, 7);
    QCOMPARE(n.animalNames, QVector<QString>({u("Médor"), u("Caramel")}));
    QCOMPARE(n.animalIds, QVector<qint64>({1, 2}));
    // Each title once, and an empty one for the vaccination naming none.
    QCOMPARE(n.vaccineTitles, QVector<QString>({u("Rage"), QString(), u("Leucose")}));
    QCOMPARE(n.rows.size(), 4);
    const auto row = [&n](int i) {
        const NoticedReminders::Row& r = n.rows.at(i);
        return QStringList{QString::number(r.vaccinationId), n.animalNames.at(r.animal),
                           n.vaccineTitles.at(r.vaccine),
                           QDate::fromJulianDay(r.reminderDay).toString(Qt::ISODate)};
    };
    QCOMPARE(row(0),
             QStringList({QString::number(medorLate), u("Médor"), u("Rage"), u("2013-05-01")}));
    QCOMPARE(row(1),
             QStringList({QString::number(unnamed), u("Médor"), QString(), u("2026-12-09")}));
    QCOMPARE(row(2), QStringList({QString::number(caramelSoon), u("Caramel"), u("Leucose"),
                                  u("2026-12-14")}));
    QCOMPARE(row(3),
             QStringList({QString::number(caramelLate), u("Caramel"), u("Rage"), u("2026-01-01")}));

    // Asked to stop, it reads no further.
    const std::atomic<bool> stop{true};
    QVERIFY(ReminderStore(c).noticedReminders(today, 7, &stop).rows.isEmpty());
}

QTEST_GUILESS_MAIN(TestReminderStore)
#include "tst_reminderstore.moc"
