#include "db/StoredValue.h"

#include "db/DateInput.h"
#include "db/DbError.h"

#include <QDate>
#include <QDateTime>

#include <cmath>
#include <limits>

namespace tav {

QVariant storedValue(const Field& f, const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return QVariant();
    const QString label = f.caption();
    switch (f.type) {
    case JetType::Text: {
        const QString s = f.textDate ? checkedTextDate(v.typeId() == QMetaType::QDate
                                                           ? v.toDate().toString(Qt::ISODate)
                                                           : v.toString())
                                     : v.toString();
        if (f.size > 0 && s.size() > f.size)
            throw DbError(QStringLiteral("Le texte saisi pour « %1 » dépasse %2 caractères.")
                              .arg(label)
                              .arg(f.size));
        return s;
    }
    case JetType::Memo:
        return v.toString();
    case JetType::Short:
    case JetType::Long:
    case JetType::AutoNumber: {
        qlonglong n = 0;
        bool ok = false;
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed();
            if (s.isEmpty())
                return QVariant();
            n = s.toLongLong(&ok);
        } else if (v.typeId() == QMetaType::Double) {
            const double d = v.toDouble();
            ok = std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 9.0e15;
            n = ok ? qlonglong(d) : 0;
        } else {
            n = v.toLongLong(&ok);
        }
        if (!ok)
            throw DbError(
                QStringLiteral("'%1' n'est pas une valeur entière correcte pour le champ '%2'")
                    .arg(v.toString(), label));
        const qlonglong lo = f.type == JetType::Short ? -32768 : std::numeric_limits<qint32>::min();
        const qlonglong hi = f.type == JetType::Short ? 32767 : std::numeric_limits<qint32>::max();
        if (n < lo || n > hi)
            throw DbError(QStringLiteral("La valeur %1 est hors des limites de « %2 » (%3 à %4).")
                              .arg(n)
                              .arg(label)
                              .arg(lo)
                              .arg(hi));
        return n;
    }
    case JetType::Double:
    case JetType::Currency: {
        double d = 0;
        bool ok = false;
        if (v.typeId() == QMetaType::QString) {
            QString s = v.toString().trimmed();
            s.remove(QLatin1Char(' '));
            s.remove(QChar(0x00A0));
            s.remove(QChar(0x202F));
            if (s.isEmpty())
                return QVariant();
            s.replace(QLatin1Char(','), QLatin1Char('.'));
            d = s.toDouble(&ok);
        } else {
            d = v.toDouble(&ok);
        }
        if (!ok || !std::isfinite(d))
            throw DbError(QStringLiteral("'%1' n'est pas une valeur en virgule flottante correcte "
                                         "pour le champ '%2'")
                              .arg(v.toString(), label));
        if (f.type == JetType::Currency) {
            if (std::fabs(d) > 9.0e14)
                throw DbError(QStringLiteral("Le montant %1 est trop grand pour « %2 ».")
                                  .arg(v.toString(), label));
            d = std::round(d * 10000.0) / 10000.0;
        }
        return d;
    }
    case JetType::YesNo: {
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed().toLower();
            if (s == QLatin1String("oui") || s == QLatin1String("true") ||
                s == QLatin1String("1") || s == QLatin1String("-1"))
                return 1;
            if (s == QLatin1String("non") || s == QLatin1String("false") ||
                s == QLatin1String("0") || s.isEmpty())
                return 0;
            throw DbError(
                QStringLiteral("« %1 » n'est pas une valeur Oui/Non pour « %2 ».").arg(s, label));
        }
        return v.toBool() ? 1 : 0;
    }
    case JetType::DateTime: {
        QDate d;
        if (v.typeId() == QMetaType::QDate)
            d = v.toDate();
        else if (v.typeId() == QMetaType::QDateTime)
            d = v.toDateTime().date();
        else {
            d = checkedDate(v.toString());
            if (d.isNull())
                return QVariant();
        }
        if (!d.isValid() || d.year() < 100)
            throw DbError(invalidDateMessage(v.toString()));
        return d.toString(QStringLiteral("yyyy-MM-dd"));
    }
    case JetType::Blob:
        return v.toByteArray();
    case JetType::Unknown:
        break;
    }
    return v;
}

} // namespace tav
