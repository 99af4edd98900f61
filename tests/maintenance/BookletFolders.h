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

    // The data folder is the temporary folder itself, or its sub-folder
    // `under` (to give it an awkward name).
    explicit BookletFolders(const QString& under = {})
    {
        const QString base = under.isEmpty() ? root.path() : root.filePath(under);
        const QString data = base + QStringLiteral("/Data");
        files = {data + QStringLiteral("/Access/TAVIRUNE.MDB"), data + QStringLiteral("/Images"),
                 data + QStringLiteral("/Files"), base + QStringLiteral("/Backup")};
        for (const QString& f : {QString(data + QStringLiteral("/Access")), files.imagesFolder,
                                 files.filesFolder, files.workFolder})
            QDir().mkpath(f);
        tav::Connection c;
        c.open(files.databaseFile, true);
        tav::createSchema(c);
    }
};
