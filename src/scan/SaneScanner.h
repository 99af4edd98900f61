#pragma once

#include <QImage>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace tav::scan {

// A scanner as SANE names it ("test:0", "epson2:libusb:001:004").
struct Device
{
    QString name;
    QString vendor;
    QString model;
    QString type;
    // What a user recognises: vendor and model, else the name.
    QString label() const;
};

// The outcome of a question to SANE: success or a French reason.
struct DeviceList
{
    bool ok = true;
    QString error;
    QVector<Device> devices;
};

// What a scan is asked for. Zero or empty values leave the scanner's own.
struct Options
{
    int resolution = 0; // dots per inch
    QString mode;       // SANE's names: "Color", "Gray", "Lineart"
    QRectF areaMm;      // left, top, width, height in millimetres
};

// What a scanner offers, for the scan settings window.
struct Capabilities
{
    bool ok = true;
    QString error;
    QVector<int> resolutions; // the allowed values, or a range's two ends
    bool resolutionRange = false;
    int resolution = 0; // the current one
    QStringList modes;
    QString mode;
    QRectF maxAreaMm; // the largest area, empty when the scanner has none
};

// SANE is started once per process while anything uses it and stopped
// when the last user goes.
class Session
{
public:
    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    bool ok() const { return m_ok; }

private:
    bool m_ok = false;
};

DeviceList listDevices();
Capabilities capabilities(const QString& deviceName);

// The French sentence for a SANE status.
QString statusText(int saneStatus);

// One acquisition, run on a worker thread: open the scanner, set the
// options, read one page into a picture, close. progress() and finished()
// arrive in the thread that owns the job. cancel() stops it as soon as the
// scanner allows; finished() then says so.
class ScanJob : public QObject
{
    Q_OBJECT
public:
    ScanJob(const QString& deviceName, const Options& options, QObject* parent = nullptr);
    // Cancels and waits for the worker.
    ~ScanJob() override;

    // Reads one block of the page as sane_read does: the SANE handle, the
    // buffer, its size, the bytes got; returns a SANE status.
    using Reader = std::function<int(void*, unsigned char*, int, int*)>;
    // Replaces the scanner's reads (set before start()), so that a scanner
    // failing in the middle of a page can be played.
    void setReader(Reader reader) { m_reader = std::move(reader); }
    // The reads of the jobs made from now on, for windows that make their
    // own job; an empty one brings back the scanner's.
    static void setDefaultReader(Reader reader);

    void start();
    void cancel();
    bool isRunning() const;

signals:
    void progress(int percent);
    // A null picture with the French reason on failure; cancelled when the
    // user stopped it (no reason then).
    void finished(const QImage& picture, const QString& error, bool cancelled);

private:
    void run();

    QString m_device;
    Options m_options;
    std::atomic<bool> m_cancel{false};
    Reader m_reader;
    std::unique_ptr<Session> m_session;
    QThread* m_thread = nullptr;
};

} // namespace tav::scan
