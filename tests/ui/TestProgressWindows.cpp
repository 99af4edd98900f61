#include "core/Clock.h"
#include "ui/TNewGauge.h"
#include "ui/TSplash.h"
#include "ui/TWait.h"

#include <QDate>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <limits>

class TestProgressWindows : public QObject
{
    Q_OBJECT

private slots:
    void gaugeCursorWidth_data();
    void gaugeCursorWidth();
    void gaugeWindow();

    void waitCursorWidth_data();
    void waitCursorWidth();
    void waitWindowFollowsTheCopy();

    void splashWindow();
    void splashHoldsProgressWhileHidden();
    void splashPicturesAreDrawn();
};

namespace {

QWidget* named(QWidget* window, const char* name)
{
    return window->findChild<QWidget*>(QString::fromLatin1(name));
}

// Distinct colours in a picture: a blank or one-colour picture has one.
int colourCount(const QPixmap& pixmap, int atMost)
{
    const QImage image = pixmap.toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height() && colours.size() < atMost; y += 3)
        for (int x = 0; x < image.width() && colours.size() < atMost; x += 3)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

} // namespace

void TestProgressWindows::gaugeCursorWidth_data()
{
    QTest::addColumn<int>("barWidth");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("width");

    QTest::newRow("start") << 206 << 0 << 10 << 0;
    QTest::newRow("fraction dropped") << 206 << 1 << 3 << 67; // 201 / 3
    QTest::newRow("two thirds") << 206 << 2 << 3 << 134;
    QTest::newRow("end") << 206 << 7 << 7 << 201;
    QTest::newRow("no maximum") << 206 << 5 << 0 << 0;
    QTest::newRow("negative maximum") << 206 << 5 << -4 << 0;
    QTest::newRow("past the end stays in the bar") << 206 << 9 << 7 << 201;
    QTest::newRow("negative position") << 206 << -1 << 7 << 0;
    QTest::newRow("no overflow") << 206 << std::numeric_limits<int>::max()
                                 << std::numeric_limits<int>::max() << 201;
    QTest::newRow("bar narrower than its inset") << 3 << 1 << 1 << 0;
}

void TestProgressWindows::gaugeCursorWidth()
{
    QFETCH(int, barWidth);
    QFETCH(int, position);
    QFETCH(int, maximum);
    QFETCH(int, width);
    QCOMPARE(TNewGauge::cursorWidth(barWidth, position, maximum), width);
}

