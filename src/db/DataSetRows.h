#pragma once

#include <QLatin1String>
#include <QString>
#include <QVariant>

class QSqlQuery;

namespace tav {

// What the reading and the writing halves of a data set share.
namespace datasetrows {

// The alias under which a writable data set reads each row's rowid.
inline const QLatin1String kRowIdAlias("__rowid__");

// The engine's failure of a query, in French, with the file it concerns.
QString sqlError(const QSqlQuery& q, const QString& filePath);

// Two values are the same when both are null, or equal as stored.
bool sameValue(const QVariant& a, const QVariant& b);

} // namespace datasetrows

} // namespace tav
