#include "ModalAnswer.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestText.h"

#include "core/Clock.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "dialogs/TAnalysisList.h"
#include "dialogs/TEnterAnalysis.h"
#include "dialogs/TEnterAnalysisValue.h"
#include "dialogs/TEnterAnimalAnalysis.h"
#include "dialogs/TStrList.h"
#include "ui/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

using namespace tav;
using tav::test::ModalAnswer;

namespace {

QLineEdit* edit(QWidget* w, const char* name)
{
    return w->findChild<QLineEdit*>(QString::fromLatin1(name));
}

QPushButton* button(QWidget* w, const char* name)
{
    return w->findChild<QPushButton*>(QString::fromLatin1(name));
}

QString lastMessage()
{
    const auto shown = MessageBox::shownMessages();
    return shown.isEmpty() ? QString() : shown.last().text;
}

} // namespace

class TestAnalysisEntry : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newDefinitionStartsWithTwoDecimalsAndFollowsTheChosenFormat();
    void definitionWithTooManyDecimalsIsRefusedAndMended();
    void deletingADefinitionAsksAndTakesEveryAnimalsCopies();
    void aDeletionRefusedHalfWayIsShownAndChangesNothing();
    void attachingOffersOnlyFreeDefinitionsAndCopiesTheirRange();
    void changingAFollowedAnalysisReplacesItsDefinition();
    void newValueOpensReadyAndRefusesBadInput();
    void cancellingAValueLeavesNoRow();

private:
    int count(const QString& sql) { return m_db->connection.scalar(sql).toInt(); }
    DataSet& ds(const char* name) { return m_module->dataSet(QString::fromLatin1(name)); }
    // Catalogue: Albumine, Créatinine (mg/l, 1 decimal, 5–18), Urée (g/l, 2
    // decimals, 0.2–0.6); Médor (1) follows Créatinine as 100.
    void seed();

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DataModule1> m_module;
    std::unique_ptr<Clock::Fixed> m_clock;
};

void TestAnalysisEntry::initTestCase()
{
    MessageBox::setTestMode(true);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestAnalysisEntry::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    m_clock = std::make_unique<Clock::Fixed>(QDateTime(QDate(2026, 3, 12), QTime(9, 0)));
    m_db = std::make_unique<TestDatabase>();
    m_module = std::make_unique<DataModule1>(m_db->connection, m_db->folder());
}

void TestAnalysisEntry::cleanup()
{
    m_module.reset();
    m_db.reset();
    m_clock.reset();
}

void TestAnalysisEntry::seed()
{
    Connection& c = m_db->connection;
    c.exec(u("INSERT INTO ANIMAL (Id, Name) VALUES (1, 'Médor'), (2, 'Minou')"));
    c.exec(u("INSERT INTO LST_ANALYSIS (Id, Title, Unit, Decimal, Value_Min, Value_Max) VALUES "
             "(10, 'Créatinine', 'mg/l', 1, 5, 18), (11, 'Urée', 'g/l', 2, 0.2, 0.6), "
             "(12, 'Albumine', '', 0, NULL, NULL)"));
    c.exec(u("INSERT INTO L_ANALYSIS (Id, Id_File, Id_Ref, Id_Analysis, Unit, Decimal, "
             "Value_Min, Value_Max) VALUES (100, -1, 1, 10, 'mg/l', 1, 5, 18)"));
}

