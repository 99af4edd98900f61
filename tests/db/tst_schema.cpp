#include "TestDatabase.h"

#include "db/DataModule1.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "db/DbError.h"
#include "db/Schema.h"
#include "db/VersionRow.h"

#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

using namespace tav;

namespace {

QString templatePath()
{
    return qEnvironmentVariable("TAVIRUNE_PROGRAM_DIR") +
           QStringLiteral("/Ressources/DB/Data/Access/TAVIRUNE.MDB");
}

QStringList columnsOf(Connection& c, const QString& table)
{
    QSqlQuery q(c.database());
    q.exec(QStringLiteral("PRAGMA table_info([%1])").arg(table));
    QStringList out;
    while (q.next())
        out << q.value(1).toString() + QLatin1Char(':') + q.value(2).toString();
    return out;
}

} // namespace

class TestSchema : public QObject
{
    Q_OBJECT
private slots:
    void tablesCarryTheirDeclaredTypes();
    void keysAndDefaults();
    void templateIsCompleteAndReadableByTheStockTool();
    void everyDataSetOpensOnTheTemplate();
    void everyNamedFieldExists();
    void textColumnsKeepWhatIsTyped();
    void pagesReadTheirRowsThroughAnIndex();
};

void TestSchema::tablesCarryTheirDeclaredTypes()
{
    TestDatabase db;
    const QStringList animal = columnsOf(db.connection, QStringLiteral("ANIMAL"));
    QCOMPARE(animal.size(), 62);
    QCOMPARE(animal.first(), QStringLiteral("Id:INTEGER"));
    QVERIFY(animal.contains(QStringLiteral("Name:TEXT(128)")));
    QVERIFY(animal.contains(QStringLiteral("BirthDay_Date:TEXT(10)")));
    QVERIFY(animal.contains(QStringLiteral("Pedigree:YESNO")));
    QVERIFY(animal.contains(QStringLiteral("ImgMini1:LONGBINARY")));
    QVERIFY(animal.contains(QStringLiteral("Comment1:TEXT(255)")));
    QVERIFY(animal.contains(QStringLiteral("Custom00144243:TEXT(255)")));
    QVERIFY(animal.contains(QStringLiteral("Target_Weight_Min:DOUBLE")));
    QVERIFY(animal.contains(QStringLiteral("Target_Weight_Max:DOUBLE")));
    const QStringList action = columnsOf(db.connection, QStringLiteral("ACTION"));
    QVERIFY(action.contains(QStringLiteral("Price:CURRENCY")));
    QVERIFY(action.contains(QStringLiteral("Date_Action:DATETIME")));
    QVERIFY(action.contains(QStringLiteral("Id_Org:SHORT")));
    QCOMPARE(action.size(), 22);
    QCOMPARE(columnsOf(db.connection, QStringLiteral("COMBOITEMS")).size(), 24);
    QCOMPARE(columnsOf(db.connection, QStringLiteral("L_ANALYSIS")).size(), 34);
    // Every table of the definition exists, and no other.
    QStringList expected;
    for (const TableDef& t : schemaTables())
        expected << t.name;
    QStringList actual = db.connection.tableNames();
    actual.removeAll(QStringLiteral("sqlite_sequence"));
    expected.sort();
    actual.sort();
    QCOMPARE(actual, expected);
}

void TestSchema::keysAndDefaults()
{
    TestDatabase db;
    // Owner keys hold animals numbered past 16 bits.
    for (const char* t : {"ACTION", "VACCINE", "WEIGHT", "SIZE", "EVENT", "DOCUMENTIMG",
                          "DOCUMENTFILE", "ANALYSIS", "L_ANALYSIS"})
        QVERIFY2(columnsOf(db.connection, QString::fromLatin1(t))
                     .contains(QStringLiteral("Id_Ref:LONG")),
                 t);
    db.connection.exec(QStringLiteral("INSERT INTO ANIMAL_SPECIES (Title) VALUES ('Chien')"));
    QCOMPARE(db.connection.scalar(QStringLiteral("SELECT Id_File FROM ANIMAL_SPECIES")).toInt(),
             -1);
    // An event row has no key column but can still be reached.
    QVERIFY(!columnsOf(db.connection, QStringLiteral("EVENT"))
                 .join(QLatin1Char(' '))
                 .contains(QLatin1String("Id:")));
    db.connection.exec(
        QStringLiteral("INSERT INTO EVENT (Id_Ref, Description) VALUES (40000, 'x')"));
    QCOMPARE(db.connection.scalar(QStringLiteral("SELECT Id_Ref FROM EVENT")).toInt(), 40000);
}

