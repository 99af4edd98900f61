#include "dialogs/TMiniCalendar.h"

#include <QImage>
#include <QtTest>

using namespace tav;

class TestMiniCalendar : public QObject
{
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void layout_data();
    void layout();
    void paintsTheDayAndMonthInTheirColours();
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

} // namespace

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

void TestMiniCalendar::paintsTheDayAndMonthInTheirColours()
{
    TMiniCalendar calendar;
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
