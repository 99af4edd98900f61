#include "TestDatabase.h"
#include "core/Clock.h"

#include "db/CalcFields.h"
#include "db/DataModule1.h"
#include "db/DataModule2.h"
#include "db/DataSet.h"
#include "db/DbError.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace tav;

namespace {

// A window as the data module sees it: what its signals asked for.
struct RecordingWindow : QObject
{
    void listen(DataModule1& module)
    {
        connect(&module, &DataModule1::currentAnimalChanged, this, [this]() { analysisId = -1; });
        connect(&module, &DataModule1::speciesBreedChanged, this, [this]() { ++refreshes; });
        connect(&module, &DataModule1::controlsChanged, this, [this]() { ++updates; });
        connect(&module, &DataModule1::animalWritten, this, [this](int id) { builds.append(id); });
        connect(&module, &DataModule1::consultPinChanged, this, [this](bool e) { consultPin = e; });
        connect(&module, &DataModule1::pharmacyPinChanged, this,
                [this](bool e) { pharmacyPin = e; });
    }

    int refreshes = 0, updates = 0, analysisId = 5;
    bool consultPin = false, pharmacyPin = false;
    QList<int> builds;
};

void touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("data");
}

} // namespace

class TestRecordRules : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void calculatedColumns();
    void reminderOfAVaccinationWithoutPractitioner();
    void newAnimalIsWrittenAtOnce();
    void newActionTakesTheCurrentAnimal();
    void writingTheAnimalRebuildsTheListKeepingItSelected();
    void changingAnimalRefreshesTheWindow();
    void aRuleHasEveryListener();
    void pinFollowsTheReimbursements();
    void deletingDocumentsRemovesTheirFiles();
    void deletingAnAnalysisRemovesItsValues();
    void deletingAnAnimalRemovesEverythingItOwns();
    void aFailedAnimalDeletionKeepsEverything();

private:
    int addAnimal(const QString& name);
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DataModule1> m_module;
    std::unique_ptr<RecordingWindow> m_window;
    Connection& c() { return m_db->connection; }
    QString folder() const { return m_db->folder() + QLatin1Char('/'); }
};

void TestRecordRules::init()
{
    m_db = std::make_unique<TestDatabase>();
    m_module = std::make_unique<DataModule1>(c(), m_db->folder());
    m_window = std::make_unique<RecordingWindow>();
}

void TestRecordRules::cleanup()
{
    m_module.reset();
    m_db.reset();
}

int TestRecordRules::addAnimal(const QString& name)
{
    c().exec(QStringLiteral("INSERT INTO ANIMAL (Name) VALUES (?)"), {name});
    return int(c().lastInsertId());
}

void TestRecordRules::calculatedColumns()
{
    QCOMPARE(noRepayment(50.0, 35.0, 0.0), 15.0);
    QCOMPARE(noRepayment(50.0, 35.0, QVariant()), 0.0);
    QCOMPARE(nameWithCategory(QStringLiteral("Durand"), QStringLiteral("Vétérinaire")),
             QStringLiteral("Durand (Vétérinaire)"));
    QCOMPARE(nameWithCategory(QStringLiteral("Durand"), QString()), QStringLiteral("Durand"));

    c().exec(
        QStringLiteral("INSERT INTO LST_DOCTOR (Name, Category) VALUES ('Durand', 'Vétérinaire')"));
    c().exec(QStringLiteral("INSERT INTO LST_ILLNESS (Title, Gravity) VALUES ('Otite', '')"));
    c().exec(QStringLiteral(
        "INSERT INTO [ACTION] (Id_Ref, Tag, Id_Org, Id_Illness, Date_Action, Price, "
        "Price_Repayment, Price_Repayment_Comp) VALUES (1, 1, 1, 1, '2020-01-01', 50, 35, 0)"));
    c().exec(
        QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag, Date_Action, Price, Price_Repayment) "
                       "VALUES (1, 1, '2020-02-01', 50, 35)"));
    DataSet& q = m_module->dataSet(QStringLiteral("ConsultQuery"));
    q.replaceWhereLine(QStringLiteral("WHERE ID_REF=1 AND TAG=1"));
    q.open();
    QCOMPARE(q.asString(QStringLiteral("Doctor")), QStringLiteral("Durand (Vétérinaire)"));
    QCOMPARE(q.asString(QStringLiteral("Illness")), QStringLiteral("Otite"));
    QCOMPARE(q.asDouble(QStringLiteral("NoRepayment")), 15.0);
    q.next();
    QCOMPARE(q.asString(QStringLiteral("Doctor")), QString());
    QCOMPARE(q.asDouble(QStringLiteral("NoRepayment")), 0.0);

    DataModule2 m2(c());
    DataSet& r = m2.dataSet(QStringLiteral("ConsultRepaymentQuery"));
    r.replaceWhereLine(QStringLiteral("WHERE ID_REF=1"));
    r.open();
    QCOMPARE(r.asString(QStringLiteral("Doctor")), QStringLiteral("Durand (Vétérinaire)"));
    QVERIFY(r.hasField(QStringLiteral("Convention")));
}

