#include "startup/DataFolders.h"

#include "core/AppInfo.h"
#include "core/FileRoutines.h"
#include "core/IniFile.h"
#include "core/TextFile.h"
#include "core/TextRoutines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

namespace tav {

namespace {

// A warning that cannot be written is only logged: the write test that
// follows reports a folder that cannot be written.
void writeWarning(const QString& folder, const QString& text)
{
    logFailure(writeTextFile(folder + QStringLiteral("Avertissement.txt"), text));
}

QString makerWarning()
{
    return QStringLiteral("ATTENTION : NE SUPPRIMEZ PAS CE REPERTOIRE \r\n\r\n") +
           QStringLiteral("Ce répertoire contient les données des logiciels édités par ") +
           appinfo::makerName() + QStringLiteral("\r\nContact : ") + appinfo::contactEmail() +
           QStringLiteral("\r\nSite web : ") + appinfo::webSite() + QStringLiteral("\r\n");
}

QString productWarning()
{
    return QStringLiteral("ATTENTION : NE SUPPRIMEZ PAS CE REPERTOIRE \r\n\r\n") +
           QStringLiteral("Ce répertoire contient les données du logiciels ") +
           appinfo::productName() + QStringLiteral(" édités par ") + appinfo::makerName() +
           QStringLiteral("\r\nContact : ") + appinfo::contactEmail() +
           QStringLiteral("\r\nSite web : ") + appinfo::webSite() + QStringLiteral("\r\n");
}

} // namespace

QString withTrailingSlash(const QString& path)
{
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

QString absoluteProgramFolder(const StartupEnvironment& env)
{
    return withTrailingSlash(QDir(env.programFolder).absolutePath());
}

bool hasDevelopmentMarker(const StartupEnvironment& env)
{
    return QFileInfo::exists(absoluteProgramFolder(env) + env.programName + QStringLiteral(".dpr"));
}

bool isOnRemovableDrive(const QString& path)
{
    const QStorageInfo storage(path);
    QString device = QString::fromLocal8Bit(storage.device());
    if (!device.startsWith(QLatin1String("/dev/")))
        return false;
    device = QFileInfo(device).canonicalFilePath().section(QLatin1Char('/'), -1);
    // A partition's own folder has no "removable" flag: its disk's has.
    QString sysDir = QFileInfo(QStringLiteral("/sys/class/block/") + device).canonicalFilePath();
    for (int depth = 0; depth < 2 && !sysDir.isEmpty(); ++depth) {
        QFile flag(sysDir + QStringLiteral("/removable"));
        if (flag.open(QIODevice::ReadOnly))
            return flag.readAll().trimmed() == "1";
        sysDir = QFileInfo(sysDir).absolutePath();
    }
    return false;
}

QString resolveDataFolder(const StartupEnvironment& env)
{
    // Every folder of the installation is taken from the program folder,
    // never from the working directory: a launcher started from the home
    // folder must find the same booklets.
    const QString program = absoluteProgramFolder(env);
    const IniFile directories(program + QStringLiteral("directories.ini"));
    const QString value =
        directories.readString(QStringLiteral("Path"), QStringLiteral("AppDataDir"), QString());
    const bool removable =
        env.removableDrive.has_value() ? *env.removableDrive : isOnRemovableDrive(program);
    // Installed programs live under /usr or /opt: there the rule for a
    // portable copy does not apply.
    const bool installed =
        program.startsWith(QLatin1String("/usr/")) || program.startsWith(QLatin1String("/opt/"));
    QString dataFolder;
    if (value == QLatin1String("appexe") || hasDevelopmentMarker(env) ||
        (removable && !installed)) {
        dataFolder = program;
    } else {
        const QString base =
            value.isEmpty()
                ? withTrailingSlash(env.documentsFolder) + appinfo::makerName() + QLatin1Char('/')
                : withTrailingSlash(
                      QDir::cleanPath(QDir(program).absoluteFilePath(nativePath(value))));
        if (!QFileInfo::exists(base)) {
            QDir().mkpath(base);
            writeWarning(base, makerWarning());
        }
        dataFolder = base + stripAccents(appinfo::productName()) + QLatin1Char('/');
        if (!QFileInfo::exists(dataFolder)) {
            QDir().mkpath(dataFolder);
            writeWarning(dataFolder, productWarning());
        }
    }
    // Creation failures are not reported here: the write test reports them.
    for (const char* sub :
         {"Export", "Html", "Backup", "Data", "Data/Access", "Data/Images", "Data/Files"})
        QDir().mkdir(dataFolder + QString::fromLatin1(sub));
    return dataFolder;
}

FileResult copyIfMissing(const QString& fileName, const QString& dataFolder,
                         const QString& programFolder)
{
    const QString target = withTrailingSlash(dataFolder) + fileName;
    if (QFileInfo::exists(target))
        return FileResult::success();
    const QString program = withTrailingSlash(programFolder);
    const QStringList sources = {program + fileName,
                                 program + QStringLiteral("Ressources/DB/") + fileName,
                                 program + QStringLiteral("Maj/") + fileName};
    for (const QString& source : sources) {
        if (QFileInfo(source).isFile())
            return copyFileIfMissing(source, target);
    }
    return FileResult::failure(
        QStringLiteral("Le fichier « %1 » est introuvable dans le dossier du programme.")
            .arg(fileName));
}

FileResult dataFolderIsWritable(const QString& dataFolder)
{
    const QString probe = withTrailingSlash(dataFolder) + QStringLiteral("write.tmp");
    const FileResult written = writeTextFile(probe, QStringLiteral("admin\r\n"));
    QFile::remove(probe);
    return written;
}

StartupEnvironment StartupEnvironment::fromDesktop()
{
    StartupEnvironment env;
    env.programFolder = QCoreApplication::applicationDirPath();
    env.documentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    env.lockFolder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (env.lockFolder.isEmpty())
        env.lockFolder = QDir::tempPath();
    return env;
}

} // namespace tav
