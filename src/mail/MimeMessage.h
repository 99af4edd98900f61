#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace tav::mail {

class MessageSource;

// One mailbox: the address alone is what the SMTP envelope uses; the name
// only shows in the headers.
struct Mailbox
{
    QString name;
    QString address;
};

// What the sending window puts into one message.
struct MailMessage
{
    Mailbox from;
    QString replyTo;
    QList<Mailbox> to;
    QList<Mailbox> cc;
    // Delivered to, never written into the headers.
    QList<Mailbox> bcc;
    QString subject;
    QString body;
    bool highPriority = false;
    // Empty: no read receipt asked.
    QString readReceiptTo;
    QStringList attachments; // file paths, in order

    // Every address the server must deliver to: To, Cc and blind copies.
    QStringList envelopeRecipients() const;
};

// True for an address the program can put into a header and an SMTP
// command as it is: one printable ASCII local part, "@", one domain, with
// nothing that could end a header line or an SMTP command.
bool isValidAddress(const QString& address);

// Reads a typed list of addresses separated by "," or ";", each either
// "address" or "Name <address>". On the first invalid item, returns false
// and puts that item into *bad.
bool parseAddressList(const QString& text, QList<Mailbox>* result, QString* bad);

// Header texts. Control characters (line breaks included) become spaces,
// so that no typed text can start a header of its own; text outside ASCII
// goes out as RFC 2047 encoded words.
QByteArray encodeHeaderText(const QString& text);
QByteArray encodeDisplayName(const QString& name);
QByteArray formatMailbox(const Mailbox& mailbox);
// "Name: value" folded at spaces into lines of at most 78 characters,
// ending with CR LF.
QByteArray foldHeader(const QByteArray& name, const QByteArray& value);
// The parameter for a file name: filename="..." when the name is plain
// ASCII, else the RFC 2231 form filename*=UTF-8''%xx followed, on a folded
// line, by a plain filename="..." with the accents dropped for readers that
// do not know that form.
QByteArray fileNameParameter(const QByteArray& parameter, const QString& fileName);
// Quoted-printable text with CR LF line ends.
QByteArray quotedPrintable(const QString& text);
// The RFC 5322 date, English names whatever the locale.
QByteArray rfc5322Date(const QDateTime& when);
// Bytes that a base64 body of the given length takes, lines of 76
// characters each followed by CR LF.
qint64 base64EncodedSize(qint64 length);

struct ComposeResult
{
    std::unique_ptr<MessageSource> source;
    QString error; // French, ready to show; empty on success
};

// Builds the multipart/mixed message: headers, the text part, then each
// attachment as a base64 part read from its file while being sent. Fails
// with a French message when an attachment cannot be opened.
ComposeResult compose(const MailMessage& message);

} // namespace tav::mail
