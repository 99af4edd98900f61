#pragma once

// A real SMTP server for the tests: Python's aiosmtpd on 127.0.0.1,
// storing what it accepts; Python's email package reads the messages back.

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace tav::test {

class MailPeer
{
public:
    MailPeer() { QDir(m_dir.path()).mkpath(QStringLiteral("store")); }
    ~MailPeer() { stop(); }
    MailPeer(const MailPeer&) = delete;
    MailPeer& operator=(const MailPeer&) = delete;

    static QString python() { return QStringLiteral("/usr/bin/python3"); }
    static QString script() { return QStringLiteral(TAVIRUNE_MAILPEER); }

    // A throw-away self-signed certificate for 127.0.0.1.
    bool makeCertificate()
    {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                       QStringLiteral("rsa:2048"), QStringLiteral("-nodes"),
                       QStringLiteral("-keyout"), keyFile(), QStringLiteral("-out"), certFile(),
                       QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                       QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                       QStringLiteral("subjectAltName=IP:127.0.0.1")});
        return openssl.waitForFinished(60000) && openssl.exitCode() == 0;
    }
    QString certFile() const { return m_dir.filePath(QStringLiteral("cert.pem")); }
    QString keyFile() const { return m_dir.filePath(QStringLiteral("key.pem")); }
    QString store() const { return m_dir.filePath(QStringLiteral("store")); }

    // Options of mailpeer.py serve: --starttls, --tls, --user U --password P,
    // --reject ADDRESS. The certificate is passed when it was made.
    bool start(const QStringList& options = {}) { return run(QStringLiteral("serve"), options); }
    // A plain socket that stores what it receives and answers "OK" once the
    // sender has closed its side: the floor of the benchmark.
    bool startSink() { return run(QStringLiteral("sink"), {}); }

private:
    bool run(const QString& command, const QStringList& options)
    {
        QStringList args{script(), command, QStringLiteral("--store"), store()};
        if (command == QLatin1String("serve") && QFile::exists(certFile()))
            args << QStringLiteral("--cert") << certFile() << QStringLiteral("--key") << keyFile();
        args << options;
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start(python(), args);
        if (!m_server.waitForStarted(10000))
            return false;
        for (int i = 0; i < 200 && !m_server.canReadLine(); ++i)
            m_server.waitForReadyRead(100);
        const QByteArray line = m_server.readLine().trimmed();
        if (!line.startsWith("READY "))
            return false;
        m_port = line.mid(6).toInt();
        return m_port > 0;
    }

public:
    void stop()
    {
        if (m_server.state() == QProcess::NotRunning)
            return;
        m_server.closeWriteChannel();
        if (!m_server.waitForFinished(5000)) {
            m_server.kill();
            m_server.waitForFinished(5000);
        }
    }

    int port() const { return m_port; }

    int messageCount() const
    {
        return static_cast<int>(
            QDir(store()).entryList({QStringLiteral("*.eml")}, QDir::Files).size());
    }
    QString messageFile(int n) const
    {
        return QDir(store()).filePath(QStringLiteral("msg%1.eml").arg(n));
    }
    // from, to (the envelope's recipients), login, tls.
    QJsonObject envelope(int n) const
    {
        QFile f(QDir(store()).filePath(QStringLiteral("msg%1.json").arg(n)));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(f.readAll()).object();
    }

    // headers (name -> list of values, decoded), body, attachments
    // (filename, type, size, sha256), defects.
    static QJsonObject readMessage(const QString& emlPath)
    {
        QProcess reader;
        reader.start(python(), {script(), QStringLiteral("read"), emlPath});
        if (!reader.waitForFinished(60000) || reader.exitCode() != 0)
            return {};
        return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
    }

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    int m_port = 0;
};

} // namespace tav::test
