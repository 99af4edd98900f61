#include "ModalAnswer.h"
#include "SaneTestConfig.h"
#include "TestInput.h"
#include "UnpluggedScanner.h"

#include "core/TextLookup.h"
#include "dialogs/TEnterDocument.h"
#include "dialogs/TScanDialog.h"
#include "ui/MessageBox.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace tav;
using tav::test::ModalAnswer;

class TestScanDialog : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void aPageIsScannedIntoTheDocumentWindow();
    void theSettingsWindowShapesTheScan();
    void aScannerThatStopsAnsweringLeavesTheWindowAsItWas();
    void withoutScannerTheButtonIsOff();
};

namespace {

TEnterDocument::Scanner scanner(const QString& setting, bool showWindow)
{
    return [setting, showWindow](QWidget* parent) {
        return scanPicture(parent, setting, showWindow);
    };
}

QPushButton* scanButton(TEnterDocument& w)
{
    return w.findChild<QPushButton*>(QStringLiteral("Btn_Scan"));
}

} // namespace

void TestScanDialog::initTestCase()
{
    MessageBox::setTestMode(true);
}

void TestScanDialog::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
}

void TestScanDialog::aPageIsScannedIntoTheDocumentWindow()
{
    SaneTestConfig config("test-picture \"Color pattern\"\nmode Color\n");
    TEnterDocument window;
    window.setScanner(scanner(QStringLiteral("test:1"), false), scannerAvailable());
    QVERIFY(scanButton(window)->isEnabled());
    typeText(window.titleEdit(), QStringLiteral("Certificat"));
    QVERIFY(!window.okButton()->isEnabled());
    scanButton(window)->click();
    QVERIFY(MessageBox::shownMessages().isEmpty());
    QVERIFY(window.imageChanged());
    // The test scanner's whole glass, 80 x 100 mm, at its 50 dots per inch.
    QCOMPARE(window.picture().width(), 157);
    QVERIFY(qAbs(window.picture().height() - 196) <= 1);
    QVERIFY(window.pictureLabel()->text().startsWith(QStringLiteral("Image (157 x ")));
    QVERIFY(window.okButton()->isEnabled());
}

void TestScanDialog::theSettingsWindowShapesTheScan()
{
    SaneTestConfig config("test-picture \"Grid\"\n");
    auto answer = ModalAnswer::when<TScanDialog>([](TScanDialog* w) {
        auto* source = w->findChild<QComboBox*>(QStringLiteral("Cb_Source"));
        QCOMPARE(source->count(), 2);
        QCOMPARE(w->deviceName(), QStringLiteral("test:1"));
        auto* mode = w->findChild<QComboBox*>(QStringLiteral("Cb_Mode"));
        mode->setCurrentIndex(mode->findText(QStringLiteral("Niveaux de gris")));
        QVERIFY(mode->currentIndex() >= 0);
        w->findChild<QComboBox*>(QStringLiteral("Cb_Resolution"))
            ->setCurrentText(QStringLiteral("100"));
        auto* area = w->findChild<QComboBox*>(QStringLiteral("Cb_Area"));
        area->setCurrentIndex(area->findText(QStringLiteral("A4 (210 x 297 mm)")));
        // The glass is 200 mm at most: A4 is cut to it.
        QCOMPARE(w->findChild<QDoubleSpinBox*>(QStringLiteral("Ed_Width"))->value(), 200.0);
        QCOMPARE(w->findChild<QDoubleSpinBox*>(QStringLiteral("Ed_Height"))->value(), 200.0);
        w->findChild<QDoubleSpinBox*>(QStringLiteral("Ed_Width"))->setValue(51);
        QCOMPARE(area->currentText(), QStringLiteral("Personnalisée"));
        w->findChild<QDoubleSpinBox*>(QStringLiteral("Ed_Height"))->setValue(102);
        const scan::Options o = w->options();
        QCOMPARE(o.mode, QStringLiteral("Gray"));
        QCOMPARE(o.resolution, 100);
        w->okButton()->click();
    });
    const QImage picture = scanPicture(nullptr, QStringLiteral("test:1"), true);
    QVERIFY(answer.seen());
    QVERIFY(MessageBox::shownMessages().isEmpty());
    QCOMPARE(picture.format(), QImage::Format_Grayscale8);
    // 51 x 102 mm at 100 dots per inch.
    QVERIFY2(qAbs(picture.width() - 200) <= 2, qPrintable(QString::number(picture.width())));
    QVERIFY2(qAbs(picture.height() - 401) <= 2, qPrintable(QString::number(picture.height())));

    answer = ModalAnswer::when<TScanDialog>([](TScanDialog* w) { w->reject(); });
    QVERIFY(scanPicture(nullptr, QStringLiteral("test:0"), true).isNull());
    QVERIFY(answer.seen());
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestScanDialog::aScannerThatStopsAnsweringLeavesTheWindowAsItWas()
{
    SaneTestConfig config("read-limit true\nread-limit-size 1000\n");
    UnpluggedScanner unplugged;
    scan::ScanJob::setDefaultReader(unplugged.reader());
    const auto restore = qScopeGuard([] { scan::ScanJob::setDefaultReader({}); });
    TEnterDocument window;
    window.setScanner(scanner(QString(), false), scannerAvailable());
    typeText(window.titleEdit(), QStringLiteral("Radio"));
    scanButton(window)->click();
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages()[0].kind, MessageBox::Kind::Error);
    QVERIFY(MessageBox::shownMessages()[0].text.contains(QString::fromUtf8("débranché")));
    QVERIFY(window.picture().isNull());
    QVERIFY(!window.imageChanged());
    QVERIFY(!window.okButton()->isEnabled());
    QCOMPARE(window.titleEdit()->text(), QStringLiteral("Radio"));
}

void TestScanDialog::withoutScannerTheButtonIsOff()
{
    SaneTestConfig config({}, false);
    QVERIFY(!scannerAvailable());
    TEnterDocument window;
    window.setScanner(scanner(QString(), false), scannerAvailable());
    QVERIFY(!scanButton(window)->isEnabled());
    QVERIFY(scanPicture(nullptr, QString(), false).isNull());
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages()[0].text, texts::scannerNotLoaded());
}

QTEST_MAIN(TestScanDialog)
#include "tst_scandialog.moc"
