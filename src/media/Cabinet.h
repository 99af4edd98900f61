#pragma once

#include <QDateTime>
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

// Uncompressed bytes a cabinet written here holds at most: its one folder
// counts its 32 KB blocks on 16 bits (the writer makes one folder only).
inline constexpr qint64 kCabinetContentLimit = 65535LL * 32768;

// Writes a Microsoft Cabinet archive holding every entry, compressed with
// MSZIP, in one folder. Content beyond the format's limit is refused before
// anything is written. The archive is written under a temporary name in
// the destination's folder and put in place only once it is complete, so
// that an earlier archive of that name survives a failure.
CabinetResult writeCabinet(const QString& path, const QVector<CabinetEntry>& entries,
                           const CabinetProgress& progress = {});

// What a cabinet says of one of its entries.
struct CabinetEntryInfo
{
    QString name;
    qint64 size = 0;
    QDateTime modified; // as stored, without a time zone
};

CabinetResult listCabinetEntries(const QString& path, QVector<CabinetEntryInfo>* entries);

// The names of the entries of a cabinet, in archive order. Fails on a file
// that is not a cabinet.
CabinetResult listCabinet(const QString& path, QStringList* names);

// Extracts every entry of a cabinet into an existing folder under its bare
// name, replacing files of that name. An archive with a name that would
// reach outside the folder (a folder part, "..", an empty name) is refused
// whole before anything is written.
CabinetResult extractCabinet(const QString& path, const QString& folder,
                             const CabinetProgress& progress = {});

// True for a name that may be written into a folder as it stands: no folder
// part, no drive, not a device name of Windows.
bool isSafeEntryName(const QString& name);

} // namespace tav
