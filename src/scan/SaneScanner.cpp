#include "scan/SaneScanner.h"

#include "core/FrenchText.h"
#include "core/TextRoutines.h"

#include <QThread>

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <cstring>
#include <mutex>

namespace tav::scan {

namespace {

std::mutex g_sessionLock;
int g_sessions = 0;
bool g_started = false;

QString deviceGone()
{
    return fr("Le scanner ne répond plus : il a peut-être été débranché ou éteint.");
}

// The scanner's options, found by name.
class OptionSet
{
public:
    explicit OptionSet(SANE_Handle handle) : m_handle(handle) {}

    int find(const char* name) const
    {
        SANE_Int count = 0;
        if (sane_control_option(m_handle, 0, SANE_ACTION_GET_VALUE, &count, nullptr) !=
            SANE_STATUS_GOOD)
            return -1;
        for (int i = 1; i < count; ++i) {
            const SANE_Option_Descriptor* d = sane_get_option_descriptor(m_handle, i);
            if (d && d->name && std::strcmp(d->name, name) == 0)
                return i;
        }
        return -1;
    }

    const SANE_Option_Descriptor* descriptor(int index) const
    {
        return index < 0 ? nullptr : sane_get_option_descriptor(m_handle, index);
    }

    bool settable(int index) const
    {
        const SANE_Option_Descriptor* d = descriptor(index);
        return d && SANE_OPTION_IS_ACTIVE(d->cap) && SANE_OPTION_IS_SETTABLE(d->cap);
    }

    // Sets a number, whole or fixed-point as the option wants.
    bool setNumber(const char* name, double value)
    {
        const int i = find(name);
        if (!settable(i))
            return false;
        const SANE_Option_Descriptor* d = descriptor(i);
        SANE_Word word = d->type == SANE_TYPE_FIXED ? SANE_FIX(value) : SANE_Word(value + 0.5);
        return sane_control_option(m_handle, i, SANE_ACTION_SET_VALUE, &word, nullptr) ==
               SANE_STATUS_GOOD;
    }

    double number(const char* name, double fallback) const
    {
        const int i = find(name);
        const SANE_Option_Descriptor* d = descriptor(i);
        if (!d || !SANE_OPTION_IS_ACTIVE(d->cap) ||
            (d->type != SANE_TYPE_INT && d->type != SANE_TYPE_FIXED) || d->size < 1)
            return fallback;
        SANE_Word word = 0;
        if (sane_control_option(m_handle, i, SANE_ACTION_GET_VALUE, &word, nullptr) !=
            SANE_STATUS_GOOD)
            return fallback;
        return d->type == SANE_TYPE_FIXED ? SANE_UNFIX(word) : double(word);
    }

    bool setText(const char* name, const QString& value)
    {
        const int i = find(name);
        if (!settable(i) || descriptor(i)->type != SANE_TYPE_STRING)
            return false;
        QByteArray text = value.toUtf8();
        text.resize(std::max<qsizetype>(descriptor(i)->size, text.size() + 1));
        return sane_control_option(m_handle, i, SANE_ACTION_SET_VALUE, text.data(), nullptr) ==
               SANE_STATUS_GOOD;
    }

