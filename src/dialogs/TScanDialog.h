#pragma once

#include "scan/SaneScanner.h"

#include <QDialog>

#include <memory>

namespace Ui {
class TScanDialog;
}

class QComboBox;
class QPushButton;

// The program's own scan settings, since SANE's drivers have no window of
// their own: the scanner, the resolution, the colours and the area.
class TScanDialog : public QDialog
{
    Q_OBJECT

public:
    TScanDialog(const QVector<tav::scan::Device>& devices, const QString& deviceName,
                QWidget* parent = nullptr);
    ~TScanDialog() override;

    QString deviceName() const;
    tav::scan::Options options() const;

    QPushButton* okButton() const;

private:
    void loadCapabilities();
    void areaChosen(int index);

    std::unique_ptr<Ui::TScanDialog> m_ui;
    QVector<tav::scan::Device> m_devices;
    tav::scan::Capabilities m_capabilities;
};

namespace tav {

// The scanner chosen in the settings (by its SANE name or its label),
// else the first one SANE lists. Empty when there is none.
QString chosenScanner(const QVector<scan::Device>& devices, const QString& setting);

// True when SANE lists at least one scanner with a name.
bool scannerAvailable();

// Scans one page: with the settings window first when showWindow is set,
// then with a progress window that can cancel. Null when nothing was
// scanned; every failure has been shown.
QImage scanPicture(QWidget* parent, const QString& scannerSetting, bool showWindow);

} // namespace tav
