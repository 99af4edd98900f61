#include "db/Connection.h"
#include "dialogs/ImagePreview.h"
#include "dialogs/ImagePrinting.h"
#include "dialogs/TPreviewImage.h"
#include "dialogs/TViewImage.h"
#include "media/JpegFile.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QLabel>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

using namespace tav;

namespace {

QString writePicture(const QTemporaryDir& dir, const QString& name, QSize size)
{
    QImage picture(size, QImage::Format_RGB888);
    picture.fill(QColor(30, 90, 200));
    const QString path = dir.filePath(name);
    return writeJpegFile(picture, path, 80).ok ? path : QString();
}

QToolButton* button(QWidget* window, const char* name)
{
    return window->findChild<QToolButton*>(QString::fromLatin1(name));
}

// first, previous, next, last: which are enabled.
QString navigation(QWidget* window)
{
    QString states;
    for (const char* name : {"Btn_First", "Btn_Prior", "Btn_Next", "Btn_Last"})
        states += button(window, name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return states;
}

void turnWheel(QWidget* target, int notches)
{
    QWheelEvent wheel(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(),
                      QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(target, &wheel);
}

} // namespace

class TestImageViewer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void theViewerFitsThePictureIntoTheWindow();
    void navigationFollowsThePlaceInTheList();
    void aMissingFileIsReportedAndCannotBePrinted();
    void zoomModesPlaceThePicture();
    void theWheelScrollsFourPixelsANotch();
    void printingOffersAndPrintsTheRange();
    void printingTheCurrentPictureAsOftenAsAsked();
    void pagesTurnWithThePicture();
    void savingACopyProposesTheRowsTitle();
    void theListComesFromTheQuery();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestImageViewer::initTestCase()
{
    MessageBox::setTestMode(true);
}

void TestImageViewer::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ImagePrinting::clear();
    MessageBox::clearShownMessages();
    FileDialog::clearRequests();
}

void TestImageViewer::cleanup()
{
    ImagePrinting::clear();
    MessageBox::clearNextAnswers();
    FileDialog::clearNextFileNames();
}

void TestImageViewer::theViewerFitsThePictureIntoTheWindow()
{
    TViewImage viewer;
    QCOMPARE(viewer.size(), QSize(492, 473));
    QCOMPARE(viewer.windowTitle(), QStringLiteral("Visualisation d'une Image"));
    QVERIFY(viewer.loadFile(writePicture(*m_dir, QStringLiteral("small.jpg"), QSize(100, 50))));
    // Smaller than the window: its own size, centred in the margin.
    QCOMPARE(viewer.pictureControl()->geometry(), QRect(10 + 186, 10 + 201, 100, 50));
    QVERIFY(viewer.loadFile(writePicture(*m_dir, QStringLiteral("large.jpg"), QSize(944, 300))));
    // fitInBox(472, 453, 944, 300): 472 x 150, centred vertically.
    QCOMPARE(viewer.pictureControl()->geometry(), QRect(10, 10 + 151, 472, 150));
    viewer.show();
    viewer.resize(300, 300);
    QCOMPARE(viewer.pictureControl()->geometry(), QRect(10, 10 + 96, 280, 88));
    QVERIFY(!viewer.loadFile(m_dir->filePath(QStringLiteral("gone.jpg"))));
}

void TestImageViewer::navigationFollowsThePlaceInTheList()
{
    QStringList files;
    for (int i = 1; i <= 4; ++i)
        files << writePicture(*m_dir, QStringLiteral("Doc%1.jpg").arg(i), QSize(40, 30));
    TPreviewImage preview(nullptr);
    QVERIFY(button(&preview, "Btn_First")->isHidden());
    preview.setTitle(QStringLiteral("Documents"));
    preview.setFiles(files);
    preview.openAt(-1, 1);
    QVERIFY(!button(&preview, "Btn_First")->isHidden());
    QCOMPARE(preview.size(), QSize(800, 600));
    QCOMPARE(preview.windowTitle(), QStringLiteral("Documents (Doc1)"));
    QCOMPARE(navigation(&preview), QStringLiteral("0011"));
    preview.Btn_NextClick();
    QCOMPARE(navigation(&preview), QStringLiteral("1111"));
    preview.Btn_LastClick();
    QCOMPARE(preview.currentRow(), 3);
    QCOMPARE(navigation(&preview), QStringLiteral("1100"));
    QCOMPARE(preview.windowTitle(), QStringLiteral("Documents (Doc4)"));
    preview.Btn_PriorClick();
    QCOMPARE(preview.currentRow(), 2);
    preview.Btn_FirstClick();
    QCOMPARE(preview.currentRow(), 0);

    TPreviewImage single(nullptr);
    single.setFiles(files.mid(0, 1));
    single.openAt(-1, 1);
    QCOMPARE(navigation(&single), QStringLiteral("0000"));
    QVERIFY(button(&single, "Btn_Print")->isEnabled());
}

void TestImageViewer::aMissingFileIsReportedAndCannotBePrinted()
{
    const QString gone = m_dir->filePath(QStringLiteral("Doc9.jpg"));
    TPreviewImage preview(nullptr);
    preview.setFiles({writePicture(*m_dir, QStringLiteral("Doc1.jpg"), QSize(20, 20)), gone});
    preview.openAt(-1, 1);
    QVERIFY(MessageBox::shownMessages().isEmpty());
    preview.Btn_NextClick();
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().kind, MessageBox::Kind::Error);
    QCOMPARE(MessageBox::shownMessages().first().text,
             QStringLiteral("IMPOSSIBLE D'IMPRIMER L'IMAGE !\rLe fichier \"") + gone +
                 QStringLiteral("\" a sans doute été supprimé manuellement et n'est plus "
                                "accessible."));
    QVERIFY(preview.picture().isNull());
    QVERIFY(!preview.pictureControl()->isVisible());
    QVERIFY(!button(&preview, "Btn_Print")->isEnabled());
    QVERIFY(!button(&preview, "Btn_Save")->isEnabled());
}

