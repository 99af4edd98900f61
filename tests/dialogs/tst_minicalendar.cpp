#include "dialogs/TMiniCalendar.h"

#include <QFontDatabase>
#include <QImage>
#include <QtTest>

using namespace tav;

class TestMiniCalendar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void texts_data();
    void texts();
    void layout_data();
    void layout();
    void dayAndMonthNeverMeet_data();
    void dayAndMonthNeverMeet();
    void paintedDayStaysAboveTheMonth_data();
    void paintedDayStaysAboveTheMonth();
    void paintsTheDayAndMonthInTheirColours();

private:
    QString m_shippedFamily;
};

namespace {

// Pixels within the rows [top, bottom) whose channels all lie within 40 of
// the colour: smoothed text has few pixels of the exact colour.
int pixelsOf(const QImage& image, const QColor& colour, int top, int bottom)
{
    const auto near = [](int a, int b) {
        return qAbs(a - b) <= 40;
    };
    int count = 0;
    for (int y = qMax(0, top); y < qMin(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            if (near(c.red(), colour.red()) && near(c.green(), colour.green()) &&
                near(c.blue(), colour.blue()))
                ++count;
        }
    return count;
}

// The first and last rows holding a pixel near that colour, or (-1, -1).
QPair<int, int> rowsOf(const QImage& image, const QColor& colour)
{
    QPair<int, int> rows{-1, -1};
    for (int y = 0; y < image.height(); ++y) {
        if (pixelsOf(image, colour, y, y + 1) > 0) {
            if (rows.first < 0)
                rows.first = y;
            rows.second = y;
        }
    }
    return rows;
}

// Dates whose months reach highest (accents) and lowest (descenders).
const QList<QPair<QDate, int>> kDates = {{QDate(2008, 3, 5), TMiniCalendar::laGerman},
                                         {QDate(2010, 8, 28), TMiniCalendar::laFrench},
                                         {QDate(2011, 9, 30), TMiniCalendar::laEnglish},
                                         {QDate(2012, 7, 14), TMiniCalendar::laFrench}};

} // namespace

void TestMiniCalendar::initTestCase()
{
    // A font shipped with the tests, so that pixels are counted in a known
    // face on any machine; "Arial" is checked too, as it resolves here.
    const int id = QFontDatabase::addApplicationFont(qEnvironmentVariable("TAVIRUNE_TEST_DATA") +
                                                     QStringLiteral("/fonts/DejaVuSans.ttf"));
    QVERIFY(id >= 0);
    m_shippedFamily = QFontDatabase::applicationFontFamilies(id).value(0);
    QVERIFY(!m_shippedFamily.isEmpty());
}

void TestMiniCalendar::texts_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("month");

    QTest::newRow("5 March, French")
        << QDate(2008, 3, 5) << 3 << QStringLiteral("05") << QStringLiteral("Mar");
    QTest::newRow("5 March, German")
        << QDate(2008, 3, 5) << 2 << QStringLiteral("05") << QStringLiteral("Mär");
    QTest::newRow("August, French")
        << QDate(2010, 8, 1) << 3 << QStringLiteral("01") << QStringLiteral("Aoû");
    QTest::newRow("unknown language")
        << QDate(2010, 10, 10) << 9 << QStringLiteral("10") << QStringLiteral("Oct");
    QTest::newRow("no date") << QDate() << 3 << QString() << QString();
}

void TestMiniCalendar::texts()
{
    QFETCH(QDate, date);
    QFETCH(int, language);
    QFETCH(QString, day);
    QFETCH(QString, month);
    const CalendarLeafTexts texts = calendarLeafTexts(date, language);
    QCOMPARE(texts.day, day);
    QCOMPARE(texts.month, month);
}

void TestMiniCalendar::layout_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<int>>("expected"); // centre, day size, day top, month size, month top

    QTest::newRow("design size") << QSize(29, 43) << QList<int>{14, 16, 6, 8, 27};
    QTest::newRow("double size") << QSize(58, 86) << QList<int>{29, 32, 13, 16, 54};
}

void TestMiniCalendar::layout()
{
    QFETCH(QSize, size);
    QFETCH(QList<int>, expected);
    const CalendarLeafLayout l = calendarLeafLayout(size);
    QCOMPARE((QList<int>{l.centreX, l.daySize, l.dayTop, l.monthSize, l.monthTop}), expected);
}

void TestMiniCalendar::dayAndMonthNeverMeet_data()
{
    QTest::addColumn<QString>("family");
    QTest::addColumn<QSize>("size");
    for (const QString& family : {m_shippedFamily, QStringLiteral("Arial")}) {
        for (const QSize size : {QSize(29, 43), QSize(58, 86), QSize(29, 30)})
            QTest::addRow("%s %dx%d", qPrintable(family), size.width(), size.height())
                << family << size;
    }
}

