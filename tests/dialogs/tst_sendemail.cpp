#include "MailPeer.h"

#include "core/FileRoutines.h"
#include "core/Settings.h"
#include "dialogs/TSendEmail.h"
#include "mail/MailDraft.h"
#include "mail/SecretStore.h"
#include "ui/MessageBox.h"
#include "ui/TNewGauge.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using namespace tav;
using tav::test::MailPeer;

namespace {

// Notes the maximum of every progress window at the moment it shows.
class GaugeWatch : public QObject
{
public:
    GaugeWatch() { qApp->installEventFilter(this); }
    ~GaugeWatch() override { qApp->removeEventFilter(this); }
    QList<int> shownMaximums;

protected:
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* gauge = qobject_cast<TNewGauge*>(object))
                shownMaximums.append(gauge->maximum());
        }
        return false;
    }
};

template <typename T> T* child(QWidget* window, const char* name)
{
    return window->findChild<T*>(QString::fromLatin1(name));
}

} // namespace

class TestSendEmail : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layoutAndTabOrder();
    void okFollowsRecipientOrSubject();
    void attachmentGridShowsTheEntries();
    void sendsThroughTheServerAndCloses();
    void failureKeepsTheWindowAndRetrySendsAnew();
    void invalidAddressNamesTheField();
    void progressWindowFollowsTheEstimate();
    void cancelStopsASendingInProgress();
    void passwordComesFromTheSecretStore();

private:
    Settings settingsFor(const MailPeer& peer) const;
    QString makeFile(const QString& name, qint64 size);
    void addFile(TSendEmail& window, const QString& path);
    static void send(TSendEmail& window);

    QTemporaryDir m_dir;
    mail::MemorySecretStore m_secrets;
};

void TestSendEmail::initTestCase()
{
    MessageBox::setTestMode(true);
}

void TestSendEmail::init()
{
    MessageBox::clearShownMessages();
}

void TestSendEmail::cleanup()
{
    MessageBox::clearShownMessages();
}

Settings TestSendEmail::settingsFor(const MailPeer& peer) const
{
    Settings s;
    s.smtpName = QStringLiteral("Dr @ Vet");
    s.smtpEmail = QStringLiteral("vet@example.org");
    s.smtpHost = QStringLiteral("127.0.0.1");
    s.smtpPort = peer.port();
    return s;
}

QString TestSendEmail::makeFile(const QString& name, qint64 size)
{
    const QString path = m_dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.resize(size);
    return path;
}

void TestSendEmail::addFile(TSendEmail& window, const QString& path)
{
    const QFileInfo info(path);
    window.addAttachment(mail::attachmentEntry(static_cast<int>(window.attachments().size()) + 1,
                                               path, QStringLiteral("Document PDF"),
                                               sizeInKo(info.size())),
                         QPixmap());
}

void TestSendEmail::send(TSendEmail& window)
{
    QTest::mouseClick(child<QPushButton>(&window, "Btn_Ok"), Qt::LeftButton);
}

void TestSendEmail::layoutAndTabOrder()
{
    Settings s;
    TSendEmail window(s, m_secrets);
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Envoyer un email"));
    QCOMPARE(window.size(), QSize(327, 460));
    const QStringList order = {QStringLiteral("Ed_To"),         QStringLiteral("Ed_CC"),
                               QStringLiteral("Ed_Subject"),    QStringLiteral("Check_Priority"),
                               QStringLiteral("Check_Confirm"), QStringLiteral("Memo_Body")};
    QWidget* w = child<QLineEdit>(&window, "Ed_To");
    for (int i = 1; i < order.size(); ++i) {
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || !w->isVisible())
            w = w->nextInFocusChain();
        QCOMPARE(w->objectName(), order[i]);
    }
    auto* grid = child<QTableWidget>(&window, "Grid_AttachmentsList");
    QCOMPARE(grid->focusPolicy(), Qt::NoFocus);
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->rowHeight(0), 45);
    QCOMPARE(child<QLineEdit>(&window, "Ed_To")->palette().color(QPalette::Base),
             QColor(255, 255, 242));
    QVERIFY(!child<QCheckBox>(&window, "Check_Priority")->isChecked());
    QVERIFY(!child<QCheckBox>(&window, "Check_Confirm")->isChecked());
}

void TestSendEmail::okFollowsRecipientOrSubject()
{
    Settings s;
    TSendEmail window(s, m_secrets);
    window.show();
    auto* ok = child<QPushButton>(&window, "Btn_Ok");
    auto* to = child<QLineEdit>(&window, "Ed_To");
    auto* subject = child<QLineEdit>(&window, "Ed_Subject");
    QVERIFY(!ok->isEnabled());
    QTest::keyClicks(subject, QStringLiteral("Radio"));
    QVERIFY(ok->isEnabled());
    QTest::keyClicks(to, QStringLiteral("a@b.fr"));
    subject->clear();
    QVERIFY(ok->isEnabled());
    to->clear();
    QVERIFY(!ok->isEnabled());
    // The copy field alone does not count.
    QTest::keyClicks(child<QLineEdit>(&window, "Ed_CC"), QStringLiteral("a@b.fr"));
    QVERIFY(!ok->isEnabled());
}

