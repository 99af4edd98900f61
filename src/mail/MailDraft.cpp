#include "mail/MailDraft.h"

#include "core/Settings.h"
#include "mail/SecretStore.h"

#include <limits>

namespace tav::mail {

namespace {

QString marker(int k)
{
    return QStringLiteral("%&") + QChar(u'a' + k - 1) + u'%';
}

} // namespace

QString attachmentEntry(int id, const QString& path, const QString& typeText,
                        const QString& sizeText)
{
    return QStringLiteral("%1").arg(id, 6, 10, QLatin1Char('0')) + marker(1) + path + marker(2) +
           typeText + marker(3) + sizeText + marker(4);
}

QString attachmentField(const QString& entry, int k)
{
    const QString open = marker(k);
    const qsizetype start = entry.indexOf(open);
    if (start < 0)
        return QString();
    const qsizetype from = start + open.size();
    const qsizetype end = entry.indexOf(marker(k + 1), from);
    if (end < 0)
        return QString();
    return entry.mid(from, end - from);
}

qint64 sizeEstimate(const QStringList& entries)
{
    constexpr qint64 kLimit = std::numeric_limits<qint64>::max() / 2000;
    qint64 sum = 0;
    for (const QString& entry : entries) {
        const QString size = attachmentField(entry, 3);
        const qsizetype ko = size.indexOf(QLatin1String(" Ko"));
        if (ko < 0)
            continue;
        bool ok = false;
        const qint64 n = size.left(ko).toLongLong(&ok);
        if (!ok || n <= 0)
            continue;
        sum += std::min(n, kLimit) * 1000;
        sum = std::min(sum, kLimit * 1000);
    }
    return sum + sum / 3;
}

qint64 progressDivisor(qint64 maximum)
{
    constexpr qint64 kIntMax = std::numeric_limits<int>::max();
    return maximum <= kIntMax ? 1 : (maximum + kIntMax - 1) / kIntMax;
}

bool sendingSettingsComplete(const Settings& settings)
{
    return !settings.smtpName.isEmpty() && !settings.smtpEmail.isEmpty() &&
           !settings.smtpHost.isEmpty();
}

bool buildMessage(const Settings& settings, const Draft& draft, MailMessage* message,
                  QString* error)
{
    MailMessage m;
    if (!isValidAddress(settings.smtpEmail)) {
        *error = QStringLiteral("L'adresse « %1 » du champ « Email » des propriétés n'est pas "
                                "valide.")
                     .arg(settings.smtpEmail);
        return false;
    }
    QString bad;
    if (!parseAddressList(draft.to, &m.to, &bad)) {
        *error =
            QStringLiteral("L'adresse « %1 » du champ « Destinataire » n'est pas valide.").arg(bad);
        return false;
    }
    if (!parseAddressList(draft.copy, &m.bcc, &bad)) {
        *error = QStringLiteral("L'adresse « %1 » du champ « Copie » n'est pas valide.").arg(bad);
        return false;
    }
    if (m.to.isEmpty() && m.bcc.isEmpty()) {
        *error = QStringLiteral("Le champ « Destinataire » ne contient aucune adresse.");
        return false;
    }
    m.from.name = QString(settings.smtpName).replace(QLatin1Char('@'), QLatin1Char('_'));
    m.from.address = settings.smtpEmail;
    m.replyTo = settings.smtpEmail;
    m.subject = draft.subject;
    m.body = draft.body;
    m.highPriority = draft.highPriority;
    if (draft.readReceipt)
        m.readReceiptTo = settings.smtpEmail;
    for (const QString& entry : draft.entries) {
        const QString path = attachmentField(entry, 1);
        if (!path.isEmpty())
            m.attachments.append(path);
    }
    *message = m;
    return true;
}

SmtpServer smtpServer(const Settings& settings, SecretStore& secrets)
{
    SmtpServer server;
    server.host = settings.smtpHost.trimmed();
    server.port = settings.smtpPort;
    server.security = static_cast<SmtpSecurity>(settings.smtpSecurity);
    server.user = settings.smtpUser;
    if (!server.user.isEmpty())
        server.password = secrets.read(smtpPasswordKey(server.user, server.host));
    server.caFile = settings.smtpCaFile;
    return server;
}

} // namespace tav::mail
