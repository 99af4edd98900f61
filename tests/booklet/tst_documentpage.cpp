#include "AppFixture.h"
#include "ExifJpeg.h"
#include "GridText.h"
#include "MailPeer.h"
#include "ModalAnswer.h"
#include "SaneTestConfig.h"
#include "TestInput.h"
#include "TestText.h"

#include "booklet/AppContext.h"
#include "booklet/TMainForm.h"
#include "booklet/pages/TDocumentPage.h"
#include "db/Connection.h"
#include "dialogs/TEnterDocument.h"
#include "dialogs/TPreviewImage.h"
#include "dialogs/TSendEmail.h"
#include "documents/DocumentLibrary.h"
#include "mail/MailDraft.h"
#include "mail/SecretStore.h"
#include "media/JpegFile.h"
#include "startup/Startup.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QCryptographicHash>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTabBar>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include <sys/stat.h>

using namespace tav;
using tav::test::ModalAnswer;

namespace {

mode_t modeOf(const QString& path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 0777 : 0;
}

} // namespace

class TestDocumentPage : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void anImageDocumentIsAddedTurnedAndDeleted();
    void anImageWhosePictureWasRemovedByHand();
    void aPhonePhotoIsStoredUpright();
    void anAttachedFileIsOpenedSavedSentAndDeleted();
    void aFileIsMailedAsThePageDescribesIt();
    void filesDroppedFromTheFileManager();
    void aScannedPageBecomesAnImageDocument();

private:
    TDocumentPage* showPage();
    QToolButton* button(const char* name) const
    {
        return m_app->component<QToolButton>(QString::fromLatin1(name));
    }
    Connection& connection() const { return *m_app->startup()->mainForm()->context().connection; }
    int count(const char* table) const
    {
        return connection()
            .scalar(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table))
            .toInt();
    }
    QString databaseFolder() const { return m_app->dataFolder() + QStringLiteral("Data/"); }
    QString picture(const QString& name, int width, int height, QColor colour);
    void addImage(const QString& title, const QString& file);

    std::unique_ptr<AppFixture> m_app;
    std::unique_ptr<SaneTestConfig> m_sane;
    QTemporaryDir m_user;
};

void TestDocumentPage::init()
{
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    FileDialog::clearNextFileNames();
    // The scan button asks SANE for its scanners: only the test one.
    m_sane = std::make_unique<SaneTestConfig>("test-picture \"Color pattern\"\nmode Color\n");
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    QVERIFY(m_app->start());
    QVERIFY(m_app->restartWith({QStringLiteral("INSERT INTO ANIMAL (Name) VALUES ('Médor')")}));
}

void TestDocumentPage::cleanup()
{
    m_app.reset();
    m_sane.reset();
}

TDocumentPage* TestDocumentPage::showPage()
{
    m_app->component<QTabBar>(QStringLiteral("TabNoteBook"))->setCurrentIndex(7);
    return qobject_cast<TDocumentPage*>(m_app->startup()->mainForm()->pages().value(7));
}

QString TestDocumentPage::picture(const QString& name, int width, int height, QColor colour)
{
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(colour);
    const QString path = m_user.filePath(name);
    if (name.endsWith(QStringLiteral(".jpg"))) {
        if (!writeJpegFile(image, path, 95))
            qFatal("the picture cannot be written");
    } else {
        image.save(path);
    }
    return path;
}

void TestDocumentPage::addImage(const QString& title, const QString& file)
{
    auto answer = ModalAnswer::when<TEnterDocument>([&](TEnterDocument* w) {
        QVERIFY(!w->okButton()->isEnabled());
        typeText(w->titleEdit(), title);
        QVERIFY(!w->okButton()->isEnabled());
        FileDialog::setNextFileName(file);
        w->findChild<QPushButton*>(QStringLiteral("Btn_Img"))->click();
        QVERIFY(w->okButton()->isEnabled());
        w->okButton()->click();
    });
    button("Btn_Document_Img_Add")->click();
    QVERIFY(answer.seen());
}

