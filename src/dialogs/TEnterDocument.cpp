#include "dialogs/TEnterDocument.h"

#include "core/TextLookup.h"
#include "media/BitmapRoutines.h"
#include "media/JpegFile.h"
#include "media/PictureStore.h"
#include "media/Placement.h"
#include "ui/FileDialog.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui_TEnterDocument.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>

namespace {

// A quarter-turn arrow, drawn so that the buttons need no icon theme.
QIcon rotationIcon(bool clockwise)
{
    QImage canvas(16, 16, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(30, 60, 140), 1.6));
    QPainterPath arc;
    arc.arcMoveTo(QRectF(3, 3, 10, 10), clockwise ? 180 : 0);
    arc.arcTo(QRectF(3, 3, 10, 10), clockwise ? 180 : 0, clockwise ? -270 : 270);
    p.drawPath(arc);
    const QPointF tip = arc.currentPosition();
    const qreal dir = clockwise ? -1 : 1;
    p.setBrush(QColor(30, 60, 140));
    p.drawPolygon(QPolygonF{tip + QPointF(0, -3), tip + QPointF(0, 3), tip + QPointF(3 * dir, 0)});
    p.end();
    return QIcon(QPixmap::fromImage(canvas));
}

class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

TEnterDocument::TEnterDocument(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TEnterDocument>())
{
    m_ui->setupUi(this);
    m_ui->Btn_Rotation_Left->setIcon(rotationIcon(false));
    m_ui->Btn_Rotation_Right->setIcon(rotationIcon(true));
    m_ui->Img_Document->setScaledContents(true);
    connect(m_ui->Ed_Title, &QLineEdit::textChanged, this, &TEnterDocument::updateOk);
    connect(m_ui->Btn_Img, &QPushButton::clicked, this, &TEnterDocument::Btn_ImgClick);
    connect(m_ui->Btn_Scan, &QPushButton::clicked, this, &TEnterDocument::Btn_ScanClick);
    connect(m_ui->Btn_Rotation_Left, &QToolButton::clicked, this, [this]() { rotate(270); });
    connect(m_ui->Btn_Rotation_Right, &QToolButton::clicked, this, [this]() { rotate(90); });
    connect(m_ui->Btn_Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_ui->Btn_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_ui->Btn_Scan->setEnabled(false);
    tav::prepareWindow(this, false);
    showPicture();
    updateOk();
    m_ui->Ed_Title->setFocus();
}

TEnterDocument::~TEnterDocument() = default;

void TEnterDocument::setScanner(Scanner scan, bool available)
{
    m_scan = std::move(scan);
    m_ui->Btn_Scan->setEnabled(m_scan && available);
}

void TEnterDocument::setTitle(const QString& title)
{
    m_ui->Ed_Title->setText(title);
}

QString TEnterDocument::title() const
{
    return m_ui->Ed_Title->text();
}

void TEnterDocument::setPicture(const QImage& picture)
{
    m_picture = picture;
    showPicture();
    updateOk();
}

QLineEdit* TEnterDocument::titleEdit() const
{
    return m_ui->Ed_Title;
}

QLabel* TEnterDocument::pictureLabel() const
{
    return m_ui->Lab_Image;
}

QPushButton* TEnterDocument::okButton() const
{
    return m_ui->Btn_Ok;
}

void TEnterDocument::accept()
{
    // Whatever asks for it, a document without title or picture is never
    // confirmed.
    if (!m_ui->Ed_Title->text().isEmpty() && m_picture.width() > 0)
        QDialog::accept();
}

void TEnterDocument::updateOk()
{
    m_ui->Btn_Ok->setEnabled(!m_ui->Ed_Title->text().isEmpty() && m_picture.width() > 0);
}

void TEnterDocument::showPicture()
{
    const QString caption = tav::texts::newImageTitle();
    if (m_picture.isNull()) {
        m_ui->Lab_Image->setText(caption);
        m_ui->Img_Document->clear();
        return;
    }
    m_ui->Lab_Image->setText(caption + QStringLiteral(" (") + QString::number(m_picture.width()) +
                             QStringLiteral(" x ") + QString::number(m_picture.height()) +
                             QLatin1Char(')'));
    const QSize box = m_ui->Pan_Img_Cadre->size();
    const tav::Placement p =
        tav::fitInBox(box.width(), box.height(), m_picture.width(), m_picture.height());
    m_ui->Img_Document->setGeometry(p.left, p.top, p.width, p.height);
    // Only the shown copy is scaled; the picture itself stays whole.
    m_ui->Img_Document->setPixmap(QPixmap::fromImage(
        p.stretch
            ? m_picture.scaled(p.width, p.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            : m_picture));
}

bool TEnterDocument::loadPicture(const QString& path)
{
    QImage loaded;
    {
        WaitCursor wait;
        // Turned as the camera recorded it: the picture is stored without
        // its orientation tag.
        const tav::ShownPicture read = tav::readShownPicture(path);
        if (!read.ok) {
            tav::MessageBox::error(this, read.error);
            return false;
        }
        loaded = read.picture;
    }
    m_picture = loaded.format() == QImage::Format_Grayscale8
                    ? loaded
                    : loaded.convertToFormat(QImage::Format_RGB888);
    m_imageChanged = true;
    showPicture();
    updateOk();
    return true;
}

void TEnterDocument::Btn_ImgClick()
{
    const QString path = tav::FileDialog::getOpenFileName(
        this, tav::texts::selectPictureTitle(), QString(), tav::texts::selectPictureFilter());
    if (!path.isEmpty())
        loadPicture(path);
}

void TEnterDocument::Btn_ScanClick()
{
    if (!m_scan || !m_ui->Btn_Scan->isEnabled())
        return;
    const QImage scanned = m_scan(this);
    if (!scanned.isNull()) {
        m_picture = scanned.convertToFormat(QImage::Format_RGB888);
        m_imageChanged = true;
        showPicture();
    }
    updateOk();
}

void TEnterDocument::rotate(int angle)
{
    if (m_picture.isNull())
        return;
    {
        WaitCursor wait;
        if (!tav::rotateBitmap(m_picture, angle))
            return;
    }
    m_imageChanged = true;
    showPicture();
    updateOk();
}
