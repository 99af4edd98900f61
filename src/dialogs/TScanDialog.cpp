#include "dialogs/TScanDialog.h"

#include "core/FrenchText.h"
#include "core/TextLookup.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui_TScanDialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QSignalBlocker>

namespace {

using tav::fr;

// SANE's usual mode names as the user reads them; others stay as given.
QString modeCaption(const QString& mode)
{
    if (mode.compare(QLatin1String("Color"), Qt::CaseInsensitive) == 0)
        return fr("Couleur");
    if (mode.compare(QLatin1String("Gray"), Qt::CaseInsensitive) == 0)
        return fr("Niveaux de gris");
    if (mode.compare(QLatin1String("Lineart"), Qt::CaseInsensitive) == 0)
        return fr("Noir et blanc");
    if (mode.compare(QLatin1String("Halftone"), Qt::CaseInsensitive) == 0)
        return fr("Tramé");
    return mode;
}

struct AreaPreset
{
    const char* caption;
    double width;
    double height;
};

// Zero sizes stand for the scanner's whole area; the last is typed in.
const AreaPreset kAreas[] = {{"Toute la vitre", 0, 0},
                             {"A4 (210 x 297 mm)", 210, 297},
                             {"A5 (148 x 210 mm)", 148, 210},
                             {"Photo 10 x 15 cm", 100, 150},
                             {"Personnalisée", -1, -1}};
constexpr int kCustomArea = 4;

const int kResolutions[] = {75, 100, 150, 200, 300, 600, 1200};

} // namespace

TScanDialog::TScanDialog(const QVector<tav::scan::Device>& devices, const QString& deviceName,
                         QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TScanDialog>()), m_devices(devices)
{
    m_ui->setupUi(this);
    for (const tav::scan::Device& d : devices)
        m_ui->Cb_Source->addItem(d.label() + QStringLiteral(" (") + d.name + QLatin1Char(')'),
                                 d.name);
    m_ui->Cb_Source->setCurrentIndex(std::max(0, m_ui->Cb_Source->findData(deviceName)));
    for (const AreaPreset& a : kAreas)
        m_ui->Cb_Area->addItem(fr(a.caption));
    m_ui->Cb_Resolution->setValidator(new QIntValidator(1, 9600, m_ui->Cb_Resolution));

    connect(m_ui->Cb_Source, &QComboBox::currentIndexChanged, this, &TScanDialog::loadCapabilities);
    connect(m_ui->Cb_Area, &QComboBox::currentIndexChanged, this, &TScanDialog::areaChosen);
    for (QDoubleSpinBox* box : {m_ui->Ed_Left, m_ui->Ed_Top, m_ui->Ed_Width, m_ui->Ed_Height}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, [this]() {
            const QSignalBlocker quiet(m_ui->Cb_Area);
            m_ui->Cb_Area->setCurrentIndex(kCustomArea);
        });
    }
    connect(m_ui->Btn_Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    tav::prepareWindow(this, false);
    loadCapabilities();
}

TScanDialog::~TScanDialog() = default;

QPushButton* TScanDialog::okButton() const
{
    return m_ui->Btn_Ok;
}

QString TScanDialog::deviceName() const
{
    return m_ui->Cb_Source->currentData().toString();
}

void TScanDialog::loadCapabilities()
{
    m_capabilities =
        deviceName().isEmpty() ? tav::scan::Capabilities{} : tav::scan::capabilities(deviceName());
    m_ui->Btn_Ok->setEnabled(!deviceName().isEmpty() && m_capabilities.ok);

    m_ui->Cb_Resolution->clear();
    QVector<int> offered;
    if (m_capabilities.resolutionRange && m_capabilities.resolutions.size() == 2) {
        for (int r : kResolutions) {
            if (r >= m_capabilities.resolutions[0] && r <= m_capabilities.resolutions[1])
                offered << r;
        }
    } else {
        offered = m_capabilities.resolutions;
    }
    for (int r : std::as_const(offered))
        m_ui->Cb_Resolution->addItem(QString::number(r));
    const int current = m_capabilities.resolution > 0 ? m_capabilities.resolution : 150;
    m_ui->Cb_Resolution->setCurrentText(QString::number(current));

    m_ui->Cb_Mode->clear();
    for (const QString& mode : std::as_const(m_capabilities.modes))
        m_ui->Cb_Mode->addItem(modeCaption(mode), mode);
    m_ui->Cb_Mode->setCurrentIndex(std::max(0, m_ui->Cb_Mode->findData(m_capabilities.mode)));
    m_ui->Cb_Mode->setEnabled(m_ui->Cb_Mode->count() > 0);

    const QSizeF most = m_capabilities.maxAreaMm.size();
    for (QDoubleSpinBox* box : {m_ui->Ed_Left, m_ui->Ed_Width})
        box->setMaximum(most.width() > 0 ? most.width() : 10000);
    for (QDoubleSpinBox* box : {m_ui->Ed_Top, m_ui->Ed_Height})
        box->setMaximum(most.height() > 0 ? most.height() : 10000);
    areaChosen(0);
}

