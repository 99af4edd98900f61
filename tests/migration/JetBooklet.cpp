#include "JetBooklet.h"

#include "db/Schema.h"
#include "media/Thumbnail.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QtEndian>

namespace tav::test {

namespace {

JetColumnType jetColumnType(JetType t)
{
    switch (t) {
    case JetType::AutoNumber:
    case JetType::Long:
        return JetColumnType::Long;
    case JetType::Short:
        return JetColumnType::Int;
    case JetType::Memo:
        return JetColumnType::Memo;
    case JetType::Blob:
        return JetColumnType::Ole;
    case JetType::Double:
        return JetColumnType::Double;
    case JetType::Currency:
        return JetColumnType::Money;
    case JetType::YesNo:
        return JetColumnType::Bool;
    case JetType::DateTime:
        return JetColumnType::DateTime;
    default:
        return JetColumnType::Text;
    }
}

void append32(QByteArray& b, quint32 v)
{
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

QByteArray jpegOf(Qt::GlobalColor colour)
{
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

} // namespace

QVector<JetWriteTable> jetBookletTables()
{
    QVector<JetWriteTable> tables;
    for (const TableDef& def : schemaTables()) {
        JetWriteTable t;
        t.name = def.name;
        for (const ColumnDef& c : def.columns) {
            JetWriteColumn col;
            col.name = c.name;
            col.type = jetColumnType(c.type);
            col.size = c.size > 0 ? c.size : 255;
            col.autoNumber = c.type == JetType::AutoNumber;
            col.compressed = true;
            if (c.name == QLatin1String("Id_Ref") && def.name != QLatin1String("L_ANALYSIS"))
                col.type = JetColumnType::Int;
            t.columns.append(col);
        }
        tables.append(t);
    }
    return tables;
}

void addJetRow(QVector<JetWriteTable>& tables, const QString& table, const QVariantMap& values)
{
    for (JetWriteTable& t : tables) {
        if (t.name != table)
            continue;
        QVariantList row;
        for (const JetWriteColumn& c : std::as_const(t.columns))
            row << values.value(c.name);
        t.rows.append(row);
        return;
    }
    qFatal("no table %s", qPrintable(table));
}

QByteArray bmpSquare(int side, Qt::GlobalColor colour)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(colour);
    return bmpFile(image);
}

QByteArray oleWrapped(const QByteArray& bmp)
{
    const QByteArray name("Image\0", 6);
    const QByteArray cls("Paint.Picture\0", 14);
    QByteArray header;
    header.append("\x15\x1C", 2);
    const quint16 headerSize = quint16(20 + name.size() + cls.size());
    header.append(char(headerSize & 0xFF)).append(char(headerSize >> 8));
    append32(header, 2);
    header.append(char(name.size())).append('\0');
    header.append(char(cls.size())).append('\0');
    header.append('\x14').append('\0');
    header.append(char(20 + name.size())).append('\0');
    append32(header, 0xFFFFFFFF);
    header += name + cls;
    QByteArray object;
    append32(object, 0x00000501);
    append32(object, 2);
    append32(object, quint32(cls.size()));
    object += cls;
    append32(object, 0);
    append32(object, 0);
    append32(object, quint32(bmp.size()));
    object += bmp;
    return header + object + QByteArray(8, '\xAB');
}

QString longMemo()
{
    QString memo;
    for (int i = 0; memo.size() < 20000; ++i)
        memo += QStringLiteral("Ligne %1 : otite soignée, œdème résorbé, 12,50 €.\r\n").arg(i);
    return memo;
}

QString writeSampleBooklet(const QString& folder)
{
    QVector<JetWriteTable> t = jetBookletTables();
    const auto u = [](const char* s) {
        return QString::fromUtf8(s);
    };
    addJetRow(t, QStringLiteral("ANIMAL"),
              {{QStringLiteral("Id"), 1},
               {QStringLiteral("Id_Species"), 1},
               {QStringLiteral("Name"), u("Médor")},
               {QStringLiteral("ForeName"), QString()},
               {QStringLiteral("Pedigree"), true},
               {QStringLiteral("BirthDay_Date"), QStringLiteral("03/04/1895")},
               {QStringLiteral("BirthDay_Weight"), 0.325},
               {QStringLiteral("Description"), longMemo()},
               {QStringLiteral("Misc11"), QString()},
               {QStringLiteral("ImgMini1"), bmpSquare(115, Qt::red)}});
    addJetRow(t, QStringLiteral("ANIMAL"),
              {{QStringLiteral("Id"), 2},
               {QStringLiteral("Name"), u("Zoé")},
               {QStringLiteral("ForeName"), u("Cœur-de-Lion")},
               {QStringLiteral("BirthDay_Date"), QStringLiteral("  /  /2040")},
               {QStringLiteral("ImgMini1"), oleWrapped(bmpSquare(115, Qt::blue))}});
    addJetRow(t, QStringLiteral("ANIMAL"),
              {{QStringLiteral("Id"), 3},
               {QStringLiteral("Name"), u("Œdipe")},
               {QStringLiteral("ImgMini1"), QByteArray("plus une image", 14)}});
    addJetRow(t, QStringLiteral("ACTION"),
              {{QStringLiteral("Id"), 7},
               {QStringLiteral("Id_Ref"), 1},
               {QStringLiteral("Tag"), 1},
               {QStringLiteral("Id_Org"), 4},
               {QStringLiteral("Date_Action"), QDate(1850, 6, 1)},
               {QStringLiteral("Time_Action"), QStringLiteral("09:30")},
               {QStringLiteral("Remark1"), u("Vaccin annuel")},
               {QStringLiteral("Price"), qint64(123456)},
               {QStringLiteral("Repayment"), true},
               {QStringLiteral("Date_Repayment"), QDate(2039, 5, 6)},
               {QStringLiteral("Price_Repayment"), qint64(100001)}});
    addJetRow(t, QStringLiteral("ACTION"),
              {{QStringLiteral("Id"), 9},
               {QStringLiteral("Id_Ref"), 2},
               {QStringLiteral("Tag"), 2},
               {QStringLiteral("Price"), qint64(45678)},
               {QStringLiteral("Date_Action"), QDate(2024, 2, 29)}});
    addJetRow(t, QStringLiteral("VACCINE"),
              {{QStringLiteral("Id"), 3},
               {QStringLiteral("Id_Ref"), 1},
               {QStringLiteral("Id_Org"), 4},
               {QStringLiteral("Date_Vaccine"), QDate(2020, 3, 1)},
               {QStringLiteral("Repeat_Date"), QDate(2041, 3, 1)},
               {QStringLiteral("Repeat_Exe"), true}});
    addJetRow(t, QStringLiteral("WEIGHT"),
              {{QStringLiteral("Id"), 1},
               {QStringLiteral("Id_Ref"), 1},
               {QStringLiteral("Date_Weight"), QDate(2020, 3, 1)},
               {QStringLiteral("Weight"), 12.345}});
    addJetRow(t, QStringLiteral("SIZE"),
              {{QStringLiteral("Id"), 1},
               {QStringLiteral("Id_Ref"), 1},
               {QStringLiteral("Date_Size"), QDate(2020, 3, 1)},
               {QStringLiteral("Size"), 55.5}});
    addJetRow(t, QStringLiteral("EVENT"),
              {{QStringLiteral("Id_Ref"), 2},
               {QStringLiteral("Date_Event"), QDate(2021, 12, 25)},
               {QStringLiteral("Time_Event"), QString()},
               {QStringLiteral("Description"), u("Déménagement à Noël")}});
    addJetRow(t, QStringLiteral("DOCUMENTIMG"),
              {{QStringLiteral("Id"), 5},
               {QStringLiteral("Id_File"), 0},
               {QStringLiteral("Id_Ref"), 1},
               {QStringLiteral("DoType"), 1},
               {QStringLiteral("Title"), u("Radio du thorax")},
               {QStringLiteral("ImgMini"), bmpSquare(90, Qt::green)}});
    addJetRow(t, QStringLiteral("DOCUMENTFILE"),
              {{QStringLiteral("Id"), 6},
               {QStringLiteral("Id_Ref"), 1},
               {QStringLiteral("DoType"), 1},
               {QStringLiteral("FileName"), QStringLiteral("ordonnance.pdf")}});
    addJetRow(t, QStringLiteral("DOCUMENTFILE"),
              {{QStringLiteral("Id"), 8},
               {QStringLiteral("Id_Ref"), 2},
               {QStringLiteral("DoType"), 1},
               {QStringLiteral("FileName"), QStringLiteral("perdu.txt")}});
    addJetRow(t, QStringLiteral("L_ANALYSIS"),
              {{QStringLiteral("Id"), 2},
               {QStringLiteral("Id_File"), -1},
               {QStringLiteral("Id_Ref"), 1},
               {QStringLiteral("Id_Analysis"), 1},
               {QStringLiteral("Unit"), QStringLiteral("g/l")}});
    addJetRow(t, QStringLiteral("ANALYSIS"),
              {{QStringLiteral("Id"), 1},
               {QStringLiteral("Id_Ref"), 2},
               {QStringLiteral("Date_Analysis"), QDate(2022, 1, 2)},
               {QStringLiteral("Value_Analysis"), 1.25}});
    addJetRow(t, QStringLiteral("LST_DOCTOR"),
              {{QStringLiteral("Id"), 4},
               {QStringLiteral("Name"), u("Dr Müller")},
               {QStringLiteral("Convention"), true},
               {QStringLiteral("Price"), qint64(250000)}});
    addJetRow(t, QStringLiteral("LST_ANALYSIS"),
              {{QStringLiteral("Id"), 1}, {QStringLiteral("Title"), u("Glycémie")}});
    addJetRow(t, QStringLiteral("ANIMAL_SPECIES"),
              {{QStringLiteral("Id"), 1},
               {QStringLiteral("Id_File"), -1},
               {QStringLiteral("Title"), QStringLiteral("Chien")}});
    addJetRow(t, QStringLiteral("CUSTOMLAB"),
              {{QStringLiteral("Id_File"), 0}, {QStringLiteral("Misc01"), u("Tatoué")}});
    addJetRow(t, QStringLiteral("COMBOITEMS"),
              {{QStringLiteral("Id"), 1}, {QStringLiteral("Sex"), u("Mâle\r\nFemelle")}});
    addJetRow(t, QStringLiteral("OBJECT_VAL_STR"),
              {{QStringLiteral("ID_CLASS"), -99},
               {QStringLiteral("ID_ATTRIBUTE"), -99},
               {QStringLiteral("USERID"), -99},
               {QStringLiteral("VALUE"), QStringLiteral("1.13")}});

    QDir().mkpath(folder + QStringLiteral("/Images"));
    QDir().mkpath(folder + QStringLiteral("/files"));
    writeFile(folder + QStringLiteral("/Images/ANIMAL1.JPG"), jpegOf(Qt::red));
    writeFile(folder + QStringLiteral("/Images/Animal3.jpg"), jpegOf(Qt::yellow));
    writeFile(folder + QStringLiteral("/Images/doc5.JPG"), jpegOf(Qt::green));
    writeFile(folder + QStringLiteral("/files/FILE6.F"), QByteArray("contenu emballé"));
    const QString path = folder + QStringLiteral("/TAVIRUNE.MDB");
    QString error;
    if (!writeJetFile(path, t, &error))
        qFatal("%s", qPrintable(error));
    return path;
}

} // namespace tav::test