void TestDocumentPage::anImageDocumentIsAddedTurnedAndDeleted()
{
    TDocumentPage* page = showPage();
    QVERIFY(page);
    QVERIFY(button("Btn_Document_Img_Add")->isEnabled());
    QVERIFY(!button("Btn_Document_Img_Edit")->isEnabled());
    QVERIFY(!page->imageMenu()->actions()[1]->isEnabled());

    addImage(u("Radio d'épaule"), picture(u("radio.jpg"), 200, 100, Qt::darkGray));
    QListWidget* list = page->imageList();
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), u("Radio d'épaule"));
    QCOMPARE(list->iconSize(), QSize(90, 90));
    const int id = list->item(0)->data(Qt::UserRole).toInt();
    const QString stored = databaseFolder() + u("Images/Doc%1.jpg").arg(id);
    QVERIFY(QFileInfo::exists(stored));
    QCOMPARE(count("DOCUMENTIMG"), 1);

    list->item(0)->setSelected(true);
    QVERIFY(button("Btn_Document_Img_Edit")->isEnabled());
    // Sending needs the sending settings.
    QVERIFY(!button("Btn_Document_Img_Email")->isEnabled());
    QVERIFY(!page->imageMenu()->actions()[5]->isEnabled());
    QVERIFY(page->imageMenu()->actions()[1]->isEnabled());

    auto answer = ModalAnswer::when<TEnterDocument>([](TEnterDocument* w) {
        QCOMPARE(w->titleEdit()->text(), u("Radio d'épaule"));
        QCOMPARE(w->pictureLabel()->text(), u("Image (200 x 100)"));
        QVERIFY(!w->imageChanged());
        w->findChild<QToolButton*>(QStringLiteral("Btn_Rotation_Right"))->click();
        QCOMPARE(w->pictureLabel()->text(), u("Image (100 x 200)"));
        QVERIFY(w->imageChanged());
        w->titleEdit()->setText(u("Radio de face"));
        w->okButton()->click();
    });
    button("Btn_Document_Img_Edit")->click();
    QVERIFY(answer.seen());
    QCOMPARE(list->item(0)->text(), u("Radio de face"));
    QImage back;
    QVERIFY(readJpegFile(back, stored).ok);
    QCOMPARE(back.size(), QSize(100, 200));

    // The preview shows the document's title and saves under it, never
    // under the stored file's name.
    auto previewed = ModalAnswer::when<TPreviewImage>([](TPreviewImage* w) {
        QVERIFY2(w->windowTitle().contains(u("(Radio de face)")), qPrintable(w->windowTitle()));
        QVERIFY(!w->windowTitle().contains(QStringLiteral("(Doc")));
        w->findChild<QToolButton*>(QStringLiteral("Btn_Save"))->click();
    });
    FileDialog::clearRequests();
    button("Btn_Document_Img_Exe")->click();
    QVERIFY(previewed.seen());
    QVERIFY(!FileDialog::requests().isEmpty());
    QCOMPARE(QFileInfo(FileDialog::requests().last().dir).fileName(), u("Radio de face.jpg"));

    addImage(u("Certificat"), picture(u("certificat.png"), 60, 40, Qt::white));
    list->item(1)->setSelected(true);
    // The window's preview browses every picture, from the one selected.
    int rows = 0;
    int current = -1;
    QString title;
    auto browsed = ModalAnswer::when<TPreviewImage>([&](TPreviewImage* w) {
        rows = w->rowCount();
        current = w->currentRow();
        title = w->windowTitle();
        w->reject();
    });
    button("Btn_Document_Img_Exe")->click();
    QVERIFY(browsed.seen());
    QCOMPARE(rows, 2);
    QCOMPARE(current, 1);
    QVERIFY2(title.contains(u("Document - Image")), qPrintable(title));
    QVERIFY2(title.contains(u("(Certificat)")), qPrintable(title));

    list->item(0)->setSelected(true);
    MessageBox::setNextAnswer(MessageBox::Answer::No);
    button("Btn_Document_Img_Delete")->click();
    QCOMPARE(list->count(), 2);
    list->item(0)->setSelected(true);
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    button("Btn_Document_Img_Delete")->click();
    QCOMPARE(MessageBox::shownMessages().last().text,
             u("Confirmez-vous la suppression de ce document ?"));
    QCOMPARE(list->count(), 1);
    QVERIFY(!QFileInfo::exists(stored));
    QCOMPARE(count("DOCUMENTIMG"), 1);
}

