#include "SaneTestConfig.h"

#include "UnpluggedScanner.h"
#include "scan/SaneScanner.h"

#include <QtTest>

#include <sane/sane.h>

using namespace tav::scan;

class TestSaneScanner : public QObject
{
    Q_OBJECT
private slots:
    void theDeviceListIsSanes();
    void aColourPageIsScannedWithItsSettings();
    void aGreyPageAndTheProgress();
    void aScanCanBeCancelled();
    void aScannerThatStopsAnsweringIsReported();
    void aScannerThatIsGoneBeforeTheScan();
    void saneStatusesAreSaidInFrench();
};

namespace {

struct Outcome
{
    QImage picture;
    QString error;
    bool cancelled = false;
    QList<int> progress;
};

Outcome scan(const QString& device, const Options& options,
             const std::function<void(ScanJob&)>& during = {}, ScanJob::Reader reader = {})
{
    Outcome out;
    ScanJob job(device, options);
    job.setReader(std::move(reader));
    bool done = false;
    QObject::connect(&job, &ScanJob::progress, &job, [&](int p) {
        out.progress << p;
        if (during)
            during(job);
    });
    QObject::connect(&job, &ScanJob::finished, &job,
                     [&](const QImage& picture, const QString& error, bool cancelled) {
                         out.picture = picture;
                         out.error = error;
                         out.cancelled = cancelled;
                         done = true;
                     });
    job.start();
    QDeadlineTimer deadline(60000);
    while (!done && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    if (!done)
        out.error = QStringLiteral("no end within a minute");
    return out;
}

} // namespace

void TestSaneScanner::theDeviceListIsSanes()
{
    SaneTestConfig config;
    const DeviceList list = listDevices();
    QVERIFY2(list.ok, qPrintable(list.error));
    QCOMPARE(list.devices.size(), 2);
    QCOMPARE(list.devices[0].name, QStringLiteral("test:0"));
    QVERIFY(!list.devices[0].label().isEmpty());

    const Capabilities c = capabilities(QStringLiteral("test:0"));
    QVERIFY2(c.ok, qPrintable(c.error));
    QVERIFY(c.modes.contains(QStringLiteral("Color")));
    QVERIFY(c.resolutionRange);
    QCOMPARE(c.resolutions.last(), 1200);
    QCOMPARE(c.maxAreaMm.width(), 200.0);
}

void TestSaneScanner::aColourPageIsScannedWithItsSettings()
{
    SaneTestConfig config("test-picture \"Color pattern\"\n");
    const Outcome out =
        scan(QStringLiteral("test:1"), {100, QStringLiteral("Color"), QRectF(10, 20, 50.8, 25.4)});
    QVERIFY2(out.error.isEmpty(), qPrintable(out.error));
    // 2 by 1 inches at 100 dots per inch.
    QCOMPARE(out.picture.format(), QImage::Format_RGB888);
    QVERIFY2(qAbs(out.picture.width() - 200) <= 2,
             qPrintable(QString::number(out.picture.width())));
    QVERIFY(qAbs(out.picture.height() - 100) <= 2);
    QSet<QRgb> colours;
    // Red, green and blue bands cut by a white grid.
    for (int y = 0; y < out.picture.height(); ++y)
        for (int x = 0; x < out.picture.width(); ++x)
            colours.insert(out.picture.pixel(x, y));
    QVERIFY(colours.size() > 2);
    QCOMPARE(out.progress.last(), 100);
}

void TestSaneScanner::aGreyPageAndTheProgress()
{
    SaneTestConfig config("test-picture \"Grid\"\nread-limit true\nread-limit-size 2000\n");
    const Outcome out = scan(QStringLiteral("test:0"), {50, QStringLiteral("Gray"), {}});
    QVERIFY2(out.error.isEmpty(), qPrintable(out.error));
    QCOMPARE(out.picture.format(), QImage::Format_Grayscale8);
    // The backend's whole area: 80 x 100 mm.
    QVERIFY(qAbs(out.picture.width() - 157) <= 2);
    QVERIFY(out.progress.size() > 5);
    QVERIFY(std::is_sorted(out.progress.begin(), out.progress.end()));
    QCOMPARE(out.progress.last(), 100);
}

void TestSaneScanner::aScanCanBeCancelled()
{
    SaneTestConfig config("read-limit true\nread-limit-size 1000\nread-delay true\n"
                          "read-delay-duration 20000\n");
    const Outcome out = scan(QStringLiteral("test:0"), {300, QStringLiteral("Color"), {}},
                             [](ScanJob& job) { job.cancel(); });
    QVERIFY(out.cancelled);
    QVERIFY(out.picture.isNull());
    QVERIFY(out.error.isEmpty());
}

void TestSaneScanner::aScannerThatStopsAnsweringIsReported()
{
    SaneTestConfig config("read-limit true\nread-limit-size 1000\n");
    UnpluggedScanner unplugged;
    const Outcome out =
        scan(QStringLiteral("test:0"), {50, QStringLiteral("Color"), {}}, {}, unplugged.reader());
    QCOMPARE(unplugged.reads(), 4);
    QVERIFY(!out.cancelled);
    QVERIFY(out.picture.isNull());
    QVERIFY2(out.error.contains(QString::fromUtf8("débranché")), qPrintable(out.error));
}

void TestSaneScanner::aScannerThatIsGoneBeforeTheScan()
{
    SaneTestConfig config;
    const Outcome out = scan(QStringLiteral("test:7"), {});
    QVERIFY(out.picture.isNull());
    QVERIFY(!out.error.isEmpty());
    QVERIFY(!capabilities(QStringLiteral("test:7")).ok);
}

void TestSaneScanner::saneStatusesAreSaidInFrench()
{
    QVERIFY(statusText(SANE_STATUS_GOOD).isEmpty());
    // Every status a backend can give, and one it should not.
    for (int status = SANE_STATUS_UNSUPPORTED; status <= SANE_STATUS_ACCESS_DENIED + 1; ++status) {
        const QString english = QString::fromUtf8(sane_strstatus(SANE_Status(status)));
        const QStringList lines = statusText(status).split(QLatin1Char('\r'));
        QVERIFY2(!lines[0].isEmpty(), qPrintable(english));
        QVERIFY2(!lines[0].contains(english), qPrintable(lines[0]));
        QVERIFY2(lines[0].startsWith(QLatin1String("Le ")) ||
                     lines[0].startsWith(QLatin1String("La ")) ||
                     lines[0].startsWith(QLatin1String("L'")) ||
                     lines[0].startsWith(QLatin1String("Il ")),
                 qPrintable(lines[0]));
        // SANE's own English text, when kept, only as the detail line.
        if (lines.size() > 1) {
            QCOMPARE(lines.size(), 2);
            QCOMPARE(lines[1], QStringLiteral("Détail : ") + english);
        }
    }
    QCOMPARE(statusText(SANE_STATUS_ACCESS_DENIED + 1),
             QStringLiteral("Le scanner a signalé une erreur.\rDétail : ") +
                 QString::fromUtf8(sane_strstatus(SANE_Status(SANE_STATUS_ACCESS_DENIED + 1))));
}

QTEST_GUILESS_MAIN(TestSaneScanner)
#include "tst_sanescanner.moc"
