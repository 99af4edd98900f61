#include "output/CsvExport.h"

#include "db/DataSet.h"

#include <QDate>
#include <QDateTime>
#include <QSaveFile>

namespace tav {

namespace {

QString number(double value)
{
    // Up to 15 significant digits, no exponent for amounts and measures,
    // no trailing zeros: a spreadsheet reads it as the number itself.
    QString text = QString::number(value, 'f', 6);
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text.replace(QLatin1Char('.'), QLatin1Char(','));
}

// A spreadsheet runs a cell that starts with one of these as a formula
// ("=SUM(1+1)", "@cmd"): such text is written behind an apostrophe, which
// the spreadsheet takes as "show the rest as typed".
QString shownAsTyped(const QString& text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!text.isEmpty() && formulaStarts.contains(text.front()))
        return QLatin1Char('\'') + text;
    return text;
}

QString fieldText(const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm"));
    case QMetaType::Double:
    case QMetaType::Float:
        return number(value.toDouble());
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("Oui") : QStringLiteral("Non");
    case QMetaType::QString:
        return shownAsTyped(value.toString());
    default:
        return value.toString();
    }
}

QString quoted(const QString& text)
{
    if (!text.contains(QLatin1Char(';')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QString line(const QStringList& fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString& f : fields)
        out << quoted(f);
    return out.join(QLatin1Char(';')) + QStringLiteral("\r\n");
}

} // namespace

CsvTable csvTableFromDataSet(const DataSet& dataSet)
{
    CsvTable table;
    QVector<int> columns;
    for (int i = 0; i < dataSet.fieldCount(); ++i) {
        if (dataSet.field(i).def.hidden)
            continue;
        columns << i;
        table.headers << dataSet.field(i).caption();
    }
    for (int r = 0; r < dataSet.recordCount(); ++r) {
        QVariantList row;
        for (int c : std::as_const(columns))
            row << dataSet.valueAt(r, c);
        table.rows << row;
    }
    return table;
}

QByteArray frenchCsv(const CsvTable& table)
{
    QStringList headers;
    for (const QString& h : table.headers)
        headers << shownAsTyped(h);
    QString text = line(headers);
    for (const QVariantList& row : table.rows) {
        QStringList fields;
        for (const QVariant& v : row)
            fields << fieldText(v);
        text += line(fields);
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool writeCsvFile(const QString& path, const CsvTable& table, QString* error)
{
    QSaveFile file(path);
    const QByteArray bytes = frenchCsv(table);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QString::fromUtf8("Impossible d'écrire le fichier « %1 » : %2")
                         .arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace tav
