#include "ModalAnswer.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace tav;

class TestDialogSeams : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void messagesAreRecordedAndAnsweredFromTheQueue();
    void unansweredQuestionsAreNo();

    void lineBreaksOfTheProgramBecomeNewlines_data();
    void lineBreaksOfTheProgramBecomeNewlines();
    void realQuestionBoxIsFrenchAndPlain();
    void realQuestionBoxAnswers_data();
    void realQuestionBoxAnswers();

    void anAnswerThatStopsEarlyStillClosesTheWindow();
    void anotherModalWindowIsClosedAndNamed();

    void fileDialogsAnswerFromTheQueue();
    void fileDialogsStartAmongTheUsersFiles();
    void barFiltersBecomeQtFilters_data();
    void barFiltersBecomeQtFilters();
};

void TestDialogSeams::init()
{
    MessageBox::setTestMode(true);
    MessageBox::clearShownMessages();
    MessageBox::clearNextAnswers();
    FileDialog::clearNextFileNames();
    FileDialog::clearRequests();
}

void TestDialogSeams::cleanup()
{
    MessageBox::setTestMode(true);
}

void TestDialogSeams::messagesAreRecordedAndAnsweredFromTheQueue()
{
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);
    MessageBox::setNextAnswer(MessageBox::Answer::No);
    MessageBox::setNextAnswer(MessageBox::Answer::Yes);

    QVERIFY(MessageBox::question(nullptr, QStringLiteral("Supprimer ?")));
    QVERIFY(!MessageBox::question(nullptr, QStringLiteral("Vraiment ?")));
    // A plain message takes its answer from the queue like any other.
    QCOMPARE(MessageBox::show(nullptr, MessageBox::Kind::Warning, QStringLiteral("A\rB")),
             MessageBox::Answer::Yes);
    QCOMPARE(MessageBox::show(nullptr, MessageBox::Kind::Information, QStringLiteral("Fin")),
             MessageBox::Answer::Ok);

    const QList<MessageBox::Shown> shown = MessageBox::shownMessages();
    QCOMPARE(shown.size(), 4);
    QCOMPARE(shown.at(0).kind, MessageBox::Kind::Question);
    QCOMPARE(shown.at(0).text, QStringLiteral("Supprimer ?"));
    QCOMPARE(shown.at(1).text, QStringLiteral("Vraiment ?"));
    QCOMPARE(shown.at(2).kind, MessageBox::Kind::Warning);
    // Recorded as the caller wrote it, for comparison with its constants.
    QCOMPARE(shown.at(2).text, QStringLiteral("A\rB"));
    QCOMPARE(shown.at(3).kind, MessageBox::Kind::Information);

    showError(nullptr, QStringLiteral("Disque plein"));
    QCOMPARE(MessageBox::shownMessages().last().kind, MessageBox::Kind::Error);
    QCOMPARE(MessageBox::shownMessages().last().text, QStringLiteral("Disque plein"));

    MessageBox::clearShownMessages();
    QVERIFY(MessageBox::shownMessages().isEmpty());
}

void TestDialogSeams::unansweredQuestionsAreNo()
{
    QVERIFY(!MessageBox::question(nullptr, QStringLiteral("Supprimer ?")));
    QCOMPARE(MessageBox::show(nullptr, MessageBox::Kind::Error, QStringLiteral("x")),
             MessageBox::Answer::Ok);
}

void TestDialogSeams::lineBreaksOfTheProgramBecomeNewlines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("cr") << QStringLiteral("A\r\rB") << QStringLiteral("A\n\nB");
    QTest::newRow("crlf counts once") << QStringLiteral("A\r\nB") << QStringLiteral("A\nB");
    QTest::newRow("mixed") << QStringLiteral("A\r\n\rB\n") << QStringLiteral("A\n\nB\n");
}

void TestDialogSeams::lineBreaksOfTheProgramBecomeNewlines()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(MessageBox::displayText(text), shown);
}

