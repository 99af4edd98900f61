#include "TestDatabase.h"
#include "TestText.h"

#include "db/AnalysisStore.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/FieldFormat.h"

#include <QtTest>

using namespace tav;

class TestAnalysisStore : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void formatsFollowDecimalsAndUnit();
    void typedNumbersAreCheckedAgainstTheDecimals();
    void remarksLongerThanTheirColumnAreRefused();
    void freeDefinitionsAndTheAnalysisShown();
    void deletingADefinitionTakesEveryCopyAndItsValues();
    void definitionDeletionFailingHalfWayChangesNothing_data();
    void definitionDeletionFailingHalfWayChangesNothing();
    void removingAFollowedAnalysisIsWholeOrNothing();

private:
    Connection& c() { return m_db->connection; }
    int count(const QString& sql) { return c().scalar(sql).toInt(); }
    // Two definitions; Médor (1) follows both, Minou (2) the first, each
    // followed analysis with two values.
    void seed();

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DataModule1> m_module;
};

void TestAnalysisStore::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestAnalysisStore::init()
{
    m_db = std::make_unique<TestDatabase>();
    m_module = std::make_unique<DataModule1>(c(), m_db->folder());
}

void TestAnalysisStore::cleanup()
{
    m_module.reset();
    m_db.reset();
}

void TestAnalysisStore::seed()
{
    c().exec(u("INSERT INTO ANIMAL (Id, Name) VALUES (1, 'Médor'), (2, 'Minou')"));
    c().exec(u("INSERT INTO LST_ANALYSIS (Id, Title, Unit, Decimal, Value_Min, Value_Max) VALUES "
               "(10, 'Créatinine', 'mg/l', 1, 5, 18), (11, 'Urée', 'g/l', 2, 0.2, 0.6)"));
    c().exec(u("INSERT INTO L_ANALYSIS (Id, Id_File, Id_Ref, Id_Analysis) VALUES "
               "(100, -1, 1, 10), (101, -1, 1, 11), (102, -1, 2, 10)"));
    for (int followed : {100, 101, 102})
        for (const char* date : {"2021-03-01", "2022-03-01"})
            c().exec(u("INSERT INTO ANALYSIS (Id_Ref, Date_Analysis, Value_Analysis) "
                       "VALUES (?, ?, 1)"),
                     {followed, QString::fromLatin1(date)});
}

void TestAnalysisStore::formatsFollowDecimalsAndUnit()
{
    QCOMPARE(analysisEditFormat(2), QStringLiteral("#######0.00"));
    QCOMPARE(analysisEditFormat(0), QStringLiteral("#######0"));
    QCOMPARE(analysisEditFormat(-3), QStringLiteral("#######0"));
    QCOMPARE(analysisDisplayFormat(3, QStringLiteral("g/l")), QStringLiteral("#######0.000 g/l"));
    // No unit: no trailing blank either.
    QCOMPARE(analysisDisplayFormat(2, QString()), QStringLiteral("#######0.00"));
    QCOMPARE(formatNumber(0, analysisDisplayFormat(2, QString())), QStringLiteral("0,00"));
    QCOMPARE(formatNumber(12.5, analysisDisplayFormat(0, QStringLiteral("g/l"))),
             QStringLiteral("13 g/l"));
    QCOMPARE(formatNumber(1234.5, analysisDisplayFormat(1, QStringLiteral("UI/l"))),
             QStringLiteral("1234,5 UI/l"));
}

void TestAnalysisStore::typedNumbersAreCheckedAgainstTheDecimals()
{
    const QString caption = QStringLiteral("Valeur");
    for (const char* good : {"12", "12,3", "12.34", "-0,5", " 7 ", ""})
        checkAnalysisNumber(QString::fromLatin1(good), 2, caption);
    checkAnalysisNumber(12.3456, 2, caption); // a stored number is no typed text
    checkAnalysisNumber(QVariant(), 0, caption);

    const auto refused = [&](const char* typed, int decimals) {
        try {
            checkAnalysisNumber(QString::fromLatin1(typed), decimals, caption);
        } catch (const DbError& e) {
            return e.message();
        }
        return QString();
    };
    QCOMPARE(refused("12,345", 2),
             u("« Valeur » s'écrit avec 2 décimale(s) au plus : 12,345 en a 3."));
    QCOMPARE(refused("3,5", 0), u("« Valeur » s'écrit sans décimale : 3,5 en a 1."));
    QCOMPARE(refused("12a", 2),
             u("'12a' n'est pas une valeur en virgule flottante correcte pour le champ 'Valeur'"));
    for (const char* bad : {"1e3", "inf", "1,2,3", "--1", "abc"})
        QVERIFY2(!refused(bad, 3).isEmpty(), bad);
}

void TestAnalysisStore::remarksLongerThanTheirColumnAreRefused()
{
    checkRemarkLength(QString(128, QLatin1Char('x')), 128, QStringLiteral("Remarques"));
    QVERIFY_THROWS_EXCEPTION(DbError, checkRemarkLength(QString(129, QLatin1Char('x')), 128,
                                                        QStringLiteral("Remarques")));
    try {
        checkRemarkLength(QString(200, QLatin1Char('x')), 128, QStringLiteral("Remarques"));
    } catch (const DbError& e) {
        QVERIFY(e.message().contains(QStringLiteral("« Remarques »")));
        QVERIFY(e.message().contains(QStringLiteral("128")));
    }
}