void TestAnalysisEntry::newDefinitionStartsWithTwoDecimalsAndFollowsTheChosenFormat()
{
    m_db->connection.exec(u("INSERT INTO COMBOITEMS (Analysis_Unit) VALUES (?)"),
                          {u("mg/l\r\ng/l\r\n")});
    TAnalysisList list(*m_module);
    list.open();
    QCOMPARE(list.findChild<QLabel*>(QStringLiteral("Title"))->text(), u("  Liste des analyses"));
    QStringList captions;
    for (int col = 0; col < list.grid()->model()->columnCount(); ++col)
        captions << list.grid()->model()->headerData(col, Qt::Horizontal).toString();
    QCOMPARE(captions, strings({"Titre", "Unité", "Decimales", "Description"}));
    QVERIFY(!button(&list, "Btn_Edit")->isEnabled());

    QStringList offeredUnits;
    const auto answer = ModalAnswer::when<TEnterAnalysis>([&](TEnterAnalysis* w) {
        QCOMPARE(w->findChild<QLabel*>(QStringLiteral("Title"))->text(),
                 u("  Saisie d'une analyse"));
        QVERIFY(!w->okButton()->isEnabled());
        QCOMPARE(edit(w, "Ed_Decimal")->text(), QStringLiteral("2"));
        QCOMPARE(edit(w, "Ed_Unit")->text(), QString());
        QCOMPARE(edit(w, "DBEdit2")->text(), QStringLiteral("0,00"));
        QCOMPARE(edit(w, "DBEdit1")->text(), QStringLiteral("0,00"));
        typeOver(edit(w, "Ed_Title"), u("Créatinine"));
        QVERIFY(w->okButton()->isEnabled());
        w->findChild<QToolButton*>(QStringLiteral("Btn_Decimal"))->click();
        QVERIFY(chooseLine(QStringLiteral("0")));
        QTest::keyClick(edit(w, "Ed_Unit"), Qt::Key_Return);
        QVERIFY(chooseLine(QStringLiteral("g/l"), &offeredUnits));
        // No decimal part, then a blank and the unit.
        QCOMPARE(edit(w, "DBEdit2")->text(), QStringLiteral("0 g/l"));
        typeOver(edit(w, "DBEdit1"), QStringLiteral("18"));
        w->okButton()->click();
    });
    button(&list, "Btn_Add")->click();
    QVERIFY(answer.seen());
    QCOMPARE(offeredUnits, strings({"", "g/l", "mg/l"}));
    QVariantList row;
    m_db->connection.forEachRow(
        QStringLiteral("SELECT Title, Unit, Decimal, Value_Min, Value_Max FROM LST_ANALYSIS"),
        [&row](const QVariantList& r) { row = r; });
    QCOMPARE(row, (QVariantList{u("Créatinine"), u("g/l"), 0, 0.0, 18.0}));
    QCOMPARE(list.grid()->model()->index(0, 1).data().toString(), QStringLiteral("g/l"));
    QVERIFY(button(&list, "Btn_Edit")->isEnabled());
    QVERIFY(list.changed());
}

void TestAnalysisEntry::definitionWithTooManyDecimalsIsRefusedAndMended()
{
    TAnalysisList list(*m_module);
    list.open();
    bool stillOpen = false;
    QString kept;
    QString memoMessage;
    const auto answer = ModalAnswer::when<TEnterAnalysis>([&](TEnterAnalysis* w) {
        typeOver(edit(w, "Ed_Title"), QStringLiteral("Glucose"));
        typeOver(edit(w, "DBEdit2"), QStringLiteral("0,705"));
        w->okButton()->click();
        stillOpen = w->isVisible();
        kept = edit(w, "DBEdit2")->text();
        typeOver(edit(w, "DBEdit2"), QStringLiteral("0,7"));
        w->findChild<QPlainTextEdit*>(QStringLiteral("DBMemo1"))
            ->setPlainText(QString(256, QLatin1Char('r')));
        w->okButton()->click();
        memoMessage = lastMessage();
        w->findChild<QPlainTextEdit*>(QStringLiteral("DBMemo1"))
            ->setPlainText(QStringLiteral("À jeun"));
        w->okButton()->click();
    });
    button(&list, "Btn_Add")->click();
    QVERIFY(answer.seen());
    QVERIFY(stillOpen);
    QCOMPARE(kept, QStringLiteral("0,705"));
    QCOMPARE(MessageBox::shownMessages().size(), 2);
    QCOMPARE(MessageBox::shownMessages().at(0).text,
             u("« Valeur minimale » s'écrit avec 2 décimale(s) au plus : 0,705 en a 3."));
    QVERIFY2(memoMessage.contains(u("« Remarques »")) && memoMessage.contains(u("255")),
             qPrintable(memoMessage));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM LST_ANALYSIS")), 1);
    QCOMPARE(
        m_db->connection.scalar(QStringLiteral("SELECT Value_Min FROM LST_ANALYSIS")).toDouble(),
        0.7);
}

void TestAnalysisEntry::deletingADefinitionAsksAndTakesEveryAnimalsCopies()
{
    seed();
    Connection& c = m_db->connection;
    c.exec(u("INSERT INTO L_ANALYSIS (Id, Id_File, Id_Ref, Id_Analysis) VALUES (101, -1, 2, 10), "
             "(102, -1, 2, 11)"));
    for (int followed : {100, 100, 101, 102})
        c.exec(u("INSERT INTO ANALYSIS (Id_Ref, Value_Analysis) VALUES (?, 1)"), {followed});
    TAnalysisList list(*m_module);
    list.open();
    QVERIFY(list.dataSet().locateId(10));

    MessageBox::setNextAnswer(MessageBox::Answer::No);
    button(&list, "Btn_Delete")->click();
    QCOMPARE(MessageBox::shownMessages().at(0).kind, MessageBox::Kind::Question);
    QCOMPARE(MessageBox::shownMessages().at(0).text, u("Désirez-vous supprimer cette analyse ?"));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ANALYSIS")), 4);

    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    button(&list, "Btn_Delete")->click();
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM LST_ANALYSIS")), 2);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM L_ANALYSIS")), 1);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ANALYSIS")), 1);
    QCOMPARE(list.grid()->model()->rowCount(), 2);
    QVERIFY(list.changed());
}

