#include "ui/SymbolIcon.h"

#include <QImage>
#include <QPixmap>
#include <QToolButton>
#include <QtTest>

using namespace tav;

namespace {

// Pixels that are drawn at all, and how opaque they are in total.
std::pair<int, qint64> inkOf(const QImage& image)
{
    int drawn = 0;
    qint64 alpha = 0;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y)
        for (int x = 0; x < argb.width(); ++x) {
            const int a = qAlpha(argb.pixel(x, y));
            drawn += a > 0 ? 1 : 0;
            alpha += a;
        }
    return {drawn, alpha};
}

} // namespace

class TestSymbolIcon : public QObject
{
    Q_OBJECT
private slots:
    void everySymbolDrawsAtAnySize_data();
    void everySymbolDrawsAtAnySize();
    void theMenuArrowPointsDown();
    void aButtonShowsTheSymbolInsteadOfItsText();
};

void TestSymbolIcon::everySymbolDrawsAtAnySize_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name : {"menu", "print", "check", "lines"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestSymbolIcon::everySymbolDrawsAtAnySize()
{
    QFETCH(QString, name);
    const QIcon icon = symbolIcon(name);
    QVERIFY(!icon.isNull());
    for (int size : {12, 16, 32}) {
        const QImage normal = icon.pixmap(QSize(size, size)).toImage();
        QCOMPARE(normal.size(), QSize(size, size));
        const auto [drawn, alpha] = inkOf(normal);
        // Something is drawn, and not a filled square.
        QVERIFY2(drawn > size, qPrintable(QString::number(drawn)));
        QVERIFY2(drawn < size * size, qPrintable(QString::number(drawn)));
        // A disabled button's symbol fades.
        const auto [disabledDrawn, disabledAlpha] =
            inkOf(icon.pixmap(QSize(size, size), QIcon::Disabled).toImage());
        QVERIFY(disabledDrawn > 0);
        QVERIFY(disabledAlpha < alpha);
    }
}

void TestSymbolIcon::theMenuArrowPointsDown()
{
    // Wide at the top, a point at the bottom: the "▾" the hints name.
    const QImage arrow = symbolIcon(QStringLiteral("menu")).pixmap(QSize(32, 32)).toImage();
    const auto widthOfRow = [&arrow](int y) {
        int n = 0;
        for (int x = 0; x < arrow.width(); ++x)
            n += qAlpha(arrow.pixel(x, y)) > 128 ? 1 : 0;
        return n;
    };
    QVERIFY(widthOfRow(13) > widthOfRow(20));
    QVERIFY(widthOfRow(20) > 0);
    QCOMPARE(widthOfRow(4), 0);
}

void TestSymbolIcon::aButtonShowsTheSymbolInsteadOfItsText()
{
    QToolButton button;
    button.setText(QString::fromUtf8("⎙"));
    button.setToolTip(QStringLiteral("Imprimer"));
    setSymbol(&button, QStringLiteral("print"));
    QVERIFY(button.text().isEmpty());
    QVERIFY(!button.icon().isNull());
    QCOMPARE(button.toolTip(), QStringLiteral("Imprimer"));

    // An unknown symbol leaves the button as it was rather than empty.
    QVERIFY(symbolIcon(QStringLiteral("nothing-of-that-name")).isNull());
    QToolButton other;
    other.setText(QStringLiteral("+"));
    setSymbol(&other, QStringLiteral("nothing-of-that-name"));
    QCOMPARE(other.text(), QStringLiteral("+"));
}

QTEST_MAIN(TestSymbolIcon)
#include "TestSymbolIcon.moc"
