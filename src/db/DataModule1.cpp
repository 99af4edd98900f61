#include "db/DataModule1.h"
#include "core/Clock.h"

#include "db/AnimalPictureStore.h"
#include "db/CalcFields.h"
#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/DbError.h"

#include <QDate>
#include <QFile>

#include <array>

namespace tav {

namespace {

const char* const kAnimalMemos[] = {"Description", "Insurance", "Comportment",
                                    "Previous",    "Misc11",    "Misc12"};

// Removes every row of a data set filtered on one owner, one at a time so
// that each row's own rule runs.
void deleteRowsOf(DataSet& ds, const QString& keyColumn, qint64 key)
{
    ds.close();
    ds.filterBy(keyColumn, key);
    ds.open();
    while (!ds.isEmpty()) {
        ds.first();
        ds.remove();
    }
    ds.close();
}

} // namespace

DataModule1::DataModule1(Connection& connection, const QString& databaseFolder, QObject* parent)
    : DataModule(QStringLiteral("TDataModule1"), connection, mainModuleDataSets(), parent),
      m_databaseFolder(databaseFolder)
{
    if (!m_databaseFolder.isEmpty() && !m_databaseFolder.endsWith(QLatin1Char('/')))
        m_databaseFolder += QLatin1Char('/');
    DataSet& a = animal();
    a.setDisplayFormat(QStringLiteral("BirthDay_Weight"), QStringLiteral("#######0.000 Kg"));
    a.setDisplayFormat(QStringLiteral("Begin_Weight"), QStringLiteral("#######0.000 Kg"));
    a.setDisplayFormat(QStringLiteral("End_Weight"), QStringLiteral("#######0.000 Kg"));
    a.setDisplayFormat(QStringLiteral("BirthDay_Size"), QStringLiteral("#######0.00 cm"));
    a.setDisplayFormat(QStringLiteral("Begin_Size"), QStringLiteral("#######0.00 cm"));
    a.setDisplayFormat(QStringLiteral("End_Size"), QStringLiteral("#######0.00 cm"));
    for (const char* d : {"BirthDay_Date", "Begin_Date", "End_Date"})
        a.setTextDate(QString::fromLatin1(d));
    // Messages about a refused value name the field as the card does.
    const std::pair<const char*, const char*> captions[] = {
        {"Name", "Nom"},
        {"ForeName", "Second nom"},
        {"Sex", "Sexe"},
        {"Color", "Couleur"},
        {"Pedigree", "Pédigré"},
        {"Sterilized", "Stérilisé"},
        {"BirthDay_Date", "Date de naissance"},
        {"BirthDay_Time", "Heure de naissance"},
        {"BirthDay_City", "Lieu de naissance"},
        {"BirthDay_Weight", "Poids"},
        {"BirthDay_Size", "Taille"},
        {"Begin_Date", "Date d'arrivée"},
        {"Begin_Time", "Heure d'arrivée"},
        {"Begin_Breeder", "Eleveur"},
        {"Begin_Weight", "Poids"},
        {"Begin_Size", "Taille"},
        {"End_Date", "Date de départ"},
        {"End_Time", "Heure de départ"},
        {"End_Type", "Type de départ"},
        {"End_Weight", "Poids"},
        {"End_Size", "Taille"},
        {"Identification_No", "N° d'identification"},
        {"Identification_Type", "Type d'identification"},
        {"Identification_Location", "Emplacement"},
        {"Blood", "Groupe sanguin"},
        {"Insurance", "Assurance"},
        {"Comportment", "Comportement"},
        {"Previous", "Antécédants"},
        {"Weight", "Poids"},
        {"Size", "Taille"},
    };
    for (const auto& [field, caption] : captions)
        a.setCaption(QString::fromLatin1(field), QString::fromUtf8(caption));
    for (const char* f : {"Price", "Price_Repayment", "Price_Repayment_Comp"})
        dataSet(QStringLiteral("Action"))
            .setDisplayFormat(QString::fromLatin1(f), plainMoneyFormat());
    attachRules();
}

QString DataModule1::animalPhotoPath(int animalId) const
{
    return m_databaseFolder + QStringLiteral("Images/Animal") + QString::number(animalId) +
           QStringLiteral(".jpg");
}

QString DataModule1::documentImagePath(int documentId) const
{
    return m_databaseFolder + QStringLiteral("Images/Doc") + QString::number(documentId) +
           QStringLiteral(".jpg");
}

QString DataModule1::documentFilePath(int fileId) const
{
    return m_databaseFolder + QStringLiteral("Files/File") + QString::number(fileId) +
           QStringLiteral(".f");
}

void DataModule1::queueFileDeletion(const QString& path)
{
    m_pendingFiles.append(path);
}

void DataModule1::flushFiles()
{
    const QStringList files = m_pendingFiles;
    m_pendingFiles.clear();
    // A missing file is no error, and a file that cannot be removed does not
    // undo the deletion of its row.
    for (const QString& f : files)
        QFile::remove(f);
}

void DataModule1::commitFileBatch()
{
    if (m_fileBatch > 0 && --m_fileBatch == 0)
        flushFiles();
}

void DataModule1::abandonFileBatch()
{
    if (m_fileBatch > 0 && --m_fileBatch == 0)
        m_pendingFiles.clear();
}

void DataModule1::attachRules()
{
    DataSet& a = animal();
    // Stored after the pictures: read for the animals that ask for them.
    a.setLateColumns({QStringLiteral("Weight"), QStringLiteral("Size")});
    a.onNewRecord = [this](DataSet& ds) {
        for (const char* m : kAnimalMemos)
            ds.setValue(QString::fromLatin1(m), QString(QLatin1String("")));
        // The new animal exists in the table from the moment it is started,
        // its pictures empty rather than missing (readers take both alike).
        ds.post();
        AnimalPictureStore(connection()).clearPictures(ds.asInt(QStringLiteral("Id")));
        ds.edit();
    };
    a.afterPost = [this](DataSet& ds) {
        if (!m_addingAnimal)
            emit animalWritten(ds.asInt(QStringLiteral("Id")));
    };
    a.beforeDelete = [this](DataSet& ds) {
        const int id = ds.asInt(QStringLiteral("Id"));
        queueFileDeletion(animalPhotoPath(id));
        deleteRowsOf(dataSet(QStringLiteral("DocumentImg")), QStringLiteral("DocumentImg.Id_Ref"),
                     id);
        deleteRowsOf(dataSet(QStringLiteral("DocumentFile")), QStringLiteral("DocumentFile.Id_Ref"),
                     id);
    };
    a.afterDelete = [this](DataSet&) {
        if (m_fileBatch == 0)
            flushFiles();
    };
    auto animalDataChange = [this, &a]() {
        emit currentAnimalChanged();
        if (a.state() == DataSet::State::Insert)
            return;
        emit speciesBreedChanged();
        emit controlsChanged();
    };
    connect(&a, &DataSet::currentChanged, this, animalDataChange);
    connect(&a, &DataSet::fieldChanged, this, animalDataChange);

    DataSet& action = dataSet(QStringLiteral("Action"));
    action.onNewRecord = [this](DataSet& ds) {
        DataSet& an = animal();
        if (an.isOpen() && !an.isEmpty())
            ds.setValue(QStringLiteral("Id_Ref"), an.value(QStringLiteral("Id")));
        ds.setValue(QStringLiteral("Repayment"), false);
        ds.setValue(QStringLiteral("Repayment_Comp"), false);
        ds.setValue(QStringLiteral("Price_Repayment"), 0.0);
        ds.setValue(QStringLiteral("Price_Repayment_Comp"), 0.0);
        ds.setValue(QStringLiteral("Date_Action"),
                    tav::Clock::today().toString(QStringLiteral("dd/MM/yyyy")));
    };
    action.onCalcFields = noRepaymentCalc();

    dataSet(QStringLiteral("ConsultQuery")).onCalcFields =
        chainCalcs({labelCalc(QStringLiteral("Doctor"), QStringLiteral("Name"),
                              QStringLiteral("LST_DOCTOR.Category")),
                    labelCalc(QStringLiteral("Illness"), QStringLiteral("Title"),
                              QStringLiteral("LST_ILLNESS.Gravity")),
                    noRepaymentCalc()});
    dataSet(QStringLiteral("PharmacyQuery")).onCalcFields =
        chainCalcs({labelCalc(QStringLiteral("Pharmacy"), QStringLiteral("Name"),
                              QStringLiteral("LST_PHARMACY.Category")),
                    labelCalc(QStringLiteral("Drug"), QStringLiteral("Title"),
                              QStringLiteral("LST_DRUG.Category")),
                    noRepaymentCalc()});
    dataSet(QStringLiteral("VaccineQuery")).onCalcFields =
        chainCalcs({labelCalc(QStringLiteral("Doctor"), QStringLiteral("Name"),
                              QStringLiteral("LST_DOCTOR.Category")),
                    labelCalc(QStringLiteral("Vaccin"), QStringLiteral("Title"),
                              QStringLiteral("LST_VACCINE.Category"))});

    // The pin button is for acts that are not yet reimbursed by both payers.
    // The rule follows every move of the current act, a walk through ten
    // thousand of them included: its two fields are found once per opening.
    auto pinRule = [this](DataSet* ds, bool consult) {
        return [this, ds, consult, generation = -1, fields = std::array<int, 2>{}]() mutable {
            if (!ds->isOpen() || ds->isEmpty())
                return;
            if (generation != ds->fieldsGeneration()) {
                generation = ds->fieldsGeneration();
                fields = {ds->fieldIndex(QStringLiteral("Repayment")),
                          ds->fieldIndex(QStringLiteral("Repayment_Comp"))};
            }
            // A row being entered is read from its edit buffer.
            const auto repaid = [ds](int field, const QString& name) {
                return field >= 0 && !ds->isEditing() && ds->recNo() >= 0
                           ? ds->valueAt(ds->recNo(), field).toBool()
                           : ds->asBool(name);
            };
            const bool both = repaid(fields[0], QStringLiteral("Repayment")) &&
                              repaid(fields[1], QStringLiteral("Repayment_Comp"));
            if (consult)
                emit consultPinChanged(!both);
            else
                emit pharmacyPinChanged(!both);
        };
    };
    DataSet* consult = &dataSet(QStringLiteral("ConsultQuery"));
    DataSet* pharmacy = &dataSet(QStringLiteral("PharmacyQuery"));
    connect(consult, &DataSet::currentChanged, this, pinRule(consult, true));
    connect(pharmacy, &DataSet::currentChanged, this, pinRule(pharmacy, false));

    DataSet& docImg = dataSet(QStringLiteral("DocumentImg"));
    docImg.beforeDelete = [this](DataSet& ds) {
        queueFileDeletion(documentImagePath(ds.asInt(QStringLiteral("Id"))));
    };
    DataSet& docFile = dataSet(QStringLiteral("DocumentFile"));
    docFile.beforeDelete = [this](DataSet& ds) {
        queueFileDeletion(documentFilePath(ds.asInt(QStringLiteral("Id"))));
    };
    auto afterDocumentDelete = [this](DataSet&) {
        if (m_fileBatch == 0)
            flushFiles();
    };
    docImg.afterDelete = afterDocumentDelete;
    docFile.afterDelete = afterDocumentDelete;
    // Files of a row that stays must stay too.
    auto deleteAborted = [this](DataSet&) {
        if (m_fileBatch == 0)
            m_pendingFiles.clear();
    };
    a.deleteAborted = deleteAborted;
    docImg.deleteAborted = deleteAborted;
    docFile.deleteAborted = deleteAborted;

    // The values of an analysis belong to the analysis row, not the animal.
    dataSet(QStringLiteral("L_Analysis")).beforeDelete = [this](DataSet& ds) {
        query().execSql(QStringLiteral("DELETE FROM ANALYSIS WHERE ANALYSIS.Id_Ref=") +
                        QString::number(ds.asInt(QStringLiteral("Id"))));
    };
}

int DataModule1::addAnimal()
{
    DataSet& a = animal();
    if (a.isEditing())
        a.post();
    // Restored however the insertion ends.
    struct Adding
    {
        bool& flag;
        explicit Adding(bool& f) : flag(f) { flag = true; }
        ~Adding() { flag = false; }
    } adding(m_addingAnimal);
    a.insert();
    a.post();
    return a.asInt(QStringLiteral("Id"));
}

void DataModule1::deleteCurrentAnimal()
{
    DataSet& a = animal();
    if (!a.isOpen() || a.isEmpty())
        throw DbError(QStringLiteral("Aucun carnet de santé n'est sélectionné."));
    if (a.isEditing())
        a.cancel();
    const qint64 id = a.asInt(QStringLiteral("Id"));
    DataSet& q = query();
    DataSet& lAnalysis = dataSet(QStringLiteral("L_Analysis"));
    beginFileBatch();
    try {
        Transaction tx(connection());
        q.close();
        for (const char* table : {"Weight", "Size", "Action", "Vaccine", "Event"})
            connection().exec(QStringLiteral("DELETE FROM [") + QLatin1String(table) +
                                  QStringLiteral("] WHERE Id_Ref = ?"),
                              {id});
        try {
            deleteRowsOf(lAnalysis, QStringLiteral("L_Analysis.Id_Ref"), id);
        } catch (...) {
            lAnalysis.close();
            lAnalysis.replaceWhereLine(QStringLiteral("WHERE L_ANALYSIS.Id_Analysis>-1"));
            throw;
        }
        lAnalysis.replaceWhereLine(QStringLiteral("WHERE L_ANALYSIS.Id_Analysis>-1"));
        a.remove();
        tx.commit();
    } catch (...) {
        abandonFileBatch();
        // The rows are back in the table: show them again.
        try {
            a.refreshKeepRow();
        } catch (const DbError&) {
        }
        throw;
    }
    commitFileBatch();
}

} // namespace tav
