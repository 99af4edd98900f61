#include "TestDatabase.h"
#include "TestText.h"

#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "output/CsvExport.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;

namespace {

// Reads a CSV file back with Python's csv module, as a spreadsheet-minded
// peer would, and returns its rows.
QList<QStringList> readWithPython(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
                                 "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                                 "    print(json.dumps(list(csv.reader(f, delimiter=';'))))\n"),
                  path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0)
        return {};
    QList<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(python.readAllStandardOutput()).array()) {
        QStringList fields;
        for (const QJsonValue& f : row.toArray())
            fields << f.toString();
        rows << fields;
    }
    return rows;
}

} // namespace

class TestCsvExport : public QObject
{
    Q_OBJECT
private slots:
    void readBackByPythonExactly();
    void bytesFollowTheFrenchSpreadsheetHabits();
    void textThatLooksLikeAFormulaIsShownAsTyped();
    void gridOfADataSetKeepsItsVisibleColumns();
    void unwritableFileSaysWhyAndLeavesNothing();
};

void TestCsvExport::readBackByPythonExactly()
{
    CsvTable table;
    table.headers = strings({"Date", "Montant", "Praticien", "Objet de la visite"});
    table.rows << QVariantList{QDate(2026, 3, 2), 45.5, u("Dr Martin (Dermatologie)"),
                               u("Démangeaisons; \"grattage\"\r\ndeux fois")};
    table.rows << QVariantList{QDate(2026, 12, 31), -5.0, QVariant(), u("=1+1")};
    table.rows << QVariantList{QVariant(), 1234567.125, u("l'Étang"), QString()};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("actes.csv"));
    QString error;
    QVERIFY2(writeCsvFile(path, table, &error), qPrintable(error));
    const QList<QStringList> rows = readWithPython(path);
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows.at(0), table.headers);
    QCOMPARE(rows.at(1), strings({"02/03/2026", "45,5", "Dr Martin (Dermatologie)",
                                  "Démangeaisons; \"grattage\"\r\ndeux fois"}));
    QCOMPARE(rows.at(2), strings({"31/12/2026", "-5", "", "'=1+1"}));
    QCOMPARE(rows.at(3), strings({"", "1234567,125", "l'Étang", ""}));
}

void TestCsvExport::bytesFollowTheFrenchSpreadsheetHabits()
{
    CsvTable table;
    table.headers = strings({"A", "B"});
    table.rows << QVariantList{0.1 + 0.2, u("x")};
    const QByteArray bytes = frenchCsv(table);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(bytes.mid(3), QByteArray("A;B\r\n0,3;x\r\n"));
}

void TestCsvExport::textThatLooksLikeAFormulaIsShownAsTyped()
{
    CsvTable table;
    table.headers = strings({"=Titre", "Valeur"});
    for (const char* text :
         {"=SUM(1+1)", "+33 6 12", "-cmd|' /C calc'!A0", "@SUM(A1)", "\tTab", "\rRetour"}) {
        table.rows << QVariantList{u(text), QVariant()};
    }
    // Numbers and dates stay what they are, a minus sign included.
    table.rows << QVariantList{-12.5, qlonglong(-3)};
    table.rows << QVariantList{QDate(2026, 1, 2), u("a=b")};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("formules.csv"));
    QString error;
    QVERIFY2(writeCsvFile(path, table, &error), qPrintable(error));
    const QList<QStringList> rows = readWithPython(path);
    QCOMPARE(rows.size(), 9);
    QCOMPARE(rows.at(0), strings({"'=Titre", "Valeur"}));
    QCOMPARE(rows.at(1).first(), u("'=SUM(1+1)"));
    QCOMPARE(rows.at(2).first(), u("'+33 6 12"));
    QCOMPARE(rows.at(3).first(), u("'-cmd|' /C calc'!A0"));
    QCOMPARE(rows.at(4).first(), u("'@SUM(A1)"));
    QCOMPARE(rows.at(5).first(), u("'\tTab"));
    QCOMPARE(rows.at(6).first(), u("'\rRetour"));
    QCOMPARE(rows.at(7), strings({"-12,5", "-3"}));
    QCOMPARE(rows.at(8), strings({"02/01/2026", "a=b"}));
}

void TestCsvExport::gridOfADataSetKeepsItsVisibleColumns()
{
    TestDatabase db;
    DataModule1 module(db.connection, db.folder());
    db.connection.exec(QStringLiteral("INSERT INTO LST_DOCTOR (Name, Category) VALUES "
                                      "('Dr Martin', 'Dermatologie')"));
    db.connection.exec(QStringLiteral(
        "INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Date_Action, Time_Action, Price, "
        "Price_Repayment, Price_Repayment_Comp) VALUES (1, 1, 1, '2026-03-02', '14:30', 45, "
        "30.5, 10)"));
    DataSet& consult = module.dataSet(QStringLiteral("ConsultQuery"));
    consult.replaceWhereLine(QStringLiteral("WHERE Tag=1 AND Action.Id_Ref=1"));
    consult.open();
    const CsvTable table = csvTableFromDataSet(consult);
    QCOMPARE(table.headers, strings({"Date", "Heure", "Montant", "Praticien", "Pathologie",
                                     "Gravité", "Objet de la visite", "Remarque du praticien",
                                     "Date remboursement", "Montant remboursé", "Non remboursé"}));
    QCOMPARE(table.rows.size(), 1);
    const QByteArray bytes = frenchCsv(table);
    QVERIFY2(bytes.contains(u("02/03/2026;14:30;45;Dr Martin (Dermatologie);").toUtf8()),
             bytes.constData());
    QVERIFY2(bytes.endsWith(";30,5;4,5\r\n"), bytes.constData());
}

void TestCsvExport::unwritableFileSaysWhyAndLeavesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("absent/actes.csv"));
    QString error;
    QVERIFY(!writeCsvFile(path, CsvTable{strings({"A"}), {}}, &error));
    QVERIFY2(error.startsWith(u("Impossible d'écrire le fichier")), qPrintable(error));
    QVERIFY(error.contains(path));
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
