#include "MailPeer.h"

#include "mail/MessageSource.h"
#include "mail/MimeMessage.h"
#include "mail/SendJob.h"
#include "mail/SmtpClient.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QtTest>

#include <curl/curl.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

using namespace tav;
using namespace tav::mail;
using tav::test::MailPeer;

namespace {

const QString kUser = QStringLiteral("medor");
const QString kPassword = QStringLiteral("os à ronger");

// A port of 127.0.0.1 where nothing listens: one the system just gave out
// and took back.
int closedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

QStringList names(const QJsonValue& array)
{
    QStringList out;
    for (const QJsonValue& v : array.toArray())
        out.append(v.toString());
    return out;
}

} // namespace

class TestSmtpSending : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void plainDelivery();
    void startTlsWithPassword();
    void implicitTls();
    void certificateIsCheckedByDefault();
    void wrongPasswordIsRefused();
    void serverWithoutStartTls();
    void unreachableServer();
    void rejectedRecipient();
    void aServerThatHangsUpIsSaidInFrench();
    void libcurlsTextIsOnlyADetail_data();
    void libcurlsTextIsOnlyADetail();
    void badServerName();
    void cancelStopsTheSending();
    void jobRunsOffTheCallingThread();

private:
    MailMessage message(const QStringList& attachments = {}) const;
    SmtpServer server(const MailPeer& peer, SmtpSecurity security = SmtpSecurity::None) const;
    SendOutcome send(const SmtpServer& s, const MailMessage& m);

    QTemporaryDir m_dir;
    QString m_attachment;
    QByteArray m_attachmentData;
};

void TestSmtpSending::initTestCase()
{
    QVERIFY(QFile::exists(MailPeer::python()));
    m_attachment = m_dir.filePath(QStringLiteral("Certificat été.pdf"));
    m_attachmentData = QByteArray("%PDF-1.4\n") + QByteArray(300000, '\xE9');
    QFile f(m_attachment);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(m_attachmentData), m_attachmentData.size());
}

MailMessage TestSmtpSending::message(const QStringList& attachments) const
{
    MailMessage m;
    m.from = {QStringLiteral("Clinique"), QStringLiteral("clinique@example.org")};
    m.replyTo = m.from.address;
    m.to = {{QString(), QStringLiteral("owner@example.net")}};
    m.bcc = {{QString(), QStringLiteral("copy@example.net")}};
    m.subject = QStringLiteral("Certificat de vaccination");
    m.body = QStringLiteral("Voici le certificat.");
    m.attachments = attachments;
    return m;
}

SmtpServer TestSmtpSending::server(const MailPeer& peer, SmtpSecurity security) const
{
    SmtpServer s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = peer.port();
    s.security = security;
    s.connectTimeoutSeconds = 10;
    s.stallTimeoutSeconds = 20;
    return s;
}

SendOutcome TestSmtpSending::send(const SmtpServer& s, const MailMessage& m)
{
    ComposeResult composed = compose(m);
    if (!composed.source)
        return {false, false, composed.error};
    return sendMessage(s, m.from.address, m.envelopeRecipients(), *composed.source);
}

void TestSmtpSending::plainDelivery()
{
    MailPeer peer;
    QVERIFY(peer.start());
    const SendOutcome outcome = send(server(peer), message({m_attachment}));
    QVERIFY2(outcome.ok, qPrintable(outcome.message));
    QCOMPARE(peer.messageCount(), 1);

    const QJsonObject envelope = peer.envelope(1);
    QCOMPARE(envelope.value(QStringLiteral("from")).toString(),
             QStringLiteral("clinique@example.org"));
    QCOMPARE(
        names(envelope.value(QStringLiteral("to"))),
        QStringList({QStringLiteral("owner@example.net"), QStringLiteral("copy@example.net")}));
    QCOMPARE(envelope.value(QStringLiteral("tls")).toBool(), false);

    const QJsonObject p = MailPeer::readMessage(peer.messageFile(1));
    QCOMPARE(p.value(QStringLiteral("body")).toString(), QStringLiteral("Voici le certificat.\n"));
    QVERIFY(!p.value(QStringLiteral("headers")).toObject().contains(QStringLiteral("Cc")));
    const QJsonObject a = p.value(QStringLiteral("attachments")).toArray().first().toObject();
    QCOMPARE(a.value(QStringLiteral("filename")).toString(), QStringLiteral("Certificat été.pdf"));
    QCOMPARE(a.value(QStringLiteral("sha256")).toString().toLatin1(),
             QCryptographicHash::hash(m_attachmentData, QCryptographicHash::Sha256).toHex());
}

