#include "AppFixture.h"
#include "ModalAnswer.h"
#include "TestInput.h"

#include "booklet/AnimalListModel.h"
#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "booklet/pages/PhotoBox.h"
#include "booklet/pages/TGeneralPage.h"
#include "db/AnimalPictureStore.h"
#include "db/Connection.h"
#include "db/DataModule1.h"
#include "db/DataSet.h"
#include "dialogs/TPreviewImage.h"
#include "dialogs/TViewImage.h"
#include "media/JpegFile.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

using namespace tav;
using tav::test::ModalAnswer;

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An APP1 segment holding the EXIF orientation 6: the camera was held
// upright, the picture must be turned a quarter clockwise to show.
QByteArray uprightExif()
{
    QByteArray tiff("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 26);
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(body.size()) + 2;
    return QByteArray("\xff\xe1", 2) + char(length >> 8) + char(length & 0xff) + body;
}

// Where the thumbnail put the picture: the rectangle of non-white pixels.
QRect drawnArea(const QImage& picture)
{
    QRect area;
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const uchar* p = rgb.constScanLine(y) + x * 3;
            if (p[0] < 200 || p[1] < 200 || p[2] < 200)
                area |= QRect(x, y, 1, 1);
        }
    return area;
}

QAction* menuAction(QMenu* menu, const char* name)
{
    return menu->findChild<QAction*>(QString::fromLatin1(name));
}

} // namespace

class TestPhoto : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void aBitmapBecomesTheAnimalsJpegAndThumbnail();
    void aPhonePhotoIsCopiedAndShownUpright();
    void deletingBringsTheSilhouetteBack();
    void aBadFileChangesNothing();
    void viewingThePhoto();
    void theMenuFollowsTheDeleteButton();
    void savingACopyProposesTheName();
    void printingOpensThePreviewOnThePhoto();

private:
    TMainForm* form() const { return m_app->startup()->mainForm(); }
    DataSet& animal() const { return form()->context().module1->animal(); }
    PhotoBox* box() const { return form()->page<TGeneralPage>()->photoBox(); }
    int addAnimal(const QString& name)
    {
        QTest::mouseClick(m_app->component<QToolButton>(QStringLiteral("Btn_Main_Add")),
                          Qt::LeftButton);
        typeText(m_app->component<QLineEdit>(QStringLiteral("Ed_Name")), name);
        return animal().asInt(QStringLiteral("Id"));
    }
    void select(const QString& file)
    {
        FileDialog::setNextFileName(file);
        QTest::mouseClick(m_app->component<QPushButton>(QStringLiteral("Btn_Select_Img")),
                          Qt::LeftButton);
    }
    QString photoFile(int id) const { return form()->context().module1->animalPhotoPath(id); }
    QByteArray storedThumbnail(int id) const
    {
        return AnimalPictureStore(*form()->context().connection).thumbnail(id);
    }
    QImage listThumbnail(int id) const
    {
        auto* grid = m_app->component<QListView>(QStringLiteral("Grid_AnimalList"));
        const auto* model = static_cast<const AnimalListModel*>(grid->model());
        return model->index(model->rowOfKey(id), 0)
            .data(AnimalListModel::ThumbnailRole)
            .value<QImage>();
    }
    QImage shownOnCard() const
    {
        return m_app->component<QLabel>(QStringLiteral("ImgDB_Photo_Mini"))->pixmap().toImage();
    }

    std::unique_ptr<AppFixture> m_app;
    QTemporaryDir m_files;
};

void TestPhoto::init()
{
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    QVERIFY(m_app->start());
    MessageBox::clearShownMessages();
    FileDialog::clearRequests();
}

void TestPhoto::cleanup()
{
    m_app.reset();
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    FileDialog::clearNextFileNames();
    FileDialog::clearRequests();
}

