#include "AppFixture.h"
#include "GridText.h"
#include "ModalAnswer.h"
#include "TestText.h"

#include "booklet/AppContext.h"
#include "booklet/ReminderNotice.h"
#include "booklet/TMainForm.h"
#include "booklet/TableCommands.h"
#include "core/Clock.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/FieldFormat.h"
#include "dialogs/TConsultRepaymentList.h"
#include "dialogs/TPharmacyRepaymentList.h"
#include "dialogs/TRepeatVaccineList.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

using namespace tav;
using tav::test::ModalAnswer;

class TestTableCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void reminderItemBringsTheFlagsUpToDateFirst();
    void actAndMedicineItemsShowTheCurrentAnimalsRows();
    void commandBarButtonDropsTheMenuBesideTheBar();
    void startupNoticeListsPastAndComingReminders();
    void theNoticeCanBeTurnedOff();
    void aLargeNoticeGroupsItsLinesByAnimal();
    void theNoticeTakesTheKeyboard();
    void remindersExportAsACalendarFile();

private:
    void seed(const QStringList& statements);
    QAction* item(const char* name) const
    {
        return m_app->startup()->mainForm()->findChild<QAction*>(QString::fromLatin1(name));
    }
    ReminderNotice* notice() const
    {
        return qobject_cast<ReminderNotice*>(AppFixture::findWindow("tav::ReminderNotice"));
    }
    Connection& connection() const { return *m_app->startup()->mainForm()->context().connection; }

    std::unique_ptr<AppFixture> m_app;
    std::unique_ptr<Clock::Fixed> m_clock;
};

void TestTableCommands::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestTableCommands::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    FileDialog::clearRequests();
    FileDialog::clearNextFileNames();
    m_clock = std::make_unique<Clock::Fixed>(QDateTime(QDate(2026, 12, 9), QTime(23, 30)));
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    QVERIFY(m_app->start());
    seed({u("INSERT INTO ANIMAL (Id, Name) VALUES (1, 'Médor'), (2, 'Caramel'), (3, 'Vieux')"),
          u("UPDATE ANIMAL SET End_Date='01/02/2026' WHERE Id=3"),
          u("INSERT INTO LST_VACCINE (Id, Title) VALUES (901, 'Rage'), (902, 'Leucose')"),
          u("INSERT INTO LST_DOCTOR (Id, Name) VALUES (901, 'Dr Martin')"),
          // Médor's rabies reminder is 12 days late; the older one was
          // renewed but its stored flag says otherwise.
          u("INSERT INTO VACCINE (Id_Ref, Id_Org, Id_Vaccine, Date_Vaccine, Time_Vaccine, "
            "Repeat_Date, Repeat_Exe) VALUES (1, 901, 901, '2025-11-27', '10:00', "
            "'2026-11-27', 0), (1, 901, 901, '2024-11-27', '10:00', '2025-11-27', 1)"),
          // Caramel's comes in 5 days, then one in 8 days that waits.
          u("INSERT INTO VACCINE (Id_Ref, Id_Vaccine, Date_Vaccine, Repeat_Date) VALUES "
            "(2, 902, '2025-12-14', '2026-12-14'), (2, 901, '2025-12-17', '2026-12-17')"),
          // A departed animal is not reminded.
          u("INSERT INTO VACCINE (Id_Ref, Id_Vaccine, Date_Vaccine, Repeat_Date) VALUES "
            "(3, 901, '2025-01-01', '2026-01-01')")});
    TMainForm* form = m_app->startup()->mainForm();
    form->buildAnimalList(1);
    QCOMPARE(form->context().module1->animal().asInt(QStringLiteral("Id")), 1);
}

void TestTableCommands::cleanup()
{
    m_app.reset();
    m_clock.reset();
}

void TestTableCommands::seed(const QStringList& statements)
{
    QVERIFY(m_app->restartWith(statements));
}

