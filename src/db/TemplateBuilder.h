#pragma once

#include <QString>

namespace tav {

// The database a new user starts from: every table, the version row and the
// reference lists. Written under a temporary name and renamed, so that a
// failure never leaves a half-built file in place. Throws DbError.
void buildTemplateDatabase(const QString& targetPath, const QString& referenceDataSql,
                           const QString& version);

} // namespace tav
