#include "AppFixture.h"
#include "GridText.h"
#include "ModalAnswer.h"
#include "TestInput.h"
#include "TestText.h"

#include "booklet/TMainForm.h"
#include "booklet/pages/TCarePage.h"
#include "booklet/pages/TVaccinePage.h"
#include "booklet/pages/VaccineGridModel.h"
#include "core/Clock.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "dialogs/TCareEntry.h"
#include "dialogs/TEnterRepayment.h"
#include "dialogs/TRepeatVaccineList.h"
#include "dialogs/TStrList.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace tav;
using tav::test::ModalAnswer;

class TestCarePages : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void consultationWithBothReimbursements();
    void cancelledAddLeavesNothingAndAChangedRowStaysSelected();
    void medicinePurchaseAndItsQuestionOnDelete();
    void vaccinationRemindersShowTheirState();
    void sameDayVaccinationsAgreeOnThePageAndInTheReminderTable();
    void pageExportsAsCsvReadBackByPython();
    void theColumnsOneComesForFitAtTheFirstSize_data();
    void theColumnsOneComesForFitAtTheFirstSize();
    void aColumnTheUserResizedKeepsItsWidth();

private:
    void seed(const QStringList& statements);
    void showPage(int index);
    QToolButton* button(const char* name) const
    {
        return m_app->component<QToolButton>(QString::fromLatin1(name));
    }
    QTableView* grid(const char* name) const
    {
        return m_app->component<QTableView>(QString::fromLatin1(name));
    }
    int count(const char* table) const;

    std::unique_ptr<AppFixture> m_app;
    std::unique_ptr<Clock::Fixed> m_clock;
};

void TestCarePages::initTestCase()
{
    // Amounts and dates as a French desktop shows them.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestCarePages::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    m_clock = std::make_unique<Clock::Fixed>(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    QVERIFY(m_app->start());
    seed({QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Médor')"),
          QStringLiteral("INSERT INTO LST_DOCTOR (Name, Category) VALUES ('Dr Martin', "
                         "'Dermatologie')"),
          QStringLiteral("INSERT INTO LST_ILLNESS (Title) VALUES ('Otite')")});
}

void TestCarePages::cleanup()
{
    m_app.reset();
    m_clock.reset();
}

void TestCarePages::seed(const QStringList& statements)
{
    QVERIFY(m_app->restartWith(statements));
}

void TestCarePages::showPage(int index)
{
    m_app->component<QTabBar>(QStringLiteral("TabNoteBook"))->setCurrentIndex(index);
}

int TestCarePages::count(const char* table) const
{
    return m_app->startup()
        ->mainForm()
        ->context()
        .connection->scalar(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table))
        .toInt();
}

