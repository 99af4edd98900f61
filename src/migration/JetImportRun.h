#pragma once

#include "maintenance/BackupArchive.h"
#include "migration/JetImport.h"

namespace tav {

// The option that makes the program a conversion child: the program
// started again with it converts one booklet and exits, so that a damaged
// file that crashes the reading library takes neither the window nor
// today's data with it.
bool isJetImportChildCall(int argc, char** argv);
// The child's side, run by main() before anything else; its exit code.
int jetImportChildMain(int argc, char** argv);

// The name of the program's executable in the program folder.
QString programExecutable(const QString& programFolder);

// Converts source into targetFolder in a child process of program,
// passing on its progress; a cancel ends the child. A child that crashes
// or stops answering gives a failure with a French reason.
JetImportResult convertInChildProcess(const QString& program, const QString& source,
                                      const QString& targetFolder,
                                      const JetImportProgress& progress = {});

// Replaces the booklets by those converted from a Jet booklet or archive,
// as a restore does: the conversion is built aside by the child, checked,
// then put in place through the restore's safety archive and journal, so
// that on any failure, a cancel or a kill today's booklets stay whole. The
// report is written to "Importation.log" beside the database, whatever the
// outcome. The caller has closed every connection.
MaintenanceResult importJetBooklet(const BookletFiles& files, const QString& source,
                                   const QString& program, const QString& safetyArchive,
                                   const JetImportProgress& progress, JetImportResult* result);

// True when the file is a Jet database, or a cabinet archive whose
// database is one: what the restore hands to the import instead.
bool holdsJetBooklet(const QString& path);

} // namespace tav
