#include "MailPeer.h"

#include "core/Clock.h"
#include "core/FileRoutines.h"
#include "core/Settings.h"
#include "mail/MailDraft.h"
#include "mail/MessageSource.h"
#include "mail/MimeMessage.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>

#include <limits>

using namespace tav;
using namespace tav::mail;

namespace {

Settings senderSettings()
{
    Settings s;
    s.smtpName = QStringLiteral("Clinique@Vétérinaire");
    s.smtpEmail = QStringLiteral("clinique@example.org");
    s.smtpHost = QStringLiteral("127.0.0.1");
    return s;
}

QString header(const QJsonObject& parsed, const QString& name)
{
    const QJsonArray values =
        parsed.value(QStringLiteral("headers")).toObject().value(name).toArray();
    return values.size() == 1 ? values.first().toString() : QString();
}

bool hasHeader(const QJsonObject& parsed, const QString& name)
{
    return parsed.value(QStringLiteral("headers")).toObject().contains(name);
}

QByteArray sha256(const QByteArray& data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex();
}

QByteArray patterned(qint64 size)
{
    QByteArray data(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    return data;
}

} // namespace

class TestMimeMessage : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void designHeaders();
    void optionalHeadersFollowTheBoxes();
    void lineBreaksCannotAddHeaders();
    void nonAsciiTextIsEncodedAndReadBack();
    void bodyKeepsEveryCharacter();
    void attachmentsRoundTripByteForByte();
    void attachmentNameHasAPlainFallback();
    void totalSizeIsExactAndSixtyFourBit();
    void unreadableAttachmentIsRefused();
    void addressesAreChecked_data();
    void addressesAreChecked();
    void attachmentEntriesAndEstimate();

private:
    QByteArray composed(const MailMessage& message);
    QJsonObject parsed(const QByteArray& raw);

    QTemporaryDir m_dir;
    std::unique_ptr<Clock::Fixed> m_clock;
};

void TestMimeMessage::init()
{
    m_clock = std::make_unique<Clock::Fixed>(
        QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53), QTimeZone(3600)));
}

QByteArray TestMimeMessage::composed(const MailMessage& message)
{
    ComposeResult result = compose(message);
    if (!result.source)
        return QByteArray();
    return result.source->readAll();
}

