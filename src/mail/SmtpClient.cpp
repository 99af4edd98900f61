#include "mail/SmtpClient.h"

#include "mail/CurlLibrary.h"
#include "mail/MessageSource.h"

#include "core/TextRoutines.h"

#include <QRegularExpression>

namespace tav::mail {

namespace {

struct Transfer
{
    MessageSource* source = nullptr;
    const std::atomic_bool* cancel = nullptr;
    const std::function<void(qint64)>* progress = nullptr;
    bool readFailed = false;
};

bool cancelled(const Transfer& t)
{
    return t.cancel && t.cancel->load();
}

size_t readMessage(char* buffer, size_t size, size_t count, void* user)
{
    auto* t = static_cast<Transfer*>(user);
    if (cancelled(*t))
        return CURL_READFUNC_ABORT;
    const qint64 n = t->source->read(buffer, static_cast<qint64>(size * count));
    if (n < 0) {
        t->readFailed = true;
        return CURL_READFUNC_ABORT;
    }
    if (t->progress && *t->progress)
        (*t->progress)(t->source->produced());
    return static_cast<size_t>(n);
}

int transferInfo(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    // Called about once a second even while the connection stalls, so a
    // cancel is honoured while waiting for the server too.
    return cancelled(*static_cast<Transfer*>(user)) ? 1 : 0;
}

// Only a name or an address: anything else would change the URL.
bool isValidHost(const QString& host)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^[A-Za-z0-9._-]+$|^[0-9A-Fa-f:.]+$)"));
    return !host.isEmpty() && host.size() <= 253 && pattern.match(host).hasMatch();
}

} // namespace

QString sendFailureText(int curlCode, const SmtpServer& server, const QString& libraryText,
                        long response)
{
    const QString where = QStringLiteral("« %1 » (port %2)").arg(server.host).arg(server.port);
    // libcurl says what went wrong in English: the sentence is the user's,
    // libcurl's text stays as the detail for whoever helps them.
    const auto said = [&libraryText](const QString& sentence) {
        return withDetailLine(sentence, libraryText);
    };
    // A refused address ends the transfer with a sending error code: the
    // server's reply says which.
    if (libraryText.contains(QLatin1String("RCPT failed")))
        return said(
            QStringLiteral("Le serveur SMTP a refusé un destinataire (réponse %1).").arg(response));
    if (libraryText.contains(QLatin1String("MAIL failed")))
        return said(
            QStringLiteral("Le serveur SMTP a refusé l'expéditeur (réponse %1).").arg(response));
    switch (curlCode) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return said(QStringLiteral("Le serveur SMTP %1 est introuvable.").arg(where));
    case CURLE_COULDNT_RESOLVE_PROXY:
        return said(QStringLiteral("Le serveur mandataire (proxy) est introuvable."));
    case CURLE_COULDNT_CONNECT:
        return said(QStringLiteral("Impossible de joindre le serveur SMTP %1.").arg(where));
    case CURLE_OPERATION_TIMEDOUT:
        return said(
            QStringLiteral("Le serveur SMTP %1 ne répond pas dans le délai imparti.").arg(where));
    case CURLE_USE_SSL_FAILED:
        return said(
            QStringLiteral("Le serveur SMTP %1 n'accepte pas de connexion chiffrée (STARTTLS).")
                .arg(where));
    case CURLE_PEER_FAILED_VERIFICATION:
        return said(
            QStringLiteral("Le certificat du serveur SMTP %1 n'a pas pu être vérifié.").arg(where));
    case CURLE_SSL_CACERT_BADFILE:
        return said(QStringLiteral("Le fichier des certificats de confiance « %1 » ne peut pas "
                                   "être lu.")
                        .arg(server.caFile));
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_SSL_CLIENTCERT:
        return said(
            QStringLiteral("La connexion chiffrée avec le serveur SMTP %1 a échoué.").arg(where));
    case CURLE_LOGIN_DENIED:
    case CURLE_AUTH_ERROR:
        return said(
            QStringLiteral("Le serveur SMTP %1 a refusé le nom d'utilisateur ou le mot de passe.")
                .arg(where));
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        return said(
            QStringLiteral("La connexion avec le serveur SMTP %1 a été interrompue.").arg(where));
    case CURLE_WEIRD_SERVER_REPLY:
        return said(QStringLiteral("Le serveur SMTP %1 a fait une réponse inattendue : "
                                   "est-ce bien un serveur de courrier ?")
                        .arg(where));
    case CURLE_OUT_OF_MEMORY:
        return said(QStringLiteral("La mémoire est insuffisante pour envoyer le message."));
    case CURLE_UNSUPPORTED_PROTOCOL:
        return said(
            QStringLiteral("La bibliothèque d'envoi des courriels (libcurl) installée ne sait pas "
                           "envoyer de courrier (SMTP)."));
    default:
        break;
    }
    if (response >= 400)
        return said(
            QStringLiteral("Le serveur SMTP a refusé le message (réponse %1).").arg(response));
    return said(QStringLiteral("L'envoi du message au serveur SMTP %1 a échoué.").arg(where));
}

