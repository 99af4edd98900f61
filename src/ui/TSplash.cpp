#include "ui/TSplash.h"
#include "core/Clock.h"

#include "core/AppInfo.h"
#include "ui/FramedWindow.h"
#include "ui_TSplash.h"

#include <QDate>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace {

const QColor outlineGrey(128, 128, 128);
const QColor heartColour(226, 84, 96);
const QColor heartShade(190, 50, 70);

QPixmap blankPixmap(QSize size, qreal devicePixelRatio)
{
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A heart whose bottom tip and top dip lie on the vertical through centre.
QPainterPath heartPath(QPointF centre, qreal width, qreal height)
{
    const qreal x = centre.x();
    const qreal y = centre.y();
    QPainterPath path;
    path.moveTo(x, y + height * 0.5);
    path.cubicTo(x - width * 0.62, y + height * 0.05, x - width * 0.5, y - height * 0.62, x,
                 y - height * 0.22);
    path.cubicTo(x + width * 0.5, y - height * 0.62, x + width * 0.62, y + height * 0.05, x,
                 y + height * 0.5);
    return path;
}

// A paw print: a main pad and four toes fanned above it.
QPainterPath pawPath(QPointF centre, qreal size)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addEllipse(QPointF(centre.x(), centre.y() + size * 0.16), size * 0.27, size * 0.21);
    const qreal toeX[] = {-0.33, -0.12, 0.12, 0.33};
    const qreal toeY[] = {-0.08, -0.27, -0.27, -0.08};
    for (int i = 0; i < 4; ++i)
        path.addEllipse(QPointF(centre.x() + size * toeX[i], centre.y() + size * toeY[i]),
                        size * 0.10, size * 0.13);
    return path;
}

} // namespace

TSplash::TSplash(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_ui(std::make_unique<Ui::TSplash>())
{
    m_ui->setupUi(this);
    setFixedSize(375, 170);

    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setAutoFillBackground(true);

    const qreal ratio = devicePixelRatioF();
    m_ui->Img_Picture->setPixmap(drawPicture(m_ui->Img_Picture->size(), ratio));
    m_ui->Img_Title->setPixmap(drawTitle(m_ui->Img_Title->size(), ratio));
    m_ui->Lab_Notice->setText(noticeText(tav::Clock::today().year()));
    m_ui->Lab_Version->setText(QStringLiteral("Version ") + tav::appinfo::programVersion());
    m_ui->barre->setRange(0, 100);
    m_ui->barre->setValue(0);

    tav::prepareWindow(this, false);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect rect(QPoint(0, 0), size());
        rect.moveCenter(screen->geometry().center());
        move(rect.topLeft());
    }
}

TSplash::~TSplash() = default;

QString TSplash::noticeText(int year)
{
    QString text = QString::fromUtf8("© 2008 ") + tav::appinfo::makerName() +
                   QString::fromUtf8(" — ") + tav::appinfo::productName();
    return text.replace(QLatin1String("2008"), QString::number(year));
}

void TSplash::setProgressText(const QString& text)
{
    m_ui->info->setText(text);
    repaintIfShown();
}

QString TSplash::progressText() const
{
    return m_ui->info->text();
}

void TSplash::setBarMaximum(int maximum)
{
    m_ui->barre->setMaximum(qMax(0, maximum));
    repaintIfShown();
}

int TSplash::barMaximum() const
{
    return m_ui->barre->maximum();
}

void TSplash::setBarPosition(int position)
{
    // A progress bar ignores values out of its range; a position past the
    // end means a full bar.
    m_ui->barre->setValue(qBound(m_ui->barre->minimum(), position, m_ui->barre->maximum()));
    repaintIfShown();
}

int TSplash::barPosition() const
{
    return m_ui->barre->value();
}

void TSplash::repaintIfShown()
{
    // The start-up works on this thread: paint at once or nothing moves.
    if (isVisible())
        repaint();
}

void TSplash::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(outlineGrey, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

QPixmap TSplash::drawPicture(QSize size, qreal devicePixelRatio)
{
    QPixmap pixmap = blankPixmap(size, devicePixelRatio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF area(QPointF(0, 0), QSizeF(size));
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0, QColor(234, 243, 255));
    sky.setColorAt(1, tav::titlebar::inactiveFrom);
    painter.fillRect(area, sky);

    const qreal extent = qMin(area.width(), area.height());
    const QPointF centre = area.center() + QPointF(0, extent * 0.03);

    // A soft shadow, the heart, then the paw cut out of it in white.
    const QPainterPath heart = heartPath(centre, extent * 0.78, extent * 0.74);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 40, 120, 40));
    painter.drawPath(heart.translated(extent * 0.02, extent * 0.03));

    QLinearGradient fill(heart.boundingRect().topLeft(), heart.boundingRect().bottomRight());
    fill.setColorAt(0, heartColour);
    fill.setColorAt(1, heartShade);
    painter.setBrush(fill);
    painter.drawPath(heart);

    painter.setBrush(Qt::white);
    painter.drawPath(pawPath(centre - QPointF(0, extent * 0.04), extent * 0.36));

    painter.setPen(QPen(tav::titlebar::activeTo, 1));
    painter.drawLine(QPointF(area.right() - 0.5, area.top()),
                     QPointF(area.right() - 0.5, area.bottom()));
    return pixmap;
}

QPixmap TSplash::drawTitle(QSize size, qreal devicePixelRatio)
{
    QPixmap pixmap = blankPixmap(size, devicePixelRatio);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    QFont font(QStringLiteral("DejaVu Serif"));
    font.setBold(true);
    font.setPixelSize(qMax(8, size.height() * 2 / 3));
    const QString word = tav::appinfo::productName();
    // Shrink the word to fit the width: text width follows the pixel size,
    // so one measure gives the size (each size tried would load a font).
    const qreal advance = QFontMetricsF(font).horizontalAdvance(word);
    if (advance > size.width() - 4)
        font.setPixelSize(qMax(8, int(font.pixelSize() * (size.width() - 4) / advance)));

    const QFontMetricsF metrics(font);
    const qreal baseline = (size.height() + metrics.ascent() - metrics.descent()) / 2.0;
    QPainterPath text;
    text.addText(QPointF(2, baseline), font, word);

    QLinearGradient fill(0, baseline - metrics.ascent(), 0, baseline);
    fill.setColorAt(0, tav::titlebar::activeFrom);
    fill.setColorAt(1, tav::titlebar::activeTo);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(text);

    // A thin rule under the word, in the heart's colour.
    painter.setPen(QPen(heartColour, 2, Qt::SolidLine, Qt::RoundCap));
    const qreal ruleY = qMin(baseline + metrics.descent() * 0.8, size.height() - 2.0);
    painter.drawLine(QPointF(3, ruleY), QPointF(3 + metrics.horizontalAdvance(word) * 0.6, ruleY));
    return pixmap;
}
