#pragma once

#include "db/JetType.h"

#include <QString>
#include <QVariant>

namespace tav {

// A number shown through a display format such as "#######0.00 €": the
// digits after the point give the decimals, the text around the digit
// pattern is kept as it stands. The decimal separator is the locale's.
QString formatNumber(double value, const QString& format);

// A number with a fixed count of decimals, rounded half away from zero as
// its decimal digits say, without group separators, in the locale's
// decimal point.
QString fixedDecimals(double value, int decimals);

// The text a grid or a report shows for a stored value.
QString displayValue(const QVariant& value, JetType type, const QString& format);

// The currency symbol shown after money: the system's, where the old franc
// symbols ("F", "FF", "FR" in any case) read as the euro.
QString moneySymbol(const QString& systemSymbol);
QString moneyFormat(const QString& systemSymbol);

} // namespace tav
