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

CalendarLeafPlacement placeCalendarLeaf(QSize leafSize, const CalendarLeafTexts& texts,
                                        const QString& dayFamily, const QString& monthFamily)
{
    const CalendarLeafLayout layout = calendarLeafLayout(leafSize);
    // The writable page lies between the binding strip (design rows 3 to 5)
    // and the page's lower edge (design row 41).
    const int pageTop = (6 * leafSize.height() + 42) / 43;
    const int pageBottom = 41 * leafSize.height() / 43 - 1;
    // At least one blank row between the day's ink and the month's.
    constexpr int gap = 1;
    constexpr int smallestDayPixels = 6;

    CalendarLeafPlacement place;
    place.monthFont = leafFont(monthFamily, layout.monthSize, false);
    const QFontMetrics month(place.monthFont);
    const QRect monthInk = month.tightBoundingRect(texts.month);
    // Designed with its line's top at monthTop; raised if its ink would
    // pass the page's edge.
    int monthBaseline = layout.monthTop + month.ascent();
    if (!monthInk.isEmpty())
        monthBaseline = std::min(monthBaseline, pageBottom - monthInk.bottom());
    place.monthOrigin = {layout.centreX - month.horizontalAdvance(texts.month) / 2, monthBaseline};
    if (!monthInk.isEmpty())
        place.monthInk = monthInk.translated(place.monthOrigin);
    const int dayLimit = place.monthInk.isEmpty() ? pageBottom : place.monthInk.top() - 1 - gap;

    place.dayFont = leafFont(dayFamily, layout.daySize, true);
    for (;;) {
        const QFontMetrics day(place.dayFont);
        const QRect dayInk = day.tightBoundingRect(texts.day);
        int dayBaseline = layout.dayTop + day.ascent();
        if (!dayInk.isEmpty())
            dayBaseline = std::min(dayBaseline, dayLimit - dayInk.bottom());
        place.dayOrigin = {layout.centreX - day.horizontalAdvance(texts.day) / 2, dayBaseline};
        place.dayInk = dayInk.isEmpty() ? QRect() : dayInk.translated(place.dayOrigin);
        // Raised into the binding strip: a smaller day fits between the two.
        if (place.dayInk.isEmpty() || place.dayInk.top() >= pageTop ||
            place.dayFont.pixelSize() <= smallestDayPixels)
            return place;
        place.dayFont.setPixelSize(place.dayFont.pixelSize() - 1);
    }
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

    const tav::CalendarLeafTexts texts = tav::calendarLeafTexts(shownDate(), m_language);
    const tav::CalendarLeafPlacement place =
        tav::placeCalendarLeaf(leaf, texts, m_dayFontName, m_monthFontName);
    painter.setFont(place.dayFont);
    painter.setPen(m_dayFontColor);
    painter.drawText(place.dayOrigin, texts.day);
    painter.setFont(place.monthFont);
    painter.setPen(m_monthFontColor);
    painter.drawText(place.monthOrigin, texts.month);
}
