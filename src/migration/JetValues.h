#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

namespace tav {

// Decoding of the raw bytes a Jet database stores, done here rather than
// through the reading library's text conversions: those lose dates before
// 1900 and far in the future, and depend on environment variables.

// A Date/Time value: days since 30 December 1899 as a little-endian
// double. Only the date part counts for the booklets. Null for a value
// that is not a finite number or falls outside years 100 to 9999.
QDate jetDate(const char* eightBytes);

// A Currency value: a little-endian 64-bit integer of ten-thousandths.
qint64 jetCurrencyUnits(const char* eightBytes);

// Text of a Jet 4 column: UCS-2, possibly in Jet's Unicode compression
// (which starts with FF FE and switches between one-byte and two-byte
// characters at each zero byte).
QString jet4Text(const QByteArray& bytes);

// Text of a Jet 3 column, in the Windows code page 1252.
QString jet3Text(const QByteArray& bytes);

} // namespace tav