void TestCarePages::consultationWithBothReimbursements()
{
    showPage(3);
    QVERIFY(button("Btn_Consult_Add")->isEnabled());
    QVERIFY(!button("Btn_Consult_Edit")->isEnabled());
    QVERIFY(!button("Btn_Consult_Pin")->isEnabled());

    auto answer = ModalAnswer::when<TEnterConsult>([](TEnterConsult* w) {
        QTest::keyClick(w->findChild<QLineEdit*>(QStringLiteral("Ed_Doctor")), Qt::Key_Return);
        QVERIFY(chooseLine(QStringLiteral("Dr Martin (Dermatologie)")));
        QTest::keyClick(w->findChild<QLineEdit*>(QStringLiteral("Ed_Illness")), Qt::Key_Return);
        QVERIFY(chooseLine(QStringLiteral("Otite")));
        typeOver(w->findChild<QLineEdit*>(QStringLiteral("Ed_Date")), QStringLiteral("02032026"));
        typeOver(w->findChild<QLineEdit*>(QStringLiteral("Ed_Time")), QStringLiteral("1430"));
        typeOver(w->findChild<QLineEdit*>(QStringLiteral("Ed_Payment")), QStringLiteral("45"));
        w->okButton()->click();
    });
    button("Btn_Consult_Add")->click();
    QVERIFY(answer.seen());
    QTableView* g = grid("Grid_Consult");
    QCOMPARE(g->model()->rowCount(), 1);
    QCOMPARE(rowTexts(g, 0), strings({"02/03/2026", "14:30", "45,00 €", "Dr Martin (Dermatologie)",
                                      "Otite", "", "", "", "", "0,00 €", "45,00 €"}));
    QVERIFY(button("Btn_Consult_Pin")->isEnabled());

    auto* page = qobject_cast<TCarePage*>(g->parentWidget());
    QVERIFY(page);
    QMenu* menu = page->repaymentMenu();
    const auto secu = menu->findChild<QAction*>(QStringLiteral("Popup_ConsultRepayment_Secu"));
    const auto comp = menu->findChild<QAction*>(QStringLiteral("Popup_ConsultRepayment_Comp"));
    QVERIFY(secu && comp);
    button("Btn_Consult_Pin")->click();
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(secu->isEnabled() && comp->isEnabled());
    menu->hide();

    answer = ModalAnswer::when<TEnterRepayment>([](TEnterRepayment* w) {
        QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("Ed_Date_Repayment"))->text(),
                 QStringLiteral("09/12/2026"));
        typeOver(w->findChild<QLineEdit*>(QStringLiteral("Ed_Price_Repayment")),
                 QStringLiteral("30,50"));
        w->findChild<QPushButton*>(QStringLiteral("Btn_Ok"))->click();
    });
    secu->trigger();
    QVERIFY(answer.seen());
    button("Btn_Consult_Pin")->click();
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(!secu->isEnabled());
    QVERIFY(comp->isEnabled());
    menu->hide();

    answer = ModalAnswer::when<TEnterRepayment>([](TEnterRepayment* w) {
        typeOver(w->findChild<QLineEdit*>(QStringLiteral("Ed_Price_Repayment_Comp")),
                 QStringLiteral("10"));
        w->findChild<QPushButton*>(QStringLiteral("Btn_Ok"))->click();
    });
    comp->trigger();
    QVERIFY(answer.seen());
    QCOMPARE(rowTexts(g, 0).value(8), QStringLiteral("09/12/2026"));
    QCOMPARE(rowTexts(g, 0).value(10), u("4,50 €"));
    // Paid back by both payers: nothing left to record.
    QVERIFY(!button("Btn_Consult_Pin")->isEnabled());
    QTest::mouseClick(g->viewport(), Qt::RightButton, {},
                      g->visualRect(g->model()->index(0, 0)).center());
    QVERIFY(!menu->isVisible());
    QCOMPARE(m_app->component<QLabel>(QStringLiteral("Lab_Consult_Totals"))->text(),
             u("2026 : 45,00 € payés, 40,50 € remboursés, 4,50 € restants\n"
               "Total : 45,00 € payés, 40,50 € remboursés, 4,50 € restants"));

    // Everything is there after a restart.
    m_app->stop();
    QVERIFY(m_app->start());
    showPage(3);
    QCOMPARE(rowTexts(grid("Grid_Consult"), 0).value(10), u("4,50 €"));
}