void TestAnalysisStore::freeDefinitionsAndTheAnalysisShown()
{
    seed();
    c().exec(u("INSERT INTO LST_ANALYSIS (Id, Title) VALUES (12, 'Albumine')"));
    AnalysisStore store(*m_module);
    const auto titles = [](const QVector<AnalysisRow>& rows) {
        QStringList out;
        for (const AnalysisRow& r : rows)
            out << r.title;
        return out;
    };
    QCOMPARE(titles(store.freeDefinitions(1)), strings({"Albumine"}));
    QCOMPARE(titles(store.freeDefinitions(2)), strings({"Albumine", "Urée"}));
    QCOMPARE(titles(store.freeDefinitions(3)), strings({"Albumine", "Créatinine", "Urée"}));
    QCOMPARE(titles(store.followed(1)), strings({"Créatinine", "Urée"}));

    QCOMPARE(store.resolveShown(101, 1), qint64(101));
    // Another animal's analysis or a vanished one: the animal's first.
    QCOMPARE(store.resolveShown(102, 1), qint64(100));
    QCOMPARE(store.resolveShown(999, 2), qint64(102));
    QCOMPARE(store.resolveShown(-1, 3), qint64(-1));

    const auto followed = store.followedAnalysis(101);
    QVERIFY(followed);
    QCOMPARE(followed->title, u("Urée"));
    QVERIFY(!store.followedAnalysis(999));
    const auto definition = store.definition(11);
    QCOMPARE(definition->unit, QStringLiteral("g/l"));
    QCOMPARE(definition->decimals, 2);
    QCOMPARE(definition->valueMin.toDouble(), 0.2);
    QCOMPARE(definition->valueMax.toDouble(), 0.6);
    QVERIFY(store.definition(12)->valueMin.isNull());
}

void TestAnalysisStore::deletingADefinitionTakesEveryCopyAndItsValues()
{
    seed();
    DataSet& catalogue = m_module->dataSet(QStringLiteral("Lst_Analysis"));
    catalogue.open();
    QVERIFY(catalogue.locateId(10));
    AnalysisStore(*m_module).removeDefinition(catalogue);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM LST_ANALYSIS")), 1);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM L_ANALYSIS")), 1);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ANALYSIS")), 2);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ANALYSIS WHERE Id_Ref=101")), 2);
    QCOMPARE(catalogue.recordCount(), 1);
    // The followed analyses' query is back to its usual filter.
    QVERIFY(m_module->dataSet(QStringLiteral("L_Analysis"))
                .sql()
                .contains(QStringLiteral("WHERE L_ANALYSIS.Id_Analysis>-1")));
}

void TestAnalysisStore::definitionDeletionFailingHalfWayChangesNothing_data()
{
    QTest::addColumn<QString>("trigger");
    // After the values and copies are gone, the definition itself refuses.
    QTest::newRow("definition") << QStringLiteral(
        "CREATE TRIGGER refuse BEFORE DELETE ON LST_ANALYSIS "
        "BEGIN SELECT RAISE(ABORT, 'refus'); END");
    // The second animal's copy refuses, after the first one went.
    QTest::newRow("second copy") << QStringLiteral(
        "CREATE TRIGGER refuse BEFORE DELETE ON L_ANALYSIS WHEN OLD.Id=102 "
        "BEGIN SELECT RAISE(ABORT, 'refus'); END");
}

void TestAnalysisStore::definitionDeletionFailingHalfWayChangesNothing()
{
    QFETCH(QString, trigger);
    seed();
    c().execScript(trigger);
    DataSet& catalogue = m_module->dataSet(QStringLiteral("Lst_Analysis"));
    catalogue.open();
    QVERIFY(catalogue.locateId(10));
    QVERIFY_THROWS_EXCEPTION(DbError, AnalysisStore(*m_module).removeDefinition(catalogue));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM LST_ANALYSIS")), 2);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM L_ANALYSIS")), 3);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ANALYSIS")), 6);
    QVERIFY(!c().inTransaction());
    // The list still shows both definitions, and the filter is restored.
    QCOMPARE(catalogue.recordCount(), 2);
    QVERIFY(m_module->dataSet(QStringLiteral("L_Analysis"))
                .sql()
                .contains(QStringLiteral("WHERE L_ANALYSIS.Id_Analysis>-1")));
}

void TestAnalysisStore::removingAFollowedAnalysisIsWholeOrNothing()
{
    seed();
    c().execScript(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON L_ANALYSIS WHEN "
                                  "OLD.Id=101 BEGIN SELECT RAISE(ABORT, 'refus'); END"));
    AnalysisStore store(*m_module);
    QVERIFY_THROWS_EXCEPTION(DbError, store.removeFollowed(101));
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ANALYSIS WHERE Id_Ref=101")), 2);
    store.removeFollowed(100);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM ANALYSIS WHERE Id_Ref=100")), 0);
    QCOMPARE(count(QStringLiteral("SELECT COUNT(*) FROM L_ANALYSIS")), 2);
}

QTEST_GUILESS_MAIN(TestAnalysisStore)
#include "tst_analysisstore.moc"