void TestRecordRules::reminderOfAVaccinationWithoutPractitioner()
{
    c().exec(QStringLiteral("INSERT INTO LST_VACCINE (Title, Category) VALUES ('Rage', 'Chien')"));
    c().exec(QStringLiteral(
        "INSERT INTO VACCINE (Id_Ref, Id_Vaccine, Date_Vaccine, Repeat_Date, Repeat_Exe) "
        "VALUES (1, 1, '2020-03-04', '2021-03-04', 1)"));
    DataModule2 m2(c());
    DataSet& r = m2.dataSet(QStringLiteral("RepeatVaccineQuery"));
    r.replaceWhereLine(QStringLiteral("WHERE Repeat_Exe=True"));
    r.open();
    QCOMPARE(r.recordCount(), 1);
    QCOMPARE(r.asString(QStringLiteral("Last")), QStringLiteral("04/03/2020 - "));
    QCOMPARE(r.asString(QStringLiteral("Vaccin")), QStringLiteral("Rage (Chien)"));
}

void TestRecordRules::newAnimalIsWrittenAtOnce()
{
    DataSet& a = m_module->animal();
    a.open();
    a.insert();
    // Abandoning the new animal still leaves its row.
    QCOMPARE(a.state(), DataSet::State::Edit);
    a.cancel();
    QCOMPARE(c().scalar(QStringLiteral("SELECT COUNT(*) FROM ANIMAL")).toInt(), 1);
    QCOMPARE(c().scalar(QStringLiteral("SELECT Description FROM ANIMAL")).toString(), QString());
    QVERIFY(!c().scalar(QStringLiteral("SELECT Description FROM ANIMAL")).isNull());
    QCOMPARE(c().scalar(QStringLiteral("SELECT length(ImgMini1) FROM ANIMAL")).toInt(), 0);
}

void TestRecordRules::newActionTakesTheCurrentAnimal()
{
    addAnimal(QStringLiteral("A"));
    const int b = addAnimal(QStringLiteral("B"));
    DataSet& a = m_module->animal();
    a.open();
    QVERIFY(a.locateId(b));
    DataSet& act = m_module->dataSet(QStringLiteral("Action"));
    act.open();
    const tav::Clock::Fixed clock(QDateTime(QDate(2026, 2, 28), QTime(23, 59, 59)));
    act.append();
    QCOMPARE(act.asInt(QStringLiteral("Id_Ref")), b);
    QCOMPARE(act.asBool(QStringLiteral("Repayment")), false);
    QCOMPARE(act.asDouble(QStringLiteral("Price_Repayment_Comp")), 0.0);
    QCOMPARE(act.asDate(QStringLiteral("Date_Action")), QDate(2026, 2, 28));
    act.setValue(QStringLiteral("Tag"), 2);
    act.post();
    QCOMPARE(c().scalar(QStringLiteral("SELECT Id_Ref FROM [ACTION]")).toInt(), b);
}

