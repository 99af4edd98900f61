#include "dialogs/TViewImage.h"

#include "core/TextLookup.h"
#include "media/PictureStore.h"
#include "media/Placement.h"
#include "ui/FramedWindow.h"
#include "ui/ResizeGrip.h"
#include "ui_TViewImage.h"

#include <QMouseEvent>

TViewImage::TViewImage(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::TViewImage>())
{
    m_ui->setupUi(this);
    QPalette grey = m_ui->Pan_Image->palette();
    grey.setColor(QPalette::Window, QColor(230, 230, 230));
    m_ui->Pan_Image->setPalette(grey);
    // The grip applies a size only above 200 x 200; so does the frame.
    new tav::ResizeGrip(m_ui->RezisePad, this, QSize(200, 200));
    setMinimumSize(201, 201);
    for (QWidget* w : {static_cast<QWidget*>(m_ui->Pan_Image), static_cast<QWidget*>(m_ui->Img)})
        w->installEventFilter(this);
    tav::prepareWindow(this, false);
}

TViewImage::~TViewImage() = default;

QLabel* TViewImage::pictureControl() const
{
    return m_ui->Img;
}

bool TViewImage::loadFile(const QString& path)
{
    m_picture = tav::readShownPicture(path).picture;
    m_ui->Img->setPixmap(QPixmap::fromImage(m_picture));
    m_ui->Img->setScaledContents(true);
    layoutPicture();
    return !m_picture.isNull();
}

void TViewImage::layoutPicture()
{
    QWidget* panel = m_ui->Pan_Image;
    m_ui->RezisePad->move(panel->width() - m_ui->RezisePad->width(),
                          panel->height() - m_ui->RezisePad->height());
    m_ui->RezisePad->raise();
    if (m_picture.isNull()) {
        m_ui->Img->hide();
        return;
    }
    const tav::Placement p =
        tav::fitInBox(width() - 20, height() - 20, m_picture.width(), m_picture.height());
    m_ui->Img->setGeometry(p.left + 10, p.top + 10, p.width, p.height);
    m_ui->Img->show();
}

void TViewImage::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    layoutPicture();
}

void TViewImage::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    layoutPicture();
}

void TViewImage::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        m_ui->SysMaxiBtn->setToolTip(isMaximized() ? tav::texts::minimizeWindows()
                                                   : tav::texts::maximizeWindows());
}

bool TViewImage::eventFilter(QObject* watched, QEvent* event)
{
    // Pressing on the picture or its ground and moving drags the window,
    // as the title bar does.
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_dragging = true;
        m_dragStart = mouse->globalPosition().toPoint();
        m_windowStart = pos();
        return true;
    }
    case QEvent::MouseMove:
        if (m_dragging) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            move(m_windowStart + mouse->globalPosition().toPoint() - m_dragStart);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}