void TestImageViewer::zoomModesPlaceThePicture()
{
    TPreviewImage preview(nullptr);
    preview.setFiles({writePicture(*m_dir, QStringLiteral("wide.jpg"), QSize(1600, 400)),
                      writePicture(*m_dir, QStringLiteral("small.jpg"), QSize(60, 40))});
    preview.openAt(-1, 1);
    preview.show();
    QScrollArea* box = preview.scrollBox();
    const int sw = box->width();
    const int sh = box->height();

    preview.zoomTo(1);
    QRect shown = preview.pictureControl()->geometry();
    QCOMPARE(shown.left(), 10);
    QCOMPARE(shown.width(), sw - 25);
    QVERIFY(!preview.spacer()->isVisible());
    QCOMPARE(box->horizontalScrollBar()->maximum(), 0);

    preview.zoomTo(3);
    QCOMPARE(preview.pictureControl()->geometry(), QRect(10, 10, 1600, 400));
    QVERIFY(preview.spacer()->isVisible());
    QCOMPARE(preview.spacer()->geometry(), QRect(1610, 410, 10, 10));
    QVERIFY(box->horizontalScrollBar()->maximum() > 0);

    preview.zoomTo(2);
    shown = preview.pictureControl()->geometry();
    const int h = int(400.0 / 1600 * (sw - 20));
    QCOMPARE(shown.height(), h - 25);
    QVERIFY(preview.spacer()->isVisible());

    // A picture smaller than the box keeps its size, centred.
    preview.Btn_NextClick();
    preview.zoomTo(1);
    QCOMPARE(preview.pictureControl()->geometry(),
             QRect(10 + (sw - 25 - 60) / 2, 10 + (sh - 25 - 40) / 2, 60, 40));
}

void TestImageViewer::theWheelScrollsFourPixelsANotch()
{
    TPreviewImage preview(nullptr);
    preview.setFiles({writePicture(*m_dir, QStringLiteral("tall.jpg"), QSize(300, 2000))});
    preview.openAt(-1, 1);
    preview.show();
    QScrollBar* bar = preview.scrollBox()->verticalScrollBar();
    // Whole picture in the window: nothing to scroll.
    turnWheel(preview.scrollBox()->viewport(), -1);
    QCOMPARE(bar->value(), 0);
    preview.zoomTo(3);
    turnWheel(preview.scrollBox()->viewport(), -1);
    QCOMPARE(bar->value(), 4);
    turnWheel(preview.scrollBox()->viewport(), -3);
    QCOMPARE(bar->value(), 16);
    turnWheel(preview.scrollBox()->viewport(), 1);
    QCOMPARE(bar->value(), 12);
}

