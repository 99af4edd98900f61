#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <vector>

namespace tav::mail {

// The bytes of a composed message, produced piece by piece while they are
// sent: fixed texts are held in memory, attachments are read from their
// files and base64-encoded a block at a time, so that a large file is never
// loaded whole.
class MessageSource
{
public:
    MessageSource() = default;
    MessageSource(const MessageSource&) = delete;
    MessageSource& operator=(const MessageSource&) = delete;

    void appendText(const QByteArray& bytes);
    // Size of the file when it is appended; the encoded size follows it.
    void appendBase64File(const QString& path, qint64 size);

    // The size of the whole message, 64-bit so that large files do not
    // wrap it. A file that changes size while it is sent makes it inexact.
    qint64 totalSize() const { return m_totalSize; }
    qint64 produced() const { return m_produced; }

    // Copies up to maxSize bytes into data; 0 at the end, -1 on a file
    // that can no longer be read (error() then tells which).
    qint64 read(char* data, qint64 maxSize);
    QString error() const { return m_error; }

    // Starts again from the first byte.
    void rewind();

    // The whole message in memory: for tests and small messages only.
    QByteArray readAll();

private:
    struct Segment
    {
        QByteArray text;
        QString path; // a base64-encoded file when not empty
    };

    bool fillFromFile(const Segment& segment);

    std::vector<Segment> m_segments;
    qint64 m_totalSize = 0;
    qint64 m_produced = 0;
    std::size_t m_index = 0;
    qint64 m_offset = 0;  // within the current text, or within m_pending
    QByteArray m_pending; // encoded bytes of the current file not yet read
    QFile m_file;
    bool m_fileDone = false;
    QString m_error;
};

} // namespace tav::mail
