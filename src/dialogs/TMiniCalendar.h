#pragma once

#include <QColor>
#include <QDate>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

class QPainter;

namespace tav {

// What a calendar leaf shows for a date: the day on two digits and the
// first three letters of the month's name in a language (an index of
// languageIndex(), 0 being the system's language). Empty for an invalid
// date.
struct CalendarLeafTexts
{
    QString day;
    QString month;
};
CalendarLeafTexts calendarLeafTexts(const QDate& date, int language);

// Where the texts of a leaf of that size go: both centred on centreX,
// the day in bold at dayTop, the month below at monthTop. Sizes are in
// points, as designed for a 96 dpi screen.
struct CalendarLeafLayout
{
    int centreX;
    int daySize;
    int dayTop;
    int monthSize;
    int monthTop;
};
CalendarLeafLayout calendarLeafLayout(QSize leafSize);

// Where the texts are drawn in the fonts the families actually resolve to:
// the designed layout, moved (and the day shrunk if need be) so that the
// inked parts of the day and the month never meet and stay on the page,
// whatever the fonts' proportions. Ink rectangles are in the leaf's
// coordinates, empty for an empty text.
struct CalendarLeafPlacement
{
    QFont dayFont;
    QFont monthFont;
    QPoint dayOrigin; // left end of the day's baseline
    QPoint monthOrigin;
    QRect dayInk;
    QRect monthInk;
};
CalendarLeafPlacement placeCalendarLeaf(QSize leafSize, const CalendarLeafTexts& texts,
                                        const QString& dayFamily, const QString& monthFamily);

// The leaf itself, drawn into the rectangle (0, 0, size): a white page
// under a binding strip with two rings, outside of which nothing is
// painted.
void drawCalendarLeaf(QPainter& painter, QSize size);

} // namespace tav

// The small leaf of a perpetual calendar that shows today's day and month.
// It shows the date of the moment it paints; every property repaints it.
class TMiniCalendar : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString DayFontName READ dayFontName WRITE setDayFontName)
    Q_PROPERTY(QColor DayFontColor READ dayFontColor WRITE setDayFontColor)
    Q_PROPERTY(QString MonthFontName READ monthFontName WRITE setMonthFontName)
    Q_PROPERTY(QColor MonthFontColor READ monthFontColor WRITE setMonthFontColor)
    Q_PROPERTY(int Language READ language WRITE setLanguage)

public:
    static constexpr QSize defaultSize{29, 43};
    enum LanguageIndex { laDefault, laEnglish, laGerman, laFrench, laItalian, laSpanish };

    explicit TMiniCalendar(QWidget* parent = nullptr);

    QString dayFontName() const { return m_dayFontName; }
    void setDayFontName(const QString& name);
    QColor dayFontColor() const { return m_dayFontColor; }
    void setDayFontColor(const QColor& colour);
    QString monthFontName() const { return m_monthFontName; }
    void setMonthFontName(const QString& name);
    QColor monthFontColor() const { return m_monthFontColor; }
    void setMonthFontColor(const QColor& colour);
    int language() const { return m_language; }
    void setLanguage(int language);

    // A fixed date shown instead of the clock's, for tests; an invalid date
    // returns to the clock.
    void setToday(const QDate& date);
    QDate shownDate() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_dayFontName = QStringLiteral("Arial");
    QColor m_dayFontColor = Qt::red;
    QString m_monthFontName = QStringLiteral("Arial");
    QColor m_monthFontColor = Qt::black;
    int m_language = laEnglish;
    QDate m_today;
};