QJsonObject TestMimeMessage::parsed(const QByteArray& raw)
{
    const QString path = m_dir.filePath(QStringLiteral("message.eml"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(raw) != raw.size())
        return {};
    f.close();
    return test::MailPeer::readMessage(path);
}

void TestMimeMessage::designHeaders()
{
    Draft draft;
    draft.to = QStringLiteral("medor@example.net, Dr Vet <vet@example.com>");
    draft.copy = QStringLiteral("secret@example.com; autre@example.com");
    draft.subject = QStringLiteral("Radio");
    MailMessage message;
    QString error;
    QVERIFY2(buildMessage(senderSettings(), draft, &message, &error), qPrintable(error));

    // The blind copies are delivered: they are in the envelope only.
    QCOMPARE(
        message.envelopeRecipients(),
        QStringList({QStringLiteral("medor@example.net"), QStringLiteral("vet@example.com"),
                     QStringLiteral("secret@example.com"), QStringLiteral("autre@example.com")}));

    const QByteArray raw = composed(message);
    QVERIFY(!raw.contains("secret@example.com"));
    const QJsonObject p = parsed(raw);
    QVERIFY(!p.isEmpty());
    QCOMPARE(p.value(QStringLiteral("defects")).toArray().size(), 0);
    QCOMPARE(header(p, QStringLiteral("From")),
             QStringLiteral("Clinique_Vétérinaire <clinique@example.org>"));
    QCOMPARE(header(p, QStringLiteral("Reply-To")), QStringLiteral("clinique@example.org"));
    QCOMPARE(header(p, QStringLiteral("To")),
             QStringLiteral("medor@example.net, Dr Vet <vet@example.com>"));
    QCOMPARE(header(p, QStringLiteral("Subject")), QStringLiteral("Radio"));
    QCOMPARE(header(p, QStringLiteral("Date")), QStringLiteral("Sat, 14 Mar 2026 09:26:53 +0100"));
    QVERIFY(header(p, QStringLiteral("Content-Type")).startsWith(QLatin1String("multipart/mixed")));
    QVERIFY(hasHeader(p, QStringLiteral("Message-ID")));
    QVERIFY(!hasHeader(p, QStringLiteral("Cc")));
    QVERIFY(!hasHeader(p, QStringLiteral("Bcc")));
}

void TestMimeMessage::optionalHeadersFollowTheBoxes()
{
    Draft draft;
    draft.to = QStringLiteral("medor@example.net");
    draft.highPriority = true;
    draft.readReceipt = true;
    MailMessage message;
    QString error;
    QVERIFY(buildMessage(senderSettings(), draft, &message, &error));
    QJsonObject p = parsed(composed(message));
    QCOMPARE(header(p, QStringLiteral("X-Priority")), QStringLiteral("2"));
    QCOMPARE(header(p, QStringLiteral("Disposition-Notification-To")),
             QStringLiteral("clinique@example.org"));

    draft.highPriority = false;
    draft.readReceipt = false;
    QVERIFY(buildMessage(senderSettings(), draft, &message, &error));
    p = parsed(composed(message));
    QVERIFY(!hasHeader(p, QStringLiteral("X-Priority")));
    QVERIFY(!hasHeader(p, QStringLiteral("Disposition-Notification-To")));
}

void TestMimeMessage::lineBreaksCannotAddHeaders()
{
    Settings s = senderSettings();
    s.smtpName = QStringLiteral("Clinique\r\nBcc: pirate@example.com");
    Draft draft;
    draft.to = QStringLiteral("medor@example.net");
    draft.subject = QStringLiteral("Bonjour\r\nBcc: pirate@example.com\nX-Evil: 1");
    MailMessage message;
    QString error;
    QVERIFY(buildMessage(s, draft, &message, &error));
    const QByteArray raw = composed(message);
    QVERIFY(!raw.contains("\nBcc:"));
    QVERIFY(!raw.contains("\nX-Evil:"));
    const QJsonObject p = parsed(raw);
    QVERIFY(!hasHeader(p, QStringLiteral("Bcc")));
    QVERIFY(!hasHeader(p, QStringLiteral("X-Evil")));
    QCOMPARE(header(p, QStringLiteral("Subject")),
             QStringLiteral("Bonjour  Bcc: pirate@example.com X-Evil: 1"));

    // An address with a line break is refused outright.
    draft.to = QStringLiteral("medor@example.net\r\nBcc: pirate@example.com");
    QVERIFY(!buildMessage(s, draft, &message, &error));
    QVERIFY(error.contains(QStringLiteral("« Destinataire »")));
}

void TestMimeMessage::nonAsciiTextIsEncodedAndReadBack()
{
    const QString longSubject =
        QStringLiteral("Vaccination de Médor — rappel 🐕 ").repeated(6) + QStringLiteral("=?fin?=");
    MailMessage message;
    message.from = {QStringLiteral("Hélène \"Véto\" Durand"), QStringLiteral("h@example.org")};
    message.to = {{QStringLiteral("Zoë"), QStringLiteral("zoe@example.net")},
                  {QStringLiteral("Smith, John"), QStringLiteral("js@example.net")}};
    message.subject = longSubject;
    const QByteArray raw = composed(message);

    const QByteArray head = raw.left(raw.indexOf("\r\n\r\n"));
    for (const QByteArray& line : head.split('\n')) {
        QVERIFY2(line.size() <= 79, line.constData()); // 78 and the CR
        for (const char c : line)
            QVERIFY(static_cast<uchar>(c) < 0x80);
    }
    const QJsonObject p = parsed(raw);
    QCOMPARE(header(p, QStringLiteral("Subject")), longSubject);
    QCOMPARE(header(p, QStringLiteral("From")),
             QStringLiteral("\"Hélène \\\"Véto\\\" Durand\" <h@example.org>"));
    QCOMPARE(header(p, QStringLiteral("To")),
             QStringLiteral("Zoë <zoe@example.net>, \"Smith, John\" <js@example.net>"));
}

void TestMimeMessage::bodyKeepsEveryCharacter()
{
    const QString body = QStringLiteral("Bonjour,\r\n.\r\nLigne = égale, espace final   \r\n"
                                        "\tTab\r\n") +
                         QString(120, QLatin1Char('x')) + QStringLiteral("é\r\nFin");
    MailMessage message;
    message.from = {QString(), QStringLiteral("h@example.org")};
    message.to = {{QString(), QStringLiteral("zoe@example.net")}};
    message.body = body;
    const QByteArray raw = composed(message);
    for (const QByteArray& line : raw.split('\n'))
        QVERIFY(line.size() <= 79);
    QString expected = body;
    expected.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QCOMPARE(parsed(raw).value(QStringLiteral("body")).toString(), expected + u'\n');
}

void TestMimeMessage::attachmentsRoundTripByteForByte()
{
    struct File
    {
        QString name;
        QByteArray data;
    };
    // Sizes around the encoder's line and block lengths, and an empty file.
    const QList<File> files = {
        {QStringLiteral("Radiographie été.jpg"), patterned(57 * 1024 * 2 + 5)},
        {QStringLiteral("vide.txt"), QByteArray()},
        {QStringLiteral("a\"b\\c.pdf"), patterned(56)},
        {QStringLiteral("line\nbreak.bin"), patterned(57 * 1024)},
    };
    MailMessage message;
    message.from = {QString(), QStringLiteral("h@example.org")};
    message.to = {{QString(), QStringLiteral("zoe@example.net")}};
    for (const File& file : files) {
        const QString path = m_dir.filePath(file.name);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(file.data), file.data.size());
        message.attachments.append(path);
    }
    const QJsonObject p = parsed(composed(message));
    const QJsonArray attachments = p.value(QStringLiteral("attachments")).toArray();
    QCOMPARE(attachments.size(), files.size());
    for (int i = 0; i < files.size(); ++i) {
        const QJsonObject a = attachments.at(i).toObject();
        const QString expectedName =
            QString(files[i].name).replace(QLatin1Char('\n'), QLatin1Char(' '));
        QCOMPARE(a.value(QStringLiteral("filename")).toString(), expectedName);
        QCOMPARE(a.value(QStringLiteral("size")).toInteger(), files[i].data.size());
        QCOMPARE(a.value(QStringLiteral("sha256")).toString().toLatin1(), sha256(files[i].data));
    }
    QCOMPARE(attachments.at(0).toObject().value(QStringLiteral("type")).toString(),
             QStringLiteral("image/jpeg"));
}

