#include "TestDatabase.h"
#include "TestText.h"

#include "db/CareTotals.h"
#include "db/FieldFormat.h"

#include <QtTest>

using namespace tav;

class TestCareTotals : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void sumsTheYearAndAllYearsOfOneAnimalAndTag();
    void emptyAmountsCountAsZero();
};

void TestCareTotals::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
}

void TestCareTotals::sumsTheYearAndAllYearsOfOneAnimalAndTag()
{
    TestDatabase db;
    const char* rows[] = {// animal, tag, date, price, primary, complementary
                          "(1, 1, '2026-03-02', 45, 30.5, 10)",
                          "(1, 1, '2026-11-30', 387.10, 169.5, 0)",
                          "(1, 1, '2025-12-31', 100, 0, 0)", "(1, 2, '2026-05-01', 12, 0, 0)",
                          "(2, 1, '2026-05-01', 999, 0, 0)"};
    for (const char* r : rows)
        db.connection.exec(QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag, Date_Action, Price, "
                                          "Price_Repayment, Price_Repayment_Comp) VALUES ") +
                           QLatin1String(r));
    const CareTotals t = careTotals(db.connection, 1, 1, 2026);
    QCOMPARE(t.inYear.paid, 432.10);
    QCOMPARE(t.inYear.reimbursed, 210.0);
    QCOMPARE(t.allYears.paid, 532.10);
    QCOMPARE(careTotalsText(t, moneyFormat(u("€"))),
             u("2026 : 432,10 € payés, 210,00 € remboursés, 222,10 € restants\nTotal : "
               "532,10 € payés, 210,00 € remboursés, 322,10 € restants"));
    QCOMPARE(careTotals(db.connection, 1, 2, 2026).allYears.paid, 12.0);
    QCOMPARE(careTotals(db.connection, 3, 1, 2026).allYears.paid, 0.0);
}

void TestCareTotals::emptyAmountsCountAsZero()
{
    TestDatabase db;
    db.connection.exec(QStringLiteral(
        "INSERT INTO [ACTION] (Id_Ref, Tag, Date_Action) VALUES (1, 1, '2026-01-01')"));
    db.connection.exec(QStringLiteral(
        "INSERT INTO [ACTION] (Id_Ref, Tag, Date_Action, Price) VALUES (1, 1, '2026-01-02', 20)"));
    const CareTotals t = careTotals(db.connection, 1, 1, 2026);
    QCOMPARE(t.inYear.paid, 20.0);
    QCOMPARE(t.inYear.reimbursed, 0.0);
    QCOMPARE(t.inYear.remaining(), 20.0);
}

QTEST_GUILESS_MAIN(TestCareTotals)
#include "tst_caretotals.moc"