namespace {

QPushButton* buttonWithText(QMessageBox* box, const QString& text)
{
    for (QAbstractButton* button : box->buttons())
        if (button->text() == text)
            return qobject_cast<QPushButton*>(button);
    return nullptr;
}

} // namespace

void TestDialogSeams::realQuestionBoxIsFrenchAndPlain()
{
    MessageBox::setTestMode(false);
    QStringList buttons;
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    const auto answer = test::ModalAnswer::when<QMessageBox>([&](QMessageBox* box) {
        for (QAbstractButton* button : box->buttons())
            buttons.append(button->text());
        title = box->windowTitle();
        text = box->text();
        format = box->textFormat();
    });

    MessageBox::question(nullptr, QStringLiteral("<b>Supprimer</b>\r\nle praticien ?"));
    QVERIFY(answer.seen());

    buttons.sort();
    QCOMPARE(buttons, QStringList({QStringLiteral("Non"), QStringLiteral("Oui")}));
    QCOMPARE(title, QStringLiteral("Tavirune"));
    QCOMPARE(text, QStringLiteral("<b>Supprimer</b>\nle praticien ?"));
    // Texts from the database must never be read as markup.
    QCOMPARE(format, Qt::PlainText);
}

void TestDialogSeams::realQuestionBoxAnswers_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("yes");

    QTest::newRow("Oui") << QStringLiteral("Oui") << true;
    QTest::newRow("Non") << QStringLiteral("Non") << false;
    QTest::newRow("Escape") << QStringLiteral("Escape") << false;
}

void TestDialogSeams::realQuestionBoxAnswers()
{
    QFETCH(QString, action);
    QFETCH(bool, yes);

    MessageBox::setTestMode(false);
    const auto answer = test::ModalAnswer::when<QMessageBox>([action](QMessageBox* box) {
        if (action == QLatin1String("Escape"))
            QTest::keyClick(box, Qt::Key_Escape);
        else
            buttonWithText(box, action)->click();
    });
    QCOMPARE(MessageBox::question(nullptr, QStringLiteral("Supprimer ?")), yes);
    QVERIFY(answer.seen());
}

