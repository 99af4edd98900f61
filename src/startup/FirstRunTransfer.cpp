#include "startup/FirstRunTransfer.h"

#include "core/FileRoutines.h"
#include "db/DbConfig.h"
#include "startup/DataFolders.h"

#include <QDir>
#include <QFileInfo>

namespace tav {

FirstRunTransfer::FirstRunTransfer(const QString& programFolder, const DbConfig& config)
    : m_programFolder(withTrailingSlash(programFolder)), m_databaseFolder(config.databaseFolder),
      m_databaseFileName(config.databaseFileName),
      m_oledbFileName(toLocalPath(config.oledbFileName))
{}

bool FirstRunTransfer::needed() const
{
    return m_databaseFileName.isEmpty() ||
           !QFileInfo(m_databaseFolder + m_databaseFileName).isFile();
}

bool FirstRunTransfer::visible() const
{
    const QString oldData = m_programFolder + QStringLiteral("Data/");
    return !m_databaseFileName.isEmpty() && QFileInfo(oldData + m_databaseFileName).isFile() &&
           (QFileInfo::exists(m_programFolder + QStringLiteral("dsn.ini")) ||
            QFileInfo::exists(m_programFolder + QStringLiteral("db.ini")));
}

FirstRunTransfer::Result FirstRunTransfer::run(const Progress& progress)
{
    if (!needed())
        return Result::NotNeeded;
    QDir().mkpath(m_databaseFolder);
    for (const char* sub : {"Access", "Images", "Files"})
        QDir().mkpath(m_databaseFolder + QString::fromLatin1(sub));
    const bool isVisible = visible();
    const QString source = isVisible ? m_programFolder + QStringLiteral("Data/")
                                     : m_programFolder + QStringLiteral("Ressources/DB/Data/");
    if (m_databaseFileName.isEmpty() || !QFileInfo(source + m_databaseFileName).isFile())
        return Result::NoDatabase;

    int count = 0;
    progress(QStringLiteral("Copie de la base de données"), ++count, 3);
    const QString target = m_databaseFolder + m_oledbFileName;
    QDir().mkpath(QFileInfo(target).absolutePath());
    // Without its database the program would run on nothing: a copy that
    // failed stops the start like a missing template.
    m_databaseCopy = copyFileIfMissing(source + m_databaseFileName, target);
    if (!m_databaseCopy)
        return Result::NoDatabase;
    // Pictures and attached files that cannot be copied do not stop the
    // start: each one shows as missing where it is used. The reason goes to
    // the log.
    progress(QStringLiteral("Copie des images"), ++count, 3);
    logFailure(copyFiles(source + QStringLiteral("Images/"),
                         m_databaseFolder + QStringLiteral("Images/"), QStringLiteral("*.jpg")));
    progress(QStringLiteral("Copie des fichiers"), ++count, 3);
    logFailure(copyFiles(source + QStringLiteral("Files/"),
                         m_databaseFolder + QStringLiteral("Files/"), QStringLiteral("*.f")));
    return isVisible ? Result::Visible : Result::Silent;
}

} // namespace tav