void TestPhoto::aBitmapBecomesTheAnimalsJpegAndThumbnail()
{
    const int id = addAnimal(QStringLiteral("Minou"));
    const QImage silhouette = listThumbnail(id);
    QImage picture(200, 100, QImage::Format_RGB888);
    picture.fill(QColor(20, 30, 160));
    const QString bmp = m_files.filePath(QStringLiteral("Minou.bmp"));
    QVERIFY(picture.save(bmp, "BMP"));
    select(bmp);

    QCOMPARE(FileDialog::requests().size(), 1);
    const FileDialog::Request asked = FileDialog::requests().first();
    QCOMPARE(asked.title, QStringLiteral("Sélectionnez une image"));
    QVERIFY(asked.filter.startsWith(QStringLiteral("Tout (*.jpg;*.jpeg;*.bmp")));
    QVERIFY(asked.filter.contains(QStringLiteral("|Bitmaps (*.bmp)|*.bmp")));
    QVERIFY(MessageBox::shownMessages().isEmpty());

    QVERIFY(photoFile(id).endsWith(QStringLiteral("Images/Animal") + QString::number(id) +
                                   QStringLiteral(".jpg")));
    QImage stored;
    QVERIFY(readJpegFile(stored, photoFile(id)).ok);
    QCOMPARE(stored.size(), QSize(200, 100));
    const QImage thumbnail = QImage::fromData(storedThumbnail(id), "BMP");
    QCOMPARE(thumbnail.size(), QSize(115, 115));
    QCOMPARE(drawnArea(thumbnail), QRect(0, 29, 115, 57));
    QVERIFY(box()->hasPhoto());
    QCOMPARE(shownOnCard(), thumbnail.convertToFormat(shownOnCard().format()));
    // The list follows at once, and what the user typed was written first.
    QVERIFY(listThumbnail(id) != silhouette);
    const QColor listed(listThumbnail(id).pixel(22, 22));
    QVERIFY(qAbs(listed.red() - 20) <= 2 && qAbs(listed.green() - 30) <= 2 &&
            qAbs(listed.blue() - 160) <= 2);
    QCOMPARE(animal().state(), DataSet::State::Browse);
    QCOMPARE(animal().asString(QStringLiteral("Name")), QStringLiteral("Minou"));
}

void TestPhoto::aPhonePhotoIsCopiedAndShownUpright()
{
    const int id = addAnimal(QStringLiteral("Médor"));
    // Stored sideways, 160 x 80, as a phone does.
    QImage sideways(160, 80, QImage::Format_RGB888);
    sideways.fill(QColor(150, 20, 20));
    const QString plain = m_files.filePath(QStringLiteral("plain.jpg"));
    QVERIFY(writeJpegFile(sideways, plain, 90).ok);
    const QByteArray bytes = readAll(plain).left(2) + uprightExif() + readAll(plain).mid(2);
    const QString phone = m_files.filePath(QStringLiteral("IMG_0001.JPG"));
    QFile out(phone);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();
    select(phone);

    QVERIFY(MessageBox::shownMessages().isEmpty());
    QCOMPARE(readAll(photoFile(id)), bytes);
    const QImage thumbnail = QImage::fromData(storedThumbnail(id), "BMP");
    // Upright: taller than wide, as the phone's owner saw it.
    QCOMPARE(drawnArea(thumbnail), QRect(29, 0, 57, 115));
    const QRect listed = drawnArea(listThumbnail(id));
    QVERIFY(listed.height() > listed.width());
}

void TestPhoto::deletingBringsTheSilhouetteBack()
{
    const int id = addAnimal(QStringLiteral("Rex"));
    const QImage silhouette = listThumbnail(id);
    const QImage emptyCard = shownOnCard();
    QImage picture(50, 50, QImage::Format_RGB888);
    picture.fill(Qt::black);
    const QString bmp = m_files.filePath(QStringLiteral("rex.bmp"));
    QVERIFY(picture.save(bmp, "BMP"));
    select(bmp);
    QVERIFY(QFile::exists(photoFile(id)));

    auto* del = m_app->component<QToolButton>(QStringLiteral("Btn_Delete_Img"));
    MessageBox::setNextAnswer(MessageBox::Answer::No);
    QTest::mouseClick(del, Qt::LeftButton);
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().kind, MessageBox::Kind::Question);
    QCOMPARE(MessageBox::shownMessages().first().text,
             QStringLiteral("Désirez-vous supprimer cette photo ?"));
    QVERIFY(QFile::exists(photoFile(id)));
    QVERIFY(box()->hasPhoto());

    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    QTest::mouseClick(del, Qt::LeftButton);
    QVERIFY(!QFile::exists(photoFile(id)));
    QVERIFY(storedThumbnail(id).isEmpty());
    QVERIFY(!box()->hasPhoto());
    QCOMPARE(shownOnCard(), emptyCard);
    QCOMPARE(listThumbnail(id), silhouette);
}

