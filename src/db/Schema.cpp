#include "db/Schema.h"

#include "db/Connection.h"

#include <QStringList>

namespace tav {

namespace {

// Column lists in a compact form: "Name:TYPE" separated by blanks, TYPE one
// of AUTO LONG SHORT Tn MEMO BLOB DOUBLE MONEY YESNO DATE; "Name:TYPE=default".
struct TableSpec
{
    const char* name;
    const char* columns;
};

const TableSpec kTables[] = {
    {"ANIMAL",
     "Id:AUTO Id_File:SHORT Id_Species:SHORT Id_Breed:SHORT Name:T128 ForeName:T128 "
     "Pedigree:YESNO Sterilized:YESNO Sex:T128 Color:T128 BirthDay_Date:T10 BirthDay_Time:T5 "
     "BirthDay_City:T128 BirthDay_Weight:DOUBLE BirthDay_Size:DOUBLE Begin_Date:T10 "
     "Begin_Time:T5 Begin_Breeder:T128 Begin_Weight:DOUBLE Begin_Size:DOUBLE End_Date:T10 "
     "End_Time:T5 End_Type:T128 End_Weight:DOUBLE End_Size:DOUBLE Identification_No:T128 "
     "Identification_Type:T128 Identification_Location:T128 Blood:T128 Insurance:MEMO "
     "Description:MEMO Comportment:MEMO Previous:MEMO WeightMode:SHORT SizeMode:SHORT "
     "AnalysisMode:SHORT Misc01:T128 Misc02:T128 Misc03:T128 Misc04:T128 Misc05:T128 "
     "Misc06:T128 Misc07:T128 Misc08:T128 Misc09:T128 Misc10:T128 Misc11:MEMO Misc12:MEMO "
     "WeightGraph:BLOB SizeGraph:BLOB Img1:BLOB ImgMini1:BLOB Img2:BLOB Img3:BLOB Img4:BLOB "
     "ImgMini2:BLOB ImgMini3:BLOB ImgMini4:BLOB Comment1:T255 Custom00144243:T255 "
     "Target_Weight_Min:DOUBLE Target_Weight_Max:DOUBLE"},
    // Owner keys (Id_Ref) hold the full animal key: a 16-bit column would
    // lose the rows of every animal numbered above 32767.
    {"ACTION",
     "Id:AUTO Id_File:LONG Id_Ref:LONG Tag:LONG Id_Org:SHORT Id_Illness:SHORT Id_Drug:SHORT "
     "Date_Action:DATE Time_Action:T5 Remark1:T255 Remark2:T255 Gravity:T128 Price:MONEY "
     "Repayment:YESNO Date_Repayment:DATE Price_Repayment:MONEY Repayment_Comp:YESNO "
     "Date_Repayment_Comp:DATE Price_Repayment_Comp:MONEY Category:T128 Duration:LONG "
     "Repeat:LONG"},
    {"VACCINE", "Id:AUTO Id_File:LONG Id_Ref:LONG Id_Org:SHORT Id_Vaccine:SHORT Date_Vaccine:DATE "
                "Time_Vaccine:T5 Remark1:T255 Remark2:T255 Repeat_Date:DATE Repeat_Exe:YESNO "
                "Divers1:LONG Divers2:YESNO Divers3:T128 Divers4:T128 Divers5:MEMO"},
    {"WEIGHT", "Id:AUTO Id_File:LONG Id_Ref:LONG Date_Weight:DATE Time_Weight:T5 Weight:DOUBLE "
               "Remark:T128"},
    {"SIZE",
     "Id:AUTO Id_File:LONG Id_Ref:LONG Date_Size:DATE Time_Size:T5 Size:DOUBLE Remark:T128"},
    {"EVENT", "Id_Ref:LONG Date_Event:DATE Time_Event:T5 Description:T255"},
    {"DOCUMENTIMG", "Id:AUTO Id_File:LONG Id_Ref:LONG Tag:LONG DoType:SHORT Title:T128 Img:BLOB "
                    "ImgMini:BLOB"},
    {"DOCUMENTFILE",
     "Id:AUTO Id_File:SHORT Id_Ref:LONG DoType:SHORT Title:T255 FileIcon:BLOB FileName:T255 "
     "FileType:T128 FileSize:T128 Remark:T255"},
    {"L_ANALYSIS",
     "Id:AUTO Id_File:LONG Id_Ref:LONG Id_Analysis:LONG Title:T128 Description:T255 "
     "Category:T128 Value_Min:DOUBLE Value_Max:DOUBLE Unit:T50 Decimal:SHORT Img1:BLOB "
     "Img2:BLOB Img3:BLOB Img4:BLOB ImgMini1:BLOB ImgMini2:BLOB ImgMini3:BLOB ImgMini4:BLOB "
     "Remark1:MEMO Remark2:MEMO Misc01:T128 Misc02:T128 Misc03:T128 Misc04:T128 Misc05:T128 "
     "Misc06:T128 Misc07:T128 Misc08:T128 Misc09:T128 Misc10:T128 Misc11:MEMO Misc12:MEMO "
     "Tag:T128"},
    {"ANALYSIS", "Id:AUTO Id_File:LONG Id_Ref:LONG Date_Analysis:DATE Time_Analysis:T5 "
                 "Value_Analysis:DOUBLE Value_Min:DOUBLE Value_Max:DOUBLE Remark1:T128"},
    {"LST_DOCTOR",
     "Id:AUTO Id_File:LONG Name:T128 Category:T128 Convention:YESNO Address:T128 City:T128 "
     "CP:T128 Phone:T128 Fax:T128 Email:T128 Country:T128 Note:T255 Price:MONEY"},
    {"LST_PHARMACY",
     "Id:AUTO Id_File:LONG Name:T128 Address:T128 City:T128 CP:T128 Phone:T128 Fax:T128 "
     "Email:T128 Country:T128 Category:T128 Note:T255"},
    {"LST_VACCINE", "Id:AUTO Id_File:LONG Title:T128 Description:T255 Category:T128"},
    {"LST_DRUG", "Id:AUTO Id_File:LONG Title:T128 Description:T255 Category:T128"},
    {"LST_ILLNESS", "Id:AUTO Id_File:LONG Title:T128 Description:T255 Category:T128 Gravity:T128"},
    {"LST_ANALYSIS",
     "Id:AUTO Id_File:LONG Title:T128 Unit:T50 Decimal:SHORT Description:T255 "
     "Value_Min:DOUBLE Value_Max:DOUBLE Category:T128 Img1:BLOB Img2:BLOB Img3:BLOB Img4:BLOB "
     "ImgMini1:BLOB ImgMini2:BLOB ImgMini3:BLOB ImgMini4:BLOB Remark1:MEMO Remark2:MEMO "
     "Misc01:T128 Misc02:T128 Misc03:T128 Misc04:T128 Misc05:T128 Misc06:T128 Misc07:T128 "
     "Misc08:T128 Misc09:T128 Misc10:T128 Misc11:MEMO Misc12:MEMO Tag:T128"},
    // The species window lists the species whose Id_File is -1, and new
    // species are written without it.
    {"ANIMAL_SPECIES", "Id:AUTO Id_File:LONG=-1 Title:T128"},
    {"ANIMAL_BREED", "Id:AUTO Id_File:LONG Id_Species:LONG Title:T128"},
    {"CUSTOMLAB",
     "Id_File:SHORT Misc01:T128 Misc02:T128 Misc03:T128 Misc04:T128 Misc05:T128 Misc06:T128 "
     "Misc07:T128 Misc08:T128 Misc09:T128 Misc10:T128 Misc11:T128 Misc12:T128"},
    {"COMBOITEMS",
     "Id:AUTO Id_File:SHORT Misc01:MEMO Misc02:MEMO Misc03:MEMO Misc04:MEMO Misc05:MEMO "
     "Misc06:MEMO Misc07:MEMO Misc08:MEMO Misc09:MEMO Misc10:MEMO Location:MEMO "
     "Doctor_Category:MEMO BirthDay_City:MEMO Blood:MEMO Action_Gravity:MEMO "
     "Analysis_Unit:MEMO Sex:MEMO Color:MEMO Identification_Type:MEMO "
     "Identification_Location:MEMO Begin_Breeder:MEMO End_Type:MEMO"},
    {"BACKUP", "DateSav:DATE TimeSav:T5 Description:T128 Path:T255"},
    {"OBJECT_VAL_STR", "ID_CLASS:LONG ID_ATTRIBUTE:LONG USERID:LONG VALUE:T255"},
    {"SQL_TREE", "Id:AUTO Id_File:LONG NodeTitle:T255 NodeLevel:LONG NodePos:LONG NodeType:LONG"},
    {"STAT_TREE", "Id:AUTO Id_File:LONG NodeTitle:T255 NodeLevel:LONG NodePos:LONG NodeType:LONG"},
    {"SQL_QUERY", "Id:AUTO Id_Tree:LONG Query:MEMO"},
    {"STAT_QUERY", "Id:AUTO Id_Tree:LONG Query:MEMO"},
};

ColumnDef parseColumn(const QString& spec)
{
    ColumnDef c;
    const int colon = spec.indexOf(QLatin1Char(':'));
    c.name = spec.left(colon);
    QString type = spec.mid(colon + 1);
    const int eq = type.indexOf(QLatin1Char('='));
    if (eq >= 0) {
        c.defaultValue = type.mid(eq + 1);
        type = type.left(eq);
    }
    if (type == QLatin1String("AUTO"))
        c.type = JetType::AutoNumber;
    else if (type == QLatin1String("LONG"))
        c.type = JetType::Long;
    else if (type == QLatin1String("SHORT"))
        c.type = JetType::Short;
    else if (type.startsWith(QLatin1Char('T'))) {
        c.type = JetType::Text;
        c.size = type.mid(1).toInt();
    } else if (type == QLatin1String("MEMO"))
        c.type = JetType::Memo;
    else if (type == QLatin1String("BLOB"))
        c.type = JetType::Blob;
    else if (type == QLatin1String("DOUBLE"))
        c.type = JetType::Double;
    else if (type == QLatin1String("MONEY"))
        c.type = JetType::Currency;
    else if (type == QLatin1String("YESNO"))
        c.type = JetType::YesNo;
    else if (type == QLatin1String("DATE"))
        c.type = JetType::DateTime;
    return c;
}

QVector<TableDef> buildTables()
{
    QVector<TableDef> tables;
    for (const TableSpec& spec : kTables) {
        TableDef t;
        t.name = QString::fromLatin1(spec.name);
        const QStringList cols =
            QString::fromLatin1(spec.columns).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (const QString& c : cols)
            t.columns.append(parseColumn(c));
        tables.append(t);
    }
    return tables;
}

} // namespace

const ColumnDef* TableDef::column(const QString& columnName) const
{
    for (const ColumnDef& c : columns) {
        if (c.name.compare(columnName, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

const QVector<TableDef>& schemaTables()
{
    static const QVector<TableDef> tables = buildTables();
    return tables;
}

const TableDef* schemaTable(const QString& name)
{
    for (const TableDef& t : schemaTables()) {
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

QStringList missingTables(const Connection& connection)
{
    const QStringList present = connection.tableNames();
    QStringList missing;
    for (const TableDef& t : schemaTables()) {
        if (!present.contains(t.name, Qt::CaseInsensitive))
            missing.append(t.name);
    }
    return missing;
}

QString createTableSql(const TableDef& table)
{
    QStringList cols;
    for (const ColumnDef& c : table.columns) {
        QString def =
            QLatin1Char('[') + c.name + QLatin1String("] ") + declaredTypeName(c.type, c.size);
        if (c.type == JetType::AutoNumber)
            def += QLatin1String(" PRIMARY KEY AUTOINCREMENT");
        if (isTextType(c.type))
            def += QLatin1String(" COLLATE NOCASE");
        if (!c.defaultValue.isEmpty())
            def += QLatin1String(" DEFAULT ") + c.defaultValue;
        cols.append(def);
    }
    return QLatin1String("CREATE TABLE [") + table.name + QLatin1String("] (") +
           cols.join(QLatin1String(", ")) + QLatin1Char(')');
}

void createSchema(Connection& connection)
{
    Transaction tx(connection);
    for (const TableDef& t : schemaTables())
        connection.exec(createTableSql(t));
    createRowIndexes(connection);
    tx.commit();
}

void createRowIndexes(Connection& connection)
{
    // Every page reads the rows of one animal (or of one followed analysis):
    // without these a page of a large booklet reads the whole table. Keys
    // are integers, so no index depends on the connection's collation.
    static const char* const kIndexes[][2] = {{"IX_ACTION_REF", "[ACTION](Id_Ref, Tag)"},
                                              {"IX_VACCINE_REF", "VACCINE(Id_Ref)"},
                                              {"IX_WEIGHT_REF", "WEIGHT(Id_Ref)"},
                                              {"IX_SIZE_REF", "SIZE(Id_Ref)"},
                                              {"IX_EVENT_REF", "EVENT(Id_Ref)"},
                                              {"IX_L_ANALYSIS_REF", "L_ANALYSIS(Id_Ref)"},
                                              {"IX_ANALYSIS_REF", "ANALYSIS(Id_Ref)"},
                                              {"IX_DOCUMENTIMG_REF", "DOCUMENTIMG(Id_Ref)"},
                                              {"IX_DOCUMENTFILE_REF", "DOCUMENTFILE(Id_Ref)"}};
    const QStringList tables = connection.tableNames();
    for (const auto& [name, on] : kIndexes) {
        const QString target = QString::fromLatin1(on);
        const QString table = target.left(target.indexOf(QLatin1Char('(')))
                                  .remove(QLatin1Char('['))
                                  .remove(QLatin1Char(']'));
        if (!tables.contains(table, Qt::CaseInsensitive))
            continue;
        connection.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS ") + QLatin1String(name) +
                        QStringLiteral(" ON ") + target);
    }
}

} // namespace tav