void TestSchema::templateIsCompleteAndReadableByTheStockTool()
{
    QVERIFY(QFile::exists(templatePath()));
    Connection c;
    c.open(templatePath());
    QCOMPARE(readDatabaseVersion(c), QStringLiteral("1.14"));
    QCOMPARE(c.scalar(QStringLiteral("SELECT COUNT(*) FROM CUSTOMLAB")).toInt(), 1);
    QCOMPARE(c.scalar(QStringLiteral("SELECT COUNT(*) FROM COMBOITEMS")).toInt(), 1);
    QVERIFY(
        c.scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL_SPECIES WHERE Id_File=-1")).toInt() >=
        10);
    QVERIFY(c.scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL_BREED b JOIN ANIMAL_SPECIES s ON "
                                    "b.Id_Species=s.Id WHERE s.Title='chien'"))
                .toInt() >= 30);
    QVERIFY(c.scalar(QStringLiteral("SELECT COUNT(*) FROM LST_VACCINE")).toInt() >= 8);
    QVERIFY(
        c.scalar(QStringLiteral("SELECT COUNT(*) FROM LST_ANALYSIS WHERE Value_Min < Value_Max"))
            .toInt() >= 20);
    QCOMPARE(
        c.scalar(QStringLiteral("SELECT COUNT(*) FROM LST_ANALYSIS WHERE Value_Min >= Value_Max"))
            .toInt(),
        0);
    QCOMPARE(c.scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL")).toInt(), 0);
    c.close();

    // The stock tool needs nothing that only the application registers.
    QProcess sqlite;
    sqlite.start(
        QStringLiteral("sqlite3"),
        {templatePath(), QStringLiteral("PRAGMA integrity_check; SELECT Title FROM ANIMAL_SPECIES "
                                        "WHERE Title='Chien' ORDER BY Title;")});
    QVERIFY(sqlite.waitForFinished(10000));
    QCOMPARE(sqlite.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(sqlite.readAllStandardOutput()).trimmed(),
             QStringLiteral("ok\nChien"));
}

void TestSchema::everyDataSetOpensOnTheTemplate()
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("TAVIRUNE.MDB"));
    QVERIFY(QFile::copy(templatePath(), copy));
    Connection c;
    c.open(copy);
    DataModule1 m1(c, dir.path());
    DataModule2 m2(c);
    DataModuleReport mr(c);
    int opened = 0;
    for (DataModule* m : std::initializer_list<DataModule*>{&m1, &m2, &mr}) {
        for (DataSet* ds : m->dataSets()) {
            if (ds->sql().isEmpty())
                continue; // the scratch queries get their statement from their users
            try {
                ds->open();
            } catch (const DbError& e) {
                QFAIL(qPrintable(ds->name() + QStringLiteral(": ") + e.message()));
            }
            QVERIFY(ds->fieldCount() > 0);
            ds->close();
            ++opened;
        }
    }
    QCOMPARE(opened, 32);
}

void TestSchema::everyNamedFieldExists()
{
    // A definition naming a column that the statement lacks would silently
    // drop a grid column: every one must resolve, in its order.
    TestDatabase db;
    DataModule1 m1(db.connection, db.folder());
    DataModule2 m2(db.connection);
    for (DataModule* m : std::initializer_list<DataModule*>{&m1, &m2}) {
        for (DataSet* ds : m->dataSets()) {
            if (ds->sql().isEmpty())
                continue;
            ds->open();
            int at = 0;
            for (const FieldDef& def : ds->fieldDefs()) {
                if (def.name == QLatin1String("*"))
                    continue;
                const int i = ds->fieldIndex(def.name);
                QVERIFY2(i >= 0, qPrintable(ds->name() + QLatin1Char('.') + def.name));
                QCOMPARE(ds->field(i).caption(),
                         def.caption.isEmpty() ? ds->field(i).name() : def.caption);
                QVERIFY2(i >= at, qPrintable(ds->name() + QLatin1Char('.') + def.name));
                at = i;
            }
            ds->close();
        }
    }
    DataSet& consult = m1.dataSet(QStringLiteral("ConsultQuery"));
    consult.open();
    QCOMPARE(consult.field(0).name(), QStringLiteral("Repayment"));
    QCOMPARE(consult.field(consult.fieldCount() - 1).name(), QStringLiteral("NoRepayment"));
    QVERIFY(consult.hasField(QStringLiteral("ACTION.Gravity")));
    QVERIFY(consult.hasField(QStringLiteral("LST_ILLNESS.Gravity")));
    QVERIFY(consult.hasField(QStringLiteral("LST_DOCTOR.Category")));
    DataSet& animal = m1.animal();
    animal.open();
    QCOMPARE(animal.field(animal.fieldIndex(QStringLiteral("Weight"))).column,
             QStringLiteral("Comment1"));
    QCOMPARE(animal.field(animal.fieldIndex(QStringLiteral("Size"))).column,
             QStringLiteral("Custom00144243"));
}

