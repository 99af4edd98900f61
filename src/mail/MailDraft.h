#pragma once

#include "mail/MimeMessage.h"
#include "mail/SmtpClient.h"

#include <QString>
#include <QStringList>

namespace tav {
struct Settings;
}

namespace tav::mail {

class SecretStore;

// One attachment line as the documents page describes a file: the
// document's number on six digits, then the path, the type and the size
// as shown, each field closed by its marker.
QString attachmentEntry(int id, const QString& path, const QString& typeText,
                        const QString& sizeText);
// Field k (1 path, 2 type, 3 size) of an entry; empty when its markers
// are missing.
QString attachmentField(const QString& entry, int k);

// The progress estimate of a sending: 1000 bytes per Ko shown, plus a
// third for the base64 encoding. 64-bit, so a file of several gigabytes
// does not wrap it.
qint64 sizeEstimate(const QStringList& entries);

// A progress bar holds an int: the divisor that brings a 64-bit maximum
// within its range (1 for anything that already fits).
qint64 progressDivisor(qint64 maximum);

// True when the sender's name, address and server are all filled in:
// without them no e-mail command is offered.
bool sendingSettingsComplete(const Settings& settings);

// What the user typed in the sending window.
struct Draft
{
    QString to;
    QString copy; // sent as blind copies
    QString subject;
    QString body;
    bool highPriority = false;
    bool readReceipt = false;
    QStringList entries;
};

// The message for a draft and the sending settings. The sender's name
// loses its "@" so that the From line keeps one address. False with a
// French message naming the field by its caption on an invalid address.
bool buildMessage(const Settings& settings, const Draft& draft, MailMessage* message,
                  QString* error);

// The server to send through, the password read from the secret store.
SmtpServer smtpServer(const Settings& settings, SecretStore& secrets);

} // namespace tav::mail
