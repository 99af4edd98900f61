#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

namespace tav {

// One file to put into a cabinet, under its name inside the archive.
struct CabinetEntry
{
    QString name; // a bare name: no folder part
    QString sourcePath;
};

// The outcome of a cabinet operation: success or a French reason.
struct CabinetResult
{
    bool ok = true;
    QString error;
};

// Called before each entry with its index and name.
using CabinetProgress = std::function<void(int index, const QString& name)>;

// Writes a Microsoft Cabinet archive holding every entry, compressed with
// MSZIP, in one folder. The archive is written under a temporary name in
// the destination's folder and put in place only once it is complete, so
// that an earlier archive of that name survives a failure.
CabinetResult writeCabinet(const QString& path, const QVector<CabinetEntry>& entries,
                           const CabinetProgress& progress = {});

// The names of the entries of a cabinet, in archive order. Fails on a file
// that is not a cabinet.
CabinetResult listCabinet(const QString& path, QStringList* names);

// Extracts every entry of a cabinet into an existing folder under its bare
// name, replacing files of that name. An archive with a name that would
// reach outside the folder (a folder part, "..", an empty name) is refused
// whole before anything is written.
CabinetResult extractCabinet(const QString& path, const QString& folder,
                             const CabinetProgress& progress = {});

// True for a name that may be written into a folder as it stands.
bool isSafeEntryName(const QString& name);

} // namespace tav
