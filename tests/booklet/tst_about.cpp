#include "AppFixture.h"
#include "ModalAnswer.h"

#include "booklet/TMainForm.h"
#include "dialogs/TAbout.h"
#include "ui/MessageBox.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>
#include <QtTest>

using namespace tav;

// Receives the addresses that the program asks the desktop to open.
class FolderCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened.append(url); }
};

class TestAbout : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void tellsWhereTheRunningBookletLives();
    void folderLinksOpenTheFoldersInTheFileManager();
    void copiesEverythingForASupportRequest();
    void showsTheLicenceDeliveredWithTheProgram();

private:
    // Opens the window from the menu and runs check on it.
    void withAbout(const std::function<void(TAbout*)>& check);
    static QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

    std::unique_ptr<AppFixture> m_app;
    FolderCatcher m_catcher;
};

void TestAbout::init()
{
    MessageBox::clearShownMessages();
    m_catcher.opened.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &m_catcher, "open");
    m_app = std::make_unique<AppFixture>();
    m_app->installTemplate();
    QVERIFY(m_app->start());
}

void TestAbout::cleanup()
{
    m_app.reset();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
}

void TestAbout::withAbout(const std::function<void(TAbout*)>& check)
{
    auto* item = m_app->startup()->mainForm()->findChild<QAction*>(QStringLiteral("Item_APropos"));
    QVERIFY(item);
    QVERIFY(item->isEnabled());
    QCOMPARE(item->text(), QString::fromUtf8("&À propos de Tavirune"));
    const auto answer = test::ModalAnswer::when<TAbout>([&check](TAbout* w) {
        const QString shots = qEnvironmentVariable("TAVIRUNE_SCREENSHOTS");
        if (!shots.isEmpty()) {
            w->resize(800, 600);
            w->grab().save(shots + QStringLiteral("/about.png"));
        }
        check(w);
    });
    item->trigger();
    QVERIFY(answer.seen());
}

void TestAbout::tellsWhereTheRunningBookletLives()
{
    withAbout([this](TAbout* w) {
        auto text = [w](const char* name) {
            auto* label = w->findChild<QLabel*>(QString::fromLatin1(name));
            return label ? label->text() : QStringLiteral("(absent)");
        };
        QVERIFY(text("Lab_Program").contains(QStringLiteral("Tavirune")));
        QVERIFY(text("Lab_Program").contains(QStringLiteral("1.")));
        QVERIFY(text("Lab_Licence").contains(QStringLiteral("GPL-3.0-or-later")));
        // The data folder of this run, not a default place.
        const QString data = QDir::toNativeSeparators(m_app->dataFolder());
        QVERIFY2(text("Lab_DataFolder").contains(data.toHtmlEscaped()),
                 qPrintable(text("Lab_DataFolder")));
        QVERIFY2(text("Lab_Database").contains(QStringLiteral("TAVIRUNE.MDB")),
                 qPrintable(text("Lab_Database")));
        QVERIFY(text("Lab_Database").contains(data.toHtmlEscaped()));
        QVERIFY(text("Lab_Settings").contains(QStringLiteral(".ini"), Qt::CaseInsensitive));
        // The delivered template carries the program's version.
        QVERIFY(QRegularExpression(QStringLiteral("^1\\.\\d+$"))
                    .match(text("Lab_SchemaVersion"))
                    .hasMatch());
        QCOMPARE(text("Lab_Qt"), QString::fromLatin1(qVersion()));
        QVERIFY2(QRegularExpression(QStringLiteral("^3\\.\\d+\\.\\d+$"))
                     .match(text("Lab_Sqlite"))
                     .hasMatch(),
                 qPrintable(text("Lab_Sqlite")));
    });
}

void TestAbout::folderLinksOpenTheFoldersInTheFileManager()
{
    QStringList opened;
    withAbout([this, &opened](TAbout* w) {
        for (const char* name : {"Lab_DataFolder", "Lab_Database", "Lab_Settings"}) {
            auto* label = w->findChild<QLabel*>(QString::fromLatin1(name));
            QVERIFY(label);
            const QRegularExpressionMatch link =
                QRegularExpression(QStringLiteral("href=\"([^\"]+)\"")).match(label->text());
            QVERIFY2(link.hasMatch(), name);
            // What a click on the link sends.
            emit label->linkActivated(link.captured(1));
        }
        for (const QUrl& url : m_catcher.opened)
            opened.append(canonical(url.toLocalFile()));
    });
    QCOMPARE(opened.size(), 3);
    QCOMPARE(opened.at(0), canonical(m_app->dataFolder()));
    // A file's link opens the folder holding it.
    QVERIFY2(opened.at(1).startsWith(canonical(m_app->dataFolder())) &&
                 QFileInfo::exists(opened.at(1) + QStringLiteral("/TAVIRUNE.MDB")),
             qPrintable(opened.at(1)));
    QVERIFY(QFileInfo(opened.at(2)).isDir());
}

void TestAbout::copiesEverythingForASupportRequest()
{
    QApplication::clipboard()->clear();
    withAbout([](TAbout* w) {
        auto* copy = w->findChild<QPushButton*>(QStringLiteral("Btn_Copy"));
        QVERIFY(copy);
        copy->click();
    });
    const QString copied = QApplication::clipboard()->text();
    const QString data = QDir::toNativeSeparators(m_app->dataFolder());
    for (const QString& part : QStringList{
             QStringLiteral("Tavirune version 1."), QStringLiteral("GPL-3.0-or-later"),
             QString::fromUtf8("Dossier des données : ") + data,
             QString::fromUtf8("Base de données : ") + data, QStringLiteral("TAVIRUNE.MDB"),
             QStringLiteral("Version de la base : 1."), QString::fromUtf8("Fichier de réglages : "),
             QStringLiteral("Version de Qt : ") + QString::fromLatin1(qVersion()),
             QStringLiteral("Version de SQLite : 3.")})
        QVERIFY2(copied.contains(part), qPrintable(part + QStringLiteral(" in ") + copied));
}

void TestAbout::showsTheLicenceDeliveredWithTheProgram()
{
    QString shown;
    withAbout([&shown](TAbout* w) {
        auto reader = test::ModalAnswer::when<QDialog>([&shown](QDialog* licence) {
            if (auto* memo = licence->findChild<QPlainTextEdit*>(QStringLiteral("Memo_Licence")))
                shown = memo->toPlainText();
        });
        w->findChild<QPushButton*>(QStringLiteral("Btn_Licence"))->click();
        QVERIFY(reader.seen());
    });
    QVERIFY(shown.contains(QStringLiteral("GNU GENERAL PUBLIC LICENSE")));
    QVERIFY(shown.contains(QStringLiteral("Version 3, 29 June 2007")));
    // The whole text, not a summary of it.
    QVERIFY(shown.size() > 30000);
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
