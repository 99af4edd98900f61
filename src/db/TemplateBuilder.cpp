#include "db/TemplateBuilder.h"

#include "db/Connection.h"
#include "db/DbError.h"
#include "db/Schema.h"
#include "db/VersionRow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tav {

void buildTemplateDatabase(const QString& targetPath, const QString& referenceDataSql,
                           const QString& version)
{
    const QFileInfo target(targetPath);
    QDir().mkpath(target.absolutePath());
    const QString temp = target.absoluteFilePath() + QStringLiteral(".new");
    QFile::remove(temp);
    {
        Connection c;
        c.open(temp, true);
        try {
            createSchema(c);
            Transaction tx(c);
            writeDatabaseVersion(c, version);
            c.execScript(referenceDataSql);
            tx.commit();
            const QVariant check = c.scalar(QStringLiteral("PRAGMA integrity_check"));
            if (check.toString() != QLatin1String("ok"))
                throw DbError(
                    QStringLiteral("La base modèle est endommagée : %1").arg(check.toString()));
        } catch (...) {
            c.close();
            QFile::remove(temp);
            throw;
        }
        c.close();
    }
    QFile::remove(target.absoluteFilePath());
    if (!QFile::rename(temp, target.absoluteFilePath())) {
        QFile::remove(temp);
        throw DbError(QStringLiteral("Impossible d'écrire la base modèle « %1 ».").arg(targetPath));
    }
}

} // namespace tav