    QString text(const char* name) const
    {
        const int i = find(name);
        const SANE_Option_Descriptor* d = descriptor(i);
        if (!d || d->type != SANE_TYPE_STRING || !SANE_OPTION_IS_ACTIVE(d->cap))
            return {};
        QByteArray text(d->size + 1, '\0');
        if (sane_control_option(m_handle, i, SANE_ACTION_GET_VALUE, text.data(), nullptr) !=
            SANE_STATUS_GOOD)
            return {};
        return QString::fromUtf8(text.constData());
    }

private:
    SANE_Handle m_handle;
};

struct Handle
{
    SANE_Handle handle = nullptr;
    ~Handle()
    {
        if (handle)
            sane_close(handle);
    }
};

// Turns the bytes of a frame into a picture of the program's formats.
QImage pictureOf(const QByteArray& data, const SANE_Parameters& p, int lines)
{
    const int width = p.pixels_per_line;
    const int bpl = p.bytes_per_line;
    if (width <= 0 || lines <= 0 || bpl <= 0)
        return {};
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    if (p.format == SANE_FRAME_GRAY) {
        QImage image(width, lines, QImage::Format_Grayscale8);
        if (image.isNull())
            return {};
        for (int y = 0; y < lines; ++y) {
            const uchar* in = bytes + qsizetype(y) * bpl;
            uchar* out = image.scanLine(y);
            for (int x = 0; x < width; ++x) {
                if (p.depth == 1)
                    out[x] = (in[x / 8] & (0x80 >> (x % 8))) ? 0 : 255; // 1 is black
                else if (p.depth == 16)
                    out[x] = uchar(reinterpret_cast<const quint16*>(in)[x] >> 8);
                else
                    out[x] = in[x];
            }
        }
        return image;
    }
    if (p.format == SANE_FRAME_RGB && (p.depth == 8 || p.depth == 16)) {
        QImage image(width, lines, QImage::Format_RGB888);
        if (image.isNull())
            return {};
        for (int y = 0; y < lines; ++y) {
            const uchar* in = bytes + qsizetype(y) * bpl;
            uchar* out = image.scanLine(y);
            for (int x = 0; x < 3 * width; ++x)
                out[x] = p.depth == 8 ? in[x] : uchar(reinterpret_cast<const quint16*>(in)[x] >> 8);
        }
        return image;
    }
    return {};
}

} // namespace

QString Device::label() const
{
    const QString both = QString(vendor + QLatin1Char(' ') + model).trimmed();
    return both.isEmpty() ? name : both;
}

Session::Session()
{
    std::lock_guard<std::mutex> lock(g_sessionLock);
    if (!g_started) {
        SANE_Int version = 0;
        g_started = sane_init(&version, nullptr) == SANE_STATUS_GOOD;
    }
    m_ok = g_started;
    ++g_sessions;
}

Session::~Session()
{
    std::lock_guard<std::mutex> lock(g_sessionLock);
    if (--g_sessions == 0 && g_started) {
        sane_exit();
        g_started = false;
    }
}

QString statusText(int saneStatus)
{
    switch (saneStatus) {
    case SANE_STATUS_GOOD:
        return {};
    case SANE_STATUS_UNSUPPORTED:
        return fr("Le scanner ne permet pas cette opération.");
    case SANE_STATUS_CANCELLED:
        return fr("La numérisation a été annulée.");
    case SANE_STATUS_DEVICE_BUSY:
        return fr("Le scanner est occupé par un autre programme.");
    case SANE_STATUS_INVAL:
        return fr("Le scanner a refusé les réglages demandés.");
    case SANE_STATUS_JAMMED:
        return fr("Le papier est coincé dans le scanner.");
    case SANE_STATUS_NO_DOCS:
        return fr("Il n'y a pas de document dans le scanner.");
    case SANE_STATUS_COVER_OPEN:
        return fr("Le capot du scanner est ouvert.");
    case SANE_STATUS_IO_ERROR:
        return deviceGone();
    case SANE_STATUS_NO_MEM:
        return fr("La mémoire est insuffisante pour numériser.");
    case SANE_STATUS_ACCESS_DENIED:
        return fr("L'accès au scanner est refusé.");
    case SANE_STATUS_EOF:
        return fr("Le scanner n'a plus rien envoyé.");
    default:
        // SANE's own text is English: kept for the support, under the sentence.
        return withDetailLine(fr("Le scanner a signalé une erreur."),
                              QString::fromUtf8(sane_strstatus(SANE_Status(saneStatus))));
    }
}

DeviceList listDevices()
{
    Session session;
    if (!session.ok())
        return {false, fr("Les pilotes de scanner (SANE) ne peuvent pas être chargés."), {}};
    const SANE_Device** list = nullptr;
    const SANE_Status status = sane_get_devices(&list, SANE_FALSE);
    if (status != SANE_STATUS_GOOD)
        return {false, statusText(status), {}};
    DeviceList result;
    for (int i = 0; list && list[i]; ++i) {
        const SANE_Device* d = list[i];
        result.devices.append({QString::fromUtf8(d->name), QString::fromUtf8(d->vendor),
                               QString::fromUtf8(d->model), QString::fromUtf8(d->type)});
    }
    return result;
}

Capabilities capabilities(const QString& deviceName)
{
    Capabilities c;
    Session session;
    Handle h;
    const SANE_Status status = sane_open(deviceName.toUtf8().constData(), &h.handle);
    if (!session.ok() || status != SANE_STATUS_GOOD) {
        c.ok = false;
        c.error = status == SANE_STATUS_GOOD ? deviceGone() : statusText(status);
        return c;
    }
    OptionSet options(h.handle);
    if (const SANE_Option_Descriptor* d =
            options.descriptor(options.find(SANE_NAME_SCAN_RESOLUTION))) {
        const bool fixed = d->type == SANE_TYPE_FIXED;
        auto value = [fixed](SANE_Word w) {
            return fixed ? int(SANE_UNFIX(w)) : int(w);
        };
        if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
            for (int i = 1; i <= d->constraint.word_list[0]; ++i)
                c.resolutions.append(value(d->constraint.word_list[i]));
        } else if (d->constraint_type == SANE_CONSTRAINT_RANGE) {
            c.resolutionRange = true;
            c.resolutions = {std::max(1, value(d->constraint.range->min)),
                             value(d->constraint.range->max)};
        }
        c.resolution = int(options.number(SANE_NAME_SCAN_RESOLUTION, 0));
    }
    if (const SANE_Option_Descriptor* d = options.descriptor(options.find(SANE_NAME_SCAN_MODE));
        d && d->constraint_type == SANE_CONSTRAINT_STRING_LIST) {
        for (const SANE_String_Const* s = d->constraint.string_list; *s; ++s)
            c.modes << QString::fromUtf8(*s);
        c.mode = options.text(SANE_NAME_SCAN_MODE);
    }
    auto rangeMax = [&options](const char* name) {
        const SANE_Option_Descriptor* d = options.descriptor(options.find(name));
        if (!d || d->constraint_type != SANE_CONSTRAINT_RANGE)
            return 0.0;
        return d->type == SANE_TYPE_FIXED ? SANE_UNFIX(d->constraint.range->max)
                                          : double(d->constraint.range->max);
    };
    c.maxAreaMm = QRectF(0, 0, rangeMax(SANE_NAME_SCAN_BR_X), rangeMax(SANE_NAME_SCAN_BR_Y));
    return c;
}

