#include "ui/FrameCacheStyle.h"

#include <QLineEdit>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <QtTest>

using namespace tav;

class TestFrameCacheStyle : public QObject
{
    Q_OBJECT
private slots:
    void framesCopiedLookAsFramesDrawn();
    void installedOnceOverTheStyleInUse();
};

namespace {

// A text field's frame and background as the style draws them, on a
// coloured ground, at a place that is not the picture's corner.
QImage panel(const QStyle& style, const QStyleOptionFrame& option, qreal ratio = 1)
{
    QImage img(QSize(140, 40) * ratio, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(ratio);
    img.fill(QColor(200, 220, 240));
    QPainter p(&img);
    p.translate(3, 2);
    style.drawPrimitive(QStyle::PE_PanelLineEdit, &option, &p);
    p.end();
    return img;
}

// Largest difference of a channel between two pictures of one size.
int largestDifference(const QImage& a, const QImage& b)
{
    int most = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            most = std::max({most, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                             std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return most;
}

} // namespace

void TestFrameCacheStyle::framesCopiedLookAsFramesDrawn()
{
    std::unique_ptr<QStyle> plain(QStyleFactory::create(QStringLiteral("Fusion")));
    FrameCacheStyle cached(QStyleFactory::create(QStringLiteral("Fusion")));
    QLineEdit edit;
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.rect = QRect(4, 5, 120, 24);
    option.lineWidth = 1;
    option.state = QStyle::State_Enabled;

    QStyleOptionFrame focused = option;
    focused.state |= QStyle::State_HasFocus;
    QStyleOptionFrame disabled = option;
    disabled.state = QStyle::State_None;
    disabled.palette.setCurrentColorGroup(QPalette::Disabled);
    QStyleOptionFrame wider = option;
    wider.rect.setWidth(90);
    QStyleOptionFrame red = option;
    red.palette.setColor(QPalette::Base, QColor(250, 200, 200));

    // Each drawn twice: the first draws and keeps, the second copies.
    for (const QStyleOptionFrame& o : {option, focused, disabled, wider, red, option}) {
        const QImage expected = panel(*plain, o);
        for (int i = 0; i < 2; ++i)
            QVERIFY(largestDifference(panel(cached, o), expected) <= 2);
    }
    // The states draw differently, so a copy of one would show.
    QVERIFY(largestDifference(panel(*plain, option), panel(*plain, focused)) > 20);
    QVERIFY(largestDifference(panel(*plain, option), panel(*plain, red)) > 20);
    QVERIFY(largestDifference(panel(*plain, option), panel(*plain, wider)) > 20);
    // A high-density screen.
    QVERIFY(largestDifference(panel(cached, option, 2), panel(*plain, option, 2)) <= 2);

    // Turned or scaled, the painter draws directly.
    QImage turned(60, 140, QImage::Format_ARGB32_Premultiplied);
    QImage turnedPlain = turned;
    for (auto [style, img] : {std::pair<QStyle*, QImage*>(&cached, &turned),
                              std::pair<QStyle*, QImage*>(plain.get(), &turnedPlain)}) {
        img->fill(Qt::white);
        QPainter p(img);
        p.translate(50, 4);
        p.rotate(90);
        style->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &p);
    }
    QCOMPARE(turned, turnedPlain);

    // Half transparent, the strokes of the frame blend one by one: drawn
    // directly too.
    QImage faded(140, 40, QImage::Format_ARGB32_Premultiplied);
    QImage fadedPlain = faded;
    for (auto [style, img] : {std::pair<QStyle*, QImage*>(&cached, &faded),
                              std::pair<QStyle*, QImage*>(plain.get(), &fadedPlain)}) {
        img->fill(Qt::white);
        QPainter p(img);
        p.setOpacity(0.5);
        style->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &p);
    }
    QCOMPARE(faded, fadedPlain);
}

void TestFrameCacheStyle::installedOnceOverTheStyleInUse()
{
    const QString name = QApplication::style()->name();
    FrameCacheStyle::install();
    auto* installed = qobject_cast<FrameCacheStyle*>(QApplication::style());
    QVERIFY(installed);
    QCOMPARE(installed->baseStyle()->name(), name);
    FrameCacheStyle::install();
    QCOMPARE(QApplication::style(), installed);
}

QTEST_MAIN(TestFrameCacheStyle)
#include "TestFrameCacheStyle.moc"