void TestRecordRules::writingTheAnimalRebuildsTheListKeepingItSelected()
{
    const int id = addAnimal(QStringLiteral("Rex"));
    m_window->listen(*m_module);
    DataSet& a = m_module->animal();
    a.open();
    a.setValue(QStringLiteral("Name"), QStringLiteral("Médor"));
    a.post();
    QCOMPARE(m_window->builds, QList<int>{id});
    // The new animal of addAnimal() is shown by its caller; a pending edit
    // written on the way is not.
    a.setValue(QStringLiteral("Name"), QStringLiteral("Médor III"));
    const int added = m_module->addAnimal();
    QVERIFY(added != id);
    QCOMPARE(m_window->builds, QList<int>({id, id}));
    QCOMPARE(a.asInt(QStringLiteral("Id")), added);
    // Written again once named, it is.
    a.edit();
    a.setValue(QStringLiteral("Name"), QStringLiteral("Neuf"));
    a.post();
    QCOMPARE(m_window->builds, QList<int>({id, id, added}));
}

void TestRecordRules::changingAnimalRefreshesTheWindow()
{
    addAnimal(QStringLiteral("A"));
    addAnimal(QStringLiteral("B"));
    m_window->listen(*m_module);
    DataSet& a = m_module->animal();
    a.open();
    const int before = m_window->refreshes;
    m_window->analysisId = 9;
    a.next();
    QCOMPARE(m_window->analysisId, -1);
    QCOMPARE(m_window->refreshes, before + 1);
    QVERIFY(m_window->updates > 0);
    // The defaults of a new animal do not refresh the window; only the
    // row it writes at once does.
    const int during = m_window->refreshes;
    a.insert();
    QCOMPARE(m_window->refreshes, during + 1);
    QCOMPARE(a.state(), DataSet::State::Edit);
}

void TestRecordRules::aRuleHasEveryListener()
{
    addAnimal(QStringLiteral("A"));
    addAnimal(QStringLiteral("B"));
    RecordingWindow other;
    m_window->listen(*m_module);
    other.listen(*m_module);
    DataSet& a = m_module->animal();
    a.open();
    a.next();
    a.setValue(QStringLiteral("Name"), QStringLiteral("C"));
    a.post();
    for (const RecordingWindow* w : {m_window.get(), &other}) {
        QVERIFY(w->refreshes > 0);
        QCOMPARE(w->analysisId, -1);
        QCOMPARE(w->builds.size(), 1);
    }
    QCOMPARE(other.refreshes, m_window->refreshes);
}

void TestRecordRules::pinFollowsTheReimbursements()
{
    c().exec(QStringLiteral(
        "INSERT INTO [ACTION] (Id_Ref, Tag, Repayment, Repayment_Comp) VALUES (1, 1, 1, 1)"));
    c().exec(QStringLiteral(
        "INSERT INTO [ACTION] (Id_Ref, Tag, Repayment, Repayment_Comp) VALUES (1, 1, 1, 0)"));
    m_window->listen(*m_module);
    DataSet& q = m_module->dataSet(QStringLiteral("ConsultQuery"));
    q.replaceWhereLine(QStringLiteral("WHERE ID_REF=1 AND TAG=1"));
    m_window->consultPin = true;
    q.open();
    QVERIFY(!m_window->consultPin);
    q.next();
    QVERIFY(m_window->consultPin);
    // Reopened with the payers' columns elsewhere in the row, the rule
    // reads them where they now are.
    q.close();
    QStringList lines = q.sql();
    lines[0].replace(QStringLiteral("SELECT ACTION.Id,"),
                     QStringLiteral("SELECT ACTION.Repayment_Comp AS Extra, ACTION.Id,"));
    q.setSql(lines);
    q.replaceWhereLine(QStringLiteral("WHERE ID_REF=1 AND TAG=1"));
    q.open();
    QVERIFY(!m_window->consultPin);
    q.next();
    QVERIFY(m_window->consultPin);
}

