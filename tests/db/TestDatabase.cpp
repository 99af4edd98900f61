#include "TestDatabase.h"

#include "db/Schema.h"

TestDatabase::TestDatabase()
{
    connection.open(path(), true);
    tav::createSchema(connection);
}

QString TestDatabase::path() const
{
    return dir.filePath(QStringLiteral("TAVIRUNE.MDB"));
}
