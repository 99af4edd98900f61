#include "booklet/commands/PageExportCommand.h"

#include "booklet/pages/ExportablePage.h"
#include "core/FileRoutines.h"
#include "output/CsvExport.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QWidget>

namespace tav {

PageExportCommand::PageExportCommand(QWidget* window, QString dataFolder)
    : QObject(window), m_window(window), m_dataFolder(std::move(dataFolder))
{}

void PageExportCommand::exportPage(const ExportablePage& page)
{
    const QString path = FileDialog::getSaveFileName(
        m_window, QString::fromUtf8("Exporter la page en CSV"),
        dataSubFolder(m_dataFolder, QStringLiteral("Export")) + page.exportFileName(),
        QString::fromUtf8("Fichier CSV (tableur)|*.csv"));
    if (path.isEmpty())
        return;
    QString error;
    if (!writeCsvFile(path, page.exportTable(), &error))
        showError(m_window, error);
}

} // namespace tav
