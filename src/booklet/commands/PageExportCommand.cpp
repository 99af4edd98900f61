#include "booklet/commands/PageExportCommand.h"

#include "booklet/pages/ExportablePage.h"
#include "output/CsvExport.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QStandardPaths>
#include <QWidget>

namespace tav {

PageExportCommand::PageExportCommand(QWidget* window) : QObject(window), m_window(window) {}

void PageExportCommand::exportPage(const ExportablePage& page)
{
    const QString path = FileDialog::getSaveFileName(
        m_window, QString::fromUtf8("Exporter la page en CSV"),
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QLatin1Char('/') +
            page.exportFileName(),
        QString::fromUtf8("Fichier CSV (tableur)|*.csv"));
    if (path.isEmpty())
        return;
    QString error;
    if (!writeCsvFile(path, page.exportTable(), &error))
        showError(m_window, error);
}

} // namespace tav
