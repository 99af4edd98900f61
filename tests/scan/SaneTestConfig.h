#pragma once

// A SANE configuration with the "test" backend alone. SANE reads
// SANE_CONFIG_DIR once per process, so every configuration is written into
// the same folder, made for the process and removed at its end.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

class SaneTestConfig
{
public:
    // testConf: lines of test.conf (the backend's defaults for the rest).
    explicit SaneTestConfig(const QByteArray& testConf = {})
    {
        write("dll.conf", "test\n");
        write("test.conf", "number_of_devices 2\n" + testConf);
        // No trailing colon: the system's folders are not searched.
        qputenv("SANE_CONFIG_DIR", QFile::encodeName(folder().path()));
    }
    SaneTestConfig(const SaneTestConfig&) = delete;
    SaneTestConfig& operator=(const SaneTestConfig&) = delete;

private:
    void write(const char* name, const QByteArray& content)
    {
        QFile f(folder().filePath(QString::fromLatin1(name)));
        if (f.open(QIODevice::WriteOnly))
            f.write(content);
    }

    static QTemporaryDir& folder()
    {
        static QTemporaryDir dir;
        return dir;
    }
};