void TestDocumentPage::anImageWhosePictureWasRemovedByHand()
{
    TDocumentPage* page = showPage();
    addImage(u("Ordonnance 12/03"), picture(u("o.jpg"), 40, 40, Qt::red));
    QListWidget* list = page->imageList();
    list->item(0)->setSelected(true);
    const int id = list->item(0)->data(Qt::UserRole).toInt();
    QVERIFY(QFile::remove(databaseFolder() + u("Images/Doc%1.jpg").arg(id)));

    MessageBox::clearShownMessages();
    button("Btn_Document_Img_Save")->click();
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QVERIFY(MessageBox::shownMessages()[0].text.startsWith(u("IMPOSSIBLE DE TROUVER L'IMAGE !")));
    QVERIFY(FileDialog::requests().isEmpty() ||
            FileDialog::requests().last().title != u("Enregistrer l'image sous ..."));

    auto answer = ModalAnswer::when<TEnterDocument>([](TEnterDocument* w) {
        QCOMPARE(w->titleEdit()->text(), u("Ordonnance 12/03"));
        QVERIFY(!w->okButton()->isEnabled());
    });
    button("Btn_Document_Img_Edit")->click();
    QVERIFY(answer.seen());
    QCOMPARE(list->item(0)->text(), u("Ordonnance 12/03"));
}

void TestDocumentPage::aPhonePhotoIsStoredUpright()
{
    TDocumentPage* page = showPage();
    // 160 x 80 pixels as the phone stored them, to be shown 80 x 160.
    QImage sideways(160, 80, QImage::Format_RGB888);
    sideways.fill(QColor(20, 60, 150));
    const QString phone = m_user.filePath(u("IMG_0042.JPG"));
    QVERIFY(writeBytes(phone, test::jpegWithOrientation(sideways, 6)));

    addImage(u("Radio"), phone);
    QImage stored;
    QVERIFY(readJpegFile(stored, databaseFolder() + u("Images/Doc1.jpg")).ok);
    QCOMPARE(stored.size(), QSize(80, 160));

    // Dropped from the file manager, the same.
    QCOMPARE(page->addDroppedFiles({phone}), 1);
    QVERIFY(readJpegFile(stored, databaseFolder() + u("Images/Doc2.jpg")).ok);
    QCOMPARE(stored.size(), QSize(80, 160));
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestDocumentPage::anAttachedFileIsOpenedSavedSentAndDeleted()
{
    TDocumentPage* page = showPage();
    QTableView* grid = m_app->component<QTableView>(QStringLiteral("Grid_Document_File"));
    QVERIFY(grid);
    QAbstractItemModelTester tester(grid->model(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(!button("Btn_Document_File_Delete")->isEnabled());

    // A file gone between the choice and the adding is named, and nothing
    // is added.
    FileDialog::setNextFileName(m_user.filePath(u("absent.pdf")));
    button("Btn_Document_File_Add")->click();
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages()[0].text, u("Fichier \"absent.pdf\" introuvable."));
    QCOMPARE(grid->model()->rowCount(), 0);
    MessageBox::clearShownMessages();

    QByteArray content;
    for (int i = 0; i < 4321; ++i)
        content += char(i * 13 % 256);
    const QString source = m_user.filePath(u("résultats.qqzz"));
    QVERIFY(writeBytes(source, content));
    FileDialog::setNextFileName(source);
    button("Btn_Document_File_Add")->click();
    QCOMPARE(grid->model()->rowCount(), 1);
    QCOMPARE(rowTexts(grid, 0), strings({"", "résultats.qqzz", "QQZZ file", "4 Ko"}));
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), u("Nom"));
    QVERIFY(button("Btn_Document_File_Exe")->isEnabled());

    QUrl opened;
    page->setOpener([&](const QUrl& url) {
        opened = url;
        return true;
    });
    button("Btn_Document_File_Exe")->click();
    QVERIFY(opened.isLocalFile());
    QCOMPARE(QFileInfo(opened.toLocalFile()).fileName(), u("résultats.qqzz"));
    QCOMPARE(readBytes(opened.toLocalFile()), content);
    QCOMPARE(modeOf(opened.toLocalFile()), mode_t(0400));

    const QString target = m_user.filePath(u("copie.qqzz"));
    QVERIFY(writeBytes(target, "mine"));
    FileDialog::setNextFileName(target);
    MessageBox::setNextAnswer(MessageBox::Answer::No);
    button("Btn_Document_File_Save")->click();
    QCOMPARE(readBytes(target), QByteArray("mine"));
    QCOMPARE(FileDialog::requests().last().filter, u("QQZZ file|*.qqzz"));
    FileDialog::setNextFileName(target);
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    button("Btn_Document_File_Save")->click();
    QCOMPARE(readBytes(target), content);

    QStringList sent;
    QByteArray copied;
    mode_t copyMode = 0;
    auto mailed = ModalAnswer::when<TSendEmail>([&](TSendEmail* w) {
        sent = w->attachments();
        // The private copy, as the sending reads it.
        const QString copy = mail::attachmentField(sent.value(0), 1);
        copied = readBytes(copy);
        copyMode = modeOf(copy);
        w->reject();
    });
    Settings& settings = m_app->startup()->mainForm()->context().settings;
    settings.smtpName = u("Claire");
    settings.smtpEmail = u("claire@example.org");
    settings.smtpHost = u("127.0.0.1");
    page->updateButtons();
    QVERIFY(button("Btn_Document_File_Email")->isEnabled());
    button("Btn_Document_File_Email")->click();
    QVERIFY(mailed.seen());
    QCOMPARE(sent.size(), 1);
    QVERIFY(sent[0].startsWith(u("000001%&a%")));
    QVERIFY(sent[0].endsWith(u("%&b%QQZZ file%&c%4 Ko%&d%")));
    QCOMPARE(copied, content);
    QCOMPARE(copyMode, mode_t(0600));

    const QString stored = databaseFolder() + u("Files/File1.f");
    QVERIFY(QFileInfo::exists(stored));
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(grid->model()->rowCount(), 0);
    QVERIFY(!QFileInfo::exists(stored));
    QCOMPARE(count("DOCUMENTFILE"), 0);
    QVERIFY(!button("Btn_Document_File_Exe")->isEnabled());
}

