#include "maintenance/JournalFile.h"

#include <QFile>
#include <QSaveFile>

namespace tav {

namespace {

// The first line of a journal whose fields are encoded.
const QByteArray kHeader = QByteArrayLiteral("TAVIRUNE-JOURNAL 2");

// Readable paths: only what could break a record, or be mistaken for an
// encoding, is encoded.
const QByteArray kKeptAsIs = QByteArrayLiteral("/ :()[]{}!$&'*+,;=@~");

} // namespace

bool writeJournal(const QString& path, const QVector<QStringList>& records)
{
    QByteArray text = kHeader + '\n';
    for (const QStringList& record : records) {
        QByteArrayList fields;
        for (const QString& field : record)
            fields << field.toUtf8().toPercentEncoding(kKeptAsIs);
        text += fields.join('\t') + '\n';
    }
    QSaveFile journal(path);
    return journal.open(QIODevice::WriteOnly) && journal.write(text) == text.size() &&
           journal.commit();
}

bool readJournal(const QString& path, QVector<QStringList>* records)
{
    records->clear();
    QFile journal(path);
    if (!journal.open(QIODevice::ReadOnly))
        return false;
    QByteArrayList lines = journal.readAll().split('\n');
    const bool encoded = !lines.isEmpty() && lines.first() == kHeader;
    if (encoded)
        lines.removeFirst();
    for (const QByteArray& line : std::as_const(lines)) {
        if (line.isEmpty())
            continue;
        QStringList record;
        for (const QByteArray& field : line.split('\t'))
            record << QString::fromUtf8(encoded ? QByteArray::fromPercentEncoding(field) : field);
        records->append(record);
    }
    return true;
}

} // namespace tav
