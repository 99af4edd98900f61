#pragma once

#include "TestText.h"

#include "maintenance/BackupArchive.h"

#include <sys/wait.h>
#include <unistd.h>

// Restores the archive in a child process that dies just before the rename
// that completes the restore: for a moment there is no database in place.
// True when the child died there; false when it reached the end, restored
// or not.
inline bool restoreDiesBeforeItsLastRename(const tav::BookletFiles& files, const QString& archive,
                                           const QString& safetyArchive)
{
    const pid_t child = fork();
    if (child == 0) {
        const bool restored =
            tav::restoreBackupArchive(files, archive, safetyArchive,
                                      [](const QString& task, int done, int total) {
                                          if (task == u("Restauration de la base") && total > 1 &&
                                              done == total - 1)
                                              _exit(0);
                                      })
                .ok;
        _exit(restored ? 1 : 2);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
