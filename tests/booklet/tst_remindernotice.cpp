#include "TestDatabase.h"

#include "booklet/ReminderNotice.h"
#include "core/Clock.h"
#include "core/Settings.h"
#include "db/Connection.h"

#include <QWidget>
#include <QtTest>

#include <memory>

using namespace tav;

namespace {

// `animals` animals, each with one rabies shot whose reminder fell a year
// before the clock's day: every animal has a late reminder.
void fillLate(Connection& c, int animals, const QString& name)
{
    Transaction t(c);
    for (int a = 1; a <= animals; ++a) {
        c.exec(QStringLiteral("INSERT INTO ANIMAL (Id, Name) VALUES (?, ?)"),
               {a, QString(name + QString::number(a))});
        c.exec(QStringLiteral("INSERT INTO VACCINE (Id_Ref, Id_Vaccine, Date_Vaccine, "
                              "Repeat_Date) VALUES (?, 1, '2024-06-01', '2025-06-01')"),
               {a});
    }
    c.exec(QStringLiteral("INSERT INTO LST_VACCINE (Id, Title) VALUES (1, 'Rage')"));
    t.commit();
}

} // namespace

class TestReminderNotice : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void theNoticeOpensOverItsWindowOnceRead();
    void aBookletReplacedDuringTheReadShowsNoStaleReminders();
    void aClosedBookletIsNotRead();

private:
    ReminderNotice* noticeOver(QWidget& owner) const { return owner.findChild<ReminderNotice*>(); }
    // Until the reading thread has handed its result over and gone.
    static bool readFinished(QWidget& owner)
    {
        return owner.findChildren<QObject*>(Qt::FindDirectChildrenOnly).isEmpty() ||
               owner.findChild<ReminderNotice*>();
    }

    std::unique_ptr<Clock::Fixed> m_clock;
};

void TestReminderNotice::init()
{
    m_clock = std::make_unique<Clock::Fixed>(QDateTime(QDate(2026, 6, 1), QTime(9, 0)));
}

void TestReminderNotice::cleanup()
{
    m_clock.reset();
}

void TestReminderNotice::theNoticeOpensOverItsWindowOnceRead()
{
    TestDatabase db;
    fillLate(db.connection, 3, QStringLiteral("Ancien "));
    Settings settings;
    QWidget owner;
    owner.show();
    ReminderNotice::showIfDue(&owner, db.connection, settings);
    QTRY_VERIFY(noticeOver(owner));
    QCOMPARE(noticeOver(owner)->lines().size(), 3);
    QVERIFY(noticeOver(owner)->lines().first().startsWith(QStringLiteral("Ancien ")));
}

void TestReminderNotice::aBookletReplacedDuringTheReadShowsNoStaleReminders()
{
    // The result of the read reaches the window only through its event
    // loop, so the booklet is always replaced before it arrives.
    TestDatabase before;
    fillLate(before.connection, 3, QStringLiteral("Ancien "));
    TestDatabase after;
    after.connection.close();
    Settings settings;
    QWidget owner;
    owner.show();
    ReminderNotice::showIfDue(&owner, before.connection, settings);
    // As a restore or an import does: the window is told before the
    // booklet closes, then the connection holds another booklet, which has
    // no reminder at all.
    ReminderNotice::cancelPendingRead(&owner);
    before.connection.open(after.path());
    QTRY_VERIFY(readFinished(owner));
    QTest::qWait(20);
    QVERIFY2(!noticeOver(owner), "the previous booklet's reminders were shown");
}

void TestReminderNotice::aClosedBookletIsNotRead()
{
    // Closed, the booklet's file is being replaced: it may hold either
    // booklet, or half of one.
    TestDatabase db;
    fillLate(db.connection, 3, QStringLiteral("Ancien "));
    db.connection.close();
    Settings settings;
    QWidget owner;
    owner.show();
    ReminderNotice::showIfDue(&owner, db.connection, settings);
    QTest::qWait(200);
    QTRY_VERIFY(readFinished(owner));
    QVERIFY(!noticeOver(owner));
}

QTEST_MAIN(TestReminderNotice)
#include "tst_remindernotice.moc"
