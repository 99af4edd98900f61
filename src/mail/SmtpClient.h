#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

namespace tav::mail {

class MessageSource;

enum class SmtpSecurity {
    None = 0,        // plain text, as the server's port 25 speaks
    StartTls = 1,    // plain connection upgraded with STARTTLS, required
    ImplicitTls = 2, // TLS from the first byte (port 465)
};

struct SmtpServer
{
    QString host;
    int port = 25;
    SmtpSecurity security = SmtpSecurity::None;
    // No authentication when the user name is empty.
    QString user;
    QString password;
    // Certificates to trust instead of the system's; empty for the system's.
    QString caFile;
    int connectTimeoutSeconds = 30;
    // A transfer slower than one byte a second for this long is dropped.
    int stallTimeoutSeconds = 60;
};

struct SendOutcome
{
    bool ok = false;
    bool cancelled = false;
    QString message; // French, ready to show, when not ok
};

// Sends one composed message over SMTP with libcurl. Blocking: run it off
// the user-interface thread. Progress gets the bytes given to the
// connection so far; the sending stops soon after *cancel turns true.
SendOutcome sendMessage(const SmtpServer& server, const QString& from,
                        const QStringList& recipients, MessageSource& source,
                        const std::atomic_bool* cancel = nullptr,
                        const std::function<void(qint64)>& progress = {});

// The French text of a failed sending: a sentence for libcurl's code (or the
// server's reply code), then libcurl's own text as a detail line.
QString sendFailureText(int curlCode, const SmtpServer& server, const QString& libraryText,
                        long response);

} // namespace tav::mail

Q_DECLARE_METATYPE(tav::mail::SendOutcome)
