#include "media/Placement.h"

#include <QtTest>

using namespace tav;

class TestPlacement : public QObject
{
    Q_OBJECT
private slots:
    void fitInBox_data();
    void fitInBox();
};

void TestPlacement::fitInBox_data()
{
    QTest::addColumn<int>("boxWidth");
    QTest::addColumn<int>("boxHeight");
    QTest::addColumn<int>("pictureWidth");
    QTest::addColumn<int>("pictureHeight");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("stretch");

    QTest::newRow("tall picture, height fills")
        << 90 << 90 << 400 << 600 << 15 << 0 << 60 << 90 << true;
    QTest::newRow("tall picture, width fills")
        << 100 << 300 << 500 << 1000 << 0 << 50 << 100 << 200 << true;
    QTest::newRow("wide picture, width fills")
        << 5000 << 5000 << 6000 << 4000 << 0 << 833 << 5000 << 3333 << true;
    QTest::newRow("wide picture, height fills")
        << 300 << 100 << 1000 << 500 << 50 << 0 << 200 << 100 << true;
    QTest::newRow("box proportions") << 300 << 150 << 800 << 400 << 0 << 0 << 300 << 150 << true;
    QTest::newRow("square in oblong box")
        << 600 << 400 << 500 << 500 << 100 << 0 << 400 << 400 << true;
    QTest::newRow("smaller, not enlarged") << 90 << 90 << 60 << 40 << 15 << 25 << 60 << 40 << false;
    QTest::newRow("exactly the box") << 115 << 115 << 115 << 115 << 0 << 0 << 115 << 115 << false;
    QTest::newRow("odd margin truncated") << 90 << 90 << 7 << 8 << 41 << 41 << 7 << 8 << false;
    // One side just over the box: the other one is truncated, not rounded.
    QTest::newRow("one pixel over") << 90 << 90 << 91 << 89 << 0 << 1 << 90 << 88 << true;
    // 90 / 132 * 22 is just below 15 in doubles: the ratio is taken first
    // and truncated, where integer arithmetic would give 15.
    QTest::newRow("wide, ratio in doubles") << 90 << 90 << 132 << 22 << 0 << 38 << 90 << 14 << true;
    QTest::newRow("tall, ratio in doubles") << 90 << 90 << 22 << 132 << 38 << 0 << 14 << 90 << true;
}

void TestPlacement::fitInBox()
{
    QFETCH(int, boxWidth);
    QFETCH(int, boxHeight);
    QFETCH(int, pictureWidth);
    QFETCH(int, pictureHeight);
    const Placement p = tav::fitInBox(boxWidth, boxHeight, pictureWidth, pictureHeight);
    QTEST(p.left, "left");
    QTEST(p.top, "top");
    QTEST(p.width, "width");
    QTEST(p.height, "height");
    QTEST(p.stretch, "stretch");
}

QTEST_GUILESS_MAIN(TestPlacement)
#include "tst_placement.moc"
