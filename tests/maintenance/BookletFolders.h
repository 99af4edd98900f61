#pragma once

// A data folder laid out as the program lays it out, with an empty
// booklet database, for the maintenance tests.

#include "db/Connection.h"
#include "db/Schema.h"
#include "maintenance/BackupArchive.h"

#include <QDir>
#include <QTemporaryDir>

struct BookletFolders
{
    QTemporaryDir root;
    tav::BookletFiles files;

    BookletFolders()
    {
        const QString data = root.filePath(QStringLiteral("Data"));
        files = {data + QStringLiteral("/Access/TAVIRUNE.MDB"), data + QStringLiteral("/Images"),
                 data + QStringLiteral("/Files"), root.filePath(QStringLiteral("Backup"))};
        for (const QString& f : {QString(data + QStringLiteral("/Access")), files.imagesFolder,
                                 files.filesFolder, files.workFolder})
            QDir().mkpath(f);
        tav::Connection c;
        c.open(files.databaseFile, true);
        tav::createSchema(c);
    }
};