void TestImageViewer::printingOffersAndPrintsTheRange()
{
    QStringList files;
    const QSize sizes[] = {QSize(30, 60), QSize(800, 600), QSize(50, 50), QSize(70, 20)};
    for (int i = 0; i < 4; ++i)
        files << writePicture(*m_dir, QStringLiteral("Doc%1.jpg").arg(i + 1), sizes[i]);
    TPreviewImage preview(nullptr);
    preview.setTitle(QStringLiteral("Documents"));
    preview.setFiles(files);
    preview.openAt(-1, 1);
    preview.show();

    // Cancelled: nothing printed, the window stays.
    preview.Btn_PrintClick();
    QCOMPARE(ImagePrinting::offers().size(), 1);
    QCOMPARE(ImagePrinting::offers().first().pageCount, 4);
    QVERIFY(ImagePrinting::offers().first().selectionOffered);
    QVERIFY(ImagePrinting::printed().isEmpty());
    QVERIFY(preview.isVisible());

    PrintChoice pages;
    pages.accepted = true;
    pages.range = PrintChoice::Range::Pages;
    pages.from = 2;
    pages.to = 3;
    ImagePrinting::setNextChoice(pages);
    preview.Btn_PrintClick();
    const QList<PrintedPicture> printed = ImagePrinting::printed();
    QCOMPARE(printed.size(), 2);
    QCOMPARE(printed.at(0).size, QSize(800, 600));
    QVERIFY(printed.at(0).landscape);
    QCOMPARE(printed.at(0).title, QStringLiteral("  Documents (Doc2)"));
    QCOMPARE(printed.at(1).size, QSize(50, 50));
    QVERIFY(!printed.at(1).landscape);
    // Printing a range closes the preview.
    QVERIFY(!preview.isVisible());
    QCOMPARE(preview.result(), int(QDialog::Accepted));

    QVERIFY(!ImagePrinting::landscapeFor(QSize(30, 60)));
    QVERIFY(ImagePrinting::landscapeFor(QSize(70, 20)));

    TPreviewImage single(nullptr);
    single.setFiles(files.mid(0, 1));
    single.openAt(-1, 1);
    single.Btn_PrintClick();
    QVERIFY(!ImagePrinting::offers().last().selectionOffered);
    QCOMPARE(ImagePrinting::offers().last().pageCount, 1);
}

void TestImageViewer::printingTheCurrentPictureAsOftenAsAsked()
{
    QStringList files;
    for (int i = 1; i <= 3; ++i)
        files << writePicture(*m_dir, QStringLiteral("Doc%1.jpg").arg(i), QSize(20 * i, 40));
    // A file removed by hand in a range is reported and skipped.
    QVERIFY(QFile::remove(files.at(1)));
    TPreviewImage preview(nullptr);
    preview.setFiles(files);
    preview.openAt(2, 1);
    PrintChoice current;
    current.accepted = true;
    current.range = PrintChoice::Range::Selection;
    current.copies = 2;
    ImagePrinting::setNextChoice(current);
    preview.Btn_PrintClick();
    QCOMPARE(ImagePrinting::printed().size(), 2);
    QCOMPARE(ImagePrinting::printed().at(1).size, QSize(60, 40));

    ImagePrinting::clear();
    MessageBox::clearShownMessages();
    PrintChoice all;
    all.accepted = true;
    ImagePrinting::setNextChoice(all);
    preview.Btn_PrintClick();
    QCOMPARE(ImagePrinting::printed().size(), 2);
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QVERIFY(MessageBox::shownMessages().first().text.contains(files.at(1)));
}

