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
    int compressionLevel = 6;
    // Threads compressing blocks side by side; 0 is one per processor.
    int threads = 0;
};

// Writes the entries as a Microsoft Cabinet to a new file at path (the
// caller puts it in place). Entries follow one another in the order given;
// a new folder starts when an entry changes between compressed (MSZIP) and
// stored, or when the current folder is full, so that an archive may hold
// up to the format's 4 GB. Every data block carries its checksum.
CabinetResult writeCabinetFile(const QString& path, const QVector<CabinetEntry>& entries,
                               const CabinetProgress& progress, const CabinetLayout& layout);

} // namespace tav
