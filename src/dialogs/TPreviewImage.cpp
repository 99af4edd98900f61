#include "dialogs/TPreviewImage.h"

#include "core/TextLookup.h"
#include "db/DataSet.h"
#include "dialogs/ImagePreview.h"
#include "dialogs/ImagePrinting.h"
#include "media/PictureStore.h"
#include "media/Placement.h"
#include "ui/FramedWindow.h"
#include "ui/MessageBox.h"
#include "ui/ResizeGrip.h"
#include "ui_TPreviewImage.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

using namespace tav;

namespace {

// The pictures of the bottom bar, drawn so that they need no image files.
QIcon drawnIcon(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 70), 1.2));
    draw(p);
    p.end();
    return QIcon(pixmap);
}

QIcon arrowIcon(bool right, bool toEnd)
{
    return drawnIcon([right, toEnd](QPainter& p) {
        QPainterPath path;
        const qreal tip = right ? 12 : 4;
        const qreal back = right ? 5 : 11;
        path.moveTo(back, 3);
        path.lineTo(tip, 8);
        path.lineTo(back, 13);
        path.closeSubpath();
        p.setBrush(QColor(60, 60, 70));
        p.drawPath(path);
        if (toEnd)
            p.drawLine(QPointF(right ? 13.5 : 2.5, 3), QPointF(right ? 13.5 : 2.5, 13));
    });
}

} // namespace

TPreviewImage::TPreviewImage(Connection* connection, QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::TPreviewImage>()),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)), m_connection(connection)
{
    m_ui->setupUi(this);
    QPalette grey = m_ui->Pan_Main->palette();
    grey.setColor(QPalette::Window, QColor(230, 230, 230));
    m_ui->Pan_Main->setPalette(grey);
    m_ui->Pan_Bottom->setPalette(grey);
    QPalette box = m_ui->Pan_Scroll->palette();
    box.setColor(QPalette::Window, QColor(172, 168, 153));
    m_ui->Pan_Scroll->setPalette(box);
    m_ui->ScrollBox->setPalette(box);
    m_ui->Img_Spacer->setPalette(box);
    m_ui->Img_Spacer->setAutoFillBackground(true);
    m_ui->Img_Spacer->hide();
    m_ui->Img->setScaledContents(true);

    m_ui->Btn_Print->setIcon(drawnIcon([](QPainter& p) {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(150, 150, 160));
        p.drawRect(QRectF(1.5, 6.5, 13, 6));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
    }));
    m_ui->Btn_Save->setIcon(drawnIcon([](QPainter& p) {
        p.setBrush(QColor(90, 120, 190));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.drawRect(QRectF(3.5, 9.5, 9, 5));
    }));
    m_ui->Btn_Zoom1->setIcon(drawnIcon([](QPainter& p) {
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(QColor(120, 160, 220));
        p.drawRect(QRectF(4.5, 4.5, 7, 7));
    }));
    m_ui->Btn_Zoom2->setIcon(drawnIcon([](QPainter& p) {
        p.drawRect(QRectF(1.5, 3.5, 13, 9));
        p.drawLine(QPointF(3, 8), QPointF(13, 8));
        p.drawLine(QPointF(3, 8), QPointF(5.5, 5.5));
        p.drawLine(QPointF(3, 8), QPointF(5.5, 10.5));
        p.drawLine(QPointF(13, 8), QPointF(10.5, 5.5));
        p.drawLine(QPointF(13, 8), QPointF(10.5, 10.5));
    }));
    m_ui->Btn_Zoom3->setIcon(drawnIcon([](QPainter& p) {
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.drawLine(QPointF(9, 9), QPointF(14.5, 14.5));
        p.drawLine(QPointF(6, 4), QPointF(6, 8));
    }));
    m_ui->Btn_First->setIcon(arrowIcon(false, true));
    m_ui->Btn_Prior->setIcon(arrowIcon(false, false));
    m_ui->Btn_Next->setIcon(arrowIcon(true, false));
    m_ui->Btn_Last->setIcon(arrowIcon(true, true));
    for (QToolButton* b : {m_ui->Btn_First, m_ui->Btn_Prior, m_ui->Btn_Next, m_ui->Btn_Last})
        b->hide();

    connect(m_ui->Btn_First, &QToolButton::clicked, this, &TPreviewImage::Btn_FirstClick);
    connect(m_ui->Btn_Prior, &QToolButton::clicked, this, &TPreviewImage::Btn_PriorClick);
    connect(m_ui->Btn_Next, &QToolButton::clicked, this, &TPreviewImage::Btn_NextClick);
    connect(m_ui->Btn_Last, &QToolButton::clicked, this, &TPreviewImage::Btn_LastClick);
    connect(m_ui->Btn_Zoom1, &QToolButton::clicked, this, [this]() { zoomTo(1); });
    connect(m_ui->Btn_Zoom2, &QToolButton::clicked, this, [this]() { zoomTo(2); });
    connect(m_ui->Btn_Zoom3, &QToolButton::clicked, this, [this]() { zoomTo(3); });
    connect(m_ui->Btn_Print, &QToolButton::clicked, this, &TPreviewImage::Btn_PrintClick);
    connect(m_ui->Btn_Save, &QToolButton::clicked, this, &TPreviewImage::Btn_SaveClick);
    connect(m_ui->Btn_Close, &QPushButton::clicked, this, &QDialog::accept);

    m_ui->Img->installEventFilter(this);
    m_ui->Pan_Scroll->installEventFilter(this);
    m_ui->ScrollBox->viewport()->installEventFilter(this);
    m_ui->Pan_Main->installEventFilter(this);
    // The grip applies a width only above 300 and a height above 200.
    new ResizeGrip(m_ui->RezisePad, this, QSize(300, 200));
    setMinimumSize(301, 201);
    prepareWindow(this, false);
    updateButtons();
}