void TestDocumentPage::aFileIsMailedAsThePageDescribesIt()
{
    test::MailPeer peer;
    QVERIFY(peer.start());
    mail::MemorySecretStore secrets;
    mail::setSecretStore(&secrets);
    Settings& settings = m_app->startup()->mainForm()->context().settings;
    settings.smtpName = u("Claire");
    settings.smtpEmail = u("claire@example.org");
    settings.smtpHost = u("127.0.0.1");
    settings.smtpPort = peer.port();
    showPage();

    // 4321 bytes of a type the desktop does not know: "QQZZ file", 4 Ko.
    QByteArray content;
    for (int i = 0; i < 4321; ++i)
        content += char(i * 7 % 256);
    const QString source = m_user.filePath(u("résultats.qqzz"));
    QVERIFY(writeBytes(source, content));
    FileDialog::setNextFileName(source);
    button("Btn_Document_File_Add")->click();
    QVERIFY(button("Btn_Document_File_Email")->isEnabled());

    QStringList shown;
    auto answer = ModalAnswer::when<TSendEmail>([&](TSendEmail* w) {
        shown = w->attachments();
        QTest::keyClicks(w->findChild<QLineEdit*>(u("Ed_To")), u("owner@example.net"));
        QTest::keyClicks(w->findChild<QLineEdit*>(u("Ed_Subject")), u("Analyses"));
        w->findChild<QPushButton*>(u("Btn_Ok"))->click();
        QTRY_VERIFY_WITH_TIMEOUT(!w->isVisible(), 30000);
    });
    button("Btn_Document_File_Email")->click();
    mail::setSecretStore(nullptr);
    QVERIFY(answer.seen());
    QCOMPARE(shown.size(), 1);
    QCOMPARE(mail::attachmentField(shown[0], 2), u("QQZZ file"));
    QCOMPARE(mail::attachmentField(shown[0], 3), u("4 Ko"));
    QCOMPARE(mail::sizeEstimate(shown), 4000 + 4000 / 3);

    QCOMPARE(peer.messageCount(), 1);
    const QJsonObject message = test::MailPeer::readMessage(peer.messageFile(1));
    const QJsonArray parts = message.value(u("attachments")).toArray();
    QCOMPARE(parts.size(), 1);
    const QJsonObject part = parts[0].toObject();
    QCOMPARE(part.value(u("filename")).toString(), u("résultats.qqzz"));
    QCOMPARE(part.value(u("size")).toInt(), 4321);
    QCOMPARE(
        part.value(u("sha256")).toString(),
        QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex()));
}

