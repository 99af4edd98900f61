#pragma once

#include <QObject>

class QWidget;

namespace tav {

class ExportablePage;

// "Outils › Exporter la page en CSV": writes the grid of the page shown as
// a spreadsheet file.
class PageExportCommand : public QObject
{
    Q_OBJECT
public:
    explicit PageExportCommand(QWidget* window);

    void exportPage(const ExportablePage& page);

private:
    QWidget* m_window;
};

} // namespace tav