TPreviewImage::~TPreviewImage() = default;

void TPreviewImage::setTitle(const QString& title)
{
    m_title = title.left(255);
}

void TPreviewImage::setZoomMode(int mode)
{
    m_zoomMode = mode;
}

void TPreviewImage::setPictureFolder(const QString& folder)
{
    m_folder = folder.left(255);
}

void TPreviewImage::setFilePrefix(const QString& prefix)
{
    m_prefix = prefix.left(255);
}

void TPreviewImage::setListQuery(const QString& sql)
{
    m_listQuery = QStringList{sql};
    m_listFilter.clear();
}

void TPreviewImage::setListQuery(const QStringList& lines,
                                 const QVector<tav::DataSet::FilterTerm>& filter)
{
    m_listQuery = lines;
    m_listFilter = filter;
}

void TPreviewImage::setFiles(const QStringList& files, const QStringList& titles)
{
    m_files = files;
    m_fileTitles = titles;
}

QLabel* TPreviewImage::pictureControl() const
{
    return m_ui->Img;
}

QWidget* TPreviewImage::spacer() const
{
    return m_ui->Img_Spacer;
}

QScrollArea* TPreviewImage::scrollBox() const
{
    return m_ui->ScrollBox;
}

QString TPreviewImage::fileOf(const Row& row) const
{
    if (!row.file.isEmpty())
        return row.file;
    return m_folder + m_prefix + QString::number(row.id) + QStringLiteral(".jpg");
}

QString TPreviewImage::currentFile() const
{
    return m_current >= 0 && m_current < m_rows.size() ? fileOf(m_rows.at(m_current)) : QString();
}