void TestSendEmail::attachmentGridShowsTheEntries()
{
    Settings s;
    TSendEmail window(s, m_secrets);
    const QString path = makeFile(QStringLiteral("Radio été.pdf"), 12 * 1024);
    addFile(window, path);
    window.show();
    auto* grid = child<QTableWidget>(&window, "Grid_AttachmentsList");
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Radio été.pdf"));
    QCOMPARE(grid->currentRow(), 0);
    QVERIFY(!grid->item(1, 0));

    // The current row is drawn in its frame, the icon box at 6 pixels.
    QCoreApplication::processEvents();
    const QImage shot = grid->viewport()->grab().toImage();
    QCOMPARE(QColor(shot.pixel(2, 2)), QColor(167, 192, 233));
    QCOMPARE(QColor(shot.pixel(4, 20)), QColor(231, 235, 248));
    QCOMPARE(QColor(shot.pixel(6, 20)), QColor(230, 229, 225));
    QCOMPARE(QColor(shot.pixel(20, 60)), QColor(Qt::white));
}

void TestSendEmail::sendsThroughTheServerAndCloses()
{
    MailPeer peer;
    QVERIFY(peer.start());
    const Settings s = settingsFor(peer);
    TSendEmail window(s, m_secrets);
    const QString path = makeFile(QStringLiteral("certificat.pdf"), 5000);
    addFile(window, path);
    window.show();
    QTest::keyClicks(child<QLineEdit>(&window, "Ed_To"), QStringLiteral("owner@example.net"));
    QTest::keyClicks(child<QLineEdit>(&window, "Ed_CC"), QStringLiteral("hidden@example.net"));
    QTest::keyClicks(child<QLineEdit>(&window, "Ed_Subject"), QStringLiteral("Certificat"));
    QTest::keyClicks(child<QPlainTextEdit>(&window, "Memo_Body"), QStringLiteral("Bonjour"));
    child<QCheckBox>(&window, "Check_Priority")->setChecked(true);
    child<QCheckBox>(&window, "Check_Confirm")->setChecked(true);
    send(window);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 30000);
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QCOMPARE(MessageBox::shownMessages().first().kind, MessageBox::Kind::Information);
    QCOMPARE(MessageBox::shownMessages().first().text,
             QStringLiteral("Le message a bien été expédié."));

    QCOMPARE(peer.messageCount(), 1);
    QCOMPARE(peer.envelope(1).value(QStringLiteral("to")).toArray().size(), 2);
    const QJsonObject p = MailPeer::readMessage(peer.messageFile(1));
    const QJsonObject h = p.value(QStringLiteral("headers")).toObject();
    QCOMPARE(h.value(QStringLiteral("From")).toArray().first().toString(),
             QStringLiteral("Dr _ Vet <vet@example.org>"));
    QCOMPARE(h.value(QStringLiteral("X-Priority")).toArray().first().toString(),
             QStringLiteral("2"));
    QCOMPARE(h.value(QStringLiteral("Disposition-Notification-To")).toArray().first().toString(),
             QStringLiteral("vet@example.org"));
    QVERIFY(!h.contains(QStringLiteral("Cc")));
    QCOMPARE(p.value(QStringLiteral("attachments")).toArray().size(), 1);
}

void TestSendEmail::failureKeepsTheWindowAndRetrySendsAnew()
{
    MailPeer peer;
    QVERIFY(peer.start());
    Settings s = settingsFor(peer);
    const int goodPort = s.smtpPort;
    peer.stop();
    TSendEmail window(s, m_secrets);
    window.show();
    QTest::keyClicks(child<QLineEdit>(&window, "Ed_To"), QStringLiteral("owner@example.net"));
    QTest::keyClicks(child<QLineEdit>(&window, "Ed_Subject"), QStringLiteral("Essai"));
    child<QCheckBox>(&window, "Check_Priority")->setChecked(true);
    send(window);
    QTRY_VERIFY_WITH_TIMEOUT(!MessageBox::shownMessages().isEmpty(), 30000);
    QCOMPARE(MessageBox::shownMessages().first().kind, MessageBox::Kind::Error);
    QVERIFY(
        MessageBox::shownMessages().first().text.contains(QStringLiteral("Impossible de joindre")));
    QVERIFY(window.isVisible());
    QCOMPARE(child<QLineEdit>(&window, "Ed_To")->text(), QStringLiteral("owner@example.net"));
    QCOMPARE(child<QLineEdit>(&window, "Ed_Subject")->text(), QStringLiteral("Essai"));
    QVERIFY(child<QPushButton>(&window, "Btn_Ok")->isEnabled());
    QVERIFY(!window.gauge());

    // The server is back; the box is cleared: the new message has no priority.
    MailPeer again;
    QVERIFY(again.start());
    s.smtpPort = again.port();
    Q_UNUSED(goodPort);
    child<QCheckBox>(&window, "Check_Priority")->setChecked(false);
    MessageBox::clearShownMessages();
    send(window);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 30000);
    QCOMPARE(again.messageCount(), 1);
    const QJsonObject h =
        MailPeer::readMessage(again.messageFile(1)).value(QStringLiteral("headers")).toObject();
    QVERIFY(!h.contains(QStringLiteral("X-Priority")));
}