void TScanDialog::areaChosen(int index)
{
    if (index < 0 || index >= kCustomArea)
        index = std::max(0, index);
    {
        const QSignalBlocker quiet(m_ui->Cb_Area);
        m_ui->Cb_Area->setCurrentIndex(index);
    }
    if (index == kCustomArea)
        return;
    const QSizeF most = m_capabilities.maxAreaMm.size();
    const AreaPreset& a = kAreas[index];
    // A preset larger than the glass is cut to it.
    const double width =
        a.width > 0 ? std::min(a.width, most.width() > 0 ? most.width() : a.width) : most.width();
    const double height = a.height > 0
                              ? std::min(a.height, most.height() > 0 ? most.height() : a.height)
                              : most.height();
    for (auto [box, value] :
         {std::pair{m_ui->Ed_Left, 0.0}, std::pair{m_ui->Ed_Top, 0.0},
          std::pair{m_ui->Ed_Width, width}, std::pair{m_ui->Ed_Height, height}}) {
        const QSignalBlocker quiet(box);
        box->setValue(value);
    }
}

tav::scan::Options TScanDialog::options() const
{
    tav::scan::Options o;
    o.resolution = m_ui->Cb_Resolution->currentText().toInt();
    o.mode = m_ui->Cb_Mode->currentData().toString();
    if (m_ui->Ed_Width->value() > 0 && m_ui->Ed_Height->value() > 0)
        o.areaMm = QRectF(m_ui->Ed_Left->value(), m_ui->Ed_Top->value(), m_ui->Ed_Width->value(),
                          m_ui->Ed_Height->value());
    return o;
}

namespace tav {

QString chosenScanner(const QVector<scan::Device>& devices, const QString& setting)
{
    for (const scan::Device& d : devices) {
        if (!setting.isEmpty() && (d.name == setting || d.label() == setting))
            return d.name;
    }
    return devices.isEmpty() ? QString() : devices.first().name;
}

bool scannerAvailable()
{
    const scan::DeviceList list = scan::listDevices();
    if (!list.ok || list.devices.isEmpty())
        return false;
    return !(list.devices.size() == 1 && list.devices.first().name.isEmpty());
}

QImage scanPicture(QWidget* parent, const QString& scannerSetting, bool showWindow)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const scan::DeviceList list = scan::listDevices();
    QApplication::restoreOverrideCursor();
    QString device = chosenScanner(list.devices, scannerSetting);
    if (!list.ok || device.isEmpty()) {
        // Shown as it stands, bar included, as it always was.
        MessageBox::plain(parent, texts::scannerNotLoaded());
        return {};
    }
    scan::Options options;
    if (showWindow) {
        TScanDialog settings(list.devices, device, parent);
        if (settings.exec() != QDialog::Accepted)
            return {};
        device = settings.deviceName();
        options = settings.options();
    }

    QProgressDialog progress(fr("Numérisation en cours..."), fr("Annuler"), 0, 100, parent);
    progress.setObjectName(QStringLiteral("ScanProgress"));
    progress.setWindowTitle(fr("Numérisation"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);

    scan::ScanJob job(device, options);
    QImage picture;
    QString error;
    QEventLoop wait;
    QObject::connect(&job, &scan::ScanJob::progress, &progress, &QProgressDialog::setValue);
    QObject::connect(&progress, &QProgressDialog::canceled, &job, &scan::ScanJob::cancel);
    QObject::connect(&job, &scan::ScanJob::finished, &wait,
                     [&](const QImage& scanned, const QString& why, bool) {
                         picture = scanned;
                         error = why;
                         wait.quit();
                     });
    progress.show();
    job.start();
    wait.exec();
    progress.hide();
    if (!error.isEmpty())
        MessageBox::error(parent, error);
    return picture;
}

} // namespace tav
