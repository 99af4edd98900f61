#include "db/DbConfig.h"

#include "core/IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace tav {

namespace {

const QString kDataBase = QStringLiteral("DataBase");
const QString kOdbc = QStringLiteral("ODBC");
const QString kOledb = QStringLiteral("OLEDB");

QString withSlash(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

} // namespace

QString toLocalPath(const QString& path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

DbConfig DbConfig::read(const QString& dataFolder, const QString& programFolder)
{
    const QString iniPath = withSlash(dataFolder) + QStringLiteral("db.ini");
    IniFile ini(iniPath);
    DbConfig c;
    c.provider = ini.readString(kDataBase, QStringLiteral("Provider"), QStringLiteral("OLEDB"));
    c.databasePath = ini.readString(kDataBase, QStringLiteral("Path"), QStringLiteral("Data\\"));
    c.odbcName = ini.readString(kOdbc, QStringLiteral("Name"), QStringLiteral("TAVIRUNE"));
    c.odbcDriver = ini.readString(kOdbc, QStringLiteral("Driver"),
                                  QStringLiteral("Microsoft Access Driver (*.mdb)"));
    c.odbcPath =
        ini.readString(kOdbc, QStringLiteral("Path"), QStringLiteral("Access\\TAVIRUNE.MDB"));
    c.oledbProvider = ini.readString(kOledb, QStringLiteral("Provider"),
                                     QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    c.oledbFileName =
        ini.readString(kOledb, QStringLiteral("FileName"), QStringLiteral("Access\\TAVIRUNE.MDB"));

    if (!QFileInfo::exists(iniPath)) {
        IniFile out(iniPath);
        out.writeString(kDataBase, QStringLiteral("Provider"), c.provider);
        out.writeString(kDataBase, QStringLiteral("Path"), c.databasePath);
        out.writeString(kOdbc, QStringLiteral("Name"), c.odbcName);
        out.writeString(kOdbc, QStringLiteral("Driver"), c.odbcDriver);
        out.writeString(kOdbc, QStringLiteral("Path"), c.odbcPath);
        out.writeString(kOledb, QStringLiteral("Provider"), c.oledbProvider);
        out.writeString(kOledb, QStringLiteral("FileName"), c.oledbFileName);
        // The defaults hold in memory all the same; a file that cannot be
        // written is only logged.
        logFailure(out.save());
    }

    // Exactly "Data\" (or "Data/") is the Data folder of the data folder;
    // anything else is the database folder itself.
    if (c.databasePath == QLatin1String("Data\\") || c.databasePath == QLatin1String("Data/")) {
        c.databaseFolder = withSlash(dataFolder) + QStringLiteral("Data/");
    } else {
        c.customDatabaseFolder = true;
        const QString local = toLocalPath(c.databasePath);
        c.databaseFolder = withSlash(QDir(programFolder).absoluteFilePath(local));
        if (local.isEmpty())
            c.databaseFolder = withSlash(programFolder);
    }
    if (c.provider == QLatin1String("ODBC"))
        c.databaseFileName = toLocalPath(c.odbcPath);
    else if (c.provider == QLatin1String("OLEDB"))
        c.databaseFileName = toLocalPath(c.oledbFileName);
    return c;
}

QString DbConfig::unusableReason() const
{
    const QString iniName = QStringLiteral("db.ini");
    if (provider != QLatin1String("OLEDB") && provider != QLatin1String("ODBC")) {
        return QStringLiteral("Le fournisseur « %1 » du fichier %2 est inconnu : indiquez "
                              "Provider=OLEDB dans la section [DataBase].")
            .arg(provider, iniName);
    }
    const QString fileName = toLocalPath(oledbFileName).trimmed();
    if (fileName.isEmpty() || fileName.endsWith(QLatin1Char('/')) ||
        QFileInfo(databaseFilePath()).isDir()) {
        return QStringLiteral("Le nom de fichier « %1 » du fichier %2 (FileName, section "
                              "[OLEDB]) désigne le dossier « %3 » et non le fichier de la base "
                              "de données.")
            .arg(oledbFileName, iniName, databaseFilePath());
    }
    if (customDatabaseFolder && !QFileInfo(databaseFolder).isDir()) {
        return QStringLiteral("Le dossier de la base de données « %1 » est introuvable. "
                              "Vérifiez que le disque qui le contient est branché, ou corrigez "
                              "le chemin (Path, section [DataBase]) du fichier %2.")
            .arg(databaseFolder, iniName);
    }
    return QString();
}

QString DbConfig::databaseFilePath() const
{
    return databaseFolder + toLocalPath(oledbFileName);
}

QString DbConfig::connectionFilePath(QString* why) const
{
    if (provider == QLatin1String("OLEDB"))
        return databaseFilePath();
    if (why) {
        *why = provider == QLatin1String("ODBC")
                   ? QStringLiteral("La connexion par une source de données ODBC n'est pas "
                                    "disponible dans cette version. Indiquez Provider=OLEDB "
                                    "dans le fichier db.ini.")
                   : QStringLiteral("Le fournisseur « %1 » du fichier db.ini est inconnu.")
                         .arg(provider);
    }
    return QString();
}

QString DbConfig::connectionString() const
{
    if (provider == QLatin1String("ODBC")) {
        QString s = QStringLiteral("Provider=MSDASQL.1;Data Source=%DATASOURCE%;Persist Security "
                                   "Info=True;Mode=ReadWrite");
        return s.replace(QStringLiteral("%DATASOURCE%"), odbcName);
    }
    QString s = QStringLiteral(
        "Provider=%PROVIDER%;Data Source=%DATASOURCE%;Mode=ReadWrite;Jet OLEDB:Engine Type=5;Jet "
        "OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;Jet OLEDB:Global Bulk "
        "Transactions=1;Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt "
        "Database=False;Jet OLEDB:Don't Copy Locale on Compact=False;Jet OLEDB:Compact Without "
        "Replica Repair=False;Jet OLEDB:SFP=False");
    s.replace(QStringLiteral("%PROVIDER%"), oledbProvider);
    return s.replace(QStringLiteral("%DATASOURCE%"), databaseFilePath());
}

} // namespace tav