void TestMimeMessage::attachmentNameHasAPlainFallback()
{
    MailMessage message;
    message.from = {QString(), QStringLiteral("h@example.org")};
    message.to = {{QString(), QStringLiteral("zoe@example.net")}};
    for (const QString& name : {QStringLiteral("Radiographie été.jpg"),
                                QStringLiteral("a\"b\\c.pdf"), QStringLiteral("plain.txt")}) {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
        message.attachments.append(path);
    }
    const QByteArray raw = composed(message);
    const QString eml = m_dir.filePath(QStringLiteral("fallback.eml"));
    QFile out(eml);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(raw);
    out.close();
    // A reader of the old kind (Python's compat32 parser knows no RFC
    // 2231 continuation rules) takes the plain names; today's reader the
    // UTF-8 ones.
    QProcess python;
    python.start(test::MailPeer::python(),
                 {QStringLiteral("-c"),
                  QStringLiteral("import email, sys\n"
                                 "from email import policy\n"
                                 "raw = open(sys.argv[1], 'rb').read()\n"
                                 "old = email.message_from_bytes(raw, policy=policy.compat32)\n"
                                 "new = email.message_from_bytes(raw, policy=policy.default)\n"
                                 "for p in old.get_payload()[1:]:\n"
                                 "    print(p.get_param('filename', header='content-disposition'"
                                 ", unquote=True))\n"
                                 "for p in new.iter_attachments():\n"
                                 "    print(p.get_filename())\n"),
                  eml});
    QVERIFY(python.waitForFinished(30000));
    QCOMPARE(python.exitCode(), 0);
    const QStringList names =
        QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(names,
             (QStringList{QStringLiteral("Radiographie ete.jpg"), QStringLiteral("a_b_c.pdf"),
                          QStringLiteral("plain.txt"), QStringLiteral("Radiographie été.jpg"),
                          QStringLiteral("a\"b\\c.pdf"), QStringLiteral("plain.txt")}));
    QVERIFY(raw.contains("filename*=UTF-8''Radiographie%20%C3%A9t%C3%A9.jpg;\r\n "
                         "filename=\"Radiographie ete.jpg\""));
}

void TestMimeMessage::totalSizeIsExactAndSixtyFourBit()
{
    MailMessage message;
    message.from = {QString(), QStringLiteral("h@example.org")};
    message.to = {{QString(), QStringLiteral("zoe@example.net")}};
    for (const qint64 size : {0, 1, 2, 3, 56, 57, 58, 57 * 1024 + 1}) {
        const QString path = m_dir.filePath(QStringLiteral("f%1").arg(size));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(patterned(size));
        message.attachments.append(path);
    }
    ComposeResult result = compose(message);
    QVERIFY(result.source);
    const qint64 announced = result.source->totalSize();
    QCOMPARE(qint64(result.source->readAll().size()), announced);
    // Reading again after a failed attempt gives the same message.
    result.source->rewind();
    QCOMPARE(qint64(result.source->readAll().size()), announced);

    const qint64 threeGb = 3LL * 1024 * 1024 * 1024;
    QVERIFY(base64EncodedSize(threeGb) > threeGb * 4 / 3);
    QCOMPARE(base64EncodedSize(57 * 10), 780);
}

