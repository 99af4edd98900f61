#pragma once

#include "media/Cabinet.h"

namespace tav {

// How a cabinet is laid out. The defaults are the format's own limits; the
// tests lower them to reach the folder changes with small files.
struct CabinetLayout
{
    // A folder counts its 32 KB blocks on 16 bits.
    int maxBlocksPerFolder = 65535;
    // zlib's level for compressed entries.
    int compressionLevel = 1;
    // Threads compressing blocks side by side; 0 is one per processor.
    int threads = 0;
};

// Writes the entries as a Microsoft Cabinet to a new file at path (the
// caller puts it in place). Entries follow one another in the order given;
// a new folder starts when an entry changes between compressed (MSZIP) and
// stored, or when the current folder is full, so that an archive may hold
// up to the format's 4 GB. Every data block carries its checksum.
// When digests is given it receives the SHA-1 of every entry's bytes as
// they were read.
CabinetResult writeCabinetFile(const QString& path, const QVector<CabinetEntry>& entries,
                               const CabinetProgress& progress, const CabinetLayout& layout,
                               QVector<QByteArray>* digests = nullptr);

// Reads a cabinet back block by block, checking every block's checksum and
// decompressing it, and compares each entry's size and SHA-1 with what was
// written. Nothing is written to disk.
CabinetResult verifyCabinet(const QString& path, const QVector<qint64>& sizes,
                            const QVector<QByteArray>& digests);

} // namespace tav
