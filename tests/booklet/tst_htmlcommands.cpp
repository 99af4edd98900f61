#include "AppFixture.h"
#include "ChartPixels.h"
#include "ModalAnswer.h"
#include "TestText.h"

#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "db/Connection.h"
#include "dialogs/THtmlView.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QTextBrowser>
#include <QtTest>

using namespace tav;
using tav::test::curveEnds;
using tav::test::ModalAnswer;

class TestHtmlCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void bookletOfTheCurrentAnimalOpensInTheViewer();
    void bookletCurvesFollowTheirKindAndStoredMode();
    void reminderTablesRefreshTheRemindersFirst();
    void unwritableFolderIsShownAndNoViewerOpens();

private:
    QAction* item(const char* name) const
    {
        return m_app->startup()->mainForm()->findChild<QAction*>(QString::fromLatin1(name));
    }
    QString htmlFolder() const { return m_app->dataFolder() + u("Html/Temp/"); }

    std::unique_ptr<AppFixture> m_app;
};

void TestHtmlCommands::init()
{
    MessageBox::clearShownMessages();
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    QVERIFY(m_app->start());
    m_app->stop();
    {
        Connection c;
        c.open(m_app->dataFolder() + u("Data/Access/TAVIRUNE.MDB"), false);
        c.exec(u("INSERT INTO ANIMAL (Name) VALUES ('Tom & Jerry <3')"));
        const QVariant id = c.scalar(u("SELECT MAX(Id) FROM ANIMAL"));
        c.exec(u("INSERT INTO LST_VACCINE (Title) VALUES ('Rage')"));
        const QVariant vaccine = c.scalar(u("SELECT MAX(Id) FROM LST_VACCINE"));
        c.exec(u("INSERT INTO VACCINE (Id_Ref, Id_Vaccine, Date_Vaccine, Repeat_Date, "
                 "Repeat_Exe) VALUES (?, ?, '2025-01-10', '2026-01-10', 0)"),
               {id, vaccine});
        c.exec(u("INSERT INTO [ACTION] (Id_Ref, Tag, Date_Action, Price, Repayment, "
                 "Repayment_Comp) VALUES (?, 1, '2025-02-01', 40, 0, 0)"),
               {id});
        // Weighed twice and drawn by dates; never measured.
        c.exec(u("UPDATE ANIMAL SET WeightMode=1, SizeMode=1 WHERE Id=?"), {id});
        c.exec(u("INSERT INTO WEIGHT (Id_Ref, Date_Weight, Weight) VALUES "
                 "(?, '2025-01-10', 4.2), (?, '2025-06-10', 9.8)"),
               {id, id});
    }
    QVERIFY(m_app->start());
}

void TestHtmlCommands::cleanup()
{
    m_app.reset();
}

void TestHtmlCommands::bookletOfTheCurrentAnimalOpensInTheViewer()
{
    QVERIFY(item("Item_Html_Carnet")->isEnabled());
    QString shown;
    auto answer = ModalAnswer::when<THtmlView>([&shown](THtmlView* view) {
        shown = view->windowTitle() + u("|") + view->browser()->toPlainText();
    });
    item("Item_Html_Carnet")->trigger();
    QVERIFY(answer.seen());
    QVERIFY2(shown.startsWith(u("Fiche de santé|")), qPrintable(shown));
    QVERIFY(shown.contains(u("Tom & Jerry <3")));
    QVERIFY(shown.contains(u("AUCUN MEDICAMENT")));
    QVERIFY(QFile::exists(htmlFolder() + u("index.htm")));
    QVERIFY(QFile::exists(htmlFolder() + u("face.jpg")));
    // The weight curve is drawn in its stored mode; the size has no curve.
    const QImage weight(htmlFolder() + u("weight.bmp"));
    QCOMPARE(weight.size(), QSize(680, 400));
    QVERIFY(!QFile::exists(htmlFolder() + u("size.bmp")));
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestHtmlCommands::bookletCurvesFollowTheirKindAndStoredMode()
{
    // Sizes going down, drawn by months; the weights go up, by dates.
    Connection& c = *m_app->startup()->mainForm()->context().connection;
    const QVariant id = c.scalar(u("SELECT MAX(Id) FROM ANIMAL"));
    c.exec(u("UPDATE ANIMAL SET SizeMode=3 WHERE Id=?"), {id});
    c.exec(u("INSERT INTO [SIZE] (Id_Ref, Date_Size, Size) VALUES "
             "(?, '2025-01-10', 60), (?, '2025-06-10', 25)"),
           {id, id});
    auto answer = ModalAnswer::when<THtmlView>([](THtmlView*) {});
    item("Item_Html_Carnet")->trigger();
    QVERIFY(answer.seen());

    const QImage weight(htmlFolder() + u("weight.bmp"));
    const QImage size(htmlFolder() + u("size.bmp"));
    QCOMPARE(weight.size(), QSize(680, 400));
    QCOMPARE(size.size(), QSize(680, 400));
    const auto weightEnds = curveEnds(weight);
    const auto sizeEnds = curveEnds(size);
    QVERIFY2(weightEnds, "the weight picture shows no curve");
    QVERIFY2(sizeEnds, "the size picture shows no curve");
    // Rows count downwards: a rising curve ends higher than it starts.
    QVERIFY(weightEnds->second < weightEnds->first);
    QVERIFY(sizeEnds->second > sizeEnds->first);
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestHtmlCommands::reminderTablesRefreshTheRemindersFirst()
{
    QString shown;
    auto answer = ModalAnswer::when<THtmlView>([&shown](THtmlView* view) {
        shown = view->windowTitle() + u("|") + view->browser()->toPlainText();
    });
    item("Item_Html_Rappels")->trigger();
    QVERIFY(answer.seen());
    QVERIFY2(shown.startsWith(u("Tableaux|")), qPrintable(shown));
    QVERIFY(shown.contains(u("ACTES NON REMBOURSEES")));
    QVERIFY(shown.contains(u("AUCUN MEDICAMENT")));
    // The flag was stored false: it is brought up to date before reading.
    QVERIFY(shown.contains(u("10/01/2026")));
    QVERIFY(shown.contains(u("10/01/2025 - ")));

    auto history = ModalAnswer::when<THtmlView>(
        [&shown](THtmlView* view) { shown = view->browser()->toPlainText(); });
    item("Item_Html_Medicaments")->trigger();
    QVERIFY(history.seen());
    QVERIFY(shown.contains(u("HISTORIQUE DES MEDICAMENTS")));
    QVERIFY(!shown.contains(u("ACTES")));
}

void TestHtmlCommands::unwritableFolderIsShownAndNoViewerOpens()
{
    QDir().mkpath(htmlFolder());
    writeBytes(htmlFolder() + u("ancien.jpg"), "old");
    QFile::setPermissions(htmlFolder(), QFile::ReadOwner | QFile::ExeOwner);
    auto answer = ModalAnswer::when<THtmlView>([](THtmlView*) {}, 300);
    item("Item_Html_Actes")->trigger();
    QFile::setPermissions(htmlFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(!answer.seen());
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QVERIFY(MessageBox::shownMessages().at(0).text.contains(u("lecture seule")));
    QCOMPARE(readBytes(htmlFolder() + u("ancien.jpg")), QByteArray("old"));
}

QTEST_MAIN(TestHtmlCommands)
#include "tst_htmlcommands.moc"
