#include "TestText.h"

#include "dialogs/THtmlView.h"
#include "media/BitmapRoutines.h"
#include "media/JpegFile.h"
#include "media/PackedFile.h"
#include "media/Thumbnail.h"
#include "output/HtmlBooklet.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMouseEvent>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

using namespace tav;

namespace {

QImage filled(int w, int h, const QColor& colour)
{
    QImage image;
    makeBlankBitmap(image, w, h, colour);
    return image;
}

QString pdfText(const QString& path)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

// A written booklet with a photo-less animal, a weight chart, two image
// documents and an attached file, and a file left by an earlier booklet.
struct WrittenBooklet
{
    WrittenBooklet()
    {
        QDir(base.path()).mkpath(QStringLiteral("Images"));
        QDir(base.path()).mkpath(QStringLiteral("Files"));
        html = prepareHtmlFolders(base.filePath(QStringLiteral("Donnees")));
        if (!writeJpegFile(filled(400, 300, Qt::darkGreen), base.filePath(u("Images/Doc7.jpg")),
                           90) ||
            !writeJpegFile(filled(300, 400, Qt::darkRed), base.filePath(u("Images/Doc8.jpg")), 90))
            qFatal("the pictures cannot be written");
        writeBytes(base.filePath(u("lettre")), "lettre du vétérinaire");
        packFile(base.filePath(u("lettre")), base.filePath(u("Files/File3.f")));
        writeBytes(html + u("ancien.pdf"), "left by an earlier booklet");

        BookletData data;
        data.animal.id = 1;
        data.animal.name = u("Tom & Jerry <3");
        data.animal.species = u("Chat");
        data.animal.misc = QStringList(12, QString());
        data.customLabels = QStringList(12, QString());
        data.weights.append({u("01/02/2023"), 4.2, u("Après vaccin")});
        data.images.append(
            {7, u("Radio"), bmpFile(makeThumbnail(filled(400, 300, Qt::darkGreen), 90, 90))});
        data.images.append(
            {8, u("Ordonnance"), bmpFile(makeThumbnail(filled(300, 400, Qt::darkRed), 90, 90))});
        data.files.append({3, u("lettre du véto.txt"), u("Texte"), u("1 Ko"), QByteArray()});
        HtmlOutputOptions options;
        options.databaseFolder = base.path();
        options.currencySymbol = u("€");
        options.silhouette = filled(150, 150, Qt::lightGray);
        options.makerName = u("Orvandel");
        options.webSite = u("https://www.orvandel.example");
        options.chart = [](int, MeasureKind, CurveMode, QSize size) {
            return filled(size.width(), size.height(), Qt::blue);
        };
        const HtmlResult result = writeBookletPage(data, html, options);
        page = result.pagePath;
    }

    QTemporaryDir base;
    QString html;
    QString page;
};

// Opens the pages in headless Chromium, each in a frame of a page written
// beside them, and returns for each its title, code page, text and whether
// every picture was loaded: [{page, title, charset, text, images: [[src, loaded]]}].
QJsonArray renderInChromium(const QString& folder, const QStringList& pages)
{
    QString frames;
    for (const QString& p : pages)
        frames += u("<iframe src=\"") + p + u("\"></iframe>");
    const QString wrapper =
        u("<html><body>") + frames +
        u("<script>\n"
          "var frames = document.getElementsByTagName('iframe'), left = frames.length, out = [];\n"
          "for (var k = 0; k < frames.length; ++k) frames[k].onload = function () {\n"
          "  var d = this.contentDocument, r = {page: this.getAttribute('src'), title: d.title,\n"
          "    charset: d.characterSet, text: d.body.innerText, images: []};\n"
          "  for (var i = 0; i < d.images.length; ++i)\n"
          "    r.images.push([d.images[i].getAttribute('src'),\n"
          "                   d.images[i].complete && d.images[i].naturalWidth > 0]);\n"
          "  out.push(r);\n"
          "  if (--left == 0) { var p = document.createElement('pre'); p.id = 'result';\n"
          "    p.textContent = btoa(unescape(encodeURIComponent(JSON.stringify(out))));\n"
          "    document.body.appendChild(p); }\n"
          "};\n"
          "</script></body></html>");
    writeBytes(folder + u("/check-in-browser.html"), wrapper.toUtf8());
    QTemporaryDir profile;
    QProcess chromium;
    chromium.start(u("chromium"),
                   {u("--headless"), u("--no-sandbox"), u("--disable-gpu"),
                    u("--allow-file-access-from-files"), u("--virtual-time-budget=10000"),
                    u("--user-data-dir=") + profile.path(), u("--dump-dom"),
                    QUrl::fromLocalFile(folder + u("/check-in-browser.html")).toString()});
    if (!chromium.waitForFinished(120000))
        return {};
    const QByteArray dom = chromium.readAllStandardOutput();
    const int start = dom.indexOf("<pre id=\"result\">");
    const int end = dom.indexOf("</pre>", start);
    if (start < 0 || end < 0)
        return {};
    const int from = start + int(qstrlen("<pre id=\"result\">"));
    return QJsonDocument::fromJson(QByteArray::fromBase64(dom.mid(from, end - from))).array();
}

} // namespace

