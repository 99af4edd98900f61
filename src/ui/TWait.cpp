#include "ui/TWait.h"

#include "ui/FramedWindow.h"
#include "ui_TWait.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

#include <limits>

namespace {

void fill(QWidget* widget, const QColor& colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

} // namespace

TWait::TWait(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_ui(std::make_unique<Ui::TWait>())
{
    m_ui->setupUi(this);
    setProperty("tag", -1);
    setFixedSize(277, 65);
    fill(m_ui->Gauge_Back, Qt::white);
    fill(m_ui->Gauge_Cursor, tav::titlebar::activeTo);

    tav::prepareWindow(this, false);
    // Centred in the work area, so that the task bar never hides it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect rect(QPoint(0, 0), size());
        rect.moveCenter(screen->availableGeometry().center());
        move(rect.topLeft());
    }
    refresh();
}

TWait::~TWait() = default;

void TWait::setTask(const QString& text)
{
    m_ui->Lab_Task->setText(text);
    refresh();
}

QString TWait::task() const
{
    return m_ui->Lab_Task->text();
}

void TWait::setMessage(const QString& text)
{
    m_ui->Lab_Msg->setText(text);
    refresh();
}

QString TWait::message() const
{
    return m_ui->Lab_Msg->text();
}

void TWait::setGaugeVisible(bool visible)
{
    m_ui->Gauge_Back->setVisible(visible);
    refresh();
}

void TWait::setMaximum(int maximum)
{
    m_maximum = maximum;
    refresh();
}

void TWait::setCount(int count)
{
    m_count = count;
    refresh();
}

void TWait::step()
{
    if (m_count < std::numeric_limits<int>::max())
        setCount(m_count + 1);
}

int TWait::cursorWidth(int count, int maximum)
{
    if (maximum <= 0)
        return 0;
    const qint64 width = qint64(count) * GaugeWidth / maximum;
    return static_cast<int>(qBound(qint64(0), width, qint64(GaugeWidth)));
}

void TWait::refresh()
{
    m_ui->Gauge_Cursor->resize(cursorWidth(m_count, m_maximum), m_ui->Gauge_Back->height());
    if (!isVisible())
        return;
    // The copy runs on this thread: paint now and let the window system
    // catch up, but take no clicks or keys in the middle of the work.
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TWait::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, tav::titlebar::inactiveFrom);
    painter.fillRect(rect(), gradient);
    painter.setPen(tav::titlebar::activeTo);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
