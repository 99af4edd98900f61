#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace tav {

class ExportablePage;

// "Outils › Exporter la page en CSV": writes the grid of the page shown as
// a spreadsheet file.
class PageExportCommand : public QObject
{
    Q_OBJECT
public:
    // Proposes the data folder's Export folder.
    PageExportCommand(QWidget* window, QString dataFolder);

    void exportPage(const ExportablePage& page);

private:
    QWidget* m_window;
    QString m_dataFolder;
};

} // namespace tav