void TestImageViewer::pagesTurnWithThePicture()
{
    // Rendered for real into PDF files, read back by poppler's pdfinfo.
    ImagePrinting::setPdfFolder(m_dir->path());
    QStringList files;
    for (const QSize size : {QSize(800, 600), QSize(300, 400)})
        files << writePicture(*m_dir, QStringLiteral("p%1.jpg").arg(files.size()), size);
    TPreviewImage preview(nullptr);
    preview.setFiles(files);
    preview.openAt(-1, 1);
    PrintChoice all;
    all.accepted = true;
    ImagePrinting::setNextChoice(all);
    preview.Btn_PrintClick();
    QCOMPARE(ImagePrinting::printed().size(), 2);
    // One job, one file, a page for each picture.
    QProcess info;
    info.start(QStringLiteral("pdfinfo"),
               {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                QStringLiteral("2"), m_dir->filePath(QStringLiteral("job1.pdf"))});
    QVERIFY(info.waitForFinished(30000));
    const QString out = QString::fromUtf8(info.readAllStandardOutput());
    QVERIFY2(out.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\b"))), qPrintable(out));
    for (int page = 1; page <= 2; ++page) {
        const QRegularExpression size(
            QStringLiteral("Page\\s+%1 size:\\s+([0-9.]+) x ([0-9.]+) pts").arg(page));
        const QRegularExpressionMatch m = size.match(out);
        QVERIFY2(m.hasMatch(), qPrintable(out));
        const double w = m.captured(1).toDouble();
        const double h = m.captured(2).toDouble();
        // A4: 595 x 842 points, turned for the wide picture.
        QVERIFY(qAbs(std::min(w, h) - 595.3) < 1 && qAbs(std::max(w, h) - 841.9) < 1);
        QCOMPARE(w > h, page == 1);
    }
}

void TestImageViewer::savingACopyProposesTheRowsTitle()
{
    TPreviewImage preview(nullptr);
    preview.setFiles({writePicture(*m_dir, QStringLiteral("Rex.jpg"), QSize(20, 20))});
    preview.openAt(-1, 1);
    const QString copy = m_dir->filePath(QStringLiteral("copie.jpg"));
    FileDialog::setNextFileName(copy);
    preview.Btn_SaveClick();
    QCOMPARE(FileDialog::requests().size(), 1);
    QCOMPARE(QFileInfo(FileDialog::requests().first().dir).fileName(), QStringLiteral("Rex.jpg"));
    QVERIFY(QFile::exists(copy));

    // The missing picture is reported, nothing is asked.
    FileDialog::clearRequests();
    QVERIFY(!saveImageAs(nullptr, m_dir->filePath(QStringLiteral("gone.jpg")),
                         QStringLiteral("x.jpg")));
    QVERIFY(FileDialog::requests().isEmpty());
    QVERIFY(MessageBox::shownMessages().last().text.startsWith(
        QStringLiteral("IMPOSSIBLE DE TROUVER L'IMAGE !")));
    // A name with a slash becomes a valid one; the copy goes where chosen.
    const QString chosen = m_dir->filePath(QStringLiteral("ailleurs.jpg"));
    FileDialog::setNextFileName(chosen);
    QVERIFY(saveImageAs(nullptr, copy, QStringLiteral("Tom/Jerry.jpg")));
    QCOMPARE(QFileInfo(FileDialog::requests().first().dir).fileName(),
             QStringLiteral("Tom_Jerry.jpg"));
    QVERIFY(QFile::exists(chosen));
}

void TestImageViewer::theListComesFromTheQuery()
{
    Connection connection;
    connection.open(m_dir->filePath(QStringLiteral("list.db")), true);
    connection.exec(QStringLiteral("CREATE TABLE Animal (Id LONG, Name TEXT(64))"));
    connection.exec(QStringLiteral("INSERT INTO Animal (Id, Name) VALUES (3, 'Rex'), (8, '')"));
    const QString folder = m_dir->path() + QLatin1Char('/');
    writePicture(*m_dir, QStringLiteral("Animal3.jpg"), QSize(20, 20));
    writePicture(*m_dir, QStringLiteral("Animal8.jpg"), QSize(20, 20));
    TPreviewImage preview(&connection);
    preview.setTitle(QStringLiteral("Photo"));
    preview.setPictureFolder(folder);
    preview.setFilePrefix(QStringLiteral("Animal"));
    preview.setListQuery(QStringLiteral("SELECT Animal.Id as [Id], Animal.Name as [Title] FROM "
                                        "Animal ORDER BY Animal.Id"));
    preview.openAt(8, 2);
    QCOMPARE(preview.rowCount(), 2);
    QCOMPARE(preview.currentRow(), 1);
    QCOMPARE(preview.currentFile(), folder + QStringLiteral("Animal8.jpg"));
    QCOMPARE(preview.windowTitle(), QStringLiteral("Photo ()"));
    // No title: the pattern alone is proposed.
    preview.Btn_SaveClick();
    QCOMPARE(QFileInfo(FileDialog::requests().first().dir).fileName(), QStringLiteral("*.jpg"));
    preview.openAt(-1, 2);
    QCOMPARE(preview.windowTitle(), QStringLiteral("Photo (Rex)"));
}

QTEST_MAIN(TestImageViewer)
#include "tst_imageviewer.moc"
