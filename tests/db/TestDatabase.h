#pragma once

#include "db/Connection.h"

#include <QTemporaryDir>

#include <memory>

// A fresh database file with the whole schema, in a temporary folder.
struct TestDatabase
{
    TestDatabase();
    QString path() const;
    QString folder() const { return dir.path(); }

    QTemporaryDir dir;
    tav::Connection connection;
};
