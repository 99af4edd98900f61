#include "core/WeightBand.h"

#include "core/TextRoutines.h"

namespace tav {

namespace {

const int kWeightDecimals = 3;

QString minCaption()
{
    return QStringLiteral("Poids minimum");
}

QString maxCaption()
{
    return QStringLiteral("Poids maximum");
}

// The value of one field, or the reason it is refused.
QString readWeight(const QString& typed, const QString& caption, std::optional<double>* value)
{
    const QString text = typed.trimmed();
    value->reset();
    if (text.isEmpty())
        return {};
    bool ok = false;
    const double v = parseNumber(text, &ok);
    if (!ok)
        return QString::fromUtf8("La valeur « %1 » de « %2 » n'est pas un nombre.")
            .arg(text, caption);
    if (v < 0)
        return QString::fromUtf8("La valeur « %1 » de « %2 » ne peut pas être négative.")
            .arg(text, caption);
    qsizetype separator = text.indexOf(QLatin1Char(','));
    if (separator < 0)
        separator = text.indexOf(QLatin1Char('.'));
    if (separator >= 0) {
        qsizetype digits = text.size() - separator - 1;
        // Zeros after the last significant digit change nothing.
        while (digits > kWeightDecimals && text.at(separator + digits) == QLatin1Char('0'))
            --digits;
        if (digits > kWeightDecimals)
            return QString::fromUtf8("La valeur « %1 » de « %2 » a plus de %3 décimales.")
                .arg(text, caption)
                .arg(kWeightDecimals);
    }
    *value = v;
    return {};
}

} // namespace

WeightBand::Flag WeightBand::flag(double weight) const
{
    if (min && weight < *min)
        return Flag::Below;
    if (max && weight > *max)
        return Flag::Above;
    return Flag::Inside;
}

QString WeightBand::text() const
{
    if (min && max)
        return QString::fromUtf8("Poids cible : de %1 à %2")
            .arg(weightText(*min), weightText(*max));
    if (min)
        return QString::fromUtf8("Poids cible : au moins %1").arg(weightText(*min));
    if (max)
        return QString::fromUtf8("Poids cible : au plus %1").arg(weightText(*max));
    return {};
}

QString WeightBand::fromTexts(const QString& minText, const QString& maxText, WeightBand* band)
{
    WeightBand read;
    if (QString reason = readWeight(minText, minCaption(), &read.min); !reason.isEmpty())
        return reason;
    if (QString reason = readWeight(maxText, maxCaption(), &read.max); !reason.isEmpty())
        return reason;
    if (read.min && read.max && *read.min > *read.max)
        return QString::fromUtf8("Le « %1 » (%2) est supérieur au « %3 » (%4).")
            .arg(minCaption(), weightText(*read.min), maxCaption(), weightText(*read.max));
    *band = read;
    return {};
}

QString weightText(double kilograms)
{
    return QString::number(kilograms, 'f', kWeightDecimals)
               .replace(QLatin1Char('.'), QLatin1Char(',')) +
           QStringLiteral(" kg");
}

} // namespace tav