class TestHtmlView : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void showsThePageWithItsPictures();
    void savesThePageAndWhatItShowsElsewhere();
    void printsAndSavesAsPdf();
    void maximiseAndGripFollowEachOther();
    void savedFolderOpensInABrowser();
};

void TestHtmlView::initTestCase()
{
    MessageBox::setTestMode(true);
}

void TestHtmlView::init()
{
    FileDialog::clearNextFileNames();
    FileDialog::clearRequests();
    MessageBox::clearShownMessages();
}

void TestHtmlView::showsThePageWithItsPictures()
{
    WrittenBooklet b;
    QVERIFY(!b.page.isEmpty());
    THtmlView view(b.page, u(" Fiche de santé"));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.windowTitle(), u("Fiche de santé"));
    QCOMPARE(view.size(), QSize(720, 488));
    QTextBrowser* browser = view.findChild<QTextBrowser*>(u("WebBrowser"));
    QVERIFY(browser);
    QCOMPARE(browser->geometry().left(), 5);
    QCOMPARE(browser->width(), 720 - 10);
    const QString text = browser->toPlainText();
    QVERIFY(text.contains(u("Tom & Jerry <3")));
    QVERIFY(text.contains(u("INFORMATIONS GENERALES")));
    QVERIFY(text.contains(u("12.350")) || text.contains(u("4.200 kg")));
    QVERIFY(!text.contains(u("centerwindow")));
    QCOMPARE(browser->documentTitle(), u("Fiche de santé"));
    for (const char* picture : {"face.jpg", "weight.bmp", "doc7.jpg", "FileIcon3.jpg"}) {
        const QVariant image =
            browser->loadResource(QTextDocument::ImageResource, QUrl(u(picture)));
        QVERIFY2(!qvariant_cast<QImage>(image).isNull() || !image.toByteArray().isEmpty(), picture);
    }

    // A thumbnail opens its picture page in a window of its own.
    emit browser->anchorClicked(
        QUrl(u("javascript:centerwindow(\"doc7.htm\",600,500,\"toolbar=no\")")));
    auto* popup = view.findChild<QDialog*>(u("PictureWindow"));
    QVERIFY(popup);
    QCOMPARE(popup->windowTitle(), u("Radio"));
    QCOMPARE(popup->size(), QSize(600, 500));
    popup->close();

    const QSignalSpy closed(&view, &QDialog::accepted);
    view.findChild<QPushButton*>(u("Btn_Close"))->click();
    QCOMPARE(closed.count(), 1);
}

void TestHtmlView::savesThePageAndWhatItShowsElsewhere()
{
    WrittenBooklet b;
    QTemporaryDir target;
    THtmlView view(b.page, u(" Fiche de santé"));
    view.show();

    FileDialog::setNextFileName(QString()); // cancelled: nothing copied
    view.findChild<QPushButton*>(u("Btn_Save"))->click();
    QCOMPARE(QDir(target.path()).entryList(QDir::Files), QStringList());
    QCOMPARE(FileDialog::requests().size(), 1);
    QCOMPARE(FileDialog::requests().at(0).title, u("Enregistrer la page html sous ..."));
    QCOMPARE(FileDialog::requests().at(0).filter, u("Page web|*.htm;*.html"));
    // Proposed in the data folder's Html folder, where the booklets go.
    QVERIFY2(FileDialog::requests().at(0).dir.endsWith(u("Donnees/Html/index.htm")),
             qPrintable(FileDialog::requests().at(0).dir));

    writeBytes(target.filePath(u("doc7.jpg")), "an older copy");
    FileDialog::setNextFileName(target.filePath(u("fiche")));
    view.findChild<QPushButton*>(u("Btn_Save"))->click();
    QVERIFY(MessageBox::shownMessages().isEmpty());
    QStringList saved = QDir(target.path()).entryList(QDir::Files, QDir::Name);
    QCOMPARE(saved, strings({"FileIcon3.jpg", "doc7.htm", "doc7.jpg", "doc8.htm", "doc8.jpg",
                             "docfullsize7.jpg", "docfullsize8.jpg", "face.jpg", "fiche.htm",
                             "lettre du véto.txt", "weight.bmp"}));
    QCOMPARE(readBytes(target.filePath(u("fiche.htm"))), readBytes(b.page));
    QCOMPARE(readBytes(target.filePath(u("doc7.jpg"))), readBytes(b.html + u("doc7.jpg")));
    QCOMPARE(readBytes(target.filePath(u("lettre du véto.txt"))),
             QByteArray("lettre du vétérinaire"));
}

