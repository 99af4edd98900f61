#include "AppFixture.h"
#include "ModalAnswer.h"
#include "TestText.h"

#include "booklet/TMainForm.h"
#include "core/Clock.h"
#include "db/Connection.h"
#include "db/DataSet.h"
#include "dialogs/TEnterEvents.h"
#include "ui/MessageBox.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

using namespace tav;
using tav::test::ModalAnswer;

class TestEventPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void cancelledAddLeavesNothingAndEmptyPageHasNoChange();
    void addedEventShowsAtOnceAndTakesItsPlaceOnReload();
    void changeAndDeleteFollowTheQuestion();

private:
    void seed(const QStringList& statements);
    QToolButton* button(const char* name) const
    {
        return m_app->component<QToolButton>(QString::fromLatin1(name));
    }
    QTableView* grid() const { return m_app->component<QTableView>(QStringLiteral("Grid_Event")); }
    QStringList column(int c) const;
    void showEvents();
    int count() const;

    std::unique_ptr<AppFixture> m_app;
    std::unique_ptr<Clock::Fixed> m_clock;
};

void TestEventPage::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestEventPage::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    m_clock = std::make_unique<Clock::Fixed>(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    QVERIFY(m_app->start());
    seed({QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Médor')")});
}

void TestEventPage::cleanup()
{
    m_app.reset();
    m_clock.reset();
}

void TestEventPage::seed(const QStringList& statements)
{
    QVERIFY(m_app->restartWith(statements));
}

void TestEventPage::showEvents()
{
    auto* tabs = m_app->component<QTabBar>(QStringLiteral("TabNoteBook"));
    tabs->setCurrentIndex(0);
    tabs->setCurrentIndex(8);
}

QStringList TestEventPage::column(int c) const
{
    QStringList out;
    for (int r = 0; r < grid()->model()->rowCount(); ++r)
        out << grid()->model()->index(r, c).data().toString();
    return out;
}

int TestEventPage::count() const
{
    return m_app->startup()
        ->mainForm()
        ->context()
        .connection->scalar(QStringLiteral("SELECT COUNT(*) FROM EVENT"))
        .toInt();
}

void TestEventPage::cancelledAddLeavesNothingAndEmptyPageHasNoChange()
{
    showEvents();
    QVERIFY(button("Btn_Event_Add")->isEnabled());
    QVERIFY(!button("Btn_Event_Edit")->isEnabled());
    QVERIFY(!button("Btn_Event_Delete")->isEnabled());
    QStringList headers;
    for (int c = 0; c < grid()->model()->columnCount(); ++c)
        headers << grid()->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers, strings({"Date", "Heure", "Description"}));

    QString shownDate;
    auto answer = ModalAnswer::when<TEnterEvents>([&shownDate](TEnterEvents* w) {
        shownDate = w->findChild<QLineEdit*>(QStringLiteral("Ed_Event_Date"))->text();
        w->findChild<QPushButton*>(QStringLiteral("Btn_Cancel"))->click();
    });
    button("Btn_Event_Add")->click();
    QVERIFY(answer.seen());
    QCOMPARE(shownDate, QStringLiteral("09/12/2026"));
    QCOMPARE(count(), 0);
    QCOMPARE(grid()->model()->rowCount(), 0);
    QVERIFY(!button("Btn_Event_Edit")->isEnabled());

    // A double-click on the empty grid opens nothing.
    auto none = ModalAnswer::when<TEnterEvents>([](TEnterEvents*) {}, 200);
    emit grid()->doubleClicked(QModelIndex());
    QTest::qWait(300);
    QVERIFY(!none.seen());
}

void TestEventPage::addedEventShowsAtOnceAndTakesItsPlaceOnReload()
{
    seed({QStringLiteral("INSERT INTO EVENT (Id_Ref, Date_Event, Time_Event, Description) "
                         "VALUES (1, '2026-12-09', '18:00', 'Promenade')")});
    showEvents();
    auto answer = ModalAnswer::when<TEnterEvents>([](TEnterEvents* w) {
        auto* time = w->findChild<QLineEdit*>(QStringLiteral("Ed_Event_Time"));
        time->setFocus();
        QTest::keyClick(time, Qt::Key_Home);
        QTest::keyClicks(time, QStringLiteral("0815"));
        w->findChild<QPlainTextEdit*>(QStringLiteral("Ed_Description"))
            ->setPlainText(u("Vermifuge"));
        w->okButton()->click();
    });
    button("Btn_Event_Add")->click();
    QVERIFY(answer.seen());
    QCOMPARE(MessageBox::shownMessages().size(), 0);
    QCOMPARE(count(), 2);
    // Shown at once where it was appended...
    QCOMPARE(column(2), strings({"Promenade", "Vermifuge"}));
    QVERIFY(button("Btn_Event_Edit")->isEnabled());
    // ...and in its place by date and time the next time the page loads.
    showEvents();
    QCOMPARE(column(1), strings({"08:15", "18:00"}));
    QCOMPARE(column(2), strings({"Vermifuge", "Promenade"}));
}

void TestEventPage::changeAndDeleteFollowTheQuestion()
{
    seed({QStringLiteral("INSERT INTO EVENT (Id_Ref, Date_Event, Description) VALUES (1, "
                         "'2026-01-05', 'Vaccin oublié')"),
          QStringLiteral("INSERT INTO EVENT (Id_Ref, Date_Event, Description) VALUES (2, "
                         "'2026-01-06', 'Autre animal')")});
    showEvents();
    QCOMPARE(column(2), strings({"Vaccin oublié"}));
    auto answer = ModalAnswer::when<TEnterEvents>([](TEnterEvents* w) {
        w->findChild<QPlainTextEdit*>(QStringLiteral("Ed_Description"))
            ->setPlainText(u("Vaccin fait"));
        w->okButton()->click();
    });
    emit grid()->doubleClicked(grid()->model()->index(0, 2));
    QVERIFY(answer.seen());
    QCOMPARE(column(2), strings({"Vaccin fait"}));

    MessageBox::setNextAnswer(MessageBox::Answer::No);
    button("Btn_Event_Delete")->click();
    QCOMPARE(count(), 2);
    QCOMPARE(MessageBox::shownMessages().last().text, u("Désirez-vous supprimer cet événement ?"));
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    button("Btn_Event_Delete")->click();
    QCOMPARE(count(), 1);
    QCOMPARE(grid()->model()->rowCount(), 0);
    QVERIFY(!button("Btn_Event_Edit")->isEnabled());
    QVERIFY(!button("Btn_Event_Delete")->isEnabled());
}

QTEST_MAIN(TestEventPage)
#include "tst_eventpage.moc"