void TestMimeMessage::unreadableAttachmentIsRefused()
{
    MailMessage message;
    message.from = {QString(), QStringLiteral("h@example.org")};
    message.to = {{QString(), QStringLiteral("zoe@example.net")}};
    message.attachments = {m_dir.filePath(QStringLiteral("absent.pdf"))};
    ComposeResult result = compose(message);
    QVERIFY(!result.source);
    QVERIFY(result.error.contains(QStringLiteral("absent.pdf")));
    QVERIFY(result.error.contains(QStringLiteral("ne peut pas être lu")));
}

void TestMimeMessage::addressesAreChecked_data()
{
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("copy");
    QTest::addColumn<QString>("email");
    QTest::addColumn<QString>("field"); // empty when valid

    const QString ok = QStringLiteral("clinique@example.org");
    QTest::newRow("plain") << "a@b.fr"
                           << "" << ok << "";
    QTest::newRow("named list") << "A <a@b.fr>; \"B, C\" <b@c.fr>"
                                << "d@e.fr" << ok << "";
    QTest::newRow("no at") << "medor"
                           << "" << ok << "« Destinataire »";
    QTest::newRow("space inside") << "me dor@b.fr"
                                  << "" << ok << "« Destinataire »";
    QTest::newRow("bad copy") << "a@b.fr"
                              << "x@@y" << ok << "« Copie »";
    QTest::newRow("angle injection") << "a@b.fr>"
                                     << "" << ok << "« Destinataire »";
    QTest::newRow("nothing") << ""
                             << "" << ok << "« Destinataire »";
    QTest::newRow("only copy") << ""
                               << "a@b.fr" << ok << "";
    QTest::newRow("bad sender") << "a@b.fr"
                                << ""
                                << "clinique"
                                << "« Email »";
    QTest::newRow("non-ASCII") << "médor@b.fr"
                               << "" << ok << "« Destinataire »";
}

void TestMimeMessage::addressesAreChecked()
{
    QFETCH(QString, to);
    QFETCH(QString, copy);
    QFETCH(QString, email);
    QFETCH(QString, field);
    Settings s = senderSettings();
    s.smtpEmail = email;
    Draft draft;
    draft.to = to;
    draft.copy = copy;
    MailMessage message;
    QString error;
    QCOMPARE(buildMessage(s, draft, &message, &error), field.isEmpty());
    if (!field.isEmpty())
        QVERIFY2(error.contains(field), qPrintable(error));
}

void TestMimeMessage::attachmentEntriesAndEstimate()
{
    const QString entry = attachmentEntry(12, QStringLiteral("/tmp/Radio été.jpg"),
                                          QStringLiteral("Image JPEG"), QStringLiteral("12 Ko"));
    QCOMPARE(entry.left(10), QStringLiteral("000012%&a%"));
    QCOMPARE(attachmentField(entry, 1), QStringLiteral("/tmp/Radio été.jpg"));
    QCOMPARE(attachmentField(entry, 2), QStringLiteral("Image JPEG"));
    QCOMPARE(attachmentField(entry, 3), QStringLiteral("12 Ko"));
    QCOMPARE(attachmentField(QStringLiteral("000001%&a%x"), 1), QString());

    QCOMPARE(sizeEstimate({entry}), 16000);
    const auto sized = [](const QString& size) {
        return attachmentEntry(1, QStringLiteral("f"), QStringLiteral("t"), size);
    };
    QCOMPARE(sizeEstimate({sized(QStringLiteral("0 Ko"))}), 0);
    QCOMPARE(sizeEstimate({sized(QStringLiteral("abc Ko")), sized(QStringLiteral("12"))}), 0);
    QCOMPARE(sizeEstimate({entry, entry}), 32000);
    QCOMPARE(sizeInKo(0), QStringLiteral("0 Ko"));
    QCOMPARE(sizeInKo(999), QStringLiteral("0 Ko"));
    QCOMPARE(sizeInKo(12 * 1024), QStringLiteral("12 Ko"));

    // 3 Go: the estimate goes past an int and the bar's scale follows it.
    const qint64 big = sizeEstimate({sized(QStringLiteral("3145728 Ko"))});
    QCOMPARE(big, 3145728LL * 1000 * 4 / 3);
    const qint64 divisor = progressDivisor(big + 1);
    QVERIFY((big + 1) / divisor <= std::numeric_limits<int>::max());
    QVERIFY(big / divisor > std::numeric_limits<int>::max() / 2);
    QCOMPARE(progressDivisor(16001), 1);
    // A size that would overflow even 64 bits stays positive.
    QVERIFY(sizeEstimate({sized(QStringLiteral("999999999999999999 Ko"))}) > 0);
}

QTEST_GUILESS_MAIN(TestMimeMessage)
#include "tst_mimemessage.moc"