void TestSendEmail::invalidAddressNamesTheField()
{
    Settings s;
    s.smtpEmail = QStringLiteral("vet@example.org");
    s.smtpHost = QStringLiteral("127.0.0.1");
    TSendEmail window(s, m_secrets);
    window.show();
    // A subject alone can be sent, and fails for want of a recipient.
    QTest::keyClicks(child<QLineEdit>(&window, "Ed_Subject"), QStringLiteral("Sans destinataire"));
    send(window);
    QCOMPARE(MessageBox::shownMessages().size(), 1);
    QVERIFY(MessageBox::shownMessages().first().text.contains(QStringLiteral("« Destinataire »")));
    QTest::keyClicks(child<QLineEdit>(&window, "Ed_CC"), QStringLiteral("pas une adresse"));
    QTest::keyClicks(child<QLineEdit>(&window, "Ed_To"), QStringLiteral("a@b.fr"));
    send(window);
    QCOMPARE(MessageBox::shownMessages().size(), 2);
    QVERIFY(MessageBox::shownMessages().last().text.contains(QStringLiteral("« Copie »")));
    QVERIFY(window.isVisible());
    QVERIFY(!window.isSending());
}

void TestSendEmail::progressWindowFollowsTheEstimate()
{
    MailPeer peer;
    QVERIFY(peer.start());
    const Settings s = settingsFor(peer);
    GaugeWatch watch;
    {
        TSendEmail window(s, m_secrets);
        addFile(window, makeFile(QStringLiteral("douze.pdf"), 12 * 1024));
        window.show();
        QTest::keyClicks(child<QLineEdit>(&window, "Ed_To"), QStringLiteral("owner@example.net"));
        send(window);
        QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 30000);
    }
    QCOMPARE(watch.shownMaximums, QList<int>({16001}));
    {
        // Nothing to attach: estimate 0, no progress window.
        TSendEmail window(s, m_secrets);
        addFile(window, makeFile(QStringLiteral("vide.pdf"), 0));
        window.show();
        QTest::keyClicks(child<QLineEdit>(&window, "Ed_To"), QStringLiteral("owner@example.net"));
        send(window);
        QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 30000);
    }
    QCOMPARE(watch.shownMaximums, QList<int>({16001}));
    QCOMPARE(peer.messageCount(), 2);
}

void TestSendEmail::cancelStopsASendingInProgress()
{
    MailPeer peer;
    QVERIFY(peer.start());
    const Settings s = settingsFor(peer);
    TSendEmail window(s, m_secrets);
    addFile(window, makeFile(QStringLiteral("gros.bin"), 64 * 1024 * 1024));
    window.show();
    QTest::keyClicks(child<QLineEdit>(&window, "Ed_To"), QStringLiteral("owner@example.net"));
    send(window);
    QVERIFY(window.isSending());
    QVERIFY(!child<QPushButton>(&window, "Btn_Ok")->isEnabled());
    QTest::mouseClick(child<QPushButton>(&window, "Btn_Cancel"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isSending(), 30000);
    QVERIFY(window.isVisible());
    QVERIFY(MessageBox::shownMessages().isEmpty());
    QCOMPARE(peer.messageCount(), 0);
    QCOMPARE(child<QLineEdit>(&window, "Ed_To")->text(), QStringLiteral("owner@example.net"));
    // Not sending any more: "Annuler" closes.
    QTest::mouseClick(child<QPushButton>(&window, "Btn_Cancel"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
}

void TestSendEmail::passwordComesFromTheSecretStore()
{
    MailPeer peer;
    QVERIFY(peer.makeCertificate());
    QVERIFY(peer.start({QStringLiteral("--starttls"), QStringLiteral("--user"),
                        QStringLiteral("clinique"), QStringLiteral("--password"),
                        QStringLiteral("s3cret")}));
    Settings s = settingsFor(peer);
    s.smtpSecurity = 1;
    s.smtpUser = QStringLiteral("clinique");
    s.smtpCaFile = peer.certFile();
    mail::MemorySecretStore secrets;
    QVERIFY(secrets.write(mail::smtpPasswordKey(s.smtpUser, s.smtpHost), QStringLiteral("s3cret"),
                          nullptr));
    TSendEmail window(s, secrets);
    window.show();
    QTest::keyClicks(child<QLineEdit>(&window, "Ed_To"), QStringLiteral("owner@example.net"));
    send(window);
    QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 30000);
    QCOMPARE(peer.messageCount(), 1);
    QCOMPARE(peer.envelope(1).value(QStringLiteral("login")).toString(),
             QStringLiteral("clinique"));
}

QTEST_MAIN(TestSendEmail)
#include "tst_sendemail.moc"
