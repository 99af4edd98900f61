#include "mail/MimeMessage.h"

#include "core/Clock.h"
#include "mail/MessageSource.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cctype>
#include <cstring>

namespace tav::mail {

namespace {

constexpr int kMaxLine = 78;
// An encoded word may not pass 75 characters; 39 bytes of UTF-8 make one of
// 64, which still fits beside "Subject: " on the header's first line (a
// break right after the colon is read as a leading space by some readers).
constexpr int kWordBytes = 39;

QString withoutControls(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    }
    return out;
}

bool isPlainAscii(const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    }
    return true;
}

// Encoded words of at most 45 bytes each, never cutting a UTF-8 sequence,
// separated by a space (folding whitespace, ignored between two words).
QByteArray encodedWords(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    qsizetype at = 0;
    while (at < utf8.size()) {
        qsizetype end = std::min<qsizetype>(at + kWordBytes, utf8.size());
        while (end < utf8.size() && end > at && (static_cast<uchar>(utf8[end]) & 0xC0) == 0x80)
            --end;
        if (!out.isEmpty())
            out += ' ';
        out += "=?UTF-8?B?" + utf8.mid(at, end - at).toBase64() + "?=";
        at = end;
    }
    return out;
}

bool isAtext(char c)
{
    return std::isalnum(static_cast<uchar>(c)) || std::strchr("!#$%&'*+-/=?^_`{|}~", c);
}

QByteArray boundaryFor()
{
    return "=_Tavirune_" + QByteArray::number(QRandomGenerator::system()->generate64(), 36) +
           QByteArray::number(QRandomGenerator::system()->generate64(), 36);
}

QByteArray domainOf(const QString& address)
{
    const qsizetype at = address.lastIndexOf(QLatin1Char('@'));
    return at < 0 ? QByteArray("localhost") : address.mid(at + 1).toLatin1();
}

QByteArray mailboxList(const QList<Mailbox>& list)
{
    QByteArray out;
    for (const Mailbox& m : list) {
        if (!out.isEmpty())
            out += ", ";
        out += formatMailbox(m);
    }
    return out;
}

} // namespace

QStringList MailMessage::envelopeRecipients() const
{
    QStringList all;
    for (const QList<Mailbox>* list : {&to, &cc, &bcc}) {
        for (const Mailbox& m : *list)
            all.append(m.address);
    }
    return all;
}

bool isValidAddress(const QString& address)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^[A-Za-z0-9!#$%&'*+/=?^_`{|}~.-]+@[A-Za-z0-9-]+(\.[A-Za-z0-9-]+)*$)"));
    if (address.size() > 254 || !pattern.match(address).hasMatch())
        return false;
    const QString local = address.left(address.lastIndexOf(QLatin1Char('@')));
    return !local.startsWith(QLatin1Char('.')) && !local.endsWith(QLatin1Char('.')) &&
           !local.contains(QLatin1String(".."));
}

namespace {

// Splits at "," and ";" outside quoted names and angle brackets, so that
// "\"Smith, John\" <js@example.net>" stays one item.
QStringList splitAddressList(const QString& text)
{
    QStringList items;
    QString current;
    bool quoted = false;
    bool angle = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"') && !angle)
            quoted = !quoted;
        else if (c == QLatin1Char('<') && !quoted)
            angle = true;
        else if (c == QLatin1Char('>') && !quoted)
            angle = false;
        if (!quoted && !angle && (c == QLatin1Char(',') || c == QLatin1Char(';'))) {
            items.append(current);
            current.clear();
            continue;
        }
        current += c;
    }
    items.append(current);
    return items;
}

} // namespace

bool parseAddressList(const QString& text, QList<Mailbox>* result, QString* bad)
{
    QList<Mailbox> list;
    for (const QString& raw : splitAddressList(text)) {
        const QString item = raw.trimmed();
        if (item.isEmpty())
            continue;
        Mailbox m;
        const qsizetype open = item.lastIndexOf(QLatin1Char('<'));
        if (open >= 0 && item.endsWith(QLatin1Char('>'))) {
            m.address = item.mid(open + 1, item.size() - open - 2).trimmed();
            m.name = item.left(open).trimmed();
            if (m.name.size() >= 2 && m.name.startsWith(QLatin1Char('"')) &&
                m.name.endsWith(QLatin1Char('"')))
                m.name = m.name.mid(1, m.name.size() - 2);
        } else {
            m.address = item;
        }
        if (!isValidAddress(m.address)) {
            if (bad)
                *bad = item;
            return false;
        }
        list.append(m);
    }
    if (result)
        *result = list;
    return true;
}