void TestSchema::textColumnsKeepWhatIsTyped()
{
    // Texts that look like numbers: the engine must not turn them into ones.
    const QStringList typed = {QStringLiteral("0612345678"), QStringLiteral("1.50"),
                               QStringLiteral("  007"), QStringLiteral("1e3")};
    const QStringList memos = {QStringLiteral("Misc11"), QStringLiteral("Misc12"),
                               QStringLiteral("Description"), QStringLiteral("Previous")};
    TestDatabase db;
    DataModule1 m(db.connection, db.folder());
    DataSet& animal = m.animal();
    animal.open();
    animal.insert();
    animal.setValue(QStringLiteral("Name"), QStringLiteral("Rex"));
    for (int i = 0; i < typed.size(); ++i)
        animal.setValue(memos.at(i), typed.at(i));
    animal.post();
    DataSet& combo = m.dataSet(QStringLiteral("ComboItems"));
    combo.open();
    combo.append();
    combo.setValue(QStringLiteral("Sex"), QStringLiteral("00"));
    combo.post();
    animal.close();
    animal.open();
    combo.close();
    combo.open();
    for (int i = 0; i < typed.size(); ++i)
        QCOMPARE(animal.asString(memos.at(i)), typed.at(i));
    QCOMPARE(combo.asString(QStringLiteral("Sex")), QStringLiteral("00"));
    DataSet& q = m.query();
    q.setSql({QStringLiteral("SELECT typeof(Misc11) AS t1, typeof(Misc12) AS t2, "
                             "typeof(Description) AS t3, typeof(Previous) AS t4 FROM ANIMAL")});
    q.open();
    for (const char* t : {"t1", "t2", "t3", "t4"})
        QCOMPARE(q.asString(QString::fromLatin1(t)), QStringLiteral("text"));
    q.close();
    animal.close();
    combo.close();
    db.connection.close();

    // The stock tool reads the same texts, and sees text affinity.
    QProcess sqlite;
    sqlite.start(
        QStringLiteral("sqlite3"),
        {db.path(), QStringLiteral("SELECT typeof(Misc11), Misc11, typeof(Misc12), Misc12, "
                                   "typeof(Description), Description, typeof(Previous), "
                                   "Previous FROM ANIMAL; SELECT typeof(Sex) || '|' || "
                                   "Sex FROM COMBOITEMS;")});
    QVERIFY(sqlite.waitForFinished(10000));
    QCOMPARE(sqlite.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(sqlite.readAllStandardOutput()),
             QStringLiteral("text|0612345678|text|1.50|text|  007|text|1e3\ntext|00\n"));

    // No text column of the schema or of the template reads numbers: by
    // the engine's rules, a declared type holding "TEXT" and no "INT" gives
    // text affinity.
    db.connection.open(db.path());
    Connection t;
    t.open(templatePath());
    for (Connection* c : {&db.connection, &t}) {
        for (const TableDef& table : schemaTables()) {
            for (const QString& column : columnsOf(*c, table.name)) {
                const QString name = column.section(QLatin1Char(':'), 0, 0);
                const QString declared = column.section(QLatin1Char(':'), 1).toUpper();
                if (isTextType(table.column(name)->type))
                    QVERIFY2(declared.contains(QLatin1String("TEXT")) &&
                                 !declared.contains(QLatin1String("INT")),
                             qPrintable(table.name + QLatin1Char('.') + column));
            }
        }
    }
}

void TestSchema::pagesReadTheirRowsThroughAnIndex()
{
    TestDatabase db;
    QStringList plans;
    const QString queries[] = {QStringLiteral("SELECT * FROM [ACTION] WHERE Id_Ref=1 AND Tag=1"),
                               QStringLiteral("SELECT * FROM VACCINE WHERE Id_Ref=1"),
                               QStringLiteral("SELECT * FROM WEIGHT WHERE Id_Ref=1"),
                               QStringLiteral("SELECT * FROM EVENT WHERE Id_Ref=1")};
    for (const QString& q : queries)
        db.connection.forEachRow(QStringLiteral("EXPLAIN QUERY PLAN ") + q,
                                 [&plans](const QVariantList& r) { plans << r.last().toString(); });
    QCOMPARE(plans.size(), 4);
    for (const QString& plan : std::as_const(plans))
        QVERIFY2(plan.contains(QStringLiteral("USING INDEX")), qPrintable(plan));
    // Run again on a database that has them, nothing changes.
    createRowIndexes(db.connection);
    QCOMPARE(db.connection
                 .scalar(QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type='index' "
                                        "AND name LIKE 'IX_%'"))
                 .toInt(),
             9);
}

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