void TPreviewImage::openAt(int rowId, int placement)
{
    // Normal state, without showing the window: it is shown modally later.
    setWindowState(windowState() &
                   ~(Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
    QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    if (placement == 2) {
        setGeometry(area);
        m_ui->SysMaxiBtn->setToolTip(texts::minimizeWindows());
        // The system's frame is in use: the window is maximised as well.
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        const QSize client(800, 600);
        setGeometry((area.right() + 1 - client.width()) / 2,
                    (area.bottom() + 1 - client.height()) / 2, client.width(), client.height());
        m_ui->SysMaxiBtn->setToolTip(texts::maximizeWindows());
    }
    for (QToolButton* b : {m_ui->Btn_First, m_ui->Btn_Prior, m_ui->Btn_Next, m_ui->Btn_Last})
        b->show();

    m_rows.clear();
    m_current = -1;
    if (!m_files.isEmpty() || !m_connection) {
        for (const QString& file : std::as_const(m_files)) {
            // The stored name ("Doc12") means nothing to the user.
            const QString title = m_fileTitles.value(m_rows.size()).trimmed();
            m_rows.append({int(m_rows.size()),
                           title.isEmpty() ? QFileInfo(file).completeBaseName() : title, file});
        }
        m_current = m_rows.isEmpty() ? -1 : (rowId >= 0 && rowId < m_rows.size() ? rowId : 0);
    } else {
        DataSet query(QStringLiteral("QueryImg"), *m_connection);
        query.setSql(m_listQuery);
        if (!m_listFilter.isEmpty())
            query.filterBy(m_listFilter);
        query.open();
        for (query.first(); !query.eof(); query.next())
            m_rows.append(
                {query.asInt(QStringLiteral("Id")), query.asString(QStringLiteral("Title")), {}});
        query.close();
        m_current = m_rows.isEmpty() ? -1 : 0;
        for (int i = 0; rowId >= 0 && i < m_rows.size(); ++i) {
            if (m_rows.at(i).id == rowId) {
                m_current = i;
                break;
            }
        }
    }
    loadCurrent(true);
}

void TPreviewImage::loadCurrent(bool report)
{
    const QString file = currentFile();
    m_picture = QImage();
    if (!file.isEmpty() && QFileInfo(file).isFile())
        m_picture = readShownPicture(file).picture;
    m_ui->Img->setPixmap(QPixmap::fromImage(m_picture));
    if (!file.isEmpty() && !QFileInfo(file).isFile() && report)
        MessageBox::error(this, texts::pictureNotPrinted(file));
    const QString rowTitle = m_current >= 0 ? m_rows.at(m_current).title : QString();
    const QString text =
        QStringLiteral("  ") + m_title + QStringLiteral(" (") + rowTitle + QLatin1Char(')');
    m_ui->Title->setText(text);
    setWindowTitle(windowCaption(text));
    layoutPicture();
    updateButtons();
}

void TPreviewImage::updateButtons()
{
    const int count = int(m_rows.size());
    const bool several = count >= 2;
    m_ui->Btn_First->setEnabled(several && m_current > 0);
    m_ui->Btn_Prior->setEnabled(several && m_current > 0);
    m_ui->Btn_Next->setEnabled(several && m_current < count - 1);
    m_ui->Btn_Last->setEnabled(several && m_current < count - 1);
    const QString file = currentFile();
    const bool exists = !file.isEmpty() && QFileInfo(file).isFile();
    m_ui->Btn_Print->setEnabled(exists);
    m_ui->Btn_Save->setEnabled(exists);
}

void TPreviewImage::moveTo(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_current = row;
    loadCurrent(true);
}

void TPreviewImage::Btn_FirstClick()
{
    moveTo(0);
}

void TPreviewImage::Btn_PriorClick()
{
    moveTo(m_current - 1);
}

void TPreviewImage::Btn_NextClick()
{
    moveTo(m_current + 1);
}

void TPreviewImage::Btn_LastClick()
{
    moveTo(int(m_rows.size()) - 1);
}

void TPreviewImage::zoomTo(int mode)
{
    m_zoomMode = mode;
    layoutPicture();
}

void TPreviewImage::layoutPicture()
{
    QScrollArea* box = m_ui->ScrollBox;
    box->horizontalScrollBar()->setValue(0);
    box->verticalScrollBar()->setValue(0);
    QWidget* content = m_ui->Pan_Scroll;
    QLabel* img = m_ui->Img;
    QWidget* spacer = m_ui->Img_Spacer;
    const QSize viewport = box->viewport()->size();
    const int sw = box->width();
    const int sh = box->height();
    if (sw < 1 || sh < 1 || m_picture.isNull()) {
        img->hide();
        spacer->hide();
        content->resize(viewport);
        return;
    }
    const int pw = m_picture.width();
    const int ph = m_picture.height();
    QRect shown;
    if (m_zoomMode == 2) {
        const int h = int(double(ph) / pw * (sw - 20));
        const Placement p = fitInBox(sw - 45, h - 25, pw, ph);
        shown = QRect(p.left + 10, p.top + 10, p.width, p.height);
    } else if (m_zoomMode == 3) {
        shown = QRect(10, 10, pw, ph);
    } else {
        const Placement p = fitInBox(sw - 25, sh - 25, pw, ph);
        shown = QRect(p.left + 10, p.top + 10, p.width, p.height);
    }
    img->setGeometry(shown);
    img->show();
    if (m_zoomMode == 2 || m_zoomMode == 3) {
        // A margin beyond the picture's corner can be scrolled to.
        spacer->setGeometry(shown.right() + 1, shown.bottom() + 1, 10, 10);
        spacer->show();
        content->resize(std::max(viewport.width(), shown.right() + 11),
                        std::max(viewport.height(), shown.bottom() + 11));
    } else {
        spacer->hide();
        content->resize(viewport);
    }
}

void TPreviewImage::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    setWindowTitle(windowCaption(m_ui->Title->text()));
    // The picture is read again (it may have changed meanwhile); its
    // missing file was reported when its row became current.
    loadCurrent(false);
}

void TPreviewImage::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_ui->RezisePad->setVisible(!isMaximized());
    layoutPicture();
}

