#include "db/DataSetDefinitions.h"

#include "core/FrenchText.h"
#include "db/VaccinationJoin.h"

namespace tav {

namespace {

using F = FieldDef;

// Lines "PREFIX.Col," for each column, the last one without its comma.
QStringList columnLines(const QString& first, const QStringList& columns)
{
    QStringList lines{first};
    for (int i = 0; i < columns.size(); ++i)
        lines.append(columns.at(i) + (i + 1 < columns.size() ? QStringLiteral(",") : QString()));
    return lines;
}

QVector<F> hidden(std::initializer_list<const char*> names)
{
    QVector<F> out;
    for (const char* n : names)
        out.append(F::hiddenField(fr(n)));
    return out;
}

F money(const char* name, const char* caption, int width, bool isHidden = false)
{
    F f = F::shown(fr(name), fr(caption), width, plainMoneyFormat());
    f.hidden = isHidden;
    return f;
}

F hiddenWidth(const char* name, const char* caption, int width)
{
    return F::hiddenField(fr(name), fr(caption), width);
}

const QStringList kActionColumns = {QStringLiteral("ACTION.Id_Ref"),
                                    QStringLiteral("ACTION.Id_Org"),
                                    QStringLiteral("ACTION.Id_Illness"),
                                    QStringLiteral("ACTION.Date_Action"),
                                    QStringLiteral("ACTION.Time_Action"),
                                    QStringLiteral("ACTION.Remark1"),
                                    QStringLiteral("ACTION.Remark2"),
                                    QStringLiteral("ACTION.Gravity"),
                                    QStringLiteral("ACTION.Price"),
                                    QStringLiteral("ACTION.Repayment"),
                                    QStringLiteral("ACTION.Price_Repayment"),
                                    QStringLiteral("ACTION.Date_Repayment"),
                                    QStringLiteral("ACTION.Repayment_Comp"),
                                    QStringLiteral("ACTION.Price_Repayment_Comp"),
                                    QStringLiteral("ACTION.Date_Repayment_Comp"),
                                    QStringLiteral("ACTION.Category"),
                                    QStringLiteral("ACTION.Duration"),
                                    QStringLiteral("ACTION.Repeat")};

QStringList consultColumns(bool withConvention)
{
    QStringList c = kActionColumns;
    c << QStringLiteral("LST_DOCTOR.Name") << QStringLiteral("LST_DOCTOR.Category");
    if (withConvention)
        c << QStringLiteral("LST_DOCTOR.Convention");
    c << QStringLiteral("LST_ILLNESS.Title") << QStringLiteral("LST_ILLNESS.Gravity");
    return c;
}

QStringList pharmacyColumns()
{
    QStringList c = kActionColumns;
    c[2] = QStringLiteral("ACTION.Id_Drug");
    c << QStringLiteral("LST_PHARMACY.Name") << QStringLiteral("LST_PHARMACY.Category")
      << QStringLiteral("LST_DRUG.Title") << QStringLiteral("LST_DRUG.Category");
    return c;
}

const QString kConsultFrom = QStringLiteral(
    "FROM ([ACTION] LEFT JOIN LST_DOCTOR ON ACTION.Id_Org = LST_DOCTOR.Id) LEFT JOIN "
    "LST_ILLNESS ON ACTION.Id_Illness = LST_ILLNESS.Id");
const QString kPharmacyFrom = QStringLiteral(
    "FROM ([ACTION] LEFT JOIN LST_PHARMACY ON ACTION.Id_Org = LST_PHARMACY.Id) LEFT JOIN "
    "LST_DRUG ON ACTION.Id_Drug = LST_DRUG.Id");
const QString kVaccineFrom = vaccinationJoin();
const QString kNoAnimal = QStringLiteral("WHERE ID_REF=-1");
const QString kActionOrder = QStringLiteral("ORDER BY DATE_ACTION, TIME_ACTION");

QStringList vaccineColumns(bool withRepeatExe)
{
    QStringList c = {QStringLiteral("VACCINE.Id_Ref"),       QStringLiteral("VACCINE.Id_Org"),
                     QStringLiteral("VACCINE.Id_Vaccine"),   QStringLiteral("VACCINE.Date_Vaccine"),
                     QStringLiteral("VACCINE.Time_Vaccine"), QStringLiteral("VACCINE.Remark1"),
                     QStringLiteral("VACCINE.Repeat_Date")};
    if (withRepeatExe)
        c << QStringLiteral("VACCINE.Repeat_Exe");
    c << QStringLiteral("LST_DOCTOR.Name") << QStringLiteral("LST_DOCTOR.Category")
      << QStringLiteral("LST_VACCINE.Title") << QStringLiteral("LST_VACCINE.Category");
    return c;
}

// The reimbursement columns that close the consultation and medicine grids.
QVector<F> repaymentFields()
{
    F left = F::calc(fr("NoRepayment"), fr("Non remboursé"), JetType::Double, 0);
    left.displayFormat = plainMoneyFormat();
    return {F::shown(fr("Date_Repayment"), fr("Date remboursement"), 10),
            hiddenWidth("Date_Repayment_Comp", "Date remb. comp.", 10),
            money("Price_Repayment", "Montant remboursé", 10),
            money("Price_Repayment_Comp", "Remb. comp.", 10, true), left};
}

// The reimbursement flags, date, time and price that open the consultation
// and medicine grids.
QVector<F> actionHeadFields()
{
    return {hiddenWidth("Repayment", "Sécu", 3), F::hiddenField(fr("Repayment_Comp"), fr("Comp")),
            F::shown(fr("Date_Action"), fr("Date"), 10), F::shown(fr("Time_Action"), fr("Heure")),
            money("Price", "Montant", 10)};
}

QVector<F> consultFields()
{
    return actionHeadFields() +
           QVector<F>{F::calc(fr("Doctor"), fr("Praticien"), JetType::Text, 128, 40),
                      F::calc(fr("Illness"), fr("Pathologie"), JetType::Text, 128, 40),
                      F::shown(fr("ACTION.Gravity"), fr("Gravité"), 25),
                      F::shown(fr("Remark1"), fr("Objet de la visite")),
                      F::shown(fr("Remark2"), fr("Remarque du praticien"))} +
           hidden({"ACTION.Category", "Duration", "Repeat", "Name", "LST_DOCTOR.Category", "Title",
                   "LST_ILLNESS.Gravity", "Id", "Id_Ref", "Id_Org", "Id_Illness"}) +
           repaymentFields();
}

QVector<F> pharmacyFields()
{
    return actionHeadFields() +
           QVector<F>{F::calc(fr("Pharmacy"), fr("Pharmacie"), JetType::Text, 128, 40),
                      F::calc(fr("Drug"), fr("Médicament"), JetType::Text, 128, 40),
                      F::shown(fr("Remark1"), fr("Observations"))} +
           hidden({"Remark2", "Gravity", "ACTION.Category", "Duration", "Repeat", "Name",
                   "LST_PHARMACY.Category", "Title", "LST_DRUG.Category", "Id", "Id_Ref", "Id_Org",
                   "Id_Drug"}) +
           repaymentFields();
}

QVector<F> vaccineFields()
{
    return QVector<F>{F::shown(fr("Date_Vaccine"), fr("Date de vaccination"), 10),
                      F::shown(fr("Repeat_Date"), fr("Date de rappel"), 10),
                      F::calc(fr("Vaccin"), fr("Vaccin"), JetType::Text, 128, 40),
                      F::calc(fr("Doctor"), fr("Praticien"), JetType::Text, 128, 40),
                      F::shown(fr("Remark1"), fr("Observations"))} +
           hidden({"Name", "LST_DOCTOR.Category", "Title", "LST_VACCINE.Category", "Id_Org",
                   "Id_Ref", "Id", "Id_Vaccine", "Time_Vaccine"});
}

QVector<F> measureFields(const char* date, const char* value, const char* time, const char* format)
{
    return QVector<F>{F::shown(fr(date), fr("Date"), 12),
                      F::shown(fr(value), fr("Valeur"), 12, fr(format)),
                      F::shown(fr("Remark"), fr("Observations"), 255)} +
           QVector<F>{F::hiddenField(fr("Id")), F::hiddenField(fr("Id_File")),
                      F::hiddenField(fr("Id_Ref")), F::hiddenField(fr(time))};
}

QVector<F> referenceFields(int titleWidth, bool describedWidth,
                           std::initializer_list<const char*> rest)
{
    return QVector<F>{F::shown(fr("Title"), fr("Titre"), titleWidth),
                      F::shown(fr("Description"), QString(), describedWidth ? 255 : 0)} +
           hidden(rest);
}

QStringList aliased(const QStringList& columns, const QStringList& aliases)
{
    QStringList out;
    for (int i = 0; i < columns.size(); ++i)
        out.append(columns.at(i) + QStringLiteral(" AS ") + aliases.at(i));
    return out;
}

} // namespace

QVector<DataSetDefinition> mainModuleDataSets()
{
    QVector<DataSetDefinition> d;
    // The pictures (Img1..Img4, ImgMini1..ImgMini4) are read by key when
    // shown, never with every animal.
    d.append({fr("Animal"),
              {fr("SELECT Id, Id_File, Id_Species, Id_Breed, Name, ForeName, Pedigree, Sterilized, "
                  "Sex, Color, BirthDay_Date, BirthDay_Time, BirthDay_City, BirthDay_Weight, "
                  "BirthDay_Size, Begin_Date, Begin_Time, Begin_Breeder, Begin_Weight, "
                  "Begin_Size, End_Date, End_Time, End_Type, End_Weight, End_Size, "
                  "Identification_No, Identification_Type, Identification_Location, Blood, "
                  "Insurance, Description, Comportment, Previous, WeightMode, SizeMode, "
                  "AnalysisMode, Misc01, Misc02, Misc03, Misc04, Misc05, Misc06, Misc07, Misc08, "
                  "Misc09, Misc10, Misc11, Misc12, WeightGraph, SizeGraph, Comment1 as [Weight], "
                  "Custom00144243 as [Size]"),
               fr("FROM ANIMAL"), fr(" ORDER BY NAME, FORENAME")},
              {}});
    d.append({fr("Action"),
              {fr("SELECT * FROM [ACTION]"), kActionOrder},
              {F::shown(fr("*")), [] {
                   F f = F::calc(fr("NoRepayment"), QString(), JetType::Double, 0);
                   f.displayFormat = plainMoneyFormat();
                   return f;
               }()}});
    d.append({fr("ConsultQuery"),
              columnLines(fr("SELECT ACTION.Id,"), consultColumns(false)) +
                  QStringList{kConsultFrom, kNoAnimal, kActionOrder},
              consultFields()});
    d.append({fr("PharmacyQuery"),
              columnLines(fr("SELECT ACTION.Id,"), pharmacyColumns()) +
                  QStringList{kPharmacyFrom, kNoAnimal, kActionOrder},
              pharmacyFields()});
    d.append({fr("Vaccine"),
              {fr("SELECT * FROM VACCINE"), fr("ORDER BY DATE_VACCINE, TIME_VACCINE")},
              {}});
    d.append({fr("VaccineQuery"),
              columnLines(fr("SELECT VACCINE.Id,"), vaccineColumns(false)) +
                  QStringList{kVaccineFrom, kNoAnimal, fr("ORDER BY VACCINE.Date_Vaccine")},
              vaccineFields()});
    d.append({fr("Weight"),
              {fr("SELECT * FROM WEIGHT"), fr("WHERE ID_REF=18"), fr("ORDER BY DATE_WEIGHT")},
              measureFields("Date_Weight", "Weight", "Time_Weight", "#######0.000 kg")});
    d.append({fr("Size"),
              {fr("SELECT * FROM [SIZE]"), fr("WHERE ID_REF=18"), fr("ORDER BY DATE_SIZE")},
              measureFields("Date_Size", "Size", "Time_Size", "#######0.00 cm")});
    d.append({fr("Event"),
              {fr("SELECT * FROM EVENT"), kNoAnimal, fr("ORDER BY DATE_EVENT, TIME_EVENT")},
              {F::hiddenField(fr("Id_Ref")), F::shown(fr("Date_Event"), fr("Date"), 10),
               F::shown(fr("Time_Event"), fr("Heure"), 5), F::shown(fr("Description"))}});
    d.append({fr("DocumentImg"), {fr("SELECT * FROM DOCUMENTIMG"), kNoAnimal}, {}});
    d.append(
        {fr("DocumentFile"),
         {fr("SELECT * FROM DOCUMENTFILE"), fr("WHERE Id_Ref=-1")},
         QVector<F>{
             F::hiddenField(fr("Id")), F::hiddenField(fr("Id_File")), F::hiddenField(fr("Id_Ref")),
             F::hiddenField(fr("Title")), F::shown(fr("FileIcon"), fr(" "), 2),
             F::shown(fr("FileName"), fr("Nom"), 50), F::shown(fr("FileType"), fr("Type"), 35),
             F::shown(fr("FileSize"), fr("Taille"), 25),
             F::hiddenField(fr("Remark"), fr("Commentaires")), F::hiddenField(fr("DoType"))}});
    d.append({fr("L_Analysis"),
              {fr("SELECT * "), fr("FROM L_ANALYSIS"), fr("WHERE L_ANALYSIS.Id_Analysis>-1"),
               fr("ORDER BY TITLE")},
              {}});
    const char* valueFormat = "#######0.00";
    d.append({fr("Analysis"),
              {fr("SELECT * FROM [ANALYSIS]"), kNoAnimal, fr("ORDER BY DATE_ANALYSIS")},
              QVector<F>{F::shown(fr("Date_Analysis"), fr("Date"), 12),
                         F::shown(fr("Value_Analysis"), fr("Valeur"), 12, fr(valueFormat)),
                         F::shown(fr("Value_Min"), fr("Valeur mini"), 12, fr(valueFormat)),
                         F::shown(fr("Value_Max"), fr("Valeur max"), 12, fr(valueFormat)),
                         F::shown(fr("Remark1"), fr("Observations"), 255)} +
                  hidden({"Id", "Id_File", "Id_Ref", "Time_Analysis"})});
    d.append(
        {fr("Lst_Doctor"),
         {fr("SELECT * FROM LST_DOCTOR"), fr("ORDER BY NAME")},
         QVector<F>{
             F::shown(fr("Name"), fr("Nom"), 20), F::shown(fr("Category"), fr("Spécialité"), 20),
             F::hiddenField(fr("Convention"), fr("Conv.")),
             F::shown(fr("Address"), fr("Adresse"), 50), F::shown(fr("City"), fr("Ville"), 20),
             F::shown(fr("CP"), fr("Code postal"), 10), F::shown(fr("Phone"), fr("Téléphone"), 20),
             F::shown(fr("Fax"), QString(), 20), F::shown(fr("Email"), QString(), 30),
             F::shown(fr("Note"), fr("Notes"))} +
             hidden({"Price", "Country", "Id", "Id_File"})});
    d.append({fr("Lst_Pharmacy"),
              {fr("SELECT * FROM LST_PHARMACY"), fr("ORDER BY NAME")},
              QVector<F>{
                  F::shown(fr("Name"), fr("Nom"), 20), F::shown(fr("Address"), fr("Adresse"), 50),
                  F::shown(fr("City"), fr("Ville"), 20), F::shown(fr("CP"), fr("Code Postal"), 10),
                  F::shown(fr("Phone"), fr("Téléphone"), 20), F::shown(fr("Fax"), QString(), 20),
                  F::shown(fr("Email"), QString(), 30), F::shown(fr("Note"), fr("Notes"))} +
                  hidden({"Country", "Category", "Id", "Id_File"})});
    d.append({fr("Lst_Vaccine"),
              {fr("SELECT * FROM LST_VACCINE"), fr("ORDER BY TITLE")},
              referenceFields(30, false, {"Category", "Id", "Id_File"})});
    d.append({fr("Lst_Drug"),
              {fr("SELECT * FROM LST_DRUG"), fr("ORDER BY TITLE")},
              referenceFields(30, true, {"Category", "Id", "Id_File"})});
    d.append({fr("Lst_Illness"),
              {fr("SELECT * FROM LST_ILLNESS"), fr("ORDER BY TITLE")},
              referenceFields(30, true, {"Category", "Gravity", "Id_File", "Id"})});
    d.append(
        {fr("Lst_Analysis"),
         {fr("SELECT * FROM LST_ANALYSIS"), fr("ORDER BY TITLE")},
         QVector<F>{F::shown(fr("Title"), fr("Titre"), 50), F::shown(fr("Unit"), fr("Unité"), 5),
                    F::shown(fr("Decimal"), fr("Decimales"), 5), F::shown(fr("Description")),
                    F::hiddenField(fr("Value_Min"), fr("Valeur Min")),
                    F::hiddenField(fr("Value_Max"), fr("Valeur Max"))} +
             hidden({"Id",       "Id_File",  "Category", "Img1",     "Img2",    "Img3",    "Img4",
                     "ImgMini1", "ImgMini2", "ImgMini3", "ImgMini4", "Remark1", "Remark2", "Misc01",
                     "Misc02",   "Misc03",   "Misc04",   "Misc05",   "Misc06",  "Misc07",  "Misc08",
                     "Misc09",   "Misc10",   "Misc11",   "Misc12",   "Tag"})});
    d.append({fr("Animal_Species"),
              {fr("SELECT Id, Id_File, Title"), fr("FROM ANIMAL_SPECIES"), fr("WHERE ID_FILE=-1"),
               fr("ORDER BY TITLE")},
              {}});
    d.append({fr("Animal_Breed"),
              {fr("SELECT Id, Id_File, Id_Species, Title"), fr("FROM ANIMAL_BREED"),
               fr("WHERE ID_FILE=-1"), fr("ORDER BY TITLE")},
              {}});
    d.append({fr("CustomLabel"), {fr("SELECT * FROM CUSTOMLAB")}, {}});
    d.append({fr("ComboItems"), {fr("SELECT * FROM COMBOITEMS")}, {}});
    d.append({fr("Backup"),
              {fr("SELECT * FROM BACKUP")},
              {F::shown(fr("DateSav"), fr("Date"), 10), F::shown(fr("TimeSav"), fr("Heure"), 10),
               F::shown(fr("Description"), QString(), 30),
               F::shown(fr("Path"), fr("Fichier de sauvegarde"), 128)}});
    d.append({fr("Query"), {}, {}});
    return d;
}

QVector<DataSetDefinition> tablesModuleDataSets()
{
    QVector<DataSetDefinition> d;
    QVector<F> consult =
        QVector<F>{F::shown(fr("Date_Action"), fr("Date"), 10),
                   F::shown(fr("Time_Action"), fr("Heure")),
                   money("Price", "Montant", 10),
                   F::calc(fr("Doctor"), fr("Praticien"), JetType::Text, 128, 40),
                   F::calc(fr("Illness"), fr("Pathologie"), JetType::Text, 128, 40),
                   F::shown(fr("ACTION.Gravity"), fr("Gravité"), 25),
                   F::shown(fr("Remark1"), fr("Objet de la visite")),
                   F::shown(fr("Remark2"), fr("Remarque du praticien")),
                   money("Price_Repayment", "", 0, true)} +
        hidden({"ACTION.Category", "Duration", "Repeat", "Name", "LST_DOCTOR.Category", "Title",
                "LST_ILLNESS.Gravity", "Id", "Id_Ref", "Id_Org", "Id_Illness"}) +
        QVector<F>{hiddenWidth("Repayment", " ", 2)} +
        hidden({"Date_Repayment", "Repayment_Comp", "Date_Repayment_Comp", "Price_Repayment_Comp"});
    d.append({fr("ConsultRepaymentQuery"),
              columnLines(fr("SELECT ACTION.Id,"), consultColumns(true)) +
                  QStringList{kConsultFrom, kNoAnimal, kActionOrder},
              consult});
    QVector<F> pharmacy =
        QVector<F>{F::shown(fr("Date_Action"), fr("Date"), 10),
                   F::shown(fr("Time_Action"), fr("Heure")),
                   money("Price", "Montant", 0, true),
                   F::calc(fr("Pharmacy"), fr("Pharmacie"), JetType::Text, 128, 40),
                   F::calc(fr("Drug"), fr("Médicament"), JetType::Text, 128, 40),
                   F::shown(fr("Remark1"), fr("Observations"))} +
        hidden({"Remark2", "Gravity"}) + QVector<F>{money("Price_Repayment", "", 0, true)} +
        hidden({"ACTION.Category", "Duration", "Repeat", "Name", "LST_PHARMACY.Category", "Title",
                "LST_DRUG.Category", "Id", "Id_Ref", "Id_Org", "Id_Drug"}) +
        QVector<F>{hiddenWidth("Repayment", "  ", 2)} +
        hidden({"Date_Repayment", "Repayment_Comp", "Date_Repayment_Comp", "Price_Repayment_Comp"});
    d.append({fr("PharmacyRepaymentQuery"),
              columnLines(fr("SELECT ACTION.Id,"), pharmacyColumns()) +
                  QStringList{kPharmacyFrom, kNoAnimal, kActionOrder},
              pharmacy});
    QVector<F> repeat =
        QVector<F>{F::shown(fr("Repeat_Date"), fr("Date de rappel"), 10),
                   F::calc(fr("Vaccin"), fr("Vaccin"), JetType::Text, 128, 40),
                   F::calc(fr("Last"), fr("Dernière vaccination"), JetType::Text, 128),
                   F::hiddenField(fr("Remark1"), fr("Observations"))} +
        hidden({"Name", "LST_DOCTOR.Category", "Title", "LST_VACCINE.Category", "Id_Org", "Id_Ref",
                "Id", "Id_Vaccine", "Time_Vaccine"}) +
        QVector<F>{F::hiddenField(fr("Date_Vaccine"), fr("Date de vaccination")),
                   F::hiddenField(fr("Repeat_Exe"))};
    d.append({fr("RepeatVaccineQuery"),
              columnLines(fr("SELECT VACCINE.Id,"), vaccineColumns(true)) +
                  QStringList{kVaccineFrom, kNoAnimal, fr("ORDER BY DATE_VACCINE, TIME_VACCINE")},
              repeat});
    return d;
}

QVector<DataSetDefinition> reportModuleDataSets()
{
    QVector<DataSetDefinition> d;
    d.append({fr("ReportQuery"), {}, {}});
    const QStringList actionAliases = {fr("Id"),
                                       fr("Id_Ref"),
                                       fr("Id_Org"),
                                       fr("Id_Illness"),
                                       fr("Date_Action"),
                                       fr("Time_Action"),
                                       fr("Remark1"),
                                       fr("Remark2"),
                                       fr("Gravity"),
                                       fr("Price"),
                                       fr("Category"),
                                       fr("Duration"),
                                       fr("Repeat"),
                                       fr("Repayment"),
                                       fr("Date_Repayment"),
                                       fr("Price_Repayment"),
                                       fr("Repayment_Comp"),
                                       fr("Date_Repayment_Comp"),
                                       fr("Price_Repayment_Comp")};
    const QStringList actionColumns = {fr("ACTION.Id"),
                                       fr("ACTION.Id_Ref"),
                                       fr("ACTION.Id_Org"),
                                       fr("ACTION.Id_Illness"),
                                       fr("ACTION.Date_Action"),
                                       fr("ACTION.Time_Action"),
                                       fr("ACTION.Remark1"),
                                       fr("ACTION.Remark2"),
                                       fr("ACTION.Gravity"),
                                       fr("ACTION.Price"),
                                       fr("ACTION.Category"),
                                       fr("ACTION.Duration"),
                                       fr("ACTION.Repeat"),
                                       fr("ACTION.Repayment"),
                                       fr("ACTION.Date_Repayment"),
                                       fr("ACTION.Price_Repayment"),
                                       fr("ACTION.Repayment_Comp"),
                                       fr("ACTION.Date_Repayment_Comp"),
                                       fr("ACTION.Price_Repayment_Comp")};
    {
        const QStringList cols =
            actionColumns + QStringList{fr("LST_DOCTOR.Name"), fr("LST_DOCTOR.Category"),
                                        fr("LST_DOCTOR.Convention"), fr("LST_ILLNESS.Title"),
                                        fr("LST_ILLNESS.Gravity")};
        const QStringList names =
            actionAliases + QStringList{fr("DoctorName"), fr("DoctorCategory"),
                                        fr("DoctorConvention"), fr("IllnessTitle"),
                                        fr("IllnessGravity")};
        d.append({fr("ReportQueryConsult"),
                  columnLines(fr("SELECT"), aliased(cols, names)) +
                      QStringList{kConsultFrom, kNoAnimal, kActionOrder},
                  {}});
    }
    {
        QStringList cols = actionColumns;
        QStringList names = actionAliases;
        cols[3] = fr("ACTION.Id_Drug");
        names[3] = fr("Id_Drug");
        cols << fr("LST_PHARMACY.Name") << fr("LST_PHARMACY.Category") << fr("LST_DRUG.Title")
             << fr("LST_DRUG.Category");
        names << fr("PharmacyName") << fr("PharmacyCategory") << fr("DrugTitle")
              << fr("DrugCategory");
        d.append({fr("ReportQueryPharmacy"),
                  columnLines(fr("SELECT"), aliased(cols, names)) +
                      QStringList{kPharmacyFrom, kNoAnimal, kActionOrder},
                  {}});
    }
    {
        const QStringList names = {fr("Id"),
                                   fr("Id_Ref"),
                                   fr("Id_Org"),
                                   fr("Id_Vaccine"),
                                   fr("Date_Vaccine"),
                                   fr("Time_Vaccine"),
                                   fr("Remark1"),
                                   fr("Repeat_Date"),
                                   fr("Repeat_Exe"),
                                   fr("DoctorName"),
                                   fr("DoctorCategory"),
                                   fr("VaccineTitle"),
                                   fr("VaccineCategory")};
        QStringList cols;
        for (int i = 0; i < 9; ++i)
            cols << fr("VACCINE.") + names.at(i);
        cols << fr("LST_DOCTOR.Name") << fr("LST_DOCTOR.Category") << fr("LST_VACCINE.Title")
             << fr("LST_VACCINE.Category");
        d.append(
            {fr("ReportQueryVaccine"),
             columnLines(fr("SELECT"), aliased(cols, names)) +
                 QStringList{kVaccineFrom, kNoAnimal, fr("ORDER BY DATE_VACCINE, TIME_VACCINE")},
             {}});
    }
    {
        const QStringList names = {fr("Id"),          fr("Id_File"),     fr("Id_Ref"),
                                   fr("Date_Weight"), fr("Time_Weight"), fr("Weight"),
                                   fr("Remark")};
        QStringList cols;
        for (const QString& n : names)
            cols << fr("WEIGHT.") + n;
        d.append({fr("ReportQueryWeight"),
                  columnLines(fr("SELECT"), aliased(cols, names)) +
                      QStringList{fr("FROM WEIGHT"), kNoAnimal, fr("ORDER BY DATE_WEIGHT")},
                  {}});
    }
    d.append({fr("ReportQueryEvent"),
              {fr("SELECT EVENT.Date_Event AS DateEvent,"), fr("EVENT.Time_Event AS TimeEvent,"),
               fr("EVENT.Description AS Description"), fr("FROM EVENT"),
               fr("WHERE EVENT.Id_Ref=-1"), fr("ORDER BY EVENT.Date_Event")},
              {}});
    return d;
}

} // namespace tav
