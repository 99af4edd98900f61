#pragma once

// A SANE configuration with the "test" backend alone. SANE reads
// SANE_CONFIG_DIR once per process, so every configuration is written into
// the same folder, made for the process and removed at its end.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <dlfcn.h>

class SaneTestConfig
{
public:
    // testConf: lines of test.conf (the backend's defaults for the rest).
    // Without scanners, no backend is listed at all.
    explicit SaneTestConfig(const QByteArray& testConf = {}, bool scanners = true)
    {
        // SANE's test scanner now and then loses a buffer of its reader
        // when a scan ends. Kept mapped, it can be named in the leak report
        // and its suppression applies; SANE would unload it at each exit.
        static void* const kept =
            dlopen("/usr/lib/x86_64-linux-gnu/sane/libsane-test.so.1", RTLD_NOW | RTLD_NODELETE);
        Q_UNUSED(kept);
        write("dll.conf", scanners ? "test\n" : "");
        // The glass and resolution of the backend's own example; lines
        // given later replace these.
        write("test.conf", "number_of_devices 2\nresolution 50\ngeometry_min 0.0\n"
                           "geometry_max 200.0\ngeometry_quant 1.0\ntl_x 0.0\ntl_y 0.0\n"
                           "br_x 80.0\nbr_y 100.0\n" +
                               testConf);
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
