#include "dialogs/TMiniCalendar.h"
#include "core/Clock.h"

#include "core/TextLookup.h"
#include "core/TextRoutines.h"

#include <QFont>
#include <QPainter>
#include <QPolygon>

namespace tav {

namespace {

// Font sizes are points of the design's 96 dpi screen. They are applied as
// pixels so that the texts keep their place on the fixed-size leaf whatever
// the screen's resolution.
int designPixels(int points)
{
    return qMax(1, (points * 96 + 36) / 72);
}

QFont leafFont(const QString& family, int points, bool bold)
{
    QFont font(family);
    font.setPixelSize(designPixels(points));
    font.setBold(bold);
    return font;
}

} // namespace

CalendarLeafTexts calendarLeafTexts(const QDate& date, int language)
{
    if (!date.isValid())
        return {};
    return {zeroPad(date.day(), 2), monthName(date.month(), language).left(3)};
}

CalendarLeafLayout calendarLeafLayout(QSize leafSize)
{
    // Integer parts of 0.38 and 0.16 of the height, computed exactly.
    const int height = leafSize.height();
    const int daySize = height * 38 / 100;
    const int monthSize = daySize / 2;
    return {leafSize.width() / 2, daySize, height * 16 / 100, monthSize, height - 2 * monthSize};
}

void drawCalendarLeaf(QPainter& painter, QSize size)
{
    if (size.isEmpty())
        return;
    // Drawn on the 29 x 43 design grid and stretched to the size asked.
    painter.save();
    painter.scale(size.width() / 29.0, size.height() / 43.0);
    painter.setRenderHint(QPainter::Antialiasing, false);

    const QColor shadow(128, 128, 128);
    const QColor edge(96, 96, 96);
    const QColor strip(58, 84, 128);
    const QColor ring(200, 200, 200);

    // Page with its shadow on the right and bottom.
    painter.fillRect(QRect(2, 3, 27, 40), shadow);
    painter.fillRect(QRect(0, 2, 28, 40), Qt::white);
    painter.setPen(edge);
    painter.drawRect(QRect(0, 2, 27, 39));

    // Binding strip across the top of the page.
    painter.fillRect(QRect(1, 3, 26, 3), strip);

    // Two rings through the strip.
    for (const int x : {6, 20}) {
        painter.fillRect(QRect(x, 0, 3, 6), ring);
        painter.setPen(edge);
        painter.drawRect(QRect(x, 0, 2, 5));
    }

    // A turned-up corner at the bottom right of the page.
    const QPolygon corner({QPoint(27, 36), QPoint(22, 41), QPoint(27, 41)});
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(224, 224, 224));
    painter.drawPolygon(corner);
    painter.setPen(edge);
    painter.drawLine(QPoint(27, 36), QPoint(22, 41));
    painter.restore();
}

} // namespace tav

TMiniCalendar::TMiniCalendar(QWidget* parent) : QWidget(parent)
{
    resize(defaultSize);
}

void TMiniCalendar::setDayFontName(const QString& name)
{
    m_dayFontName = name;
    update();
}

void TMiniCalendar::setDayFontColor(const QColor& colour)
{
    m_dayFontColor = colour;
    update();
}

void TMiniCalendar::setMonthFontName(const QString& name)
{
    m_monthFontName = name;
    update();
}

void TMiniCalendar::setMonthFontColor(const QColor& colour)
{
    m_monthFontColor = colour;
    update();
}

void TMiniCalendar::setLanguage(int language)
{
    m_language = language;
    update();
}

void TMiniCalendar::setToday(const QDate& date)
{
    m_today = date;
    update();
}

QDate TMiniCalendar::shownDate() const
{
    return m_today.isValid() ? m_today : tav::Clock::today();
}

QSize TMiniCalendar::sizeHint() const
{
    return defaultSize;
}

void TMiniCalendar::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    // The leaf fills the control, so the texts follow its size; at the
    // default size it is the designed 29 x 43 picture.
    const QSize leaf = size();
    tav::drawCalendarLeaf(painter, leaf);

    const tav::CalendarLeafLayout layout = tav::calendarLeafLayout(leaf);
    const tav::CalendarLeafTexts texts = tav::calendarLeafTexts(shownDate(), m_language);
    // A band twice the control's width centred on centreX centres the text
    // on that point.
    const auto band = [&](int top) {
        return QRect(layout.centreX - leaf.width(), top, 2 * leaf.width(), leaf.height());
    };

    painter.setFont(tav::leafFont(m_dayFontName, layout.daySize, true));
    painter.setPen(m_dayFontColor);
    painter.drawText(band(layout.dayTop), Qt::AlignHCenter | Qt::AlignTop, texts.day);

    painter.setFont(tav::leafFont(m_monthFontName, layout.monthSize, false));
    painter.setPen(m_monthFontColor);
    painter.drawText(band(layout.monthTop), Qt::AlignHCenter | Qt::AlignTop, texts.month);
}