void TestAnalysisEntry::aDeletionRefusedHalfWayIsShownAndChangesNothing()
{
    seed();
    m_db->connection.exec(u("INSERT INTO ANALYSIS (Id_Ref, Value_Analysis) VALUES (100, 1)"));
    m_db->connection.execScript(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON "
                                               "LST_ANALYSIS BEGIN SELECT RAISE(ABORT, "
                                               "'refus'); END"));
    TAnalysisList list(*m_module);
    list.open();
    QVERIFY(list.dataSet().locateId(10));
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    button(&list, "Btn_Delete")->click();
    QCOMPARE(MessageBox::shownMessages().size(), 2);
    QCOMPARE(MessageBox::shownMessages().at(1).kind, MessageBox::Kind::Error);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM L_ANALYSIS")), 1);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ANALYSIS")), 1);
    QCOMPARE(list.grid()->model()->rowCount(), 3);
    QVERIFY(!list.changed());
}

void TestAnalysisEntry::attachingOffersOnlyFreeDefinitionsAndCopiesTheirRange()
{
    seed();
    DataSet& followed = ds("L_Analysis");
    followed.open();
    followed.append();
    followed.setValue(QStringLiteral("Id_File"), -1);
    followed.setValue(QStringLiteral("Id_Ref"), 1);
    followed.setValue(QStringLiteral("Id_Analysis"), -1);
    TEnterAnimalAnalysis w(*m_module, 1);
    w.show();
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Title"))->text(), u("  Sélection d'une analyse"));
    QCOMPARE(edit(&w, "Ed_Title")->text(), QString());
    QVERIFY(!w.okButton()->isEnabled());

    QStringList offered;
    QTest::keyClick(edit(&w, "Ed_Title"), Qt::Key_Return);
    QVERIFY(chooseLine(u("Urée"), &offered));
    QCOMPARE(offered, strings({"Albumine", "Urée"}));
    QCOMPARE(w.freeAnalysisIds(), strings({"12", "11"}));
    QVERIFY(w.okButton()->isEnabled());
    QCOMPARE(edit(&w, "Ed_Unit")->text(), QStringLiteral("g/l"));
    QCOMPARE(edit(&w, "Ed_Decimal")->text(), QStringLiteral("2"));
    QCOMPARE(edit(&w, "Ed_Min")->text(), QStringLiteral("0,20 g/l"));
    QCOMPARE(edit(&w, "Ed_Max")->text(), QStringLiteral("0,60 g/l"));
    // The animal's copy stays its own.
    typeOver(edit(&w, "Ed_Max"), QStringLiteral("0,65"));
    w.okButton()->click();
    QVERIFY(!w.isVisible());
    QVERIFY(w.storedId() > 0);
    QVariantList row;
    m_db->connection.forEachRow(
        QStringLiteral("SELECT Id_Ref, Id_Analysis, Id_File, Unit, Decimal, Value_Min, Value_Max "
                       "FROM L_ANALYSIS WHERE Id=") +
            QString::number(w.storedId()),
        [&row](const QVariantList& r) { row = r; });
    QCOMPARE(row, (QVariantList{1, 11, -1, u("g/l"), 2, 0.2, 0.65}));
    QCOMPARE(m_db->connection
                 .scalar(QStringLiteral("SELECT Value_Max FROM LST_ANALYSIS WHERE "
                                        "Id=11"))
                 .toDouble(),
             0.6);
}

void TestAnalysisEntry::changingAFollowedAnalysisReplacesItsDefinition()
{
    seed();
    DataSet& followed = ds("L_Analysis");
    followed.open();
    QVERIFY(followed.locateId(100));
    followed.edit();
    TEnterAnimalAnalysis w(*m_module, 1);
    w.show();
    QCOMPARE(edit(&w, "Ed_Title")->text(), u("Créatinine"));
    QVERIFY(w.okButton()->isEnabled());
    QCOMPARE(edit(&w, "Ed_Min")->text(), QStringLiteral("5,0 mg/l"));
    QStringList offered;
    w.findChild<QToolButton*>(QStringLiteral("Btn_Title"))->click();
    QVERIFY(chooseLine(QStringLiteral("Albumine"), &offered));
    // Its own definition is never offered again.
    QCOMPARE(offered, strings({"Albumine", "Urée"}));
    QCOMPARE(edit(&w, "Ed_Unit")->text(), QString());
    QCOMPARE(edit(&w, "Ed_Decimal")->text(), QStringLiteral("0"));
    QCOMPARE(edit(&w, "Ed_Min")->text(), QString());
    w.okButton()->click();
    QCOMPARE(w.storedId(), qint64(100));
    QVariantList row;
    m_db->connection.forEachRow(
        QStringLiteral("SELECT Id_Analysis, Decimal, typeof(Value_Min) FROM L_ANALYSIS "
                       "WHERE Id=100"),
        [&row](const QVariantList& r) { row = r; });
    QCOMPARE(row, (QVariantList{12, 0, u("null")}));
}

