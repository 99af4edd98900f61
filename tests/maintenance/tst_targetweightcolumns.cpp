#include "TestText.h"

#include "core/AppInfo.h"
#include "db/Connection.h"
#include "db/Schema.h"
#include "db/VersionRow.h"
#include "maintenance/UpdateScript.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace tav;

// The update script delivered with this version, run on booklets made by
// the previous one.
class TestTargetWeightColumns : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void anOlderBookletGetsEmptyNumericColumns();
    void aSecondRunChangesNothing();
    void theTemplateAlreadyHasThem();

private:
    QStringList animalColumns();
    MaintenanceResult runDelivered();
    QStringList log() const;

    std::unique_ptr<QTemporaryDir> m_root;
    std::unique_ptr<Connection> m_db;
    UpdateScriptContext m_context;
};

void TestTargetWeightColumns::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    const QString data = m_root->path() + QLatin1Char('/');
    QDir().mkpath(data + QStringLiteral("Data/Access"));
    m_db = std::make_unique<Connection>();
    m_db->open(data + QStringLiteral("Data/Access/TAVIRUNE.MDB"), true);
    createSchema(*m_db);
    // The previous version's ANIMAL table, with one animal weighed already.
    m_db->exec(QStringLiteral("ALTER TABLE ANIMAL DROP COLUMN Target_Weight_Min"));
    m_db->exec(QStringLiteral("ALTER TABLE ANIMAL DROP COLUMN Target_Weight_Max"));
    m_db->exec(QStringLiteral("INSERT INTO ANIMAL (Name, Begin_Weight) VALUES ('Médor', 12.5)"));
    writeDatabaseVersion(*m_db, QStringLiteral("1.13"));
    m_context.connection = m_db.get();
    m_context.dataFolder = data;
    m_context.programFolder = data;
    m_context.databaseFolder = data + QStringLiteral("Data/");
}

void TestTargetWeightColumns::cleanup()
{
    m_db.reset();
    m_root.reset();
}

QStringList TestTargetWeightColumns::animalColumns()
{
    QStringList columns;
    m_db->forEachRow(QStringLiteral("PRAGMA table_info(ANIMAL)"),
                     [&columns](const QVariantList& r) { columns << r.at(1).toString(); });
    return columns;
}

MaintenanceResult TestTargetWeightColumns::runDelivered()
{
    const QString delivered = qEnvironmentVariable("TAVIRUNE_PROGRAM_DIR") +
                              QStringLiteral("/Maj/") + appinfo::updateScriptName();
    return runUpdateScript(m_context, delivered, false);
}

QStringList TestTargetWeightColumns::log() const
{
    return QString::fromUtf8(readBytes(m_context.dataFolder + QStringLiteral("Maj.Log")))
        .split(QStringLiteral("\r\n"));
}

void TestTargetWeightColumns::anOlderBookletGetsEmptyNumericColumns()
{
    QVERIFY(versionNumber(readDatabaseVersion(*m_db)) < versionNumber(appinfo::programVersion()));
    QVERIFY(!animalColumns().contains(QStringLiteral("Target_Weight_Min")));
    QVERIFY(runDelivered().ok);
    const QStringList columns = animalColumns();
    QVERIFY(columns.contains(QStringLiteral("Target_Weight_Min")));
    QVERIFY(columns.contains(QStringLiteral("Target_Weight_Max")));
    // Existing animals have no band until one is entered.
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT typeof(Target_Weight_Min) || ',' || "
                                         "typeof(Target_Weight_Max) FROM ANIMAL"))
                 .toString(),
             QStringLiteral("null,null"));
    // Numeric affinity: a value given as text is stored as a number, so
    // that comparing it with the weighings compares numbers.
    m_db->exec(
        QStringLiteral("UPDATE ANIMAL SET Target_Weight_Min='28', Target_Weight_Max='32.5'"));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT typeof(Target_Weight_Min) || ',' || "
                                         "typeof(Target_Weight_Max) FROM ANIMAL"))
                 .toString(),
             QStringLiteral("real,real"));
    QVERIFY(m_db->scalar(QStringLiteral("SELECT Target_Weight_Max > 4 FROM ANIMAL")).toBool());
    QVERIFY(log()
                .join(QLatin1Char('\n'))
                .contains(QStringLiteral("SQL:ALTER TABLE ANIMAL ADD COLUMN Target_Weight_Min "
                                         "DOUBLE (Ok)")));
}

void TestTargetWeightColumns::aSecondRunChangesNothing()
{
    QVERIFY(runDelivered().ok);
    m_db->exec(QStringLiteral("UPDATE ANIMAL SET Target_Weight_Min=28, Target_Weight_Max=32"));
    QFile::remove(m_context.dataFolder + QStringLiteral("Maj.Log"));
    QVERIFY(runDelivered().ok);
    const QString second = log().join(QLatin1Char('\n'));
    QCOMPARE(second.count(u("*** Mise à jour déjà effectuée ***")), 2);
    QVERIFY2(!second.contains(QStringLiteral("error")), qPrintable(second));
    QCOMPARE(m_db->scalar(QStringLiteral("SELECT Target_Weight_Min || '-' || Target_Weight_Max "
                                         "FROM ANIMAL"))
                 .toString(),
             QStringLiteral("28.0-32.0"));
    QCOMPARE(animalColumns().filter(QStringLiteral("Target_Weight")).size(), 2);
}

void TestTargetWeightColumns::theTemplateAlreadyHasThem()
{
    Connection templateDb;
    templateDb.open(qEnvironmentVariable("TAVIRUNE_PROGRAM_DIR") +
                    QStringLiteral("/Ressources/DB/Data/Access/TAVIRUNE.MDB"));
    QCOMPARE(readDatabaseVersion(templateDb), appinfo::programVersion());
    QCOMPARE(templateDb
                 .scalar(QStringLiteral("SELECT COUNT(*) FROM pragma_table_info('ANIMAL') WHERE "
                                        "name IN ('Target_Weight_Min', 'Target_Weight_Max') AND "
                                        "type='DOUBLE'"))
                 .toInt(),
             2);
}

QTEST_GUILESS_MAIN(TestTargetWeightColumns)
#include "tst_targetweightcolumns.moc"
