#include "db/HtmlBookletStore.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/VaccinationJoin.h"

#include <QDate>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <functional>

namespace tav {

namespace {

// The columns of a BookletVaccination, in its order.
const QString kVaccinationColumns = QStringLiteral(
    "SELECT VACCINE.Date_Vaccine, VACCINE.Repeat_Date, LST_VACCINE.Title, LST_VACCINE.Category, "
    "LST_DOCTOR.Name, LST_DOCTOR.Category, VACCINE.Remark1 ");

using RowReader = std::function<void(const QSqlQuery&)>;

void eachRow(Connection& connection, const QString& sql, const QVariantList& values,
             const RowReader& read)
{
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw DbError(databaseErrorText(q.lastError(), connection.filePath()));
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw DbError(databaseErrorText(q.lastError(), connection.filePath()));
    while (q.next())
        read(q);
}

QString text(const QSqlQuery& q, int column)
{
    const QVariant v = q.value(column);
    return v.isNull() ? QString() : v.toString();
}

double number(const QSqlQuery& q, int column)
{
    const QVariant v = q.value(column);
    return v.isNull() ? 0.0 : v.toDouble();
}

// Date columns hold ISO text; the pages show day/month/year. Anything else
// stored there is shown as it stands rather than lost.
QString date(const QSqlQuery& q, int column)
{
    const QString stored = text(q, column);
    const QDate d = QDate::fromString(stored.left(10), Qt::ISODate);
    return d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : stored;
}

QString titleOf(Connection& connection, const QString& table, const QVariant& id)
{
    if (id.isNull())
        return {};
    const QVariant title = connection.scalar(
        QStringLiteral("SELECT Title FROM ") + table + QStringLiteral(" WHERE Id=?"), {id});
    return title.isValid() && !title.isNull() ? title.toString() : QString();
}

const char* const kAnimalColumns =
    "Id, Name, Id_Species, Id_Breed, Sex, Color, Pedigree, Sterilized, Identification_No, "
    "Identification_Type, Identification_Location, Description, Comportment, BirthDay_Date, "
    "BirthDay_Weight, BirthDay_Size, BirthDay_City, Begin_Date, Begin_Weight, Begin_Size, "
    "Begin_Breeder, End_Date, End_Weight, End_Size, End_Type, Previous, Insurance, ImgMini1, "
    "Misc01, Misc02, Misc03, Misc04, Misc05, Misc06, Misc07, Misc08, Misc09, Misc10, Misc11, "
    "Misc12, WeightMode, SizeMode";

} // namespace

BookletData HtmlBookletStore::booklet(int animalId) const
{
    BookletData data;
    Connection& c = m_connection;
    QVariant speciesId;
    QVariant breedId;
    eachRow(c,
            QStringLiteral("SELECT ") + QLatin1String(kAnimalColumns) +
                QStringLiteral(" FROM ANIMAL WHERE Id=?"),
            {animalId}, [&](const QSqlQuery& q) {
                BookletAnimal& a = data.animal;
                a.id = q.value(0).toInt();
                a.name = text(q, 1);
                speciesId = q.value(2);
                breedId = q.value(3);
                a.sex = text(q, 4);
                a.colour = text(q, 5);
                a.pedigree = q.value(6).toInt() != 0;
                a.sterilized = q.value(7).toInt() != 0;
                a.identificationNo = text(q, 8);
                a.identificationType = text(q, 9);
                a.identificationLocation = text(q, 10);
                a.description = text(q, 11);
                a.comportment = text(q, 12);
                a.birthDate = text(q, 13);
                a.birthWeight = number(q, 14);
                a.birthSize = number(q, 15);
                a.birthCity = text(q, 16);
                a.beginDate = text(q, 17);
                a.beginWeight = number(q, 18);
                a.beginSize = number(q, 19);
                a.beginBreeder = text(q, 20);
                a.endDate = text(q, 21);
                a.endWeight = number(q, 22);
                a.endSize = number(q, 23);
                a.endType = text(q, 24);
                a.previous = text(q, 25);
                a.insurance = text(q, 26);
                a.photo = q.value(27).toByteArray();
                for (int i = 0; i < 12; ++i)
                    a.misc << text(q, 28 + i);
                a.weightMode = q.value(40).toInt();
                a.sizeMode = q.value(41).toInt();
            });
    if (data.animal.id < 0)
        return data;
    const int id = data.animal.id;
    data.animal.species = titleOf(c, QStringLiteral("ANIMAL_SPECIES"), speciesId);
    data.animal.breed = titleOf(c, QStringLiteral("ANIMAL_BREED"), breedId);

    eachRow(c,
            QStringLiteral("SELECT Misc01, Misc02, Misc03, Misc04, Misc05, Misc06, Misc07, "
                           "Misc08, Misc09, Misc10, Misc11, Misc12 FROM CUSTOMLAB LIMIT 1"),
            {}, [&](const QSqlQuery& q) {
                for (int i = 0; i < 12; ++i)
                    data.customLabels << text(q, i);
            });
    while (data.customLabels.size() < 12)
        data.customLabels << QString();

    eachRow(c,
            QStringLiteral("SELECT Date_Weight, Weight, Remark FROM WEIGHT WHERE Id_Ref=? "
                           "ORDER BY Date_Weight"),
            {id}, [&](const QSqlQuery& q) {
                data.weights.append({date(q, 0), number(q, 1), text(q, 2)});
            });
    eachRow(c,
            QStringLiteral("SELECT Date_Size, Size, Remark FROM [SIZE] WHERE Id_Ref=? "
                           "ORDER BY Date_Size"),
            {id}, [&](const QSqlQuery& q) {
                data.sizes.append({date(q, 0), number(q, 1), text(q, 2)});
            });

    data.consultations = consultations(id, Acts::All);
    data.medicines = medicines(id, Acts::All);

    eachRow(c,
            kVaccinationColumns + vaccinationJoin() +
                QStringLiteral(" WHERE VACCINE.Id_Ref=? ORDER BY VACCINE.Date_Vaccine"),
            {id}, [&](const QSqlQuery& q) {
                data.vaccinations.append({date(q, 0), date(q, 1), text(q, 2), text(q, 3),
                                          text(q, 4), text(q, 5), text(q, 6)});
            });
    eachRow(c,
            QStringLiteral("SELECT Date_Event, Description FROM EVENT WHERE Id_Ref=? "
                           "ORDER BY Date_Event"),
            {id}, [&](const QSqlQuery& q) {
                data.events.append({date(q, 0), text(q, 1)});
            });
    eachRow(c,
            QStringLiteral("SELECT Id, FileName, FileType, FileSize, FileIcon FROM DOCUMENTFILE "
                           "WHERE Id_Ref=? ORDER BY Id"),
            {id}, [&](const QSqlQuery& q) {
                data.files.append({q.value(0).toInt(), text(q, 1), text(q, 2), text(q, 3),
                                   q.value(4).toByteArray()});
            });
    eachRow(c,
            QStringLiteral("SELECT Id, Title, ImgMini FROM DOCUMENTIMG WHERE Id_Ref=? ORDER BY Id"),
            {id}, [&](const QSqlQuery& q) {
                data.images.append({q.value(0).toInt(), text(q, 1), q.value(2).toByteArray()});
            });
    return data;
}

QVector<BookletAct> HtmlBookletStore::acts(int animalId, int tag, Acts which) const
{
    const bool consult = tag == 1;
    const QString from =
        consult ? QStringLiteral("LST_DOCTOR.Name, LST_DOCTOR.Category, LST_ILLNESS.Title, "
                                 "LST_ILLNESS.Gravity FROM ([ACTION] LEFT JOIN LST_DOCTOR ON "
                                 "ACTION.Id_Org = LST_DOCTOR.Id) LEFT JOIN LST_ILLNESS ON "
                                 "ACTION.Id_Illness = LST_ILLNESS.Id")
                : QStringLiteral("LST_PHARMACY.Name, LST_PHARMACY.Category, LST_DRUG.Title, "
                                 "LST_DRUG.Category FROM ([ACTION] LEFT JOIN LST_PHARMACY ON "
                                 "ACTION.Id_Org = LST_PHARMACY.Id) LEFT JOIN LST_DRUG ON "
                                 "ACTION.Id_Drug = LST_DRUG.Id");
    // A flag never written counts as not reimbursed.
    const QString filter = which == Acts::NotReimbursed
                               ? QStringLiteral(" AND (COALESCE(ACTION.Repayment, 0)=0 OR "
                                                "COALESCE(ACTION.Repayment_Comp, 0)=0)")
                               : QString();
    QVector<BookletAct> out;
    eachRow(m_connection,
            QStringLiteral("SELECT ACTION.Date_Action, ACTION.Time_Action, ACTION.Price, "
                           "ACTION.Gravity, ACTION.Date_Repayment, ACTION.Price_Repayment, ") +
                from + QStringLiteral(" WHERE ACTION.Tag=? AND ACTION.Id_Ref=?") + filter +
                QStringLiteral(" ORDER BY ACTION.Date_Action, ACTION.Time_Action, ACTION.Id"),
            {tag, animalId}, [&](const QSqlQuery& q) {
                BookletAct a;
                a.date = date(q, 0);
                a.time = text(q, 1);
                a.price = number(q, 2);
                a.gravity = text(q, 3);
                a.repaymentDate = date(q, 4);
                a.repaymentPrice = number(q, 5);
                a.party = text(q, 6);
                a.partyDetail = text(q, 7);
                a.subject = text(q, 8);
                a.subjectDetail = text(q, 9);
                out.append(a);
            });
    return out;
}

QVector<BookletAct> HtmlBookletStore::consultations(int animalId, Acts which) const
{
    return acts(animalId, 1, which);
}

QVector<BookletAct> HtmlBookletStore::medicines(int animalId, Acts which) const
{
    return acts(animalId, 2, which);
}

QVector<BookletVaccination> HtmlBookletStore::dueReminders(int animalId) const
{
    QVector<BookletVaccination> out;
    eachRow(m_connection,
            kVaccinationColumns + vaccinationJoin() + QStringLiteral(" WHERE ") +
                dueReminderCondition() +
                QStringLiteral(" AND VACCINE.Id_Ref=? ORDER BY VACCINE.Date_Vaccine, "
                               "VACCINE.Time_Vaccine"),
            {animalId}, [&](const QSqlQuery& q) {
                out.append({date(q, 0), date(q, 1), text(q, 2), text(q, 3), text(q, 4), text(q, 5),
                            text(q, 6)});
            });
    return out;
}

} // namespace tav