void TestPhoto::aBadFileChangesNothing()
{
    const int id = addAnimal(QStringLiteral("Félix"));
    QImage picture(64, 64, QImage::Format_RGB888);
    picture.fill(Qt::green);
    const QString good = m_files.filePath(QStringLiteral("good.jpg"));
    QVERIFY(writeJpegFile(picture, good, 90).ok);
    const QString cut = m_files.filePath(QStringLiteral("cut.jpg"));
    QFile out(cut);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(readAll(good).left(300));
    out.close();

    select(cut);
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().kind, MessageBox::Kind::Error);
    QVERIFY(MessageBox::shownMessages().first().text.contains(QStringLiteral("cut.jpg")));
    QVERIFY(!QFile::exists(photoFile(id)));
    QVERIFY(storedThumbnail(id).isEmpty());
    QVERIFY(!box()->hasPhoto());
    QCOMPARE(QDir(QFileInfo(photoFile(id)).path()).entryList(QDir::Files | QDir::Hidden),
             QStringList());

    // A cancelled dialog changes nothing and says nothing.
    MessageBox::clearShownMessages();
    QTest::mouseClick(m_app->component<QPushButton>(QStringLiteral("Btn_Select_Img")),
                      Qt::LeftButton);
    QVERIFY(MessageBox::shownMessages().isEmpty());
    QVERIFY(!QFile::exists(photoFile(id)));
}

void TestPhoto::viewingThePhoto()
{
    const int id = addAnimal(QStringLiteral("Bella"));
    auto* card = m_app->component<QLabel>(QStringLiteral("ImgDB_Photo_Mini"));
    // No photo: a double-click does nothing.
    QTest::mouseDClick(card, Qt::LeftButton);
    QVERIFY(MessageBox::shownMessages().isEmpty());

    QImage picture(300, 150, QImage::Format_RGB888);
    picture.fill(QColor(10, 120, 10));
    const QString bmp = m_files.filePath(QStringLiteral("bella.bmp"));
    QVERIFY(picture.save(bmp, "BMP"));
    select(bmp);
    QSize shown;
    QRect placed;
    ModalAnswer viewer = ModalAnswer::when<TViewImage>([&](TViewImage* w) {
        shown = w->picture().size();
        placed = w->pictureControl()->geometry();
    });
    QTest::mouseDClick(card, Qt::LeftButton);
    QVERIFY(viewer.seen());
    QCOMPARE(shown, QSize(300, 150));
    // Smaller than the window: its own size, centred.
    QCOMPARE(placed.size(), QSize(300, 150));
    QVERIFY(qAbs(placed.center().x() - 492 / 2) <= 1);

    // The file removed by hand while the thumbnail stays.
    QVERIFY(QFile::remove(photoFile(id)));
    QTest::mouseDClick(card, Qt::LeftButton);
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().kind, MessageBox::Kind::Error);
    QCOMPARE(MessageBox::shownMessages().first().text,
             QStringLiteral("IMPOSSIBLE DE VISUALISER L'IMAGE !\rLe fichier \"") + photoFile(id) +
                 QStringLiteral("\" a sans doute été supprimé manuellement et n'est plus "
                                "accessible."));
}

