#pragma once

#include <QDateTime>
#include <QHash>
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
    // Already compressed content (JPEG pictures, packed files) is stored as
    // it is: compressing it again costs time and gains nothing.
    bool compressed = true;
};

// The outcome of a cabinet operation: success or a French reason.
struct CabinetResult
{
    bool ok = true;
    QString error;
    // The system's error number when writing the archive failed (ENOSPC on
    // a full disk), so that a caller may name the file the user knows.
    int errorNumber = 0;
};

// "Impossible d'écrire l'archive « … » : le disque est plein."
QString archiveWriteError(const QString& path, int errorNumber);

// Called before each entry with its index and name.
using CabinetProgress = std::function<void(int index, const QString& name)>;

// The largest entry a cabinet holds: one folder counts its 32 KB blocks on
// 16 bits, and an entry stays within one folder.
inline constexpr qint64 kCabinetContentLimit = 65535LL * 32768;

// Writes a Microsoft Cabinet archive holding every entry in order, each
// compressed with MSZIP or stored as its flag says, in as many folders as
// the content needs (up to the format's 4 GB in all). An entry beyond
// kCabinetContentLimit is refused before anything is written. The archive
// is written under a temporary name in the destination's folder and put in
// place only once it is complete, so that an earlier archive of that name
// survives a failure.
// When digests is given it receives the SHA-1 of every entry as it was read.
CabinetResult writeCabinet(const QString& path, const QVector<CabinetEntry>& entries,
                           const CabinetProgress& progress = {},
                           QVector<QByteArray>* digests = nullptr);

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

// Extracts the entries named in places, each to its path relative to the
// folder (its sub-folder existing); the other entries stay in the archive.
// The places must have been checked by the caller.
CabinetResult extractCabinetEntries(const QString& path, const QString& folder,
                                    const QHash<QString, QString>& places);

// True for a name that may be written into a folder as it stands: no folder
// part, no drive, no control character, not a device name of Windows.
bool isSafeEntryName(const QString& name);

} // namespace tav