void TestTableCommands::reminderItemBringsTheFlagsUpToDateFirst()
{
    QVERIFY(item("Item_Table_Rappels")->isEnabled());
    QStringList rows;
    QStringList last;
    QPoint offCentre(-1000, -1000);
    const QRect form = m_app->startup()->mainForm()->frameGeometry();
    auto answer = ModalAnswer::when<TRepeatVaccineList>([&](TRepeatVaccineList* w) {
        rows = columnTexts(w->grid(), 0);
        last = columnTexts(w->grid(), 2);
        offCentre = w->frameGeometry().center() - form.center();
    });
    item("Item_Table_Rappels")->trigger();
    QVERIFY(answer.seen());
    QCOMPARE(rows, strings({"27/11/2026"}));
    QCOMPARE(last, strings({"27/11/2025 - Dr Martin"}));
    // Centred over the main window, halves rounded down.
    QVERIFY2(offCentre.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
    QCOMPARE(connection().scalar(u("SELECT SUM(Repeat_Exe) FROM VACCINE WHERE Id_Ref=1")).toInt(),
             1);
    // Caramel's flags are the current animal's business only.
    QCOMPARE(connection().scalar(u("SELECT SUM(Repeat_Exe) FROM VACCINE WHERE Id_Ref=2")).toInt(),
             0);
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestTableCommands::actAndMedicineItemsShowTheCurrentAnimalsRows()
{
    connection().exec(u("INSERT INTO [ACTION] (Id_Ref, Tag, Date_Action, Price, Repayment, "
                        "Repayment_Comp, Remark1) VALUES (1, 1, '2026-06-12', 62, 0, 1, "
                        "'Contrôle'), (1, 1, '2026-06-13', 20, 1, 0, 'Payé'), (1, 2, "
                        "'2026-06-14', 18.4, 0, 0, 'Gouttes'), (2, 1, '2026-06-12', 5, 0, 0, "
                        "'Caramel')"));
    const QString money = m_app->startup()->mainForm()->moneyFormat();
    QStringList acts;
    QStringList amounts;
    auto answer = ModalAnswer::when<TConsultRepaymentList>([&](TConsultRepaymentList* w) {
        acts = columnTexts(w->grid(), 6);
        amounts = columnTexts(w->grid(), 2);
    });
    item("Item_Table_Actes")->trigger();
    QVERIFY(answer.seen());
    QCOMPARE(acts, strings({"Contrôle"}));
    QCOMPARE(amounts, QStringList{formatNumber(62, money)});

    QStringList medicines;
    answer = ModalAnswer::when<TPharmacyRepaymentList>(
        [&](TPharmacyRepaymentList* w) { medicines = columnTexts(w->grid(), 4); });
    item("Item_Table_Medicaments")->trigger();
    QVERIFY(answer.seen());
    QCOMPARE(medicines, strings({"Gouttes"}));
}

void TestTableCommands::commandBarButtonDropsTheMenuBesideTheBar()
{
    QCOMPARE(TableCommands::popupPosition(QPoint(10, 200)), QPoint(60, 200));
    auto* button = m_app->component<QToolButton>(QStringLiteral("Btn_Table"));
    auto* menu = m_app->component<QMenu>(QStringLiteral("Menu_Tableaux"));
    QVERIFY(button && menu);
    QVERIFY(button->isEnabled());
    // The menu would be moved back inside a screen too small to hold it.
    m_app->startup()->mainForm()->move(0, 0);
    button->click();
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->pos(), button->mapToGlobal(QPoint(50, 0)));
    menu->hide();
}

void TestTableCommands::startupNoticeListsPastAndComingReminders()
{
    QTRY_VERIFY(notice());
    ReminderNotice* shown = notice();
    QVERIFY(!shown->isModal());
    QCOMPARE(shown->windowTitle(), u("Rappels de vaccination"));
    QCOMPARE(shown->findChild<QLabel*>(QStringLiteral("Lab_Notice"))->text(),
             u("Rappel en retard : 1 pour 1 animal\nRappel à faire d'ici 7 jours : 1 pour 1 "
               "animal"));
    QCOMPARE(shown->lines(), strings({"Médor — Rage, en retard de 12 jours",
                                      "Caramel — Leucose, à faire dans 5 jours"}));
    shown->findChild<QPushButton*>(QStringLiteral("Btn_Close"))->click();
    QTRY_VERIFY(!notice());
    // Showing the notice reads only: the stored flags are unchanged.
    QCOMPARE(connection().scalar(u("SELECT SUM(Repeat_Exe) FROM VACCINE")).toInt(), 1);
}

void TestTableCommands::theNoticeCanBeTurnedOff()
{
    QTRY_VERIFY(notice());
    notice()->findChild<QCheckBox*>(QStringLiteral("Chk_NoNotice"))->setChecked(true);
    notice()->close();
    m_app->stop();
    QVERIFY(m_app->start());
    QTest::qWait(50);
    QVERIFY(!notice());
    QVERIFY(!m_app->startup()->mainForm()->context().settings.reminderNotice);
}

void TestTableCommands::aLargeNoticeGroupsItsLinesByAnimal()
{
    // 1,200 animals with five late reminders each, their rows interleaved
    // as they are entered, the most overdue going back 13 years.
    QStringList animals;
    for (int a = 1; a <= 1200; ++a)
        animals << u("(%1, 'Bête %2')").arg(a).arg(a % 40, 2, 10, QLatin1Char('0'));
    QStringList statements{u("DELETE FROM VACCINE"), u("DELETE FROM ANIMAL"),
                           u("INSERT INTO ANIMAL (Id, Name) VALUES ") + animals.join(u(","))};
    for (int shot = 0; shot < 5; ++shot) {
        QStringList rows;
        for (int a = 1; a <= 1200; ++a) {
            const QDate due = QDate(2013, 2, 5).addDays(a * 3 + shot * 150);
            rows << u("(%1, %2, '%3', '%4')")
                        .arg(a)
                        .arg(901 + 2 * shot)
                        .arg(due.addYears(-1).toString(Qt::ISODate), due.toString(Qt::ISODate));
        }
        statements << u("INSERT INTO VACCINE (Id_Ref, Id_Vaccine, Date_Vaccine, Repeat_Date) "
                        "VALUES ") +
                          rows.join(u(","));
    }
    seed(statements);
    QTRY_VERIFY(notice());
    ReminderNotice* shown = notice();
    QVERIFY(m_app->startup()->mainForm()->isVisible());
    QCOMPARE(shown->parentWidget(), m_app->startup()->mainForm());
    QCOMPARE(shown->findChild<QLabel*>(QStringLiteral("Lab_Notice"))->text(),
             u("Rappels en retard : 6 000 pour 1 200 animaux"));
    auto* list = shown->findChild<QAbstractItemView*>(QStringLiteral("List_Reminders"));
    QVERIFY(list);
    QCOMPARE(list->model()->rowCount(), 6000);
    const QStringList lines = shown->lines();
    QCOMPARE(lines.first(), u("Bête 01 — Rage, en retard de 13 ans et 10 mois"));
    QCOMPARE(lines.at(1), u("Bête 01 — vaccin non précisé, en retard de 13 ans et 5 mois"));
    // Each animal's five lines together, the animals by their most overdue
    // reminder.
    QStringList groups;
    for (const QString& line : lines) {
        const QString animal = line.section(QString::fromUtf8(" — "), 0, 0);
        if (groups.isEmpty() || groups.last() != animal)
            groups << animal;
    }
    QCOMPARE(groups.size(), 1200);
    QCOMPARE(groups.at(1), u("Bête 02"));
    QCOMPARE(groups.last(), u("Bête 00"));
    // Escape closes it, like its button.
    shown->activateWindow();
    QTest::keyClick(list, Qt::Key_Escape);
    QTRY_VERIFY(!notice());
}

void TestTableCommands::theNoticeTakesTheKeyboard()
{
    QTRY_VERIFY(notice());
    QVERIFY(QTest::qWaitForWindowActive(notice()));
    QCOMPARE(QApplication::activeWindow(), notice());
    // Ready for Enter as for Escape, and never shown without the keyboard.
    QVERIFY(!notice()->testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(QApplication::focusWidget(), notice()->findChild<QPushButton*>(u("Btn_Close")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_VERIFY(!notice());
}

void TestTableCommands::remindersExportAsACalendarFile()
{
    QTemporaryDir dir;
    // Proposed in the data folder's Export folder, made again if removed.
    const QString exportFolder =
        m_app->startup()->mainForm()->context().dataFolder + QStringLiteral("Export/");
    QVERIFY(QDir(exportFolder).removeRecursively());
    FileDialog::setNextFileName(dir.filePath(QStringLiteral("rappels")));
    item("Item_Table_Ics")->trigger();
    QVERIFY(MessageBox::shownMessages().isEmpty());
    QCOMPARE(FileDialog::requests().size(), 1);
    QCOMPARE(FileDialog::requests().at(0).dir,
             exportFolder + QStringLiteral("Rappels de vaccination.ics"));
    QVERIFY(QFileInfo(exportFolder).isDir());
    QVERIFY(FileDialog::requests().at(0).filter.contains(u("*.ics")));
    const QString ics = QString::fromUtf8(readBytes(dir.filePath(QStringLiteral("rappels.ics"))));
    // Every due reminder of every animal kept, however far ahead.
    QCOMPARE(ics.count(u("BEGIN:VEVENT")), 3);
    QVERIFY(ics.contains(u("SUMMARY:Rappel de vaccin : Médor — Rage\r\n")));
    QVERIFY(ics.contains(u("DTSTART;VALUE=DATE:20261127\r\n")));
    QVERIFY(ics.contains(u("DTSTART;VALUE=DATE:20261217\r\n")));
    // Stamped in UTC, whatever the time zone of the machine.
    QVERIFY(ics.contains(QRegularExpression(QStringLiteral("\r\nDTSTAMP:\\d{8}T\\d{6}Z\r\n"))));
    QVERIFY(!ics.contains(u("Vieux")));

    // Without any due reminder nothing is asked and nothing written.
    connection().exec(u("UPDATE VACCINE SET Repeat_Date=NULL"));
    FileDialog::clearRequests();
    item("Item_Table_Ics")->trigger();
    QCOMPARE(FileDialog::requests().size(), 0);
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().at(0).text,
             u("Aucun rappel de vaccination n'est à faire."));
}

QTEST_MAIN(TestTableCommands)
#include "tst_tablecommands.moc"
