#include "migration/JetValues.h"

#include <QtEndian>

#include <cmath>
#include <cstring>

namespace tav {

QDate jetDate(const char* eightBytes)
{
    quint64 bits = qFromLittleEndian<quint64>(eightBytes);
    double days = 0;
    std::memcpy(&days, &bits, sizeof days);
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        return {};
    // Before the epoch Jet keeps the time of day as a positive fraction
    // of a negative day count, so truncation towards zero gives the day.
    const QDate date = QDate(1899, 12, 30).addDays(qint64(std::trunc(days)));
    if (!date.isValid() || date.year() < 100 || date.year() > 9999)
        return {};
    return date;
}

qint64 jetCurrencyUnits(const char* eightBytes)
{
    return qFromLittleEndian<qint64>(eightBytes);
}

QString jet4Text(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    QString out;
    if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE) {
        out.reserve(n);
        bool compressed = true;
        qsizetype i = 2;
        while (i < n) {
            if (p[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                out.append(QChar(char16_t(p[i])));
                ++i;
            } else {
                if (i + 1 >= n)
                    break;
                out.append(QChar(char16_t(p[i] | (p[i + 1] << 8))));
                i += 2;
            }
        }
        return out;
    }
    out.resize(n / 2);
    for (qsizetype i = 0; i + 1 < n; i += 2)
        out[i / 2] = QChar(char16_t(p[i] | (p[i + 1] << 8)));
    return out;
}

QString jet3Text(const QByteArray& bytes)
{
    // The upper half of code page 1252 where it differs from Latin-1.
    static const char16_t k80[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.append(QChar(b >= 0x80 && b < 0xA0 ? k80[b - 0x80] : char16_t(b)));
    }
    return out;
}

} // namespace tav