void TestRecordRules::deletingDocumentsRemovesTheirFiles()
{
    c().exec(
        QStringLiteral("INSERT INTO DOCUMENTIMG (Id_Ref, DoType, Title) VALUES (1, 1, 'Radio')"));
    c().exec(QStringLiteral(
        "INSERT INTO DOCUMENTFILE (Id_Ref, DoType, FileName) VALUES (1, 1, 'a.pdf')"));
    touch(folder() + QStringLiteral("Images/Doc1.jpg"));
    touch(folder() + QStringLiteral("Files/File1.f"));
    touch(folder() + QStringLiteral("Images/Doc2.jpg"));
    DataSet& img = m_module->dataSet(QStringLiteral("DocumentImg"));
    img.replaceWhereLine(QStringLiteral("WHERE ID_REF=1"));
    img.open();
    img.remove();
    QVERIFY(!QFile::exists(folder() + QStringLiteral("Images/Doc1.jpg")));
    QVERIFY(QFile::exists(folder() + QStringLiteral("Images/Doc2.jpg")));
    DataSet& file = m_module->dataSet(QStringLiteral("DocumentFile"));
    file.replaceWhereLine(QStringLiteral("WHERE Id_Ref=1"));
    file.open();
    file.remove();
    QVERIFY(!QFile::exists(folder() + QStringLiteral("Files/File1.f")));
    // A missing file is no error.
    c().exec(QStringLiteral(
        "INSERT INTO DOCUMENTFILE (Id_Ref, DoType, FileName) VALUES (1, 1, 'b.pdf')"));
    file.close();
    file.open();
    file.remove();
    QVERIFY(file.isEmpty());
}

void TestRecordRules::deletingAnAnalysisRemovesItsValues()
{
    c().exec(QStringLiteral(
        "INSERT INTO L_ANALYSIS (Id_Ref, Id_Analysis, Title) VALUES (1, 1, 'Urée')"));
    c().exec(QStringLiteral(
        "INSERT INTO L_ANALYSIS (Id_Ref, Id_Analysis, Title) VALUES (1, 2, 'Glucose')"));
    for (int l : {1, 1, 2})
        c().exec(QStringLiteral("INSERT INTO ANALYSIS (Id_Ref, Value_Analysis) VALUES (?, 1.0)"),
                 {l});
    DataSet& la = m_module->dataSet(QStringLiteral("L_Analysis"));
    la.open();
    QVERIFY(la.locateId(1));
    la.remove();
    QCOMPARE(c().scalar(QStringLiteral("SELECT COUNT(*) FROM ANALYSIS")).toInt(), 1);
    QCOMPARE(c().scalar(QStringLiteral("SELECT Id_Ref FROM ANALYSIS")).toInt(), 2);
}