void TPreviewImage::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        m_ui->SysMaxiBtn->setToolTip(isMaximized() ? texts::minimizeWindows()
                                                   : texts::maximizeWindows());
        m_ui->RezisePad->setVisible(!isMaximized());
    }
}

bool TPreviewImage::eventFilter(QObject* watched, QEvent* event)
{
    QScrollArea* box = m_ui->ScrollBox;
    if (event->type() == QEvent::Wheel && watched == box->viewport()) {
        // Four pixels a notch, whatever the zoom: down when the wheel turns
        // towards the user.
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int notches = wheel->angleDelta().y() / 120;
        if (notches != 0) {
            QScrollBar* bar = box->verticalScrollBar();
            bar->setValue(bar->value() - 4 * notches);
        }
        return true;
    }
    const bool onPicture = watched == m_ui->Img || watched == m_ui->Pan_Scroll;
    const bool onBorder = watched == m_ui->Pan_Main;
    if (!onPicture && !onBorder)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const QPoint cursor = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        if (onPicture) {
            // The picture follows the mouse.
            m_scrolling = true;
            m_pressCursor = cursor;
            m_pressScroll =
                QPoint(box->horizontalScrollBar()->value(), box->verticalScrollBar()->value());
        } else {
            m_dragging = true;
            m_dragStart = cursor;
            m_windowStart = pos();
        }
        return true;
    }
    case QEvent::MouseMove: {
        const QPoint cursor = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        if (m_scrolling) {
            box->horizontalScrollBar()->setValue(m_pressScroll.x() + m_pressCursor.x() -
                                                 cursor.x());
            box->verticalScrollBar()->setValue(m_pressScroll.y() + m_pressCursor.y() - cursor.y());
            return true;
        }
        if (m_dragging) {
            move(m_windowStart + cursor - m_dragStart);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        m_scrolling = false;
        m_dragging = false;
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TPreviewImage::printCurrent(ImagePrinting::Job& job)
{
    const QString file = currentFile();
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        MessageBox::error(this, texts::pictureNotPrinted(file));
        return;
    }
    m_ui->ScrollBox->horizontalScrollBar()->setValue(0);
    m_ui->ScrollBox->verticalScrollBar()->setValue(0);
    const ShownPicture read = readShownPicture(file);
    if (!read.ok) {
        MessageBox::error(this, read.error);
        return;
    }
    job.addPage(read.picture, m_ui->Title->text());
}

void TPreviewImage::Btn_PrintClick()
{
    const int count = int(m_rows.size());
    PrintOffer offer;
    offer.pageCount = std::max(1, count);
    offer.selectionOffered = count >= 2;
    const PrintChoice choice = ImagePrinting::askRange(this, *m_printer, offer);
    if (!choice.accepted)
        return;
    const int copies = std::max(1, choice.copies);
    if (choice.range == PrintChoice::Range::Selection) {
        loadCurrent(false);
        ImagePrinting::Job job(*m_printer);
        for (int c = 0; c < copies; ++c)
            printCurrent(job);
        return;
    }
    const int from = choice.range == PrintChoice::Range::Pages ? std::max(1, choice.from) : 1;
    const int to = choice.range == PrintChoice::Range::Pages ? std::min(count, choice.to) : count;
    hide();
    {
        ImagePrinting::Job job(*m_printer);
        for (int i = from; i <= to; ++i) {
            m_current = i - 1;
            loadCurrent(true);
            if (!QFileInfo(currentFile()).isFile())
                continue; // reported when it became current
            for (int c = 0; c < copies; ++c)
                printCurrent(job);
        }
    }
    done(QDialog::Accepted);
}

void TPreviewImage::Btn_SaveClick()
{
    const QString file = currentFile();
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        MessageBox::error(this, texts::pictureNotPrinted(file));
        return;
    }
    const QString title = m_current >= 0 ? m_rows.at(m_current).title : QString();
    saveImageAs(this, file, proposedPictureName(title));
}