void TestMiniCalendar::dayAndMonthNeverMeet()
{
    QFETCH(QString, family);
    QFETCH(QSize, size);
    const int pageTop = (6 * size.height() + 42) / 43;
    const int pageBottom = 41 * size.height() / 43 - 1;
    for (const auto& [date, language] : kDates) {
        const CalendarLeafTexts texts = calendarLeafTexts(date, language);
        const CalendarLeafPlacement p = placeCalendarLeaf(size, texts, family, family);
        const QString where = texts.day + QLatin1Char(' ') + texts.month;
        QVERIFY2(!p.dayInk.isEmpty() && !p.monthInk.isEmpty(), qPrintable(where));
        // One clear row at least between the two.
        QVERIFY2(p.dayInk.bottom() + 1 < p.monthInk.top(), qPrintable(where));
        QVERIFY2(p.dayInk.top() >= pageTop, qPrintable(where));
        QVERIFY2(p.monthInk.bottom() <= pageBottom, qPrintable(where));
        // Both centred on the leaf, to the pixel.
        const int centre = size.width() / 2;
        for (const QRect& ink : {p.dayInk, p.monthInk})
            QVERIFY2(qAbs(ink.center().x() - centre) <= 2, qPrintable(where));
    }
    // No date, no text, nothing to place.
    const CalendarLeafPlacement none = placeCalendarLeaf(size, {}, family, family);
    QVERIFY(none.dayInk.isEmpty() && none.monthInk.isEmpty());
}

void TestMiniCalendar::paintedDayStaysAboveTheMonth_data()
{
    QTest::addColumn<QString>("family");
    QTest::newRow("shipped font") << m_shippedFamily;
    QTest::newRow("Arial as resolved") << QStringLiteral("Arial");
}

void TestMiniCalendar::paintedDayStaysAboveTheMonth()
{
    QFETCH(QString, family);
    TMiniCalendar calendar;
    calendar.setDayFontName(family);
    calendar.setMonthFontName(family);
    for (const auto& [date, language] : kDates) {
        calendar.setToday(date);
        calendar.setLanguage(language);
        const QImage image = calendar.grab().toImage();
        // Set TAVIRUNE_SHOT_DIR to look at the leaves as drawn.
        if (const QString folder = qEnvironmentVariable("TAVIRUNE_SHOT_DIR"); !folder.isEmpty())
            image.scaled(image.size() * 4)
                .save(QStringLiteral("%1/calendar-%2-%3.png")
                          .arg(folder, QFontInfo(QFont(family)).family(),
                               date.toString(Qt::ISODate)));
        const QPair<int, int> day = rowsOf(image, calendar.dayFontColor());
        const QPair<int, int> month = rowsOf(image, calendar.monthFontColor());
        const QByteArray where = date.toString(Qt::ISODate).toLatin1();
        QVERIFY2(day.first >= 0 && month.first >= 0, where.constData());
        // At least one blank row between them.
        QVERIFY2(day.second + 1 < month.first,
                 qPrintable(QStringLiteral("%1: day rows %2-%3, month rows %4-%5")
                                .arg(QString::fromLatin1(where))
                                .arg(day.first)
                                .arg(day.second)
                                .arg(month.first)
                                .arg(month.second)));
    }
}

void TestMiniCalendar::paintsTheDayAndMonthInTheirColours()
{
    TMiniCalendar calendar;
    calendar.setDayFontName(m_shippedFamily);
    calendar.setMonthFontName(m_shippedFamily);
    QCOMPARE(calendar.size(), QSize(29, 43));
    calendar.setToday(QDate(2008, 3, 5));
    calendar.setLanguage(TMiniCalendar::laFrench);

    const QColor dayColour(255, 0, 0);
    const QColor monthColour(0, 0, 0);
    QImage image = calendar.grab().toImage();
    // The day sits above y = 27, the month from there down.
    QVERIFY(pixelsOf(image, dayColour, 6, 27) > 10);
    QCOMPARE(pixelsOf(image, dayColour, 27, 43), 0);
    QVERIFY(pixelsOf(image, monthColour, 27, 43) > 5);

    // Each property takes effect at the next paint.
    const QColor blue(0, 0, 255);
    calendar.setDayFontColor(blue);
    calendar.setMonthFontColor(QColor(0, 128, 0));
    image = calendar.grab().toImage();
    QCOMPARE(pixelsOf(image, dayColour, 0, 43), 0);
    QVERIFY(pixelsOf(image, blue, 6, 27) > 10);
    QVERIFY(pixelsOf(image, QColor(0, 128, 0), 27, 43) > 5);
}

QTEST_MAIN(TestMiniCalendar)
#include "tst_minicalendar.moc"