void TestProgressWindows::gaugeWindow()
{
    TNewGauge gauge;
    QCOMPARE(gauge.size(), QSize(222, 56));
    QVERIFY(gauge.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(gauge.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(qobject_cast<QLabel*>(named(&gauge, "info"))->text(), QString::fromUtf8("Données"));

    QRect expected(QPoint(0, 0), gauge.size());
    expected.moveCenter(gauge.screen()->geometry().center());
    QCOMPARE(gauge.pos(), expected.topLeft());

    gauge.show();
    QVERIFY(QTest::qWaitForWindowExposed(&gauge));
    QWidget* bar = named(&gauge, "Pan_Cursor");
    QWidget* cursor = named(&gauge, "Cursor");
    QCOMPARE(cursor->parentWidget(), bar);

    gauge.setMaximum(4);
    gauge.setPosition(3);
    QCOMPARE(gauge.position(), 3);
    QCOMPARE(gauge.maximum(), 4);
    QCOMPARE(cursor->width(), (bar->width() - 5) * 3 / 4);
    gauge.setMaximum(0);
    QCOMPARE(cursor->width(), 0);

    const auto buttons = gauge.findChildren<QPushButton*>();
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(buttons.first()->text(), QStringLiteral("Annuler"));
    QVERIFY(!buttons.first()->isVisible());
}

void TestProgressWindows::waitCursorWidth_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("width");

    QTest::newRow("none") << 0 << 3 << 0;
    QTest::newRow("one third, fraction dropped") << 1 << 3 << 83;
    QTest::newRow("two thirds") << 2 << 3 << 167;
    QTest::newRow("all") << 3 << 3 << 251;
    // Exact where a floating division would fall just short.
    QTest::newRow("one of 251") << 1 << 251 << 1;
    QTest::newRow("49 of 251") << 49 << 251 << 49;
    QTest::newRow("no maximum") << 2 << 0 << 0;
    QTest::newRow("past the end") << 4 << 3 << 251;
    QTest::newRow("no overflow") << std::numeric_limits<int>::max()
                                 << std::numeric_limits<int>::max() << 251;
}

void TestProgressWindows::waitCursorWidth()
{
    QFETCH(int, count);
    QFETCH(int, maximum);
    QFETCH(int, width);
    QCOMPARE(TWait::cursorWidth(count, maximum), width);
}

void TestProgressWindows::waitWindowFollowsTheCopy()
{
    TWait wait;
    QCOMPARE(wait.size(), QSize(277, 65));
    QVERIFY(wait.windowFlags() & Qt::FramelessWindowHint);
    QRect expected(QPoint(0, 0), wait.size());
    expected.moveCenter(wait.screen()->availableGeometry().center());
    QCOMPARE(wait.pos(), expected.topLeft());

    wait.setTask(QStringLiteral("TRANSFERT DES DONNEES"));
    wait.setMessage(QStringLiteral("Quelques instants, SVP ..."));
    wait.setMaximum(3);
    wait.setCount(0);
    wait.show();
    QVERIFY(QTest::qWaitForWindowExposed(&wait));

    QWidget* back = named(&wait, "Gauge_Back");
    QWidget* cursor = named(&wait, "Gauge_Cursor");
    QCOMPARE(back->width(), 251);
    QCOMPARE(cursor->parentWidget(), back);
    QCOMPARE(cursor->width(), 0);

    wait.setMessage(QStringLiteral("Copie de la base de données"));
    wait.step();
    QCOMPARE(wait.count(), 1);
    QCOMPARE(cursor->width(), 83);
    wait.step();
    wait.step();
    QCOMPARE(cursor->width(), 251);

    wait.setMaximum(0);
    QCOMPARE(cursor->width(), 0);
}

void TestProgressWindows::splashWindow()
{
    const tav::Clock::Fixed clock(QDateTime(QDate(2029, 12, 31), QTime(23, 59, 59)));
    TSplash splash;
    QCOMPARE(splash.objectName(), QStringLiteral("Splash"));
    QCOMPARE(splash.size(), QSize(375, 170));
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    QRect expected(QPoint(0, 0), splash.size());
    expected.moveCenter(splash.screen()->geometry().center());
    QCOMPARE(splash.pos(), expected.topLeft());

    const QString year = QStringLiteral("2029");
    QCOMPARE(qobject_cast<QLabel*>(named(&splash, "Lab_Notice"))->text(),
             QString::fromUtf8("© ") + year + QString::fromUtf8(" Orvandel — Tavirune"));
    QCOMPARE(TSplash::noticeText(2031), QString::fromUtf8("© 2031 Orvandel — Tavirune"));
    QCOMPARE(splash.progressText(), QStringLiteral("Chargement ..."));

    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    // The title bar of other windows never applies to the splash.
    QVERIFY(splash.windowTitle().isEmpty());
}

void TestProgressWindows::splashHoldsProgressWhileHidden()
{
    TSplash splash;
    splash.setBarMaximum(8);
    splash.setBarPosition(1);
    splash.setProgressText(QStringLiteral("Chargement du logiciel ..."));
    splash.setBarPosition(4);
    QVERIFY(!splash.isVisible());
    QCOMPARE(splash.progressText(), QStringLiteral("Chargement du logiciel ..."));
    QCOMPARE(qobject_cast<QLabel*>(named(&splash, "info"))->text(),
             QStringLiteral("Chargement du logiciel ..."));
    QCOMPARE(splash.barPosition(), 4);
    QCOMPARE(splash.barMaximum(), 8);

    // Out of range positions pin the bar to its ends instead of being lost.
    splash.setBarPosition(9);
    QCOMPARE(splash.barPosition(), 8);
    splash.setBarPosition(-3);
    QCOMPARE(splash.barPosition(), 0);
}

void TestProgressWindows::splashPicturesAreDrawn()
{
    for (qreal ratio : {1.0, 2.0}) {
        const QPixmap picture = TSplash::drawPicture(QSize(175, 166), ratio);
        QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(175, 166));
        QVERIFY(colourCount(picture, 20) >= 20);
        const QPixmap title = TSplash::drawTitle(QSize(182, 48), ratio);
        QCOMPARE(title.deviceIndependentSize().toSize(), QSize(182, 48));
        QVERIFY(colourCount(title, 5) >= 5);
    }
}

QTEST_MAIN(TestProgressWindows)
#include "TestProgressWindows.moc"