void TestDialogSeams::anAnswerThatStopsEarlyStillClosesTheWindow()
{
    // An answer that gives up half-way, as a failed QVERIFY does, must not
    // leave the test waiting on a window that nobody closes.
    QDialog dialog;
    bool reached = false;
    const auto answer = test::ModalAnswer::when<QDialog>([&reached](QDialog*) {
        reached = true;
        return;
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(reached);
    QVERIFY(answer.seen());
}

void TestDialogSeams::anotherModalWindowIsClosedAndNamed()
{
    QDialog dialog;
    bool reached = false;
    const auto answer =
        test::ModalAnswer::when<QMessageBox>([&reached](QMessageBox*) { reached = true; });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(!reached);
    QVERIFY(!answer.seen());
    QCOMPARE(answer.other(), QByteArray("QDialog"));
}

void TestDialogSeams::fileDialogsAnswerFromTheQueue()
{
    FileDialog::setNextFileName(QStringLiteral("/tmp/a.jpg"));
    QCOMPARE(FileDialog::getOpenFileName(nullptr, QStringLiteral("Ouvrir"), QStringLiteral("/tmp"),
                                         QStringLiteral("Image Jpeg|*.jpg")),
             QStringLiteral("/tmp/a.jpg"));
    // An empty queue is a cancelled dialog.
    QVERIFY(
        FileDialog::getSaveFileName(nullptr, QStringLiteral("Enregistrer"), QString(), QString())
            .isEmpty());

    const QList<FileDialog::Request> requests = FileDialog::requests();
    QCOMPARE(requests.size(), 2);
    QCOMPARE(requests.at(0).mode, FileDialog::Mode::Open);
    QCOMPARE(requests.at(0).title, QStringLiteral("Ouvrir"));
    QCOMPARE(requests.at(0).dir, QStringLiteral("/tmp"));
    QCOMPARE(requests.at(0).filter, QStringLiteral("Image Jpeg|*.jpg"));
    QCOMPARE(requests.at(1).mode, FileDialog::Mode::Save);

    // Both dialog seams answer to one switch.
    FileDialog::setTestMode(false);
    QVERIFY(!MessageBox::testMode());
    MessageBox::setTestMode(true);
    QVERIFY(FileDialog::testMode());
}

void TestDialogSeams::fileDialogsStartAmongTheUsersFiles()
{
    // A home of the test's own: the user's real Documents folder is neither
    // read nor relied on.
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    const QByteArray oldDocuments = qgetenv("XDG_DOCUMENTS_DIR");
    const auto restore = qScopeGuard([&] {
        qputenv("HOME", oldHome);
        oldConfig.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", oldConfig);
        oldDocuments.isNull() ? qunsetenv("XDG_DOCUMENTS_DIR")
                              : qputenv("XDG_DOCUMENTS_DIR", oldDocuments);
    });
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    qunsetenv("XDG_DOCUMENTS_DIR");
    // The working directory is the program folder: no dialog starts there.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QCOMPARE(documents, home.filePath(QStringLiteral("Documents")));
    FileDialog::getOpenFileName(nullptr, QStringLiteral("Ouvrir"), QString(), QString());
    FileDialog::getSaveFileName(nullptr, QStringLiteral("Enregistrer"),
                                QStringLiteral("Radio patte.jpg"), QString());
    FileDialog::getSaveFileName(nullptr, QStringLiteral("Enregistrer"),
                                QStringLiteral("/srv/data/Export/a.csv"), QString());
    const QList<FileDialog::Request> requests = FileDialog::requests();
    QCOMPARE(requests.size(), 3);
    QCOMPARE(requests.at(0).dir, documents);
    QCOMPARE(requests.at(1).dir, QDir(documents).filePath(QStringLiteral("Radio patte.jpg")));
    QCOMPARE(requests.at(2).dir, QStringLiteral("/srv/data/Export/a.csv"));
}

void TestDialogSeams::barFiltersBecomeQtFilters_data()
{
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QString>("qt");

    QTest::newRow("one") << QStringLiteral("Image Jpeg|*.jpg")
                         << QStringLiteral("Image Jpeg (*.jpg)");
    QTest::newRow("several") << QStringLiteral("Description|*.a;*.b|Other|*.c")
                             << QStringLiteral("Description (*.a *.b);;Other (*.c)");
    QTest::newRow("patterns quoted in the description")
        << QStringLiteral("Tout (*.jpg;*.bmp)|*.jpg;*.bmp|Bitmap (*.bmp)|*.bmp")
        << QStringLiteral("Tout (*.jpg *.bmp);;Bitmap (*.bmp)");
    QTest::newRow("other parentheses kept") << QStringLiteral("Images (conseillé)|*.jpg")
                                            << QString::fromUtf8("Images (conseillé) (*.jpg)");
    QTest::newRow("trailing bar") << QStringLiteral("Tous|*.*|") << QStringLiteral("Tous (*.*)");
    QTest::newRow("spaces around patterns")
        << QStringLiteral("Texte| *.txt ; *.log ") << QStringLiteral("Texte (*.txt *.log)");
    QTest::newRow("description without patterns")
        << QStringLiteral("Texte|*.txt|Tous") << QStringLiteral("Texte (*.txt);;Tous (*)");
    QTest::newRow("already Qt") << QStringLiteral("Texte (*.txt);;Tous (*)")
                                << QStringLiteral("Texte (*.txt);;Tous (*)");
    QTest::newRow("empty") << QString() << QString();
}

void TestDialogSeams::barFiltersBecomeQtFilters()
{
    QFETCH(QString, bar);
    QFETCH(QString, qt);
    QCOMPARE(FileDialog::qtFilter(bar), qt);
}

QTEST_MAIN(TestDialogSeams)
#include "TestDialogSeams.moc"