void TestSmtpSending::startTlsWithPassword()
{
    MailPeer peer;
    QVERIFY(peer.makeCertificate());
    QVERIFY(peer.start({QStringLiteral("--starttls"), QStringLiteral("--user"), kUser,
                        QStringLiteral("--password"), kPassword}));
    SmtpServer s = server(peer, SmtpSecurity::StartTls);
    s.user = kUser;
    s.password = kPassword;
    s.caFile = peer.certFile();
    const SendOutcome outcome = send(s, message({m_attachment}));
    QVERIFY2(outcome.ok, qPrintable(outcome.message));
    QCOMPARE(peer.messageCount(), 1);
    QCOMPARE(peer.envelope(1).value(QStringLiteral("tls")).toBool(), true);
    QCOMPARE(peer.envelope(1).value(QStringLiteral("login")).toString(), kUser);
}

void TestSmtpSending::implicitTls()
{
    MailPeer peer;
    QVERIFY(peer.makeCertificate());
    QVERIFY(peer.start({QStringLiteral("--tls")}));
    SmtpServer s = server(peer, SmtpSecurity::ImplicitTls);
    s.caFile = peer.certFile();
    const SendOutcome outcome = send(s, message());
    QVERIFY2(outcome.ok, qPrintable(outcome.message));
    QCOMPARE(peer.messageCount(), 1);
    QCOMPARE(peer.envelope(1).value(QStringLiteral("tls")).toBool(), true);
}

void TestSmtpSending::certificateIsCheckedByDefault()
{
    MailPeer peer;
    QVERIFY(peer.makeCertificate());
    QVERIFY(peer.start({QStringLiteral("--starttls")}));
    // A self-signed certificate that nobody asked to trust.
    const SendOutcome outcome = send(server(peer, SmtpSecurity::StartTls), message());
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.message.contains(QStringLiteral("certificat")), qPrintable(outcome.message));
    QCOMPARE(peer.messageCount(), 0);
}

void TestSmtpSending::wrongPasswordIsRefused()
{
    MailPeer peer;
    QVERIFY(peer.makeCertificate());
    QVERIFY(peer.start({QStringLiteral("--starttls"), QStringLiteral("--user"), kUser,
                        QStringLiteral("--password"), kPassword}));
    SmtpServer s = server(peer, SmtpSecurity::StartTls);
    s.user = kUser;
    s.password = QStringLiteral("croquettes");
    s.caFile = peer.certFile();
    const SendOutcome outcome = send(s, message());
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.message.contains(QStringLiteral("mot de passe")), qPrintable(outcome.message));
    QCOMPARE(peer.messageCount(), 0);
}

void TestSmtpSending::serverWithoutStartTls()
{
    MailPeer peer;
    QVERIFY(peer.start());
    // Asked for an encrypted connection, the client must not fall back to
    // plain text.
    const SendOutcome outcome = send(server(peer, SmtpSecurity::StartTls), message());
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.message.contains(QStringLiteral("STARTTLS")), qPrintable(outcome.message));
    QCOMPARE(peer.messageCount(), 0);
}

void TestSmtpSending::unreachableServer()
{
    const int port = closedPort();
    QVERIFY(port > 0);
    SmtpServer s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = port;
    const SendOutcome outcome = send(s, message());
    QVERIFY(!outcome.ok);
    QVERIFY(!outcome.cancelled);
    const QStringList lines = outcome.message.split(QLatin1Char('\r'));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(
        lines[0],
        QStringLiteral("Impossible de joindre le serveur SMTP « 127.0.0.1 » (port %1).").arg(port));
    QVERIFY2(lines[1].startsWith(QStringLiteral("Détail : ")), qPrintable(lines[1]));
}