void TestHtmlView::printsAndSavesAsPdf()
{
    WrittenBooklet b;
    QTemporaryDir target;
    THtmlView view(b.page, u(" Fiche de santé"));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(target.filePath(u("imprime.pdf")));
    view.setPrinter(&printer);
    view.findChild<QPushButton*>(u("Btn_Print"))->click();
    QVERIFY(FileDialog::requests().isEmpty()); // printed without asking
    QString text = pdfText(target.filePath(u("imprime.pdf")));
    QVERIFY2(text.contains(u("Tom & Jerry <3")), qPrintable(text));

    writeBytes(target.filePath(u("fiche.pdf")), "an older PDF");
    FileDialog::setNextFileName(target.filePath(u("fiche.pdf")));
    view.findChild<QPushButton*>(u("Btn_Pdf"))->click();
    QCOMPARE(FileDialog::requests().value(0).filter, u("Document PDF|*.pdf"));
    QVERIFY(readBytes(target.filePath(u("fiche.pdf"))).startsWith("%PDF"));
    text = pdfText(target.filePath(u("fiche.pdf")));
    QVERIFY2(text.contains(u("INFORMATIONS GENERALES")), qPrintable(text));
    QVERIFY(text.contains(u("Tom & Jerry <3")));
    QVERIFY(text.contains(u("4.200 kg")));
    QVERIFY(!QFile::exists(target.filePath(u("fiche.pdf.part"))));
}

void TestHtmlView::maximiseAndGripFollowEachOther()
{
    WrittenBooklet b;
    THtmlView view(b.page, u(" Tableaux"));
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.windowTitle(), u("Tableaux"));
    QWidget* grip = view.findChild<QWidget*>(u("RezisePad"));
    QWidget* maximise = view.findChild<QWidget*>(u("SysMaxiBtn"));
    QVERIFY(grip && maximise);
    QVERIFY(grip->isVisible());
    QCOMPARE(maximise->toolTip(), u("Agrandir"));

    // The grip applies a width above 400 and a height above 200 only.
    const QPoint press = grip->mapToGlobal(QPoint(0, 0));
    auto drag = [grip, press](QEvent::Type type, QPoint by) {
        QMouseEvent event(type, QPointF(), QPointF(press + by), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(grip, &event);
    };
    drag(QEvent::MouseButtonPress, {});
    drag(QEvent::MouseMove, {-320, -288});
    QCOMPARE(view.size(), QSize(720, 488));
    drag(QEvent::MouseMove, {-319, -100});
    QCOMPARE(view.size(), QSize(401, 388));
    drag(QEvent::MouseMove, {-100, -287});
    QCOMPARE(view.size(), QSize(620, 201));
    drag(QEvent::MouseButtonRelease, {-100, -287});

    view.SysMaxiBtnClick();
    QTRY_VERIFY(view.isMaximized());
    QCOMPARE(maximise->toolTip(), u("Réduire"));
    QVERIFY(!grip->isVisible());
    view.SysMaxiBtnClick();
    QTRY_VERIFY(!view.isMaximized());
    QCOMPARE(maximise->toolTip(), u("Agrandir"));
    QVERIFY(grip->isVisible());
}

void TestHtmlView::savedFolderOpensInABrowser()
{
    if (QStandardPaths::findExecutable(u("chromium")).isEmpty())
        QSKIP("chromium is not installed");
    WrittenBooklet b;
    QTemporaryDir target;
    THtmlView view(b.page, u(" Fiche de santé"));
    FileDialog::setNextFileName(target.filePath(u("fiche.htm")));
    view.Btn_SaveClick();
    const QJsonArray pages =
        renderInChromium(target.path(), strings({"fiche.htm", "doc7.htm", "doc8.htm"}));
    QCOMPARE(pages.size(), 3);
    for (const QJsonValue& v : pages) {
        const QJsonObject page = v.toObject();
        const QString name = page.value(u("page")).toString();
        QCOMPARE(page.value(u("charset")).toString(), u("windows-1252"));
        const QJsonArray images = page.value(u("images")).toArray();
        QVERIFY2(!images.isEmpty(), qPrintable(name));
        for (const QJsonValue& image : images)
            QVERIFY2(image.toArray().at(1).toBool(),
                     qPrintable(name + u(": ") + image.toArray().at(0).toString()));
        if (name == u("fiche.htm")) {
            QCOMPARE(page.value(u("title")).toString(), u("Fiche de santé"));
            const QString text = page.value(u("text")).toString();
            QVERIFY(text.contains(u("Tom & Jerry <3")));
            QVERIFY(text.contains(u("DOCUMENT(S) IMAGE(S)")));
            QVERIFY(text.contains(u("lettre du véto.txt")));
            // The photo, the weight chart, the file icon and two thumbnails.
            QCOMPARE(images.size(), 5);
        } else {
            QCOMPARE(images.size(), 1);
        }
    }
}

QTEST_MAIN(TestHtmlView)
#include "tst_htmlview.moc"
