#include "db/ReferenceLookup.h"

#include "db/CalcFields.h"
#include "db/Connection.h"

namespace tav {

namespace {

// The columns that make the text of a row, and the column that orders it.
struct Source
{
    const char* table;
    const char* name;
    const char* detail;
};

Source sourceOf(ReferenceKind kind)
{
    switch (kind) {
    case ReferenceKind::Doctor:
        return {"LST_DOCTOR", "Name", "Category"};
    case ReferenceKind::Pharmacy:
        return {"LST_PHARMACY", "Name", "Category"};
    case ReferenceKind::Drug:
        return {"LST_DRUG", "Title", "Category"};
    case ReferenceKind::Vaccine:
        return {"LST_VACCINE", "Title", "Category"};
    case ReferenceKind::Illness:
        return {"LST_ILLNESS", "Title", "Gravity"};
    }
    return {"LST_DOCTOR", "Name", "Category"};
}

QString selectFrom(const Source& s)
{
    return QStringLiteral("SELECT Id, ") + QLatin1String(s.name) + QStringLiteral(", ") +
           QLatin1String(s.detail) + QStringLiteral(" FROM ") + QLatin1String(s.table);
}

} // namespace

QVector<ReferenceLine> referenceLines(Connection& connection, ReferenceKind kind)
{
    const Source s = sourceOf(kind);
    QVector<ReferenceLine> lines;
    connection.forEachRow(selectFrom(s) + QStringLiteral(" ORDER BY ") + QLatin1String(s.name),
                          [&lines](const QVariantList& row) {
                              lines.append(
                                  {row.at(0).toLongLong(),
                                   nameWithCategory(row.at(1).toString(), row.at(2).toString())});
                          });
    return lines;
}

QString referenceText(Connection& connection, ReferenceKind kind, qint64 id)
{
    const Source s = sourceOf(kind);
    QString text;
    // forEachRow takes no bound values: the key is a number, never text.
    connection.forEachRow(selectFrom(s) + QStringLiteral(" WHERE Id=") + QString::number(id),
                          [&text](const QVariantList& row) {
                              text = nameWithCategory(row.at(1).toString(), row.at(2).toString());
                          });
    return text;
}

} // namespace tav