void TestSmtpSending::aServerThatHangsUpIsSaidInFrench()
{
    // A peer that takes the connection and closes it without a word.
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    QCOMPARE(::listen(fd, 1), 0);
    QCOMPARE(::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length), 0);
    std::thread peer([fd] {
        const int client = ::accept(fd, nullptr, nullptr);
        if (client >= 0)
            ::close(client);
    });
    SmtpServer s;
    s.host = QStringLiteral("127.0.0.1");
    s.port = ntohs(address.sin_port);
    s.connectTimeoutSeconds = 10;
    s.stallTimeoutSeconds = 10;
    const SendOutcome outcome = send(s, message());
    peer.join();
    ::close(fd);
    QVERIFY(!outcome.ok);
    const QStringList lines = outcome.message.split(QLatin1Char('\r'));
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], QStringLiteral("La connexion avec le serveur SMTP « 127.0.0.1 » (port %1) a "
                                      "été interrompue.")
                           .arg(s.port));
    QVERIFY2(lines[1].startsWith(QStringLiteral("Détail : ")), qPrintable(lines[1]));
}

void TestSmtpSending::libcurlsTextIsOnlyADetail_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("libraryText");
    QTest::addColumn<long>("response");
    QTest::addColumn<QString>("sentence");
    const auto row = [](const char* name, int code, const char* text, long response,
                        const QString& sentence) {
        QTest::newRow(name) << code << QString::fromUtf8(text) << response << sentence;
    };
    const QString where = QStringLiteral("« smtp.example.fr » (port 587)");
    row("resolve", CURLE_COULDNT_RESOLVE_HOST, "Could not resolve host: smtp.example.fr", 0,
        QStringLiteral("Le serveur SMTP %1 est introuvable.").arg(where));
    row("connect", CURLE_COULDNT_CONNECT, "Failed to connect to smtp.example.fr port 587", 0,
        QStringLiteral("Impossible de joindre le serveur SMTP %1.").arg(where));
    row("login", CURLE_LOGIN_DENIED, "Login denied", 535,
        QStringLiteral("Le serveur SMTP %1 a refusé le nom d'utilisateur ou le mot de passe.")
            .arg(where));
    row("certificate", CURLE_PEER_FAILED_VERIFICATION,
        "SSL certificate problem: self-signed certificate", 0,
        QStringLiteral("Le certificat du serveur SMTP %1 n'a pas pu être vérifié.").arg(where));
    row("tls handshake", CURLE_SSL_CONNECT_ERROR, "OpenSSL SSL_connect: Connection reset by peer",
        0, QStringLiteral("La connexion chiffrée avec le serveur SMTP %1 a échoué.").arg(where));
    row("client certificate", CURLE_SSL_CERTPROBLEM, "could not load PEM client certificate", 0,
        QStringLiteral("La connexion chiffrée avec le serveur SMTP %1 a échoué.").arg(where));
    row("no starttls", CURLE_USE_SSL_FAILED, "STARTTLS not supported.", 0,
        QStringLiteral("Le serveur SMTP %1 n'accepte pas de connexion chiffrée (STARTTLS).")
            .arg(where));
    row("timeout", CURLE_OPERATION_TIMEDOUT, "Connection timed out after 30001 milliseconds", 0,
        QStringLiteral("Le serveur SMTP %1 ne répond pas dans le délai imparti.").arg(where));
    row("received nothing", CURLE_GOT_NOTHING, "Server returned nothing (no headers, no data)", 0,
        QStringLiteral("La connexion avec le serveur SMTP %1 a été interrompue.").arg(where));
    row("receive", CURLE_RECV_ERROR, "Failure when receiving data from the peer", 0,
        QStringLiteral("La connexion avec le serveur SMTP %1 a été interrompue.").arg(where));
    row("not smtp", CURLE_WEIRD_SERVER_REPLY, "Got unexpected smtp-server response: 500", 500,
        QStringLiteral("Le serveur SMTP %1 a fait une réponse inattendue : est-ce bien un serveur "
                       "de courrier ?")
            .arg(where));
    row("recipient", CURLE_RECV_ERROR, "RCPT failed: 550", 550,
        QStringLiteral("Le serveur SMTP a refusé un destinataire (réponse 550)."));
    row("sender", CURLE_SEND_ERROR, "MAIL failed: 553", 553,
        QStringLiteral("Le serveur SMTP a refusé l'expéditeur (réponse 553)."));
    row("unknown", CURLE_SEND_ERROR + 1000, "Something libcurl says", 0,
        QStringLiteral("L'envoi du message au serveur SMTP %1 a échoué.").arg(where));
}