void TestAnalysisEntry::newValueOpensReadyAndRefusesBadInput()
{
    seed();
    DataSet& values = ds("Analysis");
    values.replaceWhereLine(QStringLiteral("WHERE ID_REF=100"));
    values.open();
    values.append();
    values.setValue(QStringLiteral("Id_Ref"), 100);
    values.setValue(QStringLiteral("Date_Analysis"), Clock::today());
    values.setValue(QStringLiteral("Value_Analysis"), 0.0);
    values.setValue(QStringLiteral("Value_Min"), 5.0);
    values.setValue(QStringLiteral("Value_Max"), 18.0);
    TEnterAnalysisValue w(values, 1, QStringLiteral("mg/l"));
    w.show();
    QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Title"))->text(), u("  Saisie d'une valeur"));
    QCOMPARE(edit(&w, "Ed_Date")->text(), QStringLiteral("12/03/2026"));
    QCOMPARE(edit(&w, "Ed_Value")->text(), QStringLiteral("0,0 mg/l"));
    QCOMPARE(edit(&w, "Ed_Min")->text(), QStringLiteral("5,0 mg/l"));
    QVERIFY(w.okButton()->isEnabled());

    // Letters do not even get typed.
    typeOver(edit(&w, "Ed_Value"), QStringLiteral("1x2"));
    QCOMPARE(edit(&w, "Ed_Value")->text(), QStringLiteral("12"));
    // One decimal more than the analysis shows.
    typeOver(edit(&w, "Ed_Value"), QStringLiteral("12,45"));
    w.okButton()->click();
    QVERIFY(w.isVisible());
    QCOMPARE(lastMessage(), u("« Valeur » s'écrit avec 1 décimale(s) au plus : 12,45 en a 2."));
    typeOver(edit(&w, "Ed_Value"), QStringLiteral("12,5"));
    // A remark longer than its column.
    auto* memo = w.findChild<QPlainTextEdit*>(QStringLiteral("Memo_Remark1"));
    memo->setPlainText(QString(129, QLatin1Char('o')));
    w.okButton()->click();
    QVERIFY(w.isVisible());
    QVERIFY2(lastMessage().contains(u("« Remarques »")) && lastMessage().contains(u("128")),
             qPrintable(lastMessage()));
    memo->setPlainText(QString(128, QLatin1Char('o')));
    // An impossible date.
    typeOver(edit(&w, "Ed_Date"), QStringLiteral("30022026"));
    w.okButton()->click();
    QVERIFY(w.isVisible());
    QVERIFY2(lastMessage().contains(QStringLiteral("30/02/2026")), qPrintable(lastMessage()));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ANALYSIS")), 0);

    typeOver(edit(&w, "Ed_Date"), QStringLiteral("28022026"));
    w.okButton()->click();
    QVERIFY(!w.isVisible());
    QVariantList row;
    m_db->connection.forEachRow(
        QStringLiteral("SELECT Id_Ref, Date_Analysis, Value_Analysis, Value_Min, Value_Max, "
                       "length(Remark1) FROM ANALYSIS"),
        [&row](const QVariantList& r) { row = r; });
    QCOMPARE(row, (QVariantList{100, u("2026-02-28"), 12.5, 5.0, 18.0, 128}));
}

void TestAnalysisEntry::cancellingAValueLeavesNoRow()
{
    seed();
    DataSet& values = ds("Analysis");
    values.replaceWhereLine(QStringLiteral("WHERE ID_REF=100"));
    values.open();
    values.append();
    values.setValue(QStringLiteral("Id_Ref"), 100);
    TEnterAnalysisValue w(values, 1, QStringLiteral("mg/l"));
    w.show();
    QVERIFY(!w.okButton()->isEnabled());
    typeOver(edit(&w, "Ed_Value"), QStringLiteral("3"));
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(!values.isEditing());
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ANALYSIS")), 0);
}

QTEST_MAIN(TestAnalysisEntry)
#include "tst_analysisentry.moc"