void TestPhoto::theMenuFollowsTheDeleteButton()
{
    QMenu* menu = box()->popup();
    QCOMPARE(menu->objectName(), QStringLiteral("Popup_Img"));
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(texts, (QStringList{QStringLiteral("&Sélectionner une image"),
                                 QStringLiteral("Su&pprimer cette image"), QStringLiteral("-"),
                                 QStringLiteral("&Visualiser la image"),
                                 QStringLiteral("&Imprimer la image"), QStringLiteral("-"),
                                 QStringLiteral("&Enregistrer l'image sous ..")}));
    auto enabledItems = [menu]() {
        QStringList on;
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && a->isEnabled())
                on << a->objectName();
        return on;
    };
    // An empty booklet: no animal, only selecting stays offered.
    QVERIFY(!m_app->component<QToolButton>(QStringLiteral("Btn_Delete_Img"))->isEnabled());
    box()->Popup_ImgPopup();
    QCOMPARE(enabledItems(), QStringList{QStringLiteral("Popup_Img_Select")});
    addAnimal(QStringLiteral("Kiki"));
    QVERIFY(m_app->component<QToolButton>(QStringLiteral("Btn_Delete_Img"))->isEnabled());
    box()->Popup_ImgPopup();
    QCOMPARE(enabledItems().size(), 5);
}

void TestPhoto::savingACopyProposesTheName()
{
    const int id = addAnimal(QStringLiteral("Rex"));
    QImage picture(40, 40, QImage::Format_RGB888);
    picture.fill(Qt::red);
    const QString jpeg = m_files.filePath(QStringLiteral("rex.jpg"));
    QVERIFY(writeJpegFile(picture, jpeg, 90).ok);
    select(jpeg);
    FileDialog::clearRequests();

    const QString copy = m_files.filePath(QStringLiteral("copie.jpg"));
    FileDialog::setNextFileName(copy);
    menuAction(box()->popup(), "Popup_Img_Save")->trigger();
    QCOMPARE(FileDialog::requests().size(), 1);
    const FileDialog::Request asked = FileDialog::requests().first();
    QCOMPARE(asked.mode, FileDialog::Mode::Save);
    QCOMPARE(asked.title, QStringLiteral("Enregistrer l'image sous ..."));
    QCOMPARE(asked.filter, QStringLiteral("Image Jpeg|*.jpg"));
    QCOMPARE(QFileInfo(asked.dir).fileName(), QStringLiteral("Rex.jpg"));
    QCOMPARE(readAll(copy), readAll(photoFile(id)));

    // No name: the pattern alone.
    typeOver(m_app->component<QLineEdit>(QStringLiteral("Ed_Name")), QString());
    FileDialog::clearRequests();
    menuAction(box()->popup(), "Popup_Img_Save")->trigger();
    QCOMPARE(QFileInfo(FileDialog::requests().first().dir).fileName(), QStringLiteral("*.jpg"));
}

void TestPhoto::printingOpensThePreviewOnThePhoto()
{
    addAnimal(QStringLiteral("Tom"));
    QImage picture(40, 60, QImage::Format_RGB888);
    picture.fill(Qt::blue);
    const QString bmp = m_files.filePath(QStringLiteral("tom.bmp"));
    QVERIFY(picture.save(bmp, "BMP"));
    select(bmp);

    QString caption;
    int rows = 0;
    bool navigation = true;
    bool printable = false;
    ModalAnswer preview = ModalAnswer::when<TPreviewImage>([&](TPreviewImage* w) {
        caption = w->windowTitle();
        rows = w->rowCount();
        navigation = w->findChild<QToolButton*>(QStringLiteral("Btn_Next"))->isEnabled();
        printable = w->findChild<QToolButton*>(QStringLiteral("Btn_Print"))->isEnabled();
    });
    menuAction(box()->popup(), "Popup_Img_Print")->trigger();
    QVERIFY(preview.seen());
    QCOMPARE(caption, QStringLiteral("Photo (Tom)"));
    QCOMPARE(rows, 1);
    QVERIFY(!navigation);
    QVERIFY(printable);
}

QTEST_MAIN(TestPhoto)
#include "tst_photo.moc"
