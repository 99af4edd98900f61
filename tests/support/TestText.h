#pragma once

// Small helpers shared by the test programs.

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <initializer_list>

inline QString u(const char* text)
{
    return QString::fromUtf8(text);
}

inline QStringList strings(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* t : texts)
        list.append(QString::fromUtf8(t));
    return list;
}

inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Bytes that do not compress, the same for the same seed.
inline QByteArray noise(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = char(random.bounded(256));
    return bytes;
}