void TestCarePages::cancelledAddLeavesNothingAndAChangedRowStaysSelected()
{
    seed(
        {QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Date_Action, Price, Repayment, "
                        "Repayment_Comp, Price_Repayment, Price_Repayment_Comp) VALUES (1, 1, 1, "
                        "'2026-01-01', 10, 0, 0, 0, 0), (1, 1, 1, '2026-01-05', 20, 0, 0, 0, 0)")});
    showPage(3);
    QTableView* g = grid("Grid_Consult");
    QCOMPARE(g->model()->rowCount(), 2);
    auto answer = ModalAnswer::when<TEnterConsult>([](TEnterConsult* w) {
        typeOver(w->findChild<QLineEdit*>(QStringLiteral("Ed_Payment")), QStringLiteral("99"));
        w->findChild<QPushButton*>(QStringLiteral("Btn_Cancel"))->click();
    });
    button("Btn_Consult_Add")->click();
    QVERIFY(answer.seen());
    QCOMPARE(count("[ACTION]"), 2);
    QCOMPARE(g->currentIndex().row(), 0);

    answer = ModalAnswer::when<TEnterConsult>([](TEnterConsult* w) {
        typeOver(w->findChild<QLineEdit*>(QStringLiteral("Ed_Date")), QStringLiteral("10012026"));
        w->okButton()->click();
    });
    button("Btn_Consult_Edit")->click();
    QVERIFY(answer.seen());
    // The first act moved after the second and is still the selected one.
    QCOMPARE(g->currentIndex().row(), 1);
    QCOMPARE(rowTexts(g, 1).value(0), QStringLiteral("10/01/2026"));
    QCOMPARE(rowTexts(g, 1).value(2), u("10,00 €"));
}

void TestCarePages::medicinePurchaseAndItsQuestionOnDelete()
{
    seed({QStringLiteral(
        "INSERT INTO LST_DRUG (Title, Category) VALUES ('Milbemax', 'Vermifuge')")});
    showPage(4);
    const auto answer = ModalAnswer::when<TEnterDrugPharmacy>([](TEnterDrugPharmacy* w) {
        QTest::keyClick(w->findChild<QLineEdit*>(QStringLiteral("Ed_Drug")), Qt::Key_Return);
        QVERIFY(chooseLine(QStringLiteral("Milbemax (Vermifuge)")));
        typeOver(w->findChild<QLineEdit*>(QStringLiteral("Ed_Payment")), QStringLiteral("12,5"));
        w->okButton()->click();
    });
    button("Btn_Pharmacy_Add")->click();
    QVERIFY(answer.seen());
    QTableView* g = grid("Grid_Pharmacy");
    QCOMPARE(rowTexts(g, 0), strings({"09/12/2026", "", "12,50 €", "", "Milbemax (Vermifuge)", "",
                                      "", "0,00 €", "12,50 €"}));
    MessageBox::setNextAnswer(MessageBox::Answer::No);
    button("Btn_Pharmacy_Delete")->click();
    QCOMPARE(MessageBox::shownMessages().last().text, u("Désirez-vous supprimer cet acte ?"));
    QCOMPARE(count("[ACTION]"), 1);
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    button("Btn_Pharmacy_Delete")->click();
    QCOMPARE(count("[ACTION]"), 0);
    QCOMPARE(g->model()->rowCount(), 0);
    QVERIFY(!button("Btn_Pharmacy_Delete")->isEnabled());
}