SendOutcome sendMessage(const SmtpServer& server, const QString& from,
                        const QStringList& recipients, MessageSource& source,
                        const std::atomic_bool* cancel, const std::function<void(qint64)>& progress)
{
    SendOutcome outcome;
    if (!isValidHost(server.host)) {
        outcome.message =
            QStringLiteral("Le nom du serveur SMTP « %1 » n'est pas valide.").arg(server.host);
        return outcome;
    }
    if (server.port < 1 || server.port > 65535) {
        outcome.message = QStringLiteral("Le port SMTP %1 n'est pas valide.").arg(server.port);
        return outcome;
    }
    if (recipients.isEmpty()) {
        outcome.message = QStringLiteral("Le message n'a aucun destinataire.");
        return outcome;
    }

    const CurlLibrary& api = curlLibrary();
    if (!api.error.isEmpty()) {
        outcome.message = api.error;
        return outcome;
    }
    CURL* curl = api.easyInit();
    if (!curl) {
        outcome.message = QStringLiteral("L'envoi du message a échoué : libcurl indisponible.");
        return outcome;
    }
    const QString host =
        server.host.contains(QLatin1Char(':')) ? u'[' + server.host + u']' : server.host;
    const QByteArray url = (server.security == SmtpSecurity::ImplicitTls ? "smtps://" : "smtp://") +
                           host.toLatin1() + ':' + QByteArray::number(server.port);
    const QByteArray mailFrom = '<' + from.toLatin1() + '>';
    const QByteArray user = server.user.toUtf8();
    const QByteArray password = server.password.toUtf8();
    const QByteArray caFile = server.caFile.toLocal8Bit();

    curl_slist* rcpt = nullptr;
    for (const QString& r : recipients)
        rcpt = api.slistAppend(rcpt, QByteArray('<' + r.toLatin1() + '>').constData());

    Transfer transfer{&source, cancel, &progress, false};
    char errorBuffer[CURL_ERROR_SIZE] = {};
    source.rewind();

    api.easySetopt(curl, CURLOPT_URL, url.constData());
    api.easySetopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    api.easySetopt(curl, CURLOPT_NOSIGNAL, 1L);
    api.easySetopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    api.easySetopt(curl, CURLOPT_CONNECTTIMEOUT, static_cast<long>(server.connectTimeoutSeconds));
    api.easySetopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    api.easySetopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(server.stallTimeoutSeconds));
    api.easySetopt(curl, CURLOPT_USE_SSL,
                   server.security == SmtpSecurity::None ? CURLUSESSL_NONE : CURLUSESSL_ALL);
    api.easySetopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    api.easySetopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!caFile.isEmpty())
        api.easySetopt(curl, CURLOPT_CAINFO, caFile.constData());
    if (!user.isEmpty()) {
        api.easySetopt(curl, CURLOPT_USERNAME, user.constData());
        api.easySetopt(curl, CURLOPT_PASSWORD, password.constData());
    }
    api.easySetopt(curl, CURLOPT_MAIL_FROM, mailFrom.constData());
    api.easySetopt(curl, CURLOPT_MAIL_RCPT, rcpt);
    api.easySetopt(curl, CURLOPT_UPLOAD, 1L);
    api.easySetopt(curl, CURLOPT_READFUNCTION, readMessage);
    api.easySetopt(curl, CURLOPT_READDATA, &transfer);
    api.easySetopt(curl, CURLOPT_NOPROGRESS, 0L);
    api.easySetopt(curl, CURLOPT_XFERINFOFUNCTION, transferInfo);
    api.easySetopt(curl, CURLOPT_XFERINFODATA, &transfer);

    const CURLcode code = api.easyPerform(curl);
    long response = 0;
    api.easyGetinfo(curl, CURLINFO_RESPONSE_CODE, &response);
    api.slistFreeAll(rcpt);
    api.easyCleanup(curl);

    if (code == CURLE_OK) {
        outcome.ok = true;
    } else if (transfer.readFailed) {
        outcome.message = source.error();
    } else if (cancelled(transfer)) {
        outcome.cancelled = true;
        outcome.message = QStringLiteral("L'envoi du message a été annulé.");
    } else {
        // The error buffer holds the precise cause; without one, the code's
        // general text.
        QString libraryText = QString::fromUtf8(errorBuffer).trimmed();
        if (libraryText.isEmpty())
            libraryText = QString::fromUtf8(api.easyStrerror(code));
        outcome.message = sendFailureText(code, server, libraryText, response);
    }
    return outcome;
}

} // namespace tav::mail
