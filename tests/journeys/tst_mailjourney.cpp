#include "FilledBooklet.h"
#include "MailPeer.h"
#include "ModalAnswer.h"
#include "TestInput.h"
#include "TestText.h"

#include "dialogs/TEnterProperties.h"
#include "dialogs/TSendEmail.h"
#include "mail/MailDraft.h"
#include "mail/SecretStore.h"
#include "ui/MessageBox.h"

#include <QAbstractButton>
#include <QAction>
#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using namespace tav;
using tav::test::FilledBooklet;
using tav::test::MailPeer;
using tav::test::ModalAnswer;
using Facts = FilledBooklet::Facts;

// From the Documents page through the e-mail window to a local SMTP server,
// the message read back by Python's email package.
class TestMailJourney : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void anAttachedFileGoesAsThePageDescribesIt();
    void aPictureGoesUnderItsTitle();

private:
    // Clicks the page's e-mail button, fills the window and sends; the
    // attachment lines the window showed.
    QStringList send(const char* button, const QString& subject);
    QJsonObject lastMessage() const
    {
        return MailPeer::readMessage(m_peer.messageFile(m_peer.messageCount()));
    }

    std::unique_ptr<FilledBooklet> m_booklet;
    mail::MemorySecretStore m_secrets;
    MailPeer m_peer;
};

void TestMailJourney::initTestCase()
{
    QVERIFY(m_peer.start());
    // The desktop's keyring is outside the program.
    mail::setSecretStore(&m_secrets);
    m_booklet = std::make_unique<FilledBooklet>();
    m_booklet->startAndFill();
    if (QTest::currentTestFailed())
        return;

    // The sending settings, typed into the preferences window.
    const auto answer = ModalAnswer::when<TEnterProperties>([this](TEnterProperties* w) {
        for (const auto& [name, text] : {std::pair{"Ed_SMTP_Name", u("Claire Dubois")},
                                         std::pair{"Ed_SMTP_Email", u("claire@example.org")},
                                         std::pair{"Ed_SMTP_Host", u("127.0.0.1")},
                                         std::pair{"Ed_SMTP_Port", QString::number(m_peer.port())}})
            w->findChild<QLineEdit*>(QString::fromLatin1(name))->setText(text);
        w->findChild<QPushButton*>(QStringLiteral("Btn_Ok"))->click();
    });
    QVERIFY(m_booklet->showPage(u("Documents")));
    QAction* preferences = m_booklet->action("Item_Proprietes");
    QVERIFY(preferences);
    preferences->trigger();
    QVERIFY(answer.seen());
    // The page shown enables its e-mail buttons as soon as the settings
    // allow sending, without the user leaving it.
}

void TestMailJourney::cleanupTestCase()
{
    m_booklet.reset();
    mail::setSecretStore(nullptr);
    m_peer.stop();
}

void TestMailJourney::init()
{
    MessageBox::clearShownMessages();
}

QStringList TestMailJourney::send(const char* button, const QString& subject)
{
    QStringList shown;
    const auto answer = ModalAnswer::when<TSendEmail>([&](TSendEmail* w) {
        shown = w->attachments();
        typeText(w->findChild<QLineEdit*>(u("Ed_To")), u("proprietaire@example.net"));
        typeText(w->findChild<QLineEdit*>(u("Ed_Subject")), subject);
        typeText(w->findChild<QPlainTextEdit*>(u("Memo_Body")), u("Bonjour,\nvoici le document."));
        w->findChild<QPushButton*>(u("Btn_Ok"))->click();
        QTRY_VERIFY_WITH_TIMEOUT(!w->isVisible(), 30000);
    });
    auto* b = m_booklet->component<QAbstractButton>(button);
    if (!b || !b->isEnabled())
        return {};
    b->click();
    return answer.seen() ? shown : QStringList();
}

void TestMailJourney::anAttachedFileGoesAsThePageDescribesIt()
{
    auto* grid = m_booklet->component<QTableView>("Grid_Document_File");
    QVERIFY(grid);
    QCOMPARE(grid->model()->rowCount(), 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(0, 1)).center());
    const QString type = grid->model()->index(0, 2).data().toString();
    const QString size = grid->model()->index(0, 3).data().toString();
    QCOMPARE(size, u("4 Ko"));

    const QStringList shown = send("Btn_Document_File_Email", u("Résultats d'analyses"));
    QCOMPARE(shown.size(), 1);
    // The window shows the row the user chose: its type, its size, and the
    // estimate of the sending follows that size.
    QCOMPARE(mail::attachmentField(shown[0], 2), type);
    QCOMPARE(mail::attachmentField(shown[0], 3), size);
    QCOMPARE(mail::sizeEstimate(shown), 4000 + 4000 / 3);
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().at(0).text, u("Le message a bien été expédié."));

    QCOMPARE(m_peer.messageCount(), 1);
    QCOMPARE(m_peer.envelope(1).value(u("from")).toString(), u("claire@example.org"));
    const QJsonObject message = lastMessage();
    QVERIFY(message.value(u("defects")).toArray().isEmpty());
    const QJsonObject headers = message.value(u("headers")).toObject();
    QCOMPARE(headers.value(u("Subject")).toArray().at(0).toString(), u("Résultats d'analyses"));
    QVERIFY(headers.value(u("From")).toArray().at(0).toString().contains(u("Claire Dubois")));
    QCOMPARE(headers.value(u("To")).toArray().at(0).toString(), u("proprietaire@example.net"));
    QVERIFY(message.value(u("body")).toString().contains(u("voici le document.")));
    const QJsonArray parts = message.value(u("attachments")).toArray();
    QCOMPARE(parts.size(), 1);
    const QJsonObject part = parts[0].toObject();
    QCOMPARE(part.value(u("filename")).toString(), u(Facts::documentFile));
    const QByteArray content = FilledBooklet::documentBytes();
    QCOMPARE(part.value(u("size")).toInt(), int(content.size()));
    QCOMPARE(
        part.value(u("sha256")).toString(),
        QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha256).toHex()));
}

void TestMailJourney::aPictureGoesUnderItsTitle()
{
    auto* list = m_booklet->component<QListWidget>("ListView_Document_Img");
    QVERIFY(list);
    QCOMPARE(list->count(), 1);
    list->item(0)->setSelected(true);
    const int before = m_peer.messageCount();

    const QStringList shown = send("Btn_Document_Img_Email", u("Radio"));
    QCOMPARE(shown.size(), 1);
    QCOMPARE(mail::attachmentField(shown[0], 2), u("Image JPEG"));
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().at(0).text, u("Le message a bien été expédié."));

    QCOMPARE(m_peer.messageCount(), before + 1);
    const QJsonArray parts = lastMessage().value(u("attachments")).toArray();
    QCOMPARE(parts.size(), 1);
    const QJsonObject part = parts[0].toObject();
    QCOMPARE(part.value(u("filename")).toString(), u(Facts::imageTitle) + u(".jpg"));
    QCOMPARE(part.value(u("type")).toString(), u("image/jpeg"));
    // The size the window announced is the size that went.
    QCOMPARE(mail::attachmentField(shown[0], 3),
             QString::number(part.value(u("size")).toInt() / 1000) + u(" Ko"));
}

QTEST_MAIN(TestMailJourney)
#include "tst_mailjourney.moc"
