// Sending a 20 MB attachment through the local SMTP server against a plain
// socket copy of the same file's bytes to a receiver that stores them, in
// the same run. Prints medians of 9 runs with their spread, the ratios,
// and the peak memory, which must stay far below the file's size since
// the attachment is streamed.
//   build-rel/bench/bench_mail
#include "BenchSupport.h"
#include "MailPeer.h"
#include "core/HeapTuning.h"

#include "mail/MessageSource.h"
#include "mail/MimeMessage.h"
#include "mail/SmtpClient.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>

using namespace tav;
using namespace tav::mail;
using tav::test::MailPeer;

namespace {

constexpr qint64 kSize = 20 * 1024 * 1024;
constexpr int kRuns = 9;

bool writeFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1 << 16, Qt::Uninitialized);
    quint32 x = 2463534242u;
    for (qint64 done = 0; done < kSize; done += block.size()) {
        for (char& c : block) {
            x ^= x << 13;
            x ^= x >> 17;
            x ^= x << 5;
            c = static_cast<char>(x);
        }
        if (f.write(block) != block.size())
            return false;
    }
    return true;
}

// The floor: the file read in blocks and written to a socket, then the
// receiver's "OK" once it has stored everything.
bool socketCopy(const QString& path, int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<quint16>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    QFile f(path);
    ok = ok && f.open(QIODevice::ReadOnly);
    char block[1 << 16];
    while (ok) {
        const qint64 n = f.read(block, sizeof block);
        if (n <= 0)
            break;
        for (qint64 sent = 0; ok && sent < n;) {
            const ssize_t w = ::send(fd, block + sent, static_cast<size_t>(n - sent), 0);
            ok = w > 0;
            sent += w;
        }
    }
    ::shutdown(fd, SHUT_WR);
    char answer[3] = {};
    ok = ok && ::recv(fd, answer, 3, MSG_WAITALL) == 3 && answer[0] == 'O';
    ::close(fd);
    return ok;
}

bool smtpSend(const QString& path, const SmtpServer& server, qint64* bytes)
{
    MailMessage m;
    m.from = {QStringLiteral("Bench"), QStringLiteral("bench@example.org")};
    m.to = {{QString(), QStringLiteral("owner@example.net")}};
    m.subject = QStringLiteral("Pièce jointe de 20 Mo");
    m.attachments = {path};
    ComposeResult composed = compose(m);
    if (!composed.source)
        return false;
    *bytes = composed.source->totalSize();
    const SendOutcome outcome =
        sendMessage(server, m.from.address, m.envelopeRecipients(), *composed.source);
    if (!outcome.ok)
        std::fprintf(stderr, "%s\n", qPrintable(outcome.message));
    return outcome.ok;
}

bool encodeOnly(const QString& path)
{
    MailMessage m;
    m.from = {QString(), QStringLiteral("bench@example.org")};
    m.to = {{QString(), QStringLiteral("owner@example.net")}};
    m.attachments = {path};
    ComposeResult composed = compose(m);
    if (!composed.source)
        return false;
    char block[1 << 16];
    qint64 n = 0;
    while ((n = composed.source->read(block, sizeof block)) > 0) {
    }
    return n == 0;
}

} // namespace

int main(int argc, char** argv)
{
    // As the program does, first thing.
    tav::keepFreedHeapForReuse();
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("attachment.bin"));
    if (!writeFile(file))
        return 1;

    MailPeer sink;
    MailPeer plain;
    MailPeer tls;
    if (!sink.startSink() || !plain.start() || !tls.makeCertificate() ||
        !tls.start({QStringLiteral("--starttls")})) {
        std::fprintf(stderr, "cannot start the local peers\n");
        return 1;
    }
    SmtpServer plainServer;
    plainServer.host = QStringLiteral("127.0.0.1");
    plainServer.port = plain.port();
    SmtpServer tlsServer = plainServer;
    tlsServer.port = tls.port();
    tlsServer.security = SmtpSecurity::StartTls;
    tlsServer.caFile = tls.certFile();

    const Memory before = processMemory();
    std::vector<double> floorMs, plainMs, tlsMs, plainCpu, tlsCpu, encodeMs;
    qint64 messageBytes = 0;
    for (int run = 0; run < kRuns; ++run) {
        // Interleaved, so that a busy moment of the machine hits all three.
        Stopwatch watch;
        if (!socketCopy(file, sink.port()))
            return 1;
        floorMs.push_back(watch.wallMs());
        watch.start();
        if (!smtpSend(file, plainServer, &messageBytes))
            return 1;
        plainMs.push_back(watch.wallMs());
        plainCpu.push_back(watch.cpuMs());
        watch.start();
        if (!smtpSend(file, tlsServer, &messageBytes))
            return 1;
        tlsMs.push_back(watch.wallMs());
        tlsCpu.push_back(watch.cpuMs());
        // Our own share: composing and encoding the message, nothing sent.
        watch.start();
        if (!encodeOnly(file))
            return 1;
        encodeMs.push_back(watch.wallMs());
        QFile::remove(plain.messageFile(run + 1));
        QFile::remove(tls.messageFile(run + 1));
    }
    const Memory after = processMemory();

    std::printf("attachment: %lld bytes, message: %lld bytes\n", static_cast<long long>(kSize),
                static_cast<long long>(messageBytes));
    std::printf("floor, plain socket copy of the file: %s\n", qPrintable(spread(floorMs)));
    std::printf("SMTP, plain:                         %s  ratio %.2f\n",
                qPrintable(spread(plainMs)), median(plainMs) / median(floorMs));
    std::printf("SMTP, STARTTLS:                      %s  ratio %.2f\n", qPrintable(spread(tlsMs)),
                median(tlsMs) / median(floorMs));
    std::printf("this process's CPU while sending: plain %s, STARTTLS %s\n",
                qPrintable(spread(plainCpu)), qPrintable(spread(tlsCpu)));
    std::printf("composing and encoding only:         %s  ratio %.2f\n",
                qPrintable(spread(encodeMs)), median(encodeMs) / median(floorMs));
    std::printf("peak resident memory: %.1f MB before the runs, %.1f MB after (file %.0f MB)\n",
                before.hwm, after.hwm, double(kSize) / (1024 * 1024));
    return 0;
}