void TestCarePages::vaccinationRemindersShowTheirState()
{
    const QString rabisin = QStringLiteral("(SELECT Id FROM LST_VACCINE WHERE Title='Rabisin')");
    const QString eurican = QStringLiteral("(SELECT Id FROM LST_VACCINE WHERE Title='Eurican')");
    seed({QStringLiteral("INSERT INTO LST_VACCINE (Title) VALUES ('Rabisin'), ('Eurican')"),
          QStringLiteral("INSERT INTO VACCINE (Id_Ref, Id_Vaccine, Date_Vaccine, Repeat_Date) "
                         "VALUES (1, %1, '2025-11-01', '2026-11-01'), (1, %2, '2025-12-20', "
                         "'2026-12-20'), (1, %2, '2024-12-20', '2025-12-20')")
              .arg(rabisin, eurican)});
    showPage(6);
    QTableView* g = grid("Grid_Vaccine");
    QCOMPARE(g->model()->rowCount(), 3);
    QCOMPARE(g->model()->headerData(1, Qt::Horizontal).toString(),
             QStringLiteral("Date de rappel"));
    // Ordered by vaccination date: the old CHPL, the rabies, the new CHPL.
    const QModelIndex renewed = g->model()->index(0, 1);
    const QModelIndex late = g->model()->index(1, 1);
    const QModelIndex soon = g->model()->index(2, 1);
    QCOMPARE(late.data().toString(), QStringLiteral("01/11/2026"));
    QCOMPARE(late.data(Qt::ForegroundRole).value<QColor>(), VaccineGridModel::lateColour());
    QCOMPARE(late.data(Qt::ToolTipRole).toString(), QStringLiteral("En retard de 38 jours"));
    QCOMPARE(soon.data(Qt::ForegroundRole).value<QColor>(), VaccineGridModel::soonColour());
    QCOMPARE(soon.data(Qt::ToolTipRole).toString(), QStringLiteral("Dans 11 jours"));
    // A reminder given again since is not due any more.
    QVERIFY(!renewed.data(Qt::ForegroundRole).isValid());

    const auto answer = ModalAnswer::when<TEnterVaccineExe>([](TEnterVaccineExe* w) {
        QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("Ed_Date"))->text(),
                 QStringLiteral("09/12/2026"));
        QTest::keyClick(w->findChild<QLineEdit*>(QStringLiteral("Ed_Vaccine")), Qt::Key_Return);
        QVERIFY(chooseLine(QStringLiteral("Rabisin")));
        typeOver(w->findChild<QLineEdit*>(QStringLiteral("Ed_Date_Repeat")),
                 QStringLiteral("09122027"));
        w->okButton()->click();
    });
    button("Btn_Vaccine_Add")->click();
    QVERIFY(answer.seen());
    QCOMPARE(g->model()->rowCount(), 4);
    // The rabies shot of 2025 is renewed by today's.
    QVERIFY(!g->model()->index(1, 1).data(Qt::ForegroundRole).isValid());
}

void TestCarePages::sameDayVaccinationsAgreeOnThePageAndInTheReminderTable()
{
    // Two rabies shots entered for the same day: the one entered last
    // stands, whatever their times, and its reminder is late.
    seed({QStringLiteral("INSERT INTO LST_VACCINE (Title) VALUES ('Rabisin')"),
          QStringLiteral("INSERT INTO VACCINE (Id_Ref, Id_Vaccine, Date_Vaccine, Time_Vaccine, "
                         "Repeat_Date) VALUES (1, 1, '2025-11-01', '18:00', '2026-11-01'), "
                         "(1, 1, '2025-11-01', '09:00', '2026-11-15')")});
    showPage(6);
    QTableView* g = grid("Grid_Vaccine");
    QCOMPARE(g->model()->rowCount(), 2);
    QStringList late;
    for (int r = 0; r < 2; ++r) {
        const QModelIndex repeat = g->model()->index(r, 1);
        if (repeat.data(Qt::ForegroundRole).value<QColor>() == VaccineGridModel::lateColour())
            late << repeat.data().toString();
    }
    QCOMPARE(late, strings({"15/11/2026"}));

    // The reminder table says the same.
    QStringList listed;
    auto answer = ModalAnswer::when<TRepeatVaccineList>([&](TRepeatVaccineList* w) {
        for (int r = 0; r < w->grid()->model()->rowCount(); ++r)
            listed << w->grid()->model()->index(r, 0).data().toString();
    });
    m_app->startup()
        ->mainForm()
        ->findChild<QAction*>(QStringLiteral("Item_Table_Rappels"))
        ->trigger();
    QVERIFY(answer.seen());
    QCOMPARE(listed, strings({"15/11/2026"}));
}