void TestSmtpSending::libcurlsTextIsOnlyADetail()
{
    QFETCH(int, code);
    QFETCH(QString, libraryText);
    QFETCH(long, response);
    QFETCH(QString, sentence);
    SmtpServer s;
    s.host = QStringLiteral("smtp.example.fr");
    s.port = 587;
    const QString text = sendFailureText(code, s, libraryText, response);
    QCOMPARE(text, sentence + QStringLiteral("\rDétail : ") + libraryText);
}

void TestSmtpSending::rejectedRecipient()
{
    MailPeer peer;
    QVERIFY(peer.start({QStringLiteral("--reject"), QStringLiteral("copy@example.net")}));
    const SendOutcome outcome = send(server(peer), message());
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.message.contains(QStringLiteral("refusé un destinataire")),
             qPrintable(outcome.message));
    QVERIFY(outcome.message.contains(QStringLiteral("550")));
    QCOMPARE(peer.messageCount(), 0);
}

void TestSmtpSending::badServerName()
{
    MessageSource source;
    SmtpServer s;
    s.host = QStringLiteral("evil.example/x?y");
    const SendOutcome outcome =
        sendMessage(s, QStringLiteral("a@b.fr"), {QStringLiteral("c@d.fr")}, source);
    QVERIFY(!outcome.ok);
    QVERIFY(outcome.message.contains(QStringLiteral("n'est pas valide")));
}

void TestSmtpSending::cancelStopsTheSending()
{
    MailPeer peer;
    QVERIFY(peer.start());
    const QString big = m_dir.filePath(QStringLiteral("big.bin"));
    QFile f(big);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QVERIFY(f.resize(8 * 1024 * 1024));
    f.close();
    MailMessage m = message({big});
    ComposeResult composed = compose(m);
    QVERIFY(composed.source);
    std::atomic_bool cancel{false};
    qint64 seen = 0;
    const SendOutcome outcome = sendMessage(server(peer), m.from.address, m.envelopeRecipients(),
                                            *composed.source, &cancel, [&](qint64 sent) {
                                                seen = sent;
                                                if (sent > 1024 * 1024)
                                                    cancel = true;
                                            });
    QVERIFY(!outcome.ok);
    QVERIFY(outcome.cancelled);
    QVERIFY(seen < composed.source->totalSize());
    QCOMPARE(peer.messageCount(), 0);
}

void TestSmtpSending::jobRunsOffTheCallingThread()
{
    MailPeer peer;
    QVERIFY(peer.start());
    const MailMessage m = message({m_attachment});
    ComposeResult composed = compose(m);
    QVERIFY(composed.source);
    const qint64 total = composed.source->totalSize();
    SendJob job(server(peer), m.from.address, m.envelopeRecipients(), std::move(composed.source));
    QSignalSpy progressed(&job, &SendJob::progressed);
    QSignalSpy finished(&job, &SendJob::finished);
    job.start();
    QVERIFY(job.isRunning());
    QVERIFY(finished.wait(30000));
    QVERIFY(!job.isRunning());
    const auto outcome = finished.first().first().value<SendOutcome>();
    QVERIFY2(outcome.ok, qPrintable(outcome.message));
    QVERIFY(!progressed.isEmpty());
    QCOMPARE(progressed.last().first().toLongLong(), total);
    QCOMPARE(peer.messageCount(), 1);
}

QTEST_GUILESS_MAIN(TestSmtpSending)
#include "tst_smtpsending.moc"
