#include "db/DataSetDefinitions.h"

namespace tav {

namespace {

using F = FieldDef;

QString s(const char* text)
{
    return QString::fromUtf8(text);
}

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
        out.append(F::hiddenField(s(n)));
    return out;
}

F money(const char* name, const char* caption, int width, bool isHidden = false)
{
    F f = F::shown(s(name), s(caption), width, plainMoneyFormat());
    f.hidden = isHidden;
    return f;
}

F hiddenWidth(const char* name, const char* caption, int width)
{
    return F::hiddenField(s(name), s(caption), width);
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
const QString kVaccineFrom = QStringLiteral(
    "FROM ([VACCINE] LEFT JOIN LST_DOCTOR ON VACCINE.Id_Org = LST_DOCTOR.Id) LEFT JOIN "
    "LST_VACCINE ON VACCINE.Id_Vaccine = LST_VACCINE.Id");
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
    F left = F::calc(s("NoRepayment"), s("Non remboursé"), JetType::Double, 0);
    left.displayFormat = plainMoneyFormat();
    return {F::shown(s("Date_Repayment"), s("Date remboursement"), 10),
            hiddenWidth("Date_Repayment_Comp", "Date remb. comp.", 10),
            money("Price_Repayment", "Montant remboursé", 10),
            money("Price_Repayment_Comp", "Remb. comp.", 10, true), left};
}

// The reimbursement flags, date, time and price that open the consultation
// and medicine grids.
QVector<F> actionHeadFields()
{
    return {hiddenWidth("Repayment", "Sécu", 3), F::hiddenField(s("Repayment_Comp"), s("Comp")),
            F::shown(s("Date_Action"), s("Date"), 10), F::shown(s("Time_Action"), s("Heure")),
            money("Price", "Montant", 10)};
}

QVector<F> consultFields()
{
    return actionHeadFields() +
           QVector<F>{F::calc(s("Doctor"), s("Praticien"), JetType::Text, 128, 40),
                      F::calc(s("Illness"), s("Pathologie"), JetType::Text, 128, 40),
                      F::shown(s("ACTION.Gravity"), s("Gravité"), 25),
                      F::shown(s("Remark1"), s("Objet de la visite")),
                      F::shown(s("Remark2"), s("Remarque du praticien"))} +
           hidden({"ACTION.Category", "Duration", "Repeat", "Name", "LST_DOCTOR.Category", "Title",
                   "LST_ILLNESS.Gravity", "Id", "Id_Ref", "Id_Org", "Id_Illness"}) +
           repaymentFields();
}

QVector<F> pharmacyFields()
{
    return actionHeadFields() +
           QVector<F>{F::calc(s("Pharmacy"), s("Pharmacie"), JetType::Text, 128, 40),
                      F::calc(s("Drug"), s("Médicament"), JetType::Text, 128, 40),
                      F::shown(s("Remark1"), s("Observations"))} +
           hidden({"Remark2", "Gravity", "ACTION.Category", "Duration", "Repeat", "Name",
                   "LST_PHARMACY.Category", "Title", "LST_DRUG.Category", "Id", "Id_Ref", "Id_Org",
                   "Id_Drug"}) +
           repaymentFields();
}

QVector<F> vaccineFields()
{
    return QVector<F>{F::shown(s("Date_Vaccine"), s("Date de vaccination"), 10),
                      F::shown(s("Repeat_Date"), s("Date de rappel"), 10),
                      F::calc(s("Vaccin"), s("Vaccin"), JetType::Text, 128, 40),
                      F::calc(s("Doctor"), s("Praticien"), JetType::Text, 128, 40),
                      F::shown(s("Remark1"), s("Observations"))} +
           hidden({"Name", "LST_DOCTOR.Category", "Title", "LST_VACCINE.Category", "Id_Org",
                   "Id_Ref", "Id", "Id_Vaccine", "Time_Vaccine"});
}

QVector<F> measureFields(const char* date, const char* value, const char* time, const char* format)
{
    return QVector<F>{F::shown(s(date), s("Date"), 12),
                      F::shown(s(value), s("Valeur"), 12, s(format)),
                      F::shown(s("Remark"), s("Observations"), 255)} +
           QVector<F>{F::hiddenField(s("Id")), F::hiddenField(s("Id_File")),
                      F::hiddenField(s("Id_Ref")), F::hiddenField(s(time))};
}

QVector<F> referenceFields(int titleWidth, bool describedWidth,
                           std::initializer_list<const char*> rest)
{
    return QVector<F>{F::shown(s("Title"), s("Titre"), titleWidth),
                      F::shown(s("Description"), QString(), describedWidth ? 255 : 0)} +
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
    d.append({s("Animal"),
              {s("SELECT Id, Id_File, Id_Species, Id_Breed, Name, ForeName, Pedigree, Sterilized, "
                 "Sex, Color, BirthDay_Date, BirthDay_Time, BirthDay_City, BirthDay_Weight, "
                 "BirthDay_Size, Begin_Date, Begin_Time, Begin_Breeder, Begin_Weight, "
                 "Begin_Size, End_Date, End_Time, End_Type, End_Weight, End_Size, "
                 "Identification_No, Identification_Type, Identification_Location, Blood, "
                 "Insurance, Description, Comportment, Previous, WeightMode, SizeMode, "
                 "AnalysisMode, Misc01, Misc02, Misc03, Misc04, Misc05, Misc06, Misc07, Misc08, "
                 "Misc09, Misc10, Misc11, Misc12, WeightGraph, SizeGraph, Comment1 as [Weight], "
                 "Custom00144243 as [Size]"),
               s("FROM ANIMAL"), s(" ORDER BY NAME, FORENAME")},
              {}});
    d.append({s("Action"),
              {s("SELECT * FROM [ACTION]"), kActionOrder},
              {F::shown(s("*")), [] {
                   F f = F::calc(s("NoRepayment"), QString(), JetType::Double, 0);
                   f.displayFormat = plainMoneyFormat();
                   return f;
               }()}});
    d.append({s("ConsultQuery"),
              columnLines(s("SELECT ACTION.Id,"), consultColumns(false)) +
                  QStringList{kConsultFrom, kNoAnimal, kActionOrder},
              consultFields()});
    d.append({s("PharmacyQuery"),
              columnLines(s("SELECT ACTION.Id,"), pharmacyColumns()) +
                  QStringList{kPharmacyFrom, kNoAnimal, kActionOrder},
              pharmacyFields()});
    d.append(
        {s("Vaccine"), {s("SELECT * FROM VACCINE"), s("ORDER BY DATE_VACCINE, TIME_VACCINE")}, {}});
    d.append({s("VaccineQuery"),
              columnLines(s("SELECT VACCINE.Id,"), vaccineColumns(false)) +
                  QStringList{kVaccineFrom, kNoAnimal, s("ORDER BY VACCINE.Date_Vaccine")},
              vaccineFields()});
    d.append({s("Weight"),
              {s("SELECT * FROM WEIGHT"), s("WHERE ID_REF=18"), s("ORDER BY DATE_WEIGHT")},
              measureFields("Date_Weight", "Weight", "Time_Weight", "#######0.000 kg")});
    d.append({s("Size"),
              {s("SELECT * FROM [SIZE]"), s("WHERE ID_REF=18"), s("ORDER BY DATE_SIZE")},
              measureFields("Date_Size", "Size", "Time_Size", "#######0.00 cm")});
    d.append({s("Event"),
              {s("SELECT * FROM EVENT"), kNoAnimal, s("ORDER BY DATE_EVENT, TIME_EVENT")},
              {F::hiddenField(s("Id_Ref")), F::shown(s("Date_Event"), s("Date"), 10),
               F::shown(s("Time_Event"), s("Heure"), 5), F::shown(s("Description"))}});
    d.append({s("DocumentImg"), {s("SELECT * FROM DOCUMENTIMG"), kNoAnimal}, {}});
    d.append({s("DocumentFile"),
              {s("SELECT * FROM DOCUMENTFILE"), s("WHERE Id_Ref=-1")},
              QVector<F>{
                  F::hiddenField(s("Id")), F::hiddenField(s("Id_File")),
                  F::hiddenField(s("Id_Ref")), F::hiddenField(s("Title")),
                  F::shown(s("FileIcon"), s(" "), 2), F::shown(s("FileName"), s("Nom"), 50),
                  F::shown(s("FileType"), s("Type"), 35), F::shown(s("FileSize"), s("Taille"), 25),
                  F::hiddenField(s("Remark"), s("Commentaires")), F::hiddenField(s("DoType"))}});
    d.append({s("L_Analysis"),
              {s("SELECT * "), s("FROM L_ANALYSIS"), s("WHERE L_ANALYSIS.Id_Analysis>-1"),
               s("ORDER BY TITLE")},
              {}});
    const char* valueFormat = "#######0.00";
    d.append({s("Analysis"),
              {s("SELECT * FROM [ANALYSIS]"), kNoAnimal, s("ORDER BY DATE_ANALYSIS")},
              QVector<F>{F::shown(s("Date_Analysis"), s("Date"), 12),
                         F::shown(s("Value_Analysis"), s("Valeur"), 12, s(valueFormat)),
                         F::shown(s("Value_Min"), s("Valeur mini"), 12, s(valueFormat)),
                         F::shown(s("Value_Max"), s("Valeur max"), 12, s(valueFormat)),
                         F::shown(s("Remark1"), s("Observations"), 255)} +
                  hidden({"Id", "Id_File", "Id_Ref", "Time_Analysis"})});
    d.append(
        {s("Lst_Doctor"),
         {s("SELECT * FROM LST_DOCTOR"), s("ORDER BY NAME")},
         QVector<F>{F::shown(s("Name"), s("Nom"), 20), F::shown(s("Category"), s("Spécialité"), 20),
                    F::hiddenField(s("Convention"), s("Conv.")),
                    F::shown(s("Address"), s("Adresse"), 50), F::shown(s("City"), s("Ville"), 20),
                    F::shown(s("CP"), s("Code postal"), 10),
                    F::shown(s("Phone"), s("Téléphone"), 20), F::shown(s("Fax"), QString(), 20),
                    F::shown(s("Email"), QString(), 30), F::shown(s("Note"), s("Notes"))} +
             hidden({"Price", "Country", "Id", "Id_File"})});
    d.append(
        {s("Lst_Pharmacy"),
         {s("SELECT * FROM LST_PHARMACY"), s("ORDER BY NAME")},
         QVector<F>{F::shown(s("Name"), s("Nom"), 20), F::shown(s("Address"), s("Adresse"), 50),
                    F::shown(s("City"), s("Ville"), 20), F::shown(s("CP"), s("Code Postal"), 10),
                    F::shown(s("Phone"), s("Téléphone"), 20), F::shown(s("Fax"), QString(), 20),
                    F::shown(s("Email"), QString(), 30), F::shown(s("Note"), s("Notes"))} +
             hidden({"Country", "Category", "Id", "Id_File"})});
    d.append({s("Lst_Vaccine"),
              {s("SELECT * FROM LST_VACCINE"), s("ORDER BY TITLE")},
              referenceFields(30, false, {"Category", "Id", "Id_File"})});
    d.append({s("Lst_Drug"),
              {s("SELECT * FROM LST_DRUG"), s("ORDER BY TITLE")},
              referenceFields(30, true, {"Category", "Id", "Id_File"})});
    d.append({s("Lst_Illness"),
              {s("SELECT * FROM LST_ILLNESS"), s("ORDER BY TITLE")},
              referenceFields(30, true, {"Category", "Gravity", "Id_File", "Id"})});
    d.append(
        {s("Lst_Analysis"),
         {s("SELECT * FROM LST_ANALYSIS"), s("ORDER BY TITLE")},
         QVector<F>{F::shown(s("Title"), s("Titre"), 50), F::shown(s("Unit"), s("Unité"), 5),
                    F::shown(s("Decimal"), s("Decimales"), 5), F::shown(s("Description")),
                    F::hiddenField(s("Value_Min"), s("Valeur Min")),
                    F::hiddenField(s("Value_Max"), s("Valeur Max"))} +
             hidden({"Id",       "Id_File",  "Category", "Img1",     "Img2",    "Img3",    "Img4",
                     "ImgMini1", "ImgMini2", "ImgMini3", "ImgMini4", "Remark1", "Remark2", "Misc01",
                     "Misc02",   "Misc03",   "Misc04",   "Misc05",   "Misc06",  "Misc07",  "Misc08",
                     "Misc09",   "Misc10",   "Misc11",   "Misc12",   "Tag"})});
    d.append({s("Animal_Species"),
              {s("SELECT Id, Id_File, Title"), s("FROM ANIMAL_SPECIES"), s("WHERE ID_FILE=-1"),
               s("ORDER BY TITLE")},
              {}});
    d.append({s("Animal_Breed"),
              {s("SELECT Id, Id_File, Id_Species, Title"), s("FROM ANIMAL_BREED"),
               s("WHERE ID_FILE=-1"), s("ORDER BY TITLE")},
              {}});
    d.append({s("CustomLabel"), {s("SELECT * FROM CUSTOMLAB")}, {}});
    d.append({s("ComboItems"), {s("SELECT * FROM COMBOITEMS")}, {}});
    d.append({s("Backup"),
              {s("SELECT * FROM BACKUP")},
              {F::shown(s("DateSav"), s("Date"), 10), F::shown(s("TimeSav"), s("Heure"), 10),
               F::shown(s("Description"), QString(), 30),
               F::shown(s("Path"), s("Fichier de sauvegarde"), 128)}});
    d.append({s("Query"), {}, {}});
    return d;
}

QVector<DataSetDefinition> tablesModuleDataSets()
{
    QVector<DataSetDefinition> d;
    QVector<F> consult =
        QVector<F>{F::shown(s("Date_Action"), s("Date"), 10),
                   F::shown(s("Time_Action"), s("Heure")),
                   money("Price", "Montant", 10),
                   F::calc(s("Doctor"), s("Praticien"), JetType::Text, 128, 40),
                   F::calc(s("Illness"), s("Pathologie"), JetType::Text, 128, 40),
                   F::shown(s("ACTION.Gravity"), s("Gravité"), 25),
                   F::shown(s("Remark1"), s("Objet de la visite")),
                   F::shown(s("Remark2"), s("Remarque du praticien")),
                   money("Price_Repayment", "", 0, true)} +
        hidden({"ACTION.Category", "Duration", "Repeat", "Name", "LST_DOCTOR.Category", "Title",
                "LST_ILLNESS.Gravity", "Id", "Id_Ref", "Id_Org", "Id_Illness"}) +
        QVector<F>{hiddenWidth("Repayment", " ", 2)} +
        hidden({"Date_Repayment", "Repayment_Comp", "Date_Repayment_Comp", "Price_Repayment_Comp"});
    d.append({s("ConsultRepaymentQuery"),
              columnLines(s("SELECT ACTION.Id,"), consultColumns(true)) +
                  QStringList{kConsultFrom, kNoAnimal, kActionOrder},
              consult});
    QVector<F> pharmacy =
        QVector<F>{F::shown(s("Date_Action"), s("Date"), 10),
                   F::shown(s("Time_Action"), s("Heure")),
                   money("Price", "Montant", 0, true),
                   F::calc(s("Pharmacy"), s("Pharmacie"), JetType::Text, 128, 40),
                   F::calc(s("Drug"), s("Médicament"), JetType::Text, 128, 40),
                   F::shown(s("Remark1"), s("Observations"))} +
        hidden({"Remark2", "Gravity"}) + QVector<F>{money("Price_Repayment", "", 0, true)} +
        hidden({"ACTION.Category", "Duration", "Repeat", "Name", "LST_PHARMACY.Category", "Title",
                "LST_DRUG.Category", "Id", "Id_Ref", "Id_Org", "Id_Drug"}) +
        QVector<F>{hiddenWidth("Repayment", "  ", 2)} +
        hidden({"Date_Repayment", "Repayment_Comp", "Date_Repayment_Comp", "Price_Repayment_Comp"});
    d.append({s("PharmacyRepaymentQuery"),
              columnLines(s("SELECT ACTION.Id,"), pharmacyColumns()) +
                  QStringList{kPharmacyFrom, kNoAnimal, kActionOrder},
              pharmacy});
    QVector<F> repeat =
        QVector<F>{F::shown(s("Repeat_Date"), s("Date de rappel"), 10),
                   F::calc(s("Vaccin"), s("Vaccin"), JetType::Text, 128, 40),
                   F::calc(s("Last"), s("Dernière vaccination"), JetType::Text, 128),
                   F::hiddenField(s("Remark1"), s("Observations"))} +
        hidden({"Name", "LST_DOCTOR.Category", "Title", "LST_VACCINE.Category", "Id_Org", "Id_Ref",
                "Id", "Id_Vaccine", "Time_Vaccine"}) +
        QVector<F>{F::hiddenField(s("Date_Vaccine"), s("Date de vaccination")),
                   F::hiddenField(s("Repeat_Exe"))};
    d.append({s("RepeatVaccineQuery"),
              columnLines(s("SELECT VACCINE.Id,"), vaccineColumns(true)) +
                  QStringList{kVaccineFrom, kNoAnimal, s("ORDER BY DATE_VACCINE, TIME_VACCINE")},
              repeat});
    return d;
}

QVector<DataSetDefinition> reportModuleDataSets()
{
    QVector<DataSetDefinition> d;
    d.append({s("ReportQuery"), {}, {}});
    const QStringList actionAliases = {s("Id"),
                                       s("Id_Ref"),
                                       s("Id_Org"),
                                       s("Id_Illness"),
                                       s("Date_Action"),
                                       s("Time_Action"),
                                       s("Remark1"),
                                       s("Remark2"),
                                       s("Gravity"),
                                       s("Price"),
                                       s("Category"),
                                       s("Duration"),
                                       s("Repeat"),
                                       s("Repayment"),
                                       s("Date_Repayment"),
                                       s("Price_Repayment"),
                                       s("Repayment_Comp"),
                                       s("Date_Repayment_Comp"),
                                       s("Price_Repayment_Comp")};
    const QStringList actionColumns = {s("ACTION.Id"),
                                       s("ACTION.Id_Ref"),
                                       s("ACTION.Id_Org"),
                                       s("ACTION.Id_Illness"),
                                       s("ACTION.Date_Action"),
                                       s("ACTION.Time_Action"),
                                       s("ACTION.Remark1"),
                                       s("ACTION.Remark2"),
                                       s("ACTION.Gravity"),
                                       s("ACTION.Price"),
                                       s("ACTION.Category"),
                                       s("ACTION.Duration"),
                                       s("ACTION.Repeat"),
                                       s("ACTION.Repayment"),
                                       s("ACTION.Date_Repayment"),
                                       s("ACTION.Price_Repayment"),
                                       s("ACTION.Repayment_Comp"),
                                       s("ACTION.Date_Repayment_Comp"),
                                       s("ACTION.Price_Repayment_Comp")};
    {
        const QStringList cols =
            actionColumns + QStringList{s("LST_DOCTOR.Name"), s("LST_DOCTOR.Category"),
                                        s("LST_DOCTOR.Convention"), s("LST_ILLNESS.Title"),
                                        s("LST_ILLNESS.Gravity")};
        const QStringList names =
            actionAliases + QStringList{s("DoctorName"), s("DoctorCategory"), s("DoctorConvention"),
                                        s("IllnessTitle"), s("IllnessGravity")};
        d.append({s("ReportQueryConsult"),
                  columnLines(s("SELECT"), aliased(cols, names)) +
                      QStringList{kConsultFrom, kNoAnimal, kActionOrder},
                  {}});
    }
    {
        QStringList cols = actionColumns;
        QStringList names = actionAliases;
        cols[3] = s("ACTION.Id_Drug");
        names[3] = s("Id_Drug");
        cols << s("LST_PHARMACY.Name") << s("LST_PHARMACY.Category") << s("LST_DRUG.Title")
             << s("LST_DRUG.Category");
        names << s("PharmacyName") << s("PharmacyCategory") << s("DrugTitle") << s("DrugCategory");
        d.append({s("ReportQueryPharmacy"),
                  columnLines(s("SELECT"), aliased(cols, names)) +
                      QStringList{kPharmacyFrom, kNoAnimal, kActionOrder},
                  {}});
    }
    {
        const QStringList names = {s("Id"),
                                   s("Id_Ref"),
                                   s("Id_Org"),
                                   s("Id_Vaccine"),
                                   s("Date_Vaccine"),
                                   s("Time_Vaccine"),
                                   s("Remark1"),
                                   s("Repeat_Date"),
                                   s("Repeat_Exe"),
                                   s("DoctorName"),
                                   s("DoctorCategory"),
                                   s("VaccineTitle"),
                                   s("VaccineCategory")};
        QStringList cols;
        for (int i = 0; i < 9; ++i)
            cols << s("VACCINE.") + names.at(i);
        cols << s("LST_DOCTOR.Name") << s("LST_DOCTOR.Category") << s("LST_VACCINE.Title")
             << s("LST_VACCINE.Category");
        d.append(
            {s("ReportQueryVaccine"),
             columnLines(s("SELECT"), aliased(cols, names)) +
                 QStringList{kVaccineFrom, kNoAnimal, s("ORDER BY DATE_VACCINE, TIME_VACCINE")},
             {}});
    }
    {
        const QStringList names = {s("Id"),          s("Id_File"), s("Id_Ref"), s("Date_Weight"),
                                   s("Time_Weight"), s("Weight"),  s("Remark")};
        QStringList cols;
        for (const QString& n : names)
            cols << s("WEIGHT.") + n;
        d.append({s("ReportQueryWeight"),
                  columnLines(s("SELECT"), aliased(cols, names)) +
                      QStringList{s("FROM WEIGHT"), kNoAnimal, s("ORDER BY DATE_WEIGHT")},
                  {}});
    }
    d.append({s("ReportQueryEvent"),
              {s("SELECT EVENT.Date_Event AS DateEvent,"), s("EVENT.Time_Event AS TimeEvent,"),
               s("EVENT.Description AS Description"), s("FROM EVENT"), s("WHERE EVENT.Id_Ref=-1"),
               s("ORDER BY EVENT.Date_Event")},
              {}});
    return d;
}

} // namespace tav
