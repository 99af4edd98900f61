#pragma once

#include <QString>

namespace tav {

// True when the file starts like a cabinet archive (a ".bkp" backup).
bool isCabinetFile(const QString& path);

// Extracts a backup archive of the Windows versions into folder: the
// database at the top, pictures into "Images", attached files into
// "Files". Entries stand under their bare names, or under an "Images\" or
// "Files\" folder prefix; any other folder, an unsafe name or two entries
// of one name refuse the archive whole. Empty on success, else a French
// reason. With databaseOnly, only the ".mdb" entry is written.
QString extractJetArchive(const QString& archive, const QString& folder, bool databaseOnly = false);

} // namespace tav
