#include "ui/TNewGauge.h"

#include "ui/FramedWindow.h"
#include "ui_TNewGauge.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {

void centreOnScreen(QWidget* window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect rect(QPoint(0, 0), window->size());
    rect.moveCenter(screen->geometry().center());
    window->move(rect.topLeft());
}

} // namespace

TNewGauge::TNewGauge(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_ui(std::make_unique<Ui::TNewGauge>())
{
    m_ui->setupUi(this);
    setProperty("tag", -1);
    setFixedSize(222, 56);
    // The task cannot be stopped half-way.
    m_ui->Btn_Cancel->hide();

    m_ui->Cursor->setAutoFillBackground(true);
    QPalette palette = m_ui->Cursor->palette();
    palette.setColor(QPalette::Window, tav::titlebar::activeTo);
    m_ui->Cursor->setPalette(palette);

    tav::prepareWindow(this, false);
    centreOnScreen(this);
    updateCursor();
}

TNewGauge::~TNewGauge() = default;

void TNewGauge::setTitle(const QString& text)
{
    m_ui->info->setText(text);
    if (isVisible())
        repaint();
}

QString TNewGauge::title() const
{
    return m_ui->info->text();
}

void TNewGauge::setMaximum(int maximum)
{
    m_maximum = maximum;
    updateCursor();
}

void TNewGauge::setPosition(int position)
{
    m_position = position;
    updateCursor();
}

int TNewGauge::cursorWidth(int barWidth, int position, int maximum)
{
    const int usable = qMax(0, barWidth - 5);
    // A task announcing no steps has nothing to show, and must not divide.
    if (maximum <= 0)
        return 0;
    const qint64 width = qint64(usable) * position / maximum;
    return static_cast<int>(qBound(qint64(0), width, qint64(usable)));
}

void TNewGauge::updateCursor()
{
    QWidget* cursor = m_ui->Cursor;
    cursor->resize(cursorWidth(m_ui->Pan_Cursor->width(), m_position, m_maximum), cursor->height());
    // The task runs on this thread: paint now or the bar never moves.
    if (isVisible())
        repaint();
}

void TNewGauge::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // Without a system frame, an outline separates the window from what
    // lies behind it.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
