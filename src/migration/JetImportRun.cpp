#include "migration/JetImportRun.h"

#include "core/Clock.h"
#include "core/FrenchText.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "media/Cabinet.h"
#include "media/CabinetWriter.h"
#include "migration/JetArchive.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

#include <csignal>
#include <cstring>
#include <iostream>
#include <sys/prctl.h>
#include <unistd.h>

namespace tav {

namespace {

const char kChildOption[] = "--importer-carnet-jet";

// A child that says nothing for this long is taken as stuck.
constexpr int kSilenceLimitMs = 120000;

bool isJetHeader(const QByteArray& head)
{
    return head.size() >= 19 && head.at(0) == 0 &&
           (head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB");
}

void writeLog(const BookletFiles& files, const QString& source, const JetImportResult& result)
{
    const QString path =
        QFileInfo(files.databaseFile).absolutePath() + QStringLiteral("/Importation.log");
    QFile log(path);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return;
    const QString text = Clock::now().toString(QStringLiteral("dd/MM/yyyy-hh:mm:ss")) +
                         QStringLiteral(" : importation de ") + source + QLatin1Char('\n') +
                         result.report() + QStringLiteral("\n\n");
    log.write(text.toUtf8());
}

} // namespace

bool isJetImportChildCall(int argc, char** argv)
{
    return argc >= 2 && std::strcmp(argv[1], kChildOption) == 0;
}

int jetImportChildMain(int argc, char** argv)
{
    // A child left alone by a killed program would go on writing into the
    // folder that the next start sweeps away: it ends with its parent.
    const pid_t parent = getppid();
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        return 4;
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    const QString result = args.at(4);
    const JetImportResult r =
        convertJetBooklet(args.at(2), args.at(3), [](const QString& step, int done, int total) {
            const QByteArray line =
                QStringLiteral("P\t%1\t%2\t%3\n")
                    .arg(done)
                    .arg(total)
                    .arg(QString(step).replace(QLatin1Char('\n'), QLatin1Char(' ')))
                    .toUtf8();
            std::cout.write(line.constData(), line.size());
            std::cout.flush();
            return true;
        });
    QSaveFile out(result);
    if (!out.open(QIODevice::WriteOnly) || out.write(r.toJson()) < 0 || !out.commit())
        return 3;
    return r.ok ? 0 : 1;
}

QString programExecutable(const QString& programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("tavirune"));
}

JetImportResult convertInChildProcess(const QString& program, const QString& source,
                                      const QString& targetFolder,
                                      const JetImportProgress& progress)
{
    JetImportResult failed;
    const QString resultFile = targetFolder + QStringLiteral(".resultat.json");
    QFile::remove(resultFile);
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.setStandardErrorFile(QProcess::nullDevice());
    child.start(program, {QString::fromLatin1(kChildOption), source, targetFolder, resultFile});
    if (!child.waitForStarted(30000)) {
        failed.error = fr("Le programme d'importation « %1 » n'a pas pu être lancé.").arg(program);
        return failed;
    }
    QByteArray pending;
    QElapsedTimer quiet;
    quiet.start();
    while (child.state() != QProcess::NotRunning) {
        if (child.waitForReadyRead(100)) {
            quiet.restart();
            pending += child.readAllStandardOutput();
        }
        qsizetype nl;
        bool cancel = false;
        while ((nl = pending.indexOf('\n')) >= 0) {
            const QStringList parts = QString::fromUtf8(pending.left(nl)).split(QLatin1Char('\t'));
            pending.remove(0, nl + 1);
            if (parts.size() == 4 && progress &&
                !progress(parts.at(3), parts.at(1).toInt(), parts.at(2).toInt()))
                cancel = true;
        }
        if (!cancel && progress && child.state() != QProcess::NotRunning &&
            !progress(QString(), -1, -1))
            cancel = true;
        if (cancel) {
            child.kill();
            child.waitForFinished(30000);
            failed.cancelled = true;
            failed.error = fr("Importation annulée : le carnet actuel n'a pas été modifié.");
            return failed;
        }
        if (quiet.elapsed() > kSilenceLimitMs) {
            child.kill();
            child.waitForFinished(30000);
            failed.error = fr("L'importation ne répond plus et a été arrêtée : le fichier est "
                              "sans doute endommagé. Le carnet actuel n'a pas été modifié.");
            return failed;
        }
    }
    if (child.exitStatus() != QProcess::NormalExit) {
        failed.error = fr("La lecture du fichier a fait échouer l'importation : le fichier est "
                          "sans doute endommagé. Le carnet actuel n'a pas été modifié.");
        return failed;
    }
    QFile file(resultFile);
    if (!file.open(QIODevice::ReadOnly)) {
        failed.error = fr("L'importation s'est arrêtée sans rendre compte de son travail ; le "
                          "carnet actuel n'a pas été modifié.");
        return failed;
    }
    JetImportResult r = JetImportResult::fromJson(file.readAll());
    file.close();
    QFile::remove(resultFile);
    return r;
}

MaintenanceResult importJetBooklet(const BookletFiles& files, const QString& source,
                                   const QString& program, const QString& safetyArchive,
                                   const JetImportProgress& progress, JetImportResult* result)
{
    JetImportResult local;
    JetImportResult& r = result ? *result : local;
    // Named like the restore's own folders, so that what a killed import
    // leaves behind is swept by the restore's recovery at the next start.
    const QString staging = files.workFolder + QStringLiteral("/restauration-importation-") +
                            Clock::now().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
    const auto finish = [&](const MaintenanceResult& outcome) {
        QDir(staging).removeRecursively();
        if (!outcome.ok && r.error.isEmpty())
            r.error = outcome.error;
        r.ok = outcome.ok;
        writeLog(files, source, r);
        return outcome;
    };
    if (!QDir().mkpath(staging))
        return finish(
            MaintenanceResult::failure(fr("Impossible de créer le dossier « %1 ».").arg(staging)));
    const QString converted = staging + QStringLiteral("/carnet");
    r = convertInChildProcess(program, source, converted, progress);
    if (!r.ok)
        return finish(MaintenanceResult::failure(r.error));

    // The converted booklet goes in place by the restore, which keeps
    // today's data in the safety archive and swaps under its journal.
    const QString database = converted + QStringLiteral("/TAVIRUNE.MDB");
    try {
        Connection c;
        c.open(database);
        if (c.scalar(QStringLiteral("PRAGMA integrity_check")).toString() != QLatin1String("ok"))
            return finish(MaintenanceResult::failure(fr("Le carnet converti est endommagé.")));
    } catch (const DbError& e) {
        return finish(MaintenanceResult::failure(e.message()));
    }
    QVector<CabinetEntry> entries{{QStringLiteral("TAVIRUNE.MDB"), database}};
    const std::pair<QString, QString> kinds[] = {
        {QStringLiteral("/Images"), QStringLiteral("*.jpg")},
        {QStringLiteral("/Files"), QStringLiteral("*.f")}};
    for (const auto& [folder, pattern] : kinds) {
        const QDir dir(converted + folder);
        for (const QString& name : dir.entryList({pattern}, QDir::Files, QDir::Name))
            entries.append({name, dir.filePath(name), false});
        for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
            if (!QDir::match(pattern, name))
                r.problems << fr("Fichier %1 du dossier %2 : ce programme ne le garde pas")
                                  .arg(name, folder.mid(1));
    }
    if (progress && !progress(fr("Préparation du carnet converti"), 0, 1))
        return finish(MaintenanceResult::failure(
            fr("Importation annulée : le carnet actuel n'a pas été modifié.")));
    const QString packed = staging + QStringLiteral("/carnet.bkp");
    if (const CabinetResult w = writeCabinet(packed, entries); !w.ok)
        return finish(MaintenanceResult::failure(w.error));
    const MaintenanceResult swapped = restoreBackupArchive(
        files, packed, safetyArchive, [&progress](const QString& task, int done, int total) {
            if (progress)
                progress(task, done, total);
        });
    if (!swapped.ok)
        r.error = swapped.error;
    return finish(swapped);
}

bool holdsJetBooklet(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(32);
    if (isJetHeader(head))
        return true;
    if (!head.startsWith("MSCF"))
        return false;
    f.close();
    QStringList names;
    if (!listCabinet(path, &names).ok)
        return false;
    QTemporaryDir dir;
    for (const QString& name : std::as_const(names))
        if (name.endsWith(QLatin1String(".mdb"), Qt::CaseInsensitive)) {
            // Only the database's first bytes tell: it alone is extracted.
            if (!dir.isValid() || !extractJetArchive(path, dir.path(), true).isEmpty())
                return false;
            QFile db(dir.filePath(QString(name)
                                      .replace(QLatin1Char('\\'), QLatin1Char('/'))
                                      .section(QLatin1Char('/'), -1)));
            return db.open(QIODevice::ReadOnly) && isJetHeader(db.read(32));
        }
    return false;
}

} // namespace tav