void TestRecordRules::deletingAnAnimalRemovesEverythingItOwns()
{
    const int keep = addAnimal(QStringLiteral("Garde"));
    const int gone = addAnimal(QStringLiteral("Part"));
    for (int id : {keep, gone}) {
        const QVariantList v{id};
        c().exec(QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Weight) VALUES (?, 1)"), v);
        c().exec(QStringLiteral("INSERT INTO [SIZE] (Id_Ref, Size) VALUES (?, 1)"), v);
        c().exec(QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag) VALUES (?, 1)"), v);
        c().exec(QStringLiteral("INSERT INTO [ACTION] (Id_Ref, Tag) VALUES (?, 2)"), v);
        c().exec(QStringLiteral("INSERT INTO VACCINE (Id_Ref) VALUES (?)"), v);
        c().exec(QStringLiteral("INSERT INTO EVENT (Id_Ref, Description) VALUES (?, 'e')"), v);
        c().exec(QStringLiteral("INSERT INTO L_ANALYSIS (Id_Ref, Id_Analysis) VALUES (?, 1)"), v);
        c().exec(QStringLiteral("INSERT INTO ANALYSIS (Id_Ref) VALUES (?)"), {c().lastInsertId()});
        c().exec(QStringLiteral("INSERT INTO DOCUMENTIMG (Id_Ref, DoType) VALUES (?, 1)"), v);
        touch(folder() + QStringLiteral("Images/Doc%1.jpg").arg(c().lastInsertId()));
        c().exec(QStringLiteral("INSERT INTO DOCUMENTFILE (Id_Ref, DoType) VALUES (?, 1)"), v);
        touch(folder() + QStringLiteral("Files/File%1.f").arg(c().lastInsertId()));
        touch(folder() + QStringLiteral("Images/Animal%1.jpg").arg(id));
    }
    DataSet& a = m_module->animal();
    a.open();
    QVERIFY(a.locateId(gone));
    m_module->deleteCurrentAnimal();
    for (const char* t : {"WEIGHT", "[SIZE]", "[ACTION]", "VACCINE", "EVENT", "L_ANALYSIS",
                          "DOCUMENTIMG", "DOCUMENTFILE", "ANIMAL"}) {
        const QString table = QString::fromLatin1(t);
        QCOMPARE(
            c().scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table +
                           (table == QLatin1String("ANIMAL") ? QStringLiteral(" WHERE Id=?")
                                                             : QStringLiteral(" WHERE Id_Ref=?")),
                       {gone})
                .toInt(),
            0);
    }
    QCOMPARE(c().scalar(QStringLiteral("SELECT COUNT(*) FROM ANALYSIS")).toInt(), 1);
    QCOMPARE(
        c().scalar(QStringLiteral("SELECT COUNT(*) FROM [ACTION] WHERE Id_Ref=?"), {keep}).toInt(),
        2);
    QStringList images = QDir(folder() + QStringLiteral("Images")).entryList(QDir::Files);
    images.sort();
    QCOMPARE(images, QStringList({QStringLiteral("Animal1.jpg"), QStringLiteral("Doc1.jpg")}));
    QCOMPARE(QDir(folder() + QStringLiteral("Files")).entryList(QDir::Files),
             QStringList{QStringLiteral("File1.f")});
    QCOMPARE(m_module->dataSet(QStringLiteral("L_Analysis")).sql().at(2),
             QStringLiteral("WHERE L_ANALYSIS.Id_Analysis>-1"));
    QCOMPARE(a.recordCount(), 1);
}

void TestRecordRules::aFailedAnimalDeletionKeepsEverything()
{
    const int id = addAnimal(QStringLiteral("Rex"));
    c().exec(QStringLiteral("INSERT INTO WEIGHT (Id_Ref, Weight) VALUES (?, 1)"), {id});
    c().exec(QStringLiteral("INSERT INTO DOCUMENTIMG (Id_Ref, DoType) VALUES (?, 1)"), {id});
    touch(folder() + QStringLiteral("Images/Doc1.jpg"));
    touch(folder() + QStringLiteral("Images/Animal1.jpg"));
    // The last step of the cascade fails.
    c().exec(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE DELETE ON ANIMAL BEGIN SELECT RAISE(ABORT, 'refusé'); END"));
    DataSet& a = m_module->animal();
    a.open();
    QVERIFY_THROWS_EXCEPTION(DbError, m_module->deleteCurrentAnimal());
    QCOMPARE(c().scalar(QStringLiteral("SELECT COUNT(*) FROM WEIGHT")).toInt(), 1);
    QCOMPARE(c().scalar(QStringLiteral("SELECT COUNT(*) FROM DOCUMENTIMG")).toInt(), 1);
    QVERIFY(QFile::exists(folder() + QStringLiteral("Images/Doc1.jpg")));
    QVERIFY(QFile::exists(folder() + QStringLiteral("Images/Animal1.jpg")));
    QCOMPARE(a.recordCount(), 1);
    QVERIFY(!c().inTransaction());
    // A later, successful deletion does not take the kept files with it.
    c().exec(QStringLiteral("DROP TRIGGER refuse"));
    c().exec(QStringLiteral("INSERT INTO DOCUMENTFILE (Id_Ref, DoType) VALUES (99, 1)"));
    DataSet& f = m_module->dataSet(QStringLiteral("DocumentFile"));
    f.replaceWhereLine(QStringLiteral("WHERE Id_Ref=99"));
    f.open();
    f.remove();
    QVERIFY(QFile::exists(folder() + QStringLiteral("Images/Animal1.jpg")));
}

QTEST_GUILESS_MAIN(TestRecordRules)
#include "tst_recordrules.moc"
