#include "../report/ReportTestSupport.h"
#include "AppFixture.h"
#include "ModalAnswer.h"
#include "PrintedChartText.h"
#include "TestText.h"

#include "booklet/TMainForm.h"
#include "core/Clock.h"
#include "db/Connection.h"
#include "dialogs/TFreeReportPrintViewer.h"
#include "report/ReportRunner.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;
using tav::test::ModalAnswer;

class TestPrintMenu : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void historySavedAsPdfReadsBack();
    void emptyHistoryIsSaidWithoutPreview();
    void bookletAndReminderTablesOpenTheirPreview();
    void missingTemplateIsReportedAndNothingOpens();
    void bookletChartsReadOnPaper();

private:
    void seed(const QStringList& statements);
    QAction* item(const char* name) const
    {
        return m_app->startup()->mainForm()->findChild<QAction*>(QString::fromLatin1(name));
    }

    std::unique_ptr<AppFixture> m_app;
    std::unique_ptr<Clock::Fixed> m_clock;
};

void TestPrintMenu::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    loadTestFont();
}

void TestPrintMenu::init()
{
    MessageBox::clearShownMessages();
    FileDialog::clearNextFileNames();
    ReportRunner::clearTitleText();
    m_clock = std::make_unique<Clock::Fixed>(QDateTime(QDate(2026, 12, 9), QTime(10, 0)));
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    m_app->installReports();
    QVERIFY(m_app->start());
    seed({u("INSERT INTO ANIMAL (Name) VALUES ('Médor')"),
          u("INSERT INTO LST_DOCTOR (Name) VALUES ('Dr Lefèvre')"),
          u("INSERT INTO ACTION (Id_Ref, Tag, Id_Org, Date_Action, Price, Repayment, "
            "Repayment_Comp, Remark1) VALUES (1, 1, 1, '2026-11-02', 12.5, 0, 0, 'Otite & "
            "contrôle')"),
          u("INSERT INTO VACCINE (Id_Ref, Date_Vaccine, Repeat_Date) VALUES (1, '2025-11-01', "
            "'2026-11-01')")});
}

void TestPrintMenu::cleanup()
{
    m_app.reset();
    m_clock.reset();
}

void TestPrintMenu::seed(const QStringList& statements)
{
    QVERIFY(m_app->restartWith(statements));
}

void TestPrintMenu::historySavedAsPdfReadsBack()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("actes.pdf"));
    FileDialog::setNextFileName(pdf);
    QString caption;
    auto answer = ModalAnswer::when<TFreeReportPrintViewer>([&](TFreeReportPrintViewer* viewer) {
        caption = viewer->windowTitle();
        QTest::mouseClick(viewer->findChild<QPushButton*>(QStringLiteral("Btn_SavePdf")),
                          Qt::LeftButton);
    });
    QVERIFY(item("Item_Print_Actes")->isEnabled());
    item("Item_Print_Actes")->trigger();
    QVERIFY(answer.seen());
    QCOMPARE(caption, QStringLiteral("Historique des actes"));
    const QString text = squeezed(pdfPages(pdf).join(QLatin1Char(' ')));
    for (const char* expected : {"HISTORIQUE DES ACTES", "02/11/2026", u8"Dr Lefèvre",
                                 "Otite & contrôle", "12,50 €", "Page 1 / 1"})
        QVERIFY2(text.contains(u(expected)), qPrintable(text));
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestPrintMenu::emptyHistoryIsSaidWithoutPreview()
{
    auto answer = ModalAnswer::when<TFreeReportPrintViewer>([](TFreeReportPrintViewer*) {}, 300);
    item("Item_Print_Medicaments")->trigger();
    QVERIFY(!answer.seen());
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().text,
             u("Il n'y a pas d'enregistrements dans cette liste."));
}

void TestPrintMenu::bookletAndReminderTablesOpenTheirPreview()
{
    QStringList pages;
    auto booklet = ModalAnswer::when<TFreeReportPrintViewer>([&](TFreeReportPrintViewer* viewer) {
        pages = viewer->report().pageTexts(0);
        viewer->reject();
    });
    item("Item_Print_Carnet")->trigger();
    QVERIFY(booklet.seen());
    QVERIFY(pages.contains(u("Carnet de santé")));
    QVERIFY(pages.contains(u("Médor")));

    QString text;
    auto tables = ModalAnswer::when<TFreeReportPrintViewer>([&](TFreeReportPrintViewer* viewer) {
        text = viewer->report().pageTexts(0).join(QLatin1Char('\n'));
        viewer->reject();
    });
    item("Item_Print_Rappels")->trigger();
    QVERIFY(tables.seen());
    // The reminder flag is brought up to date before the table is read.
    QVERIFY2(text.contains(QStringLiteral("01/11/2026")), qPrintable(text));
    QVERIFY(text.contains(u("Otite & contrôle")));
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestPrintMenu::missingTemplateIsReportedAndNothingOpens()
{
    QVERIFY(QFile::remove(m_app->programFolder() + QStringLiteral("/Reports/TableList.frf")));
    auto answer = ModalAnswer::when<TFreeReportPrintViewer>([](TFreeReportPrintViewer*) {}, 300);
    item("Item_Print_Rappels")->trigger();
    QVERIFY(!answer.seen());
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().text,
             u("Le modèle de rapport « TableList.frf » est introuvable."));
}

void TestPrintMenu::bookletChartsReadOnPaper()
{
    seed({u("UPDATE ANIMAL SET WeightMode=1, SizeMode=1"),
          u("INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight) VALUES (1, '2026-01-05', 12.5), "
            "(1, '2026-06-05', 14)"),
          u("INSERT INTO [SIZE] (Id_Ref, Date_Size, Size) VALUES (1, '2026-01-05', 40), "
            "(1, '2026-06-05', 42)")});
    PreparedReport report;
    auto booklet = ModalAnswer::when<TFreeReportPrintViewer>([&](TFreeReportPrintViewer* viewer) {
        report = viewer->report();
        viewer->reject();
    });
    item("Item_Print_Carnet")->trigger();
    QVERIFY(booklet.seen());
    QCOMPARE(report.pictures.size(), 2);
    // The weight and size charts' axis labels read at 8 points or more.
    const double label = test::smallestPrintedLabel(report);
    QVERIFY2(label >= test::kEightPointDigits, qPrintable(QString::number(label)));
}

QTEST_MAIN(TestPrintMenu)
#include "tst_printmenu.moc"
