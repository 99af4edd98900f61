#pragma once

#include "core/FileRoutines.h"

#include <QString>

#include <functional>

namespace tav {

struct DbConfig;

// Puts a database into the data folder on the first run: from an older
// installation's Data folder beside the program (a visible transfer, which
// the user is told about), else from the template of the program folder.
class FirstRunTransfer
{
public:
    enum class Result { NotNeeded, Silent, Visible, NoDatabase };

    // Receives the message of each of the three steps, in order.
    using Progress = std::function<void(const QString& message, int count, int maximum)>;

    FirstRunTransfer(const QString& programFolder, const DbConfig& config);

    bool needed() const;
    // Whether the source is an older installation (the window is shown).
    bool visible() const;
    Result run(const Progress& progress);
    // The copy of the database by run(): its failure says why run() gave
    // NoDatabase although the source was there.
    const FileResult& databaseCopy() const { return m_databaseCopy; }

private:
    QString m_programFolder;
    QString m_databaseFolder;
    QString m_databaseFileName; // per provider
    QString m_oledbFileName;
    FileResult m_databaseCopy;
};

} // namespace tav