static ScanJob::Reader& defaultReader()
{
    static ScanJob::Reader reader;
    return reader;
}

ScanJob::ScanJob(const QString& deviceName, const Options& options, QObject* parent)
    : QObject(parent), m_device(deviceName), m_options(options), m_reader(defaultReader())
{}

void ScanJob::setDefaultReader(Reader reader)
{
    defaultReader() = std::move(reader);
}

ScanJob::~ScanJob()
{
    cancel();
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

void ScanJob::start()
{
    if (m_thread)
        return;
    m_session = std::make_unique<Session>();
    m_thread = QThread::create([this]() { run(); });
    m_thread->start();
}

void ScanJob::cancel()
{
    m_cancel = true;
}

bool ScanJob::isRunning() const
{
    return m_thread && m_thread->isRunning();
}

void ScanJob::run()
{
    auto fail = [this](const QString& why) {
        emit finished(QImage(), why, false);
    };
    if (!m_session->ok()) {
        fail(fr("Les pilotes de scanner (SANE) ne peuvent pas être chargés."));
        return;
    }
    Handle h;
    SANE_Status status = sane_open(m_device.toUtf8().constData(), &h.handle);
    if (status != SANE_STATUS_GOOD) {
        fail(status == SANE_STATUS_INVAL ? deviceGone() : statusText(status));
        return;
    }
    OptionSet options(h.handle);
    if (!m_options.mode.isEmpty())
        options.setText(SANE_NAME_SCAN_MODE, m_options.mode);
    if (m_options.resolution > 0)
        options.setNumber(SANE_NAME_SCAN_RESOLUTION, m_options.resolution);
    if (m_options.areaMm.isValid()) {
        // Corners in the order that keeps each a valid range at every step.
        options.setNumber(SANE_NAME_SCAN_TL_X, m_options.areaMm.left());
        options.setNumber(SANE_NAME_SCAN_TL_Y, m_options.areaMm.top());
        options.setNumber(SANE_NAME_SCAN_BR_X, m_options.areaMm.right());
        options.setNumber(SANE_NAME_SCAN_BR_Y, m_options.areaMm.bottom());
    }
    if (m_cancel) {
        emit finished(QImage(), QString(), true);
        return;
    }
    status = sane_start(h.handle);
    if (status != SANE_STATUS_GOOD) {
        fail(statusText(status));
        return;
    }
    SANE_Parameters p{};
    status = sane_get_parameters(h.handle, &p);
    if (status != SANE_STATUS_GOOD) {
        sane_cancel(h.handle);
        fail(statusText(status));
        return;
    }
    if (p.format != SANE_FRAME_GRAY && p.format != SANE_FRAME_RGB) {
        sane_cancel(h.handle);
        fail(fr("Ce scanner livre les couleurs en plusieurs passages, ce qui n'est pas pris en "
                "charge : choisissez un autre mode."));
        return;
    }
    const qint64 expected = p.lines > 0 ? qint64(p.lines) * p.bytes_per_line : -1;
    QByteArray data;
    if (expected > 0)
        data.reserve(expected);
    QByteArray block(64 * 1024, Qt::Uninitialized);
    auto read = [this, &h, &block](SANE_Int* got) {
        auto* bytes = reinterpret_cast<SANE_Byte*>(block.data());
        if (m_reader)
            return SANE_Status(m_reader(h.handle, bytes, int(block.size()), got));
        return sane_read(h.handle, bytes, SANE_Int(block.size()), got);
    };
    int shown = -1;
    for (;;) {
        if (m_cancel) {
            // The scanner acknowledges the cancel on its next read; only
            // then has it let go of the page.
            sane_cancel(h.handle);
            SANE_Int ignored = 0;
            while (read(&ignored) == SANE_STATUS_GOOD) {
            }
            emit finished(QImage(), QString(), true);
            return;
        }
        SANE_Int got = 0;
        status = read(&got);
        if (status == SANE_STATUS_EOF)
            break;
        if (status == SANE_STATUS_CANCELLED) {
            sane_cancel(h.handle);
            emit finished(QImage(), QString(), true);
            return;
        }
        if (status != SANE_STATUS_GOOD) {
            // A driver may still run its reading thread after an error; only a
            // cancel makes it stop before the handle and the drivers go away.
            sane_cancel(h.handle);
            fail(fr("La numérisation a été interrompue. ") + statusText(status));
            return;
        }
        data.append(block.constData(), got);
        if (expected > 0) {
            const int percent = int(std::min<qint64>(100, data.size() * 100 / expected));
            if (percent != shown) {
                shown = percent;
                emit progress(percent);
            }
        }
    }
    sane_cancel(h.handle);
    const int lines = p.bytes_per_line > 0 ? int(data.size() / p.bytes_per_line) : 0;
    if (expected > 0 && data.size() < expected) {
        fail(fr("La numérisation a été interrompue : le scanner n'a livré qu'une partie de "
                "l'image. ") +
             deviceGone());
        return;
    }
    const QImage picture = pictureOf(data, p, lines);
    if (picture.isNull()) {
        fail(fr("Le scanner a livré une image vide ou dans un format non pris en charge."));
        return;
    }
    emit progress(100);
    emit finished(picture, QString(), false);
}

} // namespace tav::scan
