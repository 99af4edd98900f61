#include "core/TextFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <cerrno>

namespace tav {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

const QByteArray& utf8Bom()
{
    static const QByteArray bom("\xEF\xBB\xBF", 3);
    return bom;
}

} // namespace

QString decodeWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        *out++ = (byte >= 0x80 && byte <= 0x9F) ? QChar(kCp1252High[byte - 0x80])
                                                : QChar(char16_t(byte));
    }
    return text;
}

QString decodeText(const QByteArray& bytes)
{
    // Notepad and the Windows profile functions save "Unicode" files as
    // UTF-16 with a byte-order mark.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE
                                                          : QStringDecoder::Utf16BE,
                             QStringDecoder::Flag::Stateless);
        return utf16.decode(bytes.mid(2));
    }
    if (bytes.startsWith(utf8Bom())) {
        // A byte-order mark is a clear statement of UTF-8; stray bad bytes
        // after it become replacement characters.
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    return decodeWindows1252(bytes);
}

QString normalizeLineBreaks(const QString& text)
{
    const QStringList lines = splitTextLines(text);
    QString result;
    qsizetype size = 0;
    for (const QString& line : lines)
        size += line.size() + 2;
    result.reserve(size);
    for (const QString& line : lines) {
        result += line;
        result += QLatin1String("\r\n");
    }
    return result;
}

QStringList splitTextLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}

QString readTextFile(const QString& path, bool* ok)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (ok)
            *ok = false;
        return {};
    }
    const QByteArray bytes = file.readAll();
    const bool readOk = file.error() == QFileDevice::NoError;
    if (ok)
        *ok = readOk;
    return readOk ? decodeText(bytes) : QString();
}

QStringList readTextLines(const QString& path, bool* ok)
{
    return splitTextLines(readTextFile(path, ok));
}

FileResult writeTextFile(const QString& path, const QString& text)
{
    const auto failed = [&path](int errorNumber) {
        const QString reason = systemErrorReason(errorNumber);
        return FileResult::failure(
            QStringLiteral("Le fichier « %1 » ne peut pas être écrit").arg(path) +
            (reason.isEmpty() ? QString() : QStringLiteral(" : ") + reason) + QLatin1Char('.'));
    };
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        return failed(errno);
    const QByteArray bytes = normalizeLineBreaks(text).toUtf8();
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const int why = errno;
        file.cancelWriting();
        return failed(why);
    }
    errno = 0;
    if (!file.commit())
        return failed(errno);
    return FileResult::success();
}

FileResult writeTextLines(const QString& path, const QStringList& lines)
{
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return writeTextFile(path, text);
}

} // namespace tav