void TestCarePages::pageExportsAsCsvReadBackByPython()
{
    seed(
        {QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Date_Action, Price, Remark1, "
                        "Price_Repayment, Price_Repayment_Comp) VALUES (1, 1, 1, '2026-03-02', 45, "
                        "'Grattage; \"oreilles\"', 30.5, 10)")});
    showPage(3);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("actes.csv"));
    FileDialog::setNextFileName(path);
    auto* item =
        m_app->startup()->mainForm()->findChild<QAction*>(QStringLiteral("Item_ExportCsv"));
    QVERIFY(item);
    item->trigger();
    QCOMPARE(FileDialog::requests().last().dir,
             m_app->startup()->mainForm()->context().dataFolder + u("Export/Actes - Médor.csv"));
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv,sys\n"
                                 "rows=list(csv.reader(open(sys.argv[1],newline='',"
                                 "encoding='utf-8-sig'),delimiter=';'))\n"
                                 "print(len(rows)); print('|'.join(rows[1]))"),
                  path});
    QVERIFY(python.waitForFinished(30000));
    QCOMPARE(QString::fromUtf8(python.readAllStandardOutput()),
             u("2\n02/03/2026||45|Dr Martin (Dermatologie)|||Grattage; \"oreilles\"|||30,5|4,5\n"));
}

void TestCarePages::theColumnsOneComesForFitAtTheFirstSize_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("gridName");
    QTest::addColumn<QStringList>("wanted");
    QTest::addColumn<QStringList>("elided");
    QTest::newRow("Actes") << 3 << QStringLiteral("Grid_Consult")
                           << strings({"Date", "Montant", "Montant remboursé", "Non remboursé"})
                           << strings({"Praticien", "Pathologie", "Objet de la visite",
                                       "Remarque du praticien"});
    QTest::newRow("Médicaments") << 4 << QStringLiteral("Grid_Pharmacy")
                                 << strings({"Date", "Montant", "Non remboursé"}) << QStringList();
    QTest::newRow("Vaccins") << 6 << QStringLiteral("Grid_Vaccine")
                             << strings({"Vaccin", "Date de rappel", "Observations"})
                             << QStringList();
}

void TestCarePages::theColumnsOneComesForFitAtTheFirstSize()
{
    QFETCH(int, page);
    QFETCH(QString, gridName);
    QFETCH(QStringList, wanted);
    QFETCH(QStringList, elided);
    QWidget* form = AppFixture::findWindow("TMainForm");
    form->resize(800, 600);
    showPage(page);
    QTableView* g = grid(qPrintable(gridName));
    QTRY_VERIFY(g->isVisible());
    QTest::qWait(20);
    const QAbstractItemModel* model = g->model();
    const int available = g->viewport()->width();
    // No sideways scroll: every shown column lies within the grid.
    int total = 0;
    QStringList titles;
    for (int c = 0; c < model->columnCount(); ++c) {
        if (g->isColumnHidden(c))
            continue;
        total += g->columnWidth(c);
        titles << model->headerData(c, Qt::Horizontal).toString();
    }
    QStringList widths;
    for (int c = 0; c < model->columnCount(); ++c)
        widths << model->headerData(c, Qt::Horizontal).toString() + QLatin1Char('=') +
                      QString::number(g->isColumnHidden(c) ? 0 : g->columnWidth(c));
    QVERIFY2(total <= available, qPrintable(QStringLiteral("%1 > %2: ").arg(total).arg(available) +
                                            widths.join(QStringLiteral(", "))));
    for (const QString& title : wanted)
        QVERIFY2(titles.contains(title), qPrintable(title));
    // Their titles show whole, on two lines at most: "Non rembours…" would
    // not say which sum it is.
    const QHeaderView* header = g->horizontalHeader();
    const int margin = header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    for (int c = 0; c < model->columnCount(); ++c) {
        const QString title = model->headerData(c, Qt::Horizontal).toString();
        if (!wanted.contains(title))
            continue;
        const QRect room(0, 0, g->columnWidth(c) - 2 * margin, header->height());
        const QRect needed =
            header->fontMetrics().boundingRect(room, Qt::AlignCenter | Qt::TextWordWrap, title);
        QVERIFY2(needed.width() <= room.width() && needed.height() <= room.height() &&
                     needed.height() <= 2 * header->fontMetrics().lineSpacing(),
                 qPrintable(QStringLiteral("%1: %2 wide, needs %3; ")
                                .arg(title)
                                .arg(room.width())
                                .arg(needed.width()) +
                            widths.join(QStringLiteral(", "))));
        // A word is never cut in two.
        for (const QString& word : title.split(QLatin1Char(' ')))
            QVERIFY2(header->fontMetrics().horizontalAdvance(word) <= room.width(),
                     qPrintable(word));
    }
    // The long texts gave way, yet still show a few characters.
    const int character = g->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (int c = 0; c < model->columnCount(); ++c) {
        if (elided.contains(model->headerData(c, Qt::Horizontal).toString()))
            QVERIFY(g->columnWidth(c) >= 3 * character);
    }
    // A wider window gives the long texts their room back.
    form->resize(1280, 1024);
    QTRY_VERIFY(g->viewport()->width() > available);
    int wider = 0;
    for (int c = 0; c < model->columnCount(); ++c)
        wider += g->isColumnHidden(c) ? 0 : g->columnWidth(c);
    QVERIFY(wider > total);
}

