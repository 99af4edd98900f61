#pragma once

#include "maintenance/BackupArchive.h"

#include <QStringList>

namespace tav {

// Deals with what a backup, a compaction or an update cut short (a killed
// process, a power cut) left beside the booklets, before the database is
// opened:
//  - "TAVIRUNE~.MDB" beside the database: removed when the database is
//    whole, since it then holds nothing more; put in the database's place
//    when it is whole and the database is missing or damaged (the damaged
//    file is kept under another name); otherwise kept under another name,
//    out of the way of the next compaction;
//  - the partial copies "*.tmp" of compactions and of the copies taken
//    before an update, and "temp.jpg" of a picture conversion;
//  - archives never finished, "*.bkp.nouveau" and "*.bkp.nouveau.tmp", in
//    the backup folder;
//  - the engine's journals whose database file no longer exists, which it
//    would otherwise replay into a new file of that name.
// Gives one French sentence per thing done or that could not be done,
// nothing when there was nothing to do.
QStringList clearLeftovers(const BookletFiles& files);

} // namespace tav
