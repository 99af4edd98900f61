#include "mail/MessageSource.h"

#include "mail/MimeMessage.h"

#include <QDir>

#include <algorithm>
#include <cstring>

namespace tav::mail {

namespace {

// 57 input bytes make one 76-character line; a block of whole lines keeps
// the line breaks in place from one block to the next.
constexpr qint64 kLineInput = 57;
constexpr qint64 kBlockInput = kLineInput * 1024;

QByteArray encodeLines(const QByteArray& raw)
{
    QByteArray out;
    out.reserve((raw.size() / kLineInput + 1) * 78);
    for (qsizetype at = 0; at < raw.size(); at += kLineInput) {
        out += raw.mid(at, kLineInput).toBase64();
        out += "\r\n";
    }
    return out;
}

} // namespace

void MessageSource::appendText(const QByteArray& bytes)
{
    if (!m_segments.empty() && m_segments.back().path.isEmpty())
        m_segments.back().text += bytes;
    else
        m_segments.push_back({bytes, QString()});
    m_totalSize += bytes.size();
}

void MessageSource::appendBase64File(const QString& path, qint64 size)
{
    m_segments.push_back({QByteArray(), path});
    m_totalSize += base64EncodedSize(size);
}

void MessageSource::rewind()
{
    m_index = 0;
    m_offset = 0;
    m_produced = 0;
    m_pending.clear();
    m_file.close();
    m_fileDone = false;
    m_error.clear();
}

bool MessageSource::fillFromFile(const Segment& segment)
{
    if (!m_file.isOpen()) {
        m_file.setFileName(segment.path);
        if (!m_file.open(QIODevice::ReadOnly)) {
            m_error = QStringLiteral("Le fichier « %1 » ne peut pas être lu.")
                          .arg(QDir::toNativeSeparators(segment.path));
            return false;
        }
    }
    QByteArray raw(kBlockInput, Qt::Uninitialized);
    qint64 got = 0;
    while (got < kBlockInput) {
        const qint64 n = m_file.read(raw.data() + got, kBlockInput - got);
        if (n < 0) {
            m_error = QStringLiteral("Le fichier « %1 » ne peut pas être lu.")
                          .arg(QDir::toNativeSeparators(segment.path));
            return false;
        }
        if (n == 0)
            break;
        got += n;
    }
    raw.truncate(got);
    m_pending = encodeLines(raw);
    m_offset = 0;
    if (got < kBlockInput) {
        m_fileDone = true;
        m_file.close();
    }
    return true;
}

qint64 MessageSource::read(char* data, qint64 maxSize)
{
    qint64 written = 0;
    while (written < maxSize && m_index < m_segments.size()) {
        const Segment& segment = m_segments[m_index];
        const QByteArray* from = &segment.text;
        if (!segment.path.isEmpty()) {
            if (m_offset >= m_pending.size()) {
                if (m_fileDone) {
                    m_fileDone = false;
                    m_pending.clear();
                    m_offset = 0;
                    ++m_index;
                    continue;
                }
                if (!fillFromFile(segment))
                    return -1;
                continue;
            }
            from = &m_pending;
        } else if (m_offset >= from->size()) {
            m_offset = 0;
            ++m_index;
            continue;
        }
        const qint64 n = std::min<qint64>(maxSize - written, from->size() - m_offset);
        std::memcpy(data + written, from->constData() + m_offset, static_cast<std::size_t>(n));
        written += n;
        m_offset += n;
    }
    m_produced += written;
    return written;
}

QByteArray MessageSource::readAll()
{
    QByteArray all;
    char block[65536];
    for (;;) {
        const qint64 n = read(block, sizeof block);
        if (n <= 0)
            break;
        all.append(block, n);
    }
    return all;
}

} // namespace tav::mail