namespace {

// Drags the right edge of a column's title by dx pixels, as a hand would.
void dragColumnEdge(QTableView* grid, int column, int dx)
{
    QWidget* titles = grid->horizontalHeader()->viewport();
    const int edge =
        grid->horizontalHeader()->sectionViewportPosition(column) + grid->columnWidth(column) - 1;
    const QPoint from(edge, titles->height() / 2);
    const QPoint to = from + QPoint(dx, 0);
    const auto send = [titles](QEvent::Type type, QPoint at, Qt::MouseButton button,
                               Qt::MouseButtons buttons) {
        QMouseEvent e(type, at, titles->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(titles, &e);
    };
    send(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, from + QPoint(dx / 2, 0), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

int columnOf(const QTableView* grid, const QString& title)
{
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (grid->model()->headerData(c, Qt::Horizontal).toString() == title)
            return c;
    return -1;
}

} // namespace

void TestCarePages::aColumnTheUserResizedKeepsItsWidth()
{
    QWidget* form = AppFixture::findWindow("TMainForm");
    form->resize(1280, 1024);
    showPage(3);
    QTableView* g = grid("Grid_Consult");
    QTRY_VERIFY(g->isVisible());
    const int remark = columnOf(g, u("Remarque du praticien"));
    const int amount = columnOf(g, QStringLiteral("Montant"));
    QVERIFY(remark >= 0 && amount >= 0);
    const int fitted = g->columnWidth(amount);

    // Widened by hand, the amount keeps its width whatever the window does.
    dragColumnEdge(g, amount, 60);
    const int chosen = g->columnWidth(amount);
    QCOMPARE(chosen, fitted + 60);
    form->resize(800, 600);
    QTRY_VERIFY(g->viewport()->width() < 700);
    QCOMPARE(g->columnWidth(amount), chosen);
    // A column fitted by the program still follows the window.
    const int narrowRemark = g->columnWidth(remark);
    form->resize(1280, 1024);
    QTRY_VERIFY(g->columnWidth(remark) > narrowRemark);
    QCOMPARE(g->columnWidth(amount), chosen);

    // The width is in the settings file under the grid's name, and comes
    // back with the program.
    const QString settings = m_app->startup()->mainForm()->context().settingsPath;
    m_app->stop();
    QFile file(settings);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY2(text.contains(QStringLiteral("[Grids]")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Grid_Consult=%1:%2").arg(amount).arg(chosen)),
             qPrintable(text));
    QVERIFY(m_app->start());
    form = AppFixture::findWindow("TMainForm");
    form->resize(800, 600);
    showPage(3);
    g = grid("Grid_Consult");
    QTRY_VERIFY(g->isVisible());
    QCOMPARE(g->columnWidth(amount), chosen);
    // Other grids keep their own widths.
    showPage(4);
    QTableView* pharmacy = grid("Grid_Pharmacy");
    QTRY_VERIFY(pharmacy->isVisible());
    QVERIFY(pharmacy->columnWidth(columnOf(pharmacy, QStringLiteral("Montant"))) != chosen);
}

QTEST_MAIN(TestCarePages)
#include "tst_carepages.moc"
