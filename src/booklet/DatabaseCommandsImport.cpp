#include "booklet/AppContext.h"
#include "booklet/DatabaseCommands.h"
#include "booklet/TMainForm.h"
#include "core/Clock.h"
#include "core/FrenchText.h"
#include "migration/JetImportRun.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

namespace tav {

void DatabaseCommands::importJet(const QString& chosen)
{
    QString source = chosen;
    if (source.isEmpty()) {
        source = FileDialog::getOpenFileName(
            &m_form, fr("Sélectionnez le carnet à importer"), m_form.context().dataFolder,
            fr("Carnet de santé (*.mdb, *.bkp)|*.mdb;*.MDB;*.bkp|Tous les fichiers|*"));
        if (source.isEmpty())
            return;
        if (!MessageBox::question(
                &m_form, fr("Importer le carnet « %1 » ?\rLes données actuelles seront "
                            "remplacées ; elles seront d'abord gardées dans une sauvegarde de "
                            "sécurité.")
                             .arg(QFileInfo(source).fileName())))
            return;
    }
    if (!recordPendingAnimal())
        return;
    const BookletFiles files = bookletFiles();
    QDir().mkpath(files.workFolder);
    const QString safety = files.workFolder + QStringLiteral("/TAVIRUNE_AVANT_IMPORTATION_") +
                           Clock::now().toString(QStringLiteral("dd_MM_yyyy_hh_mm_ss")) +
                           QStringLiteral(".bkp");
    const QString program = programExecutable(m_form.context().programFolder);
    JetImportResult report;
    const MaintenanceResult r =
        runClosed(fr("Importation d'un carnet"), [&](const BackupProgress&) {
            // A window of its own: the main window is disabled meanwhile,
            // and the cancel button must stay usable.
            QProgressDialog progress(fr("Lecture du carnet ..."), fr("Annuler"), 0, 1);
            progress.setObjectName(QStringLiteral("ImportProgress"));
            progress.setWindowTitle(fr("Importation d'un carnet"));
            progress.setMinimumDuration(0);
            progress.setAutoClose(false);
            progress.setAutoReset(false);
            progress.show();
            QCoreApplication::processEvents();
            return importJetBooklet(
                files, source, program, safety,
                [&progress](const QString& step, int done, int total) {
                    if (total > 0) {
                        progress.setMaximum(total);
                        progress.setValue(qBound(0, done, total));
                    }
                    if (!step.isEmpty())
                        progress.setLabelText(step);
                    QCoreApplication::processEvents();
                    return !progress.wasCanceled();
                },
                &report);
        });
    if (r.ok)
        updateRestoredDatabase();
    m_form.RefreshCurrentPage();
    m_form.buildAnimalList(-1);
    m_form.updateControls();
    if (!r.ok) {
        showError(&m_form, report.cancelled ? report.error
                                            : fr("L'importation a échoué ; les données "
                                                 "actuelles sont restées en place.\n%1")
                                                  .arg(r.error));
        return;
    }
    if (!addHistory(fr("Importation d'un carnet"), source))
        return;
    MessageBox::information(
        &m_form, report.report() +
                     fr("\n\nLes données remplacées ont été gardées dans « %1 ».").arg(safety));
}

} // namespace tav