QByteArray encodeHeaderText(const QString& text)
{
    const QString clean = withoutControls(text);
    // Plain ASCII that could not be mistaken for an encoded word goes as it is.
    if (isPlainAscii(clean) && !clean.contains(QLatin1String("=?")))
        return clean.toLatin1();
    return encodedWords(clean);
}

QByteArray encodeDisplayName(const QString& name)
{
    const QString clean = withoutControls(name).trimmed();
    if (clean.isEmpty())
        return QByteArray();
    if (!isPlainAscii(clean) || clean.contains(QLatin1String("=?")))
        return encodedWords(clean);
    const QByteArray ascii = clean.toLatin1();
    bool atoms = true;
    for (const char c : ascii)
        atoms = atoms && (isAtext(c) || c == ' ');
    if (atoms)
        return ascii;
    QByteArray quoted = "\"";
    for (const char c : ascii) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

QByteArray formatMailbox(const Mailbox& mailbox)
{
    const QByteArray name = encodeDisplayName(mailbox.name);
    const QByteArray address = mailbox.address.toLatin1();
    return name.isEmpty() ? address : name + " <" + address + '>';
}

QByteArray foldHeader(const QByteArray& name, const QByteArray& value)
{
    QByteArray out = name + ':';
    qsizetype lineLength = out.size();
    const QList<QByteArray> words = value.split(' ');
    for (const QByteArray& word : words) {
        if (lineLength + 1 + word.size() > kMaxLine && lineLength > name.size() + 1) {
            out += "\r\n";
            lineLength = 0;
        }
        out += ' ' + word;
        lineLength += 1 + word.size();
    }
    return out + "\r\n";
}

namespace {

// The name as plain ASCII for a reader that knows no RFC 2231: accents
// dropped ("été" gives "ete"), any other character it cannot carry in a
// quoted string replaced by "_".
QByteArray asciiFallback(const QString& fileName)
{
    QByteArray out;
    for (const QChar c : fileName.normalized(QString::NormalizationForm_D)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        const char16_t u = c.unicode();
        out += u >= 0x20 && u <= 0x7e && u != '"' && u != '\\' ? char(u) : '_';
    }
    return out;
}

} // namespace

QByteArray fileNameParameter(const QByteArray& parameter, const QString& fileName)
{
    bool plain = isPlainAscii(fileName);
    for (const QChar c : fileName)
        plain = plain && c != QLatin1Char('"') && c != QLatin1Char('\\');
    if (plain)
        return parameter + "=\"" + fileName.toLatin1() + '"';
    // The RFC 2231 form first: readers that know it take it, whatever
    // follows; older ones skip it and take the plain name after it.
    return parameter + "*=UTF-8''" + fileName.toUtf8().toPercentEncoding("!#$&+^`|~") + ";\r\n " +
           parameter + "=\"" + asciiFallback(fileName) + '"';
}

QByteArray quotedPrintable(const QString& text)
{
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    QString normalised = text;
    normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QList<QByteArray> lines = normalised.toUtf8().split('\n');
    for (qsizetype l = 0; l < lines.size(); ++l) {
        const QByteArray& line = lines[l];
        int length = 0;
        for (qsizetype i = 0; i < line.size(); ++i) {
            const uchar c = static_cast<uchar>(line[i]);
            const bool last = i == line.size() - 1;
            QByteArray piece;
            if ((c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !last)) {
                piece = QByteArray(1, static_cast<char>(c));
            } else {
                piece = QByteArray("=") + hex[c >> 4] + hex[c & 15];
            }
            // Soft line break: "=" at the end keeps lines within 76 characters.
            if (length + piece.size() > 75) {
                out += "=\r\n";
                length = 0;
            }
            out += piece;
            length += static_cast<int>(piece.size());
        }
        if (l + 1 < lines.size())
            out += "\r\n";
    }
    return out;
}

QByteArray rfc5322Date(const QDateTime& when)
{
    static const char* const days[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate d = when.date();
    const QTime t = when.time();
    const int offset = when.offsetFromUtc() / 60;
    const int absOffset = offset < 0 ? -offset : offset;
    return QByteArray(days[d.dayOfWeek() - 1]) + ", " + QByteArray::number(d.day()) + ' ' +
           months[d.month() - 1] + ' ' + QByteArray::number(d.year()) + ' ' +
           t.toString(QStringLiteral("HH:mm:ss")).toLatin1() + ' ' + (offset < 0 ? '-' : '+') +
           QByteArray::number(absOffset / 60).rightJustified(2, '0') +
           QByteArray::number(absOffset % 60).rightJustified(2, '0');
}

qint64 base64EncodedSize(qint64 length)
{
    const qint64 lines = length / 57;
    const qint64 rest = length % 57;
    return lines * 78 + (rest > 0 ? (rest + 2) / 3 * 4 + 2 : 0);
}

ComposeResult compose(const MailMessage& message)
{
    ComposeResult result;
    // Every address goes into a header or an SMTP command as it is.
    QStringList addresses = message.envelopeRecipients();
    addresses << message.from.address;
    if (!message.replyTo.isEmpty())
        addresses << message.replyTo;
    if (!message.readReceiptTo.isEmpty())
        addresses << message.readReceiptTo;
    for (const QString& address : addresses) {
        if (!isValidAddress(address)) {
            result.error = QStringLiteral("L'adresse « %1 » n'est pas valide.").arg(address);
            return result;
        }
    }
    struct Part
    {
        QString path;
        qint64 size;
    };
    QList<Part> parts;
    for (const QString& path : message.attachments) {
        QFile file(path);
        const QFileInfo info(path);
        if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
            result.error = QStringLiteral("Le fichier « %1 » ne peut pas être lu.")
                               .arg(QDir::toNativeSeparators(path));
            return result;
        }
        parts.append({path, file.size()});
    }

    const QByteArray boundary = boundaryFor();
    QByteArray head;
    head += "Date: " + rfc5322Date(Clock::now()) + "\r\n";
    head += foldHeader("From", formatMailbox(message.from));
    if (!message.replyTo.isEmpty())
        head += foldHeader("Reply-To", message.replyTo.toLatin1());
    if (!message.to.isEmpty())
        head += foldHeader("To", mailboxList(message.to));
    if (!message.cc.isEmpty())
        head += foldHeader("Cc", mailboxList(message.cc));
    head += foldHeader("Subject", encodeHeaderText(message.subject));
    head += "Message-ID: <" + QByteArray::number(QRandomGenerator::system()->generate64(), 36) +
            '.' + QByteArray::number(Clock::now().toMSecsSinceEpoch(), 36) + '@' +
            domainOf(message.from.address) + ">\r\n";
    if (message.highPriority)
        head += "X-Priority: 2\r\n";
    if (!message.readReceiptTo.isEmpty())
        head += "Disposition-Notification-To: " + message.readReceiptTo.toLatin1() + "\r\n";
    head += "MIME-Version: 1.0\r\n";
    head += "Content-Type: multipart/mixed;\r\n boundary=\"" + boundary + "\"\r\n";
    head += "\r\n";
    head += "This is a multi-part message in MIME format.\r\n";
    head += "\r\n--" + boundary + "\r\n";
    head += "Content-Type: text/plain; charset=UTF-8\r\n";
    head += "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
    head += quotedPrintable(message.body) + "\r\n";

    auto source = std::make_unique<MessageSource>();
    source->appendText(head);
    const QMimeDatabase mimeTypes;
    for (const Part& part : parts) {
        const QString name = withoutControls(QFileInfo(part.path).fileName());
        const QString type = mimeTypes.mimeTypeForFile(part.path).name();
        QByteArray partHead = "\r\n--" + boundary + "\r\n";
        partHead += "Content-Type: " + type.toLatin1() + ";\r\n " +
                    fileNameParameter("name", name) + "\r\n";
        partHead += "Content-Transfer-Encoding: base64\r\n";
        partHead += "Content-Disposition: attachment;\r\n " + fileNameParameter("filename", name) +
                    "\r\n\r\n";
        source->appendText(partHead);
        source->appendBase64File(part.path, part.size);
    }
    source->appendText("\r\n--" + boundary + "--\r\n");
    result.source = std::move(source);
    return result;
}

} // namespace tav::mail