void TestDocumentPage::filesDroppedFromTheFileManager()
{
    TDocumentPage* page = showPage();
    const QString png = picture(u("radio genou.png"), 120, 80, Qt::blue);
    const QString text = m_user.filePath(u("notes.txt"));
    QVERIFY(writeBytes(text, "Vermifuge le 3 mars\r\n"));
    const QString empty = m_user.filePath(u("vide.pdf"));
    QVERIFY(writeBytes(empty, {}));
    // A file nobody may read (unless the tests run as root).
    const QString locked = m_user.filePath(u("secret.pdf"));
    QVERIFY(writeBytes(locked, "data"));
    QFile::setPermissions(locked, {});
    const bool lockable = !QFile(locked).open(QIODevice::ReadOnly);

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(png), QUrl::fromLocalFile(text), QUrl::fromLocalFile(empty),
                  QUrl::fromLocalFile(locked)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(page, &drop);

    QCOMPARE(page->imageList()->count(), 1);
    QCOMPARE(page->imageList()->item(0)->text(), u("radio genou"));
    // An empty file is kept as "0 Ko"; the unreadable one is refused and
    // said so once the others are in.
    QCOMPARE(page->fileGrid()->model()->rowCount(), lockable ? 2 : 3);
    QCOMPARE(page->fileGrid()->model()->index(0, 1).data().toString(), u("notes.txt"));
    QCOMPARE(page->fileGrid()->model()->index(1, 1).data().toString(), u("vide.pdf"));
    QCOMPARE(page->fileGrid()->model()->index(1, 3).data().toString(), u("0 Ko"));
    if (lockable) {
        QCOMPARE(MessageBox::shownMessages().size(), 1);
        QVERIFY(MessageBox::shownMessages()[0].text.contains(u("secret.pdf")));
    }
    QCOMPARE(count("DOCUMENTFILE"), lockable ? 2 : 3);
}

void TestDocumentPage::aScannedPageBecomesAnImageDocument()
{
    TDocumentPage* page = showPage();
    Settings& settings = m_app->startup()->mainForm()->context().settings;
    settings.twainSource = u("test:1");
    settings.showTwainUI = false;
    // Stored pictures keep to the preferences, a quality out of range
    // brought back to 100.
    settings.maxWidth = 100;
    settings.jpegQuality = 500;
    auto answer = ModalAnswer::when<TEnterDocument>([](TEnterDocument* w) {
        auto* scan = w->findChild<QPushButton*>(QStringLiteral("Btn_Scan"));
        QVERIFY(scan->isEnabled());
        typeText(w->titleEdit(), u("Certificat de vaccination"));
        scan->click();
        QVERIFY(w->imageChanged());
        QVERIFY(w->okButton()->isEnabled());
        w->okButton()->click();
    });
    button("Btn_Document_Img_Add")->click();
    QVERIFY(answer.seen());
    QVERIFY(MessageBox::shownMessages().isEmpty());
    QCOMPARE(page->imageList()->count(), 1);
    const int id = page->imageList()->item(0)->data(Qt::UserRole).toInt();
    QImage stored;
    QVERIFY(readJpegFile(stored, databaseFolder() + u("Images/Doc%1.jpg").arg(id)).ok);
    // 157 x 196 fitted into 100 x 100.
    QCOMPARE(stored.size(), QSize(80, 100));
}

QTEST_MAIN(TestDocumentPage)
#include "tst_documentpage.moc"
